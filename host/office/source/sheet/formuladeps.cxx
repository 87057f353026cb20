// Dependency tracking and recalculation of the spreadsheet core.
//
// Every formula registers the blocks it reads (names followed to their blocks)
// in an index keyed by sheet and band of 64 columns.  A write marks the
// formulas that read the written cell as due, and theirs in turn; nothing
// else is touched.  A due formula is calculated when it is read (automatic
// calculation) or by calculate/calculateAll: first the due formulas it reads,
// found by a depth-first walk with an explicit stack (so long chains need no
// deep recursion), then the formula itself.  A formula met again on the walk's
// own path is part of a cycle and reads as #CYCLE!.

#include "sheetcore.hxx"

#include <algorithm>
#include <cstdint>

namespace officehost::sheetcore {
namespace {

// Buckets of 64 columns by 256 rows; a block over more buckets than kWide is
// kept in one list that every write checks.
constexpr sal_Int32 kColumnBand = 64;
constexpr sal_Int32 kRowBand = 256;
constexpr sal_Int64 kWide = 256;

sal_uInt64 bucketKey(const Sheet* s, sal_Int32 colBand, sal_Int32 rowBand) {
    // Collisions only put formulas into a shared list: every hit is checked exactly.
    return static_cast<sal_uInt64>(reinterpret_cast<std::uintptr_t>(s)) ^ (sal_uInt64(colBand) << 48) ^
           (sal_uInt64(rowBand) << 22);
}

bool wide(const Rect& r) {
    return sal_Int64(r.c1 / kColumnBand - r.c0 / kColumnBand + 1) * sal_Int64(r.r1 / kRowBand - r.r0 / kRowBand + 1) >
           kWide;
}

template <class F>
void forEachBucket(const Sheet* s, const Rect& r, F fn) {
    for (sal_Int32 cb = r.c0 / kColumnBand; cb <= r.c1 / kColumnBand; ++cb)
        for (sal_Int32 rb = r.r0 / kRowBand; rb <= r.r1 / kRowBand; ++rb) fn(bucketKey(s, cb, rb));
}

} // namespace

void Core::registerFormula(FormulaCell& f) {
    f.deps.clear();
    if (f.formula.root)
        forEachReference(*f.formula.root, f.sheet, this, [&](Sheet* s, const Rect& r) { f.deps.emplace_back(s, r); });
    for (const auto& [s, r] : f.deps) {
        if (wide(r)) {
            if (wideDependents.empty() || wideDependents.back() != &f) wideDependents.push_back(&f);
            continue;
        }
        forEachBucket(s, r, [&](sal_uInt64 key) {
            auto& list = dependents[key];
            if (list.empty() || list.back() != &f) list.push_back(&f);
        });
    }
    f.dirty = true;
}

void Core::unregisterFormula(FormulaCell& f) {
    for (const auto& [s, r] : f.deps) {
        if (wide(r)) {
            std::erase(wideDependents, &f);
            continue;
        }
        forEachBucket(s, r, [&](sal_uInt64 key) {
            auto it = dependents.find(key);
            if (it == dependents.end()) return;
            std::erase(it->second, &f);
            if (it->second.empty()) dependents.erase(it);
        });
    }
    f.deps.clear();
}

void Core::touched(Sheet& s, sal_Int32 col, sal_Int32 row) {
    struct Place {
        Sheet* sheet;
        sal_Int32 col, row;
    };
    std::vector<Place> todo{{&s, col, row}};
    std::vector<FormulaCell*> hits;
    while (!todo.empty()) {
        Place p = todo.back();
        todo.pop_back();
        auto mark = [&](FormulaCell* f) {
            if (f->dirty) return;  // its readers were marked when it was
            bool reads = std::any_of(f->deps.begin(), f->deps.end(), [&](const auto& d) {
                return d.first == p.sheet && d.second.contains(p.col, p.row);
            });
            if (!reads) return;
            f->dirty = true;
            todo.push_back({f->sheet, f->col, f->row});
        };
        if (auto it = dependents.find(bucketKey(p.sheet, p.col / kColumnBand, p.row / kRowBand)); it != dependents.end()) {
            hits = it->second;  // marking does not change the index, but stay safe against it
            for (FormulaCell* f : hits) mark(f);
        }
        for (std::size_t i = 0; i < wideDependents.size(); ++i) mark(wideDependents[i]);
    }
}

void Core::bringUpToDate(FormulaCell& start) {
    struct Step {
        FormulaCell* f;
        bool expanded;
    };
    std::vector<Step> stack{{&start, false}};
    while (!stack.empty()) {
        Step& top = stack.back();
        FormulaCell* f = top.f;
        if (!f->dirty) {
            stack.pop_back();
            continue;
        }
        if (!top.expanded) {
            top.expanded = true;
            f->visiting = true;
            std::vector<FormulaCell*> due;
            for (const auto& [s, r] : f->deps) {
                auto visit = [&](sal_uInt64 key) {
                    auto it = s->cells.find(key);
                    if (it == s->cells.end() || !it->second.formula) return;
                    FormulaCell* d = it->second.formula.get();
                    if (d->dirty && !d->visiting) due.push_back(d);
                };
                if (sal_uInt64(r.area()) <= s->formulaKeys.size()) {
                    for (sal_Int32 row = r.r0; row <= r.r1; ++row)
                        for (sal_Int32 col = r.c0; col <= r.c1; ++col)
                            if (s->formulaKeys.count(cellKey(col, row))) visit(cellKey(col, row));
                } else {
                    for (sal_uInt64 key : s->formulaKeys)
                        if (r.contains(keyColumn(key), keyRow(key))) visit(key);
                }
            }
            for (FormulaCell* d : due) stack.push_back({d, false});  // `top` is not used after this
            continue;
        }
        stack.pop_back();
        ++counters.formulasEvaluated;
        Value v = evaluate(f->formula, f->sheet, *this);
        if (v.kind == Value::Empty) v = Value::num(0);
        f->result = std::move(v);
        f->dirty = false;
        f->visiting = false;
    }
}

Value Core::cell(Sheet* sheet, sal_Int32 col, sal_Int32 row) {
    ++counters.cellsRead;
    return cellValue(*sheet, col, row);
}

Value Core::cellValue(Sheet& s, sal_Int32 col, sal_Int32 row) {
    const Cell* c = findCell(s, col, row);
    if (!c) return Value();
    switch (c->kind) {
    case CellKind::Empty: return Value();
    case CellKind::Value: return Value::num(c->value);
    case CellKind::Text: return Value::str(c->text);
    case CellKind::Formula: break;
    }
    FormulaCell& f = *c->formula;
    if (f.dirty && f.visiting) return Value::error(errors::CYCLE);
    if (f.dirty && autoCalc) bringUpToDate(f);
    return f.result;
}

void Core::forEachCell(Sheet* sheet, const Rect& rect, const std::function<void(const Value&)>& fn) {
    std::vector<sal_uInt64> keys;
    forEachCellIn(*sheet, rect, [&](sal_uInt64 key, const Cell&) { keys.push_back(key); });
    for (sal_uInt64 key : keys) fn(cell(sheet, keyColumn(key), keyRow(key)));
}

void Core::calculate() {
    for (auto& s : sheets) {
        std::vector<FormulaCell*> due;
        for (sal_uInt64 key : s->formulaKeys)
            if (FormulaCell* f = s->cells[key].formula.get(); f && f->dirty) due.push_back(f);
        for (FormulaCell* f : due) bringUpToDate(*f);
    }
}

void Core::calculateAll() {
    for (auto& s : sheets)
        for (sal_uInt64 key : s->formulaKeys)
            if (FormulaCell* f = s->cells[key].formula.get()) f->dirty = true;
    calculate();
}

void Core::rebuildDependencies() {
    dependents.clear();
    wideDependents.clear();
    for (auto& s : sheets)
        for (sal_uInt64 key : s->formulaKeys)
            if (FormulaCell* f = s->cells[key].formula.get()) registerFormula(*f);
}

} // namespace officehost::sheetcore
