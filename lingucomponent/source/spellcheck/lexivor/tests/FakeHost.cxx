#include "FakeHost.hxx"

#include <unicode/regex.h>

#include <algorithm>

namespace lexivor::test {

namespace {
std::string u8(const OUString& s) { return s.toUtf8().toStdString(); }
} // namespace

FakeHost::FakeHost(const RuleFile* file) : file_(file) {}
FakeHost::~FakeHost() = default;

bool FakeHost::spell(const com::qam::vexo::lang::Locale& locale, const OUString& word) {
    calls.push_back("spell(" + u8(locale.Language) + "|" + u8(word) + ")");
    return std::find(correctWords.begin(), correctWords.end(), u8(word)) != correctWords.end();
}

OUString FakeHost::morph(const com::qam::vexo::lang::Locale& locale, const OUString& word, const OUString& pattern,
                         bool all, bool onlyLastItem) {
    calls.push_back("morph(" + u8(locale.Language) + "|" + u8(word) + "|" + u8(pattern) + "|"
                    + (all ? "all" : "any") + "|" + (onlyLastItem ? "last" : "every") + ")");
    return answer;
}

OUString FakeHost::measurement(const OUString& value, const OUString& fromUnit, const OUString& toUnit,
                               const OUString& suffix, const OUString& decimalSeparator,
                               const OUString& thousandsSeparator, bool fractions) {
    calls.push_back("measurement(" + u8(value) + "|" + u8(fromUnit) + "|" + u8(toUnit) + "|" + u8(suffix) + "|"
                    + u8(decimalSeparator) + "|" + u8(thousandsSeparator) + "|" + (fractions ? "fractions" : "plain")
                    + ")");
    return answer;
}

std::vector<OUString> FakeHost::stem(const com::qam::vexo::lang::Locale& locale, const OUString& word) {
    calls.push_back("stem(" + u8(locale.Language) + "|" + u8(word) + ")");
    return listAnswer;
}

std::vector<OUString> FakeHost::generate(const com::qam::vexo::lang::Locale& locale, const OUString& word,
                                         const OUString& example) {
    calls.push_back("generate(" + u8(locale.Language) + "|" + u8(word) + "|" + u8(example) + ")");
    return listAnswer;
}

OUString FakeHost::suggest(const com::qam::vexo::lang::Locale& locale, const OUString& word) {
    calls.push_back("suggest(" + u8(locale.Language) + "|" + u8(word) + ")");
    return answer;
}

OUString FakeHost::numberText(const OUString& number, const OUString& languageTag) {
    calls.push_back("numberText(" + u8(number) + "|" + u8(languageTag) + ")");
    return answer;
}

icu::RegexMatcher* FakeHost::getConstantMatcher(unsigned int index) {
    calls.push_back("getConstantMatcher(" + std::to_string(index) + ")");
    if (file_ == nullptr || index >= file_->constantCount()) return nullptr;
    auto it = matchers_.find(index);
    if (it != matchers_.end()) return it->second.get();
    const Constant c = file_->getConstant(index);
    if (c.kind != sal_uInt32(ConstantKind::Pattern)) return nullptr;
    const OUString pattern = file_->getString(c.offset);
    UErrorCode status = U_ZERO_ERROR;
    auto m = std::make_unique<icu::RegexMatcher>(
        icu::UnicodeString(pattern.getStr(), pattern.getLength()), c.flags, status);
    if (U_FAILURE(status)) return nullptr;
    return matchers_.emplace(index, std::move(m)).first->second.get();
}

} // namespace lexivor::test
