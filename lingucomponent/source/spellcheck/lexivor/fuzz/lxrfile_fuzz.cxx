// Feeds arbitrary bytes to RuleFile::load as a package file, then reads every
// record, string and constant that the header announces, as the proofreading
// service would.
#include <lxrfile.hxx>

#include <testsupport/lexivor/PackageBuilder.hxx>

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<unsigned char> bytes(data, data + size);
    const testsupport::lexivor::TempPackage temp(bytes);
    const auto file = lexivor::RuleFile::load(temp.url());
    if (!file) return 0;

    std::size_t sink = 0;
    const auto bound = [](std::uint32_t n) { return n < 4096 ? n : 4096u; };
    for (std::uint32_t i = 0; i < bound(file->ruleCount()) + 1; ++i) {
        const lexivor::Rule r = file->getRule(i);
        sink += static_cast<std::size_t>(file->getString(r.pattern).getLength());
        sink += file->getStringView(r.message).size();
        for (std::uint32_t code : {r.condition, r.suggestionCode, r.messageCode})
            if (const unsigned char* p = file->getCode(code)) sink += *p;
        for (std::uint32_t g = 0; g < bound(r.groupNameCount); ++g)
            sink += std::string_view(file->getCString(file->getGroupName(r.firstGroupName + g).name)).size();
    }
    for (std::uint32_t i = 0; i < bound(file->optionCount()) + 1; ++i)
        sink += static_cast<std::size_t>(file->findOption(file->getString(file->getOption(i).name).view()) + 1);
    for (std::uint32_t c = 0; c < bound(file->constantCount()) + 1; ++c) {
        const std::uint32_t n = bound(file->constantEntryCount(c));
        for (std::uint32_t e = 0; e <= n; ++e) {
            const std::string_view key = file->constantEntryView(c, e);
            sink += file->constantContains(c, key);
            sink += file->constantLookup(c, key).has_value();
        }
        sink += file->constantContains(c, "a");
        sink += file->constantLookup(c, "a").has_value();
    }
    return sink == 0xFFFFFFFF ? 1 : 0;
}
