// Ranges and selections: the range builder, the document's selection as text
// ranges or one image, and its range elements (one per paragraph segment).

#include "elements.hxx"

#include <com/qam/vexo/container/collections.hxx>
#include <com/qam/vexo/view/selection.hxx>
#include <rtl/ustrbuf.hxx>
#include <sal/logging.hxx>

namespace corvane::detail {

namespace container = ::com::qam::vexo::container;
using ::com::qam::vexo::frame::XModel;
using ::com::qam::vexo::lang::IllegalArgumentException;
using ::com::qam::vexo::lang::IndexOutOfBoundsException;
using ::com::qam::vexo::lang::XServiceInfo;
using ::com::qam::vexo::view::XSelectionSupplier;

namespace {

// An index access of exactly one range: the selection that a builder makes.
class SingleRangeIndex : public cppu::WeakImplHelper<container::XIndexAccess> {
public:
    explicit SingleRangeIndex(const Reference<text::XTextRange>& range) : range_(range) {}

    sal_Int32 getCount() override { return 1; }
    Any getByIndex(sal_Int32 index) override {
        if (index != 0) throw IndexOutOfBoundsException(OUString());
        return Any(range_);
    }
    ::zel::uno::Type getElementType() override { return cppu::UnoType<text::XTextRange>::get(); }
    bool hasElements() override { return true; }

private:
    const Reference<text::XTextRange> range_;
};

// A segment of one paragraph.  Offsets are computed once, at creation; the
// segment itself is a host range that moves with edits.
class RangeElementImpl : public cppu::WeakImplHelper<XRangeElement> {
public:
    RangeElementImpl(const Reference<text::XTextRange>& segment, const Reference<text::XTextContent>& paragraph,
                     sal_Int32 start, sal_Int32 length, sal_Int32 paragraphLength)
        : segment_(segment), paragraph_(paragraph), start_(start), length_(length), paragraphLength_(paragraphLength) {}

    Reference<::zel::uno::XInterface> getuno() override { return segment_; }

    Reference<XElement> getElement() override {
        if (!paragraph_.is()) throw RuntimeException(u"getElement: this range element is not inside a paragraph");
        Reference<XParagraph> paragraph = createParagraph(nullptr, paragraph_);
        if (whole()) return paragraph;
        return paragraph->getChild(0);
    }
    sal_Int32 getEndOffsetInclusive() override {
        if (whole()) return -1;
        return length_ == 0 ? start_ : start_ + length_ - 1;
    }
    sal_Int32 getStartOffset() override { return whole() ? -1 : start_; }
    bool isPartial() override { return !whole(); }

private:
    bool whole() const { return paragraph_.is() && start_ == 0 && length_ == paragraphLength_; }

    const Reference<text::XTextRange> segment_;
    const Reference<text::XTextContent> paragraph_;
    const sal_Int32 start_;
    const sal_Int32 length_;
    const sal_Int32 paragraphLength_;
};

// The range element of a selected image: the image as a whole.
class ImageRangeElementImpl : public cppu::WeakImplHelper<XRangeElement> {
public:
    explicit ImageRangeElementImpl(const Reference<text::XTextContent>& image) : image_(image) {}

    Reference<::zel::uno::XInterface> getuno() override { return image_; }

    Reference<XElement> getElement() override {
        Reference<text::XTextRange> anchor = image_->getAnchor();
        if (!anchor.is()) throw RuntimeException(u"getElement: the image has no anchor");
        Reference<text::XTextContent> paragraph = findContainingParagraph(anchor);
        if (!paragraph.is()) throw RuntimeException(u"getElement: the image is not anchored in a paragraph");
        return createInlineImage(createParagraph(nullptr, paragraph), image_);
    }
    sal_Int32 getEndOffsetInclusive() override { return -1; }
    sal_Int32 getStartOffset() override { return -1; }
    bool isPartial() override { return false; }

private:
    const Reference<text::XTextContent> image_;
};

// One range element per paragraph that the range touches; tables between are
// skipped, and their contents never appear.
void splitAtParagraphBoundaries(const Reference<text::XTextRange>& range,
                                std::vector<Reference<XRangeElement>>& out) {
    Reference<text::XText> hostText = range->getText();
    if (!hostText.is()) throw RuntimeException(u"the selected range is not part of the document");
    Reference<text::XTextRangeCompare> compare(hostText, UNO_QUERY_THROW);
    Reference<container::XEnumeration> elements =
        Reference<container::XEnumerationAccess>(hostText, UNO_QUERY_THROW)->createEnumeration();
    const Reference<text::XTextRange> start = range->getStart();
    const Reference<text::XTextRange> end = range->getEnd();
    while (elements.is() && elements->hasMoreElements()) {
        const Any element = elements->nextElement();
        Reference<text::XTextContent> content(element, UNO_QUERY);
        Reference<XServiceInfo> info(content, UNO_QUERY);
        Reference<text::XTextRange> paragraph(content, UNO_QUERY);
        if (!content.is() || !info.is() || !info->supportsService(u"com.qam.vexo.text.Paragraph") || !paragraph.is())
            continue;
        try {
            const Reference<text::XTextRange> paragraphStart = paragraph->getStart();
            const Reference<text::XTextRange> paragraphEnd = paragraph->getEnd();
            // compareRegionStarts answers 1 when its first range starts before the second.
            if (compare->compareRegionStarts(paragraphEnd, start) > 0) continue;
            if (compare->compareRegionStarts(paragraphStart, end) < 0) break;
            const Reference<text::XTextRange> segmentStart =
                compare->compareRegionStarts(paragraphStart, start) > 0 ? start : paragraphStart;
            const Reference<text::XTextRange> segmentEnd =
                compare->compareRegionStarts(paragraphEnd, end) > 0 ? paragraphEnd : end;
            Reference<text::XTextCursor> segment = hostText->createTextCursorByRange(segmentStart);
            if (!segment.is()) continue;
            segment->gotoRange(segmentEnd, true);

            Reference<text::XTextContent> holder = findContainingParagraph(segment);
            const sal_Int32 length = textOf(segment).getLength();
            sal_Int32 offset = 0;
            sal_Int32 paragraphLength = 0;
            if (holder.is()) {
                Reference<text::XTextRange> holderRange(holder, UNO_QUERY_THROW);
                paragraphLength = textOf(holderRange).getLength();
                Reference<text::XText> holderText = holderRange->getText();
                if (!holderText.is()) throw RuntimeException(u"the paragraph is not part of the document");
                Reference<text::XTextCursor> before = holderText->createTextCursorByRange(holderRange->getStart());
                if (!before.is()) throw RuntimeException(u"cannot place a cursor in the paragraph");
                before->gotoRange(segment->getStart(), true);
                offset = textOf(before).getLength();
            }
            out.push_back(new RangeElementImpl(segment, holder, offset, length, paragraphLength));
        } catch (const IllegalArgumentException& e) {
            QX_LOG_WARN("corvane", "splitAtParagraphBoundaries: compareRegionStarts failed: " << e.Message);
        }
    }
}

// A selection of text ranges: the view's own selection, or a builder's range.
class SelectionImpl : public cppu::WeakImplHelper<XSelection> {
public:
    explicit SelectionImpl(const Reference<container::XIndexAccess>& ranges) : ranges_(ranges) {}

    Reference<::zel::uno::XInterface> getuno() override { return ranges_; }

    Sequence<Reference<XRangeElement>> getRangeElements() override {
        std::vector<Reference<XRangeElement>> elements;
        const sal_Int32 count = ranges_->getCount();
        for (sal_Int32 i = 0; i < count; ++i)
            splitAtParagraphBoundaries(rangeAt(i, u"getRangeElements: the selection contains something other than text"),
                                       elements);
        return Sequence<Reference<XRangeElement>>(std::move(elements));
    }
    // The ranges' texts joined with line feeds; an empty first range adds no separator.
    OUString getText() override {
        rtl::OUStringBuffer result;
        const sal_Int32 count = ranges_->getCount();
        for (sal_Int32 i = 0; i < count; ++i) {
            Reference<text::XTextRange> range = rangeAt(i, u"getText: the selection contains something that is not text");
            if (result.getLength() > 0) result.append(u'\n');
            result.append(textOf(range));
        }
        return result.makeStringAndClear();
    }
    // Every range receives the whole string.
    void replace(const OUString& s) override {
        const sal_Int32 count = ranges_->getCount();
        for (sal_Int32 i = 0; i < count; ++i)
            rangeAt(i, u"replace: the selection contains something that is not text")->setString(s);
    }

private:
    Reference<text::XTextRange> rangeAt(sal_Int32 i, std::u16string_view failure) {
        Reference<text::XTextRange> range(ranges_->getByIndex(i), UNO_QUERY);
        if (!range.is()) throw RuntimeException(OUString(failure));
        return range;
    }

    const Reference<container::XIndexAccess> ranges_;
};

// A selected inline image: one range element, no text, nothing to replace.
class ImageSelectionImpl : public cppu::WeakImplHelper<XSelection> {
public:
    explicit ImageSelectionImpl(const Reference<text::XTextContent>& image) : image_(image) {}

    Reference<::zel::uno::XInterface> getuno() override { return image_; }
    Sequence<Reference<XRangeElement>> getRangeElements() override {
        return {Reference<XRangeElement>(new ImageRangeElementImpl(image_))};
    }
    OUString getText() override { return OUString(); }
    void replace(const OUString&) override {
        throw RuntimeException(u"replace: the selection is an image, which has no text to replace");
    }

private:
    const Reference<text::XTextContent> image_;
};

// Builds one range from elements and parts of texts.  The range runs from the
// first start ever added to the last end added, as the host cursor extends it;
// an inline image can only be the one element of a range.
class RangeBuilderImpl : public cppu::WeakImplHelper<XRangeBuilder> {
public:
    Reference<XRangeBuilder> addElement(const Reference<XElement>& element) override {
        if (!element.is()) throw RuntimeException(u"addElement: the element must not be null");
        if (image_.is()) throw RuntimeException(u"addElement: an inline image can only be the only element of a range");
        if (element->getType() == ElementType::INLINE_IMAGE) {
            if (cursor_.is())
                throw RuntimeException(u"addElement: an inline image can only be the only element of a range");
            image_.set(element->getuno(), UNO_QUERY_THROW);
            return this;
        }
        Reference<text::XTextRange> range(element->getuno(), UNO_QUERY);
        if (!range.is()) throw RuntimeException(u"addElement: only text elements can be added to a range");
        extend(range->getStart(), range->getEnd());
        return this;
    }
    Reference<XRangeBuilder> addElementRange(const Reference<XText>& textElement, sal_Int32 start, sal_Int32 end) override {
        if (!textElement.is()) throw RuntimeException(u"addElementRange: the text must not be null");
        if (image_.is())
            throw RuntimeException(u"addElementRange: an inline image can only be the only element of a range");
        if (start < 0 || end < start)
            throw RuntimeException(u"addElementRange: expected 0 <= startOffset <= endOffsetInclusive, got startOffset=" +
                                   OUString::number(start) + u", endOffsetInclusive=" + OUString::number(end));
        Reference<text::XTextRange> range(textElement->getuno(), UNO_QUERY_THROW);
        Reference<text::XText> hostText = range->getText();
        if (!hostText.is()) throw RuntimeException(u"addElementRange: the text is not part of the document");
        Reference<text::XTextCursor> cursor = hostText->createTextCursorByRange(range->getStart());
        if (!cursor.is()) throw RuntimeException(u"addElementRange: cannot place a cursor at the element");
        goRight(cursor, start, false);
        goRight(cursor, end - start + 1, true);
        extend(cursor->getStart(), cursor->getEnd());
        return this;
    }
    // The selection shares the builder's cursor: adding more later changes it too.
    Reference<XSelection> build() override {
        if (image_.is()) return new ImageSelectionImpl(image_);
        if (!cursor_.is()) throw RuntimeException(u"build: add at least one element or element range first");
        return new SelectionImpl(new SingleRangeIndex(cursor_));
    }

private:
    void extend(const Reference<text::XTextRange>& start, const Reference<text::XTextRange>& end) {
        if (!start.is() || !end.is()) throw RuntimeException(u"the element covers no text");
        if (!cursor_.is()) {
            Reference<text::XText> hostText = start->getText();
            if (!hostText.is()) throw RuntimeException(u"the element is not part of the document");
            cursor_ = hostText->createTextCursorByRange(start);
            if (!cursor_.is()) throw RuntimeException(u"cannot place a cursor at the range start");
        }
        cursor_->gotoRange(end, true);
    }

    Reference<text::XTextCursor> cursor_;
    Reference<text::XTextContent> image_;
};

} // namespace

Reference<XRangeBuilder> createRangeBuilder() { return new RangeBuilderImpl; }

Optional<Reference<XSelection>> currentSelection(const Reference<XModel>& model) {
    Reference<text::XTextDocument> document(model, UNO_QUERY_THROW);
    Reference<XSelectionSupplier> supplier(document->getCurrentController(), UNO_QUERY_THROW);
    const Any selection = supplier->getSelection();
    if (Reference<XServiceInfo> info(selection, UNO_QUERY);
        info.is() && info->supportsService(u"com.qam.vexo.text.TextGraphicObject"))
        return {true, new ImageSelectionImpl(Reference<text::XTextContent>(selection, UNO_QUERY_THROW))};
    Reference<container::XIndexAccess> ranges(selection, UNO_QUERY);
    if (!ranges.is()) return {};
    const sal_Int32 count = ranges->getCount();
    for (sal_Int32 i = 0; i < count; ++i) {
        Reference<text::XTextRange> range(ranges->getByIndex(i), UNO_QUERY);
        if (!range.is()) return {};
        if (!range->getString().isEmpty()) return {true, new SelectionImpl(ranges)};
    }
    // Only a cursor, no selected text.
    return {};
}

void selectInView(const Reference<XModel>& model, const Reference<XSelection>& selection) {
    if (!selection.is()) throw RuntimeException(u"setSelection: the selection must not be null");
    Reference<XSelectionSupplier> supplier(model->getCurrentController(), UNO_QUERY_THROW);
    const Reference<::zel::uno::XInterface> uno = selection->getuno();
    Any target(uno);
    if (Reference<container::XIndexAccess> ranges(uno, UNO_QUERY); ranges.is() && ranges->getCount() == 1) {
        if (Reference<text::XTextRange> range(ranges->getByIndex(0), UNO_QUERY); range.is()) target = Any(range);
    }
    if (!supplier->select(target))
        throw RuntimeException(u"setSelection: the selection is not something the view can select");
}

} // namespace corvane::detail
