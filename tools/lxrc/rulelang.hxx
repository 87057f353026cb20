#pragma once
// The rule language: what a rule file says, as a small syntax tree, and the
// compiler's entry points.
//
// A rule file is read line by line (declarations at the left margin, the
// fields of a rule indented below it); expressions inside the fields are
// parsed by a Pratt parser into `Expr` trees and only then turned into the
// machine's bytecode by the code generator (rulegen.cxx), so parsing and code
// generation stay apart.  Every mistake is a `RuleError` that carries the
// file, line and column of the offending text.

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace lxrc {

struct Location {
    std::string file;
    int line = 0;
    int column = 0; // 1-based, in bytes of the line
};

// "FILE:LINE:COLUMN: message".
class RuleError : public std::runtime_error {
public:
    RuleError(const Location& at, const std::string& message);
};

struct Expr;
using ExprPtr = std::unique_ptr<Expr>;

struct Expr {
    enum class Kind {
        String,   // text
        Integer,  // number
        Boolean,  // number 0 or 1
        None,
        Group,    // $N: number
        Name,     // a constant or a built-in value: text
        Call,     // text(args...)
        Index,    // args[0][args[1]]
        Slice,    // args[0][args[1]:args[2]], absent bounds are None
        Not,      // not args[0]
        And,      // args[0] and args[1]
        Or,       // args[0] or args[1]
        Equal,
        NotEqual,
        In,
        NotIn,
        Search,   // args[0] ~ pattern constant args[1]
        Concat,   // args[0] + args[1]
        If,       // if args[0] then args[1] else args[2]
    };
    Kind kind = Kind::None;
    Location at;
    std::string text;
    std::int64_t number = 0;
    std::vector<ExprPtr> args;
};

struct Example {
    Location at;
    bool flagged = false;      // must be flagged (otherwise: must not be)
    std::string sentence;
    // Expected suggestions of a flagged example, in order; empty with
    // noSuggestions for a rule that offers none.
    std::vector<std::string> suggestions;
    bool noSuggestions = false;
};

struct RuleDef {
    std::string name;
    Location at;
    std::string pattern;
    Location patternAt;
    bool capitalize = false;
    std::uint32_t group = 0;
    std::optional<std::string> suggestTemplate;
    ExprPtr suggestExpr;
    std::optional<std::string> messageTemplate;
    ExprPtr messageExpr;
    std::vector<ExprPtr> conditions; // all must hold
    std::vector<std::string> options; // options that must be on
    std::string country;              // "US", "GB" or empty for both
    std::vector<Example> examples;
};

struct ConstantDef {
    enum class Kind { WordList, WordMap, Pattern };
    Kind kind = Kind::WordList;
    std::string name;
    Location at;
    std::vector<std::string> words;
    std::vector<std::pair<std::string, std::string>> pairs;
    std::string pattern;
};

struct OptionDef {
    std::string name;
    bool on = false;
    std::string description;
};

struct PackageDef {
    std::string file; // the first rule file, for mistakes of the package as a whole
    std::string name;
    std::string displayName;
    std::string description;
    std::vector<std::string> tags;
    std::vector<OptionDef> options;
    std::vector<ConstantDef> constants;
    std::vector<RuleDef> rules;
};

// Reads rule files.  `includeDirs` are searched, after the including file's
// own directory, for "include" files and for word-list files.
PackageDef parseRuleFiles(const std::vector<std::string>& paths, const std::vector<std::string>& includeDirs);

// Parses one expression (for tests and tools); `at` locates its first byte.
ExprPtr parseExpression(const std::string& source, const Location& at);

// The trigram key (1..8191) of a lower-case trigram that every match of the
// ICU expression contains, or 0 when the expression guarantees none.
std::uint32_t requiredTrigram(const std::string& pattern);

struct CompiledPackage {
    std::vector<unsigned char> bytes;
};

// Checks the package (expressions compile with ICU, names resolve, every rule
// has an example that it flags) and writes it; throws RuleError.
CompiledPackage compilePackage(const PackageDef& package);

// A readable dump of one compiled rule of a package file's bytes: its record,
// its templates and the disassembly of its code.
std::string disassembleRule(const std::vector<unsigned char>& bytes, std::uint32_t ruleIndex);

} // namespace lxrc
