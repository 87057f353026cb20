#pragma once
// Document properties (module com.qam.vexo.document).

#include <com/qam/vexo/lang/interfaces.hxx>

namespace com::qam::vexo::document {

class ZEL_UNO_INTERFACE_CLASS XDocumentProperties : public virtual ::zel::uno::XInterface {
public:
    ZEL_UNO_INTERFACE(XDocumentProperties, "com.qam.vexo.document.XDocumentProperties")
    // Empty when the document has no title.
    virtual OUString getTitle() = 0;
    virtual void setTitle(const OUString& title) = 0;
};

class ZEL_UNO_INTERFACE_CLASS XDocumentPropertiesSupplier : public virtual ::zel::uno::XInterface {
public:
    ZEL_UNO_INTERFACE(XDocumentPropertiesSupplier, "com.qam.vexo.document.XDocumentPropertiesSupplier")
    virtual ::zel::uno::Reference<XDocumentProperties> getDocumentProperties() = 0;
};

} // namespace com::qam::vexo::document
