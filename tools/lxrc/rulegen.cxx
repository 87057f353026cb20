// Code generation: expression trees to the rule machine's bytecode, and the
// package (rules, constants, options) to the bytes of an .lxr file, written
// with the package builder.

#include "rulelang.hxx"

#include <testsupport/lexivor/PackageBuilder.hxx>

#include <lxops.hxx>
#include <lxrfile.hxx>

#include <unicode/regex.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <map>
#include <memory>
#include <set>

namespace lxrc {
namespace {

using lexivor::Op;

struct Function {
    int host = -1;         // host function number, or -1
    Op op = Op::Return;    // otherwise the instruction
    std::size_t minArgs = 0;
    std::size_t maxArgs = 0;
    bool localeFirst = false; // host functions 0 to 6 take an unread first argument
};

const std::map<std::string, Function>& functions() {
    static const std::map<std::string, Function> table = {
        {"option", {0, Op::Return, 1, 1, true}},
        {"spell", {1, Op::Return, 1, 1, true}},
        {"morph", {2, Op::Return, 2, 3, true}},
        {"morph_last", {3, Op::Return, 2, 3, true}},
        {"stem", {4, Op::Return, 1, 1, true}},
        {"generate", {5, Op::Return, 2, 2, true}},
        {"suggest", {6, Op::Return, 1, 1, true}},
        {"word_after", {7, Op::Return, 1, 2, false}},
        {"word_before", {8, Op::Return, 1, 2, false}},
        {"measurement", {10, Op::Return, 4, 6, false}},
        {"suggest_foreign", {11, Op::Return, 2, 2, false}},
        {"lower", {-1, Op::Lower, 1, 1, false}},
        {"upper", {-1, Op::Upper, 1, 1, false}},
        {"capitalize", {-1, Op::Capitalize, 1, 1, false}},
        {"translate", {-1, Op::Translate, 3, 3, false}},
        {"bool", {-1, Op::Bool, 1, 1, false}},
    };
    return table;
}

class CodeGen {
public:
    CodeGen(testsupport::lexivor::PackageBuilder& builder, const std::map<std::string, ConstantDef::Kind>& kinds,
            const std::map<std::string, std::uint32_t>& indices)
        : b_(builder), kinds_(kinds), indices_(indices) {}

    std::vector<unsigned char> generate(const Expr& e) {
        code_.clear();
        emit(e);
        op(Op::Return);
        return code_;
    }

private:
    void op(Op o) { code_.push_back(static_cast<unsigned char>(o)); }
    void u32(std::uint32_t v) {
        for (int k = 0; k < 4; ++k) code_.push_back(static_cast<unsigned char>(v >> (8 * k)));
    }
    void op(Op o, std::uint32_t operand) {
        op(o);
        u32(operand);
    }
    std::size_t jump(Op o) {
        op(o, 0);
        return code_.size() - 4;
    }
    void land(std::size_t operandAt) {
        const std::uint32_t target = static_cast<std::uint32_t>(code_.size());
        for (int k = 0; k < 4; ++k) code_[operandAt + k] = static_cast<unsigned char>(target >> (8 * k));
    }
    void call(int host, std::size_t argc) {
        op(Op::Call);
        code_.push_back(static_cast<unsigned char>(host));
        code_.push_back(static_cast<unsigned char>(argc));
    }

    std::uint32_t constant(const Expr& e, std::optional<ConstantDef::Kind> want) {
        if (e.kind != Expr::Kind::Name) throw RuleError(e.at, "expected the name of a list, map or pattern");
        const auto kind = kinds_.find(e.text);
        if (kind == kinds_.end()) throw RuleError(e.at, "unknown name '" + e.text + "'");
        if (want && kind->second != *want)
            throw RuleError(e.at, "'" + e.text + "' is not a " + (*want == ConstantDef::Kind::Pattern ? "pattern" : "list"));
        return indices_.at(e.text);
    }

    std::uint32_t groupNumber(const Expr& e) {
        if (e.kind != Expr::Kind::Integer || e.number < 0)
            throw RuleError(e.at, "expected a group number");
        return static_cast<std::uint32_t>(e.number);
    }

    void checkArity(const Expr& e, std::size_t lo, std::size_t hi) {
        if (e.args.size() < lo || e.args.size() > hi) {
            const std::string want = lo == hi ? std::to_string(lo) : std::to_string(lo) + " to " + std::to_string(hi);
            throw RuleError(e.at, e.text + "() takes " + want + " argument" + (hi == 1 ? "" : "s") + ", not " +
                                      std::to_string(e.args.size()));
        }
    }

    void emitCall(const Expr& e) {
        const std::string& f = e.text;
        if (f == "start" || f == "end" || f == "group") {
            checkArity(e, 1, 1);
            op(f == "start" ? Op::PushGroupStart : f == "end" ? Op::PushGroupEnd : Op::PushGroup, groupNumber(*e.args[0]));
            return;
        }
        if (f == "search" || f == "match") {
            checkArity(e, 2, 2);
            const std::uint32_t index = constant(*e.args[0], ConstantDef::Kind::Pattern);
            emit(*e.args[1]);
            op(f == "search" ? Op::Search : Op::Match, index);
            return;
        }
        if (f == "sub") {
            checkArity(e, 3, 3);
            const std::uint32_t index = constant(*e.args[0], ConstantDef::Kind::Pattern);
            emit(*e.args[1]);
            emit(*e.args[2]);
            op(Op::Substitute, index);
            return;
        }
        if (f == "replace") {
            checkArity(e, 3, 4);
            for (const auto& a : e.args) emit(*a);
            if (e.args.size() == 3) op(Op::PushNone);
            op(Op::Replace);
            return;
        }
        if (f == "numbertext") {
            checkArity(e, 2, 2);
            op(Op::PushString, b_.string("NUMBERTEXT"));
            for (const auto& a : e.args) emit(*a);
            call(9, 3);
            return;
        }
        if (f == "measurement" && e.args.size() == 5)
            throw RuleError(e.at, "measurement() takes 4 or 6 arguments, not 5");
        const auto found = functions().find(f);
        if (found == functions().end()) throw RuleError(e.at, "unknown function '" + f + "'");
        const Function& fn = found->second;
        checkArity(e, fn.minArgs, fn.maxArgs);
        if (fn.localeFirst) op(Op::PushNone);
        for (const auto& a : e.args) emit(*a);
        if (fn.host >= 0)
            call(fn.host, e.args.size() + (fn.localeFirst ? 1 : 0));
        else
            op(fn.op);
    }

    void emitName(const Expr& e) {
        const std::string& n = e.text;
        if (n == "text") return op(Op::PushText);
        if (n == "language") return op(Op::PushLanguage);
        if (n == "country") return op(Op::PushCountry);
        if (n == "matched") return op(Op::PushGroup, 0);
        if (n == "before") {
            op(Op::PushText);
            op(Op::PushInteger, 0);
            op(Op::PushGroupStart, 0);
            return op(Op::Slice);
        }
        if (n == "after") {
            op(Op::PushText);
            op(Op::PushGroupEnd, 0);
            op(Op::PushNone);
            return op(Op::Slice);
        }
        op(Op::PushConstant, constant(e, std::nullopt));
    }

    void emit(const Expr& e) {
        switch (e.kind) {
        case Expr::Kind::String:
            return op(Op::PushString, b_.string(e.text));
        case Expr::Kind::Integer:
            return op(Op::PushInteger, static_cast<std::uint32_t>(static_cast<std::int32_t>(e.number)));
        case Expr::Kind::Boolean:
            return op(Op::PushBoolean, static_cast<std::uint32_t>(e.number));
        case Expr::Kind::None:
            return op(Op::PushNone);
        case Expr::Kind::Group:
            return op(Op::PushGroup, static_cast<std::uint32_t>(e.number));
        case Expr::Kind::Name:
            return emitName(e);
        case Expr::Kind::Call:
            return emitCall(e);
        case Expr::Kind::Index:
            emit(*e.args[0]);
            emit(*e.args[1]);
            return op(Op::Index);
        case Expr::Kind::Slice:
            emit(*e.args[0]);
            emit(*e.args[1]);
            emit(*e.args[2]);
            return op(Op::Slice);
        case Expr::Kind::Not:
            emit(*e.args[0]);
            return op(Op::Not);
        case Expr::Kind::And:
        case Expr::Kind::Or: {
            // The left value decides and stays as the result, as in Python.
            emit(*e.args[0]);
            const std::size_t skip = jump(e.kind == Expr::Kind::And ? Op::JumpIfFalse : Op::JumpIfTrue);
            op(Op::Pop);
            emit(*e.args[1]);
            return land(skip);
        }
        case Expr::Kind::Equal:
        case Expr::Kind::NotEqual:
        case Expr::Kind::In:
        case Expr::Kind::NotIn:
        case Expr::Kind::Concat:
            emit(*e.args[0]);
            emit(*e.args[1]);
            return op(e.kind == Expr::Kind::Equal      ? Op::Equal
                      : e.kind == Expr::Kind::NotEqual ? Op::NotEqual
                      : e.kind == Expr::Kind::In       ? Op::In
                      : e.kind == Expr::Kind::NotIn    ? Op::NotIn
                                                       : Op::Concat);
        case Expr::Kind::Search: {
            const std::uint32_t index = constant(*e.args[1], ConstantDef::Kind::Pattern);
            emit(*e.args[0]);
            return op(Op::Search, index);
        }
        case Expr::Kind::If: {
            emit(*e.args[0]);
            const std::size_t toElse = jump(Op::JumpIfFalse);
            op(Op::Pop);
            emit(*e.args[1]);
            const std::size_t toEnd = jump(Op::Jump);
            land(toElse);
            op(Op::Pop);
            emit(*e.args[2]);
            return land(toEnd);
        }
        }
    }

    testsupport::lexivor::PackageBuilder& b_;
    const std::map<std::string, ConstantDef::Kind>& kinds_;
    const std::map<std::string, std::uint32_t>& indices_;
    std::vector<unsigned char> code_;
};

void checkRegex(const std::string& pattern, std::uint32_t flags, const Location& at) {
    UErrorCode status = U_ZERO_ERROR;
    UParseError parse{};
    std::unique_ptr<icu::RegexPattern> compiled(
        icu::RegexPattern::compile(icu::UnicodeString::fromUTF8(pattern), flags, parse, status));
    if (U_SUCCESS(status)) return;
    // ICU counts UTF-16 units on a line; the rule file counts bytes, which
    // agree for the ASCII that expressions are written in.
    Location where = at;
    where.column += parse.offset > 0 ? parse.offset : 0;
    const std::string token = parse.offset >= 0 && static_cast<std::size_t>(parse.offset) < pattern.size()
                                  ? " at '" + pattern.substr(static_cast<std::size_t>(parse.offset), 1) + "'"
                                  : "";
    throw RuleError(where, "the expression does not compile: " + std::string(u_errorName(status)) + token);
}

ExprPtr nameExpr(Expr::Kind kind, const std::string& text, const Location& at) {
    auto e = std::make_unique<Expr>();
    e->kind = kind;
    e->text = text;
    e->at = at;
    return e;
}

} // namespace

CompiledPackage compilePackage(const PackageDef& package) {
    const Location top{package.file, 1, 1};
    testsupport::lexivor::PackageBuilder b;
    if (package.name.empty()) throw RuleError(top, "the package has no 'package' line");
    b.name(package.name);
    b.displayName(package.displayName.empty() ? package.name : package.displayName);
    b.description(package.description);
    for (const auto& t : package.tags) b.languageTag(t);
    std::set<std::string> optionNames;
    for (const auto& o : package.options) {
        b.option(o.name, o.on);
        optionNames.insert(o.name);
    }
    std::map<std::string, ConstantDef::Kind> kinds;
    std::map<std::string, std::uint32_t> indices;
    for (const auto& c : package.constants) {
        std::uint32_t index = 0;
        switch (c.kind) {
        case ConstantDef::Kind::WordList:
            index = b.wordList(c.words);
            break;
        case ConstantDef::Kind::WordMap:
            index = b.wordMap(c.pairs);
            break;
        case ConstantDef::Kind::Pattern:
            checkRegex(c.pattern, 0, c.at);
            index = b.pattern(c.pattern, 0);
            break;
        }
        kinds[c.name] = c.kind;
        indices[c.name] = index;
    }
    if (package.rules.empty()) throw RuleError(top, "the package has no rules");
    CodeGen gen(b, kinds, indices);
    std::map<std::string, const RuleDef*> byPattern;
    std::set<std::string> names;
    for (const auto& r : package.rules) {
        if (!names.insert(r.name).second) throw RuleError(r.at, "rule name used twice: " + r.name);
        const auto [other, fresh] = byPattern.emplace(r.pattern, &r);
        if (!fresh)
            throw RuleError(r.patternAt, "rule " + r.name + " has the same expression as rule " + other->second->name +
                                             " (the expression is a rule's identifier)");
        checkRegex(r.pattern, 0, r.patternAt);
        for (const auto& o : r.options)
            if (!optionNames.count(o)) throw RuleError(r.at, "rule " + r.name + " names an unknown option: " + o);
        // Near misses are checked where rules are read: a table's corrected
        // sentence serves as its entries' near miss.
        if (std::none_of(r.examples.begin(), r.examples.end(), [](const Example& e) { return e.flagged; }))
            throw RuleError(r.at, "rule " + r.name + " needs an example that it flags ('flag \"...\" -> ...')");
        if (!r.messageTemplate && !r.messageExpr) throw RuleError(r.at, "rule " + r.name + " has no message");

        testsupport::lexivor::RuleSpec record;
        record.pattern = r.pattern;
        record.flags = r.capitalize ? 2u : 0u;
        record.trigram = requiredTrigram(r.pattern);
        record.errorGroup = r.group;
        if (r.suggestExpr)
            record.suggestionCode = b.rawCode(gen.generate(*r.suggestExpr));
        else
            record.suggestion = r.suggestTemplate.value_or("_");
        if (r.messageExpr)
            record.messageCode = b.rawCode(gen.generate(*r.messageExpr));
        else
            record.message = *r.messageTemplate;
        // The condition: country, options and 'when' lines, joined by 'and'.
        std::vector<const Expr*> parts;
        std::vector<ExprPtr> owned;
        if (!r.country.empty()) {
            auto eq = std::make_unique<Expr>();
            eq->kind = Expr::Kind::Equal;
            eq->at = r.at;
            eq->args.push_back(nameExpr(Expr::Kind::Name, "country", r.at));
            eq->args.push_back(nameExpr(Expr::Kind::String, r.country, r.at));
            owned.push_back(std::move(eq));
        }
        for (const auto& o : r.options) {
            ExprPtr c = nameExpr(Expr::Kind::Call, "option", r.at);
            c->args.push_back(nameExpr(Expr::Kind::String, o, r.at));
            owned.push_back(std::move(c));
        }
        for (const auto& o : owned) parts.push_back(o.get());
        for (const auto& c : r.conditions) parts.push_back(c.get());
        if (!parts.empty()) {
            // A chain of 'and' over borrowed trees: generated part by part.
            std::vector<unsigned char> code;
            std::vector<std::size_t> exits;
            for (std::size_t k = 0; k < parts.size(); ++k) {
                std::vector<unsigned char> piece = gen.generate(*parts[k]);
                piece.pop_back(); // its Return
                // Relocate the piece's jump targets by where it now starts.
                const std::uint32_t base = static_cast<std::uint32_t>(code.size());
                for (std::size_t pc = 0; pc < piece.size();) {
                    const Op o = *lexivor::opFromByte(piece[pc]);
                    const std::size_t n = lexivor::operandSize(lexivor::opOperand(o));
                    if (lexivor::isJump(o)) {
                        std::uint32_t t = 0;
                        for (int q = 0; q < 4; ++q) t |= std::uint32_t(piece[pc + 1 + q]) << (8 * q);
                        t += base;
                        for (int q = 0; q < 4; ++q) piece[pc + 1 + q] = static_cast<unsigned char>(t >> (8 * q));
                    }
                    pc += 1 + n;
                }
                code.insert(code.end(), piece.begin(), piece.end());
                if (k + 1 < parts.size()) {
                    code.push_back(static_cast<unsigned char>(Op::JumpIfFalse));
                    exits.push_back(code.size());
                    code.insert(code.end(), 4, 0);
                    code.push_back(static_cast<unsigned char>(Op::Pop));
                }
            }
            const std::uint32_t end = static_cast<std::uint32_t>(code.size());
            for (std::size_t at : exits)
                for (int q = 0; q < 4; ++q) code[at + q] = static_cast<unsigned char>(end >> (8 * q));
            code.push_back(static_cast<unsigned char>(Op::Return));
            record.condition = b.rawCode(code);
        }
        b.rule(record);
    }
    return {b.build()};
}

std::string disassembleRule(const std::vector<unsigned char>& bytes, std::uint32_t ruleIndex) {
    auto u32 = [&](std::size_t at) -> std::uint32_t {
        if (at + 4 > bytes.size()) return 0;
        return std::uint32_t(bytes[at]) | std::uint32_t(bytes[at + 1]) << 8 | std::uint32_t(bytes[at + 2]) << 16 |
               std::uint32_t(bytes[at + 3]) << 24;
    };
    const std::uint32_t ruleCount = u32(44), rulesAt = u32(48);
    const std::uint32_t codeAt = u32(60), codeSize = u32(64);
    const std::uint32_t poolAt = u32(76), poolSize = u32(80);
    if (ruleIndex >= ruleCount) return "no rule " + std::to_string(ruleIndex) + "\n";
    auto str = [&](std::uint32_t ref) -> std::string {
        if (ref >= poolSize) return {};
        const char* p = reinterpret_cast<const char*>(bytes.data() + poolAt + ref);
        return std::string(p);
    };
    const std::size_t r = rulesAt + std::size_t(ruleIndex) * 44;
    std::string out;
    out += "rule " + std::to_string(ruleIndex) + "\n";
    out += "  pattern    " + str(u32(r)) + "\n";
    out += "  flags      " + std::to_string(u32(r + 4)) + "\n";
    out += "  trigram    " + std::to_string(u32(r + 8)) + "\n";
    out += "  group      " + std::to_string(u32(r + 32)) + "\n";
    auto code = [&](const char* what, std::uint32_t ref, std::uint32_t templ) {
        if (ref == 0 || ref - 1 >= codeSize) {
            out += std::string("  ") + what + " " + str(templ) + "\n";
            return;
        }
        out += std::string("  ") + what + " code:\n";
        const std::size_t start = codeAt + ref - 1;
        // The expression runs to its last Return; jumps never leave it.
        std::size_t end = start, pc = start, furthest = start;
        while (pc < codeAt + codeSize) {
            const auto o = lexivor::opFromByte(bytes[pc]);
            if (!o) break;
            const std::size_t n = lexivor::operandSize(lexivor::opOperand(*o));
            if (lexivor::isJump(*o)) furthest = std::max<std::size_t>(furthest, start + u32(pc + 1));
            pc += 1 + n;
            if (*o == Op::Return && pc > furthest) {
                end = pc;
                break;
            }
        }
        std::string text = lexivor::disassemble(bytes.data() + start, end - start);
        // String operands shown with their text.
        std::string annotated;
        for (std::size_t a = 0, nl; (nl = text.find('\n', a)) != std::string::npos; a = nl + 1) {
            std::string line = text.substr(a, nl - a);
            const std::size_t ps = line.find("PushString ");
            if (ps != std::string::npos)
                line += "    ; \"" + str(static_cast<std::uint32_t>(std::stoul(line.substr(ps + 11)))) + "\"";
            annotated += "    " + line + "\n";
        }
        out += annotated;
    };
    code("condition ", u32(r + 28), 0);
    if (u32(r + 28) == 0) out.erase(out.rfind("  condition "), std::string::npos), out += "  condition  none\n";
    code("suggestion", u32(r + 16), u32(r + 12));
    code("message   ", u32(r + 24), u32(r + 20));
    return out;
}

} // namespace lxrc
