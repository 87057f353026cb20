// Tests of the host's translation routine and of the start-up environment, on
// small marked-text documents in a fresh directory per test.

#include <desktop/l10n.hxx>
#include <tools/extendapplicationenvironment.hxx>

#include <osl/file.hxx>
#include <rtl/bootstrap.hxx>
#include <testsupport/LogCapture.hxx>

#include <testsupport/ScratchDir.hxx>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;
namespace result = desktop::l10n::result;

using testsupport::readFile;
using testsupport::writeFile;

class ScratchDir : public testsupport::ScratchDir {
public:
    ScratchDir() : testsupport::ScratchDir("l10n-test") {}
};

OUString urlOf(const std::string& path) {
    OUString url;
    if (osl::FileBase::getFileURLFromSystemPath(OUString::fromUtf8(path), url) != osl_File_E_None)
        throw std::runtime_error("no URL for " + path);
    return url;
}

int translate(const std::string& in, const std::string& out, const OUString& language) {
    return desktop::l10n::translateDocument(urlOf(in), urlOf(out), language);
}

const std::string hotel = "Hotel Rigi: [[lang=en]]breakfast from 7 am[[lang=de]]Frühstück ab 7 Uhr[[/lang]]\n"
                          "[[lang=en]]Parking[[lang=de]]Parkplatz[[lang=de-CH]]Parkierung[[/lang]]: 12 CHF\n";
const std::string hotelEn = "Hotel Rigi: breakfast from 7 am\nParking: 12 CHF\n";
const std::string hotelDe = "Hotel Rigi: Frühstück ab 7 Uhr\nParkplatz: 12 CHF\n";
const std::string hotelDeCh = "Hotel Rigi: Frühstück ab 7 Uhr\nParkierung: 12 CHF\n";

TEST(TranslateDocumentResolve, ResolvesMarkersForTheLanguage) {
    struct Case {
        std::string document;
        OUString language;
        int result;
        std::string output;
    };
    const Case cases[] = {
        {hotel, u"de", result::Translated, hotelDe},
        {hotel, u"de-CH", result::Translated, hotelDeCh},
        {hotel, u"DE-ch", result::Translated, hotelDeCh},
        {hotel, u"de-CH-1996", result::Translated, hotelDeCh},
        {hotel, u"de-CH-x-berne", result::Translated, hotelDeCh},
        {hotel, u"de-AT", result::Translated, hotelDe},
        {hotel, u"en-GB", result::Translated, hotelEn},
        {hotel, u"fr", result::CopiedUntranslated, hotel},
        {hotel, u"", result::CopiedUntranslated, hotelEn},
        // Lookup only widens: a region of the document does not serve its language.
        {"[[lang=en]]colour[[lang=en-US]]color[[/lang]]", u"en-US", result::Translated, "color"},
        {"[[lang=en-US]]color[[/lang]]", u"en", result::CopiedUntranslated, "[[lang=en-US]]color[[/lang]]"},
        // A group without the chosen language keeps its source text.
        {"[[lang=en]]Yes[[lang=de]]Ja[[/lang]] [[lang=en]]OK[[/lang]]", u"de", result::Translated, "Ja OK"},
        {"[[lang=en]]Note[[lang=de]][[/lang]]!", u"de", result::Translated, "!"},
        {"[[lang=es]]hola[[lang=es-419]]qué onda[[/lang]]", u"es-419", result::Translated, "qué onda"},
        // What only looks like a marker is text.
        {"a [[b]] [[LANG=de]]c[[/LANG]] [[lang ]]", u"de", result::CopiedUntranslated,
         "a [[b]] [[LANG=de]]c[[/LANG]] [[lang ]]"},
        {"a [[b]] [[lang ]]", u"", result::CopiedUntranslated, "a [[b]] [[lang ]]"},
        {"[[[lang=en]]x[[lang=de]]y[[/lang]]]]", u"de", result::Translated, "[y]]"},
        {"", u"de", result::CopiedUntranslated, ""},
        {"", u"", result::CopiedUntranslated, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("document \"" + c.document + "\", language \"" + c.language.toUtf8().toStdString() + "\"");
        ScratchDir dir;
        writeFile(dir.path("in.txt"), c.document);
        EXPECT_EQ(translate(dir.path("in.txt"), dir.path("out.txt"), c.language), c.result);
        EXPECT_EQ(readFile(dir.path("out.txt")), c.output);
        EXPECT_EQ(readFile(dir.path("in.txt")), c.document);
        EXPECT_EQ(dir.entries(), (std::set<std::string>{"in.txt", "out.txt"}));
    }
}

TEST(TranslateDocumentResolve, RewritesOneFileInPlace) {
    ScratchDir dir;
    writeFile(dir.path("doc.txt"), hotel);
    ASSERT_EQ(::chmod(dir.path("doc.txt").c_str(), 0640), 0);
    EXPECT_EQ(translate(dir.path("doc.txt"), dir.path("doc.txt"), u"de-CH"), result::Translated);
    EXPECT_EQ(readFile(dir.path("doc.txt")), hotelDeCh);
    EXPECT_EQ(dir.entries(), std::set<std::string>{"doc.txt"});
    struct stat st;
    ASSERT_EQ(::stat(dir.path("doc.txt").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);

    // A second pass finds no markers left, and says so.
    EXPECT_EQ(translate(dir.path("doc.txt"), dir.path("doc.txt"), u"de-CH"), result::CopiedUntranslated);
    EXPECT_EQ(readFile(dir.path("doc.txt")), hotelDeCh);
}

TEST(TranslateDocumentResolve, NewOutputFollowsTheUmaskAndLinksStay) {
    ScratchDir dir;
    writeFile(dir.path("in.txt"), hotel);
    mode_t previous = ::umask(027);
    int status = translate(dir.path("in.txt"), dir.path("new.txt"), u"de");
    ::umask(previous);
    EXPECT_EQ(status, result::Translated);
    struct stat st;
    ASSERT_EQ(::stat(dir.path("new.txt").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);

    writeFile(dir.path("target.txt"), "old");
    ASSERT_EQ(::symlink("target.txt", dir.path("link.txt").c_str()), 0);
    EXPECT_EQ(translate(dir.path("in.txt"), dir.path("link.txt"), u"en"), result::Translated);
    ASSERT_EQ(::lstat(dir.path("link.txt").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(readFile(dir.path("target.txt")), hotelEn);
    EXPECT_EQ(dir.entries(), (std::set<std::string>{"in.txt", "new.txt", "target.txt", "link.txt"}));
}

TEST(TranslateDocumentMalformed, FailsAndLeavesTheOutputAlone) {
    struct Case {
        std::string document;
        std::string problem;
    };
    const Case cases[] = {
        {"[[lang=de]]Hallo", "line 1: group without \"[[/lang]]\""},
        {"one\ntwo [[lang=en]]x[[lang=de]]y[[lang=EN]]z[[/lang]]", "line 2: second alternative for \"EN\" in one group"},
        {"[[lang=en]]a [[lang=de]]b[[/lang]] c[[/lang]]", "line 1: \"[[/lang]]\" outside a group"},
        {"text\n\n[[/lang]]", "line 3: \"[[/lang]]\" outside a group"},
        {"[[lang=en]]a[[/lang]] [[lang=de", "line 1: marker without \"]]\""},
        {"[[lang=]]x[[/lang]]", "line 1: bad language tag \"\""},
        {"[[lang=de_CH]]x[[/lang]]", "line 1: bad language tag \"de_CH\""},
        {"[[lang=d]]x[[/lang]]", "line 1: bad language tag \"d\""},
        {"[[lang=de-]]x[[/lang]]", "line 1: bad language tag \"de-\""},
        {"[[lang=1de]]x[[/lang]]", "line 1: bad language tag \"1de\""},
        {"[[lang=de-schweizer]]x[[/lang]]", "line 1: bad language tag \"de-schweizer\""},
        {"[[lang=de\n]]x[[/lang]]", "line 1: bad language tag \"de\n\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("document \"" + c.document + "\"");
        ScratchDir dir;
        writeFile(dir.path("in.txt"), c.document);
        writeFile(dir.path("out.txt"), "previous output\n");
        testsupport::LogCapture log("desktop.l10n");
        EXPECT_EQ(translate(dir.path("in.txt"), dir.path("out.txt"), u"de"), result::MalformedDocument);
        EXPECT_EQ(log.texts(SALQX_LOG_WARN),
                  std::vector<std::string>{"translateDocument: " + dir.path("in.txt") + " " + c.problem});
        EXPECT_EQ(readFile(dir.path("out.txt")), "previous output\n");
        EXPECT_EQ(dir.entries(), (std::set<std::string>{"in.txt", "out.txt"}));
        // Stripping needs a well-formed document just as much.
        EXPECT_EQ(translate(dir.path("in.txt"), dir.path("out.txt"), u""), result::MalformedDocument);
        EXPECT_EQ(readFile(dir.path("out.txt")), "previous output\n");
    }
}

TEST(TranslateDocumentMalformed, RejectsTextThatIsNotUtf8) {
    for (const std::string& document : {std::string("caf\xe9"), std::string("\xc0\xae"), std::string("ok \xed\xa0\x80")}) {
        SCOPED_TRACE(document);
        ScratchDir dir;
        writeFile(dir.path("in.txt"), document);
        testsupport::LogCapture log("desktop.l10n");
        EXPECT_EQ(translate(dir.path("in.txt"), dir.path("out.txt"), u"de"), result::MalformedDocument);
        EXPECT_EQ(log.texts(SALQX_LOG_WARN),
                  std::vector<std::string>{"translateDocument: " + dir.path("in.txt") + " is not UTF-8 text"});
        EXPECT_EQ(dir.entries(), std::set<std::string>{"in.txt"});
    }
}

TEST(TranslateDocumentMalformed, RejectsALanguageThatIsNotATag) {
    for (const OUString& language : {OUString(u"d"), OUString(u"de_CH"), OUString(u"de-"), OUString(u"-de"),
                                     OUString(u"de CH"), OUString(u"dé"), OUString(u"de-123456789")}) {
        SCOPED_TRACE(language.toUtf8().toStdString());
        ScratchDir dir;
        writeFile(dir.path("in.txt"), hotel);
        testsupport::LogCapture log("desktop.l10n");
        EXPECT_EQ(translate(dir.path("in.txt"), dir.path("out.txt"), language), result::BadLanguage);
        EXPECT_EQ(log.texts(SALQX_LOG_WARN),
                  std::vector<std::string>{"translateDocument: language is not a well-formed tag: \""
                                           + language.toUtf8().toStdString() + "\""});
        EXPECT_EQ(dir.entries(), std::set<std::string>{"in.txt"});
    }
}

TEST(TranslateDocumentFiles, ReportsUnreadableInput) {
    ScratchDir dir;
    writeFile(dir.path("out.txt"), "previous output\n");
    ASSERT_EQ(::mkdir(dir.path("folder").c_str(), 0755), 0);
    struct Case {
        OUString input;
        std::string warning;
    };
    const Case cases[] = {
        {urlOf(dir.path("missing.txt")),
         "translateDocument: cannot read " + dir.path("missing.txt") + ": No such file or directory"},
        {urlOf(dir.path("folder")), "translateDocument: " + dir.path("folder") + " is not a regular file"},
        {u"in.txt", "translateDocument: input is not a file URL: in.txt"},
        {u"http://example.org/in.txt", "translateDocument: input is not a file URL: http://example.org/in.txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input.toUtf8().toStdString());
        testsupport::LogCapture log("desktop.l10n");
        EXPECT_EQ(desktop::l10n::translateDocument(c.input, urlOf(dir.path("out.txt")), u"de"),
                  result::InputUnreadable);
        EXPECT_EQ(log.texts(SALQX_LOG_WARN), std::vector<std::string>{c.warning});
        EXPECT_EQ(readFile(dir.path("out.txt")), "previous output\n");
        EXPECT_EQ(dir.entries(), (std::set<std::string>{"out.txt", "folder"}));
    }
}

TEST(TranslateDocumentFiles, ReportsUnwritableOutputAndLeavesNothingBehind) {
    ScratchDir dir;
    writeFile(dir.path("in.txt"), hotel);
    ASSERT_EQ(::mkdir(dir.path("folder").c_str(), 0755), 0);
    writeFile(dir.path("folder/keep.txt"), "kept");
    ASSERT_EQ(::symlink("nowhere.txt", dir.path("dangling").c_str()), 0);
    struct Case {
        OUString output;
        std::string warning;
    };
    const Case cases[] = {
        {urlOf(dir.path("missing/out.txt")),
         "translateDocument: cannot write " + dir.path("missing/out.txt") + ": No such file or directory"},
        {urlOf(dir.path("in.txt/out.txt")),
         "translateDocument: cannot write " + dir.path("in.txt/out.txt") + ": Not a directory"},
        {urlOf(dir.path("folder")), "translateDocument: cannot write " + dir.path("folder") + ": not a regular file"},
        {urlOf(dir.path("dangling")),
         "translateDocument: cannot write " + dir.path("dangling") + ": the link leads nowhere"},
        {u"out.txt", "translateDocument: output is not a file URL: out.txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.output.toUtf8().toStdString());
        testsupport::LogCapture log("desktop.l10n");
        EXPECT_EQ(desktop::l10n::translateDocument(urlOf(dir.path("in.txt")), c.output, u"de"),
                  result::OutputUnwritable);
        EXPECT_EQ(log.texts(SALQX_LOG_WARN), std::vector<std::string>{c.warning});
        EXPECT_EQ(readFile(dir.path("in.txt")), hotel);
        EXPECT_EQ(dir.entries(), (std::set<std::string>{"in.txt", "folder", "dangling"}));
        EXPECT_EQ(fs::directory_iterator(dir.path("folder"))->path().filename(), "keep.txt");
    }
}

TEST(TranslateDocumentFiles, CopiesUntranslatedAlsoThroughATemporaryFile) {
    // A copy is a rewrite like any other: a failure to write it is a failure.
    ScratchDir dir;
    writeFile(dir.path("in.txt"), hotel);
    EXPECT_EQ(translate(dir.path("in.txt"), dir.path("missing/out.txt"), u"fr"), result::OutputUnwritable);
    EXPECT_EQ(translate(dir.path("in.txt"), dir.path("in.txt"), u"fr"), result::CopiedUntranslated);
    EXPECT_EQ(readFile(dir.path("in.txt")), hotel);
    EXPECT_EQ(dir.entries(), std::set<std::string>{"in.txt"});
}

class ExtendApplicationEnvironment : public ::testing::Test {
protected:
    void SetUp() override {
        const char* value = std::getenv("BRAND_BASE_DIR");
        hadValue_ = value != nullptr;
        if (hadValue_)
            saved_ = value;
    }
    void TearDown() override {
        if (hadValue_)
            ::setenv("BRAND_BASE_DIR", saved_.c_str(), 1);
        else
            ::unsetenv("BRAND_BASE_DIR");
    }

private:
    bool hadValue_ = false;
    std::string saved_;
};

TEST_F(ExtendApplicationEnvironment, SetsTheInstallationRootWhenUnset) {
    ::unsetenv("BRAND_BASE_DIR");
    OUString runtimeValue;
    ASSERT_TRUE(rtl::Bootstrap::get(u"BRAND_BASE_DIR", runtimeValue));
    ASSERT_TRUE(runtimeValue.startsWith(u"file:///")) << runtimeValue;

    tools::extendApplicationEnvironment();
    const char* value = std::getenv("BRAND_BASE_DIR");
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(std::string(value), runtimeValue.toUtf8().toStdString());

    ::setenv("BRAND_BASE_DIR", "file:///somewhere/else", 1);
    tools::extendApplicationEnvironment();
    EXPECT_STREQ(std::getenv("BRAND_BASE_DIR"), "file:///somewhere/else");
}

TEST_F(ExtendApplicationEnvironment, OpensAClosedStandardInputOnDevNull) {
    int saved = ::dup(0);
    ASSERT_GE(saved, 0);
    ::close(0);
    tools::extendApplicationEnvironment();
    struct stat opened;
    bool isOpen = ::fstat(0, &opened) == 0;
    ASSERT_EQ(::dup2(saved, 0), 0);
    ::close(saved);
    ASSERT_TRUE(isOpen);
    struct stat devNull;
    ASSERT_EQ(::stat("/dev/null", &devNull), 0);
    EXPECT_EQ(opened.st_rdev, devNull.st_rdev);
}

} // namespace

namespace {

TEST(TranslateDocumentFiles, AnyOutputNameTheFileSystemTakesCanBeWritten) {
    // Up to 255 bytes, the longest name a Linux file system takes; in letters
    // and in two-byte characters, so that the temporary name is cut between
    // characters.
    std::vector<std::string> names;
    for (std::size_t length : {240u, 245u, 246u, 250u, 255u})
        names.push_back(std::string(length - 4, 'a') + ".txt");
    std::string umlauts;
    while (umlauts.size() + 2 <= 255 - 4)
        umlauts += "\xC3\xBC";
    names.push_back(umlauts + "x.txt");
    names.push_back(umlauts + ".txt");
    for (const std::string& name : names) {
        SCOPED_TRACE(std::to_string(name.size()) + " bytes");
        ScratchDir dir;
        writeFile(dir.path("in.txt"), hotel);
        EXPECT_EQ(translate(dir.path("in.txt"), dir.path(name), u"de"), result::Translated);
        EXPECT_EQ(readFile(dir.path(name)), hotelDe);
        // Again, over the existing output.
        EXPECT_EQ(translate(dir.path("in.txt"), dir.path(name), u"de-CH"), result::Translated);
        EXPECT_EQ(readFile(dir.path(name)), hotelDeCh);
        EXPECT_EQ(dir.entries(), (std::set<std::string>{"in.txt", name}));
    }
}

TEST(TranslateDocumentFiles, AHardLinkedOutputBecomesANewFileAndTheOtherNameKeepsTheOldContent) {
    ScratchDir dir;
    writeFile(dir.path("in.txt"), hotel);
    writeFile(dir.path("out.txt"), "old");
    ASSERT_EQ(::link(dir.path("out.txt").c_str(), dir.path("other.txt").c_str()), 0);
    EXPECT_EQ(translate(dir.path("in.txt"), dir.path("out.txt"), u"de"), result::Translated);
    EXPECT_EQ(readFile(dir.path("out.txt")), hotelDe);
    EXPECT_EQ(readFile(dir.path("other.txt")), "old");
    struct stat st;
    ASSERT_EQ(::stat(dir.path("out.txt").c_str(), &st), 0);
    EXPECT_EQ(st.st_nlink, 1u);
}

TEST(TranslateDocumentMalformed, ARepeatedTagIsFoundInALargeGroupWhereverItIs) {
    // 5,000 alternatives in one group, all distinct but one.
    struct Case {
        std::size_t repeatAt; // index of the alternative that repeats the first tag; 0: none
        int result;
    };
    const Case cases[] = {{0, result::Translated}, {1, result::MalformedDocument}, {4999, result::MalformedDocument}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.repeatAt);
        std::string document;
        for (std::size_t i = 0; i < 5000; ++i) {
            const std::size_t n = (c.repeatAt != 0 && i == c.repeatAt) ? 0 : i;
            document += "[[lang=zz-t" + std::to_string(n) + "]]" + std::to_string(i);
        }
        document += "[[/lang]]";
        ScratchDir dir;
        writeFile(dir.path("in.txt"), document);
        EXPECT_EQ(translate(dir.path("in.txt"), dir.path("out.txt"), u"zz-t4999"), c.result);
        if (c.result == result::Translated) {
            EXPECT_EQ(readFile(dir.path("out.txt")), "4999");
        }
    }
}

} // namespace
