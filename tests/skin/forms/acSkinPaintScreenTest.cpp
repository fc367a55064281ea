// Sections of the project's own skin painted the way the skinned controls
// will paint them: a form background, buttons in three states, an edit, a
// group frame and a panel, with their captions. The picture is saved for a
// person to look at when TARKU_SCREENSHOTS names a folder.
#include "skin/acSectionPaint.h"
#include "skin/forms/acSkinText.h"
#include "skin/sHelpers.h"

#include "../SkinContentManager.h"
#include "Screenshot.h"
#include "SkinGenerator.h"
#include "platform/forms/BitmapImage.h"

#include <gtest/gtest.h>

namespace {

struct ProjectSkin {
    skintest::ContentManager manager;
    bool loaded = false;
    explicit ProjectSkin(const TSkinPalette& palette)
    {
        std::string error;
        loaded = manager.LoadGenerated(palette, error);
        EXPECT_TRUE(loaded) << error;
    }
    int Index(const std::string& name) const { return manager.skin.GetSkinIndex(name); }
};

// One section item with its caption, centred.
void Item(ProjectSkin& s, TBitmap& bmp, const std::string& section, const TRect& r, int state,
          const std::string& caption, unsigned align = DT_CENTER)
{
    const int index = s.Index(section);
    ASSERT_GE(index, 0) << section;
    const TCacheInfo parent = MakeCacheInfo(&bmp, 0, 0);
    PaintSectionItem(index, section, parent, true, state, r, {0, 0}, &bmp, &s.manager, -1, -1);
    QFont font("Sans", 9);
    DrawSectionText(bmp, caption, true, &s.manager, state != 0, index, align | DT_VCENTER | DT_SINGLELINE,
                    {r.Left + 6, r.Top, r.Right - 6, r.Bottom}, font);
}

TBitmap PaintSample(ProjectSkin& s)
{
    TBitmap bmp;
    bmp.SetPixelFormat(pf24bit);
    bmp.SetSize(440, 190);
    const int form = s.Index("FORM");
    PaintSectionItem(form, "FORM", EmptyCacheInfo, true, 0, {0, 0, 440, 190}, {0, 0}, &bmp, &s.manager, -1, -1);
    const char* captions[3] = {"Normal", "Hot", "Pressed"};
    for (int state = 0; state < 3; ++state)
        Item(s, bmp, "BUTTON", {20 + state * 135, 20, 140 + state * 135, 48}, state, captions[state]);
    Item(s, bmp, "EDIT", {20, 70, 200, 94}, 0, "Text in an edit", DT_LEFT);
    Item(s, bmp, "EDIT", {20, 104, 200, 128}, 1, "Edit under the mouse", DT_LEFT);
    Item(s, bmp, "GROUPBOX", {220, 66, 420, 170}, 0, "");
    Item(s, bmp, "PANEL", {236, 90, 404, 154}, 0, "Panel in a frame");
    return bmp;
}

// Whether two w x h areas at (x1, y) and (x2, y) hold the same pixels.
bool SameArea(const TBitmap& bmp, int x1, int x2, int y, int w, int h)
{
    for (int dy = 0; dy < h; ++dy)
        for (int dx = 0; dx < w; ++dx)
            if (bmp.Pixel(x1 + dx, y + dy) != bmp.Pixel(x2 + dx, y + dy))
                return false;
    return true;
}

} // namespace

TEST(SkinPaintScreen, ProjectSkinSectionsReadWell)
{
    for (auto [name, palette] : {std::pair{"skin_sections", ProjectPalette()}, {"skin_sections_dusk", DuskPalette()}}) {
        ProjectSkin s(palette);
        ASSERT_TRUE(s.loaded);
        TBitmap bmp = PaintSample(s);
        // The three buttons differ (hot and pressed share the face colour but
        // not the frame), and the edit's frame stands apart from its face.
        EXPECT_FALSE(SameArea(bmp, 20, 155, 20, 120, 28)) << name;
        EXPECT_FALSE(SameArea(bmp, 155, 290, 20, 120, 28)) << name;
        EXPECT_NE(bmp.Pixel(20, 82), bmp.Pixel(100, 82)) << name;
        EXPECT_TRUE(SaveScreenshot(BitmapToImage(bmp).scaled(880, 380), name));
    }
}
