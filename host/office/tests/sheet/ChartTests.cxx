// Embedded charts of the stand-in spreadsheet: the chart collection, live data
// after edits and row deletion, diagrams, title, legend and removal.

#include <com/qam/vexo/chart/chart.hxx>
#include <com/qam/vexo/document/embedded.hxx>
#include <com/qam/vexo/lang/exceptions.hxx>
#include <com/qam/vexo/table/charts.hxx>
#include <testsupport/HostTest.hxx>
#include <testsupport/sheet/SpreadsheetBuilder.hxx>

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

namespace css = ::com::qam::vexo;
using testsupport::sheet::SpreadsheetBuilder;
using ::zel::uno::Any;
using ::zel::uno::Reference;
using ::zel::uno::Sequence;
using ::zel::uno::UNO_QUERY;
using ::zel::uno::UNO_QUERY_THROW;

class ChartTest : public testsupport::HostTest {
protected:
    void SetUp() override {
        testsupport::HostTest::SetUp();
        doc = std::make_unique<SpreadsheetBuilder>();
        doc->sheet(u"Other").cells(u"Sheet1", u"A1",
                                   {{u"Month", u"Tea", u"Coffee"},
                                    {u"Jan", u"10", u"7"},
                                    {u"Feb", u"5", u"x"},
                                    {u"Mar", u"=B2+B3", u"1"}});
        doc->cells(u"Other", u"B2", {{u"Cocoa"}, {u"4"}, {u"6"}});
    }
    void TearDown() override {
        doc.reset();
        testsupport::HostTest::TearDown();
    }
    Reference<css::table::XTableCharts> charts(const char16_t* sheet) {
        return Reference<css::table::XTableChartsSupplier>(doc->sheetNamed(OUString(std::u16string_view(sheet))),
                                                           UNO_QUERY_THROW)
            ->getCharts();
    }
    Reference<css::table::XTableChart> chart(const char16_t* sheet, const char16_t* name) {
        return Reference<css::table::XTableChart>(charts(sheet)->getByName(OUString(std::u16string_view(name))),
                                                  UNO_QUERY_THROW);
    }
    static Reference<css::chart::XChartDocument> document(const Reference<css::table::XTableChart>& c) {
        return Reference<css::chart::XChartDocument>(
            Reference<css::document::XEmbeddedObjectSupplier>(c, UNO_QUERY_THROW)->getEmbeddedObject(), UNO_QUERY_THROW);
    }
    // The data as text, "nan" for a cell without a number.
    static std::vector<std::vector<std::string>> values(const Reference<css::chart::XChartDocument>& d) {
        std::vector<std::vector<std::string>> out;
        for (const auto& row : d->getData()->getData()) {
            out.emplace_back();
            for (double v : row) out.back().push_back(std::isnan(v) ? "nan" : std::to_string(static_cast<long>(v)));
        }
        return out;
    }
    static std::vector<OUString> strings(const Sequence<OUString>& s) { return {s.begin(), s.end()}; }
    std::unique_ptr<SpreadsheetBuilder> doc;
};

TEST_F(ChartTest, CollectionKeepsNamesInOrderAndRefusesTakenAndUnknownNames) {
    auto c = charts(u"Sheet1");
    EXPECT_FALSE(c->hasElements());
    c->addNewByName(u"B", {100, 200, 3000, 4000}, {{0, 0, 0, 2, 3}}, true, true);
    c->addNewByName(u"A", {0, 0, 10, 10}, {{0, 0, 0, 1, 1}}, false, false);
    EXPECT_EQ(strings(c->getElementNames()), (std::vector<OUString>{u"B", u"A"}));
    Reference<css::container::XIndexAccess> index(c, UNO_QUERY_THROW);
    ASSERT_EQ(index->getCount(), 2);
    EXPECT_EQ(Reference<css::container::XNamed>(index->getByIndex(1), UNO_QUERY_THROW)->getName(), u"A");
    EXPECT_TRUE(charts(u"Other")->getElementNames().getLength() == 0);

    Reference<css::beans::XPropertySet> props(chart(u"Sheet1", u"B"), UNO_QUERY_THROW);
    EXPECT_EQ(props->getPropertyValue(u"Area").get<css::awt::Rectangle>(), (css::awt::Rectangle{100, 200, 3000, 4000}));
    EXPECT_TRUE(props->getPropertySetInfo()->hasPropertyByName(u"Area"));

    struct Case {
        std::function<void()> call;
        OUString message;
    };
    const std::vector<Case> refused = {
        {[&] { c->addNewByName(u"A", {0, 0, 1, 1}, {{0, 0, 0, 1, 1}}, false, false); },
         u"addNewByName: a chart named A already exists"},
        {[&] { c->addNewByName(u"", {0, 0, 1, 1}, {{0, 0, 0, 1, 1}}, false, false); },
         u"addNewByName: a chart name must not be empty"},
        {[&] { c->addNewByName(u"C", {0, 0, -1, 1}, {{0, 0, 0, 1, 1}}, false, false); },
         u"addNewByName: a chart's width and height must not be negative"},
        {[&] { c->addNewByName(u"C", {0, 0, 1, 1}, {}, false, false); },
         u"addNewByName: a chart needs at least one data block"},
        {[&] { c->addNewByName(u"C", {0, 0, 1, 1}, {{5, 0, 0, 1, 1}}, false, false); },
         u"addNewByName: there is no sheet 5"},
        {[&] { c->addNewByName(u"C", {0, 0, 1, 1}, {{0, 2, 0, 1, 1}}, false, false); },
         u"addNewByName: a data block does not lie within its sheet"},
        {[&] { c->removeByName(u"Z"); }, u"removeByName: there is no chart named Z"},
        {[&] { c->getByName(u"Z"); }, u"getByName: there is no chart named Z"},
        {[&] { props->setPropertyValue(u"Area", Any(css::awt::Rectangle{})); },
         u"setPropertyValue: property Area is read-only"},
    };
    for (const auto& k : refused) {
        try {
            k.call();
            ADD_FAILURE() << "no exception for " << k.message;
        } catch (const ::zel::uno::Exception& e) {
            EXPECT_EQ(e.Message, k.message);
        }
    }
    EXPECT_EQ(strings(c->getElementNames()), (std::vector<OUString>{u"B", u"A"}));
}

TEST_F(ChartTest, DataIsReadFromTheCellsAndFollowsEditsAndRowDeletion) {
    charts(u"Sheet1")->addNewByName(u"C", {0, 0, 100, 100}, {{0, 0, 0, 2, 3}}, true, true);
    auto d = document(chart(u"Sheet1", u"C"));
    auto data = d->getData();
    EXPECT_EQ(values(d), (std::vector<std::vector<std::string>>{{"10", "7"}, {"5", "nan"}, {"15", "1"}}));
    EXPECT_EQ(strings(data->getColumnDescriptions()), (std::vector<OUString>{u"Tea", u"Coffee"}));
    EXPECT_EQ(strings(data->getRowDescriptions()), (std::vector<OUString>{u"Jan", u"Feb", u"Mar"}));

    doc->cells(u"Sheet1", u"B2", {{u"20"}});
    doc->cells(u"Sheet1", u"C3", {{u"2"}});
    EXPECT_EQ(values(d), (std::vector<std::vector<std::string>>{{"20", "7"}, {"5", "2"}, {"25", "1"}}));

    // Deleting the Feb row shrinks the block; a row above it moves it up.
    Reference<css::table::XColumnRowRange> rows(doc->sheetNamed(u"Sheet1"), UNO_QUERY_THROW);
    rows->getRows()->removeByIndex(2, 1);
    EXPECT_EQ(strings(data->getRowDescriptions()), (std::vector<OUString>{u"Jan", u"Mar"}));
    auto ranges = chart(u"Sheet1", u"C")->getRanges();
    ASSERT_EQ(ranges.getLength(), 1);
    EXPECT_EQ(ranges[0], (css::table::CellRangeAddress{0, 0, 0, 2, 2}));

    // The header flags decide how the first row and column are read.
    auto c = chart(u"Sheet1", u"C");
    c->setHasColumnHeaders(false);
    c->setHasRowHeaders(false);
    EXPECT_EQ(strings(data->getColumnDescriptions()), (std::vector<OUString>{u"Column 1", u"Column 2", u"Column 3"}));
    EXPECT_EQ(strings(data->getRowDescriptions()), (std::vector<OUString>{u"Row 1", u"Row 2", u"Row 3"}));
    // B3 was =B2+B3 before the row went: its reference is gone, so it shows an error, not a number.
    EXPECT_EQ(values(d), (std::vector<std::vector<std::string>>{{"nan", "nan", "nan"}, {"nan", "20", "7"},
                                                                {"nan", "nan", "1"}}));

    // Deleting column B narrows the block.
    Reference<css::table::XColumnRowRange>(doc->sheetNamed(u"Sheet1"), UNO_QUERY_THROW)->getColumns()->removeByIndex(1, 1);
    EXPECT_EQ(chart(u"Sheet1", u"C")->getRanges()[0], (css::table::CellRangeAddress{0, 0, 0, 1, 2}));
    EXPECT_EQ(strings(data->getColumnDescriptions()), (std::vector<OUString>{u"Column 1", u"Column 2"}));
    EXPECT_EQ(values(d), (std::vector<std::vector<std::string>>{{"nan", "nan"}, {"nan", "7"}, {"nan", "1"}}));
}

TEST_F(ChartTest, BlocksOfSeveralSheetsSitSideBySideInTheGivenOrder) {
    charts(u"Other")->addNewByName(u"M", {0, 0, 1, 1}, {{1, 1, 1, 1, 3}, {0, 0, 0, 2, 3}}, true, false);
    auto c = chart(u"Other", u"M");
    auto ranges = c->getRanges();
    ASSERT_EQ(ranges.getLength(), 2);
    EXPECT_EQ(ranges[0], (css::table::CellRangeAddress{1, 1, 1, 1, 3}));
    EXPECT_EQ(ranges[1], (css::table::CellRangeAddress{0, 0, 0, 2, 3}));
    auto data = document(c)->getData();
    EXPECT_EQ(strings(data->getColumnDescriptions()), (std::vector<OUString>{u"Cocoa", u"Month", u"Tea", u"Coffee"}));
    EXPECT_EQ(values(document(c)), (std::vector<std::vector<std::string>>{{"4", "nan", "10", "7"},
                                                                          {"6", "nan", "5", "nan"},
                                                                          {"nan", "nan", "15", "1"}}));
    // Removing a sheet drops its block only.
    doc->sheets()->removeByName(u"Sheet1");
    EXPECT_EQ(c->getRanges().getLength(), 1);
    EXPECT_EQ(strings(data->getColumnDescriptions()), (std::vector<OUString>{u"Cocoa"}));
}

TEST_F(ChartTest, DiagramsTitleAndLegend) {
    charts(u"Sheet1")->addNewByName(u"C", {0, 0, 1, 1}, {{0, 0, 0, 2, 3}}, true, true);
    auto d = document(chart(u"Sheet1", u"C"));
    EXPECT_EQ(d->getDiagram()->getDiagramType(), u"com.qam.vexo.chart.BarDiagram");
    Reference<css::lang::XMultiServiceFactory> factory(d, UNO_QUERY_THROW);
    struct Case {
        const char16_t* service;
        bool axes;
    };
    for (const Case& k : std::vector<Case>{{u"com.qam.vexo.chart.LineDiagram", true},
                                           {u"com.qam.vexo.chart.AreaDiagram", true},
                                           {u"com.qam.vexo.chart.PieDiagram", false},
                                           {u"com.qam.vexo.chart.DonutDiagram", false},
                                           {u"com.qam.vexo.chart.XYDiagram", true},
                                           {u"com.qam.vexo.chart.BarDiagram", true}}) {
        OUString service(k.service);
        Reference<css::chart::XDiagram> diagram(factory->createInstance(service), UNO_QUERY_THROW);
        d->setDiagram(diagram);
        EXPECT_EQ(d->getDiagram()->getDiagramType(), service);
        Reference<css::beans::XPropertySet> props(d->getDiagram(), UNO_QUERY_THROW);
        EXPECT_EQ(props->getPropertySetInfo()->hasPropertyByName(u"Vertical"), k.axes) << service;
        if (k.axes) {
            // Set after setDiagram, the flag reaches the chart's own diagram.
            Reference<css::beans::XPropertySet>(diagram, UNO_QUERY_THROW)->setPropertyValue(u"Vertical", Any(true));
            EXPECT_TRUE(props->getPropertyValue(u"Vertical").get<bool>());
        } else {
            try {
                props->setPropertyValue(u"Vertical", Any(true));
                ADD_FAILURE() << "Vertical accepted on " << service;
            } catch (const css::beans::UnknownPropertyException& e) {
                EXPECT_EQ(e.Message, u"setPropertyValue: unknown property Vertical");
            }
        }
    }
    EXPECT_FALSE(factory->createInstance(u"com.qam.vexo.chart.StockDiagram").is());

    Reference<css::beans::XPropertySet> docProps(d, UNO_QUERY_THROW);
    EXPECT_FALSE(docProps->getPropertyValue(u"HasMainTitle").get<bool>());
    EXPECT_TRUE(docProps->getPropertyValue(u"HasLegend").get<bool>());
    docProps->setPropertyValue(u"HasMainTitle", Any(true));
    d->getTitle()->setPropertyValue(u"String", Any(OUString(u"Sales")));
    EXPECT_EQ(d->getTitle()->getPropertyValue(u"String").get<OUString>(), u"Sales");
    EXPECT_TRUE(docProps->getPropertyValue(u"HasMainTitle").get<bool>());
    d->getLegend()->setPropertyValue(u"Alignment", Any(css::chart::ChartLegendPosition_BOTTOM));
    EXPECT_EQ(d->getLegend()->getPropertyValue(u"Alignment").get<css::chart::ChartLegendPosition>(),
              css::chart::ChartLegendPosition_BOTTOM);
    try {
        docProps->setPropertyValue(u"HasLegend", Any(sal_Int32(1)));
        ADD_FAILURE() << "HasLegend took a long";
    } catch (const css::lang::IllegalArgumentException& e) {
        EXPECT_EQ(e.Message, u"setPropertyValue: property HasLegend takes a value of type boolean, got long");
    }
    try {
        d->getLegend()->setPropertyValue(u"Alignment", Any(sal_Int32(2)));
        ADD_FAILURE() << "Alignment took a long";
    } catch (const css::lang::IllegalArgumentException& e) {
        EXPECT_EQ(e.Message,
                  u"setPropertyValue: property Alignment takes a value of type com.qam.vexo.chart.ChartLegendPosition, got long");
    }
}

TEST_F(ChartTest, RemovedChartsObjectsAreDisposed) {
    auto c = charts(u"Sheet1");
    c->addNewByName(u"C", {0, 0, 1, 1}, {{0, 0, 0, 2, 3}}, true, true);
    auto table = chart(u"Sheet1", u"C");
    EXPECT_EQ(table.get(), chart(u"Sheet1", u"C").get());  // one object per chart
    auto d = document(table);
    auto title = d->getTitle();
    c->removeByName(u"C");
    EXPECT_FALSE(c->hasByName(u"C"));
    for (auto& [call, message] : std::vector<std::pair<std::function<void()>, OUString>>{
             {[&] { Reference<css::container::XNamed>(table, UNO_QUERY_THROW)->getName(); },
              u"getName: the object is no longer part of the document"},
             {[&] { d->getDiagram(); }, u"getDiagram: the object is no longer part of the document"},
             {[&] { title->setPropertyValue(u"String", Any(OUString(u"x"))); },
              u"setPropertyValue: the object is no longer part of the document"}}) {
        try {
            call();
            ADD_FAILURE() << "no exception for " << message;
        } catch (const css::lang::DisposedException& e) {
            EXPECT_EQ(e.Message, message);
        }
    }
}

TEST_F(ChartTest, ClearingTheObjectsOfTheWholeSheetRemovesItsCharts) {
    charts(u"Sheet1")->addNewByName(u"C", {0, 0, 1, 1}, {{0, 0, 0, 2, 3}}, true, true);
    auto sheet = doc->sheetNamed(u"Sheet1");
    // Not the objects flag, or only part of the sheet: the chart stays.
    Reference<css::sheet::XSheetOperation>(sheet, UNO_QUERY_THROW)->clearContents(css::sheet::CellFlags::VALUE);
    Reference<css::sheet::XSheetOperation>(sheet->getCellRangeByName(u"A1:Z100"), UNO_QUERY_THROW)
        ->clearContents(css::sheet::CellFlags::OBJECTS);
    EXPECT_TRUE(charts(u"Sheet1")->hasByName(u"C"));
    Reference<css::sheet::XSheetOperation>(sheet, UNO_QUERY_THROW)->clearContents(css::sheet::CellFlags::OBJECTS);
    EXPECT_FALSE(charts(u"Sheet1")->hasElements());
}

} // namespace
