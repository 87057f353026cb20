// The trigram key of a rule, derived from its ICU expression.
//
// A recursive-descent reading of the expression computes, for every part, what
// every match of it contains: its exact text when it has only one, the text
// every match starts and ends with, and the set of lower-case trigrams found in
// every match.  Concatenation joins the end of one part with the start of the
// next; an alternation keeps only what all alternatives share; an optional or
// repeated part keeps what one occurrence guarantees.  Anything the reading
// does not understand (classes other than one letter in both cases, escapes
// other than literal punctuation, back references, case-insensitive groups)
// guarantees nothing, so a key is never wrong; at worst a rule gets none.

#include "rulelang.hxx"

#include <algorithm>
#include <cctype>
#include <optional>
#include <set>
#include <string>

namespace lxrc {
namespace {

struct Guarantee {
    std::optional<std::string> exact; // every match is exactly this text
    std::string prefix;               // every match starts with this
    std::string suffix;               // every match ends with this
    std::set<std::string> trigrams;   // every match contains each of these

    static Guarantee literal(std::string text) {
        Guarantee g;
        g.prefix = g.suffix = text;
        addTrigrams(g.trigrams, text);
        g.exact = std::move(text);
        return g;
    }
    static Guarantee nothing() { return Guarantee{}; }
    static void addTrigrams(std::set<std::string>& into, const std::string& text) {
        for (std::size_t i = 0; i + 3 <= text.size(); ++i) into.insert(text.substr(i, 3));
    }
};

Guarantee concat(const Guarantee& a, const Guarantee& b) {
    Guarantee g;
    g.trigrams = a.trigrams;
    g.trigrams.insert(b.trigrams.begin(), b.trigrams.end());
    Guarantee::addTrigrams(g.trigrams, a.suffix + b.prefix);
    if (a.exact && b.exact) g.exact = *a.exact + *b.exact;
    g.prefix = a.exact ? *a.exact + b.prefix : a.prefix;
    g.suffix = b.exact ? a.suffix + *b.exact : b.suffix;
    return g;
}

std::string commonPrefix(const std::string& a, const std::string& b) {
    std::size_t n = 0;
    while (n < a.size() && n < b.size() && a[n] == b[n]) ++n;
    return a.substr(0, n);
}

std::string commonSuffix(const std::string& a, const std::string& b) {
    std::size_t n = 0;
    while (n < a.size() && n < b.size() && a[a.size() - 1 - n] == b[b.size() - 1 - n]) ++n;
    return a.substr(a.size() - n);
}

Guarantee either(const Guarantee& a, const Guarantee& b) {
    Guarantee g;
    std::set_intersection(a.trigrams.begin(), a.trigrams.end(), b.trigrams.begin(), b.trigrams.end(),
                          std::inserter(g.trigrams, g.trigrams.begin()));
    if (a.exact && b.exact && *a.exact == *b.exact) g.exact = a.exact;
    g.prefix = commonPrefix(a.prefix, b.prefix);
    g.suffix = commonSuffix(a.suffix, b.suffix);
    return g;
}

// One occurrence or more: what one occurrence guarantees, but no exact text.
Guarantee repeated(Guarantee g) {
    g.exact.reset();
    return g;
}

class Reader {
public:
    explicit Reader(const std::string& p) : p_(p) {}

    std::optional<Guarantee> read() {
        Guarantee g = alternation();
        if (failed_ || i_ != p_.size()) return std::nullopt;
        return g;
    }

private:
    bool atEnd() const { return i_ >= p_.size(); }
    char peek(std::size_t ahead = 0) const { return i_ + ahead < p_.size() ? p_[i_ + ahead] : '\0'; }

    Guarantee alternation() {
        Guarantee g = sequence();
        while (!failed_ && peek() == '|') {
            ++i_;
            g = either(g, sequence());
        }
        return g;
    }

    Guarantee sequence() {
        Guarantee g = Guarantee::literal("");
        while (!failed_ && !atEnd() && peek() != '|' && peek() != ')') {
            Guarantee atom = this->atom();
            atom = quantified(std::move(atom));
            g = concat(g, atom);
        }
        return g;
    }

    // Applies a quantifier after an atom, if any.
    Guarantee quantified(Guarantee atom) {
        const char q = peek();
        bool optional = false, repeat = false;
        if (q == '?' || q == '*') {
            optional = true;
            ++i_;
        } else if (q == '+') {
            repeat = true;
            ++i_;
        } else if (q == '{') {
            const std::size_t close = p_.find('}', i_);
            if (close == std::string::npos) {
                failed_ = true;
                return atom;
            }
            const std::string body = p_.substr(i_ + 1, close - i_ - 1);
            i_ = close + 1;
            if (body.empty() || !std::isdigit(static_cast<unsigned char>(body[0]))) {
                failed_ = true;
                return atom;
            }
            const long low = std::stol(body);
            if (low == 0)
                optional = true;
            else if (body != std::to_string(low) || low != 1)
                repeat = true;
        } else {
            return atom;
        }
        if (peek() == '?' || peek() == '+') ++i_; // lazy or possessive
        if (optional) return Guarantee::nothing();
        if (repeat) return repeated(std::move(atom));
        return atom;
    }

    Guarantee atom() {
        const char c = peek();
        if (c == '(') return group();
        if (c == '[') return characterClass();
        if (c == '\\') return escape();
        ++i_;
        if (c == '^' || c == '$') return Guarantee::literal("");
        if (c == '.' || c == '*' || c == '+' || c == '?' || c == '{' || c == '}') {
            if (c != '.') failed_ = true;
            return Guarantee::nothing();
        }
        const unsigned char u = static_cast<unsigned char>(c);
        if (u >= 0x80) {
            // A multi-byte character: its lower-case form may differ; skip it.
            while (!atEnd() && (static_cast<unsigned char>(peek()) & 0xC0) == 0x80) ++i_;
            return Guarantee::nothing();
        }
        if (caseless_ && std::isalpha(u)) return Guarantee::nothing();
        return Guarantee::literal(std::string(1, static_cast<char>(std::tolower(u))));
    }

    Guarantee escape() {
        ++i_; // backslash
        if (atEnd()) {
            failed_ = true;
            return Guarantee::nothing();
        }
        const char c = p_[i_++];
        // Zero-width assertions consume nothing.
        if (c == 'b' || c == 'B' || c == 'A' || c == 'z' || c == 'Z' || c == 'G') return Guarantee::literal("");
        if (c == 'p' || c == 'P' || c == 'N' || c == 'x' || c == 'u' || c == 'U' || c == 'k' || c == 'Q') {
            // Properties, named characters, code points: skip their braces.
            if (c == 'Q') {
                failed_ = true;
                return Guarantee::nothing();
            }
            if (peek() == '{') {
                const std::size_t close = p_.find('}', i_);
                if (close == std::string::npos) {
                    failed_ = true;
                    return Guarantee::nothing();
                }
                i_ = close + 1;
            } else if (c == 'u') {
                i_ += 4;
            } else if (c == 'U') {
                i_ += 8;
            } else if (c == 'x') {
                i_ += 2;
            } else {
                ++i_;
            }
            return Guarantee::nothing();
        }
        if (std::isalnum(static_cast<unsigned char>(c))) return Guarantee::nothing(); // \w \s \d \1 ...
        return Guarantee::literal(std::string(1, c));
    }

    // Only a class of one letter in its two cases ([Ii]) stands for a
    // character of the lowered text; any other class guarantees nothing.
    Guarantee characterClass() {
        std::size_t j = i_ + 1;
        if (j < p_.size() && p_[j] == '^') ++j;
        if (j < p_.size() && p_[j] == ']') ++j;
        int depth = 1;
        for (; j < p_.size() && depth > 0; ++j) {
            if (p_[j] == '\\') {
                ++j;
                continue;
            }
            if (p_[j] == '[') ++depth;
            if (p_[j] == ']') --depth;
        }
        if (depth != 0) {
            failed_ = true;
            return Guarantee::nothing();
        }
        const std::string body = p_.substr(i_ + 1, j - i_ - 2);
        i_ = j;
        if (body.size() == 2 && std::isalpha(static_cast<unsigned char>(body[0])) &&
            std::tolower(static_cast<unsigned char>(body[0])) == std::tolower(static_cast<unsigned char>(body[1])) &&
            body[0] != body[1])
            return Guarantee::literal(std::string(1, static_cast<char>(std::tolower(static_cast<unsigned char>(body[0])))));
        if (body.size() == 1 && std::isalpha(static_cast<unsigned char>(body[0])) && !caseless_)
            return Guarantee::literal(std::string(1, static_cast<char>(std::tolower(static_cast<unsigned char>(body[0])))));
        return Guarantee::nothing();
    }

    Guarantee group() {
        ++i_; // '('
        bool lookaround = false;
        bool caseless = caseless_;
        if (peek() == '?') {
            ++i_;
            const char k = peek();
            if (k == ':') {
                ++i_;
            } else if (k == '=' || k == '!') {
                ++i_;
                lookaround = true;
            } else if (k == '<' && (peek(1) == '=' || peek(1) == '!')) {
                i_ += 2;
                lookaround = true;
            } else if (k == '<') {
                const std::size_t close = p_.find('>', i_);
                if (close == std::string::npos) {
                    failed_ = true;
                    return Guarantee::nothing();
                }
                i_ = close + 1;
            } else if (k == '>') {
                ++i_;
            } else {
                // Inline flags: "(?i)" for the rest, "(?i:...)" for a group.
                std::string flags;
                while (!atEnd() && peek() != ')' && peek() != ':') flags += p_[i_++];
                if (flags.find_first_not_of("imsxwu-") != std::string::npos || flags.find('x') != std::string::npos) {
                    failed_ = true;
                    return Guarantee::nothing();
                }
                const std::size_t minus = flags.find('-');
                const bool on = flags.substr(0, minus).find('i') != std::string::npos;
                const bool off = minus != std::string::npos && flags.substr(minus).find('i') != std::string::npos;
                const bool value = on ? true : off ? false : caseless_;
                if (peek() == ')') {
                    ++i_;
                    caseless_ = value;
                    return Guarantee::literal("");
                }
                ++i_; // ':'
                caseless = value;
            }
        }
        const bool saved = caseless_;
        caseless_ = caseless;
        Guarantee inner = alternation();
        caseless_ = saved;
        if (peek() != ')') {
            failed_ = true;
            return Guarantee::nothing();
        }
        ++i_;
        if (lookaround) return Guarantee::literal("");
        return inner;
    }

    const std::string& p_;
    std::size_t i_ = 0;
    bool failed_ = false;
    bool caseless_ = false;
};

// How rarely a character appears in ordinary English text (higher is rarer).
int rarity(char c) {
    static const std::string common = " etaoinshrdlcumwfgypbvkjxqz";
    const std::size_t at = common.find(c);
    return at == std::string::npos ? 30 : static_cast<int>(at);
}

} // namespace

std::uint32_t requiredTrigram(const std::string& pattern) {
    const std::optional<Guarantee> g = Reader(pattern).read();
    if (!g) return 0;
    std::set<std::string> trigrams = g->trigrams;
    Guarantee::addTrigrams(trigrams, g->prefix);
    Guarantee::addTrigrams(trigrams, g->suffix);
    const std::string* best = nullptr;
    int bestScore = -1;
    for (const auto& t : trigrams) {
        const int score = rarity(t[0]) + rarity(t[1]) + rarity(t[2]);
        if (score > bestScore) {
            best = &t;
            bestScore = score;
        }
    }
    if (!best) return 0;
    const auto u = [](char c) { return static_cast<std::uint32_t>(static_cast<unsigned char>(c)); };
    return (u((*best)[0]) * 17161u + u((*best)[1]) * 131u + u((*best)[2])) % 8191u + 1u;
}

} // namespace lxrc
