// Device instruction table and the two-pass assembler.
#include <gtest/gtest.h>

#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "engine/AsmTypes.h"
#include "engine/TCompil.h"
#include "platform/Cp1251.h"
#include "platform/SysUtils.h"

namespace {

std::string Hex(const TAsmCompiler& a, int from, int to)
{
    std::string out;
    for (int i = from; i < to; ++i)
        out += (out.empty() ? "" : " ") + IntToHex(a.Code[static_cast<size_t>(i)], 2);
    return out;
}

struct Assembled {
    bool ok;
    std::string bytes;
    TAsmCompiler asmc;
};

// Assembles the lines; the bytes are those of the whole code, space separated.
std::unique_ptr<Assembled> AssembleLines(const std::vector<std::string>& lines)
{
    auto r = std::make_unique<Assembled>();
    for (const auto& l : lines)
        r->asmc.Source.Add(l);
    r->ok = r->asmc.Assemble();
    r->bytes = Hex(r->asmc, 0, r->asmc.Address);
    return r;
}

} // namespace

TEST(DevCommands, TableRowsAreOpcodeOrderAndLookupsAgree)
{
    ASSERT_EQ(DevCommandCount, 57);
    EXPECT_STREQ(DevCommands[DevCommandCount].Mnemonic, "");
    EXPECT_EQ(DevCommands[DevCommandCount].OperandClass, 15);
    for (int i = 0; i < DevCommandCount; ++i) {
        const TDevCommand& c = DevCommands[i];
        EXPECT_EQ(c.Opcode, 4 * i) << c.Mnemonic;
        EXPECT_EQ(c.Length, OperandClassSize(c.OperandClass)) << c.Mnemonic;
        int row = -1;
        ASSERT_TRUE(FindDevCommand(c.Mnemonic, row));
        EXPECT_EQ(row, i);
        for (int low = 0; low < 4; ++low)
            EXPECT_EQ(DevCommandByCode(static_cast<uint8_t>(c.Opcode | low)), &c);
    }
    EXPECT_EQ(DevCommandByCode(0xE4), nullptr);
    EXPECT_EQ(DevCommandByCode(0xFF), nullptr);
    int row = 0;
    EXPECT_FALSE(FindDevCommand("", row));
    EXPECT_FALSE(FindDevCommand("ldi", row));
}

TEST(DevCommands, EveryRowAsTheInstructionSetGivesIt)
{
    const struct {
        const char* mnemonic;
        int opcode;
        int operandClass;
    } rows[] = {
        {"ADD", 0x00, 0},     {"AND", 0x04, 0},     {"OR", 0x08, 0},      {"XOR", 0x0C, 0},
        {"SUB", 0x10, 0},     {"CMP", 0x14, 0},     {"MOV", 0x18, 0},     {"ADDI", 0x1C, 1},
        {"ANDI", 0x20, 1},    {"ORI", 0x24, 1},     {"XORI", 0x28, 1},    {"SUBI", 0x2C, 1},
        {"LDI", 0x30, 1},     {"CMPI", 0x34, 1},    {"TSTBIT", 0x38, 2},  {"TSTIOBIT", 0x3C, 3},
        {"SBI", 0x40, 3},     {"CBI", 0x44, 3},     {"JZ", 0x48, 4},      {"JNZ", 0x4C, 4},
        {"JG", 0x50, 4},      {"JL", 0x54, 4},      {"CALL", 0x58, 4},    {"JMP", 0x5C, 4},
        {"RET", 0x60, 5},     {"IN", 0x64, 6},      {"OUT", 0x68, 6},     {"RR", 0x6C, 7},
        {"RL", 0x70, 7},      {"USBOUT", 0x74, 8},  {"USBIN", 0x78, 8},   {"INC", 0x7C, 9},
        {"DEC", 0x80, 9},     {"RL1", 0x84, 9},     {"RR1", 0x88, 9},     {"DELAY", 0x8C, 10},
        {"DELAYR", 0x90, 9},  {"WEXP", 0x94, 9},    {"SBIE", 0x98, 11},   {"CBIE", 0x9C, 11},
        {"BUSINIT", 0xA0, 10}, {"BUSOUT", 0xA4, 8}, {"BUSIN", 0xA8, 8},   {"HP", 0xAC, 11},
        {"LP", 0xB0, 11},     {"EHP", 0xB4, 11},    {"ELP", 0xB8, 11},    {"EOUT", 0xBC, 12},
        {"EIN", 0xC0, 12},    {"BUSDELAY", 0xC4, 9}, {"WRB", 0xC8, 12},   {"RDB", 0xCC, 12},
        {"AOUT", 0xD0, 12},   {"AIN", 0xD4, 12},    {"BDMOP", 0xD8, 9},   {"BDMWR", 0xDC, 14},
        {"BDMRD", 0xE0, 14},
    };
    ASSERT_EQ(std::size(rows), static_cast<size_t>(DevCommandCount));
    for (size_t i = 0; i < std::size(rows); ++i) {
        EXPECT_STREQ(DevCommands[i].Mnemonic, rows[i].mnemonic) << i;
        EXPECT_EQ(DevCommands[i].Opcode, rows[i].opcode) << rows[i].mnemonic;
        EXPECT_EQ(DevCommands[i].OperandClass, rows[i].operandClass) << rows[i].mnemonic;
    }
}

TEST(DevCommands, WexpSitsBetweenDelayrAndSbie)
{
    int row = 0;
    ASSERT_TRUE(FindDevCommand("WEXP", row));
    EXPECT_EQ(DevCommands[row].Opcode, 0x94);
    EXPECT_EQ(DevCommands[row].OperandClass, 9);
    EXPECT_STREQ(DevCommands[row - 1].Mnemonic, "DELAYR");
    EXPECT_STREQ(DevCommands[row + 1].Mnemonic, "SBIE");
}

TEST(Asm, EncodingsOfEveryOperandClass)
{
    const struct {
        const char* line;
        const char* bytes;
    } cases[] = {
        {"LDI R3,$1234", "30 03 12 34"},
        {"MOV R9,R2", "19 22"},
        {"ADD R31,R31", "03 FF"},
        {"SBI PIN,3", "41 03"},
        {"SBI POUT,$40", "40 40"},
        {"CBI P6,1", "46 01"},
        {"IN PIN,R7", "64 27"},
        {"OUT POUT,R0", "68 00"},
        {"RL R5,2", "70 A2"},
        {"TSTBIT R1,15", "38 2F"},
        {"DELAY 1000", "8C 03 E8"},
        {"RET", "60"},
        {"USBOUT R12", "74 0C"},
        {"INC 205", "7C CD"},
        {"WEXP $C3", "94 C3"},
        {"HP 128", "AC 80"},
        {"EOUT 195,129", "BC C3 81"},
        {"BDMRD 195,255,253", "E0 C3 FF FD"},
        {"LDI R1,-1", "30 01 FF FF"},
        {"IN P-5,R1", "67 61"},
        {"ANDI R1,$7FFF", "20 01 7F FF"},
        {"INC -2", "7C FE"},
        {"DELAY 70000", "8C 11 70"},
        {"LDI R1,5 ; comment", "30 01 00 05"},
        {"LDI\tR1 , 5 extra", "30 01 00 05"},
    };
    for (const auto& c : cases) {
        const auto r = AssembleLines({c.line});
        EXPECT_TRUE(r->ok) << c.line;
        EXPECT_EQ(r->bytes, c.bytes) << c.line;
    }
}

TEST(Asm, JumpCarriesTenBitTarget)
{
    std::vector<std::string> src;
    // 0x2A5 bytes of one-byte RET instructions put the label at 0x2A5.
    for (int i = 0; i < 0x2A5; ++i)
        src.push_back("RET");
    src.insert(src.begin(), "JMP Target");
    src.erase(src.end() - 2, src.end()); // the JMP takes two bytes
    src.push_back("Target:");
    const auto r = AssembleLines(src);
    ASSERT_TRUE(r->ok);
    EXPECT_EQ(Hex(r->asmc, 0, 2), "5E A5");
    EXPECT_EQ(r->asmc.Labels[0], "TARGET");
    EXPECT_EQ(r->asmc.Labels[1], "677");
}

TEST(Asm, LabelsIgnoreCaseAndResolveForward)
{
    const auto r = AssembleLines({"JMP loop", "Loop:", "JZ LOOP", "Loop:", "RET"});
    ASSERT_TRUE(r->ok);
    // Both jumps go to the first definition at address 2.
    EXPECT_EQ(r->bytes, "5C 02 48 02 60");
}

TEST(Asm, LabelWithInstructionOnTheSameLineAssemblesNothingMore)
{
    const auto r = AssembleLines({"Here: RET", "RET"});
    ASSERT_TRUE(r->ok);
    EXPECT_EQ(r->bytes, "60");
}

TEST(Asm, CommentsAndLabelsOnlyGiveNoCode)
{
    const auto r = AssembleLines({"; a comment", "", "Start:", "   ", "\t; indented"});
    EXPECT_TRUE(r->ok);
    EXPECT_EQ(r->asmc.CodeLength, 0);
}

TEST(Asm, ListingOfBothPasses)
{
    auto r = AssembleLines({"RL R5,2", "L:", "JMP L"});
    ASSERT_TRUE(r->ok);
    const TStringList expected{"Second pass.", "0000:\t70A2\t\tRL R5,2", "L:", "0002:\t5C02\t\tJMP L"};
    EXPECT_EQ(r->asmc.Listing, expected);

    // A failing first pass keeps its own listing: bytes as "0XXh ".
    r = AssembleLines({"LDI R1,$A312", "BOGUS", "NOPE"});
    EXPECT_FALSE(r->ok);
    const TStringList firstPass{Utf8ToCp1251("Проход 1."), "030h 001h 0A3h 012h ", "Error in source lines 1"};
    EXPECT_EQ(r->asmc.Listing, firstPass);
    EXPECT_EQ(r->asmc.ErrorLine, 1);
}

TEST(Asm, BadLinesFail)
{
    const struct {
        const char* line;
        const char* why;
    } cases[] = {
        {"ldi R1,5", "Unknown instruction"},
        {"LDI r1,5", "Register expected"},
        {"LDI R32,5", "Register expected"},
        {"LDI R1 5", "Comma expected"},
        {"LDI R1,", "Number expected"},
        {"LDI R1,12AB", "Number expected"},
        {"LDI R1,$", "Number expected"},
        {"SBI QOUT,3", "Port expected"},
        {"SBI PX,3", "Port expected"},
        {"MOV R1", "Comma expected"},
        {"JMP Nowhere", "Label \"Nowhere\" not found"},
        {"JMP", "Label expected"},
        {"BDMWR 1,2", "Comma expected"},
    };
    for (const auto& c : cases) {
        const auto r = AssembleLines({"RET", c.line});
        EXPECT_FALSE(r->ok) << c.line;
        EXPECT_EQ(r->asmc.ErrorLine, 1) << c.line;
        EXPECT_NE(r->asmc.ErrorMessage.find(c.why), std::string::npos) << c.line << ": " << r->asmc.ErrorMessage;
    }
}

TEST(Asm, FailingLineKeepsTheBytesItWrote)
{
    // Three-operand instructions write their opcode before the operands.
    const auto r = AssembleLines({"BDMWR 1,2", "RET"});
    EXPECT_FALSE(r->ok);
    EXPECT_EQ(r->bytes, "DC 60");
    EXPECT_EQ(r->asmc.Listing[1], "Error in source lines 0");
    EXPECT_EQ(r->asmc.Listing[2], "0DCh ");
}

TEST(Asm, OnlyTheFirstErrorIsReported)
{
    const auto r = AssembleLines({"X1", "X2"});
    EXPECT_FALSE(r->ok);
    EXPECT_EQ(r->asmc.ErrorLine, 0);
    EXPECT_EQ(r->asmc.Listing.Count(), 2);
}

TEST(Asm, CodeBeyondJumpReachIsRejected)
{
    std::vector<std::string> src(1024, "RET");
    auto r = AssembleLines(src);
    EXPECT_TRUE(r->ok);
    EXPECT_EQ(r->asmc.CodeLength, 1024);

    src.push_back("RET");
    r = AssembleLines(src);
    EXPECT_FALSE(r->ok);
    EXPECT_EQ(r->asmc.ErrorLine, 1024);
    EXPECT_LE(r->asmc.Address, MaxDeviceCodeLength);

    // A four-byte instruction that would straddle the limit is refused too.
    std::vector<std::string> straddle(1022, "RET");
    straddle.push_back("LDI R1,1");
    r = AssembleLines(straddle);
    EXPECT_FALSE(r->ok);
}

TEST(Asm, SecondAssembleStartsAfresh)
{
    TAsmCompiler a;
    a.Source.Add("X:");
    a.Source.Add("JMP X");
    ASSERT_TRUE(a.Assemble());
    ASSERT_TRUE(a.Assemble());
    EXPECT_EQ(a.Labels.Count(), 2);
    EXPECT_EQ(a.CodeLength, 2);
}

TEST(Asm, NextTokenRules)
{
    const std::string line = "  LDI\tR1,\"a b\" ;x";
    int pos = 1;
    std::vector<std::string> tokens;
    for (std::string t = TAsmCompiler::NextToken(line, pos); !t.empty(); t = TAsmCompiler::NextToken(line, pos))
        tokens.push_back(t);
    EXPECT_EQ(tokens, (std::vector<std::string>{"LDI", "R1", ",", "\"a b\""}));
}
