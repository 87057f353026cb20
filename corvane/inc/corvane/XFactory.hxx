#pragma once
// The one service object of libcorvane: finds the document that is active in
// the host and wraps it in the object model of its kind.

#include <corvane/XAffineTransformBuilder.hxx>
#include <corvane/XBlob.hxx>
#include <corvane/XPresentation.hxx>
#include <corvane/XSpreadsheet.hxx>
#include <corvane/text.hxx>

namespace com::qam::vexo::frame {
class XModel;
}

namespace corvane {

class ZEL_UNO_INTERFACE_CLASS XFactory : public virtual ::zel::uno::XInterface {
public:
    ZEL_UNO_INTERFACE(XFactory, "corvane.XFactory")
    // Empty when no document is active; never checks the document's kind.
    virtual ::zel::uno::Reference<::com::qam::vexo::frame::XModel> getActiveUnoModel() = 0;
    virtual ::zel::uno::Reference<XDocument> getActiveDocument() = 0;
    virtual ::zel::uno::Reference<XSpreadsheet> getActiveSpreadsheet() = 0;
    virtual ::zel::uno::Reference<XPresentation> getActivePresentation() = 0;
    virtual ::zel::uno::Reference<XDrawing> getActiveDrawing() = 0;
    // "de" or "de_CH": the language, and the country after an underscore when there is one.
    virtual OUString getActiveUserLocale() = 0;
    virtual ::zel::uno::Reference<XAffineTransformBuilder> newAffineTransformBuilder() = 0;
    virtual ::zel::uno::Reference<XBlob> newBlobBytes(const ::zel::uno::Sequence<signed char>& bytes) = 0;
    virtual ::zel::uno::Reference<XBlob> newBlobBytesType(const ::zel::uno::Sequence<signed char>& bytes,
                                                          const ::com::qam::vexo::beans::Optional<OUString>& contentType) = 0;
    virtual ::zel::uno::Reference<XBlob> newBlobBytesTypeName(const ::zel::uno::Sequence<signed char>& bytes,
                                                              const ::com::qam::vexo::beans::Optional<OUString>& contentType,
                                                              const ::com::qam::vexo::beans::Optional<OUString>& name) = 0;
    // Text blobs hold the UTF-8 of the text.
    virtual ::zel::uno::Reference<XBlob> newBlobString(const OUString& text) = 0;
    virtual ::zel::uno::Reference<XBlob> newBlobStringType(const OUString& text,
                                                           const ::com::qam::vexo::beans::Optional<OUString>& contentType) = 0;
    virtual ::zel::uno::Reference<XBlob> newBlobStringTypeName(const OUString& text,
                                                               const ::com::qam::vexo::beans::Optional<OUString>& contentType,
                                                               const ::com::qam::vexo::beans::Optional<OUString>& name) = 0;
};

} // namespace corvane
