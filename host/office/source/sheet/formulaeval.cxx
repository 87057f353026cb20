// The formula evaluator: walks the tree of formula.hxx and computes a Value.
// Conversions follow what spreadsheet users expect: an empty cell is 0 or "",
// TRUE is 1, text that reads wholly as a number is that number in arithmetic,
// errors pass through the first operator or function that meets them, and
// aggregate functions skip text and empty cells of the blocks they read.

#include "formula.hxx"

#include <rtl/math.hxx>
#include <rtl/ustrbuf.hxx>

#include <cmath>
#include <optional>

namespace officehost::sheetcore {
namespace {

constexpr int kMaxNameDepth = 32;

struct Evaluator {
    EvalContext& ctx;
    Sheet* own;
    int nameDepth = 0;

    // The number of a value, or the error to give instead.
    static std::optional<Value> toNumber(const Value& v, double& out) {
        switch (v.kind) {
        case Value::Empty: out = 0; return std::nullopt;
        case Value::Number:
        case Value::Bool: out = v.number; return std::nullopt;
        case Value::String:
            if (readNumber(v.text, out)) return std::nullopt;
            return Value::error(errors::VALUE);
        case Value::Error: return v;
        }
        return Value::error(errors::VALUE);
    }
    static std::optional<Value> toBool(const Value& v, bool& out) {
        switch (v.kind) {
        case Value::Empty: out = false; return std::nullopt;
        case Value::Number:
        case Value::Bool: out = v.number != 0; return std::nullopt;
        case Value::String:
            if (v.text.equalsIgnoreAsciiCase(u"TRUE")) out = true;
            else if (v.text.equalsIgnoreAsciiCase(u"FALSE")) out = false;
            else return Value::error(errors::VALUE);
            return std::nullopt;
        case Value::Error: return v;
        }
        return Value::error(errors::VALUE);
    }
    static Value finite(double d) { return std::isfinite(d) ? Value::num(d) : Value::error(errors::NUM); }

    // The block a node stands for, when it is a reference or a name of one.
    const Node* blockOf(const Node& n) {
        if (n.kind == NodeKind::Ref) return &n;
        if (n.kind == NodeKind::Name && nameDepth < kMaxNameDepth) {
            const Formula* def = ctx.name(n.text, own);
            if (def && def->root && def->root->kind == NodeKind::Ref) return def->root.get();
        }
        return nullptr;
    }

    Value eval(const Node& n) {
        switch (n.kind) {
        case NodeKind::Number: return Value::num(n.number);
        case NodeKind::String: return Value::str(n.text);
        case NodeKind::Bool: return Value::boolean(n.number != 0);
        case NodeKind::Error: return Value{Value::Error, 0, n.text};
        case NodeKind::Ref:
            if (n.deleted || !n.sheet) return Value::error(errors::REF);
            if (n.rect.area() != 1) return Value::error(errors::VALUE);
            return ctx.cell(n.sheet, n.rect.c0, n.rect.r0);
        case NodeKind::Name: {
            const Formula* def = ctx.name(n.text, own);
            if (!def) return Value::error(errors::NAME);
            if (!def->root) return Value::error(errors::SYNTAX);
            if (nameDepth >= kMaxNameDepth) return Value::error(errors::CYCLE);
            ++nameDepth;
            Value v = eval(*def->root);
            --nameDepth;
            return v;
        }
        case NodeKind::Unary: {
            double d;
            if (auto e = toNumber(eval(*n.args[0]), d)) return *e;
            return Value::num(n.op == u'-' ? -d : d);
        }
        case NodeKind::Binary: return binary(n);
        case NodeKind::Call:
            if (n.text.isEmpty()) return eval(*n.args[0]);
            return call(n);
        }
        return Value::error(errors::VALUE);
    }

    static int rank(const Value& v) { return v.kind == Value::String ? 1 : v.kind == Value::Bool ? 2 : 0; }

    Value binary(const Node& n) {
        Value a = eval(*n.args[0]);
        Value b = eval(*n.args[1]);
        if (a.kind == Value::Error) return a;
        if (b.kind == Value::Error) return b;
        if (n.op == u'&') return Value::str(valueText(a) + valueText(b));
        if (std::u16string_view(u"=<>LGN").find(n.op) != std::u16string_view::npos) return compare(n.op, a, b);
        double x, y;
        if (auto e = toNumber(a, x)) return *e;
        if (auto e = toNumber(b, y)) return *e;
        switch (n.op) {
        case u'+': return finite(x + y);
        case u'-': return finite(x - y);
        case u'*': return finite(x * y);
        case u'/': return y == 0 ? Value::error(errors::DIV0) : finite(x / y);
        case u'^':
            if (x == 0 && y < 0) return Value::error(errors::DIV0);
            return finite(std::pow(x, y));
        default: return Value::error(errors::VALUE);
        }
    }

    static Value compare(char16_t op, Value a, Value b) {
        // An empty cell compares as the other side's kind of nothing.
        auto fill = [](Value& v, const Value& other) {
            if (v.kind != Value::Empty) return;
            if (other.kind == Value::String) v = Value::str(OUString());
            else if (other.kind == Value::Bool) v = Value::boolean(false);
            else v = Value::num(0);
        };
        fill(a, b);
        fill(b, a);
        int c;
        if (rank(a) != rank(b)) {
            c = rank(a) < rank(b) ? -1 : 1;
        } else if (a.kind == Value::String) {
            c = a.text.toAsciiUpperCase().compareTo(b.text.toAsciiUpperCase());
            c = c < 0 ? -1 : c > 0 ? 1 : 0;
        } else {
            c = a.number < b.number ? -1 : a.number > b.number ? 1 : 0;
        }
        switch (op) {
        case u'=': return Value::boolean(c == 0);
        case u'N': return Value::boolean(c != 0);
        case u'<': return Value::boolean(c < 0);
        case u'>': return Value::boolean(c > 0);
        case u'L': return Value::boolean(c <= 0);
        default: return Value::boolean(c >= 0);
        }
    }

    // Feeds every value of the arguments to fn: the cells of blocks (fromBlock
    // true) and the results of other arguments.  Stops at the first error fn returns.
    std::optional<Value> each(const Node& call, const std::function<std::optional<Value>(const Value&, bool)>& fn) {
        for (const auto& arg : call.args) {
            // References count as blocks even for one cell: SUM(A1) skips text in A1.
            if (const Node* block = blockOf(*arg)) {
                if (block->deleted || !block->sheet) return Value::error(errors::REF);
                std::optional<Value> failure;
                ctx.forEachCell(block->sheet, block->rect, [&](const Value& v) {
                    if (!failure) failure = fn(v, true);
                });
                if (failure) return failure;
                continue;
            }
            if (auto e = fn(eval(*arg), false)) return e;
        }
        return std::nullopt;
    }

    Value aggregate(const Node& n, const OUString& f) {
        double sum = 0, product = 1, best = 0;
        sal_Int64 count = 0;
        bool any = false;
        auto failure = each(n, [&](const Value& v, bool fromBlock) -> std::optional<Value> {
            if (v.kind == Value::Error) return v;
            double d;
            if (fromBlock) {
                if (v.kind != Value::Number) return std::nullopt;
                d = v.number;
            } else if (auto e = toNumber(v, d)) {
                return e;
            }
            sum += d;
            product *= d;
            if (!any || (f == u"MIN" ? d < best : d > best)) best = d;
            any = true;
            ++count;
            return std::nullopt;
        });
        if (failure) return *failure;
        if (f == u"SUM") return finite(sum);
        if (f == u"PRODUCT") return finite(count ? product : 0);
        if (f == u"AVERAGE") return count ? finite(sum / double(count)) : Value::error(errors::DIV0);
        return Value::num(any ? best : 0);
    }

    Value call(const Node& n) {
        const OUString& f = n.text;
        const std::size_t argc = n.args.size();
        auto arity = [&](std::size_t lo, std::size_t hi) { return argc >= lo && argc <= hi; };
        if (f == u"SUM" || f == u"AVERAGE" || f == u"MIN" || f == u"MAX" || f == u"PRODUCT") {
            if (argc == 0) return Value::error(errors::VALUE);
            return aggregate(n, f);
        }
        if (f == u"COUNT" || f == u"COUNTA") {
            if (argc == 0) return Value::error(errors::VALUE);
            const bool all = f == u"COUNTA";
            sal_Int64 count = 0;
            each(n, [&](const Value& v, bool fromBlock) -> std::optional<Value> {
                double d;
                if (all) count += v.kind != Value::Empty;
                else if (v.kind == Value::Number) ++count;
                else if (!fromBlock && (v.kind == Value::Bool || (v.kind == Value::String && readNumber(v.text, d))))
                    ++count;
                return std::nullopt;
            });
            return Value::num(double(count));
        }
        if (f == u"AND" || f == u"OR") {
            if (argc == 0) return Value::error(errors::VALUE);
            const bool isAnd = f == u"AND";
            bool result = isAnd, any = false;
            auto failure = each(n, [&](const Value& v, bool fromBlock) -> std::optional<Value> {
                if (v.kind == Value::Error) return v;
                if (fromBlock && v.kind != Value::Number && v.kind != Value::Bool) return std::nullopt;
                bool b;
                if (auto e = toBool(v, b)) return e;
                result = isAnd ? (result && b) : (result || b);
                any = true;
                return std::nullopt;
            });
            if (failure) return *failure;
            return any ? Value::boolean(result) : Value::error(errors::VALUE);
        }
        if (f == u"IF") {
            if (!arity(2, 3)) return Value::error(errors::VALUE);
            bool c;
            if (auto e = toBool(eval(*n.args[0]), c)) return *e;
            if (c) return eval(*n.args[1]);
            return argc == 3 ? eval(*n.args[2]) : Value::boolean(false);
        }
        if (f == u"NOT") {
            if (!arity(1, 1)) return Value::error(errors::VALUE);
            bool b;
            if (auto e = toBool(eval(*n.args[0]), b)) return *e;
            return Value::boolean(!b);
        }
        if (f == u"ABS") {
            if (!arity(1, 1)) return Value::error(errors::VALUE);
            double d;
            if (auto e = toNumber(eval(*n.args[0]), d)) return *e;
            return Value::num(std::fabs(d));
        }
        if (f == u"ROUND") {
            if (!arity(1, 2)) return Value::error(errors::VALUE);
            double d, places = 0;
            if (auto e = toNumber(eval(*n.args[0]), d)) return *e;
            if (argc == 2)
                if (auto e = toNumber(eval(*n.args[1]), places)) return *e;
            if (places > 300 || places < -300) return Value::error(errors::NUM);
            return finite(rtl::math::round(d, static_cast<int>(std::trunc(places))));
        }
        if (f == u"CONCATENATE") {
            if (argc == 0) return Value::error(errors::VALUE);
            OUStringBuffer b;
            for (const auto& arg : n.args) {
                Value v = eval(*arg);
                if (v.kind == Value::Error) return v;
                b.append(valueText(v));
            }
            return Value::str(b.makeStringAndClear());
        }
        if (f == u"LEN") {
            if (!arity(1, 1)) return Value::error(errors::VALUE);
            Value v = eval(*n.args[0]);
            if (v.kind == Value::Error) return v;
            return Value::num(valueText(v).getLength());
        }
        return Value::error(errors::NAME);
    }
};

} // namespace

OUString numberText(double d) {
    if (d == 0) return u"0";
    if (std::fabs(d) < 1e15 && d == std::trunc(d)) return OUString::number(static_cast<long long>(d));
    return rtl::math::doubleToUString(d, rtl_math_StringFormat_G, 15, u'.', true);
}

OUString valueText(const Value& v) {
    switch (v.kind) {
    case Value::Empty: return OUString();
    case Value::Number: return numberText(v.number);
    case Value::Bool: return v.number != 0 ? OUString(u"TRUE") : OUString(u"FALSE");
    case Value::String:
    case Value::Error: return v.text;
    }
    return OUString();
}

bool readNumber(const OUString& text, double& out) {
    if (text.isEmpty() || text[0] == u' ' || text[0] == u'\t') return false;
    const sal_Unicode* begin = text.getStr();
    const sal_Unicode* end = begin + text.getLength();
    rtl_math_ConversionStatus status = rtl_math_ConversionStatus_Ok;
    const sal_Unicode* parsedEnd = begin;
    double d = rtl_math_uStringToDouble(begin, end, u'.', 0, &status, &parsedEnd);
    if (parsedEnd != end || status != rtl_math_ConversionStatus_Ok || !std::isfinite(d)) return false;
    out = d;
    return true;
}

Value evaluate(const Formula& f, Sheet* own, EvalContext& ctx) {
    if (!f.root) return Value::error(errors::SYNTAX);
    Evaluator e{ctx, own};
    return e.eval(*f.root);
}

void forEachReference(const Node& n, Sheet* own, EvalContext* names, const std::function<void(Sheet*, const Rect&)>& fn,
                      int depth) {
    if (n.kind == NodeKind::Ref) {
        if (!n.deleted && n.sheet) fn(n.sheet, n.rect);
        return;
    }
    if (n.kind == NodeKind::Name) {
        if (!names || depth >= kMaxNameDepth) return;
        if (const Formula* def = names->name(n.text, own); def && def->root)
            forEachReference(*def->root, own, names, fn, depth + 1);
        return;
    }
    for (const auto& a : n.args) forEachReference(*a, own, names, fn, depth);
}

} // namespace officehost::sheetcore
