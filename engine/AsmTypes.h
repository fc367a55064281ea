#pragma once
// The device instruction set: the byte code the programmer's controller runs.
//
// Every instruction starts with one byte: the row's opcode (a multiple of 4)
// with up to two operand bits merged into its low bits. The opcode of row i
// is 4 * i, so the row of a code byte b is DevCommands[b >> 2] (see
// DevCommandByCode). Bytes that follow, in this order, per operand class
// ("op" the opcode, n and m register numbers 0..31, p a port number,
// k, a, b, c numbers, "lo" bits 0-7, "hi" bits 8-15):
//
//  class  written          size  bytes
//    0    Rn,Rm             2    op | ((n >> 3) & 3) ; ((n << 5) | m) & 0xFF
//    1    Rn,k              4    op ; n ; hi(k) ; lo(k)          (16-bit immediate)
//    2    Rn,k              2    as class 0 with k (bit index 0..31) for m
//    3    port,k            2    op | (p & 3) ; lo(k)
//    4    label             2    op | ((addr >> 8) & 3) ; lo(addr)  (10-bit target)
//    5    (none)            1    op
//    6    port,Rn           2    as class 0 with p for the first register, n for m
//    7    Rn,k              2    as class 2 (k a shift count)
//    8    Rn                2    op ; n
//    9    k                 2    op ; lo(k)   (k is often a data address)
//   10    k                 3    op ; hi(k) ; lo(k)
//   11    k                 2    op ; lo(k)   (same bytes as class 9)
//   12    a,b               3    op ; lo(a) ; lo(b)
//   14    a,b,c             4    op ; lo(a) ; lo(b) ; lo(c)
//
// Class 13 is unused; class 15 marks the end row. Registers are 16 bits;
// register n lives at data address RegisterAddress(n) = 195 + 2 * n, which
// is what class 9 and the address operands of classes 12 and 14 carry.
// Port tokens: "POUT" is port 0, "PIN" port 1, "P<k>" port k.
#include <cstdint>
#include <string>

struct TDevCommand {
    const char* Mnemonic; // upper case; empty in the end row
    int Opcode;           // first code byte before operand bits, multiple of 4
    int OperandClass;     // 0..14; 15 in the end row
    int Length;           // code bytes of the whole instruction
};

// Number of instructions; DevCommands has one more row, the end row.
constexpr int DevCommandCount = 57;
extern const TDevCommand DevCommands[DevCommandCount + 1];

// Code bytes of an instruction of the given operand class, 0 for a class
// that has no instructions.
int OperandClassSize(int operandClass);

// First row whose mnemonic equals `mnemonic` exactly (case-sensitive);
// false for anything else, including the empty text of the end row.
bool FindDevCommand(const std::string& mnemonic, int& index);

// Row of the instruction that starts with code byte `code`, or nullptr when
// the byte starts no instruction (above the last opcode).
const TDevCommand* DevCommandByCode(uint8_t code);

// Data address of register n.
constexpr int RegisterAddress(int n) { return 195 + 2 * n; }

// Jump and call targets are 10 bits: code beyond this cannot be reached.
constexpr int MaxDeviceCodeLength = 1024;
