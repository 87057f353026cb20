// The spell checker service "com.qam.vexo.linguistic2.SpellChecker", backed by
// Hunspell and the dictionaries installed on the system.
//
// SpellCheckerImpl models the office's Hunspell checker for the calls that
// clients make: the validity check, suggestions for a wrong word, and the
// requests that ride on spell():
//
//   "<?xml?><query type='analyze'><word>W</word></query>"
//       one alternative, Hunspell's analyses of W in its own markup:
//       "<code><a>analysis</a><a>analysis</a></code>" (tabs as blanks, "&" and
//       "<" as entities); no alternatives when Hunspell has none
//   "<?xml?><query type='stem'><word>W</word></query>"
//       one alternative per stem
//   "<?xml?><query type='generate'><word>W</word><word>E</word></query>"
//       one alternative per form of W that has the morphology of E
//   "_" followed by W
//       Hunspell's suggestions for W, whether or not W is correct
//
// Dictionaries are the ".aff"/".dic" pairs in the directories of $DICPATH
// (separated by ":") and in /usr/share/hunspell, found when the service is
// created; the file name gives the locale ("en_US" is en-US, "de_DE_frami"
// de-DE; the first file in directory order wins a locale).  A dictionary is
// loaded on first use and kept for the process.  A locale without a
// dictionary has nothing to mark: every word counts as correct and spell()
// answers null, as in the office.  Deliberately missing: user dictionaries,
// ignore lists, spelling options (properties are not read), hyphenation and
// the office's handling of abbreviations and apostrophes.

#include <com/qam/vexo/lang/servicedisplayname.hxx>
#include <com/qam/vexo/linguistic2/spelling.hxx>
#include <cppu/implbase.hxx>
#include <cppu/servicemanager.hxx>
#include <cppu/supportsservice.hxx>
#include <languagetag/languagetag.hxx>
#include <linguistic/misc.hxx>
#include <officehost/services.hxx>
#include <rtl/ustrbuf.hxx>
#include <sal/logging.hxx>

#include <hunspell.hxx>
#include <unicode/ucnv.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace officehost::linguistic {
namespace {

using ::com::qam::vexo::beans::PropertyValue;
using ::com::qam::vexo::lang::IllegalArgumentException;
using ::com::qam::vexo::lang::Locale;
using ::com::qam::vexo::lang::XServiceDisplayName;
using ::com::qam::vexo::lang::XServiceInfo;
using ::com::qam::vexo::linguistic2::XSpellAlternatives;
using ::com::qam::vexo::linguistic2::XSpellChecker;
using ::zel::uno::Reference;
using ::zel::uno::Sequence;
using namespace std::string_view_literals;

constexpr char kLogArea[] = "lingucomponent";
constexpr char16_t kService[] = u"com.qam.vexo.linguistic2.SpellChecker";
constexpr std::u16string_view kQueryHeader = u"<?xml?>";

// A character conversion between UTF-16 and a dictionary's encoding.
class Codec {
public:
    explicit Codec(const std::string& encoding) {
        UErrorCode status = U_ZERO_ERROR;
        converter_.reset(ucnv_open(encoding.c_str(), &status));
        if (U_FAILURE(status)) converter_.reset();
        if (!converter_) return;
        status = U_ZERO_ERROR;
        ucnv_setFromUCallBack(converter_.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    }
    bool usable() const { return converter_ != nullptr; }

    // False when the text has characters that the encoding cannot hold (such
    // a word cannot be in the dictionary).
    bool encode(const OUString& text, std::string& out) const {
        out.clear();
        if (text.isEmpty()) return true;
        UErrorCode status = U_ZERO_ERROR;
        out.resize(static_cast<std::size_t>(
            UCNV_GET_MAX_BYTES_FOR_STRING(text.getLength(), ucnv_getMaxCharSize(converter_.get()))));
        int32_t n = ucnv_fromUChars(converter_.get(), out.data(), static_cast<int32_t>(out.size()), text.getStr(),
                                    text.getLength(), &status);
        if (U_FAILURE(status)) return false;
        out.resize(static_cast<std::size_t>(n));
        return true;
    }
    OUString decode(const std::string& bytes) const {
        if (bytes.empty()) return OUString();
        UErrorCode status = U_ZERO_ERROR;
        std::u16string out(bytes.size() * 2 + 1, u'\0');
        int32_t n = ucnv_toUChars(converter_.get(), out.data(), static_cast<int32_t>(out.size()), bytes.data(),
                                  static_cast<int32_t>(bytes.size()), &status);
        if (U_FAILURE(status)) return OUString();
        return OUString(out.data(), n);
    }

private:
    struct Close {
        void operator()(UConverter* c) const { ucnv_close(c); }
    };
    std::unique_ptr<UConverter, Close> converter_;
};

struct LoadedDictionary {
    std::unique_ptr<Hunspell> hunspell;
    std::unique_ptr<Codec> codec;
};

// Dictionaries stay loaded for the process, shared by every service object:
// loading one takes far longer than any check.  Guarded by the linguistic mutex.
std::map<std::string, std::unique_ptr<LoadedDictionary>>& loadedDictionaries() {
    static std::map<std::string, std::unique_ptr<LoadedDictionary>> dictionaries;
    return dictionaries;
}

struct DictionaryFiles {
    OUString tag;
    Locale locale;
    std::string aff;
    std::string dic;
};

// "de_DE_frami" -> "de-DE": language, and script and region when present.
OUString tagOfDictionaryName(const std::string& name) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        std::size_t sep = name.find_first_of("_-", start);
        parts.push_back(name.substr(start, sep == std::string::npos ? std::string::npos : sep - start));
        if (sep == std::string::npos) break;
        start = sep + 1;
    }
    auto alpha = [](const std::string& s) {
        return std::all_of(s.begin(), s.end(), [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); });
    };
    auto digits = [](const std::string& s) {
        return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if (parts[0].size() < 2 || parts[0].size() > 3 || !alpha(parts[0])) return OUString();
    std::string tag = parts[0];
    std::size_t i = 1;
    if (i < parts.size() && parts[i].size() == 4 && alpha(parts[i])) tag += "-" + parts[i++];
    if (i < parts.size() && ((parts[i].size() == 2 && alpha(parts[i])) || (parts[i].size() == 3 && digits(parts[i]))))
        tag += "-" + parts[i];
    LanguageTag languageTag(OUString::fromUtf8(tag));
    return languageTag.isValidBcp47() ? languageTag.getBcp47() : OUString();
}

std::vector<std::string> dictionaryDirectories() {
    std::vector<std::string> dirs;
    if (const char* path = std::getenv("DICPATH")) {
        std::string list(path);
        std::size_t start = 0;
        for (;;) {
            std::size_t colon = list.find(':', start);
            std::string dir = list.substr(start, colon == std::string::npos ? std::string::npos : colon - start);
            if (!dir.empty()) dirs.push_back(dir);
            if (colon == std::string::npos) break;
            start = colon + 1;
        }
    }
    dirs.emplace_back("/usr/share/hunspell");
    return dirs;
}

std::vector<DictionaryFiles> discoverDictionaries() {
    std::vector<DictionaryFiles> found;
    for (const std::string& dir : dictionaryDirectories()) {
        std::error_code ec;
        std::vector<std::filesystem::path> affixFiles;
        for (const auto& entry : std::filesystem::directory_iterator(dir, ec))
            if (entry.path().extension() == ".aff") affixFiles.push_back(entry.path());
        std::sort(affixFiles.begin(), affixFiles.end());
        for (const auto& aff : affixFiles) {
            std::filesystem::path dic = aff;
            dic.replace_extension(".dic");
            if (!std::filesystem::is_regular_file(dic, ec) || !std::filesystem::is_regular_file(aff, ec)) continue;
            OUString tag = tagOfDictionaryName(aff.stem().string());
            if (tag.isEmpty()) continue;
            bool known =
                std::any_of(found.begin(), found.end(), [&](const DictionaryFiles& d) { return d.tag == tag; });
            if (known) continue;
            found.push_back({tag, LanguageTag::convertToLocale(tag), aff.string(), dic.string()});
        }
    }
    return found;
}

// The loaded dictionary for the files; null when Hunspell's encoding is unknown.
// Linguistic mutex held.
LoadedDictionary* load(const DictionaryFiles& files) {
    auto& slot = loadedDictionaries()[files.aff];
    if (slot) return slot->codec ? slot.get() : nullptr;
    slot = std::make_unique<LoadedDictionary>();
    slot->hunspell = std::make_unique<Hunspell>(files.aff.c_str(), files.dic.c_str());
    std::string encoding = slot->hunspell->get_dict_encoding();
    auto codec = std::make_unique<Codec>(encoding.empty() ? std::string("ISO-8859-1") : encoding);
    if (!codec->usable()) {
        QX_LOG_WARN(kLogArea, "dictionary " << files.aff.c_str() << " has the unknown encoding " << encoding.c_str());
        return nullptr;
    }
    slot->codec = std::move(codec);
    return slot.get();
}

// The answer to one spell() call, fixed when it is made; it does not follow later
// dictionary changes, and offers none of the office's ways to change it.
class SpellAlternativesImpl : public cppu::WeakImplHelper<XSpellAlternatives> {
public:
    SpellAlternativesImpl(OUString word, Locale locale, sal_Int16 failureType, Sequence<OUString> alternatives)
        : word_(std::move(word)), locale_(std::move(locale)), failureType_(failureType),
          alternatives_(std::move(alternatives)) {}

    OUString getWord() override { return word_; }
    Locale getLocale() override { return locale_; }
    sal_Int16 getFailureType() override { return failureType_; }
    sal_Int16 getAlternativesCount() override {
        return static_cast<sal_Int16>(std::min<sal_Int32>(alternatives_.getLength(), 0x7FFF));
    }
    Sequence<OUString> getAlternatives() override { return alternatives_; }

private:
    OUString word_;
    Locale locale_;
    sal_Int16 failureType_;
    Sequence<OUString> alternatives_;
};

struct Query {
    OUString type;
    std::vector<OUString> words;
};

OUString decodeEntities(std::u16string_view text) {
    OUString s(text);
    return s.replaceAll(u"&lt;", u"<")
        .replaceAll(u"&gt;", u">")
        .replaceAll(u"&quot;", u"\"")
        .replaceAll(u"&apos;", u"'")
        .replaceAll(u"&amp;", u"&");
}

// "<?xml?><query type='T'><word>W</word>...</query>", blanks allowed between tags.
bool parseQuery(std::u16string_view text, Query& query) {
    std::size_t pos = kQueryHeader.size();
    auto skipBlanks = [&] {
        while (pos < text.size() &&
               (text[pos] == u' ' || text[pos] == u'\t' || text[pos] == u'\n' || text[pos] == u'\r'))
            ++pos;
    };
    auto take = [&](std::u16string_view s) {
        skipBlanks();
        if (text.substr(pos, s.size()) != s) return false;
        pos += s.size();
        return true;
    };
    if (!take(u"<query") || !take(u"type=") || pos >= text.size()) return false;
    sal_Unicode quote = text[pos];
    if (quote != u'\'' && quote != u'"') return false;
    std::size_t end = text.find(quote, pos + 1);
    if (end == text.npos) return false;
    query.type = OUString(text.substr(pos + 1, end - pos - 1));
    pos = end + 1;
    if (!take(u">")) return false;
    while (take(u"<word>")) {
        std::size_t close = text.find(u"</word>", pos);
        if (close == text.npos) return false;
        query.words.push_back(decodeEntities(text.substr(pos, close - pos)));
        pos = close + 7;
    }
    if (!take(u"</query>")) return false;
    skipBlanks();
    return pos == text.size();
}

OUString analysesMarkup(const std::vector<OUString>& analyses) {
    OUStringBuffer b;
    b.append(u"<code>"sv);
    for (const OUString& a : analyses)
        b.append(u"<a>"sv)
            .append(a.replaceAll(u"\t", u" ").replaceAll(u"&", u"&amp;").replaceAll(u"<", u"&lt;"))
            .append(u"</a>"sv);
    b.append(u"</code>"sv);
    return b.makeStringAndClear();
}

class SpellCheckerImpl : public cppu::WeakImplHelper<XSpellChecker, XServiceDisplayName, XServiceInfo> {
public:
    SpellCheckerImpl() : dictionaries_(discoverDictionaries()) {}

    // XSupportedLocales
    Sequence<Locale> getLocales() override {
        std::vector<Locale> locales;
        for (const DictionaryFiles& d : dictionaries_) locales.push_back(d.locale);
        return Sequence<Locale>(std::move(locales));
    }
    bool hasLocale(const Locale& locale) override { return find(locale) != nullptr; }

    // XSpellChecker
    bool isValid(const OUString& word, const Locale& locale, const Sequence<PropertyValue>&) override {
        osl::MutexGuard guard(::linguistic::GetLinguMutex());
        if (word.isEmpty()) return true;
        LoadedDictionary* dictionary = dictionaryFor(locale);
        if (!dictionary) return true;
        return check(*dictionary, word);
    }

    Reference<XSpellAlternatives> spell(const OUString& word, const Locale& locale,
                                        const Sequence<PropertyValue>&) override {
        osl::MutexGuard guard(::linguistic::GetLinguMutex());
        if (word.isEmpty()) return nullptr;
        LoadedDictionary* dictionary = dictionaryFor(locale);
        if (!dictionary) return nullptr;
        if (word.startsWith(kQueryHeader)) return answerQuery(*dictionary, word, locale);
        if (word.getLength() > 1 && word[0] == u'_')
            return alternatives(word, locale, 0, suggestions(*dictionary, word.copy(1)));
        if (check(*dictionary, word)) return nullptr;
        return alternatives(word, locale, ::com::qam::vexo::linguistic2::SpellFailure::SPELLING_ERROR,
                            suggestions(*dictionary, word));
    }

    // XServiceDisplayName
    OUString getServiceDisplayName(const Locale&) override { return u"Hunspell SpellChecker"; }

    // XServiceInfo
    OUString getImplementationName() override { return u"com.qam.vexo.comp.linguistic.HunspellSpellChecker"; }
    bool supportsService(const OUString& name) override { return cppu::supportsService(this, name); }
    Sequence<OUString> getSupportedServiceNames() override { return {OUString(kService)}; }

private:
    const DictionaryFiles* find(const Locale& locale) const {
        OUString tag = LanguageTag::convertToBcp47(locale, false);
        for (const DictionaryFiles& d : dictionaries_)
            if (d.tag == tag) return &d;
        return nullptr;
    }
    LoadedDictionary* dictionaryFor(const Locale& locale) const {
        const DictionaryFiles* files = find(locale);
        return files ? load(*files) : nullptr;
    }

    static bool check(LoadedDictionary& d, const OUString& word) {
        std::string bytes;
        return d.codec->encode(word, bytes) && d.hunspell->spell(bytes);
    }
    static std::vector<OUString> decoded(LoadedDictionary& d, const std::vector<std::string>& list) {
        std::vector<OUString> out;
        for (const std::string& s : list) out.push_back(d.codec->decode(s));
        return out;
    }
    static std::vector<OUString> suggestions(LoadedDictionary& d, const OUString& word) {
        std::string bytes;
        if (!d.codec->encode(word, bytes)) return {};
        return decoded(d, d.hunspell->suggest(bytes));
    }
    static Reference<XSpellAlternatives> alternatives(const OUString& word, const Locale& locale, sal_Int16 failure,
                                                      std::vector<OUString> list) {
        return new SpellAlternativesImpl(word, locale, failure, Sequence<OUString>(std::move(list)));
    }

    Reference<XSpellAlternatives> answerQuery(LoadedDictionary& d, const OUString& text, const Locale& locale) {
        Query query;
        if (!parseQuery(text, query))
            throw IllegalArgumentException(u"spell: malformed query " + text, static_cast<XSpellChecker*>(this), 0);
        std::size_t wanted = query.type == u"generate" ? 2 : 1;
        if (query.type != u"analyze" && query.type != u"stem" && query.type != u"generate")
            throw IllegalArgumentException(u"spell: unknown query type \"" + query.type + u"\"",
                                           static_cast<XSpellChecker*>(this), 0);
        if (query.words.size() != wanted)
            throw IllegalArgumentException(u"spell: malformed query " + text, static_cast<XSpellChecker*>(this), 0);
        std::vector<std::string> bytes(wanted);
        for (std::size_t i = 0; i < wanted; ++i)
            if (!d.codec->encode(query.words[i], bytes[i])) return alternatives(text, locale, 0, {});
        if (query.type == u"stem") return alternatives(text, locale, 0, decoded(d, d.hunspell->stem(bytes[0])));
        if (query.type == u"generate")
            return alternatives(text, locale, 0, decoded(d, d.hunspell->generate(bytes[0], bytes[1])));
        std::vector<OUString> analyses = decoded(d, d.hunspell->analyze(bytes[0]));
        if (analyses.empty()) return alternatives(text, locale, 0, {});
        return alternatives(text, locale, 0, {analysesMarkup(analyses)});
    }

    // Fixed when the service is created; a new service sees newly installed dictionaries.
    const std::vector<DictionaryFiles> dictionaries_;
};

void registerSpellChecker(const Reference<::zel::uno::XComponentContext>& context) {
    cppu::registerService(context, kService, [](const auto&, const auto&) {
        return Reference<::zel::uno::XInterface>(static_cast<XSpellChecker*>(new SpellCheckerImpl));
    });
}

officehost::ServiceRegistration registration(&registerSpellChecker);

} // namespace
} // namespace officehost::linguistic
