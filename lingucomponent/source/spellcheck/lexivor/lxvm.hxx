#pragma once
// The rule virtual machine: a small, forgiving stack machine that evaluates the
// bytecode of rule conditions, computed suggestions and computed messages.
//
// A run computes one Value from the matched text, the locale, the package's
// constants and options and the answers of the Host.  It never throws for bad
// code (only memory exhaustion escapes): popping an empty stack gives None,
// unsuitable kinds give None, false or an empty string, and malformed code ends
// the run with None.  The instruction set is listed in lxops.hxx.
//
// A run is bounded, so that no package can hang the proofreading of a
// paragraph: it ends with None, logging a warning, after maxInstructions
// executed instructions, or once it has used up maxWork units of work.  String
// operations count the UTF-16 units that they read and produce, pattern
// instructions the length of their input, and every call of a host service
// counts hostCallWork.  Real rule code executes a few dozen instructions on
// strings of a paragraph's size and stays far below both bounds; they stop code
// whose jumps loop forever or that grows strings without end.
//
// Typical runs allocate nothing but the strings that they produce: the value
// stack keeps its first eight values inside the run, string constants are
// searched in place in the mapped package, and values share string storage.

#include <com/qam/vexo/lang/Locale.hxx>
#include <rtl/ustring.hxx>

#include <unicode/uversion.h>

#include <vector>

U_NAMESPACE_BEGIN
class RegexMatcher;
U_NAMESPACE_END

namespace lexivor {

class RuleFile;

// A tagged value.  Every value carries all fields; those that do not belong to
// its kind hold their neutral values (false, 0, empty string, empty list), so
// operations that read `str` of any value see "" for a non-string.
struct Value {
    enum class Kind : unsigned char { None = 0, Boolean = 1, Integer = 2, String = 3, List = 4, Constant = 5 };

    Kind kind = Kind::None;
    bool flag = false;           // Boolean payload
    int number = 0;              // Integer payload; a Constant's index in the package
    OUString str;                // String payload
    std::vector<OUString> items; // List payload

    static Value boolean(bool b) {
        Value v;
        v.kind = Kind::Boolean;
        v.flag = b;
        return v;
    }
    static Value integer(int i) {
        Value v;
        v.kind = Kind::Integer;
        v.number = i;
        return v;
    }
    static Value string(OUString s) {
        Value v;
        v.kind = Kind::String;
        v.str = std::move(s);
        return v;
    }
    static Value list(std::vector<OUString> l) {
        Value v;
        v.kind = Kind::List;
        v.items = std::move(l);
        return v;
    }
    static Value constant(unsigned int index) {
        Value v;
        v.kind = Kind::Constant;
        v.number = static_cast<int>(index);
        return v;
    }

    // None never; Boolean its flag; Integer non-zero; String and List non-empty;
    // Constant always.
    bool isTrue() const;

    friend bool operator==(const Value&, const Value&) = default;
};

// The services that rule code reaches through the Call instruction and the
// pattern instructions.  The proofreading service implements it.  Operations
// return by value and must not throw for ordinary input.  Slot order matters:
// it is the order below, after the destructor.
class Host {
public:
    virtual ~Host() = default;
    // Whether the word is spelled correctly.
    virtual bool spell(const com::qam::vexo::lang::Locale& locale, const OUString& word) = 0;
    // The part of the word's analyses that the pattern matches, or "".
    virtual OUString morph(const com::qam::vexo::lang::Locale& locale, const OUString& word, const OUString& pattern,
                           bool all, bool onlyLastItem) = 0;
    // The value converted between units, in a few roundings, one per line.
    virtual OUString measurement(const OUString& value, const OUString& fromUnit, const OUString& toUnit,
                                 const OUString& suffix, const OUString& decimalSeparator,
                                 const OUString& thousandsSeparator, bool fractions) = 0;
    virtual std::vector<OUString> stem(const com::qam::vexo::lang::Locale& locale, const OUString& word) = 0;
    virtual std::vector<OUString> generate(const com::qam::vexo::lang::Locale& locale, const OUString& word,
                                           const OUString& example) = 0;
    // Suggestions separated by U+000A.
    virtual OUString suggest(const com::qam::vexo::lang::Locale& locale, const OUString& word) = 0;
    // The number in words for a BCP 47 language tag, or "".
    virtual OUString numberText(const OUString& number, const OUString& languageTag) = 0;
    // A matcher compiled from the Pattern constant at the index, or null when the
    // constant is not a Pattern or does not compile.  The host owns it and may hand
    // out the same object again; a run only resets and queries it, and leaves it
    // reset to an empty input, holding nothing of the run's strings.
    virtual icu::RegexMatcher* getConstantMatcher(unsigned int index) = 0;
};

// Everything a run may consult.  The caller owns all of it and keeps it alive
// for the run; the machine only reads it.  A context must not be used by two
// runs at once while they share `matcher`.
struct Context {
    const RuleFile& file;
    const com::qam::vexo::lang::Locale& locale;
    const OUString& text;             // the paragraph being checked
    const std::vector<bool>& options; // current option values, in option-table order
    icu::RegexMatcher* matcher;       // the rule's matcher on the current match, or null
    Host& host;
};

inline constexpr unsigned long maxInstructions = 1'000'000;
inline constexpr unsigned long long maxWork = 64ULL * 1024 * 1024;
inline constexpr unsigned long long hostCallWork = 4096;

struct RunLimits {
    unsigned long instructions = maxInstructions;
    unsigned long long work = maxWork;
};

// Runs the expression that starts at `code` (from RuleFile::getCode) and returns
// its value.  None when code is null or outside the package's code section, when
// the code falls off the end of the section without Return, or is malformed.
Value run(const Context& context, const unsigned char* code);
// The same with other bounds (tests and fuzzing use smaller ones).
Value run(const Context& context, const unsigned char* code, const RunLimits& limits);

} // namespace lexivor
