// Ranges and selections: the range builder, the view's selection, range
// elements per paragraph, the selection's text and its replacement.

#include "built.hxx"
#include "fakeview.hxx"

#include <document/document.hxx>
#include <document/elements.hxx>
#include <testsupport/LogCapture.hxx>

#include <com/qam/vexo/container/collections.hxx>
#include <cppu/implbase.hxx>

#include <functional>
#include <vector>

namespace corvane::test {
namespace {

using ::zel::uno::Any;
using ::zel::uno::Sequence;
using ::zel::uno::UNO_QUERY;
using ::zel::uno::UNO_QUERY_THROW;

class SelectionTest : public BuiltDocumentTest {
protected:
    Reference<XText> textOfChild(const Reference<XDocument>& document, sal_Int32 i) {
        return document->getBody()->getChild(i)->asText();
    }
};

struct Segment {
    sal_Int32 start;
    sal_Int32 end;
    bool partial;
    ElementType type;
    OUString text;
    friend bool operator==(const Segment&, const Segment&) = default;
    friend std::ostream& operator<<(std::ostream& os, const Segment& s) {
        return os << "{" << s.start << ", " << s.end << ", " << s.partial << ", " << static_cast<int>(s.type) << ", "
                  << s.text << "}";
    }
};

std::vector<Segment> segments(const Reference<XSelection>& selection) {
    std::vector<Segment> out;
    for (const auto& e : selection->getRangeElements()) {
        Reference<XElement> element = e->getElement();
        out.push_back({e->getStartOffset(), e->getEndOffsetInclusive(), e->isPartial(), element->getType(),
                       element->getText()});
    }
    return out;
}

// A view range over [from, to) visible characters of the body's host string.
Reference<hosttext::XTextRange> bodyRange(const Reference<hosttext::XText>& body, sal_Int16 from, sal_Int16 length) {
    Reference<hosttext::XTextCursor> cursor = body->createTextCursorByRange(body->getStart());
    cursor->goRight(from, false);
    cursor->goRight(length, true);
    return cursor;
}

TEST_F(SelectionTest, AViewSelectionAcrossParagraphsGivesOneElementPerParagraph) {
    open().paragraph(u"first").paragraph(u"second").paragraph(u"third");
    Reference<XDocument> document = activeDocument();
    // From "st" of the first paragraph to "th" of the third.
    ASSERT_TRUE(selector()->select(Any(bodyRange(doc().body(), 3, 12))));
    Optional<Reference<XSelection>> selection = document->getSelection();
    ASSERT_TRUE(selection.IsPresent);
    EXPECT_EQ(selection.Value->getText(), u"st\nsecond\nth");
    EXPECT_EQ(segments(selection.Value), (std::vector<Segment>{{3, 4, true, ElementType::TEXT, u"first"},
                                                                {-1, -1, false, ElementType::PARAGRAPH, u"second"},
                                                                {0, 1, true, ElementType::TEXT, u"third"}}));
}

TEST_F(SelectionTest, RangeElementsOfWholeAndPartialParagraphs) {
    open().paragraph(u"ab").listItem(u"numbered").table(1, 1).paragraph(u"after");
    Reference<XDocument> document = activeDocument();
    struct Case {
        const char* name;
        std::function<void(const Reference<XRangeBuilder>&)> add;
        std::vector<Segment> expected;
    };
    const Case cases[] = {
        {"a whole numbered paragraph is a list item",
         [&](const auto& b) { b->addElement(document->getBody()->getChild(1)); },
         {{-1, -1, false, ElementType::LIST_ITEM, u"numbered"}}},
        {"part of a paragraph is its text",
         [&](const auto& b) { b->addElementRange(textOfChild(document, 0), 1, 1); },
         {{1, 1, true, ElementType::TEXT, u"ab"}}},
        {"the table between is skipped",
         [&](const auto& b) {
             b->addElementRange(textOfChild(document, 1), 0, 7);
             b->addElement(document->getBody()->getChild(3));
         },
         {{-1, -1, false, ElementType::LIST_ITEM, u"numbered"}, {-1, -1, false, ElementType::PARAGRAPH, u"after"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Reference<XRangeBuilder> builder = document->newRange();
        c.add(builder);
        EXPECT_EQ(segments(builder->build()), c.expected);
    }
}

TEST_F(SelectionTest, AnEmptySegmentAtAParagraphEndIsPartial) {
    open().paragraph(u"abc").paragraph(u"next");
    Reference<XDocument> document = activeDocument();
    // From the end of "abc" over the paragraph end and "ne".
    ASSERT_TRUE(selector()->select(Any(bodyRange(doc().body(), 3, 3))));
    Optional<Reference<XSelection>> selection = document->getSelection();
    ASSERT_TRUE(selection.IsPresent);
    EXPECT_EQ(segments(selection.Value), (std::vector<Segment>{{3, 3, true, ElementType::TEXT, u"abc"},
                                                                {0, 1, true, ElementType::TEXT, u"next"}}));
}

class RangeList : public cppu::WeakImplHelper<::com::qam::vexo::container::XIndexAccess> {
public:
    explicit RangeList(std::vector<Reference<hosttext::XTextRange>> ranges) : ranges_(std::move(ranges)) {}
    sal_Int32 getCount() override { return static_cast<sal_Int32>(ranges_.size()); }
    Any getByIndex(sal_Int32 i) override { return Any(ranges_.at(i)); }
    ::zel::uno::Type getElementType() override { return cppu::UnoType<hosttext::XTextRange>::get(); }
    bool hasElements() override { return !ranges_.empty(); }

private:
    std::vector<Reference<hosttext::XTextRange>> ranges_;
};

TEST_F(SelectionTest, SeveralSelectedRangesJoinWithLineFeedsAndEachTakesTheReplacement) {
    open().paragraph(u"one").paragraph(u"two").paragraph(u"three");
    Reference<XDocument> document = activeDocument();
    const Reference<::com::qam::vexo::container::XIndexAccess> list =
        new RangeList({hostParagraph(0), hostParagraph(2)});
    ASSERT_TRUE(selector()->select(Any(list)));
    Optional<Reference<XSelection>> selection = document->getSelection();
    ASSERT_TRUE(selection.IsPresent);
    EXPECT_EQ(selection.Value->getText(), u"one\nthree");
    EXPECT_EQ(segments(selection.Value), (std::vector<Segment>{{-1, -1, false, ElementType::PARAGRAPH, u"one"},
                                                                {-1, -1, false, ElementType::PARAGRAPH, u"three"}}));
    selection.Value->replace(u"X");
    EXPECT_EQ(doc().body()->getString(), u"X\ntwo\nX");

    // An empty first range adds no separator.
    const Reference<::com::qam::vexo::container::XIndexAccess> emptyFirst =
        new RangeList({hostParagraph(0)->getEnd(), hostParagraph(1)});
    ASSERT_TRUE(selector()->select(Any(emptyFirst)));
    selection = document->getSelection();
    ASSERT_TRUE(selection.IsPresent);
    EXPECT_EQ(selection.Value->getText(), u"two");
}

TEST_F(SelectionTest, NothingSelectedMeansNoSelectionButACursor) {
    open().paragraph(u"text");
    Reference<XDocument> document = activeDocument();
    EXPECT_FALSE(document->getSelection().IsPresent);
    EXPECT_TRUE(document->getCursor().IsPresent);
}

TEST_F(SelectionTest, TheBuilderFormsOneRangeAsTheHostCursorExtends) {
    open().paragraph(u"one").paragraph(u"two").paragraph(u"three");
    Reference<XDocument> document = activeDocument();
    Reference<XBody> body = document->getBody();
    Reference<XRangeBuilder> builder = document->newRange();
    EXPECT_EQ(builder->addElement(body->getChild(2)).get(), builder.get());
    Reference<XSelection> selection = builder->build();
    EXPECT_EQ(selection->getText(), u"three");
    // Adding paragraph 1 after paragraph 3: the cursor keeps its mark at the start
    // of paragraph 3 and stretches back to the end of paragraph 1, one range.  The
    // selection built before shares the cursor and changes with it.
    builder->addElement(body->getChild(0));
    EXPECT_EQ(selection->getText(), u"\ntwo\n");
    EXPECT_EQ(builder->build()->getText(), u"\ntwo\n");
    EXPECT_EQ(segments(selection), (std::vector<Segment>{{3, 3, true, ElementType::TEXT, u"one"},
                                                         {-1, -1, false, ElementType::PARAGRAPH, u"two"},
                                                         {0, 0, true, ElementType::TEXT, u"three"}}));
    Reference<::com::qam::vexo::container::XIndexAccess> ranges(selection->getuno(), UNO_QUERY_THROW);
    EXPECT_EQ(ranges->getCount(), 1);
    expectFailure<::com::qam::vexo::lang::IndexOutOfBoundsException>([&] { ranges->getByIndex(1); }, u"");
}

TEST_F(SelectionTest, BuilderFailures) {
    open().paragraph(u"abc").graphic().table(1, 1).paragraph(u"after");
    Reference<XDocument> document = activeDocument();
    Reference<XBody> body = document->getBody();
    Reference<XElement> image = body->getChild(0)->asParagraph()->getChild(1);
    Reference<XElement> paragraph = body->getChild(0);
    struct Case {
        const char* name;
        std::function<void()> call;
        const char16_t* message;
    };
    const Case cases[] = {
        {"build without elements", [&] { document->newRange()->build(); },
         u"build: add at least one element or element range first"},
        {"null element", [&] { document->newRange()->addElement(nullptr); }, u"addElement: the element must not be null"},
        {"null text", [&] { document->newRange()->addElementRange(nullptr, 0, 0); },
         u"addElementRange: the text must not be null"},
        {"reversed offsets", [&] { document->newRange()->addElementRange(paragraph->asText(), 2, 1); },
         u"addElementRange: expected 0 <= startOffset <= endOffsetInclusive, got startOffset=2, endOffsetInclusive=1"},
        {"negative offset", [&] { document->newRange()->addElementRange(paragraph->asText(), -1, 1); },
         u"addElementRange: expected 0 <= startOffset <= endOffsetInclusive, got startOffset=-1, endOffsetInclusive=1"},
        {"a table", [&] { document->newRange()->addElement(body->getChild(1)); },
         u"addElement: only text elements can be added to a range"},
        {"an image after a paragraph", [&] { document->newRange()->addElement(paragraph)->addElement(image); },
         u"addElement: an inline image can only be the only element of a range"},
        {"a paragraph after an image", [&] { document->newRange()->addElement(image)->addElement(paragraph); },
         u"addElement: an inline image can only be the only element of a range"},
        {"a text range after an image",
         [&] { document->newRange()->addElement(image)->addElementRange(paragraph->asText(), 0, 0); },
         u"addElementRange: an inline image can only be the only element of a range"},
        {"two images", [&] { document->newRange()->addElement(image)->addElement(image); },
         u"addElement: an inline image can only be the only element of a range"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        expectFailure(c.call, c.message);
    }
}

TEST_F(SelectionTest, AnImageSelection) {
    open().paragraph(u"look: ").graphic(hosttext::TextContentAnchorType_AS_CHARACTER, u"logo");
    Reference<XDocument> document = activeDocument();
    Reference<XElement> image = document->getBody()->getChild(0)->asParagraph()->getChild(1);
    Reference<XSelection> built = document->newRange()->addElement(image)->build();
    EXPECT_TRUE(built->getuno() == image->getuno());
    EXPECT_EQ(built->getText(), u"");
    expectFailure([&] { built->replace(u"x"); }, u"replace: the selection is an image, which has no text to replace");
    const Sequence<Reference<XRangeElement>> elements = built->getRangeElements();
    ASSERT_EQ(elements.getLength(), 1);
    EXPECT_EQ(elements[0]->getStartOffset(), -1);
    EXPECT_EQ(elements[0]->getEndOffsetInclusive(), -1);
    EXPECT_FALSE(elements[0]->isPartial());
    EXPECT_TRUE(elements[0]->getuno() == image->getuno());
    Reference<XElement> element = elements[0]->getElement();
    EXPECT_EQ(element->getType(), ElementType::INLINE_IMAGE);
    EXPECT_EQ(element->getText(), u"logo");
    Optional<Reference<XElement>> parent = element->getParent();
    ASSERT_TRUE(parent.IsPresent);
    EXPECT_EQ(parent.Value->getText(), u"look: ");
    EXPECT_FALSE(parent.Value->getParent().IsPresent);

    // Made the document's selection, the view selects the image.
    EXPECT_EQ(document->setSelection(built).get(), document.get());
    Optional<Reference<XSelection>> selection = document->getSelection();
    ASSERT_TRUE(selection.IsPresent);
    EXPECT_TRUE(selection.Value->getuno() == image->getuno());
    EXPECT_EQ(selection.Value->getText(), u"");
    EXPECT_FALSE(document->getCursor().IsPresent);
}

TEST_F(SelectionTest, SetSelectionSelectsTheRangeInTheView) {
    open().paragraph(u"hello world");
    Reference<XDocument> document = activeDocument();
    Reference<XSelection> selection =
        document->newRange()->addElementRange(document->getBody()->getChild(0)->asText(), 6, 10)->build();
    EXPECT_EQ(document->setSelection(selection).get(), document.get());
    EXPECT_EQ(viewCursor()->getString(), u"world");
    Optional<Reference<XSelection>> current = document->getSelection();
    ASSERT_TRUE(current.IsPresent);
    EXPECT_EQ(current.Value->getText(), u"world");
    expectFailure([&] { document->setSelection(nullptr); }, u"setSelection: the selection must not be null");
}

TEST_F(SelectionTest, SetSelectionRefusedByTheViewFails) {
    open().paragraph(u"first document");
    Reference<XDocument> first = activeDocument();
    Reference<XSelection> foreign = first->newRange()->addElement(first->getBody()->getChild(0))->build();
    open().paragraph(u"second document");
    Reference<XDocument> second = activeDocument();
    ASSERT_TRUE(second->getuno() == doc().model());
    expectFailure([&] { second->setSelection(foreign); },
                  u"setSelection: the selection is not something the view can select");
    EXPECT_FALSE(second->getSelection().IsPresent);
}

TEST_F(SelectionTest, ReplacingWritesTheWholeStringIntoTheRange) {
    open().paragraph(u"keep this, change that");
    Reference<XDocument> document = activeDocument();
    Reference<XText> text = document->getBody()->getChild(0)->asText();
    Reference<XSelection> selection = document->newRange()->addElementRange(text, 18, 21)->build();
    EXPECT_EQ(selection->getText(), u"that");
    selection->replace(u"the other");
    EXPECT_EQ(text->getText(), u"keep this, change the other");
    EXPECT_EQ(selection->getText(), u"the other");
}

TEST(SelectionComparisons, RefusedComparisonsAreLoggedAndSkipped) {
    testsupport::LogCapture log("corvane");
    Reference<fake::RefusingText> text = new fake::RefusingText;
    Reference<hosttext::XTextRange> range = new fake::Range(text.get());
    Reference<XDocument> document = detail::createDocument(new fake::TextModel(new fake::View(new fake::RangeList(range))));
    Optional<Reference<XSelection>> selection = document->getSelection();
    ASSERT_TRUE(selection.IsPresent);
    EXPECT_EQ(selection.Value->getRangeElements().getLength(), 0);
    EXPECT_FALSE(detail::findContainingParagraph(range).is());
    const std::string split = "splitAtParagraphBoundaries: compareRegionStarts failed: compareRegionStarts: the range is not in this text";
    const std::string find = "findContainingParagraph: compareRegionStarts failed: compareRegionStarts: the range is not in this text";
    EXPECT_EQ(log.lines(), (std::vector<testsupport::LogLine>{{"corvane", SALQX_LOG_WARN, split},
                                                              {"corvane", SALQX_LOG_WARN, split},
                                                              {"corvane", SALQX_LOG_WARN, find},
                                                              {"corvane", SALQX_LOG_WARN, find}}));
}

} // namespace
} // namespace corvane::test
