#pragma once
// Shared by the units of the text-document model: the element base template
// with the generic casts, the wrapper constructors that one unit offers the
// others, and the walks over the host's text that several wrappers need.
//
// Ownership: a wrapper holds its parent wrapper and its host objects, never its
// children, so the wrappers form no reference cycles.

#include "document.hxx"

#include <com/qam/vexo/beans/properties.hxx>
#include <com/qam/vexo/text/text.hxx>
#include <cppu/implbase.hxx>

#include <string_view>
#include <vector>

namespace corvane::detail {

// The names every unit of the model uses.
namespace beans = ::com::qam::vexo::beans;
namespace text = ::com::qam::vexo::text;
using ::zel::uno::Any;
using ::zel::uno::Reference;
using ::zel::uno::RuntimeException;
using ::zel::uno::Sequence;
using ::zel::uno::UNO_QUERY;
using ::zel::uno::UNO_QUERY_THROW;

[[noreturn]] void throwCastFailure(ElementType from, ElementType to);

// The plain text of a host range, footnote labels left out: the measure of
// every offset of the model.
OUString textOf(const Reference<text::XTextRange>& range);

// Moves the cursor right over `count` visible characters (a footnote anchor is a
// character for the host cursor but has no visible text).
void goRight(const Reference<text::XTextCursor>& cursor, sal_Int32 count, bool extend);

// The paragraphs and tables of a host text, wrapped with `parent` as their parent.
::zel::uno::Sequence<Reference<XElement>> enumerateElements(const Reference<text::XText>& text,
                                                            const Reference<XElement>& parent);

// A paragraph (no table) or a table of a host text, before it is wrapped.
struct HostChild {
    Reference<text::XTextContent> content;
    Reference<text::XTextTable> table;
};
// The paragraphs and tables of a host text, in order, as enumerateElements finds them.
std::vector<HostChild> hostChildrenOf(const Reference<text::XText>& text);
Reference<XElement> wrapChild(const HostChild& child, const Reference<XElement>& parent);

// The previous or next paragraph or table beside `content` in its text.
Optional<Reference<XElement>> siblingContent(const Reference<text::XTextContent>& content,
                                             const Reference<XElement>& parent, bool next);

sal_Int32 childIndexOf(XContainerElement& container, const Reference<XElement>& child);

// Removes a text content (a table, footnote or image) from the text that holds its anchor.
void removeContent(const Reference<text::XTextContent>& content);
// Removes a paragraph, refusing the last paragraph of its text.
void removeParagraph(const Reference<text::XTextContent>& paragraph);

// Gives a paragraph the normal look: no numbering, no heading.
void makeNormal(const Reference<XParagraph>& paragraph,
                const Reference<::com::qam::vexo::beans::XPropertySet>& properties);

// The inline images of a paragraph, in the order in which they stand.
std::vector<Reference<text::XTextContent>> enumerateInlineImages(const Reference<text::XTextContent>& paragraph);

Reference<XBody> createBody(const Reference<::com::qam::vexo::frame::XModel>& model,
                            const Reference<text::XText>& bodyText);
Reference<XParagraph> createParagraph(const Reference<XElement>& parent, const Reference<text::XTextContent>& paragraph);
Reference<XText> createText(const Reference<XElement>& parent, const Reference<text::XTextContent>& paragraph,
                            ElementType type);
Reference<XText> createContainerText(const Reference<XContainerElement>& container);
Reference<XTable> createTable(const Reference<XElement>& parent, const Reference<text::XTextTable>& table);
Reference<XInlineImage> createInlineImage(const Reference<XElement>& parent, const Reference<text::XTextContent>& image);

// Positions (position.cxx).  The paragraph directly in the point's text that
// holds the point; empty when none does.
Reference<text::XTextContent> findContainingParagraph(const Reference<text::XTextRange>& point);
// The view cursor of the model's current controller.
Reference<text::XTextRange> viewCursorOf(const Reference<::com::qam::vexo::frame::XModel>& model);
// The host point of a position: its own point, or the view cursor for a live one.
Reference<text::XTextRange> pointOf(const Reference<XCursor>& cursor);
Reference<XCursor> newPosition(const Reference<::com::qam::vexo::frame::XModel>& model,
                               const Reference<XElement>& element, sal_Int32 offset);
Reference<XCursor> createLiveCursor(const Reference<::com::qam::vexo::frame::XModel>& model);

// Ranges and selections (selection.cxx).
Reference<XRangeBuilder> createRangeBuilder();
Optional<Reference<XSelection>> currentSelection(const Reference<::com::qam::vexo::frame::XModel>& model);
void selectInView(const Reference<::com::qam::vexo::frame::XModel>& model, const Reference<XSelection>& selection);

// Footnotes (footnote.cxx).
Sequence<Reference<XFootnote>> footnotesOf(const Reference<::com::qam::vexo::frame::XModel>& model);
Reference<XContainerElement> createFootnoteSection(const Reference<text::XText>& footnoteText);

// Images (inlineimage.cxx).  A new graphic object holding the blob's image, not
// yet inserted; nothing in the document changes.
Reference<text::XTextContent> createGraphicFromBlob(const Reference<::com::qam::vexo::frame::XModel>& model,
                                                    const Reference<XBlob>& blob);
// Inserts an image of the given size in centimetres at the view cursor.
void insertImageAtView(const Reference<::com::qam::vexo::frame::XModel>& model, const Sequence<signed char>& bytes,
                       const ImageOptions& options);

// The children of a container in one walk of the host, for the walks that visit
// them all (the text of a container, a child's index).  Containers of this
// library answer from one enumeration; others are asked child by child.
std::vector<Reference<XElement>> childrenOf(XContainerElement& container);

// Implemented by the containers of this library that can list their children in
// one walk of the host.
class ChildList {
public:
    virtual std::vector<Reference<XElement>> allChildren() = 0;

protected:
    ~ChildList() = default;
};

// The base of every element wrapper: the casts of the general rule (the query
// for the target interface must succeed and the element's type must be the
// target's), the sibling defaults and copy().  Kinds override what differs.
template <class T>
class ElementImpl : public cppu::WeakImplHelper<T> {
public:
    Reference<XBody> asBody() override { return cast<XBody>(ElementType::BODY_SECTION); }
    Reference<XFootnote> asFootnote() override { return cast<XFootnote>(ElementType::FOOTNOTE); }
    Reference<XContainerElement> asFootnoteSection() override {
        return cast<XContainerElement>(ElementType::FOOTNOTE_SECTION);
    }
    Reference<XInlineImage> asInlineImage() override { return cast<XInlineImage>(ElementType::INLINE_IMAGE); }
    Reference<XParagraph> asListItem() override { return cast<XParagraph>(ElementType::LIST_ITEM); }
    Reference<XParagraph> asParagraph() override { return cast<XParagraph>(ElementType::PARAGRAPH); }
    Reference<XTable> asTable() override { return cast<XTable>(ElementType::TABLE); }
    Reference<XTableCell> asTableCell() override { return cast<XTableCell>(ElementType::TABLE_CELL); }
    Reference<XTableRow> asTableRow() override { return cast<XTableRow>(ElementType::TABLE_ROW); }
    Reference<XText> asText() override { return cast<XText>(ElementType::TEXT); }
    Reference<XElement> copy() override { return self(); }
    Optional<Reference<XElement>> getNextSibling() override { return {}; }
    Optional<Reference<XElement>> getPreviousSibling() override { return {}; }

protected:
    XElement* self() { return this; }

    template <class I>
    Reference<I> cast(ElementType target) {
        const ElementType type = this->getType();
        Reference<I> result(static_cast<::zel::uno::XInterface*>(self()), ::zel::uno::UNO_QUERY);
        if (!result.is() || type != target) throwCastFailure(type, target);
        return result;
    }

    static Optional<Reference<XElement>> optionalElement(const Reference<XElement>& element) {
        return {element.is(), element};
    }
};

// The container members that the body and a table cell share: both stand for
// a host text, whose paragraphs and tables are their children.  `what` names
// the container in the messages ("the table cell").
template <class T>
class TextContainerImpl : public ElementImpl<T>, public ChildList {
public:
    Reference<::zel::uno::XInterface> getuno() override { return text_; }

    Reference<XText> asText() override { return createContainerText(this); }
    OUString getText() override {
        if (!text_.is()) throw RuntimeException(u"getText: " + OUString(what_) + u" has no text");
        return textOf(text_);
    }

    Reference<XText> editAsText() override { return asText(); }
    Reference<XElement> getChild(sal_Int32 index) override {
        const Sequence<Reference<XElement>> all = children();
        if (index < 0 || index >= all.getLength()) return {};
        return all[index];
    }
    sal_Int32 getChildIndex(const Reference<XElement>& child) override { return childIndexOf(*this, child); }
    sal_Int32 getNumChildren() override { return children().getLength(); }
    std::vector<Reference<XElement>> allChildren() override {
        const Sequence<Reference<XElement>> all = children();
        return std::vector<Reference<XElement>>(all.begin(), all.end());
    }

protected:
    TextContainerImpl(const Reference<text::XText>& containerText, std::u16string_view what)
        : text_(containerText), what_(what) {}

    Sequence<Reference<XElement>> children() { return enumerateElements(text_, this); }

    const Reference<text::XText> text_;

private:
    const std::u16string_view what_;
};

} // namespace corvane::detail
