// Mappings and proxies between the plain "uno" environment and the purpose
// environment "uno:test", both ways.

#include "TarvenFixture.hxx"

#include "helper_tarven_Proxy.hxx"

#include <gtest/gtest.h>

#include <memory>
#include <thread>

namespace {

using namespace testsupport::uno;
using tarventest::addr;
using tarventest::ProbeLog;
using testsupport::LogCapture;
using testsupport::LogLine;

struct Holder {
    void* obj;
    sal_Int32 count;
};

uno_Interface* unoI(void* p) { return static_cast<uno_Interface*>(p); }
void acquireI(void* p) { unoI(p)->acquire(unoI(p)); }
void releaseI(void* p) { unoI(p)->release(unoI(p)); }

std::vector<std::string> lifeLines(const LogCapture& log, const std::string& prefix) {
    std::vector<std::string> r;
    for (auto& l : log.lines())
        if (l.text.starts_with(prefix)) r.push_back(l.text);
    return r;
}

class MappingTest : public ::testing::Test {
protected:
    void SetUp() override {
        harness.reset(tarventest::makeHarness(&probes));
        plain = harness->plain();
        purpose = harness->purpose();
    }
    void TearDown() override { harness.reset(); }

public:
    // Maps obj from one environment into the other, counted.
    void* map(uno_Environment* from, uno_Environment* to, void* obj,
              typelib_InterfaceTypeDescription* type = TestTypes::get().xcalc.iface()) {
        zel::uno::Mapping m(from, to);
        EXPECT_TRUE(m.is());
        return m.mapInterface(obj, type);
    }

    // Dispatches member of proxy; returns the exception pointer as the callee left it.
    uno_Any* call(void* proxy, std::u16string_view member, void* ret, void** args, uno_Any* exc) {
        uno_Any* pExc = exc;
        const typelib_TypeDescription* m = TestTypes::get().xcalc.member(member);
        unoI(proxy)->pDispatcher(unoI(proxy), m, ret, args, &pExc);
        return pExc;
    }

    const TestTypes& types = TestTypes::get();
    ProbeLog probes;
    std::unique_ptr<PurposeHarness> harness;
    uno_Environment* plain = nullptr;
    uno_Environment* purpose = nullptr;
};

TEST_F(MappingTest, CreatingLogsRegistersAndHandsBackTheRegisteredOne) {
    LogCapture log("cppu.tarven");
    uno_Mapping* m = nullptr;
    cppu::helper::tarven::createMapping(&m, purpose, plain);
    // The log shows the Mapping object, whose uno_Mapping part follows its vtable pointer.
    const std::string self = addr(reinterpret_cast<char*>(m) - sizeof(void*));
    EXPECT_EQ(log.texts(SALQX_LOG_INFO),
              (std::vector<std::string>{"LIFE: Mapping::Mapping(uno_Environment * pFrom, uno_Environment * pTo -> " + self}));
    zel::uno::Mapping found(purpose, plain);
    EXPECT_EQ(found.get(), m);

    // A second mapping for the same environments gives way to the registered one.
    uno_Mapping* second = nullptr;
    log.clear();
    cppu::helper::tarven::createMapping(&second, purpose, plain);
    EXPECT_EQ(second, m);
    ASSERT_EQ(log.texts(SALQX_LOG_INFO).size(), 2u);
    const std::string other = log.texts(SALQX_LOG_INFO)[0].substr(
        std::string("LIFE: Mapping::Mapping(uno_Environment * pFrom, uno_Environment * pTo -> ").size());
    EXPECT_NE(other, self);
    EXPECT_EQ(log.texts(SALQX_LOG_INFO)[1], "LIFE: Mapping:~Mapping() -> " + other);

    log.clear();
    second->release(second);
    found.clear();
    EXPECT_TRUE(log.lines().empty());
    m->release(m);
    EXPECT_EQ(log.texts(SALQX_LOG_INFO), (std::vector<std::string>{"LIFE: Mapping:~Mapping() -> " + self}));
    zel::uno::Mapping fresh(purpose, plain);  // from the factory again: a new one
    EXPECT_TRUE(fresh.is());
}

TEST_F(MappingTest, MappingNullReleasesTheOldValueAndMappingTwiceGivesTheSameProxy) {
    BinaryObject* obj = BinaryObject::create(types.xcalc.iface());
    zel::uno::Mapping m(purpose, plain);
    LogCapture log("cppu.tarven");
    void* proxy = m.mapInterface(obj, types.xcalc.iface());
    ASSERT_NE(proxy, nullptr);
    EXPECT_NE(proxy, static_cast<void*>(obj));
    EXPECT_EQ(lifeLines(log, "LIFE: Proxy"), (std::vector<std::string>{"LIFE: Proxy::Proxy(<>) -> " + addr(proxy)}));
    EXPECT_EQ(obj->count(), 3);  // the test's, the proxy's and the registry's in "uno:test"

    void* again = m.mapInterface(obj, types.xcalc.iface());
    EXPECT_EQ(again, proxy);

    void* out = again;  // holds the second count
    m.get()->mapInterface(m.get(), &out, nullptr, types.xcalc.iface());
    EXPECT_EQ(out, nullptr);
    EXPECT_TRUE(lifeLines(log, "LIFE: Proxy::~").empty());
    releaseI(proxy);
    EXPECT_EQ(lifeLines(log, "LIFE: Proxy::~"), (std::vector<std::string>{"LIFE: Proxy::~Proxy() -> " + addr(proxy)}));
    EXPECT_EQ(obj->count(), 1);
    releaseI(obj);
}

TEST_F(MappingTest, PlainArgumentsReachTheObjectByTheCallersPointersBothWays) {
    struct Direction {
        const char* name;
        bool objectInPurpose;
    } directions[] = {{"object in uno:test", true}, {"object in uno", false}};
    for (const Direction& d : directions) {
        SCOPED_TRACE(d.name);
        BinaryObject* obj = BinaryObject::create(types.xcalc.iface());
        void* seenArgs[2] = {};
        void* seenReturn = nullptr;
        obj->on("add", [&](BinaryObject&, const typelib_TypeDescription*, void* ret, void** args, uno_Any**) {
            seenArgs[0] = args[0];
            seenArgs[1] = args[1];
            seenReturn = ret;
            *static_cast<sal_Int32*>(ret) = *static_cast<sal_Int32*>(args[0]) + *static_cast<sal_Int32*>(args[1]);
        });
        obj->on("describe", [&](BinaryObject&, const typelib_TypeDescription*, void* ret, void** args, uno_Any**) {
            seenArgs[0] = args[0];
            seenReturn = ret;
            rtl::OUString text = u"n=" + rtl::OUString::number(*static_cast<sal_Int32*>(args[0]));
            rtl_uString_acquire(text.pData);
            *static_cast<rtl_uString**>(ret) = text.pData;
        });
        uno_Environment* objEnv = d.objectInPurpose ? purpose : plain;
        uno_Environment* callerEnv = d.objectInPurpose ? plain : purpose;
        void* proxy = map(objEnv, callerEnv, obj);
        harness->trace().clear();
        obj->clearCalls();  // the identifier's query

        sal_Int32 a = 2, b = 40, sum = 0;
        void* args[2] = {&a, &b};
        uno_Any exc;
        struct Ctx {
            MappingTest* self;
            void* proxy;
            void** args;
            sal_Int32* sum;
            uno_Any* exc;
            uno_Any* result;
        } ctx{this, proxy, args, &sum, &exc, nullptr};
        // The caller runs in its own environment.
        uno_Environment_invoke(callerEnv, [](va_list* p) {
            auto* c = va_arg(*p, Ctx*);
            c->result = c->self->call(c->proxy, u"add", c->sum, c->args, c->exc);
        }, &ctx);
        EXPECT_EQ(ctx.result, nullptr);
        EXPECT_EQ(sum, 42);
        EXPECT_EQ(seenArgs[0], &a);
        EXPECT_EQ(seenArgs[1], &b);
        EXPECT_EQ(seenReturn, &sum);
        EXPECT_EQ(obj->callNames(), (std::vector<std::string>{"add"}));
        EXPECT_EQ(obj->calls().front().environment, d.objectInPurpose ? purpose : nullptr);
        EXPECT_EQ(harness->trace().whats(),
                  (d.objectInPurpose ? std::vector<std::string>{"callInto"}
                                     : std::vector<std::string>{"callInto", "callOut"}));

        rtl_uString* text = nullptr;
        sal_Int32 n = 7;
        void* dargs[1] = {&n};
        EXPECT_EQ(call(proxy, u"describe", &text, dargs, &exc), nullptr);
        EXPECT_EQ(seenArgs[0], &n);
        EXPECT_EQ(seenReturn, &text);
        EXPECT_EQ(rtl::OUString(text, nullptr), u"n=7");
        releaseI(proxy);
        EXPECT_EQ(obj->count(), 1);
        releaseI(obj);
    }
}

TEST_F(MappingTest, InterfaceInParameterArrivesConvertedAndComesBackAsTheOriginal) {
    BinaryObject* obj = BinaryObject::create(types.xcalc.iface());
    BinaryObject* x = BinaryObject::create(types.xcalc.iface());
    void* seen = nullptr;
    obj->on("echo", [&](BinaryObject&, const typelib_TypeDescription*, void* ret, void** args, uno_Any**) {
        seen = *static_cast<void**>(args[0]);
        acquireI(seen);
        *static_cast<void**>(ret) = seen;
    });
    void* proxy = map(purpose, plain, obj);
    void* arg = x;
    void* result = nullptr;
    void* args[1] = {&arg};
    uno_Any exc;
    LogCapture log("cppu.tarven");
    probes.events.clear();
    EXPECT_EQ(call(proxy, u"echo", &result, args, &exc), nullptr);
    ASSERT_NE(seen, nullptr);
    EXPECT_NE(seen, static_cast<void*>(x));        // a proxy of x inside "uno:test"
    EXPECT_EQ(result, static_cast<void*>(x));      // mapped there and back: x itself
    EXPECT_EQ(arg, static_cast<void*>(x));         // the caller's value is untouched
    EXPECT_EQ(lifeLines(log, "LIFE: Proxy"),
              (std::vector<std::string>{"LIFE: Proxy::Proxy(<>) -> " + addr(seen), "LIFE: Proxy::~Proxy() -> " + addr(seen)}));
    // The inner copy went inside the object environment.
    std::vector<uno_Environment*> releaseEnvs;
    for (auto& e : probes.events)
        if (e.proxy == seen && e.member == "release" && e.pre) releaseEnvs.push_back(e.current);
    EXPECT_EQ(releaseEnvs, (std::vector<uno_Environment*>{purpose, purpose}));
    EXPECT_EQ(x->count(), 2);  // the test's and the returned one
    releaseI(result);
    releaseI(proxy);
    EXPECT_EQ(x->count(), 1);
    EXPECT_EQ(obj->count(), 1);
    releaseI(x);
    releaseI(obj);
}

TEST_F(MappingTest, InOutStructWithAnInterfaceOnSuccessAndOnException) {
    for (bool fail : {false, true}) {
        SCOPED_TRACE(fail ? "exception" : "success");
        BinaryObject* obj = BinaryObject::create(types.xcalc.iface());
        BinaryObject* y = BinaryObject::create(types.xcalc.iface());
        BinaryObject* z = BinaryObject::create(types.xcalc.iface());
        void* innerSeen = nullptr;
        obj->on("swapHolder", [&](BinaryObject& self, const typelib_TypeDescription*, void*, void** args,
                                  uno_Any** ppExc) {
            auto* h = static_cast<Holder*>(args[0]);
            innerSeen = h->obj;
            if (fail) {
                raiseException(ppExc, typelib_static_type_getException(), "swap refused", &self);
                return;
            }
            releaseI(h->obj);
            acquireI(y);
            h->obj = y;
            h->count += 1;
        });
        void* proxy = map(purpose, plain, obj);
        acquireI(z);
        Holder h{z, 1};
        void* args[1] = {&h};
        uno_Any exc;
        uno_Any* pExc = call(proxy, u"swapHolder", nullptr, args, &exc);
        EXPECT_NE(innerSeen, static_cast<void*>(z));  // converted on the way in
        if (fail) {
            ASSERT_EQ(pExc, &exc);
            EXPECT_EQ(exceptionMessage(exc), u"swap refused");
            EXPECT_EQ(exceptionContext(exc), proxy);
            // The inner exception's hold on the object was dropped inside "uno:test".
            ASSERT_FALSE(obj->releaseEnvironments().empty());
            EXPECT_EQ(obj->releaseEnvironments().back(), purpose);
            uno_any_destruct(&exc, nullptr);
            EXPECT_EQ(h.obj, static_cast<void*>(z));
            EXPECT_EQ(h.count, 1);
            EXPECT_EQ(z->count(), 2);
        } else {
            EXPECT_EQ(pExc, nullptr);
            EXPECT_NE(h.obj, static_cast<void*>(y));  // a proxy of y for the caller
            EXPECT_NE(h.obj, nullptr);
            EXPECT_EQ(h.count, 2);
            EXPECT_EQ(z->count(), 1);  // the old value was destroyed
        }
        uno_type_destructData(&h, TypeRef(types.holder).get(), nullptr);
        releaseI(proxy);
        EXPECT_EQ(obj->count(), 1);
        EXPECT_EQ(y->count(), 1);
        EXPECT_EQ(z->count(), 1);
        for (BinaryObject* o : {obj, y, z}) releaseI(o);
    }
}

TEST_F(MappingTest, PureOutParametersAreFilledWithoutTouchingTheCallersOldValues) {
    BinaryObject* obj = BinaryObject::create(types.xcalc.iface());
    BinaryObject* y = BinaryObject::create(types.xcalc.iface());
    void* seenLong = nullptr;
    obj->on("produce", [&](BinaryObject&, const typelib_TypeDescription*, void*, void** args, uno_Any**) {
        acquireI(y);
        *static_cast<void**>(args[0]) = y;
        seenLong = args[1];
        *static_cast<sal_Int32*>(args[1]) = 7;
    });
    void* proxy = map(purpose, plain, obj);
    void* out = reinterpret_cast<void*>(std::uintptr_t(1));  // never looked at
    sal_Int32 n = -1;
    void* args[2] = {&out, &n};
    uno_Any exc;
    EXPECT_EQ(call(proxy, u"produce", nullptr, args, &exc), nullptr);
    EXPECT_EQ(seenLong, &n);
    EXPECT_EQ(n, 7);
    ASSERT_NE(out, nullptr);
    EXPECT_NE(out, static_cast<void*>(y));
    EXPECT_EQ(y->count(), 3);  // the test's, the proxy's, the registry's
    releaseI(out);
    EXPECT_EQ(y->count(), 1);
    releaseI(proxy);
    releaseI(y);
    releaseI(obj);
}

TEST_F(MappingTest, ExceptionsComeBackConvertedWithTheCalledObjectAsContext) {
    BinaryObject* obj = BinaryObject::create(types.xcalc.iface());
    obj->on("fail", [&](BinaryObject& self, const typelib_TypeDescription*, void*, void** args, uno_Any** ppExc) {
        raiseException(ppExc, typelib_static_type_getRuntimeException(),
                       rtl::OUString(*static_cast<rtl_uString**>(args[0])), &self);
    });
    void* proxy = map(purpose, plain, obj);
    rtl::OUString message(u"boom");
    void* args[1] = {&message.pData};
    uno_Any exc;
    uno_Any* pExc = call(proxy, u"fail", nullptr, args, &exc);
    ASSERT_EQ(pExc, &exc);
    EXPECT_EQ(rtl::OUString(exc.pType->pTypeName), u"com.qam.vexo.uno.RuntimeException");
    EXPECT_EQ(exceptionMessage(exc), u"boom");
    EXPECT_EQ(exceptionContext(exc), proxy);  // the caller's view of the called object
    // The inner exception's hold on the object was dropped inside "uno:test".
    ASSERT_FALSE(obj->releaseEnvironments().empty());
    EXPECT_EQ(obj->releaseEnvironments().back(), purpose);
    uno_any_destruct(&exc, nullptr);
    releaseI(proxy);
    EXPECT_EQ(obj->count(), 1);
    releaseI(obj);
}

TEST_F(MappingTest, AttributesGetWithAReturnTypeAndSetWithOneInParameter) {
    BinaryObject* obj = BinaryObject::create(types.xcalc.iface());
    BinaryObject* y = BinaryObject::create(types.xcalc.iface());
    sal_Int32 value = 5;
    void* peer = nullptr;
    obj->on("Value", [&](BinaryObject&, const typelib_TypeDescription*, void* ret, void** args, uno_Any**) {
        if (ret != nullptr)
            *static_cast<sal_Int32*>(ret) = value;
        else
            value = *static_cast<sal_Int32*>(args[0]);
    });
    obj->on("Peer", [&](BinaryObject&, const typelib_TypeDescription*, void* ret, void** args, uno_Any**) {
        if (ret != nullptr) {
            acquireI(peer);
            *static_cast<void**>(ret) = peer;
            return;
        }
        if (peer != nullptr) releaseI(peer);
        peer = *static_cast<void**>(args[0]);
        acquireI(peer);
    });
    void* proxy = map(purpose, plain, obj);
    uno_Any exc;
    probes.events.clear();
    sal_Int32 got = 0;
    EXPECT_EQ(call(proxy, u"Value", &got, nullptr, &exc), nullptr);
    EXPECT_EQ(got, 5);
    sal_Int32 put = 9;
    void* setArgs[1] = {&put};
    EXPECT_EQ(call(proxy, u"Value", nullptr, setArgs, &exc), nullptr);
    EXPECT_EQ(value, 9);
    ASSERT_EQ(probes.events.size(), 4u);
    EXPECT_TRUE(probes.events[0].hasReturnType);
    EXPECT_EQ(probes.events[0].returnType, "long");
    EXPECT_EQ(probes.events[0].nParams, 0);
    EXPECT_FALSE(probes.events[2].hasReturnType);
    EXPECT_EQ(probes.events[2].nParams, 1);

    void* yArg = y;
    void* peerArgs[1] = {&yArg};
    EXPECT_EQ(call(proxy, u"Peer", nullptr, peerArgs, &exc), nullptr);
    EXPECT_NE(peer, static_cast<void*>(y));  // a proxy of y inside "uno:test"
    void* back = nullptr;
    EXPECT_EQ(call(proxy, u"Peer", &back, nullptr, &exc), nullptr);
    EXPECT_EQ(back, static_cast<void*>(y));
    releaseI(back);
    releaseI(peer);
    releaseI(proxy);
    EXPECT_EQ(y->count(), 1);
    releaseI(y);
    releaseI(obj);
}

TEST_F(MappingTest, TheProbeSeesEveryAcquireReleaseAndDispatchBeforeAndAfter) {
    BinaryObject* obj = BinaryObject::create(types.xcalc.iface());
    obj->on("add", [](BinaryObject&, const typelib_TypeDescription*, void* ret, void**, uno_Any**) {
        *static_cast<sal_Int32*>(ret) = 0;
    });
    void* proxy = map(purpose, plain, obj);
    struct Case {
        const char* name;
        std::function<void()> action;
        std::vector<std::string> expected;
    } cases[] = {
        {"acquire", [&] { acquireI(proxy); }, {"+acquire", "-acquire"}},
        {"release", [&] { releaseI(proxy); }, {"+release", "-release"}},
        {"dispatch",
         [&] {
             sal_Int32 a = 1, b = 2, r = 0;
             void* args[2] = {&a, &b};
             uno_Any exc;
             call(proxy, u"add", &r, args, &exc);
         },
         {"+add", "-add"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        probes.events.clear();
        c.action();
        EXPECT_EQ(probes.sequence(), c.expected);
        for (auto& e : probes.events) EXPECT_EQ(e.proxy, proxy);
        for (auto& e : probes.events) EXPECT_EQ(e.current, nullptr);  // on the caller's side
    }
    probes.events.clear();
    releaseI(proxy);  // the last: revoked and freed between the two probe calls
    EXPECT_EQ(probes.sequence(), (std::vector<std::string>{"+release", "-release"}));
    EXPECT_EQ(obj->count(), 1);
    releaseI(obj);
}

TEST_F(MappingTest, ReleasedToZeroAndAcquiredAgainBeforeTheRegistryFreesItRegistersAgain) {
    BinaryObject* obj = BinaryObject::create(types.xcalc.iface());
    void* proxy = map(purpose, plain, obj);
    uno_ExtEnvironment* ext = plain->pExtEnv;
    rtl_uString* oid = nullptr;
    ext->getObjectIdentifier(ext, &oid, proxy);
    ASSERT_NE(oid, nullptr);
    // A second registration stands for a lookup that found the proxy just as
    // its count reached 0.
    void* extra = proxy;
    ext->registerProxyInterface(ext, &extra, cppu::helper::tarven::Proxy_free, oid, types.xcalc.iface());
    EXPECT_EQ(extra, proxy);
    LogCapture log;
    releaseI(proxy);
    acquireI(proxy);
    releaseI(proxy);
    EXPECT_TRUE(log.lines().empty());
    ext->revokeInterface(ext, proxy);
    EXPECT_EQ(lifeLines(log, "LIFE: Proxy"), (std::vector<std::string>{"LIFE: Proxy::~Proxy() -> " + addr(proxy)}));
    EXPECT_TRUE(log.texts(SALQX_LOG_WARN).empty());
    rtl_uString_release(oid);
    EXPECT_EQ(obj->count(), 1);
    releaseI(obj);
}

// Provides a complete description of "test.uno.XLater" on demand.
void provideLater(void*, typelib_TypeDescription** ppRet, rtl_uString* name) {
    if (rtl::OUString(name) != u"test.uno.XLater") return;
    TypeDescr td = makeInterface(u"test.uno.XLater", {{u"ping", typelib_TypeClass_LONG, u"long"}});
    typelib_typedescription_acquire(td.get());
    *ppRet = td.get();
}

TEST_F(MappingTest, AnIncompleteTypeIsCompletedOrWarnedAbout) {
    typelib_typedescription_registerCallback(nullptr, provideLater);
    struct Case {
        const char16_t* name;
        std::vector<std::string> warnings;
    } cases[] = {{u"test.uno.XLater", {}}, {u"test.uno.XNever", {"### type is incomplete!"}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(rtl::OUString(std::u16string_view(c.name)).toUtf8().getStr());
        TypeDescr incomplete;
        {
            typelib_TypeDescription* td = nullptr;
            typelib_typedescription_newIncomplete(&td, typelib_TypeClass_INTERFACE,
                                                  rtl::OUString(std::u16string_view(c.name)).pData);
            incomplete = TypeDescr(td);
        }
        BinaryObject* obj = BinaryObject::create(types.xcalc.iface());
        LogCapture log("legacy.osl");
        void* proxy = map(purpose, plain, obj, incomplete.iface());
        ASSERT_NE(proxy, nullptr);
        EXPECT_EQ(log.texts(SALQX_LOG_WARN), c.warnings);
        EXPECT_EQ(static_cast<cppu::helper::tarven::Proxy*>(unoI(proxy))->m_pTypeDescr->aBase.bComplete,
                  c.warnings.empty());
        releaseI(proxy);
        releaseI(obj);
    }
    typelib_typedescription_revokeCallback(nullptr, provideLater);
}

TEST_F(MappingTest, AnObjectWithoutIdentifierGetsAWarningAndNoProxy) {
    BinaryObject* obj = BinaryObject::create(types.xcalc.iface());
    obj->on("queryInterface", [](BinaryObject&, const typelib_TypeDescription*, void* ret, void**, uno_Any**) {
        uno_any_construct(static_cast<uno_Any*>(ret), nullptr, nullptr, nullptr);
    });
    LogCapture log;
    void* proxy = map(purpose, plain, obj);
    EXPECT_EQ(proxy, nullptr);
    EXPECT_EQ(log.texts(SALQX_LOG_WARN), (std::vector<std::string>{"OSL_ASSERT: pOId"}));
    EXPECT_EQ(log.lines()[1], (LogLine{"legacy.osl", SALQX_LOG_WARN, "OSL_ASSERT: pOId"}));
    EXPECT_TRUE(lifeLines(log, "LIFE: Proxy").empty());
    EXPECT_EQ(obj->count(), 1);
    releaseI(obj);
}

TEST_F(MappingTest, AProxyHoldsTheInterfaceTheObjectRegistryHandsBack) {
    BinaryObject* obj = BinaryObject::create(types.xcalc.iface());
    BinaryObject* held = BinaryObject::create(types.xcalc.iface());
    held->on("add", [](BinaryObject&, const typelib_TypeDescription*, void* ret, void**, uno_Any**) {
        *static_cast<sal_Int32*>(ret) = 99;
    });
    // Another interface already registered in "uno:test" under obj's identifier.
    uno_ExtEnvironment* ext = purpose->pExtEnv;
    rtl_uString* oid = nullptr;
    ext->getObjectIdentifier(ext, &oid, obj);
    ASSERT_NE(oid, nullptr);
    void* reg = held;
    ext->registerInterface(ext, &reg, oid, types.xcalc.iface());
    EXPECT_EQ(held->count(), 2);

    void* proxy = map(purpose, plain, obj);
    ASSERT_NE(proxy, nullptr);
    EXPECT_EQ(obj->count(), 1);   // its acquire was undone by the registry
    EXPECT_EQ(held->count(), 3);  // the test's, the registry's, the proxy's
    sal_Int32 a = 1, b = 1, r = 0;
    void* args[2] = {&a, &b};
    uno_Any exc;
    EXPECT_EQ(call(proxy, u"add", &r, args, &exc), nullptr);
    EXPECT_EQ(r, 99);
    releaseI(proxy);
    EXPECT_EQ(held->count(), 2);
    ext->revokeInterface(ext, held);
    EXPECT_EQ(held->count(), 1);
    rtl_uString_release(oid);
    releaseI(held);
    releaseI(obj);
}

TEST_F(MappingTest, WithoutAnInwardMappingInterfaceArgumentsFailTheCall) {
    int ctxA = 0, ctxB = 0;
    uno_Environment* envA = nullptr;
    uno_Environment* envB = nullptr;
    uno_getEnvironment(&envA, rtl::OUString(u"uno").pData, &ctxA);
    uno_getEnvironment(&envB, rtl::OUString(u"uno").pData, &ctxB);
    uno_Mapping* m = nullptr;
    cppu::helper::tarven::createMapping(&m, envA, envB);
    BinaryObject* obj = BinaryObject::create(types.xcalc.iface());
    BinaryObject* x = BinaryObject::create(types.xcalc.iface());
    obj->on("add", [](BinaryObject&, const typelib_TypeDescription*, void* ret, void** args, uno_Any**) {
        *static_cast<sal_Int32*>(ret) = *static_cast<sal_Int32*>(args[0]) + *static_cast<sal_Int32*>(args[1]);
    });
    void* proxy = nullptr;
    m->mapInterface(m, &proxy, obj, types.xcalc.iface());
    ASSERT_NE(proxy, nullptr);
    EXPECT_FALSE(static_cast<cppu::helper::tarven::Proxy*>(unoI(proxy))->m_from_to.is());

    sal_Int32 a = 3, b = 4, r = 0;
    void* addArgs[2] = {&a, &b};
    uno_Any exc;
    EXPECT_EQ(call(proxy, u"add", &r, addArgs, &exc), nullptr);
    EXPECT_EQ(r, 7);

    void* arg = x;
    void* result = nullptr;
    void* args[1] = {&arg};
    uno_Any* pExc = call(proxy, u"echo", &result, args, &exc);
    ASSERT_EQ(pExc, &exc);
    EXPECT_EQ(rtl::OUString(exc.pType->pTypeName), u"com.qam.vexo.uno.RuntimeException");
    EXPECT_EQ(exceptionMessage(exc), u"Proxy::dispatch: no mapping from uno to uno");
    EXPECT_EQ(exceptionContext(exc), nullptr);
    uno_any_destruct(&exc, nullptr);
    EXPECT_EQ(obj->callNames(), (std::vector<std::string>{"queryInterface", "add"}));
    EXPECT_EQ(result, nullptr);
    EXPECT_EQ(x->count(), 1);
    releaseI(proxy);
    m->release(m);
    releaseI(x);
    releaseI(obj);
    envA->release(envA);
    envB->release(envB);
}

TEST(RelatesToInterface, TellsTypesThatCanHoldInterfacesWithoutLoopingOnSelfReference) {
    const TestTypes& types = TestTypes::get();
    struct Case {
        const char16_t* name;
        bool expected;
    } cases[] = {
        {u"long", false},
        {u"string", false},
        {u"type", false},
        {u"any", true},
        {u"com.qam.vexo.uno.XInterface", true},
        {u"test.uno.XCalc", true},
        {u"test.uno.Holder", true},
        {u"test.uno.Node", false},  // holds a sequence of itself, and no interface
        {u"test.uno.Wrapped", true},
        {u"[]long", false},
        {u"[][]any", true},
        {u"[]test.uno.Node", false},
        {u"com.qam.vexo.uno.Exception", true},
        {u"com.qam.vexo.uno.RuntimeException", true},  // through its base
    };
    (void)types;
    for (const Case& c : cases) {
        SCOPED_TRACE(rtl::OUString(std::u16string_view(c.name)).toUtf8().getStr());
        TypeDescr td = TypeDescr::byName(c.name);
        ASSERT_NE(td.get(), nullptr);
        EXPECT_EQ(cppu::helper::tarven::relatesToInterface(td.get()), c.expected);
    }
}

} // namespace

namespace {

TEST(MappingThreads, CallsFromTwoThreadsEnterTheEnvironmentOneAtATime) {
    std::unique_ptr<PurposeHarness> harness(tarventest::makeHarness(nullptr, /*serialise*/ true));
    const TestTypes& types = TestTypes::get();
    BinaryObject* obj = BinaryObject::create(types.xcalc.iface());
    std::atomic<int> inside{0}, most{0};
    obj->on("add", [&](BinaryObject&, const typelib_TypeDescription*, void* ret, void** args, uno_Any**) {
        const int now = ++inside;
        int seen = most.load();
        while (now > seen && !most.compare_exchange_weak(seen, now)) {}
        std::this_thread::yield();
        *static_cast<sal_Int32*>(ret) = *static_cast<sal_Int32*>(args[0]) + *static_cast<sal_Int32*>(args[1]);
        --inside;
    });
    void* proxy = nullptr;
    {
        zel::uno::Mapping m(harness->purpose(), harness->plain());
        proxy = m.mapInterface(obj, types.xcalc.iface());
    }
    ASSERT_NE(proxy, nullptr);
    obj->clearCalls();
    harness->trace().clear();
    constexpr int kCalls = 200;
    std::atomic<int> wrong{0};
    auto work = [&](sal_Int32 base) {
        for (int i = 0; i < kCalls; ++i) {
            sal_Int32 a = base, b = i, r = 0;
            void* args[2] = {&a, &b};
            uno_Any exc;
            uno_Any* pExc = &exc;
            auto* p = static_cast<uno_Interface*>(proxy);
            p->pDispatcher(p, types.xcalc.member(u"add"), &r, args, &pExc);
            if (pExc != nullptr || r != base + i) ++wrong;
        }
    };
    std::thread t1(work, 1000), t2(work, 2000);
    t1.join();
    t2.join();
    EXPECT_EQ(wrong.load(), 0);
    EXPECT_EQ(most.load(), 1);
    const auto calls = obj->calls();
    ASSERT_EQ(calls.size(), std::size_t(2 * kCalls));
    for (const ObjectCall& c : calls) EXPECT_EQ(c.environment, harness->purpose());
    const auto events = [&] {
        std::lock_guard g(harness->trace().mutex);
        return harness->trace().events;
    }();
    ASSERT_EQ(events.size(), std::size_t(2 * kCalls));
    for (const EnterableEvent& e : events) {
        EXPECT_EQ(e.what, "callInto");
        EXPECT_EQ(e.depth, 0);  // each thread enters from outside
    }
    static_cast<uno_Interface*>(proxy)->release(static_cast<uno_Interface*>(proxy));
    EXPECT_EQ(obj->count(), 1);
    obj->release(obj);
}

} // namespace

namespace {

TEST(MappingDeathTest, DispatchingSomethingOtherThanAMemberStopsTheProcess) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    setenv("QX_LOG", "warn:legacy.osl", 1);  // read afresh by the child that dies
    EXPECT_DEATH(
        {
            std::unique_ptr<PurposeHarness> harness(tarventest::makeHarness());
            const TestTypes& types = TestTypes::get();
            BinaryObject* obj = BinaryObject::create(types.xcalc.iface());
            zel::uno::Mapping m(harness->purpose(), harness->plain());
            auto* proxy = static_cast<uno_Interface*>(m.mapInterface(obj, types.xcalc.iface()));
            uno_Any exc;
            uno_Any* pExc = &exc;
            proxy->pDispatcher(proxy, types.holder.get(), nullptr, nullptr, &pExc);
        },
        "warn:legacy.osl: ### illegal member typeclass!");
    unsetenv("QX_LOG");
}

} // namespace

namespace {

class MappingMore : public ::testing::Test {
protected:
    std::unique_ptr<PurposeHarness> harness{tarventest::makeHarness()};
    const TestTypes& types = TestTypes::get();
};

TEST_F(MappingMore, AnAnyHoldingAnInterfaceGoesInConvertedAndComesBackAsTheOriginal) {
    BinaryObject* obj = BinaryObject::create(types.xcalc.iface());
    BinaryObject* x = BinaryObject::create(types.xcalc.iface());
    void* seen = nullptr;
    obj->on("roundTrip", [&](BinaryObject&, const typelib_TypeDescription*, void* ret, void** args, uno_Any**) {
        auto* in = static_cast<uno_Any*>(args[0]);
        seen = *static_cast<void**>(in->pData);
        uno_type_copyData(ret, in, typelib_static_type_getByTypeClass(typelib_TypeClass_ANY), nullptr);
    });
    zel::uno::Mapping m(harness->purpose(), harness->plain());
    void* proxy = m.mapInterface(obj, types.xcalc.iface());
    uno_Any in;
    void* xp = x;
    uno_any_construct(&in, &xp, typelib_static_type_getXInterface(), nullptr);
    uno_Any out;
    uno_Any exc;
    uno_Any* pExc = &exc;
    void* args[1] = {&in};
    auto* p = static_cast<uno_Interface*>(proxy);
    p->pDispatcher(p, types.xcalc.member(u"roundTrip"), &out, args, &pExc);
    EXPECT_EQ(pExc, nullptr);
    EXPECT_NE(seen, static_cast<void*>(x));
    EXPECT_EQ(rtl::OUString(out.pType->pTypeName), u"com.qam.vexo.uno.XInterface");
    EXPECT_EQ(*static_cast<void**>(out.pData), static_cast<void*>(x));
    uno_any_destruct(&out, nullptr);
    uno_any_destruct(&in, nullptr);
    p->release(p);
    EXPECT_EQ(x->count(), 1);
    EXPECT_EQ(obj->count(), 1);
    x->release(x);
    obj->release(obj);
}

TEST_F(MappingMore, AMappingReleasedToZeroAndAcquiredBeforeItIsFreedRegistersAgain) {
    LogCapture log("cppu.tarven");
    uno_Mapping* m = nullptr;
    cppu::helper::tarven::createMapping(&m, harness->purpose(), harness->plain());
    uno_Mapping* extra = m;  // a second registration stands for a lookup racing the release
    uno_registerMapping(&extra, [](uno_Mapping*) { FAIL() << "freed through the wrong function"; },
                        harness->purpose(), harness->plain(), nullptr);
    EXPECT_EQ(extra, m);
    m->release(m);  // to 0: revoked once, still registered once
    EXPECT_EQ(zel::uno::Mapping(harness->purpose(), harness->plain()).get(), m);  // acquired from 0: registered again
    EXPECT_EQ(log.texts(SALQX_LOG_INFO).size(), 1u);  // not freed yet
    uno_revokeMapping(m);
    EXPECT_EQ(log.texts(SALQX_LOG_INFO).size(), 2u);
    EXPECT_TRUE(log.texts(SALQX_LOG_INFO)[1].starts_with("LIFE: Mapping:~Mapping() -> "));
}

} // namespace

namespace {

TEST_F(MappingMore, AnInterfaceParameterOfAnUndescribedTypeIsStillMapped) {
    // "test.uno.XGhost" is named by a parameter but never described.
    TypeDescr iface = makeInterface(
        u"test.uno.XHaunted",
        {{u"haunt", typelib_TypeClass_VOID, u"void", {ParamSpec{typelib_TypeClass_INTERFACE, u"test.uno.XGhost", u"g"}}}});
    BinaryObject* obj = BinaryObject::create(iface.iface());
    BinaryObject* ghost = BinaryObject::create(types.xcalc.iface());
    void* seen = nullptr;
    obj->on("haunt", [&](BinaryObject&, const typelib_TypeDescription*, void*, void** args, uno_Any**) {
        seen = *static_cast<void**>(args[0]);
    });
    zel::uno::Mapping m(harness->purpose(), harness->plain());
    auto* p = static_cast<uno_Interface*>(m.mapInterface(obj, iface.iface()));
    ASSERT_NE(p, nullptr);
    void* arg = ghost;
    void* args[1] = {&arg};
    uno_Any exc;
    uno_Any* pExc = &exc;
    p->pDispatcher(p, iface.member(u"haunt"), nullptr, args, &pExc);
    EXPECT_EQ(pExc, nullptr);
    EXPECT_NE(seen, nullptr);
    EXPECT_NE(seen, static_cast<void*>(ghost));  // a proxy made for it as an XInterface
    p->release(p);
    EXPECT_EQ(ghost->count(), 1);
    ghost->release(ghost);
    obj->release(obj);
}

} // namespace
