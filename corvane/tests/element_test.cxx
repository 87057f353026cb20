// The element tree: types, casts, parents, siblings, children, identity and removal.

#include "textdoc.hxx"

#include <document/document.hxx>

#include <functional>
#include <optional>

namespace corvane::test {
namespace {

using ::zel::uno::Sequence;

OUString name(ElementType t) { return detail::elementTypeName(t); }

TEST(ElementTypeName, NamesEveryTypeAndRefusesOthers) {
    const std::pair<int, const char16_t*> names[] = {
        {0, u"PARAGRAPH"},    {1, u"LIST_ITEM"},       {2, u"TABLE"},        {3, u"TABLE_ROW"},
        {4, u"TABLE_CELL"},   {5, u"INLINE_IMAGE"},    {6, u"PAGE_BREAK"},   {7, u"HORIZONTAL_RULE"},
        {8, u"BODY_SECTION"}, {9, u"FOOTNOTE"},        {10, u"FOOTNOTE_SECTION"}, {11, u"TEXT"}};
    for (auto [value, text] : names) EXPECT_EQ(name(static_cast<ElementType>(value)), OUString(std::u16string_view(text)));
    expectFailure([] { name(static_cast<ElementType>(12)); }, u"unknown element type 12");
    expectFailure([] { name(static_cast<ElementType>(-1)); }, u"unknown element type -1");
}

class ElementTest : public DocumentTest {};

TEST_F(ElementTest, BodyIsTheMainTextWithoutParentOrSiblings) {
    TextDoc doc({u"alpha", u"beta"});
    Reference<XDocument> document = documentOf(doc);
    Reference<XBody> body = document->getBody();
    Reference<XBody> again = document->getBody();
    EXPECT_NE(body.get(), again.get());
    EXPECT_TRUE(body->getuno() == doc.body);
    EXPECT_TRUE(again->getuno() == doc.body);
    EXPECT_EQ(body->getType(), ElementType::BODY_SECTION);
    EXPECT_FALSE(body->getParent().IsPresent);
    EXPECT_FALSE(body->getPreviousSibling().IsPresent);
    EXPECT_FALSE(body->getNextSibling().IsPresent);
    EXPECT_EQ(body->getText(), OUString(u"alpha\nbeta"));
    EXPECT_EQ(body->getNumChildren(), 2);
    expectFailure([&] { body->removeFromParent(); }, u"the body has no parent to remove it from");
    EXPECT_EQ(doc.paragraphCount(), 2u);
}

TEST_F(ElementTest, ChildrenOfTheBodyAreItsParagraphsAndTablesWithTheBodyAsParent) {
    TextDoc doc({u"before", u"after"});
    doc.insertTable(0, 2, 2, {u"a", u"b", u"c", u"d"});
    Reference<XBody> body = documentOf(doc)->getBody();
    const Sequence<Reference<XElement>> children = body->getChildren();
    ASSERT_EQ(children.getLength(), 3);
    const ElementType types[] = {ElementType::PARAGRAPH, ElementType::TABLE, ElementType::PARAGRAPH};
    for (sal_Int32 i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(children[i]->getType(), types[i]);
        Optional<Reference<XElement>> parent = children[i]->getParent();
        ASSERT_TRUE(parent.IsPresent);
        EXPECT_EQ(parent.Value.get(), static_cast<XElement*>(body.get()));
        EXPECT_TRUE(body->getChild(i)->getuno() == children[i]->getuno());
    }
    EXPECT_EQ(children[0]->getText(), OUString(u"before"));
    EXPECT_EQ(children[1]->getText(), OUString(u"a\nb\nc\nd"));
    EXPECT_EQ(body->getText(), OUString(u"before\na\nb\nc\nd\nafter"));
}

TEST_F(ElementTest, GetChildOutsideTheChildrenIsEmpty) {
    TextDoc doc({u"one", u"two"});
    doc.insertTable(0, 2, 3, {u"a", u"b", u"c", u"d", u"e", u"f"});
    Reference<XBody> body = documentOf(doc)->getBody();
    Reference<XContainerElement> table(body->getChild(1), UNO_QUERY_THROW);
    Reference<XContainerElement> row(table->getChild(0), UNO_QUERY_THROW);
    Reference<XContainerElement> cell(row->getChild(0), UNO_QUERY_THROW);
    Reference<XContainerElement> paragraph(body->getChild(0), UNO_QUERY_THROW);
    const std::pair<Reference<XContainerElement>, sal_Int32> containers[] = {
        {body, 3}, {table, 2}, {row, 3}, {cell, 1}, {paragraph, 1}};
    for (const auto& [container, count] : containers) {
        SCOPED_TRACE(name(container->getType()));
        EXPECT_EQ(container->getNumChildren(), count);
        EXPECT_FALSE(container->getChild(-1).is());
        EXPECT_FALSE(container->getChild(count).is());
        EXPECT_TRUE(container->getChild(count - 1).is());
    }
}

TEST_F(ElementTest, NumberedParagraphIsAListItem) {
    TextDoc doc({u"plain", u"numbered"});
    doc.number(1);
    Reference<XBody> body = documentOf(doc)->getBody();
    Reference<XElement> plain = body->getChild(0);
    Reference<XElement> item = body->getChild(1);
    EXPECT_EQ(plain->getType(), ElementType::PARAGRAPH);
    EXPECT_EQ(item->getType(), ElementType::LIST_ITEM);
    expectFailure([&] { item->asParagraph(); }, u"LIST_ITEM can't be cast to PARAGRAPH.");
    expectFailure([&] { plain->asListItem(); }, u"PARAGRAPH can't be cast to LIST_ITEM.");
    EXPECT_EQ(static_cast<XElement*>(item->asListItem().get()), item.get());
    EXPECT_EQ(static_cast<XElement*>(plain->asParagraph().get()), plain.get());

    // The type is read anew: numbering switched off makes it a paragraph again.
    doc.props(1)->setPropertyValue(u"NumberingIsNumber", Any(false));
    EXPECT_EQ(item->getType(), ElementType::PARAGRAPH);
}

// For each kind of element, the one cast of the general rule that succeeds;
// every other cast fails naming the element's type and the target.
TEST_F(ElementTest, CastsSucceedOnlyForTheElementsOwnType) {
    TextDoc doc({u"plain", u"numbered", u"last"});
    doc.number(1);
    doc.insertTable(2, 1, 1, {u"cell"});
    Reference<XBody> body = documentOf(doc)->getBody();
    Reference<XTable> table = body->getChild(3)->asTable();
    Reference<XTableRow> row = table->getRow(0).Value;
    Reference<XTableCell> cell = row->getCell(0).Value;
    Reference<XContainerElement> paragraph(body->getChild(0), UNO_QUERY_THROW);

    struct Case {
        Reference<XElement> element;
        std::optional<ElementType> castable;  // the one general-rule cast that succeeds
    };
    const Case cases[] = {
        {body, ElementType::BODY_SECTION},  {body->getChild(0), ElementType::PARAGRAPH},
        {body->getChild(1), ElementType::LIST_ITEM}, {table, ElementType::TABLE},
        {row, ElementType::TABLE_ROW},     {cell, ElementType::TABLE_CELL},
        {paragraph->getChild(0), std::nullopt},
    };
    using Cast = std::function<Reference<XElement>(XElement&)>;
    const std::pair<ElementType, Cast> casts[] = {
        {ElementType::BODY_SECTION, [](XElement& e) { return Reference<XElement>(e.asBody()); }},
        {ElementType::FOOTNOTE, [](XElement& e) { return Reference<XElement>(e.asFootnote()); }},
        {ElementType::FOOTNOTE_SECTION, [](XElement& e) { return Reference<XElement>(e.asFootnoteSection()); }},
        {ElementType::INLINE_IMAGE, [](XElement& e) { return Reference<XElement>(e.asInlineImage()); }},
        {ElementType::LIST_ITEM, [](XElement& e) { return Reference<XElement>(e.asListItem()); }},
        {ElementType::PARAGRAPH, [](XElement& e) { return Reference<XElement>(e.asParagraph()); }},
        {ElementType::TABLE, [](XElement& e) { return Reference<XElement>(e.asTable()); }},
        {ElementType::TABLE_CELL, [](XElement& e) { return Reference<XElement>(e.asTableCell()); }},
        {ElementType::TABLE_ROW, [](XElement& e) { return Reference<XElement>(e.asTableRow()); }},
    };
    for (const auto& c : cases) {
        const ElementType type = c.element->getType();
        for (const auto& [target, cast] : casts) {
            SCOPED_TRACE(name(type) + u" as " + name(target));
            if (c.castable == target) {
                EXPECT_EQ(cast(*c.element).get(), c.element.get());
                continue;
            }
            expectFailure([&] { cast(*c.element); }, (name(type) + u" can't be cast to " + name(target) + u".").toStdU16());
        }
    }
}

TEST_F(ElementTest, ParagraphAsTextAndBack) {
    TextDoc doc({u"plain", u"numbered"});
    doc.number(1);
    Reference<XBody> body = documentOf(doc)->getBody();
    for (sal_Int32 i : {0, 1}) {
        Reference<XElement> paragraph = body->getChild(i);
        const ElementType type = paragraph->getType();
        SCOPED_TRACE(name(type));
        Reference<XText> text = paragraph->asText();
        EXPECT_EQ(text->getType(), type);
        EXPECT_TRUE(text->getuno() == paragraph->getuno());
        EXPECT_EQ(text->getParent().Value.get(), static_cast<XElement*>(body.get()));
        EXPECT_EQ(text->asText().get(), text.get());
        Reference<XParagraph> back = type == ElementType::PARAGRAPH ? text->asParagraph() : text->asListItem();
        EXPECT_NE(static_cast<XElement*>(back.get()), paragraph.get());
        EXPECT_TRUE(back->getuno() == paragraph->getuno());
        EXPECT_EQ(back->getType(), type);
        const ElementType other = type == ElementType::PARAGRAPH ? ElementType::LIST_ITEM : ElementType::PARAGRAPH;
        expectFailure([&] { type == ElementType::PARAGRAPH ? text->asListItem() : text->asParagraph(); },
                      (name(type) + u" can't be cast to " + name(other) + u".").toStdU16());
        expectFailure([&] { text->asTable(); }, (name(type) + u" can't be cast to TABLE.").toStdU16());
    }
}

TEST_F(ElementTest, FirstChildOfAParagraphIsItsText) {
    TextDoc doc({u"words"});
    Reference<XParagraph> paragraph = documentOf(doc)->getBody()->getChild(0)->asParagraph();
    ASSERT_EQ(paragraph->getNumChildren(), 1);
    Reference<XElement> child = paragraph->getChild(0);
    EXPECT_EQ(child->getType(), ElementType::TEXT);
    EXPECT_EQ(child->getText(), OUString(u"words"));
    EXPECT_EQ(child->getParent().Value.get(), static_cast<XElement*>(paragraph.get()));
    EXPECT_FALSE(child->getNextSibling().IsPresent);
    EXPECT_FALSE(child->getPreviousSibling().IsPresent);
    expectFailure([&] { child->asParagraph(); }, u"TEXT can't be cast to PARAGRAPH.");
    expectFailure([&] { child->asListItem(); }, u"TEXT can't be cast to LIST_ITEM.");
    EXPECT_EQ(paragraph->getChildIndex(child), 0);
    EXPECT_EQ(paragraph->getChildIndex(paragraph->getChild(0)), 0);
}

TEST_F(ElementTest, SiblingsAroundATable) {
    TextDoc doc({u"first", u"after the table", u"last"});
    doc.insertTable(0, 1, 2, {u"x", u"y"});
    Reference<XBody> body = documentOf(doc)->getBody();
    ASSERT_EQ(body->getNumChildren(), 4);
    Reference<XElement> first = body->getChild(0);
    Reference<XElement> table = body->getChild(1);
    Reference<XElement> after = body->getChild(2);
    Reference<XElement> last = body->getChild(3);

    EXPECT_FALSE(first->getPreviousSibling().IsPresent);
    EXPECT_FALSE(last->getNextSibling().IsPresent);
    struct Case {
        Reference<XElement> element;
        Reference<XElement> previous, next;
    };
    const Case cases[] = {{first, nullptr, table}, {table, first, after}, {after, table, last}, {last, after, nullptr}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.element->getText());
        for (bool next : {false, true}) {
            Optional<Reference<XElement>> sibling = next ? c.element->getNextSibling() : c.element->getPreviousSibling();
            const Reference<XElement>& expected = next ? c.next : c.previous;
            ASSERT_EQ(sibling.IsPresent, expected.is());
            if (!expected.is()) continue;
            EXPECT_EQ(sibling.Value->getType(), expected->getType());
            EXPECT_TRUE(sibling.Value->getuno() == expected->getuno());
            // The sibling is a new wrapper with the same parent.
            EXPECT_NE(sibling.Value.get(), expected.get());
            EXPECT_EQ(sibling.Value->getParent().Value.get(), static_cast<XElement*>(body.get()));
        }
    }
}

TEST_F(ElementTest, ChildIndexComparesHostObjects) {
    TextDoc doc({u"one", u"two", u"three"});
    TextDoc other({u"elsewhere"});
    Reference<XBody> body = newFactory()->getActiveDocument()->getBody();  // "other" is active now
    officehost::activateDocument(doc.model);
    Reference<XBody> mine = newFactory()->getActiveDocument()->getBody();

    // Two different wrappers of one paragraph.
    Reference<XElement> viaChildren = mine->getChildren()[2];
    Reference<XElement> viaIndex = mine->getChild(2);
    EXPECT_NE(viaChildren.get(), viaIndex.get());
    EXPECT_EQ(mine->getChildIndex(viaChildren), 2);
    EXPECT_EQ(mine->getChildIndex(viaIndex), 2);
    EXPECT_EQ(mine->getChildIndex(mine->getChild(0)->asText()->asParagraph()), 0);

    expectFailure([&] { mine->getChildIndex(body->getChild(0)); },
                  u"getChildIndex: the element does not contain the given child");
    // Same host paragraph but another type of element (the paragraph's text child): not the child.
    expectFailure([&] { mine->getChildIndex(mine->getChild(0)->asParagraph()->getChild(0)); },
                  u"getChildIndex: the element does not contain the given child");
    expectFailure([&] { mine->getChildIndex(nullptr); }, u"getChildIndex: the child must not be null");
}

TEST_F(ElementTest, CopyIsTheSameWrapper) {
    TextDoc doc({u"original"});
    Reference<XElement> paragraph = documentOf(doc)->getBody()->getChild(0);
    Reference<XElement> copy = paragraph->copy();
    EXPECT_EQ(copy.get(), paragraph.get());
    copy->asParagraph()->setHeading(ParagraphHeading::HEADING2);
    EXPECT_EQ(paragraph->asParagraph()->getHeading().Value, ParagraphHeading::HEADING2);
    EXPECT_EQ(doc.paragraphCount(), 1u);
}

TEST_F(ElementTest, RemovedParagraphIsGoneAndItsWrapperStaysUsable) {
    TextDoc doc({u"keep", u"drop", u"end"});
    Reference<XBody> body = documentOf(doc)->getBody();
    Reference<XElement> drop = body->getChild(1);
    Reference<XElement> result = drop->removeFromParent();
    EXPECT_EQ(result.get(), drop.get());
    EXPECT_EQ(body->getText(), OUString(u"keep\nend"));
    EXPECT_EQ(body->getNumChildren(), 2);
    EXPECT_EQ(drop->copy().get(), drop.get());
    EXPECT_EQ(drop->getParent().Value.get(), static_cast<XElement*>(body.get()));

    // The text child removes its paragraph too.
    body->getChild(0)->asParagraph()->getChild(0)->removeFromParent();
    EXPECT_EQ(body->getText(), OUString(u"end"));
}

TEST_F(ElementTest, TheLastParagraphOfASectionCannotBeRemoved) {
    const char16_t* message = u"removeFromParent: the last paragraph of a section cannot be removed";
    TextDoc doc({u"first", u"last"});
    Reference<XBody> body = documentOf(doc)->getBody();
    expectFailure([&] { body->getChild(1)->removeFromParent(); }, message);
    expectFailure([&] { body->getChild(1)->asText()->removeFromParent(); }, message);
    EXPECT_EQ(body->getText(), OUString(u"first\nlast"));
    body->getChild(0)->removeFromParent();
    // Now the only paragraph.
    expectFailure([&] { body->getChild(0)->removeFromParent(); }, message);
    EXPECT_EQ(body->getText(), OUString(u"last"));
}

// Calls that reach a removed host object fail as the host reports.
TEST_F(ElementTest, DetachedParagraphCannotBeRemovedAgain) {
    TextDoc doc({u"a", u"b"});
    Reference<XElement> first = documentOf(doc)->getBody()->getChild(0);
    first->removeFromParent();
    expectFailure<::com::qam::vexo::lang::DisposedException>([&] { first->removeFromParent(); },
                                                             u"getAnchor: the object is no longer part of the document");
    EXPECT_EQ(documentOf(doc)->getBody()->getText(), OUString(u"b"));
}

TEST_F(ElementTest, TablesRowsAndCells) {
    TextDoc doc({u"intro", u"outro"});
    doc.insertTable(0, 2, 3, {u"a1", u"b1", u"c1", u"a2", u"b2", u"c2"});
    Reference<XBody> body = documentOf(doc)->getBody();
    Reference<XTable> table = body->getChild(1)->asTable();
    EXPECT_EQ(table->getNumRows(), 2);
    EXPECT_FALSE(table->getRow(2).IsPresent);
    EXPECT_FALSE(table->getRow(-1).IsPresent);
    Optional<Reference<XTableRow>> row = table->getRow(1);
    ASSERT_TRUE(row.IsPresent);
    EXPECT_EQ(row.Value->getNumCells(), 3);
    EXPECT_FALSE(row.Value->getCell(3).IsPresent);
    EXPECT_EQ(row.Value->getText(), OUString(u"a2\nb2\nc2"));
    EXPECT_EQ(row.Value->getParent().Value.get(), static_cast<XElement*>(table.get()));
    EXPECT_FALSE(row.Value->getNextSibling().IsPresent);
    EXPECT_EQ(table->getText(), OUString(u"a1\nb1\nc1\na2\nb2\nc2"));

    Reference<XTableCell> cell = row.Value->getCell(1).Value;
    EXPECT_EQ(cell->getText(), OUString(u"b2"));
    EXPECT_EQ(cell->getColSpan(), 1);
    EXPECT_EQ(cell->getRowSpan(), 1);
    EXPECT_EQ(cell->getParent().Value.get(), static_cast<XElement*>(row.Value.get()));
    const Sequence<Reference<XElement>> children = cell->getChildren();
    ASSERT_EQ(children.getLength(), 1);
    EXPECT_EQ(children[0]->getType(), ElementType::PARAGRAPH);
    EXPECT_EQ(children[0]->getParent().Value.get(), static_cast<XElement*>(cell.get()));
    EXPECT_EQ(cell->getChildIndex(children[0]), 0);
    EXPECT_EQ(table->getChildIndex(row.Value), 1);

    expectFailure([&] { table->clear(); }, u"Table.clear is not yet implemented");
    expectFailure([&] { row.Value->clear(); }, u"TableRow.clear is not yet implemented");
    expectFailure([&] { cell->removeFromParent(); },
                  u"a table cell cannot be removed on its own; remove its row instead");
    EXPECT_EQ(cell->clear().get(), static_cast<XContainerElement*>(cell.get()));
    EXPECT_EQ(table->getText(), OUString(u"a1\nb1\nc1\na2\n\nc2"));
}

TEST_F(ElementTest, RowWrappersNameAnIndex) {
    TextDoc doc({u"x", u"y"});
    doc.insertTable(0, 2, 1, {u"top", u"bottom"});
    Reference<XTable> table = documentOf(doc)->getBody()->getChild(1)->asTable();
    Reference<XTableRow> top = table->getRow(0).Value;
    Reference<XTableRow> bottom = table->getRow(1).Value;
    EXPECT_EQ(top->removeFromParent().get(), static_cast<XElement*>(top.get()));
    EXPECT_EQ(table->getNumRows(), 1);
    EXPECT_EQ(top->getText(), OUString(u"bottom"));
    expectFailure([&] { bottom->removeFromParent(); }, u"removeFromParent: the row is not attached to its table");
    EXPECT_FALSE(bottom->getuno().is());
    EXPECT_FALSE(bottom->getCell(0).IsPresent);
}

TEST_F(ElementTest, RemovedTableLeavesTheParagraphsAround) {
    TextDoc doc({u"x", u"y"});
    doc.insertTable(0, 1, 1, {u"gone"});
    Reference<XBody> body = documentOf(doc)->getBody();
    Reference<XElement> table = body->getChild(1);
    EXPECT_EQ(table->removeFromParent().get(), table.get());
    EXPECT_EQ(body->getText(), OUString(u"x\ny"));
    expectFailure<::com::qam::vexo::lang::DisposedException>([&] { table->removeFromParent(); },
                                                             u"getAnchor: the object is no longer part of the document");
}

} // namespace
} // namespace corvane::test
