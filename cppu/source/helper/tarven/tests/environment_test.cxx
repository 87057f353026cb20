// The purpose environment: initialisation, counting, the enterable it serves
// as, and the registry functions it runs inside the environment.

#include "TarvenFixture.hxx"

#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace testsupport::uno;
using tarventest::addr;
using testsupport::LogCapture;
using testsupport::LogLine;

const std::string kBaseLife = "LIFE: cppu::helper::tarven::Base::Base(uno_Environment * pEnv) -> ";
const std::string kBaseDeath = "LIFE: cppu::helper::tarven::Base::~Base() -> ";

// A fresh environment of that name (a context of its own makes it new), hard count 1.
uno_Environment* freshEnvironment(const char16_t* name, void* context) {
    uno_Environment* env = nullptr;
    uno_getEnvironment(&env, rtl::OUString(std::u16string_view(name)).pData, context);
    return env;
}

// Spies put in place of the environment's functions before initialisation,
// so that they are what the purpose environment saves and calls.
struct Spies {
    int acquire = 0, release = 0, harden = 0, acquireWeak = 0, releaseWeak = 0;
    void (*origAcquire)(uno_Environment*);
    void (*origRelease)(uno_Environment*);
    void (*origHarden)(uno_Environment**, uno_Environment*);
    void (*origAcquireWeak)(uno_Environment*);
    void (*origReleaseWeak)(uno_Environment*);
};
Spies* g_spies = nullptr;

void installSpies(uno_Environment* env, Spies& s) {
    g_spies = &s;
    s.origAcquire = env->acquire;
    s.origRelease = env->release;
    s.origHarden = env->harden;
    s.origAcquireWeak = env->acquireWeak;
    s.origReleaseWeak = env->releaseWeak;
    env->acquire = [](uno_Environment* e) { ++g_spies->acquire; g_spies->origAcquire(e); };
    env->release = [](uno_Environment* e) { ++g_spies->release; g_spies->origRelease(e); };
    env->harden = [](uno_Environment** pp, uno_Environment* e) { ++g_spies->harden; g_spies->origHarden(pp, e); };
    env->acquireWeak = [](uno_Environment* e) { ++g_spies->acquireWeak; g_spies->origAcquireWeak(e); };
    env->releaseWeak = [](uno_Environment* e) { ++g_spies->releaseWeak; g_spies->origReleaseWeak(e); };
}

TEST(PurposeEnvironment, InitialisationLogsChecksTheNameAndInstallsBase) {
    struct Case {
        const char16_t* name;
        std::vector<std::string> warnings;
    } cases[] = {
        {u"uno", {}},
        {u"uno:unsafe", {}},
        {u"uno:test", {}},
        {u"gcc3", {"### wrong environment type!"}},
        {u"un", {"### wrong environment type!"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(rtl::OUString(std::u16string_view(c.name)).toUtf8().getStr());
        int context = 0;
        uno_Environment* env = freshEnvironment(c.name, &context);
        auto trace = std::make_shared<Trace>();
        LogCapture log;
        cppu::helper::tarven::Environment_initWithEnterable(env, new TestEnterable(trace));
        ASSERT_NE(env->pReserved, nullptr);
        const std::string base = addr(env->pReserved);
        std::vector<LogLine> expected{{"cppu.tarven", SALQX_LOG_INFO, kBaseLife + base}};
        for (auto& w : c.warnings) expected.push_back({"legacy.osl", SALQX_LOG_WARN, w});
        EXPECT_EQ(log.lines(), expected);

        // The environment's enterable is Base, which forwards validity checks.
        auto* enterable = static_cast<cppu::Enterable*>(env->pReserved);
        rtl_uString* reason = nullptr;
        EXPECT_EQ(enterable->isValid(&reason), 1);
        EXPECT_EQ(rtl::OUString(reason), u"test reason");
        trace->valid = false;
        trace->reason = "not on this thread";
        EXPECT_EQ(enterable->isValid(&reason), 0);
        EXPECT_EQ(rtl::OUString(reason), u"not on this thread");
        rtl_uString_release(reason);
        EXPECT_EQ(trace->whats(), (std::vector<std::string>{"isValid", "isValid"}));

        log.clear();
        env->release(env);
        EXPECT_EQ(log.lines(), (std::vector<LogLine>{{"cppu.tarven", SALQX_LOG_INFO, kBaseDeath + base}}));
        EXPECT_EQ(trace->deleted.load(), 1);
    }
}

TEST(PurposeEnvironment, BaseForwardsEnterLeaveCallIntoAndCallOut) {
    int context = 0;
    uno_Environment* env = freshEnvironment(u"uno:test", &context);
    auto trace = std::make_shared<Trace>();
    cppu::helper::tarven::Environment_initWithEnterable(env, new TestEnterable(trace));
    auto* enterable = static_cast<cppu::Enterable*>(env->pReserved);
    enterable->enter();
    enterable->leave();
    static int s_calls;
    s_calls = 0;
    auto callee = [](va_list* p) { s_calls += va_arg(*p, int); };
    auto call = [&](void (cppu::Enterable::*fn)(uno_EnvCallee*, va_list*), int n) {
        struct Args {
            static void pass(cppu::Enterable* e, void (cppu::Enterable::*f)(uno_EnvCallee*, va_list*),
                             uno_EnvCallee* c, ...) {
                va_list ap;
                va_start(ap, c);
                (e->*f)(c, &ap);
                va_end(ap);
            }
        };
        Args::pass(enterable, fn, callee, n);
    };
    call(&cppu::Enterable::callInto_v, 2);
    call(&cppu::Enterable::callOut_v, 5);
    EXPECT_EQ(s_calls, 7);
    EXPECT_EQ(trace->lines(), (std::vector<std::string>{"enter depth=0 thread=1", "leave depth=1 thread=1",
                                                        "callInto depth=0 thread=1", "callOut depth=0 thread=1"}));
    env->release(env);
    EXPECT_EQ(trace->deleted.load(), 1);
}

void callThrough(void (cppu::Enterable::*fn)(uno_EnvCallee*, va_list*), cppu::Enterable* e, uno_EnvCallee* callee,
                 ...) {
    va_list ap;
    va_start(ap, callee);
    (e->*fn)(callee, &ap);
    va_end(ap);
}

// An owned enterable whose creator put functions of its own in place of the
// call-into and call-out trampolines: Base calls those functions, with the
// owned enterable as first argument, and never its virtual operations.
TEST(PurposeEnvironment, BaseForwardsToReplacedCallIntoAndCallOutFunctions) {
    int context = 0;
    uno_Environment* env = freshEnvironment(u"uno:test", &context);
    auto trace = std::make_shared<Trace>();
    auto* inner = new TestEnterable(trace);
    static void* s_inner;
    static std::vector<std::string> s_calls;
    s_inner = static_cast<uno_Enterable*>(inner);
    s_calls.clear();
    inner->m_callInto_v = [](void* e, uno_EnvCallee* callee, va_list* p) {
        s_calls.push_back(e == s_inner ? "callInto self" : "callInto other");
        callee(p);
    };
    inner->m_callOut_v = [](void* e, uno_EnvCallee* callee, va_list* p) {
        s_calls.push_back(e == s_inner ? "callOut self" : "callOut other");
        callee(p);
    };
    cppu::helper::tarven::Environment_initWithEnterable(env, inner);
    auto* enterable = static_cast<cppu::Enterable*>(env->pReserved);
    auto callee = [](va_list* p) { s_calls.push_back("callee " + std::to_string(va_arg(*p, int))); };
    callThrough(&cppu::Enterable::callInto_v, enterable, callee, 3);
    callThrough(&cppu::Enterable::callOut_v, enterable, callee, 4);
    EXPECT_EQ(s_calls, (std::vector<std::string>{"callInto self", "callee 3", "callOut self", "callee 4"}));
    EXPECT_TRUE(trace->whats().empty());
    env->release(env);
    EXPECT_EQ(trace->deleted.load(), 1);
}

TEST(PurposeEnvironment, AcquireTwiceReleaseThreeTimesRestoresAndDeletesOnce) {
    int context = 0;
    uno_Environment* env = freshEnvironment(u"uno:test", &context);
    Spies spies;
    installSpies(env, spies);
    auto* const spyAcquire = env->acquire;
    auto* const spyRelease = env->release;
    auto* const spyHarden = env->harden;
    env->acquireWeak(env);  // keeps the memory for the checks at the end
    EXPECT_EQ(spies.acquireWeak, 1);
    auto trace = std::make_shared<Trace>();
    cppu::helper::tarven::Environment_initWithEnterable(env, new TestEnterable(trace));
    EXPECT_NE(env->acquire, spyAcquire);
    EXPECT_NE(env->release, spyRelease);

    env->acquire(env);
    env->acquire(env);
    EXPECT_EQ(spies.acquire, 2);
    EXPECT_EQ(uno_Environment_getHardCount(env), 3);
    env->release(env);
    env->release(env);
    EXPECT_EQ(spies.release, 2);
    EXPECT_EQ(trace->deleted.load(), 0);
    EXPECT_NE(env->pReserved, nullptr);

    LogCapture log;
    const std::string base = addr(env->pReserved);
    env->release(env);
    EXPECT_EQ(spies.release, 3);  // the final release, passed on through the restored function
    EXPECT_EQ(trace->deleted.load(), 1);
    EXPECT_EQ(env->pReserved, nullptr);
    EXPECT_EQ(env->acquire, spyAcquire);
    EXPECT_EQ(env->release, spyRelease);
    EXPECT_EQ(env->harden, spyHarden);
    EXPECT_EQ(uno_Environment_getHardCount(env), 0);
    EXPECT_EQ(log.lines(), (std::vector<LogLine>{{"cppu.tarven", SALQX_LOG_INFO, kBaseDeath + base}}));
    env->releaseWeak(env);
    EXPECT_EQ(spies.releaseWeak, 1);
    EXPECT_EQ(trace->deleted.load(), 1);
}

TEST(PurposeEnvironment, HardenCountsWeakReferencesDoNot) {
    int context = 0;
    uno_Environment* env = freshEnvironment(u"uno:test", &context);
    auto trace = std::make_shared<Trace>();
    cppu::helper::tarven::Environment_initWithEnterable(env, new TestEnterable(trace));

    env->acquireWeak(env);
    env->acquireWeak(env);
    env->releaseWeak(env);
    uno_Environment* hard = nullptr;
    env->harden(&hard, env);
    EXPECT_EQ(hard, env);
    EXPECT_EQ(uno_Environment_getHardCount(env), 2);

    // The table finds the living environment through harden: counted too.
    uno_Environment* again = nullptr;
    uno_getEnvironment(&again, env->pTypeName, &context);
    EXPECT_EQ(again, env);
    EXPECT_EQ(uno_Environment_getHardCount(env), 3);
    again->release(again);
    hard->release(hard);
    EXPECT_EQ(trace->deleted.load(), 0);
    env->release(env);  // the weak reference still held does not keep Base
    EXPECT_EQ(trace->deleted.load(), 1);

    // Dead: hardening gives nothing and counts nothing.
    uno_Environment* none = nullptr;
    env->harden(&none, env);
    EXPECT_EQ(none, nullptr);
    env->releaseWeak(env);
}

// --- registry functions ------------------------------------------------------

struct RegistryCall {
    std::string name;
    uno_Environment* current;
    sal_Int32 oidCount;  // the identifier's count during the call, -1 without one
};
std::vector<RegistryCall>* g_registryCalls = nullptr;
uno_ExtEnvironment g_saved;  // the environment's own functions, called by the spies

void note(const char* name, rtl_uString* oid = nullptr) {
    g_registryCalls->push_back({name, uno_Environment_getCurrent(), oid ? oid->refCount.load() : -1});
}

void installRegistrySpies(uno_ExtEnvironment* ext) {
    g_saved = *ext;
    ext->registerProxyInterface = [](uno_ExtEnvironment* e, void** pp, uno_freeProxyFunc f, rtl_uString* oid,
                                     typelib_InterfaceTypeDescription* t) {
        note("registerProxyInterface", oid);
        g_saved.registerProxyInterface(e, pp, f, oid, t);
    };
    ext->revokeInterface = [](uno_ExtEnvironment* e, void* p) {
        note("revokeInterface");
        g_saved.revokeInterface(e, p);
    };
    ext->getObjectIdentifier = [](uno_ExtEnvironment* e, rtl_uString** pp, void* p) {
        note("getObjectIdentifier");
        g_saved.getObjectIdentifier(e, pp, p);
    };
    ext->getRegisteredInterface = [](uno_ExtEnvironment* e, void** pp, rtl_uString* oid,
                                     typelib_InterfaceTypeDescription* t) {
        note("getRegisteredInterface", oid);
        g_saved.getRegisteredInterface(e, pp, oid, t);
    };
    ext->getRegisteredInterfaces = [](uno_ExtEnvironment* e, void*** ppp, sal_Int32* n, uno_memAlloc a) {
        note("getRegisteredInterfaces");
        g_saved.getRegisteredInterfaces(e, ppp, n, a);
    };
    ext->computeObjectIdentifier = [](uno_ExtEnvironment* e, rtl_uString** pp, void* p) {
        note("computeObjectIdentifier");
        g_saved.computeObjectIdentifier(e, pp, p);
    };
    ext->acquireInterface = [](uno_ExtEnvironment* e, void* p) {
        note("acquireInterface");
        g_saved.acquireInterface(e, p);
    };
    ext->releaseInterface = [](uno_ExtEnvironment* e, void* p) {
        note("releaseInterface");
        g_saved.releaseInterface(e, p);
    };
}

int g_freed = 0;

TEST(PurposeEnvironment, RegistryFunctionsRunInsideTheEnvironmentOnceEach) {
    const TestTypes& types = TestTypes::get();
    int context = 0;
    uno_Environment* env = freshEnvironment(u"uno:test", &context);
    uno_ExtEnvironment* ext = env->pExtEnv;
    auto* const plainRegister = ext->registerInterface;
    std::vector<RegistryCall> calls;
    g_registryCalls = &calls;
    installRegistrySpies(ext);
    auto trace = std::make_shared<Trace>();
    cppu::helper::tarven::Environment_initWithEnterable(env, new TestEnterable(trace));
    EXPECT_EQ(ext->registerInterface, plainRegister);  // left in place

    BinaryObject* obj = BinaryObject::create(types.xcalc.iface());
    rtl::OUString oid(u"test-object;uno:test");
    const sal_Int32 oidCount = oid.pData->refCount.load();
    auto* type = types.xcalc.iface();
    g_freed = 0;
    void* proxy = obj->unoI();
    obj->acquire(obj);  // stands for the proxy's own reference, dropped by the free function
    auto freeProxy = [](uno_ExtEnvironment*, void* p) {
        ++g_freed;
        static_cast<uno_Interface*>(p)->release(static_cast<uno_Interface*>(p));
    };
    void* found = nullptr;
    rtl_uString* got = nullptr;
    void** all = nullptr;
    sal_Int32 n = 0;

    struct Step {
        const char* name;
        std::function<void()> call;
        sal_Int32 oidExtra;  // counts on the identifier beyond the caller's during the call
    } steps[] = {
        {"registerProxyInterface", [&] { ext->registerProxyInterface(ext, &proxy, freeProxy, oid.pData, type); }, 1},
        {"getRegisteredInterface", [&] { ext->getRegisteredInterface(ext, &found, oid.pData, type); }, 1},
        {"getObjectIdentifier", [&] { ext->getObjectIdentifier(ext, &got, proxy); }, -1},
        {"computeObjectIdentifier", [&] { ext->computeObjectIdentifier(ext, &got, proxy); }, -1},
        {"getRegisteredInterfaces", [&] { ext->getRegisteredInterfaces(ext, &all, &n, std::malloc); }, -1},
        {"acquireInterface", [&] { ext->acquireInterface(ext, proxy); }, -1},
        {"releaseInterface", [&] { ext->releaseInterface(ext, proxy); }, -1},
        {"revokeInterface", [&] { ext->revokeInterface(ext, proxy); }, -1},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.name);
        calls.clear();
        trace->clear();
        s.call();
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].name, s.name);
        EXPECT_EQ(calls[0].current, env);  // inside the purpose environment
        EXPECT_EQ(calls[0].oidCount, s.oidExtra < 0 ? -1 : oidCount + s.oidExtra);
        EXPECT_EQ(trace->whats(), (std::vector<std::string>{"callInto"}));
        EXPECT_EQ(uno_Environment_getCurrent(), nullptr);
    }
    EXPECT_EQ(found, obj->unoI());
    EXPECT_EQ(rtl::OUString(got).getLength() > 0, true);
    EXPECT_EQ(n, 1);
    EXPECT_EQ(all[0], obj->unoI());
    EXPECT_EQ(oid.pData->refCount.load(), oidCount);  // the extra counts are gone again
    EXPECT_EQ(g_freed, 1);  // the one registration revoked: the proxy freed through its function

    static_cast<uno_Interface*>(all[0])->release(static_cast<uno_Interface*>(all[0]));
    std::free(all);
    static_cast<uno_Interface*>(found)->release(static_cast<uno_Interface*>(found));
    rtl_uString_release(got);
    EXPECT_EQ(obj->count(), 1);
    obj->release(obj);
    env->release(env);
    g_registryCalls = nullptr;
}

} // namespace

namespace {

TEST(PurposeEnvironmentDeathTest, RegistryCallsAfterBaseHasGoneAreCaught) {
#ifdef NDEBUG
    GTEST_SKIP() << "the check is an assertion";
#else
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    int context = 0;
    uno_Environment* env = freshEnvironment(u"uno:test", &context);
    auto trace = std::make_shared<Trace>();
    cppu::helper::tarven::Environment_initWithEnterable(env, new TestEnterable(trace));
    env->acquireWeak(env);
    env->release(env);  // Base goes with the last hard reference
    EXPECT_EQ(trace->deleted.load(), 1);
    uno_ExtEnvironment* ext = env->pExtEnv;
    EXPECT_DEATH(ext->revokeInterface(ext, nullptr), "purpose environment used after its Base has gone");
    env->releaseWeak(env);
#endif
}

} // namespace
