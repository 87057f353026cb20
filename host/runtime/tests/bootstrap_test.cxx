// Bootstrap macro expansion: the runtime's own variables, environment overrides
// and the macro syntax.

#include <osl/file.hxx>
#include <osl/module.h>
#include <osl/process.h>
#include <rtl/bootstrap.hxx>

#include "envguard.hxx"

#include <gtest/gtest.h>

namespace {

OUString expand(const OUString& macro) {
    OUString s = macro;
    rtl::Bootstrap::expandMacros(s);
    return s;
}

bool exists(const OUString& url) {
    oslDirectoryItem item = nullptr;
    if (osl_getDirectoryItem(url.pData, &item) != osl_File_E_None) return false;
    osl_releaseDirectoryItem(item);
    return true;
}

OUString programDirUrl() {
    OUString path;
    EXPECT_TRUE(osl_getProgramDirectory(&path.pData));
    OUString url;
    EXPECT_EQ(osl::FileBase::getFileURLFromSystemPath(path, url), osl_File_E_None);
    return url;
}

TEST(Bootstrap, BrandBaseDirDefaultsToTheTreeAboveTheLibrary) {
    salqx_test::EnvGuard unset("BRAND_BASE_DIR", nullptr);
    const OUString base = expand(u"$BRAND_BASE_DIR");
    EXPECT_TRUE(base.startsWith(u"file:///")) << base;
    EXPECT_TRUE(exists(base + u"/program/libsalqx.so")) << base;
    OUString parent;
    EXPECT_EQ(osl::FileBase::getAbsoluteFileURL(programDirUrl(), u"..", parent), osl_File_E_None);
    EXPECT_EQ(base, parent);
    EXPECT_EQ(expand(u"${BRAND_BASE_DIR}/share/lexivor"), base + u"/share/lexivor");
    EXPECT_EQ(expand(u"$ORIGIN"), programDirUrl());
    EXPECT_TRUE(exists(expand(u"$ORIGIN/libsalqx.so")));
}

TEST(Bootstrap, EnvironmentOverridesBrandBaseDir) {
    OUString cwd;
    ASSERT_EQ(osl_getProcessWorkingDir(&cwd.pData), osl_Process_E_None);
    struct Case {
        const char* env;
        OUString expanded;
    };
    const Case cases[] = {
        {"/opt/some dir", u"file:///opt/some%20dir/share"},
        {"/opt/\xC3\xA4/", u"file:///opt/%C3%A4/share"},
        {"file:///already/a%20url", u"file:///already/a%20url/share"},
        {"FILE:///upper", u"FILE:///upper/share"},
        {"rel/dir", cwd + u"/rel/dir/share"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.env);
        salqx_test::EnvGuard env("BRAND_BASE_DIR", c.env);
        EXPECT_EQ(expand(u"$BRAND_BASE_DIR/share"), c.expanded);
    }
}

TEST(Bootstrap, MacroSyntax) {
    salqx_test::EnvGuard var("SALQX_TEST_VAR", "val");
    salqx_test::EnvGuard nested("SALQX_TEST_NESTED", "$SALQX_TEST_VAR");
    salqx_test::EnvGuard unset("SALQX_TEST_UNSET", nullptr);
    salqx_test::EnvGuard empty("SALQX_TEST_EMPTY", "");
    struct Case {
        const char16_t* macro;
        const char16_t* expanded;
    };
    const Case cases[] = {
        {u"no macros here", u"no macros here"},
        {u"$SALQX_TEST_VAR/x", u"val/x"},
        {u"${SALQX_TEST_VAR}x", u"valx"},
        {u"$SALQX_TEST_VARx", u""},
        {u"a$SALQX_TEST_VAR.b", u"aval.b"},
        {u"\\$SALQX_TEST_VAR", u"$SALQX_TEST_VAR"},
        {u"C:\\dir\\x$SALQX_TEST_VAR", u"C:\\dir\\xval"},
        {u"$SALQX_TEST_UNSET/a", u"/a"},
        {u"${SALQX_TEST_UNSET}", u""},
        {u"$SALQX_TEST_EMPTY|", u"|"},
        {u"$SALQX_TEST_NESTED", u"$SALQX_TEST_VAR"},
        {u"$", u"$"},
        {u"a$/b", u"a$/b"},
        {u"cost 5$", u"cost 5$"},
        {u"${SALQX_TEST_VAR", u"${SALQX_TEST_VAR"},
        {u"$SALQX_TEST_VAR$SALQX_TEST_VAR", u"valval"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(OUString(c.macro));
        EXPECT_EQ(expand(OUString(c.macro)), OUString(c.expanded));
    }
}

TEST(Bootstrap, GetReportsWhetherAVariableIsSet) {
    salqx_test::EnvGuard var("SALQX_TEST_VAR", "value");
    salqx_test::EnvGuard unset("SALQX_TEST_UNSET", nullptr);
    OUString value(u"untouched");
    EXPECT_TRUE(rtl::Bootstrap::get(u"SALQX_TEST_VAR", value));
    EXPECT_EQ(value, u"value");
    value = u"untouched";
    EXPECT_FALSE(rtl::Bootstrap::get(u"SALQX_TEST_UNSET", value));
    EXPECT_EQ(value, u"untouched");
    OUString fallback(u"fallback");
    EXPECT_FALSE(rtl_bootstrap_get(OUString(u"SALQX_TEST_UNSET").pData, &value.pData, fallback.pData));
    EXPECT_EQ(value, u"fallback");
    salqx_test::EnvGuard noBase("BRAND_BASE_DIR", nullptr);
    EXPECT_TRUE(rtl::Bootstrap::get(u"BRAND_BASE_DIR", value));
    EXPECT_EQ(value, expand(u"$BRAND_BASE_DIR"));
}

} // namespace
