// The sheet wrapper: addressing (A1 and by position), the used area, the
// view's selection and frozen panes, and the structural operations.

#include "spreadsheet.hxx"

#include "units.hxx"

#include <com/qam/vexo/view/selection.hxx>
#include <cppu/implbase.hxx>

#include <limits>

namespace corvane::detail {

namespace css = ::com::qam::vexo;
using css::frame::XModel;
using css::table::CellRangeAddress;
using css::table::XCellRange;
using ::zel::uno::Sequence;
using ::zel::uno::Any;
using ::zel::uno::Reference;
using ::zel::uno::RuntimeException;
using ::zel::uno::UNO_QUERY;
using ::zel::uno::UNO_QUERY_THROW;

Reference<XRange> rangeAt(const Reference<XModel>& model, const Reference<css::sheet::XSpreadsheet>& sheet, sal_Int64 row,
                          sal_Int64 column, sal_Int32 numRows, sal_Int32 numColumns) {
    if (row < 1 || column < 1 || numRows < 1 || numColumns < 1)
        throw RuntimeException(u"expected a row, column, row count and column count of at least 1");
    Reference<XCellRange> cells(sheet, UNO_QUERY_THROW);
    // Ends past the 32-bit range go to the host as the largest value, which it refuses.
    auto fit = [](sal_Int64 v) {
        return static_cast<sal_Int32>(std::min<sal_Int64>(v, std::numeric_limits<sal_Int32>::max()));
    };
    Reference<XCellRange> block;
    try {
        block = cells->getCellRangeByPosition(fit(column - 1), fit(row - 1), fit(column - 2 + numColumns),
                                              fit(row - 2 + numRows));
    } catch (const ::zel::uno::Exception& e) {
        throw RuntimeException(u"expected a range that fits the sheet: " + e.Message);
    }
    return createRange(model, block);
}

namespace {

class SheetImpl : public cppu::WeakImplHelper<XSheet> {
public:
    SheetImpl(const Reference<XModel>& model, const Reference<css::sheet::XSpreadsheet>& sheet)
        : model_(model), sheet_(sheet) {}

    Reference<::zel::uno::XInterface> getuno() override { return sheet_; }

    OUString getName() override {
        return Reference<css::container::XNamed>(sheet_, UNO_QUERY_THROW, sheet_.get())->getName();
    }

    Reference<XRange> getRange(const OUString& a1) override { return createRange(model_, cellRangeByA1(a1, u"getRange")); }
    Reference<XRange> getRangeAtCell(sal_Int32 row, sal_Int32 column) override {
        return rangeAt(model_, sheet_, row, column, 1, 1);
    }
    Reference<XRange> getRangeAtRows(sal_Int32 row, sal_Int32 column, sal_Int32 numRows) override {
        return rangeAt(model_, sheet_, row, column, numRows, 1);
    }
    Reference<XRange> getRangeAt(sal_Int32 row, sal_Int32 column, sal_Int32 numRows, sal_Int32 numColumns) override {
        return rangeAt(model_, sheet_, row, column, numRows, numColumns);
    }

    Reference<XRange> getActiveRange() override { return createRange(model_, activeCellRange()); }
    Reference<XRange> getActiveCell() override {
        return createRange(model_, activeCellRange()->getCellRangeByPosition(0, 0, 0, 0));
    }
    Reference<XRange> getDataRange() override {
        const CellRangeAddress a = usedArea();
        Reference<XCellRange> cells(sheet_, UNO_QUERY_THROW);
        return createRange(model_, cells->getCellRangeByPosition(a.StartColumn, a.StartRow, a.EndColumn, a.EndRow));
    }

    sal_Int32 getMaxRows() override { return lines()->getRows()->getCount(); }
    sal_Int32 getMaxColumns() override { return lines()->getColumns()->getCount(); }
    sal_Int32 getFrozenRows() override { return frozenPanes().first; }
    sal_Int32 getFrozenColumns() override { return frozenPanes().second; }

    void deleteRow(sal_Int32 row) override { removeRows(row, 1, u"deleteRow"); }
    void deleteRows(sal_Int32 row, sal_Int32 count) override { removeRows(row, count, u"deleteRows"); }
    void deleteColumn(sal_Int32 column) override { removeColumns(column, 1, u"deleteColumn"); }
    void deleteColumns(sal_Int32 column, sal_Int32 count) override { removeColumns(column, count, u"deleteColumns"); }

    void setColumnWidth(sal_Int32 column, sal_Int32 width) override {
        if (column < 1) throw RuntimeException(u"setColumnWidth: expected a column of at least 1");
        const int hundredthMm = pixelsToHundredthMm(width);
        wrapped(u"setColumnWidth", [&] {
            Reference<css::table::XColumnRowRange> lines(sheet_, UNO_QUERY_THROW);
            Reference<css::beans::XPropertySet> props(lines->getColumns()->getByIndex(column - 1), UNO_QUERY_THROW);
            props->setPropertyValue(u"Width", Any(static_cast<sal_Int32>(hundredthMm)));
        });
    }

    void clear() override {
        Reference<css::sheet::XSheetOperation>(sheet_, UNO_QUERY_THROW, sheet_.get())->clearContents(1023);
    }

    sal_Int32 getLastRow() override { return usedArea().EndRow + 1; }
    sal_Int32 getLastColumn() override { return usedArea().EndColumn + 1; }

    void autoResizeColumn(sal_Int32 column) override { resizeColumnsToFit(column, 1, u"autoResizeColumn"); }
    void autoResizeColumns(sal_Int32 column, sal_Int32 count) override {
        resizeColumnsToFit(column, count, u"autoResizeColumns");
    }
    void autoResizeRows(sal_Int32 row, sal_Int32 count) override {
        if (row < 1 || count < 1) throw RuntimeException(u"autoResizeRows: expected a row and count of at least 1");
        wrapped(u"autoResizeRows", [&] {
            Reference<css::table::XColumnRowRange> lines(sheet_, UNO_QUERY_THROW);
            fitEach(lines->getRows(), row, count, u"OptimalHeight");
        });
    }

    Reference<XChart> insertChart(const Sequence<Reference<XRange>>& ranges, sal_Int32 anchorRow, sal_Int32 anchorColumn,
                                  double width, double height, bool columnHeaders, bool rowHeaders) override {
        if (anchorRow < 1 || anchorColumn < 1)
            throw RuntimeException(u"insertChart: expected an anchor row and column of at least 1");
        if (ranges.getLength() == 0) throw RuntimeException(u"insertChart: expected at least one data range");
        const int w = extentToHundredthMm(width);
        const int h = extentToHundredthMm(height);
        std::vector<CellRangeAddress> addresses;
        for (const Reference<XRange>& r : ranges) {
            if (!r.is()) throw RuntimeException(u"insertChart: expected a data range");
            addresses.push_back(
                Reference<css::sheet::XCellRangeAddressable>(r->getuno(), UNO_QUERY_THROW)->getRangeAddress());
        }
        Reference<css::table::XTableCharts> charts =
            Reference<css::table::XTableChartsSupplier>(sheet_, UNO_QUERY_THROW)->getCharts();

        std::vector<Reference<css::container::XNameAccess>> all;
        Reference<css::container::XIndexAccess> sheets(documentSheets(model_), UNO_QUERY_THROW);
        for (sal_Int32 i = 0, n = sheets->getCount(); i < n; ++i) {
            Reference<css::table::XTableChartsSupplier> supplier(sheets->getByIndex(i), UNO_QUERY_THROW);
            all.emplace_back(supplier->getCharts(), UNO_QUERY_THROW);
        }
        const OUString name = freeName(u"Chart ", all);

        Reference<css::table::XColumnRowRange> lines(sheet_, UNO_QUERY_THROW);
        // Anchors past the sheet's end are the host's to refuse.
        const sal_Int64 top = wrapped(u"insertChart", [&] { return visibleExtent(lines->getRows(), u"Height", anchorRow - 1); });
        const sal_Int64 left =
            wrapped(u"insertChart", [&] { return visibleExtent(lines->getColumns(), u"Width", anchorColumn - 1); });
        constexpr sal_Int64 LIMIT = std::numeric_limits<sal_Int32>::max();
        if (top > LIMIT || left > LIMIT || top + h > LIMIT || left + w > LIMIT)
            throw RuntimeException(u"insertChart: the chart would reach past the largest position on a sheet (" +
                                   OUString::number(static_cast<long long>(LIMIT)) + u" hundredths of a millimetre)");
        const css::awt::Rectangle rect{static_cast<sal_Int32>(left), static_cast<sal_Int32>(top), w, h};
        wrapped(u"insertChart", [&] {
            charts->addNewByName(name, rect, Sequence<CellRangeAddress>(addresses), columnHeaders, rowHeaders);
        });
        if (!charts->hasByName(name)) throw RuntimeException(u"insertChart: this build cannot create charts");
        return createChart(charts, name);
    }

    Sequence<Reference<XChart>> getCharts() override {
        return wrapped(u"getCharts", [&] {
            Reference<css::table::XTableCharts> charts =
                Reference<css::table::XTableChartsSupplier>(sheet_, UNO_QUERY_THROW)->getCharts();
            std::vector<Reference<XChart>> out;
            for (const OUString& name : charts->getElementNames()) out.push_back(createChart(charts, name));
            return Sequence<Reference<XChart>>(std::move(out));
        });
    }

    Sequence<Reference<XPivotTable>> getPivotTables() override {
        return wrapped(u"getPivotTables", [&] {
            Reference<css::sheet::XDataPilotTables> tables =
                Reference<css::sheet::XDataPilotTablesSupplier>(sheet_, UNO_QUERY_THROW)->getDataPilotTables();
            std::vector<Reference<XPivotTable>> out;
            for (const OUString& name : tables->getElementNames()) out.push_back(createPivotTable(tables, name));
            return Sequence<Reference<XPivotTable>>(std::move(out));
        });
    }

private:
    // The sum of the property (a row's "Height", a column's "Width") over the first
    // count lines that are not hidden, in 64 bits: a long run of tall rows can pass
    // the 32-bit range, and the caller refuses such a position.
    static sal_Int64 visibleExtent(const Reference<css::container::XIndexAccess>& collection, const char16_t* property,
                                   sal_Int32 count) {
        const OUString name(std::u16string_view{property});
        sal_Int64 sum = 0;
        for (sal_Int32 i = 0; i < count; ++i) {
            Reference<css::beans::XPropertySet> line(collection->getByIndex(i), UNO_QUERY_THROW);
            bool visible = true;
            if ((line->getPropertyValue(u"IsVisible") >>= visible) && !visible) continue;
            const Any size = line->getPropertyValue(name);
            switch (size.getValueTypeClass()) {
            case ::zel::uno::TypeClass_BYTE:
            case ::zel::uno::TypeClass_SHORT:
            case ::zel::uno::TypeClass_UNSIGNED_SHORT:
            case ::zel::uno::TypeClass_LONG:
            case ::zel::uno::TypeClass_UNSIGNED_LONG: sum += size.get<sal_Int64>(); break;
            default: break;
            }
        }
        return sum;
    }

    Reference<css::table::XColumnRowRange> lines() {
        return Reference<css::table::XColumnRowRange>(sheet_, UNO_QUERY_THROW, sheet_.get());
    }

    CellRangeAddress usedArea() {
        Reference<css::sheet::XSheetCellCursor> cursor = sheet_->createCursor();
        Reference<css::sheet::XUsedAreaCursor> used(cursor, UNO_QUERY_THROW);
        used->gotoStartOfUsedArea(false);
        used->gotoEndOfUsedArea(true);
        return Reference<css::sheet::XCellRangeAddressable>(cursor, UNO_QUERY_THROW)->getRangeAddress();
    }

    // (frozen rows, frozen columns) of the view, whichever sheet this is.
    std::pair<sal_Int32, sal_Int32> frozenPanes() {
        Reference<css::frame::XController> controller = model_->getCurrentController();
        Reference<css::sheet::XViewFreezable> freezable(controller, UNO_QUERY);
        if (!freezable.is() || !freezable->hasFrozenPanes()) return {0, 0};
        Reference<css::sheet::XViewSplitable> split(controller, UNO_QUERY_THROW);
        return {split->getSplitRow(), split->getSplitColumn()};
    }

    Reference<XCellRange> activeCellRange() {
        Reference<XCellRange> candidate;
        Reference<css::view::XSelectionSupplier> supplier(model_->getCurrentController(), UNO_QUERY);
        if (supplier.is()) {
            Any selection = supplier->getSelection();
            candidate.set(selection, UNO_QUERY);
            if (!candidate.is()) {
                Reference<css::container::XIndexAccess> blocks(selection, UNO_QUERY);
                if (blocks.is() && blocks->getCount() > 0) candidate.set(blocks->getByIndex(0), UNO_QUERY);
            }
        }
        if (!candidate.is()) throw RuntimeException(u"getActiveRange: no selection in the active sheet");
        Reference<css::sheet::XCellRangeAddressable> selected(candidate, UNO_QUERY_THROW);
        Reference<css::sheet::XCellRangeAddressable> self(sheet_, UNO_QUERY_THROW);
        if (selected->getRangeAddress().Sheet != self->getRangeAddress().Sheet)
            throw RuntimeException(u"getActiveRange: the selection is on a different sheet");
        return candidate;
    }

    Reference<XCellRange> cellRangeByA1(const OUString& address, const char16_t* operation) {
        const OUString op(std::u16string_view{operation});
        const sal_Int32 bang = address.lastIndexOf(u'!');
        Reference<XCellRange> target;
        OUString rangePart = address;
        if (bang < 0) {
            target.set(sheet_, UNO_QUERY_THROW);
        } else {
            OUString sheetPart = address.copy(0, bang);
            rangePart = address.copy(bang + 1);
            OUString sheetName = sheetPart;
            if (sheetPart.getLength() >= 2 && sheetPart.startsWith(u"'") && sheetPart.endsWith(u"'"))
                sheetName = sheetPart.copy(1, sheetPart.getLength() - 2).replaceAll(u"''", u"'");
            Reference<css::container::XNameAccess> sheets(documentSheets(model_), UNO_QUERY_THROW);
            if (!sheets->hasByName(sheetName)) throw RuntimeException(op + u": no sheet named " + sheetName);
            target = Reference<XCellRange>(sheets->getByName(sheetName), UNO_QUERY_THROW);
        }
        Reference<XCellRange> result;
        try {
            result = target->getCellRangeByName(rangePart);
        } catch (const ::zel::uno::Exception& e) {
            throw RuntimeException(op + u": " + e.Message);
        }
        if (!result.is()) throw RuntimeException(op + u": expected a valid A1-style range, got " + address);
        return result;
    }

    void removeRows(sal_Int32 row, sal_Int32 count, const char16_t* operation) {
        const OUString op(std::u16string_view{operation});
        if (row < 1 || count < 1) throw RuntimeException(op + u": expected a row and count of at least 1");
        wrapped(operation, [&] {
            Reference<css::table::XColumnRowRange> lines(sheet_, UNO_QUERY_THROW);
            lines->getRows()->removeByIndex(row - 1, count);
        });
    }
    void removeColumns(sal_Int32 column, sal_Int32 count, const char16_t* operation) {
        const OUString op(std::u16string_view{operation});
        if (column < 1 || count < 1) throw RuntimeException(op + u": expected a column and count of at least 1");
        wrapped(operation, [&] {
            Reference<css::table::XColumnRowRange> lines(sheet_, UNO_QUERY_THROW);
            lines->getColumns()->removeByIndex(column - 1, count);
        });
    }
    void resizeColumnsToFit(sal_Int32 column, sal_Int32 count, const char16_t* operation) {
        const OUString op(std::u16string_view{operation});
        if (column < 1 || count < 1) throw RuntimeException(op + u": expected a column and count of at least 1");
        wrapped(operation, [&] {
            Reference<css::table::XColumnRowRange> lines(sheet_, UNO_QUERY_THROW);
            fitEach(lines->getColumns(), column, count, u"OptimalWidth");
        });
    }
    // Sets the property to true on count lines from the 1-based first one; the
    // index is computed in 64 bits, and one past the 32-bit range is refused by the host.
    static void fitEach(const Reference<css::container::XIndexAccess>& collection, sal_Int32 first, sal_Int32 count,
                        const char16_t* property) {
        for (sal_Int64 i = 0; i < count; ++i) {
            const sal_Int64 index = sal_Int64(first) - 1 + i;
            Reference<css::beans::XPropertySet> line(
                collection->getByIndex(static_cast<sal_Int32>(std::min<sal_Int64>(index, std::numeric_limits<sal_Int32>::max()))),
                UNO_QUERY_THROW);
            line->setPropertyValue(OUString(std::u16string_view{property}), Any(true));
        }
    }

    const Reference<XModel> model_;
    const Reference<css::sheet::XSpreadsheet> sheet_;
};

} // namespace

Reference<XSheet> createSheet(const Reference<XModel>& model, const Reference<css::sheet::XSpreadsheet>& sheet) {
    return new SheetImpl(model, sheet);
}

} // namespace corvane::detail
