// The host's colour names: every CSS name, ASCII case-insensitive, nothing else.

#include <officehost/htmlcolor.hxx>

#include <gtest/gtest.h>

namespace {

TEST(HtmlColor, NamesInAnyAsciiCase) {
    const struct {
        const char16_t* name;
        sal_uInt32 value;
    } cases[] = {{u"black", 0x000000},       {u"white", 0xFFFFFF},      {u"Red", 0xFF0000},
                 {u"ALICEBLUE", 0xF0F8FF},  {u"yellowgreen", 0x9ACD32}, {u"grey", 0x808080},
                 {u"gray", 0x808080},       {u"DarkSlateGrey", 0x2F4F4F}, {u"lightgoldenrodyellow", 0xFAFAD2},
                 {u"rebeccapurple", 0x663399}, {u"aqua", 0x00FFFF},     {u"cyan", 0x00FFFF}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::rtl::OUString(c.name));
        EXPECT_EQ(GetHTMLColor(::rtl::OUString(c.name)), c.value);
    }
}

TEST(HtmlColor, AnythingElseIsNoColour) {
    for (const char16_t* name : {u"", u" red", u"red ", u"re d", u"transparent", u"#ff0000", u"bluee", u"blu",
                                 u"lightgoldenrodyellowx", u"r\u00e9d", u"zzz", u"aaa"}) {
        SCOPED_TRACE(::rtl::OUString(name));
        EXPECT_EQ(GetHTMLColor(::rtl::OUString(name)), 0xFFFFFFFFu);
    }
}

} // namespace
