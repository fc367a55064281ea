#include "skin/acSkinRecolor.h"

#include "skin/acBitmapHelpers.h"
#include "skin/acSkinFolder.h"

#include <memory>

namespace {

constexpr TColor KeyColor = 0xFF00FF;

// 24-bit and 32-bit scan lines hold blue, green, red first.
void RecolorPixels(TBitmap& bmp, const std::function<TColor(TColor)>& change)
{
    if (bmp.PixelFormat() != pf24bit && bmp.PixelFormat() != pf32bit)
        bmp.SetPixelFormat(pf24bit);
    const int step = bmp.PixelFormat() == pf32bit ? 4 : 3;
    for (int y = 0; y < bmp.Height(); ++y) {
        uint8_t* p = bmp.ScanLine(y);
        for (int x = 0; x < bmp.Width(); ++x, p += step) {
            const uint8_t b = p[0], g = p[1], r = p[2];
            if (r == g && g == b)
                continue; // grey
            const TColor c = RGB(r, g, b);
            if (c == KeyColor)
                continue;
            const TColor n = change(c);
            p[0] = GetBValue(n);
            p[1] = GetGValue(n);
            p[2] = GetRValue(n);
        }
    }
}

// A private copy of a shared bitmap, recoloured.
void RecolorShared(std::shared_ptr<TBitmap>& bmp, const std::function<TColor(TColor)>& change)
{
    if (!bmp || bmp->Empty())
        return;
    auto copy = std::make_shared<TBitmap>();
    copy->Assign(*bmp);
    RecolorPixels(*copy, change);
    bmp = std::move(copy);
}

void RecolorOptional(int& c, const std::function<TColor(TColor)>& change)
{
    if (c != -1)
        c = change(c);
}

void RecolorGradient(TsGradArray& steps, const std::function<TColor(TColor)>& change)
{
    for (TsGradStep& s : steps) {
        s.Color1 = change(s.Color1);
        s.Color2 = change(s.Color2);
    }
}

void RecolorSection(TsGeneralData& s, const std::function<TColor(TColor)>& change)
{
    s.Color = change(s.Color);
    s.HotColor = change(s.HotColor);
    for (int* c : {&s.TCLeft, &s.TCTop, &s.TCRight, &s.TCBottom, &s.HotTCLeft, &s.HotTCTop, &s.HotTCRight,
                   &s.HotTCBottom})
        RecolorOptional(*c, change);
    RecolorOptional(s.FontColor, change);
    RecolorOptional(s.HotFontColor, change);
    RecolorGradient(s.GradientArray, change);
    RecolorGradient(s.HotGradientArray, change);
}

} // namespace

void RecolorSkin(TacSkinContent& skin, const std::function<TColor(TColor)>& change)
{
    RecolorShared(skin.MasterBitmap, change);
    for (TsMaskData& m : skin.ma)
        RecolorShared(m.Bmp, change);
    for (TsGeneralData& s : skin.gd)
        RecolorSection(s, change);
    skin.SkinData.Shadow1Color = change(skin.SkinData.Shadow1Color);
    skin.SkinData.BorderColor = change(skin.SkinData.BorderColor);
}

void ChangeSkinHueAndSaturation(TacSkinContent& skin, int hueOffset, int saturation)
{
    if (hueOffset != 0)
        RecolorSkin(skin, [hueOffset](TColor c) { return ChangeHue(hueOffset, c); });
    if (saturation != 0) {
        const int amount = SkinSaturationAmount(saturation);
        RecolorSkin(skin, [amount](TColor c) { return ChangeSaturation(c, amount); });
    }
}
