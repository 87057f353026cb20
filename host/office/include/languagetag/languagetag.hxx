#pragma once
// LanguageTag: a BCP 47 language tag and its office locale.
//
// Models the host's tag class for the conversions the components use: tag <->
// com::qam::vexo::lang::Locale, and the language and country of a tag.  Tags that
// a Locale cannot carry as language/country alone (scripts, variants, private
// use) travel as Language "qlt" with the whole tag in Variant.  The resolveSystem
// flags are kept for callers' sake: the stand-in has no "system" locale to resolve,
// so an empty tag/locale stays empty either way.

#include <com/qam/vexo/lang/Locale.hxx>
#include <sal/types.h>

class SAL_DLLPUBLIC_EXPORT LanguageTag {
public:
    explicit LanguageTag(const OUString& bcp47);
    explicit LanguageTag(const ::com::qam::vexo::lang::Locale& locale);

    // The tag in canonical case ("de-CH", "sr-Latn-RS").
    OUString getBcp47(bool resolveSystem = true) const;
    ::com::qam::vexo::lang::Locale getLocale(bool resolveSystem = true) const;
    // ISO 639 language ("de"), empty for an empty or unparsable tag.
    OUString getLanguage() const;
    // ISO 3166 country or UN M.49 region ("CH"), empty when the tag has none.
    OUString getCountry() const;
    // Whether the tag is well-formed BCP 47.
    bool isValidBcp47() const;

    static OUString convertToBcp47(const ::com::qam::vexo::lang::Locale& locale, bool resolveSystem = true);
    static ::com::qam::vexo::lang::Locale convertToLocale(const OUString& bcp47, bool resolveSystem = true);

private:
    OUString tag_;
};
