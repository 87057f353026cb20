// The temporary file service: a real file in $TMPDIR, created exclusively with
// mode 0600, readable and writable through its streams, named by its URL, and
// removed with its last reference.

#include <com/qam/vexo/io/io.hxx>
#include <comphelper/processfactory.hxx>
#include <osl/file.hxx>
#include <testsupport/HostTest.hxx>
#include <testsupport/ScratchDir.hxx>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include <sys/stat.h>

namespace {

namespace css = ::com::qam::vexo;
using ::zel::uno::Reference;
using ::zel::uno::Sequence;
using ::zel::uno::UNO_QUERY_THROW;

// Points $TMPDIR at a scratch directory for the test, and back afterwards.
class TempFileTest : public testsupport::HostTest {
protected:
    void SetUp() override {
        testsupport::HostTest::SetUp();
        const char* old = std::getenv("TMPDIR");
        hadTmpdir_ = old != nullptr;
        if (old) oldTmpdir_ = old;
        setenv("TMPDIR", dir_.root().c_str(), 1);
    }
    void TearDown() override {
        if (hadTmpdir_)
            setenv("TMPDIR", oldTmpdir_.c_str(), 1);
        else
            unsetenv("TMPDIR");
        testsupport::HostTest::TearDown();
    }

    static Reference<css::io::XTempFile> newTempFile() {
        auto context = comphelper::getProcessComponentContext();
        return Reference<css::io::XTempFile>(
            context->getServiceManager()->createInstanceWithContext(u"com.qam.vexo.io.TempFile", context),
            UNO_QUERY_THROW);
    }
    static std::string pathOf(const Reference<css::io::XTempFile>& file) {
        OUString path;
        EXPECT_EQ(osl::FileBase::getSystemPathFromFileURL(file->getUri(), path), osl_File_E_None);
        return path.toUtf8().getStr();
    }

    testsupport::ScratchDir dir_{"qx-tempfile"};

private:
    bool hadTmpdir_ = false;
    std::string oldTmpdir_;
};

TEST_F(TempFileTest, IsAPrivateFileInTheTemporaryDirectoryUntilTheLastReferenceGoes) {
    Reference<css::io::XTempFile> file = newTempFile();
    const std::string path = pathOf(file);
    EXPECT_TRUE(file->getUri().startsWith(u"file:///"));
    EXPECT_EQ(std::filesystem::path(path).parent_path(), dir_.root());
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_TRUE(S_ISREG(st.st_mode));
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    // Two files never share a name.
    Reference<css::io::XTempFile> other = newTempFile();
    EXPECT_NE(pathOf(other), path);

    // A stream handed out keeps the file.
    Reference<css::io::XInputStream> input = file->getInputStream();
    file.clear();
    EXPECT_TRUE(std::filesystem::exists(path));
    input.clear();
    EXPECT_FALSE(std::filesystem::exists(path));
    other.clear();
    EXPECT_TRUE(dir_.entries().empty());
}

TEST_F(TempFileTest, BytesWrittenAreTheFileAndCanBeReadBack) {
    Reference<css::io::XTempFile> file = newTempFile();
    const Sequence<sal_Int8> bytes{0, 1, -1, 127, -128, 'x'};
    file->getOutputStream()->writeBytes(bytes);
    file->getOutputStream()->writeBytes({'y'});
    file->getOutputStream()->flush();
    file->getOutputStream()->closeOutput();
    EXPECT_EQ(testsupport::readFile(pathOf(file)), std::string("\0\1\xff\x7f\x80xy", 7));

    Reference<css::io::XInputStream> input = file->getInputStream();
    EXPECT_EQ(input->available(), 7);
    Sequence<sal_Int8> read;
    EXPECT_EQ(input->readBytes(read, 3), 3);
    EXPECT_TRUE(read == (Sequence<sal_Int8>{0, 1, -1}));
    input->skipBytes(1);
    EXPECT_EQ(input->readBytes(read, 10), 3);
    EXPECT_TRUE(read == (Sequence<sal_Int8>{-128, 'x', 'y'}));
    EXPECT_EQ(input->readBytes(read, 10), 0);
}

TEST_F(TempFileTest, AClosedStreamRefusesWork) {
    Reference<css::io::XTempFile> file = newTempFile();
    file->getOutputStream()->closeOutput();
    try {
        file->getOutputStream()->writeBytes({1});
        ADD_FAILURE() << "no exception";
    } catch (const css::io::NotConnectedException& e) {
        EXPECT_EQ(e.Message, OUString(u"writeBytes: the output stream is closed"));
    }
    file->getInputStream()->closeInput();
    try {
        Sequence<sal_Int8> data;
        file->getInputStream()->readBytes(data, 1);
        ADD_FAILURE() << "no exception";
    } catch (const css::io::NotConnectedException& e) {
        EXPECT_EQ(e.Message, OUString(u"readBytes: the input stream is closed"));
    }
}

TEST_F(TempFileTest, AnUnusableTemporaryDirectoryIsAnIOException) {
    setenv("TMPDIR", (dir_.root() / "missing").c_str(), 1);
    try {
        newTempFile();
        ADD_FAILURE() << "no exception";
    } catch (const css::io::IOException& e) {
        EXPECT_EQ(e.Message, OUString(u"TempFile: No such file or directory"));
    }
}

} // namespace
