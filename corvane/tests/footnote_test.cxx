// Footnotes: the document's list, their text and sections, and removal.

#include "built.hxx"

#include <document/elements.hxx>

namespace corvane::test {
namespace {

using ::zel::uno::Sequence;

class FootnoteTest : public BuiltDocumentTest {};

TEST_F(FootnoteTest, ADocumentWithoutFootnotesListsNone) {
    open().paragraph(u"plain");
    EXPECT_EQ(activeDocument()->getFootnotes().getLength(), 0);
}

TEST_F(FootnoteTest, FootnotesInDocumentOrderWithTheirContents) {
    open().paragraph(u"a").footnote(u"first note").run(u"b").paragraph(u"c").footnote(u"second note");
    Reference<XDocument> document = activeDocument();
    const Sequence<Reference<XFootnote>> footnotes = document->getFootnotes();
    ASSERT_EQ(footnotes.getLength(), 2);
    const auto hostNotes = testsupport::text::footnotes(doc().model());
    const char16_t* texts[] = {u"first note", u"second note"};
    for (sal_Int32 i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        const Reference<XFootnote>& note = footnotes[i];
        EXPECT_TRUE(note->getuno() == hostNotes[i]);
        EXPECT_EQ(note->getType(), ElementType::FOOTNOTE);
        EXPECT_EQ(note->getText(), OUString(texts[i]));
        EXPECT_FALSE(note->getParent().IsPresent);
        EXPECT_FALSE(note->getNextSibling().IsPresent);
        EXPECT_FALSE(note->getPreviousSibling().IsPresent);
        EXPECT_EQ(note->copy().get(), static_cast<XElement*>(note.get()));
        EXPECT_EQ(note->asFootnote().get(), note.get());
        expectFailure([&] { note->asText(); }, u"FOOTNOTE can't be cast to TEXT.");
        expectFailure([&] { note->asFootnoteSection(); }, u"FOOTNOTE can't be cast to FOOTNOTE_SECTION.");
    }
    // The paragraph's text leaves the labels out.
    EXPECT_EQ(document->getBody()->getChild(0)->getText(), u"ab");
}

TEST_F(FootnoteTest, TheSectionListsTheFootnotesParagraphs) {
    open().paragraph(u"x").footnote(u"one");
    Reference<XFootnote> note = activeDocument()->getFootnotes()[0];
    Reference<hosttext::XText> hostText(note->getuno(), ::zel::uno::UNO_QUERY_THROW);
    hostText->insertString(hostText->getEnd(), u"\ntwo", false);
    Optional<Reference<XContainerElement>> contents = note->getFootnoteContents();
    ASSERT_TRUE(contents.IsPresent);
    Reference<XContainerElement> section = contents.Value;
    EXPECT_EQ(section->getType(), ElementType::FOOTNOTE_SECTION);
    EXPECT_TRUE(section->getuno() == hostText);
    EXPECT_FALSE(section->getParent().IsPresent);
    EXPECT_EQ(section->asFootnoteSection().get(), section.get());
    EXPECT_EQ(section->getText(), u"one\ntwo");
    ASSERT_EQ(section->getNumChildren(), 2);
    for (sal_Int32 i = 0; i < 2; ++i) {
        Reference<XElement> child = section->getChild(i);
        EXPECT_EQ(child->getType(), ElementType::PARAGRAPH);
        EXPECT_EQ(child->getParent().Value.get(), static_cast<XElement*>(section.get()));
        EXPECT_EQ(section->getChildIndex(child), i);
    }
    EXPECT_FALSE(section->getChild(2).is());
    EXPECT_FALSE(section->getChild(-1).is());
    EXPECT_EQ(section->asText()->getText(), u"one\ntwo");
    EXPECT_EQ(section->editAsText()->getType(), ElementType::FOOTNOTE_SECTION);
    expectFailure([&] { section->removeFromParent(); },
                  u"a footnote section cannot be removed on its own; remove its footnote instead");
    EXPECT_EQ(section->clear().get(), section.get());
    EXPECT_EQ(note->getText(), u"");
    EXPECT_EQ(section->getNumChildren(), 1);
}

TEST_F(FootnoteTest, RemovingAFootnoteTakesItsAnchorOut) {
    open().paragraph(u"ab").footnote(u"gone").run(u"cd").footnote(u"stays");
    Reference<XDocument> document = activeDocument();
    ASSERT_EQ(hostParagraph(0)->getString(), u"ab1cd2");
    Reference<XFootnote> first = document->getFootnotes()[0];
    EXPECT_EQ(first->removeFromParent().get(), static_cast<XElement*>(first.get()));
    const Sequence<Reference<XFootnote>> left = document->getFootnotes();
    ASSERT_EQ(left.getLength(), 1);
    EXPECT_EQ(left[0]->getText(), u"stays");
    // The label is gone from the host's string, and the other one renumbered.
    EXPECT_EQ(hostParagraph(0)->getString(), u"abcd1");
    EXPECT_EQ(document->getBody()->getChild(0)->getText(), u"abcd");
}

TEST(FootnoteSection, WithoutATextItNamesWhatIsMissing) {
    Reference<XContainerElement> section = detail::createFootnoteSection(nullptr);
    expectFailure([&] { section->getText(); }, u"getText: the footnote section has no text");
    expectFailure([&] { section->clear(); }, u"clear: the footnote section has no text");
}

} // namespace
} // namespace corvane::test
