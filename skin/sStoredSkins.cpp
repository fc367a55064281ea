#include "skin/sStoredSkins.h"

#include "platform/Cp1251.h"
#include "platform/SysUtils.h"
#include "skin/sGradient.h"
#include "skin/sHelpers.h"

#include <algorithm>
#include <map>

int TsStoredSkins::IndexOf(const std::string& name) const
{
    for (size_t i = 0; i < Items.size(); ++i)
        if (Items[i].Name == name)
            return int(i);
    return -1;
}

namespace {

std::shared_ptr<TBitmap> Copy24(const TBitmap& source)
{
    auto bmp = std::make_shared<TBitmap>(source);
    bmp->SetPixelFormat(pf24bit);
    return bmp;
}

// An item with a Name is its own picture (none when the picture is empty,
// rather than a stray part of the master bitmap); others are a rectangle of
// the master bitmap, kept inside it.
bool ReadImage(const TsSkinImage& item, const TBitmap& master, TsMaskData& m)
{
    if (!item.Name.empty()) {
        if (item.Image.Empty())
            return false;
        // A halo lives by its alpha: made opaque it would hide its control.
        if (item.ImgType == itisaGlow && item.Image.PixelFormat() == pf32bit)
            m.Bmp = std::make_shared<TBitmap>(item.Image);
        else
            m.Bmp = Copy24(item.Image);
        m.R = {0, 0, item.Image.Width(), item.Image.Height()};
    } else {
        m.R.Left = std::clamp(item.Left, 0, master.Width());
        m.R.Top = std::clamp(item.Top, 0, master.Height());
        m.R.Right = std::clamp(item.Right, m.R.Left, master.Width());
        m.R.Bottom = std::clamp(item.Bottom, m.R.Top, master.Height());
    }
    m.SectionName = AnsiUpperCase(item.SectionName);
    m.PropertyName = AnsiUpperCase(item.PropertyName);
    m.ImageCount = item.ImageCount == 0 ? 3 : BoundMaskValue(item.ImageCount, 1);
    m.MaskType = item.ImageCount == 0 ? 1 : BoundMaskValue(item.MaskType, 0);
    m.BorderWidth = BoundMaskValue(item.BorderWidth, 0);
    m.StretchMode = item.StretchMode;
    m.ImgType = item.ImgType;
    m.WL = BoundMaskValue(item.WL, 0), m.WT = BoundMaskValue(item.WT, 0);
    m.WR = BoundMaskValue(item.WR, 0), m.WB = BoundMaskValue(item.WB, 0);
    if (m.WL + m.WT + m.WR + m.WB == 0) {
        if (m.BorderWidth != 0) {
            m.WL = m.WT = m.WR = m.WB = m.BorderWidth;
        } else {
            m.WL = m.WR = m.R.Width() / (m.ImageCount * 3);
            m.WT = m.WB = m.R.Height() / (m.MaskType * 3 + 3);
        }
    }
    return true;
}

void ReadPatterns(const TsStoredSkin& s, TacSkinContent& skin)
{
    // One copy of each picture, however many patterns share it.
    std::map<const TBitmap*, std::shared_ptr<TBitmap>> copies;
    for (const TsSkinPattern& item : s.Patterns) {
        const TBitmap* img = &item.Image;
        if (img->Empty())
            for (const TsSkinPattern& other : s.Patterns)
                if (&other != &item && other.Name == item.Name && !other.Image.Empty()) {
                    img = &other.Image;
                    break;
                }
        if (img->Empty())
            continue; // a pattern without a picture would tile nothing
        std::shared_ptr<TBitmap>& copy = copies[img];
        if (!copy)
            copy = std::make_shared<TBitmap>(*img);
        skin.pa.push_back({copy, AnsiUpperCase(item.SectionName), AnsiUpperCase(item.PropertyName)});
    }
}

// Colour and four contour colours; anything but five numbers gives 0 and
// no contours.
void ReadFontColors(const std::string& text, int* c)
{
    int v[5] = {0, -1, -1, -1, -1};
    if (CountWords(text, " ") == 5) {
        int n[5];
        bool ok = true;
        for (int i = 0; i < 5 && ok; ++i) {
            auto x = TryStrToInt(ExtractWordAt(i + 1, text, " "));
            ok = x.has_value();
            n[i] = ok ? *x : 0;
        }
        if (ok)
            std::copy(n, n + 5, v);
    }
    std::copy(v, v + 5, c);
}

TsGeneralData ReadGeneral(const TsSkinGeneral& item)
{
    TsGeneralData g;
    g.Name = item.SectionName;
    g.ParentClass = item.ParentClass;
    g.Color = item.Color;
    int font[5], hot[5];
    ReadFontColors(item.FontColor, font);
    ReadFontColors(item.HotFontColor, hot);
    g.FontColor = font[0], g.TCLeft = font[1], g.TCTop = font[2], g.TCRight = font[3], g.TCBottom = font[4];
    g.HotFontColor = hot[0], g.HotTCLeft = hot[1], g.HotTCTop = hot[2], g.HotTCRight = hot[3];
    g.HotTCBottom = hot[4];
    g.GiveOwnFont = item.GiveOwnFont;
    g.GlowCount = item.GlowCount;
    g.GlowMargin = item.GlowMargin;
    g.ReservedBoolean = item.ReservedBoolean;
    g.Transparency = item.Transparency;
    g.GradientPercent = item.GradientPercent;
    g.GradientData = item.GradientData;
    g.ImagePercent = item.ImagePercent;
    g.ShowFocus = item.ShowFocus;
    g.FadingEnabled = item.FadingEnabled;
    g.FadingIterations = item.FadingIterations;
    g.HotColor = item.HotColor;
    g.HotTransparency = item.HotTransparency;
    g.HotGradientPercent = item.HotGradientPercent;
    g.HotGradientData = item.HotGradientData;
    g.HotImagePercent = item.HotImagePercent;
    ParseGradientData(g.GradientData, g.GradientArray);
    ParseGradientData(g.HotGradientData, g.HotGradientArray);
    return g;
}

} // namespace

bool LoadStoredSkin(const TsStoredSkin& s, const TacCommonSections& common, TacSkinContent& skin,
                    std::string& error)
{
    if (!s.Data.empty())
        return LoadPackedSkin(s.Data, common, {}, skin, error);
    TacSkinContent loaded;
    loaded.MasterBitmap = Copy24(s.MasterBitmap);
    loaded.MasterBitmap->SetTransparent(true);
    loaded.MasterBitmap->SetTransparentColor(clFuchsia);
    for (const TsSkinImage& item : s.Images) {
        TsMaskData m;
        if (ReadImage(item, *loaded.MasterBitmap, m))
            loaded.ma.push_back(std::move(m));
    }
    ReadPatterns(s, loaded);
    TsSkinData& d = loaded.SkinData;
    d.Version = s.Version, d.Author = s.Author, d.Description = s.Description;
    d.Shadow1Color = s.Shadow1Color, d.Shadow1Offset = s.Shadow1Offset, d.Shadow1Blur = s.Shadow1Blur;
    d.Shadow1Transparency = s.Shadow1Transparency, d.BorderColor = s.BorderColor;
    d.ExtMaxHeight = d.ExtTitleHeight;
    for (const TsSkinGeneral& item : s.GeneralData)
        loaded.gd.push_back(ReadGeneral(item));
    SkinReaders::MergeCommonSections(TacOptionsFile(common.Text()), loaded);
    skin = std::move(loaded);
    return true;
}
