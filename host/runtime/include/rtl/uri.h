#pragma once
// Percent-decoding of URI text.

#include <rtl/ustring.h>

extern "C" {

enum rtl_UriDecodeMechanism {
    rtl_UriDecodeNone,      // the text unchanged
    rtl_UriDecodeToIuri,    // only non-ASCII and unreserved ASCII (letters, digits, "-._~") are decoded
    rtl_UriDecodeWithCharset, // escapes decoded as bytes of the charset; undecodable ones are kept
    rtl_UriDecodeStrict     // like WithCharset, but undecodable escapes make the result empty
};

// Decodes text into a new string in *result (replacing what it held).
SALQX_DLLPUBLIC void rtl_uriDecode(rtl_uString* text, rtl_UriDecodeMechanism mechanism, rtl_TextEncoding charset,
                                   rtl_uString** result);
}
