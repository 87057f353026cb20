#pragma once
// A temporary directory for one test, removed with everything in it at the end,
// and plain whole-file reads and writes for looking at what the code under test did.

#include <filesystem>
#include <set>
#include <string>

namespace testsupport {

class ScratchDir {
public:
    // A new directory below the system's temporary directory, named after prefix.
    explicit ScratchDir(const std::string& prefix = "qx-test");
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::filesystem::path& root() const { return path_; }
    std::string path(const std::string& name) const { return (path_ / name).string(); }
    // The names directly inside the directory.
    std::set<std::string> entries() const;

private:
    std::filesystem::path path_;
};

// Throws std::runtime_error when the file cannot be written.
void writeFile(const std::string& path, const std::string& content);
// The file's bytes, or "<missing>" when it cannot be read.
std::string readFile(const std::string& path);

} // namespace testsupport
