#include "ServiceFixture.hxx"

#include <comphelper/processfactory.hxx>
#include <comphelper/vantor.hxx>
#include <cppu/servicemanager.hxx>
#include <officehost/services.hxx>
#include <osl/file.h>

#include <cstdlib>
#include <fstream>
#include <unistd.h>

namespace lexivortest {

namespace linguistic2 = com::qam::vexo::linguistic2;

namespace {

constexpr char16_t spellCheckerService[] = u"com.qam.vexo.linguistic2.SpellChecker";

std::optional<std::string> getEnv(const char* name) {
    const char* v = std::getenv(name);
    return v ? std::optional<std::string>(v) : std::nullopt;
}

void restoreEnv(const char* name, const std::optional<std::string>& value) {
    if (value)
        ::setenv(name, value->c_str(), 1);
    else
        ::unsetenv(name);
}

OUString fileUrl(const std::filesystem::path& path) {
    OUString url;
    const OUString system = ou(path.string());
    EXPECT_EQ(osl_getFileURLFromSystemPath(system.pData, &url.pData), osl_File_E_None) << path;
    return url;
}

class Alternatives final : public cppu::WeakImplHelper<linguistic2::XSpellAlternatives> {
public:
    Alternatives(OUString word, Locale where, std::vector<OUString> items)
        : word_(std::move(word)), locale_(std::move(where)), items_(std::move(items)) {}
    OUString getWord() override { return word_; }
    Locale getLocale() override { return locale_; }
    sal_Int16 getFailureType() override { return linguistic2::SpellFailure::SPELLING_ERROR; }
    sal_Int16 getAlternativesCount() override { return static_cast<sal_Int16>(items_.size()); }
    Sequence<OUString> getAlternatives() override { return Sequence<OUString>(items_); }

private:
    OUString word_;
    Locale locale_;
    std::vector<OUString> items_;
};

} // namespace

Locale locale(const char16_t* language, const char16_t* country) {
    Locale l;
    l.Language = OUString(std::u16string_view(language));
    l.Country = OUString(std::u16string_view(country));
    return l;
}

OUString ou(std::string_view utf8) { return OUString::fromUtf8(utf8); }

std::vector<OUString> strings(const Sequence<OUString>& s) { return std::vector<OUString>(s.begin(), s.end()); }

RuleTree::RuleTree() {
    std::string pattern = (std::filesystem::temp_directory_path() / "lexivor-service-XXXXXX").string();
    const char* made = ::mkdtemp(pattern.data());
    if (!made) throw std::runtime_error("mkdtemp failed");
    root_ = made;
    std::filesystem::create_directories(ruleDirectory());
    previousBase_ = getEnv("BRAND_BASE_DIR");
    previousProfile_ = getEnv("QX_USER_PROFILE");
    const OUString base = fileUrl(root_);
    ::setenv("BRAND_BASE_DIR", base.toUtf8().getStr(), 1);
    // A profile of our own, so that the user's settings never reach the tests.
    ::setenv("QX_USER_PROFILE", (root_ / "profile.txt").c_str(), 1);
}

RuleTree::~RuleTree() {
    restoreEnv("BRAND_BASE_DIR", previousBase_);
    restoreEnv("QX_USER_PROFILE", previousProfile_);
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
}

OUString RuleTree::add(const std::string& fileName, const std::vector<unsigned char>& bytes) const {
    std::ofstream out(ruleDirectory() / fileName, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    EXPECT_TRUE(out.good()) << fileName;
    return urlOf(fileName);
}

OUString RuleTree::urlOf(const std::string& fileName) const { return fileUrl(ruleDirectory() / fileName); }

OUString RuleTree::ruleDirectoryUrl() const { return fileUrl(ruleDirectory()); }

RecordingSpellChecker::RecordingSpellChecker(Reference<linguistic2::XSpellChecker> inner) : inner_(std::move(inner)) {}

Sequence<Locale> RecordingSpellChecker::getLocales() { return inner_.is() ? inner_->getLocales() : Sequence<Locale>(); }

bool RecordingSpellChecker::hasLocale(const Locale& where) { return inner_.is() && inner_->hasLocale(where); }

bool RecordingSpellChecker::isValid(const OUString& word, const Locale& where,
                                    const Sequence<com::qam::vexo::beans::PropertyValue>& properties) {
    validityCalls.push_back(word);
    if (onValidity) onValidity();
    if (inner_.is()) return inner_->isValid(word, where, properties);
    return correct.count(word) != 0;
}

Reference<linguistic2::XSpellAlternatives>
RecordingSpellChecker::spell(const OUString& word, const Locale& where,
                             const Sequence<com::qam::vexo::beans::PropertyValue>& properties) {
    queries.push_back(word);
    if (inner_.is()) return inner_->spell(word, where, properties);
    const auto found = answers.find(word);
    if (found == answers.end()) return {};
    return new Alternatives(word, where, found->second);
}

void ServiceTest::SetUp() {
    tree.emplace();
    context = officehost::initProcessContext();
    comphelper::Vantor::setAllowlist({});
}

void ServiceTest::TearDown() {
    service.clear();
    impl = nullptr;
    comphelper::Vantor::setAllowlist({});
    context.clear();
    officehost::shutdownProcessContext();
    tree.reset();
}

void ServiceTest::useSpellChecker(const Reference<RecordingSpellChecker>& checker) {
    cppu::registerService(context, spellCheckerService,
                          [this, checker](const Reference<zel::uno::XComponentContext>&, const Sequence<zel::uno::Any>&) {
                              ++spellCheckerLookups;
                              return Reference<zel::uno::XInterface>(static_cast<cppu::OWeakObject*>(checker.get()));
                          });
}

Reference<linguistic2::XSpellChecker> ServiceTest::hostSpellChecker() {
    try {
        return Reference<linguistic2::XSpellChecker>(
            context->getServiceManager()->createInstanceWithContext(spellCheckerService, context), zel::uno::UNO_QUERY);
    } catch (const zel::uno::Exception&) {
        return {};
    }
}

lexivor::Lexivor& ServiceTest::start() {
    service.clear();
    impl = new lexivor::Lexivor;
    service = impl;
    return *impl;
}

linguistic2::ProofreadingResult ServiceTest::check(const OUString& text, const Locale& where, sal_Int32 startPosition,
                                                   sal_Int32 suggestedEnd) {
    if (!service.is()) start();
    return service->doProofreading(u"doc", text, where, startPosition,
                                   suggestedEnd < 0 ? text.getLength() : suggestedEnd, {});
}

testsupport::lexivor::PackageBuilder packageFor(const std::string& tag, const std::string& name) {
    testsupport::lexivor::PackageBuilder b;
    b.name(name).displayName("Display " + name).description("rules for " + tag).languageTag(tag);
    return b;
}

} // namespace lexivortest
