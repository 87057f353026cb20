// Files, directories, memory mapping and file URLs on POSIX.
//
// Paths are handled as bytes (file names on Linux need not be UTF-8): a file URL
// stands for the bytes its escapes and UTF-8 characters spell, and every byte of a
// path outside the characters a path may carry unescaped becomes "%XX", so any file
// name round-trips through a URL.  System paths as strings are UTF-8.
//
// Deliberately simpler than a full office runtime: no file locking, no volume or
// attribute information, no copy fallback when a move crosses file systems.
// osl_File_OpenFlag_Create creates the file and fails with osl_File_E_EXIST when it
// exists, so nothing is overwritten by accident.  Mapping needs a length above zero
// that lies inside the file (a mapping past the end would fault on access).
// oslFileStatus strings are stored into the fields without releasing what they held.

#include <osl/file.h>
#include <osl/process.h>
#include <rtl/character.hxx>

#include "strimpl.hxx"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <string>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

struct oslFileHandleImpl {
    int fd;
};

struct oslDirectoryImpl {
    DIR* dir;
    std::string path;
};

struct oslDirectoryItemImpl {
    std::string path;
    std::string name;
};

namespace {

oslFileError errorOf(int err) {
    switch (err) {
    case 0: return osl_File_E_None;
    case EPERM: return osl_File_E_PERM;
    case ENOENT: return osl_File_E_NOENT;
    case EIO: return osl_File_E_IO;
    case EBADF: return osl_File_E_BADF;
    case ENOMEM: return osl_File_E_NOMEM;
    case EACCES:
    case EROFS: return osl_File_E_ACCES;
    case EEXIST:
    case ENOTEMPTY: return osl_File_E_EXIST;
    case ENOTDIR: return osl_File_E_NOTDIR;
    case EISDIR: return osl_File_E_ISDIR;
    case EINVAL: return osl_File_E_INVAL;
    case ENOSPC: return osl_File_E_NOSPC;
    case ENAMETOOLONG: return osl_File_E_NAMETOOLONG;
    case ENOSYS: return osl_File_E_NOSYS;
    case EOVERFLOW:
    case EFBIG: return osl_File_E_OVERFLOW;
    default: return osl_File_E_invalidError;
    }
}

oslFileError lastError() { return errorOf(errno); }

bool isPathLiteral(unsigned char c) {
    if (rtl::isAsciiAlphanumeric(c)) return true;
    switch (c) {
    case '/': case '-': case '.': case '_': case '~': case '!': case '$': case '&': case '\'': case '(':
    case ')': case '*': case '+': case ',': case ';': case '=': case ':': case '@': return true;
    default: return false;
    }
}

int hexValue(sal_Unicode c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Length of the scheme including its ':' (0 when text has none, as a relative
// reference has).
std::size_t schemeLength(std::u16string_view text) {
    if (text.empty() || !rtl::isAsciiAlpha(text[0])) return 0;
    for (std::size_t i = 1; i < text.size(); ++i) {
        char16_t c = text[i];
        if (c == ':') return i + 1;
        if (!rtl::isAsciiAlphanumeric(c) && c != '+' && c != '-' && c != '.') return 0;
    }
    return 0;
}

bool isFileScheme(std::u16string_view text) {
    std::size_t n = schemeLength(text);
    return n == 5 && OUString(text.substr(0, 5)).equalsIgnoreAsciiCase(u"file:");
}

// Splits an absolute file URL into its path part ("/..."); false when the URL is not
// one with an empty or "localhost" authority.
bool filePathPart(std::u16string_view url, std::u16string_view& path) {
    if (!isFileScheme(url)) return false;
    std::u16string_view rest = url.substr(5);
    if (!rest.starts_with(u"//")) return false;
    rest.remove_prefix(2);
    std::size_t slash = rest.find(u'/');
    if (slash == std::u16string_view::npos) return false;
    std::u16string_view host = rest.substr(0, slash);
    if (!host.empty() && !OUString(host).equalsIgnoreAsciiCase(u"localhost")) return false;
    path = rest.substr(slash);
    return true;
}

// Decodes a URL path into bytes; escapes of '/' or NUL, malformed escapes, '?' and
// '#' are rejected.
bool decodePath(std::u16string_view path, std::string& out) {
    out.clear();
    for (std::size_t i = 0; i < path.size(); ++i) {
        char16_t c = path[i];
        if (c == '%') {
            if (i + 2 >= path.size() || hexValue(path[i + 1]) < 0 || hexValue(path[i + 2]) < 0) return false;
            int b = hexValue(path[i + 1]) * 16 + hexValue(path[i + 2]);
            if (b == 0 || b == '/') return false;
            out.push_back(static_cast<char>(b));
            i += 2;
            continue;
        }
        if (c == '?' || c == '#' || c == 0) return false;
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
            continue;
        }
        std::size_t len = (rtl::isHighSurrogate(c) && i + 1 < path.size()) ? 2 : 1;
        std::string bytes;
        if (!salqx::encodeUtf8(path.substr(i, len), bytes, true)) return false;
        out += bytes;
        i += len - 1;
    }
    return true;
}

std::string encodePath(std::string_view bytes, bool relative) {
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string out;
    bool firstSegment = relative;
    for (char ch : bytes) {
        auto c = static_cast<unsigned char>(ch);
        if (c == '/') firstSegment = false;
        // In the first segment of a relative reference a ':' would read as a scheme.
        if (isPathLiteral(c) && !(firstSegment && c == ':')) {
            out.push_back(static_cast<char>(c));
            continue;
        }
        out.push_back('%');
        out.push_back(hex[c >> 4]);
        out.push_back(hex[c & 0xF]);
    }
    return out;
}

OUString asciiToOUString(std::string_view s) {
    std::u16string u(s.begin(), s.end());
    return OUString(u);
}

std::string joinPath(const std::string& dir, std::string_view name) {
    std::string p = dir;
    if (p.empty() || p.back() != '/') p.push_back('/');
    p += name;
    return p;
}

std::string lastSegment(std::string_view path) {
    while (path.size() > 1 && path.back() == '/') path.remove_suffix(1);
    std::size_t slash = path.rfind('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::u16string_view viewOf(rtl_uString* s) { return {s->buffer, static_cast<std::size_t>(s->length)}; }

bool pathOf(rtl_uString* url, std::string& path) {
    return url != nullptr && salqx::urlToPathBytes(viewOf(url), path) && !path.empty();
}

// Whether a segment of a URL path decodes to "." or "..".
int dotSegment(std::u16string_view segment) {
    std::string bytes;
    if (!decodePath(segment, bytes)) return 0;
    if (bytes == ".") return 1;
    if (bytes == "..") return 2;
    return 0;
}

} // namespace

namespace salqx {

OUString pathBytesToUrl(std::string_view path) {
    if (!path.empty() && path.front() == '/') return asciiToOUString("file://" + encodePath(path, false));
    return asciiToOUString(encodePath(path, true));
}

bool urlToPathBytes(std::u16string_view url, std::string& path) {
    std::u16string_view part;
    if (schemeLength(url) != 0) {
        if (!filePathPart(url, part)) return false;
    } else {
        if (url.starts_with(u"//")) return false;
        part = url;
    }
    return decodePath(part, path);
}

} // namespace salqx

extern "C" {

oslFileError osl_openFile(rtl_uString* url, oslFileHandle* handle, sal_uInt32 flags) {
    if (handle == nullptr) return osl_File_E_INVAL;
    *handle = nullptr;
    std::string path;
    if (!pathOf(url, path)) return osl_File_E_INVAL;
    int mode = O_CLOEXEC;
    if (flags & (osl_File_OpenFlag_Write | osl_File_OpenFlag_Create)) mode |= O_RDWR;
    else mode |= O_RDONLY;
    if (flags & osl_File_OpenFlag_Create) mode |= O_CREAT | O_EXCL;
    // Opening never waits: a FIFO without a writer, or a device that would
    // block until ready, opens at once.  Reads and writes block as usual.
    int fd = ::open(path.c_str(), mode | O_NONBLOCK, 0666);
    if (fd < 0) return lastError();
    struct stat st{};
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        oslFileError e = S_ISDIR(st.st_mode) ? osl_File_E_ISDIR : lastError();
        ::close(fd);
        return e;
    }
    const int status = ::fcntl(fd, F_GETFL);
    if (status == -1 || ::fcntl(fd, F_SETFL, status & ~O_NONBLOCK) == -1) {
        oslFileError e = lastError();
        ::close(fd);
        return e;
    }
    *handle = new oslFileHandleImpl{fd};
    return osl_File_E_None;
}

oslFileError osl_closeFile(oslFileHandle handle) {
    if (handle == nullptr) return osl_File_E_INVAL;
    std::unique_ptr<oslFileHandleImpl> owned(handle);
    return ::close(owned->fd) == 0 ? osl_File_E_None : lastError();
}

oslFileError osl_getFileSize(oslFileHandle handle, sal_uInt64* size) {
    if (handle == nullptr || size == nullptr) return osl_File_E_INVAL;
    struct stat st{};
    if (::fstat(handle->fd, &st) != 0) return lastError();
    *size = static_cast<sal_uInt64>(st.st_size);
    return osl_File_E_None;
}

oslFileError osl_readFile(oslFileHandle handle, void* buffer, sal_uInt64 bytes, sal_uInt64* read) {
    if (handle == nullptr || read == nullptr || (buffer == nullptr && bytes != 0)) return osl_File_E_INVAL;
    *read = 0;
    auto* p = static_cast<char*>(buffer);
    while (*read < bytes) {
        ssize_t n = ::read(handle->fd, p + *read, bytes - *read);
        if (n < 0) {
            if (errno == EINTR) continue;
            return lastError();
        }
        if (n == 0) break;
        *read += static_cast<sal_uInt64>(n);
    }
    return osl_File_E_None;
}

oslFileError osl_writeFile(oslFileHandle handle, const void* buffer, sal_uInt64 bytes, sal_uInt64* written) {
    if (handle == nullptr || written == nullptr || (buffer == nullptr && bytes != 0)) return osl_File_E_INVAL;
    *written = 0;
    const auto* p = static_cast<const char*>(buffer);
    while (*written < bytes) {
        ssize_t n = ::write(handle->fd, p + *written, bytes - *written);
        if (n < 0) {
            if (errno == EINTR) continue;
            return lastError();
        }
        *written += static_cast<sal_uInt64>(n);
    }
    return osl_File_E_None;
}

oslFileError osl_mapFile(oslFileHandle handle, void** addr, sal_uInt64 length, sal_uInt64 offset, sal_uInt32 flags) {
    if (handle == nullptr || addr == nullptr) return osl_File_E_INVAL;
    *addr = nullptr;
    if (length == 0) return osl_File_E_INVAL;
    struct stat st{};
    if (::fstat(handle->fd, &st) != 0) return lastError();
    const auto size = static_cast<sal_uInt64>(st.st_size);
    if (offset > size || size - offset < length) return osl_File_E_INVAL;
    const auto page = static_cast<sal_uInt64>(::sysconf(_SC_PAGESIZE));
    const sal_uInt64 delta = offset % page;
    void* base = ::mmap(nullptr, length + delta, PROT_READ, MAP_SHARED, handle->fd, static_cast<off_t>(offset - delta));
    if (base == MAP_FAILED) return lastError();
    if (flags & osl_File_MapFlag_RandomAccess) ::madvise(base, length + delta, MADV_RANDOM);
    if (flags & osl_File_MapFlag_WillNeed) ::madvise(base, length + delta, MADV_WILLNEED);
    *addr = static_cast<char*>(base) + delta;
    return osl_File_E_None;
}

// The mapping may outlive the handle, which is therefore not needed here.
oslFileError osl_unmapMappedFile(oslFileHandle, void* addr, sal_uInt64 length) {
    if (addr == nullptr || length == 0) return osl_File_E_INVAL;
    const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    const auto a = reinterpret_cast<std::uintptr_t>(addr);
    const std::uintptr_t delta = a % page;
    if (::munmap(reinterpret_cast<void*>(a - delta), length + delta) != 0) return lastError();
    return osl_File_E_None;
}

oslFileError osl_openDirectory(rtl_uString* dirURL, oslDirectory* dir) {
    if (dir == nullptr) return osl_File_E_INVAL;
    *dir = nullptr;
    std::string path;
    if (!pathOf(dirURL, path)) return osl_File_E_INVAL;
    DIR* d = ::opendir(path.c_str());
    if (d == nullptr) return lastError();
    *dir = new oslDirectoryImpl{d, path};
    return osl_File_E_None;
}

oslFileError osl_getNextDirectoryItem(oslDirectory dir, oslDirectoryItem* item, sal_uInt32) {
    if (dir == nullptr || item == nullptr) return osl_File_E_INVAL;
    *item = nullptr;
    for (;;) {
        errno = 0;
        dirent* e = ::readdir(dir->dir);
        if (e == nullptr) return errno == 0 ? osl_File_E_NOENT : lastError();
        std::string_view name(e->d_name);
        if (name == "." || name == "..") continue;
        *item = new oslDirectoryItemImpl{joinPath(dir->path, name), std::string(name)};
        return osl_File_E_None;
    }
}

oslFileError osl_closeDirectory(oslDirectory dir) {
    if (dir == nullptr) return osl_File_E_INVAL;
    std::unique_ptr<oslDirectoryImpl> owned(dir);
    return ::closedir(owned->dir) == 0 ? osl_File_E_None : lastError();
}

oslFileError osl_getDirectoryItem(rtl_uString* fileURL, oslDirectoryItem* item) {
    if (item == nullptr) return osl_File_E_INVAL;
    *item = nullptr;
    std::string path;
    if (!pathOf(fileURL, path)) return osl_File_E_INVAL;
    struct stat st{};
    if (::lstat(path.c_str(), &st) != 0) return lastError();
    *item = new oslDirectoryItemImpl{path, lastSegment(path)};
    return osl_File_E_None;
}

oslFileError osl_releaseDirectoryItem(oslDirectoryItem item) {
    if (item == nullptr) return osl_File_E_INVAL;
    delete item;
    return osl_File_E_None;
}

// A symbolic link reports type Link and the size of what it points to (its own
// size when it dangles).
oslFileError osl_getFileStatus(oslDirectoryItem item, oslFileStatus* status, sal_uInt32 mask) {
    if (item == nullptr || status == nullptr) return osl_File_E_INVAL;
    status->uValidFields = 0;
    struct stat st{};
    if (::lstat(item->path.c_str(), &st) != 0) return lastError();
    if (mask & osl_FileStatus_Mask_Type) {
        if (S_ISDIR(st.st_mode)) status->eType = osl_File_Type_Directory;
        else if (S_ISREG(st.st_mode)) status->eType = osl_File_Type_Regular;
        else if (S_ISLNK(st.st_mode)) status->eType = osl_File_Type_Link;
        else status->eType = osl_File_Type_Special;
        status->uValidFields |= osl_FileStatus_Mask_Type;
    }
    if (mask & osl_FileStatus_Mask_FileSize) {
        struct stat target{};
        const struct stat& s = (S_ISLNK(st.st_mode) && ::stat(item->path.c_str(), &target) == 0) ? target : st;
        status->uFileSize = static_cast<sal_uInt64>(s.st_size);
        status->uValidFields |= osl_FileStatus_Mask_FileSize;
    }
    if (mask & osl_FileStatus_Mask_FileName) {
        OUString name = salqx::utf8ToOUString(item->name);
        rtl_uString_acquire(name.pData);
        status->ustrFileName = name.pData;
        status->uValidFields |= osl_FileStatus_Mask_FileName;
    }
    if (mask & osl_FileStatus_Mask_FileURL) {
        OUString url = salqx::pathBytesToUrl(item->path);
        rtl_uString_acquire(url.pData);
        status->ustrFileURL = url.pData;
        status->uValidFields |= osl_FileStatus_Mask_FileURL;
    }
    return osl_File_E_None;
}

oslFileError osl_removeFile(rtl_uString* url) {
    std::string path;
    if (!pathOf(url, path)) return osl_File_E_INVAL;
    return ::unlink(path.c_str()) == 0 ? osl_File_E_None : lastError();
}

oslFileError osl_moveFile(rtl_uString* sourceURL, rtl_uString* destURL) {
    std::string from, to;
    if (!pathOf(sourceURL, from) || !pathOf(destURL, to)) return osl_File_E_INVAL;
    return ::rename(from.c_str(), to.c_str()) == 0 ? osl_File_E_None : lastError();
}

oslFileError osl_createDirectory(rtl_uString* url) {
    std::string path;
    if (!pathOf(url, path)) return osl_File_E_INVAL;
    return ::mkdir(path.c_str(), 0777) == 0 ? osl_File_E_None : lastError();
}

oslFileError osl_getFileURLFromSystemPath(rtl_uString* systemPath, rtl_uString** url) {
    if (systemPath == nullptr || url == nullptr || systemPath->length == 0) return osl_File_E_INVAL;
    std::string bytes;
    if (!salqx::encodeUtf8(viewOf(systemPath), bytes, true) || bytes.find('\0') != std::string::npos)
        return osl_File_E_INVAL;
    salqx::assign(url, salqx::pathBytesToUrl(bytes));
    return osl_File_E_None;
}

// A trailing '/' is dropped (except from the root), as system paths are written.
oslFileError osl_getSystemPathFromFileURL(rtl_uString* url, rtl_uString** systemPath) {
    if (systemPath == nullptr) return osl_File_E_INVAL;
    std::string bytes;
    if (!pathOf(url, bytes)) return osl_File_E_INVAL;
    while (bytes.size() > 1 && bytes.back() == '/') bytes.pop_back();
    std::u16string text;
    if (!salqx::decodeUtf8(bytes, text, true)) return osl_File_E_INVAL;
    salqx::assign(systemPath, text);
    return osl_File_E_None;
}

// relativeURL may be a relative reference (a path, "/"-rooted or not) or an absolute
// file URL, which is then only normalised.  Dot segments are removed without ever
// climbing above the root, repeated and trailing '/' are dropped, and a "localhost"
// authority becomes the empty one.
oslFileError osl_getAbsoluteFileURL(rtl_uString* baseDirURL, rtl_uString* relativeURL, rtl_uString** absoluteURL) {
    if (relativeURL == nullptr || absoluteURL == nullptr) return osl_File_E_INVAL;
    std::u16string_view rel = viewOf(relativeURL);
    std::u16string path;
    std::u16string_view part;
    if (schemeLength(rel) != 0) {
        if (!filePathPart(rel, part)) return osl_File_E_INVAL;
        path = part;
    } else {
        if (baseDirURL == nullptr || !filePathPart(viewOf(baseDirURL), part)) return osl_File_E_INVAL;
        if (rel.starts_with(u"//")) return osl_File_E_INVAL;
        if (rel.starts_with(u"/")) {
            path = rel;
        } else {
            path = part;
            if (!rel.empty()) {
                if (path.back() != u'/') path.push_back(u'/');
                path += rel;
            }
        }
    }
    std::string check;
    if (!decodePath(path, check)) return osl_File_E_INVAL;
    std::vector<std::u16string_view> segments;
    std::u16string_view rest = path;
    while (!rest.empty()) {
        std::size_t slash = rest.find(u'/');
        std::u16string_view seg = rest.substr(0, slash);
        rest = slash == std::u16string_view::npos ? std::u16string_view() : rest.substr(slash + 1);
        if (seg.empty()) continue;
        switch (dotSegment(seg)) {
        case 1: continue;
        case 2:
            if (!segments.empty()) segments.pop_back();
            continue;
        default: segments.push_back(seg);
        }
    }
    std::u16string out = u"file://";
    if (segments.empty()) out += u"/";
    for (auto seg : segments) {
        out += u"/";
        out += seg;
    }
    salqx::assign(absoluteURL, out);
    return osl_File_E_None;
}

oslProcessError osl_getProcessWorkingDir(rtl_uString** workingDirURL) {
    if (workingDirURL == nullptr) return osl_Process_E_Unknown;
    std::vector<char> buf(256);
    while (::getcwd(buf.data(), buf.size()) == nullptr) {
        if (errno != ERANGE) return osl_Process_E_Unknown;
        buf.resize(buf.size() * 2);
    }
    salqx::assign(workingDirURL, salqx::pathBytesToUrl(buf.data()));
    return osl_Process_E_None;
}

} // extern "C"
