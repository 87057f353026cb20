// desktop::l10n::translateDocument: resolves the language markers of a document.
//
// It models the host's routine on the one document format of the stand-in that
// carries language-dependent text, "marked text".  A real office translates its
// own document formats through its filters; here there is a single plain-text
// format, so the routine stays small and its results can be checked byte by byte.
//
// Marked text
// -----------
// A document is UTF-8 text.  Language-dependent passages are groups of
// alternatives:
//
//     Hotel Rigi: [[lang=en]]breakfast from 7 am[[lang=de]]Frühstück ab 7 Uhr[[/lang]]
//     [[lang=en]]Parking[[lang=de]]Parkplatz[[lang=de-CH]]Parkierung[[/lang]]: 12 CHF
//
// "[[lang=TAG]]" starts an alternative in the language TAG: the first one also
// starts the group, every further one ends the alternative before it.  "[[/lang]]"
// ends the group.  The first alternative of a group is its source text.  Text
// outside groups is the same in every language.  The markers are written exactly
// so, in lower case; any other "[[" ("[[LANG=de]]", "[[lang ]]") is ordinary text.
// Groups do not nest.
//
// A TAG is a BCP 47 tag in its plain form: subtags of ASCII letters and digits
// joined by "-", each 1 to 8 characters long, the first one 2 to 8 letters.  Tags
// compare without regard to case.  The locales of the document are the tags of
// all its alternatives.
//
// Resolving for a language L looks tags up as BCP 47 lookup does: L itself, then
// L without its last subtag, and so on ("de-CH-1996", "de-CH", "de"; a single-
// character subtag left at the end goes with the subtag after it).
//  - If one of these is a locale of the document, every group is replaced by its
//    alternative for the first of them that the group has, or by its source text
//    when it has none: the result is Translated.  "de-CH" gives "Frühstück ab
//    7 Uhr" and "Parkierung" above, "de" gives "Parkplatz", "en-GB" the English.
//  - Otherwise ("fr") the output is an exact copy of the input: CopiedUntranslated.
//  - The empty language strips the markers: every group is replaced by its source
//    text (the English above).  No language was chosen: CopiedUntranslated.
//
// A document is malformed, and nothing is written, when it is not valid UTF-8,
// when "[[lang=" has no "]]" after it, when a tag is not well-formed, when
// "[[/lang]]" appears outside a group (which is also where an attempt to nest
// groups ends), when a group is still open at the end, or when two alternatives
// of one group have the same tag.
//
// The stand-in writes the output through a temporary file in the output's
// directory that is renamed over it, so a failure never leaves a partial output
// and input and output may be one file.  An existing output keeps its permission
// bits (and, where allowed, its owner); a symbolic link as output is followed, so
// the link stays and its target is replaced.  An output with further hard links
// is replaced by a new file under the one name: the other names keep the old
// content.  Anything but a regular file as output (a directory, a device) is
// refused rather than replaced.  The temporary file's name is made from the
// output's, shortened where needed, so that any output name the file system
// takes can be written.

#include <desktop/l10n.hxx>

#include <osl/file.hxx>
#include <osl/thread.h>
#include <rtl/ustring.hxx>
#include <sal/logging.hxx>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <system_error>
#include <unordered_set>
#include <vector>

namespace desktop::l10n {
namespace {

constexpr char logArea[] = "desktop.l10n";
constexpr std::string_view openPrefix = "[[lang=";
constexpr std::string_view markerEnd = "]]";
constexpr std::string_view groupEnd = "[[/lang]]";

std::string errnoText(int error) { return std::error_code(error, std::generic_category()).message(); }

bool isAsciiAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isAsciiDigit(char c) { return c >= '0' && c <= '9'; }

std::string asciiLower(std::string_view s) {
    std::string lower(s);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return lower;
}

std::vector<std::string_view> subtagsOf(std::string_view tag) {
    std::vector<std::string_view> subtags;
    std::size_t start = 0;
    for (;;) {
        std::size_t dash = tag.find('-', start);
        subtags.push_back(tag.substr(start, dash == std::string_view::npos ? std::string_view::npos : dash - start));
        if (dash == std::string_view::npos)
            return subtags;
        start = dash + 1;
    }
}

bool isWellFormedTag(std::string_view tag) {
    if (tag.empty())
        return false;
    std::vector<std::string_view> subtags = subtagsOf(tag);
    for (std::size_t i = 0; i != subtags.size(); ++i) {
        std::string_view sub = subtags[i];
        if (sub.empty() || sub.size() > 8)
            return false;
        if (i == 0 && sub.size() < 2)
            return false;
        for (char c : sub) {
            if (!isAsciiAlpha(c) && !(i != 0 && isAsciiDigit(c)))
                return false;
        }
    }
    return true;
}

// The tags that stand for language, most specific first, in lower case.
std::vector<std::string> lookupChain(std::string_view language) {
    std::vector<std::string> chain;
    std::vector<std::string_view> subtags = subtagsOf(language);
    while (!subtags.empty()) {
        std::string tag;
        for (std::string_view sub : subtags) {
            if (!tag.empty())
                tag += '-';
            tag += sub;
        }
        chain.push_back(asciiLower(tag));
        subtags.pop_back();
        if (subtags.size() > 1 && subtags.back().size() == 1)
            subtags.pop_back();
    }
    return chain;
}

struct Alternative {
    std::string tag; // lower case
    std::string_view text;
};

// Plain text when alternatives is empty, a group otherwise.
struct Segment {
    std::string_view plain;
    std::vector<Alternative> alternatives;
};

struct ParseError {
    std::string what;
    std::size_t offset = 0;
};

bool parseMarkedText(std::string_view doc, std::vector<Segment>& segments, ParseError& error) {
    std::size_t plainStart = 0;
    bool inGroup = false;
    std::size_t groupStart = 0;
    Segment group;
    std::unordered_set<std::string> groupTags; // of the open group, to find a repeated one at once
    std::string altTag;
    std::size_t altStart = 0;
    auto endAlternative = [&](std::size_t end) {
        group.alternatives.push_back({altTag, doc.substr(altStart, end - altStart)});
    };

    std::size_t pos = 0;
    while ((pos = doc.find("[[", pos)) != std::string_view::npos) {
        std::string_view rest = doc.substr(pos);
        if (rest.starts_with(groupEnd)) {
            if (!inGroup) {
                error = {"\"[[/lang]]\" outside a group", pos};
                return false;
            }
            endAlternative(pos);
            segments.push_back(std::move(group));
            group = Segment();
            // A fresh set rather than clear(), whose cost follows the bucket
            // count that a large group left behind, for every small group after it.
            groupTags = std::unordered_set<std::string>();
            inGroup = false;
            pos += groupEnd.size();
            plainStart = pos;
            continue;
        }
        if (!rest.starts_with(openPrefix)) {
            ++pos;
            continue;
        }
        std::size_t tagStart = pos + openPrefix.size();
        std::size_t tagEnd = doc.find(markerEnd, tagStart);
        if (tagEnd == std::string_view::npos) {
            error = {"marker without \"]]\"", pos};
            return false;
        }
        std::string_view tag = doc.substr(tagStart, tagEnd - tagStart);
        if (!isWellFormedTag(tag)) {
            error = {"bad language tag \"" + std::string(tag) + "\"", pos};
            return false;
        }
        std::string lower = asciiLower(tag);
        if (inGroup) {
            endAlternative(pos);
        } else {
            if (pos != plainStart)
                segments.push_back({doc.substr(plainStart, pos - plainStart), {}});
            inGroup = true;
            groupStart = pos;
        }
        if (!groupTags.insert(lower).second) {
            error = {"second alternative for \"" + std::string(tag) + "\" in one group", pos};
            return false;
        }
        altTag = std::move(lower);
        altStart = tagEnd + markerEnd.size();
        pos = altStart;
    }
    if (inGroup) {
        error = {"group without \"[[/lang]]\"", groupStart};
        return false;
    }
    if (plainStart != doc.size())
        segments.push_back({doc.substr(plainStart), {}});
    return true;
}

std::size_t lineOf(std::string_view doc, std::size_t offset) {
    std::size_t line = 1;
    for (std::size_t i = 0; i != offset; ++i) {
        if (doc[i] == '\n')
            ++line;
    }
    return line;
}

bool isUtf8(std::string_view bytes) {
    if (bytes.size() > static_cast<std::size_t>(INT32_MAX))
        return false;
    OUString text;
    return rtl_convertStringToUString(&text.pData, bytes.data(), static_cast<sal_Int32>(bytes.size()),
                                      RTL_TEXTENCODING_UTF8, RTL_TEXTTOUNICODE_FLAGS_STRICT);
}

// The absolute file-system path of a file URL, in the bytes the file functions take.
bool systemPathOf(OUString const& url, std::string& path) {
    OUString systemPath;
    if (osl::FileBase::getSystemPathFromFileURL(url, systemPath) != osl_File_E_None)
        return false;
    OString bytes;
    if (!systemPath.convertToString(&bytes, osl_getThreadTextEncoding(), RTL_UNICODETOTEXT_FLAGS_STRICT))
        return false;
    path = bytes.toStdString();
    // A relative path would depend on the working directory of whoever calls.
    return path.starts_with('/');
}

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }
    // Closes now, reporting the error that a deferred write may only show here.
    bool close() {
        int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

bool readFile(const std::string& path, std::string& content) {
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) {
        QX_LOG_WARN(logArea, "translateDocument: cannot read " << path << ": " << errnoText(errno));
        return false;
    }
    struct stat st;
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        QX_LOG_WARN(logArea, "translateDocument: " << path << " is not a regular file");
        return false;
    }
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n == 0)
            return true;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            QX_LOG_WARN(logArea, "translateDocument: cannot read " << path << ": " << errnoText(errno));
            return false;
        }
        content.append(buffer, static_cast<std::size_t>(n));
    }
}

// A new file beside the output that is removed again unless it was renamed.
class TemporaryFile {
public:
    TemporaryFile() = default;
    ~TemporaryFile() {
        fd_.reset();
        if (!path_.empty())
            ::unlink(path_.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    // Mode 0666 lets the umask decide, as for any file a program creates.  The
    // name is "." + the output's name + "." + 8 random characters, with the
    // output's name shortened (at a character boundary) where the whole would
    // be longer than the directory allows.
    bool create(const std::string& directory, const std::string& name) {
        std::string stem = name;
        const long limit = ::pathconf(directory.empty() ? "/" : directory.c_str(), _PC_NAME_MAX);
        const std::size_t nameMax = limit > 0 ? static_cast<std::size_t>(limit) : std::size_t(NAME_MAX);
        constexpr std::size_t added = 10; // the leading dot, the dot before the random part, 8 characters
        if (stem.size() + added > nameMax) {
            stem.resize(nameMax > added ? nameMax - added : 0);
            // Not in the middle of a UTF-8 sequence: a cut one goes as a whole.
            std::size_t lead = stem.size();
            while (lead > 0 && stem.size() - lead < 4 && (static_cast<unsigned char>(stem[lead - 1]) & 0xC0) == 0x80)
                --lead;
            if (lead > 0) {
                const auto first = static_cast<unsigned char>(stem[lead - 1]);
                const std::size_t length = first >= 0xF0 ? 4 : first >= 0xE0 ? 3 : first >= 0xC0 ? 2 : 1;
                if (stem.size() - (lead - 1) < length)
                    stem.resize(lead - 1);
            }
        }
        std::random_device seed;
        std::mt19937 random(seed());
        static constexpr char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
        std::uniform_int_distribution<std::size_t> pick(0, sizeof letters - 2);
        for (int attempt = 0; attempt != 100; ++attempt) {
            std::string candidate = directory + "/." + stem + ".";
            for (int i = 0; i != 8; ++i)
                candidate += letters[pick(random)];
            int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd >= 0) {
                fd_ = std::make_unique<FileDescriptor>(fd);
                path_ = std::move(candidate);
                return true;
            }
            if (errno != EEXIST)
                return false;
        }
        return false;
    }
    int fd() const { return fd_->get(); }
    bool close() { return fd_->close(); }
    bool renameTo(const std::string& target) {
        if (::rename(path_.c_str(), target.c_str()) != 0)
            return false;
        path_.clear();
        return true;
    }

private:
    std::unique_ptr<FileDescriptor> fd_;
    std::string path_;
};

bool writeAll(int fd, std::string_view data) {
    while (!data.empty()) {
        ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

bool writeFileReplacing(const std::string& path, std::string_view data) {
    auto fail = [&](const std::string& why) {
        QX_LOG_WARN(logArea, "translateDocument: cannot write " << path << ": " << why);
        return false;
    };
    std::string target = path;
    struct stat st;
    bool exists = false;
    if (::lstat(path.c_str(), &st) == 0) {
        if (S_ISLNK(st.st_mode)) {
            char* resolved = ::realpath(path.c_str(), nullptr);
            if (resolved == nullptr)
                return fail("the link leads nowhere");
            target = resolved;
            std::free(resolved);
        }
        if (::stat(target.c_str(), &st) != 0)
            return fail(errnoText(errno));
        if (!S_ISREG(st.st_mode))
            return fail("not a regular file");
        exists = true;
    } else if (errno != ENOENT) {
        return fail(errnoText(errno));
    }

    std::size_t slash = target.rfind('/');
    if (slash == std::string::npos || slash + 1 == target.size())
        return fail("not a file name");
    // For a file in the root directory the prefix is empty: "/" comes with the name.
    std::string directory = target.substr(0, slash);
    std::string name = target.substr(slash + 1);

    TemporaryFile temporary;
    if (!temporary.create(directory, name))
        return fail(errnoText(errno));
    if (exists) {
        // Only a privileged process can keep a foreign owner; the others keep the
        // permission bits and become the owner, as any rewriting editor does.
        if (::fchown(temporary.fd(), st.st_uid, st.st_gid) != 0 && errno != EPERM)
            return fail(errnoText(errno));
        if (::fchmod(temporary.fd(), st.st_mode & 07777) != 0)
            return fail(errnoText(errno));
    }
    if (!writeAll(temporary.fd(), data) || ::fsync(temporary.fd()) != 0 || !temporary.close())
        return fail(errnoText(errno));
    if (!temporary.renameTo(target))
        return fail(errnoText(errno));
    return true;
}

std::string resolve(const std::vector<Segment>& segments, const std::vector<std::string>& chain) {
    std::string out;
    for (const Segment& segment : segments) {
        if (segment.alternatives.empty()) {
            out += segment.plain;
            continue;
        }
        const Alternative* chosen = &segment.alternatives.front();
        for (const std::string& tag : chain) {
            auto it = std::find_if(segment.alternatives.begin(), segment.alternatives.end(),
                                   [&](const Alternative& alt) { return alt.tag == tag; });
            if (it != segment.alternatives.end()) {
                chosen = &*it;
                break;
            }
        }
        out += chosen->text;
    }
    return out;
}

bool documentHasAny(const std::vector<Segment>& segments, const std::vector<std::string>& chain) {
    for (const Segment& segment : segments) {
        for (const Alternative& alt : segment.alternatives) {
            if (std::find(chain.begin(), chain.end(), alt.tag) != chain.end())
                return true;
        }
    }
    return false;
}

} // namespace

int translateDocument(OUString const& inputURL, OUString const& outputURL, OUString const& language) {
    std::string tag;
    if (!language.isEmpty()) {
        OString ascii;
        if (!language.convertToString(&ascii, RTL_TEXTENCODING_ASCII_US, RTL_UNICODETOTEXT_FLAGS_STRICT)
            || !isWellFormedTag(ascii.view())) {
            QX_LOG_WARN(logArea, "translateDocument: language is not a well-formed tag: \"" << language << "\"");
            return result::BadLanguage;
        }
        tag = ascii.toStdString();
    }

    std::string inputPath;
    if (!systemPathOf(inputURL, inputPath)) {
        QX_LOG_WARN(logArea, "translateDocument: input is not a file URL: " << inputURL);
        return result::InputUnreadable;
    }
    std::string outputPath;
    if (!systemPathOf(outputURL, outputPath)) {
        QX_LOG_WARN(logArea, "translateDocument: output is not a file URL: " << outputURL);
        return result::OutputUnwritable;
    }

    std::string document;
    if (!readFile(inputPath, document))
        return result::InputUnreadable;
    if (!isUtf8(document)) {
        QX_LOG_WARN(logArea, "translateDocument: " << inputPath << " is not UTF-8 text");
        return result::MalformedDocument;
    }
    std::vector<Segment> segments;
    ParseError error;
    if (!parseMarkedText(document, segments, error)) {
        QX_LOG_WARN(logArea, "translateDocument: " << inputPath << " line " << lineOf(document, error.offset) << ": "
                                                << error.what);
        return result::MalformedDocument;
    }

    std::vector<std::string> chain;
    if (!tag.empty()) {
        chain = lookupChain(tag);
        if (!documentHasAny(segments, chain))
            return writeFileReplacing(outputPath, document) ? result::CopiedUntranslated : result::OutputUnwritable;
    }
    std::string resolved = resolve(segments, chain);
    if (!writeFileReplacing(outputPath, resolved))
        return result::OutputUnwritable;
    return tag.empty() ? result::CopiedUntranslated : result::Translated;
}

} // namespace desktop::l10n
