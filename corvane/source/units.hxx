#pragma once
// Conversions between the scripting side's lengths and colours and the host's:
// points (1/72 inch) and pixels (1/96 inch) to hundredths of a millimetre, and
// colour texts to 0x00RRGGBB.  They check the range of what they convert and
// fail with the same messages wherever they are used; they change nothing, so
// callers convert every argument before they write anything to the host.
//
// The points and colour conversions live with the presentation model
// (presentation/units.cxx), the pixel conversion with the spreadsheet model
// (spreadsheet/units.cxx).

#include <rtl/ustring.hxx>
#include <sal/types.h>

namespace corvane::detail {

// Points to hundredths of a millimetre, rounded half away from zero.
// RuntimeException when the result leaves the 32-bit range or points is NaN.
int pointsToHundredthMm(double points);

// As pointsToHundredthMm, for sizes: RuntimeException for a negative size or NaN.
int extentToHundredthMm(double points);

// Pixels to hundredths of a millimetre, rounded half up.  RuntimeException for a
// negative width or one whose result leaves the 32-bit range.
int pixelsToHundredthMm(int pixels);

// "#rrggbb" (either case) or a colour name the host knows, as 0x00RRGGBB.
// RuntimeException for anything else.
sal_uInt32 parseColor(const ::rtl::OUString& text);

// A host length in points, unrounded: lengths read back exactly as the host holds them.
inline double hundredthMmToPoints(sal_Int32 hundredthMm) {
    return static_cast<double>(hundredthMm) * 0.028346456692913385;
}

} // namespace corvane::detail
