#pragma once
// The embedded charts of a sheet (module com.qam.vexo.table).
//
// A table chart (also container::XNamed, document::XEmbeddedObjectSupplier and
// beans::XPropertySet) has the read-only property "Area" (awt::Rectangle, 1/100 mm):
// where the chart lies on its sheet.

#include <com/qam/vexo/awt/rectangle.hxx>
#include <com/qam/vexo/container/collections.hxx>
#include <com/qam/vexo/table/sheetcells.hxx>

namespace com::qam::vexo::table {

class ZEL_UNO_INTERFACE_CLASS XTableChart : public virtual ::zel::uno::XInterface {
public:
    ZEL_UNO_INTERFACE(XTableChart, "com.qam.vexo.table.XTableChart")
    virtual bool getHasColumnHeaders() = 0;
    virtual void setHasColumnHeaders(bool has) = 0;
    virtual bool getHasRowHeaders() = 0;
    virtual void setHasRowHeaders(bool has) = 0;
    // The blocks the chart reads, in order; a block whose cells were all deleted is left out.
    virtual Sequence<CellRangeAddress> getRanges() = 0;
    virtual void setRanges(const Sequence<CellRangeAddress>& ranges) = 0;
};

// The charts of one sheet by name, in insertion order; also container::XIndexAccess.
class ZEL_UNO_INTERFACE_CLASS XTableCharts : public ::com::qam::vexo::container::XNameAccess {
public:
    ZEL_UNO_INTERFACE(XTableCharts, "com.qam.vexo.table.XTableCharts")
    // container::ElementExistException for a name in use; lang::IllegalArgumentException
    // for an empty name, a negative size, no block or a block outside its sheet.
    virtual void addNewByName(const OUString& name, const ::com::qam::vexo::awt::Rectangle& rect,
                              const Sequence<CellRangeAddress>& ranges, bool columnHeaders, bool rowHeaders) = 0;
    // container::NoSuchElementException for an unknown name.
    virtual void removeByName(const OUString& name) = 0;
};

class ZEL_UNO_INTERFACE_CLASS XTableChartsSupplier : public virtual ::zel::uno::XInterface {
public:
    ZEL_UNO_INTERFACE(XTableChartsSupplier, "com.qam.vexo.table.XTableChartsSupplier")
    virtual Reference<XTableCharts> getCharts() = 0;
};

} // namespace com::qam::vexo::table
