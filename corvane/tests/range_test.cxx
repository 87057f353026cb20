// A1 addressing, ranges by position, cell values and formatting.

#include "sheettest.hxx"

#include <com/qam/vexo/awt/font.hxx>
#include <com/qam/vexo/util/numberformats.hxx>
#include <cppu/implbase.hxx>

#include <array>
#include <limits>

namespace corvane::test {
namespace {

using testsupport::sheet::SpreadsheetBuilder;
using Address = std::array<sal_Int32, 5>;

TEST_F(SheetTest, A1AddressesSplitAtTheLastBangAndUnquote) {
    SpreadsheetBuilder doc;
    doc.sheet(u"Other").sheet(u"My Sheet").sheet(u"It's").sheet(u"A!B");
    struct Case {
        const char16_t* address;
        Address expected;
    };
    const Case cases[] = {
        {u"B2", {0, 1, 1, 1, 1}},
        {u"a1:c10", {0, 0, 0, 2, 9}},
        {u"$B$2:$C$3", {0, 1, 1, 2, 2}},
        {u"Other!B2", {1, 1, 1, 1, 1}},
        {u"'My Sheet'!A1:B3", {2, 0, 0, 1, 2}},
        {u"'It''s'!A1", {3, 0, 0, 0, 0}},
        {u"A!B!C1", {4, 2, 0, 2, 0}},
        {u"'A!B'!C1", {4, 2, 0, 2, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(OUString(std::u16string_view(c.address)));
        EXPECT_TRUE(hostAddress(sheet(u"Sheet1")->getRange(OUString(std::u16string_view(c.address)))) == c.expected);
    }
    struct Failure {
        const char16_t* address;
        const char16_t* message;
    };
    const Failure failures[] = {
        {u"Missing!A1", u"getRange: no sheet named Missing"},
        {u"'Missing'!A1", u"getRange: no sheet named Missing"},
        {u"'Q1!A1", u"getRange: no sheet named 'Q1"},  // a quote at one end only is part of the name
        {u"Other'!A1", u"getRange: no sheet named Other'"},
        {u"'!A1", u"getRange: no sheet named '"},
        {u"Sheet1!", u"getRange: getCellRangeByName: expected a cell or block address such as B2 or A1:C10, got "},
        {u"B2:", u"getRange: getCellRangeByName: expected a cell or block address such as B2 or A1:C10, got B2:"},
        {u"A1:A1048577", u"getRange: getCellRangeByName: A1:A1048577 lies outside the range of 16384 columns and "
                         u"1048576 rows"},
    };
    for (const Failure& f : failures) {
        SCOPED_TRACE(OUString(std::u16string_view(f.address)));
        expectFailure([&] { sheet(u"Sheet1")->getRange(OUString(std::u16string_view(f.address))); }, f.message);
    }
}

// A host sheet that answers every lookup by name with nothing.
class SilentSheet : public cppu::WeakImplHelper<hostsheet::XSpreadsheet> {
public:
    Reference<hostsheet::XSheetCellCursor> createCursor() override { return {}; }
    Reference<hostsheet::XSheetCellCursor> createCursorByRange(const Reference<hostsheet::XSheetCellRange>&) override {
        return {};
    }
    Reference<hosttable::XCell> getCellByPosition(sal_Int32, sal_Int32) override { return {}; }
    Reference<hosttable::XCellRange> getCellRangeByPosition(sal_Int32, sal_Int32, sal_Int32, sal_Int32) override {
        return {};
    }
    Reference<hosttable::XCellRange> getCellRangeByName(const OUString&) override { return {}; }
};

TEST_F(SheetTest, ANameTheHostAnswersWithNothingIsNoValidRange) {
    SpreadsheetBuilder doc;
    Reference<XSheet> s = detail::createSheet(doc.model(), new SilentSheet);
    expectFailure([&] { s->getRange(u"B2"); }, u"getRange: expected a valid A1-style range, got B2");
    expectFailure([&] { s->getRange(u"$B$2:c3"); }, u"getRange: expected a valid A1-style range, got $B$2:c3");
}

TEST_F(SheetTest, RangesByPositionAreOneBased) {
    SpreadsheetBuilder doc;
    auto s = sheet(u"Sheet1");
    EXPECT_TRUE(hostAddress(s->getRangeAtCell(1, 1)) == (Address{0, 0, 0, 0, 0}));
    EXPECT_TRUE(hostAddress(s->getRangeAt(2, 3, 4, 5)) == (Address{0, 2, 1, 6, 4}));
    EXPECT_TRUE(hostAddress(s->getRangeAtRows(5, 2, 3)) == (Address{0, 1, 4, 1, 6}));
    auto r = s->getRange(u"B2:D3");
    EXPECT_EQ(r->getRow(), 2);
    EXPECT_EQ(r->getColumn(), 2);
    EXPECT_EQ(r->getNumRows(), 2);
    EXPECT_EQ(r->getNumColumns(), 3);
    const std::u16string atLeastOne = u"expected a row, column, row count and column count of at least 1";
    expectFailure([&] { s->getRangeAt(0, 1, 1, 1); }, atLeastOne);
    expectFailure([&] { s->getRangeAt(1, 1, 0, 1); }, atLeastOne);
    expectFailure([&] { s->getRangeAtRows(1, -5, 1); }, atLeastOne);
    const std::u16string pastTheEnd =
        u"expected a range that fits the sheet: getCellRangeByPosition: columns 0 to 0 and rows 1048575 to 1048576 do "
        u"not lie within the range of 16384 columns and 1048576 rows";
    expectFailure([&] { s->getRangeAtRows(1048576, 1, 2); }, pastTheEnd);
    // Ends past the 32-bit range reach the host as a value it refuses, not as a wrapped negative one.
    const sal_Int32 big = std::numeric_limits<sal_Int32>::max();
    expectFailure([&] { s->getRangeAt(2, big, 1, big); },
                  u"expected a range that fits the sheet: getCellRangeByPosition: columns 2147483646 to 2147483647 and "
                  u"rows 1 to 1 do not lie within the range of 16384 columns and 1048576 rows");
}

TEST_F(SheetTest, OffsetMovesFromTheStartAcrossTheEdge) {
    SpreadsheetBuilder doc;
    doc.sheet(u"Two");
    auto r = sheet(u"Two")->getRange(u"B2:D3");
    EXPECT_TRUE(hostAddress(r->offset(1, 0, 1, 1)) == (Address{1, 1, 2, 1, 2}));
    EXPECT_TRUE(hostAddress(r->offset(-1, -1, 1, 1)) == (Address{1, 0, 0, 0, 0}));
    EXPECT_TRUE(hostAddress(r->offset(0, 0, 5, 5)) == (Address{1, 1, 1, 5, 5}));
    expectFailure([&] { r->offset(-2, 0, 1, 1); }, u"expected a row, column, row count and column count of at least 1");
    const sal_Int32 big = std::numeric_limits<sal_Int32>::max();
    expectFailure([&] { r->offset(big, 0, 1, 1); },
                  u"expected a range that fits the sheet: getCellRangeByPosition: columns 1 to 1 and rows 2147483647 "
                  u"to 2147483647 do not lie within the range of 16384 columns and 1048576 rows");
    // A large negative offset stays negative instead of wrapping round to a valid row.
    expectFailure([&] { r->offset(std::numeric_limits<sal_Int32>::min(), 0, 1, 1); },
                  u"expected a row, column, row count and column count of at least 1");
}

TEST_F(SheetTest, ValuesOfEveryKind) {
    SpreadsheetBuilder doc;
    auto r = sheet(u"Sheet1")->getRange(u"A1:B2");
    auto a1 = doc.cell(u"Sheet1", u"A1");
    struct Case {
        Any value;
        sal_Int32 hostType;
        Any readBack;
    };
    const Case cases[] = {
        {Any(true), 1, Any(1.0)},
        {Any(false), 1, Any(0.0)},
        {Any(sal_Int8(-3)), 1, Any(-3.0)},
        {Any(sal_Int16(-300)), 1, Any(-300.0)},
        {Any(sal_uInt16(60000)), 1, Any(60000.0)},
        {Any(sal_Int32(-70000)), 1, Any(-70000.0)},
        {Any(sal_uInt32(4000000000u)), 1, Any(4000000000.0)},
        {Any(1.5f), 1, Any(1.5)},
        {Any(2.25), 1, Any(2.25)},
        {Any(OUString(u"text")), 2, Any(OUString(u"text"))},
        {Any(OUString(u"42")), 1, Any(42.0)},
        {Any(OUString(u"=1+1")), 3, Any(2.0)},
        {Any(OUString(u"=\"a\"&\"b\"")), 3, Any(OUString(u"ab"))},
        {Any(OUString(u"=1/0")), 3, Any(OUString(u"#DIV/0!"))},
        {Any(OUString(u"=NOPE()")), 3, Any(OUString(u"#NAME?"))},
        {Any(OUString(u"=1>0")), 3, Any(1.0)},
        {Any(), 0, Any()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value.getValueTypeName());
        EXPECT_EQ(r->setValue(c.value).get(), r.get());
        EXPECT_EQ(a1->getType(), c.hostType);
        EXPECT_EQ(doc.cell(u"Sheet1", u"B2")->getType(), c.hostType);
        EXPECT_TRUE(r->getValue() == c.readBack) << r->getValue().getValueTypeName();
    }
    r->setValue(Any(7.0));
    const Any refused[] = {Any(sal_Int64(1)), Any(sal_uInt64(1)), Any(sal_Unicode(u'x')),
                           Any(::com::qam::vexo::awt::FontSlant_ITALIC), Any(Sequence<sal_Int32>{1}),
                           Any(::cppu::UnoType<double>::get()), Any(Reference<XSheet>(sheet(u"Sheet1")))};
    for (const Any& v : refused) {
        SCOPED_TRACE(v.getValueTypeName());
        expectFailure([&] { r->setValue(v); }, u"setValue: expected a number, string or boolean");
        EXPECT_EQ(doc.cell(u"Sheet1", u"A1")->getValue(), 7.0);
    }
}

TEST_F(SheetTest, ValuesAsAMatrix) {
    SpreadsheetBuilder doc;
    doc.cells(u"Sheet1", u"B2", {{u"1", u"x", u"=B2*10"}, {u"", u"=1/0", u"=C2&\"y\""}});
    auto r = sheet(u"Sheet1")->getRange(u"B2:D3");
    auto values = r->getValues();
    ASSERT_EQ(values.getLength(), 2);
    ASSERT_EQ(values[0].getLength(), 3);
    EXPECT_TRUE(values[0][0] == Any(1.0));
    EXPECT_TRUE(values[0][1] == Any(OUString(u"x")));
    EXPECT_TRUE(values[0][2] == Any(10.0));
    EXPECT_FALSE(values[1][0].hasValue());
    EXPECT_TRUE(values[1][1] == Any(OUString(u"#DIV/0!")));
    EXPECT_TRUE(values[1][2] == Any(OUString(u"xy")));

    auto target = sheet(u"Sheet1")->getRange(u"F1:G2");
    target->setValue(Any(9.0));
    auto unchanged = [&] {
        for (const char16_t* c : {u"F1", u"G1", u"F2", u"G2"})
            EXPECT_EQ(doc.cell(u"Sheet1", OUString(std::u16string_view(c)))->getValue(), 9.0) << OUString(std::u16string_view(c));
    };
    using Rows = Sequence<Sequence<Any>>;
    expectFailure([&] { target->setValues(Rows{{Any(1.0), Any(2.0)}, {Any(1.0), Any(2.0)}, {Any(1.0), Any(2.0)}}); },
                  u"setValues: expected 2 rows to match the range, got 3");
    unchanged();
    expectFailure([&] { target->setValues(Rows{{Any(1.0), Any(2.0)}, {Any(1.0)}}); },
                  u"setValues: expected 2 columns to match the range, got 1");
    unchanged();
    expectFailure([&] { target->setValues(Rows{{Any(1.0), Any(2.0)}, {Any(sal_Int64(5)), Any(2.0)}}); },
                  u"setValues: expected a number, string or boolean at row 2, column 1");
    unchanged();
    // The length of a row is checked before the elements of earlier rows' successors.
    expectFailure([&] { target->setValues(Rows{{Any(1.0)}, {Any(sal_Int64(5)), Any(2.0)}}); },
                  u"setValues: expected 2 columns to match the range, got 1");
    EXPECT_EQ(target->setValues(Rows{{Any(true), Any(OUString(u"=F1+1"))}, {Any(), Any(OUString(u"t"))}}).get(),
              target.get());
    EXPECT_EQ(doc.cell(u"Sheet1", u"G1")->getValue(), 2.0);
    EXPECT_EQ(doc.cell(u"Sheet1", u"F2")->getType(), hosttable::CellContentType::EMPTY);
    EXPECT_EQ(shown(doc.cell(u"Sheet1", u"G2")), OUString(u"t"));
}

TEST_F(SheetTest, GetValuesRefusesMoreCellsThanASequenceHolds) {
    SpreadsheetBuilder doc;
    expectFailure([&] { sheet(u"Sheet1")->getRange(u"A1:XFD1048576")->getValues(); },
                  u"getValues: the range has 17179869184 cells, more than the 2147483647 a sequence can hold");
    EXPECT_EQ(sheet(u"Sheet1")->getRange(u"A1:B1048576")->getValues().getLength(), 1048576);
}

TEST_F(SheetTest, HostFailuresAreWrappedOrPassedAsTheOperationSays) {
    SpreadsheetBuilder doc;
    doc.sheet(u"Gone");
    auto r = sheet(u"Gone")->getRange(u"A1:B2");
    doc.sheets()->removeByName(u"Gone");
    // The address query of getRow is not wrapped: the host's exception passes unchanged.
    expectFailure<::com::qam::vexo::lang::DisposedException>(
        [&] { r->getRow(); }, u"getRangeAddress: the object is no longer part of the document");
    // getValue and getValues wrap it, as exactly a RuntimeException.
    expectFailure([&] { r->getValue(); }, u"getValue: getCellByPosition: the object is no longer part of the document");
    expectFailure([&] { r->getValues(); }, u"getValues: getRangeAddress: the object is no longer part of the document");
    expectFailure([&] { r->setValue(Any(1.0)); },
                  u"setValue: getRangeAddress: the object is no longer part of the document");
}

TEST_F(SheetTest, FormattingSetsTheHostsProperties) {
    SpreadsheetBuilder doc;
    auto r = sheet(u"Sheet1")->getRange(u"B2:C3");
    auto b2 = doc.cell(u"Sheet1", u"B2");
    auto c3 = doc.cell(u"Sheet1", u"C3");
    EXPECT_EQ(r->setBackgroundColor(u"#FF8000").get(), r.get());
    EXPECT_EQ(hostProperty(c3, u"CellBackColor").get<sal_Int32>(), 0xFF8000);
    r->setFontColor(u"red");
    EXPECT_EQ(hostProperty(b2, u"CharColor").get<sal_Int32>(), 0xFF0000);
    r->setFontWeight(u"bold");
    EXPECT_EQ(hostProperty(c3, u"CharWeight").get<float>(), 150.0f);
    r->setFontWeight(u"normal");
    EXPECT_EQ(hostProperty(c3, u"CharWeight").get<float>(), 100.0f);
    r->setFontStyle(u"italic");
    EXPECT_EQ(hostProperty(b2, u"CharPosture").get<::com::qam::vexo::awt::FontSlant>(), ::com::qam::vexo::awt::FontSlant_ITALIC);
    r->setFontStyle(u"normal");
    EXPECT_EQ(hostProperty(b2, u"CharPosture").get<::com::qam::vexo::awt::FontSlant>(), ::com::qam::vexo::awt::FontSlant_NONE);
    struct Failure {
        std::function<void()> call;
        const char16_t* message;
    };
    const Failure failures[] = {
        {[&] { r->setFontWeight(u"Bold"); }, u"setFontWeight: expected \"bold\" or \"normal\", got Bold"},
        {[&] { r->setFontStyle(u"oblique"); }, u"setFontStyle: expected \"italic\" or \"normal\", got oblique"},
        {[&] { r->setBackgroundColor(u"#12345"); }, u"expected a color in \"#rrggbb\" form or a color name, got #12345"},
        {[&] { r->setFontColor(u"nocolour"); }, u"expected a color in \"#rrggbb\" form or a color name, got nocolour"},
        {[&] { r->setBorder(true, true, true, true, u""); }, u"expected a color in \"#rrggbb\" form or a color name, got "},
    };
    for (const Failure& f : failures) expectFailure(f.call, f.message);
    EXPECT_EQ(hostProperty(c3, u"CellBackColor").get<sal_Int32>(), 0xFF8000);
}

TEST_F(SheetTest, BordersLeaveUnsetSidesAsTheyWere) {
    SpreadsheetBuilder doc;
    auto r = sheet(u"Sheet1")->getRange(u"B2:C3");
    r->setBorder(true, true, true, true, u"#00FF00");
    EXPECT_EQ(r->setBorder(true, false, false, false, u"#000000").get(), r.get());
    auto line = [&](const char16_t* cell, const char16_t* side) {
        return hostProperty(doc.cell(u"Sheet1", OUString(std::u16string_view(cell))), side).get<hosttable::BorderLine2>();
    };
    const hosttable::BorderLine2 black{0, 0, 35, 0, 0, 35}, green{0x00FF00, 0, 35, 0, 0, 35};
    EXPECT_TRUE(line(u"B2", u"TopBorder") == black);
    EXPECT_TRUE(line(u"C2", u"TopBorder") == black);
    EXPECT_TRUE(line(u"B2", u"LeftBorder") == green);
    EXPECT_TRUE(line(u"C3", u"RightBorder") == green);
    EXPECT_TRUE(line(u"B3", u"BottomBorder") == green);
    // Inner lines are never touched.
    EXPECT_TRUE(line(u"B3", u"TopBorder") == hosttable::BorderLine2());
    EXPECT_TRUE(line(u"B2", u"RightBorder") == hosttable::BorderLine2());
}

TEST_F(SheetTest, NumberFormatsAreReusedAndAddedOnce) {
    SpreadsheetBuilder doc;
    Reference<::com::qam::vexo::util::XNumberFormats> formats =
        Reference<::com::qam::vexo::util::XNumberFormatsSupplier>(doc.model(), UNO_QUERY_THROW)->getNumberFormats();
    const ::com::qam::vexo::lang::Locale none;
    auto r = sheet(u"Sheet1")->getRange(u"A1:A2");
    auto a2 = doc.cell(u"Sheet1", u"A2");
    a2->setValue(1234.5);
    EXPECT_EQ(r->setNumberFormat(u"#,##0.00").get(), r.get());
    EXPECT_EQ(hostProperty(a2, u"NumberFormat").get<sal_Int32>(), formats->queryKey(u"#,##0.00", none, false));
    EXPECT_EQ(shown(a2), OUString(u"1,234.50"));
    EXPECT_EQ(formats->queryKey(u"0.0 \"kg\"", none, false), -1);
    r->setNumberFormat(u"0.0 \"kg\"");
    const sal_Int32 key = hostProperty(a2, u"NumberFormat").get<sal_Int32>();
    EXPECT_EQ(formats->queryKey(u"0.0 \"kg\"", none, false), key);
    r->setNumberFormat(u"0.0 \"kg\"");
    EXPECT_EQ(hostProperty(a2, u"NumberFormat").get<sal_Int32>(), key);
    EXPECT_EQ(shown(a2), OUString(u"1234.5 kg"));
    // A format added once: the next new code gets the next key.
    r->setNumberFormat(u"0.000");
    EXPECT_EQ(hostProperty(a2, u"NumberFormat").get<sal_Int32>(), key + 1);
    expectFailure([&] { r->setNumberFormat(u"0.00\"kg"); },
                  u"setNumberFormat: addNew: malformed format code 0.00\"kg: a quoted literal is not closed");
    EXPECT_EQ(hostProperty(a2, u"NumberFormat").get<sal_Int32>(), key + 1);
}

} // namespace
} // namespace corvane::test
