// Number formatting, parsing and rounding of rtl_math.

#include <rtl/math.hxx>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

constexpr sal_Int32 kMax = rtl_math_DecimalPlaces_Max;

TEST(MathFormat, FormatsAndDecimalCounts) {
    struct Case {
        double value;
        rtl_math_StringFormat format;
        sal_Int32 decPlaces;
        bool erase;
        const char16_t* text;
    };
    const Case cases[] = {
        {2000.0, rtl_math_StringFormat_Automatic, kMax, true, u"2000"},
        {3.25, rtl_math_StringFormat_Automatic, kMax, true, u"3.25"},
        {0.1, rtl_math_StringFormat_Automatic, kMax, true, u"0.1"},
        {-0.5, rtl_math_StringFormat_Automatic, kMax, true, u"-0.5"},
        {1.0 / 3, rtl_math_StringFormat_Automatic, kMax, true, u"0.3333333333333333"},
        {0.0001, rtl_math_StringFormat_Automatic, kMax, true, u"0.0001"},
        {0.00001, rtl_math_StringFormat_Automatic, kMax, true, u"1E-05"},
        {999999999999999.0, rtl_math_StringFormat_Automatic, kMax, true, u"999999999999999"},
        {1e15, rtl_math_StringFormat_Automatic, kMax, true, u"1E+15"},
        {1.25e300, rtl_math_StringFormat_Automatic, kMax, true, u"1.25E+300"},
        {212.00000000000003, rtl_math_StringFormat_Automatic, kMax, true, u"212.00000000000003"},
        {3.14159, rtl_math_StringFormat_Automatic, 2, false, u"3.14"},
        {2.5, rtl_math_StringFormat_F, 0, true, u"3"},
        {-2.5, rtl_math_StringFormat_F, 0, true, u"-3"},
        {0.5, rtl_math_StringFormat_F, 0, false, u"1"},
        {2.675, rtl_math_StringFormat_F, 2, false, u"2.68"},
        {1.005, rtl_math_StringFormat_F, 2, false, u"1.01"},
        {0.125, rtl_math_StringFormat_F, 2, false, u"0.13"},
        {1.5, rtl_math_StringFormat_F, 3, false, u"1.500"},
        {1.5, rtl_math_StringFormat_F, 3, true, u"1.5"},
        {2.0, rtl_math_StringFormat_F, 2, true, u"2"},
        {99.96, rtl_math_StringFormat_F, 1, false, u"100.0"},
        {-0.4, rtl_math_StringFormat_F, 0, false, u"0"},
        {-0.0, rtl_math_StringFormat_F, 1, false, u"0.0"},
        {1e20, rtl_math_StringFormat_F, 0, false, u"100000000000000000000"},
        {0.000123, rtl_math_StringFormat_F, kMax, false, u"0.000123"},
        {1234.5, rtl_math_StringFormat_E, 2, false, u"1.23E+03"},
        {1235.0, rtl_math_StringFormat_E, 2, false, u"1.24E+03"},
        {-0.00012, rtl_math_StringFormat_E, 3, true, u"-1.2E-04"},
        {9.99, rtl_math_StringFormat_E, 1, false, u"1.0E+01"},
        {0.0, rtl_math_StringFormat_E, 1, false, u"0.0E+00"},
        {1234.5, rtl_math_StringFormat_G, 3, false, u"1.23E+03"},
        {123.456, rtl_math_StringFormat_G, 4, false, u"123.5"},
        {0.0001234, rtl_math_StringFormat_G, 2, false, u"0.00012"},
        {100.0, rtl_math_StringFormat_G, 5, true, u"100"},
        {std::numeric_limits<double>::quiet_NaN(), rtl_math_StringFormat_F, 2, false, u"nan"},
        {std::numeric_limits<double>::infinity(), rtl_math_StringFormat_Automatic, kMax, true, u"inf"},
        {-std::numeric_limits<double>::infinity(), rtl_math_StringFormat_E, 2, false, u"-inf"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.value << " format " << c.format << " places " << c.decPlaces);
        EXPECT_EQ(rtl::math::doubleToUString(c.value, c.format, c.decPlaces, '.', c.erase), c.text);
    }
}

TEST(MathFormat, DecimalSeparatorIsHonoured) {
    EXPECT_EQ(rtl::math::doubleToUString(2000.5, rtl_math_StringFormat_Automatic, kMax, ',', true), u"2000,5");
    EXPECT_EQ(rtl::math::doubleToUString(1.5, rtl_math_StringFormat_F, 2, ',', false), u"1,50");
    EXPECT_EQ(rtl::math::doubleToUString(1500.0, rtl_math_StringFormat_E, 1, ',', false), u"1,5E+03");
    // Zeros are erased only after the separator in use.
    EXPECT_EQ(rtl::math::doubleToUString(1000.0, rtl_math_StringFormat_F, 1, ',', true), u"1000");
}

TEST(MathFormat, ReplacesTheResultString) {
    OUString s(u"old");
    OUString keep = s;
    rtl_math_doubleToUString(&s.pData, 7.0, rtl_math_StringFormat_F, 0, '.', false);
    EXPECT_EQ(s, u"7");
    EXPECT_EQ(keep, u"old");
}

TEST(MathParse, ReadsNumbersAndReportsTheEnd) {
    struct Case {
        const char16_t* text;
        sal_Unicode decSep;
        sal_Unicode groupSep;
        double value;
        int consumed;
        rtl_math_ConversionStatus status;
    };
    const auto ok = rtl_math_ConversionStatus_Ok;
    const auto out = rtl_math_ConversionStatus_OutOfRange;
    const Case cases[] = {
        {u"3.25", '.', 0, 3.25, 4, ok},
        {u"-12", '.', 0, -12, 3, ok},
        {u"+7x", '.', 0, 7, 2, ok},
        {u"1e", '.', 0, 1, 1, ok},
        {u"1e+", '.', 0, 1, 1, ok},
        {u"1E-2*", '.', 0, 0.01, 4, ok},
        {u".", '.', 0, 0, 0, ok},
        {u"-.", '.', 0, 0, 0, ok},
        {u".5", '.', 0, 0.5, 2, ok},
        {u"5.", '.', 0, 5, 2, ok},
        {u"", '.', 0, 0, 0, ok},
        {u"abc", '.', 0, 0, 0, ok},
        {u"  42", '.', 0, 42, 4, ok},
        {u"1,5", ',', 0, 1.5, 3, ok},
        {u"1,5", '.', 0, 1, 1, ok},
        {u"1.000,5", ',', '.', 1000.5, 7, ok},
        {u"1..5", ',', '.', 1, 1, ok},
        {u"1.", ',', '.', 1, 1, ok},
        {u"INF", '.', 0, 0, 0, ok},
        {u"NaN", '.', 0, 0, 0, ok},
        {u"0.1", '.', 0, 0.1, 3, ok},
        {u"2*3+1", '.', 0, 2, 1, ok},
        {u"1e999", '.', 0, HUGE_VAL, 5, out},
        {u"-1e999", '.', 0, -HUGE_VAL, 6, out},
        {u"123456789e305", '.', 0, HUGE_VAL, 13, out},
        {u"1e-999", '.', 0, 0, 6, ok},
        {u"0.0000001e-400", '.', 0, 0, 14, ok},
        {u"4.9e-324", '.', 0, 4.9e-324, 8, ok},
        {u"1.7976931348623157e308", '.', 0, 1.7976931348623157e308, 22, ok},
        {u"0e99999", '.', 0, 0, 7, ok},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(OUString(c.text));
        OUString text(c.text);
        rtl_math_ConversionStatus status = rtl_math_ConversionStatus_OutOfRange;
        const sal_Unicode* end = nullptr;
        double v = rtl_math_uStringToDouble(text.getStr(), text.getStr() + text.getLength(), c.decSep, c.groupSep,
                                            &status, &end);
        EXPECT_EQ(v, c.value);
        EXPECT_EQ(end - text.getStr(), c.consumed);
        EXPECT_EQ(status, c.status);
    }
}

TEST(MathParse, ReadsBackWhatTheFormatterWrites) {
    const double values[] = {0.1, 1.0 / 3, 123456.789, 1e-300, 6.02214076e23, -2.5e-7};
    for (double v : values) {
        SCOPED_TRACE(v);
        OUString s = rtl::math::doubleToUString(v, rtl_math_StringFormat_Automatic, kMax, '.', true);
        EXPECT_EQ(rtl_math_uStringToDouble(s.getStr(), s.getStr() + s.getLength(), '.', 0, nullptr, nullptr), v);
    }
}

TEST(MathRound, ModesAndDecimals) {
    struct Case {
        double value;
        int places;
        rtl_math_RoundingMode mode;
        double result;
    };
    const Case cases[] = {
        {2.675, 2, rtl_math_RoundingMode_Corrected, 2.68},
        {1.005, 2, rtl_math_RoundingMode_Corrected, 1.01},
        {0.5, 0, rtl_math_RoundingMode_Corrected, 1},
        {-0.5, 0, rtl_math_RoundingMode_Corrected, -1},
        {1.5, 0, rtl_math_RoundingMode_Corrected, 2},
        {2.5, 0, rtl_math_RoundingMode_Corrected, 3},
        {0.49999999999999994, 0, rtl_math_RoundingMode_Corrected, 1},  // representation noise of 0.5
        {1.0049999999999999, 2, rtl_math_RoundingMode_Corrected, 1.01},
        {0.1 + 0.2, 1, rtl_math_RoundingMode_Corrected, 0.3},
        {1234.5678, -2, rtl_math_RoundingMode_Corrected, 1200},
        {1250, -2, rtl_math_RoundingMode_Corrected, 1300},
        {49, -2, rtl_math_RoundingMode_Corrected, 0},
        {50, -2, rtl_math_RoundingMode_Corrected, 100},
        {999.96, 1, rtl_math_RoundingMode_Corrected, 1000},
        {3.14159, 10, rtl_math_RoundingMode_Corrected, 3.14159},
        {2.679, 2, rtl_math_RoundingMode_Down, 2.67},
        {-2.679, 2, rtl_math_RoundingMode_Down, -2.67},
        {2.671, 2, rtl_math_RoundingMode_Up, 2.68},
        {-2.671, 2, rtl_math_RoundingMode_Up, -2.68},
        {-2.671, 2, rtl_math_RoundingMode_Floor, -2.68},
        {2.679, 2, rtl_math_RoundingMode_Floor, 2.67},
        {-2.679, 2, rtl_math_RoundingMode_Ceiling, -2.67},
        {2.671, 2, rtl_math_RoundingMode_Ceiling, 2.68},
        {2.5, 0, rtl_math_RoundingMode_HalfDown, 2},
        {-2.5, 0, rtl_math_RoundingMode_HalfDown, -2},
        {2.51, 0, rtl_math_RoundingMode_HalfDown, 3},
        {2.5, 0, rtl_math_RoundingMode_HalfUp, 3},
        {-2.5, 0, rtl_math_RoundingMode_HalfUp, -3},
        {2.5, 0, rtl_math_RoundingMode_HalfEven, 2},
        {3.5, 0, rtl_math_RoundingMode_HalfEven, 4},
        {2.665, 2, rtl_math_RoundingMode_HalfEven, 2.66},
        {2.675, 2, rtl_math_RoundingMode_HalfEven, 2.68},
        {0.001, 0, rtl_math_RoundingMode_Up, 1},
        {0.001, 0, rtl_math_RoundingMode_Corrected, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.value << " places " << c.places << " mode " << c.mode);
        EXPECT_EQ(rtl::math::round(c.value, c.places, c.mode), c.result);
    }
    EXPECT_TRUE(std::isnan(rtl::math::round(std::numeric_limits<double>::quiet_NaN(), 2)));
    EXPECT_EQ(rtl::math::round(std::numeric_limits<double>::infinity(), 2), std::numeric_limits<double>::infinity());
}

TEST(MathPow10Exp, ExactForDecimalInputs) {
    struct Case {
        double value;
        int exp;
        double result;
    };
    const Case cases[] = {
        {0.1, 1, 1.0},
        {1.23, -2, 0.0123},
        {3, 3, 3000},
        {2.5, -1, 0.25},
        {0.3, 1, 3.0},
        {1.1, 2, 110.0},
        {5, -324, 5e-324},
        {1, 400, HUGE_VAL},
        {-1, 400, -HUGE_VAL},
        {1, -400, 0},
        {0, 5, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.value << "e" << c.exp);
        EXPECT_EQ(rtl::math::pow10Exp(c.value, c.exp), c.result);
    }
    // Plain multiplication gets this one wrong in the last bit.
    EXPECT_NE(1.1 * 100, 110.0);
}

} // namespace
