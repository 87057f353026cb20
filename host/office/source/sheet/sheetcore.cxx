// The spreadsheet core: sheets, cells, formatting layers, rows and columns,
// structural edits, names and number formats.  Calculation is in formuladeps.cxx.

#include "sheetcore.hxx"

#include <com/qam/vexo/awt/font.hxx>
#include <com/qam/vexo/container/collections.hxx>
#include <com/qam/vexo/lang/exceptions.hxx>
#include <com/qam/vexo/sheet/sheet.hxx>
#include <com/qam/vexo/table/sheetcells.hxx>
#include <com/qam/vexo/util/numberformats.hxx>

#include <algorithm>
#include <cmath>

namespace officehost::sheetcore {

namespace css = ::com::qam::vexo;
using css::lang::IllegalArgumentException;

OUString sheetNameOf(const Sheet* sheet) { return sheet ? sheet->name : OUString(); }

// ---- anchors ----------------------------------------------------------------

Anchor::Anchor(Core& core, Sheet* s, Rect r) : sheet(s), rect(r), core_(core) {
    next_ = core_.anchors;
    if (next_) next_->prev_ = this;
    core_.anchors = this;
}

Anchor::~Anchor() {
    if (prev_) prev_->next_ = next_;
    else core_.anchors = next_;
    if (next_) next_->prev_ = prev_;
}

// ---- properties ---------------------------------------------------------------

const std::vector<CellPropDesc>& cellProperties() {
    static const std::vector<CellPropDesc> table = [] {
        using css::table::BorderLine2;
        std::vector<CellPropDesc> t;
        t.push_back({u"CellBackColor", cppu::UnoType<sal_Int32>::get(), Any(sal_Int32(-1)), false});
        t.push_back({u"CharColor", cppu::UnoType<sal_Int32>::get(), Any(sal_Int32(-1)), false});
        t.push_back({u"NumberFormat", cppu::UnoType<sal_Int32>::get(), Any(sal_Int32(0)), false});
        t.push_back({u"CharWeight", cppu::UnoType<float>::get(), Any(css::awt::FontWeight::NORMAL), false});
        t.push_back({u"CharPosture", cppu::UnoType<css::awt::FontSlant>::get(), Any(css::awt::FontSlant_NONE), false});
        for (const char16_t* side : {u"TopBorder", u"BottomBorder", u"LeftBorder", u"RightBorder"})
            t.push_back({OUString(std::u16string_view(side)), cppu::UnoType<BorderLine2>::get(), Any(BorderLine2()), false});
        t.push_back({u"TableBorder2", cppu::UnoType<css::table::TableBorder2>::get(), Any(css::table::TableBorder2()), false});
        t.push_back({u"FormulaResultType2", cppu::UnoType<sal_Int32>::get(), Any(sal_Int32(1)), true});
        return t;
    }();
    return table;
}

const CellPropDesc* findCellProperty(const OUString& name) {
    for (const auto& d : cellProperties())
        if (d.name == name) return &d;
    return nullptr;
}

// ---- sheets -------------------------------------------------------------------

Core::Core() {
    const char16_t* const builtIn[] = {u"General", u"0",        u"0.00", u"#,##0",      u"#,##0.00", u"0%",
                                       u"0.00%",   u"0.00E+00", u"@",    u"YYYY-MM-DD", u"HH:MM:SS"};
    sal_Int32 key = 0;
    for (const char16_t* code : builtIn) {
        FormatEntry e{OUString(std::u16string_view(code)), {}};
        parseNumberFormat(e.code, e.parsed, nullptr);
        formats.emplace(key++, std::move(e));
    }
}

Core::~Core() { dispose(); }

void dropCharts(Sheet& s) {
    for (auto& c : s.charts) {
        if (c->obj) c->obj->nodeGone();
        if (c->docObj) c->docObj->nodeGone();
    }
    s.charts.clear();
}

void Core::dispose() {
    disposed = true;
    // Formulas refer across sheets: take them all down before any sheet goes.
    for (auto& s : sheets) {
        for (auto& [key, c] : s->cells) c.formula.reset();
        for (auto& [k, n] : s->names)
            if (n->obj) n->obj->nodeGone();
        s->names.clear();
        for (auto& p : s->pivots)
            if (p->obj) p->obj->nodeGone();
        s->pivots.clear();
        dropCharts(*s);
        if (s->obj) s->obj->nodeGone();
    }
    for (auto& [k, n] : names)
        if (n->obj) n->obj->nodeGone();
    names.clear();
    dependents.clear();
    wideDependents.clear();
    for (Anchor* a = anchors; a; a = a->next_) a->sheet = nullptr;
    sheetsByName.clear();
    sheets.clear();
}

Sheet* Core::findSheet(const OUString& name) const {
    auto it = sheetsByName.find(name.toAsciiUpperCase());
    return it == sheetsByName.end() ? nullptr : it->second;
}

void Core::checkSheetName(const OUString& name, const OUString& operation) {
    if (name.isEmpty()) throw IllegalArgumentException(operation + u": a sheet name must not be empty");
    if (name.getLength() > 255)
        throw IllegalArgumentException(operation + u": a sheet name must not be longer than 255 characters");
    for (char16_t c : std::u16string_view(u"[]*?:/\\"))
        if (name.indexOf(c) >= 0)
            throw IllegalArgumentException(operation + u": a sheet name must not contain " + OUString(c) + u", got " +
                                           name);
    if (name[0] == u'\'' || name[name.getLength() - 1] == u'\'')
        throw IllegalArgumentException(operation + u": a sheet name must not begin or end with ', got " + name);
}

Sheet* Core::insertSheet(const OUString& name, sal_Int32 position) {
    auto s = std::make_unique<Sheet>();
    s->name = name;
    Sheet* raw = s.get();
    position = std::clamp<sal_Int32>(position, 0, static_cast<sal_Int32>(sheets.size()));
    sheets.insert(sheets.begin() + position, std::move(s));
    for (std::size_t i = position; i < sheets.size(); ++i) sheets[i]->index = static_cast<sal_Int32>(i);
    sheetsByName.emplace(name.toAsciiUpperCase(), raw);
    // A new sheet may be what a formula's #REF! to an unknown sheet meant; it stays #REF!.
    return raw;
}

namespace {

template <class F>
void forEachNode(Node& n, F& fn) {
    fn(n);
    for (auto& a : n.args) forEachNode(*a, fn);
}

} // namespace

void Core::removeSheet(Sheet* sheet) {
    auto invalidate = [sheet](Node& n) {
        if (n.kind == NodeKind::Ref && n.sheet == sheet) {
            n.deleted = true;
            n.sheet = nullptr;
        }
    };
    for (auto& s : sheets) {
        for (auto& [key, c] : s->cells)
            if (c.formula && c.formula->formula.root) forEachNode(*c.formula->formula.root, invalidate);
        for (auto& [k, n] : s->names) {
            if (n->formula.root) forEachNode(*n->formula.root, invalidate);
            if (n->positionSheet == sheet) n->positionSheet = nullptr;
        }
    }
    for (auto& [k, n] : names) {
        if (n->formula.root) forEachNode(*n->formula.root, invalidate);
        if (n->positionSheet == sheet) n->positionSheet = nullptr;
    }
    for (auto& [key, c] : sheet->cells) c.formula.reset();
    for (auto& p : sheet->pivots)
        if (p->obj) p->obj->nodeGone();
    sheet->pivots.clear();
    dropCharts(*sheet);
    for (auto& [k, n] : sheet->names)
        if (n->obj) n->obj->nodeGone();
    sheet->names.clear();
    for (Anchor* a = anchors; a; a = a->next_)
        if (a->sheet == sheet) a->sheet = nullptr;
    if (sheet->obj) sheet->obj->nodeGone();
    sheetsByName.erase(sheet->name.toAsciiUpperCase());
    sal_Int32 index = sheet->index;
    sheets.erase(sheets.begin() + index);
    for (std::size_t i = index; i < sheets.size(); ++i) sheets[i]->index = static_cast<sal_Int32>(i);
    rebuildDependencies();
}

void Core::renameSheet(Sheet* sheet, const OUString& name, const OUString& operation) {
    checkSheetName(name, operation);
    Sheet* other = findSheet(name);
    if (other && other != sheet)
        throw css::container::ElementExistException(operation + u": a sheet named " + name + u" already exists");
    sheetsByName.erase(sheet->name.toAsciiUpperCase());
    sheet->name = name;
    sheetsByName.emplace(name.toAsciiUpperCase(), sheet);
}

// ---- cells --------------------------------------------------------------------

const Cell* Core::findCell(const Sheet& s, sal_Int32 col, sal_Int32 row) const {
    auto it = s.cells.find(cellKey(col, row));
    return it == s.cells.end() ? nullptr : &it->second;
}

Cell& Core::cellFor(Sheet& s, sal_Int32 col, sal_Int32 row) { return s.cells[cellKey(col, row)]; }

void Core::dropFormula(Sheet& s, sal_uInt64 key, Cell& c) {
    if (!c.formula) return;
    unregisterFormula(*c.formula);
    c.formula.reset();
    s.formulaKeys.erase(key);
}

void Core::afterWrite(Sheet& s, sal_Int32 col, sal_Int32 row) { touched(s, col, row); }

void Core::setValue(Sheet& s, sal_Int32 col, sal_Int32 row, double v) {
    Cell& c = cellFor(s, col, row);
    dropFormula(s, cellKey(col, row), c);
    c.kind = CellKind::Value;
    c.value = v;
    c.text = OUString();
    afterWrite(s, col, row);
}

void Core::setText(Sheet& s, sal_Int32 col, sal_Int32 row, const OUString& text) {
    if (text.isEmpty()) {
        clearCell(s, col, row);
        return;
    }
    Cell& c = cellFor(s, col, row);
    dropFormula(s, cellKey(col, row), c);
    c.kind = CellKind::Text;
    c.value = 0;
    c.text = text;
    afterWrite(s, col, row);
}

void Core::setInput(Sheet& s, sal_Int32 col, sal_Int32 row, const OUString& input) {
    if (input.isEmpty()) {
        clearCell(s, col, row);
        return;
    }
    if (input[0] == u'=') {
        const sal_uInt64 key = cellKey(col, row);
        Cell& c = cellFor(s, col, row);
        dropFormula(s, key, c);
        c.kind = CellKind::Formula;
        c.text = OUString();
        c.formula = std::make_unique<FormulaCell>();
        FormulaCell& f = *c.formula;
        f.formula = parseIn(input.copy(1), &s);
        f.sheet = &s;
        f.col = col;
        f.row = row;
        s.formulaKeys.insert(key);
        registerFormula(f);
        afterWrite(s, col, row);
        // A formula just entered is calculated even when automatic calculation is off.
        if (!autoCalc) bringUpToDate(f);
        return;
    }
    double d;
    if (readNumber(input, d)) setValue(s, col, row, d);
    else setText(s, col, row, input);
}

void Core::clearCell(Sheet& s, sal_Int32 col, sal_Int32 row) {
    const sal_uInt64 key = cellKey(col, row);
    auto it = s.cells.find(key);
    if (it == s.cells.end()) return;
    dropFormula(s, key, it->second);
    s.cells.erase(it);
    afterWrite(s, col, row);
}

OUString Core::shownText(Sheet& s, sal_Int32 col, sal_Int32 row) {
    const Cell* c = findCell(s, col, row);
    if (!c) return OUString();
    Value v;
    switch (c->kind) {
    case CellKind::Empty: return OUString();
    case CellKind::Text: return c->text;
    case CellKind::Value: v = Value::num(c->value); break;
    case CellKind::Formula: v = cellValue(s, col, row); break;
    }
    if (v.kind != Value::Number) return valueText(v);
    sal_Int32 key = 0;
    attribute(s, col, row, u"NumberFormat") >>= key;
    const FormatEntry* f = format(key);
    if (!f || key == 0) return numberText(v.number);
    return formatNumber(f->parsed, v.number);
}

Rect Core::usedArea(const Sheet& s) const {
    if (s.cells.empty()) return Rect{0, 0, 0, 0};
    Rect r{kMaxColumns, kMaxRows, -1, -1};
    for (const auto& [key, c] : s.cells) {
        sal_Int32 col = keyColumn(key), row = keyRow(key);
        r.c0 = std::min(r.c0, col);
        r.c1 = std::max(r.c1, col);
        r.r0 = std::min(r.r0, row);
        r.r1 = std::max(r.r1, row);
    }
    return r;
}

// ---- formatting ---------------------------------------------------------------

Any Core::attribute(const Sheet& s, sal_Int32 col, sal_Int32 row, const OUString& name) const {
    for (auto it = s.layers.rbegin(); it != s.layers.rend(); ++it) {
        if (!it->rect.contains(col, row)) continue;
        if (it->name.isEmpty()) break;
        if (it->name == name) return it->value;
    }
    const CellPropDesc* d = findCellProperty(name);
    return d ? d->defaultValue : Any();
}

void Core::setAttribute(Sheet& s, const Rect& r, const OUString& name, const Any& value) {
    // An earlier setting of the same property that this one covers whole can go.
    std::erase_if(s.layers, [&](const AttrLayer& l) { return l.name == name && r.contains(l.rect); });
    s.layers.push_back({r, name, value});
}

void Core::resetAttributes(Sheet& s, const Rect& r) {
    std::erase_if(s.layers, [&](const AttrLayer& l) { return r.contains(l.rect); });
    bool any = std::any_of(s.layers.begin(), s.layers.end(), [&](const AttrLayer& l) { return l.rect.intersects(r); });
    if (any) s.layers.push_back({r, OUString(), Any()});
}

// ---- rows and columns ------------------------------------------------------------

LineInfo Core::line(const Sheet& s, bool rows, sal_Int32 index) const {
    const auto& map = rows ? s.rows : s.columns;
    auto it = map.find(index);
    return it == map.end() ? LineInfo() : it->second;
}

void Core::setLine(Sheet& s, bool rows, sal_Int32 index, const LineInfo& info) {
    auto& map = rows ? s.rows : s.columns;
    if (info.size < 0 && !info.optimal && !info.hidden) map.erase(index);
    else map[index] = info;
}

sal_Int32 Core::optimalSize(Sheet& s, bool rows, sal_Int32 index) {
    // No layout engine: a line of text is one default row high, and a character
    // is 2 mm wide with 2 mm of margin around the text.
    const Rect r = rows ? Rect{0, index, kMaxColumns - 1, index} : Rect{index, 0, index, kMaxRows - 1};
    std::vector<sal_uInt64> keys;
    forEachCellIn(s, r, [&](sal_uInt64 key, const Cell&) { keys.push_back(key); });
    if (rows) {
        sal_Int32 lines = 1;
        for (sal_uInt64 key : keys) {
            OUString t = shownText(s, keyColumn(key), keyRow(key));
            sal_Int32 n = 1;
            for (sal_Int32 i = 0; i < t.getLength(); ++i) n += t[i] == u'\n';
            lines = std::max(lines, n);
        }
        return lines * kDefaultRowHeight;
    }
    if (keys.empty()) return kDefaultColumnWidth;
    sal_Int32 longest = 0;
    for (sal_uInt64 key : keys) {
        OUString t = shownText(s, keyColumn(key), keyRow(key));
        sal_Int32 len = 0;
        for (sal_Int32 i = 0, start = 0; i <= t.getLength(); ++i)
            if (i == t.getLength() || t[i] == u'\n') {
                len = std::max(len, i - start);
                start = i + 1;
            }
        longest = std::max(longest, len);
    }
    return static_cast<sal_Int32>(std::min<sal_Int64>(sal_Int64(longest) * 200 + 200, 1000000));
}

namespace {

// Moves a span [lo, hi] of lines for a removal (count > 0) or an insertion
// (count < 0) at index; false when the whole span was removed or pushed off the sheet.
bool shiftSpan(sal_Int32& lo, sal_Int32& hi, sal_Int32 index, sal_Int32 count, sal_Int32 limit) {
    if (count > 0) {
        const sal_Int32 end = index + count;  // first line after the removed ones
        if (hi < index) return true;
        if (lo >= end) {
            lo -= count;
            hi -= count;
            return true;
        }
        sal_Int32 newLo = lo < index ? lo : index;
        sal_Int32 newHi = hi >= end ? hi - count : index - 1;
        if (newHi < newLo) return false;
        lo = newLo;
        hi = newHi;
        return true;
    }
    const sal_Int32 n = -count;
    if (hi < index) return true;
    if (lo >= index) lo += n;
    hi = static_cast<sal_Int32>(std::min<sal_Int64>(sal_Int64(hi) + n, limit - 1));
    return lo < limit;
}

bool shiftRect(Rect& r, bool rows, sal_Int32 index, sal_Int32 count) {
    return rows ? shiftSpan(r.r0, r.r1, index, count, kMaxRows) : shiftSpan(r.c0, r.c1, index, count, kMaxColumns);
}

} // namespace

void Core::shiftLines(Sheet& s, bool rows, sal_Int32 index, sal_Int32 count) {
    // Cells.
    std::unordered_map<sal_uInt64, Cell> moved;
    moved.reserve(s.cells.size());
    for (auto& [key, c] : s.cells) {
        sal_Int32 col = keyColumn(key), row = keyRow(key);
        sal_Int32& pos = rows ? row : col;
        sal_Int32 lo = pos, hi = pos;
        if (!shiftSpan(lo, hi, index, count, rows ? kMaxRows : kMaxColumns) || lo != hi) {
            if (c.formula) unregisterFormula(*c.formula);
            continue;
        }
        pos = lo;
        if (c.formula) {
            c.formula->col = col;
            c.formula->row = row;
        }
        moved.emplace(cellKey(col, row), std::move(c));
    }
    s.cells = std::move(moved);
    s.formulaKeys.clear();
    for (auto& [key, c] : s.cells)
        if (c.formula) s.formulaKeys.insert(key);
    // References in every formula and name of the document.
    auto adjust = [&](Node& n) {
        if (n.kind != NodeKind::Ref || n.sheet != &s || n.deleted) return;
        if (!shiftRect(n.rect, rows, index, count)) {
            n.deleted = true;
            n.sheet = nullptr;
        }
    };
    auto adjustFormula = [&](Formula& f) {
        if (f.root) forEachNode(*f.root, adjust);
    };
    for (auto& sh : sheets) {
        for (auto& [key, c] : sh->cells)
            if (c.formula) adjustFormula(c.formula->formula);
        for (auto& [k, n] : sh->names) adjustFormula(n->formula);
    }
    for (auto& [k, n] : names) adjustFormula(n->formula);
    // Objects that present blocks of this sheet.
    for (Anchor* a = anchors; a; a = a->next_) {
        if (a->sheet != &s || a->wholeSheet) continue;
        if (!shiftRect(a->rect, rows, index, count)) a->sheet = nullptr;
    }
    // Formatting layers.
    std::erase_if(s.layers, [&](AttrLayer& l) { return !shiftRect(l.rect, rows, index, count); });
    // Row and column sizes.
    auto& map = rows ? s.rows : s.columns;
    std::map<sal_Int32, LineInfo> lines;
    for (auto& [i, info] : map) {
        sal_Int32 lo = i, hi = i;
        if (shiftSpan(lo, hi, index, count, rows ? kMaxRows : kMaxColumns) && lo == hi) lines.emplace(lo, info);
    }
    map = std::move(lines);
    rebuildDependencies();
}

void Core::clearContents(Sheet& s, const Rect& r, sal_Int32 flags) {
    namespace CF = css::sheet::CellFlags;
    std::vector<sal_uInt64> doomed;
    forEachCellIn(s, r, [&](sal_uInt64 key, const Cell& c) {
        bool remove = false;
        switch (c.kind) {
        case CellKind::Empty: remove = true; break;
        case CellKind::Text: remove = flags & CF::STRING; break;
        case CellKind::Formula: remove = flags & CF::FORMULA; break;
        case CellKind::Value: {
            sal_Int32 fmt = 0;
            attribute(s, keyColumn(key), keyRow(key), u"NumberFormat") >>= fmt;
            const FormatEntry* e = format(fmt);
            remove = (e && e->parsed.dateTime()) ? (flags & CF::DATETIME) : (flags & CF::VALUE);
            break;
        }
        }
        if (remove) doomed.push_back(key);
    });
    for (sal_uInt64 key : doomed) clearCell(s, keyColumn(key), keyRow(key));
    if (flags & CF::HARDATTR) resetAttributes(s, r);
    // Charts are drawing objects over the sheet, not in cells: clearing the objects
    // of the whole sheet removes them.
    if ((flags & CF::OBJECTS) && r.c0 == 0 && r.r0 == 0 && r.c1 == kMaxColumns - 1 && r.r1 == kMaxRows - 1) dropCharts(s);
}

// ---- names --------------------------------------------------------------------

Formula Core::parseIn(const OUString& text, Sheet* own) {
    return parseFormula(text, own, [this](const OUString& n) { return findSheet(n); });
}

NameDef* Core::findName(NameMap& map, const OUString& name) const {
    auto it = map.find(name.toAsciiUpperCase());
    return it == map.end() ? nullptr : it->second.get();
}

const Formula* Core::name(const OUString& n, Sheet* own) {
    if (own)
        if (NameDef* d = findName(own->names, n)) return &d->formula;
    if (NameDef* d = findName(names, n)) return &d->formula;
    return nullptr;
}

void Core::addName(NameMap& map, Sheet* scope, const OUString& n, const OUString& content, Sheet* posSheet,
                   sal_Int32 col, sal_Int32 row, sal_Int32 type, const OUString& operation) {
    bool valid = !n.isEmpty() && (n[0] == u'_' || (n[0] >= u'A' && n[0] <= u'Z') || (n[0] >= u'a' && n[0] <= u'z') ||
                                  n[0] > 127);
    for (sal_Int32 i = 0; valid && i < n.getLength(); ++i) {
        char16_t c = n[i];
        valid = c == u'_' || c == u'.' || (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') ||
                (c >= u'a' && c <= u'z') || c > 127;
    }
    std::size_t pos = 0;
    sal_Int32 c0, r0;
    bool a, b;
    if (valid && parseCellAddress(n.view(), pos, c0, r0, a, b) && pos == std::size_t(n.getLength())) valid = false;
    if (valid && (n.equalsIgnoreAsciiCase(u"TRUE") || n.equalsIgnoreAsciiCase(u"FALSE"))) valid = false;
    if (!valid) throw IllegalArgumentException(operation + u": " + n + u" is not a valid name");
    if (findName(map, n))
        throw css::container::ElementExistException(operation + u": a name " + n + u" already exists");
    auto def = std::make_unique<NameDef>();
    def->name = n;
    def->formula = parseIn(content, posSheet);
    def->positionSheet = posSheet;
    def->col = col;
    def->row = row;
    def->type = type;
    def->scope = scope;
    map.emplace(n.toAsciiUpperCase(), std::move(def));
    rebuildDependencies();
}

void Core::removeName(NameMap& map, const OUString& n, const OUString& operation) {
    auto it = map.find(n.toAsciiUpperCase());
    if (it == map.end()) throw css::container::NoSuchElementException(operation + u": there is no name " + n);
    if (it->second->obj) it->second->obj->nodeGone();
    map.erase(it);
    rebuildDependencies();
}

// ---- number formats ---------------------------------------------------------------

sal_Int32 Core::queryFormat(const OUString& code) const {
    for (const auto& [key, e] : formats)
        if (e.code == code) return key;
    return -1;
}

sal_Int32 Core::addFormat(const OUString& code, const OUString& operation) {
    NumberFormatCode parsed;
    OUString why;
    if (!parseNumberFormat(code, parsed, &why))
        throw css::util::MalformedNumberFormatException(operation + u": malformed format code " + code + u": " + why);
    if (sal_Int32 key = queryFormat(code); key >= 0)
        throw css::container::ElementExistException(operation + u": the format code " + code +
                                                    u" already has the key " + OUString::number(key));
    sal_Int32 key = nextFormatKey++;
    formats.emplace(key, FormatEntry{code, std::move(parsed)});
    return key;
}

const Core::FormatEntry* Core::format(sal_Int32 key) const {
    auto it = formats.find(key);
    return it == formats.end() ? nullptr : &it->second;
}

} // namespace officehost::sheetcore
