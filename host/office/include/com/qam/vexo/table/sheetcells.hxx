#pragma once
// Cell addresses, borders and the row and column collections of cell ranges
// (module com.qam.vexo.table), as spreadsheets use them.

#include <com/qam/vexo/table/table.hxx>

namespace com::qam::vexo::table {

// One cell: 0-based column and row on the sheet with that index.
struct CellAddress {
    sal_Int16 Sheet = 0;
    sal_Int32 Column = 0;
    sal_Int32 Row = 0;
    friend bool operator==(const CellAddress&, const CellAddress&) = default;
};

// A block of cells: 0-based, both ends inclusive.
struct CellRangeAddress {
    sal_Int16 Sheet = 0;
    sal_Int32 StartColumn = 0;
    sal_Int32 StartRow = 0;
    sal_Int32 EndColumn = 0;
    sal_Int32 EndRow = 0;
    friend bool operator==(const CellRangeAddress&, const CellRangeAddress&) = default;
};

// One border line; widths and distance in 1/100 mm, LineStyle 0 is solid.
struct BorderLine2 {
    sal_Int32 Color = 0;
    sal_Int16 InnerLineWidth = 0;
    sal_Int16 OuterLineWidth = 0;
    sal_Int16 LineDistance = 0;
    sal_Int16 LineStyle = 0;
    sal_uInt32 LineWidth = 0;
    friend bool operator==(const BorderLine2&, const BorderLine2&) = default;
};

// The borders of a block: outer lines on its edges and the lines between its
// cells.  A line whose validity flag is false is left as it is when set.
struct TableBorder2 {
    BorderLine2 TopLine;
    bool IsTopLineValid = false;
    BorderLine2 BottomLine;
    bool IsBottomLineValid = false;
    BorderLine2 LeftLine;
    bool IsLeftLineValid = false;
    BorderLine2 RightLine;
    bool IsRightLineValid = false;
    BorderLine2 HorizontalLine;
    bool IsHorizontalLineValid = false;
    BorderLine2 VerticalLine;
    bool IsVerticalLineValid = false;
    sal_Int16 Distance = 0;
    bool IsDistanceValid = false;
    friend bool operator==(const TableBorder2&, const TableBorder2&) = default;
};

// The rows and columns of a cell range.
class ZEL_UNO_INTERFACE_CLASS XColumnRowRange : public virtual ::zel::uno::XInterface {
public:
    ZEL_UNO_INTERFACE(XColumnRowRange, "com.qam.vexo.table.XColumnRowRange")
    virtual Reference<XTableColumns> getColumns() = 0;
    virtual Reference<XTableRows> getRows() = 0;
};

} // namespace com::qam::vexo::table

ZEL_UNO_DECLARE_TYPE(::com::qam::vexo::table::CellAddress, STRUCT, "com.qam.vexo.table.CellAddress")
ZEL_UNO_DECLARE_TYPE(::com::qam::vexo::table::CellRangeAddress, STRUCT, "com.qam.vexo.table.CellRangeAddress")
ZEL_UNO_DECLARE_TYPE(::com::qam::vexo::table::BorderLine2, STRUCT, "com.qam.vexo.table.BorderLine2")
ZEL_UNO_DECLARE_TYPE(::com::qam::vexo::table::TableBorder2, STRUCT, "com.qam.vexo.table.TableBorder2")
