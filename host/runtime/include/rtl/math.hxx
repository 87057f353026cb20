#pragma once
// Number formatting, parsing and rounding of the runtime.

#include <rtl/ustring.hxx>

extern "C" {

enum rtl_math_StringFormat {
    rtl_math_StringFormat_E,         // exponent notation, decPlaces digits after the point
    rtl_math_StringFormat_F,         // fixed notation, decPlaces digits after the point
    rtl_math_StringFormat_G,         // decPlaces significant digits, fixed or exponent
    rtl_math_StringFormat_Automatic  // fixed or exponent, whichever the magnitude calls for
};

enum rtl_math_ConversionStatus {
    rtl_math_ConversionStatus_Ok,
    rtl_math_ConversionStatus_OutOfRange
};

enum rtl_math_RoundingMode {
    rtl_math_RoundingMode_Corrected, // halves away from zero, after removing representation noise
    rtl_math_RoundingMode_Down,      // towards zero
    rtl_math_RoundingMode_Up,        // away from zero
    rtl_math_RoundingMode_Floor,
    rtl_math_RoundingMode_Ceiling,
    rtl_math_RoundingMode_HalfDown,
    rtl_math_RoundingMode_HalfUp,
    rtl_math_RoundingMode_HalfEven
};

// The largest decimal count; with the automatic format it asks for the shortest
// digits that read back as the same value.
#define rtl_math_DecimalPlaces_Max 0x7ffffff

// Formats value into a new string in *result (replacing what it held).  Digits are
// rounded, halves away from zero, from the shortest decimal text of the value (2.675
// to two places is "2.68").  E writes "1.50E+03"; G uses decPlaces significant digits;
// Automatic writes fixed notation for decimal exponents in [-4, 15), else "1E+15".
// Non-finite values give "inf", "-inf" or "nan".
SALQX_DLLPUBLIC void rtl_math_doubleToUString(rtl_uString** result, double value, rtl_math_StringFormat format,
                                              sal_Int32 decPlaces, sal_Unicode decSeparator,
                                              bool eraseTrailingDecZeros);

// Parses a decimal number (leading blanks skipped, then optional sign, digits with an optional decSeparator part,
// optional exponent; "INF" and "NaN" are not accepted) from [begin, end).  *parsedEnd
// is set after the last character used (== begin when nothing was read), *status to
// OutOfRange when the value overflows (the result is then +-HUGE_VAL).
// groupSeparator, when not 0, may appear between integer digits.
SALQX_DLLPUBLIC double rtl_math_uStringToDouble(const sal_Unicode* begin, const sal_Unicode* end,
                                                sal_Unicode decSeparator, sal_Unicode groupSeparator,
                                                rtl_math_ConversionStatus* status,
                                                const sal_Unicode** parsedEnd);

SALQX_DLLPUBLIC double rtl_math_round(double value, int decimalPlaces, rtl_math_RoundingMode mode);
// value * 10^exp, computed so that exact decimal inputs stay exact where possible.
SALQX_DLLPUBLIC double rtl_math_pow10Exp(double value, int exp);
}

namespace rtl::math {
inline OUString doubleToUString(double value, rtl_math_StringFormat format, sal_Int32 decPlaces,
                                sal_Unicode decSeparator, bool eraseTrailingDecZeros = false) {
    OUString s;
    rtl_math_doubleToUString(&s.pData, value, format, decPlaces, decSeparator, eraseTrailingDecZeros);
    return s;
}
inline double round(double value, int decimalPlaces = 0, rtl_math_RoundingMode mode = rtl_math_RoundingMode_Corrected) {
    return rtl_math_round(value, decimalPlaces, mode);
}
inline double pow10Exp(double value, int exp) { return rtl_math_pow10Exp(value, exp); }
} // namespace rtl::math
