// Text editing and character attributes: the offset model without footnote
// labels, paragraph texts and container texts.

#include "textdoc.hxx"

#include <com/qam/vexo/awt/font.hxx>
#include <document/elements.hxx>

namespace corvane::test {
namespace {

using ::zel::uno::Sequence;

class TextTest : public DocumentTest {
protected:
    Reference<XText> textOf(const TextDoc& doc, sal_Int32 paragraph) {
        return documentOf(doc)->getBody()->getChild(paragraph)->asText();
    }
    Reference<XText> bodyText(const TextDoc& doc) { return documentOf(doc)->getBody()->editAsText(); }
    // The host's character property at `offset` host characters into paragraph i.
    static Any charProperty(const TextDoc& doc, std::size_t i, sal_Int16 offset, const char16_t* name) {
        Reference<hosttext::XTextCursor> c = doc.cursorAt(i, offset);
        c->goRight(1, true);
        return Reference<beans::XPropertySet>(c, UNO_QUERY_THROW)->getPropertyValue(str(name));
    }
    static bool hostBold(const TextDoc& doc, std::size_t i, sal_Int16 offset) {
        return charProperty(doc, i, offset, u"CharWeight").get<float>() >= 150.0f;
    }
};

TEST_F(TextTest, FootnoteLabelsAreNotPartOfTheText) {
    TextDoc doc({u"abcd", u"next"});
    doc.insertFootnote(0, 2, u"17");
    EXPECT_EQ(doc.range(0)->getString(), OUString(u"ab17cd"));
    Reference<XText> text = textOf(doc, 0);
    EXPECT_EQ(text->getText(), OUString(u"abcd"));
    EXPECT_EQ(detail::textOf(doc.body), OUString(u"abcd\nnext"));
    EXPECT_EQ(documentOf(doc)->getBody()->getText(), OUString(u"abcd\nnext"));

    // Offset 3 is between c and d, after the anchor.
    text->insertText(3, u"X");
    EXPECT_EQ(text->getText(), OUString(u"abcXd"));
    EXPECT_EQ(doc.range(0)->getString(), OUString(u"ab17cXd"));
    // A range over the anchor covers visible characters only.
    text->deleteText(1, 2);
    EXPECT_EQ(text->getText(), OUString(u"aXd"));
}

TEST_F(TextTest, TextOfATableJoinsTheCellsRowByRow) {
    TextDoc doc({u"p", u"q"});
    Reference<hosttext::XTextTable> table = doc.insertTable(0, 2, 2, {u"a", u"b", u"c", u"d"});
    Reference<hosttext::XText> cell(Reference<::com::qam::vexo::table::XCellRange>(table, UNO_QUERY_THROW)
                                        ->getCellByPosition(1, 0),
                                    UNO_QUERY_THROW);
    doc.insertFootnote(0, 1, u"9");
    EXPECT_EQ(detail::textOf(doc.body), OUString(u"p\na\nb\nc\nd\nq"));
    Reference<XElement> tableElement = documentOf(doc)->getBody()->getChild(1);
    EXPECT_EQ(tableElement->getText(), OUString(u"a\nb\nc\nd"));
    EXPECT_EQ(tableElement->asText()->getText(), OUString(u"a\nb\nc\nd"));
}

TEST_F(TextTest, EditingAParagraph) {
    TextDoc doc({u"hello", u"world"});
    Reference<XText> text = textOf(doc, 0);
    EXPECT_EQ(text->appendText(u"!").get(), text.get());
    EXPECT_EQ(text->insertText(0, u">").get(), text.get());
    EXPECT_EQ(text->getText(), OUString(u">hello!"));
    EXPECT_EQ(text->deleteText(1, 2).get(), text.get());
    EXPECT_EQ(text->getText(), OUString(u">llo!"));
    EXPECT_EQ(text->setText(u"new").get(), text.get());
    EXPECT_EQ(text->getText(), OUString(u"new"));
    EXPECT_EQ(documentOf(doc)->getBody()->getText(), OUString(u"new\nworld"));
    EXPECT_EQ(text->editAsText().get(), text.get());
}

TEST_F(TextTest, RangeArgumentsAreChecked) {
    TextDoc doc({u"text"});
    Reference<XText> text = textOf(doc, 0);
    expectFailure([&] { text->deleteText(2, 1); },
                  u"deleteText: expected 0 <= startOffset <= endOffsetInclusive, got startOffset=2, endOffsetInclusive=1");
    expectFailure([&] { text->insertText(-1, u"x"); }, u"insertText: expected a non-negative offset, got -1");
    using Setter = std::function<void(XText&)>;
    const std::pair<const char16_t*, Setter> setters[] = {
        {u"setBold", [](XText& t) { t.setBoldRange(-1, 0, true); }},
        {u"setItalic", [](XText& t) { t.setItalicRange(-1, 0, true); }},
        {u"setUnderline", [](XText& t) { t.setUnderlineRange(-1, 0, true); }},
        {u"setStrikethrough", [](XText& t) { t.setStrikethroughRange(-1, 0, true); }},
        {u"setFontFamily", [](XText& t) { t.setFontFamilyRange(-1, 0, u"Serif"); }},
        {u"setLinkUrl", [](XText& t) { t.setLinkUrlRange(-1, 0, u"https://example.org/"); }},
        {u"setTextAlignment", [](XText& t) { t.setTextAlignmentRange(-1, 0, TextAlignment::SUBSCRIPT); }},
    };
    Reference<XText> body = bodyText(doc);
    for (const auto& [method, set] : setters) {
        SCOPED_TRACE(OUString(std::u16string_view(method)));
        const std::u16string message = std::u16string(method) +
                                       u": expected 0 <= startOffset <= endOffsetInclusive, got startOffset=-1, "
                                       u"endOffsetInclusive=0";
        expectFailure([&] { set(*text); }, message);
        expectFailure([&] { set(*body); }, message);
    }
    EXPECT_EQ(text->getText(), OUString(u"text"));
}

TEST_F(TextTest, AttributeIsAbsentUnlessSetOnTheRunOrTheParagraph) {
    TextDoc doc({u"plain words"});
    EXPECT_FALSE(textOf(doc, 0)->isBold(0).IsPresent);
    doc.props(0)->setPropertyValue(u"CharWeight", Any(::com::qam::vexo::awt::FontWeight::BOLD));
    const Optional<bool> bold = textOf(doc, 0)->isBold(0);
    ASSERT_TRUE(bold.IsPresent);
    EXPECT_TRUE(bold.Value);
}

TEST_F(TextTest, WholeTextSettersWriteTheHostProperties) {
    TextDoc doc({u"styled"});
    Reference<XText> text = textOf(doc, 0);
    text->setBold(true)->setItalic(true)->setUnderline(true)->setStrikethrough(true);
    text->setFontFamily(u"Liberation Serif")->setLinkUrl(u"https://example.org/");
    text->setTextAlignment(TextAlignment::SUPERSCRIPT);
    Reference<beans::XPropertySet> props = doc.props(0);
    EXPECT_EQ(props->getPropertyValue(u"CharWeight").get<float>(), 150.0f);
    EXPECT_TRUE(props->getPropertyValue(u"CharPosture") == Any(::com::qam::vexo::awt::FontSlant_ITALIC));
    EXPECT_TRUE(props->getPropertyValue(u"CharUnderline") == Any(static_cast<sal_Int16>(1)));
    EXPECT_TRUE(props->getPropertyValue(u"CharStrikeout") == Any(static_cast<sal_Int16>(1)));
    EXPECT_EQ(props->getPropertyValue(u"CharFontName").get<OUString>(), OUString(u"Liberation Serif"));
    EXPECT_EQ(props->getPropertyValue(u"HyperLinkURL").get<OUString>(), OUString(u"https://example.org/"));
    EXPECT_TRUE(props->getPropertyValue(u"CharEscapement") == Any(static_cast<sal_Int16>(33)));
    EXPECT_TRUE(props->getPropertyValue(u"CharEscapementHeight") == Any(static_cast<sal_Int8>(58)));

    Reference<XText> fresh = textOf(doc, 0);
    EXPECT_EQ(fresh->isBold(2), (Optional<bool>{true, true}));
    EXPECT_EQ(fresh->isItalic(2), (Optional<bool>{true, true}));
    EXPECT_EQ(fresh->isUnderline(2), (Optional<bool>{true, true}));
    EXPECT_EQ(fresh->isStrikethrough(2), (Optional<bool>{true, true}));
    EXPECT_EQ(fresh->getFontFamily(2), (Optional<OUString>{true, u"Liberation Serif"}));
    EXPECT_EQ(fresh->getLinkUrl(2), (Optional<OUString>{true, u"https://example.org/"}));
    EXPECT_EQ(fresh->getTextAlignment(2), (Optional<TextAlignment>{true, TextAlignment::SUPERSCRIPT}));

    text->setBold(false)->setItalic(false)->setUnderline(false)->setTextAlignment(TextAlignment::SUBSCRIPT);
    EXPECT_EQ(props->getPropertyValue(u"CharWeight").get<float>(), 100.0f);
    EXPECT_TRUE(props->getPropertyValue(u"CharPosture") == Any(::com::qam::vexo::awt::FontSlant_NONE));
    EXPECT_TRUE(props->getPropertyValue(u"CharEscapement") == Any(static_cast<sal_Int16>(-33)));
    fresh = textOf(doc, 0);
    EXPECT_EQ(fresh->isBold(0), (Optional<bool>{true, false}));
    EXPECT_EQ(fresh->isItalic(0), (Optional<bool>{true, false}));
    EXPECT_EQ(fresh->getTextAlignment(0), (Optional<TextAlignment>{true, TextAlignment::SUBSCRIPT}));
    text->setTextAlignment(TextAlignment::NORMAL);
    EXPECT_TRUE(props->getPropertyValue(u"CharEscapement") == Any(static_cast<sal_Int16>(0)));
    EXPECT_TRUE(props->getPropertyValue(u"CharEscapementHeight") == Any(static_cast<sal_Int8>(100)));
}

TEST_F(TextTest, RangeSettersCoverTheGivenCharacters) {
    TextDoc doc({u"abcdef"});
    Reference<XText> text = textOf(doc, 0);
    text->setBoldRange(1, 3, true);
    for (sal_Int16 i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(hostBold(doc, 0, i), i >= 1 && i <= 3);
    }
    Reference<XText> fresh = textOf(doc, 0);
    EXPECT_EQ(fresh->isBold(2), (Optional<bool>{true, true}));
    EXPECT_FALSE(fresh->isBold(0).IsPresent);
    EXPECT_FALSE(fresh->isBold(5).IsPresent);
    EXPECT_TRUE(fresh->getTextAttributeIndices() == (Sequence<sal_Int32>{0, 1, 4}));
    // Offsets past the end land on the last run; negative ones on the first.
    EXPECT_FALSE(fresh->isBold(100).IsPresent);
    EXPECT_FALSE(fresh->isBold(-5).IsPresent);
}

TEST_F(TextTest, RangeSetterSkipsFootnoteLabels) {
    TextDoc doc({u"abcd"});
    doc.insertFootnote(0, 2, u"5");  // host string ab5cd
    textOf(doc, 0)->setUnderlineRange(2, 3, true);
    EXPECT_EQ(charProperty(doc, 0, 1, u"CharUnderline").get<sal_Int16>(), 0);
    EXPECT_EQ(charProperty(doc, 0, 3, u"CharUnderline").get<sal_Int16>(), 1);
    EXPECT_EQ(charProperty(doc, 0, 4, u"CharUnderline").get<sal_Int16>(), 1);
    Reference<XText> fresh = textOf(doc, 0);
    EXPECT_EQ(fresh->isUnderline(2), (Optional<bool>{true, true}));
    EXPECT_FALSE(fresh->isUnderline(1).IsPresent);
}

TEST_F(TextTest, AlignmentRangeReadsBack) {
    TextDoc doc({u"E=mc2"});
    textOf(doc, 0)->setTextAlignmentRange(4, 4, TextAlignment::SUPERSCRIPT);
    EXPECT_TRUE(charProperty(doc, 0, 4, u"CharEscapement") == Any(static_cast<sal_Int16>(33)));
    EXPECT_TRUE(charProperty(doc, 0, 4, u"CharEscapementHeight") == Any(static_cast<sal_Int8>(58)));
    EXPECT_EQ(textOf(doc, 0)->getTextAlignment(4), (Optional<TextAlignment>{true, TextAlignment::SUPERSCRIPT}));
}

TEST_F(TextTest, AnEmptyParagraphAnswersFromItsOneEmptyRun) {
    TextDoc doc({u"", u"x"});
    Reference<XText> text = textOf(doc, 0);
    EXPECT_TRUE(text->getTextAttributeIndices() == (Sequence<sal_Int32>{0}));
    EXPECT_FALSE(text->isBold(0).IsPresent);
    text->setBold(true);
    EXPECT_EQ(text->isBold(0), (Optional<bool>{true, true}));
}

TEST_F(TextTest, RunsAreThoseOfTheTextsCreation) {
    TextDoc doc({u"abcdef"});
    Reference<XText> text = textOf(doc, 0);
    EXPECT_TRUE(text->getTextAttributeIndices() == (Sequence<sal_Int32>{0}));
    text->setItalicRange(2, 3, true);
    // The host splits the run; the wrapper made before keeps the list it read.
    EXPECT_TRUE(textOf(doc, 0)->getTextAttributeIndices() == (Sequence<sal_Int32>{0, 2, 4}));
}

TEST_F(TextTest, BodyTextOfTwoOneLetterParagraphs) {
    TextDoc doc({u"a", u"b"});
    doc.props(0)->setPropertyValue(u"CharWeight", Any(::com::qam::vexo::awt::FontWeight::BOLD));
    Reference<XText> text = bodyText(doc);
    EXPECT_EQ(text->getText(), OUString(u"a\nb"));
    EXPECT_EQ(text->getType(), ElementType::BODY_SECTION);
    // Offset 1 is the line feed, which belongs to the first paragraph's last character.
    EXPECT_EQ(text->isBold(1), (Optional<bool>{true, true}));
    EXPECT_FALSE(text->isBold(2).IsPresent);
    expectFailure([&] { text->isBold(3); }, u"Index (3) must be less than the content length (3).");
    expectFailure([&] { text->isBold(-1); }, u"Index (-1) must be less than the content length (3).");
    EXPECT_TRUE(text->getTextAttributeIndices() == (Sequence<sal_Int32>{0, 2}));
}

TEST_F(TextTest, BodyRangeSetterCrossesParagraphsAndLeavesSeparatorsAlone) {
    TextDoc doc({u"a", u"b"});
    Reference<XText> text = bodyText(doc);
    EXPECT_EQ(text->setBoldRange(0, 2, true).get(), text.get());
    EXPECT_TRUE(hostBold(doc, 0, 0));
    EXPECT_TRUE(hostBold(doc, 1, 0));
    EXPECT_EQ(documentOf(doc)->getBody()->getText(), OUString(u"a\nb"));
    expectFailure([&] { text->setBoldRange(0, 3, true); }, u"Index (3) must be less than the content length (3).");
}

TEST_F(TextTest, BodyRangeSetterTouchesOnlyThePartsInRange) {
    TextDoc doc({u"abc", u"def", u"ghi"});
    bodyText(doc)->setItalicRange(2, 5, true);  // c, the line feed, d and e
    const bool expected[3][3] = {{false, false, true}, {true, true, false}, {false, false, false}};
    for (std::size_t p = 0; p < 3; ++p)
        for (sal_Int16 i = 0; i < 3; ++i) {
            SCOPED_TRACE(std::to_string(p) + ":" + std::to_string(i));
            const bool italic = charProperty(doc, p, i, u"CharPosture") == Any(::com::qam::vexo::awt::FontSlant_ITALIC);
            EXPECT_EQ(italic, expected[p][i]);
        }
}

TEST_F(TextTest, WholeSetterOfAContainerTextReachesEveryParagraph) {
    TextDoc doc({u"one", u"two"});
    doc.insertTable(0, 1, 2, {u"x", u"y"});
    Reference<XText> text = bodyText(doc);
    EXPECT_EQ(text->getText(), OUString(u"one\nx\ny\ntwo"));
    text->setFontFamily(u"Mono");
    for (sal_Int32 offset : {0, 4, 6, 8}) {
        SCOPED_TRACE(offset);
        EXPECT_EQ(text->getFontFamily(offset), (Optional<OUString>{true, u"Mono"}));
    }
}

TEST_F(TextTest, ContainerTextRefusesTextEdits) {
    TextDoc doc({u"a"});
    doc.insertTable(0, 1, 1, {u"cell"});
    Reference<XBody> body = documentOf(doc)->getBody();
    Reference<XText> text = body->asText();
    expectFailure([&] { text->setText(u"x"); }, u"setText is not yet implemented for the text of a BODY_SECTION");
    expectFailure([&] { text->insertText(0, u"x"); }, u"insertText is not yet implemented for the text of a BODY_SECTION");
    expectFailure([&] { text->deleteText(0, 0); }, u"deleteText is not yet implemented for the text of a BODY_SECTION");
    expectFailure([&] { text->appendText(u"x"); }, u"appendText is not yet implemented for the text of a BODY_SECTION");
    Reference<XText> table = body->getChild(1)->asText();
    expectFailure([&] { table->setText(u"x"); }, u"setText is not yet implemented for the text of a TABLE");
    Reference<XText> cell = body->getChild(1)->asTable()->getRow(0).Value->getCell(0).Value->editAsText();
    expectFailure([&] { cell->appendText(u"x"); }, u"appendText is not yet implemented for the text of a TABLE_CELL");
    // The host keeps a paragraph after a table that ends the text.
    EXPECT_EQ(body->getText(), OUString(u"a\ncell\n"));
}

TEST_F(TextTest, ContainerTextStandsForItsContainer) {
    TextDoc doc({u"a", u"b"});
    doc.insertTable(0, 1, 1, {u"cell"});
    Reference<XBody> body = documentOf(doc)->getBody();
    Reference<XText> text = body->asText();
    EXPECT_TRUE(text->getuno() == body->getuno());
    EXPECT_EQ(text->asText().get(), text.get());
    EXPECT_EQ(text->editAsText().get(), text.get());
    EXPECT_TRUE(text->asBody()->getuno() == body->getuno());
    expectFailure([&] { text->asParagraph(); }, u"BODY_SECTION can't be cast to PARAGRAPH.");
    expectFailure([&] { text->removeFromParent(); }, u"the body has no parent to remove it from");
    EXPECT_FALSE(text->getParent().IsPresent);

    Reference<XText> tableText = body->getChild(1)->asText();
    EXPECT_EQ(tableText->getType(), ElementType::TABLE);
    EXPECT_TRUE(tableText->getPreviousSibling().Value->getuno() == body->getChild(0)->getuno());
    EXPECT_EQ(tableText->removeFromParent().get(), static_cast<XElement*>(tableText.get()));
    EXPECT_EQ(body->getText(), OUString(u"a\nb"));
}

} // namespace
} // namespace corvane::test

namespace corvane::test {
namespace {

// A range that is no text of its own (a cursor) over paragraphs and a table,
// with footnotes before, inside and after the table.
TEST_F(TextTest, TextOfARangeAcrossATableLeavesOutEveryLabel) {
    TextDoc doc({u"ab", u"cd"});
    Reference<hosttext::XTextTable> table = doc.insertTable(0, 1, 2, {u"xy", u"z"});
    doc.insertFootnote(0, 1, u"1");
    doc.insertFootnote(1, 2, u"3");
    Reference<hosttext::XText> cell(
        Reference<::com::qam::vexo::table::XCellRange>(table, UNO_QUERY_THROW)->getCellByPosition(0, 0), UNO_QUERY_THROW);
    Reference<hosttext::XTextCursor> inCell = cell->createTextCursor();
    inCell->goRight(1, false);
    Reference<hosttext::XFootnote> note(doc.create(u"com.qam.vexo.text.Footnote"), UNO_QUERY_THROW);
    note->setLabel(u"2");
    cell->insertTextContent(inCell, note, false);

    Reference<hosttext::XTextCursor> all = doc.body->createTextCursor();
    all->gotoEnd(true);
    EXPECT_EQ(all->getString(), OUString(u"a1b\nx2y\nz\ncd3"));
    EXPECT_EQ(detail::textOf(all), OUString(u"ab\nxy\nz\ncd"));
    EXPECT_EQ(detail::textOf(doc.body), OUString(u"ab\nxy\nz\ncd"));
}

} // namespace
} // namespace corvane::test
