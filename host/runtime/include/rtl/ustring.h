#pragma once
// C level of the runtime's immutable, reference-counted UTF-16 string.

#include <rtl/textenc.h>
#include <sal/types.h>

#include <atomic>

extern "C" {

// A string's storage: shared by every OUString that holds it.  The buffer is
// always terminated by a U+0000 that is not counted in length.
struct rtl_uString {
    std::atomic<sal_Int32> refCount;
    sal_Int32 length;
    sal_Unicode buffer[1];
};

SALQX_DLLPUBLIC void rtl_uString_acquire(rtl_uString* str) noexcept;
SALQX_DLLPUBLIC void rtl_uString_release(rtl_uString* str) noexcept;
// The shared empty string, with one reference for the caller.
SALQX_DLLPUBLIC rtl_uString* rtl_uString_newEmpty() noexcept;
// A new string of len characters, uninitialised but terminated; throws std::bad_alloc.
SALQX_DLLPUBLIC rtl_uString* rtl_uString_alloc(sal_Int32 len);
SALQX_DLLPUBLIC rtl_uString* rtl_uString_newFromStr(const sal_Unicode* str, sal_Int32 len);
// Replaces *newStr by str with leading and trailing characters <= U+0020 removed.
SALQX_DLLPUBLIC void rtl_uString_newTrim(rtl_uString** newStr, rtl_uString* str);

// Bytes in encoding enc to UTF-16.  Returns false (and leaves *target empty)
// when a flag asks for an error and the input has an unconvertible sequence.
SALQX_DLLPUBLIC bool rtl_convertStringToUString(rtl_uString** target, const char* str, sal_Int32 len,
                                                rtl_TextEncoding enc, sal_uInt32 flags);

// Integer parsing as the runtime does it: optional leading blanks and sign, digits of
// the radix until the first other character; 0 when there are none; wraps on overflow.
SALQX_DLLPUBLIC sal_Int32 rtl_ustr_toInt32(const sal_Unicode* str, sal_Int16 radix);
SALQX_DLLPUBLIC sal_Int64 rtl_ustr_toInt64(const sal_Unicode* str, sal_Int16 radix);
SALQX_DLLPUBLIC sal_Int32 rtl_ustr_getLength(const sal_Unicode* str);
}
