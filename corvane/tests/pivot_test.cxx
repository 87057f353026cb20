// Pivot tables: creation on another sheet than the source, names across sheets,
// row and column groups, values, filters and removal, read back from the
// output cells after every operation.

#include "sheettest.hxx"

namespace corvane::test {
namespace {

using testsupport::sheet::SpreadsheetBuilder;
using Grid = std::vector<std::vector<OUString>>;
using Props = Reference<::com::qam::vexo::beans::XPropertySet>;

class PivotTest : public SheetTest {
protected:
    void SetUp() override {
        SheetTest::SetUp();
        doc = std::make_unique<SpreadsheetBuilder>();
        doc->sheet(u"Sheet2").sheet(u"Sheet3").cells(u"Sheet1", u"A1",
                                                      {{u"Region", u"Product", u"Amount"},
                                                       {u"North", u"Tea", u"10"},
                                                       {u"South", u"Tea", u"5"},
                                                       {u"North", u"Coffee", u"7"},
                                                       {u"East", u"Coffee", u"x"},
                                                       {u"South", u"Coffee", u"1"},
                                                       {u"North", u"Tea", u"3"}});
    }
    void TearDown() override {
        doc.reset();
        SheetTest::TearDown();
    }
    // Pivot over Sheet1!A1:C7 whose output starts at the cell of `at` on `sheetName`.
    Reference<XPivotTable> create(const char16_t* sheetName, const char16_t* at) {
        return sheet(sheetName)->getRange(str(at))->createPivotTable(sheet(u"Sheet1")->getRange(u"A1:C7"));
    }
    Reference<hostsheet::XDataPilotTables> hostTables(const char16_t* sheetName) {
        return Reference<hostsheet::XDataPilotTablesSupplier>(doc->sheetNamed(str(sheetName)), UNO_QUERY_THROW)
            ->getDataPilotTables();
    }
    // The shown texts of the table's output block, read from the sheet's cells.
    Grid output(const Reference<XPivotTable>& p) {
        auto a = Reference<hostsheet::XDataPilotTable>(p->getuno(), UNO_QUERY_THROW)->getOutputRange();
        Reference<hosttable::XCellRange> cells(Reference<::com::qam::vexo::container::XIndexAccess>(doc->sheets(), UNO_QUERY_THROW)
                                                   ->getByIndex(a.Sheet),
                                               UNO_QUERY_THROW);
        Grid g;
        for (sal_Int32 r = a.StartRow; r <= a.EndRow; ++r) {
            g.emplace_back();
            for (sal_Int32 c = a.StartColumn; c <= a.EndColumn; ++c) g.back().push_back(shown(cells->getCellByPosition(c, r)));
        }
        return g;
    }
    static Props hostField(const Reference<XPivotTable>& p, sal_Int32 index) {
        Reference<hostsheet::XDataPilotDescriptor> d(p->getuno(), UNO_QUERY_THROW);
        return Props(d->getDataPilotFields()->getByIndex(index), UNO_QUERY_THROW);
    }
    std::unique_ptr<SpreadsheetBuilder> doc;
};

TEST_F(PivotTest, CreatedOnTheTargetSheetWithNamesUniqueAcrossSheets) {
    EXPECT_EQ(sheet(u"Sheet2")->getPivotTables().getLength(), 0);
    auto first = create(u"Sheet2", u"D2:F9");
    EXPECT_EQ(first->getName(), u"Pivot 1");
    EXPECT_EQ(create(u"Sheet3", u"A1")->getName(), u"Pivot 2");
    hostTables(u"Sheet3")->removeByName(u"Pivot 2");
    EXPECT_EQ(create(u"Sheet1", u"F1")->getName(), u"Pivot 2");
    EXPECT_EQ(create(u"Sheet1", u"F20")->getName(), u"Pivot 3");

    auto host = Reference<hostsheet::XDataPilotTable>(first->getuno(), UNO_QUERY_THROW);
    EXPECT_TRUE((host->getOutputRange() == std::array<sal_Int32, 5>{1, 3, 1, 3, 1}));
    EXPECT_TRUE((Reference<hostsheet::XDataPilotDescriptor>(host, UNO_QUERY_THROW)->getSourceRange() ==
                 std::array<sal_Int32, 5>{0, 0, 0, 2, 6}));
    auto listed = sheet(u"Sheet1")->getPivotTables();
    ASSERT_EQ(listed.getLength(), 2);
    EXPECT_EQ(listed[0]->getName(), u"Pivot 2");
    EXPECT_EQ(listed[1]->getName(), u"Pivot 3");
    EXPECT_EQ(sheet(u"Sheet3")->getPivotTables().getLength(), 0);

    expectFailure([&] { sheet(u"Sheet2")->getRange(u"A1")->createPivotTable({}); },
                  u"createPivotTable: expected a source range");
    EXPECT_EQ(hostTables(u"Sheet2")->getElementNames().getLength(), 1);
}

TEST_F(PivotTest, GroupsAndValuesAreComputedIntoTheOutputCells) {
    auto p = create(u"Sheet2", u"D2");
    EXPECT_EQ(p->addRowGroup(1).get(), p.get());
    EXPECT_EQ(output(p), (Grid{{u""}}));  // nothing to show without values
    EXPECT_EQ(p->addPivotValue(3, u"SUM").get(), p.get());
    EXPECT_EQ(output(p), (Grid{{u"Region", u"Sum - Amount"}, {u"East", u"0"}, {u"North", u"20"}, {u"South", u"6"},
                               {u"Total", u"26"}}));
    EXPECT_EQ(p->addColumnGroup(2).get(), p.get());
    EXPECT_EQ(output(p), (Grid{{u"Region", u"Coffee", u"Tea", u"Total"},
                               {u"East", u"0", u"", u"0"},
                               {u"North", u"7", u"13", u"20"},
                               {u"South", u"1", u"5", u"6"},
                               {u"Total", u"8", u"18", u"26"}}));
    EXPECT_TRUE((Reference<hostsheet::XDataPilotTable>(p->getuno(), UNO_QUERY_THROW)->getOutputRange() ==
                 std::array<sal_Int32, 5>{1, 3, 1, 6, 5}));
}

TEST_F(PivotTest, CountCountsNumbersAndCountaEveryValue) {
    struct Case {
        const char16_t* function;
        sal_Int32 host;
        Grid out;
    };
    const Case cases[] = {
        {u"count", 8,
         {{u"Region", u"Count (numbers) - Amount"}, {u"East", u"0"}, {u"North", u"3"}, {u"South", u"2"}, {u"Total", u"5"}}},
        {u"CountA", 3, {{u"Region", u"Count - Amount"}, {u"East", u"1"}, {u"North", u"3"}, {u"South", u"2"}, {u"Total", u"6"}}},
    };
    for (const Case& c : cases) {
        auto p = create(u"Sheet2", u"A1");
        p->addRowGroup(1)->addPivotValue(3, str(c.function));
        EXPECT_EQ(static_cast<sal_Int32>(hostField(p, 2)->getPropertyValue(u"Function").get<hostsheet::GeneralFunction>()),
                  c.host);
        EXPECT_EQ(output(p), c.out) << str(c.function);
        p->remove();
    }
}

TEST_F(PivotTest, AFilterKeepsTheRowsShowingTheValue) {
    auto p = create(u"Sheet2", u"B3");
    p->addRowGroup(2)->addPivotValue(3, u"sum");
    EXPECT_EQ(p->addFilter(1, u"North").get(), p.get());
    auto field = hostField(p, 0);
    EXPECT_EQ(field->getPropertyValue(u"Orientation").get<hostsheet::DataPilotFieldOrientation>(),
              hostsheet::DataPilotFieldOrientation_PAGE);
    EXPECT_EQ(field->getPropertyValue(u"SelectedPage").get<OUString>(), u"North");
    EXPECT_TRUE(field->getPropertyValue(u"UseSelectedPage").get<bool>());
    EXPECT_EQ(output(p), (Grid{{u"Product", u"Sum - Amount"}, {u"Coffee", u"7"}, {u"Tea", u"13"}, {u"Total", u"20"}}));
    // Every operation recomputes from the source as it is now.
    doc->cells(u"Sheet1", u"C8", {{u"100"}});
    doc->cells(u"Sheet1", u"A7", {{u"West"}});
    p->addPivotValue(3, u"max");
    EXPECT_EQ(output(p), (Grid{{u"Product", u"Max - Amount"}, {u"Coffee", u"7"}, {u"Tea", u"10"}, {u"Total", u"10"}}));
}

TEST_F(PivotTest, ArgumentsAreCheckedFunctionFirstThenColumn) {
    auto p = create(u"Sheet2", u"A1");
    struct Case {
        std::function<void()> call;
        const char16_t* message;
    };
    const Case cases[] = {
        {[&] { p->addRowGroup(4); }, u"addRowGroup: expected a source column between 1 and 3, got 4"},
        {[&] { p->addRowGroup(0); }, u"addRowGroup: expected a source column between 1 and 3, got 0"},
        {[&] { p->addColumnGroup(-1); }, u"addColumnGroup: expected a source column between 1 and 3, got -1"},
        {[&] { p->addFilter(4, u"North"); }, u"addFilter: expected a source column between 1 and 3, got 4"},
        {[&] { p->addPivotValue(0, u"sum"); }, u"addPivotValue: expected a source column between 1 and 3, got 0"},
        {[&] { p->addPivotValue(9, u"Median"); },
         u"addPivotValue: expected sum, counta, count, average, max, min, product, stdev, stdevp, var or varp, got Median"},
    };
    for (const Case& c : cases) expectFailure(c.call, c.message);
    for (sal_Int32 i = 0; i < 3; ++i)
        EXPECT_EQ(hostField(p, i)->getPropertyValue(u"Orientation").get<hostsheet::DataPilotFieldOrientation>(),
                  hostsheet::DataPilotFieldOrientation_HIDDEN);
}

TEST_F(PivotTest, ARefusedRefreshLeavesTheFieldSetAndTheCellsAlone) {
    doc->cells(u"Sheet2", u"A3", {{u"keep"}});
    auto p = create(u"Sheet2", u"A1");
    p->addRowGroup(1);
    expectFailure([&] { p->addPivotValue(3, u"sum"); },
                  u"addPivotValue: refresh: the table's output would overwrite cells with content");
    EXPECT_EQ(hostField(p, 2)->getPropertyValue(u"Orientation").get<hostsheet::DataPilotFieldOrientation>(),
              hostsheet::DataPilotFieldOrientation_DATA);
    EXPECT_EQ(shown(doc->cell(u"Sheet2", u"A3")), u"keep");
}

TEST_F(PivotTest, ARemovedTableKeepsItsNameAndClearsItsOutput) {
    auto p = create(u"Sheet2", u"A1");
    p->addRowGroup(1)->addPivotValue(3, u"sum");
    auto other = create(u"Sheet3", u"A1");
    p->remove();
    hostTables(u"Sheet3")->removeByName(u"Pivot 2");
    EXPECT_EQ(shown(doc->cell(u"Sheet2", u"A1")), u"");
    EXPECT_EQ(shown(doc->cell(u"Sheet2", u"B5")), u"");
    for (const auto& [table, name] : {std::pair{p, OUString(u"Pivot 1")}, std::pair{other, OUString(u"Pivot 2")}}) {
        EXPECT_EQ(table->getName(), name);
        const OUString gone = u"the pivot table " + name + u" is no longer on its sheet";
        expectFailure([&] { table->getuno(); }, gone.getStr());
        expectFailure([&] { table->addRowGroup(1); }, (u"addRowGroup: " + gone).getStr());
        expectFailure([&] { table->addColumnGroup(1); }, (u"addColumnGroup: " + gone).getStr());
        expectFailure([&] { table->addPivotValue(1, u"sum"); }, (u"addPivotValue: " + gone).getStr());
        expectFailure([&] { table->addFilter(1, u"x"); }, (u"addFilter: " + gone).getStr());
        expectFailure([&] { table->remove(); }, (u"remove: removeByName: there is no table named " + name).getStr());
    }
}

} // namespace
} // namespace corvane::test
