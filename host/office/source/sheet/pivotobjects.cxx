// The interface objects of data pilot tables: a sheet's collection, the
// descriptor a table is made from, the tables and their fields.  A table is
// presented by one object at a time; after removal (of it or its sheet) its
// object raises lang::DisposedException.

#include "sheetobjects.hxx"

#include <com/qam/vexo/lang/exceptions.hxx>
#include <com/qam/vexo/sheet/datapilot.hxx>
#include <cppu/implbase.hxx>

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

// What fields reach their settings through: a descriptor or a table.
class SpecHolder {
public:
    virtual PivotDefinition& definition(const OUString& op) = 0;
    virtual XInterface* holder() = 0;

protected:
    ~SpecHolder() = default;
};

class FieldImpl : public cppu::WeakImplHelper<css::beans::XPropertySet> {
public:
    FieldImpl(CorePtr core, SpecHolder& holder, std::size_t index)
        : core_(std::move(core)), keep_(holder.holder()), holder_(holder), index_(index) {}

    Reference<css::beans::XPropertySetInfo> getPropertySetInfo() override { return {}; }
    void setPropertyValue(const OUString& name, const Any& value) override {
        static const OUString op(u"setPropertyValue");
        PivotDefinition& definition = holder_.definition(op);
        PivotField& f = field(definition, op);
        if (name == u"Orientation") {
            css::sheet::DataPilotFieldOrientation o;
            if (!(value >>= o)) wrongType(op, name, cppu::UnoType<css::sheet::DataPilotFieldOrientation>::get(), value);
            if (f.orientation != o) f.order = definition.nextOrder++;
            f.orientation = o;
        } else if (name == u"Function") {
            css::sheet::GeneralFunction g;
            if (!(value >>= g)) wrongType(op, name, cppu::UnoType<css::sheet::GeneralFunction>::get(), value);
            f.function = g;
        } else if (name == u"SelectedPage") {
            if (!(value >>= f.selectedPage)) wrongType(op, name, cppu::UnoType<OUString>::get(), value);
        } else if (name == u"UseSelectedPage") {
            if (!(value >>= f.useSelectedPage)) wrongType(op, name, cppu::UnoType<bool>::get(), value);
        } else {
            throw css::beans::UnknownPropertyException(op + u": unknown property " + name);
        }
    }
    Any getPropertyValue(const OUString& name) override {
        static const OUString op(u"getPropertyValue");
        PivotDefinition& definition = holder_.definition(op);
        PivotField& f = field(definition, op);
        if (name == u"Orientation") return Any(static_cast<css::sheet::DataPilotFieldOrientation>(f.orientation));
        if (name == u"Function") return Any(static_cast<css::sheet::GeneralFunction>(f.function));
        if (name == u"SelectedPage") return Any(f.selectedPage);
        if (name == u"UseSelectedPage") return Any(f.useSelectedPage);
        throw css::beans::UnknownPropertyException(op + u": unknown property " + name);
    }

private:
    [[noreturn]] static void wrongType(const OUString& op, const OUString& name, const Type& type, const Any& value) {
        throw IllegalArgumentException(op + u": property " + name + u" takes a value of type " + type.getTypeName() +
                                       u", got " + (value.hasValue() ? value.getValueTypeName() : OUString(u"void")));
    }
    PivotField& field(PivotDefinition& definition, const OUString& op) {
        auto& fields = definition.current();
        if (index_ >= fields.size()) gone(op);  // its source column was deleted
        return fields[index_];
    }
    CorePtr core_;
    Reference<XInterface> keep_;  // keeps the holder alive
    SpecHolder& holder_;
    std::size_t index_;
};

class FieldsImpl : public cppu::WeakImplHelper<css::container::XIndexAccess> {
public:
    FieldsImpl(CorePtr core, SpecHolder& holder) : core_(std::move(core)), keep_(holder.holder()), holder_(holder) {}
    sal_Int32 getCount() override { return static_cast<sal_Int32>(holder_.definition(u"getCount").current().size()); }
    Any getByIndex(sal_Int32 index) override {
        if (index < 0 || index >= getCount())
            throw IndexOutOfBoundsException(u"getByIndex: there is no field " + num(index) + u" of " + num(getCount()));
        return Any(Reference<css::beans::XPropertySet>(new FieldImpl(core_, holder_, std::size_t(index))));
    }
    Type getElementType() override { return cppu::UnoType<css::beans::XPropertySet>::get(); }
    bool hasElements() override { return getCount() > 0; }

private:
    CorePtr core_;
    Reference<XInterface> keep_;
    SpecHolder& holder_;
};

CellRangeAddress addressOf(const Anchor& a) {
    return {static_cast<sal_Int16>(a.sheet->index), a.rect.c0, a.rect.r0, a.rect.c1, a.rect.r1};
}

void setSource(Core& core, PivotDefinition& definition, const CellRangeAddress& a, const OUString& op) {
    if (a.Sheet < 0 || a.Sheet >= static_cast<sal_Int32>(core.sheets.size()))
        throw IllegalArgumentException(op + u": there is no sheet " + num(a.Sheet));
    if (a.StartColumn < 0 || a.StartRow < 0 || a.EndColumn < a.StartColumn || a.EndRow < a.StartRow ||
        a.EndColumn >= kMaxColumns || a.EndRow >= kMaxRows)
        throw IllegalArgumentException(op + u": the source block does not lie within its sheet");
    definition.source = std::make_unique<Anchor>(core, core.sheets[a.Sheet].get(),
                                           Rect{a.StartColumn, a.StartRow, a.EndColumn, a.EndRow});
    definition.fields.clear();
    definition.current();
}

// A descriptor not yet made into a table: it holds its own settings.
class DescriptorImpl : public cppu::WeakImplHelper<css::sheet::XDataPilotDescriptor>, public SpecHolder {
public:
    explicit DescriptorImpl(CorePtr core) : core_(std::move(core)) {}
    PivotDefinition& definition(const OUString& op) override {
        checkAlive(*core_, op);
        return spec_;
    }
    XInterface* holder() override { return static_cast<css::sheet::XDataPilotDescriptor*>(this); }

    OUString getName() override { return name_; }
    void setName(const OUString& name) override { name_ = name; }
    CellRangeAddress getSourceRange() override {
        if (!spec_.source || !spec_.source->sheet) return {};
        return addressOf(*spec_.source);
    }
    void setSourceRange(const CellRangeAddress& a) override { setSource(*core_, definition(u"setSourceRange"), a, u"setSourceRange"); }
    Reference<css::container::XIndexAccess> getDataPilotFields() override { return new FieldsImpl(core_, *this); }

    PivotDefinition& own() { return spec_; }
    const CorePtr& core() const { return core_; }

private:
    CorePtr core_;
    OUString name_;
    PivotDefinition spec_;
};

class DataPilotTableImpl
    : public cppu::WeakImplHelper<css::sheet::XDataPilotTable, css::sheet::XDataPilotDescriptor, css::lang::XServiceInfo>,
      public SpecHolder,
      public Linked {
public:
    DataPilotTableImpl(CorePtr core, PivotTable* table) : core_(std::move(core)), table_(table) { table_->obj = this; }
    ~DataPilotTableImpl() override {
        if (table_) table_->obj = nullptr;
    }
    void nodeGone() override { table_ = nullptr; }
    PivotDefinition& definition(const OUString& op) override { return table(op).definition; }
    XInterface* holder() override { return static_cast<css::sheet::XDataPilotTable*>(this); }

    CellRangeAddress getOutputRange() override {
        PivotTable& t = table(u"getOutputRange");
        if (t.output && t.output->sheet) return addressOf(*t.output);
        if (!t.position->sheet) gone(u"getOutputRange");
        return addressOf(*t.position);
    }
    void refresh() override { refreshPivot(*core_, table(u"refresh"), u"refresh"); }

    OUString getName() override { return table(u"getName").name; }
    void setName(const OUString&) override {
        throw ::zel::uno::RuntimeException(u"setName: a data pilot table keeps the name it was inserted under");
    }
    CellRangeAddress getSourceRange() override {
        PivotTable& t = table(u"getSourceRange");
        if (!t.definition.source || !t.definition.source->sheet) gone(u"getSourceRange");
        return addressOf(*t.definition.source);
    }
    void setSourceRange(const CellRangeAddress& a) override {
        setSource(*core_, table(u"setSourceRange").definition, a, u"setSourceRange");
    }
    Reference<css::container::XIndexAccess> getDataPilotFields() override {
        table(u"getDataPilotFields");
        return new FieldsImpl(core_, *this);
    }

    OUString getImplementationName() override { return u"officehost.sheet.DataPilotTable"; }
    bool supportsService(const OUString& n) override { return n == u"com.qam.vexo.sheet.DataPilotTable"; }
    Sequence<OUString> getSupportedServiceNames() override { return {OUString(u"com.qam.vexo.sheet.DataPilotTable")}; }

private:
    PivotTable& table(const OUString& op) {
        checkAlive(*core_, op);
        if (!table_) gone(op);
        return *table_;
    }
    CorePtr core_;
    PivotTable* table_;
};

Reference<css::sheet::XDataPilotTable> tableObject(const CorePtr& core, PivotTable* t) {
    if (t->obj) return static_cast<DataPilotTableImpl*>(t->obj);
    return new DataPilotTableImpl(core, t);
}

// The data pilot tables of one sheet, by name (exactly) and in insertion order.
class DataPilotTablesImpl
    : public cppu::WeakImplHelper<css::sheet::XDataPilotTables, css::container::XIndexAccess, css::lang::XServiceInfo> {
public:
    DataPilotTablesImpl(const CorePtr& core, Sheet* sheet)
        : core_(core), anchor_(*core, sheet, Rect{0, 0, kMaxColumns - 1, kMaxRows - 1}) {
        anchor_.wholeSheet = true;
    }

    Reference<css::sheet::XDataPilotDescriptor> createDataPilotDescriptor() override {
        sheet(u"createDataPilotDescriptor");
        return new DescriptorImpl(core_);
    }
    void insertNewByName(const OUString& name, const css::table::CellAddress& position,
                         const Reference<css::sheet::XDataPilotDescriptor>& descriptor) override {
        static const OUString op(u"insertNewByName");
        Sheet& s = sheet(op);
        if (name.isEmpty()) throw IllegalArgumentException(op + u": a table name must not be empty");
        if (find(s, name)) throw css::container::ElementExistException(op + u": a table named " + name + u" already exists");
        if (position.Sheet != s.index)
            throw IllegalArgumentException(op + u": the position must lie on the sheet of the collection");
        if (position.Column < 0 || position.Column >= kMaxColumns || position.Row < 0 || position.Row >= kMaxRows)
            throw IllegalArgumentException(op + u": the position lies outside the sheet");
        auto* d = dynamic_cast<DescriptorImpl*>(descriptor.get());
        if (!d || d->core() != core_) throw IllegalArgumentException(op + u": expected a descriptor of this collection");
        PivotDefinition& from = d->own();
        if (!from.source || !from.source->sheet) throw IllegalArgumentException(op + u": the descriptor has no source range");
        auto t = std::make_unique<PivotTable>();
        t->name = name;
        t->definition.source = std::make_unique<Anchor>(*core_, from.source->sheet, from.source->rect);
        t->definition.fields = from.current();
        t->definition.nextOrder = from.nextOrder;
        t->position = std::make_unique<Anchor>(*core_, &s, Rect{position.Column, position.Row, position.Column, position.Row});
        refreshPivot(*core_, *t, op);  // refused output leaves no table behind
        s.pivots.push_back(std::move(t));
    }
    void removeByName(const OUString& name) override {
        static const OUString op(u"removeByName");
        Sheet& s = sheet(op);
        auto it = std::find_if(s.pivots.begin(), s.pivots.end(), [&](const auto& p) { return p->name == name; });
        if (it == s.pivots.end()) throw css::container::NoSuchElementException(op + u": there is no table named " + name);
        clearPivotOutput(*core_, **it);
        if ((*it)->obj) (*it)->obj->nodeGone();
        s.pivots.erase(it);
    }

    Any getByName(const OUString& name) override {
        PivotTable* t = find(sheet(u"getByName"), name);
        if (!t) throw css::container::NoSuchElementException(u"getByName: there is no table named " + name);
        return Any(tableObject(core_, t));
    }
    Sequence<OUString> getElementNames() override {
        std::vector<OUString> names;
        for (auto& p : sheet(u"getElementNames").pivots) names.push_back(p->name);
        return Sequence<OUString>(std::move(names));
    }
    bool hasByName(const OUString& name) override { return find(sheet(u"hasByName"), name) != nullptr; }
    sal_Int32 getCount() override { return static_cast<sal_Int32>(sheet(u"getCount").pivots.size()); }
    Any getByIndex(sal_Int32 index) override {
        Sheet& s = sheet(u"getByIndex");
        if (index < 0 || index >= static_cast<sal_Int32>(s.pivots.size()))
            throw IndexOutOfBoundsException(u"getByIndex: there is no table " + num(index));
        return Any(tableObject(core_, s.pivots[index].get()));
    }
    Type getElementType() override { return cppu::UnoType<css::sheet::XDataPilotTable>::get(); }
    bool hasElements() override { return getCount() > 0; }

    OUString getImplementationName() override { return u"officehost.sheet.DataPilotTables"; }
    bool supportsService(const OUString& n) override { return n == u"com.qam.vexo.sheet.DataPilotTables"; }
    Sequence<OUString> getSupportedServiceNames() override { return {OUString(u"com.qam.vexo.sheet.DataPilotTables")}; }

private:
    Sheet& sheet(const OUString& op) {
        checkAlive(*core_, op);
        if (!anchor_.sheet) gone(op);
        return *anchor_.sheet;
    }
    static PivotTable* find(Sheet& s, const OUString& name) {
        for (auto& p : s.pivots)
            if (p->name == name) return p.get();
        return nullptr;
    }
    CorePtr core_;
    Anchor anchor_;
};

} // namespace

Reference<css::sheet::XDataPilotTables> dataPilotTablesObject(const CorePtr& core, Sheet* sheet) {
    return new DataPilotTablesImpl(core, sheet);
}

} // namespace officehost::sheet
