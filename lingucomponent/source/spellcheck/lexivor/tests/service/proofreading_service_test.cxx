// doProofreading and the other operations of the proofreader interface, on
// packages made by the package builder.

#include "ServiceFixture.hxx"

#include <officehost/configuration.hxx>
#include <testsupport/LogCapture.hxx>

#include <filesystem>
#include <atomic>
#include <ostream>
#include <thread>

namespace lexivortest {
namespace {

namespace linguistic2 = com::qam::vexo::linguistic2;
using testsupport::LogCapture;
using testsupport::LogLine;
using testsupport::lexivor::PackageBuilder;
using testsupport::lexivor::RuleSpec;

// An error as the tests compare it.
struct Found {
    sal_Int32 start = 0;
    sal_Int32 length = 0;
    std::string rule;
    std::string shortComment;
    std::string fullComment;
    std::vector<std::string> suggestions;
    friend bool operator==(const Found&, const Found&) = default;
};

std::ostream& operator<<(std::ostream& os, const Found& f) {
    os << "{" << f.start << "+" << f.length << " [" << f.rule << "] '" << f.shortComment << "' / '" << f.fullComment
       << "' ->";
    for (const auto& s : f.suggestions) os << " '" << s << "'";
    return os << "}";
}

std::string u8(const OUString& s) { return std::string(s.toUtf8().getStr()); }

std::vector<Found> found(const linguistic2::ProofreadingResult& result) {
    std::vector<Found> out;
    for (const auto& e : result.aErrors) {
        EXPECT_EQ(e.nErrorType, 2);
        Found f{e.nErrorStart, e.nErrorLength, u8(e.aRuleIdentifier), u8(e.aShortComment), u8(e.aFullComment), {}};
        for (const auto& s : e.aSuggestions) f.suggestions.push_back(u8(s));
        out.push_back(std::move(f));
    }
    return out;
}

std::vector<std::string> suggestionsOf(const linguistic2::ProofreadingResult& result) {
    EXPECT_EQ(result.aErrors.getLength(), 1);
    if (result.aErrors.getLength() != 1) return {"<no single error>"};
    std::vector<std::string> out;
    for (const auto& s : result.aErrors[0].aSuggestions) out.push_back(u8(s));
    return out;
}

class ProofreadingTest : public ServiceTest {
protected:
    // Makes the package the only one installed and starts a new service on it.
    void install(const PackageBuilder& b) {
        for (const auto& entry : std::filesystem::directory_iterator(tree->ruleDirectory()))
            std::filesystem::remove(entry.path());
        tree->add("case.lxr", b.build());
        start();
    }
};

TEST_F(ProofreadingTest, ResultRecordsDescribeTheParagraphAndEachError) {
    PackageBuilder b = packageFor("en-US");
    b.rule({.pattern = "\\bteh\\b", .suggestion = "the", .message = "Possible typo\\nDid you mean \"the\"?"});
    install(b);

    const linguistic2::ProofreadingResult r = check(u"I saw teh cat", locale(u"en", u"US"), 0, 3);
    EXPECT_EQ(r.aDocumentIdentifier, u"doc");
    EXPECT_FALSE(r.xFlatParagraph.is());
    EXPECT_EQ(r.aText, u"I saw teh cat");
    EXPECT_EQ(r.aLocale, locale(u"en", u"US"));
    EXPECT_EQ(r.nStartOfSentencePosition, 0);
    EXPECT_EQ(r.nBehindEndOfSentencePosition, 13);
    EXPECT_EQ(r.nStartOfNextSentencePosition, 13);
    EXPECT_FALSE(r.aProperties.hasElements());
    EXPECT_TRUE(r.xProofreader == service);
    EXPECT_EQ(found(r), (std::vector<Found>{{6, 3, "\\bteh\\b", "Possible typo", "Did you mean \"the\"?", {"the"}}}));
    ASSERT_EQ(r.aErrors.getLength(), 1);
    EXPECT_FALSE(r.aErrors[0].aProperties.hasElements());
}

TEST_F(ProofreadingTest, OnlyTheStartOfAParagraphIsChecked) {
    PackageBuilder b = packageFor("en-US");
    b.rule({.pattern = "a", .message = "m"});
    install(b);
    struct Case {
        std::u16string_view text;
        Locale where;
        sal_Int32 start;
        sal_Int32 suggestedEnd;
        sal_Int32 expectedEnd;
        sal_Int32 expectedErrors;
    };
    const Case cases[] = {
        {u"a banana", locale(u"en", u"US"), 5, 7, 7, 0},
        {u"a banana", locale(u"en", u"US"), 0, 3, 8, 4},
        {u"", locale(u"en", u"US"), 0, 0, 0, 0},
        {u"a banana", locale(u"de", u"DE"), 0, 2, 8, 0}, // no package
        {u"a banana", locale(u"en"), 0, 2, 8, 0},        // no fallback to a region
        {u"a banana", locale(u"en", u"GB"), 0, 2, 8, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << OUString(c.text) << " at " << c.start << " in " << c.where.Language << "-"
                                        << c.where.Country);
        const auto r = check(OUString(c.text), c.where, c.start, c.suggestedEnd);
        EXPECT_EQ(r.nStartOfSentencePosition, c.start);
        EXPECT_EQ(r.nBehindEndOfSentencePosition, c.expectedEnd);
        EXPECT_EQ(r.nStartOfNextSentencePosition, c.expectedEnd);
        EXPECT_EQ(r.aErrors.getLength(), c.expectedErrors);
        EXPECT_TRUE(r.xProofreader == service);
    }
}

TEST_F(ProofreadingTest, SuggestionTemplatesExpandGroupsNamesAndEscapes) {
    struct Case {
        const char* templ;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"_", {}},
        {"_x", {"_x"}},
        {"", {""}},
        {"\\2 \\1", {"world hello"}},
        {"\\0!", {"hello world!"}},
        {"[\\3]", {"[]"}},          // the optional group did not take part
        {"<\\12>", {"<>"}},         // two digits are read; there is no group 12
        {"\\1\\0", {"hellohello world"}},
        {"\\g<second>", {"world"}}, // the first record of that name wins
        {"\\g<2>", {"world"}},
        {"\\g<0>", {"hello world"}},
        {"(\\g<-1>)", {"()"}},
        {"(\\g<nope>)", {"()"}},
        {"\\gx", {"gx"}},
        {"\\g<open", {"g<open"}},
        {"a\\\\b", {"a\\b"}},
        {"a\\nb", {"a", "b"}},
        {"a\\tb\\rc", {"a\tb\rc"}},
        {"\\q", {"q"}},
        {"end\\", {"end\\"}},
        {"one|two||", {"one", "two", "", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.templ);
        PackageBuilder b = packageFor("en-US");
        b.rule({.pattern = "(\\w+) (\\w+)( x)?",
                .suggestion = c.templ,
                .message = "m",
                .groupNames = {{"second", 2}, {"first", 1}, {"second", 1}}});
        install(b);
        const auto r = check(u"hello world", locale(u"en", u"US"));
        EXPECT_EQ(suggestionsOf(r), c.expected);
    }
}

TEST_F(ProofreadingTest, CapitalisedMatchesCapitaliseTheirSuggestions) {
    struct Case {
        const char* tag;
        Locale where;
        std::u16string_view text;
        const char* templ;
        sal_uInt32 flags;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"tr", locale(u"tr"), u"In the beginning", "in|into", 2, {"\u0130n", "\u0130nto"}},
        {"az", locale(u"az"), u"In the beginning", "in|into", 2, {"\u0130n", "\u0130nto"}},
        {"nl", locale(u"nl"), u"In the beginning", "ijs|in|i", 2, {"IJs", "In", "I"}},
        {"en-US", locale(u"en", u"US"), u"In the beginning", "iPhone|hELLO|\u00e9lan||x", 2,
         {"IPhone", "Hello", "\u00c9lan", "", "X"}},
        {"en-US", locale(u"en", u"US"), u"in the beginning", "iPhone|hELLO", 2, {"iPhone", "hELLO"}},
        {"en-US", locale(u"en", u"US"), u"In the beginning", "iPhone|hELLO", 0, {"iPhone", "hELLO"}},
        {"tr", locale(u"tr"), u"in the beginning", "in", 2, {"in"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.tag << " " << OUString(c.text) << " " << c.templ << " flags " << c.flags);
        PackageBuilder b = packageFor(c.tag);
        b.rule({.pattern = "^[Ii]n\\b", .flags = c.flags, .suggestion = c.templ, .message = "m"});
        install(b);
        EXPECT_EQ(suggestionsOf(check(OUString(c.text), c.where)), c.expected);
    }
}

TEST_F(ProofreadingTest, MessagesGiveShortAndFullCommentsAndLinks) {
    struct Case {
        const char* message;     // template, or
        const char* messageCode; // assembly when not null
        std::string shortComment;
        std::string fullComment;
        std::string url; // empty: no property
    };
    const Case cases[] = {
        {"Short\\n https://example.org/rule ", nullptr, "Short", "Short", "https://example.org/rule"},
        {nullptr, "PushString \"first\\\\nsecond\"\nReturn", "first", "second", ""},
        {"  one | two  ", nullptr, "one", "two", ""},
        {"a\\nb\\nc", nullptr, "a", "c", ""},
        {"only", nullptr, "only", "only", ""},
        {"", nullptr, "", "", ""},
        {nullptr, "PushNone\nReturn", "", "", ""},
        {nullptr, "PushString \"x\"", "", "", ""}, // no Return: the run yields None
        {"See \\1: file://\\1", nullptr, "See ab: file://ab", "See ab: file://ab", "See ab: file://ab"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message ? c.message : c.messageCode);
        PackageBuilder b = packageFor("en-US");
        RuleSpec rule{.pattern = "(ab)", .suggestion = "s"};
        if (c.message) rule.message = c.message;
        if (c.messageCode) rule.messageCode = b.code(c.messageCode);
        b.rule(rule);
        install(b);
        const auto r = check(u"x ab x", locale(u"en", u"US"));
        ASSERT_EQ(r.aErrors.getLength(), 1);
        const auto& e = r.aErrors[0];
        EXPECT_EQ(u8(e.aShortComment), c.shortComment);
        EXPECT_EQ(u8(e.aFullComment), c.fullComment);
        if (c.url.empty()) {
            EXPECT_FALSE(e.aProperties.hasElements());
            continue;
        }
        ASSERT_EQ(e.aProperties.getLength(), 1);
        const auto& p = e.aProperties[0];
        EXPECT_EQ(p.Name, u"FullCommentURL");
        EXPECT_EQ(p.Handle, 0);
        EXPECT_EQ(p.State, com::qam::vexo::beans::PropertyState_DIRECT_VALUE);
        EXPECT_EQ(u8(p.Value.get<OUString>()), c.url);
    }
}

TEST_F(ProofreadingTest, ComputedSuggestionsComeFromRuleCode) {
    struct Case {
        const char* code;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"PushGroup 1\nUpper\nPushString \"|\"\nConcat\nPushGroup 1\nCapitalize\nConcat\nReturn", {"AB", "Ab"}},
        {"PushNone\nReturn", {""}},
        {"PushInteger 7\nReturn", {""}}, // only the str field counts
        {"PushString \"_\"\nReturn", {"_"}}, // "_" means nothing special for code
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        PackageBuilder b = packageFor("en-US");
        b.rule({.pattern = "(ab)", .suggestion = "_", .suggestionCode = b.code(c.code), .message = "m"});
        install(b);
        EXPECT_EQ(suggestionsOf(check(u"x ab x", locale(u"en", u"US"))), c.expected);
    }
}

TEST_F(ProofreadingTest, ConditionsAndErrorGroupsSelectMatches) {
    PackageBuilder b = packageFor("en-US");
    b.option("on", true);
    b.option("off", false);
    const auto optionCheck = [&b](const char* name) {
        return b.code(std::string("PushNone\nPushString \"") + name + "\"\nCall 0 2\nReturn");
    };
    b.rule({.pattern = "aa", .message = "every match, in text order, not overlapping"});
    b.rule({.pattern = "b(c)(d)?", .message = "group 1", .errorGroup = 1});
    b.rule({.pattern = "b(c)(d)?", .message = "group 2 only where it took part", .errorGroup = 2});
    b.rule({.pattern = "b(c)", .message = "no group 5", .errorGroup = 5});
    b.rule({.pattern = "\\bz\\b", .message = "option on", .condition = optionCheck("on")});
    b.rule({.pattern = "\\bz\\b", .message = "option off", .condition = optionCheck("off")});
    b.rule({.pattern = "\\bz\\b", .message = "broken condition", .condition = b.rawCode({0xff})});
    b.rule({.pattern = "(?=q)", .message = "an empty match is an error of length 0"});
    install(b);

    EXPECT_EQ(found(check(u"aaaaa bc bcd z q", locale(u"en", u"US"))),
              (std::vector<Found>{
                  {0, 2, "aa", "every match, in text order, not overlapping", "every match, in text order, not overlapping", {""}},
                  {2, 2, "aa", "every match, in text order, not overlapping", "every match, in text order, not overlapping", {""}},
                  {7, 1, "b(c)(d)?", "group 1", "group 1", {""}},
                  {10, 1, "b(c)(d)?", "group 1", "group 1", {""}},
                  {11, 1, "b(c)(d)?", "group 2 only where it took part", "group 2 only where it took part", {""}},
                  {13, 1, "\\bz\\b", "option on", "option on", {""}},
                  {15, 0, "(?=q)", "an empty match is an error of length 0", "an empty match is an error of length 0", {""}},
              }));
}

TEST_F(ProofreadingTest, ErrorsComeInRuleOrderAndAreNeverMerged) {
    PackageBuilder b = packageFor("en-US");
    b.rule({.pattern = "world", .suggestion = "A", .message = "first rule"});
    b.rule({.pattern = "hello", .suggestion = "B", .message = "second rule"});
    b.rule({.pattern = "world", .suggestion = "C", .message = "third rule"});
    install(b);
    EXPECT_EQ(found(check(u"hello world", locale(u"en", u"US"))),
              (std::vector<Found>{{6, 5, "world", "first rule", "first rule", {"A"}},
                                  {0, 5, "hello", "second rule", "second rule", {"B"}},
                                  {6, 5, "world", "third rule", "third rule", {"C"}}}));
}

TEST_F(ProofreadingTest, TheTrigramPreCheckSkipsRulesBeforeTheyAreCompiled) {
    PackageBuilder b = packageFor("en-US");
    const sal_uInt32 abc = lexivor::trigramKey(u'a', u'b', u'c');
    // The expression would match anywhere; the pre-check alone keeps it from texts without "abc".
    b.rule({.pattern = "x", .trigram = abc, .message = "pre-checked"});
    // Does not compile: the warning shows when the rule is compiled.
    b.rule({.pattern = "abc(", .trigram = abc, .message = "broken"});
    b.rule({.pattern = "y", .message = "no pre-check"});
    install(b);
    LogCapture log("lingucomponent.lexivor");

    EXPECT_EQ(found(check(u"x y", locale(u"en", u"US"))),
              (std::vector<Found>{{2, 1, "y", "no pre-check", "no pre-check", {""}}}));
    EXPECT_TRUE(log.texts(SALQX_LOG_WARN).empty());

    // The pre-check looks at the lowered text.
    EXPECT_EQ(found(check(u"x ABC y", locale(u"en", u"US"))),
              (std::vector<Found>{{0, 1, "x", "pre-checked", "pre-checked", {""}},
                                  {6, 1, "y", "no pre-check", "no pre-check", {""}}}));
    EXPECT_EQ(log.texts(SALQX_LOG_WARN), (std::vector<std::string>{"rule 1 of test does not compile"}));

    // A rule that does not compile is tried only once per package.
    check(u"abc abc", locale(u"en", u"US"));
    EXPECT_EQ(log.texts(SALQX_LOG_WARN).size(), 1u);
}

TEST_F(ProofreadingTest, ARunawaySearchOnlyCostsItsOwnRule) {
    PackageBuilder b = packageFor("en-US");
    b.rule({.pattern = "(a+)+$", .message = "backtracks without end"});
    b.rule({.pattern = "\\bb\\b", .message = "still checked"});
    install(b);
    const OUString text = OUString(std::u16string(40, u'a')) + u" b !";
    EXPECT_EQ(found(check(text, locale(u"en", u"US"))),
              (std::vector<Found>{{41, 1, "\\bb\\b", "still checked", "still checked", {""}}}));
}

TEST_F(ProofreadingTest, ConcurrentCallersAndOptionChangesShareOnePackage) {
    PackageBuilder b = packageFor("en-US");
    b.option("on", true);
    b.rule({.pattern = "\\b(a) ([aeiou]\\w*)",
            .suggestion = "an \\2",
            .message = "vowel",
            .condition = b.code("PushNone\nPushString \"on\"\nCall 0 2\nReturn")});
    b.rule({.pattern = "\\bteh\\b", .suggestion = "the", .message = "typo"});
    install(b);
    const OUString text = u"a apple and teh egg, a orange and teh end";
    const std::vector<Found> expected = found(check(text, locale(u"en", u"US")));
    ASSERT_EQ(expected.size(), 4u);

    std::atomic<int> mismatches{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 40; ++i)
                if (found(service->doProofreading(u"doc", text, locale(u"en", u"US"), 0, text.getLength(), {})) != expected)
                    ++mismatches;
        });
    }
    // Every change reloads the options while the others are checking.
    threads.emplace_back([] {
        for (int i = 0; i < 40; ++i)
            officehost::configuration::setValue(
                u"/org.ambrel.Office.Linguistic/GrammarChecking/SentenceChecking/other/x", zel::uno::Any(i % 2 == 0));
    });
    for (auto& t : threads) t.join();
    EXPECT_EQ(mismatches.load(), 0);
}

TEST_F(ProofreadingTest, IgnoredRulesAreOffForEveryLocaleUntilReset) {
    PackageBuilder en = packageFor("en-US", "english");
    en.rule({.pattern = "\\bfoo\\b", .message = "foo"});
    en.rule({.pattern = "\\bbar\\b", .message = "bar"});
    tree->add("en.lxr", en.build());
    PackageBuilder de = packageFor("de-DE", "german");
    de.rule({.pattern = "\\bfoo\\b", .message = "foo auf Deutsch"});
    tree->add("de.lxr", de.build());
    start();

    const auto rulesFound = [this](const Locale& where) {
        std::vector<std::string> ids;
        for (const auto& f : found(check(u"foo bar", where))) ids.push_back(f.rule);
        return ids;
    };
    using Ids = std::vector<std::string>;
    EXPECT_EQ(rulesFound(locale(u"en", u"US")), (Ids{"\\bfoo\\b", "\\bbar\\b"}));
    service->ignoreRule(u"\\bfoo\\b", locale(u"fr", u"FR")); // the locale does not matter
    EXPECT_EQ(rulesFound(locale(u"en", u"US")), (Ids{"\\bbar\\b"}));
    EXPECT_EQ(rulesFound(locale(u"de", u"DE")), (Ids{}));
    service->resetIgnoreRules();
    EXPECT_EQ(rulesFound(locale(u"en", u"US")), (Ids{"\\bfoo\\b", "\\bbar\\b"}));
    EXPECT_EQ(rulesFound(locale(u"de", u"DE")), (Ids{"\\bfoo\\b"}));
}

class CountingListener final : public cppu::WeakImplHelper<linguistic2::XLinguServiceEventListener> {
public:
    void disposing(const com::qam::vexo::lang::EventObject&) override {}
    void processLinguServiceEvent(const linguistic2::LinguServiceEvent& event) override { events.push_back(event); }
    std::vector<linguistic2::LinguServiceEvent> events;
};

TEST_F(ProofreadingTest, ListenersAreRegisteredOnce) {
    start();
    Reference<linguistic2::XLinguServiceEventBroadcaster> broadcaster(service, zel::uno::UNO_QUERY);
    ASSERT_TRUE(broadcaster.is());
    Reference<linguistic2::XLinguServiceEventListener> listener(new CountingListener);
    EXPECT_FALSE(broadcaster->addLinguServiceEventListener({}));
    EXPECT_TRUE(broadcaster->addLinguServiceEventListener(listener));
    EXPECT_FALSE(broadcaster->addLinguServiceEventListener(listener));
    // The same object through another of its interfaces is the same listener.
    Reference<com::qam::vexo::lang::XEventListener> base(listener, zel::uno::UNO_QUERY);
    Reference<linguistic2::XLinguServiceEventListener> again(base, zel::uno::UNO_QUERY);
    EXPECT_FALSE(broadcaster->addLinguServiceEventListener(again));
    EXPECT_TRUE(broadcaster->removeLinguServiceEventListener(listener));
    EXPECT_FALSE(broadcaster->removeLinguServiceEventListener(listener));
    EXPECT_FALSE(broadcaster->removeLinguServiceEventListener({}));
}

TEST_F(ProofreadingTest, ServiceNamesAndDisplayNames) {
    PackageBuilder b = packageFor("en-US", "english");
    b.displayName("English grammar");
    b.rule({.pattern = "a", .message = "m"});
    install(b);
    Reference<com::qam::vexo::lang::XServiceInfo> info(service, zel::uno::UNO_QUERY);
    Reference<com::qam::vexo::lang::XServiceDisplayName> display(service, zel::uno::UNO_QUERY);
    ASSERT_TRUE(info.is());
    ASSERT_TRUE(display.is());
    EXPECT_EQ(info->getImplementationName(), u"zel.lingu.Lexivor");
    EXPECT_EQ(strings(info->getSupportedServiceNames()), (std::vector<OUString>{u"com.qam.vexo.linguistic2.Proofreader"}));
    EXPECT_TRUE(info->supportsService(u"com.qam.vexo.linguistic2.Proofreader"));
    EXPECT_FALSE(info->supportsService(u"com.qam.vexo.linguistic2.SpellChecker"));
    EXPECT_FALSE(service->isSpellChecker());
    EXPECT_EQ(display->getServiceDisplayName(locale(u"en", u"US")), u"English grammar");
    EXPECT_EQ(display->getServiceDisplayName(locale(u"de", u"DE")), u"Lexivor");
}

} // namespace
} // namespace lexivortest
