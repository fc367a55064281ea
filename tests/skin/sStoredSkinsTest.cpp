#include "skin/sStoredSkins.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

TBitmap Picture(int w, int h, TColor c)
{
    TBitmap b;
    b.SetPixelFormat(pf32bit);
    b.SetSize(w, h);
    b.FillRect({0, 0, w, h}, c);
    return b;
}

TsSkinImage Image(const std::string& key, TRect r, int count, int maskType)
{
    TsSkinImage i;
    i.SectionName = "button";
    i.PropertyName = key;
    i.Left = r.Left, i.Top = r.Top, i.Right = r.Right, i.Bottom = r.Bottom;
    i.ImageCount = count;
    i.MaskType = maskType;
    return i;
}

} // namespace

TEST(StoredSkin, ItemsBecomeRecords)
{
    TsStoredSkin s;
    s.Name = "Mine";
    s.MasterBitmap = Picture(90, 60, RGB(1, 2, 3));
    s.Images.push_back(Image("BORDERSMASK", {0, 0, 90, 40}, 3, 1));
    s.Images.push_back(Image("ZERO", {0, 0, 90, 60}, 0, 5));            // 3 states with a mask part
    s.Images.push_back(Image("BEYOND", {60, 30, 500, 400}, 1, 0));      // clipped to the master
    TsSkinImage own = Image("OWN", {0, 0, 500, 500}, 3, 1);
    own.Name = "own.bmp";
    own.Image = Picture(30, 12, RGB(9, 9, 9));
    s.Images.push_back(own);
    TsSkinImage lost = Image("LOST", {0, 0, 90, 60}, 1, 0);
    lost.Name = "lost.bmp"; // an own picture that is empty: no image, not the master's
    s.Images.push_back(lost);
    TsSkinImage bw = Image("BW", {0, 0, 30, 30}, 1, 0);
    bw.BorderWidth = 5;
    s.Images.push_back(bw);
    // Counts and margins a form file may hold are bounded as a skin file's.
    const int big = std::numeric_limits<int>::max();
    TsSkinImage huge = Image("HUGE", {0, 0, 90, 60}, big, big);
    huge.WL = huge.WT = huge.WR = huge.WB = big;
    s.Images.push_back(huge);
    TsSkinImage hugeBw = Image("HUGEBW", {0, 0, 90, 60}, 1, 0);
    hugeBw.BorderWidth = big;
    s.Images.push_back(hugeBw);
    TsSkinImage negative = Image("NEGATIVE", {0, 0, 90, 60}, 1, 0);
    negative.WL = negative.WR = std::numeric_limits<int>::min();
    negative.WT = negative.WB = -1;
    s.Images.push_back(negative);
    struct Case {
        const char* key;
        TRect r;
        int count, maskType, wl, wt;
        bool own;
    } cases[] = {
        {"BORDERSMASK", {0, 0, 90, 40}, 3, 1, 10, 6, false}, {"ZERO", {0, 0, 90, 60}, 3, 1, 10, 10, false},
        {"BEYOND", {60, 30, 90, 60}, 1, 0, 10, 10, false},   {"OWN", {0, 0, 30, 12}, 3, 1, 3, 2, true},
        {"BW", {0, 0, 30, 30}, 1, 0, 5, 5, false},
        {"HUGE", {0, 0, 90, 60}, MaxMaskValue, MaxMaskValue, MaxMaskValue, MaxMaskValue, false},
        {"HUGEBW", {0, 0, 90, 60}, 1, 0, MaxMaskValue, MaxMaskValue, false},
        {"NEGATIVE", {0, 0, 90, 60}, 1, 0, 30, 20, false},
    };
    TacSkinContent skin;
    std::string error;
    ASSERT_TRUE(LoadStoredSkin(s, {}, skin, error));
    ASSERT_EQ(skin.ma.size(), 8u);
    EXPECT_EQ(skin.FindMaskIndex("BUTTON", "LOST"), -1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        int i = skin.FindMaskIndex("BUTTON", c.key);
        ASSERT_GE(i, 0);
        const TsMaskData& m = skin.ma[size_t(i)];
        EXPECT_EQ(m.R, c.r);
        EXPECT_EQ(m.ImageCount, c.count);
        EXPECT_EQ(m.MaskType, c.maskType);
        EXPECT_EQ(m.WL, c.wl);
        EXPECT_EQ(m.WT, c.wt);
        EXPECT_EQ(m.Bmp != nullptr, c.own);
        if (m.Bmp) {
            EXPECT_EQ(m.Bmp->PixelFormat(), pf24bit);
        }
    }
    EXPECT_EQ(skin.MasterBitmap->PixelFormat(), pf24bit);
    EXPECT_TRUE(skin.MasterBitmap->Transparent());
}

TEST(StoredSkin, FontColoursAndPatterns)
{
    TsStoredSkin s;
    struct Case {
        const char* text;
        int c, l, t, r, b;
    } cases[] = {
        {"1 2 3 4 5", 1, 2, 3, 4, 5}, {"1 2 3 4", 0, -1, -1, -1, -1}, {"1 2 x 4 5", 0, -1, -1, -1, -1},
        {"", 0, -1, -1, -1, -1},      {"  7  -1 -1 -1 8 ", 7, -1, -1, -1, 8},
    };
    for (const Case& c : cases) {
        TsSkinGeneral g;
        g.SectionName = std::string("S") + std::to_string(s.GeneralData.size());
        g.FontColor = c.text;
        g.HotFontColor = c.text;
        s.GeneralData.push_back(g);
    }
    TsSkinPattern first{"form", Picture(4, 4, RGB(7, 7, 7)), "bg.jpg", "pattern"};
    TsSkinPattern shared{"panel", TBitmap{}, "bg.jpg", "pattern"};
    TsSkinPattern empty{"edit", TBitmap{}, "none.jpg", "pattern"};
    s.Patterns = {shared, first, empty};
    TacSkinContent skin;
    std::string error;
    ASSERT_TRUE(LoadStoredSkin(s, {}, skin, error));
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].text);
        const TsGeneralData& g = skin.gd[i];
        EXPECT_EQ(g.FontColor, cases[i].c);
        EXPECT_EQ(g.TCLeft, cases[i].l);
        EXPECT_EQ(g.TCTop, cases[i].t);
        EXPECT_EQ(g.TCRight, cases[i].r);
        EXPECT_EQ(g.TCBottom, cases[i].b);
        EXPECT_EQ(g.HotFontColor, cases[i].c);
        EXPECT_EQ(g.HotTCBottom, cases[i].b);
    }
    ASSERT_EQ(skin.pa.size(), 2u);
    EXPECT_EQ(skin.pa[0].SectionName, "PANEL");
    EXPECT_EQ(skin.pa[0].Img->Width(), 4); // shared from the item of the same name
    EXPECT_EQ(skin.pa[0].Img, skin.pa[1].Img) << "one copy of a shared picture";
    EXPECT_EQ(skin.pa[1].SectionName, "FORM");

    TsStoredSkins list;
    list.Items.resize(2);
    list.Items[0].Name = "One";
    list.Items[1].Name = "Two";
    EXPECT_EQ(list.IndexOf("Two"), 1);
    EXPECT_EQ(list.IndexOf("two"), -1);
}
