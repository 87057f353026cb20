// Strings: storage lifetimes, number formatting, integer parsing, trimming,
// UTF-8 conversions with default and strict flags, and the thread text encoding.

#include <osl/thread.h>
#include <rtl/character.hxx>
#include <rtl/ustrbuf.hxx>
#include <rtl/ustring.hxx>

#include "envguard.hxx"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

TEST(OUStringStorage, CopiesShareOneCountedBlock) {
    OUString a(u"shared text");
    EXPECT_EQ(a.pData->refCount.load(), 1);
    {
        OUString b = a;
        OUString c(b);
        EXPECT_EQ(b.pData, a.pData);
        EXPECT_EQ(a.pData->refCount.load(), 3);
    }
    EXPECT_EQ(a.pData->refCount.load(), 1);
    OUString moved = std::move(a);
    EXPECT_EQ(moved.pData->refCount.load(), 1);
    EXPECT_TRUE(a.isEmpty());
    EXPECT_EQ(moved, u"shared text");
}

TEST(OUStringStorage, EmptyStringIsSharedAndSurvivesAnyNumberOfReleases) {
    OUString a;
    OUString b(u"");
    OUString c = OUString(u"x").copy(1);
    EXPECT_EQ(a.pData, b.pData);
    EXPECT_EQ(a.pData, c.pData);
    EXPECT_EQ(a.pData, rtl_uString_newEmpty());
    for (int i = 0; i < 1000; ++i) rtl_uString_release(rtl_uString_newEmpty());
    EXPECT_EQ(a.getLength(), 0);
    EXPECT_EQ(a.getStr()[0], u'\0');
    // Empty strings made and dropped on many threads at once.
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([] {
            for (int i = 0; i < 10000; ++i) {
                OUString e;
                OUString f = e;
                OUString g = std::move(f);
            }
        });
    for (auto& t : threads) t.join();
    EXPECT_TRUE(OUString().isEmpty());
}

TEST(OUStringStorage, CountIsAtomicAcrossThreads) {
    OUString s(u"contended");
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([s] {
            for (int i = 0; i < 20000; ++i) {
                OUString copy = s;
                ASSERT_EQ(copy.getLength(), 9);
            }
        });
    for (auto& t : threads) t.join();
    EXPECT_EQ(s.pData->refCount.load(), 1);
}

TEST(OUStringStorage, OperationsThatChangeNothingReturnTheSameBlock) {
    OUString s(u"abc");
    EXPECT_EQ(s.toAsciiLowerCase().pData, s.pData);
    EXPECT_EQ(s.trim().pData, s.pData);
    EXPECT_EQ(s.copy(0).pData, s.pData);
    EXPECT_EQ(s.replaceAll(u"x", u"y").pData, s.pData);
    EXPECT_EQ(s.concat(u"").pData, s.pData);
}

TEST(OUStringNumber, DoubleIsShortestRoundTripText) {
    struct Case {
        double value;
        const char16_t* text;
    };
    const Case cases[] = {
        {61000000, u"61000000"},
        {-1, u"-1"},
        {-0.5, u"-0.5"},
        {0.1, u"0.1"},
        {1.0 / 3, u"0.3333333333333333"},
        {2.0 / 3, u"0.6666666666666666"},
        {0.1 + 0.2, u"0.30000000000000004"},
        {1e300, u"1e+300"},
        {1e21, u"1e+21"},
        {123456789012345680000.0, u"123456789012345680000"},
        {1e-7, u"1e-7"},
        {0.000001, u"0.000001"},
        {1.5e-10, u"1.5e-10"},
        {-0.0, u"0"},
        {0.0, u"0"},
        {5e-324, u"5e-324"},
        {1.7976931348623157e308, u"1.7976931348623157e+308"},
        {std::numeric_limits<double>::quiet_NaN(), u"nan"},
        {std::numeric_limits<double>::infinity(), u"inf"},
        {-std::numeric_limits<double>::infinity(), u"-inf"},
        {35.27777777777778, u"35.27777777777778"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        OUString text = OUString::number(c.value);
        EXPECT_EQ(text, c.text);
        if (std::isfinite(c.value)) {
            EXPECT_EQ(text.toDouble(), c.value);
        }
    }
}

TEST(OUStringNumber, IntegersInEveryRadix) {
    struct Case {
        long long value;
        sal_Int16 radix;
        const char16_t* text;
    };
    const Case cases[] = {
        {0, 10, u"0"},
        {-42, 10, u"-42"},
        {255, 16, u"ff"},
        {-255, 16, u"-ff"},
        {5, 2, u"101"},
        {35, 36, u"z"},
        {1295, 36, u"zz"},
        {std::numeric_limits<long long>::min(), 10, u"-9223372036854775808"},
        {12, 1, u"12"},  // a radix outside 2..36 means 10
        {12, 37, u"12"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(OUString::number(c.value, c.radix), c.text);
    }
    EXPECT_EQ(OUString::number(std::numeric_limits<unsigned long long>::max(), 16), u"ffffffffffffffff");
    EXPECT_EQ(OUString::number(std::numeric_limits<int>::min()), u"-2147483648");
}

TEST(OUStringParse, ToInt32ReadsTheLeadingNumberAndWraps) {
    struct Case {
        const char16_t* text;
        sal_Int16 radix;
        sal_Int32 value;
    };
    const Case cases[] = {
        {u"42", 10, 42},
        {u"  \t-17xyz", 10, -17},
        {u"+8", 10, 8},
        {u"", 10, 0},
        {u"abc", 10, 0},
        {u"-", 10, 0},
        {u"1 2", 10, 1},
        {u"ff", 16, 255},
        {u"FFg", 16, 255},
        {u"777", 8, 511},
        {u"789", 8, 7},
        {u"zz", 36, 1295},
        {u"2147483647", 10, 2147483647},
        {u"-2147483648", 10, std::numeric_limits<sal_Int32>::min()},
        {u"2147483648", 10, std::numeric_limits<sal_Int32>::min()},
        {u"4294967297", 10, 1},
        {u"\u0661", 10, 0},  // only ASCII digits count
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(OUString(c.text));
        EXPECT_EQ(rtl_ustr_toInt32(c.text, c.radix), c.value);
        EXPECT_EQ(OUString(c.text).toInt32(c.radix), c.value);
    }
    EXPECT_EQ(OUString(u"9223372036854775807").toInt64(), std::numeric_limits<sal_Int64>::max());
    EXPECT_EQ(OUString(u"9223372036854775808").toInt64(), std::numeric_limits<sal_Int64>::min());
    EXPECT_EQ(OUString(u"-12345678901").toInt64(), -12345678901LL);
}

TEST(OUStringTrim, RemovesControlsAndBlanksAtBothEnds) {
    struct Case {
        const char16_t* in;
        const char16_t* out;
    };
    const Case cases[] = {
        {u"  a b  ", u"a b"},
        {u"\t\r\n x\x01", u"x"},
        {u"", u""},
        {u"   ", u""},
        {u"\u00A0x\u00A0", u"\u00A0x\u00A0"},  // no-break space is above U+0020
        {u"x", u"x"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(OUString(c.in));
        OUString in(c.in);
        rtl_uString* out = nullptr;
        rtl_uString_newTrim(&out, in.pData);
        EXPECT_EQ(OUString(out, nullptr), c.out);
        EXPECT_EQ(in.trim(), c.out);
    }
    // Trimming into the variable that holds the source.
    OUString s(u"  self  ");
    rtl_uString_newTrim(&s.pData, s.pData);
    EXPECT_EQ(s, u"self");
}

TEST(OUStringMembers, SearchSliceAndReplace) {
    OUString s(u"one;two;;three");
    EXPECT_EQ(s.indexOf(u';'), 3);
    EXPECT_EQ(s.indexOf(u';', 4), 7);
    EXPECT_EQ(s.indexOf(u"three"), 9);
    EXPECT_EQ(s.indexOf(u"x"), -1);
    EXPECT_EQ(s.lastIndexOf(u';'), 8);
    EXPECT_EQ(s.copy(4, 3), u"two");
    EXPECT_EQ(s.copy(9), u"three");
    EXPECT_EQ(s.copy(-5, 3), u"one");   // clamped, never out of bounds
    EXPECT_EQ(s.copy(12, 100), u"ee");
    EXPECT_EQ(s.copy(100), u"");
    EXPECT_EQ(s.replaceAll(u";", u", "), u"one, two, , three");
    EXPECT_EQ(OUString(u"aaa").replaceAll(u"aa", u"b"), u"ba");
    sal_Int32 index = 4;
    EXPECT_EQ(s.replaceFirst(u";", u"|", &index), u"one;two|;three");
    EXPECT_EQ(index, 7);
    index = 0;
    EXPECT_EQ(s.replaceFirst(u"#", u"|", &index), s);
    EXPECT_EQ(index, -1);
    EXPECT_EQ(s.replaceAt(0, 3, u"1"), u"1;two;;three");
    EXPECT_EQ(s.replace(u';', u'/'), u"one/two//three");
    OUString rest;
    EXPECT_TRUE(s.startsWith(u"one;", &rest));
    EXPECT_EQ(rest, u"two;;three");
    EXPECT_TRUE(s.endsWith(u"three", &rest));
    EXPECT_EQ(rest, u"one;two;;");
    EXPECT_TRUE(OUString(u"Report.LXR").endsWithIgnoreAsciiCase(u".lxr"));
    EXPECT_FALSE(OUString(u"lxr").endsWithIgnoreAsciiCase(u".lxr"));
    EXPECT_TRUE(OUString(u"FILE:///x").startsWithIgnoreAsciiCase(u"file:"));
    EXPECT_TRUE(s.match(u"two", 4));
    EXPECT_FALSE(s.match(u"two", 5));
    EXPECT_TRUE(OUString(u"MiXeD").equalsIgnoreAsciiCase(u"mixed"));
    EXPECT_TRUE(OUString(u"abc").equalsAscii("abc"));
    EXPECT_FALSE(OUString(u"abc").equalsAscii("abcd"));
    EXPECT_FALSE(OUString(u"abcd").equalsAscii("abc"));
    EXPECT_LT(OUString(u"abc").compareTo(u"abd"), 0);
    EXPECT_GT(OUString(u"abc").compareTo(u"ab"), 0);
    EXPECT_EQ(OUString(u"abc").compareTo(u"abc"), 0);
    EXPECT_EQ(OUString(u"aBc\u00C4").toAsciiUpperCase(), u"ABC\u00C4");
    EXPECT_EQ(OUString(u"aBc\u00C4").toAsciiLowerCase(), u"abc\u00C4");
    EXPECT_EQ(OUString("ascii literal"), u"ascii literal");
    EXPECT_EQ(OUString::createFromAscii("created"), u"created");
    char buffer[16] = "short";
    EXPECT_EQ(OUString(buffer), u"short");
}

TEST(OUStringMembers, GetTokenWalksSeparatedPieces) {
    OUString s(u"a;bb;;c");
    std::vector<OUString> tokens;
    sal_Int32 index = 0;
    do tokens.push_back(s.getToken(0, u';', index));
    while (index >= 0);
    EXPECT_EQ(tokens, (std::vector<OUString>{u"a", u"bb", u"", u"c"}));
    EXPECT_EQ(s.getToken(1, u';'), u"bb");
    EXPECT_EQ(s.getToken(3, u';'), u"c");
    index = 0;
    EXPECT_EQ(s.getToken(4, u';', index), u"");
    EXPECT_EQ(index, -1);
    index = 2;
    EXPECT_EQ(s.getToken(1, u';', index), u"");
    EXPECT_EQ(index, 6);
    EXPECT_EQ(OUString().getToken(0, u';'), u"");
}

TEST(OUStringMembers, CodePointsAndUtf32) {
    OUStringBuffer buf;
    buf.appendUtf32(0x41).appendUtf32(0x1F600).appendUtf32(0xE9).appendUtf32(0x110000);
    OUString s = buf.makeStringAndClear();
    EXPECT_EQ(s, u"A\U0001F600\u00E9\uFFFD");
    std::vector<sal_uInt32> forward;
    sal_Int32 i = 0;
    while (i < s.getLength()) forward.push_back(s.iterateCodePoints(&i));
    EXPECT_EQ(forward, (std::vector<sal_uInt32>{0x41, 0x1F600, 0xE9, 0xFFFD}));
    EXPECT_EQ(i, 5);
    EXPECT_EQ(s.iterateCodePoints(&i, -1), 0xFFFDu);
    EXPECT_EQ(i, 4);
    EXPECT_EQ(s.iterateCodePoints(&i, -2), 0x1F600u);
    EXPECT_EQ(i, 1);
    // A lone surrogate is its own code point.
    OUString lone(u"\xD800x");
    i = 0;
    EXPECT_EQ(lone.iterateCodePoints(&i), 0xD800u);
    EXPECT_EQ(i, 1);
}

TEST(OUStringMembers, ToDoubleReadsTheLeadingNumber) {
    struct Case {
        const char16_t* text;
        double value;
    };
    const Case cases[] = {{u"3.25", 3.25}, {u" -1e3x", -1000}, {u"abc", 0}, {u"", 0}, {u".5", 0.5}};
    for (const auto& c : cases) {
        SCOPED_TRACE(OUString(c.text));
        EXPECT_EQ(OUString(c.text).toDouble(), c.value);
    }
}

TEST(TextConversion, ValidUtf8RoundTrips) {
    const std::string utf8 = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\xEF\xBF\xBF\xF4\x8F\xBF\xBF";
    OUString s = OUString::fromUtf8(utf8);
    EXPECT_EQ(s, u"a\u00E9\u20AC\U0001F600\uFFFF\U0010FFFF");
    OString back;
    ASSERT_TRUE(s.convertToString(&back, RTL_TEXTENCODING_UTF8, RTL_UNICODETOTEXT_FLAGS_STRICT));
    EXPECT_EQ(back.toStdString(), utf8);
    EXPECT_EQ(s.toUtf8().toStdString(), utf8);
    std::ostringstream os;
    os << s;
    EXPECT_EQ(os.str(), utf8);
}

TEST(TextConversion, InvalidUtf8IsReplacedByDefaultAndAnErrorWhenStrict) {
    struct Case {
        const char* what;
        std::string bytes;
        const char16_t* replaced;
    };
    const Case cases[] = {
        {"lone continuation byte", "a\x80z", u"a\uFFFDz"},
        {"overlong slash", "\xC0\xAF", u"\uFFFD\uFFFD"},
        {"overlong three-byte", "\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD"},
        {"overlong four-byte", "\xF0\x80\x80\xAF", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
        {"encoded high surrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
        {"encoded low surrogate", "\xED\xBF\xBF", u"\uFFFD\uFFFD\uFFFD"},
        {"above U+10FFFF", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
        {"five-byte form", "\xF8\x88\x80\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD"},
        {"truncated two-byte", "x\xC3", u"x\uFFFD"},
        {"truncated three-byte", "\xE2\x82", u"\uFFFD"},
        {"truncated four-byte then ASCII", "\xF0\x9F\x98z", u"\uFFFDz"},
        {"invalid byte FF", "\xFF", u"\uFFFD"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto len = static_cast<sal_Int32>(c.bytes.size());
        EXPECT_EQ(OUString(c.bytes.data(), len, RTL_TEXTENCODING_UTF8), c.replaced);
        rtl_uString* strict = nullptr;
        EXPECT_FALSE(rtl_convertStringToUString(&strict, c.bytes.data(), len, RTL_TEXTENCODING_UTF8,
                                                RTL_TEXTTOUNICODE_FLAGS_STRICT));
        ASSERT_NE(strict, nullptr);
        EXPECT_EQ(strict->length, 0);
        rtl_uString_release(strict);
        rtl_uString* lenient = nullptr;
        EXPECT_TRUE(rtl_convertStringToUString(&lenient, c.bytes.data(), len, RTL_TEXTENCODING_UTF8,
                                               OSTRING_TO_OUSTRING_CVTFLAGS));
        EXPECT_EQ(OUString(lenient, nullptr), c.replaced);
    }
}

TEST(TextConversion, UnconvertibleUtf16IsReplacedByDefaultAndAnErrorWhenStrict) {
    struct Case {
        const char* what;
        std::u16string text;
        rtl_TextEncoding enc;
        std::string replaced;
    };
    const Case cases[] = {
        {"unpaired high surrogate", u"a\xD800z", RTL_TEXTENCODING_UTF8, "a?z"},
        {"unpaired low surrogate at the end", u"a\xDC00", RTL_TEXTENCODING_UTF8, "a?"},
        {"reversed pair", u"\xDC00\xD800", RTL_TEXTENCODING_UTF8, "??"},
        {"non-ASCII to ASCII", u"caf\u00E9", RTL_TEXTENCODING_ASCII_US, "caf?"},
        {"pair to ASCII", u"\U0001F600", RTL_TEXTENCODING_ASCII_US, "?"},
        {"beyond Latin-1", u"\u00E9\u20AC", RTL_TEXTENCODING_ISO_8859_1, "\xE9?"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        OUString s(c.text);
        EXPECT_EQ(rtl::OUStringToOString(s, c.enc).toStdString(), c.replaced);
        OString strict("previous");
        EXPECT_FALSE(s.convertToString(&strict, c.enc, RTL_UNICODETOTEXT_FLAGS_STRICT));
        EXPECT_TRUE(strict.isEmpty());
        OString lenient;
        EXPECT_TRUE(s.convertToString(&lenient, c.enc, OUSTRING_TO_OSTRING_CVTFLAGS));
        EXPECT_EQ(lenient.toStdString(), c.replaced);
    }
}

TEST(TextConversion, SingleByteEncodings) {
    const std::string bytes = "A\xE9\xFF";
    EXPECT_EQ(OUString(bytes.data(), 3, RTL_TEXTENCODING_ISO_8859_1, RTL_TEXTTOUNICODE_FLAGS_STRICT), u"A\u00E9\u00FF");
    EXPECT_EQ(OUString(bytes.data(), 3, RTL_TEXTENCODING_ASCII_US), u"A\uFFFD\uFFFD");
    EXPECT_TRUE(OUString(bytes.data(), 3, RTL_TEXTENCODING_ASCII_US, RTL_TEXTTOUNICODE_FLAGS_STRICT).isEmpty());
    EXPECT_EQ(rtl::OStringToOUString(OString("plain"), RTL_TEXTENCODING_ASCII_US), u"plain");
    rtl_uString* out = nullptr;
    EXPECT_FALSE(rtl_convertStringToUString(&out, "x", 1, RTL_TEXTENCODING_DONTKNOW, OSTRING_TO_OUSTRING_CVTFLAGS));
    rtl_uString_release(out);
}

TEST(TextConversion, ThreadEncodingFollowsTheLocaleEnvironment) {
    struct Case {
        const char* lcAll;
        const char* lcCtype;
        const char* lang;
        rtl_TextEncoding enc;
    };
    const Case cases[] = {
        {nullptr, nullptr, nullptr, RTL_TEXTENCODING_UTF8},
        {nullptr, nullptr, "C", RTL_TEXTENCODING_UTF8},
        {nullptr, nullptr, "de_DE.UTF-8", RTL_TEXTENCODING_UTF8},
        {nullptr, nullptr, "de_DE.ISO-8859-1", RTL_TEXTENCODING_ISO_8859_1},
        {nullptr, nullptr, "fr_FR.iso88591@euro", RTL_TEXTENCODING_ISO_8859_1},
        {nullptr, "en_US.ANSI_X3.4-1968", "de_DE.UTF-8", RTL_TEXTENCODING_ASCII_US},
        {"en_US.UTF-8", "en_US.ISO-8859-1", nullptr, RTL_TEXTENCODING_UTF8},
        {"", "en_US.ISO-8859-1", nullptr, RTL_TEXTENCODING_ISO_8859_1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.lcAll ? c.lcAll : "-") << " " << (c.lcCtype ? c.lcCtype : "-") << " "
                                        << (c.lang ? c.lang : "-"));
        salqx_test::EnvGuard a("LC_ALL", c.lcAll), b("LC_CTYPE", c.lcCtype), l("LANG", c.lang);
        EXPECT_EQ(osl_getThreadTextEncoding(), c.enc);
    }
}

TEST(Character, ClassesAreDisjointWhereTheyShouldBe) {
    struct Case {
        sal_uInt32 c;
        bool upper, lower, digit, white;
    };
    const Case cases[] = {
        {'A', true, false, false, false}, {'Z', true, false, false, false}, {'a', false, true, false, false},
        {'z', false, true, false, false}, {'0', false, false, true, false}, {'9', false, false, true, false},
        {' ', false, false, false, true}, {'\t', false, false, false, true}, {'\r', false, false, false, true},
        {'@', false, false, false, false}, {'[', false, false, false, false}, {'`', false, false, false, false},
        {'{', false, false, false, false}, {0xC4, false, false, false, false}, {0xA0, false, false, false, false},
        {0x0E, false, false, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.c);
        EXPECT_EQ(rtl::isAsciiUpperCase(c.c), c.upper);
        EXPECT_EQ(rtl::isAsciiLowerCase(c.c), c.lower);
        EXPECT_EQ(rtl::isAsciiDigit(c.c), c.digit);
        EXPECT_EQ(rtl::isAsciiWhiteSpace(c.c), c.white);
        EXPECT_EQ(rtl::isAsciiAlpha(c.c), c.upper || c.lower);
        EXPECT_EQ(rtl::isAsciiAlphanumeric(c.c), c.upper || c.lower || c.digit);
        EXPECT_EQ(rtl::toAsciiLowerCase(c.c), c.upper ? c.c + 32 : c.c);
        EXPECT_EQ(rtl::toAsciiUpperCase(c.c), c.lower ? c.c - 32 : c.c);
    }
    EXPECT_EQ(rtl::combineSurrogates(0xD83D, 0xDE00), 0x1F600u);
    EXPECT_TRUE(rtl::isHighSurrogate(0xDBFF));
    EXPECT_FALSE(rtl::isHighSurrogate(0xDC00));
    EXPECT_TRUE(rtl::isLowSurrogate(0xDC00));
    EXPECT_FALSE(rtl::isLowSurrogate(0xE000));
}

TEST(OString, BasicMembers) {
    OString s("Package.Key");
    EXPECT_EQ(s.indexOf('.'), 7);
    EXPECT_EQ(s.indexOf("Key"), 8);
    EXPECT_EQ(s.lastIndexOf('e'), 9);
    EXPECT_EQ(s.copy(8), "Key");
    EXPECT_EQ(s.copy(0, 7), "Package");
    EXPECT_EQ(s.toAsciiLowerCase(), "package.key");
    EXPECT_EQ(s + ".x", "Package.Key.x");
    EXPECT_EQ(OString::number(-12), "-12");
    OString copy = s;
    EXPECT_EQ(copy.pData, s.pData);
    EXPECT_EQ(s.pData->refCount.load(), 2);
    EXPECT_EQ(OString().pData, OString("").pData);
}

} // namespace
