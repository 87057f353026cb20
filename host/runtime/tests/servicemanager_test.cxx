// The component context: services by name, component libraries, values, the process context.

#include <com/qam/vexo/loader/CannotActivateFactoryException.hxx>
#include <comphelper/processfactory.hxx>
#include <cppu/implbase.hxx>
#include <cppu/servicemanager.hxx>
#include <cppu/supportsservice.hxx>

#include <gtest/gtest.h>

using namespace zel::uno;
using com::qam::vexo::lang::XServiceInfo;

namespace {

class NamedImpl : public cppu::WeakImplHelper<XServiceInfo> {
public:
    explicit NamedImpl(OUString name) : name_(std::move(name)) {}
    OUString getImplementationName() override { return name_; }
    bool supportsService(const OUString& n) override { return cppu::supportsService(this, n); }
    Sequence<OUString> getSupportedServiceNames() override { return {u"test.Named", u"test.Other"}; }

private:
    OUString name_;
};

class ServiceManagerTest : public ::testing::Test {
protected:
    void TearDown() override { cppu::disposeComponentContext(context); }
    Reference<XComponentContext> context = cppu::createComponentContext();
};

TEST_F(ServiceManagerTest, CreatesRegisteredServicesWithTheContextAndArguments) {
    Reference<XComponentContext> seen;
    cppu::registerService(context, u"test.Named",
                          [&seen](const Reference<XComponentContext>& ctx, const Sequence<Any>& args) {
                              seen = ctx;
                              OUString name;
                              if (args.hasElements()) args[0] >>= name;
                              return Reference<XInterface>(new NamedImpl(name));
                          });
    auto manager = context->getServiceManager();
    Reference<XServiceInfo> plain(manager->createInstanceWithContext(u"test.Named", context), UNO_QUERY);
    ASSERT_TRUE(plain.is());
    EXPECT_TRUE(seen == context);
    EXPECT_EQ(plain->getImplementationName(), u"");
    Reference<XServiceInfo> named(
        manager->createInstanceWithArgumentsAndContext(u"test.Named", {Any(OUString(u"first"))}, context), UNO_QUERY);
    EXPECT_EQ(named->getImplementationName(), u"first");
    EXPECT_TRUE(named->supportsService(u"test.Other"));
    EXPECT_FALSE(named->supportsService(u"test.Unknown"));
    EXPECT_FALSE(plain == named);
    seen.clear();

    EXPECT_FALSE(manager->createInstanceWithContext(u"test.Unknown", context).is());
    cppu::revokeService(context, u"test.Named");
    EXPECT_FALSE(manager->createInstanceWithContext(u"test.Named", context).is());
}

TEST_F(ServiceManagerTest, LoadsAComponentLibraryByFileNameAndCallsItsConstructor) {
    cppu::registerComponentLibrary(context, u"test.EchoService", SALQX_TESTCOMPONENT,
                                   "salqx_test_Echo_get_implementation");
    auto manager = context->getServiceManager();
    Reference<XServiceInfo> echo(manager->createInstanceWithArgumentsAndContext(
                                     u"test.EchoService", {Any(true), Any(false)}, context),
                                 UNO_QUERY);
    ASSERT_TRUE(echo.is());
    EXPECT_EQ(echo->getImplementationName(), u"test.Echo2");
    EXPECT_TRUE(echo->supportsService(u"test.EchoService"));
}

TEST_F(ServiceManagerTest, AMissingLibraryOrFunctionIsACannotActivateFailure) {
    cppu::registerComponentLibrary(context, u"test.NoSymbol", SALQX_TESTCOMPONENT, "no_such_function");
    cppu::registerComponentLibrary(context, u"test.NoLibrary", "libno-such-component.so", "f");
    auto manager = context->getServiceManager();
    try {
        manager->createInstanceWithContext(u"test.NoSymbol", context);
        ADD_FAILURE() << "no exception";
    } catch (const com::qam::vexo::loader::CannotActivateFactoryException& e) {
        EXPECT_EQ(e.Message, u"component library " + OUString::fromUtf8(SALQX_TESTCOMPONENT) +
                                 u" has no function no_such_function");
    }
    try {
        manager->createInstanceWithContext(u"test.NoLibrary", context);
        ADD_FAILURE() << "no exception";
    } catch (const com::qam::vexo::loader::CannotActivateFactoryException& e) {
        EXPECT_EQ(e.Message, u"cannot load component library libno-such-component.so");
    }
}

TEST_F(ServiceManagerTest, ValuesAndSingletonsLiveUntilTheContextIsDisposed) {
    bool destroyedProbe = false;
    struct Probe : cppu::WeakImplHelper<XServiceInfo> {
        explicit Probe(bool& d) : destroyed(d) {}
        ~Probe() override { destroyed = true; }
        OUString getImplementationName() override { return u"probe"; }
        bool supportsService(const OUString&) override { return false; }
        Sequence<OUString> getSupportedServiceNames() override { return {}; }
        bool& destroyed;
    };
    cppu::setContextValue(context, u"/singletons/test.theProbe",
                          Any(Reference<XServiceInfo>(new Probe(destroyedProbe))));
    Reference<XServiceInfo> probe(context->getValueByName(u"/singletons/test.theProbe"), UNO_QUERY);
    ASSERT_TRUE(probe.is());
    EXPECT_EQ(probe->getImplementationName(), u"probe");
    probe.clear();
    EXPECT_FALSE(context->getValueByName(u"/singletons/test.unknown").hasValue());
    EXPECT_FALSE(destroyedProbe);
    cppu::disposeComponentContext(context);
    EXPECT_TRUE(destroyedProbe);
    EXPECT_FALSE(context->getValueByName(u"/singletons/test.theProbe").hasValue());
}

TEST(ProcessComponentContext, IsOneContextUntilReplaced) {
    auto first = comphelper::getProcessComponentContext();
    ASSERT_TRUE(first.is());
    EXPECT_TRUE(first == comphelper::getProcessComponentContext());
    auto replacement = cppu::createComponentContext();
    comphelper::setProcessComponentContext(replacement);
    EXPECT_TRUE(comphelper::getProcessComponentContext() == replacement);
    comphelper::setProcessComponentContext({});
}

} // namespace
