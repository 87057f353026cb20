// The built liblexivor.so, loaded by file name and entered through its entry
// function, as the host's service manager does.

#include "ServiceFixture.hxx"

#include <cppu/servicemanager.hxx>

namespace lexivortest {
namespace {

namespace linguistic2 = com::qam::vexo::linguistic2;
using testsupport::lexivor::PackageBuilder;

class ComponentTest : public ServiceTest {};

TEST_F(ComponentTest, TheLibraryExportsTheEntryFunctionThatMakesTheProofreader) {
    PackageBuilder b = packageFor("en-US", "english");
    b.displayName("English");
    b.rule({.pattern = "\\b(a) ([aeiou]\\w*)", .suggestion = "an \\2", .message = "Use \"an\" before a vowel"});
    tree->add("english.lxr", b.build());

    OString error;
    const cppu::ComponentConstructorFunction entry =
        cppu::loadComponentConstructor(LEXIVOR_LIBRARY, "lingucomponent_Lexivor_get_implementation", &error);
    ASSERT_NE(entry, nullptr) << error.getStr();

    // The caller receives the one reference of the new object.
    Reference<zel::uno::XInterface> object(entry(context.get(), {}), zel::uno::SAL_NO_ACQUIRE);
    ASSERT_TRUE(object.is());
    Reference<linguistic2::XProofreader> proofreader(object, zel::uno::UNO_QUERY);
    Reference<com::qam::vexo::lang::XServiceInfo> info(object, zel::uno::UNO_QUERY);
    Reference<linguistic2::XLinguServiceEventBroadcaster> broadcaster(object, zel::uno::UNO_QUERY);
    Reference<com::qam::vexo::lang::XServiceDisplayName> display(object, zel::uno::UNO_QUERY);
    ASSERT_TRUE(proofreader.is());
    ASSERT_TRUE(info.is());
    ASSERT_TRUE(broadcaster.is());
    ASSERT_TRUE(display.is());
    EXPECT_EQ(info->getImplementationName(), u"zel.lingu.Lexivor");
    EXPECT_TRUE(info->supportsService(u"com.qam.vexo.linguistic2.Proofreader"));
    EXPECT_EQ(display->getServiceDisplayName(locale(u"en", u"US")), u"English");
    ASSERT_EQ(proofreader->getLocales().getLength(), 1);
    EXPECT_EQ(proofreader->getLocales()[0], locale(u"en", u"US"));

    const auto r = proofreader->doProofreading(u"doc", u"I ate a apple.", locale(u"en", u"US"), 0, 14, {});
    ASSERT_EQ(r.aErrors.getLength(), 1);
    EXPECT_EQ(r.aErrors[0].nErrorStart, 6);
    EXPECT_EQ(r.aErrors[0].nErrorLength, 7);
    EXPECT_EQ(strings(r.aErrors[0].aSuggestions), (std::vector<OUString>{u"an apple"}));
    EXPECT_EQ(r.aErrors[0].aShortComment, u"Use \"an\" before a vowel");
    EXPECT_TRUE(r.xProofreader == proofreader);

    // Each call makes a new service.
    Reference<zel::uno::XInterface> other(entry(context.get(), {}), zel::uno::SAL_NO_ACQUIRE);
    EXPECT_FALSE(other == object);
}

TEST_F(ComponentTest, TheLibraryHidesEverythingElse) {
    OString error;
    EXPECT_EQ(cppu::loadComponentConstructor(LEXIVOR_LIBRARY, "_ZN7lexivor7Lexivor13reloadOptionsEv", &error), nullptr);
    EXPECT_FALSE(error.isEmpty());
}

} // namespace
} // namespace lexivortest
