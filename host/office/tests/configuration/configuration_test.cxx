#include "profilefixture.hxx"

#include <com/qam/vexo/beans/values.hxx>
#include <com/qam/vexo/configuration/theDefaultProvider.hxx>
#include <com/qam/vexo/container/collections.hxx>
#include <com/qam/vexo/util/changes.hxx>
#include <comphelper/processfactory.hxx>
#include <cppu/implbase.hxx>
#include <cppu/servicemanager.hxx>
#include <testsupport/LogCapture.hxx>

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <functional>
#include <thread>

namespace {

using ::com::qam::vexo::beans::NamedValue;
using ::com::qam::vexo::beans::PropertyValue;
using ::com::qam::vexo::configuration::theDefaultProvider;
using ::com::qam::vexo::container::NoSuchElementException;
using ::com::qam::vexo::container::XNameAccess;
using ::com::qam::vexo::lang::DisposedException;
using ::com::qam::vexo::lang::EventObject;
using ::com::qam::vexo::lang::IllegalArgumentException;
using ::com::qam::vexo::lang::XMultiServiceFactory;
using ::com::qam::vexo::util::ChangesEvent;
using ::com::qam::vexo::util::ElementChange;
using ::com::qam::vexo::util::XChangesListener;
using ::com::qam::vexo::util::XChangesNotifier;
using ::zel::uno::Any;
using ::zel::uno::Reference;
using ::zel::uno::Sequence;
using ::zel::uno::UNO_QUERY;
using ::zel::uno::UNO_QUERY_THROW;

constexpr char16_t kAccess[] = u"com.qam.vexo.configuration.ConfigurationAccess";
constexpr char16_t kOptions[] = u"/org.ambrel.Office.Linguistic/GrammarChecking/SentenceChecking";
namespace config = officehost::configuration;

// The message of the exception that f throws, compared in full by the caller;
// rethrown so that EXPECT_THROW checks the type.
template <class E, class F>
void expectMessage(F f, const OUString& message) {
    EXPECT_THROW(
        {
            try {
                f();
            } catch (const E& e) {
                EXPECT_EQ(e.Message, message);
                throw;
            }
        },
        E);
}

class RecordingListener : public cppu::WeakImplHelper<XChangesListener> {
public:
    std::vector<ChangesEvent> events;
    int disposings = 0;
    std::function<void()> onChange;

    void changesOccurred(const ChangesEvent& event) override {
        events.push_back(event);
        if (onChange) onChange();
    }
    void disposing(const EventObject&) override { ++disposings; }
};

// (accessor, new value, old value) of every change of one event.
std::vector<std::tuple<OUString, Any, Any>> changesOf(const ChangesEvent& event) {
    std::vector<std::tuple<OUString, Any, Any>> out;
    for (const ElementChange& c : event.Changes)
        out.emplace_back(c.Accessor.get<OUString>(), c.Element, c.ReplacedElement);
    return out;
}

class ConfigurationTest : public officehost::test::ProfileTest {
protected:
    Reference<XNameAccess> access(const OUString& path) {
        auto provider = theDefaultProvider::get(comphelper::getProcessComponentContext());
        Sequence<Any> args{Any(NamedValue{u"nodepath", Any(path)})};
        return Reference<XNameAccess>(provider->createInstanceWithArguments(kAccess, args), UNO_QUERY_THROW);
    }
    Reference<XNameAccess> child(const Reference<XNameAccess>& node, const OUString& name) {
        return Reference<XNameAccess>(node->getByName(name), UNO_QUERY_THROW);
    }
};

TEST_F(ConfigurationTest, ReadsTypedValuesFromTheProfile) {
    writeProfile("# options of the English package\n"
                 "\n"
                 "/org.ambrel.Office.Linguistic/GrammarChecking/SentenceChecking/en/cap = false\n"
                 "  /org.ambrel.Office.Linguistic/GrammarChecking/SentenceChecking/en/dup=true  \r\n"
                 "/org.ambrel.Office.Linguistic/GrammarChecking/SentenceChecking/en/count = -42\n"
                 "/org.ambrel.Office.Linguistic/GrammarChecking/SentenceChecking/en/big = 8589934592\n"
                 "/org.ambrel.Office.Linguistic/GrammarChecking/SentenceChecking/en/ratio = 2.5e-1\n"
                 "/org.ambrel.Office.Linguistic/GrammarChecking/SentenceChecking/en/label = \"say \\\"hi\\\"\\n\\u00e9 "
                 "\xc3\xa9\"\n"
                 "/org.ambrel.Office.Linguistic/GrammarChecking/SentenceChecking/en/cap = true\n"
                 "/org.ambrel.Office.Linguistic/GrammarChecking/SentenceChecking/de GE/x = \"\"\n");
    startHost();
    auto options = access(kOptions);
    EXPECT_TRUE(options->hasElements());
    EXPECT_EQ(options->getElementNames(), (Sequence<OUString>{u"de GE", u"en"}));
    EXPECT_TRUE(options->hasByName(u"en"));
    EXPECT_FALSE(options->hasByName(u"fr"));
    auto en = child(options, u"en");
    EXPECT_EQ(en->getElementNames(), (Sequence<OUString>{u"big", u"cap", u"count", u"dup", u"label", u"ratio"}));
    EXPECT_EQ(en->getByName(u"cap"), Any(true)); // the later line wins
    EXPECT_EQ(en->getByName(u"dup"), Any(true));
    EXPECT_EQ(en->getByName(u"count"), Any(sal_Int32(-42)));
    EXPECT_EQ(en->getByName(u"big"), Any(sal_Int64(8589934592)));
    EXPECT_EQ(en->getByName(u"ratio"), Any(0.25));
    EXPECT_EQ(en->getByName(u"label"), Any(OUString(u"say \"hi\"\n\u00e9 \u00e9")));
    EXPECT_EQ(config::getValue(u"/org.ambrel.Office.Linguistic/GrammarChecking/SentenceChecking/de GE/x"),
              Any(OUString()));
    EXPECT_FALSE(config::getValue(u"/org.ambrel.Office.Linguistic/GrammarChecking").hasValue());
    EXPECT_FALSE(config::getValue(u"/nothing/here").hasValue());
}

TEST_F(ConfigurationTest, UnreadableLinesAreLoggedAndSkipped) {
    writeProfile("/a/ok = 1\n"
                 "/a/novalue\n"
                 "a/relative = 1\n"
                 "/a//empty = 1\n"
                 "/a/word = maybe\n"
                 "/a/open = \"abc\n"
                 "/a/escape = \"\\q\"\n"
                 "/a/ok/below = 2\n"
                 "/a/bytes = \"\xff\"\n"
                 "/a/inf = 1e999\n"
                 "/a/last = \"z\"\n");
    testsupport::LogCapture log("configmgr");
    startHost();
    EXPECT_EQ(config::getValue(u"/a/ok"), Any(sal_Int32(1)));
    EXPECT_EQ(config::getValue(u"/a/last"), Any(OUString(u"z")));
    EXPECT_EQ(access(u"/a")->getElementNames(), (Sequence<OUString>{u"last", u"ok"}));
    const std::string f = profileFile().string();
    EXPECT_EQ(log.texts(SALQX_LOG_WARN), (std::vector<std::string>{
                                                        f + ":2: no \"=\", line ignored",
                                                        f + ":3: malformed path a/relative, line ignored",
                                                        f + ":4: malformed path /a//empty, line ignored",
                                                        f + ":5: unreadable value maybe, line ignored",
                                                        f + ":6: unterminated string, line ignored",
                                                        f + ":7: unknown escape \\q in a string, line ignored",
                                                        f + ":8: /a/ok is a value, not a node, line ignored",
                                                        f + ":9: not UTF-8, line ignored",
                                                        f + ":10: unreadable value 1e999, line ignored",
                                                    }));
}

TEST_F(ConfigurationTest, MissingProfileGivesEmptyNodes) {
    startHost();
    auto options = access(kOptions);
    EXPECT_FALSE(options->hasElements());
    EXPECT_FALSE(options->hasByName(u"en"));
    EXPECT_FALSE(options->getElementNames().hasElements());
    EXPECT_EQ(options->getElementType(), cppu::UnoType<Any>::get());
    expectMessage<NoSuchElementException>(
        [&] { options->getByName(u"en"); },
        u"getByName: /org.ambrel.Office.Linguistic/GrammarChecking/SentenceChecking has no element \"en\"");
}

TEST_F(ConfigurationTest, AccessesAreLiveViews) {
    startHost();
    auto options = access(kOptions);
    config::setValue(OUString(kOptions) + u"/en/cap", Any(false));
    auto en = child(options, u"en");
    EXPECT_EQ(en->getByName(u"cap"), Any(false));
    config::setValue(OUString(kOptions) + u"/en/cap", Any(true));
    EXPECT_EQ(en->getByName(u"cap"), Any(true));
    EXPECT_TRUE(config::removeValue(OUString(kOptions) + u"/en"));
    EXPECT_FALSE(en->hasByName(u"cap"));
    EXPECT_FALSE(options->hasByName(u"en"));
    EXPECT_FALSE(config::removeValue(OUString(kOptions) + u"/en"));
}

TEST_F(ConfigurationTest, AccessTakesNodePathAsNamedOrPropertyValue) {
    writeProfile("/org.ambrel.Setup/Language/UserLocale = \"de-CH\"\n");
    startHost();
    auto provider = theDefaultProvider::get(comphelper::getProcessComponentContext());
    EXPECT_EQ(provider->getAvailableServiceNames(), (Sequence<OUString>{kAccess}));
    Sequence<Any> args{Any(PropertyValue{u"nodepath", 0, Any(OUString(u"/org.ambrel.Setup/Language")), {}})};
    Reference<XNameAccess> l10n(provider->createInstanceWithArguments(kAccess, args), UNO_QUERY);
    ASSERT_TRUE(l10n.is());
    EXPECT_EQ(l10n->getByName(u"UserLocale"), Any(OUString(u"de-CH")));
    Reference<XChangesNotifier> notifier(l10n, UNO_QUERY);
    EXPECT_TRUE(notifier.is());
    Reference<::com::qam::vexo::lang::XServiceInfo> info(l10n, UNO_QUERY);
    ASSERT_TRUE(info.is());
    EXPECT_TRUE(info->supportsService(kAccess));
}

TEST_F(ConfigurationTest, BadCreationArgumentsAreRefused) {
    writeProfile("/org.ambrel.Setup/Language/UserLocale = \"de-CH\"\n");
    startHost();
    auto provider = theDefaultProvider::get(comphelper::getProcessComponentContext());
    struct Case {
        Sequence<Any> args;
        const char16_t* message;
    };
    const Case cases[] = {
        {{}, u"createInstanceWithArguments: no \"nodepath\" argument"},
        {{Any(NamedValue{u"path", Any(OUString(u"/a"))})}, u"createInstanceWithArguments: no \"nodepath\" argument"},
        {{Any(NamedValue{u"nodepath", Any(true)})}, u"createInstanceWithArguments: no \"nodepath\" argument"},
        {{Any(NamedValue{u"nodepath", Any(OUString(u"a/b"))})},
         u"createInstanceWithArguments: malformed node path \"a/b\""},
        {{Any(NamedValue{u"nodepath", Any(OUString(u"/a//b"))})},
         u"createInstanceWithArguments: malformed node path \"/a//b\""},
        {{Any(NamedValue{u"nodepath", Any(OUString(u"/org.ambrel.Setup/Language/UserLocale"))})},
         u"createInstanceWithArguments: /org.ambrel.Setup/Language/UserLocale is a value, not a node"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(OUString(c.message).toUtf8().toStdString());
        expectMessage<IllegalArgumentException>([&] { provider->createInstanceWithArguments(kAccess, c.args); },
                                                OUString(c.message));
    }
    expectMessage<IllegalArgumentException>([&] { provider->createInstance(kAccess); },
                                            u"createInstanceWithArguments: no \"nodepath\" argument");
    expectMessage<::zel::uno::Exception>(
        [&] { provider->createInstance(u"com.qam.vexo.configuration.ConfigurationUpdateAccess"); },
        u"createInstanceWithArguments: unknown service \"com.qam.vexo.configuration.ConfigurationUpdateAccess\"");
}

TEST_F(ConfigurationTest, SingletonIsMissingFromAnEmptyContext) {
    auto empty = cppu::createComponentContext();
    expectMessage<::zel::uno::DeploymentException>(
        [&] { theDefaultProvider::get(empty); },
        u"component context fails to supply singleton com.qam.vexo.configuration.theDefaultProvider of type "
        u"com.qam.vexo.lang.XMultiServiceFactory");
    cppu::disposeComponentContext(empty);
}

TEST_F(ConfigurationTest, ChangesReachEveryListenerAboveTheValueOnce) {
    writeProfile("/org.ambrel.Office.Linguistic/GrammarChecking/SentenceChecking/en/cap = true\n");
    startHost();
    auto options = access(kOptions);
    auto en = child(options, u"en");
    auto setup = access(u"/org.ambrel.Setup");
    Reference<XChangesNotifier> optionsNotifier(options, UNO_QUERY_THROW), enNotifier(en, UNO_QUERY_THROW),
        setupNotifier(setup, UNO_QUERY_THROW);
    Reference<RecordingListener> first(new RecordingListener), second(new RecordingListener),
        onEn(new RecordingListener), elsewhere(new RecordingListener);
    optionsNotifier->addChangesListener(first.get());
    optionsNotifier->addChangesListener(second.get());
    optionsNotifier->addChangesListener(second.get()); // a second registration changes nothing
    enNotifier->addChangesListener(onEn.get());
    setupNotifier->addChangesListener(elsewhere.get());

    config::setValue(OUString(kOptions) + u"/en/cap", Any(false));
    for (auto* l : {first.get(), second.get()}) {
        ASSERT_EQ(l->events.size(), 1u);
        EXPECT_EQ(changesOf(l->events[0]),
                  (std::vector<std::tuple<OUString, Any, Any>>{{u"en/cap", Any(false), Any(true)}}));
        EXPECT_TRUE(Reference<XNameAccess>::sameObject(l->events[0].Source.get(), options.get()));
        EXPECT_EQ(l->events[0].Base, Any(Reference<::zel::uno::XInterface>(options.get())));
    }
    ASSERT_EQ(onEn->events.size(), 1u);
    EXPECT_EQ(changesOf(onEn->events[0]),
              (std::vector<std::tuple<OUString, Any, Any>>{{u"cap", Any(false), Any(true)}}));
    EXPECT_TRUE(elsewhere->events.empty());

    // Setting the same value again is no change.
    config::setValue(OUString(kOptions) + u"/en/cap", Any(false));
    EXPECT_EQ(first->events.size(), 1u);

    // A batch is one event per listener; a removal reports the old value.
    config::setValues({{OUString(kOptions) + u"/en/dup", Any(true)}, {OUString(kOptions) + u"/de/cap", Any(false)}});
    ASSERT_EQ(first->events.size(), 2u);
    EXPECT_EQ(changesOf(first->events[1]), (std::vector<std::tuple<OUString, Any, Any>>{
                                               {u"de/cap", Any(false), Any()}, {u"en/dup", Any(true), Any()}}));
    ASSERT_EQ(onEn->events.size(), 2u);
    EXPECT_EQ(changesOf(onEn->events[1]), (std::vector<std::tuple<OUString, Any, Any>>{{u"dup", Any(true), Any()}}));
    EXPECT_TRUE(config::removeValue(OUString(kOptions) + u"/de"));
    ASSERT_EQ(first->events.size(), 3u);
    EXPECT_EQ(changesOf(first->events[2]),
              (std::vector<std::tuple<OUString, Any, Any>>{{u"de/cap", Any(), Any(false)}}));
    EXPECT_EQ(onEn->events.size(), 2u);

    // A removed listener hears nothing more; the others still do.
    optionsNotifier->removeChangesListener(second.get());
    config::setValue(OUString(kOptions) + u"/en/cap", Any(true));
    EXPECT_EQ(first->events.size(), 4u);
    EXPECT_EQ(second->events.size(), 3u);
    EXPECT_EQ(onEn->events.size(), 3u);
    config::setValue(u"/org.ambrel.Setup/Language/UserLocale", Any(OUString(u"de-CH")));
    ASSERT_EQ(elsewhere->events.size(), 1u);
    EXPECT_EQ(first->events.size(), 4u);

    optionsNotifier->removeChangesListener(first.get());
    enNotifier->removeChangesListener(onEn.get());
    setupNotifier->removeChangesListener(elsewhere.get());
}

TEST_F(ConfigurationTest, ListenersMayReadAndAFailingListenerDoesNotStopTheOthers) {
    startHost();
    auto options = access(kOptions);
    Reference<XChangesNotifier> notifier(options, UNO_QUERY_THROW);
    Reference<RecordingListener> gone(new RecordingListener), failing(new RecordingListener),
        reader(new RecordingListener);
    gone->onChange = [] { throw DisposedException(u"gone"); };
    failing->onChange = [] { throw ::zel::uno::RuntimeException(u"boom"); };
    Any seen;
    reader->onChange = [&] { seen = child(options, u"en")->getByName(u"cap"); };
    notifier->addChangesListener(gone.get());
    notifier->addChangesListener(failing.get());
    notifier->addChangesListener(reader.get());

    testsupport::LogCapture log("configmgr");
    config::setValue(OUString(kOptions) + u"/en/cap", Any(false));
    config::setValue(OUString(kOptions) + u"/en/cap", Any(true));
    EXPECT_EQ(gone->events.size(), 1u); // dropped after its DisposedException
    EXPECT_EQ(failing->events.size(), 2u);
    EXPECT_EQ(reader->events.size(), 2u);
    EXPECT_EQ(seen, Any(true));
    EXPECT_EQ(log.texts(SALQX_LOG_WARN),
              (std::vector<std::string>{"a changes listener failed: boom", "a changes listener failed: boom"}));
    notifier->removeChangesListener(failing.get());
    notifier->removeChangesListener(reader.get());
}

TEST_F(ConfigurationTest, ShuttingDownTheHostTellsListenersItIsDisposing) {
    startHost();
    Reference<RecordingListener> listener(new RecordingListener);
    {
        Reference<XChangesNotifier> notifier(access(kOptions), UNO_QUERY_THROW);
        notifier->addChangesListener(listener.get());
    }
    officehost::shutdownProcessContext();
    EXPECT_EQ(listener->disposings, 1);
    EXPECT_TRUE(listener->events.empty());
}

TEST_F(ConfigurationTest, RefusedValuesChangeNothing) {
    startHost();
    config::setValue(u"/a/value", Any(sal_Int32(1)));
    struct Case {
        const char16_t* path;
        Any value;
        const char16_t* message;
    };
    const Case cases[] = {
        {u"a/b", Any(true), u"setValue: malformed path \"a/b\""},
        {u"", Any(true), u"setValue: malformed path \"\""},
        {u"/a/", Any(true), u"setValue: malformed path \"/a/\""},
        {u"/", Any(true), u"setValue: the root is a node, not a value"},
        {u"/a/value/below", Any(true), u"setValue: /a/value is a value, not a node"},
        {u"/a", Any(true), u"setValue: /a is a node, not a value"},
        {u"/a/list", Any(Sequence<OUString>{u"x"}), u"setValue: values of type []string cannot be stored"},
        {u"/a/nan", Any(std::nan("")), u"setValue: a double that is not finite cannot be stored"},
        {u"/a/void", Any(), u"setValue: values of type void cannot be stored"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(OUString(c.message).toUtf8().toStdString());
        expectMessage<IllegalArgumentException>([&] { config::setValue(OUString(c.path), c.value); },
                                                OUString(c.message));
    }
    // One refused value in a batch leaves the others unset too.
    expectMessage<IllegalArgumentException>(
        [&] {
            config::setValues({{u"/a/first", Any(true)}, {u"/a/value/x", Any(true)}});
        },
        u"setValue: /a/value is a value, not a node");
    EXPECT_FALSE(config::getValue(u"/a/first").hasValue());
    EXPECT_EQ(config::getValue(u"/a/value"), Any(sal_Int32(1)));
    expectMessage<IllegalArgumentException>([&] { config::removeValue(u"nothing"); },
                                            u"removeValue: malformed path \"nothing\"");
}

TEST_F(ConfigurationTest, WithoutAHostChangesFailAndReadsFindNothing) {
    officehost::shutdownProcessContext();
    EXPECT_FALSE(config::getValue(u"/a/b").hasValue());
    expectMessage<::zel::uno::RuntimeException>([&] { config::setValue(u"/a/b", Any(true)); },
                                                u"setValue: the process has no configuration");
    expectMessage<::zel::uno::RuntimeException>([&] { config::reload(); }, u"reload: the process has no configuration");
}

TEST_F(ConfigurationTest, StoreProfileWritesEveryValueAndANewHostReadsThem) {
    writeProfile("/b/old = 1\n");
    startHost();
    const OUString awkward(u"quote \" backslash \\ tab \t line \n cr \r bell \u0007 lone \xD800 pair \U0001F600 é");
    config::setValues({{u"/a/flag", Any(false)},
                       {u"/a/short", Any(sal_Int16(-7))},
                       {u"/a/hyper", Any(sal_Int64(-8589934592))},
                       {u"/a/whole", Any(2000.0)},
                       {u"/a/third", Any(1.0 / 3.0)},
                       {u"/a/text", Any(awkward)}});
    ASSERT_TRUE(config::removeValue(u"/b"));
    config::storeProfile();
    EXPECT_EQ(readProfile(), "# qx user profile: one setting per line, PATH = VALUE\n"
                             "/a/flag = false\n"
                             "/a/hyper = -8589934592\n"
                             "/a/short = -7\n"
                             "/a/text = \"quote \\\" backslash \\\\ tab \\t line \\n cr \\r bell \\u0007 lone \\uD800 "
                             "pair \\uD83D\\uDE00 \xc3\xa9\"\n"
                             "/a/third = 0.3333333333333333\n"
                             "/a/whole = 2000.0\n");
    startHost();
    EXPECT_EQ(config::getValue(u"/a/flag"), Any(false));
    EXPECT_EQ(config::getValue(u"/a/short"), Any(sal_Int32(-7)));
    EXPECT_EQ(config::getValue(u"/a/hyper"), Any(sal_Int64(-8589934592)));
    EXPECT_EQ(config::getValue(u"/a/whole"), Any(2000.0));
    EXPECT_EQ(config::getValue(u"/a/third"), Any(1.0 / 3.0));
    EXPECT_EQ(config::getValue(u"/a/text"), Any(awkward));
    EXPECT_FALSE(config::getValue(u"/b/old").hasValue());
}

TEST_F(ConfigurationTest, ReloadNotifiesWhatTheProfileChanged) {
    writeProfile("/o/p/keep = 1\n/o/p/change = true\n/o/p/drop = \"x\"\n");
    startHost();
    Reference<XChangesNotifier> notifier(access(u"/o"), UNO_QUERY_THROW);
    Reference<RecordingListener> listener(new RecordingListener);
    notifier->addChangesListener(listener.get());
    config::setValue(u"/o/p/unstored", Any(sal_Int32(5)));
    writeProfile("/o/p/keep = 1\n/o/p/change = false\n/o/p/added = 2\n");
    config::reload();
    ASSERT_EQ(listener->events.size(), 2u);
    EXPECT_EQ(changesOf(listener->events[1]), (std::vector<std::tuple<OUString, Any, Any>>{
                                                  {u"p/change", Any(false), Any(true)},
                                                  {u"p/drop", Any(), Any(OUString(u"x"))},
                                                  {u"p/unstored", Any(), Any(sal_Int32(5))},
                                                  {u"p/added", Any(sal_Int32(2)), Any()},
                                              }));
    EXPECT_EQ(config::getValue(u"/o/p/change"), Any(false));
    notifier->removeChangesListener(listener.get());
}

TEST_F(ConfigurationTest, ConcurrentChangesAreAllHeard) {
    startHost();
    Reference<XChangesNotifier> notifier(access(u"/t"), UNO_QUERY_THROW);
    class CountingListener : public cppu::WeakImplHelper<XChangesListener> {
    public:
        std::atomic<int> changes{0};
        void changesOccurred(const ChangesEvent& event) override { changes += event.Changes.getLength(); }
        void disposing(const EventObject&) override {}
    };
    Reference<CountingListener> listener(new CountingListener);
    notifier->addChangesListener(listener.get());
    constexpr int kThreads = 4, kValues = 100;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t] {
            for (int i = 0; i < kValues; ++i) {
                OUString path = u"/t/" + OUString::number(t) + u"/v" + OUString::number(i);
                config::setValue(path, Any(sal_Int32(i)));
                (void)config::getValue(path);
            }
        });
    }
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(listener->changes, kThreads * kValues);
    for (int t = 0; t < kThreads; ++t)
        EXPECT_EQ(config::getValue(u"/t/" + OUString::number(t) + u"/v99"), Any(sal_Int32(99)));
    notifier->removeChangesListener(listener.get());
}

TEST_F(ConfigurationTest, ProfilePathFollowsTheEnvironment) {
    using officehost::test::ScopedEnvironment;
    {
        ScopedEnvironment profile("QX_USER_PROFILE", "/tmp/p.txt");
        EXPECT_EQ(config::profilePath(), u"/tmp/p.txt");
    }
    ScopedEnvironment profile("QX_USER_PROFILE", ""), home("HOME", "/home/u");
    {
        ScopedEnvironment xdg("XDG_CONFIG_HOME", "/x");
        EXPECT_EQ(config::profilePath(), u"/x/qx/settings.txt");
    }
    ScopedEnvironment xdg("XDG_CONFIG_HOME", nullptr);
    EXPECT_EQ(config::profilePath(), u"/home/u/.config/qx/settings.txt");
}

} // namespace
