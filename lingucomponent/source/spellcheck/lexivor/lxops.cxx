#include "lxops.hxx"

#include <cstdio>

namespace lexivor {

namespace {

std::uint32_t readU32(const unsigned char* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}

void appendByte(std::string& out, std::size_t offset, unsigned char b) {
    char line[48];
    std::snprintf(line, sizeof line, "%zu: .byte 0x%02x\n", offset, unsigned(b));
    out += line;
}

} // namespace

std::string disassemble(const unsigned char* code, std::size_t size) {
    std::string out;
    std::size_t pc = 0;
    while (pc < size) {
        const std::optional<Op> op = opFromByte(code[pc]);
        if (!op) {
            appendByte(out, pc, code[pc]);
            ++pc;
            continue;
        }
        const OperandKind kind = opOperand(*op);
        const std::size_t n = operandSize(kind);
        if (size - pc - 1 < n) {
            for (; pc < size; ++pc) appendByte(out, pc, code[pc]);
            break;
        }
        out += std::to_string(pc);
        out += ": ";
        out += opName(*op);
        switch (kind) {
        case OperandKind::None:
            break;
        case OperandKind::U32:
            out += ' ';
            out += std::to_string(readU32(code + pc + 1));
            break;
        case OperandKind::I32:
            out += ' ';
            out += std::to_string(static_cast<std::int32_t>(readU32(code + pc + 1)));
            break;
        case OperandKind::Call:
            out += ' ';
            out += std::to_string(code[pc + 1]);
            out += ' ';
            out += std::to_string(code[pc + 2]);
            break;
        }
        out += '\n';
        pc += 1 + n;
    }
    return out;
}

} // namespace lexivor
