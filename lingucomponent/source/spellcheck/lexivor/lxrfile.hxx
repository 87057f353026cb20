#pragma once
// lexivor::RuleFile: the read-only view of one compiled rule package (".lxr").
//
// The file is mapped as a whole and read in place.  All integers are unsigned
// 32-bit little-endian values at any byte offset.  Every table and section is
// located by an offset and a count or size in the 88-byte header; `load` checks
// that each of them lies inside the file, so the accessors only have to check
// indices against counts and references against pool and section sizes.  No
// accessor reads outside the mapping, whatever the file holds: out-of-range
// requests give empty strings, all-zero records or null code.
//
// Ownership and threads: `load` returns a shared pointer; the mapping and the
// file handle are released when the last holder lets go.  A RuleFile is never
// changed after `load`, so any number of threads may read it at once.  Pointers
// that accessors return (getCString, getCode) point into the mapping and stay
// valid as long as the RuleFile lives.
//
// Replacing a package: write the new file beside the old one and rename it over
// the old (as the build and `cmake --install` do).  A process that has the old
// package mapped keeps reading the old file, and the next service sees the new
// one.  Never truncate or rewrite an installed package in place: a process that
// has it mapped is killed (SIGBUS) when it reads a page that is gone.
//
// Only regular files (and symbolic links, whose targets must then pass the size
// check) are opened, and opening does not wait, so a FIFO or a device named
// like a package never blocks discovery.

#include <rtl/ustring.hxx>
#include <sal/types.h>

#include <cstddef>
#include <map>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

struct oslFileHandleImpl;

namespace lexivor {

inline constexpr std::size_t headerSize = 88;
inline constexpr sal_uInt32 formatVersion = 3;
// Rules carry 0 (no pre-check) or a trigram key in 1..maxTrigram.
inline constexpr sal_uInt32 maxTrigram = 8191;

// The pre-check key of three consecutive UTF-16 units of a lower-cased text.
constexpr sal_uInt32 trigramKey(char16_t c0, char16_t c1, char16_t c2) {
    return (sal_uInt32(c0) * 17161u + sal_uInt32(c1) * 131u + sal_uInt32(c2)) % 8191u + 1u;
}

// One rule record, decoded from its 44 bytes (fields in file order).  String
// references index the string pool; code references are 1 + an offset into the
// code section, 0 for none.
struct Rule {
    sal_uInt32 pattern = 0;        // string: ICU expression, also the rule's identifier
    sal_uInt32 flags = 0;          // ICU flags; the value 2 is the capitalisation flag
    sal_uInt32 trigram = 0;        // 0 or 1..8191
    sal_uInt32 suggestion = 0;     // string: suggestion template
    sal_uInt32 suggestionCode = 0; // code: computes the suggestions
    sal_uInt32 message = 0;        // string: message template
    sal_uInt32 messageCode = 0;    // code: computes the message
    sal_uInt32 condition = 0;      // code: the condition, 0 when every match counts
    sal_uInt32 errorGroup = 0;     // group reported as the error, 0 = whole match
    sal_uInt32 firstGroupName = 0; // first named-group record of the rule
    sal_uInt32 groupNameCount = 0; // number of named-group records of the rule
    friend bool operator==(const Rule&, const Rule&) = default;
};
inline constexpr std::size_t ruleRecordSize = 44;

struct Option {
    sal_uInt32 name = 0;      // string
    sal_uInt32 defaultOn = 0; // non-zero: on unless the configuration says otherwise
    friend bool operator==(const Option&, const Option&) = default;
};
inline constexpr std::size_t optionRecordSize = 8;

struct NamedGroup {
    sal_uInt32 name = 0;  // string
    sal_uInt32 group = 0; // the group number the name stands for
    friend bool operator==(const NamedGroup&, const NamedGroup&) = default;
};
inline constexpr std::size_t namedGroupRecordSize = 8;

enum class ConstantKind : sal_uInt32 { WordList = 0, WordMap = 1, Pattern = 2 };

struct Constant {
    sal_uInt32 kind = 0;   // ConstantKind; other values behave as a word list without entries to look up
    sal_uInt32 count = 0;  // entries of a word list or word map
    sal_uInt32 offset = 0; // lists and maps: byte offset in the entry pool; Pattern: string reference
    sal_uInt32 flags = 0;  // Pattern: ICU flags, all bits used
    friend bool operator==(const Constant&, const Constant&) = default;
};
inline constexpr std::size_t constantRecordSize = 16;

class RuleFile {
    struct Private {};

public:
    // Maps and parses the package at a file URL.  Empty when the file cannot be
    // used; the reason is logged as a warning in "lingucomponent.lexivor".  Success
    // logs one information line.  Never throws except for memory exhaustion.
    static std::shared_ptr<const RuleFile> load(const OUString& url);

    explicit RuleFile(Private) {}
    ~RuleFile();
    RuleFile(const RuleFile&) = delete;
    RuleFile& operator=(const RuleFile&) = delete;

    // The string at a reference, decoded from UTF-8 (undecodable bytes become
    // U+FFFD); empty for a reference at or beyond the pool size.
    OUString getString(sal_uInt32 ref) const;
    // The raw zero-terminated UTF-8 bytes, or "" for an out-of-range reference.
    const char* getCString(sal_uInt32 ref) const;
    // The same bytes without the terminator.
    std::string_view getStringView(sal_uInt32 ref) const;

    // Records; a static all-zero record for an index at or beyond the count.
    Rule getRule(sal_uInt32 index) const;
    Option getOption(sal_uInt32 index) const;
    NamedGroup getGroupName(sal_uInt32 index) const;
    Constant getConstant(sal_uInt32 index) const;

    // The index of the first option with that name, or -1.
    sal_Int32 findOption(std::u16string_view name) const;

    // Word lists and word maps, binary-searched on their UTF-8 bytes in place.
    // True when the constant is a word list or word map (or of an unknown kind)
    // with an entry whose key has exactly these bytes.
    bool constantContains(sal_uInt32 index, std::string_view utf8Key) const;
    // The value of the entry with that key of a word map; nothing otherwise.
    std::optional<OUString> constantLookup(sal_uInt32 index, std::string_view utf8Key) const;
    // Entries of a word list (0 and "" for every other kind or index).
    sal_uInt32 constantEntryCount(sal_uInt32 index) const;
    OUString constantEntry(sal_uInt32 index, sal_uInt32 entry) const;
    std::string_view constantEntryView(sal_uInt32 index, sal_uInt32 entry) const;

    // The first byte of the code at a code reference, or null for 0 and for a
    // reference whose offset is at or beyond the code size.
    const unsigned char* getCode(sal_uInt32 ref) const;
    // The code section: [codeBegin, codeEnd); both null when it is empty.
    const unsigned char* codeBegin() const { return code_; }
    const unsigned char* codeEnd() const { return code_ + codeSize_; }
    sal_uInt32 codeSize() const { return codeSize_; }

    const OUString& packageName() const { return packageName_; }
    const OUString& displayName() const { return displayName_; }
    const OUString& description() const { return description_; }
    const std::vector<OUString>& languageTags() const { return languageTags_; }
    sal_uInt32 ruleCount() const { return ruleCount_; }
    sal_uInt32 optionCount() const { return optionCount_; }
    sal_uInt32 namedGroupCount() const { return namedGroupCount_; }
    sal_uInt32 constantCount() const { return constantCount_; }
    sal_uInt32 stringPoolSize() const { return stringPoolSize_; }
    sal_uInt64 fileSize() const { return size_; }

private:
    bool parse();
    const unsigned char* entry(const Constant& c, sal_uInt32 i, std::size_t elementSize) const;
    // Index of the entry with that key, or -1; elementSize 4 (list) or 8 (map).
    sal_Int64 search(const Constant& c, std::size_t elementSize, std::string_view key) const;

    oslFileHandleImpl* handle_ = nullptr;
    const unsigned char* data_ = nullptr;
    sal_uInt64 size_ = 0;

    const unsigned char* languageTagTable_ = nullptr;
    const unsigned char* optionTable_ = nullptr;
    const unsigned char* ruleTable_ = nullptr;
    const unsigned char* namedGroupTable_ = nullptr;
    const unsigned char* code_ = nullptr;
    const unsigned char* constantTable_ = nullptr;
    const unsigned char* entryPool_ = nullptr;
    const unsigned char* stringPool_ = nullptr;
    sal_uInt32 languageTagCount_ = 0;
    sal_uInt32 optionCount_ = 0;
    sal_uInt32 ruleCount_ = 0;
    sal_uInt32 namedGroupCount_ = 0;
    sal_uInt32 codeSize_ = 0;
    sal_uInt32 constantCount_ = 0;
    sal_uInt32 entryPoolSize_ = 0;
    sal_uInt32 stringPoolSize_ = 0;

    OUString packageName_;
    OUString displayName_;
    OUString description_;
    std::vector<OUString> languageTags_;
    std::map<OUString, sal_Int32, std::less<>> optionsByName_;
};

} // namespace lexivor
