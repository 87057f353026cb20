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

private:
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
