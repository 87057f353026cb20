#pragma once
// The longest literal text that every match of a rule's expression contains.
//
// A paragraph that lacks it cannot match, so the service skips the expression
// there without starting the regex engine: the trigram pre-check keeps a rule
// only when one of its trigrams occurs somewhere, this test asks for the whole
// literal.  The analysis is conservative: whatever it does not fully understand
// (alternation, inline flags, \Q...\E, case-insensitive or comment mode, malformed
// syntax) yields no literal, so a rule is never skipped wrongly.

#include <rtl/ustring.hxx>

namespace lexivor {

// flags: the ICU flags the expression is compiled with.  Returns an empty string
// when there is no literal of at least two code units to test for.
OUString requiredLiteral(const OUString& pattern, sal_uInt32 flags);

} // namespace lexivor
