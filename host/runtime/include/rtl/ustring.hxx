#pragma once
// rtl::OUString: the runtime's immutable, reference-counted UTF-16 string.
// Copies share storage; every operation that "changes" a string returns a new one.

#include <rtl/string.hxx>
#include <rtl/ustring.h>

#include <cassert>
#include <compare>
#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>

namespace rtl {

class OUString;
OString OUStringToOString(const OUString& str, rtl_TextEncoding enc,
                          sal_uInt32 flags = OUSTRING_TO_OSTRING_CVTFLAGS);

class SALQX_DLLPUBLIC OUString {
public:
    rtl_uString* pData;

    OUString() noexcept : pData(rtl_uString_newEmpty()) {}
    OUString(const OUString& s) noexcept : pData(s.pData) { rtl_uString_acquire(pData); }
    OUString(OUString&& s) noexcept : pData(s.pData) { s.pData = rtl_uString_newEmpty(); }
    // Takes over one reference of str.
    OUString(rtl_uString* str, std::nullptr_t) noexcept : pData(str) {}
    explicit OUString(rtl_uString* str) noexcept : pData(str) { rtl_uString_acquire(pData); }
    OUString(const sal_Unicode* str, sal_Int32 len) : pData(rtl_uString_newFromStr(str, len)) {}
    explicit OUString(sal_Unicode c) : pData(rtl_uString_newFromStr(&c, 1)) {}
    explicit OUString(std::u16string_view sv)
        : pData(rtl_uString_newFromStr(sv.data(), static_cast<sal_Int32>(sv.size()))) {}
    // UTF-16 literal: u"text".
    template <std::size_t N>
    OUString(const char16_t (&lit)[N]) : pData(rtl_uString_newFromStr(lit, static_cast<sal_Int32>(N - 1))) {}
    // ASCII literal: "text" (only 7-bit characters).
    template <std::size_t N>
    OUString(const char (&lit)[N]) : pData(fromAscii(lit, static_cast<sal_Int32>(N - 1))) {}
    // Bytes of a given encoding, converted with the given flags.
    OUString(const char* str, sal_Int32 len, rtl_TextEncoding enc, sal_uInt32 flags = OSTRING_TO_OUSTRING_CVTFLAGS);
    ~OUString() { rtl_uString_release(pData); }

    OUString& operator=(const OUString& s) noexcept {
        rtl_uString_acquire(s.pData);
        rtl_uString_release(pData);
        pData = s.pData;
        return *this;
    }
    OUString& operator=(OUString&& s) noexcept {
        std::swap(pData, s.pData);
        return *this;
    }
    OUString& operator+=(const OUString& s) { return *this = concat(s); }
    OUString& operator+=(std::u16string_view s) { return *this = concat(s); }

    static OUString createFromAscii(const char* ascii);
    static OUString fromUtf8(std::string_view utf8);
    static OUString number(int i, sal_Int16 radix = 10);
    static OUString number(unsigned int i, sal_Int16 radix = 10);
    static OUString number(long i, sal_Int16 radix = 10);
    static OUString number(unsigned long i, sal_Int16 radix = 10);
    static OUString number(long long i, sal_Int16 radix = 10);
    static OUString number(unsigned long long i, sal_Int16 radix = 10);
    // The shortest text that reads back as the same double (at most 17 significant
    // digits, "." as separator, no trailing zeros, no exponent below 1e21).
    static OUString number(double d);
    static OUString boolean(bool b) { return b ? OUString(u"true") : OUString(u"false"); }

    sal_Int32 getLength() const noexcept { return pData->length; }
    bool isEmpty() const noexcept { return pData->length == 0; }
    const sal_Unicode* getStr() const noexcept { return pData->buffer; }
    const sal_Unicode& operator[](sal_Int32 i) const noexcept {
        assert(i >= 0 && i < pData->length && "OUString index out of range");
        return pData->buffer[i];
    }
    std::u16string_view view() const noexcept { return {pData->buffer, static_cast<std::size_t>(pData->length)}; }
    operator std::u16string_view() const noexcept { return view(); }

    bool equals(std::u16string_view s) const noexcept { return view() == s; }
    bool equalsAscii(const char* ascii) const noexcept;
    bool equalsIgnoreAsciiCase(std::u16string_view s) const noexcept;
    sal_Int32 compareTo(std::u16string_view s) const noexcept;
    bool startsWith(std::u16string_view s, OUString* rest = nullptr) const;
    bool endsWith(std::u16string_view s, OUString* rest = nullptr) const;
    bool startsWithIgnoreAsciiCase(std::u16string_view s) const noexcept;
    bool endsWithIgnoreAsciiCase(std::u16string_view s) const noexcept;
    bool match(std::u16string_view s, sal_Int32 fromIndex = 0) const noexcept;

    sal_Int32 indexOf(sal_Unicode c, sal_Int32 fromIndex = 0) const noexcept;
    sal_Int32 indexOf(std::u16string_view s, sal_Int32 fromIndex = 0) const noexcept;
    sal_Int32 lastIndexOf(sal_Unicode c) const noexcept;
    sal_Int32 lastIndexOf(std::u16string_view s) const noexcept;

    OUString copy(sal_Int32 beginIndex) const;
    OUString copy(sal_Int32 beginIndex, sal_Int32 count) const;
    OUString concat(std::u16string_view s) const;
    OUString replaceAt(sal_Int32 index, sal_Int32 count, std::u16string_view newStr) const;
    OUString replace(sal_Unicode oldChar, sal_Unicode newChar) const;
    OUString replaceFirst(std::u16string_view from, std::u16string_view to, sal_Int32* index = nullptr) const;
    OUString replaceAll(std::u16string_view from, std::u16string_view to) const;
    OUString toAsciiLowerCase() const;
    OUString toAsciiUpperCase() const;
    OUString trim() const;
    // The token-th piece between separators c, starting the search at *index;
    // *index becomes the start of the next token or -1.
    OUString getToken(sal_Int32 token, sal_Unicode c, sal_Int32& index) const;
    OUString getToken(sal_Int32 token, sal_Unicode c) const {
        sal_Int32 i = 0;
        return getToken(token, c, i);
    }

    sal_Int32 toInt32(sal_Int16 radix = 10) const noexcept { return rtl_ustr_toInt32(getStr(), radix); }
    sal_Int64 toInt64(sal_Int16 radix = 10) const noexcept { return rtl_ustr_toInt64(getStr(), radix); }
    double toDouble() const;
    bool toBoolean() const noexcept { return equalsIgnoreAsciiCase(u"true"); }

    // The code point at *index, moving *index over it (and over incr code points).
    sal_uInt32 iterateCodePoints(sal_Int32* index, sal_Int32 incr = 1) const;

    bool convertToString(OString* target, rtl_TextEncoding enc, sal_uInt32 flags) const;
    OString toUtf8() const { return OUStringToOString(*this, RTL_TEXTENCODING_UTF8); }
    std::u16string toStdU16() const { return std::u16string(view()); }

    sal_Int32 hashCode() const noexcept;

    friend bool operator==(const OUString& a, const OUString& b) noexcept {
        return a.pData == b.pData || a.view() == b.view();
    }
    friend bool operator==(const OUString& a, std::u16string_view b) noexcept { return a.view() == b; }
    friend bool operator==(const OUString& a, const char16_t* b) noexcept { return a.view() == std::u16string_view(b); }
    friend std::strong_ordering operator<=>(const OUString& a, const OUString& b) noexcept {
        return a.view() <=> b.view();
    }
    friend std::strong_ordering operator<=>(const OUString& a, std::u16string_view b) noexcept {
        return a.view() <=> b;
    }

private:
    static rtl_uString* fromAscii(const char* s, sal_Int32 len);
};

inline OUString operator+(const OUString& a, const OUString& b) { return a.concat(b); }
inline OUString operator+(const OUString& a, std::u16string_view b) { return a.concat(b); }
inline OUString operator+(const OUString& a, const char16_t* b) { return a.concat(b); }
inline OUString operator+(std::u16string_view a, const OUString& b) { return OUString(a).concat(b); }
inline OUString operator+(const char16_t* a, const OUString& b) { return OUString(std::u16string_view(a)).concat(b); }
inline OUString operator+(const OUString& a, sal_Unicode c) { return a.concat(std::u16string_view(&c, 1)); }

SALQX_DLLPUBLIC OString OUStringToOString(const OUString& str, rtl_TextEncoding enc, sal_uInt32 flags);
SALQX_DLLPUBLIC OUString OStringToOUString(const OString& str, rtl_TextEncoding enc,
                                           sal_uInt32 flags = OSTRING_TO_OUSTRING_CVTFLAGS);

// Prints as UTF-8 (for diagnostics and test output).
SALQX_DLLPUBLIC std::ostream& operator<<(std::ostream& os, const OUString& s);

} // namespace rtl

template <>
struct std::hash<rtl::OUString> {
    std::size_t operator()(const rtl::OUString& s) const noexcept { return std::hash<std::u16string_view>()(s.view()); }
};

using rtl::OUString;
using rtl::OString;
