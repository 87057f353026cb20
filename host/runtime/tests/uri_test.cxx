// Percent-decoding with each mechanism.

#include <rtl/uri.hxx>

#include <gtest/gtest.h>

namespace {

struct Case {
    const char16_t* text;
    rtl_UriDecodeMechanism mechanism;
    rtl_TextEncoding charset;
    const char16_t* decoded;
};

TEST(UriDecode, Mechanisms) {
    const auto utf8 = RTL_TEXTENCODING_UTF8;
    const auto latin1 = RTL_TEXTENCODING_ISO_8859_1;
    const auto ascii = RTL_TEXTENCODING_ASCII_US;
    const Case cases[] = {
        {u"a%20b", rtl_UriDecodeNone, utf8, u"a%20b"},
        {u"caf%C3%A9", rtl_UriDecodeWithCharset, utf8, u"caf\u00E9"},
        {u"caf%c3%a9", rtl_UriDecodeWithCharset, utf8, u"caf\u00E9"},
        {u"%F0%9F%98%80!", rtl_UriDecodeWithCharset, utf8, u"\U0001F600!"},
        {u"a+b%2Bc", rtl_UriDecodeWithCharset, utf8, u"a+b+c"},
        {u"a%2Fb%25c", rtl_UriDecodeWithCharset, utf8, u"a/b%c"},
        {u"%4", rtl_UriDecodeWithCharset, utf8, u"%4"},
        {u"%zz%41", rtl_UriDecodeWithCharset, utf8, u"%zzA"},
        {u"100%", rtl_UriDecodeWithCharset, utf8, u"100%"},
        {u"x%C3", rtl_UriDecodeWithCharset, utf8, u"x%C3"},
        {u"%C3%28", rtl_UriDecodeWithCharset, utf8, u"%C3("},
        {u"%ff%C3%A9", rtl_UriDecodeWithCharset, utf8, u"%ff\u00E9"},
        {u"%C0%AF", rtl_UriDecodeWithCharset, utf8, u"%C0%AF"},
        {u"%ED%A0%80", rtl_UriDecodeWithCharset, utf8, u"%ED%A0%80"},
        {u"\u00E9%20", rtl_UriDecodeWithCharset, utf8, u"\u00E9 "},
        {u"caf%E9", rtl_UriDecodeWithCharset, latin1, u"caf\u00E9"},
        {u"%41%E9", rtl_UriDecodeWithCharset, ascii, u"A%E9"},
        {u"caf%C3%A9%20x", rtl_UriDecodeStrict, utf8, u"caf\u00E9 x"},
        {u"caf%E9", rtl_UriDecodeStrict, utf8, u""},
        {u"a%4", rtl_UriDecodeStrict, utf8, u""},
        {u"a%zz", rtl_UriDecodeStrict, utf8, u""},
        {u"a+b", rtl_UriDecodeStrict, utf8, u"a+b"},
        {u"caf%C3%A9", rtl_UriDecodeToIuri, utf8, u"caf\u00E9"},
        {u"%41%2D%7E", rtl_UriDecodeToIuri, utf8, u"A-~"},
        {u"a%2Fb%20c%25d%3F", rtl_UriDecodeToIuri, utf8, u"a%2Fb%20c%25d%3F"},
        {u"%FF", rtl_UriDecodeToIuri, utf8, u"%FF"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << OUString(c.text) << " mechanism " << c.mechanism);
        EXPECT_EQ(rtl::Uri::decode(OUString(c.text), c.mechanism, c.charset), c.decoded);
    }
}

TEST(UriDecode, ReplacesTheResultAndLeavesTheInput) {
    OUString text(u"a%20b");
    OUString result(u"previous");
    rtl_uriDecode(text.pData, rtl_UriDecodeWithCharset, RTL_TEXTENCODING_UTF8, &result.pData);
    EXPECT_EQ(result, u"a b");
    EXPECT_EQ(text, u"a%20b");
    // Decoding into the string that holds the input.
    rtl_uriDecode(text.pData, rtl_UriDecodeWithCharset, RTL_TEXTENCODING_UTF8, &text.pData);
    EXPECT_EQ(text, u"a b");
}

} // namespace
