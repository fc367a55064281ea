#include "engine/AsmTypes.h"

#include <unordered_map>

const TDevCommand DevCommands[DevCommandCount + 1] = {
    {"ADD", 0x00, 0, 2},      {"AND", 0x04, 0, 2},       {"OR", 0x08, 0, 2},
    {"XOR", 0x0C, 0, 2},      {"SUB", 0x10, 0, 2},       {"CMP", 0x14, 0, 2},
    {"MOV", 0x18, 0, 2},      {"ADDI", 0x1C, 1, 4},      {"ANDI", 0x20, 1, 4},
    {"ORI", 0x24, 1, 4},      {"XORI", 0x28, 1, 4},      {"SUBI", 0x2C, 1, 4},
    {"LDI", 0x30, 1, 4},      {"CMPI", 0x34, 1, 4},      {"TSTBIT", 0x38, 2, 2},
    {"TSTIOBIT", 0x3C, 3, 2}, {"SBI", 0x40, 3, 2},       {"CBI", 0x44, 3, 2},
    {"JZ", 0x48, 4, 2},       {"JNZ", 0x4C, 4, 2},       {"JG", 0x50, 4, 2},
    {"JL", 0x54, 4, 2},       {"CALL", 0x58, 4, 2},      {"JMP", 0x5C, 4, 2},
    {"RET", 0x60, 5, 1},      {"IN", 0x64, 6, 2},        {"OUT", 0x68, 6, 2},
    {"RR", 0x6C, 7, 2},       {"RL", 0x70, 7, 2},        {"USBOUT", 0x74, 8, 2},
    {"USBIN", 0x78, 8, 2},    {"INC", 0x7C, 9, 2},       {"DEC", 0x80, 9, 2},
    {"RL1", 0x84, 9, 2},      {"RR1", 0x88, 9, 2},       {"DELAY", 0x8C, 10, 3},
    {"DELAYR", 0x90, 9, 2},   {"WEXP", 0x94, 9, 2},      {"SBIE", 0x98, 11, 2},
    {"CBIE", 0x9C, 11, 2},    {"BUSINIT", 0xA0, 10, 3},  {"BUSOUT", 0xA4, 8, 2},
    {"BUSIN", 0xA8, 8, 2},    {"HP", 0xAC, 11, 2},       {"LP", 0xB0, 11, 2},
    {"EHP", 0xB4, 11, 2},     {"ELP", 0xB8, 11, 2},      {"EOUT", 0xBC, 12, 3},
    {"EIN", 0xC0, 12, 3},     {"BUSDELAY", 0xC4, 9, 2},  {"WRB", 0xC8, 12, 3},
    {"RDB", 0xCC, 12, 3},     {"AOUT", 0xD0, 12, 3},     {"AIN", 0xD4, 12, 3},
    {"BDMOP", 0xD8, 9, 2},    {"BDMWR", 0xDC, 14, 4},    {"BDMRD", 0xE0, 14, 4},
    {"", 0, 15, 0},
};

int OperandClassSize(int operandClass)
{
    static const int sizes[15] = {2, 4, 2, 2, 2, 1, 2, 2, 2, 2, 3, 2, 3, 0, 4};
    return operandClass >= 0 && operandClass < 15 ? sizes[operandClass] : 0;
}

bool FindDevCommand(const std::string& mnemonic, int& index)
{
    // Every line of assembly looks its mnemonic up.
    static const std::unordered_map<std::string, int> rows = [] {
        std::unordered_map<std::string, int> m;
        for (int i = 0; i < DevCommandCount; ++i)
            m.emplace(DevCommands[i].Mnemonic, i);
        return m;
    }();
    const auto found = rows.find(mnemonic);
    index = found == rows.end() ? DevCommandCount : found->second;
    return found != rows.end();
}

const TDevCommand* DevCommandByCode(uint8_t code)
{
    const int row = code >> 2;
    return row < DevCommandCount ? &DevCommands[row] : nullptr;
}
