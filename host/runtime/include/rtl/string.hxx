#pragma once
// rtl::OString: the runtime's immutable, reference-counted byte string.
// Used for file-system paths, package keys and UTF-8 text.

#include <sal/types.h>

#include <atomic>
#include <compare>
#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>

extern "C" {
struct rtl_String {
    std::atomic<sal_Int32> refCount;
    sal_Int32 length;
    char buffer[1];
};
SALQX_DLLPUBLIC void rtl_string_acquire(rtl_String* str) noexcept;
SALQX_DLLPUBLIC void rtl_string_release(rtl_String* str) noexcept;
SALQX_DLLPUBLIC rtl_String* rtl_string_newEmpty() noexcept;
SALQX_DLLPUBLIC rtl_String* rtl_string_newFromStr(const char* str, sal_Int32 len);
}

namespace rtl {

class SALQX_DLLPUBLIC OString {
public:
    rtl_String* pData;

    OString() noexcept : pData(rtl_string_newEmpty()) {}
    OString(const OString& s) noexcept : pData(s.pData) { rtl_string_acquire(pData); }
    OString(OString&& s) noexcept : pData(s.pData) { s.pData = rtl_string_newEmpty(); }
    OString(rtl_String* str, std::nullptr_t) noexcept : pData(str) {}
    OString(const char* str) : pData(rtl_string_newFromStr(str, static_cast<sal_Int32>(std::char_traits<char>::length(str)))) {}
    OString(const char* str, sal_Int32 len) : pData(rtl_string_newFromStr(str, len)) {}
    explicit OString(std::string_view sv) : pData(rtl_string_newFromStr(sv.data(), static_cast<sal_Int32>(sv.size()))) {}
    ~OString() { rtl_string_release(pData); }

    OString& operator=(const OString& s) noexcept {
        rtl_string_acquire(s.pData);
        rtl_string_release(pData);
        pData = s.pData;
        return *this;
    }
    OString& operator=(OString&& s) noexcept {
        std::swap(pData, s.pData);
        return *this;
    }

    static OString number(long long i);

    sal_Int32 getLength() const noexcept { return pData->length; }
    bool isEmpty() const noexcept { return pData->length == 0; }
    const char* getStr() const noexcept { return pData->buffer; }
    char operator[](sal_Int32 i) const noexcept { return pData->buffer[i]; }
    std::string_view view() const noexcept { return {pData->buffer, static_cast<std::size_t>(pData->length)}; }
    operator std::string_view() const noexcept { return view(); }
    std::string toStdString() const { return std::string(view()); }

    bool equals(std::string_view s) const noexcept { return view() == s; }
    bool startsWith(std::string_view s) const noexcept { return view().starts_with(s); }
    bool endsWith(std::string_view s) const noexcept { return view().ends_with(s); }
    sal_Int32 indexOf(char c, sal_Int32 from = 0) const noexcept;
    sal_Int32 indexOf(std::string_view s, sal_Int32 from = 0) const noexcept;
    sal_Int32 lastIndexOf(char c) const noexcept;
    OString copy(sal_Int32 begin) const { return copy(begin, getLength() - begin); }
    OString copy(sal_Int32 begin, sal_Int32 count) const;
    OString concat(std::string_view s) const;
    OString toAsciiLowerCase() const;

    friend bool operator==(const OString& a, const OString& b) noexcept { return a.view() == b.view(); }
    friend bool operator==(const OString& a, std::string_view b) noexcept { return a.view() == b; }
    friend bool operator==(const OString& a, const char* b) noexcept { return a.view() == std::string_view(b); }
    friend std::strong_ordering operator<=>(const OString& a, const OString& b) noexcept { return a.view() <=> b.view(); }
};

inline OString operator+(const OString& a, std::string_view b) { return a.concat(b); }
inline OString operator+(const OString& a, const OString& b) { return a.concat(b); }
inline OString operator+(const OString& a, const char* b) { return a.concat(b); }

SALQX_DLLPUBLIC std::ostream& operator<<(std::ostream& os, const OString& s);

} // namespace rtl

template <>
struct std::hash<rtl::OString> {
    std::size_t operator()(const rtl::OString& s) const noexcept { return std::hash<std::string_view>()(s.view()); }
};
