#include "skin/acSectionPaint.h"

#include "PixelTestUtil.h"
#include "SkinContentManager.h"
#include "skin/sGradient.h"
#include "skin/sHelpers.h"

#include <gtest/gtest.h>

using namespace pixeltest;

namespace {

const TColor Untouched = RGB(0, 0, 200);

// A skin whose master bitmap tells positions (red = x, green = y) and one
// 10 x 10 texture image at its top-left.
struct SectionFixture {
    skintest::ContentManager manager;
    int texture;
    SectionFixture()
    {
        TBitmap& m = manager.Master(40, 40);
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x)
                m.SetPixel(x, y, RGB(x, y, 7));
        texture = manager.AddMask({0, 0, 10, 10}, 1, 0, 0, 0, 0, 0, 0);
    }
    int AddSection(const std::string& name, TColor color, int transparency = 0)
    {
        TsGeneralData s;
        s.Name = name;
        s.Color = color;
        s.Transparency = transparency;
        manager.skin.gd.push_back(s);
        return int(manager.skin.gd.size()) - 1;
    }
    TsGeneralData& Section(int i) { return manager.skin.gd[size_t(i)]; }
};

} // namespace

TEST(SectionPaint, TextureModes)
{
    struct Case {
        int mode;
        TRect rect;
        TRect left;
        TPoint probe;
        TColor expected;
        TPoint untouched;
    } cases[] = {
        {0, {0, 0, 25, 30}, NoRectLeft, {24, 29}, RGB(4, 9, 7), {-1, -1}},
        {1, {0, 0, 25, 30}, NoRectLeft, {24, 29}, RGB(9, 9, 7), {-1, -1}},
        {2, {0, 0, 25, 30}, {0, 10, 25, 30}, {24, 9}, RGB(4, 9, 7), {0, 10}},
        {3, {0, 0, 25, 30}, {10, 0, 25, 30}, {9, 29}, RGB(9, 9, 7), {10, 0}},
        {4, {0, 0, 25, 30}, {0, 10, 25, 30}, {24, 0}, RGB(9, 0, 7), {0, 10}},
        {5, {0, 0, 25, 30}, {10, 0, 25, 30}, {0, 29}, RGB(0, 9, 7), {10, 0}},
        {6, {0, 0, 25, 30}, {0, 0, 25, 20}, {0, 20}, RGB(0, 0, 7), {0, 19}},
        // A rect lower than the piece: the row is cut, nothing above the rect.
        {6, {0, 10, 25, 14}, {0, 10, 25, 4}, {0, 10}, RGB(0, 6, 7), {0, 9}},
        {7, {0, 0, 25, 30}, {0, 0, 15, 30}, {24, 0}, RGB(4, 0, 7), {-1, -1}},
        {9, {0, 0, 25, 30}, {15, 0, 25, 30}, {14, 0}, RGB(4, 0, 7), {-1, -1}},
        {10, {0, 0, 25, 30}, NoRectLeft, {24, 19}, RGB(4, 9, 7), {0, 20}},
        {15, {0, 0, 25, 30}, {0, 0, 25, 30}, {0, 0}, Untouched, {-1, -1}},
    };
    for (const Case& c : cases) {
        SectionFixture f;
        TBitmap b = Solid(25, 30, pf24bit, Untouched);
        TRect r = c.rect;
        PaintTexture(b, r, nullptr, c.mode, &f.manager.M(f.texture));
        EXPECT_EQ(r, c.left) << "mode " << c.mode;
        EXPECT_EQ(b.Pixel(c.probe.X, c.probe.Y), c.expected) << "mode " << c.mode;
        if (c.untouched.X >= 0) {
            EXPECT_EQ(b.Pixel(c.untouched.X, c.untouched.Y), Untouched) << "mode " << c.mode;
        }
    }
    // An own image is tiled whatever the mode.
    TBitmap image = Ramp(3, 3, pf24bit);
    TBitmap b = Solid(10, 10, pf24bit, Untouched);
    TRect r{1, 1, 10, 10};
    PaintTexture(b, r, &image, 2, nullptr);
    EXPECT_EQ(r, NoRectLeft);
    EXPECT_EQ(b.Pixel(9, 9), RGB(2, 2, 7));
    EXPECT_EQ(b.Pixel(0, 0), Untouched);
}

TEST(SectionPaint, TransparencyWeights)
{
    struct Case {
        int transparency;
        bool ready;
        int expected; // red channel of the painted pixel
    } cases[] = {
        {0, true, 200},  {50, true, 150}, // (100 * 127 + 200 * 128 + 127) >> 8
        {25, true, 175},                  // w = 63: (100 * 63 + 200 * 192 + 127) >> 8
        {100, true, 100}, {100, false, 9},
        {50, false, 104}, // over a plain parent the section's own colour is blended in too
    };
    for (const Case& c : cases) {
        SectionFixture f;
        const int s = f.AddSection("PANEL", RGB(200, 200, 200), c.transparency);
        TBitmap parent = Solid(30, 30, pf24bit, RGB(100, 100, 100));
        TCacheInfo cache{&parent, 2, 3, RGB(9, 9, 9), c.ready};
        TBitmap b = Solid(10, 10, pf24bit, Untouched);
        PaintSectionBackground(s, "PANEL", cache, clFuchsia, -1, -1, &f.manager, b, {0, 0}, {0, 0, 10, 10}, 0);
        EXPECT_EQ(GetRValue(b.Pixel(5, 5)), c.expected) << c.transparency << " " << c.ready;
    }
    // Fully see-through copies the parent at the cache offset plus the point.
    SectionFixture f;
    const int s = f.AddSection("PANEL", RGB(200, 200, 200), 100);
    TBitmap parent = Ramp(30, 30, pf24bit);
    TCacheInfo cache{&parent, 2, 3, clFuchsia, true};
    TBitmap b = Solid(10, 10, pf24bit, Untouched);
    PaintSectionBackground(s, "PANEL", cache, clFuchsia, -1, -1, &f.manager, b, {4, 5}, {1, 1, 6, 6}, 0);
    EXPECT_EQ(b.Pixel(1, 1), RGB(6, 8, 7));
    EXPECT_EQ(b.Pixel(5, 5), RGB(10, 12, 7));
    EXPECT_EQ(b.Pixel(0, 0), Untouched);
}

TEST(SectionPaint, LayerPercentages)
{
    struct Case {
        const char* what;
        int image, gradient;
        bool pattern;
        TColor passed;
        TColor expected;
    } cases[] = {
        {"colour only", 0, 0, false, clFuchsia, RGB(80, 80, 80)},
        {"colour passed in ignores layers", 100, 0, true, RGB(1, 2, 3), RGB(1, 2, 3)},
        {"image 40 without pattern", 40, 0, false, clFuchsia, RGB(80, 80, 80)},
        // Texture pixel (3, 4) at 100 % shows as it is.
        {"pattern 100", 100, 0, true, clFuchsia, RGB(3, 4, 7)},
        // Pattern 50 %: round(0.5 * 3 + 0.5 * 80) = 42 (41.5 to even), 42, round(43.5) = 44.
        {"pattern 50", 50, 0, true, clFuchsia, RGB(42, 42, 44)},
        // Gradient 100 % of the solid colour (20, 20, 20) straight in.
        {"gradient 100", 0, 100, false, clFuchsia, RGB(20, 20, 20)},
        // Image 30 + gradient 20: (pattern * 76 + 20 * 179 + 127) >> 8, then 50 % toward 80.
        {"image 30 + gradient 20", 30, 20, true, clFuchsia, RGB(48, 48, 48)},
    };
    for (const Case& c : cases) {
        SectionFixture f;
        const int s = f.AddSection("PANEL", RGB(80, 80, 80));
        f.Section(s).ImagePercent = c.image;
        f.Section(s).GradientPercent = c.gradient;
        ParseGradientData("1315860;1315860;100;0;0", f.Section(s).GradientArray);
        TBitmap b = Solid(10, 10, pf24bit, Untouched);
        PaintSectionBackground(s, "PANEL", EmptyCacheInfo, c.passed, -1, c.pattern ? f.texture : -1, &f.manager, b,
                               {0, 0}, {0, 0, 10, 10}, 0);
        EXPECT_EQ(b.Pixel(3, 4), c.expected) << c.what;
    }
}

TEST(SectionPaint, MaskTwinFillsWhenTheSumPassesAHundred)
{
    for (bool twin : {false, true}) {
        SectionFixture f;
        const int s = f.AddSection("PANEL", RGB(80, 80, 80));
        f.Section(s).ImagePercent = 30;
        f.Section(s).GradientPercent = 90;
        ParseGradientData("1315860;1315860;100;0;0", f.Section(s).GradientArray);
        TBitmap b = Solid(10, 10, pf24bit, Untouched);
        if (twin)
            PaintSectionBackgroundWithMask(s, f.texture, -1, EmptyCacheInfo, 0, {0, 0, 10, 10}, {0, 0}, b,
                                           &f.manager);
        else
            PaintSectionBackground(s, "PANEL", EmptyCacheInfo, clFuchsia, -1, f.texture, &f.manager, b, {0, 0},
                                   {0, 0, 10, 10}, 0);
        if (twin) {
            EXPECT_EQ(b.Pixel(3, 4), RGB(80, 80, 80));
        } else {
            EXPECT_NE(b.Pixel(3, 4), RGB(80, 80, 80));
        }
    }
}

TEST(SectionPaint, GradientSection)
{
    SectionFixture f;
    const int s = f.AddSection("PANEL", RGB(80, 80, 80));
    f.Section(s).GradientPercent = 100;
    ParseGradientData("0;16777215;100;0;0", f.Section(s).GradientArray);
    TBitmap b = Solid(4, 11, pf32bit, Untouched, 0);
    PaintSectionBackground(s, "PANEL", EmptyCacheInfo, clFuchsia, -1, -1, &f.manager, b, {0, 0}, {0, 0, 4, 11}, 0);
    EXPECT_EQ(b.Pixel(0, 0), clBlack);
    EXPECT_EQ(b.Pixel(3, 10), clWhite);
    EXPECT_EQ(GetRValue(b.Pixel(0, 5)), 128);
}

TEST(SectionPaint, ItemWithBorderAndCorners)
{
    SectionFixture f;
    const int s = f.AddSection("BUTTON", RGB(80, 80, 80));
    // A border mask 6 x 6 from (20, 20) of the master, margins 2, with a
    // key pixel at its top-left corner.
    f.manager.skin.MasterBitmap->SetPixel(20, 20, clFuchsia);
    f.Section(s).BorderIndex = f.manager.AddMask({20, 20, 26, 26}, 1, 0, 2, 2, 2, 2, 0);
    TBitmap parent = Solid(40, 40, pf24bit, RGB(11, 11, 11));
    TCacheInfo cache = MakeCacheInfo(&parent);
    TBitmap b = Solid(12, 12, pf24bit, Untouched);
    PaintSectionItem(s, "BUTTON", cache, true, 0, {0, 0, 12, 12}, {0, 0}, &b, &f.manager, -1, -1);
    EXPECT_EQ(b.Pixel(0, 0), RGB(11, 11, 11)) << "the key pixel takes the parent";
    EXPECT_EQ(b.Pixel(1, 0), RGB(21, 20, 7));
    EXPECT_EQ(b.Pixel(11, 11), RGB(25, 25, 7));
    EXPECT_EQ(b.Pixel(5, 5), RGB(80, 80, 80)) << "centre keeps the background (mode without bit 4)";

    TBitmap small = Solid(8, 8, pf24bit, Untouched);
    PaintSectionItem(s, "BUTTON", cache, true, 0, {0, 0, 12, 12}, {0, 0}, &small, &f.manager, -1, -1);
    EXPECT_EQ(small.Pixel(3, 3), Untouched) << "a rect past the bitmap paints nothing";

    TBitmap target = Solid(20, 20, pf24bit, RGB(33, 33, 33));
    TBitmap item = Solid(12, 12, pf24bit, 0);
    EXPECT_EQ(PaintSectionItemByName(item, "NONE", "BUTTON", 0, &f.manager, {4, 4, 16, 16}, &target), s);
    EXPECT_EQ(item.Pixel(5, 5), RGB(80, 80, 80));
    f.AddSection("FRAME", RGB(80, 80, 80), 100);
    EXPECT_EQ(PaintSectionItemByName(item, "FRAME", "", 0, &f.manager, {4, 4, 16, 16}, &target), s + 1);
    EXPECT_EQ(item.Pixel(5, 5), RGB(33, 33, 33)) << "the target shows through a see-through section";
    EXPECT_EQ(PaintSectionItemByName(item, "NONE", "ALSONONE", 0, &f.manager, {4, 4, 16, 16}, nullptr), -1);
}

TEST(SectionPaint, BackgroundAnswerToCacheInfo)
{
    TBitmap parent = Solid(4, 4, pf24bit, 0);
    TBackgroundInfo image;
    image.BgType = 2;
    image.Bmp = &parent;
    image.OffsetX = 3;
    image.OffsetY = 4;
    const TCacheInfo a = BackgroundToCacheInfo(image);
    EXPECT_TRUE(a.Ready);
    EXPECT_EQ(a.Bmp, &parent);
    EXPECT_EQ(a.X, 3);
    EXPECT_EQ(a.Y, 4);
    TBackgroundInfo colour;
    colour.BgType = 1;
    colour.Color = RGB(1, 2, 3);
    const TCacheInfo b = BackgroundToCacheInfo(colour);
    EXPECT_FALSE(b.Ready);
    EXPECT_EQ(b.FillColor, RGB(1, 2, 3));
    EXPECT_EQ(b.X, 0);
}
