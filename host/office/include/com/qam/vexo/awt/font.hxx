#pragma once
// Font values of character properties (module com.qam.vexo.awt).

#include <zel/uno/Type.hxx>

namespace com::qam::vexo::awt {

// "CharPosture".
enum FontSlant {
    FontSlant_NONE,
    FontSlant_OBLIQUE,
    FontSlant_ITALIC,
    FontSlant_DONTKNOW,
    FontSlant_REVERSE_OBLIQUE,
    FontSlant_REVERSE_ITALIC
};

// "CharWeight" (float).
namespace FontWeight {
constexpr float DONTKNOW = 0.0f;
constexpr float THIN = 50.0f;
constexpr float ULTRALIGHT = 60.0f;
constexpr float LIGHT = 75.0f;
constexpr float SEMILIGHT = 90.0f;
constexpr float NORMAL = 100.0f;
constexpr float SEMIBOLD = 110.0f;
constexpr float BOLD = 150.0f;
constexpr float ULTRABOLD = 175.0f;
constexpr float BLACK = 200.0f;
} // namespace FontWeight

// "CharUnderline" (short).
namespace FontUnderline {
constexpr sal_Int16 NONE = 0;
constexpr sal_Int16 SINGLE = 1;
constexpr sal_Int16 DOUBLE = 2;
constexpr sal_Int16 DOTTED = 3;
constexpr sal_Int16 DONTKNOW = 4;
constexpr sal_Int16 DASH = 5;
constexpr sal_Int16 WAVE = 10;
} // namespace FontUnderline

// "CharStrikeout" (short).
namespace FontStrikeout {
constexpr sal_Int16 NONE = 0;
constexpr sal_Int16 SINGLE = 1;
constexpr sal_Int16 DOUBLE = 2;
constexpr sal_Int16 DONTKNOW = 3;
constexpr sal_Int16 BOLD = 4;
constexpr sal_Int16 SLASH = 5;
constexpr sal_Int16 X = 6;
} // namespace FontStrikeout

} // namespace com::qam::vexo::awt

ZEL_UNO_DECLARE_TYPE(::com::qam::vexo::awt::FontSlant, ENUM, "com.qam.vexo.awt.FontSlant")
