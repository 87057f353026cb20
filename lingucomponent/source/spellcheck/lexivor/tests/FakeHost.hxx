#pragma once
// A lexivor::Host for the machine's tests: it records every call as one line of
// text ("spell(en|word)") and answers from tables that the test fills.  Pattern
// constants are compiled from the package, once per constant, as the
// proofreading service does; unlike the service it keeps no spelling caches.

#include <lxrfile.hxx>
#include <lxvm.hxx>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace lexivor::test {

class FakeHost : public Host {
public:
    explicit FakeHost(const RuleFile* file = nullptr);
    ~FakeHost() override;

    bool spell(const com::qam::vexo::lang::Locale& locale, const OUString& word) override;
    OUString morph(const com::qam::vexo::lang::Locale& locale, const OUString& word, const OUString& pattern, bool all,
                   bool onlyLastItem) override;
    OUString measurement(const OUString& value, const OUString& fromUnit, const OUString& toUnit,
                         const OUString& suffix, const OUString& decimalSeparator,
                         const OUString& thousandsSeparator, bool fractions) override;
    std::vector<OUString> stem(const com::qam::vexo::lang::Locale& locale, const OUString& word) override;
    std::vector<OUString> generate(const com::qam::vexo::lang::Locale& locale, const OUString& word,
                                   const OUString& example) override;
    OUString suggest(const com::qam::vexo::lang::Locale& locale, const OUString& word) override;
    OUString numberText(const OUString& number, const OUString& languageTag) override;
    icu::RegexMatcher* getConstantMatcher(unsigned int index) override;

    void setFile(const RuleFile* file) { file_ = file; }

    // Calls in order, e.g. "morph(en|word|pattern|all|last)".
    std::vector<std::string> calls;
    // Answers; anything not listed gives false, "" or an empty list.
    std::vector<std::string> correctWords;
    OUString answer; // morph, measurement, suggest and numberText
    std::vector<OUString> listAnswer;

private:
    const RuleFile* file_;
    std::map<unsigned, std::unique_ptr<icu::RegexMatcher>> matchers_;
};

} // namespace lexivor::test
