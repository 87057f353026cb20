// The text model under the sequences of calls that a scripting layer makes on
// it: plain text with footnote labels cut out (walking portions and tables with
// cursors), moving over visible characters with a probe cursor, appending
// paragraphs and list items, and refusing to remove a text's last paragraph.
// The helpers below are written against the published interfaces only.

#include <com/qam/vexo/beans/properties.hxx>
#include <com/qam/vexo/lang/exceptions.hxx>
#include <com/qam/vexo/table/table.hxx>
#include <com/qam/vexo/text/text.hxx>
#include <officehost/desktop.hxx>
#include <officehost/services.hxx>
#include <rtl/ustrbuf.hxx>
#include <testsupport/text/TextDocumentBuilder.hxx>

#include <testsupport/HostTest.hxx>

#include <gtest/gtest.h>

#include <algorithm>

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

using TextModelCallSequenceTest = testsupport::HostTest;

OUString portionType(const Reference<XInterface>& portion) {
    return Reference<css::beans::XPropertySet>(portion, UNO_QUERY_THROW)
        ->getPropertyValue(u"TextPortionType")
        .get<OUString>();
}

template <class F>
void forEachElement(const Reference<XInterface>& x, F f) {
    auto e = Reference<css::container::XEnumerationAccess>(x, UNO_QUERY_THROW)->createEnumeration();
    while (e->hasMoreElements()) f(e->nextElement());
}

// The cells of a table, row by row, each row until the host has no more columns.
std::vector<Reference<XTextRange>> cellsOf(const Reference<css::text::XTextTable>& table) {
    std::vector<Reference<XTextRange>> cells;
    Reference<css::table::XCellRange> range(table, UNO_QUERY_THROW);
    sal_Int32 rows = table->getRows()->getCount();
    for (sal_Int32 r = 0; r < rows; ++r)
        for (sal_Int32 c = 0;; ++c) {
            try {
                cells.emplace_back(range->getCellByPosition(c, r), UNO_QUERY_THROW);
            } catch (const css::lang::IndexOutOfBoundsException&) {
                break;
            }
        }
    return cells;
}

sal_Int32 lineEndAt(const OUString& s, sal_Int32 pos) {
    if (pos == s.getLength()) return 0;
    if (s.match(u"\r\n", pos)) return 2;
    if (s[pos] == u'\n') return 1;
    ADD_FAILURE() << "expected a line end at offset " << pos << " of " << s;
    return 0;
}

OUString textOf(const Reference<XTextRange>& range);

// Where footnote labels stand in the range's host string: (position, length).
std::vector<std::pair<sal_Int32, sal_Int32>> footnoteNumbers(const Reference<XTextRange>& range, const OUString& s) {
    std::vector<std::pair<sal_Int32, sal_Int32>> out;
    Reference<XText> text = range->getText();
    Reference<XText> asText(range, UNO_QUERY);
    Reference<XInterface> enumerated = asText.is() ? Reference<XInterface>(asText, UNO_QUERY)
                                                   : Reference<XInterface>(text->createTextCursorByRange(range), UNO_QUERY);
    sal_Int32 sum = 0;
    Reference<XTextRange> previous;
    forEachElement(enumerated, [&](const Any& element) {
        Reference<css::text::XTextTable> table(element, UNO_QUERY);
        if (!table.is()) {
            Reference<XTextRange> para(element, UNO_QUERY_THROW);
            forEachElement(para, [&](const Any& p) {
                Reference<XTextRange> portion(p, UNO_QUERY_THROW);
                if (portionType(portion) != u"Footnote") return;
                auto cursor = text->createTextCursorByRange(range->getStart());
                cursor->gotoRange(portion->getStart(), true);
                out.emplace_back(cursor->isCollapsed() ? 0 : cursor->getString().getLength(),
                                 portion->getString().getLength());
            });
            previous = para;
            return;
        }
        if (previous.is()) {
            auto cursor = text->createTextCursorByRange(range->getStart());
            cursor->gotoRange(previous->getEnd(), true);
            sum = cursor->getString().getLength();
            sum += lineEndAt(s, sum);
        }
        bool first = true;
        for (auto& cell : cellsOf(table)) {
            if (!first) sum += lineEndAt(s, sum);
            first = false;
            OUString cellString = cell->getString();
            EXPECT_TRUE(s.match(cellString, sum)) << "cell text " << cellString << " at " << sum << " of " << s;
            for (auto [pos, len] : footnoteNumbers(cell, cellString)) out.emplace_back(pos + sum, len);
            sum += cellString.getLength();
        }
        sum += lineEndAt(s, sum);
        previous.clear();
    });
    return out;
}

OUString textOf(const Reference<XTextRange>& range) {
    if (Reference<XText> text(range, UNO_QUERY); text.is()) {
        std::vector<OUString> items;
        forEachElement(text, [&](const Any& element) {
            if (Reference<css::text::XTextTable> table(element, UNO_QUERY); table.is()) {
                for (auto& cell : cellsOf(table)) items.push_back(textOf(cell));
                return;
            }
            items.push_back(textOf(Reference<XTextRange>(element, UNO_QUERY_THROW)));
        });
        OUStringBuffer buf;
        for (std::size_t i = 0; i < items.size(); ++i) buf.append(i ? u"\n" : u"").append(items[i]);
        return buf.makeStringAndClear();
    }
    Reference<css::lang::XServiceInfo> info(range, UNO_QUERY);
    if (info.is() && info->supportsService(u"com.qam.vexo.text.TextPortion"))
        return portionType(range) == u"Footnote" ? OUString() : range->getString();
    OUString s = range->getString();
    auto labels = footnoteNumbers(range, s);
    for (auto it = labels.rbegin(); it != labels.rend(); ++it) s = s.replaceAt(it->first, it->second, u"");
    return s;
}

// Moves the cursor over count visible characters.
void goRight(const Reference<XTextCursor>& cursor, sal_Int32 count, bool extend) {
    auto probe = cursor->getText()->createTextCursorByRange(cursor->getEnd());
    sal_Int32 remaining = count;
    while (remaining > 0) {
        if (!cursor->goRight(static_cast<sal_Int16>(std::min<sal_Int32>(remaining, 32767)), extend)) break;
        probe->gotoRange(cursor->getEnd(), true);
        remaining = count - textOf(probe).getLength();
    }
}

TEST_F(TextModelCallSequenceTest, PlainTextLeavesFootnoteLabelsOut) {
    TextDocumentBuilder doc;
    doc.paragraph(u"ab").footnote(u"n1").run(u"cd")
        .table({{u"x", u"y"}, {u"z", u""}})
        .paragraph(u"e").footnote(u"n2").run(u"f").footnote(u"n3");
    // A footnote in a table cell, too.
    auto cell = testsupport::text::cellText(doc.element(1), 1, 1);
    Reference<css::lang::XMultiServiceFactory> factory(doc.model(), UNO_QUERY_THROW);
    Reference<XTextContent> note(factory->createInstance(u"com.qam.vexo.text.Footnote"), UNO_QUERY_THROW);
    cell->insertString(cell->getEnd(), u"w", false);
    cell->insertTextContent(cell->getEnd(), note, false);

    auto body = doc.body();
    EXPECT_EQ(body->getString(), u"ab1cd\nx\ny\nz\nw2\ne3f4");
    EXPECT_EQ(textOf(body), u"abcd\nx\ny\nz\nw\nef");
    EXPECT_EQ(textOf(Reference<XTextRange>(doc.element(0), UNO_QUERY_THROW)), u"abcd");
    // A cursor over paragraph, table and paragraph: the cells stand at the places the
    // line ends give.
    auto cursor = body->createTextCursor();
    cursor->goRight(1, false);
    cursor->gotoEnd(true);
    EXPECT_EQ(textOf(cursor), u"bcd\nx\ny\nz\nw\nef");
    auto tail = body->createTextCursorByRange(Reference<XTextRange>(doc.element(2), UNO_QUERY_THROW)->getStart());
    tail->goRight(2, true);
    EXPECT_EQ(tail->getString(), u"e3");
    EXPECT_EQ(textOf(tail), u"e");
}

TEST_F(TextModelCallSequenceTest, MovingOverVisibleCharactersStepsOverAnchors) {
    struct Case {
        sal_Int32 offset;
        const char16_t* after;  // the paragraph's host string after inserting "X"
    };
    const Case cases[] = {{0, u"Xab1cd"}, {2, u"abX1cd"}, {3, u"ab1cXd"}, {4, u"ab1cdX"}, {9, u"ab1cdX"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.offset);
        TextDocumentBuilder doc;
        doc.paragraph(u"ab").footnote(u"n").run(u"cd").paragraph(u"next");
        Reference<XTextRange> para(doc.element(0), UNO_QUERY_THROW);
        auto cursor = para->getText()->createTextCursorByRange(para->getStart());
        goRight(cursor, c.offset, false);
        // Beyond the paragraph the cursor goes on into the next one: nine visible
        // characters (with the paragraph end) reach the end of the text.
        if (c.offset > 4) {
            EXPECT_FALSE(cursor->goRight(1, false));
            continue;
        }
        para->getText()->insertString(cursor, u"X", false);
        EXPECT_EQ(para->getString(), OUString(std::u16string_view(c.after)));
    }
}

TEST_F(TextModelCallSequenceTest, RangeOfVisibleCharactersTakesProperties) {
    TextDocumentBuilder doc;
    doc.paragraph(u"ab").footnote(u"n").run(u"cd");
    Reference<XTextRange> para(doc.element(0), UNO_QUERY_THROW);
    auto cursor = para->getText()->createTextCursorByRange(para->getStart());
    goRight(cursor, 1, false);
    goRight(cursor, 2, true);  // visible "bc", with the anchor between them
    EXPECT_EQ(cursor->getString(), u"b1c");
    Reference<css::beans::XPropertySet>(cursor, UNO_QUERY_THROW)->setPropertyValue(u"CharWeight", Any(150.0f));
    std::vector<std::pair<OUString, bool>> runs;
    forEachElement(para, [&](const Any& p) {
        Reference<XTextRange> portion(p, UNO_QUERY_THROW);
        Reference<css::beans::XPropertyState> state(portion, UNO_QUERY_THROW);
        runs.emplace_back(portion->getString(),
                          state->getPropertyState(u"CharWeight") == css::beans::PropertyState_DIRECT_VALUE);
    });
    EXPECT_EQ(runs, (std::vector<std::pair<OUString, bool>>{{u"a", false}, {u"b", true}, {u"1", true}, {u"c", true},
                                                             {u"d", false}}));
}

// Appends a paragraph as a scripting layer does; returns it.
Reference<XTextContent> appendParagraph(const Reference<css::frame::XModel>& model, const OUString& text,
                                        const OUString& style) {
    Reference<XText> body = Reference<css::text::XTextDocument>(model, UNO_QUERY_THROW)->getText();
    Reference<css::text::XParagraphAppend>(body, UNO_QUERY_THROW)->finishParagraph({});
    body->insertString(body->getEnd(), text, false);
    Reference<XTextContent> last;
    forEachElement(body, [&](const Any& e) {
        Reference<XTextContent> c(e, UNO_QUERY);
        Reference<css::lang::XServiceInfo> info(c, UNO_QUERY);
        if (info.is() && info->supportsService(u"com.qam.vexo.text.Paragraph")) last = c;
    });
    Reference<css::beans::XPropertySet> props(last, UNO_QUERY_THROW);
    if (style.isEmpty()) return last;
    try {
        props->setPropertyValue(u"ParaStyleName", Any(style));
    } catch (const css::lang::IllegalArgumentException&) {
        Reference<css::lang::XMultiServiceFactory> factory(model, UNO_QUERY_THROW);
        Reference<css::container::XIndexReplace> rules(factory->createInstance(u"com.qam.vexo.text.NumberingRules"),
                                                       UNO_QUERY_THROW);
        EXPECT_GT(rules->getCount(), 0);
        rules->replaceByIndex(0, Any(::zel::uno::Sequence<css::beans::PropertyValue>{
                                     css::beans::PropertyValue{u"NumberingType", 0, Any(sal_Int16(4)), {}}}));
        props->setPropertyValue(u"NumberingRules", Any(rules));
        props->setPropertyValue(u"NumberingIsNumber", Any(true));
    }
    return last;
}

bool isNumbered(const Reference<XTextContent>& para) {
    Reference<css::beans::XPropertySet> props(para, UNO_QUERY_THROW);
    if (!props->getPropertySetInfo()->hasPropertyByName(u"NumberingIsNumber")) return false;
    bool numbered = false;
    return (props->getPropertyValue(u"NumberingIsNumber") >>= numbered) && numbered;
}

TEST_F(TextModelCallSequenceTest, AppendedListItemsAreNumberedWithOrWithoutTheListNumberStyle) {
    for (bool withStyle : {true, false}) {
        SCOPED_TRACE(withStyle);
        TextDocumentBuilder doc;
        doc.heading(1, u"Head");
        if (!withStyle) doc.withoutStyle(u"List Number");
        auto item = appendParagraph(doc.model(), u"item", u"List Number");
        Reference<css::beans::XPropertySet> props(item, UNO_QUERY_THROW);
        Reference<css::beans::XPropertyState> state(item, UNO_QUERY_THROW);
        EXPECT_EQ(Reference<XTextRange>(item, UNO_QUERY_THROW)->getString(), u"item");
        EXPECT_TRUE(isNumbered(item));
        EXPECT_EQ(state->getPropertyState(u"NumberingRules"),
                  withStyle ? css::beans::PropertyState_DEFAULT_VALUE : css::beans::PropertyState_DIRECT_VALUE);
        Reference<css::container::XIndexAccess> rules(props->getPropertyValue(u"NumberingRules"), UNO_QUERY_THROW);
        ::zel::uno::Sequence<css::beans::PropertyValue> level0;
        ASSERT_TRUE(rules->getByIndex(0) >>= level0);
        auto type = std::find_if(level0.begin(), level0.end(),
                                 [](const css::beans::PropertyValue& v) { return v.Name == u"NumberingType"; });
        ASSERT_NE(type, level0.end());
        EXPECT_EQ(type->Value, Any(sal_Int16(4)));
        // Made normal again: a body-text style and no numbering.
        props->setPropertyValue(u"ParaStyleName", Any(OUString(u"Text body")));
        props->setPropertyValue(u"NumberingRules", Any());
        EXPECT_FALSE(isNumbered(item));
        EXPECT_EQ(state->getPropertyState(u"ParaStyleName"), css::beans::PropertyState_DIRECT_VALUE);
    }
}

// Whether the paragraph is the last element of its text, as a remover checks it.
bool isLastOfItsText(const Reference<XTextContent>& para) {
    auto anchor = para->getAnchor();
    auto text = anchor->getText();
    Reference<XTextContent> last;
    forEachElement(text, [&](const Any& e) { last.set(e, UNO_QUERY); });
    Reference<css::text::XTextRangeCompare> cmp(text, UNO_QUERY_THROW);
    return last.is() && cmp->compareRegionStarts(last->getAnchor()->getStart(), anchor->getStart()) == 0;
}

TEST_F(TextModelCallSequenceTest, OnlyTheLastParagraphOfATextCountsAsLast) {
    TextDocumentBuilder doc;
    doc.paragraph(u"a").paragraph(u"").paragraph(u"b").table(1, 1);
    // The body: a, (empty), b, table, (empty).
    auto all = testsupport::text::elements(doc.body());
    ASSERT_EQ(all.size(), 5u);
    std::vector<bool> last;
    for (auto& e : all) {
        if (Reference<css::text::XTextTable>(e, UNO_QUERY).is()) continue;
        last.push_back(isLastOfItsText(e));
    }
    EXPECT_EQ(last, (std::vector<bool>{false, false, false, true}));
    // The single paragraph of a cell is the last of the cell's text.
    auto cell = testsupport::text::cellText(all[3], 0, 0);
    EXPECT_TRUE(isLastOfItsText(testsupport::text::elements(cell)[0]));
    // Removing the empty paragraph through its anchor's text leaves the rest.
    all[1]->getAnchor()->getText()->removeTextContent(all[1]);
    EXPECT_EQ(doc.body()->getString(), u"a\nb\nA1\n");
}

} // namespace
