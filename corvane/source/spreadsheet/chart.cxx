// The chart wrapper: a chart found again by name in its sheet's chart
// collection on every call, its diagram type, title and legend.

#include "spreadsheet.hxx"

#include <com/qam/vexo/chart/chart.hxx>
#include <com/qam/vexo/document/embedded.hxx>
#include <cppu/implbase.hxx>

namespace corvane::detail {

namespace css = ::com::qam::vexo;
using ::zel::uno::Any;
using ::zel::uno::Reference;
using ::zel::uno::RuntimeException;
using ::zel::uno::UNO_QUERY_THROW;

OUString freeName(const OUString& prefix, const std::vector<Reference<css::container::XNameAccess>>& containers) {
    for (sal_Int64 n = 1;; ++n) {
        OUString candidate = prefix + OUString::number(static_cast<long long>(n));
        bool used = false;
        for (const auto& c : containers)
            if (c->hasByName(candidate)) {
                used = true;
                break;
            }
        if (!used) return candidate;
    }
}

namespace {

struct ChartType {
    const char16_t* name;
    const char16_t* service;
    bool vertical;
};
constexpr ChartType CHART_TYPES[] = {
    {u"line", u"com.qam.vexo.chart.LineDiagram", false},  {u"area", u"com.qam.vexo.chart.AreaDiagram", false},
    {u"pie", u"com.qam.vexo.chart.PieDiagram", false},    {u"donut", u"com.qam.vexo.chart.DonutDiagram", false},
    {u"scatter", u"com.qam.vexo.chart.XYDiagram", false}, {u"column", u"com.qam.vexo.chart.BarDiagram", false},
    {u"bar", u"com.qam.vexo.chart.BarDiagram", true},
};

struct LegendPosition {
    const char16_t* name;
    css::chart::ChartLegendPosition value;
};
constexpr LegendPosition LEGEND_POSITIONS[] = {
    {u"none", css::chart::ChartLegendPosition_NONE}, {u"right", css::chart::ChartLegendPosition_RIGHT},
    {u"left", css::chart::ChartLegendPosition_LEFT}, {u"top", css::chart::ChartLegendPosition_TOP},
    {u"bottom", css::chart::ChartLegendPosition_BOTTOM},
};

class ChartImpl : public cppu::WeakImplHelper<XChart> {
public:
    ChartImpl(const Reference<css::table::XTableCharts>& charts, const OUString& name) : charts_(charts), name_(name) {}

    Reference<::zel::uno::XInterface> getuno() override { return tableChart(); }
    OUString getName() override { return name_; }

    Reference<XChart> setChartType(const OUString& type) override {
        const OUString lower = type.toAsciiLowerCase();
        const ChartType* found = nullptr;
        for (const auto& t : CHART_TYPES)
            if (lower == t.name) found = &t;
        if (!found)
            throw RuntimeException(u"setChartType: expected line, area, pie, donut, scatter, column or bar, got " + type);
        wrapped(u"setChartType", [&] {
            Reference<css::chart::XChartDocument> doc = chartDocument();
            Reference<css::lang::XMultiServiceFactory> factory(doc, UNO_QUERY_THROW);
            Reference<css::chart::XDiagram> diagram(factory->createInstance(OUString(std::u16string_view(found->service))),
                                                    UNO_QUERY_THROW);
            doc->setDiagram(diagram);
            Reference<css::beans::XPropertySet> props(diagram, UNO_QUERY_THROW);
            Reference<css::beans::XPropertySetInfo> info = props->getPropertySetInfo();
            if (info.is() && info->hasPropertyByName(u"Vertical")) props->setPropertyValue(u"Vertical", Any(found->vertical));
        });
        return this;
    }

    Reference<XChart> setTitle(const OUString& title) override {
        wrapped(u"setTitle", [&] {
            Reference<css::chart::XChartDocument> doc = chartDocument();
            Reference<css::beans::XPropertySet>(doc, UNO_QUERY_THROW)->setPropertyValue(u"HasMainTitle", Any(true));
            Reference<css::beans::XPropertySet>(doc->getTitle(), UNO_QUERY_THROW)->setPropertyValue(u"String", Any(title));
        });
        return this;
    }

    Reference<XChart> setLegendPosition(const OUString& position) override {
        const OUString lower = position.toAsciiLowerCase();
        const LegendPosition* found = nullptr;
        for (const auto& p : LEGEND_POSITIONS)
            if (lower == p.name) found = &p;
        if (!found)
            throw RuntimeException(u"setLegendPosition: expected none, right, left, top or bottom, got " + position);
        wrapped(u"setLegendPosition", [&] {
            Reference<css::chart::XChartDocument> doc = chartDocument();
            Reference<css::beans::XPropertySet> props(doc, UNO_QUERY_THROW);
            if (found->value == css::chart::ChartLegendPosition_NONE) {
                props->setPropertyValue(u"HasLegend", Any(false));
                return;
            }
            props->setPropertyValue(u"HasLegend", Any(true));
            Reference<css::beans::XPropertySet>(doc->getLegend(), UNO_QUERY_THROW)
                ->setPropertyValue(u"Alignment", Any(found->value));
        });
        return this;
    }

    void remove() override {
        wrapped(u"remove", [&] { charts_->removeByName(name_); });
    }

private:
    Reference<css::table::XTableChart> tableChart() {
        if (!charts_->hasByName(name_))
            throw RuntimeException(u"the chart " + name_ + u" is no longer on its sheet");
        return Reference<css::table::XTableChart>(charts_->getByName(name_), UNO_QUERY_THROW);
    }
    Reference<css::chart::XChartDocument> chartDocument() {
        Reference<css::document::XEmbeddedObjectSupplier> supplier(tableChart(), UNO_QUERY_THROW);
        return Reference<css::chart::XChartDocument>(supplier->getEmbeddedObject(), UNO_QUERY_THROW);
    }

    const Reference<css::table::XTableCharts> charts_;
    const OUString name_;
};

} // namespace

Reference<XChart> createChart(const Reference<css::table::XTableCharts>& charts, const OUString& name) {
    return new ChartImpl(charts, name);
}

} // namespace corvane::detail
