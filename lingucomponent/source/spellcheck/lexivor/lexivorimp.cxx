#include "lexivorimp.hxx"
#include "lxliteral.hxx"

#include <algorithm>

#include <com/qam/vexo/beans/values.hxx>
#include <com/qam/vexo/configuration/theDefaultProvider.hxx>
#include <com/qam/vexo/util/changes.hxx>
#include <comphelper/processfactory.hxx>
#include <comphelper/vantor.hxx>
#include <cppu/supportsservice.hxx>
#include <languagetag/languagetag.hxx>
#include <linguistic/misc.hxx>
#include <osl/file.h>
#include <osl/mutex.hxx>
#include <rtl/bootstrap.hxx>
#include <rtl/ustrbuf.hxx>
#include <sal/logging.hxx>

#include <unicode/uchar.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>

#include <bitset>
#include <cassert>

using namespace com::qam::vexo;
using com::qam::vexo::lang::Locale;
using zel::uno::Any;
using zel::uno::Reference;
using zel::uno::Sequence;

namespace lexivor {

// Watches the option node of the configuration and reloads every package's
// options on any change below it.  `owner` is a plain back-pointer: the service
// holds this listener, never the other way round, and clears the pointer before
// it goes.
class ConfigurationListener final : public cppu::WeakImplHelper<util::XChangesListener> {
public:
    explicit ConfigurationListener(Lexivor* owner) : owner_(owner) {}

    void disposing(const lang::EventObject&) override {
        osl::MutexGuard guard(linguistic::GetLinguMutex());
        owner_ = nullptr;
    }
    void changesOccurred(const util::ChangesEvent&) override {
        osl::MutexGuard guard(linguistic::GetLinguMutex());
        if (owner_) owner_->reloadOptions();
    }
    // With the linguistic mutex held.
    void detach() { owner_ = nullptr; }

private:
    Lexivor* owner_;
};

namespace {

constexpr char16_t ruleDirectoryMacro[] = u"$BRAND_BASE_DIR/share/lexivor";
constexpr char16_t configurationAccessService[] = u"com.qam.vexo.configuration.ConfigurationAccess";
constexpr char16_t optionNodePath[] = u"/org.ambrel.Office.Linguistic/GrammarChecking/SentenceChecking";
constexpr char logArea[] = "lingucomponent.lexivor";

// The rule flag bit that the package format uses for capitalising suggestions.
constexpr sal_uInt32 capitalizeFlag = 2;
// What the host shows for a grammar error.
constexpr sal_Int32 grammarErrorType = 2;

OUString trimmed(const OUString& s) {
    OUString result;
    rtl_uString_newTrim(&result.pData, s.pData);
    return result;
}

OUString fromIcu(const icu::UnicodeString& s) { return OUString(s.getBuffer(), s.length()); }

// A read-only view of a string for ICU; the string must outlive it.
icu::UnicodeString aliasFor(const OUString& s) { return icu::UnicodeString(false, s.getStr(), s.getLength()); }

// The text of a group of the current match; empty on an ICU error or for a
// group that did not take part.
OUString groupText(icu::RegexMatcher& matcher, sal_Int32 group) {
    if (group < 0) return {};
    UErrorCode status = U_ZERO_ERROR;
    icu::UnicodeString g = matcher.group(group, status);
    if (U_FAILURE(status)) return {};
    return fromIcu(g);
}

bool isDigit(sal_Unicode c) { return c >= u'0' && c <= u'9'; }

// Expands a suggestion or message template against the current match.
OUString expand(const OUString& templ, icu::RegexMatcher& matcher, const RuleFile& file, const Rule& rule) {
    const sal_Int32 n = templ.getLength();
    OUStringBuffer out(n);
    for (sal_Int32 i = 0; i < n; ++i) {
        const sal_Unicode c = templ[i];
        if (c != u'\\') {
            out.append(c);
            continue;
        }
        if (i + 1 == n) {
            out.append(c);
            break;
        }
        const sal_Unicode next = templ[i + 1];
        if (isDigit(next)) {
            sal_Int32 group = next - u'0';
            i += 1;
            if (i + 1 < n && isDigit(templ[i + 1])) {
                group = group * 10 + (templ[i + 1] - u'0');
                i += 1;
            }
            out.append(groupText(matcher, group));
            continue;
        }
        if (next == u'g') {
            const sal_Int32 close = i + 2 < n && templ[i + 2] == u'<' ? templ.indexOf(u'>', i + 3) : -1;
            if (close < 0) {
                out.append(u'g');
                i += 1;
                continue;
            }
            const OUString name = templ.copy(i + 3, close - (i + 3));
            i = close;
            const sal_Int32 number = rtl_ustr_toInt32(name.getStr(), 10);
            if (number != 0 || name == u"0") {
                out.append(groupText(matcher, number));
                continue;
            }
            for (sal_uInt32 k = 0; k < rule.groupNameCount; ++k) {
                const NamedGroup named = file.getGroupName(rule.firstGroupName + k);
                if (file.getString(named.name) == name) {
                    if (named.group <= sal_uInt32(INT32_MAX)) out.append(groupText(matcher, sal_Int32(named.group)));
                    break;
                }
            }
            continue;
        }
        i += 1;
        switch (next) {
        case u'n':
            out.append(u'\n');
            break;
        case u'r':
            out.append(u'\r');
            break;
        case u't':
            out.append(u'\t');
            break;
        default: // a backslash, or any other unit, stands for itself
            out.append(next);
            break;
        }
    }
    return out.makeStringAndClear();
}

// "|" and line breaks separate alternatives; every piece counts, empty ones too.
std::vector<OUString> splitAlternatives(const OUString& text) {
    std::vector<OUString> pieces;
    const std::u16string_view v = text.view();
    std::size_t begin = 0;
    for (std::size_t i = 0; i <= v.size(); ++i) {
        if (i == v.size() || v[i] == u'|' || v[i] == u'\n') {
            pieces.emplace_back(v.substr(begin, i - begin));
            begin = i + 1;
        }
    }
    return pieces;
}

OUString upperFirstLowerRest(const OUString& s) {
    icu::UnicodeString first(s[0]);
    first.toUpper(icu::Locale::getRoot());
    icu::UnicodeString rest(s.getStr() + 1, s.getLength() - 1);
    rest.toLower(icu::Locale::getRoot());
    return fromIcu(first) + fromIcu(rest);
}

// A suggestion for a match that starts with a capital letter.  A leading "i"
// keeps the rest of the word as it is ("iPhone" -> "IPhone") and follows the
// language's own capital I: dotted in Turkish and Azeri, "IJ" for Dutch "ij".
OUString capitalizeSuggestion(const OUString& s, std::u16string_view language) {
    if (s.isEmpty()) return s;
    if (s[0] != u'i') return upperFirstLowerRest(s);
    if (language == u"tr" || language == u"az") return u"\u0130" + s.copy(1);
    if (language == u"nl" && s.getLength() > 1 && s[1] == u'j') return u"IJ" + s.copy(2);
    return u"I" + s.copy(1);
}

// Bit k is set when the lowered text has a window of three units with key k.
using TrigramSet = std::bitset<maxTrigram + 1>;

void fillTrigrams(const OUString& text, TrigramSet& set) {
    icu::UnicodeString lowered(text.getStr(), text.getLength());
    lowered.toLower(icu::Locale::getRoot());
    const char16_t* p = lowered.getBuffer();
    for (int32_t i = 0; i + 2 < lowered.length(); ++i) set.set(trigramKey(p[i], p[i + 1], p[i + 2]));
}

// Sets a pointer for the lifetime of a scope, also when the scope is left by an exception.
class ScopedPackage {
public:
    ScopedPackage(Package*& slot, Package* value) : slot_(slot) { slot_ = value; }
    ~ScopedPackage() { slot_ = nullptr; }
    ScopedPackage(const ScopedPackage&) = delete;
    ScopedPackage& operator=(const ScopedPackage&) = delete;

private:
    Package*& slot_;
};

// An item of an open directory, released when it goes.
class DirectoryItem {
public:
    DirectoryItem() = default;
    ~DirectoryItem() { reset(); }
    DirectoryItem(const DirectoryItem&) = delete;
    DirectoryItem& operator=(const DirectoryItem&) = delete;
    oslDirectoryItem* out() {
        reset();
        return &item_;
    }
    oslDirectoryItem get() const { return item_; }

private:
    void reset() {
        if (item_) osl_releaseDirectoryItem(item_);
        item_ = nullptr;
    }
    oslDirectoryItem item_ = nullptr;
};

// The file name and URL of a directory item; false when its status cannot be read.
bool nameAndUrl(oslDirectoryItem item, OUString& name, OUString& url) {
    oslFileStatus status{};
    status.uStructSize = sizeof status;
    const oslFileError error = osl_getFileStatus(item, &status, osl_FileStatus_Mask_FileName | osl_FileStatus_Mask_FileURL);
    // Whatever was filled belongs to us now, also on failure.
    OUString fileName = status.ustrFileName ? OUString(status.ustrFileName, nullptr) : OUString();
    OUString fileUrl = status.ustrFileURL ? OUString(status.ustrFileURL, nullptr) : OUString();
    constexpr sal_uInt32 wanted = osl_FileStatus_Mask_FileName | osl_FileStatus_Mask_FileURL;
    if (error != osl_File_E_None || (status.uValidFields & wanted) != wanted) return false;
    name = std::move(fileName);
    url = std::move(fileUrl);
    return true;
}

bool isPackageFileName(const OUString& name) { return name.getLength() >= 4 && name.endsWithIgnoreAsciiCase(u".lxr"); }

} // namespace

void limitMatchTime(icu::RegexMatcher& matcher) {
    UErrorCode status = U_ZERO_ERROR;
    matcher.setTimeLimit(matchTimeLimit, status);
    assert(U_SUCCESS(status) && "a positive time limit is always accepted");
}

Lexivor::Lexivor() = default;

Lexivor::~Lexivor() {
    osl::MutexGuard guard(linguistic::GetLinguMutex());
    if (!configurationListener_.is()) return;
    configurationListener_->detach();
    try {
        Reference<util::XChangesNotifier> notifier(optionAccess_, zel::uno::UNO_QUERY);
        if (notifier.is()) notifier->removeChangesListener(configurationListener_.get());
    } catch (const zel::uno::Exception&) {
        // The configuration may already be gone; the listener no longer reaches us either way.
    }
}

// --- XSupportedLocales ---------------------------------------------------------------

Sequence<Locale> Lexivor::getLocales() {
    osl::MutexGuard guard(linguistic::GetLinguMutex());
    discoverPackages();
    return Sequence<Locale>(supportedLocales_);
}

bool Lexivor::hasLocale(const Locale& locale) {
    osl::MutexGuard guard(linguistic::GetLinguMutex());
    discoverPackages();
    return packageUrls_.count(LanguageTag::convertToBcp47(locale, false)) != 0;
}

// --- XProofreader ---------------------------------------------------------------------

bool Lexivor::isSpellChecker() { return false; }

linguistic2::ProofreadingResult Lexivor::doProofreading(const OUString& documentIdentifier, const OUString& text,
                                                        const Locale& locale, sal_Int32 startOfSentencePosition,
                                                        sal_Int32 suggestedBehindEndOfSentencePosition,
                                                        const Sequence<beans::PropertyValue>&) {
    osl::MutexGuard guard(linguistic::GetLinguMutex());
    linguistic2::ProofreadingResult result;
    result.aDocumentIdentifier = documentIdentifier;
    result.aText = text;
    result.aLocale = locale;
    result.nStartOfSentencePosition = startOfSentencePosition;
    result.nBehindEndOfSentencePosition = suggestedBehindEndOfSentencePosition;
    result.nStartOfNextSentencePosition = suggestedBehindEndOfSentencePosition;
    result.xProofreader = this;
    // The whole paragraph is one sentence: it was checked when its start was asked for.
    if (startOfSentencePosition != 0) return result;
    result.nBehindEndOfSentencePosition = text.getLength();
    result.nStartOfNextSentencePosition = text.getLength();

    Package* package = getPackage(locale);
    if (!package || text.isEmpty()) return result;
    std::vector<linguistic2::SingleProofreadingError> errors;
    checkParagraph(*package, text, locale, errors);
    result.aErrors = Sequence<linguistic2::SingleProofreadingError>(std::move(errors));
    return result;
}

void Lexivor::checkParagraph(Package& package, const OUString& text, const Locale& locale,
                             std::vector<linguistic2::SingleProofreadingError>& errors) {
    const RuleFile& file = *package.file;
    auto trigrams = std::make_unique<TrigramSet>();
    fillTrigrams(text, *trigrams);

    ScopedPackage current(currentPackage_, &package);
    Context context{file, locale, text, package.optionValues, nullptr, *this};
    // The matchers read the paragraph in place through this view.
    const icu::UnicodeString input = aliasFor(text);

    const sal_uInt32 ruleCount = file.ruleCount();
    assert(package.compiledRules.size() == ruleCount && "one compiled rule per rule record");
    for (sal_uInt32 i = 0; i < ruleCount; ++i) {
        const Rule rule = file.getRule(i);
        if (rule.trigram != 0 && !trigrams->test(rule.trigram)) continue;

        CompiledRule& compiled = package.compiledRules[i];
        if (!compiled.compiled) {
            compiled.compiled = true;
            compiled.identifier = file.getString(rule.pattern);
            UParseError parseError{};
            UErrorCode status = U_ZERO_ERROR;
            compiled.regex.reset(icu::RegexPattern::compile(aliasFor(compiled.identifier), rule.flags & ~capitalizeFlag,
                                                            parseError, status));
            if (U_FAILURE(status) || !compiled.regex) {
                compiled.regex.reset();
                QX_LOG_WARN(logArea, "rule " << i << " of " << file.packageName() << " does not compile");
            } else {
                compiled.requiredTexts = requiredText(compiled.identifier, rule.flags & ~capitalizeFlag);
                compiled.matcher.reset(compiled.regex->matcher(status));
                if (U_FAILURE(status)) compiled.matcher.reset();
                if (compiled.matcher) limitMatchTime(*compiled.matcher);
            }
        }
        if (!compiled.matcher) continue;
        if (!ignoredRules_.empty() && ignoredRules_.count(compiled.identifier) != 0) continue;
        // Cheaper than a search that cannot succeed.
        if (!compiled.requiredTexts.empty() &&
            std::none_of(compiled.requiredTexts.begin(), compiled.requiredTexts.end(),
                         [&text](const OUString& t) { return text.indexOf(t) >= 0; }))
            continue;

        icu::RegexMatcher& matcher = *compiled.matcher;
        matcher.reset(input);
        context.matcher = &matcher;
        for (;;) {
            UErrorCode status = U_ZERO_ERROR;
            if (!matcher.find(status) || U_FAILURE(status)) break;
            if (rule.condition != 0 && !run(context, file.getCode(rule.condition)).isTrue()) continue;

            const int32_t group = rule.errorGroup <= sal_uInt32(INT32_MAX) ? int32_t(rule.errorGroup) : -1;
            const int32_t start = matcher.start(group, status);
            const int32_t end = matcher.end(group, status);
            if (U_FAILURE(status) || start < 0 || start > end) continue;

            linguistic2::SingleProofreadingError error;
            error.nErrorStart = start;
            error.nErrorLength = end - start;
            error.nErrorType = grammarErrorType;
            error.aRuleIdentifier = compiled.identifier;

            const bool capitalize = start < end && (rule.flags & capitalizeFlag) != 0 && u_isupper(text[start]);
            bool withSuggestions = true;
            OUString suggestionText;
            if (rule.suggestionCode != 0) {
                suggestionText = run(context, file.getCode(rule.suggestionCode)).str;
            } else {
                const OUString templ = file.getString(rule.suggestion);
                if (templ == u"_")
                    withSuggestions = false;
                else
                    suggestionText = expand(templ, matcher, file, rule);
            }
            if (withSuggestions) {
                std::vector<OUString> alternatives = splitAlternatives(suggestionText);
                if (capitalize)
                    for (OUString& a : alternatives) a = capitalizeSuggestion(a, locale.Language);
                error.aSuggestions = Sequence<OUString>(std::move(alternatives));
            }

            OUString message = rule.messageCode != 0 ? run(context, file.getCode(rule.messageCode)).str
                                                     : expand(file.getString(rule.message), matcher, file, rule);
            message = message.replaceAll(u"\\n", u"\n");
            const std::vector<OUString> lines = splitAlternatives(message);
            error.aShortComment = trimmed(lines.front());
            error.aFullComment = trimmed(lines.back());
            if (error.aFullComment.indexOf(u"://") >= 0) {
                beans::PropertyValue url;
                url.Name = u"FullCommentURL";
                url.Handle = 0;
                url.Value = Any(error.aFullComment);
                url.State = beans::PropertyState_DIRECT_VALUE;
                error.aProperties = Sequence<beans::PropertyValue>{url};
                error.aFullComment = error.aShortComment;
            }
            errors.push_back(std::move(error));
        }
        context.matcher = nullptr;
    }
}

void Lexivor::ignoreRule(const OUString& ruleIdentifier, const Locale&) {
    osl::MutexGuard guard(linguistic::GetLinguMutex());
    ignoredRules_.insert(ruleIdentifier);
}

void Lexivor::resetIgnoreRules() {
    osl::MutexGuard guard(linguistic::GetLinguMutex());
    ignoredRules_.clear();
}

// --- XLinguServiceEventBroadcaster -------------------------------------------------------

bool Lexivor::addLinguServiceEventListener(const Reference<linguistic2::XLinguServiceEventListener>& listener) {
    osl::MutexGuard guard(linguistic::GetLinguMutex());
    if (!listener.is()) return false;
    for (const auto& l : listeners_)
        if (l == listener) return false;
    listeners_.push_back(listener);
    return true;
}

bool Lexivor::removeLinguServiceEventListener(const Reference<linguistic2::XLinguServiceEventListener>& listener) {
    osl::MutexGuard guard(linguistic::GetLinguMutex());
    if (!listener.is()) return false;
    for (auto it = listeners_.begin(); it != listeners_.end(); ++it) {
        if (*it == listener) {
            listeners_.erase(it);
            return true;
        }
    }
    return false;
}

// --- XServiceDisplayName, XServiceInfo -------------------------------------------------------

OUString Lexivor::getServiceDisplayName(const Locale& locale) {
    osl::MutexGuard guard(linguistic::GetLinguMutex());
    if (const Package* package = getPackage(locale)) return package->file->displayName();
    return u"Lexivor";
}

OUString Lexivor::getImplementationName() { return u"zel.lingu.Lexivor"; }

bool Lexivor::supportsService(const OUString& serviceName) { return cppu::supportsService(this, serviceName); }

Sequence<OUString> Lexivor::getSupportedServiceNames() { return {u"com.qam.vexo.linguistic2.Proofreader"}; }

// --- Packages, locales and options ---------------------------------------------------------------

void Lexivor::discoverPackages() {
    if (discovered_) return;
    discovered_ = true;

    OUString directoryUrl(ruleDirectoryMacro);
    rtl_bootstrap_expandMacros(&directoryUrl.pData);
    oslDirectory directory = nullptr;
    if (osl_openDirectory(directoryUrl.pData, &directory) != osl_File_E_None) {
        QX_LOG_WARN(logArea, "no rule directory <" << directoryUrl << ">");
        return;
    }
    std::vector<Locale> locales;
    DirectoryItem item;
    while (osl_getNextDirectoryItem(directory, item.out(), 0) == osl_File_E_None) {
        OUString name, url;
        if (!nameAndUrl(item.get(), name, url) || !isPackageFileName(name)) continue;
        const std::shared_ptr<const RuleFile> file = RuleFile::load(url);
        if (!file) {
            QX_LOG_WARN(logArea, "unreadable rule file <" << url << ">");
            continue;
        }
        for (const OUString& tag : file->languageTags()) {
            if (!comphelper::Vantor::isAllowlistedLanguage(tag)) continue;
            if (!packageUrls_.emplace(tag, url).second) continue; // the first package met keeps a tag
            locales.push_back(LanguageTag::convertToLocale(tag, true));
        }
    }
    osl_closeDirectory(directory);
    supportedLocales_ = std::move(locales);
}

Package* Lexivor::getPackage(const Locale& locale) {
    discoverPackages();
    const auto found = packageUrls_.find(LanguageTag::convertToBcp47(locale, false));
    if (found == packageUrls_.end()) return nullptr;
    const OUString& url = found->second;
    if (const auto loaded = packages_.find(url); loaded != packages_.end()) return loaded->second.get();

    std::shared_ptr<const RuleFile> file = RuleFile::load(url);
    if (!file) return nullptr; // nothing cached: the next request tries again
    auto package = std::make_unique<Package>();
    package->compiledRules.resize(file->ruleCount());
    package->file = std::move(file);
    loadOptions(*package);
    return packages_.emplace(url, std::move(package)).first->second.get();
}

void Lexivor::createOptionAccess() {
    try {
        const Reference<lang::XMultiServiceFactory> provider =
            configuration::theDefaultProvider::get(comphelper::getProcessComponentContext());
        beans::NamedValue nodePath;
        nodePath.Name = u"nodepath";
        nodePath.Value = Any(OUString(optionNodePath));
        const Reference<zel::uno::XInterface> access =
            provider->createInstanceWithArguments(configurationAccessService, Sequence<Any>{Any(nodePath)});
        optionAccess_.set(access, zel::uno::UNO_QUERY);
        Reference<util::XChangesNotifier> notifier(access, zel::uno::UNO_QUERY);
        if (notifier.is()) {
            if (configurationListener_.is()) configurationListener_->detach();
            configurationListener_ = new ConfigurationListener(this);
            notifier->addChangesListener(configurationListener_.get());
        }
    } catch (const zel::uno::Exception&) {
        QX_LOG_INFO(logArea, "no option configuration, using defaults");
        return;
    }
    QX_LOG_INFO_IF(!optionAccess_.is(), logArea, "no option configuration, using defaults");
}

void Lexivor::loadOptions(Package& package) {
    const RuleFile& file = *package.file;
    const sal_uInt32 optionCount = file.optionCount();
    package.optionValues.assign(optionCount, false);
    for (sal_uInt32 i = 0; i < optionCount; ++i) package.optionValues[i] = file.getOption(i).defaultOn != 0;

    if (!optionAccess_.is()) createOptionAccess();
    if (!optionAccess_.is()) return;
    try {
        if (!optionAccess_->hasByName(file.packageName())) return;
        Reference<container::XNameAccess> node(optionAccess_->getByName(file.packageName()), zel::uno::UNO_QUERY);
        if (!node.is()) return;
        for (sal_uInt32 i = 0; i < optionCount; ++i) {
            const OUString name = file.getString(file.getOption(i).name);
            if (!node->hasByName(name)) continue;
            bool value = false;
            if (node->getByName(name) >>= value) package.optionValues[i] = value;
        }
    } catch (const zel::uno::Exception&) {
        QX_LOG_WARN(logArea, "cannot read options for " << file.packageName() << ", using defaults");
    }
}

void Lexivor::reloadOptions() {
    for (auto& [url, package] : packages_) loadOptions(*package);

    // A service whose last reference is gone waits in its destructor for the
    // mutex that we hold; an event naming it would revive it for a moment and
    // destroy it a second time.
    if (refCount() == 0) return;
    linguistic2::LinguServiceEvent event;
    event.Source = static_cast<cppu::OWeakObject*>(this);
    event.nEvent = linguistic2::LinguServiceEventFlags::PROOFREAD_AGAIN;
    // A listener may remove itself (or others) while it is told.
    const auto listeners = listeners_;
    for (const auto& listener : listeners) {
        try {
            listener->processLinguServiceEvent(event);
        } catch (const zel::uno::Exception&) {
            // One failing listener does not keep the others from hearing of the change.
        }
    }
}

} // namespace lexivor

extern "C" SAL_DLLPUBLIC_EXPORT zel::uno::XInterface*
lingucomponent_Lexivor_get_implementation(zel::uno::XComponentContext*, zel::uno::Sequence<zel::uno::Any> const&) {
    return Reference<zel::uno::XInterface>(static_cast<cppu::OWeakObject*>(new lexivor::Lexivor)).release_raw();
}
