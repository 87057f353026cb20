#pragma once
// Helpers shared by the string, conversion, URI, file and bootstrap units of
// libsalqx.  Not installed; nothing here is exported.

#include <rtl/ustring.hxx>

#include <string>
#include <string_view>

namespace salqx {

// Replaces *target by owned (which carries one reference), releasing the old value.
inline void assignOwned(rtl_uString** target, rtl_uString* owned) noexcept {
    rtl_uString* old = *target;
    *target = owned;
    if (old != nullptr) rtl_uString_release(old);
}

inline void assign(rtl_uString** target, std::u16string_view text) {
    assignOwned(target, rtl_uString_newFromStr(text.data(), static_cast<sal_Int32>(text.size())));
}

inline void assign(rtl_uString** target, const OUString& text) {
    rtl_uString_acquire(text.pData);
    assignOwned(target, text.pData);
}

// Checks a string length against the limit of sal_Int32; throws std::bad_alloc beyond it.
sal_Int32 checkedLength(std::size_t n);

// One UTF-8 sequence at the start of [p, p + n).  On success returns its length and
// sets *cp.  For an ill-formed sequence returns 0 and sets *badLength to the length
// of its maximal ill-formed subpart (at least 1), which is replaced as one unit.
std::size_t decodeUtf8Sequence(const unsigned char* p, std::size_t n, char32_t* cp, std::size_t* badLength);

// UTF-8 to UTF-16.  Ill-formed input becomes U+FFFD unless strict, where it is an error.
bool decodeUtf8(std::string_view bytes, std::u16string& out, bool strict);
// UTF-16 to UTF-8.  Unpaired surrogates become '?' unless strict, where they are an error.
bool encodeUtf8(std::u16string_view text, std::string& out, bool strict);
void appendUtf8(std::string& out, char32_t cp);

OUString utf8ToOUString(std::string_view bytes);

// File URL <-> raw path bytes.  The URL side escapes every byte outside the characters
// that may stand unescaped in a path, so any byte path survives the round trip.
OUString pathBytesToUrl(std::string_view path);
// False for anything but a file URL with an empty or "localhost" host, or a relative
// URL; path receives the decoded bytes of the absolute or relative path.
bool urlToPathBytes(std::u16string_view url, std::string& path);

// The absolute system path (bytes) of the directory that holds libsalqx.so, or empty.
const std::string& programDirectoryBytes();

// Reads QX_LOG again (sal_detail_initialize calls this).
void reloadLogSettings();

} // namespace salqx
