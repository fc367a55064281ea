#include "platform/Cp1251.h"

#include <QString>
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
