// The rule compiler: its error messages, the trigram keys it derives from
// expressions, and the disassembly of what it generates.

#include "rulelang.hxx"

#include <lxrfile.hxx>
#include <lxvm.hxx>
#include <osl/file.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

class RuleFiles : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "lxrc-test-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }
    std::string write(const std::string& name, const std::string& text) {
        std::ofstream(dir_ / name) << text;
        return (dir_ / name).string();
    }
    // The message of the error that compiling the file raises, or "" when it compiles.
    std::string errorOf(const std::string& text) {
        const std::string path = write("t.rules", text);
        try {
            lxrc::compilePackage(lxrc::parseRuleFiles({path}, {dir_.string()}));
        } catch (const lxrc::RuleError& e) {
            std::string m = e.what();
            if (m.rfind(path, 0) == 0) m = "t.rules" + m.substr(path.size());
            return m;
        }
        return "";
    }
    fs::path dir_;
};

const std::string header = "package P\ntag en-US\n";
const std::string okRule = "rule r\n    match \\bfoo\\b\n    message Foo.\n    flag \"a foo\" -> _\n    pass \"a bar\"\n";

TEST_F(RuleFiles, MistakesAreReportedAtTheirFileLineAndColumn) {
    struct Case {
        const char* body;
        const char* message;
    } cases[] = {
        {"rule r\n    match (foo\n    message m\n    flag \"foo\" -> _\n    pass \"x\"\n",
         "t.rules:4:15: the expression does not compile: U_REGEX_MISMATCHED_PAREN"},
        {"rule r\n    match foo\n    when $1 ==\n    message m\n    flag \"foo\" -> _\n    pass \"x\"\n",
         "t.rules:5:15: expected an expression, found end of expression"},
        {"rule r\n    match foo\n    when lower($1) in nowhere\n    message m\n    flag \"foo\" -> _\n    pass \"x\"\n",
         "t.rules:5:23: unknown name 'nowhere'"},
        {"rule r\n    match foo\n    when frob($1)\n    message m\n    flag \"foo\" -> _\n    pass \"x\"\n",
         "t.rules:5:10: unknown function 'frob'"},
        {"rule r\n    match foo\n    when lower($1, $2)\n    message m\n    flag \"foo\" -> _\n    pass \"x\"\n",
         "t.rules:5:10: lower() takes 1 argument, not 2"},
        {"rule r\n    match foo\n    when $1 == \"a\" == \"b\"\n    message m\n    flag \"foo\" -> _\n    pass \"x\"\n",
         "t.rules:5:20: comparisons do not chain; use 'and'"},
        {"rule r\n    match foo\n    when $1 ~ \"x\"\n    message m\n    flag \"foo\" -> _\n    pass \"x\"\n",
         "t.rules:5:15: expected the name of a list, map or pattern"},
        {"rule r\n    match foo\n    message m\n    pass \"foo\"\n", "t.rules:3:1: rule r needs an example that it flags ('flag \"...\" -> ...')"},
        {"rule r\n    match foo\n    message m\n    flag \"foo\" -> _\n", "t.rules:3:1: rule r needs a near miss that it leaves alone ('pass \"...\"')"},
        {"rule r\n    match foo\n    message m\n    flag \"foo\"\n",
         "t.rules:6:15: a flagged example names its suggestions: flag \"...\" -> \"...\" (or -> _)"},
        {"rule r\n    match foo\n    mesage m\n", "t.rules:5:5: unknown rule field 'mesage'"},
        {"rule r\n    match foo\n    message m\n    flag \"foo\" -> _\n    pass \"x\"\nrule s\n    match foo\n    message m\n    flag \"foo\" -> _\n    pass \"x\"\n",
         "t.rules:9:11: rule s has the same expression as rule r (the expression is a rule's identifier)"},
        {"list l: a b\nlist l: c\n" , "t.rules:4:6: constant defined twice: l"},
        {"pattern p: [a-\n", "t.rules:3:15: the expression does not compile: U_REGEX_INVALID_RANGE"},
        {"list l: a\n", "t.rules:1:1: the package has no rules"},
        {"frobnicate x\n", "t.rules:3:1: unknown declaration 'frobnicate'"},
        {"rule r\n    match foo\n    option nonesuch\n    message m\n    flag \"foo\" -> _\n    pass \"x\"\n",
         "t.rules:3:1: rule r names an unknown option: nonesuch"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.body);
        EXPECT_EQ(errorOf(header + c.body), c.message);
    }
    EXPECT_EQ(errorOf(header + okRule), "");
}

TEST_F(RuleFiles, TablesMakeOneRulePerEntryWithItsExamples) {
    const std::string path = write("t.rules", header +
                                                  "table phrases\n"
                                                  "    message Write \"{good}\" rather than \"{bad}\".\n"
                                                  "    alot => a lot :: We have alot of time.\n"
                                                  "    could care less => couldn't care less :: I could care less. :: I care less.\n");
    const lxrc::PackageDef p = lxrc::parseRuleFiles({path}, {});
    ASSERT_EQ(p.rules.size(), 2u);
    EXPECT_EQ(p.rules[0].name, "phrases/alot");
    EXPECT_EQ(p.rules[0].pattern, "(?<![\\w.@/'\\u2019-])[Aa]lot\\b(?![@/-]|\\.\\w)");
    EXPECT_EQ(*p.rules[0].messageTemplate, "Write \"a lot\" rather than \"alot\".");
    EXPECT_EQ(p.rules[1].pattern, "(?<![\\w.@/'\\u2019-])[Cc]ould care less\\b(?![@/-]|\\.\\w)");
    ASSERT_EQ(p.rules[1].examples.size(), 2u);
    EXPECT_TRUE(p.rules[1].examples[0].flagged);
    EXPECT_EQ(p.rules[1].examples[0].suggestions, std::vector<std::string>{"couldn't care less"});
    EXPECT_FALSE(p.rules[1].examples[1].flagged);
    EXPECT_EQ(p.rules[1].examples[1].sentence, "I care less.");
}

std::uint32_t key(const char* t) {
    return (std::uint32_t(static_cast<unsigned char>(t[0])) * 17161u + std::uint32_t(static_cast<unsigned char>(t[1])) * 131u +
            std::uint32_t(static_cast<unsigned char>(t[2]))) %
               8191u +
           1u;
}

TEST(Trigrams, TheKeyIsATrigramThatEveryMatchContains) {
    struct Case {
        const char* pattern;
        const char* trigram; // nullptr: no key
    } cases[] = {
        {"\\bfoo\\b", "foo"},
        {"\\b[Ii]ts a\\b", "its"},             // a class of one letter in both cases
        {"\\b(?:could|would) of\\b", "uld"},  // shared by both alternatives, rarest letters
        {"\\b(?:should|might) of\\b", " of"},
        {"ab(?:c)?de", nullptr},              // the optional part breaks "ab" from "de"
        {"x(?=yz)", nullptr},                 // a lookahead consumes nothing
        {"(?<!q)zzz", "zzz"},
        {"\\bqu+ick\\b", "ick"},
        {"(?i:jazz)", nullptr},               // case-insensitive letters say nothing
        {"\\d+ jazz", "azz"},
        {"\\b(\\w+) \\1\\b", nullptr},
        {"a\\.b\\.c", ".b."},
        {"[abc]xyz", "xyz"},
        {"(?<name>zoo)k", "zoo"}         // the rarer letters win,
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pattern);
        EXPECT_EQ(lxrc::requiredTrigram(c.pattern), c.trigram ? key(c.trigram) : 0u);
    }
}

TEST_F(RuleFiles, DisassemblyShowsTheRecordTheTemplatesAndTheCode) {
    const std::string path = write("t.rules", header +
                                                  "list names: bob\n"
                                                  "rule r\n"
                                                  "    match \\b(\\w+) zed\\b\n"
                                                  "    when lower($1) in names or $1 == \"X\"\n"
                                                  "    suggest = if spell($1) then $1 else \"?\"\n"
                                                  "    message Zed.\n"
                                                  "    flag \"Bob zed\" -> \"Bob\"\n"
                                                  "    pass \"Bob\"\n");
    const lxrc::PackageDef p = lxrc::parseRuleFiles({path}, {});
    const lxrc::CompiledPackage c = lxrc::compilePackage(p);
    EXPECT_EQ(lxrc::disassembleRule(c.bytes, 0), "rule 0\n"
                                                  "  pattern    \\b(\\w+) zed\\b\n"
                                                  "  flags      0\n"
                                                  "  trigram    " + std::to_string(key("zed")) + "\n"
                                                  "  group      0\n"
                                                  "  condition  code:\n"
                                                  "    0: PushGroup 1\n"
                                                  "    5: Lower\n"
                                                  "    6: PushConstant 0\n"
                                                  "    11: In\n"
                                                  "    12: JumpIfTrue 29\n"
                                                  "    17: Pop\n"
                                                  "    18: PushGroup 1\n"
                                                  "    23: PushString 20    ; \"X\"\n"
                                                  "    28: Equal\n"
                                                  "    29: Return\n"
                                                  "  suggestion code:\n"
                                                  "    0: PushNone\n"
                                                  "    1: PushGroup 1\n"
                                                  "    6: Call 1 2\n"
                                                  "    9: JumpIfFalse 25\n"
                                                  "    14: Pop\n"
                                                  "    15: PushGroup 1\n"
                                                  "    20: Jump 31\n"
                                                  "    25: Pop\n"
                                                  "    26: PushString 18    ; \"?\"\n"
                                                  "    31: Return\n"
                                                  "  message    Zed.\n");
}

// ---------------------------------------------------------------------------
// What generated code computes, run on the rule machine: each case is a
// suggestion expression of its own rule, evaluated with the text "Hello world"
// and a host that knows one word.

namespace evaluation {

class OneWordHost final : public lexivor::Host {
public:
    bool spell(const com::qam::vexo::lang::Locale&, const OUString& word) override { return word == u"hello"; }
    OUString morph(const com::qam::vexo::lang::Locale&, const OUString&, const OUString&, bool, bool) override { return {}; }
    OUString measurement(const OUString&, const OUString&, const OUString&, const OUString&, const OUString&,
                         const OUString&, bool) override {
        return {};
    }
    std::vector<OUString> stem(const com::qam::vexo::lang::Locale&, const OUString&) override { return {}; }
    std::vector<OUString> generate(const com::qam::vexo::lang::Locale&, const OUString&, const OUString&) override {
        return {};
    }
    OUString suggest(const com::qam::vexo::lang::Locale&, const OUString&) override { return {}; }
    OUString numberText(const OUString&, const OUString&) override { return {}; }
    icu::RegexMatcher* getConstantMatcher(unsigned int) override { return nullptr; }
};

TEST_F(RuleFiles, GeneratedCodeComputesWhatTheExpressionsSay) {
    struct Case {
        const char* expression;
        const char* result;
    } cases[] = {
        {"\"ab\" + \"cd\"", "abcd"},
        {"text[6:]", "world"},
        {"text[-5:-2]", "wor"},
        {"text[0]", "H"},
        {"lower(text)", "hello world"},
        {"upper(\"abc\")", "ABC"},
        {"capitalize(\"hELLO\")", "Hello"},
        {"replace(\"aaa\", \"a\", \"b\", 2)", "bba"},
        {"replace(\"aaa\", \"a\", \"b\")", "bbb"},
        {"if \"ab\" == \"ab\" then \"same\" else \"different\"", "same"},
        {"if \"ab\" != \"ab\" then \"different\" else \"same\"", "same"},
        {"none or \"fallback\"", "fallback"},
        {"\"first\" or \"second\"", "first"},
        {"\"\" and \"never\"", ""},
        {"\"a\" and \"b\"", "b"},
        {"if \"ell\" in text then \"in\" else \"out\"", "in"},
        {"if \"xyz\" not in text then \"out\" else \"in\"", "out"},
        {"if \"bob\" in names then \"listed\" else \"not\"", "listed"},
        {"if \"eve\" in names then \"listed\" else \"not\"", "not"},
        {"units[\"mile\"]", "mi"},
        {"if spell(lower(text[0:5])) then \"known\" else \"unknown\"", "known"},
        {"if not spell(\"xyzzy\") and not false then \"both\" else \"no\"", "both"},
        {"word_before(\"one two \") + word_after(\" three four\", 2)", "twofour"},
        {"translate(\"abc\", \"ab\", \"x\")", "xbc"},
    };
    std::string source = header + "list names: bob alice\nmap units: mile=mi foot=ft\n";
    for (std::size_t n = 0; n < std::size(cases); ++n)
        source += "rule r" + std::to_string(n) + "\n    match q" + std::to_string(n) + "\n    suggest = " +
                  cases[n].expression + "\n    message m\n    flag \"q\" -> _\n    pass \"p\"\n";
    const lxrc::CompiledPackage compiled = lxrc::compilePackage(lxrc::parseRuleFiles({write("t.rules", source)}, {}));
    const std::string path = write("t.lxr", std::string(compiled.bytes.begin(), compiled.bytes.end()));
    OUString url;
    const OUString system = OUString::fromUtf8(path);
    ASSERT_EQ(osl_getFileURLFromSystemPath(system.pData, &url.pData), osl_File_E_None);
    const auto file = lexivor::RuleFile::load(url);
    ASSERT_TRUE(file);
    OneWordHost host;
    com::qam::vexo::lang::Locale locale;
    locale.Language = u"en";
    const OUString text(u"Hello world");
    const std::vector<bool> options;
    const lexivor::Context context{*file, locale, text, options, nullptr, host};
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].expression);
        const lexivor::Value v = lexivor::run(context, file->getCode(file->getRule(static_cast<unsigned>(i)).suggestionCode));
        EXPECT_EQ(v.str.toUtf8().getStr(), std::string(cases[i].result));
    }
}

} // namespace evaluation

} // namespace
