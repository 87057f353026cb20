#include "lxliteral.hxx"

#include <rtl/character.hxx>
#include <unicode/uregex.h>

#include <string>
#include <vector>

namespace lexivor {
namespace {

// Shorter literals are found almost everywhere and save nothing.
constexpr std::size_t minimumLength = 2;

// What every match contains: each of `runs`, and for each of `choices` one of
// its strings (the required text of the alternatives of a group).
struct Requirements {
    std::vector<std::u16string> runs;
    std::vector<std::vector<std::u16string>> choices;

    void add(Requirements&& r) {
        for (auto& x : r.runs) runs.push_back(std::move(x));
        for (auto& x : r.choices) choices.push_back(std::move(x));
    }
    // The best single string, or empty when there is none.
    std::u16string longestRun() const {
        const std::u16string* best = nullptr;
        for (const auto& r : runs)
            if (!best || r.size() > best->size()) best = &r;
        return best ? *best : std::u16string();
    }
};

// A recursive-descent reading of ICU's expression syntax that collects the runs
// of literal characters that every match must contain, in order.  Any construct
// it does not understand sets `failed`, and the caller then uses no literal.
class LiteralScanner {
public:
    explicit LiteralScanner(std::u16string_view p) : p_(p) {}

    Requirements scan() {
        Requirements r = alternation();
        if (i_ != p_.size()) failed_ = true; // a ')' without its '('
        return failed_ ? Requirements() : r;
    }

private:
    bool atEnd() const { return i_ >= p_.size(); }
    char16_t peek(std::size_t ahead = 0) const { return i_ + ahead < p_.size() ? p_[i_ + ahead] : u'\0'; }
    bool startsWith(std::u16string_view s) const { return p_.substr(i_).starts_with(s); }

    // Alternatives require one of their texts: each alternative's longest run,
    // when every alternative has one.
    Requirements alternation() {
        Requirements first = sequence();
        if (peek() != u'|') return first;
        std::vector<std::u16string> choice{first.longestRun()};
        while (!failed_ && peek() == u'|') {
            ++i_;
            choice.push_back(sequence().longestRun());
        }
        Requirements r;
        for (const auto& c : choice)
            if (c.size() < minimumLength) return r;
        r.choices.push_back(std::move(choice));
        return r;
    }

    Requirements sequence() {
        Requirements result;
        std::vector<std::u16string>& runs = result.runs;
        std::u16string current;
        auto flush = [&] {
            if (!current.empty()) runs.push_back(std::move(current));
            current.clear();
        };
        while (!failed_ && !atEnd() && peek() != u')' && peek() != u'|') {
            const char16_t c = peek();
            if (c == u'(') {
                flush();
                Requirements inner;
                if (!group(inner)) continue; // a lookaround or comment: nothing required
                if (minimumCount() >= 1) result.add(std::move(inner));
                continue;
            }
            if (c == u'[') {
                flush();
                skipSet();
                minimumCount();
                continue;
            }
            if (c == u'.') {
                flush();
                ++i_;
                minimumCount();
                continue;
            }
            if (c == u'^' || c == u'$') {
                ++i_; // zero-width
                continue;
            }
            if (c == u'*' || c == u'+' || c == u'?' || c == u'{') {
                failed_ = true; // a quantifier with nothing before it
                continue;
            }
            std::u16string unit;
            if (c == u'\\') {
                if (!escape(unit)) {
                    flush(); // a class, a back reference or another non-literal atom
                    minimumCount();
                    continue;
                }
                if (unit.empty()) continue; // a zero-width assertion
            } else {
                unit.push_back(c);
                ++i_;
                if (rtl::isHighSurrogate(c) && rtl::isLowSurrogate(peek())) unit.push_back(p_[i_++]);
            }
            const int min = minimumCount();
            if (min == 0) {
                flush();
                continue;
            }
            current += unit;
            if (min > 1 || lastWasQuantified_) flush(); // repetitions break the run
        }
        flush();
        return result;
    }

    // After '(' : parses the group and its ')'.  False for groups whose content
    // need not be part of the text (lookarounds, comments).
    bool group(Requirements& inner) {
        ++i_;
        bool required = true;
        if (peek() == u'?') {
            if (startsWith(u"?:") || startsWith(u"?>")) {
                i_ += 2;
            } else if (startsWith(u"?=") || startsWith(u"?!")) {
                i_ += 2;
                required = false;
            } else if (startsWith(u"?<=") || startsWith(u"?<!")) {
                i_ += 3;
                required = false;
            } else if (startsWith(u"?<")) {
                const auto close = p_.find(u'>', i_);
                if (close == std::u16string_view::npos) return failed_ = true, false;
                i_ = close + 1;
            } else if (startsWith(u"?#")) {
                const auto close = p_.find(u')', i_);
                if (close == std::u16string_view::npos) return failed_ = true, false;
                i_ = close + 1;
                return false;
            } else {
                return failed_ = true, false; // inline flags may change case sensitivity
            }
        }
        inner = alternation();
        if (peek() != u')') return failed_ = true, false;
        ++i_;
        if (!required) {
            minimumCount();
            return false;
        }
        return true;
    }

    // Skips a set, with ICU's nested sets and escapes.
    void skipSet() {
        int depth = 0;
        while (!atEnd()) {
            const char16_t c = p_[i_++];
            if (c == u'\\') {
                if (atEnd()) break;
                ++i_;
            } else if (c == u'[') {
                ++depth;
                if (peek() == u'^') ++i_;
                if (peek() == u']') ++i_; // a leading ']' is a member
            } else if (c == u']') {
                if (--depth == 0) return;
            }
        }
        failed_ = true;
    }

    // After '\\': true with the literal unit (empty for a zero-width assertion),
    // false for any other atom, which has been skipped.
    bool escape(std::u16string& unit) {
        ++i_;
        if (atEnd()) return failed_ = true, false;
        const char16_t d = p_[i_++];
        switch (d) {
        case u'b': case u'B': case u'A': case u'z': case u'Z': case u'G':
            return true;
        case u'w': case u'W': case u'd': case u'D': case u's': case u'S': case u'h': case u'H':
        case u'v': case u'V': case u'R': case u'X': case u'n': case u'r': case u't': case u'f':
        case u'a': case u'e':
            return false;
        case u'p': case u'P': case u'N': case u'k':
            if (peek() == u'{' || peek() == u'<') {
                const char16_t close = peek() == u'{' ? u'}' : u'>';
                const auto end = p_.find(close, i_);
                if (end == std::u16string_view::npos) return failed_ = true, false;
                i_ = end + 1;
            } else if (d == u'p' || d == u'P') {
                ++i_;
            } else {
                failed_ = true;
            }
            return false;
        case u'x':
            if (peek() == u'{') {
                const auto end = p_.find(u'}', i_);
                if (end == std::u16string_view::npos) return failed_ = true, false;
                i_ = end + 1;
            } else {
                i_ += 2;
            }
            return false;
        case u'u': i_ += 4; return false;
        case u'U': i_ += 8; return false;
        case u'c': i_ += 1; return false;
        default: break;
        }
        if (d >= u'0' && d <= u'9') { // a back reference or an octal escape
            while (peek() >= u'0' && peek() <= u'9') ++i_;
            return false;
        }
        if (rtl::isAsciiAlpha(d) || d == u'Q' || d == u'E') return failed_ = true, false;
        unit.push_back(d); // an escaped punctuation character stands for itself
        return true;
    }

    // Reads the quantifier after an atom, if any, and returns the atom's least count (1 without one).
    int minimumCount() {
        lastWasQuantified_ = false;
        int min = 1;
        const char16_t c = peek();
        if (c == u'*' || c == u'?') {
            ++i_;
            min = 0;
        } else if (c == u'+') {
            ++i_;
            lastWasQuantified_ = true;
        } else if (c == u'{') {
            std::size_t j = i_ + 1;
            int n = 0;
            bool digits = false;
            while (j < p_.size() && p_[j] >= u'0' && p_[j] <= u'9') {
                n = std::min(n * 10 + (p_[j] - u'0'), 1000);
                ++j;
                digits = true;
            }
            const auto close = p_.find(u'}', j);
            if (!digits || close == std::u16string_view::npos) {
                failed_ = true;
                return 0;
            }
            i_ = close + 1;
            min = n;
            lastWasQuantified_ = true;
        } else {
            return 1;
        }
        if (peek() == u'?' || peek() == u'+') ++i_; // lazy or possessive
        return min;
    }

    std::u16string_view p_;
    std::size_t i_ = 0;
    bool failed_ = false;
    bool lastWasQuantified_ = false;
};

} // namespace

std::vector<OUString> requiredText(const OUString& pattern, sal_uInt32 flags) {
    if (flags & (UREGEX_CASE_INSENSITIVE | UREGEX_COMMENTS)) return {};
    if (flags & UREGEX_LITERAL) return pattern.getLength() >= sal_Int32(minimumLength) ? std::vector{pattern} : std::vector<OUString>();
    const Requirements r = LiteralScanner(pattern.view()).scan();
    // Prefer whichever test asks for longer text: longer texts are rarer.
    const std::u16string run = r.longestRun();
    const std::vector<std::u16string>* best = nullptr;
    std::size_t bestShortest = 0;
    for (const auto& choice : r.choices) {
        std::size_t shortest = SIZE_MAX;
        for (const auto& c : choice) shortest = std::min(shortest, c.size());
        if (!best || shortest > bestShortest) {
            best = &choice;
            bestShortest = shortest;
        }
    }
    if (!best || bestShortest <= run.size()) {
        if (run.size() < minimumLength) return {};
        return {OUString(std::u16string_view(run))};
    }
    std::vector<OUString> out;
    for (const auto& c : *best) out.emplace_back(std::u16string_view(c));
    return out;
}

} // namespace lexivor
