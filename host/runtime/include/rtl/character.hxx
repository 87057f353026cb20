#pragma once
// ASCII and UTF-16 character helpers.
#include <sal/types.h>

namespace rtl {
constexpr bool isAsciiUpperCase(sal_uInt32 c) { return c >= 'A' && c <= 'Z'; }
constexpr bool isAsciiLowerCase(sal_uInt32 c) { return c >= 'a' && c <= 'z'; }
constexpr bool isAsciiAlpha(sal_uInt32 c) { return isAsciiUpperCase(c) || isAsciiLowerCase(c); }
constexpr bool isAsciiDigit(sal_uInt32 c) { return c >= '0' && c <= '9'; }
constexpr bool isAsciiAlphanumeric(sal_uInt32 c) { return isAsciiAlpha(c) || isAsciiDigit(c); }
constexpr bool isAsciiWhiteSpace(sal_uInt32 c) { return c == ' ' || (c >= 0x09 && c <= 0x0D); }
constexpr sal_uInt32 toAsciiLowerCase(sal_uInt32 c) { return isAsciiUpperCase(c) ? c + 32 : c; }
constexpr sal_uInt32 toAsciiUpperCase(sal_uInt32 c) { return isAsciiLowerCase(c) ? c - 32 : c; }
constexpr bool isHighSurrogate(sal_uInt32 c) { return c >= 0xD800 && c <= 0xDBFF; }
constexpr bool isLowSurrogate(sal_uInt32 c) { return c >= 0xDC00 && c <= 0xDFFF; }
constexpr sal_uInt32 combineSurrogates(sal_uInt32 hi, sal_uInt32 lo) { return ((hi - 0xD800) << 10) + (lo - 0xDC00) + 0x10000; }
} // namespace rtl
