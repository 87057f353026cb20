#pragma once
// Rule bytecode from text, so that tests read as rules rather than as hex.
//
// One instruction per line, by mnemonic (lxops.hxx), with its operands:
//
//       PushGroup 1          ; comments run from ';' to the end of the line
//       PushConstant 0
//       In
//       JumpIfFalse done     ; jump operands: a label or a number
//       PushString "opt"     ; a string literal goes into the package's pool
//       PushInteger -1
//       Call 0 2             ; host function, argument count
//   done:
//       Return
//
// Labels stand for offsets from the start of the assembled text, which is how
// the machine measures jump targets.  ".byte 1 0x2a ..." emits raw bytes and
// ".u32 N" four little-endian bytes, for deliberately malformed code.  Errors in
// the text throw std::invalid_argument naming the line.

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

namespace testsupport::lexivor {

// intern gives the string-pool reference of a literal; without it a string
// literal is an error.
std::vector<unsigned char> assemble(std::string_view source,
                                    const std::function<std::uint32_t(std::string_view)>& intern = {});

} // namespace testsupport::lexivor
