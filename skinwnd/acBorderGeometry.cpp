#include "skinwnd/acBorderGeometry.h"

#include <algorithm>
#include <cstring>

namespace {

// Nearest-pixel scaling of 32-bit pixels with their alpha, which the
// colour-only block copies leave behind. Skin pictures mark see-through
// pixels with fuchsia: those stay clear.
void StretchWithAlpha(TBitmap& target, const TRect& to, const TBitmap& source, const TRect& from)
{
    for (int y = to.Top; y < to.Bottom; ++y) {
        const int sy = from.Top + (y - to.Top) * from.Height() / to.Height();
        for (int x = to.Left; x < to.Right; ++x) {
            const int sx = from.Left + (x - to.Left) * from.Width() / to.Width();
            const uint8_t* s = source.ScanLine(sy) + sx * 4;
            const bool key = s[0] == 0xFF && s[1] == 0 && s[2] == 0xFF;
            std::memset(target.ScanLine(y) + x * 4, 0, 4);
            if (!key)
                std::memcpy(target.ScanLine(y) + x * 4, s, 4);
        }
    }
}

int SideOffset(const TacBorderMetrics& m, int margin)
{
    return std::max(0, m.ExtBorderWidth + margin - m.SysBorderWidth);
}

} // namespace

int BorderTopIndent(const TacBorderMetrics& m)
{
    const int title = m.CaptionHeight != 0 ? m.ExtTitleHeight : 0;
    return std::max(0, m.Margins.Top + title - m.SysBorderWidth - m.CaptionHeight);
}

TRect BorderWndRect(const TRect& owner, const TacBorderMetrics& m)
{
    return TRect{owner.Left - SideOffset(m, m.Margins.Left), owner.Top - BorderTopIndent(m),
                 owner.Right + SideOffset(m, m.Margins.Right), owner.Bottom + SideOffset(m, m.Margins.Bottom)};
}

void PaintBorderPicture(TBitmap& target, const TBitmap& shadow, const TRect& body)
{
    const int w = target.Width(), h = target.Height();
    target.FillRect(TRect{0, 0, w, h}, 0);
    const int sw = shadow.Width(), sh = shadow.Height();
    if (sw < 2 || sh < 2 || w < 2 || h < 2 || shadow.PixelFormat() != pf32bit || target.PixelFormat() != pf32bit)
        return;
    // Corners no larger than half the target, so small forms keep all four,
    // and at least one column and row of the shadow left to stretch.
    const int cx = std::min((sw - 1) / 2, w / 2), cy = std::min((sh - 1) / 2, h / 2);
    const int sxs[3][2] = {{0, cx}, {cx, sw - cx}, {sw - cx, sw}};
    const int sys[3][2] = {{0, cy}, {cy, sh - cy}, {sh - cy, sh}};
    const int txs[3][2] = {{0, cx}, {cx, w - cx}, {w - cx, w}};
    const int tys[3][2] = {{0, cy}, {cy, h - cy}, {h - cy, h}};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            const TRect to{txs[i][0], tys[j][0], txs[i][1], tys[j][1]};
            const TRect from{sxs[i][0], sys[j][0], sxs[i][1], sys[j][1]};
            if (to.Right > to.Left && to.Bottom > to.Top && from.Right > from.Left && from.Bottom > from.Top)
                StretchWithAlpha(target, to, shadow, from);
        }
    target.FillRect(body, 0);
}
