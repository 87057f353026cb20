// The C++ binding: queries, identity, lifetimes, Any extraction, sequences, types.

#include <com/qam/vexo/beans/values.hxx>
#include <com/qam/vexo/lang/exceptions.hxx>
#include <cppu/implbase.hxx>
#include <zel/uno/Reference.hxx>

#include <gtest/gtest.h>

#include <functional>

using namespace zel::uno;

namespace test {

class ZEL_UNO_INTERFACE_CLASS XBaseThing : public virtual XInterface {
public:
    ZEL_UNO_INTERFACE(XBaseThing, "test.XBaseThing")
    virtual sal_Int32 base() = 0;
};
class ZEL_UNO_INTERFACE_CLASS XDerivedThing : public XBaseThing {
public:
    ZEL_UNO_INTERFACE(XDerivedThing, "test.XDerivedThing")
    virtual sal_Int32 derived() = 0;
};
class ZEL_UNO_INTERFACE_CLASS XOther : public virtual XInterface {
public:
    ZEL_UNO_INTERFACE(XOther, "test.XOther")
    virtual sal_Int32 other() = 0;
};
class ZEL_UNO_INTERFACE_CLASS XMissing : public virtual XInterface {
public:
    ZEL_UNO_INTERFACE(XMissing, "test.XMissing")
    virtual void missing() = 0;
};

} // namespace test

namespace {

class Thing : public cppu::WeakImplHelper<test::XDerivedThing, test::XOther> {
public:
    explicit Thing(std::function<void()> onDestroy = {}) : onDestroy_(std::move(onDestroy)) {}
    ~Thing() override {
        if (onDestroy_) onDestroy_();
    }
    sal_Int32 base() override { return 1; }
    sal_Int32 derived() override { return 2; }
    sal_Int32 other() override { return 3; }

private:
    std::function<void()> onDestroy_;
};

template <class E, class F>
void expectThrowMessage(F&& f, const OUString& message) {
    try {
        f();
        ADD_FAILURE() << "no exception, expected " << message;
    } catch (const E& e) {
        EXPECT_EQ(e.Message, message);
    }
}

TEST(UnoQuery, CheckingQueryAnswersImplementedInterfacesAndTheirBases) {
    Reference<test::XOther> other(new Thing);
    Reference<test::XDerivedThing> derived(other, UNO_QUERY);
    ASSERT_TRUE(derived.is());
    EXPECT_EQ(derived->derived(), 2);
    Reference<test::XBaseThing> base(other, UNO_QUERY);
    ASSERT_TRUE(base.is());
    EXPECT_EQ(base->base(), 1);
    Reference<com::qam::vexo::lang::XTypeProvider> types(other, UNO_QUERY);
    ASSERT_TRUE(types.is());
    EXPECT_EQ(types->getTypes().getLength(), 3);

    Reference<test::XMissing> missing(other, UNO_QUERY);
    EXPECT_FALSE(missing.is());
    Reference<test::XMissing> fromEmpty(Reference<test::XOther>(), UNO_QUERY);
    EXPECT_FALSE(fromEmpty.is());
}

TEST(UnoQuery, ThrowingQueryRaisesTheUnsatisfiedQueryMessageWithoutContext) {
    Reference<test::XOther> other(new Thing);
    try {
        Reference<test::XMissing> missing(other, UNO_QUERY_THROW);
        ADD_FAILURE() << "no exception";
    } catch (const RuntimeException& e) {
        EXPECT_EQ(e.Message, u"unsatisfied query for interface of type test.XMissing!");
        EXPECT_FALSE(e.Context.is());
    }
    expectThrowMessage<RuntimeException>(
        [] { Reference<test::XMissing> m(Reference<test::XOther>(), UNO_QUERY_THROW); },
        u"unsatisfied query for interface of type test.XMissing!");
    Reference<test::XBaseThing> ok(other, UNO_QUERY_THROW);
    EXPECT_EQ(ok->base(), 1);
    expectThrowMessage<RuntimeException>([] { Reference<test::XOther> r(nullptr, UNO_SET_THROW); },
                                         u"null pointer for interface of type test.XOther!");
}

TEST(UnoQuery, ThrowingQueryWithAContextCarriesIt) {
    Reference<test::XOther> other(new Thing);
    try {
        Reference<test::XMissing> missing(other, UNO_QUERY_THROW, other.get());
        ADD_FAILURE() << "no exception";
    } catch (const RuntimeException& e) {
        EXPECT_EQ(e.Message, u"unsatisfied query for interface of type test.XMissing!");
        EXPECT_TRUE(e.Context.get() == static_cast<::zel::uno::XInterface*>(other.get()));
    }
    Reference<test::XBaseThing> ok(other, UNO_QUERY_THROW, other.get());
    EXPECT_EQ(ok->base(), 1);
}

TEST(UnoQuery, IdentityComparesTheObjectsNotTheInterfacePointers) {
    Reference<test::XOther> a(new Thing);
    Reference<test::XBaseThing> sameObject(a, UNO_QUERY);
    Reference<test::XOther> another(new Thing);
    EXPECT_TRUE(a == sameObject);
    EXPECT_FALSE(a == another);
    EXPECT_FALSE(a == Reference<test::XOther>());
    EXPECT_TRUE(Reference<test::XOther>() == Reference<test::XBaseThing>());
}

TEST(UnoLifetime, TheLastReferenceDeletesTheObject) {
    bool destroyed = false;
    {
        Reference<test::XOther> a(new Thing([&] { destroyed = true; }));
        Reference<test::XBaseThing> b(a, UNO_QUERY);
        Any held;
        held <<= b;
        a.clear();
        b.clear();
        EXPECT_FALSE(destroyed);
        Reference<test::XOther> back(held, UNO_QUERY);
        ASSERT_TRUE(back.is());
        EXPECT_EQ(back->other(), 3);
        EXPECT_EQ(static_cast<Thing*>(back.get())->refCount(), 2);
    }
    EXPECT_TRUE(destroyed);
}

// Which held values extract to which target types.
TEST(UnoAny, ExtractionWidensSmallIntegersAndNothingElse) {
    struct Case {
        const char* what;
        Any value;
        bool toInt8, toInt16, toUInt16, toInt32, toUInt32, toInt64, toFloat, toDouble, toBool, toString;
    };
    const Case cases[] = {
        {"byte", Any(sal_Int8(-5)), true, true, true, true, true, true, true, true, false, false},
        {"short", Any(sal_Int16(-300)), false, true, true, true, true, true, true, true, false, false},
        {"unsigned short", Any(sal_uInt16(60000)), false, true, true, true, true, true, true, true, false, false},
        {"long", Any(sal_Int32(-70000)), false, false, false, true, true, true, false, true, false, false},
        {"unsigned long", Any(sal_uInt32(70000)), false, false, false, true, true, true, false, true, false, false},
        {"hyper", Any(sal_Int64(1) << 40), false, false, false, false, false, true, false, false, false, false},
        {"float", Any(1.5f), false, false, false, false, false, false, true, true, false, false},
        {"double", Any(2.5), false, false, false, false, false, false, false, true, false, false},
        {"boolean", Any(true), false, false, false, false, false, false, false, false, true, false},
        {"string", Any(OUString(u"7")), false, false, false, false, false, false, false, false, false, true},
        {"void", Any(), false, false, false, false, false, false, false, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.value.has<sal_Int8>(), c.toInt8);
        EXPECT_EQ(c.value.has<sal_Int16>(), c.toInt16);
        EXPECT_EQ(c.value.has<sal_uInt16>(), c.toUInt16);
        EXPECT_EQ(c.value.has<sal_Int32>(), c.toInt32);
        EXPECT_EQ(c.value.has<sal_uInt32>(), c.toUInt32);
        EXPECT_EQ(c.value.has<sal_Int64>(), c.toInt64);
        EXPECT_EQ(c.value.has<float>(), c.toFloat);
        EXPECT_EQ(c.value.has<double>(), c.toDouble);
        EXPECT_EQ(c.value.has<bool>(), c.toBool);
        EXPECT_EQ(c.value.has<OUString>(), c.toString);
    }
}

TEST(UnoAny, ExtractedValuesKeepTheirSign) {
    sal_Int32 l = 0;
    EXPECT_TRUE(Any(sal_Int8(-5)) >>= l);
    EXPECT_EQ(l, -5);
    EXPECT_TRUE(Any(sal_uInt16(60000)) >>= l);
    EXPECT_EQ(l, 60000);
    double d = 0;
    EXPECT_TRUE(Any(sal_Int16(-300)) >>= d);
    EXPECT_EQ(d, -300.0);
    sal_Int32 untouched = 42;
    EXPECT_FALSE(Any(2.5) >>= untouched);
    EXPECT_EQ(untouched, 42);
    EXPECT_EQ(Any(sal_Int16(9)).get<sal_Int32>(), 9);
    expectThrowMessage<RuntimeException>([] { (void)Any(OUString(u"x")).get<sal_Int32>(); },
                                         u"cannot extract an Any(string) to long");
}

TEST(UnoAny, InterfacesAreExtractedByQuery) {
    Reference<test::XOther> thing(new Thing);
    Any a(thing);
    EXPECT_EQ(a.getValueTypeClass(), TypeClass_INTERFACE);
    EXPECT_EQ(a.getValueTypeName(), u"test.XOther");
    Reference<test::XDerivedThing> derived;
    EXPECT_TRUE(a >>= derived);
    EXPECT_EQ(derived->derived(), 2);
    Reference<test::XMissing> missing;
    EXPECT_FALSE(a >>= missing);
    EXPECT_FALSE(Any(OUString(u"not an object")) >>= derived);
    EXPECT_FALSE(Any(Reference<test::XOther>()) >>= derived);
    EXPECT_TRUE(a.isExtractableTo(test::XBaseThing::static_type()));
    EXPECT_FALSE(a.isExtractableTo(test::XMissing::static_type()));
}

TEST(UnoAny, EqualityComparesTypeAndValue) {
    EXPECT_EQ(Any(sal_Int32(3)), Any(sal_Int32(3)));
    EXPECT_FALSE(Any(sal_Int32(3)) == Any(sal_Int16(3)));
    EXPECT_FALSE(Any(OUString(u"a")) == Any(OUString(u"b")));
    EXPECT_EQ(Any(), Any());
    com::qam::vexo::beans::PropertyValue pv{u"Name", 0, Any(true), com::qam::vexo::beans::PropertyState_DIRECT_VALUE};
    Any a(pv);
    com::qam::vexo::beans::PropertyValue back;
    EXPECT_TRUE(a >>= back);
    EXPECT_EQ(back, pv);
    com::qam::vexo::beans::NamedValue nv;
    EXPECT_FALSE(a >>= nv);
}

TEST(UnoSequence, CopiesShareUntilWritten) {
    Sequence<sal_Int32> a{1, 2, 3};
    Sequence<sal_Int32> b = a;
    EXPECT_EQ(a.getConstArray(), b.getConstArray());
    b.getArray()[0] = 9;
    EXPECT_NE(a.getConstArray(), b.getConstArray());
    EXPECT_EQ(a[0], 1);
    EXPECT_EQ(b[0], 9);
    b.realloc(5);
    EXPECT_EQ(b.getLength(), 5);
    EXPECT_EQ(b[4], 0);
    EXPECT_FALSE(a == b);
    b.realloc(3);
    b.getArray()[0] = 1;
    EXPECT_TRUE(a == b);
    EXPECT_FALSE(Sequence<sal_Int32>().hasElements());

    Sequence<signed char> bytes{1, -2};
    Any held(bytes);
    Sequence<signed char> back;
    EXPECT_TRUE(held >>= back);
    EXPECT_EQ(back[1], -2);
    Sequence<sal_Int32> wrongKind;
    EXPECT_FALSE(held >>= wrongKind);
}

TEST(UnoType, EveryCrossingTypeHasItsClassAndDottedName) {
    struct Case {
        Type type;
        TypeClass typeClass;
        const char16_t* name;
    };
    const Case cases[] = {
        {cppu::UnoType<void>::get(), TypeClass_VOID, u"void"},
        {cppu::UnoType<sal_Int32>::get(), TypeClass_LONG, u"long"},
        {cppu::UnoType<OUString>::get(), TypeClass_STRING, u"string"},
        {cppu::UnoType<Any>::get(), TypeClass_ANY, u"any"},
        {cppu::UnoType<Sequence<signed char>>::get(), TypeClass_SEQUENCE, u"[]byte"},
        {cppu::UnoType<Sequence<Sequence<OUString>>>::get(), TypeClass_SEQUENCE, u"[][]string"},
        {cppu::UnoType<Reference<test::XOther>>::get(), TypeClass_INTERFACE, u"test.XOther"},
        {XInterface::static_type(), TypeClass_INTERFACE, u"com.qam.vexo.uno.XInterface"},
        {cppu::UnoType<com::qam::vexo::beans::PropertyValue>::get(), TypeClass_STRUCT,
         u"com.qam.vexo.beans.PropertyValue"},
        {cppu::UnoType<com::qam::vexo::beans::PropertyState>::get(), TypeClass_ENUM,
         u"com.qam.vexo.beans.PropertyState"},
        {cppu::UnoType<com::qam::vexo::beans::Optional<OUString>>::get(), TypeClass_STRUCT,
         u"com.qam.vexo.beans.Optional<string>"},
        {com::qam::vexo::lang::IllegalArgumentException().getType(), TypeClass_EXCEPTION,
         u"com.qam.vexo.lang.IllegalArgumentException"},
        {DeploymentException().getType(), TypeClass_EXCEPTION, u"com.qam.vexo.uno.DeploymentException"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(OUString(c.name).toUtf8().getStr());
        EXPECT_EQ(c.type.getTypeClass(), c.typeClass);
        EXPECT_EQ(c.type.getTypeName(), c.name);
    }
}

TEST(UnoException, CarriesMessageAndContextAndRaisesItsOwnType) {
    Reference<test::XOther> source(new Thing);
    DeploymentException d(u"no service", source);
    const Exception& asBase = d;
    try {
        asBase.raise();
    } catch (const DeploymentException& e) {
        EXPECT_EQ(e.Message, u"no service");
        EXPECT_EQ(e.Context.get(), static_cast<XInterface*>(source.get()));
    }
    EXPECT_THROW(asBase.raise(), RuntimeException);
    com::qam::vexo::lang::IllegalArgumentException iae(u"bad", {}, 2);
    EXPECT_EQ(iae.ArgumentPosition, 2);
    EXPECT_THROW(iae.raise(), com::qam::vexo::lang::IllegalArgumentException);
}

} // namespace
