// Deleting rows and columns, column widths, fitting to content and clearing.

#include "sheettest.hxx"

#include <array>
#include <limits>

namespace corvane::test {
namespace {

using testsupport::sheet::SpreadsheetBuilder;

Reference<::com::qam::vexo::beans::XPropertySet> hostLine(const SpreadsheetBuilder& doc, bool rows, sal_Int32 index) {
    Reference<hosttable::XColumnRowRange> lines(doc.sheetNamed(u"Sheet1"), UNO_QUERY_THROW);
    Any line = rows ? lines->getRows()->getByIndex(index) : lines->getColumns()->getByIndex(index);
    return Reference<::com::qam::vexo::beans::XPropertySet>(line, UNO_QUERY_THROW);
}

TEST_F(SheetTest, ArgumentsBelowOneAreRefusedBeforeTheHost) {
    SpreadsheetBuilder doc;
    doc.cells(u"Sheet1", u"A1", {{u"1"}});
    auto s = sheet(u"Sheet1");
    struct Case {
        std::function<void()> call;
        const char16_t* message;
    };
    const Case cases[] = {
        {[&] { s->deleteRow(0); }, u"deleteRow: expected a row and count of at least 1"},
        {[&] { s->deleteRows(1, 0); }, u"deleteRows: expected a row and count of at least 1"},
        {[&] { s->deleteColumn(-1); }, u"deleteColumn: expected a column and count of at least 1"},
        {[&] { s->deleteColumns(2, 0); }, u"deleteColumns: expected a column and count of at least 1"},
        {[&] { s->autoResizeColumn(0); }, u"autoResizeColumn: expected a column and count of at least 1"},
        {[&] { s->autoResizeColumns(1, -2); }, u"autoResizeColumns: expected a column and count of at least 1"},
        {[&] { s->autoResizeRows(0, 1); }, u"autoResizeRows: expected a row and count of at least 1"},
        {[&] { s->setColumnWidth(0, -5); }, u"setColumnWidth: expected a column of at least 1"},
        {[&] { s->setColumnWidth(1, -1); }, u"expected a non-negative width in pixels, got -1"},
        {[&] { s->setColumnWidth(1, 81164737); },
         u"expected a width in pixels that fits the page coordinate range, got 81164737"},
    };
    for (const Case& c : cases) expectFailure(c.call, c.message);
    EXPECT_EQ(doc.cell(u"Sheet1", u"A1")->getValue(), 1.0);
    EXPECT_EQ(hostLine(doc, false, 0)->getPropertyValue(u"Width").get<sal_Int32>(), 2258);
}

TEST_F(SheetTest, DeletingRowsAndColumnsShiftsCellsAndFormulas) {
    SpreadsheetBuilder doc;
    doc.cells(u"Sheet1", u"A1",
              {{u"r1"}, {u"r2"}, {u"r3"}, {u"r4"}, {u"5", u"=SUM(A5:A6)", u"=A3"}, {u"6", u"=A5*2"}});
    auto s = sheet(u"Sheet1");
    s->deleteRows(3, 2);  // the script's rows 3 and 4
    EXPECT_TRUE(s->getRange(u"A3")->getValue() == Any(5.0));
    EXPECT_EQ(doc.cell(u"Sheet1", u"B3")->getFormula(), OUString(u"=SUM(A3:A4)"));
    EXPECT_EQ(doc.cell(u"Sheet1", u"B4")->getFormula(), OUString(u"=A3*2"));
    EXPECT_EQ(doc.cell(u"Sheet1", u"C3")->getFormula(), OUString(u"=#REF!"));
    EXPECT_TRUE(s->getRange(u"C3")->getValue() == Any(OUString(u"#REF!")));
    s->deleteRow(1);
    EXPECT_TRUE(s->getRange(u"A1")->getValue() == Any(OUString(u"r2")));
    s->deleteColumn(1);
    EXPECT_EQ(doc.cell(u"Sheet1", u"A2")->getFormula(), OUString(u"=SUM(#REF!)"));
    doc.cells(u"Sheet1", u"C1", {{u"=D1+1", u"1", u"2"}});
    s->deleteColumns(2, 1);
    EXPECT_EQ(doc.cell(u"Sheet1", u"B1")->getFormula(), OUString(u"=C1+1"));
    EXPECT_EQ(doc.cell(u"Sheet1", u"B1")->getValue(), 2.0);
    expectFailure([&] { s->deleteRows(1048576, 2); },
                  u"deleteRows: removeByIndex: rows 1048575 to 1048576 do not all exist in a range of 1048576 rows");
    expectFailure([&] { s->deleteColumns(16384, 1000); },
                  u"deleteColumns: removeByIndex: columns 16383 to 17382 do not all exist in a range of 16384 columns");
}

TEST_F(SheetTest, ColumnWidthsAreSetInPixels) {
    SpreadsheetBuilder doc;
    auto s = sheet(u"Sheet1");
    s->setColumnWidth(1, 96);
    EXPECT_EQ(hostLine(doc, false, 0)->getPropertyValue(u"Width").get<sal_Int32>(), 2540);
    s->setColumnWidth(3, 100);
    EXPECT_EQ(hostLine(doc, false, 2)->getPropertyValue(u"Width").get<sal_Int32>(), 2646);
    expectFailure([&] { s->setColumnWidth(16385, 10); },
                  u"setColumnWidth: getByIndex: there is no column 16384 in a range of 16384 columns");
}

TEST_F(SheetTest, FittingSetsTheOptimalSizeLineByLine) {
    SpreadsheetBuilder doc;
    doc.cells(u"Sheet1", u"B1", {{u"a", u"abcdefghij", u"abcde"}});
    auto s = sheet(u"Sheet1");
    s->autoResizeColumns(2, 3);
    for (sal_Int32 c : {1, 2, 3}) EXPECT_TRUE(hostLine(doc, false, c)->getPropertyValue(u"OptimalWidth").get<bool>());
    EXPECT_FALSE(hostLine(doc, false, 4)->getPropertyValue(u"OptimalWidth").get<bool>());
    EXPECT_EQ(hostLine(doc, false, 2)->getPropertyValue(u"Width").get<sal_Int32>(), 10 * 200 + 200);
    s->autoResizeColumn(1);
    EXPECT_TRUE(hostLine(doc, false, 0)->getPropertyValue(u"OptimalWidth").get<bool>());
    // Past the last row: the rows before the end are fitted, then the host refuses.
    expectFailure([&] { s->autoResizeRows(1048575, 3); },
                  u"autoResizeRows: getByIndex: there is no row 1048576 in a range of 1048576 rows");
    EXPECT_TRUE(hostLine(doc, true, 1048574)->getPropertyValue(u"OptimalHeight").get<bool>());
    EXPECT_TRUE(hostLine(doc, true, 1048575)->getPropertyValue(u"OptimalHeight").get<bool>());
    expectFailure([&] { s->autoResizeColumns(16384, 2); },
                  u"autoResizeColumns: getByIndex: there is no column 16384 in a range of 16384 columns");
    // A count that runs past the 32-bit range is refused by the host, not wrapped round.
    expectFailure([&] { s->autoResizeRows(std::numeric_limits<sal_Int32>::max(), 2); },
                  u"autoResizeRows: getByIndex: there is no row 2147483646 in a range of 1048576 rows");
}

TEST_F(SheetTest, ClearEmptiesTheSheetAndKeepsItsPlaceAndSizes) {
    SpreadsheetBuilder doc;
    doc.sheet(u"Two").cells(u"Sheet1", u"B2", {{u"1", u"x", u"=B2"}});
    auto s = sheet(u"Sheet1");
    s->getRange(u"B2:D2")->setFontWeight(u"bold");
    s->setColumnWidth(2, 50);
    s->clear();
    EXPECT_EQ(s->getLastRow(), 1);
    EXPECT_EQ(s->getLastColumn(), 1);
    EXPECT_FALSE(s->getRange(u"B2")->getValue().hasValue());
    EXPECT_EQ(hostProperty(doc.cell(u"Sheet1", u"B2"), u"CharWeight").get<float>(), 100.0f);
    EXPECT_EQ(hostLine(doc, false, 1)->getPropertyValue(u"Width").get<sal_Int32>(), 1323);
    EXPECT_EQ(s->getName(), OUString(u"Sheet1"));
    EXPECT_EQ(spreadsheet()->getSheets()[0]->getName(), OUString(u"Sheet1"));
    EXPECT_EQ(s->getMaxRows(), 1048576);
}

} // namespace
} // namespace corvane::test
