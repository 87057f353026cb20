#pragma once
// lexivor::Lexivor: the grammar checker as the host's linguistic framework sees
// it.  It finds the rule packages of the installation, loads the one for a
// paragraph's locale on first use, applies every rule of it in package order and
// reports the matches whose condition holds as proofreading errors.  It is also
// the lexivor::Host of the rule machine: spelling, morphology, measurements and
// numbers in words, answered by the host's spell checker and number-text service
// and cached for the life of the service.
//
// Threads: every entry point holds the host's linguistic mutex for its whole
// duration, and so does the configuration listener while it reloads options.
// The caches, the packages and the compiled rules have no lock of their own;
// the mutex is what makes sharing them safe.  The Host operations are only
// called by rule code inside doProofreading, so they run under it too.
//
// Ownership: the service owns its package cache (each package holds its mapped
// RuleFile and its compiled rules and matchers), the word caches and the
// morphology matchers.  The configuration's change notifier holds the option
// listener, which points back to the service without a reference; the service
// cuts that pointer and unregisters the listener when it goes.
//
// Only lingucomponent_Lexivor_get_implementation leaves the library; the class
// is declared here for the library's own units and its tests.

#include "lxrfile.hxx"
#include "lxvm.hxx"

#include <com/qam/vexo/container/collections.hxx>
#include <com/qam/vexo/lang/servicedisplayname.hxx>
#include <com/qam/vexo/linguistic2/events.hxx>
#include <com/qam/vexo/linguistic2/numbertext.hxx>
#include <com/qam/vexo/linguistic2/proofreading.hxx>
#include <com/qam/vexo/linguistic2/spelling.hxx>
#include <cppu/implbase.hxx>

#include <unicode/regex.h>

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <utility>
#include <vector>

namespace lexivor {

// One rule of a loaded package, compiled on its first use.
struct CompiledRule {
    std::unique_ptr<icu::RegexPattern> regex;
    std::unique_ptr<icu::RegexMatcher> matcher; // null when the expression does not compile
    OUString identifier;                        // the rule's pattern text
    std::vector<OUString> requiredTexts;        // every match contains one of them (see lxliteral.hxx)
    bool compiled = false;                      // a rule is compiled at most once
};

// A loaded rule package with the state that belongs to it.
struct Package {
    std::shared_ptr<const RuleFile> file;
    std::vector<bool> optionValues;                               // one per option record
    std::vector<CompiledRule> compiledRules;                      // one per rule
    std::vector<std::unique_ptr<icu::RegexMatcher>> constantMatchers; // one slot per constant, sized on first use
};

// One convertible unit: q in this unit is (b + offset) * factor * 10^-power of
// the base quantity b of its kind.
struct Unit {
    std::u16string_view name;
    double factor;
    double offset;
    char kind; // 'm' mass, 'l' length, 'v' volume, 's' speed, 't' temperature
    sal_Int16 power;
};

// The unit of that name (exact, case-sensitive), or null.
const Unit* findUnit(std::u16string_view name);
// x in automatic notation with as many decimals as it needs, always with a
// decimal point or an exponent ("2000.0", "3.25").
OUString formatDecimal(double x);

// Bounds the work of one search, so that a pattern that backtracks without end
// (such as "(a+)+$" on a long run of letters) cannot hang the proofreading of a
// paragraph: the search then fails as on any other ICU error.  The unit is
// ICU's, of the order of a millisecond of matching; real rules need a tiny
// fraction of it per search.
inline constexpr int32_t matchTimeLimit = 500;
void limitMatchTime(icu::RegexMatcher& matcher);

class ConfigurationListener;

class Lexivor final
    : public cppu::WeakImplHelper<com::qam::vexo::linguistic2::XProofreader,
                                  com::qam::vexo::linguistic2::XLinguServiceEventBroadcaster,
                                  com::qam::vexo::lang::XServiceDisplayName, com::qam::vexo::lang::XServiceInfo>,
      public Host {
public:
    Lexivor();
    Lexivor(const Lexivor&) = delete;
    Lexivor& operator=(const Lexivor&) = delete;

    // XSupportedLocales
    zel::uno::Sequence<com::qam::vexo::lang::Locale> getLocales() override;
    bool hasLocale(const com::qam::vexo::lang::Locale& locale) override;
    // XProofreader
    bool isSpellChecker() override;
    com::qam::vexo::linguistic2::ProofreadingResult
    doProofreading(const OUString& documentIdentifier, const OUString& text, const com::qam::vexo::lang::Locale& locale,
                   sal_Int32 startOfSentencePosition, sal_Int32 suggestedBehindEndOfSentencePosition,
                   const zel::uno::Sequence<com::qam::vexo::beans::PropertyValue>& properties) override;
    void ignoreRule(const OUString& ruleIdentifier, const com::qam::vexo::lang::Locale& locale) override;
    void resetIgnoreRules() override;
    // XLinguServiceEventBroadcaster
    bool addLinguServiceEventListener(
        const zel::uno::Reference<com::qam::vexo::linguistic2::XLinguServiceEventListener>& listener) override;
    bool removeLinguServiceEventListener(
        const zel::uno::Reference<com::qam::vexo::linguistic2::XLinguServiceEventListener>& listener) override;
    // XServiceDisplayName
    OUString getServiceDisplayName(const com::qam::vexo::lang::Locale& locale) override;
    // XServiceInfo
    OUString getImplementationName() override;
    bool supportsService(const OUString& serviceName) override;
    zel::uno::Sequence<OUString> getSupportedServiceNames() override;

    // Host (lexivorhost.cxx)
    bool spell(const com::qam::vexo::lang::Locale& locale, const OUString& word) override;
    OUString morph(const com::qam::vexo::lang::Locale& locale, const OUString& word, const OUString& pattern,
                   bool all, bool onlyLastItem) override;
    OUString measurement(const OUString& value, const OUString& fromUnit, const OUString& toUnit,
                         const OUString& suffix, const OUString& decimalSeparator,
                         const OUString& thousandsSeparator, bool fractions) override;
    std::vector<OUString> stem(const com::qam::vexo::lang::Locale& locale, const OUString& word) override;
    std::vector<OUString> generate(const com::qam::vexo::lang::Locale& locale, const OUString& word,
                                   const OUString& example) override;
    OUString suggest(const com::qam::vexo::lang::Locale& locale, const OUString& word) override;
    OUString numberText(const OUString& number, const OUString& languageTag) override;
    icu::RegexMatcher* getConstantMatcher(unsigned int index) override;

    // Called by the configuration listener with the linguistic mutex held.
    void reloadOptions();

private:
    ~Lexivor() override;

    using CacheKey = std::pair<OUString, OUString>; // language tag, word

    void discoverPackages();
    Package* getPackage(const com::qam::vexo::lang::Locale& locale);
    void loadOptions(Package& package);
    void createOptionAccess();
    void checkParagraph(Package& package, const OUString& text, const com::qam::vexo::lang::Locale& locale,
                        std::vector<com::qam::vexo::linguistic2::SingleProofreadingError>& errors);

    std::vector<OUString> query(const com::qam::vexo::lang::Locale& locale, const OUString& text);
    const std::vector<OUString>& getAnalyses(const com::qam::vexo::lang::Locale& locale, const OUString& word);
    icu::RegexMatcher* getMorphMatcher(const OUString& pattern);

    // The check in progress, listeners and switched-off rules.
    Package* currentPackage_ = nullptr;
    std::vector<zel::uno::Reference<com::qam::vexo::linguistic2::XLinguServiceEventListener>> listeners_;
    std::set<OUString, std::less<>> ignoredRules_;

    // Packages, locales and options.
    bool discovered_ = false;
    std::map<OUString, OUString> packageUrls_; // language tag -> package URL
    std::vector<com::qam::vexo::lang::Locale> supportedLocales_;
    std::map<OUString, std::unique_ptr<Package>> packages_; // package URL -> package
    zel::uno::Reference<com::qam::vexo::container::XNameAccess> optionAccess_;
    zel::uno::Reference<ConfigurationListener> configurationListener_;

    // Host services and their caches.
    bool spellCheckerLookedUp_ = false;
    zel::uno::Reference<com::qam::vexo::linguistic2::XSpellChecker> spellChecker_;
    std::map<CacheKey, std::vector<OUString>> analysisCache_;
    std::map<CacheKey, std::vector<OUString>> stemCache_;
    std::map<CacheKey, OUString> suggestionCache_;
    std::map<OUString, std::unique_ptr<icu::RegexMatcher>> morphMatchers_;
    bool numberTextLookedUp_ = false;
    zel::uno::Reference<com::qam::vexo::linguistic2::XNumberText> numberTextService_;
};

} // namespace lexivor

// The component's entry function, in the host's convention for constructors.
extern "C" SAL_DLLPUBLIC_EXPORT zel::uno::XInterface*
lingucomponent_Lexivor_get_implementation(zel::uno::XComponentContext* context,
                                          zel::uno::Sequence<zel::uno::Any> const& arguments);
