// An inline image: a graphic that stands in a paragraph like a character.
// Sizes are read and written in pixels of 1/96 inch, the host keeps them in
// hundredths of a millimetre (2540 hundredths are 96 pixels).

#include "elements.hxx"

#include <com/qam/vexo/graphic/graphic.hxx>
#include <com/qam/vexo/io/io.hxx>
#include <comphelper/processfactory.hxx>

#include <cmath>
#include <limits>

namespace corvane::detail {

using ::com::qam::vexo::frame::XModel;
using ::com::qam::vexo::graphic::XGraphic;
using ::com::qam::vexo::graphic::XGraphicProvider;
using ::com::qam::vexo::io::XTempFile;
using ::com::qam::vexo::lang::XMultiServiceFactory;

namespace {

sal_Int32 pixelsOf(const Any& value) {
    using namespace ::zel::uno;
    sal_Int32 hundredths = 0;
    const TypeClass c = value.getValueTypeClass();
    if (c == TypeClass_BYTE || c == TypeClass_SHORT || c == TypeClass_UNSIGNED_SHORT || c == TypeClass_LONG)
        value >>= hundredths;
    if (c == TypeClass_UNSIGNED_LONG) hundredths = static_cast<sal_Int32>(value.get<sal_uInt32>());
    const sal_Int64 scaled = static_cast<sal_Int64>(hundredths) * 24;
    return static_cast<sal_Int32>(hundredths >= 0 ? (scaled + 317) / 635 : (scaled - 317) / 635);
}

// Rounds to the nearest hundredth, halves away from zero.  Pixel values whose
// hundredths leave the 32-bit range are refused instead of wrapping around.
sal_Int32 hundredthsOf(std::u16string_view method, sal_Int32 pixels) {
    const sal_Int64 t = pixels >= 0 ? static_cast<sal_Int64>(pixels) * 635 + 12 : static_cast<sal_Int64>(pixels) * 635 - 12;
    const sal_Int64 hundredths = t / 24;
    if (hundredths > std::numeric_limits<sal_Int32>::max() || hundredths < std::numeric_limits<sal_Int32>::min())
        throw RuntimeException(OUString(method) + u": expected a size in pixels that fits the page coordinate range, got " +
                               OUString::number(pixels));
    return static_cast<sal_Int32>(hundredths);
}

class InlineImageImpl : public ElementImpl<XInlineImage> {
public:
    InlineImageImpl(const Reference<XElement>& parent, const Reference<text::XTextContent>& image)
        : parent_(parent), image_(image) {}

    Reference<::zel::uno::XInterface> getuno() override { return image_; }

    Optional<Reference<XElement>> getParent() override { return optionalElement(parent_); }
    OUString getText() override {
        const Optional<OUString> title = getAltTitle();
        return title.IsPresent ? title.Value : OUString();
    }
    ElementType getType() override { return ElementType::INLINE_IMAGE; }
    Reference<XElement> removeFromParent() override {
        removeContent(image_);
        return this;
    }

    Optional<OUString> getAltDescription() override { return alternative(u"Description"); }
    Optional<OUString> getAltTitle() override { return alternative(u"Title"); }
    sal_Int32 getHeight() override { return pixelsOf(props()->getPropertyValue(u"Height")); }
    sal_Int32 getWidth() override { return pixelsOf(props()->getPropertyValue(u"Width")); }
    Reference<XInlineImage> setAltDescription(const OUString& description) override {
        props()->setPropertyValue(u"Description", Any(description));
        return this;
    }
    Reference<XInlineImage> setAltTitle(const OUString& title) override {
        props()->setPropertyValue(u"Title", Any(title));
        return this;
    }
    Reference<XInlineImage> setHeight(sal_Int32 height) override {
        props()->setPropertyValue(u"Height", Any(hundredthsOf(u"setHeight", height)));
        return this;
    }
    Reference<XInlineImage> setWidth(sal_Int32 width) override {
        props()->setPropertyValue(u"Width", Any(hundredthsOf(u"setWidth", width)));
        return this;
    }

private:
    Reference<beans::XPropertySet> props() {
        if (!image_.is()) throw RuntimeException(u"InlineImageImpl has no content");
        return Reference<beans::XPropertySet>(image_, UNO_QUERY_THROW);
    }

    // An empty string is no alternative text; a value of another type counts as
    // present but empty.
    Optional<OUString> alternative(std::u16string_view property) {
        const Any value = props()->getPropertyValue(OUString(property));
        if (value.getValueTypeClass() != ::zel::uno::TypeClass_STRING) return {true, OUString()};
        const OUString s = value.get<OUString>();
        if (s.isEmpty()) return {};
        return {true, s};
    }

    const Reference<XElement> parent_;
    const Reference<text::XTextContent> image_;
};

} // namespace

Reference<XInlineImage> createInlineImage(const Reference<XElement>& parent, const Reference<text::XTextContent>& image) {
    return new InlineImageImpl(parent, image);
}

namespace {

Reference<::zel::uno::XInterface> createService(const OUString& name) {
    const Reference<::zel::uno::XComponentContext> context = comphelper::getProcessComponentContext();
    Reference<::com::qam::vexo::lang::XMultiComponentFactory> manager =
        context.is() ? context->getServiceManager() : nullptr;
    if (!manager.is()) return {};
    return manager->createInstanceWithContext(name, context);
}

// The host makes the graphic from a temporary file holding the bytes; the file
// and the provider go when this returns, also when it fails.  Empty when the
// bytes are no image the host can read.
Reference<XGraphic> loadGraphic(const Sequence<signed char>& bytes) {
    Reference<XTempFile> file(createService(u"com.qam.vexo.io.TempFile"), UNO_QUERY_THROW);
    file->getOutputStream()->writeBytes(bytes);
    file->getOutputStream()->closeOutput();
    Reference<XGraphicProvider> provider(createService(u"com.qam.vexo.graphic.GraphicProvider"), UNO_QUERY_THROW);
    const Sequence<beans::PropertyValue> descriptor{
        beans::PropertyValue{u"URL", 0, Any(file->getUri()), beans::PropertyState_DIRECT_VALUE}};
    return provider->queryGraphic(descriptor);
}

// Centimetres as hundredths of a millimetre, rounded half away from zero; a size
// that is no number or does not fit the host's 32-bit coordinates is refused.
sal_Int32 hundredthsOfCentimetres(double centimetres) {
    const double hundredths = std::round(1000.0 * centimetres);
    if (!(hundredths >= std::numeric_limits<sal_Int32>::min() && hundredths <= std::numeric_limits<sal_Int32>::max()))
        throw RuntimeException(u"insertImage: expected a size in centimetres that fits the page coordinate range, got " +
                               OUString::number(centimetres));
    return static_cast<sal_Int32>(hundredths);
}

} // namespace

Reference<text::XTextContent> createGraphicFromBlob(const Reference<XModel>& model, const Reference<XBlob>& blob) {
    if (!blob.is()) throw RuntimeException(u"createGraphicFromBlob: null blob");
    Reference<XGraphic> graphic = loadGraphic(blob->getBytes());
    if (!graphic.is()) throw RuntimeException(u"createGraphicFromBlob: failed to load graphic");
    Reference<text::XTextContent> content(
        Reference<XMultiServiceFactory>(model, UNO_QUERY_THROW)->createInstance(u"com.qam.vexo.text.TextGraphicObject"),
        UNO_QUERY_THROW);
    Reference<beans::XPropertySet> props(content, UNO_QUERY_THROW);
    props->setPropertyValue(u"Graphic", Any(graphic));
    props->setPropertyValue(u"AnchorType", Any(text::TextContentAnchorType_AS_CHARACTER));
    return content;
}

void insertImageAtView(const Reference<XModel>& model, const Sequence<signed char>& bytes, const ImageOptions& options) {
    Reference<text::XTextDocument> document(model, UNO_QUERY_THROW);
    Reference<XGraphic> graphic = loadGraphic(bytes);
    if (!graphic.is()) throw RuntimeException(u"insertImage: failed to load graphic");
    Reference<::zel::uno::XInterface> object =
        Reference<XMultiServiceFactory>(model, UNO_QUERY_THROW)->createInstance(u"com.qam.vexo.text.TextGraphicObject");
    Reference<text::XTextContent> content(object, UNO_QUERY_THROW);
    Reference<beans::XPropertySet> props(object, UNO_QUERY_THROW);
    const sal_Int32 width = hundredthsOfCentimetres(options.width);
    const sal_Int32 height = hundredthsOfCentimetres(options.height);
    props->setPropertyValue(u"Graphic", Any(graphic));
    props->setPropertyValue(u"Width", Any(width));
    props->setPropertyValue(u"Height", Any(height));
    props->setPropertyValue(u"AnchorType", Any(text::TextContentAnchorType_AS_CHARACTER));
    Reference<text::XTextViewCursorSupplier> supplier(model->getCurrentController(), UNO_QUERY_THROW);
    Reference<text::XTextRange> cursor(supplier->getViewCursor(), UNO_QUERY);
    if (!cursor.is()) throw RuntimeException(u"insertImage: no view cursor");
    document->getText()->insertTextContent(cursor, content, false);
}

} // namespace corvane::detail
