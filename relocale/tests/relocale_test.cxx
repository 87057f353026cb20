// Runs the built relocale as a user would: in a directory of its own, with
// arguments as typed in a shell, looking only at its output, exit status and files.

#include <testsupport/ScratchDir.hxx>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

const std::string usage = "usage: relocale <input> <output> <bcp47-language>\n"
                          "\n"
                          "<input> and <output> are paths or file URLs and may name the same file.\n"
                          "An empty language only strips the markers.  Prints \"translated\" when\n"
                          "the language matched a locale of the stream, \"copied untranslated\"\n"
                          "otherwise.\n";

const std::string hotel = "Hotel Rigi: [[lang=en]]breakfast from 7 am[[lang=de]]Frühstück ab 7 Uhr[[/lang]]\n"
                          "[[lang=en]]Parking[[lang=de]]Parkplatz[[lang=de-CH]]Parkierung[[/lang]]: 12 CHF\n";
const std::string hotelEn = "Hotel Rigi: breakfast from 7 am\nParking: 12 CHF\n";
const std::string hotelDe = "Hotel Rigi: Frühstück ab 7 Uhr\nParkplatz: 12 CHF\n";
const std::string hotelDeCh = "Hotel Rigi: Frühstück ab 7 Uhr\nParkierung: 12 CHF\n";

using testsupport::readFile;
using testsupport::writeFile;

class ScratchDir : public testsupport::ScratchDir {
public:
    ScratchDir() : testsupport::ScratchDir("relocale-test") {}
};

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

// Starts program with args in cwd, without LD_LIBRARY_PATH, so that only its own
// RUNPATH can find its libraries, and with extraEnvironment added; standard
// output and error go to files.
Outcome run(const std::string& program, const std::vector<std::string>& args, const fs::path& cwd,
            std::vector<std::string> extraEnvironment = {}) {
    ScratchDir capture;
    std::string outPath = capture.path("stdout");
    std::string errPath = capture.path("stderr");

    std::vector<std::string> storage{program};
    storage.insert(storage.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& s : storage)
        argv.push_back(s.data());
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (char** e = environ; *e != nullptr; ++e) {
        if (std::strncmp(*e, "LD_LIBRARY_PATH=", 16) != 0)
            envp.push_back(*e);
    }
    for (std::string& e : extraEnvironment)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    std::string dir = cwd.string();

    pid_t pid = ::fork();
    if (pid < 0)
        throw std::runtime_error("fork failed");
    if (pid == 0) {
        int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (out < 0 || err < 0 || ::dup2(out, 1) < 0 || ::dup2(err, 2) < 0 || ::chdir(dir.c_str()) != 0)
            ::_exit(126);
        ::execve(argv[0], argv.data(), envp.data());
        ::_exit(125);
    }
    int wstatus = 0;
    if (::waitpid(pid, &wstatus, 0) != pid)
        throw std::runtime_error("waitpid failed");
    Outcome outcome;
    outcome.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : 128 + WTERMSIG(wstatus);
    outcome.out = readFile(outPath);
    outcome.err = readFile(errPath);
    return outcome;
}

Outcome relocale(const std::vector<std::string>& args, const fs::path& cwd) { return run(RELOCALE_EXE, args, cwd); }

TEST(RelocaleArguments, WrongCountPrintsUsageAndTouchesNothing) {
    const std::vector<std::string> cases[] = {
        {},
        {"in.txt", "out.txt"},
        {"in.txt", "out.txt", "de", "extra"},
        {"in.txt", "in.txt", "de", "de"},
    };
    for (const auto& args : cases) {
        SCOPED_TRACE(::testing::PrintToString(args));
        ScratchDir dir;
        writeFile(dir.path("in.txt"), hotel);
        Outcome o = relocale(args, dir.root());
        EXPECT_EQ(o.status, 1);
        EXPECT_EQ(o.out, "");
        EXPECT_EQ(o.err, usage);
        EXPECT_EQ(dir.entries(), std::set<std::string>{"in.txt"});
        EXPECT_EQ(readFile(dir.path("in.txt")), hotel);
    }
}

TEST(RelocaleOutcome, ReportsTheRoutinesResult) {
    struct Case {
        std::string language;
        std::string out;
        std::string document;
    };
    const Case cases[] = {
        {"de", "translated\n", hotelDe},
        {"de-CH", "translated\n", hotelDeCh},
        {"en-US", "translated\n", hotelEn},
        {"fr", "copied untranslated\n", hotel},
        {"", "copied untranslated\n", hotelEn},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.language);
        ScratchDir dir;
        writeFile(dir.path("in.txt"), hotel);
        Outcome o = relocale({"in.txt", "out.txt", c.language}, dir.root());
        EXPECT_EQ(o.status, 0);
        EXPECT_EQ(o.out, c.out);
        EXPECT_EQ(o.err, "");
        EXPECT_EQ(readFile(dir.path("out.txt")), c.document);
        EXPECT_EQ(readFile(dir.path("in.txt")), hotel);
    }
}

TEST(RelocaleOutcome, AnOutputNameOfTheFileSystemsGreatestLengthIsWritten) {
    for (std::size_t length : {246u, 255u}) {
        SCOPED_TRACE(length);
        const std::string name = std::string(length - 4, 'o') + ".txt";
        ScratchDir dir;
        writeFile(dir.path("in.txt"), hotel);
        Outcome o = relocale({"in.txt", name, "de-CH"}, dir.root());
        EXPECT_EQ(o.err, "");
        EXPECT_EQ(o.out, "translated\n");
        EXPECT_EQ(o.status, 0);
        EXPECT_EQ(readFile(dir.path(name)), hotelDeCh);
        EXPECT_EQ(dir.entries(), (std::set<std::string>{"in.txt", name}));
    }
}

TEST(RelocaleArguments, PathsAndUrlsNameTheIntendedFiles) {
    ScratchDir dir;
    fs::create_directory(dir.root() / "sub");
    writeFile(dir.path("sub/in.txt"), hotel);
    const std::string root = dir.root().string();
    struct Case {
        std::string input;
        std::string output;
        std::string written; // relative to the scratch directory
    };
    const Case cases[] = {
        {"sub/in.txt", "out1.txt", "out1.txt"},
        {"./sub/../sub/in.txt", "sub/out2.txt", "sub/out2.txt"},
        {root + "/sub/in.txt", root + "/out3.txt", "out3.txt"},
        {"file://" + root + "/sub/in.txt", "file://" + root + "/out4.txt", "out4.txt"},
        {"FILE://" + root + "/sub/in.txt", "File://" + root + "/out5.txt", "out5.txt"},
        {"sub/in.txt", "name with blanks %41.txt", "name with blanks %41.txt"},
        {"sub/in.txt", "ausgäbe.txt", "ausgäbe.txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input + " -> " + c.output);
        // Run in sub/ for the absolute forms, so that a URL mistaken for a path
        // would be looked for somewhere else and fail.
        bool relative = c.input[0] != '/' && !c.input.starts_with("file") && !c.input.starts_with("FILE");
        Outcome o = relocale({c.input, c.output, "de"}, relative ? dir.root() : dir.root() / "sub");
        EXPECT_EQ(o.status, 0);
        EXPECT_EQ(o.err, "");
        EXPECT_EQ(o.out, "translated\n");
        EXPECT_EQ(readFile(dir.path(c.written)), hotelDe);
    }
}

TEST(RelocaleArguments, UrlWithoutAuthorityGoesToTheHostUnchanged) {
    // "file:/..." is a URL to the tool, whatever the host makes of it; the
    // runtime takes only "file://" URLs, so the host refuses it.  Read as a
    // relative path it would have found the decoy below "file:" and succeeded.
    ScratchDir dir;
    const std::string root = dir.root().string();
    writeFile(dir.path("in.txt"), hotel);
    fs::create_directories(dir.root() / ("file:" + root));
    writeFile(dir.path("file:" + root + "/in.txt"), "[[lang=de]]decoy[[/lang]]");
    const std::string input = "file:" + root + "/in.txt";
    Outcome o = relocale({input, "fIlE:" + root + "/out.txt", "de"}, dir.root());
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.out, "");
    EXPECT_EQ(o.err, "relocale: could not rewrite " + input + "\n");
    EXPECT_EQ(readFile(dir.path("out.txt")), "<missing>");
    EXPECT_EQ(readFile(dir.path("file:" + root + "/out.txt")), "<missing>");
}

TEST(RelocaleArguments, SameFileForInputAndOutput) {
    ScratchDir dir;
    writeFile(dir.path("doc.txt"), hotel);
    Outcome o = relocale({"doc.txt", dir.path("doc.txt"), "de-CH"}, dir.root());
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.out, "translated\n");
    EXPECT_EQ(o.err, "");
    EXPECT_EQ(readFile(dir.path("doc.txt")), hotelDeCh);
    EXPECT_EQ(dir.entries(), std::set<std::string>{"doc.txt"});
}

TEST(RelocaleFailure, NamesTheInputAsTyped) {
    // With the host's warnings switched on, standard error also shows whether the
    // host was called, and why it refused ("$D" stands for the working directory).
    // A language that is not UTF-8 never reaches it.
    struct Case {
        std::string input;
        std::string output;
        std::string language;
        std::string hostWarning;
    };
    const Case cases[] = {
        {"./bad.txt", "out.txt", "de", "$D/bad.txt line 1: group without \"[[/lang]]\""},
        {"missing.txt", "out.txt", "de", "cannot read $D/missing.txt: No such file or directory"},
        {"", "out.txt", "de", "input is not a file URL: "},
        {"in.txt", "nowhere/out.txt", "de", "cannot write $D/nowhere/out.txt: No such file or directory"},
        {"in.txt", "in.txt/out.txt", "de", "cannot write $D/in.txt/out.txt: Not a directory"},
        {"in.txt", "out.txt", "de_CH", "language is not a well-formed tag: \"de_CH\""},
        {"in.txt", "out.txt", "\xff", ""},           // not UTF-8
        {"in.txt", "out.txt", "de\xc3", ""},         // truncated UTF-8
        {"in.txt", "out.txt", "\xc0\xa0", ""},       // overlong UTF-8
        {"in.txt", "out.txt", "de-\xed\xa0\x80", ""}, // encoded surrogate
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input + " " + c.output + " " + c.language);
        ScratchDir dir;
        writeFile(dir.path("in.txt"), hotel);
        writeFile(dir.path("bad.txt"), "[[lang=de]]unclosed");
        writeFile(dir.path("out.txt"), "previous output\n");
        const std::string line = "relocale: could not rewrite " + c.input + "\n";
        Outcome o = relocale({c.input, c.output, c.language}, dir.root());
        EXPECT_EQ(o.status, 1);
        EXPECT_EQ(o.out, "");
        EXPECT_EQ(o.err, line);

        std::string warning = c.hostWarning;
        if (auto at = warning.find("$D"); at != std::string::npos)
            warning.replace(at, 2, dir.root().string());
        Outcome logged = run(RELOCALE_EXE, {c.input, c.output, c.language}, dir.root(), {"QX_LOG=warn:desktop.l10n"});
        EXPECT_EQ(logged.status, 1);
        EXPECT_EQ(logged.err, (warning.empty() ? "" : "warn:desktop.l10n: translateDocument: " + warning + "\n") + line);

        EXPECT_EQ(readFile(dir.path("out.txt")), "previous output\n");
        EXPECT_EQ(readFile(dir.path("in.txt")), hotel);
        EXPECT_EQ(dir.entries(), (std::set<std::string>{"in.txt", "bad.txt", "out.txt"}));
    }
}

// An installed tree is program/ with the executable and the two libraries, and
// nothing else tells the loader where they are.
TEST(RelocaleInstalled, RunsFromItsOwnDirectory) {
    ScratchDir tree;
    fs::path program = tree.root() / "program";
    fs::create_directory(program);
    fs::path exe = program / "relocale";
    fs::copy_file(RELOCALE_EXE, exe);
    writeFile(tree.path("in.txt"), hotel);

    // Without its libraries beside it the copy cannot start: it neither reaches
    // back into the build tree nor looks in the working directory, even one that
    // holds the libraries.
    Outcome alone = run(exe.string(), {tree.path("in.txt"), tree.path("out.txt"), "de"},
                        fs::path(RELOCALE_EXE).parent_path());
    EXPECT_EQ(alone.status, 127);
    EXPECT_NE(alone.err.find("error while loading shared libraries"), std::string::npos) << alone.err;
    EXPECT_EQ(readFile(tree.path("out.txt")), "<missing>");

    for (const char* library : {SALQX_LIBRARY, MERGEDQX_LIBRARY})
        fs::copy_file(library, program / fs::path(library).filename());
    Outcome o = run(exe.string(), {"in.txt", "out.txt", "de"}, tree.root());
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.err, "");
    EXPECT_EQ(o.out, "translated\n");
    EXPECT_EQ(readFile(tree.path("out.txt")), hotelDe);
}

} // namespace
