// How R=C reads the text of decimal and hexadecimal fields: a valid number
// reads as its value, only text that is no number reads as the fallback.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "calc/uCalcMachine.h"

TEST(CalcFields, DecimalText)
{
    const struct {
        const char* text;
        bool valid;
        int64_t value;
    } cases[] = {
        {"0", true, 0},
        {"42", true, 42},
        {"-1", true, -1},
        {"+7", true, 7},
        {" 12 ", true, 12},
        {"2147483647", true, 2147483647},
        {"-2147483648", true, -2147483648LL},
        // Unsigned as C=R shows a register's low 32 bits, sign-extended.
        {"4294967295", true, -1},
        {"3000000000", true, 3000000000LL - 4294967296LL},
        {"4294967296", false, 1},
        {"-2147483649", false, 1},
        {"99999999999999999999999", false, 1},
        {"", false, 1},
        {"-", false, 1},
        {"12a", false, 1},
        {"$10", false, 1},
        {"0x10", false, 1},
        {"1 2", false, 1},
    };
    for (const auto& c : cases) {
        int64_t value = 12345;
        EXPECT_EQ(CalcParseDecimalField(c.text, value), c.valid) << '"' << c.text << '"';
        EXPECT_EQ(value, c.value) << '"' << c.text << '"';
    }
}

TEST(CalcFields, HexadecimalText)
{
    const struct {
        const char* text;
        bool valid;
        int64_t value;
    } cases[] = {
        {"0", true, 0},
        {"1F", true, 0x1F},
        {"abcd", true, 0xABCD},
        {"7FFFFFFF", true, 0x7FFFFFFF},
        {"FFFFFFFF", true, -1},
        {"80000000", true, -0x80000000LL},
        {"0000FFFFFFFF", true, -1},
        {" 10 ", true, 0x10},
        {"100000000", false, 0x100000000},
        {"", false, 0x100000000},
        {"G1", false, 0x100000000},
        {"-1", false, 0x100000000},
        {"$FF", false, 0x100000000},
    };
    for (const auto& c : cases) {
        int64_t value = 12345;
        EXPECT_EQ(CalcParseHexField(c.text, value), c.valid) << '"' << c.text << '"';
        EXPECT_EQ(value, c.value) << '"' << c.text << '"';
    }
}
