#pragma once
// The formula language of the stand-in spreadsheet: a syntax tree, its parser
// (formulaparse.cxx), its text form (formulaparse.cxx) and its evaluator
// (formulaeval.cxx).  Dependency tracking and recalculation live in the core
// (formuladeps.cxx); nothing here knows about cells beyond the EvalContext.
//
// The language: numbers, strings in double quotes ("" for a quote), TRUE and
// FALSE, + - * / ^ & = <> < > <= >=, unary + and -, parentheses, references
// (B2, $B$2, B2:C10, Sheet2!A1, 'My Sheet'!A1:B2), named ranges, error literals
// and the functions SUM, AVERAGE, MIN, MAX, COUNT, COUNTA, PRODUCT, ROUND, ABS,
// IF, AND, OR, NOT, CONCATENATE and LEN.  Arguments are separated by "," or ";".

#include <rtl/ustring.hxx>

#include <functional>
#include <memory>
#include <vector>

namespace officehost::sheetcore {

struct Sheet;

constexpr sal_Int32 kMaxRows = 1048576;
constexpr sal_Int32 kMaxColumns = 16384;

// A block of cells, 0-based and inclusive.
struct Rect {
    sal_Int32 c0 = 0, r0 = 0, c1 = 0, r1 = 0;
    bool contains(sal_Int32 c, sal_Int32 r) const { return c >= c0 && c <= c1 && r >= r0 && r <= r1; }
    bool contains(const Rect& o) const { return o.c0 >= c0 && o.c1 <= c1 && o.r0 >= r0 && o.r1 <= r1; }
    bool intersects(const Rect& o) const { return o.c0 <= c1 && o.c1 >= c0 && o.r0 <= r1 && o.r1 >= r0; }
    sal_Int64 area() const { return sal_Int64(c1 - c0 + 1) * sal_Int64(r1 - r0 + 1); }
    friend bool operator==(const Rect&, const Rect&) = default;
};

// The fixed texts of error results.
namespace errors {
inline constexpr char16_t DIV0[] = u"#DIV/0!";
inline constexpr char16_t VALUE[] = u"#VALUE!";
inline constexpr char16_t REF[] = u"#REF!";
inline constexpr char16_t NAME[] = u"#NAME?";
inline constexpr char16_t NUM[] = u"#NUM!";
inline constexpr char16_t SYNTAX[] = u"#SYNTAX!";
inline constexpr char16_t CYCLE[] = u"#CYCLE!";
} // namespace errors

struct Value {
    enum Kind { Empty, Number, String, Bool, Error };
    Kind kind = Empty;
    double number = 0;
    OUString text;  // strings; the error text of errors

    static Value num(double d) { return {Number, d, {}}; }
    static Value str(const OUString& s) { return {String, 0, s}; }
    static Value boolean(bool b) { return {Bool, b ? 1.0 : 0.0, {}}; }
    static Value error(const char16_t* e) { return {Error, 0, OUString(std::u16string_view(e))}; }
};

enum class NodeKind { Number, String, Bool, Error, Ref, Name, Unary, Binary, Call };

struct Node {
    explicit Node(NodeKind k) : kind(k) {}
    NodeKind kind;
    double number = 0;
    OUString text;       // string literal, error text, name, upper-case function name
    char16_t op = 0;     // '+', '-', '*', '/', '^', '&', '=', '<', '>', 'L' (<=), 'G' (>=), 'N' (<>)
    // References: the sheet (never null while valid), the block, the "$" marks
    // of each corner, whether the sheet was written and whether the cells were deleted.
    Sheet* sheet = nullptr;
    Rect rect;
    bool range = false;  // written as a block (A1:B2), not a single cell
    bool absCol[2] = {false, false};
    bool absRow[2] = {false, false};
    bool qualified = false;
    bool absSheet = false;  // written with a "$" before the sheet name
    bool deleted = false;
    std::vector<std::unique_ptr<Node>> args;
};

// A parsed formula.  On a syntax error the root is null and the text is kept as written.
struct Formula {
    std::unique_ptr<Node> root;
    OUString text;  // the text as written (without the leading "=")
};

// Looks up a sheet by name for sheet-qualified references (null when unknown).
using SheetLookup = std::function<Sheet*(const OUString& name)>;

// Parses formula text (without "="); unqualified references are on `own`.
Formula parseFormula(const OUString& text, Sheet* own, const SheetLookup& lookup);
// The formula as text (without "="): references as written, deleted ones as #REF!.
OUString renderFormula(const Formula& f);
// The sheet's current name (defined by the core).
OUString sheetNameOf(const Sheet* sheet);
// A sheet name as a formula writes it: quoted when it is not a plain word.
OUString quoteSheetName(const OUString& name);
// "A", "B", ..., "Z", "AA", ... for a 0-based column.
OUString columnName(sal_Int32 column);
// Reads a cell address ("B2", "$b$2") at [pos, end); false when there is none.
bool parseCellAddress(std::u16string_view s, std::size_t& pos, sal_Int32& col, sal_Int32& row, bool& absCol,
                      bool& absRow);

// What evaluation needs of the document.
class EvalContext {
public:
    // The value of a cell (a formula cell's result, calculated first when needed).
    virtual Value cell(Sheet* sheet, sal_Int32 col, sal_Int32 row) = 0;
    // Calls fn for every cell with content in the block, in no particular order.
    virtual void forEachCell(Sheet* sheet, const Rect& rect, const std::function<void(const Value&)>& fn) = 0;
    // The definition of a name seen from `own` (local first, then the document's), or null.
    virtual const Formula* name(const OUString& name, Sheet* own) = 0;

protected:
    ~EvalContext() = default;
};

// Evaluates a formula; a syntax error gives #SYNTAX!.  Never throws for bad formulas.
Value evaluate(const Formula& f, Sheet* own, EvalContext& ctx);
// Numbers as General shows them.
OUString numberText(double d);
// A value as the text the cell shows (numbers in General).
OUString valueText(const Value& v);
// Reads text wholly as a number ("12", "-1.5e3"); false otherwise.
bool readNumber(const OUString& text, double& out);

// Calls fn for every reference of the formula, following names through ctx.
void forEachReference(const Node& n, Sheet* own, EvalContext* names,
                      const std::function<void(Sheet*, const Rect&)>& fn, int depth = 0);

} // namespace officehost::sheetcore
