#pragma once
// Number format codes of the stand-in spreadsheet: parsing a code into
// sections and showing a number through it.  The document's table of codes and
// keys lives in the core (sheetcore.hxx).
//
// A code has up to four sections separated by ";" (positive, negative, zero,
// text), each with an optional [colour] ([Red], [COLOR3]) and [condition]
// ([<100], [>=5]), quoted ("...") and escaped (\x) literals, "_x" (a blank the
// width of x) and "*x" (fill, shown as nothing), digit placeholders 0 # ?,
// a decimal point, grouping (",") and percent, an exponent (E+00, E-0),
// date and time tokens (YY YYYY M MM MMM MMMM D DD DDD DDDD H HH M MM S SS,
// AM/PM, [h] [mm] [ss]), "@" for text and "General".
//
// It shows less than a full number formatter: colours are parsed but not shown,
// literals between digit placeholders are written after the number, scaling by
// trailing commas and fractions are not supported (a "/" is a literal), and
// names of months and days are English.

#include <rtl/ustring.hxx>

#include <vector>

namespace officehost::sheetcore {

struct FormatToken {
    enum Kind { Literal, Number, Text, General, Year, Month, MonthName, Day, DayName, Hour, Minute, Second, AmPm };
    Kind kind = Literal;
    OUString text;   // literals
    int width = 0;   // date and time tokens: the letters written (YYYY: 4)
};

struct FormatSection {
    std::vector<FormatToken> tokens;
    bool hasCondition = false;
    OUString conditionOp;  // "<", ">", "=", "<=", ">=", "<>"
    double conditionValue = 0;
    bool dateTime = false;
    bool percent = false;
    bool grouping = false;
    int intZeros = 0;      // 0 placeholders before the point
    int decZeros = 0;      // 0 placeholders after it
    int decOptional = 0;   // # and ? placeholders after it
    bool exponent = false;
    bool exponentPlus = false;
    int exponentZeros = 0;
};

struct NumberFormatCode {
    std::vector<FormatSection> sections;
    bool dateTime() const { return !sections.empty() && sections[0].dateTime; }
};

// Parses a code; false with the reason in *error when it is malformed.
bool parseNumberFormat(const OUString& code, NumberFormatCode& out, OUString* error);
// The text that a number shows through the code.
OUString formatNumber(const NumberFormatCode& code, double value);

} // namespace officehost::sheetcore
