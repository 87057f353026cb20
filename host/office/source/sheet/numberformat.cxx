// Parsing and applying number format codes (see numberformat.hxx).

#include "numberformat.hxx"

#include "formula.hxx"

#include <rtl/math.hxx>
#include <rtl/ustrbuf.hxx>

#include <cmath>

namespace officehost::sheetcore {
namespace {

bool isPlaceholder(char16_t c) { return c == u'0' || c == u'#' || c == u'?'; }
char16_t upper(char16_t c) { return (c >= u'a' && c <= u'z') ? char16_t(c - 32) : c; }

const char16_t* const kColours[] = {u"BLACK", u"BLUE", u"CYAN", u"GREEN", u"MAGENTA", u"RED", u"WHITE", u"YELLOW"};

struct SectionParser {
    std::u16string_view s;
    FormatSection sec;
    OUString error;
    bool digits = false, afterPoint = false, inExponent = false, text = false, general = false;
    bool sawHour = false;

    bool fail(const OUString& why) {
        error = why;
        return false;
    }
    void literal(const OUString& t) {
        if (!sec.tokens.empty() && sec.tokens.back().kind == FormatToken::Literal) {
            sec.tokens.back().text += t;
            return;
        }
        sec.tokens.push_back({FormatToken::Literal, t, 0});
    }
    void numberToken() {
        if (!digits) sec.tokens.push_back({FormatToken::Number, {}, 0});
        digits = true;
    }

    bool bracket(std::size_t& i) {
        std::size_t close = s.find(u']', i);
        if (close == std::u16string_view::npos) return fail(u"a \"[\" is not closed");
        OUString inner(s.substr(i + 1, close - i - 1));
        i = close + 1;
        OUString up = inner.toAsciiUpperCase();
        for (const char16_t* c : kColours)
            if (up == c) return true;
        if (up.startsWith(u"COLOR")) {
            OUString n = up.copy(5);
            if (!n.isEmpty() && n.toInt32() >= 1 && n.toInt32() <= 56 && OUString::number(n.toInt32()) == n) return true;
            return fail(u"unknown colour [" + inner + u"]");
        }
        if (up == u"H" || up == u"HH") return dateToken(FormatToken::Hour, up.getLength());
        if (up == u"M" || up == u"MM") return dateToken(FormatToken::Minute, up.getLength());
        if (up == u"S" || up == u"SS") return dateToken(FormatToken::Second, up.getLength());
        if (inner.startsWith(u"$")) {
            sal_Int32 dash = inner.indexOf(u'-');
            literal(dash < 0 ? inner.copy(1) : inner.copy(1, dash - 1));
            return true;
        }
        static const char16_t* const ops[] = {u"<=", u">=", u"<>", u"<", u">", u"="};
        for (const char16_t* op : ops) {
            if (!inner.startsWith(std::u16string_view(op))) continue;
            double v;
            if (sec.hasCondition) return fail(u"a section has two conditions");
            if (!readNumber(inner.copy(std::u16string_view(op).size()), v))
                return fail(u"the condition [" + inner + u"] has no number");
            sec.hasCondition = true;
            sec.conditionOp = OUString(std::u16string_view(op));
            sec.conditionValue = v;
            return true;
        }
        return fail(u"unknown bracket [" + inner + u"]");
    }

    bool dateToken(FormatToken::Kind kind, int width) {
        if (digits) return fail(u"date or time tokens mixed with digit placeholders");
        sec.dateTime = true;
        sec.tokens.push_back({kind, {}, width});
        if (kind == FormatToken::Hour) sawHour = true;
        return true;
    }

    bool dateLetters(std::size_t& i) {
        char16_t c = upper(s[i]);
        std::size_t j = i;
        while (j < s.size() && upper(s[j]) == c) ++j;
        int n = static_cast<int>(j - i);
        i = j;
        switch (c) {
        case u'Y': return dateToken(FormatToken::Year, n > 2 ? 4 : 2);
        case u'D': return dateToken(n >= 3 ? FormatToken::DayName : FormatToken::Day, n);
        case u'H': return dateToken(FormatToken::Hour, n > 1 ? 2 : 1);
        case u'S': return dateToken(FormatToken::Second, n > 1 ? 2 : 1);
        default: break;
        }
        // M: minutes right after an hour or right before seconds, otherwise the month.
        bool minutes = n <= 2 && (sawHour || nextIsSeconds(i));
        if (minutes) return dateToken(FormatToken::Minute, n);
        return dateToken(n >= 3 ? FormatToken::MonthName : FormatToken::Month, n);
    }
    bool nextIsSeconds(std::size_t i) const {
        for (; i < s.size(); ++i) {
            char16_t c = upper(s[i]);
            if (c == u'S') return true;
            if (c == u'Y' || c == u'M' || c == u'D' || c == u'H') return false;
        }
        return false;
    }

    bool run() {
        for (std::size_t i = 0; i < s.size();) {
            char16_t c = s[i];
            if (c == u'"') {
                std::size_t close = s.find(u'"', i + 1);
                if (close == std::u16string_view::npos) return fail(u"a quoted literal is not closed");
                literal(OUString(s.substr(i + 1, close - i - 1)));
                i = close + 1;
            } else if (c == u'\\' || c == u'_' || c == u'*') {
                if (i + 1 >= s.size()) return fail(OUString(c) + u" at the end of a section");
                if (c == u'\\') literal(OUString(s[i + 1]));
                if (c == u'_') literal(u" ");
                i += 2;
            } else if (c == u'[') {
                if (!bracket(i)) return false;
            } else if (isPlaceholder(c)) {
                if (sec.dateTime) return fail(u"digit placeholders mixed with date or time tokens");
                if (text) return fail(u"digit placeholders mixed with \"@\"");
                numberToken();
                if (inExponent) ++sec.exponentZeros;
                else if (afterPoint) (c == u'0' ? sec.decZeros : sec.decOptional) += 1;
                else if (c == u'0') ++sec.intZeros;
                ++i;
            } else if (c == u'.') {
                bool nextDigit = i + 1 < s.size() && isPlaceholder(s[i + 1]);
                if (digits || nextDigit) {
                    if (afterPoint || inExponent) return fail(u"two decimal points");
                    numberToken();
                    afterPoint = true;
                } else {
                    literal(u".");
                }
                ++i;
            } else if (c == u',') {
                bool prevDigit = i > 0 && isPlaceholder(s[i - 1]);
                bool nextDigit = i + 1 < s.size() && isPlaceholder(s[i + 1]);
                if (prevDigit && nextDigit && !afterPoint) sec.grouping = true;
                else if (!prevDigit) literal(u",");
                ++i;
            } else if (c == u'%') {
                sec.percent = true;
                literal(u"%");
                ++i;
            } else if ((c == u'E' || c == u'e') && i + 1 < s.size() && (s[i + 1] == u'+' || s[i + 1] == u'-')) {
                if (!digits || inExponent) return fail(u"an exponent without digits before it");
                if (i + 2 >= s.size() || !isPlaceholder(s[i + 2])) return fail(u"an exponent without digits");
                sec.exponent = true;
                sec.exponentPlus = s[i + 1] == u'+';
                inExponent = true;
                i += 2;
            } else if (c == u'@') {
                if (digits) return fail(u"\"@\" mixed with digit placeholders");
                text = true;
                sec.tokens.push_back({FormatToken::Text, {}, 0});
                ++i;
            } else if (OUString(s.substr(i, 7)).equalsIgnoreAsciiCase(u"General")) {
                general = true;
                sec.tokens.push_back({FormatToken::General, {}, 0});
                i += 7;
            } else if (OUString(s.substr(i, 5)).equalsIgnoreAsciiCase(u"AM/PM")) {
                sec.dateTime = true;
                sec.tokens.push_back({FormatToken::AmPm, {}, 5});
                i += 5;
            } else if (OUString(s.substr(i, 3)).equalsIgnoreAsciiCase(u"A/P")) {
                sec.dateTime = true;
                sec.tokens.push_back({FormatToken::AmPm, {}, 3});
                i += 3;
            } else if (std::u16string_view(u"YyMmDdHhSs").find(c) != std::u16string_view::npos) {
                if (!dateLetters(i)) return false;
            } else if (std::u16string_view(u" -+()/:$!^&'~{}<>=").find(c) != std::u16string_view::npos || c > 127) {
                literal(OUString(c));
                ++i;
            } else {
                return fail(u"unexpected \"" + OUString(c) + u"\"");
            }
        }
        if (general && (digits || sec.dateTime || text)) return fail(u"\"General\" mixed with other placeholders");
        return true;
    }
};

void splitSections(std::u16string_view code, std::vector<std::u16string_view>& out) {
    std::size_t start = 0;
    bool quoted = false, bracket = false;
    for (std::size_t i = 0; i < code.size(); ++i) {
        char16_t c = code[i];
        if (c == u'\\' && !quoted) {
            ++i;
            continue;
        }
        if (c == u'"' && !bracket) quoted = !quoted;
        else if (c == u'[' && !quoted) bracket = true;
        else if (c == u']' && !quoted) bracket = false;
        else if (c == u';' && !quoted && !bracket) {
            out.push_back(code.substr(start, i - start));
            start = i + 1;
        }
    }
    out.push_back(code.substr(start));
}

bool holds(const FormatSection& s, double v) {
    const OUString& op = s.conditionOp;
    double c = s.conditionValue;
    if (op == u"<") return v < c;
    if (op == u">") return v > c;
    if (op == u"=") return v == c;
    if (op == u"<=") return v <= c;
    if (op == u">=") return v >= c;
    return v != c;
}

OUString padded(sal_Int64 n, int width) {
    OUString s = OUString::number(static_cast<long long>(n));
    while (s.getLength() < width) s = u"0" + s;
    return s;
}

OUString group(const OUString& digits) {
    OUStringBuffer b;
    sal_Int32 n = digits.getLength();
    for (sal_Int32 i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0) b.append(u',');
        b.append(digits[i]);
    }
    return b.makeStringAndClear();
}

// The number part of a numeric section, without sign.
OUString picture(const FormatSection& s, double v) {
    int decimals = s.decZeros + s.decOptional;
    OUStringBuffer b;
    int exponent = 0;
    if (s.exponent && v != 0) {
        exponent = static_cast<int>(std::floor(std::log10(v)));
        v = v / std::pow(10.0, exponent);
        if (rtl::math::round(v, decimals) >= 10) {
            v /= 10;
            ++exponent;
        }
    }
    OUString fixed = rtl::math::doubleToUString(v, rtl_math_StringFormat_F, decimals, u'.', false);
    sal_Int32 point = fixed.indexOf(u'.');
    OUString intPart = point < 0 ? fixed : fixed.copy(0, point);
    OUString decPart = point < 0 ? OUString() : fixed.copy(point + 1);
    if (intPart == u"0" && s.intZeros == 0) intPart = OUString();
    while (intPart.getLength() < s.intZeros) intPart = u"0" + intPart;
    if (s.grouping) intPart = group(intPart);
    while (decPart.getLength() > s.decZeros && decPart.endsWith(u"0")) decPart = decPart.copy(0, decPart.getLength() - 1);
    b.append(intPart);
    if (!decPart.isEmpty()) b.append(u'.').append(decPart);
    if (s.exponent) {
        b.append(u'E');
        if (exponent < 0) b.append(u'-');
        else if (s.exponentPlus) b.append(u'+');
        b.append(padded(std::abs(exponent), s.exponentZeros));
    }
    return b.makeStringAndClear();
}

const char16_t* const kMonths[] = {u"January", u"February", u"March",     u"April",   u"May",      u"June",
                                   u"July",    u"August",   u"September", u"October", u"November", u"December"};
const char16_t* const kDays[] = {u"Sunday", u"Monday", u"Tuesday", u"Wednesday", u"Thursday", u"Friday", u"Saturday"};

OUString dateTime(const FormatSection& s, double v) {
    double days = std::floor(v);
    sal_Int64 seconds = std::llround((v - days) * 86400.0);
    sal_Int64 day = static_cast<sal_Int64>(days);
    if (seconds >= 86400) {
        seconds -= 86400;
        ++day;
    }
    // Day 0 is 1899-12-30; civil date from days since 1970-01-01 (proleptic Gregorian).
    sal_Int64 z = day - 25569 + 719468;
    sal_Int64 era = (z >= 0 ? z : z - 146096) / 146097;
    sal_Int64 doe = z - era * 146097;
    sal_Int64 yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    sal_Int64 y = yoe + era * 400;
    sal_Int64 doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    sal_Int64 mp = (5 * doy + 2) / 153;
    sal_Int64 d = doy - (153 * mp + 2) / 5 + 1;
    sal_Int64 m = mp < 10 ? mp + 3 : mp - 9;
    if (m <= 2) ++y;
    sal_Int64 weekday = ((day - 1) % 7 + 7) % 7;  // 1899-12-31 was a Sunday
    bool twelve = false;
    for (const auto& t : s.tokens) twelve |= t.kind == FormatToken::AmPm;
    sal_Int64 h = seconds / 3600, mi = seconds / 60 % 60, se = seconds % 60;
    OUStringBuffer b;
    for (const auto& t : s.tokens) {
        switch (t.kind) {
        case FormatToken::Literal: b.append(t.text); break;
        case FormatToken::Year: b.append(t.width == 4 ? padded(y, 4) : padded(((y % 100) + 100) % 100, 2)); break;
        case FormatToken::Month: b.append(padded(m, t.width)); break;
        case FormatToken::MonthName: {
            OUString name(std::u16string_view(kMonths[m - 1]));
            b.append(t.width == 3 ? name.copy(0, 3) : t.width == 5 ? name.copy(0, 1) : name);
            break;
        }
        case FormatToken::Day: b.append(padded(d, t.width)); break;
        case FormatToken::DayName: {
            OUString name(std::u16string_view(kDays[weekday]));
            b.append(t.width == 3 ? name.copy(0, 3) : name);
            break;
        }
        case FormatToken::Hour: b.append(padded(twelve ? (h % 12 == 0 ? 12 : h % 12) : h, t.width)); break;
        case FormatToken::Minute: b.append(padded(mi, t.width)); break;
        case FormatToken::Second: b.append(padded(se, t.width)); break;
        case FormatToken::AmPm: b.append(t.width == 5 ? (h < 12 ? u"AM" : u"PM") : (h < 12 ? u"A" : u"P")); break;
        default: break;
        }
    }
    return b.makeStringAndClear();
}

} // namespace

bool parseNumberFormat(const OUString& code, NumberFormatCode& out, OUString* error) {
    auto failed = [&](const OUString& why) {
        if (error) *error = why;
        return false;
    };
    if (code.isEmpty()) return failed(u"the code is empty");
    std::vector<std::u16string_view> parts;
    splitSections(code.view(), parts);
    if (parts.size() > 4) return failed(u"more than four sections");
    NumberFormatCode result;
    for (auto part : parts) {
        SectionParser p;
        p.s = part;
        if (!p.run()) return failed(p.error);
        result.sections.push_back(std::move(p.sec));
    }
    out = std::move(result);
    return true;
}

OUString formatNumber(const NumberFormatCode& code, double v) {
    if (code.sections.empty() || !std::isfinite(v)) return numberText(v);
    const auto& secs = code.sections;
    std::size_t numeric = std::min<std::size_t>(secs.size(), 3);
    std::size_t pick = 0;
    bool conditions = false;
    for (std::size_t i = 0; i < numeric; ++i) conditions |= secs[i].hasCondition;
    if (conditions) {
        pick = numeric - 1;
        for (std::size_t i = 0; i < numeric; ++i)
            if (!secs[i].hasCondition || holds(secs[i], v)) {
                pick = i;
                break;
            }
    } else if (numeric >= 2 && v < 0) {
        pick = 1;
    } else if (numeric == 3 && v == 0) {
        pick = 2;
    }
    const FormatSection& s = secs[pick];
    // A section of its own for negative numbers writes them without the sign.
    bool sign = v < 0 && pick == 0;
    double magnitude = std::fabs(v);
    if (s.dateTime) return dateTime(s, v);
    if (s.percent) magnitude *= 100;
    OUStringBuffer b;
    for (const auto& t : s.tokens) {
        switch (t.kind) {
        case FormatToken::Literal: b.append(t.text); break;
        case FormatToken::General: b.append((sign ? u"-" : u"") + numberText(magnitude)); sign = false; break;
        case FormatToken::Text: b.append(numberText(v)); break;
        case FormatToken::Number:
            if (sign && picture(s, magnitude).getLength()) b.append(u'-');
            b.append(picture(s, magnitude));
            break;
        default: break;
        }
    }
    return b.makeStringAndClear();
}

} // namespace officehost::sheetcore
