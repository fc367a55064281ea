#include "skin/acFastPixels.h"

#include "PixelTestUtil.h"

#include <gtest/gtest.h>

using namespace pixeltest;

TEST(FastPixels, AccessorsRefuseBitmapsTheyCannotServe)
{
    TBitmap thin = Solid(1, 10, pf24bit, 0), flat = Solid(10, 1, pf32bit, 0), ok24 = Solid(2, 2, pf24bit, 0);
    TBitmap ok32 = Solid(2, 2, pf32bit, 0), pal = Solid(4, 4, pf8bit, 0);
    TacFast24 f24;
    TacFast32 f32;
    TacFastSum24 s24;
    TacFastSum32 s32;
    EXPECT_FALSE(f24.Attach(nullptr));
    EXPECT_FALSE(f24.Attach(&thin));
    EXPECT_EQ(f24.Width(), 0);
    EXPECT_FALSE(f32.Attach(&flat));
    EXPECT_FALSE(s24.Attach(&thin, &ok24));
    EXPECT_FALSE(s32.Attach(&ok32, &flat));
    // A wrong format would walk rows with the wrong pixel size.
    EXPECT_FALSE(f24.Attach(&ok32));
    EXPECT_FALSE(f32.Attach(&pal));
    EXPECT_TRUE(f24.Attach(&ok24));
    EXPECT_TRUE(f32.Attach(&ok32));
}

TEST(FastPixels, GetAndSetPixelSwapRedAndBlue)
{
    TBitmap b = Solid(3, 2, pf32bit, 0);
    TacFast32 f;
    ASSERT_TRUE(f.Attach(&b));
    f.SetPixel(2, 1, 0x80112233u);
    EXPECT_EQ(b.ScanLine(1)[8], 0x11); // blue first in memory
    EXPECT_EQ(b.ScanLine(1)[10], 0x33);
    EXPECT_EQ(b.ScanLine(1)[11], 0x80);
    EXPECT_EQ(f.GetPixel(2, 1), 0x80112233u);
    EXPECT_EQ(ColorToPixel32(RGB(1, 2, 3)), 0xFF010203u);
    TBitmap c = Ramp(4, 3, pf24bit, 9);
    TacFast24 g;
    ASSERT_TRUE(g.Attach(&c));
    EXPECT_EQ(g.GetPixel(3, 2), RGB(3, 2, 9));
    f.FillRect({-5, -5, 2, 1}, ColorToPixel32(RGB(7, 8, 9)));
    EXPECT_EQ(f.GetPixel(1, 0), 0xFF090807u);
    EXPECT_EQ(f.GetPixel(2, 0), 0xFF000000u);
}

TEST(FastPixels, BlendRounding)
{
    struct Case {
        int weight, target, source, expected;
    } cases[] = {
        {255, 255, 0, 254},  {255, 255, 255, 254}, {255, 100, 7, 100}, {0, 0, 255, 254},
        {128, 255, 0, 127},  {127, 200, 100, 149}, {0, 9, 0, 0},       {64, 10, 250, 189},
    };
    for (TPixelFormat format : {pf24bit, pf32bit})
        for (const Case& c : cases) {
            TBitmap t = Solid(4, 4, format, RGB(c.target, c.target, c.target), c.target);
            TBitmap s = Solid(4, 4, format, RGB(c.source, c.source, c.source), c.source);
            BlendRect(t, s, c.weight, {0, 0}, {0, 0, 4, 4});
            EXPECT_EQ(GetRValue(t.Pixel(3, 3)), c.expected) << c.weight << " " << c.target << " " << c.source;
            if (format == pf32bit) {
                EXPECT_EQ(Alpha(t, 3, 3), c.expected) << "alpha is blended like a colour byte";
            }
        }
}

TEST(FastPixels, BlendRectClipsBothBitmaps)
{
    struct Case {
        TPoint point;
        TRect rect;
        int tx, ty;     // a target pixel that must be blended ...
        int sx, sy;     // ... from this source pixel
        int untouchedX; // a target column left alone
    } cases[] = {
        {{-5, 0}, {0, 0, 8, 8}, 0, 0, 5, 0, 3},   // negative point cuts the source
        {{2, 1}, {-3, 0, 4, 4}, 5, 1, 0, 0, 4},   // negative source left moves the point
        {{6, 6}, {0, 0, 20, 20}, 7, 7, 1, 1, 5},  // clipped to what fits in the target
        {{0, 0}, {6, 6, 20, 20}, 3, 3, 9, 9, 99}, // clipped to the source
    };
    for (const Case& c : cases) {
        TBitmap t = Solid(8, 8, pf24bit, 0);
        TBitmap s = Ramp(10, 10, pf24bit, 200);
        BlendRect(t, s, 0, c.point, c.rect);
        TColor sp = s.Pixel(c.sx, c.sy);
        auto scaled = [](int v) { return (255 * v + 127) >> 8; };
        EXPECT_EQ(t.Pixel(c.tx, c.ty), RGB(scaled(GetRValue(sp)), scaled(GetGValue(sp)), scaled(200)))
            << c.point.X << "," << c.point.Y;
        if (c.untouchedX < 8) {
            EXPECT_EQ(t.Pixel(c.untouchedX, c.ty), 0);
        }
    }
    TBitmap t24 = Solid(4, 4, pf24bit, 0), s32 = Solid(4, 4, pf32bit, clWhite);
    BlendRect(t24, s32, 0, {0, 0}, {0, 0, 4, 4});
    EXPECT_EQ(t24.Pixel(1, 1), 0) << "mixed formats blend nothing";
    BlendRect(t24, t24, 0, {4, 0}, {0, 0, 4, 4});
    BlendRect(t24, t24, 0, {0, 0}, {3, 3, 3, 4});
    EXPECT_EQ(t24.Pixel(0, 0), 0);
}

TEST(FastPixels, BlendBitmapKeysAndFormats)
{
    struct Case {
        TPixelFormat target, source;
        uint32_t key;
        double factor;
        TColor sourceColor, targetColor, expected;
    } cases[] = {
        {pf24bit, pf24bit, 0xFF00FF, 0.5, RGB(3, 0, 0), RGB(0, 0, 0), RGB(2, 0, 0)},         // 1.5 -> 2
        {pf24bit, pf24bit, 0xFF00FF, 0.5, RGB(5, 0, 0), RGB(0, 0, 0), RGB(2, 0, 0)},         // 2.5 -> 2
        {pf24bit, pf24bit, 0xFF00FF, 0.5, clFuchsia, RGB(0, 0, 0), RGB(0, 0, 0)},            // key skipped
        {pf24bit, pf24bit, 0xFFFFFFFF, 0.0, clFuchsia, RGB(0, 0, 0), clFuchsia},             // no key
        {pf32bit, pf24bit, 0xFF00FF, 0.25, RGB(100, 0, 40), RGB(0, 200, 0), RGB(75, 50, 30)},
        {pf24bit, pf32bit, 0xFF00FF, 0.0, RGB(9, 8, 7), RGB(0, 0, 0), RGB(9, 8, 7)},
        {pf32bit, pf32bit, 0xFF00FF, 0.0, RGB(9, 8, 7), RGB(0, 0, 0), RGB(9, 8, 7)},
        // A red key leaves blue pixels alone.
        {pf24bit, pf24bit, 0x0000FF, 0.0, RGB(0, 0, 255), RGB(0, 0, 0), RGB(0, 0, 255)},
        {pf24bit, pf24bit, 0x0000FF, 0.0, RGB(255, 0, 0), RGB(0, 0, 0), RGB(0, 0, 0)},
    };
    for (const Case& c : cases) {
        TBitmap t = Solid(3, 3, c.target, c.targetColor, 77);
        TBitmap s = Solid(3, 3, c.source, c.sourceColor);
        // The pixel right of the blended one tells whether a 32-bit source
        // is walked with its own pixel size.
        s.SetPixel(2, 0, RGB(1, 1, 1));
        BlendBitmap(t, 0, 0, c.key, c.factor, {0, 0, 1, 0}, s);
        EXPECT_EQ(t.Pixel(1, 0), c.expected);
        EXPECT_EQ(t.Pixel(2, 0), c.targetColor) << "outside the inclusive rect";
        if (c.target == pf32bit) {
            EXPECT_EQ(Alpha(t, 1, 0), 77);
        }
    }
}

TEST(FastPixels, BlendBitmapNegativeRectAndOffTargetPixels)
{
    TBitmap t = Solid(4, 4, pf24bit, 0);
    TBitmap s = Ramp(6, 6, pf24bit);
    BlendBitmap(t, 0, 0, 0xFFFFFFFF, 0.0, {-2, -1, 99, 99}, s);
    EXPECT_EQ(t.Pixel(2, 1), RGB(0, 0, 7)) << "the cut moves the target position";
    EXPECT_EQ(t.Pixel(3, 3), RGB(1, 2, 7));
    EXPECT_EQ(t.Pixel(0, 0), 0);
    BlendBitmap(t, -10, 2, 0xFFFFFFFF, 0.0, {0, 0, 5, 5}, s);
}

TEST(FastPixels, ColourMixes)
{
    TBitmap b = Solid(3, 3, pf24bit, RGB(200, 100, 0));
    BlendRectWithColor(b, {0, 0, 2, 2}, 100, clWhite);
    EXPECT_EQ(b.Pixel(2, 2), RGB(200, 100, 0));
    BlendRectWithColor(b, {-4, -4, 0, 9}, 0, RGB(1, 2, 3));
    EXPECT_EQ(b.Pixel(0, 2), RGB(1, 2, 3)) << "inclusive and clipped";
    EXPECT_EQ(b.Pixel(1, 2), RGB(200, 100, 0));
    BlendRectWithColor(b, {1, 0, 1, 0}, 50, RGB(1, 0, 0));
    EXPECT_EQ(b.Pixel(1, 0), RGB(100, 50, 0)); // 100.5 -> 100

    TBitmap g = Solid(2, 2, pf24bit, RGB(31, 20, 10));
    GrayscaleBitmap(g);
    EXPECT_EQ(g.Pixel(1, 1), RGB(20, 20, 20));

    TBitmap t = Solid(2, 2, pf24bit, RGB(101, 0, 255));
    t.SetPixel(1, 1, clFuchsia);
    TintBitmap(t, RGB(100, 0, 0), clFuchsia, 0.5);
    EXPECT_EQ(t.Pixel(0, 0), RGB(100, 0, 128)); // 100.5 -> 100, 127.5 -> 128
    EXPECT_EQ(t.Pixel(1, 1), clFuchsia);

    TBitmap m = Solid(2, 2, pf24bit, RGB(128, 0, 255));
    TBitmap p = Solid(2, 2, pf24bit, RGB(0, 0, 0));
    BlendColorByMask(p, m, RGB(255, 255, 255));
    // 255 + floor(-255 * 128 / 256) = 127; mask 0 gives the colour; 255 keeps nearly the pixel.
    EXPECT_EQ(p.Pixel(0, 0), RGB(127, 255, 0));
    TBitmap small = Solid(1, 2, pf24bit, 0);
    BlendColorByMask(p, small, 0);
    EXPECT_EQ(p.Pixel(0, 0), RGB(127, 255, 0));
}

TEST(FastPixels, MixBitmapsStaysInsideEveryBitmap)
{
    TBitmap a = Solid(6, 6, pf24bit, RGB(200, 0, 10));
    TBitmap b = Solid(6, 6, pf24bit, RGB(0, 100, 10));
    struct Case {
        int targetSize, maskSize, weight;
        TColor expected;
    } cases[] = {
        {6, 0, 256, RGB(200, 0, 10)}, {6, 0, 0, RGB(0, 100, 10)}, {6, 0, 128, RGB(100, 50, 10)},
        {3, 0, 128, RGB(100, 50, 10)}, // target smaller than the pictures
        {6, 2, 0, RGB(100, 50, 10)},   // mask smaller than the pictures (grey 128)
    };
    for (const Case& c : cases) {
        TBitmap t = Solid(c.targetSize, c.targetSize, pf32bit, RGB(1, 1, 1), 33);
        TBitmap mask = Solid(std::max(c.maskSize, 1), std::max(c.maskSize, 1), pf24bit, RGB(128, 128, 128));
        MixBitmaps(t, a, b, c.weight, c.maskSize ? &mask : nullptr);
        EXPECT_EQ(t.Pixel(0, 0), c.expected);
        EXPECT_EQ(Alpha(t, 0, 0), 33);
        if (c.maskSize && c.maskSize < c.targetSize) {
            EXPECT_EQ(t.Pixel(c.maskSize, 0), RGB(1, 1, 1)) << "past the mask nothing is written";
        }
    }
    TBitmap t = Solid(6, 6, pf32bit, 0);
    TBitmap other = Solid(5, 6, pf24bit, 0);
    MixBitmaps(t, a, other, 256, nullptr);
    EXPECT_EQ(t.Pixel(0, 0), 0) << "pictures of different sizes mix nothing";
}

TEST(FastPixels, CopyByMaskReadsMaskRowsInsideTheSource)
{
    // Picture 4 x 2 over its mask 4 x 2: column 0 mask 0 (copy), column 1
    // mask 255 (keep), column 2 mask 128, column 3 magenta.
    TBitmap src = Solid(4, 4, pf24bit, RGB(200, 200, 200));
    src.SetPixel(3, 0, clFuchsia);
    src.SetPixel(3, 1, clFuchsia);
    for (int y = 2; y < 4; ++y) {
        src.SetPixel(0, y, 0);
        src.SetPixel(1, y, RGB(255, 255, 255));
        src.SetPixel(2, y, RGB(128, 128, 128));
        src.SetPixel(3, y, 0);
    }
    TBitmap bg = Solid(3, 3, pf24bit, RGB(9, 9, 9));
    TCacheInfo cache{&bg, 1, 0, clFuchsia, true};
    for (bool useBg : {false, true}) {
        TBitmap t = Solid(5, 5, pf24bit, RGB(100, 100, 100));
        // The source rect reaches into the mask half: those rows are not a picture.
        CopyByMask({0, 0, 4, 4}, {0, 0, 4, 4}, t, src, cache, useBg);
        EXPECT_EQ(t.Pixel(0, 0), RGB(200, 200, 200));
        EXPECT_EQ(t.Pixel(1, 0), RGB(100, 100, 100)); // 200 + floor(-100 * 255 / 256)
        EXPECT_EQ(t.Pixel(2, 0), RGB(150, 150, 150));
        EXPECT_EQ(t.Pixel(0, 2), RGB(100, 100, 100)) << "rows of the mask half are not copied";
        // Magenta takes the background at (1 + 3, 0): outside it, so stays.
        EXPECT_EQ(t.Pixel(3, 0), RGB(100, 100, 100));
        TBitmap u = Solid(5, 5, pf24bit, RGB(100, 100, 100));
        CopyByMask({-2, 0, 2, 2}, {1, 0, 5, 2}, u, src, cache, useBg);
        EXPECT_EQ(u.Pixel(0, 0), useBg ? RGB(9, 9, 9) : RGB(100, 100, 100)) << "magenta source column 3";
    }
}

TEST(FastPixels, KeyedCopies)
{
    TBitmap src = Ramp(3, 3, pf24bit, 1);
    src.SetPixel(1, 1, clFuchsia);
    src.SetPixel(2, 2, RGB(255, 0, 0));
    struct Case {
        TPixelFormat target;
        TColor key;
        TPoint at;
        TPoint probe;
        TColor expected;
    } cases[] = {
        {pf24bit, clFuchsia, {0, 0}, {1, 1}, RGB(50, 50, 50)},   // key pixel skipped
        {pf24bit, clFuchsia, {0, 0}, {2, 1}, RGB(2, 1, 1)},
        {pf32bit, clFuchsia, {1, 1}, {3, 2}, RGB(2, 1, 1)},
        {pf24bit, RGB(255, 0, 0), {0, 0}, {2, 2}, RGB(50, 50, 50)}, // red key: red skipped
        {pf24bit, RGB(0, 0, 255), {0, 0}, {2, 2}, RGB(255, 0, 0)},  // blue key: red copied
        {pf24bit, clFuchsia, {-2, -2}, {0, 0}, RGB(255, 0, 0)},     // cut at the top left
    };
    for (const Case& c : cases) {
        TBitmap t = Solid(4, 4, c.target, RGB(50, 50, 50), 0);
        CopyWithKeyColor(t, src, c.at.X, c.at.Y, c.key);
        EXPECT_EQ(t.Pixel(c.probe.X, c.probe.Y), c.expected) << c.probe.X << "," << c.probe.Y;
        if (c.target == pf32bit) {
            EXPECT_EQ(Alpha(t, c.probe.X, c.probe.Y), 255);
        }
    }
    TBitmap t = Solid(4, 4, pf24bit, RGB(50, 50, 50));
    CopyKeyed24(t, src, 2, {1, 1, 5, 5}, 2, clFuchsia);
    EXPECT_EQ(t.Pixel(2, 2), RGB(50, 50, 50));
    EXPECT_EQ(t.Pixel(3, 2), RGB(2, 1, 1));
    TBitmap bg = Solid(4, 4, pf32bit, RGB(9, 9, 9));
    TCacheInfo cache{&bg, 1, 1, clFuchsia, true};
    CopyTransparentPiece(t, src, 0, true, cache, clFuchsia, {0, 0, 2, 2}, 0);
    EXPECT_EQ(t.Pixel(1, 1), RGB(9, 9, 9));
    cache.Ready = false;
    TBitmap u = Solid(4, 4, pf24bit, RGB(50, 50, 50));
    CopyTransparentPiece(u, src, 0, true, cache, clFuchsia, {0, 0, 2, 2}, 0);
    EXPECT_EQ(u.Pixel(1, 1), RGB(50, 50, 50));
}
