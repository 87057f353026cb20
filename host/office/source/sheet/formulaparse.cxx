// The formula parser and the text form of formulas: a hand-written
// recursive-descent parser over a small lexer, producing the tree of formula.hxx.
//
// Grammar (lowest precedence first):
//   comparison := concat (("=" | "<>" | "<" | ">" | "<=" | ">=") concat)*
//   concat     := additive ("&" additive)*
//   additive   := term (("+" | "-") term)*
//   term       := power (("*" | "/") power)*
//   power      := unary ("^" unary)*
//   unary      := ("+" | "-") unary | primary
//   primary    := number | string | TRUE | FALSE | error | reference | name
//               | function "(" [comparison (("," | ";") comparison)*] ")" | "(" comparison ")"

#include "formula.hxx"

#include <rtl/math.hxx>
#include <rtl/ustrbuf.hxx>

#include <cmath>

namespace officehost::sheetcore {
namespace {

bool isLetter(char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }
bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool isWordChar(char16_t c) { return isLetter(c) || isDigit(c) || c == u'_' || c == u'.' || c == u'$' || c > 127; }

struct SyntaxError {};

constexpr int kMaxNodes = 4096;

const char16_t* const kErrorLiterals[] = {errors::DIV0, errors::VALUE, errors::REF,   errors::NAME,
                                          errors::NUM,  errors::SYNTAX, errors::CYCLE};

class Parser {
public:
    Parser(const OUString& text, Sheet* own, const SheetLookup& lookup) : s_(text.view()), own_(own), lookup_(lookup) {}

    std::unique_ptr<Node> parseAll() {
        skip();
        if (pos_ == s_.size()) throw SyntaxError{};
        auto n = comparison();
        skip();
        if (pos_ != s_.size()) throw SyntaxError{};
        return n;
    }

private:
    void skip() {
        while (pos_ < s_.size() && (s_[pos_] == u' ' || s_[pos_] == u'\t' || s_[pos_] == u'\n' || s_[pos_] == u'\r'))
            ++pos_;
    }
    bool peek(std::u16string_view t) {
        skip();
        return s_.substr(pos_, t.size()) == t;
    }
    bool accept(std::u16string_view t) {
        if (!peek(t)) return false;
        pos_ += t.size();
        return true;
    }
    // Every node is counted: a formula of more than kMaxNodes nodes is refused, so
    // that evaluating, writing and destroying its tree stays within the stack.
    std::unique_ptr<Node> make(NodeKind kind) {
        if (++nodes_ > kMaxNodes) throw SyntaxError{};
        return std::make_unique<Node>(kind);
    }
    std::unique_ptr<Node> binary(char16_t op, std::unique_ptr<Node> a, std::unique_ptr<Node> b) {
        auto n = make(NodeKind::Binary);
        n->op = op;
        n->args.push_back(std::move(a));
        n->args.push_back(std::move(b));
        return n;
    }

    std::unique_ptr<Node> comparison() {
        auto n = concat();
        for (;;) {
            char16_t op = 0;
            if (accept(u"<>")) op = u'N';
            else if (accept(u"<=")) op = u'L';
            else if (accept(u">=")) op = u'G';
            else if (accept(u"=")) op = u'=';
            else if (accept(u"<")) op = u'<';
            else if (accept(u">")) op = u'>';
            else return n;
            n = binary(op, std::move(n), concat());
        }
    }
    std::unique_ptr<Node> concat() {
        auto n = additive();
        while (accept(u"&")) n = binary(u'&', std::move(n), additive());
        return n;
    }
    std::unique_ptr<Node> additive() {
        auto n = term();
        for (;;) {
            if (accept(u"+")) n = binary(u'+', std::move(n), term());
            else if (accept(u"-")) n = binary(u'-', std::move(n), term());
            else return n;
        }
    }
    std::unique_ptr<Node> term() {
        auto n = power();
        for (;;) {
            if (accept(u"*")) n = binary(u'*', std::move(n), power());
            else if (accept(u"/")) n = binary(u'/', std::move(n), power());
            else return n;
        }
    }
    std::unique_ptr<Node> power() {
        auto n = unary();
        while (accept(u"^")) n = binary(u'^', std::move(n), unary());
        return n;
    }
    std::unique_ptr<Node> unary() {
        char16_t op = 0;
        if (accept(u"-")) op = u'-';
        else if (accept(u"+")) op = u'+';
        if (!op) return primary();
        if (++depth_ > 200) throw SyntaxError{};
        auto n = make(NodeKind::Unary);
        n->op = op;
        n->args.push_back(unary());
        --depth_;
        return n;
    }

    std::unique_ptr<Node> primary() {
        skip();
        if (pos_ >= s_.size()) throw SyntaxError{};
        char16_t c = s_[pos_];
        if (c == u'(') {
            if (++depth_ > 200) throw SyntaxError{};
            ++pos_;
            auto n = comparison();
            if (!accept(u")")) throw SyntaxError{};
            --depth_;
            // Parentheses are kept as a call without a name, so the text form keeps them.
            auto p = make(NodeKind::Call);
            p->args.push_back(std::move(n));
            return p;
        }
        if (isDigit(c) || (c == u'.' && pos_ + 1 < s_.size() && isDigit(s_[pos_ + 1]))) return number();
        if (c == u'"') return string();
        if (c == u'#') return errorLiteral();
        if (c == u'\'') {
            OUString sheet = quotedName();
            if (!accept(u"!")) throw SyntaxError{};
            return reference(&sheet);
        }
        if (!isWordChar(c) || c == u'.') throw SyntaxError{};
        std::size_t start = pos_;
        while (pos_ < s_.size() && isWordChar(s_[pos_])) ++pos_;
        OUString word(s_.substr(start, pos_ - start));
        if (pos_ < s_.size() && s_[pos_] == u'!') {
            ++pos_;
            // "$Sheet1!A1": the mark fixes the sheet; it is kept for the text form.
            bool absSheet = word.startsWith(u"$");
            if (absSheet) word = word.copy(1);
            auto ref = reference(&word);
            ref->absSheet = absSheet;
            return ref;
        }
        skip();
        if (pos_ < s_.size() && s_[pos_] == u'(') return call(word.toAsciiUpperCase());
        pos_ = start;
        if (auto ref = tryReference(nullptr)) return ref;
        pos_ = start + word.getLength();
        OUString upper = word.toAsciiUpperCase();
        if (upper == u"TRUE" || upper == u"FALSE") {
            auto n = make(NodeKind::Bool);
            n->number = upper == u"TRUE" ? 1 : 0;
            return n;
        }
        if (word.indexOf(u'$') >= 0 || isDigit(word[0])) throw SyntaxError{};
        auto n = make(NodeKind::Name);
        n->text = word;
        return n;
    }

    std::unique_ptr<Node> number() {
        const sal_Unicode* begin = s_.data() + pos_;
        const sal_Unicode* end = s_.data() + s_.size();
        rtl_math_ConversionStatus status = rtl_math_ConversionStatus_Ok;
        const sal_Unicode* parsedEnd = begin;
        double d = rtl_math_uStringToDouble(begin, end, u'.', 0, &status, &parsedEnd);
        if (parsedEnd == begin) throw SyntaxError{};
        pos_ += parsedEnd - begin;
        auto n = make(NodeKind::Number);
        n->number = d;
        return n;
    }

    std::unique_ptr<Node> string() {
        ++pos_;
        OUStringBuffer b;
        for (;;) {
            if (pos_ >= s_.size()) throw SyntaxError{};
            char16_t c = s_[pos_++];
            if (c == u'"') {
                if (pos_ < s_.size() && s_[pos_] == u'"') {
                    b.append(u'"');
                    ++pos_;
                    continue;
                }
                break;
            }
            b.append(c);
        }
        auto n = make(NodeKind::String);
        n->text = b.makeStringAndClear();
        return n;
    }

    std::unique_ptr<Node> errorLiteral() {
        for (const char16_t* e : kErrorLiterals) {
            std::u16string_view t(e);
            if (s_.substr(pos_, t.size()) == t) {
                pos_ += t.size();
                auto n = make(NodeKind::Error);
                n->text = OUString(t);
                return n;
            }
        }
        throw SyntaxError{};
    }

    OUString quotedName() {
        ++pos_;
        OUStringBuffer b;
        for (;;) {
            if (pos_ >= s_.size()) throw SyntaxError{};
            char16_t c = s_[pos_++];
            if (c == u'\'') {
                if (pos_ < s_.size() && s_[pos_] == u'\'') {
                    b.append(u'\'');
                    ++pos_;
                    continue;
                }
                break;
            }
            b.append(c);
        }
        return b.makeStringAndClear();
    }

    // A reference after a sheet qualifier: a sheet that does not exist makes a deleted reference.
    std::unique_ptr<Node> reference(const OUString* sheetName) {
        auto n = tryReference(sheetName);
        if (!n) throw SyntaxError{};
        return n;
    }

    std::unique_ptr<Node> tryReference(const OUString* sheetName) {
        std::size_t save = pos_;
        auto n = make(NodeKind::Ref);
        if (!parseCellAddress(s_, pos_, n->rect.c0, n->rect.r0, n->absCol[0], n->absRow[0]) ||
            (pos_ < s_.size() && isWordChar(s_[pos_]) && s_[pos_] != u'.')) {
            pos_ = save;
            return nullptr;
        }
        n->rect.c1 = n->rect.c0;
        n->rect.r1 = n->rect.r0;
        n->absCol[1] = n->absCol[0];
        n->absRow[1] = n->absRow[0];
        if (pos_ < s_.size() && s_[pos_] == u':') {
            std::size_t colon = pos_++;
            if (!parseCellAddress(s_, pos_, n->rect.c1, n->rect.r1, n->absCol[1], n->absRow[1])) {
                pos_ = colon;
            } else {
                n->range = true;
                if (n->rect.c1 < n->rect.c0) std::swap(n->rect.c0, n->rect.c1), std::swap(n->absCol[0], n->absCol[1]);
                if (n->rect.r1 < n->rect.r0) std::swap(n->rect.r0, n->rect.r1), std::swap(n->absRow[0], n->absRow[1]);
            }
        }
        n->sheet = own_;
        if (sheetName) {
            n->qualified = true;
            n->sheet = lookup_ ? lookup_(*sheetName) : nullptr;
            if (!n->sheet) n->deleted = true;
        }
        return n;
    }

    std::unique_ptr<Node> call(const OUString& upperName) {
        accept(u"(");
        if (++depth_ > 200) throw SyntaxError{};
        auto n = make(NodeKind::Call);
        n->text = upperName;
        if (!accept(u")")) {
            do {
                n->args.push_back(comparison());
            } while (accept(u",") || accept(u";"));
            if (!accept(u")")) throw SyntaxError{};
        }
        --depth_;
        return n;
    }

    std::u16string_view s_;
    std::size_t pos_ = 0;
    int depth_ = 0;
    int nodes_ = 0;
    Sheet* own_;
    const SheetLookup& lookup_;
};

bool isPlainSheetName(const OUString& name) {
    if (name.isEmpty() || isDigit(name[0])) return false;
    for (sal_Int32 i = 0; i < name.getLength(); ++i)
        if (!(isLetter(name[i]) || isDigit(name[i]) || name[i] == u'_')) return false;
    // A name that reads as a cell address would be taken for one.
    std::size_t pos = 0;
    sal_Int32 c, r;
    bool a, b;
    if (parseCellAddress(name.view(), pos, c, r, a, b) && pos == std::size_t(name.getLength())) return false;
    return true;
}

void renderCorner(OUStringBuffer& b, sal_Int32 col, sal_Int32 row, bool absCol, bool absRow) {
    if (absCol) b.append(u'$');
    b.append(columnName(col));
    if (absRow) b.append(u'$');
    b.append(OUString::number(row + 1));
}

const char16_t* opText(char16_t op) {
    switch (op) {
    case u'L': return u"<=";
    case u'G': return u">=";
    case u'N': return u"<>";
    case u'+': return u"+";
    case u'-': return u"-";
    case u'*': return u"*";
    case u'/': return u"/";
    case u'^': return u"^";
    case u'&': return u"&";
    case u'=': return u"=";
    case u'<': return u"<";
    default: return u">";
    }
}

void render(const Node& n, OUStringBuffer& b) {
    switch (n.kind) {
    case NodeKind::Number: b.append(numberText(n.number)); return;
    case NodeKind::String: b.append(u'"').append(n.text.replaceAll(u"\"", u"\"\"")).append(u'"'); return;
    case NodeKind::Bool: b.append(n.number != 0 ? u"TRUE" : u"FALSE"); return;
    case NodeKind::Error: b.append(n.text); return;
    case NodeKind::Name: b.append(n.text); return;
    case NodeKind::Ref:
        if (n.deleted) {
            b.append(std::u16string_view(errors::REF));
            return;
        }
        if (n.qualified) {
            if (n.absSheet) b.append(u'$');
            b.append(quoteSheetName(sheetNameOf(n.sheet))).append(u'!');
        }
        renderCorner(b, n.rect.c0, n.rect.r0, n.absCol[0], n.absRow[0]);
        if (n.range) {
            b.append(u':');
            renderCorner(b, n.rect.c1, n.rect.r1, n.absCol[1], n.absRow[1]);
        }
        return;
    case NodeKind::Unary:
        b.append(n.op);
        render(*n.args[0], b);
        return;
    case NodeKind::Binary:
        // The tree keeps explicit parentheses, so operands are written as they stand.
        render(*n.args[0], b);
        b.append(opText(n.op));
        render(*n.args[1], b);
        return;
    case NodeKind::Call:
        b.append(n.text).append(u'(');
        for (std::size_t i = 0; i < n.args.size(); ++i) {
            if (i) b.append(u',');
            render(*n.args[i], b);
        }
        b.append(u')');
        return;
    }
}

} // namespace

bool parseCellAddress(std::u16string_view s, std::size_t& pos, sal_Int32& col, sal_Int32& row, bool& absCol,
                      bool& absRow) {
    std::size_t p = pos;
    absCol = p < s.size() && s[p] == u'$';
    if (absCol) ++p;
    sal_Int64 c = 0;
    std::size_t letters = 0;
    while (p < s.size() && isLetter(s[p]) && letters < 4) {
        c = c * 26 + ((s[p] | 0x20) - u'a' + 1);
        ++p;
        ++letters;
    }
    if (letters == 0 || letters > 3) return false;
    absRow = p < s.size() && s[p] == u'$';
    if (absRow) ++p;
    sal_Int64 r = 0;
    std::size_t digits = 0;
    while (p < s.size() && isDigit(s[p]) && digits < 8) {
        r = r * 10 + (s[p] - u'0');
        ++p;
        ++digits;
    }
    if (digits == 0 || r < 1 || r > kMaxRows || c > kMaxColumns) return false;
    if (p < s.size() && isDigit(s[p])) return false;
    col = static_cast<sal_Int32>(c - 1);
    row = static_cast<sal_Int32>(r - 1);
    pos = p;
    return true;
}

OUString columnName(sal_Int32 column) {
    char16_t buf[8];
    int n = 0;
    sal_Int64 c = sal_Int64(column) + 1;
    while (c > 0) {
        buf[n++] = char16_t(u'A' + (c - 1) % 26);
        c = (c - 1) / 26;
    }
    OUStringBuffer b;
    while (n > 0) b.append(buf[--n]);
    return b.makeStringAndClear();
}

OUString quoteSheetName(const OUString& name) {
    if (isPlainSheetName(name)) return name;
    return u"'" + name.replaceAll(u"'", u"''") + u"'";
}

Formula parseFormula(const OUString& text, Sheet* own, const SheetLookup& lookup) {
    Formula f;
    f.text = text;
    try {
        Parser p(text, own, lookup);
        f.root = p.parseAll();
    } catch (const SyntaxError&) {
        f.root.reset();
    }
    return f;
}

OUString renderFormula(const Formula& f) {
    if (!f.root) return f.text;
    OUStringBuffer b;
    render(*f.root, b);
    return b.makeStringAndClear();
}

} // namespace officehost::sheetcore
