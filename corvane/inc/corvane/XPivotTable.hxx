#pragma once
// A pivot table on a sheet, addressed by its sheet's pivot collection and its
// name.  Source columns are 1-based; every change recomputes the table.

#include <corvane/XBase.hxx>

namespace corvane {

class ZEL_UNO_INTERFACE_CLASS XPivotTable : public XBase {
public:
    ZEL_UNO_INTERFACE(XPivotTable, "corvane.XPivotTable")
    virtual OUString getName() = 0;
    virtual ::zel::uno::Reference<XPivotTable> addRowGroup(sal_Int32 sourceColumn) = 0;
    virtual ::zel::uno::Reference<XPivotTable> addColumnGroup(sal_Int32 sourceColumn) = 0;
    // sum, counta, count, average, max, min, product, stdev, stdevp, var or varp (any case).
    virtual ::zel::uno::Reference<XPivotTable> addPivotValue(sal_Int32 sourceColumn, const OUString& function) = 0;
    // Keeps the source rows whose value in the column shows as the value.
    virtual ::zel::uno::Reference<XPivotTable> addFilter(sal_Int32 sourceColumn, const OUString& value) = 0;
    virtual void remove() = 0;
};

} // namespace corvane
