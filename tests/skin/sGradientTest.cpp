#include "skin/sGradient.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

TBitmap Canvas(int w, int h, TPixelFormat f = pf24bit)
{
    TBitmap b;
    b.SetPixelFormat(f);
    b.SetSize(w, h);
    b.FillRect({0, 0, w, h}, RGB(1, 2, 3));
    return b;
}

TsGradArray Parse(const std::string& text)
{
    TsGradArray a;
    ParseGradientData(text, a);
    return a;
}

} // namespace

TEST(Gradient, ParsesGroupsOfFive)
{
    struct Case {
        const char* text;
        TsGradArray steps;
    } cases[] = {
        {"0;16777215;100;0;0", {{0, 0xFFFFFF, 100, 0}}},
        {"1;2;3;4;5;6;7", {{1, 2, 3, 4}}},
        {"", {}},
        {"-5;-1;150;1;0", {{0, 0, 100, 1}}},
        {"1;2;-3;0;0", {{1, 2, 0, 0}}},
        {"1;2;3;0;0;x;2;3;0;0", {{1, 2, 3, 0}}}, // a bad number ends the gradient
        {"$FF;0x10;50;2;0", {{255, 16, 50, 2}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Parse(c.text), c.steps) << c.text;
}

TEST(Gradient, VerticalAndHorizontalBands)
{
    TBitmap v = Canvas(4, 11);
    PaintGradient(v, {0, 0, 4, 11}, Parse("0;16777215;100;0;0"));
    EXPECT_EQ(v.Pixel(0, 0), 0);
    EXPECT_EQ(v.Pixel(3, 10), 0xFFFFFF);
    EXPECT_EQ(v.Pixel(2, 5), RGB(128, 128, 128)); // 5 of 10 steps of 25.5, rounded

    TBitmap h = Canvas(100, 3, pf32bit);
    PaintGradient(h, {0, 0, 100, 3}, Parse("255;255;50;1;0;255;65280;50;1;0"));
    for (int x : {0, 25, 50})
        EXPECT_EQ(h.Pixel(x, 1), 0x0000FF) << x;
    EXPECT_EQ(h.Pixel(99, 2), 0x00FF00);
    EXPECT_EQ(h.Alpha(10, 0), 255);
    // The second band runs over columns 50..99 (49 steps); column 75 is 25 in.
    EXPECT_EQ(h.Pixel(75, 0), RGB(125, 130, 0));
}

// Halves round to the even neighbour, in pixel values and in band ends.
TEST(Gradient, HalvesRoundToEven)
{
    TBitmap v = Canvas(2, 3);
    PaintGradient(v, {0, 0, 2, 3}, Parse("0;1;100;0;0"));
    for (int y = 0; y < 3; ++y)
        EXPECT_EQ(v.Pixel(1, y), RGB(y / 2, 0, 0)) << "row " << y << ": 0, 0.5, 1";

    // The first band of half of 5 columns ends at column 2 (2.5), where the
    // second one begins.
    TBitmap h = Canvas(5, 1);
    PaintGradient(h, {0, 0, 5, 1}, Parse("0;0;50;1;0;255;255;50;1;0"));
    EXPECT_EQ(h.Pixel(1, 0), 0);
    EXPECT_EQ(h.Pixel(2, 0), RGB(255, 0, 0));
}

TEST(Gradient, ClipsAndPaintsNothingWhenItCannot)
{
    struct Case {
        const char* what;
        TPixelFormat format;
        TRect r;
        const char* text;
    } cases[] = {
        {"empty data", pf24bit, {0, 0, 8, 8}, ""},
        {"palette bitmap", pf8bit, {0, 0, 8, 8}, "0;255;100;0;0"},
        {"rectangle outside", pf24bit, {20, 20, 30, 30}, "0;255;100;0;0"},
        {"unknown mode", pf24bit, {0, 0, 8, 8}, "0;255;100;7;0"},
        {"one row, vertical", pf24bit, {0, 3, 8, 4}, "0;255;100;0;0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TBitmap b = Canvas(8, 8, c.format);
        TBitmap before = b;
        PaintGradient(b, c.r, Parse(c.text));
        for (int y = 0; y < 8; ++y)
            EXPECT_EQ(0, memcmp(b.ScanLine(y), before.ScanLine(y), b.BytesPerScanline()));
    }
    // A rectangle reaching beyond the bitmap paints inside it only.
    TBitmap b = Canvas(8, 8);
    PaintGradient(b, {-4, -4, 40, 40}, Parse("0;16777215;100;0;0"));
    EXPECT_EQ(b.Pixel(0, 0), 0);
    EXPECT_EQ(b.Pixel(7, 7), 0xFFFFFF);
}

TEST(Gradient, TrianglesMeetInTheCentre)
{
    // Corners red, green (centre), blue, white, black.
    TBitmap b = Canvas(101, 101);
    PaintGradient(b, {0, 0, 101, 101}, Parse("255;0;0;2;0;65280;0;0;2;0;16711680;0;0;2;0;16777215;0;0;2;0;0;0;0;2;0"));
    struct Probe {
        int x, y;
        TColor expected;
    } probes[] = {
        {0, 0, 0x0000FF}, {50, 50, 0x00FF00}, {100, 0, 0xFF0000}, {100, 100, 0xFFFFFF}, {0, 100, 0x000000},
        {50, 1, RGB(127, 5, 127)}, // the top edge between red and blue, close to the centre's share
    };
    for (const Probe& p : probes) {
        TColor c = b.Pixel(p.x, p.y);
        SCOPED_TRACE(testing::Message() << p.x << "," << p.y);
        EXPECT_NEAR(GetRValue(c), GetRValue(p.expected), 6);
        EXPECT_NEAR(GetGValue(c), GetGValue(p.expected), 6);
        EXPECT_NEAR(GetBValue(c), GetBValue(p.expected), 6);
    }
    // Every pixel was painted (none keeps the canvas colour).
    for (int y = 0; y < 101; ++y)
        for (int x = 0; x < 101; ++x)
            ASSERT_NE(b.Pixel(x, y), RGB(1, 2, 3)) << x << "," << y;
    // Fewer than five steps: the missing corners take the colour before.
    TBitmap two = Canvas(20, 20);
    PaintGradient(two, {0, 0, 20, 20}, Parse("255;0;0;2;0;255;0;0;2;0"));
    EXPECT_EQ(two.Pixel(19, 19), 0x0000FF);
}
