#include "buffer/uFind.h"

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<uint8_t>;

TNumberPatternOptions width(int w)
{
    TNumberPatternOptions o;
    o.Width = w;
    return o;
}

} // namespace

TEST(Find, DefaultPatternWidth)
{
    const std::pair<int64_t, int> cases[] = {
        {0, 1},           {0xFF, 1},         {0x100, 2},          {0xFFFF, 2},
        {0x10000, 3},     {0xFFFFFF, 3},     {0x1000000, 4},      {0xFFFFFFFF, 4},
        // Mended: 2^32 and above used to get no width at all.
        {0x100000000, 5}, {0xFFFFFFFFFF, 5}, {0x10000000000, 6},  {INT64_MAX, 8},
        {-1, 1},          {-5, 1},           {INT64_MIN, 1},
    };
    for (const auto& [value, expected] : cases)
        EXPECT_EQ(DefaultPatternWidth(value), expected) << value;
}

TEST(Find, BuildNumberPattern)
{
    TNumberPatternOptions reverse;
    reverse.ReverseOrder = true;
    TNumberPatternOptions swapOn3 = width(3);
    swapOn3.SwapBytes = true;
    TNumberPatternOptions invert2 = width(2);
    invert2.Invert = true;
    TNumberPatternOptions swap4 = width(4);
    swap4.SwapBytes = true;
    TNumberPatternOptions nibbles;
    nibbles.SwapNibbles = true;
    TNumberPatternOptions mirror;
    mirror.MirrorBits = true;
    struct Case {
        const char* text;
        TNumberPatternOptions options;
        int width;
        bool swapEnabled;
        const char* hex;
        Bytes bytes;
    };
    const Case cases[] = {
        {"300", {}, 2, true, "012C", {0x01, 0x2C}},
        {"300", reverse, 2, true, "2C01", {0x2C, 0x01}},
        {"0x1FF", {}, 2, true, "01FF", {0x01, 0xFF}},
        {"-5", {}, 1, false, "FB", {0xFB}},
        // Width 3: swap bytes is off and ignored even when asked for.
        {"0x123456", swapOn3, 3, false, "123456", {0x12, 0x34, 0x56}},
        {"255", invert2, 2, true, "FF00", {0xFF, 0x00}},
        {"0x12345678", swap4, 4, true, "34127856", {0x34, 0x12, 0x78, 0x56}},
        {"0x12", nibbles, 1, false, "21", {0x21}},
        {"1", mirror, 1, false, "80", {0x80}},
        {"300", width(1), 1, false, "2C", {0x2C}},
        {"1", width(4), 4, true, "00000001", {0, 0, 0, 1}},
        // Mended: -1 used to be the error value and could never be searched.
        {"-1", {}, 1, false, "FF", {0xFF}},
        {"-1", width(2), 2, true, "FFFF", {0xFF, 0xFF}},
        // Mended: numbers of 2^32 and above get the bytes they need.
        {"4294967296", {}, 5, false, "0100000000", {0x01, 0, 0, 0, 0}},
        {"9999999999", reverse, 5, false, "FFE30B5402", {0xFF, 0xE3, 0x0B, 0x54, 0x02}},
        {"4294967296", nibbles, 5, false, "1000000000", {0x10, 0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        const TNumberPattern p = BuildNumberPattern(c.text, c.options);
        EXPECT_TRUE(p.Valid) << c.text;
        EXPECT_EQ(p.Width, c.width) << c.text;
        EXPECT_EQ(p.SwapBytesEnabled, c.swapEnabled) << c.text;
        EXPECT_EQ(p.HexView, c.hex) << c.text;
        EXPECT_EQ(p.Bytes, c.bytes) << c.text;
    }
}

TEST(Find, TextThatDoesNotConvertGivesNoPattern)
{
    for (const char* text : {"", "  ", "abc", "0x", "12ab", "$10", "-"}) {
        const TNumberPattern p = BuildNumberPattern(text, {});
        EXPECT_FALSE(p.Valid) << text;
        EXPECT_EQ(p.HexView, "Error pattern") << text;
        EXPECT_TRUE(p.Bytes.empty()) << text;
    }
}

TEST(Find, BuildTextPattern)
{
    Bytes pattern{9};
    EXPECT_EQ(BuildTextPattern({"ab", "", "c"}, pattern), TTextPatternResult::Ok);
    EXPECT_EQ(pattern, (Bytes{0x61, 0x62, 0x63}));

    // Empty and oversized texts leave the previous pattern.
    EXPECT_EQ(BuildTextPattern({}, pattern), TTextPatternResult::Empty);
    EXPECT_EQ(BuildTextPattern({"", ""}, pattern), TTextPatternResult::Empty);
    // Mended: a text longer than the pattern buffer used to overflow it.
    const std::string half(FindPatternCapacity / 2, 'x');
    EXPECT_EQ(BuildTextPattern({half, half, "y"}, pattern), TTextPatternResult::TooLong);
    EXPECT_EQ(pattern, (Bytes{0x61, 0x62, 0x63}));

    EXPECT_EQ(BuildTextPattern({half, half}, pattern), TTextPatternResult::Ok);
    EXPECT_EQ(pattern.size(), size_t(FindPatternCapacity));
    EXPECT_EQ(BuildTextPattern({"\xC0\xFF"}, pattern), TTextPatternResult::Ok);
    EXPECT_EQ(pattern, (Bytes{0xC0, 0xFF}));
}
