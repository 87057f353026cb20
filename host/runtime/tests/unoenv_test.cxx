// The C level's values, environments, interface registry, invocation and
// mapping registry.

#include <testsupport/uno/BinaryObject.hxx>
#include <testsupport/uno/PurposeHarness.hxx>
#include <testsupport/uno/TestTypes.hxx>

#include <uno/mapping.hxx>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using namespace testsupport::uno;

struct Holder {
    void* obj;
    sal_Int32 count;
};

void releaseI(void* p) { static_cast<uno_Interface*>(p)->release(static_cast<uno_Interface*>(p)); }

// A mapping that "maps" every interface to one stand-in object and counts.
struct SwapMapping : uno_Mapping {
    BinaryObject* standIn;
    int mapped = 0;
    explicit SwapMapping(BinaryObject* s) : standIn(s) {
        acquire = [](uno_Mapping*) {};
        release = [](uno_Mapping*) {};
        mapInterface = [](uno_Mapping* m, void** out, void* in, typelib_InterfaceTypeDescription*) {
            auto* self = static_cast<SwapMapping*>(m);
            if (*out != nullptr) releaseI(*out);
            *out = nullptr;
            if (in == nullptr) return;
            ++self->mapped;
            self->standIn->acquire(self->standIn);
            *out = self->standIn;
        };
    }
};

TEST(UnoData, ValuesAreCopiedComparedAndDestroyedWithTheirInterfaces) {
    const TestTypes& t = TestTypes::get();
    BinaryObject* obj = BinaryObject::create(t.xcalc.iface());
    TypeRef holderType(t.holder);
    Holder h{obj, 3};
    Holder copy;
    uno_type_copyData(&copy, &h, holderType.get(), nullptr);
    EXPECT_EQ(copy.obj, static_cast<void*>(obj));
    EXPECT_EQ(obj->count(), 2);
    EXPECT_TRUE(uno_type_equalData(&copy, &h, holderType.get()));
    copy.count = 4;
    EXPECT_FALSE(uno_type_equalData(&copy, &h, holderType.get()));
    uno_type_destructData(&copy, holderType.get(), nullptr);  // released through its own member
    EXPECT_EQ(obj->count(), 1);

    // Anys: small values inline, larger ones on the heap, interfaces acquired.
    struct Case {
        const char* name;
        TypeRef type;
        void* value;
    };
    sal_Int32 n = 42;
    rtl::OUString s(u"text");
    void* iface = obj;
    Case cases[] = {{"long", TypeRef(typelib_TypeClass_LONG, u"long"), &n},
                    {"string", TypeRef(typelib_TypeClass_STRING, u"string"), &s.pData},
                    {"struct", TypeRef(t.holder), &h},
                    {"interface", TypeRef(typelib_TypeClass_INTERFACE, u"com.qam.vexo.uno.XInterface"), &iface}};
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        uno_Any a, b;
        uno_any_construct(&a, c.value, c.type.get(), nullptr);
        uno_type_copyData(&b, &a, typelib_static_type_getByTypeClass(typelib_TypeClass_ANY), nullptr);
        EXPECT_TRUE(uno_type_equalData(a.pData, c.value, c.type.get()));
        EXPECT_TRUE(uno_type_equalData(&a, &b, typelib_static_type_getByTypeClass(typelib_TypeClass_ANY)));
        uno_any_destruct(&a, nullptr);
        uno_any_destruct(&b, nullptr);
        EXPECT_EQ(obj->count(), 1);
    }
    releaseI(obj);
}

TEST(UnoData, ConversionMapsEveryInterfaceWhereverItSits) {
    const TestTypes& t = TestTypes::get();
    BinaryObject* obj = BinaryObject::create(t.xcalc.iface());
    BinaryObject* standIn = BinaryObject::create(t.xcalc.iface());
    SwapMapping mapping(standIn);

    // A struct holding a sequence of structs holding interfaces.
    Holder items[2] = {{obj, 1}, {nullptr, 2}};
    uno_Sequence* seq = nullptr;
    TypeRef seqType(typelib_TypeClass_SEQUENCE, u"[]test.uno.Holder");
    uno_type_sequence_construct(&seq, seqType.get(), items, 2, nullptr);
    EXPECT_EQ(obj->count(), 2);
    TypeRef wrappedType(t.wrapped);
    uno_Sequence* converted = nullptr;
    uno_type_copyAndConvertData(&converted, &seq, wrappedType.get(), &mapping);
    EXPECT_NE(converted, seq);  // interfaces inside: a new sequence
    auto* out = reinterpret_cast<Holder*>(converted->elements);
    EXPECT_EQ(out[0].obj, static_cast<void*>(standIn));
    EXPECT_EQ(out[1].obj, nullptr);
    EXPECT_EQ(out[1].count, 2);
    EXPECT_EQ(mapping.mapped, 1);

    // An exception in an any, Context mapped.
    uno_Any exc;
    uno_Any* pExc = &exc;
    raiseException(&pExc, typelib_static_type_getRuntimeException(), "bad", obj);
    uno_Any convertedExc;
    uno_type_any_constructAndConvert(&convertedExc, exc.pData, exc.pType, &mapping);
    EXPECT_EQ(exceptionMessage(convertedExc), u"bad");
    EXPECT_EQ(exceptionContext(convertedExc), static_cast<void*>(standIn));
    EXPECT_EQ(mapping.mapped, 2);

    uno_any_destruct(&convertedExc, nullptr);
    uno_any_destruct(&exc, nullptr);
    uno_type_destructData(&converted, wrappedType.get(), nullptr);
    uno_type_destructData(&seq, wrappedType.get(), nullptr);
    EXPECT_EQ(obj->count(), 1);
    EXPECT_EQ(standIn->count(), 1);
    releaseI(obj);
    releaseI(standIn);
}

uno_Environment* environment(const char16_t* name, void* context) {
    uno_Environment* env = nullptr;
    uno_getEnvironment(&env, rtl::OUString(std::u16string_view(name)).pData, context);
    return env;
}

TEST(UnoEnvironment, OneLivingEnvironmentPerNameAndContext) {
    int c1 = 0, c2 = 0;
    uno_Environment* a = environment(u"uno", &c1);
    uno_Environment* b = environment(u"uno", &c1);
    uno_Environment* c = environment(u"uno", &c2);
    EXPECT_EQ(a, b);
    EXPECT_NE(a, c);
    EXPECT_EQ(uno_Environment_getHardCount(a), 2);
    EXPECT_EQ(a->pExtEnv, reinterpret_cast<uno_ExtEnvironment*>(a));
    a->acquireWeak(a);
    b->release(b);
    a->release(a);
    uno_Environment* none = nullptr;
    a->harden(&none, a);  // dead: no hard reference any more
    EXPECT_EQ(none, nullptr);
    uno_Environment* fresh = environment(u"uno", &c1);
    EXPECT_EQ(uno_Environment_getHardCount(fresh), 1);
    a->releaseWeak(a);
    fresh->release(fresh);
    c->release(c);
}

int g_proxyFrees = 0;

TEST(UnoEnvironment, TheRegistryCountsRegistrationsAndHandsBackTheHeldInterface) {
    const TestTypes& t = TestTypes::get();
    int context = 0;
    uno_Environment* env = environment(u"uno", &context);
    uno_ExtEnvironment* ext = env->pExtEnv;
    std::atomic<int> deaths{0};
    BinaryObject* a = BinaryObject::create(t.xcalc2.iface(), &deaths);
    BinaryObject* b = BinaryObject::create(t.xcalc2.iface(), &deaths);
    rtl::OUString oid(u"object-1");
    auto* type = t.xcalc2.iface();

    void* p = a;
    ext->registerInterface(ext, &p, oid.pData, type);
    EXPECT_EQ(a->count(), 2);  // the registry's reference
    ext->registerInterface(ext, &p, oid.pData, type);
    EXPECT_EQ(a->count(), 2);  // counted, not acquired again
    void* q = b;
    ext->registerInterface(ext, &q, oid.pData, type);  // a holds the key: b gives way
    EXPECT_EQ(q, static_cast<void*>(a));
    EXPECT_EQ(a->count(), 3);
    EXPECT_EQ(deaths.load(), 1);  // the caller's b was released

    // A lookup for a base type accepts the derived entry.
    void* found = nullptr;
    ext->getRegisteredInterface(ext, &found, oid.pData, t.xcalc.iface());
    EXPECT_EQ(found, static_cast<void*>(a));
    ext->getRegisteredInterface(ext, &found, rtl::OUString(u"object-2").pData, t.xcalc.iface());
    EXPECT_EQ(found, nullptr);  // the previous value released first
    EXPECT_EQ(a->count(), 3);

    // Identifiers: registered, computed from the XInterface answer, or none.
    BinaryObject* c = BinaryObject::create(t.xcalc.iface());
    BinaryObject* mute = BinaryObject::create(t.xcalc.iface());
    mute->on("queryInterface", [](BinaryObject&, const typelib_TypeDescription*, void* ret, void**, uno_Any**) {
        uno_any_construct(static_cast<uno_Any*>(ret), nullptr, nullptr, nullptr);
    });
    rtl_uString* id = nullptr;
    ext->getObjectIdentifier(ext, &id, a);
    EXPECT_EQ(rtl::OUString(id), u"object-1");
    ext->getObjectIdentifier(ext, &id, c);
    ASSERT_NE(id, nullptr);
    rtl::OUString computed(id);
    EXPECT_TRUE(computed.endsWith(u"uno[" + rtl::OUString::fromUtf8(
                                               [&] { char buf[32]; std::snprintf(buf, sizeof buf, "%p", static_cast<void*>(&context)); return std::string(buf); }()) + u"]"));
    EXPECT_EQ(c->count(), 1);  // the queried reference went again
    ext->getObjectIdentifier(ext, &id, mute);
    EXPECT_EQ(id, nullptr);

    // Three registrations: the third revocation releases the registry's reference.
    ext->revokeInterface(ext, a);
    ext->revokeInterface(ext, a);
    EXPECT_EQ(a->count(), 3);
    ext->revokeInterface(ext, a);
    EXPECT_EQ(a->count(), 2);
    releaseI(q);
    EXPECT_EQ(a->count(), 1);

    // What is still registered when the environment dies is dropped.
    void* plainEntry = c;
    ext->registerInterface(ext, &plainEntry, rtl::OUString(u"object-3").pData, t.xcalc.iface());
    void* proxyEntry = mute;
    g_proxyFrees = 0;
    ext->registerProxyInterface(
        ext, &proxyEntry, [](uno_ExtEnvironment*, void* p) { ++g_proxyFrees; releaseI(p); },
        rtl::OUString(u"object-4").pData, t.xcalc.iface());
    EXPECT_EQ(mute->count(), 1);  // a proxy registration does not acquire
    mute->acquire(mute);          // the test's own, kept past the free
    EXPECT_EQ(c->count(), 2);
    env->release(env);
    EXPECT_EQ(c->count(), 1);
    EXPECT_EQ(g_proxyFrees, 1);
    EXPECT_EQ(mute->count(), 1);
    for (BinaryObject* o : {a, c, mute}) releaseI(o);
}

TEST(UnoEnvironment, InvokeEntersThroughTheEnterableOnlyWhenNeeded) {
    int context = 0;
    uno_Environment* purpose = environment(u"uno:probe", &context);
    uno_Environment* plain = environment(u"uno", &context);
    auto trace = std::make_shared<Trace>();
    TestEnterable enterable(trace);
    purpose->pReserved = static_cast<cppu::Enterable*>(&enterable);

    static std::vector<uno_Environment*> seen;
    seen.clear();
    static uno_Environment* s_plain;
    static uno_Environment* s_purpose;
    s_plain = plain;
    s_purpose = purpose;
    auto record = [](va_list* p) { seen.push_back(uno_Environment_getCurrent()); (void)va_arg(*p, int); };
    auto nested = [](va_list*) {
        seen.push_back(uno_Environment_getCurrent());
        uno_Environment_invoke(s_purpose, [](va_list* p) { seen.push_back(uno_Environment_getCurrent()); (void)va_arg(*p, int); }, 1);
        uno_Environment_invoke(s_plain, [](va_list* p) { seen.push_back(uno_Environment_getCurrent()); (void)va_arg(*p, int); }, 2);
    };
    uno_Environment_invoke(plain, record, 0);  // already there: direct
    EXPECT_TRUE(trace->whats().empty());
    uno_Environment_invoke(purpose, nested, 0);
    EXPECT_EQ(seen, (std::vector<uno_Environment*>{nullptr, purpose, purpose, nullptr}));
    EXPECT_EQ(trace->lines(), (std::vector<std::string>{"callInto depth=0 thread=1", "callOut depth=1 thread=1"}));
    EXPECT_EQ(uno_Environment_getCurrent(), nullptr);

    purpose->pReserved = nullptr;
    purpose->release(purpose);
    plain->release(plain);
}

// An enterable whose call-into function is not the trampoline: invoke calls
// that function (with the target already current), not the virtual operation.
TEST(UnoEnvironment, InvokeCallsAReplacedCallIntoFunction) {
    int context = 0;
    uno_Environment* purpose = environment(u"uno:replaced", &context);
    auto trace = std::make_shared<Trace>();
    TestEnterable enterable(trace);
    static uno_Enterable* s_enterable;
    static std::vector<std::string> s_calls;
    static uno_Environment* s_current;
    s_enterable = &enterable;
    s_calls.clear();
    s_current = nullptr;
    enterable.m_callInto_v = [](void* e, uno_EnvCallee* callee, va_list* p) {
        s_calls.push_back(e == s_enterable ? "callInto self" : "callInto other");
        callee(p);
    };
    purpose->pReserved = static_cast<cppu::Enterable*>(&enterable);
    uno_Environment_invoke(purpose, [](va_list* p) {
        s_current = uno_Environment_getCurrent();
        s_calls.push_back("callee " + std::to_string(va_arg(*p, int)));
    }, 42);
    EXPECT_EQ(s_calls, (std::vector<std::string>{"callInto self", "callee 42"}));
    EXPECT_EQ(s_current, purpose);
    EXPECT_TRUE(trace->whats().empty());
    EXPECT_EQ(uno_Environment_getCurrent(), nullptr);

    purpose->pReserved = nullptr;
    purpose->release(purpose);
}

int g_mappingFrees = 0;
int g_factoryCalls = 0;

struct CountedMapping : uno_Mapping {
    std::atomic<int> count{1};
    CountedMapping() {
        acquire = [](uno_Mapping* m) { ++static_cast<CountedMapping*>(m)->count; };
        release = [](uno_Mapping* m) {
            if (--static_cast<CountedMapping*>(m)->count == 0) uno_revokeMapping(m);
        };
        mapInterface = [](uno_Mapping*, void**, void*, typelib_InterfaceTypeDescription*) {};
    }
    static void free(uno_Mapping* m) {
        ++g_mappingFrees;
        delete static_cast<CountedMapping*>(m);
    }
};

TEST(UnoMapping, TheRegistryHoldsMappingsWeaklyAndAsksFactoriesOtherwise) {
    int context = 0;
    uno_Environment* from = environment(u"uno", &context);
    uno_Environment* to = environment(u"uno:other", &context);
    g_mappingFrees = 0;
    g_factoryCalls = 0;
    auto factory = [](uno_Mapping** pp, uno_Environment* f, uno_Environment* t, rtl_uString*, void*) {
        ++g_factoryCalls;
        *pp = new CountedMapping;
        uno_registerMapping(pp, CountedMapping::free, f, t, nullptr);
    };
    EXPECT_FALSE(zel::uno::Mapping(from, to).is());
    uno_registerMappingFactory(factory, nullptr);
    {
        zel::uno::Mapping m(from, to);
        ASSERT_TRUE(m.is());
        zel::uno::Mapping again(from, to);
        EXPECT_EQ(again.get(), m.get());  // registered: no second factory call
        EXPECT_EQ(g_factoryCalls, 1);
        EXPECT_EQ(static_cast<CountedMapping*>(m.get())->count.load(), 2);

        // A second mapping for the same environments gives way.
        uno_Mapping* other = new CountedMapping;
        uno_registerMapping(&other, CountedMapping::free, from, to, nullptr);
        EXPECT_EQ(other, m.get());
        EXPECT_EQ(g_mappingFrees, 1);
        other->release(other);
        // A purpose makes a different key.
        EXPECT_EQ(g_factoryCalls, 1);
        zel::uno::Mapping purposed(from, to, rtl::OUString(u"trace").pData);
        EXPECT_EQ(g_factoryCalls, 2);
    }
    EXPECT_EQ(g_mappingFrees, 3);  // revoked at count 0 and freed
    uno_revokeMappingFactory(factory, nullptr);
    EXPECT_FALSE(zel::uno::Mapping(from, to).is());
    from->release(from);
    to->release(to);
}

} // namespace
