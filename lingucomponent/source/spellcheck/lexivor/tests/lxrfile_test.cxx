#include <lxrfile.hxx>

#include <testsupport/LogCapture.hxx>
#include <testsupport/lexivor/PackageBuilder.hxx>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <unistd.h>

namespace {

using lexivor::RuleFile;
using testsupport::LogCapture;
using testsupport::LogLine;
using testsupport::lexivor::getU32;
using testsupport::lexivor::PackageBuilder;
using testsupport::lexivor::putU32;
using testsupport::lexivor::TempPackage;
namespace header = testsupport::lexivor::header;

constexpr char area[] = "lingucomponent.lexivor";

std::string u8(const OUString& s) { return s.toUtf8().toStdString(); }

// A package that loads: one rule, the name "test".
PackageBuilder minimal() {
    PackageBuilder b;
    b.rule({.pattern = "a"});
    return b;
}

struct Loaded {
    std::shared_ptr<const RuleFile> file;
    std::vector<LogLine> log;
    std::string url;
};

Loaded load(const std::vector<unsigned char>& bytes) {
    TempPackage temp(bytes);
    LogCapture log(area);
    auto file = RuleFile::load(temp.url());
    return {file, log.lines(), u8(temp.url())};
}

void expectUnusable(const std::vector<unsigned char>& bytes) {
    const Loaded l = load(bytes);
    EXPECT_EQ(l.file, nullptr);
    EXPECT_EQ(l.log, (std::vector<LogLine>{{area, SALQX_LOG_WARN, "not a usable rule package: <" + l.url + ">"}}));
}

TEST(RuleFileLoad, LogsTheLoadedPackageAsInformation) {
    PackageBuilder b = minimal();
    b.name("en-basic").description("English basics").displayName("Lexivor English").languageTag("en-US").languageTag("en-GB");
    const Loaded l = load(b.build());
    ASSERT_NE(l.file, nullptr);
    EXPECT_EQ(l.log, (std::vector<LogLine>{{area, SALQX_LOG_INFO,
                                             "loaded 1 rules for en-basic from <" + l.url + ">: English basics"}}));
    EXPECT_EQ(u8(l.file->packageName()), "en-basic");
    EXPECT_EQ(u8(l.file->displayName()), "Lexivor English");
    EXPECT_EQ(u8(l.file->description()), "English basics");
    ASSERT_EQ(l.file->languageTags().size(), 2u);
    EXPECT_EQ(u8(l.file->languageTags()[0]), "en-US");
    EXPECT_EQ(u8(l.file->languageTags()[1]), "en-GB");
    EXPECT_EQ(l.file->ruleCount(), 1u);
}

TEST(RuleFileLoad, MissingFileCannotBeOpened) {
    LogCapture log(area);
    const OUString url = u"file:///nonexistent/lexivor/none.lxr";
    EXPECT_EQ(RuleFile::load(url), nullptr);
    EXPECT_EQ(log.lines(), (std::vector<LogLine>{{area, SALQX_LOG_WARN,
                                                   "cannot open <file:///nonexistent/lexivor/none.lxr>"}}));
}

TEST(RuleFileLoad, FileOf87BytesHasABadSize) {
    std::vector<unsigned char> bytes = minimal().build();
    bytes.resize(87);
    const Loaded l = load(bytes);
    EXPECT_EQ(l.file, nullptr);
    EXPECT_EQ(l.log, (std::vector<LogLine>{{area, SALQX_LOG_WARN, "bad size for <" + l.url + ">"}}));
}

TEST(RuleFileLoad, FileAbove4GiBHasABadSize) {
    TempPackage temp(minimal().build());
    // A sparse file: one byte more than a u32 offset can reach.
    ASSERT_EQ(::truncate(temp.path().c_str(), 0x100000000LL), 0);
    LogCapture log(area);
    EXPECT_EQ(RuleFile::load(temp.url()), nullptr);
    EXPECT_EQ(log.lines(), (std::vector<LogLine>{{area, SALQX_LOG_WARN, "bad size for <" + u8(temp.url()) + ">"}}));
}

TEST(RuleFileLoad, HeaderAloneOf88BytesIsUnusable) {
    std::vector<unsigned char> bytes = minimal().build();
    bytes.resize(88);
    // Every region empty and inside the file; the string pool is empty and there
    // are no rules, which is what rejects it.
    for (std::size_t f = header::languageTagCount; f < 88; f += 4) putU32(bytes, f, 0);
    expectUnusable(bytes);
}

TEST(RuleFileLoad, OnlyVersion3IsRead) {
    for (std::uint32_t version : {0u, 2u, 4u, 0xFFFFFFFFu}) {
        SCOPED_TRACE(version);
        std::vector<unsigned char> bytes = minimal().version(version).build();
        expectUnusable(bytes);
    }
}

TEST(RuleFileLoad, MagicMustMatchExactly) {
    for (std::size_t at : {0u, 5u, 6u, 7u}) {
        SCOPED_TRACE(at);
        std::vector<unsigned char> bytes = minimal().build();
        bytes[at] ^= 0x20;
        expectUnusable(bytes);
    }
}

// Each region of the header by its offset and count fields, with its element size.
struct RegionCase {
    const char* name;
    std::size_t offsetField;
    std::size_t countField; // for the code section and the string pool: the size field
    std::uint64_t elementSize;
};
constexpr RegionCase regionCases[] = {
    {"language tags", header::languageTagOffset, header::languageTagCount, 4},
    {"options", header::optionOffset, header::optionCount, 8},
    {"rules", header::ruleOffset, header::ruleCount, 44},
    {"named groups", header::namedGroupOffset, header::namedGroupCount, 8},
    {"code", header::codeOffset, header::codeSize, 1},
    {"constants", header::constantOffset, header::constantCount, 16},
};

TEST(RuleFileLoad, RegionEndingExactlyAtTheFileEndFits) {
    for (const RegionCase& c : regionCases) {
        SCOPED_TRACE(c.name);
        PackageBuilder b = minimal();
        std::vector<unsigned char> bytes = b.build();
        if (c.countField != header::ruleCount) {
            // An empty region at the very end of the file fits.
            putU32(bytes, c.countField, 0);
            putU32(bytes, c.offsetField, static_cast<std::uint32_t>(bytes.size()));
            EXPECT_NE(load(bytes).file, nullptr);
        }
        // One element more than the file holds does not.
        std::vector<unsigned char> over = b.build();
        const std::uint32_t count = std::max<std::uint32_t>(getU32(over, c.countField), 1);
        putU32(over, c.offsetField, static_cast<std::uint32_t>(over.size() - count * c.elementSize + 1));
        putU32(over, c.countField, count);
        expectUnusable(over);
    }
}

TEST(RuleFileLoad, RegionOffsetBeyondTheFileDoesNotFitEvenWhenEmpty) {
    for (const RegionCase& c : regionCases) {
        SCOPED_TRACE(c.name);
        if (c.countField == header::ruleCount) continue;
        std::vector<unsigned char> bytes = minimal().build();
        putU32(bytes, c.countField, 0);
        putU32(bytes, c.offsetField, static_cast<std::uint32_t>(bytes.size() + 1));
        expectUnusable(bytes);
    }
}

TEST(RuleFileLoad, RegionSizesAreComputedWithoutWrapping) {
    // Counts whose region size wraps to a few bytes in 32 bits, and offsets whose
    // end wraps past 2^32: all must be rejected, not read.
    struct Case {
        const char* name;
        std::size_t offsetField;
        std::size_t countField;
        std::uint32_t offset;
        std::uint32_t count;
    };
    const Case cases[] = {
        {"rules: 0x5D1745D2 * 44 = 2^32 + 8", header::ruleOffset, header::ruleCount, 88, 0x5D1745D2u},
        {"constants: 2^28 * 16 = 2^32", header::constantOffset, header::constantCount, 88, 0x10000000u},
        {"options: 2^29 * 8 = 2^32", header::optionOffset, header::optionCount, 88, 0x20000000u},
        {"tags: 2^30 * 4 = 2^32", header::languageTagOffset, header::languageTagCount, 88, 0x40000000u},
        {"groups: 2^29 + 1 records", header::namedGroupOffset, header::namedGroupCount, 88, 0x20000001u},
        {"code: offset + size wraps", header::codeOffset, header::codeSize, 0xFFFFFFF0u, 0x20u},
        {"string pool: offset + size wraps", header::stringPoolOffset, header::stringPoolSize, 0xFFFFFFFFu, 2u},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<unsigned char> bytes = minimal().build();
        putU32(bytes, c.offsetField, c.offset);
        putU32(bytes, c.countField, c.count);
        expectUnusable(bytes);
    }
}

TEST(RuleFileLoad, StringPoolMustEndWithAZeroByte) {
    std::vector<unsigned char> bytes = minimal().build();
    // Every string still ends at an earlier zero byte; the last byte alone decides.
    bytes.push_back('x');
    putU32(bytes, header::stringPoolSize, getU32(bytes, header::stringPoolSize) + 1);
    expectUnusable(bytes);

    std::vector<unsigned char> empty = minimal().build();
    putU32(empty, header::stringPoolSize, 0);
    expectUnusable(empty);
}

TEST(RuleFileLoad, TrigramAbove8191RejectsThePackage) {
    for (std::uint32_t trigram : {0u, 1u, 8191u}) {
        SCOPED_TRACE(trigram);
        PackageBuilder b;
        b.rule({.pattern = "a", .trigram = trigram});
        EXPECT_NE(load(b.build()).file, nullptr);
    }
    for (std::uint32_t trigram : {8192u, 0xFFFFFFFFu}) {
        SCOPED_TRACE(trigram);
        PackageBuilder b;
        b.rule({.pattern = "a"});
        b.rule({.pattern = "b", .trigram = trigram});
        expectUnusable(b.build());
    }
}

TEST(RuleFileLoad, EmptyPackageNameOrNoRulesIsUnusable) {
    PackageBuilder unnamed = minimal();
    unnamed.name("");
    expectUnusable(unnamed.build());

    PackageBuilder named;
    expectUnusable(named.build());
}

TEST(RuleFileLoad, ConstantsMustLieInsideTheirPools) {
    using lexivor::Constant;
    using lexivor::ConstantKind;
    struct Case {
        const char* name;
        Constant constant;
        bool usable;
    };
    // The pool built below holds 3 entries (12 bytes); the string pool is small.
    const Case cases[] = {
        {"word list of 3 entries", {0, 3, 0, 0}, true},
        {"word list of 4 entries", {0, 4, 0, 0}, false},
        {"word list starting at the pool end, empty", {0, 0, 12, 0}, true},
        {"word list starting past the pool end", {0, 0, 13, 0}, false},
        {"word map of 1 pair + 4 bytes", {1, 1, 0, 0}, true},
        {"word map of 2 pairs needs 16 bytes", {1, 2, 0, 0}, false},
        {"word map count wraps a 32-bit product", {1, 0x20000000u, 0, 0}, false},
        {"unknown kind checked like a word list", {7, 3, 0, 0}, true},
        {"unknown kind beyond the pool", {7, 4, 0, 0}, false},
        {"pattern at reference 1", {2, 99, 1, 0}, true},
        {"pattern at the pool size", {2, 0, 0xFFFF, 0}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PackageBuilder b = minimal();
        b.entries({b.string("a"), b.string("b"), b.string("c")});
        Constant constant = c.constant;
        if (constant.kind == std::uint32_t(ConstantKind::Pattern) && constant.offset == 0xFFFF) {
            const std::vector<unsigned char> probe = b.build();
            constant.offset = getU32(probe, header::stringPoolSize);
        }
        b.rawConstant(constant);
        const std::vector<unsigned char> bytes = b.build();
        if (c.usable)
            EXPECT_NE(load(bytes).file, nullptr);
        else
            expectUnusable(bytes);
    }
}

TEST(RuleFileLoad, EntryPoolBeyondTheStringPoolIsEmpty) {
    PackageBuilder b = minimal();
    b.rawConstant({0, 0, 0, 0});
    std::vector<unsigned char> bytes = b.build();
    putU32(bytes, header::entryPoolOffset, getU32(bytes, header::stringPoolOffset) + 1);
    const Loaded l = load(bytes);
    ASSERT_NE(l.file, nullptr);
    EXPECT_EQ(l.file->constantEntryCount(0), 0u);

    // With entries, the same layout leaves them outside the (empty) pool.
    PackageBuilder w = minimal();
    w.wordList({"x"});
    std::vector<unsigned char> words = w.build();
    putU32(words, header::entryPoolOffset, getU32(words, header::stringPoolOffset) + 1);
    expectUnusable(words);
}

class RuleFileAccess : public ::testing::Test {
protected:
    void SetUp() override {
        b.rule({.pattern = "\\bteh\\b", .flags = 2, .trigram = 77, .suggestion = "the", .message = "Typo",
                .errorGroup = 1, .groupNames = {{"word", 1}}});
        code = b.rawCode({0x04, 0x00});
        b.option("typo", true);
        b.option("style", false);
        b.option("typo", false);
        words = b.wordList({"zebra", "ab", "abc", "a", "\xC3\xA9t\xC3\xA9", "b"});
        map = b.wordMap({{"colour", "color"}, {"centre", "center"}, {"a", "1"}});
        pattern = b.pattern("[0-9]+", 2);
        temp = std::make_unique<TempPackage>(b.build());
        file = RuleFile::load(temp->url());
        ASSERT_NE(file, nullptr);
    }
    PackageBuilder b;
    std::uint32_t code = 0, words = 0, map = 0, pattern = 0;
    std::unique_ptr<TempPackage> temp;
    std::shared_ptr<const RuleFile> file;
};

TEST_F(RuleFileAccess, RecordsReadBackAsWritten) {
    const lexivor::Rule r = file->getRule(0);
    EXPECT_EQ(u8(file->getString(r.pattern)), "\\bteh\\b");
    EXPECT_EQ(r.flags, 2u);
    EXPECT_EQ(r.trigram, 77u);
    EXPECT_EQ(u8(file->getString(r.suggestion)), "the");
    EXPECT_EQ(u8(file->getString(r.message)), "Typo");
    EXPECT_EQ(r.errorGroup, 1u);
    EXPECT_EQ(r.groupNameCount, 1u);
    const lexivor::NamedGroup g = file->getGroupName(r.firstGroupName);
    EXPECT_EQ(u8(file->getString(g.name)), "word");
    EXPECT_EQ(g.group, 1u);
    EXPECT_EQ(file->getOption(1).defaultOn, 0u);
    EXPECT_EQ(u8(file->getString(file->getOption(1).name)), "style");
}

TEST_F(RuleFileAccess, OutOfRangeIndicesGiveAllZeroRecords) {
    EXPECT_EQ(file->getRule(1), lexivor::Rule{});
    EXPECT_EQ(file->getRule(0xFFFFFFFFu), lexivor::Rule{});
    EXPECT_EQ(file->getOption(3), lexivor::Option{});
    EXPECT_EQ(file->getGroupName(1), lexivor::NamedGroup{});
    EXPECT_EQ(file->getConstant(3), lexivor::Constant{});
    EXPECT_EQ(file->getCode(file->getRule(1).condition), nullptr);
}

TEST_F(RuleFileAccess, StringReferencesEndAtThePool) {
    const std::uint32_t size = file->stringPoolSize();
    EXPECT_EQ(u8(file->getString(size - 1)), "");
    EXPECT_EQ(u8(file->getString(size)), "");
    EXPECT_EQ(std::string(file->getCString(size)), "");
    EXPECT_EQ(std::string(file->getCString(0xFFFFFFFFu)), "");
    // References into the middle of a string denote its tail.
    const std::uint32_t zebra = b.string("zebra");
    EXPECT_EQ(u8(file->getString(zebra + 2)), "bra");
    EXPECT_EQ(std::string(file->getCString(zebra + 2)), "bra");
}

TEST_F(RuleFileAccess, UndecodableBytesDoNotFailTheString) {
    PackageBuilder bad = minimal();
    const std::uint32_t ref = bad.string("a\xFF" "b");
    TempPackage t(bad.build());
    const auto f = RuleFile::load(t.url());
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->getString(ref).getLength(), 3);
    EXPECT_EQ(f->getString(ref)[0], u'a');
    EXPECT_EQ(f->getString(ref)[2], u'b');
}

TEST_F(RuleFileAccess, CodeReferencesAreOnePlusAnOffset) {
    ASSERT_EQ(file->codeSize(), 2u);
    EXPECT_EQ(file->getCode(0), nullptr);
    EXPECT_EQ(file->getCode(1), file->codeBegin());
    EXPECT_EQ(*file->getCode(1), 0x04);
    EXPECT_EQ(file->getCode(2), file->codeBegin() + 1);
    EXPECT_EQ(file->getCode(3), nullptr);
    EXPECT_EQ(file->getCode(0xFFFFFFFFu), nullptr);
}

TEST_F(RuleFileAccess, FindOptionGivesTheFirstOfEqualNames) {
    EXPECT_EQ(file->findOption(u"typo"), 0);
    EXPECT_EQ(file->findOption(u"style"), 1);
    EXPECT_EQ(file->findOption(u"Typo"), -1);
    EXPECT_EQ(file->findOption(u""), -1);
}

TEST_F(RuleFileAccess, WordListLookupFindsExactlyItsKeys) {
    for (const char* key : {"a", "ab", "abc", "b", "zebra", "\xC3\xA9t\xC3\xA9"}) {
        SCOPED_TRACE(key);
        EXPECT_TRUE(file->constantContains(words, key));
    }
    const std::string_view absent[] = {"", "abcd", "aa", "Zebra", "zebr", "c", "\xC3\xA9", std::string_view("a\0", 2)};
    for (std::string_view key : absent) {
        SCOPED_TRACE(std::string(key));
        EXPECT_FALSE(file->constantContains(words, key));
    }
    EXPECT_EQ(file->constantEntryCount(words), 6u);
    // Entries in table order, which is the builder's byte order.
    EXPECT_EQ(u8(file->constantEntry(words, 0)), "a");
    EXPECT_EQ(u8(file->constantEntry(words, 5)), "\xC3\xA9t\xC3\xA9");
    EXPECT_EQ(u8(file->constantEntry(words, 6)), "");
    EXPECT_FALSE(file->constantLookup(words, "a").has_value());
}

TEST_F(RuleFileAccess, WordMapLookupGivesValues) {
    EXPECT_EQ(u8(file->constantLookup(map, "colour").value_or(u"?")), "color");
    EXPECT_EQ(u8(file->constantLookup(map, "centre").value_or(u"?")), "center");
    EXPECT_EQ(u8(file->constantLookup(map, "a").value_or(u"?")), "1");
    EXPECT_FALSE(file->constantLookup(map, "color").has_value());
    EXPECT_TRUE(file->constantContains(map, "colour"));
    EXPECT_FALSE(file->constantContains(map, "color"));
    EXPECT_EQ(file->constantEntryCount(map), 0u);
    EXPECT_EQ(u8(file->constantEntry(map, 0)), "");
}

TEST_F(RuleFileAccess, PatternsAndMissingConstantsHaveNoEntries) {
    EXPECT_FALSE(file->constantContains(pattern, "[0-9]+"));
    EXPECT_FALSE(file->constantLookup(pattern, "[0-9]+").has_value());
    EXPECT_EQ(file->constantEntryCount(pattern), 0u);
    EXPECT_EQ(file->getConstant(pattern).flags, 2u);
    for (std::uint32_t index : {3u, 0xFFFFFFFFu}) {
        EXPECT_FALSE(file->constantContains(index, "a"));
        EXPECT_FALSE(file->constantLookup(index, "a").has_value());
        EXPECT_EQ(file->constantEntryCount(index), 0u);
    }
}

TEST(RuleFileSearch, OutOfRangeKeyReferencesCompareAsTheEmptyString) {
    PackageBuilder b = minimal();
    // Sorted with the broken reference (read as "") first.
    const std::uint32_t at = b.entries({0xFFFFFFF0u, b.string("m"), b.string("z")});
    const std::uint32_t list = b.rawConstant({0, 3, at, 0});
    const std::uint32_t odd = b.rawConstant({9, 3, at, 0});
    const TempPackage t(b.build());
    const auto f = RuleFile::load(t.url());
    ASSERT_NE(f, nullptr);
    for (std::uint32_t c : {list, odd}) {
        EXPECT_TRUE(f->constantContains(c, ""));
        EXPECT_TRUE(f->constantContains(c, "m"));
        EXPECT_TRUE(f->constantContains(c, "z"));
        EXPECT_FALSE(f->constantContains(c, "n"));
    }
    EXPECT_EQ(f->constantEntryCount(odd), 0u);
}

TEST(RuleFileSearch, LargeListFindsEveryEntryAndNothingElse) {
    PackageBuilder b = minimal();
    std::vector<std::string> words;
    for (int i = 0; i < 1000; ++i) words.push_back(std::string("w").append(std::to_string(i * 7)));
    const std::uint32_t list = b.wordList(words);
    const TempPackage t(b.build());
    const auto f = RuleFile::load(t.url());
    ASSERT_NE(f, nullptr);
    for (int i = 0; i < 7000; ++i) {
        const std::string key = std::string("w").append(std::to_string(i));
        ASSERT_EQ(f->constantContains(list, key), i % 7 == 0) << key;
    }
}

TEST(RuleFileShare, OutlivesItsLoaderAndIsReleasedByTheLastHolder) {
    std::shared_ptr<const RuleFile> kept;
    std::weak_ptr<const RuleFile> watch;
    {
        const TempPackage t(minimal().build());
        auto f = RuleFile::load(t.url());
        ASSERT_NE(f, nullptr);
        kept = f;
        watch = f;
    }
    // The file is gone from the directory; the mapping still answers.
    EXPECT_EQ(u8(kept->getString(kept->getRule(0).pattern)), "a");
    kept.reset();
    EXPECT_TRUE(watch.expired());
}

} // namespace
