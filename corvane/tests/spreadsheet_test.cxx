// The spreadsheet and its sheets: lookup and insertion, named ranges, the
// document's name, the view's active sheet, selection and frozen panes.

#include "sheettest.hxx"

#include <array>

namespace corvane::test {
namespace {

using testsupport::sheet::SpreadsheetBuilder;

std::vector<OUString> namesOf(const Sequence<Reference<XSheet>>& sheets) {
    std::vector<OUString> out;
    for (const auto& s : sheets) out.push_back(s->getName());
    return out;
}

TEST_F(SheetTest, SheetsAreListedFoundAndInsertedAtTheEnd) {
    SpreadsheetBuilder doc;
    doc.sheet(u"Sheet3").sheet(u"Data");
    auto sheets = spreadsheet()->getSheets();
    EXPECT_EQ(namesOf(sheets), (std::vector<OUString>{u"Sheet1", u"Sheet3", u"Data"}));
    // New wrappers every time, over the same host sheet.
    auto again = spreadsheet()->getSheets();
    EXPECT_NE(sheets[1].get(), again[1].get());
    EXPECT_TRUE(sheets[1]->getuno() == again[1]->getuno());
    EXPECT_FALSE(spreadsheet()->getSheetByName(u"Missing").is());
    EXPECT_TRUE(spreadsheet()->getSheetByName(u"Data")->getuno() == doc.sheetNamed(u"Data"));
    // The default name fills the first gap, and the sheet still goes last.
    auto added = spreadsheet()->insertSheetWithDefaultName();
    EXPECT_EQ(added->getName(), OUString(u"Sheet2"));
    EXPECT_EQ(namesOf(spreadsheet()->getSheets()), (std::vector<OUString>{u"Sheet1", u"Sheet3", u"Data", u"Sheet2"}));
    EXPECT_EQ(spreadsheet()->insertSheet(u"My Sheet")->getName(), OUString(u"My Sheet"));
    EXPECT_EQ(spreadsheet()->insertSheetWithDefaultName()->getName(), OUString(u"Sheet4"));
    EXPECT_TRUE(spreadsheet()->getuno() == doc.model());
}

TEST_F(SheetTest, HostFailuresOfInsertionPassUnchanged) {
    SpreadsheetBuilder doc;
    expectFailure<::com::qam::vexo::container::ElementExistException>(
        [] { spreadsheet()->insertSheet(u"Sheet1"); }, u"insertNewByName: a sheet named Sheet1 already exists");
    expectFailure<::com::qam::vexo::lang::IllegalArgumentException>(
        [] { spreadsheet()->insertSheet(u"a:b"); }, u"insertNewByName: a sheet name must not contain :, got a:b");
}

TEST_F(SheetTest, TheLastSheetPositionIsThe32768th) {
    SpreadsheetBuilder doc;
    auto sheets = doc.sheets();
    for (sal_Int32 i = 2; i <= 32767; ++i)
        sheets->insertNewByName(u"S" + OUString::number(i), static_cast<sal_Int16>(i - 1));
    ASSERT_EQ(Reference<::com::qam::vexo::container::XIndexAccess>(sheets, UNO_QUERY_THROW)->getCount(), 32767);
    auto last = spreadsheet()->insertSheet(u"Last");
    EXPECT_EQ(hostAddress(last->getRangeAtCell(1, 1)).Sheet, 32767);
    expectFailure([] { spreadsheet()->insertSheet(u"OneTooMany"); },
                  u"insertSheet: the document already has too many sheets to add another");
    expectFailure([] { spreadsheet()->insertSheetWithDefaultName(); },
                  u"insertSheet: the document already has too many sheets to add another");
    EXPECT_FALSE(doc.sheets()->hasByName(u"OneTooMany"));
}

TEST_F(SheetTest, NamedRangesPreferTheDocumentThenTheFirstSheet) {
    SpreadsheetBuilder doc;
    doc.sheet(u"Data").sheet(u"Other");
    doc.name(u"Totals", u"$Data!$B$2:$C$3");
    doc.name(u"Totals", u"$Other!$A$1", u"Other");
    doc.name(u"Local", u"$Other!$D$4", u"Other");
    doc.name(u"Local", u"$Data!$E$5", u"Data");
    doc.name(u"Totals", u"$Data!$F$6", u"Data");
    doc.name(u"Expr", u"1+2");
    struct Case {
        const char16_t* name;
        std::array<sal_Int32, 5> expected;  // sheet index, then -1 for none
    };
    const Case cases[] = {
        {u"Totals", {1, 1, 1, 2, 2}},      // the document's name first
        {u"Local", {1, 4, 4, 4, 4}},       // then the sheets' in index order: Data before Other
        {u"Data!Totals", {1, 5, 5, 5, 5}}, // only Data's own names
        {u"Other!Totals", {2, 0, 0, 0, 0}},
        {u"Other!Local", {2, 3, 3, 3, 3}},
        {u"'Data'!Totals", {-1}},  // the sheet part is taken literally, quotes and all
        {u"Missing!Totals", {-1}},
        {u"Data!Missing", {-1}},
        {u"Nothing", {-1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(OUString(std::u16string_view(c.name)));
        auto range = spreadsheet()->getRangeByName(OUString(std::u16string_view(c.name)));
        if (c.expected[0] < 0) {
            EXPECT_FALSE(range.is());
            continue;
        }
        ASSERT_TRUE(range.is());
        EXPECT_TRUE(hostAddress(range) == c.expected);
    }
    expectFailure([] { spreadsheet()->getRangeByName(u"Expr"); },
                  u"getRangeByName: Expr does not refer to a plain cell range");
}

TEST_F(SheetTest, TheDocumentsNameIsItsDecodedFileNameOrTitle) {
    struct Case {
        const char16_t* location;
        const char16_t* name;
    };
    const Case cases[] = {
        {u"file:///home/u/Budget%202024.ods", u"Budget 2024"},
        {u"file:///tmp/archive.tar.gz", u"archive.tar"},
        {u"file:///tmp/.profile", u".profile"},
        {u"file:///tmp/README", u"README"},
        {u"file:///tmp/%C3%A9t%C3%A9.ods", u"\u00e9t\u00e9"},
        {u"plain.ods", u"plain"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(OUString(std::u16string_view(c.location)));
        SpreadsheetBuilder doc{OUString(std::u16string_view(c.location))};
        EXPECT_EQ(spreadsheet()->getName(), OUString(std::u16string_view(c.name)));
    }
    SpreadsheetBuilder unsaved;
    EXPECT_EQ(spreadsheet()->getName(),
              Reference<::com::qam::vexo::frame::XTitle>(unsaved.model(), UNO_QUERY_THROW)->getTitle());
    EXPECT_TRUE(spreadsheet()->getName().startsWith(u"Untitled "));
}

TEST_F(SheetTest, TheActiveSheetAndCellFollowTheView) {
    SpreadsheetBuilder doc;
    doc.sheet(u"Two").cells(u"Two", u"C4", {{u"1"}});
    EXPECT_EQ(spreadsheet()->getActiveSheet()->getName(), OUString(u"Sheet1"));
    auto cell = sheet(u"Sheet1")->getActiveCell();
    EXPECT_EQ(cell->getRow(), 1);
    EXPECT_EQ(cell->getColumn(), 1);
    doc.select(u"Two", u"C4:E9");
    EXPECT_EQ(spreadsheet()->getActiveSheet()->getName(), OUString(u"Two"));
    auto range = sheet(u"Two")->getActiveRange();
    EXPECT_TRUE(hostAddress(range) == (std::array<sal_Int32, 5>{1, 2, 3, 4, 8}));
    EXPECT_TRUE(hostAddress(sheet(u"Two")->getActiveCell()) == (std::array<sal_Int32, 5>{1, 2, 3, 2, 3}));
    expectFailure([&] { sheet(u"Sheet1")->getActiveRange(); }, u"getActiveRange: the selection is on a different sheet");
    expectFailure([&] { sheet(u"Sheet1")->getActiveCell(); }, u"getActiveRange: the selection is on a different sheet");
    // Several blocks: the first block's top-left cell.
    doc.selectBlocks({{u"Two", u"B2:C3"}, {u"Sheet1", u"A1"}});
    EXPECT_TRUE(hostAddress(sheet(u"Two")->getActiveCell()) == (std::array<sal_Int32, 5>{1, 1, 1, 1, 1}));
    EXPECT_TRUE(hostAddress(sheet(u"Two")->getActiveRange()) == (std::array<sal_Int32, 5>{1, 1, 1, 2, 2}));
}

TEST_F(SheetTest, FrozenPanesAreTheViews) {
    SpreadsheetBuilder doc;
    doc.sheet(u"Two");
    EXPECT_EQ(sheet(u"Sheet1")->getFrozenRows(), 0);
    EXPECT_EQ(sheet(u"Sheet1")->getFrozenColumns(), 0);
    doc.freeze(2, 5);
    for (const char16_t* name : {u"Sheet1", u"Two"}) {
        EXPECT_EQ(sheet(name)->getFrozenRows(), 5);
        EXPECT_EQ(sheet(name)->getFrozenColumns(), 2);
    }
}

TEST_F(SheetTest, SizesAndTheUsedAreaAreOneBased) {
    SpreadsheetBuilder doc;
    auto s = sheet(u"Sheet1");
    EXPECT_EQ(s->getMaxRows(), 1048576);
    EXPECT_EQ(s->getMaxColumns(), 16384);
    EXPECT_EQ(s->getLastRow(), 1);
    EXPECT_EQ(s->getLastColumn(), 1);
    doc.cells(u"Sheet1", u"C5", {{u"a", u"b"}, {u""}, {u""}, {u""}, {u"", u"", u"x"}});
    EXPECT_EQ(s->getLastRow(), 9);
    EXPECT_EQ(s->getLastColumn(), 5);
    auto data = s->getDataRange();
    EXPECT_EQ(data->getRow(), 5);
    EXPECT_EQ(data->getColumn(), 3);
    EXPECT_EQ(data->getNumRows(), 5);
    EXPECT_EQ(data->getNumColumns(), 3);
    EXPECT_TRUE(hostAddress(data) == (std::array<sal_Int32, 5>{0, 2, 4, 4, 8}));
}

TEST_F(SheetTest, FlushRecalculatesEverything) {
    SpreadsheetBuilder doc;
    doc.cells(u"Sheet1", u"A1", {{u"1", u"=A1*2"}});
    Reference<hostsheet::XCalculatable>(doc.model(), UNO_QUERY_THROW)->enableAutomaticCalculation(false);
    doc.cell(u"Sheet1", u"A1")->setValue(5);
    EXPECT_EQ(sheet(u"Sheet1")->getRange(u"B1")->getValue().get<double>(), 2.0);
    spreadsheet()->flush();
    EXPECT_EQ(sheet(u"Sheet1")->getRange(u"B1")->getValue().get<double>(), 10.0);
}

TEST_F(SheetTest, AClosedDocumentHasNoView) {
    SpreadsheetBuilder doc;
    Reference<XSpreadsheet> book = spreadsheet();
    Reference<XSheet> first = sheet(u"Sheet1");
    officehost::closeDocument(doc.model());
    expectFailure([&] { book->getActiveSheet(); },
                  u"unsatisfied query for interface of type com.qam.vexo.sheet.XSpreadsheetView!");
    expectFailure([&] { first->getActiveRange(); }, u"getActiveRange: no selection in the active sheet");
    EXPECT_EQ(first->getFrozenRows(), 0);
    // The content itself stays usable while it is held.
    EXPECT_EQ(first->getRangeAtCell(1, 1)->setValue(Any(2.0))->getValue().get<double>(), 2.0);
    // A disposed document refuses with the host's own exception.
    doc.model()->dispose();
    expectFailure<::com::qam::vexo::lang::DisposedException>(
        [&] { first->getName(); }, u"getName: the object is no longer part of the document");
    expectFailure([&] { book->getSheets(); }, u"getSheets: getSheets: the object is no longer part of the document");
}

TEST_F(SheetTest, ThrowingQueriesCarryTheirContext) {
    SpreadsheetBuilder doc;
    officehost::openTextDocument();
    // A spreadsheet wrapper over a text model: the sheet container query fails with the model as context.
    Reference<XSpreadsheet> wrong = detail::createSpreadsheet(newFactory()->getActiveUnoModel());
    try {
        wrong->getSheetByName(u"Sheet1");
        ADD_FAILURE() << "no exception";
    } catch (const ::zel::uno::RuntimeException& e) {
        EXPECT_EQ(e.Message, OUString(u"unsatisfied query for interface of type com.qam.vexo.sheet.XSpreadsheetDocument!"));
        EXPECT_TRUE(e.Context.get() == wrong->getuno().get());
    }
    expectFailure([&] { wrong->getSheets(); },
                  u"getSheets: unsatisfied query for interface of type com.qam.vexo.sheet.XSpreadsheetDocument!");
    expectFailure([&] { wrong->flush(); },
                  u"unsatisfied query for interface of type com.qam.vexo.sheet.XCalculatable!", false);
}

} // namespace
} // namespace corvane::test
