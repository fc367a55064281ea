#include "platform/SysUtils.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>

TEST(SysUtils, IntegerConversion)
{
    struct Case {
        const char* text;
        std::optional<int32_t> expected;
    } cases[] = {
        {"12", 12},           {"  -7", -7},         {"+3", 3},
        {"$1F", 31},          {"0x1f", 31},         {"x10", 16},
        {"$FFFFFFFF", -1},    {"2147483647", 2147483647},
        {"-2147483648", INT32_MIN},
        {"2147483648", std::nullopt}, {"$100000000", std::nullopt},
        {"", std::nullopt},   {"12ab", std::nullopt}, {"1 ", std::nullopt},
        {"-", std::nullopt},  {"$", std::nullopt},  {"0x", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TryStrToInt(c.text), c.expected) << c.text;
    EXPECT_EQ(StrToInt64Def("$FFFFFFFFFFFFFFFF", 0), -1);
    EXPECT_EQ(StrToInt64Def("9223372036854775807", 0), INT64_MAX);
    EXPECT_EQ(StrToInt64Def("9223372036854775808", 5), 5);
    EXPECT_EQ(IntToHex(0xAB, 4), "00AB");
    EXPECT_EQ(IntToHex(0x12345, 2), "12345");
    EXPECT_EQ(Trim(" \t x y \r\n"), "x y");
    EXPECT_EQ(WithoutFirstAmpersand("A&B&C"), "AB&C");
    EXPECT_EQ(WithoutFirstAmpersand("Plain"), "Plain");
}
