#pragma once
// The compiled calculator image: what the compiler and assembler write and
// what the window builder and the calculator machine read. One program-wide
// 64 KiB byte array holds the last compiled calculator.
//
// Layout (16-bit fields little-endian):
//   0  ONSHOW entry offset   (CalcNoEntry: none)
//   2  ONAPPLY entry offset  (CalcNoEntry: none)
//   4  ONCHANGE entry offset (CalcNoEntry: none)
//   6  0xFF 0xFF
//   8  window client width
//  10  window client height
//  12  window records, then CalcEndOfRecords, then code and string literals
//
// Records: a letter byte, the text coded by EncodeCalcText with the letter
// as first key, then 16-bit fields:
//   'G' group box (opens a nesting level)   x, y, w, h
//   'g' end of the innermost group (no text, no fields)
//   'L' label                               x, y (x 0: centred)
//   'B' check box                           x, y (x 0: full width)
//   'C' combo box                           x, y, w, then the coded item list
//   'D' decimal edit field                  x, y, w
//   'H' hexadecimal edit field              x, y, w, digits
//   'P' picture (text: file name)           x, y, w, h (0 and 0: natural size)
//   'T' reserved: the compiler never writes it
//
// Code: one opcode byte (TCalcOp) followed by its operands as the table
// below gives them: 'b' 1 byte, 'w' 2 bytes, 'd' 4 bytes, 'l' a 2-byte image
// offset (of code or of a string literal coded by EncodeCalcLiteral).
// R register (64-bit signed), D/W/B 32/16/8-bit unsigned constant, C control
// value, CP control property, @ buffer byte, S string register, L label.
#include <array>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

inline constexpr size_t CalcImageSize = 65536;
using TCalcImage = std::array<uint8_t, CalcImageSize>;

// The program-wide image buffer of the last compiled calculator.
TCalcImage& CalcImage();

inline constexpr int CalcEntryOnShow = 0;
inline constexpr int CalcEntryOnApply = 2;
inline constexpr int CalcEntryOnChange = 4;
inline constexpr int CalcWidthOffset = 8;
inline constexpr int CalcHeightOffset = 10;
inline constexpr int CalcRecordsOffset = 12;
inline constexpr uint16_t CalcNoEntry = 0xFFFF;
inline constexpr uint8_t CalcEndOfRecords = 0xFF;

// Registers with a fixed meaning.
inline constexpr int CalcRegSelStart = 48;
inline constexpr int CalcRegSelEnd = 49;
inline constexpr int CalcRegBufSize = 50;
inline constexpr int CalcRegCursorAdr = 51;
inline constexpr int CalcFirstVarRegister = 52;
inline constexpr int CalcCondRight = 127; // conditions: right side
inline constexpr int CalcCondLeft = 128;  // conditions: left side
inline constexpr int CalcRegisterCount = 256;
inline constexpr int CalcStringRegisterCount = 35; // 0..34
inline constexpr int CalcWorkString = 32;          // where string expressions are built
inline constexpr int CalcReturnStackDepth = 2048;

// Control properties (CP=D: number in the constant's top byte, value in its
// low 24 bits; CP=R: the same layout in the register's low 32 bits).
inline constexpr int CalcPropColor = 1;
inline constexpr int CalcPropBold = 2;
inline constexpr int CalcPropAlignment = 3;

// The instruction set: X(name, mnemonic, operand letters, meaning), one row
// per opcode in opcode order. a is the first operand, b the second.
#define TARKU_CALC_OPCODES(X) \
    X(MovR, "R=R", "bb", "R[a] := R[b]") \
    X(MovD, "R=D", "bd", "R[a] := constant") \
    X(MovC, "R=C", "bb", "R[a] := value of control b (no such control: unchanged)") \
    X(CtlR, "C=R", "bb", "control a := low 32 bits of R[b]") \
    X(AddR, "R+R", "bb", "R[a] := R[a] + R[b]") \
    X(AddD, "R+D", "bd", "R[a] := R[a] + constant") \
    X(SubR, "R-R", "bb", "R[a] := R[a] - R[b]") \
    X(SubD, "R-D", "bd", "R[a] := R[a] - constant") \
    X(DivR, "R/R", "bb", "R[b] of 0 becomes 1; R[a] := R[a] / R[b], signed, truncating") \
    X(DivD, "R/D", "bd", "R[a] := R[a] / constant (0 counts as 1)") \
    X(ModR, "R%R", "bb", "R[b] of 0 becomes 1; R[a] := R[a] % R[b], signed") \
    X(ModD, "R%D", "bd", "R[a] := R[a] % constant (0 counts as 1)") \
    X(MulR, "R*R", "bb", "R[a] := R[a] * R[b]") \
    X(MulD, "R*D", "bd", "R[a] := R[a] * constant") \
    X(AndR, "R&R", "bb", "R[a] := R[a] and R[b]") \
    X(AndD, "R&D", "bd", "R[a] := R[a] and constant") \
    X(OrR, "R|R", "bb", "R[a] := R[a] or R[b]") \
    X(OrD, "R|D", "bd", "R[a] := R[a] or constant") \
    X(XorR, "R^R", "bb", "R[a] := R[a] xor R[b]") \
    X(XorD, "R^D", "bd", "R[a] := R[a] xor constant") \
    X(ShrR, "R>>R", "bb", "R[a] := R[a] shifted right (logical) by R[b]") \
    X(ShrD, "R>>D", "bb", "R[a] := R[a] shifted right (logical) by the byte constant") \
    X(ShlR, "R<<R", "bb", "R[a] := R[a] shifted left by R[b]") \
    X(ShlD, "R<<D", "bb", "R[a] := R[a] shifted left by the byte constant") \
    X(JEq, "JR=R", "bbl", "jump when R[a] = R[b] (signed)") \
    X(JNe, "JR!=R", "bbl", "jump when R[a] != R[b]") \
    X(JGt, "JR>R", "bbl", "jump when R[a] > R[b] (signed)") \
    X(JLt, "JR<R", "bbl", "jump when R[a] < R[b] (signed)") \
    X(JGe, "JR=>R", "bbl", "jump when R[a] >= R[b] (signed)") \
    X(JLe, "JR<=R", "bbl", "jump when R[a] <= R[b] (signed)") \
    X(Jmp, "JMP", "l", "jump") \
    X(Ret, "RET", "", "at depth 0 end the run, else return") \
    X(PokeRR, "@R=R", "bb", "buffer byte at R[a] := low byte of R[b]") \
    X(PokeRD, "@R=D", "bb", "buffer byte at R[a] := byte constant") \
    X(PeekR, "R=@R", "bb", "R[a] := buffer byte at R[b]") \
    X(PeekD, "R=@D", "bd", "R[a] := buffer byte at the constant address") \
    X(CtlD, "C=D", "bd", "control a := constant") \
    X(PropD, "CP=D", "bd", "label a: property in the constant's top byte, value in its low 24 bits") \
    X(PropR, "CP=R", "bb", "label a: property in bits 24-31 of R[b], value in bits 0-23") \
    X(PokeDR, "@D=R", "db", "buffer byte at the constant address := low byte of R[b]") \
    X(PokeDD, "@D=D", "db", "buffer byte at the constant address := byte constant") \
    X(MovB, "R=B", "bb", "R[a] := byte constant") \
    X(MovW, "R=W", "bw", "R[a] := word constant") \
    X(AddB, "R+B", "bb", "R[a] := R[a] + byte constant") \
    X(AddW, "R+W", "bw", "R[a] := R[a] + word constant") \
    X(SubB, "R-B", "bb", "R[a] := R[a] - byte constant") \
    X(SubW, "R-W", "bw", "R[a] := R[a] - word constant") \
    X(DivB, "R/B", "bb", "R[a] := R[a] / byte constant (0 counts as 1)") \
    X(DivW, "R/W", "bw", "R[a] := R[a] / word constant (0 counts as 1)") \
    X(MulB, "R*B", "bb", "R[a] := R[a] * byte constant") \
    X(MulW, "R*W", "bw", "R[a] := R[a] * word constant") \
    X(ModB, "R%B", "bb", "R[a] := R[a] % byte constant (0 counts as 1)") \
    X(ModW, "R%W", "bw", "R[a] := R[a] % word constant (0 counts as 1)") \
    X(StrClear, "S=0", "b", "string register a := empty") \
    X(StrLit, "S+L", "bl", "append the string literal at the label offset") \
    X(StrHexB, "S+B", "bb", "append the constant as 2 hexadecimal digits") \
    X(StrHexW, "S+W", "bw", "append the constant as 4 hexadecimal digits") \
    X(StrHexD, "S+D", "bd", "append the constant as 8 hexadecimal digits") \
    X(StrChar, "S+C", "bb", "append the constant as one character") \
    X(StrDecB, "S+BI", "bb", "append the constant in decimal") \
    X(StrRegHexB, "S+RB", "bb", "append R[b]'s low byte as 2 hexadecimal digits") \
    X(StrRegHexW, "S+RW", "bb", "append R[b]'s low 16 bits as 4 hexadecimal digits") \
    X(StrRegHexD, "S+RD", "bb", "append R[b] as at least 8 hexadecimal digits") \
    X(StrRegDec, "S+RI", "bb", "append R[b] in decimal (signed)") \
    X(StrRegChar, "S+RC", "bb", "append the character of R[b]'s low byte") \
    X(StrAppend, "S+S", "bb", "append string register b") \
    X(LabelSet, "L=S", "bb", "caption of label a := string register b") \
    X(StrDecW, "S+WI", "bw", "append the constant in decimal") \
    X(StrDecD, "S+DI", "bd", "append the constant in decimal") \
    X(AndB, "R&B", "bb", "R[a] := R[a] and byte constant") \
    X(AndW, "R&W", "bw", "R[a] := R[a] and word constant") \
    X(OrB, "R|B", "bb", "R[a] := R[a] or byte constant") \
    X(OrW, "R|W", "bw", "R[a] := R[a] or word constant") \
    X(XorB, "R^B", "bb", "R[a] := R[a] xor byte constant") \
    X(XorW, "R^W", "bw", "R[a] := R[a] xor word constant") \
    X(Call, "CALL", "l", "push the offset after the instruction, jump") \
    X(RandR, "R=?R", "bb", "R[a] := random number from 0 to R[b] - 1") \
    X(RandD, "R=?D", "bd", "R[a] := random number from 0 to the constant - 1") \
    X(StrSet, "S=S", "bb", "string register a := string register b")

enum class TCalcOp : uint8_t {
#define TARKU_CALC_ENUM(name, mnemonic, operands, meaning) name,
    TARKU_CALC_OPCODES(TARKU_CALC_ENUM)
#undef TARKU_CALC_ENUM
};

struct TCalcMnemonic {
    const char* Mnemonic;
    const char* Operands; // letters 'b', 'w', 'd', 'l'; empty for none
    const char* Meaning;
};

inline constexpr TCalcMnemonic CalcMnemonics[] = {
#define TARKU_CALC_ROW(name, mnemonic, operands, meaning) {mnemonic, operands, meaning},
    TARKU_CALC_OPCODES(TARKU_CALC_ROW)
#undef TARKU_CALC_ROW
};
inline constexpr int CalcOpcodeCount = static_cast<int>(std::size(CalcMnemonics));
static_assert(CalcOpcodeCount == 79);

// Bytes an operand letter takes in the image (0 for an unknown letter).
int CalcOperandSize(char letter);
// Length of the instruction at the opcode (opcode byte and operands); 0 for
// a byte that is no opcode.
int CalcInstructionSize(uint8_t opcode);

// Text coding of records: each character is stored XOR the key, which then
// grows by 1 (mod 256); the end is one byte equal to the current key. Zero
// characters cannot be told from the end and are left out.
void EncodeCalcText(const std::string& text, uint8_t& key, std::vector<uint8_t>& out);
// Reads a coded text (terminator consumed) from the image at pos. false when
// the image ends before the terminator. With `items` it reads a combo box
// item list: a CR separates items and does not advance the key.
bool DecodeCalcText(const uint8_t* image, size_t size, uint8_t& key, std::string& text, size_t& pos,
                    bool items = false);
// The coded item list of a combo box: items separated by CR stored without
// advancing the key, ended by the terminator. CR and zero characters inside
// an item are left out, since they would read as a separator or the end.
void EncodeCalcItems(const std::vector<std::string>& items, uint8_t& key, std::vector<uint8_t>& out);

// String literals of the code: first character XOR 0x80, each further
// character XOR the first, then the first character as the end. Zero
// characters are left out, as in records.
std::vector<uint8_t> EncodeCalcLiteral(const std::string& text);
// false when the image ends before the terminator.
bool DecodeCalcLiteral(const uint8_t* image, size_t size, size_t pos, std::string& text);
