// Column widths in pixels as the spreadsheet model passes them to the host.

#include "units.hxx"

#include <zel/uno/Exception.hxx>

#include <cstdint>

namespace corvane::detail {

int pixelsToHundredthMm(int pixels) {
    if (pixels < 0)
        throw ::zel::uno::RuntimeException(u"expected a non-negative width in pixels, got " + ::rtl::OUString::number(pixels));
    // 24 * 2147483647 + 23: the largest numerator whose quotient by 24 fits 32 bits.
    constexpr std::int64_t kLargest = 51539607551;
    const std::int64_t t = static_cast<std::int64_t>(pixels) * 635 + 12;
    if (t > kLargest)
        throw ::zel::uno::RuntimeException(
            u"expected a width in pixels that fits the page coordinate range, got " + ::rtl::OUString::number(pixels));
    return static_cast<int>(t / 24);
}

} // namespace corvane::detail
