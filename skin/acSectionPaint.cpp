// Section backgrounds over the parent, and whole section items.
#include "skin/acSectionPaint.h"

#include "skin/acBitmapHelpers.h"
#include "skin/acBlit.h"
#include "skin/acFastPixels.h"
#include "skin/acMaskPaint.h"
#include "skin/sHelpers.h"
#include "skin/sSkinManagerIntf.h"

#include <algorithm>

namespace {

const TacSkinContent* SkinOf(const TsSkinManager*& manager)
{
    if (!manager)
        manager = DefaultSkinManager;
    return manager ? manager->Content() : nullptr;
}

const TsMaskData* MaskAt(const TacSkinContent& skin, int index)
{
    return skin.IsValidImageIndex(index) ? &skin.ma[size_t(index)] : nullptr;
}

// The section's layers for a state (step "choose the layers").
TBackgroundLayers ChooseLayers(const TacSkinContent& skin, int index, const std::string& name, TColor color,
                               int hotPatternIndex, int patternIndex, int state)
{
    TBackgroundLayers l;
    if (color != clFuchsia) {
        l.Color = color;
        return l;
    }
    const TsGeneralData& s = skin.gd[size_t(index)];
    const bool hot = state != 0;
    l.Color = hot ? s.HotColor : s.Color;
    l.Transparency = hot ? s.HotTransparency : s.Transparency;
    if (l.Transparency == 100)
        return l;
    l.ImagePercent = hot ? s.HotImagePercent : s.ImagePercent;
    l.GradientPercent = hot ? s.HotGradientPercent : s.GradientPercent;
    if (l.ImagePercent > 0) {
        const int given = hot ? hotPatternIndex : patternIndex;
        const std::string section = name.empty() ? s.Name : name;
        const std::string property = hot ? "HOTPATTERN" : "PATTERN";
        if (const TsMaskData* m = MaskAt(skin, given); m && m->MaskType == 0) {
            l.PatternMask = m;
        } else if (given == -1) {
            l.PatternMask = MaskAt(skin, skin.GetMaskIndex(index, section, property));
            if (!l.PatternMask) {
                const int p = skin.GetPatternIndex(index, section, property);
                if (p >= 0 && p < int(skin.pa.size()))
                    l.Texture = skin.pa[size_t(p)].Img.get();
            }
        }
    }
    if (l.GradientPercent != 0)
        l.Gradient = hot ? &s.HotGradientArray : &s.GradientArray;
    return l;
}

void FillColour(TBitmap& bmp, const TRect& r, TColor color)
{
    if (bmp.PixelFormat() == pf32bit)
        FillRect32(bmp, r, color);
    else
        bmp.FillRect(r, color);
}

// Gives the rect the parent's background: its image at the cache offset
// plus the point, or its fill colour.
void PaintParent(TBitmap& bmp, const TRect& r, const TCacheInfo& cache, TPoint point)
{
    if (!cache.Ready)
        FillColour(bmp, r, cache.FillColor);
    else if (cache.Bmp && cache.Bmp != &bmp)
        CopyBitmapRect(bmp, r.Left, r.Top, r.Width(), r.Height(), *cache.Bmp, cache.X + point.X, cache.Y + point.Y);
}

// Paints the layers over the parent: fully see-through gives only the
// parent, partly see-through blends the layers over it.
void Compose(TBitmap& bmp, const TRect& r, const TBackgroundLayers& l, const TCacheInfo& cache, TPoint point,
             bool withParent, bool maskTwin)
{
    const int t = std::clamp(l.Transparency, 0, 100);
    if (!withParent || t == 0) {
        PaintBackgroundImage(bmp, r, l, cache, maskTwin);
        return;
    }
    if (t == 100) {
        PaintParent(bmp, r, cache, point);
        return;
    }
    auto work = !maskTwin && bmp.PixelFormat() == pf32bit ? CreateBitmap32(r.Width(), r.Height())
                                                          : CreateBitmap24(r.Width(), r.Height());
    TCacheInfo shifted = cache;
    shifted.X += point.X;
    shifted.Y += point.Y;
    // The work bitmap holds the section's own look; the blend below lets
    // the parent through. Painted as see-through, its plain colour would
    // be replaced by the parent's fill colour and the section vanish.
    TBackgroundLayers own = l;
    own.Transparency = 0;
    PaintBackgroundImage(*work, {0, 0, r.Width(), r.Height()}, own, shifted, maskTwin);
    PaintParent(bmp, r, cache, point);
    BlendRect(bmp, *work, ClampByte(t * 255 / 100), {r.Left, r.Top}, {0, 0, r.Width(), r.Height()});
}

} // namespace

void PaintSectionBackground(int index, const std::string& name, const TCacheInfo& cache, TColor color,
                            int hotPatternIndex, int patternIndex, const TsSkinManager* manager, TBitmap& bmp,
                            TPoint point, const TRect& r, int state)
{
    const TacSkinContent* skin = SkinOf(manager);
    if (!skin || !skin->IsValidSkinIndex(index) || r.Width() <= 0 || r.Height() <= 0)
        return;
    const TBackgroundLayers l = ChooseLayers(*skin, index, name, color, hotPatternIndex, patternIndex, state);
    const bool withParent = cache.Ready || cache.FillColor != clFuchsia;
    Compose(bmp, r, l, cache, point, withParent, false);
    if (state != 0 || (l.PatternMask && l.PatternMask->MaskType >= 1))
        return;
    // In the normal state a hover image laid in whole pieces shows too.
    const TsGeneralData& s = skin->gd[size_t(index)];
    const TsMaskData* hotMask = MaskAt(*skin, hotPatternIndex >= 0
                                                  ? hotPatternIndex
                                                  : skin->GetMaskIndex(index, name.empty() ? s.Name : name,
                                                                       "HOTPATTERN"));
    if (hotMask && hotMask->MaskType > 0 && hotMask->StretchMode == 10) {
        TCacheInfo shifted = cache;
        shifted.X += point.X;
        shifted.Y += point.Y;
        TRect left = r;
        PaintImageWithPercent(bmp, left, shifted, 10, *hotMask);
    }
}

void PaintSectionBackgroundWithMask(int index, int patternIndex, int hotPatternIndex, const TCacheInfo& cache,
                                    int state, const TRect& r, TPoint point, TBitmap& bmp,
                                    const TsSkinManager* manager)
{
    const TacSkinContent* skin = SkinOf(manager);
    if (!skin || !skin->IsValidSkinIndex(index) || r.Width() <= 0 || r.Height() <= 0)
        return;
    const TsGeneralData& s = skin->gd[size_t(index)];
    const bool hot = state != 0;
    TBackgroundLayers l;
    l.Color = hot ? s.HotColor : s.Color;
    l.Transparency = hot ? s.HotTransparency : s.Transparency;
    l.ImagePercent = hot ? s.HotImagePercent : s.ImagePercent;
    l.GradientPercent = hot ? s.HotGradientPercent : s.GradientPercent;
    if (l.GradientPercent != 0)
        l.Gradient = hot ? &s.HotGradientArray : &s.GradientArray;
    l.PatternMask = MaskAt(*skin, hot ? hotPatternIndex : patternIndex);
    if (l.Transparency < 0)
        return;
    Compose(bmp, r, l, cache, point, cache.Ready, true);
}

namespace {

bool InsideBitmap(const TBitmap* bmp, const TRect& r)
{
    return bmp && r.Width() > 0 && r.Height() > 0 && r.Left >= 0 && r.Top >= 0 && r.Right <= bmp->Width()
           && r.Bottom <= bmp->Height();
}

// The four corner images, their see-through pixels keeping what is painted.
void PaintCornerImages(const TacSkinContent& skin, const TsGeneralData& s, TBitmap& bmp, const TRect& r, int state)
{
    const TCacheInfo self = MakeCacheInfo(&bmp);
    auto corner = [&](int index, bool right, bool bottom) {
        const TsMaskData* m = MaskAt(skin, index);
        if (!m)
            return;
        const int x = right ? r.Right - MaskFrameWidth(*m) : r.Left;
        const int y = bottom ? r.Bottom - MaskFrameHeight(*m) : r.Top;
        DrawSkinGlyph(bmp, {x, y}, state, self, *m, 1);
    };
    corner(s.ImgTopLeft, false, false);
    corner(s.ImgTopRight, true, false);
    corner(s.ImgBottomLeft, false, true);
    corner(s.ImgBottomRight, true, true);
}

} // namespace

void PaintSectionItem(int index, const std::string& name, const TCacheInfo& cache, bool fillCentre, int state,
                      const TRect& r, TPoint point, TBitmap* bmp, const TsSkinManager* manager, int patternIndex,
                      int hotPatternIndex)
{
    const TacSkinContent* skin = SkinOf(manager);
    if (!InsideBitmap(bmp, r) || !skin || !skin->IsValidSkinIndex(index))
        return;
    PaintSectionBackground(index, name, cache, clFuchsia, hotPatternIndex, patternIndex, manager, *bmp, point, r,
                           state);
    const TsGeneralData& s = skin->gd[size_t(index)];
    PaintCornerImages(*skin, s, *bmp, r, state);
    if (const TsMaskData* border = MaskAt(*skin, s.BorderIndex)) {
        TCacheInfo shifted = cache;
        shifted.X += point.X;
        shifted.Y += point.Y;
        DrawSkinMask(*bmp, r, fillCentre, *border, state, true, shifted);
    }
}

void PaintSectionItemWithMask(int index, int maskIndex, int patternIndex, int hotPatternIndex,
                              const TCacheInfo& cache, bool fillCentre, int state, const TRect& r, TPoint point,
                              TBitmap* bmp, const TsSkinManager* manager)
{
    const TacSkinContent* skin = SkinOf(manager);
    if (!InsideBitmap(bmp, r) || !skin || !skin->IsValidSkinIndex(index) || !skin->IsValidImageIndex(maskIndex))
        return;
    PaintSectionBackgroundWithMask(index, patternIndex, hotPatternIndex, cache, state, r, point, *bmp, manager);
    DrawSkinMask(*bmp, r, fillCentre, skin->ma[size_t(maskIndex)], state, true, cache);
}

void PaintSectionItemToDC(int index, const std::string& name, const TCacheInfo& cache, bool fillCentre, int state,
                          const TRect& r, TPoint point, TBitmap& target, const TsSkinManager* manager,
                          int patternIndex, int hotPatternIndex)
{
    const TacSkinContent* skin = SkinOf(manager);
    if (!skin || !skin->IsValidSkinIndex(index) || r.Width() <= 0 || r.Height() <= 0)
        return;
    auto work = CreateBitmap24(r.Width(), r.Height());
    PaintSectionItem(index, name, cache, fillCentre, state, {0, 0, r.Width(), r.Height()}, point, work.get(),
                     manager, patternIndex, hotPatternIndex);
    CopyBitmapRect(target, r.Left, r.Top, r.Width(), r.Height(), *work, 0, 0);
}

int PaintSectionItemByName(TBitmap& bmp, const std::string& name, const std::string& fallback, int state,
                           const TsSkinManager* manager, const TRect& rect, const TBitmap* target)
{
    const TacSkinContent* skin = SkinOf(manager);
    if (!skin)
        return -1;
    int index = skin->GetSkinIndex(name);
    if (index < 0)
        index = skin->GetSkinIndex(fallback);
    if (index < 0)
        return -1;
    TCacheInfo cache = EmptyCacheInfo;
    cache.FillColor = clFuchsia;
    if (target) {
        CopyBitmapRect(bmp, 0, 0, rect.Width(), rect.Height(), *target, rect.Left, rect.Top);
        cache = MakeCacheInfo(&bmp);
    }
    PaintSectionItem(index, skin->gd[size_t(index)].Name, cache, true, state, {0, 0, bmp.Width(), bmp.Height()},
                     {0, 0}, &bmp, manager, -1, -1);
    return index;
}

TCacheInfo BackgroundToCacheInfo(const TBackgroundInfo& info)
{
    if (info.BgType == 2)
        return MakeCacheInfo(info.Bmp, info.OffsetX, info.OffsetY);
    TCacheInfo c;
    c.FillColor = info.Color;
    return c;
}
