#include "skin/acMaskPaint.h"

#include "PixelTestUtil.h"
#include "SkinContentManager.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

using namespace pixeltest;

namespace {

// The master bitmap tells every pixel's position: red = x, green = y.
struct MaskFixture {
    skintest::ContentManager manager;
    MaskFixture(int w, int h)
    {
        TBitmap& m = manager.Master(w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                m.SetPixel(x, y, RGB(x, y, 7));
    }
};

const TColor Untouched = RGB(0, 0, 200);

} // namespace

TEST(MaskPaint, NinePartMarginsFillTheTargetExactly)
{
    struct Case {
        int wl, wr, width;
        int fitL, fitR;
    } cases[] = {
        {5, 5, 7, 4, 3},   // excess 3: the odd pixel goes to the right
        {6, 2, 4, 4, 0},   // excess 4
        {5, 4, 7, 4, 3},   // excess 2 in an odd width: no gap, no overlap
        {4, 5, 8, 4, 4},   // excess 1 in an even width
        {3, 3, 20, 3, 3},  // fits
        {9, 9, 2, 1, 1},   // both shrink to the target
    };
    for (const Case& c : cases) {
        MaskFixture f(40, 10);
        const int i = f.manager.AddMask({0, 0, 30, 10}, 1, 0, c.wl, 2, c.wr, 2, 4 | 1);
        TBitmap t = Solid(c.width, 10, pf24bit, Untouched);
        DrawSkinMask(t, {0, 0, c.width, 10}, true, f.manager.M(i), 0, false, EmptyCacheInfo);
        for (int x = 0; x < c.width; ++x) {
            const TColor p = t.Pixel(x, 0);
            ASSERT_NE(p, Untouched) << c.wl << "/" << c.wr << " in " << c.width << ": column " << x;
            if (x < c.fitL) {
                EXPECT_EQ(GetRValue(p), x) << "left corner column " << x;
            } else if (x >= c.width - c.fitR) {
                EXPECT_EQ(GetRValue(p), 30 - (c.width - x)) << "right corner column " << x;
            }
        }
    }
}

TEST(MaskPaint, EdgesTileWithAPartialLastTile)
{
    MaskFixture f(20, 10);
    const int i = f.manager.AddMask({0, 0, 7, 10}, 1, 0, 2, 2, 2, 2);
    TBitmap t = Solid(12, 10, pf24bit, Untouched);
    DrawSkinMask(t, {0, 0, 12, 10}, true, f.manager.M(i), 0, false, EmptyCacheInfo);
    const int expected[12] = {0, 1, 2, 3, 4, 2, 3, 4, 2, 3, 5, 6};
    for (int x = 0; x < 12; ++x) {
        EXPECT_EQ(GetRValue(t.Pixel(x, 0)), expected[x]) << "top edge column " << x;
        EXPECT_EQ(GetRValue(t.Pixel(x, 5)), expected[x]) << "centre column " << x;
    }
    // Rows of the centre tile with a last tile cut: piece rows 2..7 (6 high).
    EXPECT_EQ(GetGValue(t.Pixel(5, 2)), 2);
    EXPECT_EQ(GetGValue(t.Pixel(5, 7)), 7);
    EXPECT_EQ(GetGValue(t.Pixel(5, 8)), 8) << "bottom edge from the frame's bottom rows";
}

TEST(MaskPaint, StretchModeStretchesEdges)
{
    MaskFixture f(20, 10);
    const int i = f.manager.AddMask({0, 0, 6, 10}, 1, 0, 2, 2, 2, 2, 4 | 1);
    TBitmap t = Solid(22, 10, pf24bit, Untouched);
    DrawSkinMask(t, {0, 0, 22, 10}, true, f.manager.M(i), 0, false, EmptyCacheInfo);
    // The 2-pixel middle (columns 2, 3) spreads over 18 columns.
    EXPECT_EQ(GetRValue(t.Pixel(2, 0)), 2);
    EXPECT_EQ(GetRValue(t.Pixel(10, 0)), 2);
    EXPECT_EQ(GetRValue(t.Pixel(11, 0)), 3);
    EXPECT_EQ(GetRValue(t.Pixel(19, 0)), 3);
    EXPECT_EQ(GetRValue(t.Pixel(20, 0)), 4);
}

TEST(MaskPaint, GuardsAndStates)
{
    struct Case {
        const char* what;
        int imageCount, stretchMode, state;
        TRect rect;
        bool painted;
        int frameLeft; // source x of the painted top-left pixel
    } cases[] = {
        {"state 1", 3, 4, 1, {0, 0, 10, 10}, true, 10},
        {"state 5 of 3 paints the last", 3, 4, 5, {0, 0, 10, 10}, true, 20},
        {"negative state paints the first", 3, 4, -1, {0, 0, 10, 10}, true, 0},
        {"state 0 with bit 2", 3, 4 | 2, 0, {0, 0, 10, 10}, false, 0},
        {"state 1 with bit 2", 3, 4 | 2, 1, {0, 0, 10, 10}, true, 10},
        {"no images", 0, 4, 0, {0, 0, 10, 10}, false, 0},
        {"rect 1 wide", 3, 4, 0, {0, 0, 1, 10}, false, 0},
    };
    for (const Case& c : cases) {
        MaskFixture f(40, 10);
        const int i = f.manager.AddMask({0, 0, 30, 10}, c.imageCount, 0, 3, 3, 3, 3, c.stretchMode);
        TBitmap t = Solid(10, 10, pf24bit, Untouched);
        DrawSkinMask(t, c.rect, true, f.manager.M(i), c.state, false, EmptyCacheInfo);
        if (c.painted) {
            EXPECT_EQ(t.Pixel(0, 0), RGB(c.frameLeft, 0, 7)) << c.what;
        } else {
            EXPECT_EQ(t.Pixel(0, 0), Untouched) << c.what;
        }
    }
    MaskFixture f(40, 10);
    TsMaskData orphan = f.manager.M(f.manager.AddMask({0, 0, 30, 10}, 3, 0, 3, 3, 3, 3));
    orphan.Manager = nullptr;
    TBitmap t = Solid(10, 10, pf24bit, Untouched);
    DrawSkinMask(t, {0, 0, 10, 10}, true, orphan, 0, false, EmptyCacheInfo);
    EXPECT_EQ(t.Pixel(0, 0), Untouched) << "a mask without a manager";
}

TEST(MaskPaint, CentreOnlyWithFillCentreAndBit4)
{
    for (int mode : {0, 4})
        for (bool fill : {false, true}) {
            MaskFixture f(20, 10);
            const int i = f.manager.AddMask({0, 0, 9, 9}, 1, 0, 3, 3, 3, 3, mode);
            TBitmap t = Solid(9, 9, pf24bit, Untouched);
            DrawSkinMask(t, {0, 0, 9, 9}, fill, f.manager.M(i), 0, false, EmptyCacheInfo);
            EXPECT_EQ(t.Pixel(4, 4) != Untouched, fill && mode == 4) << mode << " " << fill;
            EXPECT_EQ(t.Pixel(4, 0), RGB(4, 0, 7));
        }
}

TEST(MaskPaint, ZeroSizedTilesEnd)
{
    // Margins cover the whole frame: no edge or centre piece is left.
    MaskFixture f(20, 10);
    const int i = f.manager.AddMask({0, 0, 6, 6}, 1, 0, 3, 3, 3, 3);
    TBitmap t = Solid(30, 30, pf24bit, Untouched);
    DrawSkinMask(t, {0, 0, 30, 30}, true, f.manager.M(i), 0, false, EmptyCacheInfo);
    EXPECT_EQ(t.Pixel(0, 0), RGB(0, 0, 7));
    EXPECT_EQ(t.Pixel(29, 29), RGB(5, 5, 7));
    EXPECT_EQ(t.Pixel(15, 0), Untouched);
}

namespace {

// A master bitmap of masks with mask rows: picture rows tell their row in
// green, the first mask part is black (copy the picture), the second white.
struct MaskedFixture {
    skintest::ContentManager manager;
    explicit MaskedFixture(int maskType, int frameHeight = 6)
    {
        const int h = frameHeight * (maskType + 1);
        TBitmap& m = manager.Master(12, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < 12; ++x) {
                const int part = y / frameHeight;
                m.SetPixel(x, y, part == 0 ? RGB(x, y, 50) : part == 1 ? clBlack : clWhite);
            }
    }
};

} // namespace

TEST(MaskPaint, MaskedPiecesTakeBottomRowsOfTheFrameAndTheMaskOneFrameDown)
{
    for (int maskType : {1, 2}) {
        MaskedFixture f(maskType);
        const int i = f.manager.AddMask({0, 0, 12, 6 * (maskType + 1)}, 2, maskType, 2, 2, 2, 2);
        TBitmap t = Solid(10, 10, pf24bit, Untouched);
        DrawSkinMask(t, {0, 0, 10, 10}, true, f.manager.M(i), 0, false, EmptyCacheInfo);
        EXPECT_EQ(t.Pixel(0, 9), RGB(0, 5, 50)) << "bottom-left corner, MaskType " << maskType;
        EXPECT_EQ(t.Pixel(5, 9), RGB(3, 5, 50)) << "bottom edge";
        EXPECT_EQ(t.Pixel(9, 0), RGB(5, 0, 50)) << "top-right corner";
        EXPECT_EQ(t.Pixel(5, 5), RGB(3, 3, 50)) << "centre";

        // The glyph painter reads the same mask rows.
        TBitmap g = Solid(8, 8, pf24bit, Untouched);
        DrawSkinGlyph(g, {1, 1}, 1, EmptyCacheInfo, f.manager.M(i), 1);
        EXPECT_EQ(g.Pixel(1, 1), RGB(6, 0, 50)) << "glyph, MaskType " << maskType;
        EXPECT_EQ(g.Pixel(6, 6), RGB(11, 5, 50));
        EXPECT_EQ(g.Pixel(7, 7), Untouched);
    }
}

TEST(MaskPaint, GlyphOffsets)
{
    struct Case {
        TPoint at;
        int state;
        TPoint probe;
        TColor expected;
    } cases[] = {
        {{-3, -2}, 0, {0, 0}, RGB(3, 2, 7)},  // only the part inside shows
        {{2, 1}, 1, {2, 1}, RGB(10, 0, 7)},   // state 1 starts one frame right
        {{2, 1}, 9, {2, 1}, RGB(20, 0, 7)},   // clamped to the last state
        {{8, 8}, 0, {9, 9}, RGB(1, 1, 7)},    // cut at the bottom right
    };
    for (const Case& c : cases) {
        MaskFixture f(30, 10);
        const int i = f.manager.AddMask({0, 0, 30, 10}, 3, 0, 0, 0, 0, 0);
        TBitmap t = Solid(10, 10, pf24bit, Untouched);
        DrawSkinGlyph(t, c.at, c.state, EmptyCacheInfo, f.manager.M(i), 1);
        EXPECT_EQ(t.Pixel(c.probe.X, c.probe.Y), c.expected) << c.at.X << "," << c.at.Y;
    }
    // Any other mode blends the glyph half way.
    MaskFixture f(30, 10);
    const int i = f.manager.AddMask({0, 0, 30, 10}, 3, 0, 0, 0, 0, 0);
    TBitmap t = Solid(10, 10, pf24bit, RGB(0, 0, 0));
    DrawSkinGlyph(t, {0, 0}, 0, EmptyCacheInfo, f.manager.M(i), 0);
    EXPECT_EQ(t.Pixel(4, 6), RGB(2, 3, 4)); // 4 * 0.5, 6 * 0.5, 3.5 -> 4
}

TEST(MaskPaint, OwnImageSmallerThanItsRectIsClippedNotReplaced)
{
    MaskFixture f(30, 10);
    TsMaskData m = f.manager.M(f.manager.AddMask({0, 0, 30, 10}, 3, 0, 0, 0, 0, 0));
    m.Bmp = std::make_shared<TBitmap>(Solid(15, 10, pf24bit, RGB(1, 2, 3)));
    TBitmap t = Solid(10, 10, pf24bit, Untouched);
    DrawSkinGlyph(t, {0, 0}, 1, EmptyCacheInfo, m, 1);
    EXPECT_EQ(t.Pixel(4, 4), RGB(1, 2, 3)) << "columns 10..14 of the own image";
    EXPECT_EQ(t.Pixel(5, 4), Untouched) << "past the own image: nothing, not the master bitmap";
}

TEST(MaskPaint, StretchWithMarginsCorners)
{
    TBitmap src = Ramp(30, 30, pf24bit);
    TBitmap t = Solid(40, 40, pf24bit, Untouched);
    StretchWithMargins(t, src, {0, 0, 40, 40}, false, 0, {2, 2, 2, 2}, {2, 2, 2, 2}, {5, 20, 5, 5}, {0, 0, 30, 30});
    EXPECT_EQ(t.Pixel(4, 1), RGB(4, 1, 7)) << "top-left block 5 x 2";
    EXPECT_EQ(t.Pixel(1, 19), RGB(1, 19, 7)) << "strip 2 x 18 under it";
    for (int y = 2; y < 20; ++y)
        for (int x = 2; x < 5; ++x)
            ASSERT_EQ(t.Pixel(x, y), Untouched) << x << "," << y;
    EXPECT_EQ(t.Pixel(39, 39), RGB(29, 29, 7)) << "bottom-right block";
    // Sides with mode 2 paint nothing; no centre without fillCentre.
    EXPECT_EQ(t.Pixel(20, 20), Untouched);

    TBitmap u = Solid(40, 40, pf24bit, Untouched);
    StretchWithMargins(u, src, {0, 0, 40, 40}, true, 0, {0, 0, 0, 0}, {3, 3, 3, 3}, {3, 3, 3, 3}, {0, 0, 10, 10});
    // Middle 4 x 4 tiled: column 3 + k takes source column 3 + k mod 4.
    EXPECT_EQ(u.Pixel(9, 9), RGB(5, 5, 7));
    EXPECT_EQ(u.Pixel(36, 0), RGB(4, 0, 7)) << "top side, last tile cut";
    EXPECT_EQ(u.Pixel(37, 37), RGB(7, 7, 7));
}

TEST(MaskPaint, BorderCornersTakeTheBackgroundUnderKeyPixels)
{
    // Three states 10 wide in a rect 32 wide; the key pixel sits at the
    // top-left of frame 2 (x 20), where the painter's frame starts.
    skintest::ContentManager manager;
    TBitmap& master = manager.Master(32, 10);
    master.FillRect({0, 0, 32, 10}, RGB(60, 60, 60));
    master.SetPixel(20, 0, clFuchsia);
    master.SetPixel(20, 9, clFuchsia);
    const int i = manager.AddMask({0, 0, 32, 10}, 3, 0, 2, 2, 2, 2);
    TBitmap parent = Ramp(50, 50, pf24bit);
    struct Case {
        int bgType;
        TColor color;
        int state;
        unsigned corners;
        TColor topLeft, bottomLeft;
    } cases[] = {
        {2, 0, 2, bcAll, RGB(4, 3, 7), RGB(4, 12, 7)},
        {1, RGB(9, 9, 9), 2, bcAll, RGB(9, 9, 9), RGB(9, 9, 9)},
        {1, RGB(9, 9, 9), 2, bcTopLeft, RGB(9, 9, 9), Untouched},
        {1, RGB(9, 9, 9), 0, bcAll, Untouched, Untouched}, // frame 0 has no key pixel
        {1, clFuchsia, 2, bcAll, Untouched, Untouched},    // no colour for a key-colour mask
    };
    for (const Case& c : cases) {
        TBitmap cache = Solid(10, 10, pf24bit, Untouched);
        TBackgroundInfo bg;
        bg.BgType = c.bgType;
        bg.Bmp = c.bgType == 2 ? &parent : nullptr;
        bg.Color = c.color;
        bg.OffsetX = 4;
        bg.OffsetY = 3;
        RestoreBorderCorners(cache, 10, 10, manager.M(i), c.state, c.corners, bg);
        EXPECT_EQ(cache.Pixel(0, 0), c.topLeft) << c.bgType << " " << c.state;
        EXPECT_EQ(cache.Pixel(0, 9), c.bottomLeft) << c.bgType << " " << c.state;
        EXPECT_EQ(cache.Pixel(1, 0), Untouched);
    }
}

// Margins far beyond any bitmap, as a mask built in code may hold them: the
// nine-part paint fits them into the rect, the corner restore visits only
// the pixels inside both the cache and the image, and nothing overflows.
TEST(MaskPaint, HugeMarginsStayInsideTheBitmaps)
{
    const int big = std::numeric_limits<int>::max(), least = std::numeric_limits<int>::min();
    struct Case {
        int wl, wt, wr, wb;
    } cases[] = {{big, big, big, big}, {least, least, least, least}, {big, least, least, big}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.wl) + " " + std::to_string(c.wt));
        MaskFixture f(30, 10);
        const int i = f.manager.AddMask({0, 0, 30, 10}, 3, 0, c.wl, c.wt, c.wr, c.wb);
        TBitmap t = Solid(10, 10, pf24bit, Untouched);
        DrawSkinMask(t, {0, 0, 10, 10}, true, f.manager.M(i), 1, false, EmptyCacheInfo);
        EXPECT_EQ(t.Pixel(0, 0), RGB(10, 0, 7)) << "state 1 starts at column 10";

        f.manager.skin.MasterBitmap->FillRect({0, 0, 30, 10}, clFuchsia);
        TBitmap cache = Solid(10, 10, pf24bit, Untouched);
        TBackgroundInfo bg;
        bg.BgType = 1;
        bg.Color = RGB(9, 9, 9);
        RestoreBorderCorners(cache, 10, 10, f.manager.M(i), 1, bcAll, bg);
        const TColor corner = c.wl == big ? RGB(9, 9, 9) : Untouched;
        EXPECT_EQ(cache.Pixel(0, 0), corner);
        EXPECT_EQ(cache.Pixel(9, 9), c.wb == big ? RGB(9, 9, 9) : Untouched);
    }
}
