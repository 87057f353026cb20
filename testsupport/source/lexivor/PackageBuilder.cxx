#include <testsupport/lexivor/PackageBuilder.hxx>

#include <testsupport/lexivor/Assembler.hxx>

#include <osl/file.hxx>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <unistd.h>

namespace testsupport::lexivor {

namespace {

void put(std::vector<unsigned char>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<unsigned char>(v >> (8 * i)));
}

std::uint32_t size32(std::size_t n) {
    if (n > 0xFFFFFFFFu) throw std::length_error("PackageBuilder: package larger than 4 GiB");
    return static_cast<std::uint32_t>(n);
}

} // namespace

PackageBuilder::PackageBuilder() {
    stringPool_.push_back('\0');
    packageName_ = string("test");
}

std::uint32_t PackageBuilder::string(std::string_view utf8) {
    if (utf8.find('\0') != std::string_view::npos)
        throw std::invalid_argument("PackageBuilder: a pool string cannot hold a zero byte");
    if (utf8.empty()) return 0;
    // Reuse an earlier copy, including a shared tail of a longer string.
    std::string needle(utf8);
    needle.push_back('\0');
    const std::size_t at = stringPool_.find(needle);
    if (at != std::string::npos) return size32(at);
    const std::uint32_t ref = size32(stringPool_.size());
    stringPool_ += needle;
    return ref;
}

PackageBuilder& PackageBuilder::name(std::string_view utf8) {
    packageName_ = string(utf8);
    return *this;
}
PackageBuilder& PackageBuilder::displayName(std::string_view utf8) {
    displayName_ = string(utf8);
    return *this;
}
PackageBuilder& PackageBuilder::description(std::string_view utf8) {
    description_ = string(utf8);
    return *this;
}
PackageBuilder& PackageBuilder::languageTag(std::string_view bcp47) {
    languageTags_.push_back(string(bcp47));
    return *this;
}
PackageBuilder& PackageBuilder::version(std::uint32_t v) {
    version_ = v;
    return *this;
}

std::uint32_t PackageBuilder::option(std::string_view name, bool defaultOn) {
    options_.push_back({string(name), defaultOn ? 1u : 0u});
    return size32(options_.size() - 1);
}

std::uint32_t PackageBuilder::rule(const RuleSpec& desc) {
    ::lexivor::Rule r;
    r.pattern = string(desc.pattern);
    r.flags = desc.flags;
    r.trigram = desc.trigram;
    r.suggestion = string(desc.suggestion);
    r.suggestionCode = desc.suggestionCode;
    r.message = string(desc.message);
    r.messageCode = desc.messageCode;
    r.condition = desc.condition;
    r.errorGroup = desc.errorGroup;
    r.firstGroupName = size32(namedGroups_.size());
    r.groupNameCount = size32(desc.groupNames.size());
    for (const auto& [name, group] : desc.groupNames) namedGroup(name, group);
    return rawRule(r);
}

std::uint32_t PackageBuilder::rawRule(const ::lexivor::Rule& rule) {
    rules_.push_back(rule);
    return size32(rules_.size() - 1);
}

std::uint32_t PackageBuilder::namedGroup(std::string_view name, std::uint32_t group) {
    namedGroups_.push_back({string(name), group});
    return size32(namedGroups_.size() - 1);
}

std::uint32_t PackageBuilder::wordList(std::vector<std::string> words) {
    // std::string compares as unsigned bytes with a proper prefix first, which
    // is the order the reader's binary search expects.
    std::sort(words.begin(), words.end());
    std::vector<std::uint32_t> refs;
    for (const std::string& w : words) refs.push_back(string(w));
    return rawConstant({std::uint32_t(::lexivor::ConstantKind::WordList), size32(words.size()), entries(refs), 0});
}

std::uint32_t PackageBuilder::wordMap(std::vector<std::pair<std::string, std::string>> map) {
    std::sort(map.begin(), map.end());
    std::vector<std::uint32_t> refs;
    for (const auto& [key, value] : map) {
        refs.push_back(string(key));
        refs.push_back(string(value));
    }
    return rawConstant({std::uint32_t(::lexivor::ConstantKind::WordMap), size32(map.size()), entries(refs), 0});
}

std::uint32_t PackageBuilder::pattern(std::string_view regex, std::uint32_t flags) {
    return rawConstant({std::uint32_t(::lexivor::ConstantKind::Pattern), 0, string(regex), flags});
}

std::uint32_t PackageBuilder::rawConstant(const ::lexivor::Constant& constant) {
    constants_.push_back(constant);
    return size32(constants_.size() - 1);
}

std::uint32_t PackageBuilder::entries(const std::vector<std::uint32_t>& values) {
    const std::uint32_t offset = size32(entryPool_.size() * 4);
    entryPool_.insert(entryPool_.end(), values.begin(), values.end());
    return offset;
}

std::uint32_t PackageBuilder::code(std::string_view assembly) {
    return rawCode(assemble(assembly, [this](std::string_view s) { return string(s); }));
}

std::uint32_t PackageBuilder::rawCode(const std::vector<unsigned char>& bytes) {
    const std::uint32_t ref = size32(code_.size() + 1);
    code_.insert(code_.end(), bytes.begin(), bytes.end());
    return ref;
}

std::vector<unsigned char> PackageBuilder::build() const {
    const std::size_t tagsAt = ::lexivor::headerSize;
    const std::size_t optionsAt = tagsAt + languageTags_.size() * 4;
    const std::size_t rulesAt = optionsAt + options_.size() * ::lexivor::optionRecordSize;
    const std::size_t groupsAt = rulesAt + rules_.size() * ::lexivor::ruleRecordSize;
    const std::size_t constantsAt = groupsAt + namedGroups_.size() * ::lexivor::namedGroupRecordSize;
    const std::size_t codeAt = constantsAt + constants_.size() * ::lexivor::constantRecordSize;
    const std::size_t entriesAt = codeAt + code_.size();
    const std::size_t stringsAt = entriesAt + entryPool_.size() * 4;

    std::vector<unsigned char> out{'L', 'E', 'X', 'V', 'O', 'R', 0, 0};
    put(out, version_);
    put(out, 0);
    put(out, packageName_);
    put(out, displayName_);
    put(out, description_);
    put(out, size32(languageTags_.size()));
    put(out, size32(tagsAt));
    put(out, size32(options_.size()));
    put(out, size32(optionsAt));
    put(out, size32(rules_.size()));
    put(out, size32(rulesAt));
    put(out, size32(namedGroups_.size()));
    put(out, size32(groupsAt));
    put(out, size32(codeAt));
    put(out, size32(code_.size()));
    put(out, size32(constants_.size()));
    put(out, size32(constantsAt));
    put(out, size32(stringsAt));
    put(out, size32(stringPool_.size()));
    put(out, size32(entriesAt));

    for (std::uint32_t t : languageTags_) put(out, t);
    for (const auto& o : options_) {
        put(out, o.name);
        put(out, o.defaultOn);
    }
    for (const auto& r : rules_)
        for (std::uint32_t v : {r.pattern, r.flags, r.trigram, r.suggestion, r.suggestionCode, r.message,
                                r.messageCode, r.condition, r.errorGroup, r.firstGroupName, r.groupNameCount})
            put(out, v);
    for (const auto& g : namedGroups_) {
        put(out, g.name);
        put(out, g.group);
    }
    for (const auto& c : constants_)
        for (std::uint32_t v : {c.kind, c.count, c.offset, c.flags}) put(out, v);
    out.insert(out.end(), code_.begin(), code_.end());
    for (std::uint32_t v : entryPool_) put(out, v);
    out.insert(out.end(), stringPool_.begin(), stringPool_.end());
    size32(out.size());
    return out;
}

void putU32(std::vector<unsigned char>& bytes, std::size_t offset, std::uint32_t value) {
    if (offset > bytes.size() || bytes.size() - offset < 4) throw std::out_of_range("putU32: offset beyond the package");
    for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<unsigned char>(value >> (8 * i));
}

std::uint32_t getU32(const std::vector<unsigned char>& bytes, std::size_t offset) {
    if (offset > bytes.size() || bytes.size() - offset < 4) throw std::out_of_range("getU32: offset beyond the package");
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= std::uint32_t(bytes[offset + i]) << (8 * i);
    return v;
}

TempPackage::TempPackage(const std::vector<unsigned char>& bytes) {
    const char* dir = std::getenv("TMPDIR");
    std::string pattern = std::string(dir != nullptr && *dir != '\0' ? dir : "/tmp") + "/lexivor-XXXXXX.lxr";
    const int fd = ::mkstemps(pattern.data(), 4);
    if (fd < 0) throw std::runtime_error("TempPackage: cannot create " + pattern);
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n <= 0) {
            ::close(fd);
            ::unlink(pattern.c_str());
            throw std::runtime_error("TempPackage: cannot write " + pattern);
        }
        written += static_cast<std::size_t>(n);
    }
    ::close(fd);
    path_ = pattern;
    if (osl::FileBase::getFileURLFromSystemPath(OUString::fromUtf8(path_), url_) != osl_File_E_None) {
        ::unlink(path_.c_str());
        throw std::runtime_error("TempPackage: no URL for " + path_);
    }
}

TempPackage::~TempPackage() { ::unlink(path_.c_str()); }

} // namespace testsupport::lexivor
