#include <testsupport/sheet/SpreadsheetBuilder.hxx>

#include <com/qam/vexo/view/selection.hxx>
#include <officehost/desktop.hxx>

namespace testsupport::sheet {

namespace css = ::com::qam::vexo;
using ::zel::uno::Any;
using ::zel::uno::Reference;
using ::zel::uno::UNO_QUERY_THROW;

SpreadsheetBuilder::SpreadsheetBuilder(const OUString& location) : model_(officehost::openSpreadsheetDocument(location)) {}

Reference<css::sheet::XSpreadsheets> SpreadsheetBuilder::sheets() const {
    return Reference<css::sheet::XSpreadsheetDocument>(model_, UNO_QUERY_THROW)->getSheets();
}

Reference<css::sheet::XSpreadsheet> SpreadsheetBuilder::sheetNamed(const OUString& name) const {
    return Reference<css::sheet::XSpreadsheet>(sheets()->getByName(name), UNO_QUERY_THROW);
}

Reference<css::table::XCellRange> SpreadsheetBuilder::range(const OUString& sheet, const OUString& block) const {
    return sheetNamed(sheet)->getCellRangeByName(block);
}

Reference<css::table::XCell> SpreadsheetBuilder::cell(const OUString& sheet, const OUString& address) const {
    return range(sheet, address)->getCellByPosition(0, 0);
}

SpreadsheetBuilder& SpreadsheetBuilder::sheet(const OUString& name) {
    Reference<css::container::XIndexAccess> index(sheets(), UNO_QUERY_THROW);
    sheets()->insertNewByName(name, static_cast<sal_Int16>(index->getCount()));
    return *this;
}

SpreadsheetBuilder& SpreadsheetBuilder::cells(const OUString& sheet, const OUString& topLeft,
                                              const std::vector<std::vector<OUString>>& inputs) {
    Reference<css::sheet::XCellRangeAddressable> start(range(sheet, topLeft), UNO_QUERY_THROW);
    const auto a = start->getRangeAddress();
    Reference<css::sheet::XSpreadsheet> target = sheetNamed(sheet);
    for (std::size_t r = 0; r < inputs.size(); ++r)
        for (std::size_t c = 0; c < inputs[r].size(); ++c)
            if (!inputs[r][c].isEmpty())
                target->getCellByPosition(a.StartColumn + sal_Int32(c), a.StartRow + sal_Int32(r))->setFormula(inputs[r][c]);
    return *this;
}

SpreadsheetBuilder& SpreadsheetBuilder::name(const OUString& name, const OUString& content, const OUString& scope) {
    Reference<css::beans::XPropertySet> owner =
        scope.isEmpty() ? Reference<css::beans::XPropertySet>(model_, UNO_QUERY_THROW)
                        : Reference<css::beans::XPropertySet>(sheetNamed(scope), UNO_QUERY_THROW);
    Reference<css::sheet::XNamedRanges> names(owner->getPropertyValue(u"NamedRanges"), UNO_QUERY_THROW);
    sal_Int16 sheetIndex = 0;
    if (!scope.isEmpty())
        sheetIndex = Reference<css::sheet::XCellRangeAddressable>(sheetNamed(scope), UNO_QUERY_THROW)->getRangeAddress().Sheet;
    names->addNewByName(name, content, css::table::CellAddress{sheetIndex, 0, 0}, 0);
    return *this;
}

SpreadsheetBuilder& SpreadsheetBuilder::select(const OUString& sheet, const OUString& block) {
    Reference<css::view::XSelectionSupplier> view(model_->getCurrentController(), UNO_QUERY_THROW);
    view->select(Any(range(sheet, block)));
    return *this;
}

SpreadsheetBuilder& SpreadsheetBuilder::selectBlocks(const std::vector<std::pair<OUString, OUString>>& blocks) {
    Reference<css::lang::XMultiServiceFactory> factory(model_, UNO_QUERY_THROW);
    Reference<css::sheet::XSheetCellRangeContainer> ranges(factory->createInstance(u"com.qam.vexo.sheet.SheetCellRanges"),
                                                           UNO_QUERY_THROW);
    for (const auto& [sheet, block] : blocks)
        ranges->addRangeAddress(
            Reference<css::sheet::XCellRangeAddressable>(range(sheet, block), UNO_QUERY_THROW)->getRangeAddress(), false);
    Reference<css::view::XSelectionSupplier> view(model_->getCurrentController(), UNO_QUERY_THROW);
    view->select(Any(ranges));
    return *this;
}

SpreadsheetBuilder& SpreadsheetBuilder::freeze(sal_Int32 columns, sal_Int32 rows) {
    Reference<css::sheet::XViewFreezable>(model_->getCurrentController(), UNO_QUERY_THROW)->freezeAtPosition(columns, rows);
    return *this;
}

} // namespace testsupport::sheet
