#include <comphelper/vantor.hxx>

#include "../configuration/profilefixture.hxx"

#include <gtest/gtest.h>

namespace {

using officehost::test::ScopedEnvironment;

class VantorTest : public officehost::test::ProfileTest {
protected:
    ~VantorTest() override {
        comphelper::Vantor::setLanguageTag(LanguageTag(OUString()));
        comphelper::Vantor::setAllowlist({});
    }
};

TEST_F(VantorTest, UserLanguageComesFromTheEnvironmentWithoutConfiguration) {
    struct Case {
        const char* lcAll;
        const char* lcMessages;
        const char* lang;
        const char16_t* expected;
    };
    const Case cases[] = {
        {nullptr, nullptr, nullptr, u"en-US"},
        {nullptr, nullptr, "de_CH.UTF-8", u"de-CH"},
        {nullptr, nullptr, "sr_RS.UTF-8@latin", u"sr-RS"},
        {nullptr, "pt_BR", "de_DE", u"pt-BR"},
        {"fr_FR.UTF-8", "pt_BR", "de_DE", u"fr-FR"},
        {"", "", "nl_NL", u"nl-NL"},
        {"C", nullptr, "de_DE", u"en-US"},
        {"C.UTF-8", nullptr, nullptr, u"en-US"},
        {nullptr, nullptr, "POSIX", u"en-US"},
        {nullptr, nullptr, "not a locale", u"en-US"},
    };
    startHost();
    for (const Case& c : cases) {
        SCOPED_TRACE(OUString(c.expected).toUtf8().toStdString());
        ScopedEnvironment all("LC_ALL", c.lcAll), messages("LC_MESSAGES", c.lcMessages), lang("LANG", c.lang);
        EXPECT_EQ(comphelper::Vantor::getLanguageTag().getBcp47(), c.expected);
    }
}

TEST_F(VantorTest, ConfiguredLanguageWinsOverTheEnvironmentAndFollowsChanges) {
    ScopedEnvironment all("LC_ALL", "de_DE.UTF-8");
    writeProfile("/org.ambrel.Setup/Language/UserLocale = \"sr-latn-rs\"\n");
    startHost();
    const LanguageTag& first = comphelper::Vantor::getLanguageTag();
    EXPECT_EQ(first.getBcp47(), u"sr-Latn-RS");

    officehost::configuration::setValue(u"/org.ambrel.Setup/Language/UserLocale", ::zel::uno::Any(OUString(u"fr-CA")));
    EXPECT_EQ(comphelper::Vantor::getLanguageTag().getBcp47(), u"fr-CA");
    // A reference handed out earlier keeps its tag.
    EXPECT_EQ(first.getBcp47(), u"sr-Latn-RS");

    // A configured value that is no tag leaves the choice to the environment.
    officehost::configuration::setValue(u"/org.ambrel.Setup/Language/UserLocale", ::zel::uno::Any(OUString(u"fr_CA")));
    EXPECT_EQ(comphelper::Vantor::getLanguageTag().getBcp47(), u"de-DE");
    officehost::configuration::setValue(u"/org.ambrel.Setup/Language/UserLocale", ::zel::uno::Any(true));
    EXPECT_EQ(comphelper::Vantor::getLanguageTag().getBcp47(), u"de-DE");
}

TEST_F(VantorTest, SetLanguageTagOverridesUntilAnEmptyTag) {
    writeProfile("/org.ambrel.Setup/Language/UserLocale = \"fr-CA\"\n");
    startHost();
    comphelper::Vantor::setLanguageTag(LanguageTag(OUString(u"pt-BR")));
    EXPECT_EQ(comphelper::Vantor::getLanguageTag().getBcp47(), u"pt-BR");
    EXPECT_EQ(comphelper::Vantor::getLanguageTag().getLocale(), (::com::qam::vexo::lang::Locale{u"pt", u"BR", u""}));
    comphelper::Vantor::setLanguageTag(LanguageTag(OUString()));
    EXPECT_EQ(comphelper::Vantor::getLanguageTag().getBcp47(), u"fr-CA");
}

TEST_F(VantorTest, WithoutAllowListEveryWellFormedTagIsAllowed) {
    startHost();
    for (const char16_t* tag : {u"en-US", u"de", u"sr-Latn-RS", u"x-private", u"xx-QQ"})
        EXPECT_TRUE(comphelper::Vantor::isAllowlistedLanguage(OUString(tag))) << OUString(tag);
    for (const char16_t* tag : {u"", u"en_US", u"-", u"en-"})
        EXPECT_FALSE(comphelper::Vantor::isAllowlistedLanguage(OUString(tag))) << OUString(tag);
}

TEST_F(VantorTest, ConfiguredAllowListMatchesTagsExactlyIgnoringCase) {
    writeProfile("/org.ambrel.Setup/Language/AllowedLanguages = \"en-US, de-DE  sr-Latn-RS\"\n");
    startHost();
    for (const char16_t* tag : {u"en-US", u"EN-us", u"de-DE", u"sr-latn-rs"})
        EXPECT_TRUE(comphelper::Vantor::isAllowlistedLanguage(OUString(tag))) << OUString(tag);
    for (const char16_t* tag : {u"en", u"en-GB", u"de-CH", u"sr-RS", u"en_US", u""})
        EXPECT_FALSE(comphelper::Vantor::isAllowlistedLanguage(OUString(tag))) << OUString(tag);
}

TEST_F(VantorTest, SetAllowlistOverridesTheConfigurationUntilAnEmptyList) {
    writeProfile("/org.ambrel.Setup/Language/AllowedLanguages = \"en-US\"\n");
    startHost();
    comphelper::Vantor::setAllowlist({u"fr-FR", u"de"});
    EXPECT_TRUE(comphelper::Vantor::isAllowlistedLanguage(u"fr-FR"));
    EXPECT_TRUE(comphelper::Vantor::isAllowlistedLanguage(u"de"));
    EXPECT_FALSE(comphelper::Vantor::isAllowlistedLanguage(u"en-US"));
    comphelper::Vantor::setAllowlist({});
    EXPECT_TRUE(comphelper::Vantor::isAllowlistedLanguage(u"en-US"));
    EXPECT_FALSE(comphelper::Vantor::isAllowlistedLanguage(u"fr-FR"));
}

} // namespace
