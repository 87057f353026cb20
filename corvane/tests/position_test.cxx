// Positions: newPosition on texts and containers, the visible cursor, the
// stored cursor of setCursor, and what a position reports and inserts.

#include "built.hxx"

#include <document/elements.hxx>
#include <testsupport/LogCapture.hxx>

namespace corvane::test {
namespace {

using ::zel::uno::Any;
using ::zel::uno::UNO_QUERY_THROW;

class PositionTest : public BuiltDocumentTest {};

TEST_F(PositionTest, NewPositionInATextAllowsItsEndAndRefusesPastIt) {
    open().paragraph(u"hello").paragraph(u"world");
    Reference<XDocument> document = activeDocument();
    Reference<XElement> text = document->getBody()->getChild(0)->asParagraph()->getChild(0);
    ASSERT_EQ(text->getType(), ElementType::TEXT);
    for (sal_Int32 offset : {0, 3, 5}) {
        SCOPED_TRACE(offset);
        Reference<XCursor> position = document->newPosition(text, offset);
        EXPECT_EQ(position->getElement().get(), text.get());
        EXPECT_EQ(position->getOffset(), offset);
        EXPECT_EQ(position->getSurroundingTextOffset(), offset);
    }
    expectFailure([&] { document->newPosition(text, 6); }, u"newPosition: offset 6 is past the end of the text");
    expectFailure([&] { document->newPosition(text, -1); }, u"newPosition: expected a non-negative offset, got -1");
    expectFailure([&] { document->newPosition(nullptr, 0); }, u"newPosition: the element must not be null");

    document->newPosition(text, 5)->insertText(u"!");
    EXPECT_EQ(doc().body()->getString(), u"hello!\nworld");
}

TEST_F(PositionTest, NewPositionInAContainerCountsChildrenAndAllowsTheEnd) {
    open().paragraph(u"one").paragraph(u"two").paragraph(u"three");
    Reference<XDocument> document = activeDocument();
    Reference<XBody> body = document->getBody();
    ASSERT_EQ(body->getNumChildren(), 3);
    document->newPosition(body, 1)->insertText(u"[");
    document->newPosition(body, 3)->insertText(u"]");
    EXPECT_EQ(doc().body()->getString(), u"one\n[two\nthree]");
    expectFailure([&] { document->newPosition(body, 4); }, u"newPosition: child index 4 is past the 3 children");
    // A paragraph's children are its text and its images.
    Reference<XParagraph> first = body->getChild(0)->asParagraph();
    document->newPosition(first, 1)->insertText(u">");
    EXPECT_EQ(first->getText(), u"one>");
}

TEST_F(PositionTest, NewPositionOnWhatIsNeitherTextNorContainer) {
    open().paragraph(u"ab").graphic().table(1, 2).paragraph(u"after");
    Reference<XDocument> document = activeDocument();
    Reference<XBody> body = document->getBody();
    Reference<XElement> image = body->getChild(0)->asParagraph()->getChild(1);
    ASSERT_EQ(image->getType(), ElementType::INLINE_IMAGE);
    expectFailure([&] { document->newPosition(image, 0); }, u"newPosition: the element is neither text nor has children");
    // The text of a container is no paragraph's text.
    expectFailure([&] { document->newPosition(body->asText(), 0); },
                  u"newPosition: the element is neither text nor has children");
    // A table's child is a row, which is no text range of its own.
    Reference<XElement> table = body->getChild(1);
    ASSERT_EQ(table->getType(), ElementType::TABLE);
    expectFailure([&] { document->newPosition(table, 0); },
                  u"unsatisfied query for interface of type com.qam.vexo.text.XTextRange!", false);
}

TEST_F(PositionTest, NewPositionOnTheTextOfAParagraphOrListItem) {
    open().paragraph(u"plain").listItem(u"item");
    Reference<XDocument> document = activeDocument();
    Reference<XBody> body = document->getBody();
    for (sal_Int32 i : {0, 1}) {
        SCOPED_TRACE(i);
        Reference<XText> text = body->getChild(i)->asText();
        EXPECT_EQ(text->getType(), i == 0 ? ElementType::PARAGRAPH : ElementType::LIST_ITEM);
        Reference<XCursor> position = document->newPosition(text, 2);
        EXPECT_EQ(position->getOffset(), 2);
        position->insertText(u"|");
    }
    EXPECT_EQ(doc().body()->getString(), u"pl|ain\nit|em");
    expectFailure([&] { document->newPosition(body->getChild(0)->asText(), 8); },
                  u"newPosition: offset 8 is past the end of the text");
}

TEST_F(PositionTest, OffsetsCountVisibleCharactersPastFootnoteAnchors) {
    open().paragraph(u"ab").footnote(u"note").run(u"cd");
    Reference<XDocument> document = activeDocument();
    Reference<XText> text = document->getBody()->getChild(0)->asParagraph()->asText();
    Reference<XCursor> position = document->newPosition(text, 3);
    EXPECT_EQ(position->getSurroundingTextOffset(), 3);
    position->insertText(u"X");
    EXPECT_EQ(text->getText(), u"abcXd");
    // The live cursor counts the same way.
    Reference<hosttext::XTextViewCursor> view = viewCursor();
    view->gotoStart(false);
    view->goRight(4, false);  // a, b, the anchor, c
    Optional<Reference<XCursor>> live = document->getCursor();
    ASSERT_TRUE(live.IsPresent);
    EXPECT_EQ(live.Value->getOffset(), 3);
    EXPECT_EQ(live.Value->getSurroundingTextOffset(), 3);
}

TEST_F(PositionTest, TheStoredCursorHoldsWhileTheViewStaysAtIt) {
    open().paragraph(u"first").paragraph(u"second");
    Reference<XDocument> document = activeDocument();
    Reference<XElement> text = document->getBody()->getChild(1)->asParagraph()->getChild(0);
    Reference<XCursor> position = document->newPosition(text, 2);
    EXPECT_EQ(document->setCursor(position).get(), document.get());
    Optional<Reference<XCursor>> cursor = document->getCursor();
    ASSERT_TRUE(cursor.IsPresent);
    EXPECT_EQ(cursor.Value.get(), position.get());
    EXPECT_EQ(document->getCursor().Value.get(), position.get());

    // The user moves the cursor: a live cursor follows the view from now on.
    viewCursor()->goLeft(1, false);
    cursor = document->getCursor();
    ASSERT_TRUE(cursor.IsPresent);
    EXPECT_NE(cursor.Value.get(), position.get());
    EXPECT_EQ(cursor.Value->getOffset(), 1);
    viewCursor()->goRight(1, false);
    // The stored cursor was forgotten, even though the view is back at it.
    EXPECT_NE(document->getCursor().Value.get(), position.get());
    EXPECT_EQ(document->getCursor().Value->getOffset(), 2);
}

TEST_F(PositionTest, ALiveCursorFollowsTheView) {
    open().paragraph(u"alpha").table({{u"in a cell"}}).paragraph(u"omega");
    Reference<XDocument> document = activeDocument();
    Optional<Reference<XCursor>> cursor = document->getCursor();
    ASSERT_TRUE(cursor.IsPresent);
    Reference<XCursor> live = cursor.Value;
    Reference<hosttext::XTextViewCursor> view = viewCursor();
    view->gotoStart(false);
    view->goRight(2, false);
    EXPECT_TRUE(live->getuno() == Reference<::zel::uno::XInterface>(view, ::zel::uno::UNO_QUERY));
    Reference<XElement> element = live->getElement();
    EXPECT_EQ(element->getType(), ElementType::PARAGRAPH);
    EXPECT_FALSE(element->getParent().IsPresent);
    EXPECT_EQ(element->getText(), u"alpha");
    EXPECT_EQ(live->getOffset(), 2);
    Reference<XText> surrounding = live->getSurroundingText();
    EXPECT_EQ(surrounding->getType(), ElementType::TEXT);
    EXPECT_FALSE(surrounding->getParent().IsPresent);
    live->insertText(u"++");
    EXPECT_EQ(surrounding->getText(), u"al++pha");

    // In a table cell the cell's paragraphs are searched.
    Reference<hosttext::XText> cell = testsupport::text::cellText(doc().element(1), 0, 0);
    ASSERT_TRUE(selector()->select(Any(cell->getStart())));
    EXPECT_EQ(live->getElement()->getText(), u"in a cell");
    EXPECT_EQ(live->getOffset(), 0);
}

TEST_F(PositionTest, NoCursorWhileTextOrAnImageIsSelected) {
    open().paragraph(u"some text").graphic();
    Reference<XDocument> document = activeDocument();
    EXPECT_TRUE(document->getCursor().IsPresent);
    ASSERT_TRUE(selector()->select(Any(hostParagraph(0))));
    EXPECT_FALSE(document->getCursor().IsPresent);
    ASSERT_TRUE(selector()->select(Any(testsupport::text::inlineGraphics(doc().element(0)).at(0))));
    EXPECT_FALSE(document->getCursor().IsPresent);
    viewCursor()->gotoStart(false);
    EXPECT_TRUE(document->getCursor().IsPresent);
}

TEST_F(PositionTest, SetCursorRefusesWhatTheViewCannotSelect) {
    open().paragraph(u"here");
    TextDocumentBuilder other;
    other.paragraph(u"elsewhere");
    Reference<XDocument> document = activeDocument();
    ASSERT_TRUE(document->getuno() == other.model());
    expectFailure([&] { document->setCursor(nullptr); }, u"setCursor: the position must not be null");
    // A position in the first document is not in the view of the active one.
    Reference<XDocument> first = detail::createDocument(doc().model());
    Reference<XCursor> foreign = first->newPosition(first->getBody()->getChild(0)->asText(), 1);
    expectFailure([&] { document->setCursor(foreign); }, u"setCursor: the position is not somewhere the cursor can be");
    // The document keeps no cursor from the failed call.
    EXPECT_NE(document->getCursor().Value.get(), foreign.get());
}

TEST_F(PositionTest, APositionMovesWithEditsButKeepsItsOffset) {
    open().paragraph(u"a").paragraph(u"b");
    Reference<XDocument> document = activeDocument();
    Reference<XBody> body = document->getBody();
    Reference<XCursor> position = document->newPosition(body->getChild(0)->asText(), 1);
    body->getChild(0)->removeFromParent();
    // The host moved the point to the start of the next paragraph.
    EXPECT_EQ(position->getSurroundingTextOffset(), 0);
    EXPECT_EQ(position->getSurroundingText()->getText(), u"b");
    // The offset and element given to newPosition stay what they were.
    EXPECT_EQ(position->getOffset(), 1);
}

} // namespace
} // namespace corvane::test
