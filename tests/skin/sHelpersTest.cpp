#include "skin/sHelpers.h"

#include <gtest/gtest.h>

TEST(SkinHelpers, Rectangles)
{
    struct Case {
        TRect outer, r;
        bool overlap;
    } cases[] = {
        {{0, 0, 10, 10}, {5, 5, 15, 15}, true},  {{0, 0, 10, 10}, {10, 0, 20, 10}, false},
        {{0, 0, 10, 10}, {0, 10, 10, 20}, false}, {{0, 0, 10, 10}, {-5, -5, 0, 5}, false},
        {{0, 0, 10, 10}, {3, 3, 3, 8}, false},    {{0, 0, 10, 10}, {2, 2, 4, 4}, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RectsOverlap(c.outer, c.r), c.overlap) << c.r.Left << "," << c.r.Top;
    EXPECT_EQ(RectWidth(MakeRect(5, 0, 2, 0)), -3);
    EXPECT_EQ(RectWidth(MakeRect(5, 0, 2, 0), true), 0);
    EXPECT_EQ(RectHeight(MakeRect(0, 1, 0, 8)), 7);
    EXPECT_EQ(ClampByte(-4), 0);
    EXPECT_EQ(ClampByte(300), 255);
    EXPECT_EQ(ClampByte(77), 77);
    TCacheInfo ci = MakeCacheInfo(nullptr, 3, 4);
    EXPECT_EQ(ci.FillColor, clFuchsia);
    EXPECT_TRUE(ci.Ready);
}

TEST(SkinHelpers, Words)
{
    struct Case {
        const char* s;
        const char* delims;
        int n, start;
        const char* word;
        int count;
    } cases[] = {
        {"ab  cd", " ", 2, 5, "cd", 2},
        {"ab  cd", " ", 3, 0, "", 2},
        {"    ", " ", 1, 0, "", 0},
        {"", " ", 1, 0, "", 0},
        {";;1;2;", ";", 1, 3, "1", 2},
        {"#(10,20,74,52)(3,1,0,1)", " ()", 2, 3, "10,20,74,52", 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.s);
        EXPECT_EQ(WordStartPos(c.n, c.s, c.delims), c.start);
        EXPECT_EQ(WordStartPosInSet(c.n, c.s, MakeCharSet(c.delims)), c.start);
        EXPECT_EQ(ExtractWordAt(c.n, c.s, c.delims), c.word);
        EXPECT_EQ(CountWords(c.s, c.delims), c.count);
        EXPECT_EQ(CountWordsInSet(c.s, MakeCharSet(c.delims)), c.count);
    }
    EXPECT_EQ(RemoveChars("a b c ", ' '), "abc");
}

TEST(SkinHelpers, ReplaceAllText)
{
    struct Case {
        const char* s, *from, *to, *result;
    } cases[] = {
        {"aXbXc", "X", "YY", "aYYbYYc"},
        {"aaa", "a", "aa", "aaaaaa"}, // inserted text is not scanned again
        {"abab", "ab", "", ""},
        {"abc", "", "Z", "abc"},      // an empty pattern occurs nowhere (and ends)
        {"Abc", "a", "z", "Abc"},     // case-sensitive
        {"", "a", "b", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReplaceAllText(c.s, c.from, c.to), c.result) << c.s << " " << c.from;
}

TEST(SkinHelpers, IniText)
{
    TStringList lines{"dropped=1", "[ONE]", "; comment", "", "A=1", "B=0x1F", "C=x", "[two]", "D=a=b"};
    TIniSections sections;
    ParseIniSections(lines, sections);
    ASSERT_EQ(sections.size(), 2u);
    EXPECT_EQ(sections[0].Name, "ONE");
    EXPECT_EQ(sections[0].Lines.Count(), 3);
    struct Case {
        const char* section, *key, *text;
        int number;
    } cases[] = {
        {"ONE", "A", "1", 1},   {"one", "b", "0x1F", 31}, {"ONE", "C", "x", -7},
        {"TWO", "D", "a=b", -7}, {"ONE", "Z", "def", -7},  {"NONE", "A", "def", -7},
        {"ONE", "dropped", "def", -7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.section) + "." + c.key);
        EXPECT_EQ(IniReadString(sections, c.section, "def", c.key), c.text);
        EXPECT_EQ(IniReadInteger(sections, c.section, -7, c.key), c.number);
    }
}
