// Points, pixels and colour texts converted to the host's units: rounding,
// range limits and the exact failure messages.

#include "hosttest.hxx"

#include <units.hxx>

#include <cmath>
#include <limits>

namespace corvane::test {
namespace {

using detail::extentToHundredthMm;
using detail::hundredthMmToPoints;
using detail::parseColor;
using detail::pixelsToHundredthMm;
using detail::pointsToHundredthMm;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(Units, PointsRoundHalfAwayFromZero) {
    const struct {
        double points;
        int expected;
    } cases[] = {{0, 0},          {1, 35},         {0.5, 18},       {-0.5, -18},     {10, 353},
                 {72, 2540},      {0.014, 0},      {-72, -2540},    {-0.0, 0},       {60873552, 2147483640},
                 {-60873552, -2147483640}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.points);
        EXPECT_EQ(pointsToHundredthMm(c.points), c.expected);
        if (c.points >= 0) {
            EXPECT_EQ(extentToHundredthMm(c.points), c.expected);
        }
    }
}

TEST(Units, PointsOutsideTheRangeNameTheArgument) {
    const struct {
        double points;
        const char16_t* message;
    } cases[] = {
        {61000000, u"expected a length in points that fits the page coordinate range, got 61000000"},
        {-61000000, u"expected a length in points that fits the page coordinate range, got -61000000"},
        {60873553.5, u"expected a length in points that fits the page coordinate range, got 60873553.5"},
        {kInf, u"expected a length in points that fits the page coordinate range, got inf"},
        {kNaN, u"expected a length in points that fits the page coordinate range, got nan"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.points);
        expectFailure([&] { pointsToHundredthMm(c.points); }, c.message);
    }
}

TEST(Units, ExtentsRefuseNegativeSizesAndNaNBeforeTheRange) {
    EXPECT_EQ(extentToHundredthMm(-0.0), 0);
    expectFailure([] { extentToHundredthMm(-1); }, u"expected a non-negative size in points, got -1");
    expectFailure([] { extentToHundredthMm(-kInf); }, u"expected a non-negative size in points, got -inf");
    expectFailure([] { extentToHundredthMm(kNaN); }, u"expected a non-negative size in points, got nan");
    expectFailure([] { extentToHundredthMm(61000000); },
                  u"expected a length in points that fits the page coordinate range, got 61000000");
}

TEST(Units, PixelsRoundHalfUpWithinTheRange) {
    const struct {
        int pixels;
        int expected;
    } cases[] = {{0, 0}, {1, 26}, {2, 53}, {96, 2540}, {100, 2646}, {81164736, 2147483640}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pixels);
        EXPECT_EQ(pixelsToHundredthMm(c.pixels), c.expected);
    }
    expectFailure([] { pixelsToHundredthMm(81164737); },
                  u"expected a width in pixels that fits the page coordinate range, got 81164737");
    expectFailure([] { pixelsToHundredthMm(std::numeric_limits<int>::max()); },
                  u"expected a width in pixels that fits the page coordinate range, got 2147483647");
    expectFailure([] { pixelsToHundredthMm(-1); }, u"expected a non-negative width in pixels, got -1");
    expectFailure([] { pixelsToHundredthMm(std::numeric_limits<int>::min()); },
                  u"expected a non-negative width in pixels, got -2147483648");
}

TEST(Units, ColoursFromHexOrTheHostsNames) {
    const struct {
        const char16_t* text;
        sal_uInt32 expected;
    } cases[] = {{u"#FF8000", 0xFF8000}, {u"#ff8000", 0xFF8000}, {u"#000000", 0},        {u"#FFFFFF", 0xFFFFFF},
                 {u"black", 0},          {u"Red", 0xFF0000},     {u"TEAL", 0x008080}, {u"rebeccapurple", 0x663399}};
    for (const auto& c : cases) {
        SCOPED_TRACE(OUString(c.text));
        EXPECT_EQ(parseColor(OUString(c.text)), c.expected);
    }
}

TEST(Units, TextsThatAreNeitherHexNorANameFail) {
    // Not seven units of "#" and hex digits: these go to the name lookup, which knows none of them.
    for (const char16_t* text : {u"#12345", u"#1234567", u"#GG0000", u"#fff", u" red", u"red ", u"transparent", u""}) {
        SCOPED_TRACE(OUString(text));
        expectFailure([&] { parseColor(OUString(text)); },
                      u"expected a color in \"#rrggbb\" form or a color name, got " + std::u16string(text));
    }
}

TEST(Units, HostLengthsReadBackUnrounded) {
    EXPECT_EQ(hundredthMmToPoints(2540), 72.0);
    EXPECT_EQ(hundredthMmToPoints(35), 0.9921259842519685);
    EXPECT_EQ(hundredthMmToPoints(-100), -2.8346456692913384);
}

} // namespace
} // namespace corvane::test
