#pragma once
#include <rtl/uri.h>
#include <rtl/ustring.hxx>

namespace rtl {
struct Uri {
    static OUString decode(const OUString& text, rtl_UriDecodeMechanism mechanism, rtl_TextEncoding charset) {
        OUString result;
        rtl_uriDecode(text.pData, mechanism, charset, &result.pData);
        return result;
    }
};
} // namespace rtl
