#pragma once
// The in-memory core of a spreadsheet document: sheets of sparse cells,
// formatting kept as layers over blocks, row and column sizes, named ranges,
// number formats, formulas with their dependencies, and the anchors through
// which interface objects follow row and column deletion.  The interface
// objects of sheetobjects.cxx and sheetdocument.cxx are views into this core.
//
// Ownership: the Core owns its sheets, a sheet its cells, a cell its formula.
// Interface objects hold a std::shared_ptr<Core>; what they present (a sheet, a
// block of cells, a name) they reach through an Anchor or a Linked pointer that
// the core keeps up to date or clears when the thing goes.
//
// Sparse by design: a sheet is 1,048,576 rows by 16,384 columns, but holds only
// its cells with content, its non-default rows and columns, and one formatting
// layer per formatting call (bold on a whole column is one layer, not a million
// records).  Not thread safe: one thread at a time per document.

#include "formula.hxx"
#include "numberformat.hxx"

#include <zel/uno/Any.hxx>

#include <map>
#include <memory>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace officehost::sheetcore {

using ::zel::uno::Any;

struct Core;
struct Sheet;
struct PivotTable;
struct ChartNode;

// The interface object that presents a node; told when the node goes.
class Linked {
public:
    virtual void nodeGone() = 0;

protected:
    ~Linked() = default;
};

// A formula in a cell: its tree, its last result and its place in the recalculation.
struct FormulaCell {
    Formula formula;
    Value result;
    bool dirty = true;
    bool visiting = false;  // on the path of the calculation now running
    Sheet* sheet = nullptr;
    sal_Int32 col = 0, row = 0;
    std::vector<std::pair<Sheet*, Rect>> deps;  // as registered in the dependency index
};

enum class CellKind { Empty, Value, Text, Formula };

struct Cell {
    CellKind kind = CellKind::Empty;
    double value = 0;
    OUString text;
    std::unique_ptr<FormulaCell> formula;
};

// One formatting call: a property set to a value over a block.  An empty name
// sets every property back to its default.
struct AttrLayer {
    Rect rect;
    OUString name;
    Any value;
};

// A row or column that differs from the default.
struct LineInfo {
    sal_Int32 size = -1;  // -1: the default size
    bool optimal = false;
    bool hidden = false;
};

// A named range: an expression (usually a block) under a name.
struct NameDef {
    OUString name;
    Formula formula;
    Sheet* positionSheet = nullptr;
    sal_Int32 col = 0, row = 0;
    sal_Int32 type = 0;
    Sheet* scope = nullptr;  // the sheet of a local name; null for the document's
    Linked* obj = nullptr;
};
using NameMap = std::map<OUString, std::unique_ptr<NameDef>>;  // keyed by the upper-case name

struct Sheet {
    OUString name;
    sal_Int32 index = 0;
    Linked* obj = nullptr;
    std::unordered_map<sal_uInt64, Cell> cells;
    std::unordered_set<sal_uInt64> formulaKeys;
    std::vector<AttrLayer> layers;
    std::map<sal_Int32, LineInfo> rows, columns;
    NameMap names;
    std::vector<std::unique_ptr<PivotTable>> pivots;  // pivotcore.cxx
    std::vector<std::unique_ptr<ChartNode>> charts;   // in insertion order (source/chart/)
};

inline sal_uInt64 cellKey(sal_Int32 col, sal_Int32 row) { return sal_uInt64(row) * kMaxColumns + sal_uInt64(col); }
inline sal_Int32 keyColumn(sal_uInt64 k) { return sal_Int32(k % kMaxColumns); }
inline sal_Int32 keyRow(sal_uInt64 k) { return sal_Int32(k / kMaxColumns); }

// A block of cells that interface objects present: kept up to date by row and
// column deletion, invalid once its sheet or all its cells are gone.
class Anchor {
public:
    Anchor(Core& core, Sheet* sheet, Rect rect);
    Anchor(const Anchor&) = delete;
    Anchor& operator=(const Anchor&) = delete;
    ~Anchor();
    Sheet* sheet = nullptr;  // null once gone
    Rect rect;
    bool wholeSheet = false;  // a sheet itself: never shrinks

private:
    friend struct Core;
    Core& core_;
    Anchor* prev_ = nullptr;
    Anchor* next_ = nullptr;
};

// A data pilot table's settings: its source and one entry per source column.
struct PivotField {
    sal_Int32 orientation = 0;  // sheet::DataPilotFieldOrientation
    sal_Int32 function = 0;     // sheet::GeneralFunction
    OUString selectedPage;
    bool useSelectedPage = false;
    sal_Int32 order = 0;        // when it got its orientation: fields of one kind go in that order
};
struct PivotDefinition {
    std::unique_ptr<Anchor> source;
    std::vector<PivotField> fields;
    sal_Int32 nextOrder = 1;
    // The fields, one per column of the source as it is now.
    std::vector<PivotField>& current();
};
// A data pilot table on a sheet: its definition, the cell where its output starts and
// the block its output last covered (both follow row and column deletion).
struct PivotTable {
    OUString name;
    PivotDefinition definition;
    std::unique_ptr<Anchor> position;
    std::unique_ptr<Anchor> output;  // null before the first output
    Linked* obj = nullptr;
};

// An embedded chart on a sheet: where it lies (1/100 mm), the blocks it reads
// (on any sheet; each follows row and column deletion and goes with its
// sheet), how their first row and column are read, and the chart document's
// settings.  The data itself is never copied: it is read from the cells when asked.
struct ChartDiagram {
    OUString service;      // "com.qam.vexo.chart.BarDiagram" and so on
    bool vertical = false;  // meaningful for the diagrams with axes
};
struct ChartNode {
    OUString name;
    sal_Int32 x = 0, y = 0, width = 0, height = 0;
    std::vector<std::unique_ptr<Anchor>> ranges;
    bool columnHeaders = false;  // the first row of each block names the columns (series)
    bool rowHeaders = false;     // the first column of each block names the rows
    std::shared_ptr<ChartDiagram> diagram;  // shared with the diagram object that set it
    bool hasTitle = false;
    OUString title;
    bool hasLegend = true;
    sal_Int32 legendAlignment = 3;  // chart::ChartLegendPosition, RIGHT
    Linked* obj = nullptr;      // the table chart object
    Linked* docObj = nullptr;   // the chart document object
};

// Removes the sheet's charts, telling their objects.
void dropCharts(Sheet& sheet);

// Computes the table from its source and writes it; lang::IllegalArgumentException
// (naming the operation) when the output would not fit the sheet, would overwrite
// the source or other content; RuntimeException when the source is gone.
void refreshPivot(Core& core, PivotTable& table, const OUString& operation);
// Clears the cells of the table's last output.
void clearPivotOutput(Core& core, PivotTable& table);

// Counters of the calculation, for measurements.
struct CalcCounters {
    sal_uInt64 formulasEvaluated = 0;
    sal_uInt64 cellsRead = 0;
};

// Default sizes, 1/100 mm.
constexpr sal_Int32 kDefaultRowHeight = 452;
constexpr sal_Int32 kDefaultColumnWidth = 2258;

struct Core : EvalContext {
    Core();
    ~Core();
    Core(const Core&) = delete;
    Core& operator=(const Core&) = delete;

    // Sheets.  Names are unique without regard to ASCII case.
    std::vector<std::unique_ptr<Sheet>> sheets;
    std::unordered_map<OUString, Sheet*> sheetsByName;  // keyed by the upper-case name
    Sheet* findSheet(const OUString& name) const;
    // Checks a sheet name: lang::IllegalArgumentException naming the operation.
    static void checkSheetName(const OUString& name, const OUString& operation);
    Sheet* insertSheet(const OUString& name, sal_Int32 position);
    void removeSheet(Sheet* sheet);
    void renameSheet(Sheet* sheet, const OUString& name, const OUString& operation);
    Linked* sheetsObj = nullptr;

    // Cells.
    const Cell* findCell(const Sheet& s, sal_Int32 col, sal_Int32 row) const;
    void setValue(Sheet& s, sal_Int32 col, sal_Int32 row, double v);
    void setText(Sheet& s, sal_Int32 col, sal_Int32 row, const OUString& text);
    // Input as a user types it: "" empties, "=..." is a formula, text that reads
    // wholly as a number is that number, anything else is text.
    void setInput(Sheet& s, sal_Int32 col, sal_Int32 row, const OUString& input);
    void clearCell(Sheet& s, sal_Int32 col, sal_Int32 row);
    // The cell's value for formulas (a formula's result, calculated first when due).
    Value cellValue(Sheet& s, sal_Int32 col, sal_Int32 row);
    // The text the cell shows.
    OUString shownText(Sheet& s, sal_Int32 col, sal_Int32 row);
    // The bounding block of the cells with content; A1 alone for an empty sheet.
    Rect usedArea(const Sheet& s) const;
    // Calls fn(key, cell) for the cells with content in the block.
    template <class F>
    void forEachCellIn(const Sheet& s, const Rect& r, F fn) const;

    // Formatting.
    Any attribute(const Sheet& s, sal_Int32 col, sal_Int32 row, const OUString& name) const;
    void setAttribute(Sheet& s, const Rect& r, const OUString& name, const Any& value);
    void resetAttributes(Sheet& s, const Rect& r);

    // Rows and columns.
    LineInfo line(const Sheet& s, bool rows, sal_Int32 index) const;
    void setLine(Sheet& s, bool rows, sal_Int32 index, const LineInfo& info);
    // The size that fits the content of a row (height) or column (width).
    sal_Int32 optimalSize(Sheet& s, bool rows, sal_Int32 index);
    // Removes (count > 0) or inserts (count < 0, -count lines) rows or columns at index.
    void shiftLines(Sheet& s, bool rows, sal_Int32 index, sal_Int32 count);
    // Removes what the CellFlags mask names from the block; OBJECTS on the whole
    // sheet also removes its charts.
    void clearContents(Sheet& s, const Rect& r, sal_Int32 flags);

    // Names.
    NameMap names;
    Linked* namesObj = nullptr;
    const Formula* name(const OUString& name, Sheet* own) override;
    NameDef* findName(NameMap& map, const OUString& name) const;
    void addName(NameMap& map, Sheet* scope, const OUString& name, const OUString& content, Sheet* posSheet,
                 sal_Int32 col, sal_Int32 row, sal_Int32 type, const OUString& operation);
    void removeName(NameMap& map, const OUString& name, const OUString& operation);
    Formula parseIn(const OUString& text, Sheet* own);

    // Number formats: fixed keys for the built-in codes, new keys from 100.
    struct FormatEntry {
        OUString code;
        NumberFormatCode parsed;
    };
    std::map<sal_Int32, FormatEntry> formats;
    sal_Int32 nextFormatKey = 100;
    sal_Int32 queryFormat(const OUString& code) const;
    sal_Int32 addFormat(const OUString& code, const OUString& operation);
    const FormatEntry* format(sal_Int32 key) const;

    // Calculation.
    bool autoCalc = true;
    CalcCounters counters;
    void calculate();     // the dirty formulas
    void calculateAll();  // every formula
    Value cell(Sheet* sheet, sal_Int32 col, sal_Int32 row) override;
    void forEachCell(Sheet* sheet, const Rect& rect, const std::function<void(const Value&)>& fn) override;

    // Anchors.
    Anchor* anchors = nullptr;

    // The document as a whole.
    OUString location;
    OUString title;
    bool disposed = false;
    void dispose();

    // Dependency index (formuladeps.cxx): for each sheet and bucket of 64 columns
    // by 256 rows, the formulas that read a block there.
    std::unordered_map<sal_uInt64, std::vector<FormulaCell*>> dependents;
    std::vector<FormulaCell*> wideDependents;  // formulas that read very large blocks
    void registerFormula(FormulaCell& f);
    void unregisterFormula(FormulaCell& f);
    // Marks the formulas that read the cell, and theirs, as due.
    void touched(Sheet& s, sal_Int32 col, sal_Int32 row);
    // Calculates the formula and, first, the due formulas it reads.
    void bringUpToDate(FormulaCell& f);
    // After structural changes: every formula registered again and due.
    void rebuildDependencies();

private:
    Cell& cellFor(Sheet& s, sal_Int32 col, sal_Int32 row);
    void dropFormula(Sheet& s, sal_uInt64 key, Cell& c);
    void afterWrite(Sheet& s, sal_Int32 col, sal_Int32 row);
};

template <class F>
void Core::forEachCellIn(const Sheet& s, const Rect& r, F fn) const {
    if (sal_uInt64(r.area()) <= s.cells.size()) {
        for (sal_Int32 row = r.r0; row <= r.r1; ++row)
            for (sal_Int32 col = r.c0; col <= r.c1; ++col)
                if (auto it = s.cells.find(cellKey(col, row)); it != s.cells.end()) fn(it->first, it->second);
        return;
    }
    for (const auto& [key, c] : s.cells)
        if (r.contains(keyColumn(key), keyRow(key))) fn(key, c);
}

// Property descriptions of cells, ranges and sheets.
struct CellPropDesc {
    OUString name;
    ::zel::uno::Type type;
    Any defaultValue;
    bool readOnly = false;
};
const std::vector<CellPropDesc>& cellProperties();
const CellPropDesc* findCellProperty(const OUString& name);

} // namespace officehost::sheetcore
