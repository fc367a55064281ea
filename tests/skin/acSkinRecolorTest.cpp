#include "skin/acSkinRecolor.h"

#include "skin/acBitmapHelpers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

namespace {

const TColor Red = RGB(200, 40, 40);

std::shared_ptr<TBitmap> RedBitmap(int w, int h)
{
    auto b = std::make_shared<TBitmap>();
    b->SetPixelFormat(pf24bit);
    b->SetSize(w, h);
    b->FillRect(TRect{0, 0, w, h}, Red);
    return b;
}

TsMaskData Mask(const std::string& name, TRect r, bool ownBitmap)
{
    TsMaskData m;
    m.SectionName = "GLOBALINFO";
    m.PropertyName = name;
    m.R = r;
    if (ownBitmap)
        m.Bmp = RedBitmap(3, 2);
    return m;
}

// A red skin: icons cut from the master bitmap in 4-pixel columns, and
// images with own bitmaps.
TacSkinContent IconSkin(int keepHue)
{
    TacSkinContent skin;
    skin.MasterBitmap = RedBitmap(40, 4);
    skin.SkinData.IconKeepHue = keepHue;
    const char* inMaster[] = {"BICONCLOSE", "BICONMAX", "BICONMIN", "BICONNORM", "BICONHELP",
                              "SICONMAX",   "SICONMIN", "SICONNORM", "OTHERICON"};
    int x = 0;
    for (const char* name : inMaster) {
        skin.ma.push_back(Mask(name, TRect{x, 0, x + 4, 4}, false));
        x += 4;
    }
    for (const char* name : {"SICONCLOSE", "BICONCLOSEGLOW0", "BICONMAXGLOW0", "BICONMAXGLOW1", "OTHER"})
        skin.ma.push_back(Mask(name, TRect{}, true));
    return skin;
}

bool Kept(const TacSkinContent& skin, const std::string& name)
{
    const int i = skin.FindMaskIndex("GLOBALINFO", name);
    const TsMaskData& m = skin.ma[size_t(i)];
    const TColor c = m.Bmp ? m.Bmp->Pixel(1, 1) : skin.MasterBitmap->Pixel(m.R.Left + 1, 1);
    return c == Red;
}

TEST(acSkinRecolor, HueChangeKeepsTheTitleIconsTheSkinAsksFor)
{
    const struct {
        int keepHue;
        std::vector<std::string> kept;
    } cases[] = {
        {0, {}},
        {1, {"BICONCLOSE", "BICONMAX", "BICONMIN", "BICONNORM", "BICONHELP", "SICONMAX", "SICONMIN", "SICONNORM",
             "SICONCLOSE", "BICONCLOSEGLOW0", "BICONMAXGLOW0"}},
        {2, {"BICONCLOSE", "SICONCLOSE", "BICONCLOSEGLOW0"}},
    };
    const char* all[] = {"BICONCLOSE", "BICONMAX", "BICONMIN", "BICONNORM", "BICONHELP", "SICONMAX", "SICONMIN",
                         "SICONNORM", "OTHERICON", "SICONCLOSE", "BICONCLOSEGLOW0", "BICONMAXGLOW0",
                         "BICONMAXGLOW1", "OTHER"};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keepHue);
        TacSkinContent skin = IconSkin(c.keepHue);
        const std::shared_ptr<TBitmap> shared = skin.MasterBitmap;
        ChangeSkinHueAndSaturation(skin, 120, 0);
        for (const char* name : all) {
            const bool expected = std::find(c.kept.begin(), c.kept.end(), name) != c.kept.end();
            EXPECT_EQ(Kept(skin, name), expected) << name;
        }
        // The bitmap the load may share with others is never written.
        EXPECT_EQ(shared->Pixel(1, 1), Red);
        EXPECT_EQ(skin.MasterBitmap->Pixel(37, 1), ChangeHue(120, Red));
    }
}

TEST(acSkinRecolor, SaturationChangesEvenTheKeptIcons)
{
    TacSkinContent skin = IconSkin(1);
    ChangeSkinHueAndSaturation(skin, 0, 50);
    EXPECT_FALSE(Kept(skin, "BICONCLOSE"));
    EXPECT_FALSE(Kept(skin, "SICONCLOSE"));
}

// Images that share one picture share its recoloured copy: a change of
// hue does not multiply the pictures of a skin.
TEST(acSkinRecolor, SharedPicturesStayShared)
{
    TacSkinContent skin = IconSkin(2);
    auto picture = RedBitmap(4, 4);
    for (int i = 0; i < 3; ++i) {
        skin.ma.push_back(Mask("SHARED" + std::to_string(i), TRect{}, false));
        skin.ma.back().Bmp = picture;
    }
    ChangeSkinHueAndSaturation(skin, 60, 30);
    const size_t first = skin.ma.size() - 3;
    ASSERT_NE(skin.ma[first].Bmp, picture);
    EXPECT_NE(skin.ma[first].Bmp->Pixel(1, 1), Red);
    EXPECT_EQ(skin.ma[first + 1].Bmp, skin.ma[first].Bmp);
    EXPECT_EQ(skin.ma[first + 2].Bmp, skin.ma[first].Bmp);
    EXPECT_EQ(picture->Pixel(1, 1), Red);
}

TEST(acSkinRecolor, IconOutsideTheMasterBitmapIsClipped)
{
    TacSkinContent skin = IconSkin(2);
    skin.ma[0].R = TRect{36, 2, 60, 9}; // BICONCLOSE reaching past the picture
    ChangeSkinHueAndSaturation(skin, 90, 0);
    EXPECT_EQ(skin.MasterBitmap->Pixel(38, 3), Red);
    EXPECT_EQ(skin.MasterBitmap->Pixel(38, 1), ChangeHue(90, Red));
}

} // namespace
