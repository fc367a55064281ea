#include "skin/acCanvas.h"

#include "PixelTestUtil.h"

#include <gtest/gtest.h>

using namespace pixeltest;

TEST(Canvas, CutTextToWidth)
{
    // Every character is 5 pixels wide.
    auto width = [](const std::string& s) { return int(s.size()) * 5; };
    struct Case {
        const char* text;
        int maxWidth;
        const char* expected;
    } cases[] = {
        {"Caption", 0, ""},     {"Caption", 35, "Caption"}, {"Caption", 34, "Cap..."},
        {"Caption", 20, "C..."}, {"Caption", 14, ""},        {"", 50, ""},
        {"Ab", -3, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CutTextToWidth(width, c.text, c.maxWidth), c.expected) << c.text << " " << c.maxWidth;
}

TEST(Canvas, SolidBorderAndBlit)
{
    TBitmap b = Solid(10, 10, pf24bit, clBlack);
    FillSolidBorder(b, {1, 1, 9, 9}, 0, 0, 0, 0, clWhite);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            ASSERT_EQ(b.Pixel(x, y), clBlack);
    FillSolidBorder(b, {1, 1, 9, 9}, 1, 2, 1, 1, clWhite);
    EXPECT_EQ(b.Pixel(4, 2), clWhite);
    EXPECT_EQ(b.Pixel(4, 3), clBlack);
    EXPECT_EQ(b.Pixel(1, 5), clWhite);
    EXPECT_EQ(b.Pixel(8, 8), clWhite);
    EXPECT_EQ(b.Pixel(2, 3), clBlack);

    TBitmap src = Ramp(12, 12, pf24bit);
    TBitmap t = Solid(12, 12, pf24bit, clBlack);
    BlitBorder(t, 1, 1, 8, 8, src, 2, 2, 2);
    EXPECT_EQ(t.Pixel(1, 1), RGB(2, 2, 7));
    EXPECT_EQ(t.Pixel(8, 8), RGB(9, 9, 7));
    EXPECT_EQ(t.Pixel(5, 2), RGB(6, 3, 7));
    EXPECT_EQ(t.Pixel(4, 4), clBlack) << "the interior is not touched";
}

TEST(Canvas, ShadowFrame)
{
    TBitmap b = Solid(8, 8, pf24bit, RGB(5, 5, 5));
    int depth = 2;
    DrawShadowFrame(b, {0, 0, 8, 8}, clWhite, depth, clBlack);
    EXPECT_EQ(depth, 0);
    EXPECT_EQ(b.Pixel(0, 0), clWhite);
    EXPECT_EQ(b.Pixel(6, 0), clWhite);
    EXPECT_EQ(b.Pixel(7, 0), clBlack);
    EXPECT_EQ(b.Pixel(0, 7), clBlack);
    EXPECT_EQ(b.Pixel(1, 1), clWhite) << "second frame";
    EXPECT_EQ(b.Pixel(6, 6), clBlack);
    EXPECT_EQ(b.Pixel(2, 2), RGB(5, 5, 5));
}
