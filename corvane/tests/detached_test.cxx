// Wrappers over host objects that the stand-in's documents never produce:
// bodies without text, styles the host refuses, containers holding texts, and
// empty tables.  The failures name what is missing.

#include "fakecontent.hxx"
#include "textdoc.hxx"

#include <document/elements.hxx>

namespace corvane::test {
namespace {

TEST(DetachedBody, WithoutTextItCanNeitherTellNorAppend) {
    Reference<XBody> body = detail::createBody(new FakeModel, nullptr);
    expectFailure([&] { body->getText(); }, u"getText: the document body has no text");
    expectFailure([&] { body->appendParagraph(u"x"); }, u"XBody has no underlying text");
    expectFailure([&] { body->appendListItem(u"x"); }, u"XBody has no underlying text");
    EXPECT_EQ(body->getNumChildren(), 0);
}

TEST(DetachedBody, AppendFailsWhenTheTextListsNoParagraph) {
    Reference<XBody> body = detail::createBody(new FakeModel, new FakeBodyText);
    expectFailure([&] { body->appendParagraph(u"x"); }, u"appending the paragraph failed");
}

TEST(DetachedBody, ListItemFallbackNeedsNumberingLevels) {
    Reference<hosttext::XTextContent> paragraph(new FakeUnstyledParagraph);
    Reference<XBody> body = detail::createBody(new FakeModel, new FakeBodyText({Any(paragraph)}));
    expectFailure([&] { body->appendListItem(u"x"); },
                  u"appendListItem: the document provides no bullet list formatting");
}

TEST(DetachedTable, WithoutHostTable) {
    expectFailure([] { detail::createTable(nullptr, nullptr)->getNumRows(); }, u"getNumRows: the element is not a table");
    expectFailure([] { detail::createTable(nullptr, nullptr)->getRow(0); }, u"getNumRows: the element is not a table");
}

class ContainerTextTest : public DocumentTest {};

// Only paragraphs and containers make up the text of a container.
TEST_F(ContainerTextTest, AParagraphAsAContainerHoldsAText) {
    TextDoc doc({u"words"});
    Reference<XContainerElement> paragraph(documentOf(doc)->getBody()->getChild(0), UNO_QUERY_THROW);
    Reference<XText> text = detail::createContainerText(paragraph);
    expectFailure([&] { text->getText(); }, u"the text of a PARAGRAPH cannot hold a TEXT");
    expectFailure([&] { text->isBold(0); }, u"the text of a PARAGRAPH cannot hold a TEXT");
}

TEST_F(ContainerTextTest, EmptyTableCellAndClearedBody) {
    TextDoc doc({u"a"});
    doc.insertTable(0, 1, 1, {u""});
    Reference<XBody> body = documentOf(doc)->getBody();
    Reference<XText> cell = body->getChild(1)->asTable()->getRow(0).Value->getCell(0).Value->asText();
    EXPECT_EQ(cell->getText(), OUString());
    EXPECT_TRUE(cell->getTextAttributeIndices() == (::zel::uno::Sequence<sal_Int32>{0}));
    expectFailure([&] { cell->isBold(0); }, u"Index (0) must be less than the content length (0).");
    expectFailure([&] { cell->setBoldRange(0, 0, true); }, u"Index (0) must be less than the content length (0).");
    cell->setBold(true);
    EXPECT_TRUE(Reference<beans::XPropertySet>(TextDoc::paragraphsOf(Reference<hosttext::XText>(cell->getuno(), UNO_QUERY_THROW)).at(0),
                                               UNO_QUERY_THROW)
                    ->getPropertyValue(u"CharWeight")
                    .get<float>() >= 150.0f);
}

} // namespace
} // namespace corvane::test
