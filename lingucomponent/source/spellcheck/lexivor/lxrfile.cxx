#include "lxrfile.hxx"

#include <osl/file.h>
#include <sal/logging.hxx>

#include <algorithm>
#include <cassert>
#include <cstring>

namespace lexivor {

namespace {

constexpr char logArea[] = "lingucomponent.lexivor";
constexpr unsigned char magic[8] = {'L', 'E', 'X', 'V', 'O', 'R', 0, 0};
constexpr sal_uInt64 maxFileSize = 0xFFFFFFFFu;

sal_uInt32 readU32(const unsigned char* p) {
    return sal_uInt32(p[0]) | sal_uInt32(p[1]) << 8 | sal_uInt32(p[2]) << 16 | sal_uInt32(p[3]) << 24;
}

// Header field offsets.
enum HeaderField : std::size_t {
    hVersion = 8,
    hPackageName = 16,
    hDisplayName = 20,
    hDescription = 24,
    hLanguageTagCount = 28,
    hLanguageTagOffset = 32,
    hOptionCount = 36,
    hOptionOffset = 40,
    hRuleCount = 44,
    hRuleOffset = 48,
    hNamedGroupCount = 52,
    hNamedGroupOffset = 56,
    hCodeOffset = 60,
    hCodeSize = 64,
    hConstantCount = 68,
    hConstantOffset = 72,
    hStringPoolOffset = 76,
    hStringPoolSize = 80,
    hEntryPoolOffset = 84,
};

// Whether [offset, offset + size) lies inside a file of fileSize bytes; all in
// 64 bits, and never computing offset + size, so nothing wraps.
bool fits(sal_uInt64 fileSize, sal_uInt64 offset, sal_uInt64 size) {
    return offset <= fileSize && fileSize - offset >= size;
}

// Compares a zero-terminated entry key with the searched bytes as unsigned bytes,
// a proper prefix being smaller.  The key cannot run past the pool: the pool's
// last byte is 0.
int compareKey(const char* entryKey, std::string_view key) {
    const auto* e = reinterpret_cast<const unsigned char*>(entryKey);
    const auto* k = reinterpret_cast<const unsigned char*>(key.data());
    const std::size_t n = key.size();
    for (std::size_t i = 0;; ++i) {
        if (e[i] == 0) return i == n ? 0 : -1;
        if (i == n) return 1;
        if (e[i] != k[i]) return e[i] < k[i] ? -1 : 1;
    }
}

OUString decode(std::string_view utf8) {
    // Most pool strings (option names, words, patterns) are ASCII: widen them
    // directly into the new string instead of going through the converter.
    if (std::all_of(utf8.begin(), utf8.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
        const auto length = static_cast<sal_Int32>(utf8.size());
        OUString s(rtl_uString_alloc(length), nullptr);
        std::copy(utf8.begin(), utf8.end(), s.pData->buffer);
        s.pData->buffer[length] = 0;
        return s;
    }
    return OUString(utf8.data(), static_cast<sal_Int32>(utf8.size()), RTL_TEXTENCODING_UTF8);
}

// Only a regular file, or a link (whose target the size check below vets: a
// FIFO or a device has no size), is opened: opening anything else could wait
// for a writer or a device, or have effects of its own.
bool mayBePackage(const OUString& url) {
    oslDirectoryItem item = nullptr;
    if (osl_getDirectoryItem(url.pData, &item) != osl_File_E_None) return false;
    oslFileStatus status{};
    status.uStructSize = sizeof status;
    const bool ok = osl_getFileStatus(item, &status, osl_FileStatus_Mask_Type) == osl_File_E_None
                    && (status.uValidFields & osl_FileStatus_Mask_Type) != 0
                    && (status.eType == osl_File_Type_Regular || status.eType == osl_File_Type_Link);
    osl_releaseDirectoryItem(item);
    return ok;
}

} // namespace

RuleFile::~RuleFile() {
    if (data_ != nullptr) osl_unmapMappedFile(handle_, const_cast<unsigned char*>(data_), size_);
    if (handle_ != nullptr) osl_closeFile(handle_);
}

std::shared_ptr<const RuleFile> RuleFile::load(const OUString& url) {
    // Constructed first so that everything acquired below is released on every
    // failure path by the destructor.
    auto file = std::make_shared<RuleFile>(Private{});
    if (!mayBePackage(url) || osl_openFile(url.pData, &file->handle_, osl_File_OpenFlag_Read) != osl_File_E_None) {
        file->handle_ = nullptr;
        QX_LOG_WARN(logArea, "cannot open <" << url << ">");
        return {};
    }
    sal_uInt64 size = 0;
    if (osl_getFileSize(file->handle_, &size) != osl_File_E_None || size < headerSize || size > maxFileSize) {
        QX_LOG_WARN(logArea, "bad size for <" << url << ">");
        return {};
    }
    void* addr = nullptr;
    if (osl_mapFile(file->handle_, &addr, size, 0, osl_File_MapFlag_RandomAccess) != osl_File_E_None
        || addr == nullptr) {
        QX_LOG_WARN(logArea, "cannot map <" << url << ">");
        return {};
    }
    file->data_ = static_cast<const unsigned char*>(addr);
    file->size_ = size;
    if (!file->parse()) {
        QX_LOG_WARN(logArea, "not a usable rule package: <" << url << ">");
        return {};
    }
    QX_LOG_INFO(logArea, "loaded " << file->ruleCount_ << " rules for " << file->packageName_ << " from <" << url
                                << ">: " << file->description_);
    return file;
}

bool RuleFile::parse() {
    const unsigned char* h = data_;
    if (std::memcmp(h, magic, sizeof magic) != 0 || readU32(h + hVersion) != formatVersion) return false;

    languageTagCount_ = readU32(h + hLanguageTagCount);
    optionCount_ = readU32(h + hOptionCount);
    ruleCount_ = readU32(h + hRuleCount);
    namedGroupCount_ = readU32(h + hNamedGroupCount);
    codeSize_ = readU32(h + hCodeSize);
    constantCount_ = readU32(h + hConstantCount);
    stringPoolSize_ = readU32(h + hStringPoolSize);
    const sal_uInt32 stringPoolOffset = readU32(h + hStringPoolOffset);
    const sal_uInt32 entryPoolOffset = readU32(h + hEntryPoolOffset);
    entryPoolSize_ = stringPoolOffset > entryPoolOffset ? stringPoolOffset - entryPoolOffset : 0;

    struct Region {
        std::size_t offsetField;
        sal_uInt64 size;
        const unsigned char** start;
    };
    const Region regions[] = {
        {hLanguageTagOffset, sal_uInt64(languageTagCount_) * 4, &languageTagTable_},
        {hOptionOffset, sal_uInt64(optionCount_) * optionRecordSize, &optionTable_},
        {hRuleOffset, sal_uInt64(ruleCount_) * ruleRecordSize, &ruleTable_},
        {hNamedGroupOffset, sal_uInt64(namedGroupCount_) * namedGroupRecordSize, &namedGroupTable_},
        {hCodeOffset, codeSize_, &code_},
        {hConstantOffset, sal_uInt64(constantCount_) * constantRecordSize, &constantTable_},
        {hEntryPoolOffset, entryPoolSize_, &entryPool_},
        {hStringPoolOffset, stringPoolSize_, &stringPool_},
    };
    for (const Region& r : regions) {
        const sal_uInt32 offset = readU32(h + r.offsetField);
        if (!fits(size_, offset, r.size)) return false;
        // An empty region keeps a null start, so nothing can ever be read from it.
        *r.start = r.size == 0 ? nullptr : data_ + offset;
    }

    if (stringPoolSize_ == 0 || stringPool_[stringPoolSize_ - 1] != 0) return false;

    packageName_ = getString(readU32(h + hPackageName));
    displayName_ = getString(readU32(h + hDisplayName));
    description_ = getString(readU32(h + hDescription));
    languageTags_.reserve(languageTagCount_);
    for (sal_uInt32 i = 0; i < languageTagCount_; ++i) languageTags_.push_back(getString(readU32(languageTagTable_ + 4 * i)));

    for (sal_uInt32 i = 0; i < constantCount_; ++i) {
        const Constant c = getConstant(i);
        if (c.kind == sal_uInt32(ConstantKind::Pattern)) {
            if (c.offset >= stringPoolSize_) return false;
            continue;
        }
        const sal_uInt64 bytes = sal_uInt64(c.count) * (c.kind == sal_uInt32(ConstantKind::WordMap) ? 8 : 4);
        if (!fits(entryPoolSize_, c.offset, bytes)) return false;
    }

    for (sal_uInt32 i = 0; i < ruleCount_; ++i)
        if (getRule(i).trigram > maxTrigram) return false;

    for (sal_uInt32 i = 0; i < optionCount_; ++i)
        optionsByName_.try_emplace(getString(getOption(i).name), static_cast<sal_Int32>(i));

    return !packageName_.isEmpty() && ruleCount_ != 0;
}

std::string_view RuleFile::getStringView(sal_uInt32 ref) const {
    if (ref >= stringPoolSize_) return {};
    const char* s = reinterpret_cast<const char*>(stringPool_ + ref);
    // The pool ends with a zero byte, so this stops inside it.
    return {s, std::strlen(s)};
}

const char* RuleFile::getCString(sal_uInt32 ref) const {
    if (ref >= stringPoolSize_) return "";
    return reinterpret_cast<const char*>(stringPool_ + ref);
}

OUString RuleFile::getString(sal_uInt32 ref) const {
    const std::string_view s = getStringView(ref);
    if (s.empty()) return OUString();
    return decode(s);
}

Rule RuleFile::getRule(sal_uInt32 index) const {
    if (index >= ruleCount_) return Rule{};
    const unsigned char* p = ruleTable_ + std::size_t(index) * ruleRecordSize;
    return Rule{readU32(p),      readU32(p + 4),  readU32(p + 8),  readU32(p + 12),
                readU32(p + 16), readU32(p + 20), readU32(p + 24), readU32(p + 28),
                readU32(p + 32), readU32(p + 36), readU32(p + 40)};
}

Option RuleFile::getOption(sal_uInt32 index) const {
    if (index >= optionCount_) return Option{};
    const unsigned char* p = optionTable_ + std::size_t(index) * optionRecordSize;
    return Option{readU32(p), readU32(p + 4)};
}

NamedGroup RuleFile::getGroupName(sal_uInt32 index) const {
    if (index >= namedGroupCount_) return NamedGroup{};
    const unsigned char* p = namedGroupTable_ + std::size_t(index) * namedGroupRecordSize;
    return NamedGroup{readU32(p), readU32(p + 4)};
}

Constant RuleFile::getConstant(sal_uInt32 index) const {
    if (index >= constantCount_) return Constant{};
    const unsigned char* p = constantTable_ + std::size_t(index) * constantRecordSize;
    return Constant{readU32(p), readU32(p + 4), readU32(p + 8), readU32(p + 12)};
}

sal_Int32 RuleFile::findOption(std::u16string_view name) const {
    auto it = optionsByName_.find(name);
    return it == optionsByName_.end() ? -1 : it->second;
}

const unsigned char* RuleFile::entry(const Constant& c, sal_uInt32 i, std::size_t elementSize) const {
    // parse() checked offset + count * elementSize against the entry pool.
    assert(i < c.count && "entry index checked by the caller");
    return entryPool_ + c.offset + std::size_t(i) * elementSize;
}

sal_Int64 RuleFile::search(const Constant& c, std::size_t elementSize, std::string_view key) const {
    sal_uInt32 lo = 0;
    sal_uInt32 hi = c.count;
    while (lo < hi) {
        const sal_uInt32 mid = lo + (hi - lo) / 2;
        const int cmp = compareKey(getCString(readU32(entry(c, mid, elementSize))), key);
        if (cmp == 0) return mid;
        if (cmp < 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    return -1;
}

bool RuleFile::constantContains(sal_uInt32 index, std::string_view utf8Key) const {
    if (index >= constantCount_) return false;
    const Constant c = getConstant(index);
    if (c.kind == sal_uInt32(ConstantKind::Pattern)) return false;
    return search(c, c.kind == sal_uInt32(ConstantKind::WordMap) ? 8 : 4, utf8Key) >= 0;
}

std::optional<OUString> RuleFile::constantLookup(sal_uInt32 index, std::string_view utf8Key) const {
    if (index >= constantCount_) return std::nullopt;
    const Constant c = getConstant(index);
    if (c.kind != sal_uInt32(ConstantKind::WordMap)) return std::nullopt;
    const sal_Int64 i = search(c, 8, utf8Key);
    if (i < 0) return std::nullopt;
    return getString(readU32(entry(c, static_cast<sal_uInt32>(i), 8) + 4));
}

sal_uInt32 RuleFile::constantEntryCount(sal_uInt32 index) const {
    if (index >= constantCount_) return 0;
    const Constant c = getConstant(index);
    return c.kind == sal_uInt32(ConstantKind::WordList) ? c.count : 0;
}

std::string_view RuleFile::constantEntryView(sal_uInt32 index, sal_uInt32 entryIndex) const {
    if (entryIndex >= constantEntryCount(index)) return {};
    return getStringView(readU32(entry(getConstant(index), entryIndex, 4)));
}

OUString RuleFile::constantEntry(sal_uInt32 index, sal_uInt32 entryIndex) const {
    const std::string_view s = constantEntryView(index, entryIndex);
    if (s.empty()) return OUString();
    return decode(s);
}

const unsigned char* RuleFile::getCode(sal_uInt32 ref) const {
    if (ref == 0 || ref - 1 >= codeSize_) return nullptr;
    return code_ + (ref - 1);
}

} // namespace lexivor
