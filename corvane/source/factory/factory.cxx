// The component's entry and its one service object, the factory.
//
// The factory keeps nothing: every call looks the active document up again
// through a desktop created for that call, so "active" always means the
// document whose frame is current at the moment of the call.

#include "blob.hxx"

#include <affinetransform/affinetransform.hxx>
#include <document/document.hxx>
#include <spreadsheet/spreadsheet.hxx>
#include <presentation/shared.hxx>

#include <com/qam/vexo/frame/frame.hxx>
#include <comphelper/processfactory.hxx>
#include <comphelper/vantor.hxx>
#include <corvane/XFactory.hxx>
#include <cppu/implbase.hxx>
#include <languagetag/languagetag.hxx>
#include <sal/types.h>

namespace corvane {
namespace {

using ::com::qam::vexo::beans::Optional;
using ::com::qam::vexo::frame::XController;
using ::com::qam::vexo::frame::XDesktop;
using ::com::qam::vexo::frame::XFrame;
using ::com::qam::vexo::frame::XModel;
using ::com::qam::vexo::lang::XServiceInfo;
using ::zel::uno::Reference;
using ::zel::uno::RuntimeException;
using ::zel::uno::Sequence;
using ::zel::uno::UNO_QUERY;

constexpr char16_t DESKTOP_SERVICE[] = u"com.qam.vexo.frame.Desktop";
constexpr char16_t TEXT_DOCUMENT[] = u"com.qam.vexo.text.TextDocument";
constexpr char16_t SPREADSHEET_DOCUMENT[] = u"com.qam.vexo.sheet.SpreadsheetDocument";
constexpr char16_t PRESENTATION_DOCUMENT[] = u"com.qam.vexo.presentation.PresentationDocument";
constexpr char16_t DRAWING_DOCUMENT[] = u"com.qam.vexo.drawing.DrawingDocument";

Reference<XDesktop> createDesktop(const Reference<::zel::uno::XComponentContext>& context) {
    const OUString failure(u"component context fails to supply service com.qam.vexo.frame.Desktop of type "
                           u"com.qam.vexo.frame.XDesktop");
    Reference<::zel::uno::XInterface> instance;
    if (context.is()) {
        if (auto manager = context->getServiceManager(); manager.is()) {
            try {
                instance = manager->createInstanceWithContext(OUString(DESKTOP_SERVICE), context);
            } catch (const RuntimeException&) {
                throw;
            } catch (const ::zel::uno::Exception& e) {
                throw ::zel::uno::DeploymentException(failure + u": " + e.Message, context);
            }
        }
    }
    Reference<XDesktop> desktop(instance.get(), UNO_QUERY);
    if (!desktop.is()) throw ::zel::uno::DeploymentException(failure, context);
    return desktop;
}

Reference<XModel> currentModel() {
    Reference<XFrame> frame;
    {
        Reference<XDesktop> desktop = createDesktop(comphelper::getProcessComponentContext());
        frame = desktop->getCurrentFrame();
    }
    if (!frame.is()) return {};
    Reference<XController> controller = frame->getController();
    if (!controller.is()) return {};
    return controller->getModel();
}

// The active model when it supports `required` and, if `excluded` is not empty,
// does not support `excluded`.  The message names the required service either way.
Reference<XModel> modelRequiring(const OUString& required, const OUString& excluded) {
    Reference<XModel> model = currentModel();
    Reference<XServiceInfo> info(model, UNO_QUERY);
    if (!info.is() || !info->supportsService(required) || (!excluded.isEmpty() && info->supportsService(excluded)))
        throw RuntimeException(u"current document does not support " + required);
    return model;
}

class FactoryImpl : public cppu::WeakImplHelper<XFactory> {
public:
    Reference<XModel> getActiveUnoModel() override { return currentModel(); }

    Reference<XDocument> getActiveDocument() override {
        return detail::createDocument(modelRequiring(OUString(TEXT_DOCUMENT), OUString()));
    }

    Reference<XSpreadsheet> getActiveSpreadsheet() override {
        return detail::createSpreadsheet(modelRequiring(OUString(SPREADSHEET_DOCUMENT), OUString()));
    }

    Reference<XPresentation> getActivePresentation() override {
        return detail::createPresentation(modelRequiring(OUString(PRESENTATION_DOCUMENT), OUString()));
    }
    Reference<XDrawing> getActiveDrawing() override {
        return detail::createDrawing(modelRequiring(OUString(DRAWING_DOCUMENT), OUString(PRESENTATION_DOCUMENT)));
    }

    OUString getActiveUserLocale() override {
        const LanguageTag& tag = comphelper::Vantor::getLanguageTag();
        OUString country = tag.getCountry();
        if (country.isEmpty()) return tag.getLanguage();
        return tag.getLanguage() + u"_" + country;
    }

    Reference<XAffineTransformBuilder> newAffineTransformBuilder() override {
        return detail::createAffineTransformBuilder();
    }

    Reference<XBlob> newBlobBytes(const Sequence<signed char>& bytes) override {
        return detail::createBlob(bytes, {}, {});
    }
    Reference<XBlob> newBlobBytesType(const Sequence<signed char>& bytes, const Optional<OUString>& contentType) override {
        return detail::createBlob(bytes, contentType, {});
    }
    Reference<XBlob> newBlobBytesTypeName(const Sequence<signed char>& bytes, const Optional<OUString>& contentType,
                                          const Optional<OUString>& name) override {
        return detail::createBlob(bytes, contentType, name);
    }
    Reference<XBlob> newBlobString(const OUString& text) override {
        return detail::createBlob(utf8Of(u"newBlobString", text), {true, OUString(u"text/plain")}, {});
    }
    Reference<XBlob> newBlobStringType(const OUString& text, const Optional<OUString>& contentType) override {
        return detail::createBlob(utf8Of(u"newBlobStringType", text), contentType, {});
    }
    Reference<XBlob> newBlobStringTypeName(const OUString& text, const Optional<OUString>& contentType,
                                           const Optional<OUString>& name) override {
        return detail::createBlob(utf8Of(u"newBlobStringTypeName", text), contentType, name);
    }

private:
    // Strict conversion: text that is not well-formed UTF-16 (a lone surrogate)
    // is refused rather than silently replaced in the blob.
    static Sequence<signed char> utf8Of(std::u16string_view operation, const OUString& text) {
        OString utf8;
        if (!text.convertToString(&utf8, RTL_TEXTENCODING_UTF8, RTL_UNICODETOTEXT_FLAGS_STRICT))
            throw RuntimeException(OUString(operation) + u": the text is not well-formed UTF-16");
        return Sequence<signed char>(reinterpret_cast<const signed char*>(utf8.getStr()), utf8.getLength());
    }
};

} // namespace
} // namespace corvane

// The host's component constructor: a new factory with one reference for the caller.
extern "C" SAL_DLLPUBLIC_EXPORT ::zel::uno::XInterface*
corvane_Tarn_get_implementation(::zel::uno::XComponentContext*, ::zel::uno::Sequence<::zel::uno::Any> const&) {
    ::zel::uno::XInterface& factory = *new corvane::FactoryImpl;
    factory.acquire();
    return &factory;
}
