#pragma once
// The host machine's instruction set: one row per instruction in opcode
// order, so that a row's position is its opcode. k is the operand word,
// V[k] variable k, A the accumulator; flags not named are left alone.
#include <cstdint>
#include <string_view>

#define HOST_INSTRUCTIONS(X)                                      \
    X(LDIA, "A := k")                                             \
    X(MOVA, "A := V[k]")                                          \
    X(MOVR, "V[k] := A")                                          \
    X(MTEA, "A into buffer 2 at EPtr")                            \
    X(MFEA, "buffer 2 at EPtr into A")                            \
    X(MTFA, "A into buffer 1 at FPtr")                            \
    X(MFFA, "buffer 1 at FPtr into A")                            \
    X(SUBR, "A := A - V[k]")                                      \
    X(SUBI, "A := A - k")                                         \
    X(ADDR, "A := A + V[k]")                                      \
    X(ADDI, "A := A + k")                                         \
    X(ANDR, "A := A and V[k]; Z")                                 \
    X(ANDI, "A := A and k; Z")                                    \
    X(XORR, "A := A xor V[k]; Z")                                 \
    X(XORI, "A := A xor k; Z")                                    \
    X(ORRR, "A := A or V[k]; Z")                                  \
    X(ORRI, "A := A or k; Z")                                     \
    X(CMPR, "compare A with V[k]; Z, G, L")                       \
    X(CMPI, "compare A with k; Z, G, L")                          \
    X(JMPZ, "jump to k if Z")                                     \
    X(JPNZ, "jump to k unless Z")                                 \
    X(JMPG, "jump to k if G")                                     \
    X(JMPL, "jump to k if L")                                     \
    X(JMPP, "jump to k")                                          \
    X(JPZG, "jump to k if Z or G")                                \
    X(JPZL, "jump to k if Z or L")                                \
    X(CALL, "call k")                                             \
    X(RETT, "return; at the outermost level end the run with A")  \
    X(TSTB, "Z := (A and k) = 0")                                 \
    X(ROTR, "A := A shifted right by k and 31")                   \
    X(ROTL, "A := A shifted left by k and 31")                    \
    X(PRIN, "print record k")                                     \
    X(MESS, "no effect")                                          \
    X(INCC, "V[k] := V[k] + 1")                                   \
    X(DECC, "V[k] := V[k] - 1")                                   \
    X(MULI, "A := A * k")                                         \
    X(MULR, "A := A * V[k]")                                      \
    X(DIVI, "A := A div k; all ones for 0")                       \
    X(DIVR, "A := A div V[k]; all ones for 0")                    \
    X(OUTP, "write A to port k")                                  \
    X(INPO, "read port k into A")                                 \
    X(SFPI, "FPtr := k")                                          \
    X(SFPR, "FPtr := V[k]")                                       \
    X(SEPI, "EPtr := k")                                          \
    X(SEPR, "EPtr := V[k]")                                       \
    X(DRUN, "start the device procedure at the low 16 bits of k") \
    X(SFSI, "FSel := k")                                          \
    X(SFSR, "FSel := V[k]")                                       \
    X(SESI, "ESel := k")                                          \
    X(SESR, "ESel := V[k]")                                       \
    X(MTSE, "A into the match bit of buffer 2 at ESel")           \
    X(MFSE, "the match bit of buffer 2 at ESel into A")           \
    X(MTSF, "A into the match bit of buffer 1 at FSel")           \
    X(MFSF, "the match bit of buffer 1 at FSel into A")           \
    X(STUA, "set up the serial port with settings word k")        \
    X(SRPI, "APtr := k")                                          \
    X(SRPR, "APtr := V[k]")                                       \
    X(MTRA, "ArrayStore[APtr] := A")                              \
    X(MFRA, "A := ArrayStore[APtr]")                              \
    X(DELI, "wait k milliseconds")                                \
    X(DELR, "wait V[k] milliseconds")                             \
    X(BBLK, "begin collecting USB output into one block")         \
    X(EBLK, "end collecting and send the block")                  \
    X(FSIG, "A := 1 when the signature A names a module, else 0") \
    X(CLOS, "ExitValue := A; the run goes on")

// Opcodes by name, for the machine and the code generator.
enum THostOpcode : int {
#define HOST_OPCODE(name, meaning) op##name,
    HOST_INSTRUCTIONS(HOST_OPCODE)
#undef HOST_OPCODE
};

struct TMnemonic {
    const char* Name;
    int Opcode;
};

inline constexpr int MnemonicCount = opCLOS + 1;

// The names in opcode order and an end record.
inline constexpr TMnemonic Mnemonics[MnemonicCount + 1] = {
#define HOST_MNEMONIC(name, meaning) {#name, op##name},
    HOST_INSTRUCTIONS(HOST_MNEMONIC)
#undef HOST_MNEMONIC
    {"", -1},
};

// Compiled code holds opcodes, so the numbers of the set are fixed.
static_assert(MnemonicCount == 65);
static_assert(opJMPZ == 19 && opCALL == 26 && opMTRA == 57 && opCLOS == 64);

// Opcodes whose operand is a label: the jumps and CALL.
inline bool IsLabelOpcode(int opcode) { return opcode >= opJMPZ && opcode <= opCALL; }

// Position of the record named exactly `name` (callers pass upper case), or -1.
int FindMnemonic(std::string_view name);
