#include "skin/acSkinRecolor.h"

#include "skin/acBitmapHelpers.h"
#include "skin/acBlit.h"
#include "skin/acSkinFolder.h"

#include <map>
#include <memory>
#include <vector>

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

// The title-button icons whose hue the skin keeps: their pictures cut out
// of the master bitmap before a hue change (to be put back after it), and
// the images with own bitmaps that the change leaves alone.
struct TKeptIcons {
    struct Piece {
        TRect R;
        TBitmap Bmp;
    };
    std::vector<Piece> Pieces;
    std::vector<bool> OwnBitmapKept; // by image index
};

TKeptIcons KeepIcons(const TacSkinContent& skin)
{
    TKeptIcons kept;
    kept.OwnBitmapKept.assign(skin.ma.size(), false);
    if (skin.SkinData.IconKeepHue == 0)
        return kept;
    std::vector<std::string> names = {"BICONCLOSE", "SICONCLOSE"};
    if (skin.SkinData.IconKeepHue == 1)
        names.insert(names.end(), {"BICONMAX", "BICONMIN", "BICONNORM", "BICONHELP", "SICONMAX", "SICONMIN",
                                   "SICONNORM"});
    for (const std::string& name : names) {
        const int icon = skin.FindMaskIndex("GLOBALINFO", name);
        if (!skin.IsValidImageIndex(icon))
            continue;
        const TsMaskData& m = skin.ma[size_t(icon)];
        if (!m.Bmp && skin.MasterBitmap) {
            TKeptIcons::Piece piece{m.R, {}};
            piece.Bmp.SetPixelFormat(pf24bit);
            piece.Bmp.SetSize(std::max(0, m.R.Width()), std::max(0, m.R.Height()));
            CopyBitmapRect(piece.Bmp, 0, 0, m.R.Width(), m.R.Height(), *skin.MasterBitmap, m.R.Left, m.R.Top);
            kept.Pieces.push_back(std::move(piece));
        }
        for (int i : {icon, skin.FindMaskIndex("GLOBALINFO", name + "GLOW0")})
            if (skin.IsValidImageIndex(i) && skin.ma[size_t(i)].Bmp)
                kept.OwnBitmapKept[size_t(i)] = true;
    }
    return kept;
}

void RecolorImages(TacSkinContent& skin, const std::function<TColor(TColor)>& change,
                   const std::vector<bool>& ownBitmapKept)
{
    RecolorShared(skin.MasterBitmap, change);
    // Each picture once: images that share one keep sharing its new copy.
    std::map<const TBitmap*, std::shared_ptr<TBitmap>> done;
    for (size_t i = 0; i < skin.ma.size(); ++i) {
        std::shared_ptr<TBitmap>& bmp = skin.ma[i].Bmp;
        if (!bmp || ownBitmapKept[i])
            continue;
        std::shared_ptr<TBitmap>& copy = done[bmp.get()];
        if (!copy) {
            copy = bmp;
            RecolorShared(copy, change);
        }
        bmp = copy;
    }
}

} // namespace

void RecolorSkin(TacSkinContent& skin, const std::function<TColor(TColor)>& change)
{
    RecolorImages(skin, change, std::vector<bool>(skin.ma.size(), false));
    RecolorColors(skin, change);
}

void RecolorColors(TacSkinContent& skin, const std::function<TColor(TColor)>& change)
{
    for (TsGeneralData& s : skin.gd)
        RecolorSection(s, change);
    skin.SkinData.Shadow1Color = change(skin.SkinData.Shadow1Color);
    skin.SkinData.BorderColor = change(skin.SkinData.BorderColor);
}

void ChangeSkinHueAndSaturation(TacSkinContent& skin, int hueOffset, int saturation)
{
    if (hueOffset != 0) {
        const auto hue = [hueOffset](TColor c) { return ChangeHue(hueOffset, c); };
        const TKeptIcons kept = KeepIcons(skin);
        RecolorImages(skin, hue, kept.OwnBitmapKept);
        // The master bitmap is the skin's own copy by now.
        for (const TKeptIcons::Piece& piece : kept.Pieces)
            CopyBitmapRect(*skin.MasterBitmap, piece.R.Left, piece.R.Top, piece.Bmp.Width(), piece.Bmp.Height(),
                           piece.Bmp, 0, 0);
        RecolorColors(skin, hue);
    }
    if (saturation != 0) {
        const int amount = SkinSaturationAmount(saturation);
        RecolorSkin(skin, [amount](TColor c) { return ChangeSaturation(c, amount); });
    }
}
