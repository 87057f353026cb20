#pragma once
// A chart on a sheet, addressed by its sheet's chart collection and its name.

#include <corvane/XBase.hxx>

namespace corvane {

class ZEL_UNO_INTERFACE_CLASS XChart : public XBase {
public:
    ZEL_UNO_INTERFACE(XChart, "corvane.XChart")
    virtual OUString getName() = 0;
    // line, area, pie, donut, scatter, column or bar (any case); returns this chart.
    virtual ::zel::uno::Reference<XChart> setChartType(const OUString& type) = 0;
    virtual ::zel::uno::Reference<XChart> setTitle(const OUString& title) = 0;
    // none, right, left, top or bottom (any case); returns this chart.
    virtual ::zel::uno::Reference<XChart> setLegendPosition(const OUString& position) = 0;
    virtual void remove() = 0;
};

} // namespace corvane
