// Charts on sheets: insertion (names, checks, position, size, ranges), listing,
// type, title, legend and removal, read back through the host.

#include "sheettest.hxx"

#include <com/qam/vexo/chart/chart.hxx>
#include <com/qam/vexo/document/embedded.hxx>
#include <com/qam/vexo/table/charts.hxx>

namespace corvane::test {
namespace {

namespace hostchart = ::com::qam::vexo::chart;
using testsupport::sheet::SpreadsheetBuilder;
using Props = Reference<::com::qam::vexo::beans::XPropertySet>;

class ChartTest : public SheetTest {
protected:
    void SetUp() override {
        SheetTest::SetUp();
        doc = std::make_unique<SpreadsheetBuilder>();
        doc->sheet(u"Sheet2")
            .cells(u"Sheet1", u"A1", {{u"Month", u"Tea", u"Coffee"}, {u"Jan", u"10", u"7"}, {u"Feb", u"5", u"3"}})
            .cells(u"Sheet2", u"B2", {{u"Cocoa"}, {u"4"}, {u"6"}});
    }
    void TearDown() override {
        doc.reset();
        SheetTest::TearDown();
    }
    Reference<hosttable::XTableCharts> hostCharts(const char16_t* sheetName) {
        return Reference<hosttable::XTableChartsSupplier>(doc->sheetNamed(str(sheetName)), UNO_QUERY_THROW)->getCharts();
    }
    Reference<hosttable::XTableChart> hostChart(const char16_t* sheetName, const OUString& name) {
        return Reference<hosttable::XTableChart>(hostCharts(sheetName)->getByName(name), UNO_QUERY_THROW);
    }
    static Reference<hostchart::XChartDocument> hostDocument(const Reference<XChart>& c) {
        Reference<::com::qam::vexo::document::XEmbeddedObjectSupplier> s(c->getuno(), UNO_QUERY_THROW);
        return Reference<hostchart::XChartDocument>(s->getEmbeddedObject(), UNO_QUERY_THROW);
    }
    static ::com::qam::vexo::awt::Rectangle area(const Reference<XChart>& c) {
        return Props(c->getuno(), UNO_QUERY_THROW)->getPropertyValue(u"Area").get<::com::qam::vexo::awt::Rectangle>();
    }
    Reference<XChart> insert(const char16_t* sheetName, sal_Int32 row = 1, sal_Int32 column = 1) {
        auto s = sheet(sheetName);
        return s->insertChart({sheet(u"Sheet1")->getRange(u"A1:C3")}, row, column, 72, 36, true, true);
    }
    std::unique_ptr<SpreadsheetBuilder> doc;
};

TEST_F(ChartTest, NamesAreUniqueAcrossSheetsAndChartsAreListedInOrder) {
    EXPECT_EQ(sheet(u"Sheet1")->getCharts().getLength(), 0);
    EXPECT_EQ(insert(u"Sheet2")->getName(), u"Chart 1");
    EXPECT_EQ(insert(u"Sheet1")->getName(), u"Chart 2");
    EXPECT_EQ(insert(u"Sheet1")->getName(), u"Chart 3");
    hostCharts(u"Sheet1")->removeByName(u"Chart 2");
    EXPECT_EQ(insert(u"Sheet2")->getName(), u"Chart 2");

    auto listed = sheet(u"Sheet1")->getCharts();
    ASSERT_EQ(listed.getLength(), 1);
    EXPECT_EQ(listed[0]->getName(), u"Chart 3");
    auto second = sheet(u"Sheet2")->getCharts();
    ASSERT_EQ(second.getLength(), 2);
    EXPECT_EQ(second[0]->getName(), u"Chart 1");
    EXPECT_EQ(second[1]->getName(), u"Chart 2");
    EXPECT_EQ(second[1]->getuno().get(), Reference<::zel::uno::XInterface>(hostChart(u"Sheet2", u"Chart 2")).get());
}

TEST_F(ChartTest, InsertChartHandsTheHostRangesFlagsAndARectangle) {
    auto s1 = sheet(u"Sheet1");
    auto chart = s1->insertChart({sheet(u"Sheet2")->getRange(u"B2:B4"), s1->getRange(u"A1:C3")}, 1, 1, 72, 36.5,
                                 true, false);
    auto host = hostChart(u"Sheet1", u"Chart 1");
    auto ranges = host->getRanges();
    ASSERT_EQ(ranges.getLength(), 2);
    EXPECT_TRUE((ranges[0] == std::array<sal_Int32, 5>{1, 1, 1, 1, 3}));
    EXPECT_TRUE((ranges[1] == std::array<sal_Int32, 5>{0, 0, 0, 2, 2}));
    EXPECT_TRUE(host->getHasColumnHeaders());
    EXPECT_FALSE(host->getHasRowHeaders());
    EXPECT_EQ(area(chart), (::com::qam::vexo::awt::Rectangle{0, 0, 2540, 1288}));
    // The chart reads the cells of both sheets.
    auto data = hostDocument(chart)->getData();
    auto names = data->getColumnDescriptions();
    EXPECT_EQ(std::vector<OUString>(names.begin(), names.end()),
              (std::vector<OUString>{u"Cocoa", u"Month", u"Tea", u"Coffee"}));
}

TEST_F(ChartTest, HiddenRowsAndColumnsDoNotMoveTheChart) {
    Reference<hosttable::XColumnRowRange> lines(doc->sheetNamed(u"Sheet1"), UNO_QUERY_THROW);
    Props(lines->getRows()->getByIndex(1), UNO_QUERY_THROW)->setPropertyValue(u"IsVisible", Any(false));
    Props(lines->getRows()->getByIndex(0), UNO_QUERY_THROW)->setPropertyValue(u"Height", Any(sal_Int32(1000)));
    Props(lines->getColumns()->getByIndex(0), UNO_QUERY_THROW)->setPropertyValue(u"IsVisible", Any(false));
    Props(lines->getColumns()->getByIndex(1), UNO_QUERY_THROW)->setPropertyValue(u"Width", Any(sal_Int32(3000)));
    EXPECT_EQ(area(insert(u"Sheet1", 3, 3)), (::com::qam::vexo::awt::Rectangle{3000, 1000, 2540, 1270}));
    EXPECT_EQ(area(insert(u"Sheet1", 4, 4)), (::com::qam::vexo::awt::Rectangle{3000 + 2258, 1000 + 452, 2540, 1270}));
}

TEST_F(ChartTest, InsertChartChecksInOrderAndChangesNothingWhenRefused) {
    auto s = sheet(u"Sheet1");
    auto r = s->getRange(u"A1:C3");
    const Reference<XRange> none;
    struct Case {
        std::function<void()> call;
        const char16_t* message;
    };
    const Case cases[] = {
        {[&] { s->insertChart({}, 0, 1, -1, -1, true, true); }, u"insertChart: expected an anchor row and column of at least 1"},
        {[&] { s->insertChart({r}, 1, 0, 10, 10, true, true); }, u"insertChart: expected an anchor row and column of at least 1"},
        {[&] { s->insertChart({}, 1, 1, -1, -1, true, true); }, u"insertChart: expected at least one data range"},
        {[&] { s->insertChart({none}, 1, 1, -1, -2, true, true); }, u"expected a non-negative size in points, got -1"},
        {[&] { s->insertChart({none}, 1, 1, 10, -2, true, true); }, u"expected a non-negative size in points, got -2"},
        {[&] { s->insertChart({r, none}, 1, 1, 10, 10, true, true); }, u"insertChart: expected a data range"},
        {[&] { s->insertChart({r}, 1, 1, 1e12, 10, true, true); },
         u"expected a length in points that fits the page coordinate range, got 1000000000000"},
    };
    for (const Case& c : cases) expectFailure(c.call, c.message);
    EXPECT_EQ(hostCharts(u"Sheet1")->getElementNames().getLength(), 0);
    EXPECT_EQ(hostCharts(u"Sheet2")->getElementNames().getLength(), 0);
}

TEST_F(ChartTest, APositionPastTheThirtyTwoBitRangeIsRefused) {
    Reference<hosttable::XColumnRowRange> lines(doc->sheetNamed(u"Sheet1"), UNO_QUERY_THROW);
    for (sal_Int32 i : {0, 1})
        Props(lines->getRows()->getByIndex(i), UNO_QUERY_THROW)->setPropertyValue(u"Height", Any(sal_Int32(2000000000)));
    // Row 2 starts at 2,000,000,000: still a position; row 3 would start at 4,000,000,000.
    EXPECT_EQ(area(insert(u"Sheet1", 2, 1)).Y, 2000000000);
    expectFailure([&] { insert(u"Sheet1", 3, 1); },
                  u"insertChart: the chart would reach past the largest position on a sheet (2147483647 hundredths of a "
                  u"millimetre)");
    EXPECT_EQ(hostCharts(u"Sheet1")->getElementNames().getLength(), 1);
    // An anchor past the sheet's last row is the host's to refuse.
    expectFailure([&] { insert(u"Sheet2", 1, 20000); },
                  u"insertChart: getByIndex: there is no column 16384 in a range of 16384 columns");
}

TEST_F(ChartTest, ChartTypesAreCaseInsensitiveAndColumnAndBarDifferInVertical) {
    auto chart = insert(u"Sheet1");
    struct Case {
        const char16_t* type;
        const char16_t* service;
        int vertical;  // -1: the diagram has no such property
    };
    const Case cases[] = {
        {u"line", u"com.qam.vexo.chart.LineDiagram", 0},  {u"AREA", u"com.qam.vexo.chart.AreaDiagram", 0},
        {u"Pie", u"com.qam.vexo.chart.PieDiagram", -1},   {u"donut", u"com.qam.vexo.chart.DonutDiagram", -1},
        {u"Scatter", u"com.qam.vexo.chart.XYDiagram", 0}, {u"column", u"com.qam.vexo.chart.BarDiagram", 0},
        {u"Bar", u"com.qam.vexo.chart.BarDiagram", 1},    {u"COLUMN", u"com.qam.vexo.chart.BarDiagram", 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(chart->setChartType(str(c.type)).get(), chart.get());
        auto diagram = hostDocument(chart)->getDiagram();
        EXPECT_EQ(diagram->getDiagramType(), str(c.service)) << str(c.type);
        Props props(diagram, UNO_QUERY_THROW);
        EXPECT_EQ(props->getPropertySetInfo()->hasPropertyByName(u"Vertical"), c.vertical >= 0);
        if (c.vertical >= 0) {
            EXPECT_EQ(props->getPropertyValue(u"Vertical").get<bool>(), c.vertical == 1) << str(c.type);
        }
    }
    expectFailure([&] { chart->setChartType(u"Histogram"); },
                  u"setChartType: expected line, area, pie, donut, scatter, column or bar, got Histogram");
    EXPECT_EQ(hostDocument(chart)->getDiagram()->getDiagramType(), u"com.qam.vexo.chart.BarDiagram");
}

TEST_F(ChartTest, TitleAndLegendReachTheHost) {
    auto chart = insert(u"Sheet1");
    auto hostDoc = hostDocument(chart);
    Props docProps(hostDoc, UNO_QUERY_THROW);
    EXPECT_EQ(chart->setTitle(u"Sales").get(), chart.get());
    EXPECT_TRUE(docProps->getPropertyValue(u"HasMainTitle").get<bool>());
    EXPECT_EQ(hostDoc->getTitle()->getPropertyValue(u"String").get<OUString>(), u"Sales");

    struct Case {
        const char16_t* position;
        bool shown;
        hostchart::ChartLegendPosition alignment;
    };
    const Case cases[] = {{u"left", true, hostchart::ChartLegendPosition_LEFT},
                          {u"NONE", false, hostchart::ChartLegendPosition_LEFT},
                          {u"Top", true, hostchart::ChartLegendPosition_TOP},
                          {u"bottom", true, hostchart::ChartLegendPosition_BOTTOM},
                          {u"RIGHT", true, hostchart::ChartLegendPosition_RIGHT}};
    for (const Case& c : cases) {
        EXPECT_EQ(chart->setLegendPosition(str(c.position)).get(), chart.get());
        EXPECT_EQ(docProps->getPropertyValue(u"HasLegend").get<bool>(), c.shown) << str(c.position);
        EXPECT_EQ(hostDoc->getLegend()->getPropertyValue(u"Alignment").get<hostchart::ChartLegendPosition>(), c.alignment)
            << str(c.position);
    }
    expectFailure([&] { chart->setLegendPosition(u"Middle"); },
                  u"setLegendPosition: expected none, right, left, top or bottom, got Middle");
}

TEST_F(ChartTest, ARemovedChartKeepsItsNameAndFailsEverythingElse) {
    auto mine = insert(u"Sheet1");
    auto other = insert(u"Sheet2");
    mine->remove();
    EXPECT_FALSE(hostCharts(u"Sheet1")->hasByName(u"Chart 1"));
    hostCharts(u"Sheet2")->removeByName(u"Chart 2");  // removed by the host
    for (const auto& [chart, name] : {std::pair{mine, OUString(u"Chart 1")}, std::pair{other, OUString(u"Chart 2")}}) {
        EXPECT_EQ(chart->getName(), name);
        const OUString gone = u"the chart " + name + u" is no longer on its sheet";
        expectFailure([&] { chart->getuno(); }, gone.getStr());
        expectFailure([&] { chart->setTitle(u"x"); }, (u"setTitle: " + gone).getStr());
        expectFailure([&] { chart->setChartType(u"pie"); }, (u"setChartType: " + gone).getStr());
        expectFailure([&] { chart->setLegendPosition(u"top"); }, (u"setLegendPosition: " + gone).getStr());
        expectFailure([&] { chart->remove(); }, (u"remove: removeByName: there is no chart named " + name).getStr());
        // A refused argument is reported before the chart is looked up.
        expectFailure([&] { chart->setChartType(u"radar"); },
                      u"setChartType: expected line, area, pie, donut, scatter, column or bar, got radar");
        expectFailure([&] { chart->setLegendPosition(u""); },
                      u"setLegendPosition: expected none, right, left, top or bottom, got ");
    }
}

TEST_F(ChartTest, ListingOnASheetTheHostRemovedWrapsTheHostsMessage) {
    auto s = sheet(u"Sheet2");
    doc->sheets()->removeByName(u"Sheet2");
    expectFailure([&] { s->getCharts(); }, u"getCharts: getCharts: the object is no longer part of the document");
    expectFailure([&] { s->getPivotTables(); },
                  u"getPivotTables: getDataPilotTables: the object is no longer part of the document");
}

TEST_F(ChartTest, WrappersAnswerToTheirTypeNames) {
    EXPECT_EQ(cppu::UnoType<XChart>::get().getTypeName(), u"corvane.XChart");
    EXPECT_EQ(cppu::UnoType<XPivotTable>::get().getTypeName(), u"corvane.XPivotTable");
    Reference<::zel::uno::XInterface> chart(insert(u"Sheet1"));
    EXPECT_TRUE(Reference<XChart>(chart, UNO_QUERY).is());
    EXPECT_TRUE(Reference<XBase>(chart, UNO_QUERY).is());
    Reference<::zel::uno::XInterface> pivot(
        sheet(u"Sheet2")->getRange(u"D1")->createPivotTable(sheet(u"Sheet1")->getRange(u"A1:C3")));
    EXPECT_TRUE(Reference<XPivotTable>(pivot, UNO_QUERY).is());
    EXPECT_FALSE(Reference<XChart>(pivot, UNO_QUERY).is());
}

TEST_F(ChartTest, ClearRemovesTheSheetsCharts) {
    auto chart = insert(u"Sheet1");
    auto kept = insert(u"Sheet2");
    sheet(u"Sheet1")->clear();
    EXPECT_EQ(sheet(u"Sheet1")->getCharts().getLength(), 0);
    expectFailure([&] { chart->getuno(); }, u"the chart Chart 1 is no longer on its sheet");
    ASSERT_EQ(sheet(u"Sheet2")->getCharts().getLength(), 1);
    EXPECT_EQ(kept->getName(), u"Chart 2");
}

} // namespace
} // namespace corvane::test
