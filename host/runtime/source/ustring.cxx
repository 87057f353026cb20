// rtl_uString storage and the members of rtl::OUString.
//
// Storage is one malloc'ed block per string with an atomic reference count.  The
// empty string is a single static block that acquire and release leave alone, so
// default-constructed and moved-from strings cost no allocation and can never be
// freed by an unbalanced release.

#include <rtl/character.hxx>
#include <rtl/math.hxx>
#include <rtl/ustrbuf.hxx>
#include <rtl/ustring.hxx>

#include "strimpl.hxx"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>
#include <ostream>

namespace {

constinit rtl_uString g_emptyUString{{1}, 0, {0}};

constexpr std::size_t kHeaderSize = offsetof(rtl_uString, buffer);

bool isTrimmed(sal_Unicode c) { return c <= 0x20; }

template <class Int>
OUString integerToString(Int value, sal_Int16 radix) {
    if (radix < 2 || radix > 36) radix = 10;
    char buf[72];
    auto r = std::to_chars(buf, buf + sizeof buf, value, radix);
    OUStringBuffer out(static_cast<sal_Int32>(r.ptr - buf));
    out.appendAscii(std::string_view(buf, r.ptr - buf));
    return out.makeStringAndClear();
}

int digitValue(sal_Unicode c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'z') return c - 'a' + 10;
    if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
    return 99;
}

// Unsigned arithmetic so that overflow wraps instead of being undefined.
template <class Signed>
Signed parseInteger(const sal_Unicode* str, sal_Int16 radix) {
    using Unsigned = std::make_unsigned_t<Signed>;
    if (str == nullptr) return 0;
    if (radix < 2 || radix > 36) radix = 10;
    while (rtl::isAsciiWhiteSpace(*str)) ++str;
    bool negative = false;
    if (*str == '-' || *str == '+') {
        negative = *str == '-';
        ++str;
    }
    Unsigned value = 0;
    for (; *str != 0; ++str) {
        int d = digitValue(*str);
        if (d >= radix) break;
        value = static_cast<Unsigned>(value * static_cast<Unsigned>(radix) + static_cast<Unsigned>(d));
    }
    if (negative) value = static_cast<Unsigned>(Unsigned(0) - value);
    return static_cast<Signed>(value);
}

OUString fromView(std::u16string_view v) { return OUString(v); }

} // namespace

namespace salqx {

sal_Int32 checkedLength(std::size_t n) {
    if (n > static_cast<std::size_t>(std::numeric_limits<sal_Int32>::max() / 2 - 64)) throw std::bad_alloc();
    return static_cast<sal_Int32>(n);
}

OUString utf8ToOUString(std::string_view bytes) {
    std::u16string out;
    decodeUtf8(bytes, out, false);
    return OUString(out);
}

} // namespace salqx

extern "C" {

void rtl_uString_acquire(rtl_uString* str) noexcept {
    if (str == &g_emptyUString) return;
    str->refCount.fetch_add(1, std::memory_order_relaxed);
}

void rtl_uString_release(rtl_uString* str) noexcept {
    if (str == &g_emptyUString) return;
    if (str->refCount.fetch_sub(1, std::memory_order_acq_rel) != 1) return;
    str->refCount.~atomic();
    std::free(str);
}

rtl_uString* rtl_uString_newEmpty() noexcept { return &g_emptyUString; }

rtl_uString* rtl_uString_alloc(sal_Int32 len) {
    if (len < 0) len = 0;
    salqx::checkedLength(static_cast<std::size_t>(len));
    void* block = std::malloc(kHeaderSize + (static_cast<std::size_t>(len) + 1) * sizeof(sal_Unicode));
    if (block == nullptr) throw std::bad_alloc();
    auto* s = static_cast<rtl_uString*>(block);
    new (&s->refCount) std::atomic<sal_Int32>(1);
    s->length = len;
    s->buffer[len] = 0;
    return s;
}

rtl_uString* rtl_uString_newFromStr(const sal_Unicode* str, sal_Int32 len) {
    if (str == nullptr || len <= 0) return rtl_uString_newEmpty();
    rtl_uString* s = rtl_uString_alloc(len);
    std::copy(str, str + len, s->buffer);
    return s;
}

void rtl_uString_newTrim(rtl_uString** newStr, rtl_uString* str) {
    if (str == nullptr) str = rtl_uString_newEmpty();
    std::u16string_view v(str->buffer, static_cast<std::size_t>(str->length));
    std::size_t b = 0;
    std::size_t e = v.size();
    while (b < e && isTrimmed(v[b])) ++b;
    while (e > b && isTrimmed(v[e - 1])) --e;
    if (b == 0 && e == v.size()) {
        rtl_uString_acquire(str);
        salqx::assignOwned(newStr, str);
        return;
    }
    salqx::assign(newStr, v.substr(b, e - b));
}

sal_Int32 rtl_ustr_toInt32(const sal_Unicode* str, sal_Int16 radix) { return parseInteger<sal_Int32>(str, radix); }

sal_Int64 rtl_ustr_toInt64(const sal_Unicode* str, sal_Int16 radix) { return parseInteger<sal_Int64>(str, radix); }

sal_Int32 rtl_ustr_getLength(const sal_Unicode* str) {
    if (str == nullptr) return 0;
    return salqx::checkedLength(std::char_traits<char16_t>::length(str));
}

} // extern "C"

namespace rtl {

rtl_uString* OUString::fromAscii(const char* s, sal_Int32 len) {
    // Literals are meant to be ASCII; decoding as UTF-8 keeps a stray non-ASCII
    // literal readable instead of turning it into mojibake.  The text ends at the first
    // NUL, so a char array that holds a shorter string does not bring its tail along.
    std::string_view bytes(s, ::strnlen(s, static_cast<std::size_t>(len)));
    len = static_cast<sal_Int32>(bytes.size());
    if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
        if (len <= 0) return rtl_uString_newEmpty();
        rtl_uString* r = rtl_uString_alloc(len);
        std::copy(bytes.begin(), bytes.end(), r->buffer);
        return r;
    }
    std::u16string out;
    salqx::decodeUtf8(bytes, out, false);
    return rtl_uString_newFromStr(out.data(), salqx::checkedLength(out.size()));
}

OUString OUString::createFromAscii(const char* ascii) {
    if (ascii == nullptr) return OUString();
    return OUString(fromAscii(ascii, salqx::checkedLength(std::char_traits<char>::length(ascii))), nullptr);
}

OUString OUString::number(int i, sal_Int16 radix) { return integerToString(i, radix); }
OUString OUString::number(unsigned int i, sal_Int16 radix) { return integerToString(i, radix); }
OUString OUString::number(long i, sal_Int16 radix) { return integerToString(i, radix); }
OUString OUString::number(unsigned long i, sal_Int16 radix) { return integerToString(i, radix); }
OUString OUString::number(long long i, sal_Int16 radix) { return integerToString(i, radix); }
OUString OUString::number(unsigned long long i, sal_Int16 radix) { return integerToString(i, radix); }

// The shortest round-trip digits in the layout of ECMAScript's Number::toString:
// plain notation for decimal exponents from -7 to 20 ("0.000001", "1e+21", "1e-7"),
// negative zero written "0", non-finite values "nan", "inf", "-inf".
OUString OUString::number(double d) {
    if (std::isnan(d)) return OUString(u"nan");
    if (std::isinf(d)) return OUString(d < 0 ? u"-inf" : u"inf");
    if (d == 0) return OUString(u"0");
    char sci[40];
    auto r = std::to_chars(sci, sci + sizeof sci, d, std::chars_format::scientific);
    std::string_view text(sci, r.ptr - sci);
    bool negative = text.front() == '-';
    if (negative) text.remove_prefix(1);
    std::size_t ePos = text.find('e');
    std::string digits;
    for (char c : text.substr(0, ePos))
        if (c != '.') digits.push_back(c);
    int exp10 = std::atoi(std::string(text.substr(ePos + 1)).c_str());
    int n = exp10 + 1; // value = 0.digits * 10^n
    int k = static_cast<int>(digits.size());
    std::string out;
    if (negative) out.push_back('-');
    if (k <= n && n <= 21) {
        out += digits;
        out.append(static_cast<std::size_t>(n - k), '0');
    } else if (0 < n && n <= 21) {
        out += digits.substr(0, static_cast<std::size_t>(n));
        out.push_back('.');
        out += digits.substr(static_cast<std::size_t>(n));
    } else if (-6 < n && n <= 0) {
        out += "0.";
        out.append(static_cast<std::size_t>(-n), '0');
        out += digits;
    } else {
        out.push_back(digits[0]);
        if (k > 1) {
            out.push_back('.');
            out += digits.substr(1);
        }
        out.push_back('e');
        out.push_back(n - 1 < 0 ? '-' : '+');
        out += std::to_string(std::abs(n - 1));
    }
    return createFromAscii(out.c_str());
}

bool OUString::equalsAscii(const char* ascii) const noexcept {
    const sal_Unicode* p = getStr();
    const sal_Unicode* e = p + getLength();
    for (; p != e; ++p, ++ascii) {
        if (*ascii == 0 || *p != static_cast<unsigned char>(*ascii)) return false;
    }
    return *ascii == 0;
}

bool OUString::equalsIgnoreAsciiCase(std::u16string_view s) const noexcept {
    if (s.size() != static_cast<std::size_t>(getLength())) return false;
    return std::equal(s.begin(), s.end(), getStr(), [](sal_Unicode a, sal_Unicode b) {
        return rtl::toAsciiLowerCase(a) == rtl::toAsciiLowerCase(b);
    });
}

sal_Int32 OUString::compareTo(std::u16string_view s) const noexcept {
    int c = view().compare(s);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

bool OUString::startsWith(std::u16string_view s, OUString* rest) const {
    if (!view().starts_with(s)) return false;
    if (rest != nullptr) *rest = copy(static_cast<sal_Int32>(s.size()));
    return true;
}

bool OUString::endsWith(std::u16string_view s, OUString* rest) const {
    if (!view().ends_with(s)) return false;
    if (rest != nullptr) *rest = copy(0, getLength() - static_cast<sal_Int32>(s.size()));
    return true;
}

bool OUString::startsWithIgnoreAsciiCase(std::u16string_view s) const noexcept {
    if (s.size() > static_cast<std::size_t>(getLength())) return false;
    return std::equal(s.begin(), s.end(), getStr(), [](sal_Unicode a, sal_Unicode b) {
        return rtl::toAsciiLowerCase(a) == rtl::toAsciiLowerCase(b);
    });
}

bool OUString::endsWithIgnoreAsciiCase(std::u16string_view s) const noexcept {
    if (s.size() > static_cast<std::size_t>(getLength())) return false;
    std::u16string_view tail = view().substr(view().size() - s.size());
    return std::equal(s.begin(), s.end(), tail.begin(), [](sal_Unicode a, sal_Unicode b) {
        return rtl::toAsciiLowerCase(a) == rtl::toAsciiLowerCase(b);
    });
}

bool OUString::match(std::u16string_view s, sal_Int32 fromIndex) const noexcept {
    if (fromIndex < 0 || fromIndex > getLength()) return false;
    return view().substr(static_cast<std::size_t>(fromIndex)).starts_with(s);
}

sal_Int32 OUString::indexOf(sal_Unicode c, sal_Int32 fromIndex) const noexcept {
    if (fromIndex < 0) fromIndex = 0;
    if (fromIndex >= getLength()) return -1;
    auto p = view().find(c, static_cast<std::size_t>(fromIndex));
    return p == std::u16string_view::npos ? -1 : static_cast<sal_Int32>(p);
}

sal_Int32 OUString::indexOf(std::u16string_view s, sal_Int32 fromIndex) const noexcept {
    if (fromIndex < 0) fromIndex = 0;
    if (fromIndex > getLength()) return -1;
    auto p = view().find(s, static_cast<std::size_t>(fromIndex));
    return p == std::u16string_view::npos ? -1 : static_cast<sal_Int32>(p);
}

sal_Int32 OUString::lastIndexOf(sal_Unicode c) const noexcept {
    auto p = view().rfind(c);
    return p == std::u16string_view::npos ? -1 : static_cast<sal_Int32>(p);
}

sal_Int32 OUString::lastIndexOf(std::u16string_view s) const noexcept {
    auto p = view().rfind(s);
    return p == std::u16string_view::npos ? -1 : static_cast<sal_Int32>(p);
}

// Indices outside the string are clamped to it rather than read out of bounds.
OUString OUString::copy(sal_Int32 beginIndex) const { return copy(beginIndex, getLength()); }

OUString OUString::copy(sal_Int32 beginIndex, sal_Int32 count) const {
    beginIndex = std::clamp(beginIndex, 0, getLength());
    count = std::clamp(count, 0, getLength() - beginIndex);
    if (beginIndex == 0 && count == getLength()) return *this;
    return OUString(getStr() + beginIndex, count);
}

OUString OUString::concat(std::u16string_view s) const {
    if (s.empty()) return *this;
    if (isEmpty()) return OUString(s);
    sal_Int32 len = salqx::checkedLength(static_cast<std::size_t>(getLength()) + s.size());
    rtl_uString* r = rtl_uString_alloc(len);
    std::copy(getStr(), getStr() + getLength(), r->buffer);
    std::copy(s.begin(), s.end(), r->buffer + getLength());
    return OUString(r, nullptr);
}

OUString OUString::replaceAt(sal_Int32 index, sal_Int32 count, std::u16string_view newStr) const {
    index = std::clamp(index, 0, getLength());
    count = std::clamp(count, 0, getLength() - index);
    std::u16string s(view());
    s.replace(static_cast<std::size_t>(index), static_cast<std::size_t>(count), newStr);
    return fromView(s);
}

OUString OUString::replace(sal_Unicode oldChar, sal_Unicode newChar) const {
    if (indexOf(oldChar) < 0) return *this;
    std::u16string s(view());
    std::replace(s.begin(), s.end(), oldChar, newChar);
    return fromView(s);
}

OUString OUString::replaceFirst(std::u16string_view from, std::u16string_view to, sal_Int32* index) const {
    sal_Int32 start = index != nullptr ? *index : 0;
    sal_Int32 pos = from.empty() ? -1 : indexOf(from, start);
    if (index != nullptr) *index = pos;
    if (pos < 0) return *this;
    return replaceAt(pos, static_cast<sal_Int32>(from.size()), to);
}

OUString OUString::replaceAll(std::u16string_view from, std::u16string_view to) const {
    if (from.empty() || indexOf(from) < 0) return *this;
    std::u16string out;
    std::u16string_view v = view();
    std::size_t pos = 0;
    for (;;) {
        std::size_t hit = v.find(from, pos);
        if (hit == std::u16string_view::npos) break;
        out.append(v.substr(pos, hit - pos));
        out.append(to);
        pos = hit + from.size();
    }
    out.append(v.substr(pos));
    return fromView(out);
}

OUString OUString::toAsciiLowerCase() const {
    if (std::none_of(getStr(), getStr() + getLength(), [](sal_Unicode c) { return rtl::isAsciiUpperCase(c); }))
        return *this;
    std::u16string s(view());
    for (auto& c : s) c = static_cast<sal_Unicode>(rtl::toAsciiLowerCase(c));
    return fromView(s);
}

OUString OUString::toAsciiUpperCase() const {
    if (std::none_of(getStr(), getStr() + getLength(), [](sal_Unicode c) { return rtl::isAsciiLowerCase(c); }))
        return *this;
    std::u16string s(view());
    for (auto& c : s) c = static_cast<sal_Unicode>(rtl::toAsciiUpperCase(c));
    return fromView(s);
}

OUString OUString::trim() const {
    rtl_uString* r = nullptr;
    rtl_uString_newTrim(&r, pData);
    return OUString(r, nullptr);
}

// The token-th piece counted from index.  index becomes the position after the
// separator that ends the piece, or -1 when the piece reaches the end; a piece
// that does not exist gives the empty string and -1.
OUString OUString::getToken(sal_Int32 token, sal_Unicode c, sal_Int32& index) const {
    if (token < 0 || index < 0 || index > getLength()) {
        index = -1;
        return OUString();
    }
    std::u16string_view v = view();
    std::size_t start = static_cast<std::size_t>(index);
    for (sal_Int32 t = 0; t < token; ++t) {
        std::size_t sep = v.find(c, start);
        if (sep == std::u16string_view::npos) {
            index = -1;
            return OUString();
        }
        start = sep + 1;
    }
    std::size_t sep = v.find(c, start);
    if (sep == std::u16string_view::npos) {
        index = -1;
        return copy(static_cast<sal_Int32>(start));
    }
    index = static_cast<sal_Int32>(sep + 1);
    return copy(static_cast<sal_Int32>(start), static_cast<sal_Int32>(sep - start));
}

double OUString::toDouble() const {
    return rtl_math_uStringToDouble(getStr(), getStr() + getLength(), '.', 0, nullptr, nullptr);
}

// With incr >= 0 the code point at *index is read before moving; with a negative
// incr the index moves back first and the code point there is read.  The index is
// kept within [0, length]; reading at the end gives 0.
sal_uInt32 OUString::iterateCodePoints(sal_Int32* index, sal_Int32 incr) const {
    const sal_Int32 len = getLength();
    const sal_Unicode* s = getStr();
    sal_Int32 i = std::clamp(*index, 0, len);
    auto forward = [&](sal_Int32 at) {
        if (at < len - 1 && rtl::isHighSurrogate(s[at]) && rtl::isLowSurrogate(s[at + 1])) return at + 2;
        return at + 1;
    };
    auto backward = [&](sal_Int32 at) {
        if (at >= 2 && rtl::isLowSurrogate(s[at - 1]) && rtl::isHighSurrogate(s[at - 2])) return at - 2;
        return at - 1;
    };
    auto codePointAt = [&](sal_Int32 at) -> sal_uInt32 {
        if (at >= len) return 0;
        if (at < len - 1 && rtl::isHighSurrogate(s[at]) && rtl::isLowSurrogate(s[at + 1]))
            return rtl::combineSurrogates(s[at], s[at + 1]);
        return s[at];
    };
    if (incr < 0) {
        for (; incr < 0 && i > 0; ++incr) i = backward(i);
        *index = i;
        return codePointAt(i);
    }
    sal_uInt32 cp = codePointAt(i);
    for (; incr > 0 && i < len; --incr) i = forward(i);
    *index = i;
    return cp;
}

sal_Int32 OUString::hashCode() const noexcept {
    sal_uInt32 h = static_cast<sal_uInt32>(getLength());
    for (sal_Unicode c : view()) h = h * 37u + c;
    return static_cast<sal_Int32>(h);
}

std::ostream& operator<<(std::ostream& os, const OUString& s) {
    std::string bytes;
    salqx::encodeUtf8(s.view(), bytes, false);
    return os << bytes;
}

// Values beyond U+10FFFF are not characters; they are appended as U+FFFD.
OUStringBuffer& OUStringBuffer::appendUtf32(sal_uInt32 c) {
    if (c > 0x10FFFF) return append(sal_Unicode(0xFFFD));
    if (c < 0x10000) return append(static_cast<sal_Unicode>(c));
    c -= 0x10000;
    append(static_cast<sal_Unicode>(0xD800 + (c >> 10)));
    return append(static_cast<sal_Unicode>(0xDC00 + (c & 0x3FF)));
}

} // namespace rtl
