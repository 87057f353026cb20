// File URLs, files, mapping and directories, on a temporary directory.

#include <osl/file.hxx>
#include <osl/module.h>
#include <osl/mutex.hxx>
#include <osl/process.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <future>
#include <sys/stat.h>
#include <dlfcn.h>
#include <thread>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <tuple>
#include <unistd.h>
#include <vector>

namespace {

OUString urlFromPath(const OUString& path) {
    OUString url;
    EXPECT_EQ(osl::FileBase::getFileURLFromSystemPath(path, url), osl_File_E_None) << path;
    return url;
}

TEST(FileUrl, SystemPathToUrl) {
    struct Case {
        const char16_t* path;
        const char16_t* url;
    };
    const Case cases[] = {
        {u"/a/b c", u"file:///a/b%20c"},
        {u"/", u"file:///"},
        {u"/tmp/\u00E4\u20AC", u"file:///tmp/%C3%A4%E2%82%AC"},
        {u"/tmp/\U0001F600", u"file:///tmp/%F0%9F%98%80"},
        {u"/x/#?%\"<>\\^`{|}[]", u"file:///x/%23%3F%25%22%3C%3E%5C%5E%60%7B%7C%7D%5B%5D"},
        {u"/x-._~!$&'()*+,;=:@", u"file:///x-._~!$&'()*+,;=:@"},
        {u"dir/a b", u"dir/a%20b"},
        {u"a:b/c:d", u"a%3Ab/c:d"},
        {u"../up", u"../up"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(OUString(c.path));
        EXPECT_EQ(urlFromPath(OUString(c.path)), c.url);
    }
    OUString url(u"untouched");
    EXPECT_EQ(osl::FileBase::getFileURLFromSystemPath(OUString(), url), osl_File_E_INVAL);
    EXPECT_EQ(osl::FileBase::getFileURLFromSystemPath(OUString(u"/a\xD800"), url), osl_File_E_INVAL);
    EXPECT_EQ(url, u"untouched");
}

TEST(FileUrl, UrlToSystemPath) {
    struct Case {
        const char16_t* url;
        oslFileError error;
        const char16_t* path;
    };
    const auto ok = osl_File_E_None;
    const auto inval = osl_File_E_INVAL;
    const Case cases[] = {
        {u"file:///a/b%20c", ok, u"/a/b c"},
        {u"file://localhost/a", ok, u"/a"},
        {u"file://LocalHost/a", ok, u"/a"},
        {u"FILE:///A", ok, u"/A"},
        {u"file:///tmp/%C3%A4%e2%82%ac", ok, u"/tmp/\u00E4\u20AC"},
        {u"file:///tmp/\u00E4", ok, u"/tmp/\u00E4"},
        {u"file:///a/b/", ok, u"/a/b"},
        {u"file:///", ok, u"/"},
        {u"dir/a%20b", ok, u"dir/a b"},
        {u"file://host/a", inval, nullptr},
        {u"http://localhost/a", inval, nullptr},
        {u"file:/a", inval, nullptr},
        {u"file://", inval, nullptr},
        {u"file:///a%2Fb", inval, nullptr},
        {u"file:///a%00", inval, nullptr},
        {u"file:///a%zz", inval, nullptr},
        {u"file:///a%4", inval, nullptr},
        {u"file:///a?b", inval, nullptr},
        {u"file:///a#b", inval, nullptr},
        {u"file:///%FF", inval, nullptr},
        {u"//host/a", inval, nullptr},
        {u"", inval, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(OUString(c.url));
        OUString path(u"untouched");
        EXPECT_EQ(osl::FileBase::getSystemPathFromFileURL(OUString(c.url), path), c.error);
        EXPECT_EQ(path, c.path != nullptr ? c.path : u"untouched");
    }
}

TEST(FileUrl, PathsRoundTrip) {
    const char16_t* paths[] = {u"/a b/c%d", u"/\u00E4/\u00DF\u4E2D", u"/semi;colon/at@sign", u"rel/ative path"};
    for (const char16_t* p : paths) {
        SCOPED_TRACE(OUString(p));
        OUString back;
        EXPECT_EQ(osl::FileBase::getSystemPathFromFileURL(urlFromPath(OUString(p)), back), osl_File_E_None);
        EXPECT_EQ(back, p);
    }
}

TEST(FileUrl, AbsoluteUrlResolvesAndNormalises) {
    struct Case {
        const char16_t* base;
        const char16_t* rel;
        oslFileError error;
        const char16_t* result;
    };
    const auto ok = osl_File_E_None;
    const auto inval = osl_File_E_INVAL;
    const Case cases[] = {
        {u"file:///a/b", u"c", ok, u"file:///a/b/c"},
        {u"file:///a/b/", u"c", ok, u"file:///a/b/c"},
        {u"file:///a/b", u"../c", ok, u"file:///a/c"},
        {u"file:///a/b", u"..", ok, u"file:///a"},
        {u"file:///a/b", u"../../../../c", ok, u"file:///c"},
        {u"file:///a/b", u"./c/./d/..", ok, u"file:///a/b/c"},
        {u"file:///a/b", u"c//d/", ok, u"file:///a/b/c/d"},
        {u"file:///a/b", u"%2E%2E/c", ok, u"file:///a/c"},
        {u"file:///a/b", u"c%20d", ok, u"file:///a/b/c%20d"},
        {u"file:///a/b", u"/x/y", ok, u"file:///x/y"},
        {u"file:///a/b/", u"", ok, u"file:///a/b"},
        {u"file:///", u"..", ok, u"file:///"},
        {u"file://localhost/a", u"b", ok, u"file:///a/b"},
        {u"file:///a/b", u"file:///p/./q/../r", ok, u"file:///p/r"},
        {u"http://x/y", u"file:///p/../q", ok, u"file:///q"},
        {u"http://x/y", u"c", inval, nullptr},
        {u"file:///a", u"http://x/y", inval, nullptr},
        {u"file:///a", u"//host/y", inval, nullptr},
        {u"file://host/a", u"b", inval, nullptr},
        {u"file:///a", u"b%zz", inval, nullptr},
        {u"relative/base", u"b", inval, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << OUString(c.base) << " + " << OUString(c.rel));
        OUString abs(u"untouched");
        EXPECT_EQ(osl::FileBase::getAbsoluteFileURL(OUString(c.base), OUString(c.rel), abs), c.error);
        EXPECT_EQ(abs, c.result != nullptr ? c.result : u"untouched");
    }
}

// A fresh directory under /tmp with a name that needs escaping, removed afterwards.
class TempDir : public testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/salqx_file_test_XXXXXX";
        ASSERT_NE(::mkdtemp(tmpl), nullptr);
        root_ = tmpl;
        dirPath_ = root_ + "/d\xC3\xA4 x";
        dirUrl_ = OUString::fromUtf8("file://" + root_ + "/d%C3%A4%20x");
        ASSERT_EQ(osl_createDirectory(dirUrl_.pData), osl_File_E_None);
        ASSERT_TRUE(std::filesystem::is_directory(dirPath_));
    }
    void TearDown() override { std::filesystem::remove_all(root_); }

    OUString url(const char16_t* name) const { return dirUrl_ + u"/" + name; }

    void writeFile(const OUString& fileUrl, const std::string& bytes) {
        oslFileHandle h = nullptr;
        ASSERT_EQ(osl_openFile(fileUrl.pData, &h, osl_File_OpenFlag_Write | osl_File_OpenFlag_Create), osl_File_E_None);
        sal_uInt64 written = 0;
        EXPECT_EQ(osl_writeFile(h, bytes.data(), bytes.size(), &written), osl_File_E_None);
        EXPECT_EQ(written, bytes.size());
        EXPECT_EQ(osl_closeFile(h), osl_File_E_None);
    }

    std::string root_;
    std::string dirPath_;
    OUString dirUrl_;
};

TEST_F(TempDir, WriteReadAndMapRoundTrip) {
    const std::string bytes = "0123456789 rule package bytes \x01\x02\xFF";
    const OUString fileUrl = url(u"p\u00E4ck.lxr");
    writeFile(fileUrl, bytes);
    EXPECT_TRUE(std::filesystem::exists(dirPath_ + "/p\xC3\xA4" "ck.lxr"));

    oslFileHandle h = nullptr;
    EXPECT_EQ(osl_openFile(fileUrl.pData, &h, osl_File_OpenFlag_Write | osl_File_OpenFlag_Create), osl_File_E_EXIST);
    EXPECT_EQ(h, nullptr);
    ASSERT_EQ(osl_openFile(fileUrl.pData, &h, osl_File_OpenFlag_Read), osl_File_E_None);
    sal_uInt64 size = 0;
    EXPECT_EQ(osl_getFileSize(h, &size), osl_File_E_None);
    EXPECT_EQ(size, bytes.size());

    std::string read(bytes.size() + 10, '\0');
    sal_uInt64 got = 0;
    EXPECT_EQ(osl_readFile(h, read.data(), read.size(), &got), osl_File_E_None);
    EXPECT_EQ(got, bytes.size());
    EXPECT_EQ(read.substr(0, got), bytes);

    void* addr = nullptr;
    ASSERT_EQ(osl_mapFile(h, &addr, size, 0, osl_File_MapFlag_RandomAccess), osl_File_E_None);
    EXPECT_EQ(std::string(static_cast<const char*>(addr), size), bytes);
    void* part = nullptr;
    ASSERT_EQ(osl_mapFile(h, &part, 3, 5, osl_File_MapFlag_WillNeed), osl_File_E_None);
    EXPECT_EQ(std::string(static_cast<const char*>(part), 3), "567");
    // The mappings outlive the handle.
    EXPECT_EQ(osl_closeFile(h), osl_File_E_None);
    EXPECT_EQ(std::string(static_cast<const char*>(addr), size), bytes);
    EXPECT_EQ(osl_unmapMappedFile(nullptr, addr, size), osl_File_E_None);
    EXPECT_EQ(osl_unmapMappedFile(nullptr, part, 3), osl_File_E_None);
}

TEST_F(TempDir, MappingMustLieInsideTheFile) {
    const OUString fileUrl = url(u"small");
    writeFile(fileUrl, "abcdef");
    oslFileHandle h = nullptr;
    ASSERT_EQ(osl_openFile(fileUrl.pData, &h, osl_File_OpenFlag_Read), osl_File_E_None);
    struct Case {
        sal_uInt64 length, offset;
        oslFileError error;
    };
    const Case cases[] = {
        {0, 0, osl_File_E_INVAL}, {7, 0, osl_File_E_INVAL},       {2, 5, osl_File_E_INVAL},
        {1, 6, osl_File_E_INVAL}, {~0ull, 2, osl_File_E_INVAL},   {1, ~0ull, osl_File_E_INVAL},
        {6, 0, osl_File_E_None},  {1, 5, osl_File_E_None},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.length << " at " << c.offset);
        void* addr = reinterpret_cast<void*>(1);
        EXPECT_EQ(osl_mapFile(h, &addr, c.length, c.offset, 0), c.error);
        if (c.error != osl_File_E_None) {
            EXPECT_EQ(addr, nullptr);
            continue;
        }
        EXPECT_EQ(static_cast<const char*>(addr)[c.length - 1], 'f');
        EXPECT_EQ(osl_unmapMappedFile(h, addr, c.length), osl_File_E_None);
    }
    EXPECT_EQ(osl_closeFile(h), osl_File_E_None);
}

TEST_F(TempDir, OpenReportsErrorCodes) {
    struct Case {
        OUString fileUrl;
        sal_uInt32 flags;
        oslFileError error;
    };
    const Case cases[] = {
        {url(u"missing"), osl_File_OpenFlag_Read, osl_File_E_NOENT},
        {dirUrl_, osl_File_OpenFlag_Read, osl_File_E_ISDIR},
        {OUString(u"http://localhost/x"), osl_File_OpenFlag_Read, osl_File_E_INVAL},
        {OUString(u"file://elsewhere/tmp"), osl_File_OpenFlag_Read, osl_File_E_INVAL},
        {url(u"missing/sub"), osl_File_OpenFlag_Write | osl_File_OpenFlag_Create, osl_File_E_NOENT},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fileUrl);
        oslFileHandle h = nullptr;
        EXPECT_EQ(osl_openFile(c.fileUrl.pData, &h, c.flags), c.error);
        EXPECT_EQ(h, nullptr);
    }
    EXPECT_EQ(osl_closeFile(nullptr), osl_File_E_INVAL);
}

TEST_F(TempDir, OpeningAFifoDoesNotWaitForAWriterButReadingWaitsForData) {
    const std::string path = dirPath_ + "/pipe";
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    const OUString fileUrl = url(u"pipe");
    oslFileHandle h = nullptr;
    auto opening = std::async(std::launch::async, [&] { return osl_openFile(fileUrl.pData, &h, osl_File_OpenFlag_Read); });
    if (opening.wait_for(std::chrono::seconds(10)) == std::future_status::timeout) {
        // A writer lets the waiting open return, so that the test can end.
        const int unblock = ::open(path.c_str(), O_WRONLY | O_NONBLOCK);
        opening.wait();
        if (unblock >= 0) ::close(unblock);
        if (h != nullptr) osl_closeFile(h);
        FAIL() << "osl_openFile waited for a writer";
    }
    ASSERT_EQ(opening.get(), osl_File_E_None);
    ASSERT_NE(h, nullptr);

    // Once open, the handle blocks as usual: a read waits for what a writer sends.
    const int writer = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(writer, 0);
    std::string read(3, '\0');
    sal_uInt64 got = 0;
    auto reading = std::async(std::launch::async, [&] { return osl_readFile(h, read.data(), read.size(), &got); });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(::write(writer, "abc", 3), 3);
    EXPECT_EQ(reading.get(), osl_File_E_None);
    EXPECT_EQ(read.substr(0, got), "abc");
    ::close(writer);
    EXPECT_EQ(osl_closeFile(h), osl_File_E_None);
}

TEST_F(TempDir, DirectoryIterationGivesEveryItemWithStatus) {
    writeFile(url(u"a.lxr"), "12345");
    writeFile(url(u"b c.txt"), "");
    writeFile(url(u"\u00E9.lxr"), "xy");
    ASSERT_EQ(osl_createDirectory(url(u"sub").pData), osl_File_E_None);
    EXPECT_EQ(osl_createDirectory(url(u"sub").pData), osl_File_E_EXIST);

    oslDirectory dir = nullptr;
    ASSERT_EQ(osl_openDirectory(dirUrl_.pData, &dir), osl_File_E_None);
    using Entry = std::tuple<OUString, oslFileType, sal_uInt64, OUString>;
    std::vector<Entry> entries;
    for (;;) {
        oslDirectoryItem item = nullptr;
        oslFileError e = osl_getNextDirectoryItem(dir, &item, 0);
        if (e == osl_File_E_NOENT) break;
        ASSERT_EQ(e, osl_File_E_None);
        oslFileStatus st{};
        st.uStructSize = sizeof st;
        const sal_uInt32 mask = osl_FileStatus_Mask_Type | osl_FileStatus_Mask_FileSize | osl_FileStatus_Mask_FileName
                                | osl_FileStatus_Mask_FileURL;
        ASSERT_EQ(osl_getFileStatus(item, &st, mask), osl_File_E_None);
        EXPECT_EQ(st.uValidFields, mask);
        OUString name(st.ustrFileName, nullptr);
        OUString fileUrl(st.ustrFileURL, nullptr);
        entries.emplace_back(name, st.eType, st.eType == osl_File_Type_Directory ? 0 : st.uFileSize, fileUrl);
        EXPECT_EQ(osl_releaseDirectoryItem(item), osl_File_E_None);
    }
    EXPECT_EQ(osl_closeDirectory(dir), osl_File_E_None);
    std::sort(entries.begin(), entries.end());
    const std::vector<Entry> expected{
        {u"a.lxr", osl_File_Type_Regular, 5, dirUrl_ + u"/a.lxr"},
        {u"b c.txt", osl_File_Type_Regular, 0, dirUrl_ + u"/b%20c.txt"},
        {u"sub", osl_File_Type_Directory, 0, dirUrl_ + u"/sub"},
        {u"\u00E9.lxr", osl_File_Type_Regular, 2, dirUrl_ + u"/%C3%A9.lxr"},
    };
    EXPECT_EQ(entries, expected);
}

TEST_F(TempDir, DirectoryItemOfAUrl) {
    writeFile(url(u"f"), "abc");
    oslDirectoryItem item = nullptr;
    ASSERT_EQ(osl_getDirectoryItem(url(u"f").pData, &item), osl_File_E_None);
    oslFileStatus st{};
    ASSERT_EQ(osl_getFileStatus(item, &st, osl_FileStatus_Mask_FileSize | osl_FileStatus_Mask_FileName), osl_File_E_None);
    EXPECT_EQ(st.uValidFields, osl_FileStatus_Mask_FileSize | osl_FileStatus_Mask_FileName);
    EXPECT_EQ(st.uFileSize, 3u);
    EXPECT_EQ(OUString(st.ustrFileName, nullptr), u"f");
    EXPECT_EQ(st.ustrFileURL, nullptr);
    osl_releaseDirectoryItem(item);
    EXPECT_EQ(osl_getDirectoryItem(url(u"none").pData, &item), osl_File_E_NOENT);
    EXPECT_EQ(item, nullptr);
    oslDirectory dir = nullptr;
    EXPECT_EQ(osl_openDirectory(url(u"none").pData, &dir), osl_File_E_NOENT);
    EXPECT_EQ(osl_openDirectory(url(u"f").pData, &dir), osl_File_E_NOTDIR);
    EXPECT_EQ(osl_openDirectory(OUString(u"http://x/").pData, &dir), osl_File_E_INVAL);
    EXPECT_EQ(dir, nullptr);
}

TEST_F(TempDir, MoveAndRemove) {
    writeFile(url(u"from"), "data");
    EXPECT_EQ(osl_moveFile(url(u"from").pData, url(u"to").pData), osl_File_E_None);
    EXPECT_FALSE(std::filesystem::exists(dirPath_ + "/from"));
    EXPECT_TRUE(std::filesystem::exists(dirPath_ + "/to"));
    EXPECT_EQ(osl_moveFile(url(u"from").pData, url(u"to").pData), osl_File_E_NOENT);
    EXPECT_EQ(osl_removeFile(url(u"to").pData), osl_File_E_None);
    EXPECT_EQ(osl_removeFile(url(u"to").pData), osl_File_E_NOENT);
    EXPECT_FALSE(std::filesystem::exists(dirPath_ + "/to"));
}

TEST_F(TempDir, WorkingDirectoryIsAFileUrl) {
    std::vector<char> old(4096);
    ASSERT_NE(::getcwd(old.data(), old.size()), nullptr);
    ASSERT_EQ(::chdir(dirPath_.c_str()), 0);
    OUString cwd;
    oslProcessError e = osl_getProcessWorkingDir(&cwd.pData);
    ASSERT_EQ(::chdir(old.data()), 0);
    EXPECT_EQ(e, osl_Process_E_None);
    EXPECT_EQ(cwd, dirUrl_);
    // What a command-line tool does with a relative argument.
    OUString rel = urlFromPath(OUString(u"doc 1.odt"));
    OUString abs;
    EXPECT_EQ(osl::FileBase::getAbsoluteFileURL(cwd, rel, abs), osl_File_E_None);
    EXPECT_EQ(abs, dirUrl_ + u"/doc%201.odt");
}

TEST(OslMutex, IsRecursiveAndExcludesOtherThreads) {
    osl::Mutex m;
    ASSERT_NE(m.handle(), nullptr);
    ASSERT_TRUE(m.acquire());
    ASSERT_TRUE(m.tryToAcquire());  // the owner may take it again
    bool otherGotIt = true;
    std::thread([&] { otherGotIt = osl_tryToAcquireMutex(m.handle()); }).join();
    EXPECT_FALSE(otherGotIt);
    EXPECT_TRUE(m.release());
    std::thread([&] { otherGotIt = osl_tryToAcquireMutex(m.handle()); }).join();
    EXPECT_FALSE(otherGotIt);  // still held once
    EXPECT_TRUE(m.release());
    std::atomic<bool> acquired{false};
    std::thread([&] {
        osl::MutexGuard g(m);
        acquired = true;
    }).join();
    EXPECT_TRUE(acquired);
    EXPECT_FALSE(osl_acquireMutex(nullptr));
}

TEST(OslModule, PlainNamesAreFoundInTheProgramDirectory) {
    OUString programDir;
    ASSERT_TRUE(osl_getProgramDirectory(&programDir.pData));
    EXPECT_TRUE(std::filesystem::exists(programDir.toUtf8().toStdString() + "/libsalqx.so")) << programDir;

    oslModule m = osl_loadModuleAscii("libsalqx.so");
    ASSERT_NE(m, nullptr) << dlerror();
    void* f = osl_getAsciiFunctionSymbol(m, "rtl_uString_newEmpty");
    EXPECT_EQ(f, reinterpret_cast<void*>(&rtl_uString_newEmpty));
    Dl_info info{};
    ASSERT_NE(dladdr(f, &info), 0);
    EXPECT_EQ(std::filesystem::path(info.dli_fname).parent_path(), std::filesystem::path(programDir.toUtf8().toStdString()));
    EXPECT_EQ(osl_getAsciiFunctionSymbol(m, "no_such_symbol_anywhere"), nullptr);
    osl_unloadModule(m);

    EXPECT_EQ(osl_loadModuleAscii("libsalqx_no_such_library.so"), nullptr);
    EXPECT_EQ(osl_loadModuleAscii(""), nullptr);
    EXPECT_EQ(osl_getAsciiFunctionSymbol(nullptr, "rtl_uString_newEmpty"), nullptr);
}

} // namespace
