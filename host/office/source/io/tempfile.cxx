// The service "com.qam.vexo.io.TempFile": a stream over a real file in the
// temporary directory.
//
// TempFileImpl models a temporary file that is created exclusively, with a
// unique name and mode 0600, in $TMPDIR (or /tmp), and removed when the last
// reference to it goes.  The one object is the file, its input stream and its
// output stream: reads and writes keep positions of their own, and closing one
// side leaves the other usable.  It leaves out seeking, truncation, the file's
// removal on demand and keeping the file after the object goes.

#include <com/qam/vexo/io/io.hxx>
#include <cppu/implbase.hxx>
#include <cppu/servicemanager.hxx>
#include <officehost/services.hxx>
#include <osl/file.hxx>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <algorithm>
#include <limits>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace officehost::io {
namespace {

namespace css = ::com::qam::vexo;
using css::io::IOException;
using css::io::NotConnectedException;
using ::zel::uno::Reference;
using ::zel::uno::Sequence;

constexpr char16_t kService[] = u"com.qam.vexo.io.TempFile";

OUString systemError(const char* operation, int error) {
    return OUString::createFromAscii(operation) + u": " + OUString::createFromAscii(std::strerror(error));
}

std::string temporaryDirectory() {
    const char* dir = std::getenv("TMPDIR");
    if (dir && *dir) return dir;
    return "/tmp";
}

class TempFileImpl
    : public cppu::WeakImplHelper<css::io::XTempFile, css::io::XInputStream, css::io::XOutputStream> {
public:
    TempFileImpl() {
        // mkstemp creates the file exclusively (O_EXCL) with mode 0600.
        std::string pattern = temporaryDirectory() + "/qx-tmp-XXXXXX";
        fd_ = ::mkstemp(pattern.data());
        if (fd_ < 0) throw IOException(systemError("TempFile", errno));
        path_ = pattern;
        OUString systemPath = OUString::fromUtf8(path_);
        if (osl::FileBase::getFileURLFromSystemPath(systemPath, url_) != osl_File_E_None) url_ = u"file://" + systemPath;
    }
    ~TempFileImpl() override {
        ::close(fd_);
        ::unlink(path_.c_str());
    }

    Reference<css::io::XInputStream> getInputStream() override { return this; }
    Reference<css::io::XOutputStream> getOutputStream() override { return this; }
    OUString getUri() override { return url_; }

    sal_Int32 readBytes(Sequence<sal_Int8>& data, sal_Int32 count) override {
        if (inputClosed_) throw NotConnectedException(u"readBytes: the input stream is closed");
        if (count < 0) throw IOException(u"readBytes: expected a non-negative count, got " + OUString::number(count));
        std::string buffer(static_cast<std::size_t>(count), '\0');
        sal_Int32 done = 0;
        while (done < count) {
            const ssize_t n = ::pread(fd_, buffer.data() + done, count - done, readPos_ + done);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) throw IOException(systemError("readBytes", errno));
            if (n == 0) break;
            done += static_cast<sal_Int32>(n);
        }
        readPos_ += done;
        data = Sequence<sal_Int8>(reinterpret_cast<const sal_Int8*>(buffer.data()), done);
        return done;
    }
    void skipBytes(sal_Int32 count) override {
        if (inputClosed_) throw NotConnectedException(u"skipBytes: the input stream is closed");
        if (count > 0) readPos_ += count;
    }
    sal_Int32 available() override {
        if (inputClosed_) throw NotConnectedException(u"available: the input stream is closed");
        struct stat st {};
        if (::fstat(fd_, &st) != 0) throw IOException(systemError("available", errno));
        return st.st_size > readPos_ ? static_cast<sal_Int32>(std::min<off_t>(st.st_size - readPos_, std::numeric_limits<sal_Int32>::max())) : 0;
    }
    void closeInput() override {
        if (inputClosed_) throw NotConnectedException(u"closeInput: the input stream is closed");
        inputClosed_ = true;
    }

    void writeBytes(const Sequence<sal_Int8>& data) override {
        if (outputClosed_) throw NotConnectedException(u"writeBytes: the output stream is closed");
        const auto* bytes = reinterpret_cast<const char*>(data.getConstArray());
        std::size_t done = 0;
        const auto total = static_cast<std::size_t>(data.getLength());
        while (done < total) {
            const ssize_t n = ::pwrite(fd_, bytes + done, total - done, writePos_ + static_cast<off_t>(done));
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) throw IOException(systemError("writeBytes", errno));
            done += static_cast<std::size_t>(n);
        }
        writePos_ += static_cast<off_t>(done);
    }
    void flush() override {
        if (outputClosed_) throw NotConnectedException(u"flush: the output stream is closed");
    }
    void closeOutput() override {
        if (outputClosed_) throw NotConnectedException(u"closeOutput: the output stream is closed");
        outputClosed_ = true;
    }

private:
    int fd_ = -1;
    std::string path_;
    OUString url_;
    off_t readPos_ = 0;
    off_t writePos_ = 0;
    bool inputClosed_ = false;
    bool outputClosed_ = false;
};

void registerTempFile(const Reference<::zel::uno::XComponentContext>& context) {
    cppu::registerService(context, kService, [](const auto&, const auto&) {
        return Reference<::zel::uno::XInterface>(static_cast<css::io::XTempFile*>(new TempFileImpl));
    });
}

officehost::ServiceRegistration registration(&registerTempFile);

} // namespace
} // namespace officehost::io
