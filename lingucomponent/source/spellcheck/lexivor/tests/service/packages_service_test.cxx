// Discovery of the installed packages, their locales, loading on demand, and
// the options that the host's configuration switches.

#include "ServiceFixture.hxx"

#include <com/qam/vexo/configuration/theDefaultProvider.hxx>
#include <comphelper/vantor.hxx>
#include <cppu/servicemanager.hxx>
#include <officehost/configuration.hxx>
#include <osl/file.h>
#include <testsupport/LogCapture.hxx>

#include <algorithm>
#include <chrono>
#include <fcntl.h>
#include <future>
#include <sys/stat.h>
#include <unistd.h>
#include <filesystem>
#include <map>
#include <set>

namespace lexivortest {
namespace {

namespace linguistic2 = com::qam::vexo::linguistic2;
using testsupport::LogCapture;
using testsupport::lexivor::PackageBuilder;
using zel::uno::Any;

constexpr char16_t optionRoot[] = u"/org.ambrel.Office.Linguistic/GrammarChecking/SentenceChecking/";

std::string u8(const OUString& s) { return std::string(s.toUtf8().getStr()); }

// The names of the directory's entries in the order the runtime lists them.
std::vector<std::string> directoryOrder(const OUString& directoryUrl) {
    std::vector<std::string> names;
    oslDirectory dir = nullptr;
    if (osl_openDirectory(directoryUrl.pData, &dir) != osl_File_E_None) return names;
    oslDirectoryItem item = nullptr;
    while (osl_getNextDirectoryItem(dir, &item, 0) == osl_File_E_None) {
        oslFileStatus status{};
        status.uStructSize = sizeof status;
        if (osl_getFileStatus(item, &status, osl_FileStatus_Mask_FileName) == osl_File_E_None && status.ustrFileName)
            names.push_back(u8(OUString(status.ustrFileName, nullptr)));
        osl_releaseDirectoryItem(item);
    }
    osl_closeDirectory(dir);
    return names;
}

std::vector<std::string> tagsOf(const Sequence<Locale>& locales) {
    std::vector<std::string> tags;
    for (const Locale& l : locales) tags.push_back(u8(LanguageTag::convertToBcp47(l, false)));
    return tags;
}

PackageBuilder packageWithTags(const std::string& name, const std::vector<std::string>& tags) {
    PackageBuilder b;
    b.name(name).displayName("Display " + name).description("rules of " + name);
    for (const auto& t : tags) b.languageTag(t);
    b.rule({.pattern = "\\bx\\b", .message = name});
    return b;
}

class PackagesTest : public ServiceTest {};

TEST_F(PackagesTest, DiscoveryTakesTagsFromPackagesInDirectoryOrder) {
    struct File {
        std::string name;
        std::vector<std::string> tags; // empty: not a package
    };
    const std::vector<File> files = {
        {"a.lxr", {"de-DE", "en-US", "nl-NL"}},
        {"b.lxr", {"fr-FR", "de-DE"}},
        {"RULES.LXR", {"it-IT"}},
        {"rules.lxr.bak", {"es-ES"}},
        {"lxr", {"pt-PT"}},
        {"broken.lxr", {}},
    };
    for (const File& f : files) {
        if (f.tags.empty())
            tree->add(f.name, std::vector<unsigned char>(100, 0x20));
        else
            tree->add(f.name, packageWithTags(f.name, f.tags).build());
    }
    comphelper::Vantor::setAllowlist({u"de-DE", u"en-US", u"fr-FR", u"it-IT", u"es-ES", u"pt-PT"});

    // What the service should find: the directory's order decides which package keeps de-DE.
    std::vector<std::string> expectedTags;
    std::map<std::string, std::string> expectedOwner;
    for (const std::string& name : directoryOrder(tree->ruleDirectoryUrl())) {
        const auto file = std::find_if(files.begin(), files.end(), [&](const File& f) { return f.name == name; });
        ASSERT_NE(file, files.end()) << name;
        const bool isPackage = name.size() >= 4 && (name.ends_with(".lxr") || name.ends_with(".LXR"));
        if (!isPackage) continue;
        for (const auto& tag : file->tags) {
            if (tag == "nl-NL" || expectedOwner.count(tag)) continue;
            expectedOwner[tag] = name;
            expectedTags.push_back(tag);
        }
    }
    ASSERT_EQ(expectedTags.size(), 4u);

    LogCapture log("lingucomponent.lexivor");
    start();
    EXPECT_EQ(tagsOf(service->getLocales()), expectedTags);
    EXPECT_EQ(log.texts(SALQX_LOG_WARN),
              (std::vector<std::string>{"not a usable rule package: <" + u8(tree->urlOf("broken.lxr")) + ">",
                                        "unreadable rule file <" + u8(tree->urlOf("broken.lxr")) + ">"}));
    // Discovery only keeps URLs: each package was read once and let go.
    EXPECT_EQ(log.texts(SALQX_LOG_INFO).size(), 3u);

    Reference<com::qam::vexo::lang::XServiceDisplayName> display(service, zel::uno::UNO_QUERY);
    EXPECT_EQ(u8(display->getServiceDisplayName(locale(u"de", u"DE"))), "Display " + expectedOwner["de-DE"]);
    EXPECT_EQ(u8(display->getServiceDisplayName(locale(u"it", u"IT"))), "Display RULES.LXR");

    struct Case {
        Locale where;
        bool has;
    };
    const Case cases[] = {
        {locale(u"de", u"DE"), true},  {locale(u"en", u"US"), true}, {locale(u"fr", u"FR"), true},
        {locale(u"it", u"IT"), true},  {locale(u"nl", u"NL"), false}, // refused by the allow-list
        {locale(u"es", u"ES"), false},                                // only in rules.lxr.bak
        {locale(u"pt", u"PT"), false},                                // a name too short to end in .lxr
        {locale(u"de"), false},        {locale(u"de", u"AT"), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.where.Language << "-" << c.where.Country);
        EXPECT_EQ(service->hasLocale(c.where), c.has);
    }
    // Discovery runs once: files that appear later are seen by a new service only.
    tree->add("late.lxr", packageWithTags("late", {"pl-PL"}).build());
    comphelper::Vantor::setAllowlist({});
    EXPECT_FALSE(service->hasLocale(locale(u"pl", u"PL")));
    start();
    EXPECT_TRUE(service->hasLocale(locale(u"pl", u"PL")));
}

TEST_F(PackagesTest, AMissingRuleDirectoryOffersNoLocales) {
    std::filesystem::remove_all(tree->ruleDirectory());
    LogCapture log("lingucomponent.lexivor");
    start();
    EXPECT_FALSE(service->getLocales().hasElements());
    EXPECT_FALSE(service->hasLocale(locale(u"en", u"US")));
    EXPECT_FALSE(check(u"x", locale(u"en", u"US")).aErrors.hasElements());
    EXPECT_EQ(log.texts(SALQX_LOG_WARN),
              (std::vector<std::string>{"no rule directory <" + u8(tree->ruleDirectoryUrl()) + ">"}));
}

TEST_F(PackagesTest, APackageIsLoadedOnceOnFirstUseAndRetriedWhenItFails) {
    const std::vector<unsigned char> good = packageWithTags("english", {"en-US", "en-GB"}).build();
    const OUString url = tree->add("english.lxr", good);
    const std::string loaded = "loaded 1 rules for english from <" + u8(url) + ">: rules of english";
    start();
    LogCapture log("lingucomponent.lexivor");
    EXPECT_TRUE(service->hasLocale(locale(u"en", u"GB")));
    EXPECT_EQ(log.texts(SALQX_LOG_INFO), (std::vector<std::string>{loaded}));

    // Broken after discovery: the request fails, nothing is cached.
    tree->add("english.lxr", std::vector<unsigned char>(good.begin(), good.begin() + 87));
    EXPECT_FALSE(check(u"x", locale(u"en", u"US")).aErrors.hasElements());
    EXPECT_EQ(log.texts(SALQX_LOG_WARN), (std::vector<std::string>{"bad size for <" + u8(url) + ">"}));

    tree->add("english.lxr", good);
    EXPECT_EQ(check(u"x", locale(u"en", u"US")).aErrors.getLength(), 1);
    // Both tags share the one loaded package.
    EXPECT_EQ(check(u"x", locale(u"en", u"GB")).aErrors.getLength(), 1);
    EXPECT_EQ(check(u"x x", locale(u"en", u"US")).aErrors.getLength(), 2);
    EXPECT_EQ(log.texts(SALQX_LOG_INFO), (std::vector<std::string>{loaded, loaded}));
}

TEST_F(PackagesTest, AFifoNamedLikeAPackageIsPassedOverWithoutWaiting) {
    tree->add("english.lxr", packageWithTags("english", {"en-US"}).build());
    const std::filesystem::path fifo = tree->ruleDirectory() / "pipe.lxr";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string fifoUrl = u8(tree->urlOf("pipe.lxr"));
    start();
    LogCapture log("lingucomponent.lexivor");
    auto discovering = std::async(std::launch::async, [&] { return tagsOf(service->getLocales()); });
    if (discovering.wait_for(std::chrono::seconds(10)) == std::future_status::timeout) {
        // A writer lets the waiting open return, so that the test can end.
        const int unblock = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
        discovering.wait();
        if (unblock >= 0) ::close(unblock);
        FAIL() << "discovery waited on a FIFO";
    }
    EXPECT_EQ(discovering.get(), std::vector<std::string>{"en-US"});
    EXPECT_EQ(log.texts(SALQX_LOG_WARN), (std::vector<std::string>{"cannot open <" + fifoUrl + ">",
                                                                    "unreadable rule file <" + fifoUrl + ">"}));
    EXPECT_EQ(check(u"x", locale(u"en", u"US")).aErrors.getLength(), 1);
}

class EventListener final : public cppu::WeakImplHelper<linguistic2::XLinguServiceEventListener> {
public:
    explicit EventListener(bool throws = false) : throws_(throws) {}
    void disposing(const com::qam::vexo::lang::EventObject&) override {}
    void processLinguServiceEvent(const linguistic2::LinguServiceEvent& event) override {
        events.push_back(event);
        if (throws_) throw zel::uno::RuntimeException(u"listener fails");
    }
    std::vector<linguistic2::LinguServiceEvent> events;

private:
    bool throws_;
};

// A package whose rule i fires on the word "o<i>" only when option i is on.
PackageBuilder optionPackage(const std::string& name, const std::vector<std::pair<std::string, bool>>& options) {
    PackageBuilder b = packageFor("en-US", name);
    for (std::size_t i = 0; i < options.size(); ++i) {
        b.option(options[i].first, options[i].second);
        b.rule({.pattern = "\\bo" + std::to_string(i) + "\\b",
                .message = options[i].first,
                .condition = b.code("PushNone\nPushString \"" + options[i].first + "\"\nCall 0 2\nReturn")});
    }
    return b;
}

class OptionsTest : public ServiceTest {
protected:
    std::vector<std::string> firing(const Locale& where = locale(u"en", u"US")) {
        std::vector<std::string> names;
        for (const auto& e : check(u"o0 o1 o2 o3 o4", where).aErrors) names.push_back(u8(e.aShortComment));
        return names;
    }
    static void set(const std::string& package, const std::string& option, const Any& value) {
        officehost::configuration::setValue(OUString(optionRoot) + ou(package + "/" + option), value);
    }
};

using Names = std::vector<std::string>;

TEST_F(OptionsTest, OptionsTakeBooleanSettingsAndOtherwiseTheirDefaults) {
    tree->add("o.lxr", optionPackage("english", {{"a", true}, {"b", false}, {"c", true}, {"d", false}, {"e", true}}).build());
    set("english", "b", Any(true));
    set("english", "c", Any(OUString(u"false"))); // not a boolean
    set("english", "d", Any(false));
    set("english", "e", Any(false));
    set("other", "a", Any(false)); // another package's node
    start();
    EXPECT_EQ(firing(), (Names{"a", "b", "c"}));
}

TEST_F(OptionsTest, APackageWithoutANodeUsesTheDefaults) {
    tree->add("o.lxr", optionPackage("english", {{"a", true}, {"b", false}}).build());
    set("other", "a", Any(false));
    start();
    EXPECT_EQ(firing(), (Names{"a"}));
}

TEST_F(OptionsTest, WithoutAConfigurationTheDefaultsHold) {
    tree->add("o.lxr", optionPackage("english", {{"a", true}, {"b", false}}).build());
    set("english", "a", Any(false));
    cppu::setContextValue(context, com::qam::vexo::configuration::theDefaultProvider::singletonName, Any());
    LogCapture log("lingucomponent.lexivor");
    start();
    EXPECT_EQ(firing(), (Names{"a"}));
    const auto infos = log.texts(SALQX_LOG_INFO);
    EXPECT_NE(std::find(infos.begin(), infos.end(), "no option configuration, using defaults"), infos.end());
}

// A read-only configuration node: values, child nodes, and names whose reading fails.
class FakeNode final : public cppu::WeakImplHelper<com::qam::vexo::container::XNameAccess> {
public:
    zel::uno::Type getElementType() override { return cppu::UnoType<Any>::get(); }
    bool hasElements() override { return !values.empty(); }
    Any getByName(const OUString& name) override {
        if (failing.count(name)) throw zel::uno::RuntimeException(u"getByName: cannot read " + name);
        const auto found = values.find(name);
        if (found == values.end()) throw com::qam::vexo::container::NoSuchElementException(u"getByName: " + name);
        return found->second;
    }
    Sequence<OUString> getElementNames() override {
        std::vector<OUString> names;
        for (const auto& [name, value] : values) names.push_back(name);
        return Sequence<OUString>(names);
    }
    bool hasByName(const OUString& name) override { return values.count(name) || failing.count(name); }

    std::map<OUString, Any> values;
    std::set<OUString> failing;
};

// A configuration provider that hands out one fixed node and offers no change notification.
class FakeProvider final : public cppu::WeakImplHelper<com::qam::vexo::lang::XMultiServiceFactory> {
public:
    explicit FakeProvider(Reference<FakeNode> root) : root_(std::move(root)) {}
    Reference<zel::uno::XInterface> createInstance(const OUString& name) override {
        return createInstanceWithArguments(name, {});
    }
    Reference<zel::uno::XInterface> createInstanceWithArguments(const OUString& name, const Sequence<Any>& arguments) override {
        requests.emplace_back(name, arguments);
        return Reference<zel::uno::XInterface>(static_cast<cppu::OWeakObject*>(root_.get()));
    }
    Sequence<OUString> getAvailableServiceNames() override { return {}; }
    std::vector<std::pair<OUString, Sequence<Any>>> requests;

private:
    Reference<FakeNode> root_;
};

TEST_F(OptionsTest, AFailingReadKeepsWhatWasReadAndDefaultsForTheRest) {
    tree->add("o.lxr", optionPackage("english", {{"a", true}, {"b", true}, {"c", true}, {"d", false}}).build());
    Reference<FakeNode> node(new FakeNode);
    node->values[u"a"] = Any(false);
    node->failing.insert(u"b");
    node->values[u"c"] = Any(false);
    node->values[u"d"] = Any(true);
    Reference<FakeNode> root(new FakeNode);
    root->values[u"english"] = Any(Reference<com::qam::vexo::container::XNameAccess>(node.get()));
    Reference<FakeProvider> provider(new FakeProvider(root));
    cppu::setContextValue(context, com::qam::vexo::configuration::theDefaultProvider::singletonName,
                          Any(Reference<com::qam::vexo::lang::XMultiServiceFactory>(provider.get())));
    LogCapture log("lingucomponent.lexivor");
    start();
    EXPECT_EQ(firing(), (Names{"b", "c"}));
    EXPECT_EQ(log.texts(SALQX_LOG_WARN),
              (std::vector<std::string>{"cannot read options for english, using defaults"}));
    ASSERT_EQ(provider->requests.size(), 1u);
    EXPECT_EQ(provider->requests[0].first, u"com.qam.vexo.configuration.ConfigurationAccess");
    ASSERT_EQ(provider->requests[0].second.getLength(), 1);
    com::qam::vexo::beans::NamedValue nodePath;
    ASSERT_TRUE(provider->requests[0].second[0] >>= nodePath);
    EXPECT_EQ(nodePath.Name, u"nodepath");
    EXPECT_EQ(nodePath.Value.get<OUString>(), u"/org.ambrel.Office.Linguistic/GrammarChecking/SentenceChecking");

    // A package node that is a plain value is no node: defaults.
    root->values[u"english"] = Any(OUString(u"not a node"));
    start();
    EXPECT_EQ(firing(), (Names{"a", "b", "c"}));
}

TEST_F(OptionsTest, AChangeReloadsEveryPackageAndTellsEachListenerOnce) {
    tree->add("en.lxr", optionPackage("english", {{"a", true}, {"b", false}}).build());
    {
        PackageBuilder b;
        b.name("british").languageTag("en-GB");
        b.option("a", false);
        b.rule({.pattern = "\\bo0\\b", .message = "a", .condition = b.code("PushNone\nPushString \"a\"\nCall 0 2\nReturn")});
        tree->add("british.lxr", b.build());
    }
    start();
    Reference<linguistic2::XLinguServiceEventBroadcaster> broadcaster(service, zel::uno::UNO_QUERY);
    Reference<EventListener> failing(new EventListener(true));
    Reference<EventListener> first(new EventListener);
    Reference<EventListener> second(new EventListener);
    for (const auto& l : {failing, first, second})
        ASSERT_TRUE(broadcaster->addLinguServiceEventListener(
            Reference<linguistic2::XLinguServiceEventListener>(static_cast<linguistic2::XLinguServiceEventListener*>(l.get()))));

    EXPECT_EQ(firing(), (Names{"a"}));
    EXPECT_EQ(firing(locale(u"en", u"GB")), (Names{}));
    officehost::configuration::setValues({{OUString(optionRoot) + u"english/a", Any(false)},
                                          {OUString(optionRoot) + u"english/b", Any(true)},
                                          {OUString(optionRoot) + u"british/a", Any(true)}});
    EXPECT_EQ(firing(), (Names{"b"}));
    EXPECT_EQ(firing(locale(u"en", u"GB")), (Names{"a"}));
    for (const auto& l : {failing, first, second}) {
        ASSERT_EQ(l->events.size(), 1u);
        EXPECT_EQ(l->events[0].nEvent, 8);
        EXPECT_TRUE(Reference<zel::uno::XInterface>(l->events[0].Source) == service);
    }
    // Any change below the node reloads, also of a node no package reads.
    set("nobody", "x", Any(true));
    EXPECT_EQ(first->events.size(), 2u);
    EXPECT_EQ(second->events.size(), 2u);
    // The kept events hold the service, which holds the listeners.
    for (const auto& l : {failing, first, second}) l->events.clear();
}

TEST_F(OptionsTest, AServiceThatIsGoneHearsNothing) {
    tree->add("o.lxr", optionPackage("english", {{"a", true}}).build());
    start();
    Reference<EventListener> listener(new EventListener);
    Reference<linguistic2::XLinguServiceEventBroadcaster>(service, zel::uno::UNO_QUERY)
        ->addLinguServiceEventListener(static_cast<linguistic2::XLinguServiceEventListener*>(listener.get()));
    EXPECT_EQ(firing(), (Names{"a"}));
    service.clear();
    impl = nullptr;
    set("english", "a", Any(false)); // must not reach the destroyed service
    EXPECT_TRUE(listener->events.empty());
    start();
    EXPECT_EQ(firing(), (Names{}));
}

} // namespace
} // namespace lexivortest
