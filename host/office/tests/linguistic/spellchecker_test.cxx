#include "../configuration/profilefixture.hxx"

#include <com/qam/vexo/lang/servicedisplayname.hxx>
#include <com/qam/vexo/linguistic2/spelling.hxx>
#include <comphelper/processfactory.hxx>
#include <languagetag/languagetag.hxx>
#include <linguistic/misc.hxx>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

namespace {

using ::com::qam::vexo::lang::IllegalArgumentException;
using ::com::qam::vexo::lang::Locale;
using ::com::qam::vexo::linguistic2::XSpellAlternatives;
using ::com::qam::vexo::linguistic2::XSpellChecker;
using officehost::test::ScopedEnvironment;
using ::zel::uno::Reference;
using ::zel::uno::Sequence;
using ::zel::uno::UNO_QUERY;
namespace SpellFailure = ::com::qam::vexo::linguistic2::SpellFailure;

const Locale kEnUS{u"en", u"US", u""};
const Locale kEnGB{u"en", u"GB", u""};
const Locale kTest{u"xx", u"QQ", u""};

std::vector<OUString> toVector(const Sequence<OUString>& s) { return std::vector<OUString>(s.begin(), s.end()); }

OUString analyzeQuery(const OUString& word) {
    return u"<?xml?><query type='analyze'><word>" + word + u"</word></query>";
}
OUString stemQuery(const OUString& word) { return u"<?xml?><query type='stem'><word>" + word + u"</word></query>"; }
OUString generateQuery(const OUString& word, const OUString& example) {
    return u"<?xml?><query type='generate'><word>" + word + u"</word><word>" + example + u"</word></query>";
}

// A host with the installed dictionaries and, first on DICPATH, small
// dictionaries with morphology (en_US has none worth the name).
class SpellCheckerTest : public officehost::test::ProfileTest {
protected:
    SpellCheckerTest() {
        dictionaries_ = profileFile().parent_path() / "dictionaries";
        std::filesystem::create_directories(dictionaries_);
        write("xx_QQ.aff", "SET UTF-8\nSFX S Y 1\nSFX S 0 s . is:plural\nSFX D Y 1\nSFX D 0 ed . is:past\n");
        write("xx_QQ.dic", "5\nwalk/S po:noun\nwalk/D po:verb\nhouse/S po:noun\ngo po:verb\namp po:a&b<c>\n");
        // Latin-1, and named with a variant that the locale drops.
        write("yy_QQ_latin.aff", "SET ISO8859-1\nTRY e\xe9\n");
        write("yy_QQ_latin.dic", "2\ncaf\xe9\nna\xefve\n");
        dicPath_.emplace("DICPATH", dictionaries_.c_str());
        startHost();
        auto context = comphelper::getProcessComponentContext();
        checker_.set(
            context->getServiceManager()->createInstanceWithContext(u"com.qam.vexo.linguistic2.SpellChecker", context),
            UNO_QUERY);
    }
    void write(const char* name, const std::string& text) {
        std::ofstream out(dictionaries_ / name, std::ios::binary);
        out << text;
    }
    Reference<XSpellAlternatives> spell(const OUString& word, const Locale& locale = kEnUS) {
        return checker_->spell(word, locale, {});
    }
    std::vector<OUString> answer(const OUString& query, const Locale& locale = kEnUS) {
        auto alternatives = spell(query, locale);
        if (!alternatives.is()) ADD_FAILURE() << "no answer for " << query;
        return alternatives.is() ? toVector(alternatives->getAlternatives()) : std::vector<OUString>();
    }

    std::filesystem::path dictionaries_;
    std::optional<ScopedEnvironment> dicPath_;
    Reference<XSpellChecker> checker_;
};

TEST_F(SpellCheckerTest, ServesTheLocalesOfItsDictionaries) {
    ASSERT_TRUE(checker_.is());
    Reference<::com::qam::vexo::lang::XServiceInfo> info(checker_, UNO_QUERY);
    ASSERT_TRUE(info.is());
    EXPECT_TRUE(info->supportsService(u"com.qam.vexo.linguistic2.SpellChecker"));
    Reference<::com::qam::vexo::lang::XServiceDisplayName> name(checker_, UNO_QUERY);
    ASSERT_TRUE(name.is());
    EXPECT_EQ(name->getServiceDisplayName(kEnUS), u"Hunspell SpellChecker");

    auto offered = checker_->getLocales();
    std::vector<Locale> locales(offered.begin(), offered.end());
    ASSERT_GE(locales.size(), 3u);
    // DICPATH's dictionaries come first, in file-name order.
    EXPECT_EQ(locales[0], kTest);
    EXPECT_EQ(locales[1], (Locale{u"yy", u"QQ", u""}));
    EXPECT_NE(std::find(locales.begin(), locales.end(), kEnUS), locales.end());
    EXPECT_NE(std::find(locales.begin(), locales.end(), kEnGB), locales.end());
    EXPECT_TRUE(checker_->hasLocale(kEnUS));
    EXPECT_TRUE(checker_->hasLocale(Locale{u"yy", u"QQ", u""}));
    for (const Locale& l :
         {Locale{u"en", u"", u""}, Locale{u"qlt", u"QQ", u"yy-QQ-latin"}, Locale{}, Locale{u"zz", u"ZZ", u""}})
        EXPECT_FALSE(checker_->hasLocale(l)) << LanguageTag::convertToBcp47(l);
}

TEST_F(SpellCheckerTest, ChecksWordsWithHunspell) {
    struct Case {
        const char16_t* word;
        Locale locale;
        bool valid;
    };
    const Case cases[] = {
        {u"walked", kEnUS, true},
        {u"Walked", kEnUS, true},
        {u"houses", kEnUS, true},
        {u"colour", kEnUS, false},
        {u"teh", kEnUS, false},
        {u"xyzzyq", kEnUS, false},
        {u"colour", kEnGB, true},
        {u"color", kEnGB, false},
        {u"teh", kEnGB, false},
        {u"walks", kTest, true},
        {u"walked", kTest, true},
        {u"goes", kTest, false},
        {u"caf\u00e9", {u"yy", u"QQ", u""}, true},
        {u"na\u00efve", {u"yy", u"QQ", u""}, true},
        // Not in Latin-1, so not in that dictionary, and no failure either.
        {u"caf\u0115", {u"yy", u"QQ", u""}, false},
        {u"lone \xD800", kEnUS, false},
        // Nothing to mark: empty words, and locales without a dictionary.
        {u"", kEnUS, true},
        {u"xyzzyq", {u"zz", u"ZZ", u""}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(OUString(c.word).toUtf8().toStdString());
        EXPECT_EQ(checker_->isValid(OUString(c.word), c.locale, {}), c.valid);
        // spell() agrees: null exactly for the words that are correct.
        EXPECT_EQ(!spell(OUString(c.word), c.locale).is(), c.valid);
    }
}

TEST_F(SpellCheckerTest, WrongWordsComeWithSuggestions) {
    auto teh = spell(u"teh");
    ASSERT_TRUE(teh.is());
    EXPECT_EQ(teh->getWord(), u"teh");
    EXPECT_EQ(teh->getLocale(), kEnUS);
    EXPECT_EQ(teh->getFailureType(), SpellFailure::SPELLING_ERROR);
    std::vector<OUString> suggestions = toVector(teh->getAlternatives());
    ASSERT_FALSE(suggestions.empty());
    EXPECT_EQ(suggestions[0], u"the");
    EXPECT_EQ(teh->getAlternativesCount(), static_cast<sal_Int16>(suggestions.size()));

    auto nothing = spell(u"xyzzyq");
    ASSERT_TRUE(nothing.is());
    EXPECT_EQ(nothing->getAlternativesCount(), 0);

    // Suggestions are decoded from the dictionary's own encoding.
    EXPECT_EQ(toVector(spell(u"cafe", {u"yy", u"QQ", u""})->getAlternatives()), (std::vector<OUString>{u"caf\u00e9"}));
}

TEST_F(SpellCheckerTest, UnderscoreAsksForSuggestionsOfAnyWord) {
    EXPECT_EQ(answer(u"_teh"), toVector(spell(u"teh")->getAlternatives()));
    // Also for a correct word, which a plain spell() would not answer.
    std::vector<OUString> walked = answer(u"_walked");
    EXPECT_NE(std::find(walked.begin(), walked.end(), u"walked"), walked.end());
    EXPECT_EQ(answer(u"_xyzzyq"), std::vector<OUString>());
    EXPECT_EQ(spell(u"_teh")->getWord(), u"_teh");
}

TEST_F(SpellCheckerTest, AnalysisAnswersAreOneAlternativeInHunspellMarkup) {
    struct Case {
        const char16_t* word;
        Locale locale;
        std::vector<OUString> answer;
    };
    const Case cases[] = {
        {u"walked", kEnUS, {u"<code><a> st:walk fl:D</a></code>"}},
        {u"walk", kTest, {u"<code><a> st:walk po:noun</a><a> st:walk po:verb</a></code>"}},
        {u"houses", kTest, {u"<code><a> st:house po:noun is:plural</a></code>"}},
        {u"amp", kTest, {u"<code><a> st:amp po:a&amp;b&lt;c></a></code>"}},
        {u"goes", kTest, {}},
        {u"xyzzyq", kEnUS, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(OUString(c.word).toUtf8().toStdString());
        EXPECT_EQ(answer(analyzeQuery(OUString(c.word)), c.locale), c.answer);
        EXPECT_EQ(spell(analyzeQuery(OUString(c.word)), c.locale)->getWord(), analyzeQuery(OUString(c.word)));
    }
}

TEST_F(SpellCheckerTest, StemAndGenerationAnswersHaveOneFormPerAlternative) {
    EXPECT_EQ(answer(stemQuery(u"houses")), (std::vector<OUString>{u"house"}));
    EXPECT_EQ(answer(stemQuery(u"walked")), (std::vector<OUString>{u"walk"}));
    EXPECT_EQ(answer(stemQuery(u"xyzzyq")), std::vector<OUString>());
    EXPECT_EQ(answer(stemQuery(u"walks"), kTest), (std::vector<OUString>{u"walk"}));
    EXPECT_EQ(answer(generateQuery(u"walk", u"houses"), kTest), (std::vector<OUString>{u"walks"}));
    EXPECT_EQ(answer(generateQuery(u"walk", u"walked"), kTest), (std::vector<OUString>{u"walked"}));
    EXPECT_EQ(answer(generateQuery(u"house", u"walked"), kTest), std::vector<OUString>());
    // Blanks between the tags and the other quote are read as well.
    EXPECT_EQ(answer(u"<?xml?> <query type=\"stem\">\n <word>houses</word> </query>"),
              (std::vector<OUString>{u"house"}));
}

TEST_F(SpellCheckerTest, MalformedQueriesAreRefused) {
    struct Case {
        const char16_t* query;
        const char16_t* message;
    };
    const Case cases[] = {
        {u"<?xml?><query type='analyze'><word>walk</query>",
         u"spell: malformed query <?xml?><query type='analyze'><word>walk</query>"},
        {u"<?xml?><query type='stem'><word>a</word><word>b</word></query>",
         u"spell: malformed query <?xml?><query type='stem'><word>a</word><word>b</word></query>"},
        {u"<?xml?><query type='generate'><word>a</word></query>",
         u"spell: malformed query <?xml?><query type='generate'><word>a</word></query>"},
        {u"<?xml?><query type='stem'><word>a</word></query>trailing",
         u"spell: malformed query <?xml?><query type='stem'><word>a</word></query>trailing"},
        {u"<?xml?>", u"spell: malformed query <?xml?>"},
        {u"<?xml?><query type='add'><word>a</word></query>", u"spell: unknown query type \"add\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(OUString(c.query).toUtf8().toStdString());
        EXPECT_THROW(
            {
                try {
                    spell(OUString(c.query));
                } catch (const IllegalArgumentException& e) {
                    EXPECT_EQ(e.Message, c.message);
                    throw;
                }
            },
            IllegalArgumentException);
    }
    // A locale without a dictionary answers nothing, well-formed or not.
    EXPECT_FALSE(spell(analyzeQuery(u"walk"), {u"zz", u"ZZ", u""}).is());
}

TEST_F(SpellCheckerTest, CallsFromSeveralThreadsGetTheSameAnswers) {
    std::atomic<int> wrong{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 3; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 50; ++i) {
                if (!checker_->isValid(u"walked", kEnUS, {}) || checker_->isValid(u"teh", kEnUS, {})) ++wrong;
                auto stems = spell(stemQuery(u"houses"));
                if (!stems.is() || toVector(stems->getAlternatives()) != std::vector<OUString>{u"house"}) ++wrong;
            }
        });
    }
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(wrong, 0);
}

TEST(LinguisticMutexTest, IsOneRecursiveMutexForTheProcess) {
    osl::Mutex& mutex = ::linguistic::GetLinguMutex();
    EXPECT_EQ(&mutex, &::linguistic::GetLinguMutex());
    osl::MutexGuard outer(mutex);
    osl::MutexGuard inner(mutex);
    std::atomic<bool> acquiredElsewhere{true};
    std::thread([&] {
        acquiredElsewhere = mutex.tryToAcquire();
        if (acquiredElsewhere) mutex.release();
    }).join();
    EXPECT_FALSE(acquiredElsewhere);
}

} // namespace
