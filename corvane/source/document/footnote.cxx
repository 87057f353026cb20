// Footnotes and their sections.  Footnotes are listed by the document, not
// found in the element tree; a footnote's contents form a section, a container
// of paragraphs and tables like the body.

#include "elements.hxx"

#include <com/qam/vexo/container/collections.hxx>

namespace corvane::detail {

using ::com::qam::vexo::frame::XModel;

namespace {

// A footnote: an element without parent or siblings whose text is its
// contents' text; removing it removes its anchor.
class FootnoteImpl : public ElementImpl<XFootnote> {
public:
    explicit FootnoteImpl(const Reference<text::XFootnote>& footnote) : footnote_(footnote) {}

    Reference<::zel::uno::XInterface> getuno() override { return footnote_; }

    Optional<Reference<XElement>> getParent() override { return {}; }
    OUString getText() override { return textOf(Reference<text::XText>(footnote_, UNO_QUERY_THROW)); }
    ElementType getType() override { return ElementType::FOOTNOTE; }
    // Removing the anchor removes the footnote with it.
    Reference<XElement> removeFromParent() override {
        removeContent(Reference<text::XTextContent>(footnote_, UNO_QUERY_THROW));
        return this;
    }

    Optional<Reference<XContainerElement>> getFootnoteContents() override {
        Reference<text::XText> contents(footnote_, UNO_QUERY);
        if (!contents.is()) return {};
        return {true, createFootnoteSection(contents)};
    }

private:
    const Reference<text::XFootnote> footnote_;
};

// The contents of a footnote: its paragraphs and tables, like the body's.
class FootnoteSectionImpl : public TextContainerImpl<XContainerElement> {
public:
    explicit FootnoteSectionImpl(const Reference<text::XText>& footnoteText)
        : TextContainerImpl(footnoteText, u"the footnote section") {}

    Optional<Reference<XElement>> getParent() override { return {}; }
    ElementType getType() override { return ElementType::FOOTNOTE_SECTION; }
    Reference<XElement> removeFromParent() override {
        throw RuntimeException(u"a footnote section cannot be removed on its own; remove its footnote instead");
    }

    Reference<XContainerElement> clear() override {
        if (!text_.is()) throw RuntimeException(u"clear: the footnote section has no text");
        text_->setString(OUString());
        return this;
    }
};

} // namespace

Reference<XContainerElement> createFootnoteSection(const Reference<text::XText>& footnoteText) {
    return new FootnoteSectionImpl(footnoteText);
}

Sequence<Reference<XFootnote>> footnotesOf(const Reference<XModel>& model) {
    Reference<text::XFootnotesSupplier> supplier(model, UNO_QUERY_THROW);
    Reference<::com::qam::vexo::container::XIndexAccess> list = supplier->getFootnotes();
    if (!list.is()) throw RuntimeException(u"getFootnotes: the document has no footnote list");
    std::vector<Reference<XFootnote>> footnotes;
    const sal_Int32 count = list->getCount();
    for (sal_Int32 i = 0; i < count; ++i) {
        Reference<text::XFootnote> footnote(list->getByIndex(i), UNO_QUERY);
        if (!footnote.is())
            throw RuntimeException(u"getFootnotes: the document's footnote list contains something that is not a footnote");
        footnotes.push_back(new FootnoteImpl(footnote));
    }
    return Sequence<Reference<XFootnote>>(std::move(footnotes));
}

} // namespace corvane::detail
