#pragma once
// Chart documents (module com.qam.vexo.chart).
//
// Properties (beans::XPropertySet): the chart document "HasMainTitle" and
// "HasLegend" (boolean); the title "String"; the legend "Alignment"
// (ChartLegendPosition); diagrams with axes (all but pie and donut) "Vertical"
// (boolean: bars run horizontally).  The chart document is also a
// lang::XMultiServiceFactory for the diagram services "com.qam.vexo.chart.LineDiagram",
// "...AreaDiagram", "...PieDiagram", "...DonutDiagram", "...XYDiagram" and "...BarDiagram".

#include <com/qam/vexo/beans/properties.hxx>
#include <com/qam/vexo/lang/interfaces.hxx>

namespace com::qam::vexo::chart {

using ::zel::uno::Reference;
using ::zel::uno::Sequence;

enum ChartLegendPosition {
    ChartLegendPosition_NONE,
    ChartLegendPosition_LEFT,
    ChartLegendPosition_TOP,
    ChartLegendPosition_RIGHT,
    ChartLegendPosition_BOTTOM
};

class ZEL_UNO_INTERFACE_CLASS XDiagram : public virtual ::zel::uno::XInterface {
public:
    ZEL_UNO_INTERFACE(XDiagram, "com.qam.vexo.chart.XDiagram")
    // The diagram's service name.
    virtual OUString getDiagramType() = 0;
};

// The values a chart shows: one row per data row, one column per series.
class ZEL_UNO_INTERFACE_CLASS XChartDataArray : public virtual ::zel::uno::XInterface {
public:
    ZEL_UNO_INTERFACE(XChartDataArray, "com.qam.vexo.chart.XChartDataArray")
    // NaN for a cell that holds no number.
    virtual Sequence<Sequence<double>> getData() = 0;
    virtual Sequence<OUString> getRowDescriptions() = 0;
    virtual Sequence<OUString> getColumnDescriptions() = 0;
};

class ZEL_UNO_INTERFACE_CLASS XChartDocument : public virtual ::zel::uno::XInterface {
public:
    ZEL_UNO_INTERFACE(XChartDocument, "com.qam.vexo.chart.XChartDocument")
    // The title and legend objects (beans::XPropertySet).
    virtual Reference<::com::qam::vexo::beans::XPropertySet> getTitle() = 0;
    virtual Reference<::com::qam::vexo::beans::XPropertySet> getLegend() = 0;
    virtual Reference<XDiagram> getDiagram() = 0;
    // lang::IllegalArgumentException for a diagram not made by a chart document.
    virtual void setDiagram(const Reference<XDiagram>& diagram) = 0;
    virtual Reference<XChartDataArray> getData() = 0;
};

} // namespace com::qam::vexo::chart

ZEL_UNO_DECLARE_TYPE(::com::qam::vexo::chart::ChartLegendPosition, ENUM, "com.qam.vexo.chart.ChartLegendPosition")
