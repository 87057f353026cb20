#include <languagetag/languagetag.hxx>

#include <gtest/gtest.h>

namespace {

using ::com::qam::vexo::lang::Locale;

struct TagCase {
    const char16_t* input;
    bool wellFormed;
    const char16_t* bcp47;
    Locale locale;
    const char16_t* language;
    const char16_t* country;
};

const TagCase kTagCases[] = {
    {u"de-CH", true, u"de-CH", {u"de", u"CH", u""}, u"de", u"CH"},
    {u"pt-BR", true, u"pt-BR", {u"pt", u"BR", u""}, u"pt", u"BR"},
    {u"en", true, u"en", {u"en", u"", u""}, u"en", u""},
    {u"ast-ES", true, u"ast-ES", {u"ast", u"ES", u""}, u"ast", u"ES"},
    {u"es-419", true, u"es-419", {u"es", u"419", u""}, u"es", u"419"},
    {u"DE-ch", true, u"de-CH", {u"de", u"CH", u""}, u"de", u"CH"},
    {u"sr-Latn-RS", true, u"sr-Latn-RS", {u"qlt", u"RS", u"sr-Latn-RS"}, u"sr", u"RS"},
    {u"SR-LATN-rs", true, u"sr-Latn-RS", {u"qlt", u"RS", u"sr-Latn-RS"}, u"sr", u"RS"},
    {u"zh-Hant", true, u"zh-Hant", {u"qlt", u"", u"zh-Hant"}, u"zh", u""},
    {u"de-DE-1996", true, u"de-DE-1996", {u"qlt", u"DE", u"de-DE-1996"}, u"de", u"DE"},
    {u"ca-ES-valencia", true, u"ca-ES-valencia", {u"qlt", u"ES", u"ca-ES-valencia"}, u"ca", u"ES"},
    {u"en-US-u-ca-gregory", true, u"en-US-u-ca-gregory", {u"qlt", u"US", u"en-US-u-ca-gregory"}, u"en", u"US"},
    {u"en-CA-x-CA", true, u"en-CA-x-ca", {u"qlt", u"CA", u"en-CA-x-ca"}, u"en", u"CA"},
    {u"x-private", true, u"x-private", {u"qlt", u"", u"x-private"}, u"", u""},
    {u"en-GB-oed", true, u"en-GB-oed", {u"qlt", u"GB", u"en-GB-oed"}, u"en", u"GB"},
    {u"i-klingon", true, u"i-klingon", {u"qlt", u"", u"i-klingon"}, u"", u""},
    // Not BCP 47: kept as given, no language or country.
    {u"", false, u"", {u"", u"", u""}, u"", u""},
    {u"en_US", false, u"en_US", {u"qlt", u"", u"en_US"}, u"", u""},
    {u"e", false, u"e", {u"qlt", u"", u"e"}, u"", u""},
    {u"en-", false, u"en-", {u"qlt", u"", u"en-"}, u"", u""},
    {u"en--US", false, u"en--US", {u"qlt", u"", u"en--US"}, u"", u""},
    {u"toolonglang", false, u"toolonglang", {u"qlt", u"", u"toolonglang"}, u"", u""},
    {u"x", false, u"x", {u"qlt", u"", u"x"}, u"", u""},
    {u"en-x", false, u"en-x", {u"qlt", u"", u"en-x"}, u"", u""},
    {u"en-a", false, u"en-a", {u"qlt", u"", u"en-a"}, u"", u""},
    {u"de-CH-", false, u"de-CH-", {u"qlt", u"", u"de-CH-"}, u"", u""},
    {u"de-ÄÖ", false, u"de-ÄÖ", {u"qlt", u"", u"de-ÄÖ"}, u"", u""},
};

TEST(LanguageTagTest, TagsGiveTheirCanonicalFormLocaleLanguageAndCountry) {
    for (const TagCase& c : kTagCases) {
        SCOPED_TRACE(OUString(c.input).toUtf8().toStdString());
        LanguageTag tag{OUString(c.input)};
        EXPECT_EQ(tag.isValidBcp47(), c.wellFormed);
        EXPECT_EQ(tag.getBcp47(), c.bcp47);
        EXPECT_EQ(tag.getLocale(), c.locale);
        EXPECT_EQ(LanguageTag::convertToLocale(OUString(c.input)), c.locale);
        EXPECT_EQ(tag.getLanguage(), c.language);
        EXPECT_EQ(tag.getCountry(), c.country);
    }
}

TEST(LanguageTagTest, LocalesOfWellFormedTagsConvertBackToTheTag) {
    for (const TagCase& c : kTagCases) {
        if (!c.wellFormed) continue;
        SCOPED_TRACE(OUString(c.input).toUtf8().toStdString());
        EXPECT_EQ(LanguageTag::convertToBcp47(c.locale), c.bcp47);
        EXPECT_EQ(LanguageTag(c.locale).getBcp47(), c.bcp47);
        EXPECT_EQ(LanguageTag(c.locale).getLocale(), c.locale);
    }
}

TEST(LanguageTagTest, LocalesBuiltByHandConvertToCanonicalTags) {
    struct Case {
        Locale locale;
        const char16_t* bcp47;
        bool wellFormed;
    };
    const Case cases[] = {
        {{u"EN", u"us", u""}, u"en-US", true},
        {{u"", u"", u""}, u"", false},
        {{u"qlt", u"", u""}, u"", false},
        {{u"qlt", u"RS", u"SR-latn-rs"}, u"sr-Latn-RS", true},
        {{u"de", u"DE", u"1901"}, u"de-DE-1901", true},
        {{u"en", u"US", u"POSIX_X"}, u"en-US-POSIX_X", false},
        {{u"", u"US", u""}, u"-US", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(OUString(c.bcp47).toUtf8().toStdString());
        EXPECT_EQ(LanguageTag::convertToBcp47(c.locale), c.bcp47);
        EXPECT_EQ(LanguageTag(c.locale).isValidBcp47(), c.wellFormed);
    }
}

TEST(LanguageTagTest, ResolveSystemFlagChangesNothing) {
    for (bool flag : {false, true}) {
        EXPECT_EQ(LanguageTag::convertToBcp47(Locale{u"de", u"CH", u""}, flag), u"de-CH");
        EXPECT_EQ(LanguageTag::convertToLocale(u"", flag), Locale());
        EXPECT_EQ(LanguageTag(OUString(u"")).getBcp47(flag), u"");
    }
}

} // namespace
