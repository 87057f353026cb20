#pragma once
// One sheet of a spreadsheet.  Rows and columns are 1-based.

#include <corvane/XChart.hxx>
#include <corvane/XPivotTable.hxx>
#include <corvane/XRange.hxx>

namespace corvane {

class ZEL_UNO_INTERFACE_CLASS XSheet : public XBase {
public:
    ZEL_UNO_INTERFACE(XSheet, "corvane.XSheet")
    virtual OUString getName() = 0;
    // An A1 address, optionally qualified by a sheet: "B2", "A1:C10", "'My Sheet'!A1:B3".
    virtual ::zel::uno::Reference<XRange> getRange(const OUString& a1) = 0;
    virtual ::zel::uno::Reference<XRange> getRangeAtCell(sal_Int32 row, sal_Int32 column) = 0;
    virtual ::zel::uno::Reference<XRange> getRangeAtRows(sal_Int32 row, sal_Int32 column, sal_Int32 numRows) = 0;
    virtual ::zel::uno::Reference<XRange> getRangeAt(sal_Int32 row, sal_Int32 column, sal_Int32 numRows,
                                                     sal_Int32 numColumns) = 0;
    // The view's selection (its first block) and its top-left cell; on this sheet only.
    virtual ::zel::uno::Reference<XRange> getActiveRange() = 0;
    virtual ::zel::uno::Reference<XRange> getActiveCell() = 0;
    // The used area: the bounding block of the cells with content.
    virtual ::zel::uno::Reference<XRange> getDataRange() = 0;
    virtual sal_Int32 getMaxRows() = 0;
    virtual sal_Int32 getMaxColumns() = 0;
    // The view's frozen rows and columns (0 when nothing is frozen).
    virtual sal_Int32 getFrozenRows() = 0;
    virtual sal_Int32 getFrozenColumns() = 0;
    virtual void deleteRow(sal_Int32 row) = 0;
    virtual void deleteRows(sal_Int32 row, sal_Int32 count) = 0;
    virtual void deleteColumn(sal_Int32 column) = 0;
    virtual void deleteColumns(sal_Int32 column, sal_Int32 count) = 0;
    virtual void setColumnWidth(sal_Int32 column, sal_Int32 widthInPixels) = 0;
    // Removes all contents and cell formatting; sizes of rows and columns stay.
    virtual void clear() = 0;
    // The last row and column of the used area.
    virtual sal_Int32 getLastRow() = 0;
    virtual sal_Int32 getLastColumn() = 0;
    virtual void autoResizeColumn(sal_Int32 column) = 0;
    virtual void autoResizeColumns(sal_Int32 column, sal_Int32 count) = 0;
    virtual void autoResizeRows(sal_Int32 row, sal_Int32 count) = 0;
    // A chart of the data ranges (on any sheets), its top-left corner at the 1-based
    // anchor cell, its size in points; the flags are the host's column-header and
    // row-header flags.
    virtual ::zel::uno::Reference<XChart> insertChart(const ::zel::uno::Sequence<::zel::uno::Reference<XRange>>& ranges,
                                                      sal_Int32 anchorRow, sal_Int32 anchorColumn, double width,
                                                      double height, bool columnHeaders, bool rowHeaders) = 0;
    virtual ::zel::uno::Sequence<::zel::uno::Reference<XChart>> getCharts() = 0;
    virtual ::zel::uno::Sequence<::zel::uno::Reference<XPivotTable>> getPivotTables() = 0;
};

} // namespace corvane
