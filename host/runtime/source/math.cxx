// Number formatting, parsing and rounding.
//
// Everything works on the shortest decimal representation of a double (the digits
// std::to_chars gives, which read back as the same value) and rounds that digit
// string exactly.  So 2.675 is treated as the decimal 2.675 the user typed, not as
// the binary neighbour 2.67499999999999982..., and rounding it to two places gives
// 2.68 in every format.  Results are read back with std::from_chars (correctly
// rounded, locale independent).
//
// Layouts of rtl_math_doubleToUString:
//   F          fixed notation with decPlaces digits after the separator, halves away
//              from zero; with rtl_math_DecimalPlaces_Max as many digits as the value has.
//   E          one digit, separator, decPlaces digits, "E", sign and at least two
//              exponent digits: "1.50E+03".
//   G          decPlaces significant digits (at least one); fixed notation when the
//              decimal exponent is in [-4, decPlaces), otherwise as E.
//   Automatic  fixed notation when the decimal exponent is in [-4, 15), otherwise as E
//              ("1E+15", "1E-05"); decPlaces digits after the separator (of the mantissa
//              in exponent form), or the shortest round-trip digits with
//              rtl_math_DecimalPlaces_Max.
// Decimal counts are clamped to [0, 400].  Zero, also negative zero and values that
// round to zero, is written without a sign.

#include <rtl/character.hxx>
#include <rtl/math.hxx>

#include "strimpl.hxx"

#include <algorithm>
#include <cassert>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

namespace {

constexpr int kMaxDecimals = 400;

// value = (neg ? -1 : 1) * 0.digits * 10^exp; digits has no leading or trailing
// zeros and is empty for zero.
struct Decimal {
    bool neg = false;
    std::string digits;
    int exp = 0;
};

void stripTrailingZeros(Decimal& d) {
    while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
}

Decimal decimalOf(double v) {
    assert(std::isfinite(v) && "decimalOf needs a finite value");
    Decimal d;
    d.neg = std::signbit(v);
    if (v == 0) return d;
    char buf[40];
    auto r = std::to_chars(buf, buf + sizeof buf, std::fabs(v), std::chars_format::scientific);
    std::string_view text(buf, r.ptr - buf);
    std::size_t e = text.find('e');
    for (char c : text.substr(0, e))
        if (c != '.') d.digits.push_back(c);
    d.exp = std::atoi(std::string(text.substr(e + 1)).c_str()) + 1;
    stripTrailingZeros(d);
    return d;
}

double doubleOf(const Decimal& d) {
    if (d.digits.empty()) return d.neg ? -0.0 : 0.0;
    std::string text = "0." + d.digits + "e" + std::to_string(d.exp);
    double v = 0;
    auto r = std::from_chars(text.data(), text.data() + text.size(), v);
    if (r.ec == std::errc::result_out_of_range) v = d.exp > 0 ? HUGE_VAL : 0.0;
    return d.neg ? -v : v;
}

// Rounds d to frac digits after the decimal point (negative: to tens, hundreds...).
void roundDecimal(Decimal& d, int frac, rtl_math_RoundingMode mode) {
    const long keep = static_cast<long>(d.exp) + frac;
    if (keep >= static_cast<long>(d.digits.size()) || d.digits.empty()) return;
    // Where the dropped part lies relative to half a unit of the last kept digit.
    int vsHalf = -1;
    if (keep >= 0) {
        char first = d.digits[static_cast<std::size_t>(keep)];
        if (first > '5') vsHalf = 1;
        else if (first == '5') vsHalf = static_cast<std::size_t>(keep) + 1 == d.digits.size() ? 0 : 1;
    }
    bool lastKeptOdd = keep > 0 && (d.digits[static_cast<std::size_t>(keep) - 1] - '0') % 2 == 1;
    bool up = false;
    switch (mode) {
    case rtl_math_RoundingMode_Down: up = false; break;
    case rtl_math_RoundingMode_Up: up = true; break;
    case rtl_math_RoundingMode_Floor: up = d.neg; break;
    case rtl_math_RoundingMode_Ceiling: up = !d.neg; break;
    case rtl_math_RoundingMode_HalfDown: up = vsHalf > 0; break;
    case rtl_math_RoundingMode_Corrected:
    case rtl_math_RoundingMode_HalfUp: up = vsHalf >= 0; break;
    case rtl_math_RoundingMode_HalfEven: up = vsHalf > 0 || (vsHalf == 0 && lastKeptOdd); break;
    }
    if (keep <= 0) {
        d.digits.clear();
        if (up) {
            d.digits.push_back('1');
            d.exp = 1 - frac;
        }
        return;
    }
    d.digits.resize(static_cast<std::size_t>(keep));
    if (up) {
        std::size_t i = d.digits.size();
        while (i > 0 && d.digits[i - 1] == '9') d.digits[--i] = '0';
        if (i == 0) {
            d.digits.insert(d.digits.begin(), '1');
            ++d.exp;
        } else {
            ++d.digits[i - 1];
        }
    }
    stripTrailingZeros(d);
}

void roundSignificant(Decimal& d, int significant, rtl_math_RoundingMode mode) {
    roundDecimal(d, significant - d.exp, mode);
}

std::string fixedText(const Decimal& d, int frac, char16_t sep, std::u16string& out) {
    std::string s;
    if (d.exp <= 0) {
        s.push_back('0');
    } else {
        for (int i = 0; i < d.exp; ++i)
            s.push_back(static_cast<std::size_t>(i) < d.digits.size() ? d.digits[static_cast<std::size_t>(i)] : '0');
    }
    for (char c : s) out.push_back(static_cast<unsigned char>(c));
    if (frac <= 0) return s;
    out.push_back(sep);
    for (int i = d.exp; i < d.exp + frac; ++i) {
        char c = (i >= 0 && static_cast<std::size_t>(i) < d.digits.size()) ? d.digits[static_cast<std::size_t>(i)] : '0';
        out.push_back(static_cast<unsigned char>(c));
    }
    return s;
}

void exponentText(const Decimal& d, int mantissaFrac, char16_t sep, std::u16string& out) {
    out.push_back(d.digits.empty() ? u'0' : static_cast<char16_t>(d.digits[0]));
    if (mantissaFrac > 0) {
        out.push_back(sep);
        for (int i = 1; i <= mantissaFrac; ++i)
            out.push_back(static_cast<std::size_t>(i) < d.digits.size() ? static_cast<char16_t>(d.digits[static_cast<std::size_t>(i)])
                                                                          : u'0');
    }
    int e = d.digits.empty() ? 0 : d.exp - 1;
    out.push_back(u'E');
    out.push_back(e < 0 ? u'-' : u'+');
    std::string digits = std::to_string(std::abs(e));
    if (digits.size() < 2) digits.insert(digits.begin(), '0');
    for (char c : digits) out.push_back(static_cast<unsigned char>(c));
}

// Removes trailing zeros of the fraction (of the mantissa, before an exponent) and
// then a separator left dangling.
void eraseTrailingZeros(std::u16string& s, char16_t sep) {
    std::size_t sepPos = s.find(sep);
    if (sepPos == std::u16string::npos) return;
    std::size_t ePos = s.find(u'E', sepPos);
    std::size_t end = ePos == std::u16string::npos ? s.size() : ePos;
    std::size_t cut = end;
    while (cut > sepPos + 1 && s[cut - 1] == u'0') --cut;
    if (cut == sepPos + 1) cut = sepPos;
    s.erase(cut, end - cut);
}

int clampDecimals(sal_Int32 decPlaces) { return std::clamp<sal_Int32>(decPlaces, 0, kMaxDecimals); }

std::u16string format(double value, rtl_math_StringFormat fmt, sal_Int32 decPlaces, char16_t sep) {
    if (std::isnan(value)) return u"nan";
    if (std::isinf(value)) return value < 0 ? u"-inf" : u"inf";
    const bool shortest = decPlaces == rtl_math_DecimalPlaces_Max;
    Decimal d = decimalOf(value);
    std::u16string body;
    switch (fmt) {
    case rtl_math_StringFormat_F: {
        int frac = shortest ? std::max<int>(0, static_cast<int>(d.digits.size()) - d.exp) : clampDecimals(decPlaces);
        roundDecimal(d, frac, rtl_math_RoundingMode_HalfUp);
        fixedText(d, frac, sep, body);
        break;
    }
    case rtl_math_StringFormat_E: {
        int frac = shortest ? std::max<int>(0, static_cast<int>(d.digits.size()) - 1) : clampDecimals(decPlaces);
        roundSignificant(d, frac + 1, rtl_math_RoundingMode_HalfUp);
        exponentText(d, frac, sep, body);
        break;
    }
    case rtl_math_StringFormat_G: {
        int sig = shortest ? std::max<int>(1, static_cast<int>(d.digits.size())) : std::max(1, clampDecimals(decPlaces));
        roundSignificant(d, sig, rtl_math_RoundingMode_HalfUp);
        int e = d.digits.empty() ? 0 : d.exp - 1;
        if (e >= -4 && e < sig) fixedText(d, sig - 1 - e, sep, body);
        else exponentText(d, sig - 1, sep, body);
        break;
    }
    case rtl_math_StringFormat_Automatic: {
        int e = d.digits.empty() ? 0 : d.exp - 1;
        if (e >= -4 && e < 15) {
            int frac = shortest ? std::max<int>(0, static_cast<int>(d.digits.size()) - d.exp) : clampDecimals(decPlaces);
            roundDecimal(d, frac, rtl_math_RoundingMode_HalfUp);
            fixedText(d, frac, sep, body);
        } else {
            int frac = shortest ? std::max<int>(0, static_cast<int>(d.digits.size()) - 1) : clampDecimals(decPlaces);
            roundSignificant(d, frac + 1, rtl_math_RoundingMode_HalfUp);
            exponentText(d, frac, sep, body);
        }
        break;
    }
    }
    if (d.neg && !d.digits.empty()) body.insert(body.begin(), u'-');
    return body;
}

bool isDigit(sal_Unicode c) { return c >= '0' && c <= '9'; }

} // namespace

extern "C" {

void rtl_math_doubleToUString(rtl_uString** result, double value, rtl_math_StringFormat format, sal_Int32 decPlaces,
                              sal_Unicode decSeparator, bool eraseTrailingDecZeros) {
    const char16_t sep = decSeparator == 0 ? u'.' : decSeparator;
    std::u16string s = ::format(value, format, decPlaces, sep);
    if (eraseTrailingDecZeros && std::isfinite(value)) eraseTrailingZeros(s, sep);
    salqx::assign(result, s);
}

// Leading blanks (space, tab, line breaks) are skipped.  A decimal separator needs a
// digit before or after it to count; an exponent needs at least one digit.  Values
// too small for a double read as (signed) zero with status Ok.
double rtl_math_uStringToDouble(const sal_Unicode* begin, const sal_Unicode* end, sal_Unicode decSeparator,
                                sal_Unicode groupSeparator, rtl_math_ConversionStatus* status,
                                const sal_Unicode** parsedEnd) {
    if (status != nullptr) *status = rtl_math_ConversionStatus_Ok;
    if (parsedEnd != nullptr) *parsedEnd = begin;
    if (begin == nullptr || end == nullptr || end <= begin) return 0.0;
    const sal_Unicode* p = begin;
    while (p != end && rtl::isAsciiWhiteSpace(*p)) ++p;
    std::string text;
    bool negative = false;
    if (p != end && (*p == '-' || *p == '+')) {
        negative = *p == '-';
        ++p;
    }
    bool anyDigit = false;
    while (p != end) {
        if (isDigit(*p)) {
            text.push_back(static_cast<char>(*p));
            anyDigit = true;
            ++p;
            continue;
        }
        if (groupSeparator != 0 && *p == groupSeparator && anyDigit && p + 1 != end && isDigit(p[1])) {
            ++p;
            continue;
        }
        break;
    }
    if (p != end && decSeparator != 0 && *p == decSeparator) {
        const sal_Unicode* q = p + 1;
        bool fracDigit = false;
        std::string frac;
        while (q != end && isDigit(*q)) {
            frac.push_back(static_cast<char>(*q));
            fracDigit = true;
            ++q;
        }
        if (anyDigit || fracDigit) {
            if (!frac.empty()) text += "." + frac;
            anyDigit = true;
            p = q;
        }
    }
    if (!anyDigit) return 0.0;
    if (text.front() == '.') text.insert(text.begin(), '0');
    assert(!text.empty() && "a read number has digits");
    if (p != end && (*p == 'e' || *p == 'E')) {
        const sal_Unicode* q = p + 1;
        bool expNegative = false;
        if (q != end && (*q == '-' || *q == '+')) {
            expNegative = *q == '-';
            ++q;
        }
        if (q != end && isDigit(*q)) {
            long exp = 0;
            for (; q != end && isDigit(*q); ++q) exp = std::min<long>(exp * 10 + (*q - '0'), 100000000L);
            text += "e";
            if (expNegative) text += "-";
            text += std::to_string(exp);
            p = q;
        }
    }
    if (parsedEnd != nullptr) *parsedEnd = p;
    double v = 0;
    auto r = std::from_chars(text.data(), text.data() + text.size(), v);
    if (r.ec == std::errc::result_out_of_range) {
        // from_chars leaves v alone here; tell overflow from underflow by the magnitude
        // the text stands for.
        std::size_t e = text.find('e');
        std::string mantissa = text.substr(0, e);
        long exp10 = e == std::string::npos ? 0 : std::atol(text.c_str() + e + 1);
        std::size_t dot = mantissa.find('.');
        long intDigits = static_cast<long>(dot == std::string::npos ? mantissa.size() : dot);
        std::size_t firstNonZero = mantissa.find_first_not_of("0.");
        long magnitude = 0;
        if (firstNonZero != std::string::npos) {
            long pos = static_cast<long>(firstNonZero);
            magnitude = (dot == std::string::npos || pos < static_cast<long>(dot)) ? intDigits - pos : intDigits - pos + 1;
        }
        bool overflow = firstNonZero != std::string::npos && magnitude + exp10 > 0;
        if (overflow) {
            if (status != nullptr) *status = rtl_math_ConversionStatus_OutOfRange;
            v = HUGE_VAL;
        } else {
            v = 0.0;
        }
    }
    return negative ? -v : v;
}

double rtl_math_round(double value, int decimalPlaces, rtl_math_RoundingMode mode) {
    if (!std::isfinite(value) || value == 0) return value;
    decimalPlaces = std::clamp(decimalPlaces, -kMaxDecimals, kMaxDecimals);
    Decimal d = decimalOf(value);
    if (static_cast<long>(d.digits.size()) - d.exp <= decimalPlaces) return value;
    // The seventeenth and sixteenth digits of a double that went through arithmetic
    // are mostly noise (0.1 + 0.2 = 0.30000000000000004); the corrected mode looks at
    // the value rounded to 15 significant digits, as a user would read it.
    if (mode == rtl_math_RoundingMode_Corrected && d.digits.size() > 15)
        roundSignificant(d, 15, rtl_math_RoundingMode_HalfUp);
    roundDecimal(d, decimalPlaces, mode);
    return doubleOf(d);
}

// Scales the shortest decimal representation, so 0.1 * 10^1 is exactly 1 and
// 1.23 * 10^-2 is the double nearest 0.0123.
double rtl_math_pow10Exp(double value, int exp) {
    if (!std::isfinite(value) || value == 0 || exp == 0) return value;
    Decimal d = decimalOf(value);
    long e = static_cast<long>(d.exp) + exp;
    d.exp = static_cast<int>(std::clamp<long>(e, -100000, 100000));
    return doubleOf(d);
}

} // extern "C"
