// tools::extendApplicationEnvironment: the process state that the host's code
// relies on.  The stand-in keeps to what a tool started from a shell can get
// wrong: closed standard descriptors, no installation root in the environment,
// a low limit of open files.  Profiles, ini files and crash reporting of a real
// office have no counterpart here.

#include <tools/extendapplicationenvironment.hxx>

#include <osl/thread.h>
#include <rtl/bootstrap.hxx>
#include <rtl/ustring.hxx>
#include <sal/logging.hxx>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace tools {
namespace {

constexpr char logArea[] = "tools";

void openClosedStandardDescriptors() {
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF)
            continue;
        // The lowest free descriptor is the closed one, so open() lands there.
        int opened = ::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
        if (opened != fd) {
            QX_LOG_WARN(logArea, "extendApplicationEnvironment: cannot reopen descriptor " << fd);
            if (opened >= 0)
                ::close(opened);
        }
    }
}

void exportBrandBaseDir() {
    const char* current = std::getenv("BRAND_BASE_DIR");
    if (current != nullptr && *current != '\0')
        return;
    OUString name(u"BRAND_BASE_DIR");
    OUString value;
    if (!rtl_bootstrap_get(name.pData, &value.pData, nullptr) || value.isEmpty())
        return;
    OString bytes;
    if (!value.convertToString(&bytes, osl_getThreadTextEncoding(), RTL_UNICODETOTEXT_FLAGS_STRICT)) {
        QX_LOG_WARN(logArea, "extendApplicationEnvironment: BRAND_BASE_DIR not representable: " << value);
        return;
    }
    if (::setenv("BRAND_BASE_DIR", bytes.getStr(), 1) != 0)
        QX_LOG_WARN(logArea, "extendApplicationEnvironment: cannot set BRAND_BASE_DIR");
}

void raiseOpenFileLimit() {
    struct rlimit limit;
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == limit.rlim_max)
        return;
    limit.rlim_cur = limit.rlim_max;
    if (::setrlimit(RLIMIT_NOFILE, &limit) != 0)
        QX_LOG_WARN(logArea, "extendApplicationEnvironment: cannot raise the limit of open files");
}

} // namespace

void extendApplicationEnvironment() {
    openClosedStandardDescriptors();
    exportBrandBaseDir();
    raiseOpenFileLimit();
}

} // namespace tools
