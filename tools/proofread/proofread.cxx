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
// The language is the one asked for when the checker lists it; otherwise the
// first tag that the checker lists among the asked one shortened subtag by
// subtag (en-GB-oxendict gives en-GB), and failing that the first listed
// locale of the same language (en gives en-US with the sample package).  A
// note on standard error says which one was taken.
//
// A paragraph may hold at most maxParagraphBytes bytes of the file; the input
// is read in bounded pieces, so no input makes the program read without end.
//
// Exit status: 0 no error found, 1 errors found, 2 bad usage, an unknown or
// unsupported language, unreadable input, a paragraph over the limit, a
// checker that cannot be started or cannot use its packages, output that
// cannot be written, or memory exhausted (with a one-line message on standard
// error).

#include "textmap.hxx"

#include <com/qam/vexo/linguistic2/proofreading.hxx>
#include <comphelper/vantor.hxx>
#include <cppu/servicemanager.hxx>
#include <languagetag/languagetag.hxx>
#include <officehost/services.hxx>
#include <osl/file.h>
#include <rtl/bootstrap.hxx>
#include <sal/logging.hxx>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

namespace linguistic2 = com::qam::vexo::linguistic2;
using com::qam::vexo::lang::Locale;
using zel::uno::Reference;
using zel::uno::Sequence;

constexpr int exitClean = 0;
constexpr int exitFound = 1;
constexpr int exitFailure = 2;

constexpr const char* usageText = "usage: proofread [--lang TAG] [--json] [FILE...]";
constexpr const char* stdinName = "<stdin>";

// The most bytes of the file that one paragraph may hold (line feeds not
// counted).  Far beyond any real paragraph, and small enough that the text and
// the checker's copies of it stay within a modest amount of memory.
constexpr std::size_t maxParagraphBytes = std::size_t(16) << 20;
constexpr const char* maxParagraphText = "16 MiB";

std::string utf8(const OUString& s) { return proofread::encodeUtf8(s.view()); }

// Standard output could not take what was written; the first error ends the run.
struct OutputFailure {
    int error;
};

// The first error met while flushing standard output where it could not be
// thrown; the next write or the final flush reports it.
int pendingOutputError = 0;

// The message goes after whatever has already been printed, so that a reader
// of the combined output sees events in order.
void complain(const std::string& message) {
    errno = 0;
    if (std::fflush(stdout) != 0 && pendingOutputError == 0) pendingOutputError = errno != 0 ? errno : EIO;
    std::fprintf(stderr, "proofread: %s\n", message.c_str());
}

// Everything that goes to standard output goes through here, so that no
// failed write passes unnoticed: a full disk, a closed descriptor, a reader
// that went away.
void writeOut(std::string_view text) {
    if (pendingOutputError != 0) throw OutputFailure{pendingOutputError};
    errno = 0;
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size()) throw OutputFailure{errno != 0 ? errno : EIO};
}

void finishOutput() {
    if (pendingOutputError != 0) throw OutputFailure{pendingOutputError};
    errno = 0;
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) throw OutputFailure{errno != 0 ? errno : EIO};
}

// A standard descriptor that was closed when the program started would be
// taken by the next file opened, and output meant for the user would land in
// it.  Each closed one gets /dev/null opened the wrong way round instead, so
// that using it fails with an error that is reported like any other.
void reserveStandardDescriptors() {
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
        const int opened = ::open("/dev/null", (fd == 0 ? O_WRONLY : O_RDONLY) | O_CLOEXEC);
        if (opened >= 0 && opened != fd) {
            ::dup2(opened, fd);
            ::close(opened);
        }
    }
}

struct Options {
    std::optional<std::string> language;
    bool json = false;
    bool help = false;
    std::vector<std::string> files;
};

// Nothing when the command line is wrong (the reason is already printed).
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
            options.help = true;
            return options;
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

void printHelp() {
    writeOut(std::string(usageText) + "\n");
    writeOut("Checks the grammar of each paragraph (a run of non-blank lines) of the files, or of\n"
             "standard input (\"-\", reported as <stdin>), with the rule packages in\n"
             "$BRAND_BASE_DIR/share/lexivor.  Errors: FILE:LINE:COLUMN: message [rule] -> suggestions\n"
             "  --lang TAG  the language (BCP 47, e.g. en-GB); default: the user's language;\n"
             "              a language without rules of its own takes the first installed\n"
             "              one that it narrows to, or else of its language (en: en-US)\n"
             "  --json      one JSON object per error\n"
             "A paragraph may hold at most 16 MiB.\n"
             "Exit status: 0 no errors, 1 errors found, 2 trouble.\n");
    finishOutput();
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

// A file URL as a system path for messages; the URL itself when it is none.
std::string systemPath(const OUString& url) {
    OUString path;
    if (osl_getSystemPathFromFileURL(url.pData, &path.pData) != osl_File_E_None) return utf8(url);
    return utf8(path);
}

// The host's rule directory as a system path, for messages.
std::string ruleDirectory() {
    OUString url(u"$BRAND_BASE_DIR/share/lexivor");
    rtl::Bootstrap::expandMacros(url);
    return systemPath(url);
}

// Why packages could not be used.  The checker reports a package it cannot
// load only in the host's log, and answers a locale whose package failed as it
// answers one without any; the front end listens to that log so that it can
// tell the user which file failed and why.
class PackageTrouble {
public:
    PackageTrouble() { previous_ = salqx_setLogHook(&PackageTrouble::hook, this, &previousData_); }
    ~PackageTrouble() { salqx_setLogHook(previous_, previousData_, nullptr); }
    PackageTrouble(const PackageTrouble&) = delete;
    PackageTrouble& operator=(const PackageTrouble&) = delete;

    // "cannot read DIR: reason" when the rule directory could not be opened
    // (only with `from` 0), then one "cannot use FILE: reason" per failed
    // package, in the order met, from the one numbered `from` on, joined with
    // "; "; empty when there is none.
    std::string describe(std::size_t from = 0) const {
        std::string text;
        if (directory_ && from == 0) {
            const std::string path = systemPath(*directory_);
            DIR* d = ::opendir(path.c_str());
            text = "cannot read " + path + ": " + (d == nullptr ? std::strerror(errno) : "cannot open it");
            if (d != nullptr) ::closedir(d);
        }
        for (std::size_t i = from; i < failures_.size(); ++i) {
            const auto& [url, kind] = failures_[i];
            if (!text.empty()) text += "; ";
            text += "cannot use " + systemPath(url) + ": " + reason(url, kind);
        }
        return text;
    }
    std::size_t count() const { return failures_.size(); }
    bool any() const { return directory_.has_value() || !failures_.empty(); }

private:
    enum class Kind { open, size, map, parse };

    static void hook(void* data, const char* area, salqx_LogLevel level, const char* text) {
        auto* self = static_cast<PackageTrouble*>(data);
        if (self->previous_ != nullptr) self->previous_(self->previousData_, area, level, text);
        if (level != SALQX_LOG_WARN || std::strcmp(area, "lingucomponent.lexivor") != 0) return;
        // The package reader's own words for the four ways a package fails.
        static const std::pair<std::string_view, Kind> prefixes[] = {
            {"cannot open <", Kind::open},
            {"bad size for <", Kind::size},
            {"cannot map <", Kind::map},
            {"not a usable rule package: <", Kind::parse},
        };
        const std::string_view line(text);
        constexpr std::string_view noDirectory = "no rule directory <";
        if (line.starts_with(noDirectory) && line.ends_with('>')) {
            self->directory_ =
                OUString::fromUtf8(line.substr(noDirectory.size(), line.size() - noDirectory.size() - 1));
            return;
        }
        for (const auto& [prefix, kind] : prefixes) {
            if (!line.starts_with(prefix) || !line.ends_with('>')) continue;
            const std::string_view url = line.substr(prefix.size(), line.size() - prefix.size() - 1);
            const OUString key = OUString::fromUtf8(url);
            auto known = std::find_if(self->failures_.begin(), self->failures_.end(),
                                      [&](const auto& f) { return f.first == key; });
            if (known == self->failures_.end())
                self->failures_.emplace_back(key, kind);
            else
                known->second = kind;
            return;
        }
    }

    // The reason in the user's words, looked up again now that it matters:
    // the log line says what failed, the file system says why.
    static std::string reason(const OUString& url, Kind kind) {
        const std::string path = systemPath(url);
        struct stat st {};
        if (::stat(path.c_str(), &st) != 0) return std::strerror(errno);
        if (!S_ISREG(st.st_mode)) return "not a regular file";
        switch (kind) {
        case Kind::open: {
            const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
            if (fd < 0) return std::strerror(errno);
            ::close(fd);
            return "cannot open it";
        }
        case Kind::size:
            return std::to_string(st.st_size) + " bytes is " +
                   (st.st_size < 88 ? "too small" : "too large") + " for a rule package";
        case Kind::map:
            return "cannot map it into memory";
        case Kind::parse:
            return "not a usable rule package (damaged, or of another format version)";
        }
        return "cannot read it";
    }

    salqx_LogHook previous_ = nullptr;
    void* previousData_ = nullptr;
    std::vector<std::pair<OUString, Kind>> failures_;
    std::optional<OUString> directory_; // the rule directory, when it could not be opened
};

std::string lowerAscii(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

// The BCP 47 tags of the checker's locales, in the order it lists them.
std::vector<std::string> listedTags(const Reference<linguistic2::XProofreader>& proofreader) {
    std::vector<std::string> tags;
    for (const Locale& l : proofreader->getLocales()) tags.push_back(utf8(LanguageTag::convertToBcp47(l, false)));
    return tags;
}

// The tag to check with for an asked tag that the checker does not list
// itself: the first listed tag among the asked one shortened subtag by subtag
// (a single-character subtag left at the end goes with the one after it), else
// the first listed tag whose language subtag is the asked one's.  Tags compare
// without regard to ASCII case.
std::optional<std::string> resolveLanguage(const std::string& asked, const std::vector<std::string>& listed) {
    auto find = [&](const std::string& tag) -> std::optional<std::string> {
        for (const auto& l : listed)
            if (lowerAscii(l) == lowerAscii(tag)) return l;
        return std::nullopt;
    };
    std::vector<std::string> subtags;
    for (std::size_t start = 0;;) {
        const std::size_t dash = asked.find('-', start);
        subtags.push_back(asked.substr(start, dash == std::string::npos ? std::string::npos : dash - start));
        if (dash == std::string::npos) break;
        start = dash + 1;
    }
    while (subtags.size() > 1) {
        subtags.pop_back();
        if (subtags.size() > 1 && subtags.back().size() == 1) subtags.pop_back();
        std::string tag;
        for (const auto& s : subtags) tag += (tag.empty() ? "" : "-") + s;
        if (auto found = find(tag)) return found;
    }
    const std::string language = lowerAscii(subtags.front());
    for (const auto& l : listed)
        if (lowerAscii(l.substr(0, l.find('-'))) == language) return l;
    return std::nullopt;
}

std::string availableText(const std::vector<std::string>& tags) {
    if (tags.empty()) return "available: none";
    std::string text = "available:";
    for (std::size_t i = 0; i < tags.size(); ++i) text += (i == 0 ? " " : ", ") + tags[i];
    return text;
}

class Checker {
public:
    Checker(Reference<linguistic2::XProofreader> proofreader, Locale locale, bool json)
        : proofreader_(std::move(proofreader)), locale_(std::move(locale)), json_(json) {}

    bool foundErrors() const { return found_; }

    void check(const std::string& name, const proofread::Paragraph& paragraph) {
        const OUString text(std::u16string_view(paragraph.text));
        const linguistic2::ProofreadingResult result =
            proofreader_->doProofreading(OUString::fromUtf8(name), text, locale_, 0, text.getLength(), {});
        if (result.aErrors.getLength() == 0) return;
        // The checker reports rule by rule; a reader wants them in text order.
        std::vector<const linguistic2::SingleProofreadingError*> errors;
        errors.reserve(static_cast<std::size_t>(result.aErrors.getLength()));
        for (const auto& e : result.aErrors) errors.push_back(&e);
        std::stable_sort(errors.begin(), errors.end(),
                         [](auto* a, auto* b) { return a->nErrorStart < b->nErrorStart; });
        const proofread::PositionMap positions(paragraph);
        for (const auto* e : errors) report(name, positions, *e);
    }

private:
    void report(const std::string& name, const proofread::PositionMap& positions,
                const linguistic2::SingleProofreadingError& e) {
        found_ = true;
        proofread::Finding f;
        const std::size_t start = static_cast<std::size_t>(std::max<sal_Int32>(e.nErrorStart, 0));
        const proofread::Position at = positions.at(start);
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
        writeOut(line);
    }

    Reference<linguistic2::XProofreader> proofreader_;
    Locale locale_;
    bool json_;
    bool found_ = false;
};

// Reads lines in pieces of a fixed buffer, so that a line is never longer
// than the caller allows and a read error is never taken for the end of input.
class LineReader {
public:
    enum class Result { line, end, tooLong, failed };

    explicit LineReader(std::FILE* in) : in_(in), buffer_(std::size_t(1) << 16) {}

    // The next line, without its line feed, into `line`; at most `limit` bytes.
    Result next(std::string& line, std::size_t limit) {
        line.clear();
        bool any = false;
        for (;;) {
            if (pos_ == end_) {
                if (eof_) return any ? Result::line : Result::end;
                errno = 0;
                end_ = std::fread(buffer_.data(), 1, buffer_.size(), in_);
                pos_ = 0;
                if (end_ == 0) {
                    if (std::ferror(in_)) {
                        error_ = errno != 0 ? errno : EIO;
                        return Result::failed;
                    }
                    eof_ = true;
                }
                continue;
            }
            const char* from = buffer_.data() + pos_;
            const auto* feed = static_cast<const char*>(std::memchr(from, '\n', end_ - pos_));
            const std::size_t n = feed != nullptr ? static_cast<std::size_t>(feed - from) : end_ - pos_;
            if (n > limit - line.size()) return Result::tooLong;
            line.append(from, n);
            any = true;
            pos_ += n;
            if (feed != nullptr) {
                ++pos_;
                return Result::line;
            }
        }
    }
    int error() const { return error_; }

private:
    std::FILE* in_;
    std::vector<char> buffer_;
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
    bool eof_ = false;
    int error_ = 0;
};

// Checks one input stream paragraph by paragraph as it is read.  False when
// the input could not be read, is not UTF-8 or holds a paragraph over the
// limit (after reporting why).
bool checkStream(Checker& checker, const std::string& name, std::FILE* in) {
    proofread::ParagraphSplitter splitter;
    LineReader reader(in);
    std::string bytes;
    std::size_t lineNumber = 0;
    std::size_t paragraphBytes = 0; // of the open paragraph
    std::size_t paragraphLine = 0;  // its first line
    for (;;) {
        const LineReader::Result r = reader.next(bytes, maxParagraphBytes - paragraphBytes);
        if (r == LineReader::Result::end) break;
        if (r == LineReader::Result::failed) {
            complain("cannot read " + name + ": " + std::strerror(reader.error()));
            return false;
        }
        if (r == LineReader::Result::tooLong) {
            complain(name + ":" + std::to_string(paragraphBytes != 0 ? paragraphLine : lineNumber + 1) +
                     ": paragraph longer than " + maxParagraphText);
            return false;
        }
        ++lineNumber;
        std::string_view line(bytes);
        if (lineNumber == 1 && line.substr(0, 3) == "\xEF\xBB\xBF") line.remove_prefix(3);
        const std::optional<std::u16string> decoded = proofread::decodeUtf8(line);
        if (!decoded) {
            complain(name + ":" + std::to_string(lineNumber) + ": not valid UTF-8");
            return false;
        }
        if (auto paragraph = splitter.addLine(*decoded)) checker.check(name, *paragraph);
        if (!splitter.isOpen()) {
            paragraphBytes = 0;
            continue;
        }
        if (paragraphBytes == 0) paragraphLine = lineNumber;
        paragraphBytes += bytes.size();
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

    PackageTrouble trouble;
    const std::vector<std::string> listed = listedTags(proofreader);
    const OUString tag =
        options.language ? OUString::fromUtf8(*options.language) : comphelper::Vantor::getLanguageTag().getBcp47();
    const LanguageTag languageTag(tag);
    if (!languageTag.isValidBcp47()) {
        complain("unknown language '" + utf8(tag) + "' (" + availableText(listed) + ")");
        return exitFailure;
    }
    Locale locale = languageTag.getLocale();
    if (!proofreader->hasLocale(locale)) {
        const std::string asked = utf8(languageTag.getBcp47());
        const std::optional<std::string> resolved = resolveLanguage(asked, listed);
        if (!resolved) {
            std::string why = availableText(listed);
            if (trouble.any()) why += "; " + trouble.describe();
            complain("no rules for language " + asked + " in " + ruleDirectory() + " (" + why +
                     (options.language ? "" : "; choose one with --lang") + ")");
            return exitFailure;
        }
        complain("no rules for language " + asked + ", using " + *resolved);
        locale = LanguageTag::convertToLocale(OUString::fromUtf8(*resolved), false);
    }

    Checker checker(proofreader, locale, options.json);
    const std::size_t troubleBefore = trouble.count();
    auto packageFailed = [&] {
        // The package that serves the language could be read when it was
        // found, and not when it was needed.
        if (trouble.count() == troubleBefore) return false;
        complain(trouble.describe(troubleBefore));
        return true;
    };
    bool allRead = true;
    if (options.files.empty()) {
        allRead = checkStream(checker, stdinName, stdin);
    } else {
        for (const auto& file : options.files) {
            allRead = checkFile(checker, file) && allRead;
            if (packageFailed()) return exitFailure;
        }
    }
    if (packageFailed()) return exitFailure;
    finishOutput();
    if (!allRead) return exitFailure;
    return checker.foundErrors() ? exitFound : exitClean;
}

// Writes without allocating: for when memory is what ran out.
void complainRaw(const char* message) {
    std::fflush(stdout);
    const std::string_view text(message);
    for (std::string_view rest = text; !rest.empty();) {
        const ssize_t n = ::write(STDERR_FILENO, rest.data(), rest.size());
        if (n <= 0) break;
        rest.remove_prefix(static_cast<std::size_t>(n));
    }
}

} // namespace

int main(int argc, char** argv) {
    reserveStandardDescriptors();
    int status = exitFailure;
    bool started = false;
    try {
        const std::optional<Options> options = parseArguments(argc, argv);
        if (!options) return exitFailure;
        if (options->help) {
            printHelp();
            return exitClean;
        }
        officehost::initProcessContext();
        started = true;
        status = run(*options);
    } catch (const OutputFailure& failure) {
        std::clearerr(stdout);
        std::fprintf(stderr, "proofread: cannot write to standard output: %s\n", std::strerror(failure.error));
        status = exitFailure;
    } catch (const zel::uno::Exception& e) {
        complain("the grammar checker failed: " + utf8(e.Message));
        status = exitFailure;
    } catch (const std::bad_alloc&) {
        complainRaw("proofread: out of memory\n");
        status = exitFailure;
    } catch (const std::exception& e) {
        complain(std::string("internal error: ") + e.what());
        status = exitFailure;
    }
    if (started) officehost::shutdownProcessContext();
    return status;
}
