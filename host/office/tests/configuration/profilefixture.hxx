#pragma once
// Test helpers for code that reads the user's profile: an environment variable
// set for the length of a scope, and a fresh host whose profile lives in a
// temporary directory.

#include <officehost/configuration.hxx>
#include <officehost/services.hxx>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

namespace officehost::test {

class ScopedEnvironment {
public:
    // value nullptr unsets the variable.
    ScopedEnvironment(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~ScopedEnvironment() {
        if (old_)
            ::setenv(name_.c_str(), old_->c_str(), 1);
        else
            ::unsetenv(name_.c_str());
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    std::string name_;
    std::optional<std::string> old_;
};

// A temporary profile directory, named by QX_USER_PROFILE, and a fresh process
// context that reads it; both go at the end of the test.
class ProfileTest : public ::testing::Test {
protected:
    ProfileTest() {
        std::string pattern = (std::filesystem::temp_directory_path() / "qxprofile-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        dir_ = pattern;
        file_ = dir_ / "settings.txt";
        profileVariable_.emplace("QX_USER_PROFILE", file_.c_str());
    }
    ~ProfileTest() override {
        officehost::shutdownProcessContext();
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }

    void writeProfile(const std::string& text) {
        std::ofstream out(file_, std::ios::binary | std::ios::trunc);
        out << text;
    }
    std::string readProfile() const {
        std::ifstream in(file_, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    // A new host that reads the profile as it is now.
    void startHost() { officehost::initProcessContext(); }

    const std::filesystem::path& profileFile() const { return file_; }

private:
    std::filesystem::path dir_;
    std::filesystem::path file_;
    std::optional<ScopedEnvironment> profileVariable_;
};

} // namespace officehost::test
