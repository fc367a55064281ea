#include "engine/Global.h"

#include <gtest/gtest.h>

TEST(Global, NumberTextToInt64)
{
    const std::pair<const char*, int64_t> cases[] = {
        {"0x1F", 31},
        {"0X1f", 31},
        {" 1 0 ", 10},
        {"0x", -7},
        {"12ab", -7},
        {"", -7},
        {"   ", -7},
        {"-42", -42},
        {"+5", 5},
        {"-", -7},
        {"$10", -7},  // only "0x" marks hexadecimal
        {"x10", -7},
        {"0x-5", -7},
        {"0xFFFFFFFFFFFFFFFF", -1},
        {"0x1FFFFFFFFFFFFFFFF", -7},
        {"9223372036854775807", INT64_MAX},
        {"9223372036854775808", -7},
        {"0 x 10", 16},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(NumberTextToInt64(text, -7), expected) << text;
}

// The default of NumberTextToInt64 is also a number; the optional form tells
// "-1" from text that does not convert.
TEST(Global, TryNumberTextToInt64)
{
    EXPECT_EQ(TryNumberTextToInt64("-1"), -1);
    EXPECT_EQ(TryNumberTextToInt64("0xFFFFFFFFFFFFFFFF"), -1);
    EXPECT_EQ(TryNumberTextToInt64("0x10"), 16);
    for (const char* bad : {"", " ", "-", "0x", "abc", "$10"})
        EXPECT_EQ(TryNumberTextToInt64(bad), std::nullopt) << bad;
}

TEST(Global, BytesToNumber)
{
    const uint8_t b2[] = {0x12, 0x34};
    const uint8_t b4[] = {0x12, 0x34, 0x56, 0x78};
    const uint8_t b8[] = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08};
    const uint8_t one[] = {0x01};
    struct Case {
        const uint8_t* bytes;
        int count;
        bool swapBytes, swapNibbles, reverseOrder, mirrorBits, invert;
        int64_t expected;
    };
    const Case cases[] = {
        {b2, 2, false, false, false, false, false, 0x1234},
        {b2, 2, false, false, true, false, false, 0x3412},
        {b2, 2, true, false, false, false, false, 0x3412},
        {b2, 2, false, true, false, false, false, 0x2143},
        {b2, 2, false, false, false, false, true, 0xEDCB},
        {one, 1, false, false, false, true, false, 0x80},
        {one, 1, true, false, false, false, false, 0x01},
        {b4, 4, true, false, false, false, false, 0x34127856},
        {b4, 3, true, false, false, false, false, 0x125634},
        {b4, 4, false, false, true, false, false, 0x78563412},
        {b4, 4, false, false, false, true, false, 0x482C6A1E},
        {b8, 8, false, false, false, false, false, 0x0102030405060708},
        {b8, 8, false, false, true, false, false, 0x0807060504030201},
        // Mended: the swap and mirror options used to keep only the low 32
        // bits, so values of 5 to 8 bytes lost their upper bytes.
        {b8, 8, true, false, false, false, false, 0x0201040306050807},
        {b8, 8, false, true, false, false, false, 0x1020304050607080},
        {b8, 8, false, false, false, true, false, static_cast<int64_t>(0x8040C020A060E010ull)},
        {b8, 5, true, false, false, false, false, 0x0103020504},
        // Inversion covers the count bytes, after the swaps.
        {b8, 8, true, false, false, false, true, static_cast<int64_t>(0xFDFEFBFCF9FAF7F8ull)},
        {b8, 5, true, false, false, false, true, 0xFEFCFDFAFB},
        {b2, 2, true, true, true, true, true, 0x7B3D},
        {b8, 0, false, false, false, false, true, 0},
        {b8, 9, false, false, false, false, false, 0x0102030405060708},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BytesToNumber(c.bytes, c.count, c.swapBytes, c.swapNibbles, c.reverseOrder, c.mirrorBits, c.invert),
                  c.expected)
            << "count " << c.count << " swap " << c.swapBytes << c.swapNibbles << c.reverseOrder << c.mirrorBits
            << c.invert;
}

TEST(Global, IsHexDumpText)
{
    const std::pair<std::string, bool> cases[] = {
        {"0A 1B\r\n2C", true},
        {"0A 1", false},
        {"0G", false},
        {"", true}, // an empty or blank text counts as hex text
        {" \t\r\n", true},
        {"0a1bFF", true},
        {"0A\x01" "1B", true},
        {"A", false},
        {"0A 1\t", false},
        {"\xC0\xC1", false},
        {"-1", false},
        {std::string("0A\0GG", 5), true}, // the text ends at its first zero
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(IsHexDumpText(text), expected) << text;
}

TEST(Global, NextPatternByteIsCyclic)
{
    TPatternCursor c{"ABC"};
    EXPECT_EQ(NextPatternByte(c), 0xAB);
    EXPECT_EQ(NextPatternByte(c), 0x0C);
    EXPECT_EQ(NextPatternByte(c), 0xAB);
    EXPECT_EQ(c.Position, 3);

    TPatternCursor even{"12f0"};
    const uint8_t expected[] = {0x12, 0xF0, 0x12, 0xF0};
    for (uint8_t e : expected)
        EXPECT_EQ(NextPatternByte(even), e);
    EXPECT_EQ(even.Position, 1);

    TPatternCursor single{"7"};
    EXPECT_EQ(NextPatternByte(single), 7);
    EXPECT_EQ(NextPatternByte(single), 7);
}

TEST(Global, NextPatternByteStaysInRange)
{
    TPatternCursor empty{""};
    EXPECT_EQ(NextPatternByte(empty), 0);
    EXPECT_EQ(empty.Position, 1);

    TPatternCursor stale{"AB", 9}; // position past a pattern that shrank
    EXPECT_EQ(NextPatternByte(stale), 0xAB);
    TPatternCursor negative{"AB", -3};
    EXPECT_EQ(NextPatternByte(negative), 0xAB);
}
