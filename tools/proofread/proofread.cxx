// proofread: the grammar checker from the command line.
//
//   proofread [--lang TAG] [--json] [FILE...]
//
// Starts the host stand-in, loads the grammar checker component from the
// program's own directory as the host does, and checks each paragraph of the
// input (standard input when no file is given, or for "-"), one
// doProofreading call per paragraph.  Rule packages come from the host's rule
// directory, $BRAND_BASE_DIR/share/lexivor.  Errors are reported at the file's
// own line and column, in text order within each paragraph; standard input is
// called "<stdin>" in the output.
//
// Exit status: 0 no error found, 1 errors found, 2 bad usage, an unknown or
// unsupported language, unreadable input or a checker that cannot be started
// (with a one-line message on standard error).

#include "textmap.hxx"

#include <com/qam/vexo/linguistic2/proofreading.hxx>
#include <comphelper/vantor.hxx>
#include <cppu/servicemanager.hxx>
#include <languagetag/languagetag.hxx>
#include <officehost/services.hxx>
#include <osl/file.h>
#include <rtl/bootstrap.hxx>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace linguistic2 = com::qam::vexo::linguistic2;
using zel::uno::Reference;
using zel::uno::Sequence;

constexpr int exitClean = 0;
constexpr int exitFound = 1;
constexpr int exitFailure = 2;

constexpr const char* usageText = "usage: proofread [--lang TAG] [--json] [FILE...]";
constexpr const char* stdinName = "<stdin>";

std::string utf8(const OUString& s) { return proofread::encodeUtf8(s.view()); }

// The message goes after whatever has already been printed, so that a reader
// of the combined output sees events in order.
void complain(const std::string& message) {
    std::fflush(stdout);
    std::fprintf(stderr, "proofread: %s\n", message.c_str());
}

struct Options {
    std::optional<std::string> language;
    bool json = false;
    std::vector<std::string> files;
};

// Nothing when the command line is wrong (the reason is already printed); the
// help text ends the program.
std::optional<Options> parseArguments(int argc, char** argv) {
    Options options;
    bool onlyFiles = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (onlyFiles || arg == "-" || arg.empty() || arg[0] != '-') {
            options.files.push_back(arg);
            continue;
        }
        if (arg == "--") {
            onlyFiles = true;
        } else if (arg == "--json") {
            options.json = true;
        } else if (arg == "--lang") {
            if (i + 1 == argc) {
                complain("--lang needs a language tag (" + std::string(usageText) + ")");
                return std::nullopt;
            }
            options.language = argv[++i];
        } else if (arg.rfind("--lang=", 0) == 0) {
            options.language = arg.substr(7);
        } else if (arg == "--help" || arg == "-h") {
            std::printf("%s\n", usageText);
            std::printf("Checks the grammar of each paragraph (a run of non-blank lines) of the files, or of\n"
                        "standard input (\"-\", reported as <stdin>), with the rule packages in\n"
                        "$BRAND_BASE_DIR/share/lexivor.  Errors: FILE:LINE:COLUMN: message [rule] -> suggestions\n"
                        "  --lang TAG  the language (BCP 47, e.g. en-GB); default: the user's language\n"
                        "  --json      one JSON object per error\n"
                        "Exit status: 0 no errors, 1 errors found, 2 trouble.\n");
            std::exit(exitClean);
        } else {
            complain("unknown option " + arg + " (" + std::string(usageText) + ")");
            return std::nullopt;
        }
    }
    if (options.language && options.language->empty()) {
        complain("--lang needs a language tag (" + std::string(usageText) + ")");
        return std::nullopt;
    }
    return options;
}

// The directory of the running executable, where the host keeps its libraries.
std::optional<std::string> programDirectory() {
    std::string path(4096, '\0');
    const ssize_t n = ::readlink("/proc/self/exe", path.data(), path.size());
    if (n <= 0 || static_cast<std::size_t>(n) >= path.size()) return std::nullopt;
    path.resize(static_cast<std::size_t>(n));
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return std::nullopt;
    return path.substr(0, slash);
}

// The host's rule directory as a system path, for messages.
std::string ruleDirectory() {
    OUString url(u"$BRAND_BASE_DIR/share/lexivor");
    rtl::Bootstrap::expandMacros(url);
    OUString path;
    if (osl_getSystemPathFromFileURL(url.pData, &path.pData) != osl_File_E_None) return utf8(url);
    return utf8(path);
}

struct SeenError {
    linguistic2::SingleProofreadingError error;
    std::size_t order = 0;
};

class Checker {
public:
    Checker(Reference<linguistic2::XProofreader> proofreader, com::qam::vexo::lang::Locale locale, bool json)
        : proofreader_(std::move(proofreader)), locale_(std::move(locale)), json_(json) {}

    bool foundErrors() const { return found_; }

    void check(const std::string& name, const proofread::Paragraph& paragraph) {
        const OUString text(std::u16string_view(paragraph.text));
        const linguistic2::ProofreadingResult result =
            proofreader_->doProofreading(OUString::fromUtf8(name), text, locale_, 0, text.getLength(), {});
        // The checker reports rule by rule; a reader wants them in text order.
        std::vector<const linguistic2::SingleProofreadingError*> errors;
        for (const auto& e : result.aErrors) errors.push_back(&e);
        std::stable_sort(errors.begin(), errors.end(),
                         [](auto* a, auto* b) { return a->nErrorStart < b->nErrorStart; });
        for (const auto* e : errors) report(name, paragraph, *e);
    }

private:
    void report(const std::string& name, const proofread::Paragraph& paragraph,
                const linguistic2::SingleProofreadingError& e) {
        found_ = true;
        proofread::Finding f;
        const std::size_t start = static_cast<std::size_t>(std::max<sal_Int32>(e.nErrorStart, 0));
        const proofread::Position at = proofread::positionOf(paragraph, start);
        f.line = at.line;
        f.column = at.column;
        f.start = start;
        f.length = static_cast<std::size_t>(std::max<sal_Int32>(e.nErrorLength, 0));
        f.rule = std::u16string(e.aRuleIdentifier.view());
        f.message = std::u16string(e.aShortComment.view());
        f.comment = std::u16string(e.aFullComment.view());
        for (const auto& p : e.aProperties) {
            OUString url;
            if (p.Name == u"FullCommentURL" && (p.Value >>= url)) f.url = std::u16string(url.view());
        }
        for (const auto& s : e.aSuggestions) f.suggestions.emplace_back(s.view());
        std::string line = json_ ? proofread::formatJson(name, f) : proofread::formatPlain(name, f);
        line += '\n';
        std::fwrite(line.data(), 1, line.size(), stdout);
    }

    Reference<linguistic2::XProofreader> proofreader_;
    com::qam::vexo::lang::Locale locale_;
    bool json_;
    bool found_ = false;
};

// Checks one input stream paragraph by paragraph as it is read.  False when
// the input could not be read or is not UTF-8 (after reporting why).
bool checkStream(Checker& checker, const std::string& name, std::FILE* in) {
    proofread::ParagraphSplitter splitter;
    char* buffer = nullptr;
    std::size_t capacity = 0;
    std::unique_ptr<char*, void (*)(char**)> freeBuffer(&buffer, [](char** p) { std::free(*p); });
    std::size_t lineNumber = 0;
    for (;;) {
        errno = 0;
        const ssize_t n = ::getline(&buffer, &capacity, in);
        if (n < 0) break;
        ++lineNumber;
        std::string_view bytes(buffer, static_cast<std::size_t>(n));
        if (!bytes.empty() && bytes.back() == '\n') bytes.remove_suffix(1);
        if (lineNumber == 1 && bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
        const std::optional<std::u16string> line = proofread::decodeUtf8(bytes);
        if (!line) {
            complain(name + ":" + std::to_string(lineNumber) + ": not valid UTF-8");
            return false;
        }
        if (auto paragraph = splitter.addLine(*line)) checker.check(name, *paragraph);
    }
    if (std::ferror(in)) {
        complain("cannot read " + name + ": " + std::strerror(errno != 0 ? errno : EIO));
        return false;
    }
    if (auto paragraph = splitter.finish()) checker.check(name, *paragraph);
    return true;
}

bool checkFile(Checker& checker, const std::string& file) {
    if (file == "-") return checkStream(checker, stdinName, stdin);
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> in(std::fopen(file.c_str(), "rb"), &std::fclose);
    if (!in) {
        complain("cannot read " + file + ": " + std::strerror(errno));
        return false;
    }
    return checkStream(checker, file, in.get());
}

// Runs the check with a started host; the caller shuts the host down after it.
int run(const Options& options) {
    const std::optional<std::string> directory = programDirectory();
    if (!directory) {
        complain("cannot find the program directory");
        return exitFailure;
    }
    OString loadError;
    const std::string library = *directory + "/liblexivor.so";
    const cppu::ComponentConstructorFunction create = cppu::loadComponentConstructor(
        OString(library.c_str()), OString("lingucomponent_Lexivor_get_implementation"), &loadError);
    if (create == nullptr) {
        complain("cannot load the grammar checker " + library + ": " + std::string(loadError.getStr()));
        return exitFailure;
    }
    const Reference<zel::uno::XInterface> component(create(nullptr, {}), zel::uno::SAL_NO_ACQUIRE);
    const Reference<linguistic2::XProofreader> proofreader(component, zel::uno::UNO_QUERY);
    if (!proofreader) {
        complain("the grammar checker in " + library + " is not a proofreader");
        return exitFailure;
    }

    const OUString tag =
        options.language ? OUString::fromUtf8(*options.language) : comphelper::Vantor::getLanguageTag().getBcp47();
    const LanguageTag languageTag(tag);
    if (!languageTag.isValidBcp47()) {
        complain("unknown language '" + utf8(tag) + "'");
        return exitFailure;
    }
    const com::qam::vexo::lang::Locale locale = languageTag.getLocale();
    if (!proofreader->hasLocale(locale)) {
        complain("no rules for language " + utf8(languageTag.getBcp47()) + " in " + ruleDirectory() +
                 (options.language ? "" : " (choose one with --lang)"));
        return exitFailure;
    }

    Checker checker(proofreader, locale, options.json);
    bool allRead = true;
    if (options.files.empty()) {
        allRead = checkStream(checker, stdinName, stdin);
    } else {
        for (const auto& file : options.files) allRead = checkFile(checker, file) && allRead;
    }
    std::fflush(stdout);
    if (!allRead) return exitFailure;
    return checker.foundErrors() ? exitFound : exitClean;
}

} // namespace

int main(int argc, char** argv) {
    const std::optional<Options> options = parseArguments(argc, argv);
    if (!options) return exitFailure;
    int status = exitFailure;
    try {
        officehost::initProcessContext();
        status = run(*options);
    } catch (const zel::uno::Exception& e) {
        complain("the grammar checker failed: " + utf8(e.Message));
        status = exitFailure;
    }
    officehost::shutdownProcessContext();
    return status;
}
