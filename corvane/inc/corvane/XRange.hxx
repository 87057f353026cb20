#pragma once
// A block of cells on one sheet of a spreadsheet.  Rows and columns are 1-based.

#include <corvane/XPivotTable.hxx>

namespace corvane {

class ZEL_UNO_INTERFACE_CLASS XRange : public XBase {
public:
    ZEL_UNO_INTERFACE(XRange, "corvane.XRange")
    virtual sal_Int32 getRow() = 0;
    virtual sal_Int32 getColumn() = 0;
    virtual sal_Int32 getNumRows() = 0;
    virtual sal_Int32 getNumColumns() = 0;
    // The top-left cell's value: void, a double or a string.
    virtual ::zel::uno::Any getValue() = 0;
    // Writes the value (number, string, boolean or void) into every cell; returns this range.
    virtual ::zel::uno::Reference<XRange> setValue(const ::zel::uno::Any& value) = 0;
    // One sequence per row.
    virtual ::zel::uno::Sequence<::zel::uno::Sequence<::zel::uno::Any>> getValues() = 0;
    // Checks the whole matrix before writing any cell; returns this range.
    virtual ::zel::uno::Reference<XRange> setValues(const ::zel::uno::Sequence<::zel::uno::Sequence<::zel::uno::Any>>& values) = 0;
    // A new range of the given size, starting that many rows and columns from this one's start.
    virtual ::zel::uno::Reference<XRange> offset(sal_Int32 rowOffset, sal_Int32 columnOffset, sal_Int32 numRows,
                                                 sal_Int32 numColumns) = 0;
    // Colours are "#rrggbb" or a colour name.
    virtual ::zel::uno::Reference<XRange> setBackgroundColor(const OUString& color) = 0;
    // "bold" or "normal".
    virtual ::zel::uno::Reference<XRange> setFontWeight(const OUString& weight) = 0;
    // "italic" or "normal".
    virtual ::zel::uno::Reference<XRange> setFontStyle(const OUString& style) = 0;
    virtual ::zel::uno::Reference<XRange> setFontColor(const OUString& color) = 0;
    // Sets the outer borders whose flag is true; the others stay as they are.
    virtual ::zel::uno::Reference<XRange> setBorder(bool top, bool left, bool bottom, bool right, const OUString& color) = 0;
    virtual ::zel::uno::Reference<XRange> setNumberFormat(const OUString& format) = 0;
    // A pivot table of the source range (on any sheet) whose output starts at this
    // range's top-left cell.
    virtual ::zel::uno::Reference<XPivotTable> createPivotTable(const ::zel::uno::Reference<XRange>& source) = 0;
};

} // namespace corvane
