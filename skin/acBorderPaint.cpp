#include "skin/acBorderPaint.h"

#include "skin/acBlit.h"
#include "skin/acCanvas.h"
#include "skin/acMaskPaint.h"
#include "skin/acSectionPaint.h"

#include <algorithm>

namespace {

// r inset on each side, never turned inside out.
TRect Inset(const TRect& r, int l, int t, int rt, int b)
{
    TRect i{r.Left + l, r.Top + t, r.Right - rt, r.Bottom - b};
    i.Right = std::max(i.Right, i.Left);
    i.Bottom = std::max(i.Bottom, i.Top);
    return i;
}

} // namespace

TRect PaintControlBorder(TBitmap& target, TBitmap& cache, const TRect& r, int borderWidth, int state,
                         const TsMaskData* border, TColor color, const TBackgroundInfo* parent)
{
    const int bw = std::max(borderWidth, 0);
    if (!border) {
        if (bw > 0)
            FillSolidBorder(target, r, bw, bw, bw, bw, color);
        return Inset(r, bw, bw, bw, bw);
    }
    const int wl = border->WL, wt = border->WT, wr = border->WR, wb = border->WB;
    const bool parentImage = parent && parent->BgType == 2 && parent->Bmp;
    if (border->MaskType == 1) {
        // The mask's own see-through parts show what lies under the frame.
        if (parentImage)
            CopyBitmapRect(cache, r.Left, r.Top, r.Width(), r.Height(), *parent->Bmp, parent->OffsetX + r.Left,
                           parent->OffsetY + r.Top);
        else
            FillSolidBorder(cache, r, wl, wt, wr, wb, color);
    }
    TCacheInfo background = parent ? BackgroundToCacheInfo(*parent) : TCacheInfo{nullptr, 0, 0, color, false};
    DrawSkinMask(cache, r, false, *border, state, true, background);
    TRect inner = Inset(r, wl, wt, wr, wb);
    if (bw > 0) {
        const int w = r.Width(), h = r.Height();
        FillSolidBorder(cache, inner, std::max(0, std::min(bw, w - wr) - wl), std::max(0, std::min(bw, h - wb) - wt),
                        std::max(0, std::min(bw, w - wl) - wr), std::max(0, std::min(bw, h - wt) - wb), color);
        inner = Inset(r, bw, bw, bw, bw);
        if (&target != &cache)
            BlitBorder(target, r.Left, r.Top, w, h, cache, r.Left, r.Top, bw);
    }
    return inner;
}
