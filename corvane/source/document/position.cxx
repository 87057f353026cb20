// Positions: points in the document made from an element and an offset, and
// the live cursor that follows the view.  One class, CursorImpl, serves both.

#include "elements.hxx"

#include <com/qam/vexo/container/collections.hxx>
#include <sal/logging.hxx>

namespace corvane::detail {

namespace container = ::com::qam::vexo::container;
using ::com::qam::vexo::frame::XModel;
using ::com::qam::vexo::lang::IllegalArgumentException;
using ::com::qam::vexo::lang::XServiceInfo;

Reference<text::XTextRange> viewCursorOf(const Reference<XModel>& model) {
    Reference<text::XTextViewCursorSupplier> supplier(model->getCurrentController(), UNO_QUERY_THROW);
    Reference<text::XTextRange> cursor(supplier->getViewCursor(), UNO_QUERY);
    if (!cursor.is()) throw RuntimeException(u"the document view has no cursor");
    return cursor;
}

Reference<text::XTextContent> findContainingParagraph(const Reference<text::XTextRange>& point) {
    Reference<text::XText> hostText = point->getText();
    if (!hostText.is()) throw RuntimeException(u"the text position is not part of the document");
    Reference<text::XTextRangeCompare> compare(hostText, UNO_QUERY_THROW);
    Reference<container::XEnumeration> elements =
        Reference<container::XEnumerationAccess>(hostText, UNO_QUERY_THROW)->createEnumeration();
    const Reference<text::XTextRange> at = point->getStart();
    while (elements.is() && elements->hasMoreElements()) {
        const Any element = elements->nextElement();
        Reference<text::XTextContent> content(element, UNO_QUERY);
        Reference<XServiceInfo> info(content, UNO_QUERY);
        Reference<text::XTextRange> paragraph(content, UNO_QUERY);
        if (!content.is() || !info.is() || !info->supportsService(u"com.qam.vexo.text.Paragraph") || !paragraph.is())
            continue;
        try {
            // compareRegionStarts answers 1 when its first range starts before the second.
            if (compare->compareRegionStarts(paragraph, at) >= 0 && compare->compareRegionStarts(at, paragraph->getEnd()) >= 0)
                return content;
        } catch (const IllegalArgumentException& e) {
            QX_LOG_WARN("corvane", "findContainingParagraph: compareRegionStarts failed: " << e.Message);
        }
    }
    return {};
}

namespace {

// A position.  A cursor made by newPosition holds its host point, which the host
// moves along with edits; a live cursor has none and asks the view each time.
// It holds the model, never the document wrapper, so no cycle forms with the
// document that stores it.
class CursorImpl : public cppu::WeakImplHelper<XCursor> {
public:
    CursorImpl(const Reference<XModel>& model, const Reference<text::XTextRange>& point,
               const Reference<XElement>& element, sal_Int32 offset)
        : model_(model), point_(point), element_(element), offset_(offset) {}

    Reference<::zel::uno::XInterface> getuno() override { return where(); }

    Reference<XElement> getElement() override {
        if (element_.is()) return element_;
        Reference<text::XTextContent> paragraph = findContainingParagraph(where());
        if (!paragraph.is()) throw RuntimeException(u"getElement: the cursor is not inside a paragraph");
        return createParagraph(nullptr, paragraph);
    }
    sal_Int32 getOffset() override { return element_.is() ? offset_ : paragraphOffset(); }
    Reference<XText> getSurroundingText() override {
        Reference<text::XTextContent> paragraph = findContainingParagraph(where());
        if (!paragraph.is()) throw RuntimeException(u"getSurroundingText: the cursor is not inside a paragraph");
        return createText(nullptr, paragraph, ElementType::TEXT);
    }
    sal_Int32 getSurroundingTextOffset() override { return paragraphOffset(); }

    Optional<Reference<XInlineImage>> insertInlineImage(const Reference<XBlob>& blob) override {
        const Reference<text::XTextRange> point = where();
        Reference<text::XText> hostText = point->getText();
        if (!hostText.is())
            throw RuntimeException(u"insertInlineImage: the cursor is not somewhere that accepts inline images");
        Reference<text::XTextContent> content = createGraphicFromBlob(model_, blob);
        hostText->insertTextContent(point->getStart(), content, false);
        return {true, createInlineImage(nullptr, content)};
    }
    void insertText(const OUString& s) override {
        const Reference<text::XTextRange> point = where();
        Reference<text::XText> hostText = point->getText();
        if (!hostText.is()) throw RuntimeException(u"insertText: the cursor is not somewhere that accepts text");
        hostText->insertString(point->getStart(), s, false);
    }

    Reference<text::XTextRange> where() { return point_.is() ? point_ : viewCursorOf(model_); }

private:
    // The number of visible characters between the paragraph's start and the point.
    sal_Int32 paragraphOffset() {
        const Reference<text::XTextRange> point = where();
        Reference<text::XTextContent> paragraph = findContainingParagraph(point);
        if (!paragraph.is()) throw RuntimeException(u"getOffset: the cursor is not inside a paragraph");
        Reference<text::XTextRange> range(paragraph, UNO_QUERY_THROW);
        Reference<text::XText> hostText = range->getText();
        if (!hostText.is()) throw RuntimeException(u"getOffset: the paragraph is not part of the document");
        Reference<text::XTextCursor> cursor = hostText->createTextCursorByRange(range->getStart());
        if (!cursor.is()) throw RuntimeException(u"getOffset: cannot place a cursor in the paragraph");
        cursor->gotoRange(point->getStart(), true);
        return textOf(cursor).getLength();
    }

    const Reference<XModel> model_;
    const Reference<text::XTextRange> point_;
    const Reference<XElement> element_;
    const sal_Int32 offset_;
};

// An element that stands for one paragraph's text: a paragraph's text child, or
// asText() of a paragraph or list item.
bool isParagraphText(const Reference<XElement>& element) {
    if (element->getType() == ElementType::TEXT) return true;
    if (!Reference<XText>(element, UNO_QUERY).is()) return false;
    Reference<XServiceInfo> info(element->getuno(), UNO_QUERY);
    return info.is() && info->supportsService(u"com.qam.vexo.text.Paragraph");
}

} // namespace

Reference<text::XTextRange> pointOf(const Reference<XCursor>& cursor) {
    if (auto* impl = dynamic_cast<CursorImpl*>(cursor.get())) return impl->where();
    return Reference<text::XTextRange>(cursor->getuno(), UNO_QUERY_THROW);
}

Reference<XCursor> createLiveCursor(const Reference<XModel>& model) { return new CursorImpl(model, {}, {}, 0); }

Reference<XCursor> newPosition(const Reference<XModel>& model, const Reference<XElement>& element, sal_Int32 offset) {
    if (!element.is()) throw RuntimeException(u"newPosition: the element must not be null");
    if (offset < 0)
        throw RuntimeException(u"newPosition: expected a non-negative offset, got " + OUString::number(offset));
    Reference<text::XTextRange> point;
    if (isParagraphText(element)) {
        Reference<text::XTextRange> range(element->getuno(), UNO_QUERY_THROW);
        if (textOf(range).getLength() < offset)
            throw RuntimeException(u"newPosition: offset " + OUString::number(offset) + u" is past the end of the text");
        Reference<text::XTextCursor> cursor = range->getText()->createTextCursorByRange(range->getStart());
        goRight(cursor, offset, false);
        point = cursor->getStart();
    } else {
        Reference<XContainerElement> parent(element, UNO_QUERY);
        if (!parent.is()) throw RuntimeException(u"newPosition: the element is neither text nor has children");
        const sal_Int32 count = parent->getNumChildren();
        if (offset > count)
            throw RuntimeException(u"newPosition: child index " + OUString::number(offset) + u" is past the " +
                                   OUString::number(count) + u" children");
        if (offset == count) {
            point = Reference<text::XTextRange>(parent->getuno(), UNO_QUERY_THROW)->getEnd();
        } else {
            const Reference<XElement> childElement = parent->getChild(offset);
            const Reference<::zel::uno::XInterface> child = childElement.is() ? childElement->getuno() : nullptr;
            Reference<text::XTextContent> content(child, UNO_QUERY);
            Reference<text::XTextRange> anchor = content.is() ? content->getAnchor() : nullptr;
            // A table's row is neither a content nor a range: the throwing query fails.
            point = anchor.is() ? anchor->getStart() : Reference<text::XTextRange>(child, UNO_QUERY_THROW)->getStart();
        }
    }
    return new CursorImpl(model, point, element, offset);
}

} // namespace corvane::detail
