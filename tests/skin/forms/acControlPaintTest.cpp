#include "skin/forms/acControlPaint.h"

#include "../PixelTestUtil.h"
#include "../SkinContentManager.h"
#include "skin/acMaskPaint.h"
#include "skin/forms/sCommonData.h"

#include <QWidget>
#include <gtest/gtest.h>

using namespace pixeltest;

namespace {

const TColor Untouched = RGB(0, 0, 200);

// A widget outside the library that shows a plain colour.
void Paint(QWidget& w, TColor color)
{
    QPalette p = w.palette();
    p.setColor(QPalette::Window, QColorFromColor(color));
    w.setPalette(p);
    w.setAutoFillBackground(true);
}

// A skin with one section "EDIT" and its border mask 8 x 8 (margins 2,
// grey, a key pixel at the top-left).
struct EditSkin {
    skintest::ContentManager manager;
    EditSkin()
    {
        TBitmap& m = manager.Master(8, 8);
        m.FillRect({0, 0, 8, 8}, RGB(90, 90, 90));
        m.SetPixel(0, 0, clFuchsia);
        TsGeneralData s;
        s.Name = "EDIT";
        s.Color = RGB(250, 250, 250);
        s.BorderIndex = manager.AddMask({0, 0, 8, 8}, 1, 0, 2, 2, 2, 2, 0);
        manager.skin.gd.push_back(s);
    }
};

} // namespace

TEST(ControlPaint, BackgroundQueryFallsBackToTheControlsColour)
{
    QWidget plain;
    plain.resize(30, 30);
    Paint(plain, RGB(200, 10, 10));
    TBackgroundInfo info;
    EXPECT_FALSE(GetControlBackground(info, &plain, false));
    EXPECT_EQ(info.BgType, 1);
    EXPECT_EQ(info.Color, RGB(200, 10, 10));

    // Asked to paint, the control renders its background into the target.
    TBitmap dc = Solid(20, 20, pf24bit, Untouched);
    TBackgroundInfo draw;
    draw.PleaseDraw = true;
    draw.DC = &dc;
    draw.R = {2, 2, 10, 10};
    EXPECT_FALSE(GetControlBackground(draw, &plain, true));
    EXPECT_EQ(dc.Pixel(5, 5), RGB(200, 10, 10));
    EXPECT_EQ(dc.Pixel(15, 15), Untouched) << "outside the wanted rect";

    TBackgroundInfo none;
    EXPECT_FALSE(GetControlBackground(none, nullptr, false));
    EXPECT_EQ(none.BgType, 0);
}

TEST(ControlPaint, ControlBorderOverItsParent)
{
    EditSkin skin;
    QWidget parent;
    parent.resize(100, 100);
    Paint(parent, RGB(30, 60, 90));
    QWidget edit(&parent);
    edit.setGeometry(5, 5, 40, 30);
    TsCommonData sd(&edit, false);
    sd.SetSkinManager(&skin.manager);
    sd.SetSkinSection("EDIT");
    ASSERT_EQ(sd.SkinIndex, 0);
    ASSERT_EQ(sd.BorderIndex, 0);

    TBitmap target = Solid(40, 30, pf24bit, Untouched);
    const TRect inner = PaintControlBorder(target, {0, 0, 40, 30}, 3, 0, sd);
    EXPECT_EQ(inner, (TRect{3, 3, 37, 27}));
    ASSERT_TRUE(sd.CacheBmp);
    EXPECT_EQ(sd.CacheBmp->Pixel(1, 0), RGB(90, 90, 90));
    EXPECT_EQ(sd.CacheBmp->Pixel(2, 2), RGB(250, 250, 250)) << "band up to the border width";
    EXPECT_EQ(target.Pixel(1, 0), RGB(90, 90, 90)) << "strips copied to the target";
    EXPECT_EQ(target.Pixel(20, 15), Untouched);

    // The corner's key pixel takes the parent's colour.
    sd.CacheBmp->SetPixel(0, 0, Untouched);
    PaintBorderMask(sd, 0);
    EXPECT_EQ(sd.CacheBmp->Pixel(0, 0), RGB(30, 60, 90));
    EXPECT_EQ(sd.CacheBmp->Pixel(1, 0), RGB(90, 90, 90));
}

TEST(ControlPaint, ControlItemPaintsSectionAndBorder)
{
    EditSkin skin;
    QWidget edit;
    edit.resize(20, 20);
    TsCommonData sd(&edit, false);
    sd.SetSkinManager(&skin.manager);
    sd.SetSkinSection("EDIT");
    TBitmap bmp = Solid(20, 20, pf24bit, Untouched);
    PaintControlItem(sd, EmptyCacheInfo, false, 0, {0, 0, 20, 20}, {0, 0}, bmp);
    EXPECT_EQ(bmp.Pixel(10, 10), RGB(250, 250, 250));
    EXPECT_EQ(bmp.Pixel(10, 0), RGB(90, 90, 90));
}
