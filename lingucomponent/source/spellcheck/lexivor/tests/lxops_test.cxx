#include <lxops.hxx>

#include <testsupport/lexivor/Assembler.hxx>

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace {

using lexivor::Op;
using lexivor::OperandKind;
using testsupport::lexivor::assemble;

TEST(Instructions, EveryOpcodeHasOneNameAndItsOperand) {
    for (unsigned byte = 0; byte < 256; ++byte) {
        SCOPED_TRACE(byte);
        const auto op = lexivor::opFromByte(static_cast<unsigned char>(byte));
        ASSERT_EQ(op.has_value(), byte <= 35);
        if (!op) continue;
        EXPECT_EQ(lexivor::opFromName(lexivor::opName(*op)), op);
        EXPECT_FALSE(lexivor::opMeaning(*op).empty());
    }
    EXPECT_EQ(lexivor::opName(Op::Bool), "Bool");
    EXPECT_EQ(lexivor::opOperand(Op::Call), OperandKind::Call);
    EXPECT_EQ(lexivor::opOperand(Op::PushInteger), OperandKind::I32);
    EXPECT_EQ(lexivor::opOperand(Op::Search), OperandKind::U32);
    EXPECT_EQ(lexivor::opOperand(Op::Translate), OperandKind::None);
    EXPECT_FALSE(lexivor::opFromName("return").has_value());
}

TEST(Instructions, AssembledCodeDisassemblesToTheSameProgram) {
    const auto code = assemble(R"(
        ; a typical condition
        PushGroup 1
        PushConstant 0
        In
        JumpIfFalse done
        PushNone
        PushString "unused"      ; resolved by the pool
        Call 0 2
        PushInteger -1
    done:
        Return
    )", [](std::string_view s) { return s == "unused" ? 42u : 0u; });
    EXPECT_EQ(lexivor::disassemble(code.data(), code.size()),
              "0: PushGroup 1\n"
              "5: PushConstant 0\n"
              "10: In\n"
              "11: JumpIfFalse 30\n"
              "16: PushNone\n"
              "17: PushString 42\n"
              "22: Call 0 2\n"
              "25: PushInteger -1\n"
              "30: Return\n");
}

TEST(Instructions, DisassemblyShowsEveryByteOfMalformedCode) {
    const auto code = assemble(".byte 36 0 0xff\n.byte 1 7 0");
    EXPECT_EQ(lexivor::disassemble(code.data(), code.size()),
              "0: .byte 0x24\n"
              "1: Return\n"
              "2: .byte 0xff\n"
              "3: .byte 0x01\n"
              "4: .byte 0x07\n"
              "5: .byte 0x00\n");
}

TEST(Instructions, AssemblerRejectsBadText) {
    const std::pair<const char*, const char*> cases[] = {
        {"Push 1", "assemble: line 1: unknown mnemonic Push"},
        {"Return 1", "assemble: line 1: Return takes 0 operand(s)"},
        {"\nJump nowhere", "assemble: line 2: unknown label nowhere"},
        {"Call 256 0", "assemble: line 1: bad operand 256"},
        {"PushInteger 0x100000000", "assemble: line 1: bad operand 0x100000000"},
        {"PushConstant -1", "assemble: line 1: bad operand -1"},
        {"PushGroup \"x\"", "assemble: line 1: only PushString takes a string literal"},
        {"PushString \"x\"", "assemble: line 1: string literal without a string pool"},
        {"PushString \"x", "assemble: line 1: unterminated string literal"},
        {"a:\na:", "assemble: line 2: label a defined twice"},
    };
    for (const auto& [source, message] : cases) {
        SCOPED_TRACE(source);
        EXPECT_THROW(
            {
                try {
                    assemble(source);
                } catch (const std::invalid_argument& e) {
                    EXPECT_EQ(std::string(e.what()), message);
                    throw;
                }
            },
            std::invalid_argument);
    }
}

} // namespace
