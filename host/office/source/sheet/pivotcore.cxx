// Data pilot tables: computing a table from its source and writing its output.
//
// Layout of the output, from the table's position down and right:
// - a header row: the row fields' names (one column each; one empty column when
//   there are no row fields), then one column per column member and data field,
//   captioned "<member>" with one data field or "<member> - <Function> - <field>"
//   with several (without column fields: "<Function> - <field>"), then with
//   column fields one "Total" column per data field;
// - one row per combination of row members that occurs, then a "Total" row.
// Members are ordered numbers first (ascending), then texts (ascending without
// regard to ASCII case), then empty cells.  A page field with "UseSelectedPage"
// keeps the source rows whose cell shows exactly "SelectedPage"; page fields
// are not written.  A table without data fields writes nothing.  Results are
// plain numbers; an error result (an average of nothing, a deviation of fewer
// than two values) is written as its error text.

#include "sheetcore.hxx"

#include <com/qam/vexo/lang/exceptions.hxx>
#include <com/qam/vexo/sheet/datapilot.hxx>
#include <zel/uno/Exception.hxx>

#include <algorithm>
#include <cmath>
#include <map>

namespace officehost::sheetcore {

namespace css = ::com::qam::vexo;
using css::lang::IllegalArgumentException;

std::vector<PivotField>& PivotDefinition::current() {
    if (source && source->sheet) fields.resize(std::size_t(source->rect.c1 - source->rect.c0 + 1));
    return fields;
}

namespace {

struct Member {
    Value value;
    OUString text;
};

// Numbers first, then texts, then empty cells.
bool memberLess(const Member& a, const Member& b) {
    auto rank = [](const Member& m) {
        return m.value.kind == Value::Empty ? 2 : (m.value.kind == Value::Number || m.value.kind == Value::Bool) ? 0 : 1;
    };
    if (rank(a) != rank(b)) return rank(a) < rank(b);
    if (rank(a) == 0) return a.value.number < b.value.number;
    return a.text.toAsciiUpperCase().compareTo(b.text.toAsciiUpperCase()) < 0;
}

bool keyLess(const std::vector<Member>& a, const std::vector<Member>& b) {
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
        if (memberLess(a[i], b[i])) return true;
        if (memberLess(b[i], a[i])) return false;
    }
    return a.size() < b.size();
}

OUString functionName(sal_Int32 f) {
    switch (f) {
    case css::sheet::GeneralFunction_COUNT: return u"Count";
    case css::sheet::GeneralFunction_AVERAGE: return u"Average";
    case css::sheet::GeneralFunction_MAX: return u"Max";
    case css::sheet::GeneralFunction_MIN: return u"Min";
    case css::sheet::GeneralFunction_PRODUCT: return u"Product";
    case css::sheet::GeneralFunction_COUNTNUMS: return u"Count (numbers)";
    case css::sheet::GeneralFunction_STDEV: return u"StDev";
    case css::sheet::GeneralFunction_STDEVP: return u"StDevP";
    case css::sheet::GeneralFunction_VAR: return u"Var";
    case css::sheet::GeneralFunction_VARP: return u"VarP";
    default: return u"Sum";
    }
}

Value aggregate(sal_Int32 f, const std::vector<Value>& values) {
    std::vector<double> nums;
    sal_Int64 nonEmpty = 0;
    for (const Value& v : values) {
        if (v.kind != Value::Empty) ++nonEmpty;
        if (v.kind == Value::Number || v.kind == Value::Bool) nums.push_back(v.number);
    }
    const double n = double(nums.size());
    double sum = 0;
    for (double d : nums) sum += d;
    auto variance = [&](bool sample) {
        double mean = sum / n, sq = 0;
        for (double d : nums) sq += (d - mean) * (d - mean);
        return sq / (sample ? n - 1 : n);
    };
    switch (f) {
    case css::sheet::GeneralFunction_COUNT: return Value::num(double(nonEmpty));
    case css::sheet::GeneralFunction_COUNTNUMS: return Value::num(n);
    case css::sheet::GeneralFunction_AVERAGE: return nums.empty() ? Value::error(errors::DIV0) : Value::num(sum / n);
    case css::sheet::GeneralFunction_MAX: return Value::num(nums.empty() ? 0 : *std::max_element(nums.begin(), nums.end()));
    case css::sheet::GeneralFunction_MIN: return Value::num(nums.empty() ? 0 : *std::min_element(nums.begin(), nums.end()));
    case css::sheet::GeneralFunction_PRODUCT: {
        if (nums.empty()) return Value::num(0);
        double p = 1;
        for (double d : nums) p *= d;
        return std::isfinite(p) ? Value::num(p) : Value::error(errors::NUM);
    }
    case css::sheet::GeneralFunction_STDEV: return nums.size() < 2 ? Value::error(errors::DIV0) : Value::num(std::sqrt(variance(true)));
    case css::sheet::GeneralFunction_STDEVP: return nums.empty() ? Value::error(errors::DIV0) : Value::num(std::sqrt(variance(false)));
    case css::sheet::GeneralFunction_VAR: return nums.size() < 2 ? Value::error(errors::DIV0) : Value::num(variance(true));
    case css::sheet::GeneralFunction_VARP: return nums.empty() ? Value::error(errors::DIV0) : Value::num(variance(false));
    default: return std::isfinite(sum) ? Value::num(sum) : Value::error(errors::NUM);
    }
}

struct Cellout {
    sal_Int32 col, row;
    Value value;
};

} // namespace

void clearPivotOutput(Core& core, PivotTable& table) {
    if (!table.output || !table.output->sheet) return;
    Sheet& s = *table.output->sheet;
    std::vector<sal_uInt64> keys;
    core.forEachCellIn(s, table.output->rect, [&](sal_uInt64 key, const Cell&) { keys.push_back(key); });
    for (sal_uInt64 key : keys) core.clearCell(s, keyColumn(key), keyRow(key));
    table.output.reset();
}

void refreshPivot(Core& core, PivotTable& table, const OUString& op) {
    PivotDefinition& definition = table.definition;
    if (!definition.source || !definition.source->sheet)
        throw ::zel::uno::RuntimeException(op + u": the source range is no longer part of the document");
    if (!table.position || !table.position->sheet)
        throw ::zel::uno::RuntimeException(op + u": the table's position is no longer part of the document");
    Sheet& src = *definition.source->sheet;
    const Rect sr = definition.source->rect;
    auto& fields = definition.current();
    auto byKind = [&](sal_Int32 orientation) {
        std::vector<std::size_t> out;
        for (std::size_t i = 0; i < fields.size(); ++i)
            if (fields[i].orientation == orientation) out.push_back(i);
        std::stable_sort(out.begin(), out.end(), [&](std::size_t a, std::size_t b) { return fields[a].order < fields[b].order; });
        return out;
    };
    const auto rowFields = byKind(css::sheet::DataPilotFieldOrientation_ROW);
    const auto colFields = byKind(css::sheet::DataPilotFieldOrientation_COLUMN);
    const auto pageFields = byKind(css::sheet::DataPilotFieldOrientation_PAGE);
    const auto dataFields = byKind(css::sheet::DataPilotFieldOrientation_DATA);
    auto header = [&](std::size_t f) {
        OUString t = core.shownText(src, sr.c0 + sal_Int32(f), sr.r0);
        return t.isEmpty() ? u"Column " + columnName(sr.c0 + sal_Int32(f)) : t;
    };
    auto member = [&](std::size_t f, sal_Int32 row) {
        return Member{core.cellValue(src, sr.c0 + sal_Int32(f), row), core.shownText(src, sr.c0 + sal_Int32(f), row)};
    };

    std::vector<Cellout> cells;
    if (!dataFields.empty()) {
        // Group the source rows that pass the page filters.
        using Key = std::vector<Member>;
        auto less = [](const Key& a, const Key& b) { return keyLess(a, b); };
        std::map<Key, std::size_t, decltype(less)> rowKeys(less), colKeys(less);
        struct Row {
            Key rowKey, colKey;
            sal_Int32 row;
        };
        std::vector<Row> rows;
        for (sal_Int32 r = sr.r0 + 1; r <= sr.r1; ++r) {
            bool keep = true;
            for (std::size_t f : pageFields)
                if (fields[f].useSelectedPage && core.shownText(src, sr.c0 + sal_Int32(f), r) != fields[f].selectedPage)
                    keep = false;
            if (!keep) continue;
            Row row{{}, {}, r};
            for (std::size_t f : rowFields) row.rowKey.push_back(member(f, r));
            for (std::size_t f : colFields) row.colKey.push_back(member(f, r));
            rowKeys.emplace(row.rowKey, 0);
            colKeys.emplace(row.colKey, 0);
            rows.push_back(std::move(row));
        }
        if (!colFields.empty() || colKeys.empty()) colKeys.emplace(Key{}, 0);  // the totals column (or the only one)
        std::size_t i = 0;
        for (auto& [k, v] : rowKeys) v = i++;
        // Column members in order; with column fields the empty key (the totals) goes last.
        std::vector<Key> colOrder;
        for (auto& [k, v] : colKeys)
            if (!k.empty() || colFields.empty()) colOrder.push_back(k);
        if (!colFields.empty()) colOrder.push_back(Key{});
        std::map<Key, std::size_t, decltype(less)> colIndex(less);
        for (std::size_t c = 0; c < colOrder.size(); ++c) colIndex[colOrder[c]] = c;
        const std::size_t nRowKeys = rowFields.empty() ? 0 : rowKeys.size();
        const std::size_t nCols = colOrder.size();
        // values[rowKey or total][colKey][data field]
        std::vector<std::vector<std::vector<std::vector<Value>>>> values(
            nRowKeys + 1, std::vector<std::vector<std::vector<Value>>>(nCols, std::vector<std::vector<Value>>(dataFields.size())));
        std::vector<std::vector<bool>> seen(nRowKeys + 1, std::vector<bool>(nCols, false));
        for (const Row& row : rows) {
            const std::size_t rk = rowFields.empty() ? 0 : rowKeys[row.rowKey];
            const std::size_t ck = colIndex[colFields.empty() ? Key{} : row.colKey];
            const std::size_t totalCol = nCols - 1;
            for (std::size_t d = 0; d < dataFields.size(); ++d) {
                Value v = core.cellValue(src, sr.c0 + sal_Int32(dataFields[d]), row.row);
                std::vector<std::size_t> targets{nRowKeys};  // the totals row, and the row's own
                if (!rowFields.empty()) targets.push_back(rk);
                for (std::size_t r : targets) {
                    values[r][ck][d].push_back(v);
                    seen[r][ck] = true;
                    if (!colFields.empty()) {
                        values[r][totalCol][d].push_back(v);
                        seen[r][totalCol] = true;
                    }
                }
            }
        }
        const sal_Int32 labelCols = rowFields.empty() ? 1 : sal_Int32(rowFields.size());
        auto join = [](const Key& k) {
            OUString t;
            for (std::size_t i = 0; i < k.size(); ++i) t += (i ? u" / " : u"") + k[i].text;
            return t;
        };
        auto dataCaption = [&](std::size_t d) { return functionName(fields[dataFields[d]].function) + u" - " + header(dataFields[d]); };
        for (std::size_t f = 0; f < rowFields.size(); ++f) cells.push_back({sal_Int32(f), 0, Value::str(header(rowFields[f]))});
        for (std::size_t c = 0; c < nCols; ++c)
            for (std::size_t d = 0; d < dataFields.size(); ++d) {
                OUString caption;
                if (colFields.empty()) caption = dataCaption(d);
                else {
                    caption = colOrder[c].empty() ? OUString(u"Total") : join(colOrder[c]);
                    if (dataFields.size() > 1) caption += u" - " + dataCaption(d);
                }
                cells.push_back({labelCols + sal_Int32(c * dataFields.size() + d), 0, Value::str(caption)});
            }
        std::vector<const Key*> rowOrder(nRowKeys);
        for (auto& [k, v] : rowKeys)
            if (!rowFields.empty()) rowOrder[v] = &k;
        for (std::size_t r = 0; r <= nRowKeys; ++r) {
            const sal_Int32 outRow = sal_Int32(r) + 1;
            if (r < nRowKeys) {
                for (std::size_t f = 0; f < rowFields.size(); ++f) cells.push_back({sal_Int32(f), outRow, (*rowOrder[r])[f].value.kind == Value::Empty ? Value::str(OUString()) : Value::str((*rowOrder[r])[f].text)});
            } else {
                cells.push_back({0, outRow, Value::str(u"Total")});
            }
            for (std::size_t c = 0; c < nCols; ++c) {
                if (!seen[r][c]) continue;
                for (std::size_t d = 0; d < dataFields.size(); ++d)
                    cells.push_back({labelCols + sal_Int32(c * dataFields.size() + d), outRow,
                                     aggregate(fields[dataFields[d]].function, values[r][c][d])});
            }
        }
    }

    Sheet& out = *table.position->sheet;
    const sal_Int32 c0 = table.position->rect.c0, r0 = table.position->rect.r0;
    sal_Int32 width = 0, height = 0;
    for (const Cellout& c : cells) {
        width = std::max(width, c.col + 1);
        height = std::max(height, c.row + 1);
    }
    if (cells.empty()) {
        clearPivotOutput(core, table);
        return;
    }
    if (sal_Int64(c0) + width > kMaxColumns || sal_Int64(r0) + height > kMaxRows)
        throw IllegalArgumentException(op + u": the table's output does not fit the sheet");
    const Rect target{c0, r0, c0 + width - 1, r0 + height - 1};
    if (&out == &src && target.intersects(sr))
        throw IllegalArgumentException(op + u": the table's output would overwrite its source");
    const Rect* old = table.output && table.output->sheet == &out ? &table.output->rect : nullptr;
    bool occupied = false;
    core.forEachCellIn(out, target, [&](sal_uInt64 key, const Cell&) {
        if (!old || !old->contains(keyColumn(key), keyRow(key))) occupied = true;
    });
    if (occupied) throw IllegalArgumentException(op + u": the table's output would overwrite cells with content");
    clearPivotOutput(core, table);
    for (const Cellout& c : cells) {
        if (c.value.kind == Value::Number) core.setValue(out, c0 + c.col, r0 + c.row, c.value.number);
        else if (c.value.kind == Value::Error) core.setText(out, c0 + c.col, r0 + c.row, c.value.text);
        else core.setText(out, c0 + c.col, r0 + c.row, c.value.text);
    }
    table.output = std::make_unique<Anchor>(core, &out, target);
}

} // namespace officehost::sheetcore
