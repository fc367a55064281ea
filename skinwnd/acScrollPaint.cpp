#include "skinwnd/acScrollPaint.h"

#include "skin/acFastPixels.h"
#include "skin/acMaskPaint.h"
#include "skin/acSectionPaint.h"
#include "skin/sSkinManagerIntf.h"

namespace {

struct TBarPainter {
    TBitmap& bmp;
    const TacBarLook& look;
    const TsSkinManager& manager;
    const TacSkinContent& skin;
    // Behind see-through pixels: the bar's background colour.
    TCacheInfo behind{nullptr, 0, 0, 0, true};

    TRect Along(int from, int to) const
    {
        return look.Vertical ? TRect{0, from, look.Thickness, to} : TRect{from, 0, to, look.Thickness};
    }

    void Item(const TacScrollBtnIndexes& ix, const TRect& r, int state)
    {
        PaintSectionItemWithMask(ix.Section, ix.Border, ix.Pattern, ix.HotPattern, behind, true, state, r,
                                 {r.Left, r.Top}, &bmp, &manager);
    }

    // An arrow button or the thumb: the section with its glyph centred.
    void Button(const TacScrollBtnIndexes& ix, const TRect& r, int state)
    {
        Item(ix, r, state);
        if (!skin.IsValidImageIndex(ix.Glyph))
            return;
        int w = 0, h = 0;
        skin.GetMaskFrameSize(ix.Glyph, w, h);
        if (w > r.Width() || h > r.Height())
            return;
        const TCacheInfo self = {&bmp, 0, 0, clFuchsia, true};
        DrawSkinGlyph(bmp, {r.Left + (r.Width() - w) / 2, r.Top + (r.Height() - h) / 2}, state, self,
                      skin.ma[size_t(ix.Glyph)], 1);
    }
};

} // namespace

bool ScrollSkinReady(const TsSkinManager* manager, bool vertical)
{
    const TacSkinContent* skin = manager ? manager->Content() : nullptr;
    if (!skin)
        return false;
    const TacCachedIndexes& c = skin->CachedIndexes;
    const int first = vertical ? c.ScrollBar1V.Section : c.ScrollBar1H.Section;
    const int second = vertical ? c.ScrollBar2V.Section : c.ScrollBar2H.Section;
    return skin->IsValidSkinIndex(first) && skin->IsValidSkinIndex(second);
}

void PaintScrollBarLook(TBitmap& bmp, const TacBarLook& look, const TsSkinManager& manager)
{
    const TacSkinContent* skin = manager.Content();
    bmp.SetPixelFormat(pf24bit);
    bmp.SetSize(look.Vertical ? look.Thickness : look.Length, look.Vertical ? look.Length : look.Thickness);
    bmp.FillRect({0, 0, bmp.Width(), bmp.Height()}, look.Background);
    if (!skin || look.Length <= 0 || look.Thickness <= 0)
        return;
    const TacCachedIndexes& c = skin->CachedIndexes;
    TBarPainter p{bmp, look, manager, *skin};
    p.behind.FillColor = look.Background;
    const auto& track1 = look.Vertical ? c.ScrollBar1V : c.ScrollBar1H;
    const auto& track2 = look.Vertical ? c.ScrollBar2V : c.ScrollBar2H;
    const auto& first = look.Vertical ? c.ScrollBtnTop : c.ScrollBtnLeft;
    const auto& second = look.Vertical ? c.ScrollBtnBottom : c.ScrollBtnRight;
    const int length = look.Length;
    if (2 * look.Arrow < length) {
        const bool thumb = look.Active && look.Thumb.Length > 0;
        const int middle = look.Thumb.Length > 0 ? look.Thumb.Start + look.Thumb.Length / 2 : length / 2;
        p.Item(track1, p.Along(0, middle), look.PageBeforeState);
        p.Item(track2, p.Along(middle, length), look.PageAfterState);
        p.Button(first, p.Along(0, look.Arrow), look.FirstArrowState);
        p.Button(second, p.Along(length - look.Arrow, length), look.SecondArrowState);
        if (thumb)
            p.Button(look.Vertical ? c.ScrollSliderV : c.ScrollSliderH,
                     p.Along(look.Thumb.Start, look.Thumb.Start + look.Thumb.Length), look.ThumbState);
    } else {
        const int half = length / 2;
        p.Item(track1, p.Along(0, half), 0);
        p.Button(first, p.Along(0, half), look.FirstArrowState);
        p.Item(track2, p.Along(half, length), 0);
        p.Button(second, p.Along(half, length), look.SecondArrowState);
    }
    if (!look.Active)
        BlendRectWithColor(bmp, {0, 0, bmp.Width() - 1, bmp.Height() - 1}, 40, look.Background);
}

void PaintScrollCorner(TBitmap& bmp, int w, int h, TColor background, bool grip, const TsSkinManager& manager)
{
    bmp.SetPixelFormat(pf24bit);
    bmp.SetSize(w, h);
    bmp.FillRect({0, 0, w, h}, background);
    const TacSkinContent* skin = manager.Content();
    if (!grip || !skin)
        return;
    const int index = skin->GetMaskIndex(skin->CachedIndexes.GlobalInfo, "GLOBALINFO", "GRIPIMAGE");
    if (!skin->IsValidImageIndex(index))
        return;
    int gw = 0, gh = 0;
    skin->GetMaskFrameSize(index, gw, gh);
    const TCacheInfo self = {&bmp, 0, 0, clFuchsia, true};
    DrawSkinGlyph(bmp, {w - gw, h - gh}, 0, self, skin->ma[size_t(index)], 1);
}
