#pragma once
// Bootstrap variables and macro expansion.
//
// "$NAME" and "${NAME}" in a macro are replaced by the bootstrap variable NAME.
// Variables come from the environment first (an environment variable overrides
// a bootstrap value of the same name), then from the runtime's own values:
//   BRAND_BASE_DIR  file URL of the root of the tree that holds program/ (the
//                   directory above the one that holds libsalqx.so)
//   ORIGIN          file URL of program/
// A variable that is set nowhere expands to nothing.  "\$" gives a literal "$".

#include <rtl/ustring.hxx>

extern "C" {
SALQX_DLLPUBLIC void rtl_bootstrap_expandMacros(rtl_uString** macro);
SALQX_DLLPUBLIC bool rtl_bootstrap_get(rtl_uString* name, rtl_uString** value, rtl_uString* defaultValue);
}

namespace rtl {
struct Bootstrap {
    static void expandMacros(OUString& macro) { rtl_bootstrap_expandMacros(&macro.pData); }
    static bool get(const OUString& name, OUString& value) { return rtl_bootstrap_get(name.pData, &value.pData, nullptr); }
};
} // namespace rtl
