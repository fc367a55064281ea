#include "platform/Cp1251.h"
#include "platform/StringList.h"
#include "platform/SysUtils.h"

#include <gtest/gtest.h>

TEST(Cp1251, EveryByteSurvivesTheRoundTrip)
{
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(QStringToCp1251(Cp1251ToQString(all)), all);
    EXPECT_EQ(Utf8ToCp1251(Cp1251ToUtf8(all)), all);
    EXPECT_EQ(Cp1251ToUtf8("\xCF\xF0\xE8\xE2\xE5\xF2"), "Привет");
    EXPECT_EQ(Utf8ToCp1251("ёЁ№"), "\xB8\xA8\xB9");
    EXPECT_EQ(QStringToCp1251(QString::fromUtf8("漢")), "?");
}

TEST(Cp1251, CaseRulesCoverCyrillic)
{
    EXPECT_EQ(AnsiUpperCase("abc\xE0\xFF\xB8\xB3\x9A"), "ABC\xC0\xDF\xA8\xB2\x8A");
    EXPECT_EQ(AnsiLowerCase("ABC\xC0\xDF\xA8"), "abc\xE0\xFF\xB8");
    EXPECT_EQ(AnsiUpperCase("\xB5"), "\xB5"); // micro sign has no upper case in the page
    EXPECT_TRUE(AnsiSameText("[menu]", "[MENU]"));
    EXPECT_FALSE(AnsiSameText("ab", "abc"));
    EXPECT_LT(AnsiCompareText("ab", "ABC"), 0);
}

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

TEST(StringList, NamesValuesAndText)
{
    TStringList l;
    l.SetText("a=1\r\nB=2=3\nplain\rlast");
    EXPECT_EQ(l.Count(), 4);
    EXPECT_EQ(l.Values("b"), "2=3");
    EXPECT_EQ(l.IndexOfName("PLAIN"), -1);
    EXPECT_EQ(l.IndexOf("PLAIN"), 2);
    l.SetValue("A", "9");
    l.SetValue("new", "x");
    l.SetValue("b", "");
    EXPECT_EQ(l.Text(), "A=9\r\nplain\r\nlast\r\nnew=x\r\n");
}
