#pragma once
#include <zel/uno/Type.hxx>

namespace com::qam::vexo::lang {
// A locale as the office model passes it: ISO language, ISO country, variant.
// Tags that these three cannot express use Language "qlt" and the whole BCP 47
// tag as Variant.
struct Locale {
    OUString Language;
    OUString Country;
    OUString Variant;
    friend bool operator==(const Locale&, const Locale&) = default;
};
} // namespace com::qam::vexo::lang

ZEL_UNO_DECLARE_TYPE(::com::qam::vexo::lang::Locale, STRUCT, "com.qam.vexo.lang.Locale")
