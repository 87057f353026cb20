// comphelper::Vantor of the host stand-in.
//
// The user's language comes, in this order, from setLanguageTag, from the
// configuration value /org.ambrel.Setup/Language/UserLocale (a BCP 47 tag), and from
// the environment (LC_ALL, LC_MESSAGES, LANG, the first that is set and not
// empty, in POSIX form "de_CH.UTF-8@euro"); "C", "POSIX", an unset environment
// and anything unreadable mean en-US.  The allow-list is setAllowlist's, or the
// configuration value /org.ambrel.Setup/Language/AllowedLanguages (tags separated
// by blanks or commas); without either every well-formed tag is allowed.
// Entries match exactly, ignoring case: "en" does not allow "en-US".  A real
// office has more sources (the installed UI languages, the system locale); the
// stand-in has just these.

#include <comphelper/vantor.hxx>

#include <officehost/configuration.hxx>
#include <rtl/ustrbuf.hxx>

#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>
#include <optional>

namespace comphelper {
namespace {

constexpr char16_t kLocalePath[] = u"/org.ambrel.Setup/Language/UserLocale";
constexpr char16_t kAllowlistPath[] = u"/org.ambrel.Setup/Language/AllowedLanguages";
constexpr char16_t kFallbackTag[] = u"en-US";

struct State {
    std::mutex mutex;
    std::optional<OUString> languageOverride;
    std::optional<std::vector<OUString>> allowlistOverride;
    // getLanguageTag hands out references, so every tag it has returned stays
    // alive (and unchanged) for the whole process; there are only ever a few.
    std::map<OUString, std::unique_ptr<LanguageTag>> interned;
};

State& state() {
    // Never destroyed: services may still ask for the language while the
    // process's static objects are being destroyed.
    static State* s = new State;
    return *s;
}

// "de_CH.UTF-8@euro" -> "de-CH"; empty for C/POSIX and for what is not a tag.
OUString tagFromPosixLocale(std::string_view posix) {
    std::string_view name = posix.substr(0, posix.find_first_of(".@"));
    if (name.empty() || name == "C" || name == "POSIX") return OUString();
    OUString tag = OUString::fromUtf8(name).replace(u'_', u'-');
    return LanguageTag(tag).isValidBcp47() ? LanguageTag(tag).getBcp47() : OUString();
}

OUString environmentTag() {
    for (const char* var : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(var);
        if (value && *value) return tagFromPosixLocale(value);
    }
    return OUString();
}

OUString configuredString(const char16_t* path) {
    OUString value;
    officehost::configuration::getValue(OUString(std::u16string_view(path))) >>= value;
    return value.trim();
}

OUString currentTag(State& s) {
    {
        std::lock_guard guard(s.mutex);
        if (s.languageOverride) return *s.languageOverride;
    }
    OUString configured = configuredString(kLocalePath);
    if (!configured.isEmpty() && LanguageTag(configured).isValidBcp47()) return LanguageTag(configured).getBcp47();
    OUString fromEnvironment = environmentTag();
    return fromEnvironment.isEmpty() ? OUString(kFallbackTag) : fromEnvironment;
}

std::vector<OUString> splitTags(const OUString& list) {
    std::vector<OUString> tags;
    OUStringBuffer current;
    auto flush = [&] {
        if (!current.isEmpty()) tags.push_back(current.makeStringAndClear());
    };
    for (sal_Int32 i = 0; i < list.getLength(); ++i) {
        sal_Unicode c = list[i];
        if (c == ' ' || c == ',' || c == '\t' || c == '\n')
            flush();
        else
            current.append(c);
    }
    flush();
    return tags;
}

} // namespace

const LanguageTag& Vantor::getLanguageTag() {
    State& s = state();
    OUString tag = currentTag(s);
    std::lock_guard guard(s.mutex);
    auto& slot = s.interned[tag];
    if (!slot) slot = std::make_unique<LanguageTag>(tag);
    return *slot;
}

bool Vantor::isAllowlistedLanguage(const OUString& lang) {
    LanguageTag tag(lang);
    if (!tag.isValidBcp47()) return false;
    State& s = state();
    std::optional<std::vector<OUString>> override;
    {
        std::lock_guard guard(s.mutex);
        override = s.allowlistOverride;
    }
    std::vector<OUString> allowed = override ? *override : splitTags(configuredString(kAllowlistPath));
    if (allowed.empty()) return true;
    for (const OUString& entry : allowed)
        if (LanguageTag(entry).getBcp47().equalsIgnoreAsciiCase(tag.getBcp47())) return true;
    return false;
}

void Vantor::setLanguageTag(const LanguageTag& tag) {
    State& s = state();
    std::lock_guard guard(s.mutex);
    if (tag.getBcp47().isEmpty())
        s.languageOverride.reset();
    else
        s.languageOverride = tag.getBcp47();
}

void Vantor::setAllowlist(const std::vector<OUString>& tags) {
    State& s = state();
    std::lock_guard guard(s.mutex);
    if (tags.empty())
        s.allowlistOverride.reset();
    else
        s.allowlistOverride = tags;
}

} // namespace comphelper
