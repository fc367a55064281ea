#include "engine/uAsmMnemonics.h"

const TMnemonic Mnemonics[MnemonicCount + 1] = {
    {"LDIA", 0},  {"MOVA", 1},  {"MOVR", 2},  {"MTEA", 3},  {"MFEA", 4},  {"MTFA", 5},  {"MFFA", 6},
    {"SUBR", 7},  {"SUBI", 8},  {"ADDR", 9},  {"ADDI", 10}, {"ANDR", 11}, {"ANDI", 12}, {"XORR", 13},
    {"XORI", 14}, {"ORRR", 15}, {"ORRI", 16}, {"CMPR", 17}, {"CMPI", 18}, {"JMPZ", 19}, {"JPNZ", 20},
    {"JMPG", 21}, {"JMPL", 22}, {"JMPP", 23}, {"JPZG", 24}, {"JPZL", 25}, {"CALL", 26}, {"RETT", 27},
    {"TSTB", 28}, {"ROTR", 29}, {"ROTL", 30}, {"PRIN", 31}, {"MESS", 32}, {"INCC", 33}, {"DECC", 34},
    {"MULI", 35}, {"MULR", 36}, {"DIVI", 37}, {"DIVR", 38}, {"OUTP", 39}, {"INPO", 40}, {"SFPI", 41},
    {"SFPR", 42}, {"SEPI", 43}, {"SEPR", 44}, {"DRUN", 45}, {"SFSI", 46}, {"SFSR", 47}, {"SESI", 48},
    {"SESR", 49}, {"MTSE", 50}, {"MFSE", 51}, {"MTSF", 52}, {"MFSF", 53}, {"STUA", 54}, {"SRPI", 55},
    {"SRPR", 56}, {"MTRA", 57}, {"MFRA", 58}, {"DELI", 59}, {"DELR", 60}, {"BBLK", 61}, {"EBLK", 62},
    {"FSIG", 63}, {"CLOS", 64}, {"", -1},
};

int FindMnemonic(std::string_view name)
{
    for (int i = 0; Mnemonics[i].Opcode >= 0; ++i)
        if (name == Mnemonics[i].Name)
            return i;
    return -1;
}
