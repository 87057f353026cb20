// The services that rule code reaches: spelling, suggestions, stems,
// generation and morphology through the host's spell checker (scripted here,
// and the host's Hunspell-backed one), pattern constants, measurements and
// numbers in words.

#include "ServiceFixture.hxx"

#include <cppu/servicemanager.hxx>
#include <testsupport/LogCapture.hxx>

#include <filesystem>

namespace lexivortest {
namespace {

namespace linguistic2 = com::qam::vexo::linguistic2;
using testsupport::LogCapture;
using testsupport::lexivor::PackageBuilder;

constexpr char16_t spellCheckerService[] = u"com.qam.vexo.linguistic2.SpellChecker";
constexpr char16_t numberTextService[] = u"com.qam.vexo.linguistic2.NumberText";

std::string u8(const OUString& s) { return std::string(s.toUtf8().getStr()); }

std::vector<std::string> u8(const std::vector<OUString>& v) {
    std::vector<std::string> out;
    for (const auto& s : v) out.push_back(u8(s));
    return out;
}

const Locale enUS = locale(u"en", u"US");

class ScriptedHostTest : public ServiceTest {
protected:
    void SetUp() override {
        ServiceTest::SetUp();
        checker = new RecordingSpellChecker;
        useSpellChecker(checker);
        start();
    }
    void TearDown() override {
        checker.clear();
        ServiceTest::TearDown();
    }
    Reference<RecordingSpellChecker> checker;
};

TEST_F(ScriptedHostTest, SpellingAsksTheHostEveryTimeButNeverForAnEmptyWord) {
    checker->correct = {u"word"};
    EXPECT_FALSE(impl->spell(enUS, u""));
    EXPECT_EQ(spellCheckerLookups, 0);
    EXPECT_TRUE(checker->validityCalls.empty());
    EXPECT_TRUE(impl->spell(enUS, u"word"));
    EXPECT_TRUE(impl->spell(enUS, u"word"));
    EXPECT_FALSE(impl->spell(enUS, u"wrod"));
    EXPECT_EQ(spellCheckerLookups, 1);
    EXPECT_EQ(checker->validityCalls, (std::vector<OUString>{u"word", u"word", u"wrod"}));
}

TEST_F(ScriptedHostTest, SuggestionsAndStemsAreCachedPerLanguageAndWord) {
    checker->answers[u"_wrod"] = {u"word", u"wrought"};
    checker->answers[u"<?xml?><query type='stem'><word>dogs</word></query>"] = {u"dog", u"dogs"};
    EXPECT_EQ(impl->suggest(enUS, u"wrod"), u"word\nwrought");
    EXPECT_EQ(impl->suggest(enUS, u"wrod"), u"word\nwrought");
    EXPECT_EQ(impl->suggest(enUS, u"zzz"), u"");
    EXPECT_EQ(impl->suggest(enUS, u"zzz"), u""); // an empty answer is cached too
    EXPECT_EQ(impl->suggest(enUS, u""), u"");
    EXPECT_EQ(u8(impl->stem(enUS, u"dogs")), (std::vector<std::string>{"dog", "dogs"}));
    EXPECT_EQ(u8(impl->stem(enUS, u"dogs")), (std::vector<std::string>{"dog", "dogs"}));
    EXPECT_TRUE(impl->stem(enUS, u"").empty());
    // Another language is another cache entry.
    EXPECT_EQ(impl->suggest(locale(u"en", u"GB"), u"wrod"), u"word\nwrought");
    EXPECT_EQ(checker->queries, (std::vector<OUString>{u"_wrod", u"_zzz",
                                                       u"<?xml?><query type='stem'><word>dogs</word></query>",
                                                       u"_wrod"}));
    // Each query first makes sure of the spell checker with a check of "a".
    EXPECT_EQ(checker->validityCalls, (std::vector<OUString>(4, u"a")));
    EXPECT_EQ(spellCheckerLookups, 1);
}

TEST_F(ScriptedHostTest, GenerationIsAskedEveryTime) {
    const OUString q = u"<?xml?><query type='generate'><word>go</word><word>walked</word></query>";
    checker->answers[q] = {u"went"};
    EXPECT_EQ(u8(impl->generate(enUS, u"go", u"walked")), (std::vector<std::string>{"went"}));
    EXPECT_EQ(u8(impl->generate(enUS, u"go", u"walked")), (std::vector<std::string>{"went"}));
    EXPECT_TRUE(impl->generate(enUS, u"", u"walked").empty());
    EXPECT_EQ(checker->queries, (std::vector<OUString>{q, q}));
}

TEST_F(ScriptedHostTest, MorphologySearchesTheAnalysesOfTheFirstAnswer) {
    const auto analyze = [](const char16_t* word) {
        return u"<?xml?><query type='analyze'><word>" + OUString(std::u16string_view(word)) + u"</word></query>";
    };
    checker->answers[analyze(u"go")] = {u"st:go po:verb</a>st:go po:noun</a>rest", u"st:go po:ignored</a>"};
    checker->answers[analyze(u"plain")] = {u"st:plain po:adj"}; // no "</a>": no analyses
    checker->answers[analyze(u"pad")] = {u"<a> st:pad po:adj  </a>"};
    checker->answers[analyze(u"bare")] = {u"bare word</a>"};
    struct Case {
        const char16_t* word;
        const char* pattern;
        bool all;
        bool onlyLastItem;
        const char* expected;
    };
    const Case cases[] = {
        {u"go", "po:\\w+", false, false, "po:verb"},
        {u"go", "po:\\w+", true, false, "po:noun"}, // every analysis matched: the last match
        {u"go", "verb", false, false, "verb"},
        {u"go", "verb", true, false, ""},           // the second analysis does not match
        {u"go", "noun", false, false, "noun"},
        {u"go", "ignored|rest", false, false, ""},   // only the first answer, up to the last "</a>"
        {u"go", "^verb", false, true, ""},          // the tested text is "\1verb"
        {u"go", "\\\\1verb", false, true, "\\1verb"},
        {u"go", "1\\w+", false, true, "1verb"},
        {u"go", "[a-z]+$", true, true, "noun"},
        {u"go", "st:", false, true, ""},
        {u"pad", "\\\\1adj$", false, true, "\\1adj"}, // trailing blanks are trimmed
        {u"pad", "^<a>", false, false, "<a>"},        // markup before a field stays part of the analysis
        {u"bare", "^bare", false, true, "bare"},      // no field: the analysis as it is
        {u"plain", ".*", false, false, ""},
        {u"plain", ".*", true, false, ""},
        {u"nothing", ".*", true, false, ""},
        {u"go", "(", false, false, ""}, // does not compile
        {u"", ".*", false, false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << OUString(std::u16string_view(c.word)) << " " << c.pattern << " all "
                                        << c.all << " last " << c.onlyLastItem);
        EXPECT_EQ(u8(impl->morph(enUS, OUString(std::u16string_view(c.word)), ou(c.pattern), c.all, c.onlyLastItem)),
                  c.expected);
    }
    // Each word was analysed once, whatever the number of questions about it.
    EXPECT_EQ(checker->queries, (std::vector<OUString>{analyze(u"go"), analyze(u"pad"), analyze(u"bare"),
                                                       analyze(u"plain"), analyze(u"nothing")}));
}

class NotASpellChecker final : public cppu::WeakImplHelper<com::qam::vexo::lang::XEventListener> {
public:
    void disposing(const com::qam::vexo::lang::EventObject&) override {}
};

TEST_F(ServiceTest, TheSpellCheckerIsLookedUpOnceEvenWhenItFails) {
    struct Case {
        const char* what;
        std::function<Reference<zel::uno::XInterface>()> make;
    };
    const Case cases[] = {
        {"throws", []() -> Reference<zel::uno::XInterface> { throw zel::uno::RuntimeException(u"no spelling"); }},
        {"null", [] { return Reference<zel::uno::XInterface>(); }},
        {"not a spell checker", [] {
             return Reference<zel::uno::XInterface>(static_cast<cppu::OWeakObject*>(new NotASpellChecker));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        int lookups = 0;
        cppu::registerService(context, spellCheckerService,
                              [&](const Reference<zel::uno::XComponentContext>&, const Sequence<zel::uno::Any>&) {
                                  ++lookups;
                                  return c.make();
                              });
        lexivor::Lexivor& host = start();
        EXPECT_FALSE(host.spell(enUS, u"word"));
        EXPECT_EQ(host.suggest(enUS, u"wrod"), u"");
        EXPECT_TRUE(host.stem(enUS, u"dogs").empty());
        EXPECT_TRUE(host.generate(enUS, u"go", u"walked").empty());
        EXPECT_EQ(host.morph(enUS, u"go", u".*", false, false), u"");
        EXPECT_EQ(lookups, 1);
    }
}

TEST_F(ServiceTest, HostFailuresCountAsNoAnswer) {
    class Failing final : public cppu::WeakImplHelper<linguistic2::XSpellChecker> {
    public:
        Sequence<Locale> getLocales() override { return {}; }
        bool hasLocale(const Locale&) override { return false; }
        bool isValid(const OUString&, const Locale&, const Sequence<com::qam::vexo::beans::PropertyValue>&) override {
            throw zel::uno::RuntimeException(u"isValid fails");
        }
        Reference<linguistic2::XSpellAlternatives> spell(const OUString&, const Locale&,
                                                         const Sequence<com::qam::vexo::beans::PropertyValue>&) override {
            throw zel::uno::RuntimeException(u"spell fails");
        }
    };
    Reference<linguistic2::XSpellChecker> failing(new Failing);
    cppu::registerService(context, spellCheckerService,
                          [failing](const Reference<zel::uno::XComponentContext>&, const Sequence<zel::uno::Any>&) {
                              return Reference<zel::uno::XInterface>(failing);
                          });
    lexivor::Lexivor& host = start();
    EXPECT_FALSE(host.spell(enUS, u"word"));
    EXPECT_EQ(host.suggest(enUS, u"wrod"), u"");
    EXPECT_TRUE(host.stem(enUS, u"dogs").empty());
    EXPECT_EQ(host.morph(enUS, u"go", u".*", false, false), u"");
}

TEST_F(ScriptedHostTest, PatternConstantsAreCompiledOncePerPackage) {
    PackageBuilder b = packageFor("en-US");
    const auto pattern = b.pattern("^x+$", 2); // all flags apply, 2 is case-insensitive here
    const auto words = b.wordList({"a", "b"});
    const auto broken = b.pattern("(", 0);
    ASSERT_EQ(pattern, 0u);
    ASSERT_EQ(words, 1u);
    ASSERT_EQ(broken, 2u);
    // A rule that asks the spell checker, so that the test looks at the matchers
    // while the service is checking; and one that uses the pattern.
    b.rule({.pattern = "\\bcheck\\b", .message = "m", .condition = b.code("PushNone\nPushGroup 0\nCall 1 2\nReturn")});
    b.rule({.pattern = "\\w+", .message = "matches the pattern", .condition = b.code("PushGroup 0\nSearch 0\nReturn")});
    b.rule({.pattern = "\\w+", .message = "word list is no pattern", .condition = b.code("PushGroup 0\nSearch 1\nReturn")});
    b.rule({.pattern = "\\w+", .message = "broken pattern", .condition = b.code("PushGroup 0\nSearch 2\nReturn")});
    tree->add("p.lxr", b.build());
    start();

    std::vector<icu::RegexMatcher*> seen;
    checker->onValidity = [&] {
        for (unsigned int i : {0u, 0u, 1u, 2u, 3u, 99u}) seen.push_back(impl->getConstantMatcher(i));
    };
    EXPECT_EQ(impl->getConstantMatcher(0), nullptr); // only while a package is being checked
    const auto r = check(u"check XxX yy", enUS);
    ASSERT_EQ(seen.size(), 6u);
    EXPECT_NE(seen[0], nullptr);
    EXPECT_EQ(seen[1], seen[0]);
    EXPECT_EQ(seen[2], nullptr);
    EXPECT_EQ(seen[3], nullptr);
    EXPECT_EQ(seen[4], nullptr);
    EXPECT_EQ(seen[5], nullptr);
    std::vector<std::pair<sal_Int32, std::string>> errors;
    for (const auto& e : r.aErrors) errors.emplace_back(e.nErrorStart, u8(e.aShortComment));
    EXPECT_EQ(errors, (std::vector<std::pair<sal_Int32, std::string>>{{6, "matches the pattern"}}));

    // The same object in a later paragraph of the same package.
    seen.clear();
    check(u"check", enUS);
    ASSERT_EQ(seen.size(), 6u);
    EXPECT_NE(seen[0], nullptr);
    EXPECT_NE(seen[1], nullptr);
}

TEST_F(ServiceTest, MeasurementsConvertAndOfferRoundings) {
    struct Case {
        const char16_t* value;
        const char* from;
        const char* to;
        const char16_t* suffix;
        const char16_t* decimal;
        const char16_t* thousands;
        bool fractions;
        const char16_t* expected;
    };
    const Case cases[] = {
        {u"2", "km", "m", u" m", u",", u"", false, u"2000 m\n2000,0 m"},
        {u"1 1/2", "ft", "in", u" in", u".", u"", true, u"18 in\n18.0 in"},
        {u"1\u00bd", "ft", "in", u" in", u".", u"", true, u"18 in\n18.0 in"},
        {u"1 \u00bd", "ft", "in", u" in", u".", u"", true, u"18 in\n18.0 in"},
        {u"1 1/2", "ft", "in", u" in", u".", u"", false, u""},
        {u"1 1/2", "m", "cm", u" cm", u".", u"", true, u""}, // fractions only for feet, inches and miles
        {u"1,5", "m", "cm", u" cm", u",", u"", false, u"150 cm\n150,0 cm"},
        {u"1.000,5", "km", "m", u" m", u",", u".", true, u"1000500 m\n1000500,0 m"},
        {u"2*3+1", "m", "cm", u"", u".", u"", false, u"700\n700.0"},
        {u"5+", "m", "cm", u"", u".", u"", false, u"500\n500.0"},
        {u"2x3", "m", "cm", u"", u".", u"", false, u""},
        {u"2*", "m", "cm", u"", u".", u"", false, u""},
        {u"", "m", "cm", u"", u".", u"", false, u""},
        {u"100", "C", "F", u" \u00b0F", u".", u"", false, u"212 \u00b0F\n212.0 \u00b0F"},
        {u"\u221240", "C", "F", u" \u00b0F", u".", u"", false,
         u"\u221240 \u00b0F\n\u221240.0 \u00b0F\n\u221240.000000000000014 \u00b0F"},
        {u"0", "K", "C", u"", u".", u"", false, u"\u2212273\n\u2212273.2\n\u2212273.15"},
        {u"1", "in", "cm", u" cm", u".", u"", false, u"3 cm\n2.5 cm\n2.54 cm"},
        {u"10", "m/s", "km/h", u" km/h", u".", u"", false, u"36 km/h\n36.0 km/h"},
        {u"1", "kg", "lbm", u" lb.", u",", u"", false, u"2 lb.\n2,2 lb.\n2,20462291469134 lb."},
        {u"1.5", "m", "cm", u"", u"", u"", false, u"150\n150.0"}, // no separator: the point stays
    };
    lexivor::Lexivor& host = start();
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << OUString(std::u16string_view(c.value)) << " " << c.from << " -> " << c.to);
        EXPECT_EQ(host.measurement(OUString(std::u16string_view(c.value)), ou(c.from), ou(c.to),
                                   OUString(std::u16string_view(c.suffix)), OUString(std::u16string_view(c.decimal)),
                                   OUString(std::u16string_view(c.thousands)), c.fractions),
                  OUString(std::u16string_view(c.expected)));
    }
}

TEST_F(ServiceTest, MeasurementsOnlyConvertWithinAKind) {
    lexivor::Lexivor& host = start();
    LogCapture log("lingucomponent.lexivor");
    EXPECT_EQ(host.measurement(u"1", u"kg", u"km", u"", u".", u"", false), u"");
    EXPECT_EQ(host.measurement(u"1", u"KM", u"m", u"", u".", u"", false), u"");
    EXPECT_EQ(host.measurement(u"1", u"m", u"parsec", u"", u".", u"", false), u"");
    EXPECT_EQ(host.measurement(u"x", u"kg", u"km", u"", u".", u"", false), u""); // the value is read first
    EXPECT_EQ(log.texts(SALQX_LOG_WARN),
              (std::vector<std::string>{"no conversion from kg to km", "no conversion from KM to m",
                                        "no conversion from m to parsec"}));
    EXPECT_EQ(lexivor::findUnit(u"km/h")->power, 3);
    EXPECT_EQ(lexivor::findUnit(u"Km"), nullptr);
    EXPECT_EQ(lexivor::formatDecimal(2000.0), u"2000.0");
    EXPECT_EQ(lexivor::formatDecimal(3.25), u"3.25");
}

TEST_F(ServiceTest, NumberTextWithoutTheServiceIsEmptyAndNotRetried) {
    int lookups = 0;
    cppu::registerService(context, numberTextService,
                          [&](const Reference<zel::uno::XComponentContext>&, const Sequence<zel::uno::Any>&) {
                              ++lookups;
                              return Reference<zel::uno::XInterface>();
                          });
    lexivor::Lexivor& host = start();
    EXPECT_EQ(host.numberText(u"21", u"en-US"), u"");
    EXPECT_EQ(host.numberText(u"22", u"en-US"), u"");
    EXPECT_EQ(lookups, 1);
}

// --- with the host's own services -------------------------------------------------------------

class RealHostTest : public ServiceTest {
protected:
    void SetUp() override {
        ServiceTest::SetUp();
        Reference<linguistic2::XSpellChecker> hunspell = hostSpellChecker();
        ASSERT_TRUE(hunspell.is()) << "the host offers no spell checker";
        checker = new RecordingSpellChecker(hunspell);
        useSpellChecker(checker);
        start();
    }
    void TearDown() override {
        checker.clear();
        ServiceTest::TearDown();
    }
    Reference<RecordingSpellChecker> checker;
};

TEST_F(RealHostTest, HunspellAnswersSpellingAndSuggestionsOnceEach) {
    EXPECT_TRUE(impl->spell(enUS, u"house"));
    EXPECT_FALSE(impl->spell(enUS, u"hosue"));
    const OUString suggestions = impl->suggest(enUS, u"hosue");
    EXPECT_NE(suggestions.indexOf(u"house"), -1) << suggestions;
    const std::size_t queries = checker->queries.size();
    EXPECT_EQ(impl->suggest(enUS, u"hosue"), suggestions);
    EXPECT_EQ(checker->queries.size(), queries);
}

TEST_F(RealHostTest, HunspellStemsAndAnalyses) {
    const std::vector<OUString> stems = impl->stem(enUS, u"houses");
    EXPECT_NE(std::find(stems.begin(), stems.end(), OUString(u"house")), stems.end()) << stems.size();
    EXPECT_EQ(impl->morph(enUS, u"houses", u"st:\\w+", false, false), u"st:house");
    EXPECT_EQ(impl->morph(enUS, u"houses", u"house", true, true), u"house");
    const std::size_t queries = checker->queries.size();
    impl->morph(enUS, u"houses", u"st:\\w+", true, false);
    impl->stem(enUS, u"houses");
    EXPECT_EQ(checker->queries.size(), queries);
}

TEST_F(RealHostTest, RuleCodeReachesTheSpellCheckerAndTheNumberTexts) {
    PackageBuilder b = packageFor("en-US");
    // Unknown words get the spell checker's suggestions; numbers get their words.
    b.rule({.pattern = "\\b[a-z]+\\b",
            .suggestionCode = b.code("PushNone\nPushGroup 0\nCall 6 2\nReturn"),
            .message = "spelling",
            .condition = b.code("PushNone\nPushGroup 0\nCall 1 2\nNot\nReturn")});
    b.rule({.pattern = "\\b\\d+\\b",
            .suggestionCode = b.code("PushString \"NUMBERTEXT\"\nPushGroup 0\nPushString \"en-US\"\nCall 9 3\nReturn"),
            .message = "number"});
    tree->add("r.lxr", b.build());
    start();
    const auto r = check(u"the hosue has 21 rooms", enUS);
    ASSERT_EQ(r.aErrors.getLength(), 2);
    EXPECT_EQ(r.aErrors[0].nErrorStart, 4);
    const auto firstSuggestions = strings(r.aErrors[0].aSuggestions);
    EXPECT_NE(std::find(firstSuggestions.begin(), firstSuggestions.end(), OUString(u"house")), firstSuggestions.end());
    EXPECT_EQ(r.aErrors[1].nErrorStart, 14);
    EXPECT_EQ(strings(r.aErrors[1].aSuggestions), (std::vector<OUString>{u"twenty-one"}));
}

} // namespace
} // namespace lexivortest
