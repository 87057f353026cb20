// Points and colour texts as the presentation model (and the spreadsheet
// model's colours and chart sizes) pass them to the host.

#include "units.hxx"

#include <officehost/htmlcolor.hxx>
#include <zel/uno/Exception.hxx>

#include <cmath>

namespace corvane::detail {

namespace {

constexpr double kHundredthMmPerPoint = 35.27777777777778;  // 2540 / 72
constexpr sal_uInt32 kNoColor = 0xFFFFFFFF;

int hexDigit(sal_Unicode c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

} // namespace

int pointsToHundredthMm(double points) {
    // std::round rounds halves away from zero; NaN fails both comparisons.
    const double rounded = std::round(points * kHundredthMmPerPoint);
    if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0))
        throw ::zel::uno::RuntimeException(
            u"expected a length in points that fits the page coordinate range, got " + ::rtl::OUString::number(points));
    return static_cast<int>(rounded);
}

int extentToHundredthMm(double points) {
    if (!(points >= 0))
        throw ::zel::uno::RuntimeException(u"expected a non-negative size in points, got " + ::rtl::OUString::number(points));
    return pointsToHundredthMm(points);
}

sal_uInt32 parseColor(const ::rtl::OUString& text) {
    if (text.getLength() == 7 && text[0] == u'#') {
        sal_uInt32 value = 0;
        bool hex = true;
        for (sal_Int32 i = 1; i < 7 && hex; ++i) {
            const int d = hexDigit(text[i]);
            hex = d >= 0;
            value = value << 4 | static_cast<sal_uInt32>(d);
        }
        if (hex) return value;
    }
    const sal_uInt32 named = GetHTMLColor(text);
    if (named != kNoColor) return named;
    throw ::zel::uno::RuntimeException(u"expected a color in \"#rrggbb\" form or a color name, got " + text);
}

} // namespace corvane::detail
