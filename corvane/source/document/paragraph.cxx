// Paragraphs and list items (one wrapper class; a list item is a paragraph
// that the host numbers), and the removal of paragraphs.

#include "elements.hxx"
#include "textattributes.hxx"

#include <optional>

namespace corvane::detail {

namespace container = ::com::qam::vexo::container;
using ::com::qam::vexo::lang::XServiceInfo;
using ::zel::uno::TypeClass_BYTE;
using ::zel::uno::TypeClass_LONG;
using ::zel::uno::TypeClass_SHORT;
using ::zel::uno::TypeClass_UNSIGNED_LONG;
using ::zel::uno::TypeClass_UNSIGNED_SHORT;

namespace {

constexpr std::u16string_view HEADING_STYLES[] = {u"Text body", u"Heading 1", u"Heading 2", u"Heading 3", u"Heading 4",
                                                   u"Heading 5", u"Heading 6", u"Title",     u"Subtitle"};

class ParagraphImpl : public ElementImpl<XParagraph>, public ChildList {
public:
    ParagraphImpl(const Reference<XElement>& parent, const Reference<text::XTextContent>& paragraph)
        : parent_(parent), paragraph_(paragraph) {}

    Reference<::zel::uno::XInterface> getuno() override { return paragraph_; }

    Reference<XText> asText() override { return createText(parent_, paragraph_, getType()); }
    Optional<Reference<XElement>> getNextSibling() override { return siblingContent(paragraph_, parent_, true); }
    Optional<Reference<XElement>> getParent() override { return optionalElement(parent_); }
    Optional<Reference<XElement>> getPreviousSibling() override { return siblingContent(paragraph_, parent_, false); }
    OUString getText() override { return textOf(Reference<text::XTextRange>(paragraph_, UNO_QUERY_THROW)); }

    // Read anew on every call: numbering may be switched on and off at any time.
    ElementType getType() override {
        Reference<beans::XPropertySet> props(paragraph_, UNO_QUERY_THROW);
        Reference<beans::XPropertySetInfo> info = props->getPropertySetInfo();
        if (!info.is() || !info->hasPropertyByName(u"NumberingIsNumber")) return ElementType::PARAGRAPH;
        bool numbered = false;
        const Any value = props->getPropertyValue(u"NumberingIsNumber");
        if (value.getValueTypeClass() == ::zel::uno::TypeClass_BOOLEAN) value >>= numbered;
        return numbered ? ElementType::LIST_ITEM : ElementType::PARAGRAPH;
    }

    Reference<XElement> removeFromParent() override {
        removeParagraph(paragraph_);
        return this;
    }

    Reference<XContainerElement> clear() override {
        Reference<text::XTextRange>(paragraph_, UNO_QUERY_THROW)->setString(OUString());
        return this;
    }
    Reference<XText> editAsText() override { return asText(); }
    Reference<XElement> getChild(sal_Int32 index) override {
        if (index < 0) return {};
        if (index == 0) return createText(this, paragraph_, ElementType::TEXT);
        const auto images = enumerateInlineImages(paragraph_);
        if (static_cast<std::size_t>(index - 1) >= images.size()) return {};
        return createInlineImage(this, images[index - 1]);
    }
    sal_Int32 getChildIndex(const Reference<XElement>& child) override { return childIndexOf(*this, child); }
    sal_Int32 getNumChildren() override { return 1 + static_cast<sal_Int32>(enumerateInlineImages(paragraph_).size()); }
    std::vector<Reference<XElement>> allChildren() override {
        std::vector<Reference<XElement>> children{createText(this, paragraph_, ElementType::TEXT)};
        for (const auto& image : enumerateInlineImages(paragraph_)) children.push_back(createInlineImage(this, image));
        return children;
    }

    Optional<sal_Int32> getAlignment() override {
        const auto value = directValue(u"ParaAdjust");
        if (!value) return {};
        switch (smallInteger(*value)) {
        case 3: return {true, HorizontalAlignment::CENTER};
        case 1: return {true, HorizontalAlignment::RIGHT};
        case 2: return {true, HorizontalAlignment::JUSTIFY};
        default: return {true, HorizontalAlignment::LEFT}; // left, stretched and unknown values
        }
    }

    Optional<sal_Int32> getGlyphType() override {
        const auto value = directValue(u"NumberingRules");
        if (!value) return {};
        Reference<container::XIndexAccess> levels(*value, UNO_QUERY);
        sal_Int16 level = 0;
        Reference<beans::XPropertySet> props(paragraph_, UNO_QUERY_THROW);
        if (hasProperty(props, u"NumberingLevel")) props->getPropertyValue(u"NumberingLevel") >>= level;
        if (!levels.is() || level < 0 || level >= levels->getCount()) return {true, GlyphType::BULLET};
        Sequence<beans::PropertyValue> entry;
        levels->getByIndex(level) >>= entry;
        sal_Int16 numberingType = 6;
        OUString bullet;
        for (const auto& property : entry) {
            if (property.Name == u"NumberingType") property.Value >>= numberingType;
            if (property.Name == u"BulletChar" && property.Value.getValueTypeClass() == ::zel::uno::TypeClass_STRING)
                property.Value >>= bullet;
        }
        return {true, glyphOf(numberingType, bullet)};
    }

    Optional<ParagraphHeading> getHeading() override {
        const auto value = directValue(u"ParaStyleName");
        if (!value) return {};
        OUString style;
        *value >>= style;
        for (sal_Int32 level = 1; level < static_cast<sal_Int32>(std::size(HEADING_STYLES)); ++level)
            if (style == HEADING_STYLES[level]) return {true, static_cast<ParagraphHeading>(level)};
        return {true, ParagraphHeading::NORMAL};
    }

    Optional<double> getIndentStart() override {
        const auto value = directValue(u"ParaLeftMargin");
        if (!value) return {};
        sal_Int64 hundredths = 0;
        if (holdsOneOf(*value, {TypeClass_BYTE, TypeClass_SHORT, TypeClass_UNSIGNED_SHORT, TypeClass_LONG,
                                TypeClass_UNSIGNED_LONG}))
            *value >>= hundredths;
        return {true, static_cast<double>(hundredths) * 72.0 / 2540.0};
    }

    Optional<OUString> getListId() override {
        if (!directValue(u"NumberingRules")) return {};
        Reference<beans::XPropertySet> props(paragraph_, UNO_QUERY_THROW);
        OUString id;
        if (hasProperty(props, u"ListId")) props->getPropertyValue(u"ListId") >>= id;
        return {true, id};
    }

    sal_Int32 getNestingLevel() override {
        Reference<beans::XPropertySet> props(paragraph_, UNO_QUERY_THROW);
        if (!hasProperty(props, u"NumberingLevel")) return 0;
        return smallInteger(props->getPropertyValue(u"NumberingLevel"));
    }

    Optional<bool> isLeftToRight() override {
        Reference<beans::XPropertySet> props(paragraph_, UNO_QUERY_THROW);
        return {true, smallInteger(props->getPropertyValue(u"WritingMode")) != text::WritingMode2::RL_TB};
    }

    Reference<XParagraph> setHeading(ParagraphHeading heading) override {
        const auto level = static_cast<sal_Int32>(heading);
        if (level < 0 || level >= static_cast<sal_Int32>(std::size(HEADING_STYLES)))
            throw RuntimeException(u"setHeading: unknown heading");
        Reference<beans::XPropertySet>(paragraph_, UNO_QUERY_THROW)
            ->setPropertyValue(u"ParaStyleName", Any(OUString(HEADING_STYLES[level])));
        return this;
    }

private:
    static bool hasProperty(const Reference<beans::XPropertySet>& props, std::u16string_view name) {
        Reference<beans::XPropertySetInfo> info = props->getPropertySetInfo();
        return info.is() && info->hasPropertyByName(OUString(name));
    }

    // The value of a property set on the paragraph itself, not inherited from its style.
    std::optional<Any> directValue(std::u16string_view name) {
        const OUString property(name);
        Reference<beans::XPropertySet> props(paragraph_, UNO_QUERY_THROW);
        if (!hasProperty(props, name)) return std::nullopt;
        Reference<beans::XPropertyState> state(paragraph_, UNO_QUERY);
        if (state.is() && state->getPropertyState(property) != beans::PropertyState_DIRECT_VALUE) return std::nullopt;
        return props->getPropertyValue(property);
    }

    static sal_Int32 glyphOf(sal_Int16 numberingType, const OUString& bullet) {
        switch (numberingType) {
        case 0:
        case 9: return GlyphType::LATIN_UPPER;
        case 1:
        case 10: return GlyphType::LATIN_LOWER;
        case 2: return GlyphType::ROMAN_UPPER;
        case 3: return GlyphType::ROMAN_LOWER;
        case 4: return GlyphType::NUMBER;
        default: break; // a bullet: told apart by its character
        }
        if (bullet.isEmpty()) return GlyphType::BULLET;
        if (bullet[0] == u'\u25E6' || bullet[0] == u'\u25CB') return GlyphType::HOLLOW_BULLET;
        if (bullet[0] == u'\u25AA' || bullet[0] == u'\u25A0') return GlyphType::SQUARE_BULLET;
        return GlyphType::BULLET;
    }

    const Reference<XElement> parent_;
    const Reference<text::XTextContent> paragraph_;
};

} // namespace

Reference<XParagraph> createParagraph(const Reference<XElement>& parent, const Reference<text::XTextContent>& paragraph) {
    return new ParagraphImpl(parent, paragraph);
}

void makeNormal(const Reference<XParagraph>& paragraph, const Reference<beans::XPropertySet>& properties) {
    if (paragraph->getType() == ElementType::LIST_ITEM) {
        paragraph->setHeading(ParagraphHeading::NORMAL);
        properties->setPropertyValue(u"NumberingRules", Any());
        return;
    }
    const Optional<ParagraphHeading> heading = paragraph->getHeading();
    if (heading.IsPresent && heading.Value != ParagraphHeading::NORMAL) paragraph->setHeading(ParagraphHeading::NORMAL);
}

void removeParagraph(const Reference<text::XTextContent>& paragraph) {
    if (!paragraph.is()) throw RuntimeException(u"element is not attached to a document");
    Reference<text::XTextRange> anchor = paragraph->getAnchor();
    if (!anchor.is()) throw RuntimeException(u"element has no anchor");
    Reference<text::XText> hostText = anchor->getText();
    if (!hostText.is()) throw RuntimeException(u"element has no containing text");
    Reference<text::XTextContent> last;
    Reference<container::XEnumeration> elements =
        Reference<container::XEnumerationAccess>(hostText, UNO_QUERY_THROW)->createEnumeration();
    while (elements.is() && elements->hasMoreElements()) last.set(elements->nextElement(), UNO_QUERY);
    Reference<text::XTextRangeCompare> compare(hostText, UNO_QUERY_THROW);
    if (last.is()) {
        Reference<text::XTextRange> lastAnchor = last->getAnchor();
        if (lastAnchor.is() && compare->compareRegionStarts(lastAnchor, anchor) == 0)
            throw RuntimeException(u"removeFromParent: the last paragraph of a section cannot be removed");
    }
    removeContent(paragraph);
}

std::vector<Reference<text::XTextContent>> enumerateInlineImages(const Reference<text::XTextContent>& paragraph) {
    std::vector<Reference<text::XTextContent>> images;
    Reference<container::XEnumerationAccess> access(paragraph, UNO_QUERY);
    Reference<container::XEnumeration> portions = access.is() ? access->createEnumeration() : nullptr;
    while (portions.is() && portions->hasMoreElements()) {
        const Any portion = portions->nextElement();
        Reference<beans::XPropertySet> props(portion, UNO_QUERY);
        if (!props.is() || readString(props->getPropertyValue(u"TextPortionType")) != u"Frame") continue;
        Reference<container::XContentEnumerationAccess> anchored(portion, UNO_QUERY);
        Reference<container::XEnumeration> contents =
            anchored.is() ? anchored->createContentEnumeration(u"com.qam.vexo.text.TextContent") : nullptr;
        while (contents.is() && contents->hasMoreElements()) {
            Reference<text::XTextContent> content(contents->nextElement(), UNO_QUERY);
            Reference<XServiceInfo> info(content, UNO_QUERY);
            if (!info.is() || !info->supportsService(u"com.qam.vexo.text.TextGraphicObject")) continue;
            Reference<beans::XPropertySet> contentProps(content, UNO_QUERY);
            if (!contentProps.is()) continue;
            text::TextContentAnchorType anchorType = text::TextContentAnchorType_AT_PARAGRAPH;
            if ((contentProps->getPropertyValue(u"AnchorType") >>= anchorType) &&
                anchorType == text::TextContentAnchorType_AS_CHARACTER)
                images.push_back(content);
        }
    }
    return images;
}

} // namespace corvane::detail
