#pragma once
// Objects that hold an embedded document (module com.qam.vexo.document).

#include <com/qam/vexo/lang/interfaces.hxx>

namespace com::qam::vexo::document {

class ZEL_UNO_INTERFACE_CLASS XEmbeddedObjectSupplier : public virtual ::zel::uno::XInterface {
public:
    ZEL_UNO_INTERFACE(XEmbeddedObjectSupplier, "com.qam.vexo.document.XEmbeddedObjectSupplier")
    // The embedded document's model (for a sheet's chart: chart::XChartDocument).
    virtual ::zel::uno::Reference<::zel::uno::XInterface> getEmbeddedObject() = 0;
};

} // namespace com::qam::vexo::document
