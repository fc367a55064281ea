// The calculator assembler, the instruction table and the text coding.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "calc/uCalcCompilerAsm.h"
#include "platform/Cp1251.h"
#include "platform/SysUtils.h"

namespace {

struct TAssembled {
    bool ok = false;
    std::string error; // UTF-8
    std::string bytes; // hex, space separated
    std::unique_ptr<TCalcImage> image = std::make_unique<TCalcImage>();
};

TAssembled Assemble(const std::vector<std::string>& listing)
{
    TAssembled a;
    a.image->fill(0xEE);
    int position = 0;
    std::string error;
    a.ok = AssembleCalculator(listing, error, position, *a.image);
    a.error = Cp1251ToUtf8(error);
    for (int i = 0; i < position; ++i)
        a.bytes += (a.bytes.empty() ? "" : " ") + IntToHex((*a.image)[static_cast<size_t>(i)], 2);
    return a;
}

} // namespace

TEST(CalcMnemonics, TableRowsAndLookup)
{
    const struct {
        const char* mnemonic;
        int opcode;
        const char* operands;
    } rows[] = {{"R=R", 0, "bb"},   {"R=D", 1, "bd"},  {"R>>D", 21, "bb"}, {"JR=>R", 28, "bbl"}, {"JMP", 30, "l"},
                {"RET", 31, ""},    {"@D=R", 39, "db"}, {"@D=D", 40, "db"}, {"R=W", 42, "bw"},   {"S=0", 53, "b"},
                {"S+L", 54, "bl"},  {"S+WI", 67, "bw"}, {"S+DI", 68, "bd"}, {"CALL", 75, "l"},   {"R=?D", 77, "bd"},
                {"S=S", 78, "bb"}};
    for (const auto& r : rows) {
        EXPECT_EQ(FindCalcMnemonic(r.mnemonic), r.opcode) << r.mnemonic;
        EXPECT_STREQ(CalcMnemonics[r.opcode].Operands, r.operands) << r.mnemonic;
    }
    for (int op = 0; op < CalcOpcodeCount; ++op)
        EXPECT_EQ(FindCalcMnemonic(CalcListingLine(CalcMnemonics[op].Mnemonic, {"00000001"})), op);
    EXPECT_EQ(static_cast<int>(TCalcOp::StrSet), 78);
    EXPECT_EQ(FindCalcMnemonic("R=RX"), -1);
    EXPECT_EQ(FindCalcMnemonic(""), -1);
    EXPECT_EQ(CalcInstructionSize(static_cast<uint8_t>(TCalcOp::JEq)), 5);
    EXPECT_EQ(CalcInstructionSize(79), 0);
}

TEST(CalcAssembler, ListingsToBytes)
{
    const struct {
        std::vector<std::string> listing;
        const char* bytes;
    } cases[] = {
        {{"; comment", "", ".db 01 02", "R=D     00000034 12345678"}, "01 02 01 34 78 56 34 12"},
        {{"A:", "JMP     A", "CALL    B", "B:", "RET"}, "1E 00 00 4B 06 00 1F"},
        {{"R=W     00000001 0000ABCD", "@D=D    0000FFFF 00000007"}, "2A 01 CD AB 28 FF FF 00 00 07"},
        {{"R=D     00000001 $L", "L:"}, "01 01 06 00 00 00"},
        {{"JR<R    00000080 0000007F X", "X:"}, "1B 80 7F 05 00"},
    };
    for (const auto& c : cases) {
        const TAssembled a = Assemble(c.listing);
        EXPECT_TRUE(a.ok) << a.error;
        EXPECT_EQ(a.bytes, c.bytes) << c.listing.back();
    }
}

TEST(CalcAssembler, EntryLabelsFillTheHeader)
{
    const TAssembled a = Assemble({".db FF FF FF FF FF FF FF FF 10 00 20 00 FF", "PROC_ONCHANGE:", "RET",
                                   "PROC_ONSHOW:", "RET"});
    ASSERT_TRUE(a.ok);
    EXPECT_EQ(a.bytes, "0E 00 FF FF 0D 00 FF FF 10 00 20 00 FF 1F 1F");
}

TEST(CalcAssembler, Messages)
{
    std::vector<std::string> huge;
    for (int i = 0; i < 16384; ++i)
        huge.push_back("R=D     00000001 00000002");
    const struct {
        std::vector<std::string> listing;
        const char* error;
    } cases[] = {
        {{"A:", "; x", "A:"}, "Ассемблер. Строка: 2 - Повторная метка A"},
        {{"NOPE    00000001"}, "Ассемблер. Строка: 0 Неизвестная мнемоника NOPE    "},
        {{"R=D     00000001 $MISSING"}, "Ассемблер. Строка: 0 Неизвестная мнемоника MISSING"},
        {{"JMP     MISSING"}, "Ассемблер. Строка: 0 Неизвестная метка MISSING"},
        {{"R=B     00000001 00000100"}, "Ассемблер. Строка: 0 Неверный операнд R=B     00000001 00000100"},
        {{"R=B     00000001"}, "Ассемблер. Строка: 0 Неверный операнд R=B     00000001"},
        {{"R=B     0000000X 00000001"}, "Ассемблер. Строка: 0 Неверный операнд R=B     0000000X 00000001"},
        {{".db 0"}, "Ассемблер. Строка: 0 Неверные данные 0"},
        {huge, "Ассемблер. Строка: 10922: Образ калькулятора больше 65536 байт."},
    };
    for (const auto& c : cases) {
        const TAssembled a = Assemble(c.listing);
        EXPECT_FALSE(a.ok);
        EXPECT_EQ(a.error, c.error);
    }
}

TEST(CalcAssembler, PeepholeFoldsTheTemporary)
{
    const struct {
        std::vector<std::string> in;
        std::vector<std::string> out;
    } cases[] = {
        {{"R=R     000000FF 00000034", "R+B     000000FF 00000001", "R=R     00000034 000000FF"},
         {";ooo R=R     000000FF 00000034", ";ooo R+B     000000FF 00000001", ";ooo R=R     00000034 000000FF",
          "R+B     00000034 00000001"}},
        // Another register stored back, or a division by the source itself:
        // left alone.
        {{"R=R     000000FF 00000034", "R+B     000000FF 00000001", "R=R     00000035 000000FF"},
         {"R=R     000000FF 00000034", "R+B     000000FF 00000001", "R=R     00000035 000000FF"}},
        {{"R=R     000000FF 00000034", "R%R     000000FF 00000034", "R=R     00000034 000000FF"},
         {"R=R     000000FF 00000034", "R%R     000000FF 00000034", "R=R     00000034 000000FF"}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> listing = c.in;
        OptimizeCalcListing(listing);
        EXPECT_EQ(listing, c.out);
    }
}

TEST(CalcTextCoding, RoundTrips)
{
    for (const std::string& text : std::vector<std::string>{"a", "abca", "Sum: ", Utf8ToCp1251("Сумма"), std::string("x\0y", 3), "\x80z"}) {
        std::string kept;
        for (char ch : text)
            if (ch != '\0')
                kept += ch;
        const std::vector<uint8_t> lit = EncodeCalcLiteral(text);
        std::string back;
        ASSERT_TRUE(DecodeCalcLiteral(lit.data(), lit.size(), 0, back));
        EXPECT_EQ(back, kept);
        uint8_t key = 'L';
        std::vector<uint8_t> coded;
        EncodeCalcText(text, key, coded);
        uint8_t readKey = 'L';
        size_t pos = 0;
        ASSERT_TRUE(DecodeCalcText(coded.data(), coded.size(), readKey, back, pos));
        EXPECT_EQ(back, kept);
        EXPECT_EQ(pos, coded.size());
        EXPECT_EQ(readKey, key);
    }
    // A later character equal to the first is stored as zero.
    EXPECT_EQ(EncodeCalcLiteral("aba"), (std::vector<uint8_t>{'a' ^ 0x80, 'b' ^ 'a', 0, 'a'}));
    // The key wraps past 255.
    uint8_t key = 0xFF;
    std::vector<uint8_t> coded;
    EncodeCalcText("ab", key, coded);
    EXPECT_EQ(coded, (std::vector<uint8_t>{'a' ^ 0xFF, 'b' ^ 0x00, 0x01}));
    // Truncated texts report it instead of reading on.
    std::string out;
    size_t pos = 0;
    uint8_t k = 'L';
    EXPECT_FALSE(DecodeCalcText(coded.data(), 2, k, out, pos));
    EXPECT_FALSE(DecodeCalcLiteral(coded.data(), 0, 0, out));
}
