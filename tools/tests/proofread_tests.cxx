// proofread as a user runs it: the built executable in its program directory,
// with the sample English package of the build tree, the host's Hunspell
// dictionary and number texts.

#include <testsupport/lexivor/PackageBuilder.hxx>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <fstream>
#include <map>
#include <optional>
#include <spawn.h>
#include <chrono>
#include <csignal>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
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
    bool timedOut = false;
};

// How the program is started, beyond its arguments, input and environment.
struct Start {
    std::string stdoutPath;    // where standard output goes; empty: a file that `run` reads back
    bool closeStdout = false;  // start with standard output closed
    std::string stdinPath;     // where standard input comes from; empty: the `input` argument
    std::optional<rlim_t> dataLimit; // a limit on the data segment, in bytes
    int seconds = 120;         // killed after this long, and reported as timed out
    std::function<void(pid_t)> whileRunning; // runs once the program has started
};

Start writingTo(std::string path) {
    Start s;
    s.stdoutPath = std::move(path);
    return s;
}
Start withStdoutClosed() {
    Start s;
    s.closeStdout = true;
    return s;
}
Start within(int seconds) {
    Start s;
    s.seconds = seconds;
    return s;
}
Start withDataLimit(rlim_t bytes) {
    Start s;
    s.dataLimit = bytes;
    return s;
}

// Whether this build runs under AddressSanitizer, which reserves far more
// address space than a memory limit would leave.
constexpr bool underAddressSanitizer =
#if defined(__SANITIZE_ADDRESS__)
    true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    true;
#else
    false;
#endif
#else
    false;
#endif

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
                const std::map<std::string, std::optional<std::string>>& env = {}, const Start& start = {}) {
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

        const fs::path in = start.stdinPath.empty() ? dir_ / ".stdin" : fs::path(start.stdinPath);
        const fs::path out = start.stdoutPath.empty() ? dir_ / ".stdout" : fs::path(start.stdoutPath);
        const fs::path err = dir_ / ".stderr";
        if (start.stdinPath.empty()) writeFile(in, input);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, in.c_str(), O_RDONLY, 0);
        if (start.closeStdout)
            posix_spawn_file_actions_addclose(&actions, 1);
        else
            posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_addchdir_np(&actions, dir_.c_str());
        // The child inherits the limit; the test's own is back at once.
        rlimit previous{};
        if (start.dataLimit) {
            getrlimit(RLIMIT_DATA, &previous);
            rlimit limited = previous;
            limited.rlim_cur = *start.dataLimit;
            setrlimit(RLIMIT_DATA, &limited);
        }
        pid_t pid = 0;
        const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
        if (start.dataLimit) setrlimit(RLIMIT_DATA, &previous);
        posix_spawn_file_actions_destroy(&actions);
        Outcome outcome;
        if (spawned != 0) {
            ADD_FAILURE() << "cannot start " << argv[0];
            return outcome;
        }
        if (start.whileRunning) start.whileRunning(pid);
        int status = 0;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(start.seconds);
        while (waitpid(pid, &status, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() > deadline) {
                kill(pid, SIGKILL);
                waitpid(pid, &status, 0);
                outcome.timedOut = true;
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        if (start.stdoutPath.empty() && !start.closeStdout) outcome.out = readFile(out);
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
        {{"--lang", "english!", "notes.txt"}, "proofread: unknown language 'english!' (available: en-US, en-GB)\n"},
        {{"--lang", "de-DE", "notes.txt"},
         "proofread: no rules for language de-DE in " + ruleDir + " (available: en-US, en-GB)\n"},
        {{"--lang", "fr", "notes.txt"}, "proofread: no rules for language fr in " + ruleDir + " (available: en-US, en-GB)\n"},
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
                         "/share/lexivor (available: en-US, en-GB; choose one with --lang)\n");
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
                         " (available: none; choose one with --lang)\n");
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.status, 2);

    // A tree without a rule directory says so.
    fs::create_directories(dir_ / "bare/share");
    r = run({"--lang", "en-US", "notes.txt"}, {}, {{"BRAND_BASE_DIR", (dir_ / "bare").string()}});
    const std::string missing = (dir_ / "bare/share/lexivor").string();
    EXPECT_EQ(r.err, "proofread: no rules for language en-US in " + missing + " (available: none; cannot read " +
                         missing + ": No such file or directory)\n");
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.status, 2);
}

TEST_F(ProofreadTest, OutputThatCannotBeWrittenEndsWithStatusTwoAndOneLine) {
    file("notes.txt", sampleText);
    struct Case {
        const char* what;
        Start start;
        std::vector<std::string> args;
        std::string err;
    };
    const Case cases[] = {
        {"full disk", writingTo("/dev/full"), {"notes.txt"},
         "proofread: cannot write to standard output: No space left on device\n"},
        {"full disk, JSON", writingTo("/dev/full"), {"--json", "notes.txt"},
         "proofread: cannot write to standard output: No space left on device\n"},
        {"closed", withStdoutClosed(), {"notes.txt"},
         "proofread: cannot write to standard output: Bad file descriptor\n"},
        {"help, full disk", writingTo("/dev/full"), {"--help"},
         "proofread: cannot write to standard output: No space left on device\n"},
        {"help, closed", withStdoutClosed(), {"--help"},
         "proofread: cannot write to standard output: Bad file descriptor\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Outcome r = run(c.args, {}, {}, c.start);
        EXPECT_EQ(r.err, c.err);
        EXPECT_EQ(r.status, 2);
    }
    // Nothing to write is no failure.
    file("clean.txt", "An apple a day.\n");
    for (const Start& start : {writingTo("/dev/full"), withStdoutClosed()}) {
        const Outcome r = run({"clean.txt"}, {}, {}, start);
        EXPECT_EQ(r.err, "");
        EXPECT_EQ(r.status, 0);
    }
}

TEST_F(ProofreadTest, AParagraphOverSixteenMebibytesStopsTheCheck) {
    const std::size_t limit = std::size_t(16) << 20;
    const std::string firstParagraph = "big.txt:1:4: Did you mean \"could have\"? [" + couldOf + "] -> could have\n";
    struct Case {
        const char* what;
        std::string text;
        std::string out; // the paragraphs before the long one are checked
        std::string err;
    };
    // Lines of 1 MiB each, so that the paragraph passes the limit only with its 17th line.
    std::string megabyteLines;
    for (int i = 0; i < 17; ++i) megabyteLines += std::string((std::size_t(1) << 20) - 1, 'a') + "b\n";
    const Case cases[] = {
        {"one long line", "We could of.\n\n" + std::string(limit + 1, 'a') + "\n", firstParagraph,
         "proofread: big.txt:3: paragraph longer than 16 MiB\n"},
        {"one long last line", "We could of.\n\n\n" + std::string(limit + 1, 'a'), firstParagraph,
         "proofread: big.txt:4: paragraph longer than 16 MiB\n"},
        {"many lines", "We could of.\n\nfirst\n" + megabyteLines, firstParagraph,
         "proofread: big.txt:3: paragraph longer than 16 MiB\n"},
        // A line counts towards the paragraph it would end, blank or not.
        {"long blank line", "We could of.\n" + std::string(limit + 1, ' ') + "\n", "",
         "proofread: big.txt:1: paragraph longer than 16 MiB\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        file("big.txt", c.text);
        const Outcome r = run({"big.txt"});
        EXPECT_EQ(r.out, c.out);
        EXPECT_EQ(r.err, c.err);
        EXPECT_EQ(r.status, 2);
    }
}

TEST_F(ProofreadTest, EndlessInputStopsAtTheParagraphLimit) {
    const Outcome r = run({"/dev/zero"}, {}, {}, within(60));
    EXPECT_FALSE(r.timedOut);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "proofread: /dev/zero:1: paragraph longer than 16 MiB\n");
    EXPECT_EQ(r.status, 2);
}

TEST_F(ProofreadTest, ExhaustedMemoryEndsWithStatusTwoAndOneLine) {
    if (underAddressSanitizer) GTEST_SKIP() << "a memory limit leaves AddressSanitizer no room to start";
    // A paragraph under the size limit, in a process that may not hold it.
    file("large.txt", std::string(std::size_t(15) << 20, 'a') + "\n");
    const Outcome r = run({"large.txt"}, {}, {}, withDataLimit(rlim_t(48) << 20));
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "proofread: out of memory\n");
    EXPECT_EQ(r.status, 2);
}

TEST_F(ProofreadTest, ALanguageWithoutRulesOfItsOwnTakesAnInstalledOneAndSaysWhich) {
    file("notes.txt", "We could of.\n");
    const std::string finding = "notes.txt:1:4: Did you mean \"could have\"? [" + couldOf + "] -> could have\n";
    struct Case {
        std::vector<std::string> args;
        std::map<std::string, std::optional<std::string>> env;
        std::string err;
    };
    const Case cases[] = {
        {{"--lang", "en-GB"}, {}, ""},
        {{"--lang", "EN-gb"}, {}, ""},
        {{"--lang", "en"}, {}, "proofread: no rules for language en, using en-US\n"},
        {{"--lang", "en-AU"}, {}, "proofread: no rules for language en-AU, using en-US\n"},
        {{"--lang", "en-GB-oxendict"}, {}, "proofread: no rules for language en-GB-oxendict, using en-GB\n"},
        {{"--lang", "en-Latn-GB"}, {}, "proofread: no rules for language en-Latn-GB, using en-US\n"},
        {{}, {{"LANG", "en_NZ.UTF-8"}}, "proofread: no rules for language en-NZ, using en-US\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.empty() ? "LANG" : c.args.back());
        std::vector<std::string> args = c.args;
        args.push_back("notes.txt");
        const Outcome r = run(args, {}, c.env);
        EXPECT_EQ(r.err, c.err);
        EXPECT_EQ(r.out, finding);
        EXPECT_EQ(r.status, 1);
    }
}

// Runs proofread on a tree of its own whose rule directory holds `files`.
class PackageTreeTest : public ProofreadTest {
protected:
    fs::path rules() const { return dir_ / "tree/share/lexivor"; }
    void SetUp() override {
        ProofreadTest::SetUp();
        fs::create_directories(rules());
        file("notes.txt", "We could of foo.\n");
    }
    static std::string package(const std::string& tag) {
        testsupport::lexivor::PackageBuilder b;
        b.name("Other").languageTag(tag);
        b.rule({.pattern = "\\bfoo\\b", .suggestion = "bar", .message = "Not foo."});
        const std::vector<unsigned char> bytes = b.build();
        return std::string(bytes.begin(), bytes.end());
    }
    Outcome check(const std::vector<std::string>& args) {
        return run(args, {}, {{"BRAND_BASE_DIR", (dir_ / "tree").string()}}, within(60));
    }
};

TEST_F(PackageTreeTest, APackageThatCannotBeUsedIsNamedWithTheReason) {
    const std::string good = package("en-US");
    struct Case {
        const char* what;
        std::string bytes;
        std::string reason;
    };
    const Case cases[] = {
        {"too short", good.substr(0, 87), "87 bytes is too small for a rule package"},
        {"damaged", std::string(100, ' '), "not a usable rule package (damaged, or of another format version)"},
        {"wrong version", good.substr(0, 8) + '\x07' + good.substr(9),
         "not a usable rule package (damaged, or of another format version)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        writeFile(rules() / "en.lxr", c.bytes);
        const Outcome r = check({"--lang", "en-US", "notes.txt"});
        EXPECT_EQ(r.err, "proofread: no rules for language en-US in " + rules().string() +
                             " (available: none; cannot use " + (rules() / "en.lxr").string() + ": " + c.reason +
                             ")\n");
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.status, 2);
    }

    // Beside a good package for another language, the broken one is still named.
    writeFile(rules() / "de.lxr", package("de-DE"));
    const Outcome r = check({"--lang", "en-US", "notes.txt"});
    EXPECT_EQ(r.err, "proofread: no rules for language en-US in " + rules().string() +
                         " (available: de-DE; cannot use " + (rules() / "en.lxr").string() + ": " +
                         cases[2].reason + ")\n");
    EXPECT_EQ(r.status, 2);
}

// Whether the process waits in a read of its standard input.
bool readingStandardInput(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/syscall");
    std::string number, fd;
    in >> number >> fd;
    return number == "0" && fd == "0x0"; // read(0, ...)
}

TEST_F(PackageTreeTest, APackageThatBreaksAfterItWasFoundFailsTheRun) {
    writeFile(rules() / "en.lxr", package("en-US"));
    // Standard input is a FIFO, so that the package can be replaced between
    // discovery and the first check: the program has found its packages once
    // it waits for input.
    const fs::path input = dir_ / "input";
    ASSERT_EQ(::mkfifo(input.c_str(), 0600), 0);
    const int writer = ::open(input.c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(writer, 0);
    bool replaced = false;
    Start start = within(60);
    start.stdinPath = input.string();
    start.whileRunning = [&](pid_t pid) {
        for (int i = 0; i < 3000 && !readingStandardInput(pid); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        // Replaced as packages should be, by rename, with a damaged file.
        writeFile(rules() / ".en.lxr.new", std::string(100, ' '));
        fs::rename(rules() / ".en.lxr.new", rules() / "en.lxr");
        replaced = true;
        const std::string text = "We could of foo.\n";
        EXPECT_EQ(::write(writer, text.data(), text.size()), static_cast<ssize_t>(text.size()));
        ::close(writer);
    };
    const Outcome r = run({"--lang", "en-US"}, {}, {{"BRAND_BASE_DIR", (dir_ / "tree").string()}}, start);
    EXPECT_TRUE(replaced);
    EXPECT_FALSE(r.timedOut);
    EXPECT_EQ(r.err, "proofread: cannot use " + (rules() / "en.lxr").string() +
                         ": not a usable rule package (damaged, or of another format version)\n");
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.status, 2);
}

TEST_F(PackageTreeTest, AFifoNamedLikeAPackageIsPassedOverWithoutWaiting) {
    writeFile(rules() / "en.lxr", package("en-US"));
    ASSERT_EQ(::mkfifo((rules() / "pipe.lxr").c_str(), 0600), 0);
    Outcome r = check({"--lang", "en-US", "notes.txt"});
    EXPECT_FALSE(r.timedOut);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, "notes.txt:1:13: Not foo. [\\bfoo\\b] -> bar\n");
    EXPECT_EQ(r.status, 1);

    // Alone, it is named as what it is.
    fs::remove(rules() / "en.lxr");
    r = check({"--lang", "en-US", "notes.txt"});
    EXPECT_FALSE(r.timedOut);
    EXPECT_EQ(r.err, "proofread: no rules for language en-US in " + rules().string() + " (available: none; cannot use " +
                         (rules() / "pipe.lxr").string() + ": not a regular file)\n");
    EXPECT_EQ(r.status, 2);
}

} // namespace
