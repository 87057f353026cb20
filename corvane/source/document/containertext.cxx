// The text of a container (body, table, row, cell, footnote section): the
// paragraphs below the container presented as one string, one line feed
// between two paragraphs, with attribute changes forwarded to the paragraphs.

#include "elements.hxx"

#include <rtl/ustrbuf.hxx>

#include <algorithm>
#include <functional>

namespace corvane::detail {


namespace {

class ContainerTextImpl : public ElementImpl<XText> {
public:
    explicit ContainerTextImpl(const Reference<XContainerElement>& container) : container_(container) {}

    Reference<::zel::uno::XInterface> getuno() override { return container_->getuno(); }

    Reference<XBody> asBody() override { return container_->asBody(); }
    Reference<XFootnote> asFootnote() override { return container_->asFootnote(); }
    Reference<XContainerElement> asFootnoteSection() override { return container_->asFootnoteSection(); }
    Reference<XInlineImage> asInlineImage() override { return container_->asInlineImage(); }
    Reference<XParagraph> asListItem() override { return container_->asListItem(); }
    Reference<XParagraph> asParagraph() override { return container_->asParagraph(); }
    Reference<XTable> asTable() override { return container_->asTable(); }
    Reference<XTableCell> asTableCell() override { return container_->asTableCell(); }
    Reference<XTableRow> asTableRow() override { return container_->asTableRow(); }
    Reference<XText> asText() override { return this; }
    Optional<Reference<XElement>> getNextSibling() override { return container_->getNextSibling(); }
    Optional<Reference<XElement>> getParent() override { return container_->getParent(); }
    Optional<Reference<XElement>> getPreviousSibling() override { return container_->getPreviousSibling(); }
    OUString getText() override { return collect().text; }
    ElementType getType() override { return container_->getType(); }
    Reference<XElement> removeFromParent() override {
        container_->removeFromParent();
        return this;
    }

    Reference<XText> appendText(const OUString&) override { notYetImplemented(u"appendText"); }
    Reference<XText> deleteText(sal_Int32, sal_Int32) override { notYetImplemented(u"deleteText"); }
    Reference<XText> editAsText() override { return this; }
    Optional<OUString> getFontFamily(sal_Int32 offset) override {
        auto [text, local] = at(offset);
        return text->getFontFamily(local);
    }
    Optional<OUString> getLinkUrl(sal_Int32 offset) override {
        auto [text, local] = at(offset);
        return text->getLinkUrl(local);
    }
    Optional<TextAlignment> getTextAlignment(sal_Int32 offset) override {
        auto [text, local] = at(offset);
        return text->getTextAlignment(local);
    }
    Sequence<sal_Int32> getTextAttributeIndices() override {
        std::vector<sal_Int32> indices;
        const Contents contents = collect();
        for (const auto& paragraph : contents.paragraphs)
            for (sal_Int32 index : paragraph.text->getTextAttributeIndices()) indices.push_back(index + paragraph.start);
        if (contents.paragraphs.empty()) indices.push_back(0);
        return Sequence<sal_Int32>(std::move(indices));
    }
    Reference<XText> insertText(sal_Int32, const OUString&) override { notYetImplemented(u"insertText"); }
    Optional<bool> isBold(sal_Int32 offset) override {
        auto [text, local] = at(offset);
        return text->isBold(local);
    }
    Optional<bool> isItalic(sal_Int32 offset) override {
        auto [text, local] = at(offset);
        return text->isItalic(local);
    }
    Optional<bool> isStrikethrough(sal_Int32 offset) override {
        auto [text, local] = at(offset);
        return text->isStrikethrough(local);
    }
    Optional<bool> isUnderline(sal_Int32 offset) override {
        auto [text, local] = at(offset);
        return text->isUnderline(local);
    }

    Reference<XText> setBold(bool on) override {
        return forAll([&](XText& t) { t.setBold(on); });
    }
    Reference<XText> setBoldRange(sal_Int32 start, sal_Int32 end, bool on) override {
        return forRange(u"setBold", start, end, [&](XText& t, sal_Int32 lo, sal_Int32 hi) { t.setBoldRange(lo, hi, on); });
    }
    Reference<XText> setFontFamily(const OUString& name) override {
        return forAll([&](XText& t) { t.setFontFamily(name); });
    }
    Reference<XText> setFontFamilyRange(sal_Int32 start, sal_Int32 end, const OUString& name) override {
        return forRange(u"setFontFamily", start, end,
                        [&](XText& t, sal_Int32 lo, sal_Int32 hi) { t.setFontFamilyRange(lo, hi, name); });
    }
    Reference<XText> setItalic(bool on) override {
        return forAll([&](XText& t) { t.setItalic(on); });
    }
    Reference<XText> setItalicRange(sal_Int32 start, sal_Int32 end, bool on) override {
        return forRange(u"setItalic", start, end,
                        [&](XText& t, sal_Int32 lo, sal_Int32 hi) { t.setItalicRange(lo, hi, on); });
    }
    Reference<XText> setLinkUrl(const OUString& url) override {
        return forAll([&](XText& t) { t.setLinkUrl(url); });
    }
    Reference<XText> setLinkUrlRange(sal_Int32 start, sal_Int32 end, const OUString& url) override {
        return forRange(u"setLinkUrl", start, end,
                        [&](XText& t, sal_Int32 lo, sal_Int32 hi) { t.setLinkUrlRange(lo, hi, url); });
    }
    Reference<XText> setStrikethrough(bool on) override {
        return forAll([&](XText& t) { t.setStrikethrough(on); });
    }
    Reference<XText> setStrikethroughRange(sal_Int32 start, sal_Int32 end, bool on) override {
        return forRange(u"setStrikethrough", start, end,
                        [&](XText& t, sal_Int32 lo, sal_Int32 hi) { t.setStrikethroughRange(lo, hi, on); });
    }
    Reference<XText> setText(const OUString&) override { notYetImplemented(u"setText"); }
    Reference<XText> setTextAlignment(TextAlignment alignment) override {
        return forAll([&](XText& t) { t.setTextAlignment(alignment); });
    }
    Reference<XText> setTextAlignmentRange(sal_Int32 start, sal_Int32 end, TextAlignment alignment) override {
        return forRange(u"setTextAlignment", start, end,
                        [&](XText& t, sal_Int32 lo, sal_Int32 hi) { t.setTextAlignmentRange(lo, hi, alignment); });
    }
    Reference<XText> setUnderline(bool on) override {
        return forAll([&](XText& t) { t.setUnderline(on); });
    }
    Reference<XText> setUnderlineRange(sal_Int32 start, sal_Int32 end, bool on) override {
        return forRange(u"setUnderline", start, end,
                        [&](XText& t, sal_Int32 lo, sal_Int32 hi) { t.setUnderlineRange(lo, hi, on); });
    }

private:
    struct Paragraph {
        Reference<XText> text;
        sal_Int32 start;
        sal_Int32 length;
    };
    // Rebuilt for every operation: the container caches nothing.
    struct Contents {
        OUString text;
        std::vector<Paragraph> paragraphs;
    };
    struct Position {
        Reference<XText> text;
        sal_Int32 local;
    };

    [[noreturn]] void notYetImplemented(std::u16string_view operation) {
        throw RuntimeException(OUString(operation) + u" is not yet implemented for the text of a " +
                               elementTypeName(container_->getType()));
    }

    Contents collect() {
        rtl::OUStringBuffer text;
        std::vector<Paragraph> paragraphs;
        collectInto(*container_, text, paragraphs);
        return {text.makeStringAndClear(), std::move(paragraphs)};
    }

    // One walk of each container's children (childrenOf), so the text of a
    // container costs time in proportion to its size.
    static void collectInto(XContainerElement& container, rtl::OUStringBuffer& text, std::vector<Paragraph>& paragraphs) {
        for (const Reference<XElement>& child : childrenOf(container)) {
            if (Reference<XParagraph> paragraph(child, UNO_QUERY); paragraph.is()) {
                if (!paragraphs.empty()) text.append(u'\n');
                Reference<XText> paragraphText = paragraph->editAsText();
                const OUString s = paragraphText->getText();
                paragraphs.push_back({paragraphText, text.getLength(), s.getLength()});
                text.append(s);
                continue;
            }
            if (Reference<XContainerElement> inner(child, UNO_QUERY); inner.is()) {
                collectInto(*inner, text, paragraphs);
                continue;
            }
            throw RuntimeException(u"the text of a " + elementTypeName(container.getType()) + u" cannot hold a " +
                                   (child.is() ? elementTypeName(child->getType()) : OUString(u"missing child")));
        }
    }

    static void checkIndex(const Contents& contents, sal_Int32 index) {
        const sal_Int32 length = contents.text.getLength();
        if (index < 0 || index >= length)
            throw RuntimeException(u"Index (" + OUString::number(index) + u") must be less than the content length (" +
                                   OUString::number(length) + u").");
    }

    // The paragraph that holds the character at `index`; an index on the line
    // feed between two paragraphs falls on the last character of the first.
    Position at(sal_Int32 index) {
        const Contents contents = collect();
        checkIndex(contents, index);
        for (const auto& p : contents.paragraphs)
            if (p.start + p.length >= index) return {p.text, std::max(0, std::min(index - p.start, p.length - 1))};
        throw RuntimeException(u"the offset is past the last paragraph");
    }

    Reference<XText> forAll(const std::function<void(XText&)>& apply) {
        for (const auto& p : collect().paragraphs) apply(*p.text);
        return this;
    }

    // Applies a range setter to the part of each paragraph inside [start, end];
    // the line feeds between paragraphs are never touched.
    Reference<XText> forRange(std::u16string_view method, sal_Int32 start, sal_Int32 end,
                              const std::function<void(XText&, sal_Int32, sal_Int32)>& apply) {
        if (start < 0 || end < start)
            throw RuntimeException(OUString(method) + u": expected 0 <= startOffset <= endOffsetInclusive, got startOffset=" +
                                   OUString::number(start) + u", endOffsetInclusive=" + OUString::number(end));
        const Contents contents = collect();
        checkIndex(contents, end);
        for (const auto& p : contents.paragraphs) {
            const sal_Int32 lo = std::max(start, p.start);
            const sal_Int32 hi = std::min(end, p.start + p.length - 1);
            if (lo <= hi) apply(*p.text, lo - p.start, hi - p.start);
        }
        return this;
    }

    const Reference<XContainerElement> container_;
};

} // namespace

Reference<XText> createContainerText(const Reference<XContainerElement>& container) {
    return new ContainerTextImpl(container);
}

} // namespace corvane::detail
