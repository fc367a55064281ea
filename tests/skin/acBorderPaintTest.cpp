#include "skin/acBorderPaint.h"

#include "PixelTestUtil.h"
#include "SkinContentManager.h"

#include <gtest/gtest.h>

using namespace pixeltest;

namespace {

const TColor Untouched = RGB(0, 0, 200);

// A border mask 8 x 8 of one grey, margins 2, with a key pixel at its
// top-left; MaskType 0, or 1 with a black (opaque) mask under it.
struct BorderFixture {
    skintest::ContentManager manager;
    int index;
    explicit BorderFixture(int maskType)
    {
        TBitmap& m = manager.Master(8, 16);
        m.FillRect({0, 0, 8, 8}, RGB(90, 90, 90));
        m.FillRect({0, 8, 8, 16}, clBlack);
        m.SetPixel(0, 0, clFuchsia);
        index = manager.AddMask({0, 0, 8, 8 * (maskType + 1)}, 1, maskType, 2, 2, 2, 2, 4);
    }
};

} // namespace

TEST(BorderPaint, InnerRectAndBand)
{
    struct Case {
        bool mask;
        int borderWidth;
        TRect inner;
        TPoint band;  // a pixel of the solid band (or -1)
        TPoint clear; // a pixel inside that stays
    } cases[] = {
        {true, 0, {2, 2, 18, 18}, {-1, -1}, {2, 2}},  // only the mask
        {true, 1, {1, 1, 19, 19}, {-1, -1}, {2, 2}},  // under the margins: no band
        {true, 4, {4, 4, 16, 16}, {3, 3}, {4, 4}},    // band from 2 to 4
        {false, 3, {3, 3, 17, 17}, {2, 2}, {3, 3}},   // no mask: band on the target
        {false, 0, {0, 0, 20, 20}, {-1, -1}, {0, 0}},
    };
    for (const Case& c : cases) {
        BorderFixture f(0);
        TBitmap cache = Solid(20, 20, pf24bit, Untouched);
        TBitmap target = Solid(20, 20, pf24bit, Untouched);
        const TRect inner = PaintControlBorder(target, c.mask ? cache : target, {0, 0, 20, 20}, c.borderWidth, 0,
                                               c.mask ? &f.manager.M(f.index) : nullptr, RGB(5, 5, 5), nullptr);
        EXPECT_EQ(inner, c.inner) << c.mask << " " << c.borderWidth;
        TBitmap& painted = c.mask ? cache : target;
        if (c.band.X >= 0) {
            EXPECT_EQ(painted.Pixel(c.band.X, c.band.Y), RGB(5, 5, 5)) << c.borderWidth;
        }
        EXPECT_EQ(painted.Pixel(c.clear.X + 1, c.clear.Y + 1), Untouched) << c.borderWidth;
    }
}

TEST(BorderPaint, CornersTakeTheParentAndStripsReachTheTarget)
{
    for (int maskType : {0, 1}) {
        BorderFixture f(maskType);
        TBitmap parentImage = Ramp(40, 40, pf24bit);
        TBackgroundInfo parent;
        parent.BgType = 2;
        parent.Bmp = &parentImage;
        parent.OffsetX = 3;
        parent.OffsetY = 4;
        TBitmap cache = Solid(20, 20, pf24bit, Untouched);
        TBitmap target = Solid(20, 20, pf24bit, Untouched);
        PaintControlBorder(target, cache, {0, 0, 20, 20}, 3, 0, &f.manager.M(f.index), RGB(5, 5, 5), &parent);
        EXPECT_EQ(cache.Pixel(0, 0), RGB(3, 4, 7)) << "key pixel over the parent, MaskType " << maskType;
        EXPECT_EQ(cache.Pixel(1, 0), RGB(90, 90, 90));
        EXPECT_EQ(target.Pixel(1, 0), RGB(90, 90, 90)) << "border strips copied to the target";
        EXPECT_EQ(target.Pixel(10, 10), Untouched);
    }
    // A plain-colour parent: MaskType 0 fills no strips before the mask.
    BorderFixture f(0);
    TBackgroundInfo plain;
    plain.BgType = 1;
    plain.Color = RGB(7, 7, 7);
    TBitmap cache = Solid(20, 20, pf24bit, Untouched);
    PaintControlBorder(cache, cache, {0, 0, 20, 20}, 0, 0, &f.manager.M(f.index), RGB(5, 5, 5), &plain);
    EXPECT_EQ(cache.Pixel(0, 0), Untouched) << "key pixel without a parent image";
}
