// The embedded charts of the stand-in spreadsheet: a sheet's chart collection,
// the table charts, their chart documents, diagrams, titles and legends.
//
// What this models: charts kept per sheet (sheetcore::ChartNode) that read
// their blocks live, so the data follows later edits and row and column
// deletion; the diagram type and its "Vertical" flag, the main title and the
// legend position.  What it leaves out: drawing (nothing is rendered), axes,
// series formatting and any diagram service beyond the six it names.  A chart
// is presented by one table chart object and one chart document object at a
// time; after removal (of it or its sheet) both raise lang::DisposedException.
//
// How the blocks are read: the blocks sit side by side, each giving columns
// (series).  With column headers the first row of each block names its
// columns; with row headers the first column of each block is a label column,
// and the first block's labels name the rows.  Without headers the names are
// "Column n" and "Row n".  A cell that holds no number reads as NaN.
//
// A new chart shows columns ("com.qam.vexo.chart.BarDiagram", "Vertical" false),
// no main title and a legend on the right.

#include "sheet/sheetobjects.hxx"

#include <com/qam/vexo/chart/chart.hxx>
#include <com/qam/vexo/document/embedded.hxx>
#include <com/qam/vexo/lang/exceptions.hxx>
#include <com/qam/vexo/table/charts.hxx>
#include <cppu/implbase.hxx>

#include <algorithm>
#include <cmath>
#include <limits>

namespace officehost::sheet {

namespace css = ::com::qam::vexo;
using namespace ::officehost::sheetcore;
using css::lang::IllegalArgumentException;
using css::lang::IndexOutOfBoundsException;
using css::table::CellRangeAddress;
using ::zel::uno::Any;
using ::zel::uno::Reference;
using ::zel::uno::Sequence;
using ::zel::uno::Type;
using ::zel::uno::XInterface;

namespace {

OUString num(sal_Int64 n) { return OUString::number(static_cast<long long>(n)); }

constexpr std::u16string_view kDiagramPrefix = u"com.qam.vexo.chart.";
const char16_t* const kDiagrams[] = {u"LineDiagram", u"AreaDiagram", u"PieDiagram",
                                     u"DonutDiagram", u"XYDiagram", u"BarDiagram"};

bool hasAxes(const OUString& service) {
    return service != u"com.qam.vexo.chart.PieDiagram" && service != u"com.qam.vexo.chart.DonutDiagram";
}

[[noreturn]] void unknownProperty(const OUString& op, const OUString& name) {
    throw css::beans::UnknownPropertyException(op + u": unknown property " + name);
}

template <class T>
T checked(const OUString& op, const OUString& name, const Any& value) {
    T out{};
    if (!(value >>= out)) {
        Type t = cppu::UnoType<T>::get();
        throw IllegalArgumentException(op + u": property " + name + u" takes a value of type " + t.getTypeName() +
                                       u", got " + (value.hasValue() ? value.getValueTypeName() : OUString(u"void")));
    }
    return out;
}

class InfoImpl : public cppu::WeakImplHelper<css::beans::XPropertySetInfo> {
public:
    explicit InfoImpl(std::vector<css::beans::Property> props) : props_(std::move(props)) {}
    Sequence<css::beans::Property> getProperties() override { return Sequence<css::beans::Property>(props_); }
    css::beans::Property getPropertyByName(const OUString& name) override {
        for (auto& p : props_)
            if (p.Name == name) return p;
        unknownProperty(u"getPropertyByName", name);
    }
    bool hasPropertyByName(const OUString& name) override {
        return std::any_of(props_.begin(), props_.end(), [&](const auto& p) { return p.Name == name; });
    }

private:
    std::vector<css::beans::Property> props_;
};

// A diagram: free-standing when made by createInstance, the chart's own once set.
class DiagramImpl : public cppu::WeakImplHelper<css::chart::XDiagram, css::beans::XPropertySet, css::lang::XServiceInfo> {
public:
    explicit DiagramImpl(std::shared_ptr<ChartDiagram> state) : state_(std::move(state)) {}
    OUString getDiagramType() override { return state_->service; }

    Reference<css::beans::XPropertySetInfo> getPropertySetInfo() override {
        std::vector<css::beans::Property> props;
        if (hasAxes(state_->service)) props.push_back({u"Vertical", -1, cppu::UnoType<bool>::get(), 0});
        return new InfoImpl(std::move(props));
    }
    void setPropertyValue(const OUString& name, const Any& value) override {
        if (name != u"Vertical" || !hasAxes(state_->service)) unknownProperty(u"setPropertyValue", name);
        state_->vertical = checked<bool>(u"setPropertyValue", name, value);
    }
    Any getPropertyValue(const OUString& name) override {
        if (name != u"Vertical" || !hasAxes(state_->service)) unknownProperty(u"getPropertyValue", name);
        return Any(state_->vertical);
    }

    OUString getImplementationName() override { return u"officehost.chart.Diagram"; }
    bool supportsService(const OUString& n) override { return n == state_->service; }
    Sequence<OUString> getSupportedServiceNames() override { return {state_->service}; }

    const std::shared_ptr<ChartDiagram>& state() const { return state_; }

private:
    std::shared_ptr<ChartDiagram> state_;
};

// Where the objects of one chart reach its node.
class NodeHolder : public Linked {
public:
    NodeHolder(CorePtr core, ChartNode* node) : core_(std::move(core)), node_(node) {}
    void nodeGone() override { node_ = nullptr; }
    ChartNode& node(const OUString& op) {
        checkAlive(*core_, op);
        if (!node_) gone(op);
        return *node_;
    }

protected:
    ~NodeHolder() = default;
    CorePtr core_;
    ChartNode* node_;
};

// A block's data part: its cells minus the header row and label column, cut to
// the used area of its sheet (nothing lies beyond it).
struct Block {
    Sheet* sheet;
    Rect r;
    sal_Int32 c0, r0;  // the first data column and row
    sal_Int32 rows() const { return std::max(0, r.r1 - r0 + 1); }
};

std::vector<Block> layout(Core& core, const ChartNode& n) {
    std::vector<Block> out;
    for (auto& a : n.ranges) {
        if (!a->sheet) continue;
        Rect r = a->rect;
        Rect used = core.usedArea(*a->sheet);
        r.r1 = std::max(std::min(r.r1, used.r1), r.r0);
        r.c1 = std::max(std::min(r.c1, used.c1), r.c0);
        out.push_back({a->sheet, r, r.c0 + (n.rowHeaders ? 1 : 0), r.r0 + (n.columnHeaders ? 1 : 0)});
    }
    return out;
}

sal_Int32 dataRows(const std::vector<Block>& blocks) {
    sal_Int32 rows = 0;
    for (auto& b : blocks) rows = std::max(rows, b.rows());
    return rows;
}

// The values and descriptions of a chart document, read from the cells when asked.
class DataArrayImpl : public cppu::WeakImplHelper<css::chart::XChartDataArray> {
public:
    DataArrayImpl(Reference<XInterface> keep, CorePtr core, NodeHolder& doc)
        : keep_(std::move(keep)), core_(std::move(core)), doc_(doc) {}

    Sequence<Sequence<double>> getData() override {
        ChartNode& n = doc_.node(u"getData");
        std::vector<Block> blocks = layout(*core_, n);
        sal_Int32 rows = dataRows(blocks);
        std::vector<Sequence<double>> out;
        for (sal_Int32 i = 0; i < rows; ++i) {
            std::vector<double> line;
            for (auto& b : blocks)
                for (sal_Int32 c = b.c0; c <= b.r.c1; ++c) {
                    double v = std::numeric_limits<double>::quiet_NaN();
                    if (b.r0 + i <= b.r.r1) {
                        Value val = core_->cellValue(*b.sheet, c, b.r0 + i);
                        if (val.kind == Value::Number) v = val.number;
                    }
                    line.push_back(v);
                }
            out.emplace_back(std::move(line));
        }
        return Sequence<Sequence<double>>(std::move(out));
    }
    Sequence<OUString> getRowDescriptions() override {
        ChartNode& n = doc_.node(u"getRowDescriptions");
        std::vector<Block> blocks = layout(*core_, n);
        sal_Int32 rows = dataRows(blocks);
        std::vector<OUString> out;
        for (sal_Int32 i = 0; i < rows; ++i) {
            if (!n.rowHeaders)
                out.push_back(u"Row " + num(i + 1));
            else if (blocks[0].r0 + i <= blocks[0].r.r1)
                out.push_back(core_->shownText(*blocks[0].sheet, blocks[0].r.c0, blocks[0].r0 + i));
            else
                out.push_back(OUString());
        }
        return Sequence<OUString>(std::move(out));
    }
    Sequence<OUString> getColumnDescriptions() override {
        ChartNode& n = doc_.node(u"getColumnDescriptions");
        std::vector<OUString> out;
        for (auto& b : layout(*core_, n))
            for (sal_Int32 c = b.c0; c <= b.r.c1; ++c)
                out.push_back(n.columnHeaders ? core_->shownText(*b.sheet, c, b.r.r0)
                                              : u"Column " + num(sal_Int64(out.size()) + 1));
        return Sequence<OUString>(std::move(out));
    }

private:
    Reference<XInterface> keep_;
    CorePtr core_;
    NodeHolder& doc_;
};


// The title or the legend of a chart document.
class PartImpl : public cppu::WeakImplHelper<css::beans::XPropertySet> {
public:
    PartImpl(Reference<XInterface> keep, NodeHolder& doc, bool legend) : keep_(std::move(keep)), doc_(doc), legend_(legend) {}
    Reference<css::beans::XPropertySetInfo> getPropertySetInfo() override {
        if (legend_) return new InfoImpl({{u"Alignment", -1, cppu::UnoType<css::chart::ChartLegendPosition>::get(), 0}});
        return new InfoImpl({{u"String", -1, cppu::UnoType<OUString>::get(), 0}});
    }
    void setPropertyValue(const OUString& name, const Any& value) override {
        static const OUString op(u"setPropertyValue");
        ChartNode& n = doc_.node(op);
        if (legend_ && name == u"Alignment") {
            n.legendAlignment = checked<css::chart::ChartLegendPosition>(op, name, value);
        } else if (!legend_ && name == u"String") {
            n.title = checked<OUString>(op, name, value);
        } else {
            unknownProperty(op, name);
        }
    }
    Any getPropertyValue(const OUString& name) override {
        static const OUString op(u"getPropertyValue");
        ChartNode& n = doc_.node(op);
        if (legend_ && name == u"Alignment") return Any(static_cast<css::chart::ChartLegendPosition>(n.legendAlignment));
        if (!legend_ && name == u"String") return Any(n.title);
        unknownProperty(op, name);
    }

private:
    Reference<XInterface> keep_;  // keeps the chart document alive
    NodeHolder& doc_;
    bool legend_;
};

// The chart document embedded in a table chart: its settings, its diagram and its data.
class ChartDocumentImpl
    : public cppu::WeakImplHelper<css::chart::XChartDocument, css::beans::XPropertySet,
                                  css::lang::XMultiServiceFactory, css::lang::XServiceInfo>,
      public NodeHolder {
public:
    ChartDocumentImpl(CorePtr core, ChartNode* node) : NodeHolder(std::move(core), node) { node_->docObj = this; }
    ~ChartDocumentImpl() override {
        if (node_) node_->docObj = nullptr;
    }

    Reference<css::beans::XPropertySet> getTitle() override {
        node(u"getTitle");
        return new PartImpl(static_cast<css::chart::XChartDocument*>(this), *this, false);
    }
    Reference<css::beans::XPropertySet> getLegend() override {
        node(u"getLegend");
        return new PartImpl(static_cast<css::chart::XChartDocument*>(this), *this, true);
    }
    Reference<css::chart::XDiagram> getDiagram() override { return new DiagramImpl(node(u"getDiagram").diagram); }
    void setDiagram(const Reference<css::chart::XDiagram>& diagram) override {
        ChartNode& n = node(u"setDiagram");
        auto* d = dynamic_cast<DiagramImpl*>(diagram.get());
        if (!d) throw IllegalArgumentException(u"setDiagram: expected a diagram made by a chart document");
        n.diagram = d->state();
    }
    Reference<css::chart::XChartDataArray> getData() override {
        node(u"getData");
        return new DataArrayImpl(static_cast<css::chart::XChartDocument*>(this), core_, *this);
    }

    Reference<css::beans::XPropertySetInfo> getPropertySetInfo() override {
        return new InfoImpl({{u"HasMainTitle", -1, cppu::UnoType<bool>::get(), 0},
                             {u"HasLegend", -1, cppu::UnoType<bool>::get(), 0}});
    }
    void setPropertyValue(const OUString& name, const Any& value) override {
        static const OUString op(u"setPropertyValue");
        ChartNode& n = node(op);
        if (name == u"HasMainTitle") n.hasTitle = checked<bool>(op, name, value);
        else if (name == u"HasLegend") n.hasLegend = checked<bool>(op, name, value);
        else unknownProperty(op, name);
    }
    Any getPropertyValue(const OUString& name) override {
        static const OUString op(u"getPropertyValue");
        ChartNode& n = node(op);
        if (name == u"HasMainTitle") return Any(n.hasTitle);
        if (name == u"HasLegend") return Any(n.hasLegend);
        unknownProperty(op, name);
    }

    // A new, free-standing diagram; an empty reference for any other service.
    Reference<XInterface> createInstance(const OUString& service) override {
        node(u"createInstance");
        for (auto* d : kDiagrams)
            if (service == OUString(kDiagramPrefix) + d) {
                auto state = std::make_shared<ChartDiagram>();
                state->service = service;
                return static_cast<css::chart::XDiagram*>(new DiagramImpl(std::move(state)));
            }
        return {};
    }
    Reference<XInterface> createInstanceWithArguments(const OUString& service, const Sequence<Any>&) override {
        return createInstance(service);
    }
    Sequence<OUString> getAvailableServiceNames() override {
        std::vector<OUString> names;
        for (auto* d : kDiagrams) names.push_back(OUString(kDiagramPrefix) + d);
        return Sequence<OUString>(std::move(names));
    }

    OUString getImplementationName() override { return u"officehost.chart.ChartDocument"; }
    bool supportsService(const OUString& n) override { return n == u"com.qam.vexo.chart.ChartDocument"; }
    Sequence<OUString> getSupportedServiceNames() override { return {OUString(u"com.qam.vexo.chart.ChartDocument")}; }

};

Reference<css::chart::XChartDocument> documentObject(const CorePtr& core, ChartNode* n) {
    if (n->docObj) return static_cast<ChartDocumentImpl*>(n->docObj);
    return new ChartDocumentImpl(core, n);
}

// Checks blocks for a chart: each on a sheet of the document and within it.
std::vector<std::unique_ptr<Anchor>> anchorsFor(Core& core, const Sequence<CellRangeAddress>& ranges, const OUString& op) {
    std::vector<std::unique_ptr<Anchor>> out;
    for (const CellRangeAddress& a : ranges) {
        if (a.Sheet < 0 || a.Sheet >= static_cast<sal_Int32>(core.sheets.size()))
            throw IllegalArgumentException(op + u": there is no sheet " + num(a.Sheet));
        if (a.StartColumn < 0 || a.StartRow < 0 || a.EndColumn < a.StartColumn || a.EndRow < a.StartRow ||
            a.EndColumn >= kMaxColumns || a.EndRow >= kMaxRows)
            throw IllegalArgumentException(op + u": a data block does not lie within its sheet");
        out.push_back(std::make_unique<Anchor>(core, core.sheets[a.Sheet].get(),
                                               Rect{a.StartColumn, a.StartRow, a.EndColumn, a.EndRow}));
    }
    return out;
}

// A chart on a sheet, as its sheet's collection presents it.
class TableChartImpl
    : public cppu::WeakImplHelper<css::table::XTableChart, css::container::XNamed, css::document::XEmbeddedObjectSupplier,
                                  css::beans::XPropertySet, css::lang::XServiceInfo>,
      public NodeHolder {
public:
    TableChartImpl(CorePtr core, ChartNode* node, Sheet* sheet)
        : NodeHolder(std::move(core), node), sheet_(*core_, sheet, Rect{0, 0, kMaxColumns - 1, kMaxRows - 1}) {
        sheet_.wholeSheet = true;
        node_->obj = this;
    }
    ~TableChartImpl() override {
        if (node_) node_->obj = nullptr;
    }

    bool getHasColumnHeaders() override { return node(u"getHasColumnHeaders").columnHeaders; }
    void setHasColumnHeaders(bool has) override { node(u"setHasColumnHeaders").columnHeaders = has; }
    bool getHasRowHeaders() override { return node(u"getHasRowHeaders").rowHeaders; }
    void setHasRowHeaders(bool has) override { node(u"setHasRowHeaders").rowHeaders = has; }
    Sequence<CellRangeAddress> getRanges() override {
        std::vector<CellRangeAddress> out;
        for (auto& a : node(u"getRanges").ranges)
            if (a->sheet)
                out.push_back({static_cast<sal_Int16>(a->sheet->index), a->rect.c0, a->rect.r0, a->rect.c1, a->rect.r1});
        return Sequence<CellRangeAddress>(std::move(out));
    }
    void setRanges(const Sequence<CellRangeAddress>& ranges) override {
        static const OUString op(u"setRanges");
        ChartNode& n = node(op);
        if (ranges.getLength() == 0) throw IllegalArgumentException(op + u": a chart needs at least one data block");
        n.ranges = anchorsFor(*core_, ranges, op);
    }

    OUString getName() override { return node(u"getName").name; }
    void setName(const OUString& name) override {
        static const OUString op(u"setName");
        ChartNode& n = node(op);
        if (name.isEmpty()) throw IllegalArgumentException(op + u": a chart name must not be empty");
        if (name == n.name) return;
        for (auto& c : sheet_.sheet->charts)
            if (c->name == name) throw css::container::ElementExistException(op + u": a chart named " + name + u" already exists");
        n.name = name;
    }

    Reference<XInterface> getEmbeddedObject() override {
        return Reference<XInterface>(documentObject(core_, &node(u"getEmbeddedObject")));
    }

    Reference<css::beans::XPropertySetInfo> getPropertySetInfo() override {
        return new InfoImpl({{u"Area", -1, cppu::UnoType<css::awt::Rectangle>::get(), css::beans::PropertyAttribute::READONLY}});
    }
    void setPropertyValue(const OUString& name, const Any&) override {
        node(u"setPropertyValue");
        if (name == u"Area") throw css::beans::PropertyVetoException(u"setPropertyValue: property Area is read-only");
        unknownProperty(u"setPropertyValue", name);
    }
    Any getPropertyValue(const OUString& name) override {
        ChartNode& n = node(u"getPropertyValue");
        if (name == u"Area") return Any(css::awt::Rectangle{n.x, n.y, n.width, n.height});
        unknownProperty(u"getPropertyValue", name);
    }

    OUString getImplementationName() override { return u"officehost.chart.TableChart"; }
    bool supportsService(const OUString& n) override { return n == u"com.qam.vexo.table.TableChart"; }
    Sequence<OUString> getSupportedServiceNames() override { return {OUString(u"com.qam.vexo.table.TableChart")}; }

private:
    Anchor sheet_;  // the sheet that holds the chart
};

Reference<css::table::XTableChart> chartObject(const CorePtr& core, ChartNode* n, Sheet* s) {
    if (n->obj) return static_cast<TableChartImpl*>(n->obj);
    return new TableChartImpl(core, n, s);
}

// The charts of one sheet, by name (exactly) and in insertion order.
class TableChartsImpl
    : public cppu::WeakImplHelper<css::table::XTableCharts, css::container::XIndexAccess, css::lang::XServiceInfo> {
public:
    TableChartsImpl(const CorePtr& core, Sheet* sheet)
        : core_(core), anchor_(*core, sheet, Rect{0, 0, kMaxColumns - 1, kMaxRows - 1}) {
        anchor_.wholeSheet = true;
    }

    void addNewByName(const OUString& name, const css::awt::Rectangle& rect, const Sequence<CellRangeAddress>& ranges,
                      bool columnHeaders, bool rowHeaders) override {
        static const OUString op(u"addNewByName");
        Sheet& s = sheet(op);
        if (name.isEmpty()) throw IllegalArgumentException(op + u": a chart name must not be empty");
        if (find(s, name))
            throw css::container::ElementExistException(op + u": a chart named " + name + u" already exists");
        if (rect.Width < 0 || rect.Height < 0)
            throw IllegalArgumentException(op + u": a chart's width and height must not be negative");
        if (ranges.getLength() == 0) throw IllegalArgumentException(op + u": a chart needs at least one data block");
        auto n = std::make_unique<ChartNode>();
        n->ranges = anchorsFor(*core_, ranges, op);
        n->name = name;
        n->x = rect.X;
        n->y = rect.Y;
        n->width = rect.Width;
        n->height = rect.Height;
        n->columnHeaders = columnHeaders;
        n->rowHeaders = rowHeaders;
        n->diagram = std::make_shared<ChartDiagram>();
        n->diagram->service = u"com.qam.vexo.chart.BarDiagram";
        s.charts.push_back(std::move(n));
    }
    void removeByName(const OUString& name) override {
        static const OUString op(u"removeByName");
        Sheet& s = sheet(op);
        auto it = std::find_if(s.charts.begin(), s.charts.end(), [&](const auto& c) { return c->name == name; });
        if (it == s.charts.end()) throw css::container::NoSuchElementException(op + u": there is no chart named " + name);
        if ((*it)->obj) (*it)->obj->nodeGone();
        if ((*it)->docObj) (*it)->docObj->nodeGone();
        s.charts.erase(it);
    }

    Any getByName(const OUString& name) override {
        Sheet& s = sheet(u"getByName");
        ChartNode* n = find(s, name);
        if (!n) throw css::container::NoSuchElementException(u"getByName: there is no chart named " + name);
        return Any(chartObject(core_, n, &s));
    }
    Sequence<OUString> getElementNames() override {
        std::vector<OUString> names;
        for (auto& c : sheet(u"getElementNames").charts) names.push_back(c->name);
        return Sequence<OUString>(std::move(names));
    }
    bool hasByName(const OUString& name) override { return find(sheet(u"hasByName"), name) != nullptr; }
    sal_Int32 getCount() override { return static_cast<sal_Int32>(sheet(u"getCount").charts.size()); }
    Any getByIndex(sal_Int32 index) override {
        Sheet& s = sheet(u"getByIndex");
        if (index < 0 || index >= static_cast<sal_Int32>(s.charts.size()))
            throw IndexOutOfBoundsException(u"getByIndex: there is no chart " + num(index));
        return Any(chartObject(core_, s.charts[index].get(), &s));
    }
    Type getElementType() override { return cppu::UnoType<css::table::XTableChart>::get(); }
    bool hasElements() override { return getCount() > 0; }

    OUString getImplementationName() override { return u"officehost.chart.TableCharts"; }
    bool supportsService(const OUString& n) override { return n == u"com.qam.vexo.table.TableCharts"; }
    Sequence<OUString> getSupportedServiceNames() override { return {OUString(u"com.qam.vexo.table.TableCharts")}; }

private:
    Sheet& sheet(const OUString& op) {
        checkAlive(*core_, op);
        if (!anchor_.sheet) gone(op);
        return *anchor_.sheet;
    }
    static ChartNode* find(Sheet& s, const OUString& name) {
        for (auto& c : s.charts)
            if (c->name == name) return c.get();
        return nullptr;
    }
    CorePtr core_;
    Anchor anchor_;
};

} // namespace

Reference<css::table::XTableCharts> tableChartsObject(const CorePtr& core, Sheet* sheet) {
    return new TableChartsImpl(core, sheet);
}

} // namespace officehost::sheet
