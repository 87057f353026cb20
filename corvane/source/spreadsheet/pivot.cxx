// The pivot table wrapper: a host data pilot table found again by name in its
// sheet's collection on every call; row and column groups, values and filters
// set on the field of a 1-based source column, each followed by a refresh.

#include "spreadsheet.hxx"

#include <cppu/implbase.hxx>

namespace corvane::detail {

namespace css = ::com::qam::vexo;
using ::zel::uno::Any;
using ::zel::uno::Reference;
using ::zel::uno::RuntimeException;
using ::zel::uno::UNO_QUERY_THROW;

namespace {

struct Function {
    const char16_t* name;
    css::sheet::GeneralFunction value;
};
constexpr Function FUNCTIONS[] = {
    {u"sum", css::sheet::GeneralFunction_SUM},         {u"counta", css::sheet::GeneralFunction_COUNT},
    {u"count", css::sheet::GeneralFunction_COUNTNUMS}, {u"average", css::sheet::GeneralFunction_AVERAGE},
    {u"max", css::sheet::GeneralFunction_MAX},         {u"min", css::sheet::GeneralFunction_MIN},
    {u"product", css::sheet::GeneralFunction_PRODUCT}, {u"stdev", css::sheet::GeneralFunction_STDEV},
    {u"stdevp", css::sheet::GeneralFunction_STDEVP},   {u"var", css::sheet::GeneralFunction_VAR},
    {u"varp", css::sheet::GeneralFunction_VARP},
};

// The column message names the operation itself: it passes the wrapping unchanged.
struct ColumnError {
    OUString message;
};

class PivotTableImpl : public cppu::WeakImplHelper<XPivotTable> {
public:
    PivotTableImpl(const Reference<css::sheet::XDataPilotTables>& tables, const OUString& name)
        : tables_(tables), name_(name) {}

    Reference<::zel::uno::XInterface> getuno() override { return liveTable(); }
    OUString getName() override { return name_; }

    Reference<XPivotTable> addRowGroup(sal_Int32 column) override {
        orient(column, css::sheet::DataPilotFieldOrientation_ROW, u"addRowGroup");
        return this;
    }
    Reference<XPivotTable> addColumnGroup(sal_Int32 column) override {
        orient(column, css::sheet::DataPilotFieldOrientation_COLUMN, u"addColumnGroup");
        return this;
    }
    Reference<XPivotTable> addPivotValue(sal_Int32 column, const OUString& function) override {
        const OUString lower = function.toAsciiLowerCase();
        const Function* found = nullptr;
        for (const auto& f : FUNCTIONS)
            if (lower == f.name) found = &f;
        if (!found)
            throw RuntimeException(
                u"addPivotValue: expected sum, counta, count, average, max, min, product, stdev, stdevp, var or varp, got " +
                function);
        fieldOperation(u"addPivotValue", [&] {
            Reference<css::beans::XPropertySet> field = fieldProperties(column, u"addPivotValue");
            field->setPropertyValue(u"Orientation", Any(css::sheet::DataPilotFieldOrientation_DATA));
            field->setPropertyValue(u"Function", Any(found->value));
            liveTable()->refresh();
        });
        return this;
    }
    Reference<XPivotTable> addFilter(sal_Int32 column, const OUString& value) override {
        fieldOperation(u"addFilter", [&] {
            Reference<css::beans::XPropertySet> field = fieldProperties(column, u"addFilter");
            field->setPropertyValue(u"Orientation", Any(css::sheet::DataPilotFieldOrientation_PAGE));
            field->setPropertyValue(u"SelectedPage", Any(value));
            field->setPropertyValue(u"UseSelectedPage", Any(true));
            liveTable()->refresh();
        });
        return this;
    }
    void remove() override {
        wrapped(u"remove", [&] { tables_->removeByName(name_); });
    }

private:
    Reference<css::sheet::XDataPilotTable> liveTable() {
        if (!tables_->hasByName(name_))
            throw RuntimeException(u"the pivot table " + name_ + u" is no longer on its sheet");
        return Reference<css::sheet::XDataPilotTable>(tables_->getByName(name_), UNO_QUERY_THROW);
    }

    Reference<css::beans::XPropertySet> fieldProperties(sal_Int32 column, const char16_t* operation) {
        Reference<css::sheet::XDataPilotDescriptor> descriptor(liveTable(), UNO_QUERY_THROW);
        const css::table::CellRangeAddress source = descriptor->getSourceRange();
        const sal_Int64 width = sal_Int64(source.EndColumn) - source.StartColumn + 1;
        if (column < 1 || column > width)
            throw ColumnError{OUString(std::u16string_view(operation)) + u": expected a source column between 1 and " +
                              OUString::number(static_cast<long long>(width)) + u", got " +
                              OUString::number(static_cast<long long>(column))};
        return Reference<css::beans::XPropertySet>(descriptor->getDataPilotFields()->getByIndex(column - 1),
                                                   UNO_QUERY_THROW);
    }

    // Runs f: host failures become "<operation>: <message>", the column message stays as it is.
    template <class F>
    void fieldOperation(const char16_t* operation, F f) {
        try {
            wrapped(operation, f);
        } catch (const ColumnError& e) {
            throw RuntimeException(e.message);
        }
    }

    void orient(sal_Int32 column, css::sheet::DataPilotFieldOrientation orientation, const char16_t* operation) {
        fieldOperation(operation, [&] {
            fieldProperties(column, operation)->setPropertyValue(u"Orientation", Any(orientation));
            liveTable()->refresh();
        });
    }

    const Reference<css::sheet::XDataPilotTables> tables_;
    const OUString name_;
};

} // namespace

Reference<XPivotTable> createPivotTable(const Reference<css::sheet::XDataPilotTables>& tables, const OUString& name) {
    return new PivotTableImpl(tables, name);
}

} // namespace corvane::detail
