// The range wrapper: where a block is, its values, moving to a neighbouring
// block, and formatting.  One host call per cell; nothing is cached.

#include "spreadsheet.hxx"

#include "units.hxx"

#include <com/qam/vexo/awt/font.hxx>
#include <com/qam/vexo/text/text.hxx>
#include <com/qam/vexo/util/numberformats.hxx>
#include <cppu/implbase.hxx>

#include <limits>

namespace corvane::detail {

namespace css = ::com::qam::vexo;
using css::frame::XModel;
using css::table::CellRangeAddress;
using css::table::XCellRange;
using ::zel::uno::Any;
using ::zel::uno::Reference;
using ::zel::uno::RuntimeException;
using ::zel::uno::Sequence;
using ::zel::uno::TypeClass;
using ::zel::uno::UNO_QUERY;
using ::zel::uno::UNO_QUERY_THROW;

namespace {

constexpr char16_t NOT_A_VALUE[] = u"expected a number, string or boolean";

// The kinds of values a cell takes: void, boolean, the numbers up to 32 bits,
// float and double, and strings.  64-bit integers are refused: a double cannot
// hold all of them.
bool isCellValue(const Any& value) {
    switch (value.getValueTypeClass()) {
    case ::zel::uno::TypeClass_VOID:
    case ::zel::uno::TypeClass_BOOLEAN:
    case ::zel::uno::TypeClass_BYTE:
    case ::zel::uno::TypeClass_SHORT:
    case ::zel::uno::TypeClass_UNSIGNED_SHORT:
    case ::zel::uno::TypeClass_LONG:
    case ::zel::uno::TypeClass_UNSIGNED_LONG:
    case ::zel::uno::TypeClass_FLOAT:
    case ::zel::uno::TypeClass_DOUBLE:
    case ::zel::uno::TypeClass_STRING: return true;
    default: return false;
    }
}

OUString cellText(const Reference<css::table::XCell>& cell) {
    return Reference<css::text::XText>(cell, UNO_QUERY_THROW)->getString();
}

} // namespace

Any cellValue(const Reference<css::table::XCell>& cell) {
    switch (cell->getType()) {
    case css::table::CellContentType::TEXT: return Any(cellText(cell));
    case css::table::CellContentType::EMPTY: return Any();
    case css::table::CellContentType::FORMULA: {
        Reference<css::beans::XPropertySet> props(cell, UNO_QUERY_THROW);
        Any result = props->getPropertyValue(u"FormulaResultType2");
        sal_Int32 kind = 0;
        const TypeClass tc = result.getValueTypeClass();
        const bool integer = tc == ::zel::uno::TypeClass_BYTE || tc == ::zel::uno::TypeClass_SHORT ||
                             tc == ::zel::uno::TypeClass_UNSIGNED_SHORT || tc == ::zel::uno::TypeClass_LONG ||
                             tc == ::zel::uno::TypeClass_UNSIGNED_LONG;
        if (integer && (result >>= kind) &&
            (kind == css::sheet::FormulaResult::STRING || kind == css::sheet::FormulaResult::ERROR))
            return Any(cellText(cell));
        break;
    }
    default: break;
    }
    return Any(cell->getValue());
}

void setCellValue(const Reference<css::table::XCell>& cell, const Any& value) {
    switch (value.getValueTypeClass()) {
    case ::zel::uno::TypeClass_BOOLEAN: cell->setValue(value.get<bool>() ? 1.0 : 0.0); return;
    case ::zel::uno::TypeClass_STRING: cell->setFormula(value.get<OUString>()); return;
    case ::zel::uno::TypeClass_VOID: cell->setFormula(OUString()); return;
    default:
        if (!isCellValue(value)) throw RuntimeException(NOT_A_VALUE);
        cell->setValue(value.get<double>());
    }
}

namespace {

OUString num(sal_Int64 n) { return OUString::number(static_cast<long long>(n)); }

class RangeImpl : public cppu::WeakImplHelper<XRange> {
public:
    RangeImpl(const Reference<XModel>& model, const Reference<XCellRange>& range) : model_(model), range_(range) {}

    Reference<::zel::uno::XInterface> getuno() override { return range_; }

    sal_Int32 getRow() override { return address().StartRow + 1; }
    sal_Int32 getColumn() override { return address().StartColumn + 1; }
    sal_Int32 getNumRows() override {
        const CellRangeAddress a = address();
        return a.EndRow - a.StartRow + 1;
    }
    sal_Int32 getNumColumns() override {
        const CellRangeAddress a = address();
        return a.EndColumn - a.StartColumn + 1;
    }

    Any getValue() override { return wrapped(u"getValue", [&] { return cellValue(range_->getCellByPosition(0, 0)); }); }

    Reference<XRange> setValue(const Any& value) override {
        wrapped(u"setValue", [&] {
            const CellRangeAddress a = address();
            const sal_Int32 rows = a.EndRow - a.StartRow + 1, columns = a.EndColumn - a.StartColumn + 1;
            for (sal_Int32 r = 0; r < rows; ++r)
                for (sal_Int32 c = 0; c < columns; ++c) setCellValue(range_->getCellByPosition(c, r), value);
        });
        return this;
    }

    Sequence<Sequence<Any>> getValues() override {
        return wrapped(u"getValues", [&] {
            const CellRangeAddress a = address();
            const sal_Int64 rows = sal_Int64(a.EndRow) - a.StartRow + 1;
            const sal_Int64 columns = sal_Int64(a.EndColumn) - a.StartColumn + 1;
            constexpr sal_Int64 limit = std::numeric_limits<sal_Int32>::max();
            if (rows * columns > limit)
                throw RuntimeException(u"the range has " + num(rows * columns) + u" cells, more than the " + num(limit) +
                                       u" a sequence can hold");
            Sequence<Sequence<Any>> out(static_cast<sal_Int32>(rows));
            Sequence<Any>* outRows = out.getArray();
            for (sal_Int32 r = 0; r < rows; ++r) {
                Sequence<Any> row(static_cast<sal_Int32>(columns));
                Any* cells = row.getArray();
                for (sal_Int32 c = 0; c < columns; ++c) cells[c] = cellValue(range_->getCellByPosition(c, r));
                outRows[r] = std::move(row);
            }
            return out;
        });
    }

    Reference<XRange> setValues(const Sequence<Sequence<Any>>& values) override {
        const CellRangeAddress a = address();
        const sal_Int32 rows = a.EndRow - a.StartRow + 1, columns = a.EndColumn - a.StartColumn + 1;
        if (values.getLength() != rows)
            throw RuntimeException(u"setValues: expected " + num(rows) + u" rows to match the range, got " +
                                   num(values.getLength()));
        for (sal_Int32 r = 0; r < rows; ++r) {
            const Sequence<Any>& row = values[r];
            if (row.getLength() != columns)
                throw RuntimeException(u"setValues: expected " + num(columns) + u" columns to match the range, got " +
                                       num(row.getLength()));
            for (sal_Int32 c = 0; c < columns; ++c)
                if (!isCellValue(row[c]))
                    throw RuntimeException(u"setValues: expected a number, string or boolean at row " + num(r + 1) +
                                           u", column " + num(c + 1));
        }
        wrapped(u"setValues", [&] {
            for (sal_Int32 r = 0; r < rows; ++r) {
                const Any* row = values[r].getConstArray();
                for (sal_Int32 c = 0; c < columns; ++c) setCellValue(range_->getCellByPosition(c, r), row[c]);
            }
        });
        return this;
    }

    Reference<XRange> offset(sal_Int32 rowOffset, sal_Int32 columnOffset, sal_Int32 numRows, sal_Int32 numColumns) override {
        const CellRangeAddress a = address();
        Reference<css::container::XIndexAccess> sheets(documentSheets(model_), UNO_QUERY_THROW);
        Reference<css::sheet::XSpreadsheet> sheet(sheets->getByIndex(a.Sheet), UNO_QUERY);
        return rangeAt(model_, sheet, sal_Int64(a.StartRow) + 1 + rowOffset, sal_Int64(a.StartColumn) + 1 + columnOffset,
                       numRows, numColumns);
    }

    Reference<XRange> setBackgroundColor(const OUString& color) override {
        return setColor(u"CellBackColor", color);
    }
    Reference<XRange> setFontColor(const OUString& color) override { return setColor(u"CharColor", color); }

    Reference<XRange> setFontWeight(const OUString& weight) override {
        float value;
        if (weight == u"bold") value = css::awt::FontWeight::BOLD;
        else if (weight == u"normal") value = css::awt::FontWeight::NORMAL;
        else throw RuntimeException(u"setFontWeight: expected \"bold\" or \"normal\", got " + weight);
        Reference<css::beans::XPropertySet>(range_, UNO_QUERY_THROW)->setPropertyValue(u"CharWeight", Any(value));
        return this;
    }

    Reference<XRange> setFontStyle(const OUString& style) override {
        css::awt::FontSlant slant;
        if (style == u"italic") slant = css::awt::FontSlant_ITALIC;
        else if (style == u"normal") slant = css::awt::FontSlant_NONE;
        else throw RuntimeException(u"setFontStyle: expected \"italic\" or \"normal\", got " + style);
        Reference<css::beans::XPropertySet>(range_, UNO_QUERY_THROW)->setPropertyValue(u"CharPosture", Any(slant));
        return this;
    }

    Reference<XRange> setBorder(bool top, bool left, bool bottom, bool right, const OUString& color) override {
        const sal_uInt32 rgb = parseColor(color);
        css::table::BorderLine2 line;
        line.Color = static_cast<sal_Int32>(rgb);
        line.InnerLineWidth = 0;
        line.OuterLineWidth = 35;
        line.LineDistance = 0;
        line.LineStyle = 0;
        line.LineWidth = 35;
        css::table::TableBorder2 border;
        border.TopLine = border.BottomLine = border.LeftLine = border.RightLine = line;
        border.IsTopLineValid = top;
        border.IsLeftLineValid = left;
        border.IsBottomLineValid = bottom;
        border.IsRightLineValid = right;
        Reference<css::beans::XPropertySet>(range_, UNO_QUERY_THROW)->setPropertyValue(u"TableBorder2", Any(border));
        return this;
    }

    Reference<XRange> setNumberFormat(const OUString& format) override {
        wrapped(u"setNumberFormat", [&] {
            Reference<css::util::XNumberFormatsSupplier> supplier(model_, UNO_QUERY_THROW);
            Reference<css::util::XNumberFormats> formats = supplier->getNumberFormats();
            const css::lang::Locale locale;
            sal_Int32 key = formats->queryKey(format, locale, false);
            if (key == -1) key = formats->addNew(format, locale);
            Reference<css::beans::XPropertySet>(range_, UNO_QUERY_THROW)->setPropertyValue(u"NumberFormat", Any(key));
        });
        return this;
    }

    Reference<XPivotTable> createPivotTable(const Reference<XRange>& source) override {
        if (!source.is()) throw RuntimeException(u"createPivotTable: expected a source range");
        const CellRangeAddress target =
            Reference<css::sheet::XCellRangeAddressable>(range_, UNO_QUERY_THROW)->getRangeAddress();
        Reference<css::sheet::XDataPilotTables> tables;
        OUString name;
        wrapped(u"createPivotTable", [&] {
            const CellRangeAddress from =
                Reference<css::sheet::XCellRangeAddressable>(source->getuno(), UNO_QUERY_THROW)->getRangeAddress();
            Reference<css::container::XIndexAccess> sheets(documentSheets(model_), UNO_QUERY_THROW);
            Reference<css::sheet::XSpreadsheet> sheet(sheets->getByIndex(target.Sheet), UNO_QUERY_THROW);
            tables = Reference<css::sheet::XDataPilotTablesSupplier>(sheet, UNO_QUERY_THROW)->getDataPilotTables();
            std::vector<Reference<css::container::XNameAccess>> all;
            for (sal_Int32 i = 0, n = sheets->getCount(); i < n; ++i) {
                Reference<css::sheet::XDataPilotTablesSupplier> supplier(sheets->getByIndex(i), UNO_QUERY_THROW);
                all.emplace_back(supplier->getDataPilotTables(), UNO_QUERY_THROW);
            }
            name = freeName(u"Pivot ", all);
            Reference<css::sheet::XDataPilotDescriptor> descriptor = tables->createDataPilotDescriptor();
            descriptor->setSourceRange(from);
            tables->insertNewByName(name, css::table::CellAddress{target.Sheet, target.StartColumn, target.StartRow},
                                    descriptor);
        });
        if (!tables->hasByName(name))
            throw RuntimeException(u"createPivotTable: the table " + name + u" was not created");
        return detail::createPivotTable(tables, name);
    }

private:
    CellRangeAddress address() {
        return Reference<css::sheet::XCellRangeAddressable>(range_, UNO_QUERY_THROW, range_.get())->getRangeAddress();
    }

    Reference<XRange> setColor(const char16_t* property, const OUString& color) {
        Reference<css::beans::XPropertySet> props(range_, UNO_QUERY_THROW, range_.get());
        const sal_uInt32 rgb = parseColor(color);
        props->setPropertyValue(OUString(std::u16string_view{property}), Any(static_cast<sal_Int32>(rgb)));
        return this;
    }

    const Reference<XModel> model_;
    const Reference<XCellRange> range_;
};

} // namespace

Reference<XRange> createRange(const Reference<XModel>& model, const Reference<XCellRange>& range) {
    return new RangeImpl(model, range);
}

} // namespace corvane::detail
