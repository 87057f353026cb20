// proofread as a user runs it: the built executable in its program directory,
// with the sample English package of the build tree, the host's Hunspell
// dictionary and number texts.

#include <testsupport/lexivor/PackageBuilder.hxx>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

// The sample package's rule identifiers (their expressions), as reported.
const std::string aBeforeVowel = R"(\b(a|(?<![\w,;:] )A) ([aeiouAEIOU][a-z]*)\b)";
const std::string doubledWord = R"(\b(\p{L}+) (?i:\1)\b)";
const std::string couldOf = R"(\b([Cc]ould|[Ww]ould|[Ss]hould|[Mm]ight|[Mm]ust) of\b)";
const std::string numberInWords = R"((?<![\d.,])\b([1-9]) ([a-z]+s)\b)";
const std::string metric =
    R"((?<![\d,.])(\d{1,3}(?:,\d{3})+(?:\.\d+)?|\d+(?:\.\d+)?) (miles?|mi|feet|foot|ft|pounds?|lbs?)\b)";
const std::string hyphenated = R"(\b([A-Za-z]+)-([A-Za-z]+)\b)";

const std::string usage = "usage: proofread [--lang TAG] [--json] [FILE...]";

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void writeFile(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    ASSERT_TRUE(out.flush()) << path;
}

class ProofreadTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "proofread-test-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }

    fs::path file(const std::string& name, const std::string& bytes) {
        const fs::path path = dir_ / name;
        writeFile(path, bytes);
        return path;
    }

    // Runs proofread in the test's directory with standard input from `input`.
    // The environment is the test's own with the build tree as the host's tree
    // and English as the user's language, changed by `env` (nothing removes a
    // variable).
    Outcome run(const std::vector<std::string>& args, const std::string& input = {},
                const std::map<std::string, std::optional<std::string>>& env = {}) {
        std::map<std::string, std::optional<std::string>> variables;
        for (char** e = environ; *e != nullptr; ++e) {
            const std::string entry = *e;
            const std::size_t eq = entry.find('=');
            if (eq != std::string::npos) variables[entry.substr(0, eq)] = entry.substr(eq + 1);
        }
        variables["BRAND_BASE_DIR"] = QX_BUILD_DIR;
        variables["LC_ALL"] = std::nullopt;
        variables["LC_MESSAGES"] = std::nullopt;
        variables["LANG"] = "en_US.UTF-8";
        for (const auto& [name, value] : env) variables[name] = value;
        std::vector<std::string> envStrings;
        for (const auto& [name, value] : variables)
            if (value) envStrings.push_back(name + "=" + *value);
        std::vector<char*> envp;
        for (auto& s : envStrings) envp.push_back(s.data());
        envp.push_back(nullptr);

        std::vector<std::string> argStrings{PROOFREAD_EXECUTABLE};
        argStrings.insert(argStrings.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (auto& s : argStrings) argv.push_back(s.data());
        argv.push_back(nullptr);

        const fs::path in = dir_ / ".stdin", out = dir_ / ".stdout", err = dir_ / ".stderr";
        writeFile(in, input);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, in.c_str(), O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_addchdir_np(&actions, dir_.c_str());
        pid_t pid = 0;
        const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
        posix_spawn_file_actions_destroy(&actions);
        Outcome outcome;
        if (spawned != 0) {
            ADD_FAILURE() << "cannot start " << argv[0];
            return outcome;
        }
        int status = 0;
        waitpid(pid, &status, 0);
        outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        outcome.out = readFile(out);
        outcome.err = readFile(err);
        return outcome;
    }

    fs::path dir_;
};

// Two paragraphs; the first runs over two lines, with a word doubled across
// the line break and an exception ("that that") that the rules accept.
const std::string sampleText = "This is a example of the\n"
                               "the rule, and I know that that is 3 days work.\n"
                               "\n"
                               "  You could of told me.\n";

TEST_F(ProofreadTest, PlainOutputReportsEachErrorAtItsLineAndColumn) {
    file("notes.txt", sampleText);
    const Outcome r = run({"notes.txt"});
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, "notes.txt:1:9: Use \"an\" before a word that starts with a vowel sound. [" + aBeforeVowel +
                         "] -> an\n"
                         "notes.txt:1:22: The word \"the\" is repeated. [" + doubledWord + "] -> the\n"
                         "notes.txt:2:35: Write small numbers in words. [" + numberInWords + "] -> three\n"
                         "notes.txt:4:7: Did you mean \"could have\"? [" + couldOf + "] -> could have\n");
    EXPECT_EQ(r.status, 1);
}

TEST_F(ProofreadTest, JsonOutputHasOneObjectPerErrorWithParagraphOffsets) {
    file("notes.txt", sampleText);
    const Outcome r = run({"--json", "notes.txt"});
    EXPECT_EQ(r.err, "");
    auto escaped = [](std::string s) {
        std::string out;
        for (char c : s) {
            if (c == '\\' || c == '"') out += '\\';
            out += c;
        }
        return out;
    };
    EXPECT_EQ(r.out,
              "{\"file\":\"notes.txt\",\"line\":1,\"column\":9,\"start\":8,\"length\":1,\"rule\":\"" +
                  escaped(aBeforeVowel) +
                  "\",\"message\":\"Use \\\"an\\\" before a word that starts with a vowel sound.\","
                  "\"comment\":\"Use \\\"an\\\" before a word that starts with a vowel sound.\",\"suggestions\":[\"an\"]}\n"
                  "{\"file\":\"notes.txt\",\"line\":1,\"column\":22,\"start\":21,\"length\":7,\"rule\":\"" +
                  escaped(doubledWord) +
                  "\",\"message\":\"The word \\\"the\\\" is repeated.\",\"comment\":\"The word \\\"the\\\" is "
                  "repeated.\",\"suggestions\":[\"the\"]}\n"
                  "{\"file\":\"notes.txt\",\"line\":2,\"column\":35,\"start\":59,\"length\":1,\"rule\":\"" +
                  escaped(numberInWords) +
                  "\",\"message\":\"Write small numbers in words.\",\"comment\":\"Write small numbers in words.\","
                  "\"suggestions\":[\"three\"]}\n"
                  "{\"file\":\"notes.txt\",\"line\":4,\"column\":7,\"start\":4,\"length\":8,\"rule\":\"" +
                  escaped(couldOf) +
                  "\",\"message\":\"Did you mean \\\"could have\\\"?\",\"comment\":\"Did you mean \\\"could "
                  "have\\\"?\",\"url\":\"https://en.wiktionary.org/wiki/could_of\",\"suggestions\":[\"could "
                  "have\"]}\n");
    EXPECT_EQ(r.status, 1);
}

TEST_F(ProofreadTest, ColumnsCountCharactersAcrossJoinedLinesAndOutsideTheBasicPlane) {
    // U+00E8 and U+00FB are one UTF-16 unit each, U+1F600 two; every one of
    // them is one column.  The error on line 2 lies behind the joining space.
    file("unicode.txt", "Cr\xC3\xA8me br\xC3\xBBl\xC3\xA9\x65 \xF0\x9F\x98\x80 is\n"
                        "\xF0\x9F\x98\x80\xF0\x9F\x98\x80 a apple.\n");
    const Outcome r = run({"--json", "unicode.txt"});
    EXPECT_EQ(r.err, "");
    // Paragraph: "Crème brûlée 😀 is 😀😀 a apple."; line 1 takes 18 units
    // (the emoji two of them), the joining space one, so the "a" is at UTF-16
    // offset 24, and on line 2 at column 4.
    EXPECT_NE(r.out.find("\"line\":2,\"column\":4,\"start\":24,\"length\":1,"), std::string::npos) << r.out;
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 1) << r.out;
    EXPECT_EQ(r.status, 1);
}

TEST_F(ProofreadTest, StandardInputIsCheckedWhenNoFileIsGivenOrForDash) {
    for (const std::vector<std::string>& args : {std::vector<std::string>{}, std::vector<std::string>{"-"}}) {
        SCOPED_TRACE(args.empty() ? "no file" : "-");
        const Outcome r = run(args, "One line.\n\nWe could of.\n");
        EXPECT_EQ(r.err, "");
        EXPECT_EQ(r.out, "<stdin>:3:4: Did you mean \"could have\"? [" + couldOf + "] -> could have\n");
        EXPECT_EQ(r.status, 1);
    }
}

TEST_F(ProofreadTest, CleanTextGivesNoOutputAndStatusZero) {
    file("clean.txt", "An apple a day keeps the doctor away.\n\nThree days passed.\n");
    const Outcome r = run({"clean.txt"});
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.status, 0);
}

TEST_F(ProofreadTest, SampleRulesCoverMeasurementsAndSpelling) {
    file("more.txt", "It is 5 miles away; I will e-mail you.\n");
    const Outcome r = run({"more.txt"});
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, "more.txt:1:7: Consider adding the metric equivalent. [" + metric +
                         "] -> 8 km | 8.0 km | 8.05 km | 8.04672 km\n"
                         "more.txt:1:28: Usually written as one word: \"email\". [" + hyphenated + "] -> email\n");
    EXPECT_EQ(r.status, 1);
}

TEST_F(ProofreadTest, TroubleEndsWithStatusTwoAndOneLineOnStandardError) {
    file("notes.txt", sampleText);
    fs::create_directory(dir_ / "folder");
    file("latin1.txt", "fine\ncaf\xE9\n");
    struct Case {
        std::vector<std::string> args;
        std::string err;
    };
    const std::string ruleDir = std::string(QX_BUILD_DIR) + "/share/lexivor";
    const Case cases[] = {
        {{"--frobnicate", "notes.txt"}, "proofread: unknown option --frobnicate (" + usage + ")\n"},
        {{"--lang"}, "proofread: --lang needs a language tag (" + usage + ")\n"},
        {{"--lang=", "notes.txt"}, "proofread: --lang needs a language tag (" + usage + ")\n"},
        {{"--lang", "english!", "notes.txt"}, "proofread: unknown language 'english!'\n"},
        {{"--lang", "de-DE", "notes.txt"}, "proofread: no rules for language de-DE in " + ruleDir + "\n"},
        {{"missing.txt"}, "proofread: cannot read missing.txt: No such file or directory\n"},
        {{"folder"}, "proofread: cannot read folder: Is a directory\n"},
        {{"latin1.txt"}, "proofread: latin1.txt:2: not valid UTF-8\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.front());
        const Outcome r = run(c.args);
        EXPECT_EQ(r.err, c.err);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.status, 2);
    }
}

TEST_F(ProofreadTest, HelpPrintsUsageAndChecksNothing) {
    const Outcome r = run({"--help", "missing.txt"});
    EXPECT_EQ(r.out.substr(0, usage.size() + 1), usage + "\n");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.status, 0);
}

TEST_F(ProofreadTest, UnreadableFileAmongGoodOnesStillChecksTheOthers) {
    file("notes.txt", "We could of.\n");
    const Outcome r = run({"missing.txt", "notes.txt"});
    EXPECT_EQ(r.err, "proofread: cannot read missing.txt: No such file or directory\n");
    EXPECT_EQ(r.out, "notes.txt:1:4: Did you mean \"could have\"? [" + couldOf + "] -> could have\n");
    EXPECT_EQ(r.status, 2);
}

TEST_F(ProofreadTest, LanguageDefaultsToTheUsersLanguage) {
    file("notes.txt", "We could of.\n");
    Outcome r = run({"notes.txt"}, {}, {{"LANG", "en_GB.UTF-8"}});
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.status, 1);
    r = run({"notes.txt"}, {}, {{"LANG", "de_DE.UTF-8"}});
    EXPECT_EQ(r.err, "proofread: no rules for language de-DE in " + std::string(QX_BUILD_DIR) +
                         "/share/lexivor (choose one with --lang)\n");
    EXPECT_EQ(r.status, 2);
    r = run({"--lang", "en-GB", "notes.txt"}, {}, {{"LANG", "de_DE.UTF-8"}});
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.status, 1);
}

TEST_F(ProofreadTest, BrandBaseDirPointsAtAnotherTreesRules) {
    // A tree of its own with one package that knows one rule.
    fs::create_directories(dir_ / "tree/share/lexivor");
    testsupport::lexivor::PackageBuilder b;
    b.name("Other").languageTag("en-US");
    b.rule({.pattern = "\\bfoo\\b", .suggestion = "bar", .message = "Not foo."});
    const std::vector<unsigned char> bytes = b.build();
    writeFile(dir_ / "tree/share/lexivor/other.lxr", std::string(bytes.begin(), bytes.end()));
    fs::create_directories(dir_ / "empty/share/lexivor");
    file("notes.txt", "We could of foo.\n");

    Outcome r = run({"notes.txt"}, {}, {{"BRAND_BASE_DIR", (dir_ / "tree").string()}});
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, "notes.txt:1:13: Not foo. [\\bfoo\\b] -> bar\n");
    EXPECT_EQ(r.status, 1);

    r = run({"notes.txt"}, {}, {{"BRAND_BASE_DIR", (dir_ / "empty").string()}});
    EXPECT_EQ(r.err, "proofread: no rules for language en-US in " + (dir_ / "empty/share/lexivor").string() +
                         " (choose one with --lang)\n");
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.status, 2);
}

} // namespace
