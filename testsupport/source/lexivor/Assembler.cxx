#include <testsupport/lexivor/Assembler.hxx>

#include <lxops.hxx>

#include <cctype>
#include <charconv>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>

namespace testsupport::lexivor {

namespace {

using ::lexivor::Op;
using ::lexivor::OperandKind;

struct Line {
    std::size_t number;
    std::string_view text;
};

[[noreturn]] void fail(std::size_t line, const std::string& what) {
    throw std::invalid_argument("assemble: line " + std::to_string(line) + ": " + what);
}

bool isIdentifierChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.'; }

// Splits a line into tokens: words and double-quoted literals (kept with their
// quotes); stops at a ';' outside a literal.
std::vector<std::string_view> tokens(const Line& line) {
    std::vector<std::string_view> out;
    const std::string_view s = line.text;
    std::size_t i = 0;
    while (i < s.size()) {
        const char c = s[i];
        if (c == ';') break;
        if (std::isspace(static_cast<unsigned char>(c))) {
            ++i;
            continue;
        }
        const std::size_t start = i;
        if (c == '"') {
            ++i;
            while (i < s.size() && s[i] != '"') i += s[i] == '\\' ? 2 : 1;
            if (i >= s.size()) fail(line.number, "unterminated string literal");
            ++i;
        } else {
            while (i < s.size() && !std::isspace(static_cast<unsigned char>(s[i])) && s[i] != ';') ++i;
        }
        out.push_back(s.substr(start, i - start));
    }
    return out;
}

std::string unquote(std::string_view literal, std::size_t line) {
    std::string out;
    for (std::size_t i = 1; i + 1 < literal.size(); ++i) {
        char c = literal[i];
        if (c == '\\') {
            c = literal[++i];
            switch (c) {
            case 'n': c = '\n'; break;
            case 't': c = '\t'; break;
            case '"': case '\\': break;
            default: fail(line, std::string("unknown escape \\") + c);
            }
        }
        out.push_back(c);
    }
    return out;
}

std::optional<std::int64_t> parseNumber(std::string_view t) {
    bool negative = false;
    if (!t.empty() && t[0] == '-') {
        negative = true;
        t.remove_prefix(1);
    }
    int base = 10;
    if (t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X')) {
        base = 16;
        t.remove_prefix(2);
    }
    std::uint64_t v = 0;
    const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v, base);
    if (ec != std::errc() || end != t.data() + t.size() || t.empty() || v > 0xFFFFFFFFull) return std::nullopt;
    return negative ? -static_cast<std::int64_t>(v) : static_cast<std::int64_t>(v);
}

void putU32(std::vector<unsigned char>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<unsigned char>(v >> (8 * i)));
}

} // namespace

std::vector<unsigned char> assemble(std::string_view source,
                                    const std::function<std::uint32_t(std::string_view)>& intern) {
    std::vector<Line> lines;
    for (std::size_t number = 1; !source.empty(); ++number) {
        const std::size_t nl = source.find('\n');
        lines.push_back({number, source.substr(0, nl)});
        source = nl == std::string_view::npos ? std::string_view() : source.substr(nl + 1);
    }

    std::vector<unsigned char> out;
    std::map<std::string, std::uint32_t, std::less<>> labels;
    struct Fixup {
        std::size_t at;
        std::string label;
        std::size_t line;
    };
    std::vector<Fixup> fixups;

    for (const Line& line : lines) {
        std::vector<std::string_view> t = tokens(line);
        if (!t.empty() && t[0].size() > 1 && t[0].back() == ':') {
            const std::string_view label = t[0].substr(0, t[0].size() - 1);
            for (char c : label)
                if (!isIdentifierChar(c)) fail(line.number, "bad label " + std::string(label));
            if (!labels.emplace(std::string(label), static_cast<std::uint32_t>(out.size())).second)
                fail(line.number, "label " + std::string(label) + " defined twice");
            t.erase(t.begin());
        }
        if (t.empty()) continue;

        const std::string_view word = t[0];
        const auto number = [&](std::size_t i, std::int64_t lo, std::int64_t hi) {
            if (i >= t.size()) fail(line.number, std::string(word) + " needs an operand");
            const std::optional<std::int64_t> v = parseNumber(t[i]);
            if (!v || *v < lo || *v > hi) fail(line.number, "bad operand " + std::string(t[i]));
            return *v;
        };
        const auto expectOperands = [&](std::size_t n) {
            if (t.size() != n + 1) fail(line.number, std::string(word) + " takes " + std::to_string(n) + " operand(s)");
        };

        if (word == ".byte") {
            if (t.size() < 2) fail(line.number, ".byte needs at least one value");
            for (std::size_t i = 1; i < t.size(); ++i) out.push_back(static_cast<unsigned char>(number(i, 0, 255)));
            continue;
        }
        if (word == ".u32") {
            expectOperands(1);
            putU32(out, static_cast<std::uint32_t>(number(1, -2147483648LL, 0xFFFFFFFFLL)));
            continue;
        }

        const std::optional<Op> op = ::lexivor::opFromName(word);
        if (!op) fail(line.number, "unknown mnemonic " + std::string(word));
        out.push_back(static_cast<unsigned char>(*op));
        switch (::lexivor::opOperand(*op)) {
        case OperandKind::None:
            expectOperands(0);
            break;
        case OperandKind::I32:
            expectOperands(1);
            putU32(out, static_cast<std::uint32_t>(number(1, -2147483648LL, 0xFFFFFFFFLL)));
            break;
        case OperandKind::U32: {
            expectOperands(1);
            const std::string_view operand = t[1];
            if (operand.front() == '"') {
                if (*op != Op::PushString) fail(line.number, "only PushString takes a string literal");
                if (!intern) fail(line.number, "string literal without a string pool");
                putU32(out, intern(unquote(operand, line.number)));
            } else if (::lexivor::isJump(*op) && !parseNumber(operand)) {
                fixups.push_back({out.size(), std::string(operand), line.number});
                putU32(out, 0);
            } else {
                putU32(out, static_cast<std::uint32_t>(number(1, 0, 0xFFFFFFFFLL)));
            }
            break;
        }
        case OperandKind::Call:
            expectOperands(2);
            out.push_back(static_cast<unsigned char>(number(1, 0, 255)));
            out.push_back(static_cast<unsigned char>(number(2, 0, 255)));
            break;
        }
    }

    for (const Fixup& f : fixups) {
        const auto it = labels.find(f.label);
        if (it == labels.end()) fail(f.line, "unknown label " + f.label);
        for (int i = 0; i < 4; ++i) out[f.at + i] = static_cast<unsigned char>(it->second >> (8 * i));
    }
    return out;
}

} // namespace testsupport::lexivor
