#pragma once
// The device instruction set: the byte code the programmer's controller runs.
//
// Every instruction starts with one byte: the row's opcode (a multiple of 4)
// with up to two operand bits merged into its low bits. The opcode of row i
// is 4 * i, so the row of a code byte b is DevCommands[b >> 2] (see
// DevCommandByCode). Registers are 16 bits; register n lives at data
// address RegisterAddress(n) = 195 + 2 * n, which is what the address
// operands carry. Port tokens: "POUT" is port 0, "PIN" port 1, "P<k>"
// port k.
#include <cstdint>
#include <string>

// Operand classes: how the operands are written and which bytes follow the
// opcode ("op" the opcode, n and m register numbers 0..31, p a port number,
// k, a, b, c numbers, "lo" bits 0-7, "hi" bits 8-15).
//   X(name, number, code bytes, meaning)
#define DEVICE_OPERAND_CLASSES(X)                                                 \
    X(RegReg, 0, 2, "Rn,Rm: op | ((n >> 3) & 3) ; ((n << 5) | m) & 0xFF")         \
    X(RegWord, 1, 4, "Rn,k: op ; n ; hi(k) ; lo(k), a 16-bit immediate")          \
    X(RegBit, 2, 2, "Rn,k: as RegReg with k, a bit index 0..31, for m")           \
    X(PortByte, 3, 2, "port,k: op | (p & 3) ; lo(k)")                             \
    X(Label, 4, 2, "label: op | ((addr >> 8) & 3) ; lo(addr), a 10-bit target")   \
    X(None, 5, 1, "no operands: op")                                              \
    X(PortReg, 6, 2, "port,Rn: as RegReg with p for the first register, n for m") \
    X(RegShift, 7, 2, "Rn,k: as RegBit, k a shift count")                         \
    X(Reg, 8, 2, "Rn: op ; n")                                                    \
    X(Address, 9, 2, "k: op ; lo(k), k mostly a data address")                    \
    X(Word, 10, 3, "k: op ; hi(k) ; lo(k)")                                       \
    X(Byte, 11, 2, "k: op ; lo(k), the bytes of Address")                         \
    X(TwoBytes, 12, 3, "a,b: op ; lo(a) ; lo(b)")                                 \
    X(Unused, 13, 0, "no instruction has it")                                     \
    X(ThreeBytes, 14, 4, "a,b,c: op ; lo(a) ; lo(b) ; lo(c)")                     \
    X(End, 15, 0, "the end row of DevCommands")

enum TOperandClass : int {
#define DEVICE_OPERAND_CLASS(name, number, size, meaning) oc##name = number,
    DEVICE_OPERAND_CLASSES(DEVICE_OPERAND_CLASS)
#undef DEVICE_OPERAND_CLASS
};

// The instructions in opcode order; what each does on the controller. The
// controller faults on those whose meaning is not defined here.
//   X(mnemonic, operand class, meaning)
#define DEVICE_INSTRUCTIONS(X)                                              \
    X(ADD, RegReg, "Rn := Rn + Rm; Z")                                      \
    X(AND, RegReg, "Rn := Rn and Rm; Z")                                    \
    X(OR, RegReg, "Rn := Rn or Rm; Z")                                      \
    X(XOR, RegReg, "Rn := Rn xor Rm; Z")                                    \
    X(SUB, RegReg, "Rn := Rn - Rm; Z")                                      \
    X(CMP, RegReg, "compare Rn with Rm unsigned; Z, G, L")                  \
    X(MOV, RegReg, "Rn := Rm")                                              \
    X(ADDI, RegWord, "Rn := Rn + k; Z")                                     \
    X(ANDI, RegWord, "Rn := Rn and k; Z")                                   \
    X(ORI, RegWord, "Rn := Rn or k; Z")                                     \
    X(XORI, RegWord, "Rn := Rn xor k; Z")                                   \
    X(SUBI, RegWord, "Rn := Rn - k; Z")                                     \
    X(LDI, RegWord, "Rn := k")                                              \
    X(CMPI, RegWord, "compare Rn with k unsigned; Z, G, L")                 \
    X(TSTBIT, RegBit, "Z := bit k of Rn is 0")                              \
    X(TSTIOBIT, PortByte, "Z := (port and k) = 0")                          \
    X(SBI, PortByte, "port := port or k")                                   \
    X(CBI, PortByte, "port := port and k")                                  \
    X(JZ, Label, "jump if Z")                                               \
    X(JNZ, Label, "jump unless Z")                                          \
    X(JG, Label, "jump if G")                                               \
    X(JL, Label, "jump if L")                                               \
    X(CALL, Label, "call")                                                  \
    X(JMP, Label, "jump")                                                   \
    X(RET, None, "return; at the outermost level end the procedure")        \
    X(IN, PortReg, "Rn := port")                                            \
    X(OUT, PortReg, "port := Rn")                                           \
    X(RR, RegShift, "Rn := Rn shifted right by k; Z")                       \
    X(RL, RegShift, "Rn := Rn shifted left by k; Z")                        \
    X(USBOUT, Reg, "send the low byte of Rn to the host")                   \
    X(USBIN, Reg, "Rn := the next byte from the host, waiting for it")      \
    X(INC, Address, "word at k := word + 1; Z")                             \
    X(DEC, Address, "word at k := word - 1; Z")                             \
    X(RL1, Address, "word at k := word shifted left by 1; Z")               \
    X(RR1, Address, "word at k := word shifted right by 1; Z")              \
    X(DELAY, Word, "wait k microseconds")                                   \
    X(DELAYR, Address, "wait as many microseconds as the word at k")        \
    X(WEXP, Address, "meaning not defined here")                            \
    X(SBIE, Byte, "E port, set bits; meaning not defined here")             \
    X(CBIE, Byte, "E port, clear bits; meaning not defined here")           \
    X(BUSINIT, Word, "bus set-up; meaning not defined here")                \
    X(BUSOUT, Reg, "bus output; meaning not defined here")                  \
    X(BUSIN, Reg, "bus input; meaning not defined here")                    \
    X(HP, Byte, "pulse of 1 microsecond: the output port or k, then back")  \
    X(LP, Byte, "pulse of 1 microsecond: the output port and k, then back") \
    X(EHP, Byte, "E port high pulse; meaning not defined here")             \
    X(ELP, Byte, "E port low pulse; meaning not defined here")              \
    X(EOUT, TwoBytes, "E port output; meaning not defined here")            \
    X(EIN, TwoBytes, "E port input; meaning not defined here")              \
    X(BUSDELAY, Address, "bus timing; meaning not defined here")            \
    X(WRB, TwoBytes, "data buffer at word b := low byte of word a")         \
    X(RDB, TwoBytes, "word a := data buffer at word b")                     \
    X(AOUT, TwoBytes, "A register output; meaning not defined here")        \
    X(AIN, TwoBytes, "A register input; meaning not defined here")          \
    X(BDMOP, Address, "BDM operation; meaning not defined here")            \
    X(BDMWR, ThreeBytes, "BDM write; meaning not defined here")             \
    X(BDMRD, ThreeBytes, "BDM read; meaning not defined here")

// Instructions by name; the value is the row in DevCommands.
enum TDevOpcode : uint8_t {
#define DEVICE_OPCODE(mnemonic, operandClass, meaning) dc##mnemonic,
    DEVICE_INSTRUCTIONS(DEVICE_OPCODE)
#undef DEVICE_OPCODE
};

struct TDevCommand {
    const char* Mnemonic;       // upper case; empty in the end row
    int Opcode;                 // first code byte before operand bits, multiple of 4
    TOperandClass OperandClass; // ocEnd in the end row
    int Length;                 // code bytes of the whole instruction
};

// Code bytes of an instruction of the given operand class, 0 for a class
// that has no instructions.
constexpr int OperandClassSize(int operandClass)
{
    switch (operandClass) {
#define DEVICE_OPERAND_SIZE(name, number, size, meaning) \
    case number:                                         \
        return size;
        DEVICE_OPERAND_CLASSES(DEVICE_OPERAND_SIZE)
#undef DEVICE_OPERAND_SIZE
    default:
        return 0;
    }
}

// Number of instructions; DevCommands has one more row, the end row.
constexpr int DevCommandCount = dcBDMRD + 1;

inline constexpr TDevCommand DevCommands[DevCommandCount + 1] = {
#define DEVICE_COMMAND(mnemonic, operandClass, meaning) \
    {#mnemonic, 4 * dc##mnemonic, oc##operandClass, OperandClassSize(oc##operandClass)},
    DEVICE_INSTRUCTIONS(DEVICE_COMMAND)
#undef DEVICE_COMMAND
    {"", 0, ocEnd, 0},
};

// Uploaded code carries these numbers: the set is fixed.
static_assert(DevCommandCount == 57);
static_assert(DevCommands[dcTSTIOBIT].Opcode == 0x3C && DevCommands[dcWEXP].Opcode == 0x94 &&
              DevCommands[dcBDMRD].Opcode == 0xE0);
static_assert(ocEnd == 15 && OperandClassSize(ocUnused) == 0 && OperandClassSize(ocThreeBytes) == 4);

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
