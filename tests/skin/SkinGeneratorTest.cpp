// The project's own skins, read back from their files and laid out by the
// painters larger than their pictures, as every control and form is: each
// frame's tiled edges and centre join without a step, the frames behind
// caption buttons and captions fill their middle while the form's frame and
// the status bar's leave theirs to what lies under them, the menu line ends
// straight, and the status bar shades evenly behind its text.
#include "SkinContentManager.h"
#include "skin/acMaskPaint.h"
#include "skin/sGradient.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

// What lies under a frame before it is painted: a colour neither skin has.
const TColor Under = RGB(0, 255, 0);

struct Skin {
    const char* name;
    TSkinPalette palette;
};
const std::vector<Skin> Skins = {{"project", ProjectPalette()}, {"dusk", DuskPalette()}};

struct Loaded {
    skintest::ContentManager manager;
    std::string error;
    bool ok;
    explicit Loaded(const TSkinPalette& palette) : ok(manager.LoadGenerated(palette, error)) {}
    const TsMaskData* Mask(const char* section, const char* key) const
    {
        const int i = manager.skin.FindMaskIndex(section, key);
        return i >= 0 ? &manager.M(i) : nullptr;
    }
};

TBitmap Painted(const TsMaskData& mask, int w, int h, int state)
{
    TBitmap bmp;
    bmp.SetPixelFormat(pf24bit);
    bmp.SetSize(w, h);
    bmp.FillRect({0, 0, w, h}, Under);
    DrawSkinMask(bmp, {0, 0, w, h}, true, mask, state, false, TCacheInfo{nullptr, 0, 0, clFuchsia, false});
    return bmp;
}

std::string Where(int x, int y)
{
    return "(" + std::to_string(x) + ", " + std::to_string(y) + ")";
}

// Frames laid out over more than two pictures' width and height, so that
// every edge and the centre are tiled and cut.
TEST(ProjectSkins, EveryFrameTilesWithoutAStep)
{
    for (const Skin& s : Skins) {
        SCOPED_TRACE(s.name);
        Loaded skin(s.palette);
        ASSERT_TRUE(skin.ok) << skin.error;
        int frames = 0;
        for (const TsMaskData& m : skin.manager.skin.ma) {
            if (m.ImgType != itisaBorder || m.ImageCount < 1 || m.MaskType < 0)
                continue;
            SCOPED_TRACE(m.SectionName + " " + m.PropertyName);
            ++frames;
            const int fw = MaskFrameWidth(m), fh = MaskFrameHeight(m);
            const int w = 2 * fw + 7, h = 2 * fh + 5;
            for (int state = 0; state < m.ImageCount; ++state) {
                SCOPED_TRACE("state " + std::to_string(state));
                const TBitmap bmp = Painted(m, w, h, state);
                int steps = 0;
                // Between the corners a column is one colour all down, a
                // row one colour all across.
                for (int y = m.WT; y < h - m.WB; ++y)
                    for (int x = 0; x < w; ++x)
                        if (bmp.Pixel(x, y) != bmp.Pixel(x, m.WT) && steps++ == 0)
                            ADD_FAILURE() << "column " << x << " changes at row " << y;
                for (int x = m.WL; x < w - m.WR; ++x)
                    for (int y = 0; y < h; ++y)
                        if (bmp.Pixel(x, y) != bmp.Pixel(m.WL, y) && steps++ == 0)
                            ADD_FAILURE() << "row " << y << " changes at column " << x;
            }
        }
        EXPECT_GT(frames, 30);
    }
}

// Whether the frame paints its middle, and from which state on it paints
// at all (a caption's own frame shows only on an inactive form).
struct Middle {
    const char* section;
    const char* key;
    bool filled;
    int firstState;
};
const std::vector<Middle> Middles = {
    // Caption buttons lie on this band, the caption text on its plate,
    // tab captions on their tabs.
    {"FORM", "TITLEBAR", true, 0},
    {"FORMTITLE", "BORDERSMASK", true, 1},
    {"CAPTION", "BORDERSMASK", true, 0},
    {"TABTOP", "BORDERSMASK", true, 0},
    {"TABBOTTOM", "BORDERSMASK", true, 0},
    {"TABLEFT", "BORDERSMASK", true, 0},
    {"TABRIGHT", "BORDERSMASK", true, 0},
    {"BUTTON", "BORDERSMASK", true, 0},
    {"MENULINE", "BORDERSMASK", true, 0},
    {"TOOLBAR", "BORDERSMASK", true, 0},
    // The client is the form's own background; the status bar's shading
    // shows inside its frame and its panels'.
    {"FORM", "BORDERSMASK", false, 0},
    {"STATUSBAR", "BORDERSMASK", false, 0},
    {"STATUSBAR", "STATUSPANELMASK", false, 0},
};

TEST(ProjectSkins, FramesFillTheirMiddleOrLeaveItWhole)
{
    for (const Skin& s : Skins) {
        SCOPED_TRACE(s.name);
        Loaded skin(s.palette);
        ASSERT_TRUE(skin.ok) << skin.error;
        for (const Middle& c : Middles) {
            SCOPED_TRACE(std::string(c.section) + " " + c.key);
            const TsMaskData* m = skin.Mask(c.section, c.key);
            ASSERT_NE(m, nullptr);
            const int w = 3 * MaskFrameWidth(*m), h = 2 * MaskFrameHeight(*m);
            for (int state = c.firstState; state < m->ImageCount; ++state) {
                SCOPED_TRACE("state " + std::to_string(state));
                const TBitmap bmp = Painted(*m, w, h, state);
                int under = 0, centre = 0;
                for (int y = m->WT; y < h - m->WB; ++y)
                    for (int x = m->WL; x < w - m->WR; ++x)
                        ++centre, under += bmp.Pixel(x, y) == Under;
                ASSERT_GT(centre, 0);
                EXPECT_EQ(under, c.filled ? 0 : centre);
            }
        }
    }
}

// A menu line as high as a menu bar, at 1x and 2x: its ends are straight
// lines from top to bottom, nothing of what lies under it shows there.
TEST(ProjectSkins, TheMenuLineEndsStraight)
{
    for (const Skin& s : Skins) {
        SCOPED_TRACE(s.name);
        Loaded skin(s.palette);
        ASSERT_TRUE(skin.ok) << skin.error;
        const TsMaskData* m = skin.Mask("MENULINE", "BORDERSMASK");
        ASSERT_NE(m, nullptr);
        for (int h : {20, 22, 40, 44}) {
            const int w = 10 * h;
            const TBitmap bmp = Painted(*m, w, h, 0);
            for (int x : {0, w - 1})
                for (int y = 0; y < h; ++y)
                    ASSERT_EQ(bmp.Pixel(x, y), bmp.Pixel(x, h / 2)) << h << " high, at " << Where(x, y);
            EXPECT_NE(bmp.Pixel(0, h / 2), Under);
        }
    }
}

int Brightness(TColor c)
{
    return GetRValue(c) + GetGValue(c) + GetBValue(c);
}

// The bar's shading, as high as a status bar at 1x and 2x: each row is of
// one colour (the triangles' rounding aside) and no row is darker than a
// row below it, so no stripe runs through the panels' text.
TEST(ProjectSkins, TheStatusBarShadesEvenlyFromTopToBottom)
{
    for (const Skin& s : Skins) {
        SCOPED_TRACE(s.name);
        Loaded skin(s.palette);
        ASSERT_TRUE(skin.ok) << skin.error;
        const int index = skin.manager.skin.GetSkinIndex("STATUSBAR");
        ASSERT_GE(index, 0);
        const TsGeneralData& bar = skin.manager.skin.gd[size_t(index)];
        ASSERT_EQ(bar.GradientPercent, 100);
        for (auto [w, h] : {std::pair{700, 22}, std::pair{1400, 44}}) {
            TBitmap bmp;
            bmp.SetPixelFormat(pf24bit);
            bmp.SetSize(w, h);
            bmp.FillRect({0, 0, w, h}, Under);
            PaintGradient(bmp, {0, 0, w, h}, bar.GradientArray);
            int previous = 3 * 255;
            for (int y = 0; y < h; ++y) {
                for (int x = 0; x < w; ++x) {
                    const TColor a = bmp.Pixel(x, y), b = bmp.Pixel(w / 2, y);
                    for (int shift : {0, 8, 16})
                        ASSERT_LE(std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)), 2)
                            << w << " x " << h << ", at " << Where(x, y);
                }
                const int now = Brightness(bmp.Pixel(w / 2, y));
                ASSERT_LE(now, previous) << w << " x " << h << ", row " << y;
                previous = now;
            }
        }
    }
}

} // namespace
