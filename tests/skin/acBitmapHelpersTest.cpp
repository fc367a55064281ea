#include "skin/acBitmapHelpers.h"

#include "PixelTestUtil.h"

#include <gtest/gtest.h>

using namespace pixeltest;

TEST(BitmapHelpers, WorkBitmaps)
{
    auto empty = CreateBitmap24(0, 0);
    EXPECT_TRUE(empty->Empty());
    EXPECT_EQ(empty->PixelFormat(), pf24bit);
    TBitmap b = Solid(5, 3, pf32bit, 0);
    auto like = CreateBitmapLike(b);
    EXPECT_EQ(like->Width(), 5);
    EXPECT_EQ(like->Height(), 3);
    EXPECT_EQ(like->PixelFormat(), pf32bit);
}

TEST(BitmapHelpers, Saturation)
{
    struct Case {
        TColor color;
        int amount;
        TColor expected;
    } cases[] = {
        {TColor(0x7F123456), 0, TColor(0x7F123456)}, // unchanged exactly, top byte too
        {RGB(30, 60, 90), 100, RGB(60, 60, 60)},
        {RGB(30, 60, 90), 50, RGB(45, 60, 75)},
        {RGB(30, 60, 90), -100, RGB(0, 60, 120)},
        {RGB(0, 128, 255), -100, RGB(0, 128, 255)}, // clamped
        {RGB(1, 2, 4), 50, RGB(2, 2, 3)},           // 1.67, 2.17, 3.17
    };
    for (const Case& c : cases)
        EXPECT_EQ(ChangeSaturation(c.color, c.amount), c.expected) << c.amount;
}

TEST(BitmapHelpers, Hue)
{
    struct Case {
        int degrees;
        TColor color, expected;
    } cases[] = {
        {120, RGB(255, 0, 0), RGB(0, 255, 0)},
        {240, RGB(255, 0, 0), RGB(0, 0, 255)},
        {-120, RGB(255, 0, 0), RGB(0, 0, 255)}, // a negative turn wraps to 240
        {-480, RGB(255, 0, 0), RGB(0, 0, 255)},
        {-30, RGB(0, 255, 0), RGB(128, 255, 0)},
        {360, RGB(10, 20, 30), RGB(10, 20, 30)},
        {77, RGB(90, 90, 90), RGB(90, 90, 90)}, // grey unchanged
        {77, RGB(0, 0, 0), RGB(0, 0, 0)},
        {60, RGB(200, 100, 100), RGB(200, 200, 100)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ChangeHue(c.degrees, c.color), c.expected) << c.degrees;
}

TEST(BitmapHelpers, DottedFrame)
{
    TBitmap b = Solid(16, 12, pf24bit, RGB(50, 50, 50));
    DrawDottedFrame(b, {2, 2, 11, 8});
    for (int x : {2, 5, 8, 11})
        EXPECT_EQ(b.Pixel(x, 2), clBlack) << x;
    EXPECT_EQ(b.Pixel(3, 2), RGB(50, 50, 50));
    EXPECT_EQ(b.Pixel(4, 1), clWhite);
    EXPECT_EQ(b.Pixel(11, 5), clBlack);
    EXPECT_EQ(b.Pixel(5, 8), clBlack);
    DrawDottedFrame(b, {-5, -5, 40, 40}); // outside pixels are dropped
}

TEST(BitmapHelpers, CopyAlphaChannelStaysInsideTheEightBitBitmap)
{
    TBitmap b32 = Solid(6, 4, pf32bit, RGB(1, 2, 3), 200);
    TBitmap b8;
    b8.SetPixelFormat(pf8bit);
    b8.SetSize(3, 2);
    CopyAlphaChannel(b32, b8, 3, true);
    EXPECT_EQ(b8.ScanLine(1)[2], 200);
    b8.ScanLine(0)[0] = 9;
    CopyAlphaChannel(b32, b8, 0, false);
    EXPECT_EQ(b32.ScanLine(0)[0], 9);
    EXPECT_EQ(b32.ScanLine(3)[0], 3) << "rows past the 8-bit bitmap are left";
    CopyAlphaChannel(b32, b8, 4, true); // no such byte
}

TEST(BitmapHelpers, AlphaDrawing)
{
    TBitmap target = Solid(4, 4, pf24bit, RGB(0, 0, 0));
    TBitmap src = Solid(2, 2, pf32bit, RGB(200, 100, 255), 128);
    src.ScanLine(1)[4 + 3] = 255;
    DrawAlphaBitmap({1, 1, 3, 3}, {0, 0, 2, 2}, target, false, 0, clNone, false, EmptyCacheInfo, src);
    EXPECT_EQ(target.Pixel(1, 1), RGB(100, 50, 127)); // (s * a) >> 8
    EXPECT_EQ(target.Pixel(2, 2), RGB(199, 99, 254));
    EXPECT_EQ(target.Pixel(0, 0), 0);

    TBitmap tinted = Solid(2, 2, pf32bit, RGB(90, 60, 30), 255);
    TBitmap t2 = Solid(2, 2, pf24bit, 0);
    DrawAlphaBitmap({0, 0, 2, 2}, {0, 0, 2, 2}, t2, false, 0, RGB(255, 0, 128), false, EmptyCacheInfo, tinted);
    // grey 60, per channel round(60 * tint / 255), then drawn at alpha 255.
    EXPECT_EQ(t2.Pixel(0, 0), RGB(59, 0, 29));

    // A picture of one row has nothing to mirror.
    TBitmap oneRow = Solid(3, 1, pf32bit, clWhite, 255);
    TBitmap t3 = Solid(3, 6, pf24bit, 0);
    DrawAlphaBitmap({0, 0, 3, 1}, {0, 0, 3, 1}, t3, true, 0, clNone, false, EmptyCacheInfo, oneRow);
    EXPECT_EQ(t3.Pixel(0, 1), 0);

    TBitmap tall = Solid(2, 8, pf32bit, clWhite, 255);
    TBitmap t4 = Solid(2, 16, pf24bit, 0);
    DrawAlphaBitmap({0, 0, 2, 8}, {0, 0, 2, 8}, t4, true, 0, clNone, false, EmptyCacheInfo, tall);
    // k = 1: f = 255 - 63 = 192, A = (255 div 3) * 192 div 255 = 64: 64 * 255 >> 8 = 63.
    EXPECT_EQ(t4.Pixel(0, 9), RGB(63, 63, 63));
    EXPECT_EQ(t4.Pixel(0, 12), 0) << "three rows only for a picture 8 high";
}

TEST(BitmapHelpers, DisabledLook)
{
    TBitmap b = Solid(2, 2, pf24bit, RGB(100, 0, 31));
    ApplyDisabledLook(b, 2, 0, EmptyCacheInfo, {});
    EXPECT_EQ(b.Pixel(0, 0), RGB(43, 43, 43));
    TCacheInfo fill = EmptyCacheInfo;
    fill.FillColor = clFuchsia;
    ApplyDisabledLook(b, 1, RGB(1, 1, 1), fill, {});
    EXPECT_EQ(b.Pixel(1, 1), RGB(22, 22, 22)); // half way to the parent's colour
    TBitmap parent = Solid(5, 5, pf24bit, RGB(200, 200, 200));
    TCacheInfo cache{&parent, 1, 1, clFuchsia, true};
    TBitmap c = Solid(2, 2, pf24bit, RGB(100, 100, 100));
    ApplyDisabledLook(c, 1, 0, cache, {1, 1});
    EXPECT_EQ(c.Pixel(1, 1), RGB(160, 160, 160));
}

TEST(BitmapHelpers, ButtonGlyphFrames)
{
    // Four frames 2 wide: frame i has colour (10 i, 0, 0), key in its bottom-left.
    TBitmap glyph = Solid(8, 2, pf24bit, 0);
    for (int f = 0; f < 4; ++f) {
        glyph.FillRect({f * 2, 0, f * 2 + 2, 2}, RGB(10 * (f + 1), 0, 0));
        glyph.SetPixel(f * 2, 1, RGB(0, 0, 9));
    }
    struct Case {
        int count;
        bool enabled;
        int kind, state;
        int frame;
    } cases[] = {
        {4, true, 0, 0, 0}, {4, true, 1, 0, 1}, {4, true, 2, 0, 2}, {4, true, 2, 1, 3},
        {3, true, 2, 1, 1}, // past the strip: frame 1
        {4, false, 2, 1, 0},
    };
    for (const Case& c : cases) {
        TBitmap t = Solid(4, 4, pf24bit, RGB(1, 1, 1));
        const TBitmap g = c.count == 4 ? glyph : [&] {
            TBitmap three = Solid(6, 2, pf24bit, 0);
            for (int y = 0; y < 2; ++y)
                for (int x = 0; x < 6; ++x)
                    three.SetPixel(x, y, glyph.Pixel(x, y));
            return three;
        }();
        PaintButtonGlyph(g, t, {1, 1, 3, 3}, c.count, c.enabled, 0, c.kind, 0, c.state);
        EXPECT_EQ(t.Pixel(2, 1), RGB(10 * (c.frame + 1), 0, 0)) << c.kind << " " << c.state;
        EXPECT_EQ(t.Pixel(1, 2), RGB(1, 1, 1)) << "the key pixel is not painted";
    }
    TBitmap single = Solid(2, 2, pf24bit, RGB(30, 60, 90));
    single.SetPixel(0, 1, clFuchsia);
    TBitmap t = Solid(2, 2, pf24bit, 0);
    PaintButtonGlyph(single, t, {0, 0, 2, 2}, 1, false, 2, 0, 0, 0);
    EXPECT_EQ(t.Pixel(1, 1), RGB(60, 60, 60)) << "greyed";
    EXPECT_EQ(t.Pixel(0, 1), 0) << "the key still marks the transparent pixel after greying";
}

TEST(BitmapHelpers, GlyphAndTextLayout)
{
    const TRect client{10, 20, 110, 60}; // 100 x 40
    struct Case {
        int layout, alignment, margin, spacing;
        unsigned flags;
        TPoint glyph;
        TRect text;
    } cases[] = {
        {0, 0, 4, 2, 0, {14, 32}, {32, 35, 62, 45}},  // glyph 16 x 16 at 4, text 30 x 10 after
        {0, 2, -1, 2, 0, {36, 32}, {54, 35, 84, 45}}, // centred: (100 - 30 - 2 - 16) div 2 = 26
        {0, 1, 4, 2, 0, {58, 32}, {76, 35, 106, 45}},
        {0, 0, 4, 2, 2, {46, 32}, {14, 35, 44, 45}},  // flag swaps: glyph right of the text
        {1, 1, 4, 2, 0, {90, 32}, {58, 35, 88, 45}},
        {0, 0, -1, -1, 0, {28, 32}, {62, 35, 92, 45}}, // margin = spacing = 54 div 3
        {2, 0, 0, 2, 0, {52, 26}, {45, 44, 75, 54}},   // d = (40 - 28) div 2 = 6
        {3, 0, 0, 2, 0, {52, 38}, {45, 26, 75, 36}},
    };
    for (const Case& c : cases) {
        TPoint g;
        TRect t;
        LayoutGlyphAndText(client, {16, 16}, {30, 10}, c.layout, c.alignment, c.margin, c.spacing, g, t, c.flags);
        EXPECT_EQ(g, c.glyph) << c.layout << "/" << c.alignment << ": " << g.X << "," << g.Y;
        EXPECT_EQ(t, c.text) << c.layout << "/" << c.alignment << ": " << t.Left << "," << t.Top;
    }
}

TEST(BitmapHelpers, RoundedShadingKeepsTheOuterRing)
{
    TBitmap b = Solid(12, 12, pf24bit, RGB(200, 200, 200));
    BlendColorRounded(b, {1, 1, 11, 11}, 0, 4, 2, RGB(0, 0, 0));
    // Ring 0 is white: the pixel is kept but for the mask's 255 / 256.
    EXPECT_EQ(b.Pixel(1, 1), RGB(199, 199, 199));
    EXPECT_EQ(b.Pixel(6, 6), RGB(0, 0, 0)) << "the innermost level 0 gives the colour";
    EXPECT_EQ(b.Pixel(0, 0), RGB(200, 200, 200));
}
