// An inline image: a graphic that stands in a paragraph like a character.
// Sizes are read and written in pixels of 1/96 inch, the host keeps them in
// hundredths of a millimetre (2540 hundredths are 96 pixels).

#include "elements.hxx"

#include <limits>

namespace corvane::detail {


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

} // namespace corvane::detail
