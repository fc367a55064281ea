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

// Names the system gives are kept whole: a character the page lacks is
// marked, and a text or setting written in the page reads as it always did.
TEST(Cp1251, NamesOutsideThePageSurviveTheRoundTrip)
{
    const struct {
        const char* Name;
        std::string Utf8;
        std::string Page;
    } cases[] = {
        {"Latin beyond the page", "M\xC3\xBCller", "M\x98\xC3\xBCller"},
        {"Japanese", "\xE6\x97\xA5\xE6\x9C\xAC", "\x98\xE6\x97\xA5\x98\xE6\x9C\xAC"},
        {"outside the basic plane", "a\xF0\x9F\x98\x80", "a\x98\xF0\x9F\x98\x80"},
        {"Cyrillic stays one byte", "\xD0\x9C\xD0\xBE\xD0\xB8 \xC3\xA4", "\xCC\xEE\xE8 \x98\xC3\xA4"},
        {"U+0098 before a letter", "\xC2\x98" "a", "\x98" "a"},
        // Alone its byte would join the next two into a marked character.
        {"U+0098 that would mark what follows", "\xC2\x98\xD0\x96\xE2\x80\x93", "\x98\xC2\x98\xC6\x96"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(Utf8ToCp1251(c.Utf8), c.Page);
        EXPECT_EQ(Cp1251ToUtf8(c.Page), c.Utf8);
        EXPECT_EQ(Cp1251ToQString(c.Page), QString::fromUtf8(c.Utf8.c_str()));
    }
    // Bytes that are no UTF-8 at all cannot be kept.
    EXPECT_EQ(Utf8ToCp1251("a\xFF" "b\xC3"), "a?b?");
    // A text typed into a window still loses what the page lacks.
    EXPECT_EQ(QStringToCp1251(QString::fromUtf8("M\xC3\xBCller")), "M?ller");
    // 0x98 before anything but a character outside the page is the old byte.
    EXPECT_EQ(Cp1251ToQString("\x98\x99\x98\xC6" "a\x98"), QString::fromUtf8("\xC2\x98\xE2\x84\xA2\xC2\x98\xD0\x96" "a\xC2\x98"));
    EXPECT_EQ(MarkedCharLength("x\x98\xC3\xBC", 1), 3u);
    EXPECT_EQ(MarkedCharLength("\x98\xD0\x96", 0), 0u); // a Cyrillic letter is never marked
}
