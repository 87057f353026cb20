#pragma once
// Writes rule packages (".lxr") byte by byte: the header, the tables, the code
// section, the entry pool and the string pool, in the layout that
// lexivor::RuleFile reads.  Tests describe a package in a few lines and then
// either load it as it is or break single fields of the written bytes.  Plain
// C++ over the runtime's strings, with no test framework, so that build-time
// tools can produce packages with it as well.
//
//   PackageBuilder b;
//   b.name("en").languageTag("en-US");
//   auto words = b.wordList({"bar", "foo"});
//   b.rule({.pattern = "\\b(\\w+)\\b", .condition = b.code(R"(
//       PushGroup 1
//       PushConstant 0
//       In
//       Return
//   )")});
//   std::vector<unsigned char> bytes = b.build();

#include <lxrfile.hxx>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace testsupport::lexivor {

// Byte offsets of the header's fields, for tests that break one of them.
namespace header {
inline constexpr std::size_t magic = 0;
inline constexpr std::size_t version = 8;
inline constexpr std::size_t reserved = 12;
inline constexpr std::size_t packageName = 16;
inline constexpr std::size_t displayName = 20;
inline constexpr std::size_t description = 24;
inline constexpr std::size_t languageTagCount = 28;
inline constexpr std::size_t languageTagOffset = 32;
inline constexpr std::size_t optionCount = 36;
inline constexpr std::size_t optionOffset = 40;
inline constexpr std::size_t ruleCount = 44;
inline constexpr std::size_t ruleOffset = 48;
inline constexpr std::size_t namedGroupCount = 52;
inline constexpr std::size_t namedGroupOffset = 56;
inline constexpr std::size_t codeOffset = 60;
inline constexpr std::size_t codeSize = 64;
inline constexpr std::size_t constantCount = 68;
inline constexpr std::size_t constantOffset = 72;
inline constexpr std::size_t stringPoolOffset = 76;
inline constexpr std::size_t stringPoolSize = 80;
inline constexpr std::size_t entryPoolOffset = 84;
} // namespace header

// A rule by its texts; code fields are code references (from code()), 0 for none.
struct RuleSpec {
    std::string pattern = {};
    std::uint32_t flags = 0;
    std::uint32_t trigram = 0;
    std::string suggestion = {};
    std::uint32_t suggestionCode = 0;
    std::string message = {};
    std::uint32_t messageCode = 0;
    std::uint32_t condition = 0;
    std::uint32_t errorGroup = 0;
    std::vector<std::pair<std::string, std::uint32_t>> groupNames = {}; // name, group number
};

class PackageBuilder {
public:
    // Starts with the magic, version 3, the package name "test" and an empty
    // string at reference 0.
    PackageBuilder();

    // The reference of a string in the pool; equal strings share one copy.
    std::uint32_t string(std::string_view utf8);

    PackageBuilder& name(std::string_view utf8);
    PackageBuilder& displayName(std::string_view utf8);
    PackageBuilder& description(std::string_view utf8);
    PackageBuilder& languageTag(std::string_view bcp47);
    PackageBuilder& version(std::uint32_t v);

    // Each returns the new record's index.
    std::uint32_t option(std::string_view name, bool defaultOn);
    std::uint32_t rule(const RuleSpec& desc);
    std::uint32_t rawRule(const ::lexivor::Rule& rule);
    std::uint32_t namedGroup(std::string_view name, std::uint32_t group);
    // Sorted by the builder as the reader's binary search needs.
    std::uint32_t wordList(std::vector<std::string> words);
    std::uint32_t wordMap(std::vector<std::pair<std::string, std::string>> entries);
    std::uint32_t pattern(std::string_view regex, std::uint32_t flags = 0);
    std::uint32_t rawConstant(const ::lexivor::Constant& constant);
    // Appends u32 values to the entry pool and returns their byte offset in it.
    std::uint32_t entries(const std::vector<std::uint32_t>& values);

    // Appends assembled code (see Assembler.hxx) to the code section and returns
    // its code reference (1 + offset); string literals go into the pool.
    std::uint32_t code(std::string_view assembly);
    std::uint32_t rawCode(const std::vector<unsigned char>& bytes);

    // The package: header, language tags, options, rules, named groups,
    // constants, code, entry pool, then the string pool, without gaps.
    std::vector<unsigned char> build() const;

private:
    std::uint32_t version_ = ::lexivor::formatVersion;
    std::uint32_t packageName_ = 0;
    std::uint32_t displayName_ = 0;
    std::uint32_t description_ = 0;
    std::vector<std::uint32_t> languageTags_;
    std::vector<::lexivor::Option> options_;
    std::vector<::lexivor::Rule> rules_;
    std::vector<::lexivor::NamedGroup> namedGroups_;
    std::vector<::lexivor::Constant> constants_;
    std::vector<unsigned char> code_;
    std::vector<std::uint32_t> entryPool_;
    std::string stringPool_;
};

// Little-endian u32 access to written packages.
void putU32(std::vector<unsigned char>& bytes, std::size_t offset, std::uint32_t value);
std::uint32_t getU32(const std::vector<unsigned char>& bytes, std::size_t offset);

// A package written to a fresh temporary file, removed again on destruction.
class TempPackage {
public:
    explicit TempPackage(const std::vector<unsigned char>& bytes);
    ~TempPackage();
    TempPackage(const TempPackage&) = delete;
    TempPackage& operator=(const TempPackage&) = delete;
    const std::string& path() const { return path_; }
    // "file://" URL of the file.
    const OUString& url() const { return url_; }

private:
    std::string path_;
    OUString url_;
};

} // namespace testsupport::lexivor
