#pragma once
// The rule machine's instruction set, defined in one place.
//
// Every instruction is one opcode byte followed by its operand bytes.  The list
// below is the only description of the layout: the opcode enumeration, the
// mnemonics, the operand kinds, the interpreter's dispatch (lxvm.cxx), the
// disassembler and the test assembler are all generated from it.  An opcode is
// the instruction's position in the list; the number written beside it is
// checked against that position at compile time, so the list reads as a table.
//
// Jump targets are offsets from the first byte of the expression being run, not
// from the start of the code section.
//
// This header is deliberately free of the runtime and of ICU: the package
// builder of the test support, which also runs at build time, uses it alone.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lexivor {

// What follows the opcode byte.
enum class OperandKind : unsigned char {
    None, // nothing
    U32,  // a 4-byte little-endian unsigned value, at any alignment
    I32,  // the same four bytes read as a signed value
    Call, // two single bytes: host function number, argument count
};

// X(opcode, mnemonic, operand kind, meaning).  Stack effects: bottom to top,
// "->" separating what is popped from what is pushed; an empty pop gives None.
#define LEXIVOR_INSTRUCTIONS(X)                                                                    \
    X(0, Return, None, "end the run with a copy of the top value (None on an empty stack)")          \
    X(1, PushString, U32, "-> String: the string-pool string at the reference")                     \
    X(2, PushInteger, I32, "-> Integer: the operand")                                               \
    X(3, PushBoolean, U32, "-> Boolean: operand != 0")                                              \
    X(4, PushNone, None, "-> None")                                                                 \
    X(5, PushConstant, U32, "-> Constant: the index, unchecked")                                   \
    X(6, PushText, None, "-> String: the paragraph text")                                          \
    X(7, PushTextAlt, None, "-> String: the paragraph text (same as PushText)")                    \
    X(8, PushNoneAlt, None, "-> None (same as PushNone)")                                           \
    X(9, PushLanguage, None, "-> String: the locale's language")                                    \
    X(10, PushCountry, None, "-> String: the locale's country")                                     \
    X(11, PushGroup, U32, "-> String or None: the text of a group of the current match")            \
    X(12, PushGroupStart, U32, "-> Integer: the group's start offset, -1 when unavailable")         \
    X(13, PushGroupEnd, U32, "-> Integer: the group's end offset, -1 when unavailable")             \
    X(14, Not, None, "a -> Boolean: a is not truthy")                                               \
    X(15, JumpIfFalse, U32, "jump when the stack is not empty and its top is not truthy; no pop")   \
    X(16, JumpIfTrue, U32, "jump when the stack is not empty and its top is truthy; no pop")        \
    X(17, Jump, U32, "jump")                                                                        \
    X(18, Pop, None, "a -> : discard the top")                                                      \
    X(19, Equal, None, "a b -> Boolean: same kind and same payload")                                \
    X(20, NotEqual, None, "a b -> Boolean: not Equal")                                              \
    X(21, In, None, "a b -> Boolean: a is a key of constant b, or a substring of string b")        \
    X(22, NotIn, None, "a b -> Boolean: not In")                                                    \
    X(23, Concat, None, "a b -> String: a.str followed by b.str")                                   \
    X(24, Lower, None, "a -> String: a.str lower-cased (root locale)")                              \
    X(25, Upper, None, "a -> String: a.str upper-cased (root locale)")                              \
    X(26, Capitalize, None, "a -> String: first unit upper-cased, the rest lower-cased")            \
    X(27, Replace, None, "text old new count -> String: replace count (Integer) or all")            \
    X(28, Translate, None, "text from to -> String: map units of from to units of to")              \
    X(29, Slice, None, "a start stop -> String or None: units start..stop-1, negatives from end")   \
    X(30, Index, None, "a i -> String or None: word-map value, list item or string unit")           \
    X(31, Search, U32, "a -> Boolean: the pattern constant matches somewhere in a.str")             \
    X(32, Match, U32, "a -> Boolean: the pattern constant matches at the start of a.str")           \
    X(33, Substitute, U32, "text repl -> String: every match of the pattern replaced by repl.str")  \
    X(34, Call, Call, "args -> result: host function f with n arguments")                           \
    X(35, Bool, None, "a -> Boolean: a is truthy")

enum class Op : unsigned char {
#define LEXIVOR_ENUM(code, name, operand, meaning) name = code,
    LEXIVOR_INSTRUCTIONS(LEXIVOR_ENUM)
#undef LEXIVOR_ENUM
};

#define LEXIVOR_COUNT(code, name, operand, meaning) +1
inline constexpr unsigned opCount = 0 LEXIVOR_INSTRUCTIONS(LEXIVOR_COUNT);
#undef LEXIVOR_COUNT
static_assert(opCount == 36, "the package format defines opcodes 0 to 35");

namespace detail {
#define LEXIVOR_CODE(code, name, operand, meaning) code,
inline constexpr unsigned opCodes[] = {LEXIVOR_INSTRUCTIONS(LEXIVOR_CODE)};
#undef LEXIVOR_CODE
constexpr bool opCodesAreConsecutive() {
    for (unsigned i = 0; i < opCount; ++i)
        if (opCodes[i] != i) return false;
    return true;
}
static_assert(opCodesAreConsecutive(), "opcodes must be listed in order without gaps");
} // namespace detail

// The opcode for a byte, or nothing for a byte above the last opcode.
constexpr std::optional<Op> opFromByte(unsigned char byte) {
    if (byte >= opCount) return std::nullopt;
    return static_cast<Op>(byte);
}

constexpr std::string_view opName(Op op) {
    switch (op) {
#define LEXIVOR_NAME(code, name, operand, meaning) \
    case Op::name:                                 \
        return #name;
        LEXIVOR_INSTRUCTIONS(LEXIVOR_NAME)
#undef LEXIVOR_NAME
    }
    return {};
}

constexpr OperandKind opOperand(Op op) {
    switch (op) {
#define LEXIVOR_OPERAND(code, name, operand, meaning) \
    case Op::name:                                    \
        return OperandKind::operand;
        LEXIVOR_INSTRUCTIONS(LEXIVOR_OPERAND)
#undef LEXIVOR_OPERAND
    }
    return OperandKind::None;
}

constexpr std::string_view opMeaning(Op op) {
    switch (op) {
#define LEXIVOR_MEANING(code, name, operand, meaning) \
    case Op::name:                                    \
        return meaning;
        LEXIVOR_INSTRUCTIONS(LEXIVOR_MEANING)
#undef LEXIVOR_MEANING
    }
    return {};
}

constexpr std::size_t operandSize(OperandKind kind) {
    switch (kind) {
    case OperandKind::None:
        return 0;
    case OperandKind::U32:
    case OperandKind::I32:
        return 4;
    case OperandKind::Call:
        return 2;
    }
    return 0;
}

// The opcode for a mnemonic, exact spelling; nothing for an unknown one.
constexpr std::optional<Op> opFromName(std::string_view mnemonic) {
    for (unsigned i = 0; i < opCount; ++i)
        if (opName(static_cast<Op>(i)) == mnemonic) return static_cast<Op>(i);
    return std::nullopt;
}

constexpr bool isJump(Op op) { return op == Op::Jump || op == Op::JumpIfFalse || op == Op::JumpIfTrue; }

// Bytecode as text, one instruction per line: "<offset>: <mnemonic>[ <operands>]",
// offsets from code.  Bytes that do not form an instruction (an opcode above the
// last one, or operands cut off by the end) are shown as ".byte 0x.." lines, one
// per byte, so that the dump always accounts for every byte.
std::string disassemble(const unsigned char* code, std::size_t size);

} // namespace lexivor
