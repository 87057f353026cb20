// Data pilot tables of the stand-in spreadsheet: grouping, functions, filters,
// refreshing after edits, removal and refused output.

#include <com/qam/vexo/lang/exceptions.hxx>
#include <com/qam/vexo/sheet/datapilot.hxx>
#include <com/qam/vexo/text/text.hxx>
#include <testsupport/HostTest.hxx>
#include <testsupport/sheet/SpreadsheetBuilder.hxx>

#include <gtest/gtest.h>

#include <vector>

namespace {

namespace css = ::com::qam::vexo;
using testsupport::sheet::SpreadsheetBuilder;
using ::zel::uno::Any;
using ::zel::uno::Reference;
using ::zel::uno::UNO_QUERY_THROW;
using Grid = std::vector<std::vector<OUString>>;

class PivotTest : public testsupport::HostTest {
protected:
    void SetUp() override {
        testsupport::HostTest::SetUp();
        doc = std::make_unique<SpreadsheetBuilder>();
        doc->sheet(u"Out").cells(u"Sheet1", u"A1",
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
        testsupport::HostTest::TearDown();
    }
    Reference<css::sheet::XDataPilotTables> tables(const char16_t* sheet) {
        return Reference<css::sheet::XDataPilotTablesSupplier>(doc->sheetNamed(OUString(std::u16string_view(sheet))),
                                                               UNO_QUERY_THROW)
            ->getDataPilotTables();
    }
    static Reference<css::beans::XPropertySet> field(const Reference<css::sheet::XDataPilotDescriptor>& d, sal_Int32 i) {
        return Reference<css::beans::XPropertySet>(d->getDataPilotFields()->getByIndex(i), UNO_QUERY_THROW);
    }
    // A table "T" on Out at A1 over Sheet1!A1:C7 with the fields set by `setup`.
    Reference<css::sheet::XDataPilotTable> make(const std::function<void(const Reference<css::sheet::XDataPilotDescriptor>&)>& setup) {
        auto t = tables(u"Out");
        auto d = t->createDataPilotDescriptor();
        d->setSourceRange({0, 0, 0, 2, 6});
        setup(d);
        t->insertNewByName(u"T", {1, 0, 0}, d);
        return Reference<css::sheet::XDataPilotTable>(t->getByName(u"T"), UNO_QUERY_THROW);
    }
    // The shown texts of the output block.
    Grid output(const Reference<css::sheet::XDataPilotTable>& t) {
        auto a = t->getOutputRange();
        Grid g;
        auto sheet = doc->sheetNamed(u"Out");
        for (sal_Int32 r = a.StartRow; r <= a.EndRow; ++r) {
            g.emplace_back();
            for (sal_Int32 c = a.StartColumn; c <= a.EndColumn; ++c)
                g.back().push_back(Reference<css::text::XText>(sheet->getCellByPosition(c, r), UNO_QUERY_THROW)->getString());
        }
        return g;
    }
    static void orient(const Reference<css::beans::XPropertySet>& f, css::sheet::DataPilotFieldOrientation o) {
        f->setPropertyValue(u"Orientation", Any(o));
    }
    std::unique_ptr<SpreadsheetBuilder> doc;
};

TEST_F(PivotTest, RowGroupsWithASum) {
    auto t = make([](const auto& d) {
        orient(field(d, 0), css::sheet::DataPilotFieldOrientation_ROW);
        orient(field(d, 2), css::sheet::DataPilotFieldOrientation_DATA);
        field(d, 2)->setPropertyValue(u"Function", Any(css::sheet::GeneralFunction_SUM));
    });
    EXPECT_EQ(output(t), (Grid{{u"Region", u"Sum - Amount"}, {u"East", u"0"}, {u"North", u"20"}, {u"South", u"6"}, {u"Total", u"26"}}));
    EXPECT_TRUE((t->getOutputRange() == css::table::CellRangeAddress{1, 0, 0, 1, 4}));
}

TEST_F(PivotTest, TwoRowFieldsAndColumns) {
    auto t = make([](const auto& d) {
        orient(field(d, 1), css::sheet::DataPilotFieldOrientation_ROW);
        orient(field(d, 0), css::sheet::DataPilotFieldOrientation_ROW);
        orient(field(d, 2), css::sheet::DataPilotFieldOrientation_DATA);
    });
    EXPECT_EQ(output(t), (Grid{{u"Product", u"Region", u"Sum - Amount"},
                               {u"Coffee", u"East", u"0"},
                               {u"Coffee", u"North", u"7"},
                               {u"Coffee", u"South", u"1"},
                               {u"Tea", u"North", u"13"},
                               {u"Tea", u"South", u"5"},
                               {u"Total", u"", u"26"}}));
    auto fields = Reference<css::sheet::XDataPilotDescriptor>(t, UNO_QUERY_THROW);
    orient(field(fields, 1), css::sheet::DataPilotFieldOrientation_COLUMN);
    t->refresh();
    EXPECT_EQ(output(t), (Grid{{u"Region", u"Coffee", u"Tea", u"Total"},
                               {u"East", u"0", u"", u"0"},
                               {u"North", u"7", u"13", u"20"},
                               {u"South", u"1", u"5", u"6"},
                               {u"Total", u"8", u"18", u"26"}}));
}

TEST_F(PivotTest, EveryFunction) {
    struct Case {
        css::sheet::GeneralFunction function;
        const char16_t* caption;
        const char16_t* north;  // 10, 7, 3
        const char16_t* east;   // one text cell
    };
    const Case cases[] = {
        {css::sheet::GeneralFunction_SUM, u"Sum", u"20", u"0"},
        {css::sheet::GeneralFunction_COUNT, u"Count", u"3", u"1"},
        {css::sheet::GeneralFunction_COUNTNUMS, u"Count (numbers)", u"3", u"0"},
        {css::sheet::GeneralFunction_AVERAGE, u"Average", u"6.66666666666667", u"#DIV/0!"},
        {css::sheet::GeneralFunction_MAX, u"Max", u"10", u"0"},
        {css::sheet::GeneralFunction_MIN, u"Min", u"3", u"0"},
        {css::sheet::GeneralFunction_PRODUCT, u"Product", u"210", u"0"},
        {css::sheet::GeneralFunction_STDEV, u"StDev", u"3.51188458428425", u"#DIV/0!"},
        {css::sheet::GeneralFunction_STDEVP, u"StDevP", u"2.86744175568088", u"#DIV/0!"},
        {css::sheet::GeneralFunction_VAR, u"Var", u"12.3333333333333", u"#DIV/0!"},
        {css::sheet::GeneralFunction_VARP, u"VarP", u"8.22222222222222", u"#DIV/0!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(OUString(std::u16string_view(c.caption)));
        auto t = make([&](const auto& d) {
            orient(field(d, 0), css::sheet::DataPilotFieldOrientation_ROW);
            orient(field(d, 2), css::sheet::DataPilotFieldOrientation_DATA);
            field(d, 2)->setPropertyValue(u"Function", Any(c.function));
        });
        Grid g = output(t);
        ASSERT_EQ(g.size(), 5u);
        EXPECT_EQ(g[0][1], OUString(std::u16string_view(c.caption)) + u" - Amount");
        EXPECT_EQ(g[1][1], OUString(std::u16string_view(c.east)));
        EXPECT_EQ(g[2][1], OUString(std::u16string_view(c.north)));
        tables(u"Out")->removeByName(u"T");
        EXPECT_EQ(doc->sheetNamed(u"Out")->getCellByPosition(0, 0)->getType(), css::table::CellContentType::EMPTY);
    }
}

TEST_F(PivotTest, APageFieldFiltersAndRefreshFollowsTheSource) {
    auto t = make([](const auto& d) {
        orient(field(d, 1), css::sheet::DataPilotFieldOrientation_ROW);
        orient(field(d, 2), css::sheet::DataPilotFieldOrientation_DATA);
        auto region = field(d, 0);
        orient(region, css::sheet::DataPilotFieldOrientation_PAGE);
        region->setPropertyValue(u"SelectedPage", Any(OUString(u"North")));
        region->setPropertyValue(u"UseSelectedPage", Any(true));
    });
    EXPECT_EQ(output(t), (Grid{{u"Product", u"Sum - Amount"}, {u"Coffee", u"7"}, {u"Tea", u"13"}, {u"Total", u"20"}}));
    doc->cell(u"Sheet1", u"C2")->setValue(100);
    EXPECT_EQ(output(t)[2][1], OUString(u"13"));  // plain values until refreshed
    t->refresh();
    EXPECT_EQ(output(t), (Grid{{u"Product", u"Sum - Amount"}, {u"Coffee", u"7"}, {u"Tea", u"103"}, {u"Total", u"110"}}));
    // Source rows deleted: the source follows; the old output is cleared first.
    Reference<css::table::XColumnRowRange>(doc->sheetNamed(u"Sheet1"), UNO_QUERY_THROW)->getRows()->removeByIndex(1, 3);
    EXPECT_TRUE((Reference<css::sheet::XDataPilotDescriptor>(t, UNO_QUERY_THROW)->getSourceRange() ==
                 css::table::CellRangeAddress{0, 0, 0, 2, 3}));
    t->refresh();
    EXPECT_EQ(output(t), (Grid{{u"Product", u"Sum - Amount"}, {u"Tea", u"3"}, {u"Total", u"3"}}));
    EXPECT_EQ(doc->sheetNamed(u"Out")->getCellByPosition(0, 3)->getType(), css::table::CellContentType::EMPTY);
}

TEST_F(PivotTest, OutputNeverOverwritesContent) {
    auto t = tables(u"Sheet1");
    auto d = t->createDataPilotDescriptor();
    d->setSourceRange({0, 0, 0, 2, 6});
    orient(field(d, 2), css::sheet::DataPilotFieldOrientation_DATA);
    auto expectRefused = [](const std::function<void()>& f, const char16_t* message) {
        try {
            f();
            ADD_FAILURE() << "no exception";
        } catch (const css::lang::IllegalArgumentException& e) {
            EXPECT_EQ(e.Message, OUString(std::u16string_view(message)));
        }
    };
    expectRefused([&] { t->insertNewByName(u"P", {0, 1, 3}, d); },
                  u"insertNewByName: the table's output would overwrite its source");
    doc->cell(u"Sheet1", u"F2")->setFormula(u"keep");
    expectRefused([&] { t->insertNewByName(u"P", {0, 5, 0}, d); },
                  u"insertNewByName: the table's output would overwrite cells with content");
    EXPECT_FALSE(t->hasByName(u"P"));
    EXPECT_EQ(doc->cell(u"Sheet1", u"F2")->getFormula(), OUString(u"keep"));
    t->insertNewByName(u"P", {0, 5, 4}, d);
    Reference<css::sheet::XDataPilotTable> p(t->getByName(u"P"), UNO_QUERY_THROW);
    orient(field(Reference<css::sheet::XDataPilotDescriptor>(p, UNO_QUERY_THROW), 0), css::sheet::DataPilotFieldOrientation_ROW);
    doc->cell(u"Sheet1", u"F9")->setFormula(u"in the way");
    expectRefused([&] { p->refresh(); }, u"refresh: the table's output would overwrite cells with content");
    EXPECT_EQ(doc->cell(u"Sheet1", u"F9")->getFormula(), OUString(u"in the way"));
    t->removeByName(u"P");
    EXPECT_EQ(doc->cell(u"Sheet1", u"F5")->getType(), css::table::CellContentType::EMPTY);
    try {
        p->refresh();
        ADD_FAILURE() << "no exception";
    } catch (const css::lang::DisposedException& e) {
        EXPECT_EQ(e.Message, OUString(u"refresh: the object is no longer part of the document"));
    }
    try {
        t->removeByName(u"P");
        ADD_FAILURE() << "no exception";
    } catch (const css::container::NoSuchElementException& e) {
        EXPECT_EQ(e.Message, OUString(u"removeByName: there is no table named P"));
    }
}

} // namespace
