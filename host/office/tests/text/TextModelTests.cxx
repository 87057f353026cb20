// Tests of the stand-in text model: cursors, portions, positions that follow
// edits, comparison, removal, enumerations, property states, numbering, tables
// and the view.  Documents are built through the host's own interfaces.

#include <com/qam/vexo/awt/font.hxx>
#include <com/qam/vexo/beans/properties.hxx>
#include <com/qam/vexo/lang/exceptions.hxx>
#include <com/qam/vexo/style/style.hxx>
#include <com/qam/vexo/table/table.hxx>
#include <com/qam/vexo/text/text.hxx>
#include <com/qam/vexo/view/selection.hxx>
#include <officehost/desktop.hxx>
#include <officehost/services.hxx>
#include <testsupport/text/TextDocumentBuilder.hxx>

#include <testsupport/HostTest.hxx>

#include <gtest/gtest.h>

#include <functional>

namespace {

namespace css = ::com::qam::vexo;
using css::text::XText;
using css::text::XTextContent;
using css::text::XTextCursor;
using css::text::XTextRange;
using testsupport::text::TextDocumentBuilder;
using ::zel::uno::Any;
using ::zel::uno::Reference;
using ::zel::uno::UNO_QUERY;
using ::zel::uno::UNO_QUERY_THROW;
using ::zel::uno::XInterface;

using TextModelTest = testsupport::HostTest;

using testsupport::expectThrows;

Reference<css::beans::XPropertySet> props(const Reference<XInterface>& x) {
    return Reference<css::beans::XPropertySet>(x, UNO_QUERY_THROW);
}
template <class T>
Reference<css::beans::XPropertySet> props(const Reference<T>& x) {
    return Reference<css::beans::XPropertySet>(x, UNO_QUERY_THROW);
}
template <class T>
OUString stringOf(const Reference<T>& x) {
    return Reference<XTextRange>(x, UNO_QUERY_THROW)->getString();
}
OUString portionType(const Reference<XTextRange>& portion) {
    return props(portion)->getPropertyValue(u"TextPortionType").get<OUString>();
}
bool same(const Reference<XInterface>& a, const Reference<XInterface>& b) { return a == b; }
OUString s(const char16_t* p) { return OUString(std::u16string_view(p)); }

// ---- portions and strings -----------------------------------------------------

TEST_F(TextModelTest, FootnoteAnchorIsOnePortionShowingItsLabel) {
    TextDocumentBuilder doc;
    doc.paragraph(u"ab").footnote(u"note text").run(u"cd").footnote(u"second");
    auto para = doc.element(0);
    EXPECT_EQ(stringOf(para), u"ab1cd2");

    struct Case {
        const char16_t* type;
        const char16_t* string;
    };
    const Case expected[] = {{u"Text", u"ab"}, {u"Footnote", u"1"}, {u"Text", u"cd"}, {u"Footnote", u"2"}};
    auto parts = testsupport::text::portions(para);
    ASSERT_EQ(parts.size(), std::size(expected));
    for (std::size_t i = 0; i < parts.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(portionType(parts[i]), s(expected[i].type));
        EXPECT_EQ(parts[i]->getString(), s(expected[i].string));
        Reference<css::lang::XServiceInfo> info(parts[i], UNO_QUERY_THROW);
        EXPECT_TRUE(info->supportsService(u"com.qam.vexo.text.TextPortion"));
    }
    auto notes = testsupport::text::footnotes(doc.model());
    ASSERT_EQ(notes.size(), 2u);
    Reference<css::text::XFootnote> fromPortion(props(parts[1])->getPropertyValue(u"Footnote"), UNO_QUERY);
    EXPECT_TRUE(same(fromPortion, notes[0]));
    EXPECT_EQ(stringOf(notes[0]), u"note text");
    EXPECT_FALSE(props(parts[0])->getPropertyValue(u"Footnote").hasValue());
}

TEST_F(TextModelTest, PortionsSplitWhereCharacterPropertiesChange) {
    TextDocumentBuilder doc;
    doc.paragraph(u"plain ")
        .run(u"bold", {{u"CharWeight", Any(150.0f)}})
        .run(u" more", {{u"CharWeight", Any(150.0f)}})
        .run(u" end");
    auto parts = testsupport::text::portions(doc.element(0));
    std::vector<OUString> strings;
    for (auto& p : parts) strings.push_back(p->getString());
    ASSERT_EQ(strings, (std::vector<OUString>{u"plain ", u"bold more", u" end"}));
    EXPECT_EQ(props(parts[1])->getPropertyValue(u"CharWeight").get<float>(), 150.0f);
    EXPECT_EQ(props(parts[2])->getPropertyValue(u"CharWeight").get<float>(), 100.0f);
}

TEST_F(TextModelTest, EmptyParagraphHasOneEmptyTextPortion) {
    TextDocumentBuilder doc;
    auto parts = testsupport::text::portions(doc.element(0));
    ASSERT_EQ(parts.size(), 1u);
    EXPECT_EQ(parts[0]->getString(), u"");
    EXPECT_EQ(portionType(parts[0]), u"Text");
}

TEST_F(TextModelTest, TextStringJoinsParagraphsAndCellsWithLineFeeds) {
    TextDocumentBuilder doc;
    doc.paragraph(u"one").table(2, 2).paragraph(u"two");
    EXPECT_EQ(doc.body()->getString(), u"one\nA1\nB1\nA2\nB2\ntwo");
    auto all = testsupport::text::elements(doc.body());
    ASSERT_EQ(all.size(), 3u);
    EXPECT_TRUE(Reference<css::text::XTextTable>(all[1], UNO_QUERY).is());
}

// ---- cursors ------------------------------------------------------------------

TEST_F(TextModelTest, CursorMovesOverCharactersAndStopsAtTheEnd) {
    TextDocumentBuilder doc;
    doc.paragraph(u"ab").footnote(u"n").run(u"cd").paragraph(u"ef");
    // The body is a b [1] c d | e f: the anchor and the paragraph end are one step each.
    struct Case {
        sal_Int16 start;
        sal_Int16 count;
        bool expand;
        bool moved;
        const char16_t* selected;  // string of the cursor afterwards
        const char16_t* before;    // string from the body start to the cursor's end
    };
    const Case cases[] = {
        {0, 2, true, true, u"ab", u"ab"},
        {0, 3, true, true, u"ab1", u"ab1"},
        {2, 1, true, true, u"1", u"ab1"},
        {3, 3, true, true, u"cd\n", u"ab1cd\n"},
        {0, 8, true, true, u"ab1cd\nef", u"ab1cd\nef"},
        {0, 9, true, false, u"ab1cd\nef", u"ab1cd\nef"},
        {7, 5, false, false, u"", u"ab1cd\nef"},
        {1, 2, false, true, u"", u"ab1"},
        {0, 0, true, true, u"", u""},
        {0, -1, true, false, u"", u""},
    };
    auto body = doc.body();
    for (const Case& c : cases) {
        SCOPED_TRACE(s(c.selected));
        SCOPED_TRACE(c.start);
        auto cursor = body->createTextCursor();
        ASSERT_TRUE(cursor->goRight(c.start, false));
        EXPECT_EQ(cursor->goRight(c.count, c.expand), c.moved);
        EXPECT_EQ(cursor->getString(), s(c.selected));
        EXPECT_EQ(cursor->isCollapsed(), OUString(c.selected).isEmpty());
        auto probe = body->createTextCursor();
        probe->gotoRange(cursor->getEnd(), true);
        EXPECT_EQ(probe->getString(), s(c.before));
    }
}

TEST_F(TextModelTest, CursorGoLeftGotoAndCollapse) {
    TextDocumentBuilder doc;
    doc.paragraph(u"abc").paragraph(u"de");
    auto body = doc.body();
    auto cursor = body->createTextCursor();
    cursor->gotoEnd(false);
    EXPECT_TRUE(cursor->goLeft(3, true));
    EXPECT_EQ(cursor->getString(), u"\nde");
    EXPECT_FALSE(cursor->goLeft(10, true));
    EXPECT_EQ(cursor->getString(), u"abc\nde");
    cursor->collapseToStart();
    EXPECT_TRUE(cursor->isCollapsed());
    cursor->gotoEnd(true);
    EXPECT_EQ(cursor->getString(), u"abc\nde");
    cursor->collapseToEnd();
    cursor->gotoStart(true);
    EXPECT_EQ(cursor->getString(), u"abc\nde");
    // gotoRange without expanding selects the range.
    cursor->gotoRange(Reference<XTextRange>(doc.element(1), UNO_QUERY), false);
    EXPECT_EQ(cursor->getString(), u"de");
}

TEST_F(TextModelTest, CursorStepsOverATableInOneMove) {
    TextDocumentBuilder doc;
    doc.paragraph(u"a").table(1, 2).paragraph(u"b");
    auto cursor = doc.body()->createTextCursor();
    ASSERT_TRUE(cursor->goRight(2, true));
    EXPECT_EQ(cursor->getString(), u"a\nA1\nB1\n");
    ASSERT_TRUE(cursor->goRight(1, true));
    EXPECT_EQ(cursor->getString(), u"a\nA1\nB1\nb");
    auto contents = testsupport::text::elements(doc.body());
    auto e = Reference<css::container::XEnumerationAccess>(cursor, UNO_QUERY_THROW)->createEnumeration();
    std::vector<bool> isTable;
    while (e->hasMoreElements())
        isTable.push_back(Reference<css::text::XTextTable>(e->nextElement(), UNO_QUERY).is());
    EXPECT_EQ(isTable, (std::vector<bool>{false, true, false}));
}

TEST_F(TextModelTest, CursorEnumerationCutsParagraphsToTheRange) {
    TextDocumentBuilder doc;
    doc.paragraph(u"ab").footnote(u"x").run(u"cd").paragraph(u"efg");
    auto body = doc.body();
    auto cursor = body->createTextCursor();
    cursor->goRight(3, false);
    cursor->goRight(4, true);  // "cd\ne"
    EXPECT_EQ(cursor->getString(), u"cd\ne");
    auto e = Reference<css::container::XEnumerationAccess>(cursor, UNO_QUERY_THROW)->createEnumeration();
    std::vector<OUString> paragraphs;
    std::vector<std::vector<OUString>> portionTypes;
    while (e->hasMoreElements()) {
        Reference<XTextContent> p(e->nextElement(), UNO_QUERY_THROW);
        paragraphs.push_back(stringOf(p));
        std::vector<OUString> types;
        for (auto& portion : testsupport::text::portions(p)) types.push_back(portionType(portion));
        portionTypes.push_back(types);
        EXPECT_TRUE(Reference<css::lang::XServiceInfo>(p, UNO_QUERY_THROW)->supportsService(u"com.qam.vexo.text.Paragraph"));
    }
    EXPECT_EQ(paragraphs, (std::vector<OUString>{u"cd", u"e"}));
    // The footnote anchor before the range is not among the portions.
    EXPECT_EQ(portionTypes, (std::vector<std::vector<OUString>>{{u"Text"}, {u"Text"}}));
}

// ---- comparison ---------------------------------------------------------------

TEST_F(TextModelTest, CompareRegionStartsAndEnds) {
    TextDocumentBuilder doc;
    doc.paragraph(u"abc").paragraph(u"def");
    auto body = doc.body();
    Reference<css::text::XTextRangeCompare> cmp(body, UNO_QUERY_THROW);
    auto p0 = Reference<XTextRange>(doc.element(0), UNO_QUERY_THROW);
    auto p1 = Reference<XTextRange>(doc.element(1), UNO_QUERY_THROW);
    auto mid = body->createTextCursor();
    mid->goRight(1, false);
    mid->goRight(4, true);  // "bc\nd"
    struct Case {
        const char* name;
        Reference<XTextRange> first, second;
        sal_Int16 starts, ends;
    };
    const Case cases[] = {
        {"paragraph with itself", p0, p0, 0, 0},
        {"earlier first", p0, p1, 1, 1},
        {"later first", p1, p0, -1, -1},
        {"overlapping", p0, mid, 1, 1},
        {"overlapping reversed", mid, p1, 1, 1},
        {"body and first paragraph", body, p0, 0, -1},
        {"start and end of a paragraph", p1->getStart(), p1->getEnd(), 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(cmp->compareRegionStarts(c.first, c.second), c.starts);
        EXPECT_EQ(cmp->compareRegionEnds(c.first, c.second), c.ends);
    }
}

TEST_F(TextModelTest, CompareRejectsRangesOfOtherTexts) {
    TextDocumentBuilder doc;
    doc.paragraph(u"a").table(1, 1).paragraph(u"b");
    TextDocumentBuilder other;
    auto body = doc.body();
    Reference<css::text::XTextRangeCompare> cmp(body, UNO_QUERY_THROW);
    auto cell = testsupport::text::cellText(doc.element(1), 0, 0);
    auto p0 = Reference<XTextRange>(doc.element(0), UNO_QUERY_THROW);
    expectThrows<css::lang::IllegalArgumentException>([&] { cmp->compareRegionStarts(p0, cell->getStart()); },
                                                       u"compareRegionStarts: the range is not in this text");
    expectThrows<css::lang::IllegalArgumentException>([&] { cmp->compareRegionEnds(other.body(), p0); },
                                                       u"compareRegionEnds: the range is not in this text");
    // The cell is a text of its own and compares its own ranges.
    Reference<css::text::XTextRangeCompare> cellCmp(cell, UNO_QUERY_THROW);
    EXPECT_EQ(cellCmp->compareRegionStarts(cell->getStart(), cell->getEnd()), 1);
}

// ---- positions follow edits ----------------------------------------------------

TEST_F(TextModelTest, RangesMoveWithEdits) {
    TextDocumentBuilder doc;
    doc.paragraph(u"abcd").paragraph(u"ef");
    auto body = doc.body();
    auto cd = body->createTextCursor();
    cd->goRight(2, false);
    cd->goRight(2, true);
    ASSERT_EQ(cd->getString(), u"cd");
    auto para0 = doc.element(0);

    body->insertString(body->getStart(), u"XY", false);  // before the range
    EXPECT_EQ(cd->getString(), u"cd");
    auto b = body->createTextCursor();
    b->goRight(3, false);
    b->goRight(1, true);
    b->setString(u"");  // delete the "b" before it
    EXPECT_EQ(cd->getString(), u"cd");
    EXPECT_EQ(stringOf(para0), u"XYacd");

    // Splitting the paragraph in front of the range carries it into the new paragraph.
    auto split = body->createTextCursor();
    split->goRight(2, false);
    body->insertControlCharacter(split, css::text::ControlCharacter::PARAGRAPH_BREAK, false);
    EXPECT_EQ(body->getString(), u"XY\nacd\nef");
    EXPECT_EQ(cd->getString(), u"cd");
    EXPECT_EQ(testsupport::text::elements(body).size(), 3u);

    // Text inserted inside the range becomes part of it.
    auto inside = cd->getStart();
    auto at = body->createTextCursorByRange(inside);
    at->goRight(1, false);
    body->insertString(at, u"-", false);
    EXPECT_EQ(cd->getString(), u"c-d");

    // Deleting across paragraphs merges them; the range keeps its text.
    auto join = body->createTextCursor();
    join->goRight(2, false);
    join->goRight(1, true);  // the paragraph end after "XY"
    join->setString(u"");
    EXPECT_EQ(body->getString(), u"XYac-d\nef");
    EXPECT_EQ(cd->getString(), u"c-d");
}

TEST_F(TextModelTest, InsertStringAtACollapsedCursorLeavesItBehindTheText) {
    TextDocumentBuilder doc;
    doc.paragraph(u"ad");
    auto body = doc.body();
    auto cursor = body->createTextCursor();
    cursor->goRight(1, false);
    body->insertString(cursor, u"b", false);
    body->insertString(cursor, u"c", false);
    EXPECT_EQ(body->getString(), u"abcd");
    EXPECT_TRUE(cursor->isCollapsed());
    // Absorbing replaces the range.
    cursor->goLeft(2, true);
    body->insertString(cursor, u"BC", true);
    EXPECT_EQ(body->getString(), u"aBCd");
    // Line ends in inserted text start new paragraphs.
    body->insertString(body->getEnd(), u"\nnext\r\nlast", false);
    EXPECT_EQ(testsupport::text::elements(body).size(), 3u);
    EXPECT_EQ(stringOf(doc.element(2)), u"last");
}

// ---- removal and enumerations --------------------------------------------------

TEST_F(TextModelTest, RemovedParagraphIsGoneFromLaterEnumerations) {
    TextDocumentBuilder doc;
    doc.paragraph(u"one").paragraph(u"two").paragraph(u"three");
    auto body = doc.body();
    auto before = Reference<css::container::XEnumerationAccess>(body, UNO_QUERY_THROW)->createEnumeration();
    auto two = doc.element(1);
    auto cursor = body->createTextCursorByRange(Reference<XTextRange>(two, UNO_QUERY_THROW)->getEnd());
    body->removeTextContent(two);

    std::vector<OUString> now;
    for (auto& p : testsupport::text::elements(body)) now.push_back(stringOf(p));
    EXPECT_EQ(now, (std::vector<OUString>{u"one", u"three"}));
    // An enumeration made before holds what the text held then.
    std::vector<Reference<XInterface>> old;
    while (before->hasMoreElements()) old.emplace_back(before->nextElement(), UNO_QUERY);
    ASSERT_EQ(old.size(), 3u);
    EXPECT_TRUE(same(old[1], two));
    expectThrows<css::lang::DisposedException>([&] { stringOf(two); },
                                               u"getString: the object is no longer part of the document");
    // A position in the removed paragraph moved to the start of the next one.
    cursor->gotoEnd(true);
    EXPECT_EQ(cursor->getString(), u"three");
    expectThrows<css::container::NoSuchElementException>([&] { body->removeTextContent(two); },
                                                         u"removeTextContent: the content is not in this text");
}

TEST_F(TextModelTest, TheLastParagraphCannotBeRemoved) {
    TextDocumentBuilder doc;
    doc.paragraph(u"only");
    auto body = doc.body();
    expectThrows<::zel::uno::RuntimeException>([&] { body->removeTextContent(doc.element(0)); },
                                               u"removeTextContent: the last paragraph of a text cannot be removed");
    EXPECT_EQ(body->getString(), u"only");
}

TEST_F(TextModelTest, EnumerationReflectsTheTextWhenMade) {
    TextDocumentBuilder doc;
    doc.paragraph(u"a");
    auto access = Reference<css::container::XEnumerationAccess>(doc.body(), UNO_QUERY_THROW);
    auto early = access->createEnumeration();
    doc.paragraph(u"b");
    auto late = access->createEnumeration();
    auto count = [](const Reference<css::container::XEnumeration>& e) {
        int n = 0;
        for (; e->hasMoreElements(); e->nextElement()) ++n;
        return n;
    };
    EXPECT_EQ(count(early), 1);
    EXPECT_EQ(count(late), 2);
    expectThrows<css::container::NoSuchElementException>(
        [&] { early->nextElement(); }, u"nextElement: the enumeration has no more elements");
}

TEST_F(TextModelTest, ParagraphsKeepTheirIdentityAcrossEnumerations) {
    TextDocumentBuilder doc;
    doc.paragraph(u"a").table(1, 1).paragraph(u"b");
    auto first = testsupport::text::elements(doc.body());
    auto second = testsupport::text::elements(doc.body());
    ASSERT_EQ(first.size(), second.size());
    for (std::size_t i = 0; i < first.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_TRUE(same(first[i], second[i]));
    }
    EXPECT_FALSE(same(first[0], first[2]));
    // A paragraph's anchor is the paragraph; its text is the body.
    EXPECT_TRUE(same(first[0]->getAnchor(), first[0]));
    EXPECT_TRUE(same(first[0]->getAnchor()->getText(), doc.body()));
}

TEST_F(TextModelTest, RemovingAFootnoteRenumbersTheOthers) {
    TextDocumentBuilder doc;
    doc.paragraph(u"a").footnote(u"first").run(u"b").footnote(u"second");
    auto notes = testsupport::text::footnotes(doc.model());
    ASSERT_EQ(notes.size(), 2u);
    auto anchor = notes[0]->getAnchor();
    ASSERT_TRUE(anchor.is());
    EXPECT_EQ(anchor->getString(), u"1");
    anchor->getText()->removeTextContent(notes[0]);
    EXPECT_EQ(stringOf(doc.element(0)), u"ab1");
    auto after = testsupport::text::footnotes(doc.model());
    ASSERT_EQ(after.size(), 1u);
    EXPECT_TRUE(same(after[0], notes[1]));
    EXPECT_EQ(stringOf(after[0]), u"second");
    // An explicit label replaces the number.
    after[0]->setLabel(u"*");
    EXPECT_EQ(stringOf(doc.element(0)), u"ab*");
}

TEST_F(TextModelTest, SettingTheWholeTextLeavesOneParagraph) {
    TextDocumentBuilder doc;
    doc.heading(1, u"Head").paragraph(u"x").footnote(u"n").table(1, 1).paragraph(u"y");
    auto body = doc.body();
    body->setString(u"");
    auto all = testsupport::text::elements(body);
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(stringOf(all[0]), u"");
    EXPECT_TRUE(testsupport::text::footnotes(doc.model()).empty());
    body->setString(u"p\nq");
    EXPECT_EQ(testsupport::text::elements(body).size(), 2u);
    EXPECT_EQ(body->getString(), u"p\nq");
}

// ---- properties ----------------------------------------------------------------

TEST_F(TextModelTest, DirectValuesAndStyleValues) {
    TextDocumentBuilder doc;
    doc.heading(1, u"Head").paragraph(u"plain ").run(u"bold", {{u"CharWeight", Any(150.0f)}});
    auto heading = doc.element(0);
    auto para = doc.element(1);
    auto parts = testsupport::text::portions(para);
    ASSERT_EQ(parts.size(), 2u);
    using css::beans::PropertyState;
    struct Case {
        const char* name;
        Reference<XInterface> object;
        const char16_t* property;
        PropertyState state;
        Any value;
    };
    const Case cases[] = {
        {"style name is always direct", Reference<XInterface>(heading, UNO_QUERY), u"ParaStyleName",
         css::beans::PropertyState_DIRECT_VALUE, Any(OUString(u"Heading 1"))},
        {"heading weight comes from the style", Reference<XInterface>(heading, UNO_QUERY), u"CharWeight",
         css::beans::PropertyState_DEFAULT_VALUE, Any(150.0f)},
        {"plain run", Reference<XInterface>(parts[0], UNO_QUERY), u"CharWeight",
         css::beans::PropertyState_DEFAULT_VALUE, Any(100.0f)},
        {"bold run", Reference<XInterface>(parts[1], UNO_QUERY), u"CharWeight", css::beans::PropertyState_DIRECT_VALUE,
         Any(150.0f)},
        {"paragraph of a bold run", Reference<XInterface>(para, UNO_QUERY), u"CharWeight",
         css::beans::PropertyState_DEFAULT_VALUE, Any(100.0f)},
        {"default alignment", Reference<XInterface>(para, UNO_QUERY), u"ParaAdjust",
         css::beans::PropertyState_DEFAULT_VALUE, Any(sal_Int16(0))},
        {"no numbering", Reference<XInterface>(para, UNO_QUERY), u"NumberingIsNumber",
         css::beans::PropertyState_DEFAULT_VALUE, Any()},
        {"default writing mode", Reference<XInterface>(para, UNO_QUERY), u"WritingMode",
         css::beans::PropertyState_DEFAULT_VALUE, Any(sal_Int16(4))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Reference<css::beans::XPropertyState> state(c.object, UNO_QUERY_THROW);
        EXPECT_EQ(state->getPropertyState(s(c.property)), c.state);
        EXPECT_EQ(props(c.object)->getPropertyValue(s(c.property)), c.value);
        EXPECT_TRUE(props(c.object)->getPropertySetInfo()->hasPropertyByName(s(c.property)));
    }
}

TEST_F(TextModelTest, ParagraphCharacterPropertyAppliesToTheWholeParagraph) {
    TextDocumentBuilder doc;
    doc.paragraph(u"ab").run(u"cd", {{u"CharWeight", Any(100.0f)}});
    auto para = doc.element(0);
    props(para)->setPropertyValue(u"CharWeight", Any(150.0f));
    Reference<css::beans::XPropertyState> state(para, UNO_QUERY_THROW);
    EXPECT_EQ(state->getPropertyState(u"CharWeight"), css::beans::PropertyState_DIRECT_VALUE);
    auto parts = testsupport::text::portions(para);
    ASSERT_EQ(parts.size(), 1u);
    EXPECT_EQ(Reference<css::beans::XPropertyState>(parts[0], UNO_QUERY_THROW)->getPropertyState(u"CharWeight"),
              css::beans::PropertyState_DEFAULT_VALUE);
    EXPECT_EQ(props(parts[0])->getPropertyValue(u"CharWeight"), Any(150.0f));
    state->setPropertyToDefault(u"CharWeight");
    EXPECT_EQ(props(parts[0])->getPropertyValue(u"CharWeight"), Any(100.0f));
}

TEST_F(TextModelTest, CursorPropertiesCoverMixedRuns) {
    TextDocumentBuilder doc;
    doc.paragraph(u"ab").run(u"cd", {{u"CharPosture", Any(css::awt::FontSlant_ITALIC)}});
    auto cursor = doc.body()->createTextCursor();
    cursor->goRight(3, true);  // "abc"
    Reference<css::beans::XPropertyState> state(cursor, UNO_QUERY_THROW);
    EXPECT_EQ(state->getPropertyState(u"CharPosture"), css::beans::PropertyState_AMBIGUOUS_VALUE);
    props(cursor)->setPropertyValue(u"CharUnderline", Any(sal_Int16(1)));
    EXPECT_EQ(state->getPropertyState(u"CharUnderline"), css::beans::PropertyState_DIRECT_VALUE);
    auto parts = testsupport::text::portions(doc.element(0));
    std::vector<OUString> strings;
    for (auto& p : parts) strings.push_back(p->getString());
    EXPECT_EQ(strings, (std::vector<OUString>{u"ab", u"c", u"d"}));
    // Paragraph properties set through a cursor apply to its paragraphs.
    props(cursor)->setPropertyValue(u"ParaAdjust", Any(sal_Int16(3)));
    EXPECT_EQ(props(doc.element(0))->getPropertyValue(u"ParaAdjust"), Any(sal_Int16(3)));
}

TEST_F(TextModelTest, PropertyFailures) {
    TextDocumentBuilder doc;
    doc.paragraph(u"text");
    auto para = props(doc.element(0));
    auto portion = props(testsupport::text::portions(doc.element(0))[0]);
    expectThrows<css::beans::UnknownPropertyException>([&] { para->getPropertyValue(u"NoSuchProperty"); },
                                                       u"getPropertyValue: unknown property NoSuchProperty");
    expectThrows<css::beans::UnknownPropertyException>([&] { para->setPropertyValue(u"Bold", Any(true)); },
                                                       u"setPropertyValue: unknown property Bold");
    expectThrows<css::beans::UnknownPropertyException>([&] { para->getPropertyValue(u"TextPortionType"); },
                                                       u"getPropertyValue: unknown property TextPortionType");
    expectThrows<css::lang::IllegalArgumentException>(
        [&] { para->setPropertyValue(u"CharWeight", Any(OUString(u"bold"))); },
        u"setPropertyValue: property CharWeight takes a value of type float, got string");
    expectThrows<css::lang::IllegalArgumentException>(
        [&] { para->setPropertyValue(u"ParaStyleName", Any(OUString(u"No Such Style"))); },
        u"setPropertyValue: there is no paragraph style named No Such Style");
    expectThrows<css::lang::IllegalArgumentException>(
        [&] { para->setPropertyValue(u"NumberingLevel", Any(sal_Int16(10))); },
        u"setPropertyValue: NumberingLevel must lie between 0 and 9, got 10");
    expectThrows<css::beans::PropertyVetoException>(
        [&] { portion->setPropertyValue(u"TextPortionType", Any(OUString(u"Frame"))); },
        u"setPropertyValue: property TextPortionType is read-only");
    expectThrows<css::beans::UnknownPropertyException>(
        [&] { para->getPropertySetInfo()->getPropertyByName(u"Nope"); }, u"getPropertyByName: unknown property Nope");
    // Failed settings changed nothing.
    EXPECT_EQ(para->getPropertyValue(u"ParaStyleName"), Any(OUString(u"Standard")));
    EXPECT_EQ(para->getPropertyValue(u"NumberingLevel"), Any(sal_Int16(0)));
}

// ---- numbering -----------------------------------------------------------------

Reference<css::container::XIndexReplace> newRules(const Reference<css::frame::XModel>& model) {
    Reference<css::lang::XMultiServiceFactory> factory(model, UNO_QUERY_THROW);
    return Reference<css::container::XIndexReplace>(factory->createInstance(u"com.qam.vexo.text.NumberingRules"),
                                                    UNO_QUERY_THROW);
}

sal_Int16 numberingType(const Reference<css::container::XIndexAccess>& rules, sal_Int32 level) {
    ::zel::uno::Sequence<css::beans::PropertyValue> values;
    EXPECT_TRUE(rules->getByIndex(level) >>= values);
    for (auto& v : values)
        if (v.Name == u"NumberingType") return v.Value.get<sal_Int16>();
    ADD_FAILURE() << "level without NumberingType";
    return -1;
}

TEST_F(TextModelTest, NumberingRulesAreValuesWithLevels) {
    TextDocumentBuilder doc;
    doc.paragraph(u"item");
    auto rules = newRules(doc.model());
    ASSERT_EQ(rules->getCount(), 10);
    EXPECT_EQ(numberingType(rules, 0), css::style::NumberingType::CHAR_SPECIAL);
    rules->replaceByIndex(0, Any(::zel::uno::Sequence<css::beans::PropertyValue>{
                                 css::beans::PropertyValue{u"NumberingType", 0, Any(sal_Int16(4)), {}}}));
    EXPECT_EQ(numberingType(rules, 0), 4);
    EXPECT_EQ(numberingType(rules, 1), css::style::NumberingType::CHAR_SPECIAL);
    expectThrows<css::lang::IndexOutOfBoundsException>([&] { rules->getByIndex(10); },
                                                        u"getByIndex: there is no numbering level 10");
    expectThrows<css::lang::IllegalArgumentException>([&] { rules->replaceByIndex(0, Any(sal_Int32(1))); },
                                                      u"replaceByIndex: expected a sequence of property values, got long");

    auto para = props(doc.element(0));
    Reference<css::beans::XPropertyState> state(para, UNO_QUERY_THROW);
    para->setPropertyValue(u"NumberingRules", Any(rules));
    para->setPropertyValue(u"NumberingLevel", Any(sal_Int16(2)));
    EXPECT_EQ(state->getPropertyState(u"NumberingRules"), css::beans::PropertyState_DIRECT_VALUE);
    EXPECT_EQ(para->getPropertyValue(u"NumberingIsNumber"), Any(true));
    EXPECT_EQ(para->getPropertyValue(u"NumberingLevel"), Any(sal_Int16(2)));
    EXPECT_FALSE(para->getPropertyValue(u"ListId").get<OUString>().isEmpty());
    // The paragraph holds a copy: changing the rules object afterwards does not reach it.
    rules->replaceByIndex(0, Any(::zel::uno::Sequence<css::beans::PropertyValue>{
                                 css::beans::PropertyValue{u"NumberingType", 0, Any(sal_Int16(0)), {}}}));
    Reference<css::container::XIndexAccess> held(para->getPropertyValue(u"NumberingRules"), UNO_QUERY_THROW);
    EXPECT_EQ(numberingType(held, 0), 4);

    para->setPropertyValue(u"NumberingRules", Any());
    EXPECT_FALSE(para->getPropertyValue(u"NumberingIsNumber").hasValue());
    EXPECT_FALSE(para->getPropertyValue(u"NumberingRules").hasValue());
    EXPECT_EQ(para->getPropertyValue(u"ListId"), Any(OUString()));
}

TEST_F(TextModelTest, ListNumberStyleNumbersItsParagraphs) {
    TextDocumentBuilder doc;
    doc.paragraph(u"item", u"List Number").paragraph(u"other", u"List Number");
    auto first = props(doc.element(0));
    Reference<css::beans::XPropertyState> state(first, UNO_QUERY_THROW);
    EXPECT_EQ(first->getPropertyValue(u"NumberingIsNumber"), Any(true));
    EXPECT_EQ(state->getPropertyState(u"NumberingRules"), css::beans::PropertyState_DEFAULT_VALUE);
    Reference<css::container::XIndexAccess> rules(first->getPropertyValue(u"NumberingRules"), UNO_QUERY_THROW);
    EXPECT_EQ(numberingType(rules, 0), css::style::NumberingType::ARABIC);
    EXPECT_EQ(first->getPropertyValue(u"ListId"), props(doc.element(1))->getPropertyValue(u"ListId"));
    // Another style ends the numbering.
    first->setPropertyValue(u"ParaStyleName", Any(OUString(u"Text body")));
    EXPECT_FALSE(first->getPropertyValue(u"NumberingIsNumber").hasValue());
    // Numbering switched off directly wins over the style until a style is set again.
    auto second = props(doc.element(1));
    second->setPropertyValue(u"NumberingRules", Any());
    EXPECT_FALSE(second->getPropertyValue(u"NumberingIsNumber").hasValue());
    second->setPropertyValue(u"ParaStyleName", Any(OUString(u"List Number")));
    EXPECT_EQ(second->getPropertyValue(u"NumberingIsNumber"), Any(true));
}

TEST_F(TextModelTest, RemovingAStyleGivesItsParagraphsTheStandardStyle) {
    TextDocumentBuilder doc;
    doc.paragraph(u"item", u"List Number");
    doc.withoutStyle(u"List Number");
    auto para = props(doc.element(0));
    EXPECT_EQ(para->getPropertyValue(u"ParaStyleName"), Any(OUString(u"Standard")));
    EXPECT_FALSE(para->getPropertyValue(u"NumberingIsNumber").hasValue());
    Reference<css::style::XStyleFamiliesSupplier> supplier(doc.model(), UNO_QUERY_THROW);
    Reference<css::container::XNameContainer> styles(supplier->getStyleFamilies()->getByName(u"ParagraphStyles"),
                                                     UNO_QUERY_THROW);
    expectThrows<css::lang::IllegalArgumentException>([&] { styles->removeByName(u"Standard"); },
                                                      u"removeByName: the style Standard cannot be removed");
    expectThrows<css::container::NoSuchElementException>([&] { styles->removeByName(u"List Number"); },
                                                         u"removeByName: there is no paragraph style named List Number");
    // A new style from the document's factory can be added and used.
    Reference<css::lang::XMultiServiceFactory> factory(doc.model(), UNO_QUERY_THROW);
    Reference<css::style::XStyle> style(factory->createInstance(u"com.qam.vexo.style.ParagraphStyle"), UNO_QUERY_THROW);
    props(style)->setPropertyValue(u"ParaAdjust", Any(sal_Int16(2)));
    styles->insertByName(u"Quote", Any(style));
    EXPECT_EQ(style->getName(), u"Quote");
    para->setPropertyValue(u"ParaStyleName", Any(OUString(u"Quote")));
    EXPECT_EQ(para->getPropertyValue(u"ParaAdjust"), Any(sal_Int16(2)));
    EXPECT_TRUE(style->isInUse());
}

TEST_F(TextModelTest, ADocumentWithoutTheListNumberStyleRejectsIt) {
    TextDocumentBuilder doc;
    doc.withoutStyle(u"List Number").paragraph(u"item");
    auto para = props(doc.element(0));
    expectThrows<css::lang::IllegalArgumentException>(
        [&] { para->setPropertyValue(u"ParaStyleName", Any(OUString(u"List Number"))); },
        u"setPropertyValue: there is no paragraph style named List Number");
    Reference<css::style::XStyleFamiliesSupplier> supplier(doc.model(), UNO_QUERY_THROW);
    Reference<css::container::XNameAccess> styles(supplier->getStyleFamilies()->getByName(u"ParagraphStyles"),
                                                  UNO_QUERY_THROW);
    EXPECT_FALSE(styles->hasByName(u"List Number"));
    for (const char16_t* name : {u"Standard", u"Text body", u"Heading 1", u"Heading 6", u"Title", u"Subtitle"}) {
        SCOPED_TRACE(OUString(name));
        EXPECT_TRUE(styles->hasByName(s(name)));
    }
}

TEST_F(TextModelTest, BuilderListItemsShareOneList) {
    TextDocumentBuilder doc;
    doc.listItem(u"one").listItem(u"two", 1).paragraph(u"plain");
    auto one = props(doc.element(0)), two = props(doc.element(1)), plain = props(doc.element(2));
    EXPECT_EQ(one->getPropertyValue(u"ListId"), two->getPropertyValue(u"ListId"));
    EXPECT_EQ(two->getPropertyValue(u"NumberingLevel"), Any(sal_Int16(1)));
    EXPECT_FALSE(plain->getPropertyValue(u"NumberingIsNumber").hasValue());
    EXPECT_EQ(plain->getPropertyValue(u"NumberingLevel"), Any(sal_Int16(0)));
}

// ---- appending -----------------------------------------------------------------

TEST_F(TextModelTest, FinishParagraphStartsANewLastParagraphWithTheSameProperties) {
    TextDocumentBuilder doc;
    doc.heading(2, u"Head");
    auto body = doc.body();
    Reference<css::text::XParagraphAppend> append(body, UNO_QUERY_THROW);
    auto finished = append->finishParagraph({css::beans::PropertyValue{u"ParaAdjust", 0, Any(sal_Int16(3)), {}}});
    body->insertString(body->getEnd(), u"next", false);
    auto all = testsupport::text::elements(body);
    ASSERT_EQ(all.size(), 2u);
    EXPECT_TRUE(same(finished, all[0]));
    EXPECT_EQ(stringOf(all[0]), u"Head");
    EXPECT_EQ(stringOf(all[1]), u"next");
    EXPECT_EQ(props(all[0])->getPropertyValue(u"ParaAdjust"), Any(sal_Int16(3)));
    EXPECT_EQ(props(all[1])->getPropertyValue(u"ParaStyleName"), Any(OUString(u"Heading 2")));
}

// ---- tables --------------------------------------------------------------------

TEST_F(TextModelTest, TableRowsColumnsAndCells) {
    TextDocumentBuilder doc;
    doc.paragraph(u"before").table(2, 3).paragraph(u"after");
    Reference<css::text::XTextTable> table(doc.element(1), UNO_QUERY_THROW);
    Reference<css::table::XCellRange> cells(table, UNO_QUERY_THROW);
    EXPECT_EQ(table->getRows()->getCount(), 2);
    EXPECT_EQ(table->getColumns()->getCount(), 3);
    struct Case {
        sal_Int32 column, row;
        const char16_t* text;  // nullptr: no such cell
    };
    const Case cases[] = {{0, 0, u"A1"}, {2, 0, u"C1"}, {1, 1, u"B2"}, {3, 0, nullptr}, {0, 2, nullptr}, {-1, 0, nullptr}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.column * 10 + c.row);
        if (!c.text) {
            expectThrows<css::lang::IndexOutOfBoundsException>(
                [&] { cells->getCellByPosition(c.column, c.row); },
                u"getCellByPosition: there is no cell at column " + OUString::number(c.column) + u", row " +
                    OUString::number(c.row));
            continue;
        }
        auto cell = cells->getCellByPosition(c.column, c.row);
        EXPECT_EQ(Reference<XText>(cell, UNO_QUERY_THROW)->getString(), s(c.text));
        EXPECT_TRUE(same(cell, cells->getCellByPosition(c.column, c.row)));
        EXPECT_TRUE(same(cell, table->getCellByName(s(c.text))));
        EXPECT_EQ(props(cell)->getPropertyValue(u"RowSpan"), Any(sal_Int32(1)));
    }
    // Rows have identities of their own.
    auto rows = table->getRows();
    EXPECT_TRUE(same(Reference<XInterface>(rows->getByIndex(1), UNO_QUERY),
                     Reference<XInterface>(rows->getByIndex(1), UNO_QUERY)));
    expectThrows<css::lang::IndexOutOfBoundsException>([&] { rows->getByIndex(2); }, u"getByIndex: there is no row 2");
    // A cell holds paragraphs of its own; its anchor text is the cell.
    auto cell = testsupport::text::cellText(doc.element(1), 1, 0);
    cell->insertString(cell->getEnd(), u"\nsecond", false);
    EXPECT_EQ(testsupport::text::elements(cell).size(), 2u);
    EXPECT_TRUE(same(testsupport::text::elements(cell)[1]->getAnchor()->getText(), cell));

    rows->removeByIndex(0, 1);
    EXPECT_EQ(rows->getCount(), 1);
    EXPECT_EQ(doc.body()->getString(), u"before\nA2\nB2\nC2\nafter");
    expectThrows<css::lang::DisposedException>([&] { cell->getString(); },
                                               u"getString: the object is no longer part of the document");
    expectThrows<css::lang::IndexOutOfBoundsException>([&] { rows->removeByIndex(0, 2); },
                                                       u"removeByIndex: cannot remove 2 rows at 0");
    rows->removeByIndex(0, 1);
    EXPECT_EQ(rows->getCount(), 0);
    EXPECT_EQ(doc.body()->getString(), u"before\nafter");
}

TEST_F(TextModelTest, TableAnchorRemovesTheTableFromItsText) {
    TextDocumentBuilder doc;
    doc.paragraph(u"a").table(1, 2).paragraph(u"b");
    auto table = doc.element(1);
    auto anchor = table->getAnchor();
    ASSERT_TRUE(anchor.is());
    anchor->getText()->removeTextContent(table);
    EXPECT_EQ(doc.body()->getString(), u"a\nb");
    EXPECT_EQ(testsupport::text::elements(doc.body()).size(), 2u);
}

TEST_F(TextModelTest, TableInsertedMidParagraphSplitsIt) {
    TextDocumentBuilder doc;
    doc.paragraph(u"abcd");
    Reference<css::lang::XMultiServiceFactory> factory(doc.model(), UNO_QUERY_THROW);
    Reference<css::text::XTextTable> table(factory->createInstance(u"com.qam.vexo.text.TextTable"), UNO_QUERY_THROW);
    expectThrows<css::lang::IllegalArgumentException>([&] { table->initialize(0, 2); },
                                                      u"initialize: a table needs at least one row and one column, got 0 x 2");
    table->initialize(1, 1);
    auto body = doc.body();
    auto at = body->createTextCursor();
    at->goRight(2, false);
    body->insertTextContent(at, table, false);
    EXPECT_EQ(body->getString(), u"ab\n\ncd");
    expectThrows<css::lang::IllegalArgumentException>([&] { body->insertTextContent(at, table, false); },
                                                      u"insertTextContent: the table is already part of a text");
}

// ---- graphic objects -----------------------------------------------------------

Reference<XTextContent> newGraphic(const Reference<css::frame::XModel>& model, css::text::TextContentAnchorType anchor) {
    Reference<css::lang::XMultiServiceFactory> factory(model, UNO_QUERY_THROW);
    Reference<XTextContent> graphic(factory->createInstance(u"com.qam.vexo.text.TextGraphicObject"), UNO_QUERY_THROW);
    props(graphic)->setPropertyValue(u"AnchorType", Any(anchor));
    return graphic;
}

std::vector<Reference<XInterface>> contents(const Reference<XInterface>& x) {
    std::vector<Reference<XInterface>> out;
    auto e = Reference<css::container::XContentEnumerationAccess>(x, UNO_QUERY_THROW)
                 ->createContentEnumeration(u"com.qam.vexo.text.TextContent");
    while (e->hasMoreElements()) out.emplace_back(e->nextElement(), UNO_QUERY_THROW);
    return out;
}

TEST_F(TextModelTest, GraphicObjectsStandAsCharactersOrAtTheirParagraph) {
    TextDocumentBuilder doc;
    doc.paragraph(u"ab");
    auto body = doc.body();
    auto inline1 = newGraphic(doc.model(), css::text::TextContentAnchorType_AS_CHARACTER);
    auto atPara = newGraphic(doc.model(), css::text::TextContentAnchorType_AT_PARAGRAPH);
    auto at = body->createTextCursor();
    at->goRight(1, false);
    body->insertTextContent(at, inline1, false);
    body->insertTextContent(body->getEnd(), atPara, false);
    props(inline1)->setPropertyValue(u"Width", Any(sal_Int32(2540)));

    auto para = doc.element(0);
    EXPECT_EQ(stringOf(para), u"ab");  // a frame shows nothing in strings
    auto parts = testsupport::text::portions(para);
    std::vector<OUString> types;
    for (auto& p : parts) types.push_back(portionType(p));
    ASSERT_EQ(types, (std::vector<OUString>{u"Text", u"Frame", u"Text"}));
    auto inFrame = contents(Reference<XInterface>(parts[1], UNO_QUERY));
    ASSERT_EQ(inFrame.size(), 1u);
    EXPECT_TRUE(same(inFrame[0], inline1));
    EXPECT_TRUE(contents(Reference<XInterface>(parts[0], UNO_QUERY)).empty());
    auto atParagraph = contents(Reference<XInterface>(para, UNO_QUERY));
    ASSERT_EQ(atParagraph.size(), 1u);
    EXPECT_TRUE(same(atParagraph[0], atPara));
    EXPECT_EQ(props(inline1)->getPropertyValue(u"Width"), Any(sal_Int32(2540)));
    Reference<css::lang::XServiceInfo> info(inline1, UNO_QUERY_THROW);
    EXPECT_TRUE(info->supportsService(u"com.qam.vexo.text.TextGraphicObject"));

    // A cursor steps over the frame in one move.
    auto cursor = body->createTextCursor();
    cursor->goRight(2, true);
    EXPECT_EQ(cursor->getString(), u"a");
    expectThrows<css::lang::IllegalArgumentException>(
        [&] { props(inline1)->setPropertyValue(u"AnchorType", Any(css::text::TextContentAnchorType_AT_PARAGRAPH)); },
        u"setPropertyValue: the anchor type of an inserted object cannot change");
    expectThrows<css::beans::UnknownPropertyException>([&] { props(inline1)->getPropertyValue(u"Size"); },
                                                       u"getPropertyValue: unknown property Size");

    // Both go through their anchor's text.
    inline1->getAnchor()->getText()->removeTextContent(inline1);
    atPara->getAnchor()->getText()->removeTextContent(atPara);
    EXPECT_EQ(testsupport::text::portions(para).size(), 1u);
    EXPECT_TRUE(contents(Reference<XInterface>(para, UNO_QUERY)).empty());
    expectThrows<css::lang::DisposedException>([&] { inline1->getAnchor(); },
                                               u"getAnchor: the object is no longer part of the document");
}

TEST_F(TextModelTest, TheViewSelectsAGraphicObject) {
    TextDocumentBuilder doc;
    doc.paragraph(u"ab");
    auto graphic = newGraphic(doc.model(), css::text::TextContentAnchorType_AS_CHARACTER);
    Reference<css::view::XSelectionSupplier> selection(doc.model()->getCurrentController(), UNO_QUERY_THROW);
    EXPECT_FALSE(selection->select(Any(graphic)));  // not inserted yet
    doc.body()->insertTextContent(doc.body()->getEnd(), graphic, false);
    EXPECT_TRUE(selection->select(Any(graphic)));
    Reference<XInterface> selected(selection->getSelection(), UNO_QUERY);
    EXPECT_TRUE(same(selected, graphic));
    EXPECT_TRUE(selection->select(Any(doc.body()->getStart())));
    EXPECT_TRUE(Reference<css::container::XIndexAccess>(selection->getSelection(), UNO_QUERY).is());
}

// ---- the view ------------------------------------------------------------------

TEST_F(TextModelTest, ViewCursorAndSelection) {
    TextDocumentBuilder doc;
    doc.paragraph(u"hello").table(1, 1).paragraph(u"world");
    auto controller = doc.model()->getCurrentController();
    ASSERT_TRUE(controller.is());
    Reference<css::text::XTextViewCursorSupplier> supplier(controller, UNO_QUERY_THROW);
    Reference<css::view::XSelectionSupplier> selection(controller, UNO_QUERY_THROW);
    auto view = supplier->getViewCursor();
    ASSERT_TRUE(view.is());
    EXPECT_TRUE(view->isCollapsed());

    auto selectedStrings = [&] {
        Reference<css::container::XIndexAccess> ranges(selection->getSelection(), UNO_QUERY_THROW);
        std::vector<OUString> out;
        for (sal_Int32 i = 0; i < ranges->getCount(); ++i)
            out.push_back(Reference<XTextRange>(ranges->getByIndex(i), UNO_QUERY_THROW)->getString());
        return out;
    };
    EXPECT_EQ(selectedStrings(), (std::vector<OUString>{u""}));
    EXPECT_TRUE(selection->select(Any(Reference<XTextRange>(doc.element(2), UNO_QUERY))));
    EXPECT_EQ(selectedStrings(), (std::vector<OUString>{u"world"}));
    EXPECT_EQ(view->getString(), u"world");
    // The view cursor goes into other texts, such as a table cell.
    auto cell = testsupport::text::cellText(doc.element(1), 0, 0);
    EXPECT_TRUE(selection->select(Any(cell->getStart())));
    EXPECT_TRUE(same(view->getText(), cell));
    // Ranges of another document cannot be selected here.
    TextDocumentBuilder other;
    EXPECT_FALSE(selection->select(Any(other.body()->getStart())));
    expectThrows<css::lang::IllegalArgumentException>([&] { selection->select(Any(sal_Int32(3))); },
                                                      u"select: expected an object, got long");
    // A plain text cursor stays in its text.
    auto cursor = doc.body()->createTextCursor();
    expectThrows<::zel::uno::RuntimeException>([&] { cursor->gotoRange(cell->getStart(), false); },
                                               u"gotoRange: the range is not in the cursor's text");
}

} // namespace
