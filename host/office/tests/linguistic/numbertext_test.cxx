#include "../configuration/profilefixture.hxx"

#include <com/qam/vexo/linguistic2/numbertext.hxx>
#include <comphelper/processfactory.hxx>
#include <languagetag/languagetag.hxx>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using ::com::qam::vexo::lang::IllegalArgumentException;
using ::com::qam::vexo::lang::Locale;
using ::com::qam::vexo::linguistic2::XNumberText;
using ::zel::uno::Reference;
using ::zel::uno::UNO_QUERY;

class NumberTextTest : public officehost::test::ProfileTest {
protected:
    NumberTextTest() {
        startHost();
        auto context = comphelper::getProcessComponentContext();
        numberText_.set(
            context->getServiceManager()->createInstanceWithContext(u"com.qam.vexo.linguistic2.NumberText", context),
            UNO_QUERY);
    }
    Reference<XNumberText> numberText_;
};

TEST_F(NumberTextTest, SpellsNumbersOutWithTheLanguagesModule) {
    ASSERT_TRUE(numberText_.is());
    struct Case {
        const char16_t* text;
        Locale locale;
        const char16_t* words;
    };
    const Case cases[] = {
        {u"1234", {u"en", u"US", u""}, u"one thousand two hundred thirty-four"},
        {u"1234", {u"en", u"", u""}, u"one thousand two hundred thirty-four"},
        {u"-12.5", {u"en", u"GB", u""}, u"negative twelve point five"},
        {u"ordinal 3", {u"en", u"US", u""}, u"third"},
        {u"1234", {u"de", u"CH", u""}, u"eintausendzweihundertvierunddrei\u00dfig"},
        {u"21", {u"fr", u"FR", u""}, u"vingt-et-un"},
        {u"0", {u"hu", u"HU", u""}, u"nulla"},
        // A text that the module's rules do not cover has no words.
        {u"abc", {u"en", u"US", u""}, u""},
        {u"", {u"en", u"US", u""}, u""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(OUString(c.text).toUtf8().toStdString() + " " +
                     LanguageTag::convertToBcp47(c.locale).toUtf8().toStdString());
        EXPECT_EQ(numberText_->getNumberText(OUString(c.text), c.locale), c.words);
    }
}

TEST_F(NumberTextTest, LocalesWithoutAModuleAreRefused) {
    struct Case {
        Locale locale;
        const char16_t* message;
    };
    const Case cases[] = {
        {{u"xx", u"QQ", u""}, u"getNumberText: no number text for \"xx-QQ\""},
        {{}, u"getNumberText: no number text for \"\""},
        {{u"qlt", u"", u"x-roman"}, u"getNumberText: no number text for \"x-roman\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(OUString(c.message).toUtf8().toStdString());
        EXPECT_THROW(
            {
                try {
                    numberText_->getNumberText(u"1", c.locale);
                } catch (const IllegalArgumentException& e) {
                    EXPECT_EQ(e.Message, c.message);
                    throw;
                }
            },
            IllegalArgumentException);
    }
}

TEST_F(NumberTextTest, OffersTheInstalledLanguages) {
    auto languages = numberText_->getAvailableLanguages();
    std::vector<Locale> locales(languages.begin(), languages.end());
    for (const Locale& l : {Locale{u"en", u"", u""}, Locale{u"de", u"", u""}, Locale{u"qlt", u"", u"hu-Hung"}})
        EXPECT_NE(std::find(locales.begin(), locales.end(), l), locales.end()) << LanguageTag::convertToBcp47(l);
    // Numeral systems are modules but no languages.
    for (const Locale& l : locales) EXPECT_NE(l.Variant, u"Roman");
    EXPECT_EQ(numberText_->getNumberText(u"1", {u"qlt", u"", u"hu-Hung"}).isEmpty(), false);
}

} // namespace
