// The number-text service "com.qam.vexo.linguistic2.NumberText", backed by
// libnumbertext and its installed language modules.
//
// NumberTextImpl models the office's service: getNumberText hands the text
// ("1234", "ordinal 3", "money USD 12.50", ... whatever the module's rules
// understand) to the module of the locale's language and returns its words.
// A locale is served by the module named like its tag ("hu_Hung" for
// hu-Hung), else by the one of its language ("en" for en-US).  A locale
// without a module is an IllegalArgumentException; a text that the module's
// rules do not cover gives the empty string.  Deliberately missing: the
// office's per-document number formats and its own extra modules.

#include <com/qam/vexo/linguistic2/numbertext.hxx>
#include <cppu/implbase.hxx>
#include <cppu/servicemanager.hxx>
#include <cppu/supportsservice.hxx>
#include <languagetag/languagetag.hxx>
#include <linguistic/misc.hxx>
#include <officehost/services.hxx>

#include <Numbertext.hxx>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>

#ifndef QX_NUMBERTEXT_DATA_DIR
#error "QX_NUMBERTEXT_DATA_DIR names libnumbertext's data directory"
#endif

namespace officehost::linguistic {
namespace {

using ::com::qam::vexo::lang::IllegalArgumentException;
using ::com::qam::vexo::lang::Locale;
using ::com::qam::vexo::lang::XServiceInfo;
using ::com::qam::vexo::linguistic2::XNumberText;
using ::zel::uno::Reference;
using ::zel::uno::Sequence;

constexpr char16_t kService[] = u"com.qam.vexo.linguistic2.NumberText";

// Module names of the data directory ("en", "hu_Hung", "Roman", ...).
std::set<std::string> installedModules() {
    std::set<std::string> modules;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(QX_NUMBERTEXT_DATA_DIR, ec))
        if (entry.path().extension() == ".sor") modules.insert(entry.path().stem().string());
    return modules;
}

class NumberTextImpl : public cppu::WeakImplHelper<XNumberText, XServiceInfo> {
public:
    NumberTextImpl() : modules_(installedModules()) { numbertext_.set_prefix(QX_NUMBERTEXT_DATA_DIR "/"); }

    OUString getNumberText(const OUString& text, const Locale& locale) override {
        osl::MutexGuard guard(::linguistic::GetLinguMutex());
        OUString tag = LanguageTag::convertToBcp47(locale);
        std::string module = moduleFor(tag);
        if (module.empty())
            throw IllegalArgumentException(u"getNumberText: no number text for \"" + tag + u"\"",
                                           static_cast<XNumberText*>(this), 1);
        std::string words = text.toUtf8().toStdString();
        if (!numbertext_.numbertext(words, module)) return OUString();
        return OUString::fromUtf8(words);
    }

    Sequence<Locale> getAvailableLanguages() override {
        std::vector<Locale> locales;
        for (const std::string& module : modules_) {
            OUString tag = tagOfModule(module);
            if (!tag.isEmpty()) locales.push_back(LanguageTag::convertToLocale(tag));
        }
        return Sequence<Locale>(std::move(locales));
    }

    OUString getImplementationName() override { return u"com.qam.vexo.comp.linguistic.NumberText"; }
    bool supportsService(const OUString& name) override { return cppu::supportsService(this, name); }
    Sequence<OUString> getSupportedServiceNames() override { return {OUString(kService)}; }

private:
    // Modules that are languages: "hu_Hung" is hu-Hung; "Roman" and "Suzhou"
    // (numeral systems, not languages) are not offered as locales.
    static OUString tagOfModule(const std::string& module) {
        std::string head = module.substr(0, module.find('_'));
        bool language = head.size() >= 2 && head.size() <= 3 &&
                        std::all_of(head.begin(), head.end(), [](char c) { return c >= 'a' && c <= 'z'; });
        if (!language) return OUString();
        LanguageTag tag(OUString::fromUtf8(module).replace(u'_', u'-'));
        return tag.isValidBcp47() ? tag.getBcp47() : OUString();
    }

    std::string moduleFor(const OUString& tag) const {
        LanguageTag languageTag(tag);
        if (!languageTag.isValidBcp47()) return {};
        for (const std::string& module : modules_)
            if (tagOfModule(module) == languageTag.getBcp47()) return module;
        std::string language = languageTag.getLanguage().toUtf8().toStdString();
        return modules_.count(language) ? language : std::string();
    }

    const std::set<std::string> modules_;
    Numbertext numbertext_; // caches the modules it has loaded; linguistic mutex held
};

void registerNumberText(const Reference<::zel::uno::XComponentContext>& context) {
    cppu::registerService(context, kService, [](const auto&, const auto&) {
        return Reference<::zel::uno::XInterface>(static_cast<XNumberText*>(new NumberTextImpl));
    });
}

officehost::ServiceRegistration registration(&registerNumberText);

} // namespace
} // namespace officehost::linguistic
