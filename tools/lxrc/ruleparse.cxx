// Reading rule files: the line structure of declarations and rules, and a
// Pratt parser for the expressions inside conditions, suggestions and messages.

#include "rulelang.hxx"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

namespace lxrc {

RuleError::RuleError(const Location& at, const std::string& message)
    : std::runtime_error(at.file + ":" + std::to_string(at.line) + ":" + std::to_string(at.column) + ": " + message) {}

namespace {

namespace fs = std::filesystem;

// ---------------------------------------------------------------------------
// Expressions
// ---------------------------------------------------------------------------

struct Token {
    enum class Kind { End, Ident, String, Integer, Group, Punct };
    Kind kind = Kind::End;
    std::string text; // identifier, decoded string, digits, or punctuation
    Location at;
};

std::string describe(const Token& t) {
    switch (t.kind) {
    case Token::Kind::End:
        return "end of expression";
    case Token::Kind::String:
        return "string \"" + t.text + "\"";
    case Token::Kind::Group:
        return "'$" + t.text + "'";
    case Token::Kind::Ident:
    case Token::Kind::Integer:
    case Token::Kind::Punct:
        break;
    }
    return "'" + t.text + "'";
}

bool identStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool identPart(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-'; }

// Splits an expression into tokens.  The source may run over several lines;
// `at` locates its first byte and every line after a '\n' starts at column
// `continuationColumn` of the following line.
class Lexer {
public:
    Lexer(const std::string& source, Location at) : s_(source), at_(std::move(at)) {}

    std::vector<Token> tokens() {
        std::vector<Token> out;
        for (;;) {
            skipBlanks();
            Token t;
            t.at = at_;
            if (i_ >= s_.size()) {
                out.push_back(t);
                return out;
            }
            const char c = s_[i_];
            if (identStart(c)) {
                t.kind = Token::Kind::Ident;
                while (i_ < s_.size() && identPart(s_[i_])) t.text += take();
                // A trailing '-' belongs to no name.
                while (!t.text.empty() && t.text.back() == '-') {
                    t.text.pop_back();
                    --i_;
                    --at_.column;
                }
            } else if (std::isdigit(static_cast<unsigned char>(c))) {
                t.kind = Token::Kind::Integer;
                while (i_ < s_.size() && std::isdigit(static_cast<unsigned char>(s_[i_]))) t.text += take();
            } else if (c == '$') {
                take();
                t.kind = Token::Kind::Group;
                while (i_ < s_.size() && std::isdigit(static_cast<unsigned char>(s_[i_]))) t.text += take();
                if (t.text.empty()) throw RuleError(t.at, "'$' needs a group number");
            } else if (c == '"') {
                t.kind = Token::Kind::String;
                take();
                for (;;) {
                    if (i_ >= s_.size() || s_[i_] == '\n') throw RuleError(t.at, "unterminated string");
                    const char d = take();
                    if (d == '"') break;
                    if (d != '\\') {
                        t.text += d;
                        continue;
                    }
                    if (i_ >= s_.size()) throw RuleError(t.at, "unterminated string");
                    const char e = take();
                    switch (e) {
                    case 'n':
                        t.text += '\n';
                        break;
                    case 't':
                        t.text += '\t';
                        break;
                    case '"':
                    case '\\':
                        t.text += e;
                        break;
                    default:
                        // Kept as written, so that ICU replacement texts read naturally.
                        t.text += '\\';
                        t.text += e;
                    }
                }
            } else {
                t.kind = Token::Kind::Punct;
                static const char* two[] = {"==", "!="};
                bool done = false;
                for (const char* p : two)
                    if (s_.compare(i_, 2, p) == 0) {
                        t.text = p;
                        take();
                        take();
                        done = true;
                    }
                if (!done) {
                    if (std::string("()[]:,+~-").find(c) == std::string::npos)
                        throw RuleError(t.at, std::string("unexpected character '") + c + "'");
                    t.text = std::string(1, take());
                }
            }
            out.push_back(std::move(t));
        }
    }

private:
    char take() {
        const char c = s_[i_++];
        if (c == '\n') {
            ++at_.line;
            at_.column = 1;
        } else {
            ++at_.column;
        }
        return c;
    }
    void skipBlanks() {
        while (i_ < s_.size() && (s_[i_] == ' ' || s_[i_] == '\t' || s_[i_] == '\n' || s_[i_] == '\r')) {
            if (s_[i_] == '\n') {
                take();
                // Continuation lines are indented; their columns count from 1.
                while (i_ < s_.size() && (s_[i_] == ' ' || s_[i_] == '\t')) take();
                continue;
            }
            take();
        }
        if (i_ < s_.size() && s_[i_] == '#') // a comment runs to the end of the line
            while (i_ < s_.size() && s_[i_] != '\n') take();
        if (i_ < s_.size() && (s_[i_] == ' ' || s_[i_] == '\n')) skipBlanks();
    }

    const std::string& s_;
    std::size_t i_ = 0;
    Location at_;
};

enum Precedence { Lowest = 0, OrLevel = 1, AndLevel = 2, NotLevel = 3, CompareLevel = 4, ConcatLevel = 5, PostfixLevel = 6 };

class ExprParser {
public:
    explicit ExprParser(std::vector<Token> tokens) : t_(std::move(tokens)) {}

    ExprPtr parseAll() {
        ExprPtr e = expression(Lowest);
        if (peek().kind != Token::Kind::End) throw RuleError(peek().at, "unexpected " + describe(peek()));
        return e;
    }

private:
    const Token& peek(std::size_t ahead = 0) const { return t_[std::min(i_ + ahead, t_.size() - 1)]; }
    Token next() { return t_[std::min(i_++, t_.size() - 1)]; }
    bool isWord(const Token& t, const char* w) const { return t.kind == Token::Kind::Ident && t.text == w; }
    bool isPunct(const Token& t, const char* p) const { return t.kind == Token::Kind::Punct && t.text == p; }
    void expectPunct(const char* p) {
        if (!isPunct(peek(), p)) throw RuleError(peek().at, std::string("expected '") + p + "', found " + describe(peek()));
        next();
    }
    void expectWord(const char* w) {
        if (!isWord(peek(), w)) throw RuleError(peek().at, std::string("expected '") + w + "', found " + describe(peek()));
        next();
    }

    static ExprPtr make(Expr::Kind kind, const Location& at) {
        auto e = std::make_unique<Expr>();
        e->kind = kind;
        e->at = at;
        return e;
    }
    static ExprPtr binary(Expr::Kind kind, ExprPtr a, ExprPtr b, const Location& at) {
        ExprPtr e = make(kind, at);
        e->args.push_back(std::move(a));
        e->args.push_back(std::move(b));
        return e;
    }

    // The binding power of the token after an operand, 0 when it ends the expression.
    int infixLevel() const {
        const Token& t = peek();
        if (isWord(t, "or")) return OrLevel;
        if (isWord(t, "and")) return AndLevel;
        if (isPunct(t, "==") || isPunct(t, "!=") || isPunct(t, "~") || isWord(t, "in") ||
            (isWord(t, "not") && isWord(peek(1), "in")))
            return CompareLevel;
        if (isPunct(t, "+")) return ConcatLevel;
        if (isPunct(t, "[")) return PostfixLevel;
        return 0;
    }

    ExprPtr expression(int minLevel) {
        ExprPtr left = prefix();
        for (;;) {
            const int level = infixLevel();
            if (level == 0 || level <= minLevel) return left;
            const Token op = next();
            if (op.text == "[") {
                left = subscript(std::move(left), op.at);
                continue;
            }
            if (op.text == "not") {
                next(); // "in"
                left = binary(Expr::Kind::NotIn, std::move(left), expression(level), op.at);
            } else if (op.text == "or") {
                left = binary(Expr::Kind::Or, std::move(left), expression(level), op.at);
            } else if (op.text == "and") {
                left = binary(Expr::Kind::And, std::move(left), expression(level), op.at);
            } else if (op.text == "+") {
                left = binary(Expr::Kind::Concat, std::move(left), expression(level), op.at);
            } else {
                const Expr::Kind kind = op.text == "==" ? Expr::Kind::Equal
                                        : op.text == "!=" ? Expr::Kind::NotEqual
                                        : op.text == "~"  ? Expr::Kind::Search
                                                          : Expr::Kind::In;
                left = binary(kind, std::move(left), expression(level), op.at);
                if (infixLevel() == CompareLevel)
                    throw RuleError(peek().at, "comparisons do not chain; use 'and'");
            }
        }
    }

    ExprPtr subscript(ExprPtr target, const Location& at) {
        ExprPtr first;
        if (!isPunct(peek(), ":")) first = expression(Lowest);
        if (isPunct(peek(), ":")) {
            next();
            ExprPtr second;
            if (!isPunct(peek(), "]")) second = expression(Lowest);
            expectPunct("]");
            ExprPtr e = make(Expr::Kind::Slice, at);
            e->args.push_back(std::move(target));
            e->args.push_back(first ? std::move(first) : make(Expr::Kind::None, at));
            e->args.push_back(second ? std::move(second) : make(Expr::Kind::None, at));
            return e;
        }
        expectPunct("]");
        return binary(Expr::Kind::Index, std::move(target), std::move(first), at);
    }

    ExprPtr prefix() {
        const Token t = next();
        switch (t.kind) {
        case Token::Kind::End:
            throw RuleError(t.at, "expected an expression, found end of expression");
        case Token::Kind::String: {
            ExprPtr e = make(Expr::Kind::String, t.at);
            e->text = t.text;
            return e;
        }
        case Token::Kind::Integer:
        case Token::Kind::Group: {
            ExprPtr e = make(t.kind == Token::Kind::Group ? Expr::Kind::Group : Expr::Kind::Integer, t.at);
            if (t.text.size() > 9) throw RuleError(t.at, "number too large: " + t.text);
            e->number = std::stoll(t.text);
            return e;
        }
        case Token::Kind::Punct:
            if (t.text == "(") {
                ExprPtr e = expression(Lowest);
                expectPunct(")");
                return e;
            }
            if (t.text == "-" && peek().kind == Token::Kind::Integer) {
                ExprPtr e = prefix();
                e->number = -e->number;
                e->at = t.at;
                return e;
            }
            throw RuleError(t.at, "expected an expression, found " + describe(t));
        case Token::Kind::Ident:
            break;
        }
        if (t.text == "not") {
            ExprPtr e = make(Expr::Kind::Not, t.at);
            e->args.push_back(expression(NotLevel));
            return e;
        }
        if (t.text == "if") {
            ExprPtr e = make(Expr::Kind::If, t.at);
            e->args.push_back(expression(Lowest));
            expectWord("then");
            e->args.push_back(expression(Lowest));
            expectWord("else");
            e->args.push_back(expression(Lowest));
            return e;
        }
        if (t.text == "true" || t.text == "false") {
            ExprPtr e = make(Expr::Kind::Boolean, t.at);
            e->number = t.text == "true";
            return e;
        }
        if (t.text == "none") return make(Expr::Kind::None, t.at);
        static const std::set<std::string> reserved = {"and", "or", "in", "then", "else"};
        if (reserved.count(t.text)) throw RuleError(t.at, "expected an expression, found " + describe(t));
        if (isPunct(peek(), "(")) {
            next();
            ExprPtr e = make(Expr::Kind::Call, t.at);
            e->text = t.text;
            if (!isPunct(peek(), ")")) {
                for (;;) {
                    e->args.push_back(expression(Lowest));
                    if (!isPunct(peek(), ",")) break;
                    next();
                }
            }
            expectPunct(")");
            return e;
        }
        ExprPtr e = make(Expr::Kind::Name, t.at);
        e->text = t.text;
        return e;
    }

    std::vector<Token> t_;
    std::size_t i_ = 0;
};

// ---------------------------------------------------------------------------
// Files
// ---------------------------------------------------------------------------

struct Line {
    int number = 0;
    int indent = 0;
    std::string text; // without indentation and trailing blanks
};

std::vector<Line> readLines(const std::string& path, const Location& from) {
    std::ifstream in(path);
    if (!in) throw RuleError(from, "cannot read " + path);
    std::vector<Line> lines;
    std::string raw;
    int number = 0;
    while (std::getline(in, raw)) {
        ++number;
        std::size_t indent = 0;
        while (indent < raw.size() && (raw[indent] == ' ' || raw[indent] == '\t')) ++indent;
        std::size_t end = raw.size();
        while (end > indent && (raw[end - 1] == ' ' || raw[end - 1] == '\t' || raw[end - 1] == '\r')) --end;
        lines.push_back({number, static_cast<int>(indent), raw.substr(indent, end - indent)});
    }
    return lines;
}

// "key rest": the key and the rest after one run of blanks, with the column
// where the rest starts (1-based).
struct KeyValue {
    std::string key;
    std::string value;
    int valueColumn = 0;
};

KeyValue splitKey(const Line& line) {
    KeyValue kv;
    const std::size_t blank = line.text.find_first_of(" \t");
    kv.key = line.text.substr(0, blank);
    std::size_t v = blank == std::string::npos ? line.text.size() : blank;
    while (v < line.text.size() && (line.text[v] == ' ' || line.text[v] == '\t')) ++v;
    kv.value = line.text.substr(v);
    kv.valueColumn = line.indent + static_cast<int>(v) + 1;
    return kv;
}

std::vector<std::string> splitWords(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> out;
    for (std::string w; in >> w;) out.push_back(w);
    return out;
}

std::string trim(const std::string& s) {
    std::size_t a = 0, b = s.size();
    while (a < b && (s[a] == ' ' || s[a] == '\t')) ++a;
    while (b > a && (s[b - 1] == ' ' || s[b - 1] == '\t')) --b;
    return s.substr(a, b - a);
}

// ICU expression text for a phrase: blanks match one blank, an apostrophe
// either apostrophe, and the first letter either case.
// Not inside an address, a file name or a longer word ("hello@bnb.im").
std::string phrasePattern(const std::string& phrase) {
    std::string out = "(?<![\\w.@/'\\u2019-])";
    bool first = true;
    for (char c : phrase) {
        if (first && std::isalpha(static_cast<unsigned char>(c))) {
            const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            out += std::string("[") + upper + lower + "]";
            first = false;
            continue;
        }
        first = false;
        if (c == '\'') {
            out += "['\\u2019]";
        } else if (std::isalnum(static_cast<unsigned char>(c)) || c == ' ') {
            out += c;
        } else {
            out += '\\';
            out += c;
        }
    }
    if (!phrase.empty() && std::isalnum(static_cast<unsigned char>(phrase.back()))) out += "\\b(?![@/-]|\\.\\w)";
    return out;
}

std::string slug(const std::string& phrase) {
    std::string out;
    for (char c : phrase) {
        if (std::isalnum(static_cast<unsigned char>(c)))
            out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        else if (!out.empty() && out.back() != '-')
            out += '-';
    }
    while (!out.empty() && out.back() == '-') out.pop_back();
    return out;
}

std::string replaceAll(std::string s, const std::string& from, const std::string& to) {
    for (std::size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + to.size()))
        s.replace(at, from.size(), to);
    return s;
}

class FileReader {
public:
    FileReader(PackageDef& package, std::vector<std::string> includeDirs)
        : package_(package), includeDirs_(std::move(includeDirs)) {}

    void readFile(const std::string& path, const Location& from) {
        const std::string canonical = fs::weakly_canonical(path).string();
        if (!reading_.insert(canonical).second) throw RuleError(from, "file includes itself: " + path);
        const std::vector<Line> lines = readLines(path, from);
        std::size_t i = 0;
        while (i < lines.size()) {
            const Line& line = lines[i];
            if (line.text.empty() || line.text[0] == '#') {
                ++i;
                continue;
            }
            const Location at{path, line.number, line.indent + 1};
            if (line.indent != 0) throw RuleError(at, "indented line outside a rule");
            const KeyValue kv = splitKey(line);
            if (kv.key == "rule") {
                i = readRule(path, lines, i);
            } else if (kv.key == "table") {
                i = readTable(path, lines, i);
            } else {
                declaration(path, line, kv);
                ++i;
            }
        }
        reading_.erase(canonical);
    }

private:
    Location locate(const std::string& path, const Line& line, int column) const { return {path, line.number, column}; }

    std::string findFile(const std::string& name, const std::string& relativeTo, const Location& at) const {
        std::vector<fs::path> candidates{fs::path(relativeTo).parent_path() / name};
        for (const auto& d : includeDirs_) candidates.push_back(fs::path(d) / name);
        for (const auto& c : candidates)
            if (fs::exists(c)) return c.string();
        throw RuleError(at, "cannot find " + name);
    }

    std::string quoted(const std::string& value, const Location& at) const {
        if (value.size() < 2 || value.front() != '"' || value.back() != '"')
            throw RuleError(at, "expected a file name in double quotes");
        return value.substr(1, value.size() - 2);
    }

    void declaration(const std::string& path, const Line& line, const KeyValue& kv) {
        const Location at = locate(path, line, 1);
        const Location valueAt = locate(path, line, kv.valueColumn);
        if (kv.value.empty()) throw RuleError(at, "'" + kv.key + "' needs a value");
        if (kv.key == "package") {
            package_.name = kv.value;
        } else if (kv.key == "display") {
            package_.displayName = kv.value;
        } else if (kv.key == "description") {
            package_.description = kv.value;
        } else if (kv.key == "tag") {
            package_.tags.push_back(kv.value);
        } else if (kv.key == "include") {
            readFile(findFile(quoted(kv.value, valueAt), path, valueAt), valueAt);
        } else if (kv.key == "option") {
            const std::vector<std::string> w = splitWords(kv.value);
            if (w.size() < 2 || (w[1] != "on" && w[1] != "off"))
                throw RuleError(valueAt, "expected: option NAME on|off DESCRIPTION");
            for (const auto& o : package_.options)
                if (o.name == w[0]) throw RuleError(valueAt, "option defined twice: " + w[0]);
            const std::size_t d = kv.value.find(w[1], w[0].size()) + w[1].size();
            package_.options.push_back({w[0], w[1] == "on", trim(kv.value.substr(d))});
        } else if (kv.key == "list" || kv.key == "map" || kv.key == "pattern") {
            constant(path, line, kv);
        } else {
            throw RuleError(at, "unknown declaration '" + kv.key + "'");
        }
    }

    void constant(const std::string& path, const Line& line, const KeyValue& kv) {
        const Location valueAt = locate(path, line, kv.valueColumn);
        const std::size_t colon = kv.value.find(':');
        if (colon == std::string::npos || colon == 0) throw RuleError(valueAt, "expected NAME: ...");
        ConstantDef c;
        c.name = trim(kv.value.substr(0, colon));
        c.at = valueAt;
        for (char ch : c.name)
            if (!identPart(ch)) throw RuleError(valueAt, "a constant's name is letters, digits, '-' and '_': " + c.name);
        for (const auto& other : package_.constants)
            if (other.name == c.name) throw RuleError(valueAt, "constant defined twice: " + c.name);
        std::string rest = trim(kv.value.substr(colon + 1));
        const int restColumn = kv.valueColumn + static_cast<int>(kv.value.find(rest, colon + 1));
        const Location restAt = locate(path, line, restColumn);
        std::vector<std::string> items;
        if (kv.key != "pattern" && rest.rfind("file ", 0) == 0) {
            const std::string file = findFile(quoted(trim(rest.substr(5)), restAt), path, restAt);
            std::ifstream in(file);
            for (std::string l; std::getline(in, l);) {
                l = trim(l);
                if (l.empty() || l[0] == '#') continue;
                if (kv.key == "list") {
                    items.push_back(l);
                } else {
                    const std::vector<std::string> w = splitWords(l);
                    if (w.size() != 2) throw RuleError(restAt, "a map file has lines 'KEY VALUE': " + l);
                    items.push_back(w[0] + "=" + w[1]);
                }
            }
        } else {
            items = splitWords(rest);
        }
        if (kv.key == "list") {
            c.kind = ConstantDef::Kind::WordList;
            for (auto& w : items) c.words.push_back(replaceAll(w, "_", " "));
        } else if (kv.key == "map") {
            c.kind = ConstantDef::Kind::WordMap;
            for (const auto& w : items) {
                const std::size_t eq = w.find('=');
                if (eq == std::string::npos || eq == 0) throw RuleError(restAt, "expected KEY=VALUE: " + w);
                c.pairs.emplace_back(replaceAll(w.substr(0, eq), "_", " "), replaceAll(w.substr(eq + 1), "_", " "));
            }
        } else {
            c.kind = ConstantDef::Kind::Pattern;
            c.pattern = rest;
            c.at = restAt;
        }
        package_.constants.push_back(std::move(c));
    }

    // The text of a field and its continuation lines (indented deeper), joined
    // with line breaks so that the expression lexer keeps line numbers.
    std::string gather(const std::vector<Line>& lines, std::size_t& i, const std::string& first) const {
        std::string text = first;
        const int indent = lines[i].indent;
        while (i + 1 < lines.size() && !lines[i + 1].text.empty() && lines[i + 1].indent > indent &&
               lines[i + 1].number == lines[i].number + 1) {
            ++i;
            text += '\n';
            text += lines[i].text;
        }
        return text;
    }

    // A string in double quotes at `pos` of `text` (escapes \" and \\);
    // `pos` ends after the closing quote.
    static std::string quotedAt(const std::string& text, std::size_t& pos, const Location& at) {
        if (pos >= text.size() || text[pos] != '"') throw RuleError(at, "expected text in double quotes");
        std::string out;
        for (++pos; pos < text.size(); ++pos) {
            if (text[pos] == '"') {
                ++pos;
                return out;
            }
            if (text[pos] == '\\' && pos + 1 < text.size() && (text[pos + 1] == '"' || text[pos + 1] == '\\')) ++pos;
            out += text[pos];
        }
        throw RuleError(at, "unterminated string");
    }

    Example example(const std::string& path, const Line& line, const KeyValue& kv, bool flagged) const {
        Example ex;
        ex.at = locate(path, line, kv.valueColumn);
        ex.flagged = flagged;
        std::size_t pos = 0;
        ex.sentence = quotedAt(kv.value, pos, ex.at);
        auto skip = [&] {
            while (pos < kv.value.size() && kv.value[pos] == ' ') ++pos;
        };
        auto here = [&] { return locate(path, line, kv.valueColumn + static_cast<int>(pos)); };
        skip();
        if (!flagged) {
            if (pos != kv.value.size()) throw RuleError(here(), "unexpected text after the sentence");
            return ex;
        }
        if (kv.value.compare(pos, 2, "->") != 0)
            throw RuleError(here(), "a flagged example names its suggestions: flag \"...\" -> \"...\" (or -> _)");
        pos += 2;
        skip();
        if (kv.value.compare(pos, std::string::npos, "_") == 0) {
            ex.noSuggestions = true;
            return ex;
        }
        for (;;) {
            ex.suggestions.push_back(quotedAt(kv.value, pos, here()));
            skip();
            if (pos == kv.value.size()) return ex;
            if (kv.value[pos] != '|') throw RuleError(here(), "expected '|' between suggestions");
            ++pos;
            skip();
        }
    }

    std::size_t readRule(const std::string& path, const std::vector<Line>& lines, std::size_t first) {
        const Line& head = lines[first];
        RuleDef r;
        r.name = splitKey(head).value;
        r.at = locate(path, head, 1);
        if (r.name.empty()) throw RuleError(r.at, "a rule needs a name");
        std::size_t i = first + 1;
        for (; i < lines.size() && (lines[i].text.empty() || lines[i].indent > 0); ++i) {
            const Line& line = lines[i];
            if (line.text.empty() || line.text[0] == '#') continue;
            const KeyValue kv = splitKey(line);
            const Location keyAt = locate(path, line, line.indent + 1);
            const Location valueAt = locate(path, line, kv.valueColumn);
            auto needValue = [&] {
                if (kv.value.empty()) throw RuleError(keyAt, "'" + kv.key + "' needs a value");
            };
            if (kv.key == "match") {
                needValue();
                r.pattern = kv.value;
                r.patternAt = valueAt;
            } else if (kv.key == "capitalize") {
                r.capitalize = true;
            } else if (kv.key == "report") {
                needValue();
                if (kv.value.find_first_not_of("0123456789") != std::string::npos || kv.value.size() > 3)
                    throw RuleError(valueAt, "expected a group number");
                r.group = static_cast<std::uint32_t>(std::stoul(kv.value));
            } else if (kv.key == "when") {
                needValue();
                r.conditions.push_back(parseExpression(gather(lines, i, kv.value), valueAt));
            } else if (kv.key == "suggest" || kv.key == "message") {
                needValue();
                const bool isSuggest = kv.key == "suggest";
                if ((isSuggest && (r.suggestTemplate || r.suggestExpr)) ||
                    (!isSuggest && (r.messageTemplate || r.messageExpr)))
                    throw RuleError(keyAt, "'" + kv.key + "' given twice");
                if (kv.value[0] == '=' && (kv.value.size() == 1 || kv.value[1] == ' ')) {
                    const std::string source = gather(lines, i, kv.value.substr(1));
                    ExprPtr e = parseExpression(source, locate(path, line, kv.valueColumn + 1));
                    (isSuggest ? r.suggestExpr : r.messageExpr) = std::move(e);
                } else {
                    (isSuggest ? r.suggestTemplate : r.messageTemplate) = kv.value;
                }
            } else if (kv.key == "option") {
                needValue();
                r.options.push_back(kv.value);
            } else if (kv.key == "country") {
                needValue();
                if (kv.value != "US" && kv.value != "GB") throw RuleError(valueAt, "expected US or GB");
                r.country = kv.value;
            } else if (kv.key == "flag" || kv.key == "pass") {
                needValue();
                r.examples.push_back(example(path, line, kv, kv.key == "flag"));
            } else {
                throw RuleError(keyAt, "unknown rule field '" + kv.key + "'");
            }
        }
        if (r.pattern.empty()) throw RuleError(r.at, "rule " + r.name + " has no 'match'");
        if (std::none_of(r.examples.begin(), r.examples.end(), [](const Example& e) { return !e.flagged; }))
            throw RuleError(r.at, "rule " + r.name + " needs a near miss that it leaves alone ('pass \"...\"')");
        package_.rules.push_back(std::move(r));
        return i;
    }

    // A table of phrases and their corrections, one rule per entry:
    //   table NAME
    //       message TEMPLATE      ({bad} and {good} stand for the entry's texts)
    //       option NAME / country XX
    //       BAD => GOOD|GOOD2 :: flagged sentence [:: sentence left alone]
    // The corrected sentence is checked as well: the rule must leave it alone.
    std::size_t readTable(const std::string& path, const std::vector<Line>& lines, std::size_t first) {
        const Line& head = lines[first];
        const std::string name = splitKey(head).value;
        const Location headAt = locate(path, head, 1);
        if (name.empty()) throw RuleError(headAt, "a table needs a name");
        std::string message;
        std::vector<std::string> options;
        std::string country;
        std::size_t count = 0;
        std::size_t i = first + 1;
        for (; i < lines.size() && (lines[i].text.empty() || lines[i].indent > 0); ++i) {
            const Line& line = lines[i];
            if (line.text.empty() || line.text[0] == '#') continue;
            const KeyValue kv = splitKey(line);
            const Location keyAt = locate(path, line, line.indent + 1);
            if (line.text.find("=>") == std::string::npos) {
                if (kv.key == "message")
                    message = kv.value;
                else if (kv.key == "option")
                    options.push_back(kv.value);
                else if (kv.key == "country")
                    country = kv.value;
                else
                    throw RuleError(keyAt, "expected 'message', 'option', 'country' or an entry BAD => GOOD :: example");
                continue;
            }
            if (message.empty()) throw RuleError(keyAt, "a table's 'message' comes before its entries");
            const std::size_t arrow = line.text.find("=>");
            const std::string bad = trim(line.text.substr(0, arrow));
            std::string rest = line.text.substr(arrow + 2);
            std::vector<std::string> parts;
            for (std::size_t sep; (sep = rest.find("::")) != std::string::npos; rest = rest.substr(sep + 2))
                parts.push_back(trim(rest.substr(0, sep)));
            parts.push_back(trim(rest));
            if (bad.empty() || parts.size() < 2 || parts[0].empty() || parts[1].empty())
                throw RuleError(keyAt, "expected BAD => GOOD :: flagged sentence [:: sentence left alone]");
            RuleDef r;
            r.name = name + "/" + slug(bad);
            r.at = keyAt;
            r.pattern = phrasePattern(bad);
            r.patternAt = keyAt;
            // Capitalising the suggestions of a capitalised match would spoil
            // phrases with capitals of their own ("PIN number").
            r.capitalize = std::none_of(bad.begin(), bad.end(), [](char ch) { return std::isupper(static_cast<unsigned char>(ch)); });
            r.suggestTemplate = parts[0];
            const std::string good = replaceAll(parts[0], "|", "\" or \"");
            r.messageTemplate = replaceAll(replaceAll(message, "{bad}", bad), "{good}", good);
            r.options = options;
            r.country = country;
            Example flagged;
            flagged.at = keyAt;
            flagged.flagged = true;
            flagged.sentence = parts[1];
            // The checker capitalises the suggestions of a match that starts
            // with a capital: first letter upper, the rest lower.
            std::string lowered = flagged.sentence;
            for (char& ch : lowered) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
            const std::size_t found = lowered.find(bad);
            const bool capital = r.capitalize && found != std::string::npos &&
                                 std::isupper(static_cast<unsigned char>(flagged.sentence[found]));
            std::string alternatives = parts[0] + "|";
            for (std::size_t a = 0, b; (b = alternatives.find('|', a)) != std::string::npos; a = b + 1) {
                std::string alternative = alternatives.substr(a, b - a);
                if (capital && !alternative.empty()) {
                    for (char& ch : alternative) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
                    alternative[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(alternative[0])));
                }
                flagged.suggestions.push_back(alternative);
            }
            r.examples.push_back(flagged);
            for (std::size_t p = 2; p < parts.size(); ++p) r.examples.push_back({keyAt, false, parts[p], {}, false});
            package_.rules.push_back(std::move(r));
            ++count;
        }
        if (count == 0) throw RuleError(headAt, "table " + name + " has no entries");
        return i;
    }

    PackageDef& package_;
    std::vector<std::string> includeDirs_;
    std::set<std::string> reading_;
};

} // namespace

ExprPtr parseExpression(const std::string& source, const Location& at) {
    return ExprParser(Lexer(source, at).tokens()).parseAll();
}

PackageDef parseRuleFiles(const std::vector<std::string>& paths, const std::vector<std::string>& includeDirs) {
    PackageDef package;
    if (!paths.empty()) package.file = paths.front();
    FileReader reader(package, includeDirs);
    for (const auto& p : paths) reader.readFile(p, Location{p, 0, 0});
    return package;
}

} // namespace lxrc
