#include "skin/acBitmapHelpers.h"
#include "skin/acFastPixels.h"

#include "PixelTestUtil.h"
#include "SkinContentManager.h"

#include <gtest/gtest.h>

using namespace pixeltest;

namespace {

// One frame 10 x 6 (three states, MaskType 0) whose corners hold key runs:
// top-left row 0 columns 0..2, top-right row 0 columns 8..9, bottom-left
// row 5 column 0.
struct CornerFixture {
    skintest::ContentManager manager;
    int index;
    explicit CornerFixture(int wt = 2, int wb = 2)
    {
        TBitmap& m = manager.Master(30, 6);
        m.FillRect({0, 0, 30, 6}, RGB(40, 40, 40));
        m.FillRect({0, 0, 3, 1}, clFuchsia);
        m.FillRect({8, 0, 10, 1}, clFuchsia);
        m.SetPixel(0, 5, clFuchsia);
        m.FillRect({10, 0, 30, 6}, clFuchsia); // other states: never scanned
        index = manager.AddMask({0, 0, 30, 6}, 3, 0, 3, wt, 2, wb);
    }
};

} // namespace

TEST(CornerScan, TransparentCornerRects)
{
    struct Case {
        bool bottom;
        int wt, wb;
        std::vector<TRect> expected;
    } cases[] = {
        {false, 2, 2, {{0, 100, 3, 101}, {48, 100, 50, 101}}},
        {true, 2, 2, {{0, 101, 1, 102}}},
        // Margins larger than the frame are cut to it.
        {false, 40, 2, {{0, 100, 3, 101}, {48, 100, 50, 101}, {0, 105, 1, 106}}},
    };
    for (const Case& c : cases) {
        CornerFixture f(c.wt, c.wb);
        std::vector<TRect> rects;
        AddTransparentCornerRects(rects, 50, f.manager.M(f.index), 100, c.bottom);
        EXPECT_EQ(rects, c.expected) << c.bottom << " " << c.wt;
    }
    CornerFixture f;
    TsMaskData wide = f.manager.M(f.index);
    wide.WL = 99;
    wide.WR = 99;
    std::vector<TRect> rects;
    AddTransparentCornerRects(rects, 50, wide, 0, false);
    for (const TRect& r : rects)
        EXPECT_LE(r.Right - r.Left, 10) << "runs never leave the frame";
}

TEST(CornerScan, FillTransparentPixels)
{
    TBitmap source = Solid(20, 20, pf32bit, RGB(1, 2, 3), 200);
    source.SetPixel(6, 5, RGB(9, 9, 9));
    TBitmap target = Solid(10, 10, pf32bit, RGB(70, 70, 70), 255);
    target.SetPixel(1, 0, clFuchsia);
    target.SetPixel(2, 0, clFuchsia);
    FillTransparentPixels(target, source, {1, 0, 5, 5}, {5, 5}, -1, nullptr, 0);
    EXPECT_EQ(target.Pixel(1, 0), RGB(1, 2, 3));
    EXPECT_EQ(Alpha(target, 1, 0), 200);
    EXPECT_EQ(target.Pixel(2, 0), RGB(9, 9, 9));
    EXPECT_EQ(target.Pixel(3, 0), RGB(70, 70, 70));

    // With a mask: the key test is on the mask's corner, not on the target.
    CornerFixture f;
    struct Case {
        int corner;
        TPoint keyed, kept; // relative to the rect
    } cases[] = {{13, {2, 0}, {3, 0}}, {14, {0, 0}, {1, 1}}, {16, {0, 1}, {1, 1}}, {0, {0, 0}, {0, 1}}};
    for (const Case& c : cases) {
        TBitmap t = Solid(10, 10, pf32bit, RGB(70, 70, 70), 255);
        FillTransparentPixels(t, source, {4, 4, 8, 8}, {0, 0}, f.index, &f.manager, c.corner);
        EXPECT_EQ(t.Pixel(4 + c.keyed.X, 4 + c.keyed.Y), RGB(1, 2, 3)) << c.corner;
        EXPECT_EQ(t.Pixel(4 + c.kept.X, 4 + c.kept.Y), RGB(70, 70, 70)) << c.corner;
    }
    TBitmap t24 = Solid(4, 4, pf24bit, clFuchsia);
    FillTransparentPixels(t24, source, {0, 0, 4, 4}, {0, 0}, -1, nullptr, 0);
    EXPECT_EQ(t24.Pixel(0, 0), clFuchsia) << "24-bit bitmaps are not handled";
}
