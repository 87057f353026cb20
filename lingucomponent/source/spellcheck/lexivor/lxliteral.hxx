#pragma once
// The literal text that every match of a rule's expression contains.
//
// A paragraph that lacks it cannot match, so the service skips the expression
// there without starting the regex engine: the trigram pre-check keeps a rule
// only when one of its trigrams occurs somewhere, this test asks for the whole
// literal.  The analysis is conservative: whatever it does not fully understand
// (inline flags, \Q...\E, case-insensitive or comment mode, malformed
// syntax) yields no literal, so a rule is never skipped wrongly.  An alternation
// whose every alternative has a literal requires one of them.

#include <rtl/ustring.hxx>

#include <vector>

namespace lexivor {

// flags: the ICU flags the expression is compiled with.  Returns the texts of
// which every match contains at least one (one text for a plain literal, one per
// alternative for an alternation), or nothing when there is no test to make.
std::vector<OUString> requiredText(const OUString& pattern, sal_uInt32 flags);

} // namespace lexivor
