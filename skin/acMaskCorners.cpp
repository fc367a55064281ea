// The two-margin stretch copy and the restoring of border-mask corners.
#include "skin/acMaskPaint.h"

#include "skin/acBlit.h"
#include "skin/acPixelRows.h"

#include <algorithm>
#include <cstdint>

namespace {

// Lays a source piece over an area: mode 0 tiles, 1 stretches, else nothing.
void Lay(TBitmap& target, const TBitmap& source, const TRect& area, const TRect& piece, int mode)
{
    if (area.Width() <= 0 || area.Height() <= 0 || piece.Width() <= 0 || piece.Height() <= 0)
        return;
    if (mode == 1) {
        StretchBitmapRect(target, area, source, piece, false);
        return;
    }
    if (mode != 0)
        return;
    TileRect(area, piece.Width(), piece.Height(), [&](const TRect& t) {
        CopyBitmapRect(target, t.Left, t.Top, t.Width(), t.Height(), source, piece.Left, piece.Top);
    });
}

} // namespace

void StretchWithMargins(TBitmap& target, const TBitmap& source, const TRect& tr, bool fillCentre, int centreMode,
                        const TRect& sideModes, const TRect& a, const TRect& b, const TRect& sr)
{
    const int mL = std::min(a.Left, b.Left), mT = std::min(a.Top, b.Top);
    const int mR = std::min(a.Right, b.Right), mB = std::min(a.Bottom, b.Bottom);
    auto copy = [&](int tx, int ty, int w, int h, int sx, int sy) {
        if (w > 0 && h > 0)
            CopyBitmapRect(target, tx, ty, w, h, source, sx, sy);
    };
    // Each corner: a block as wide as b over the outer rows of the smaller
    // margin, and a strip as wide as the smaller margin over the rest.
    copy(tr.Left, tr.Top, b.Left, mT, sr.Left, sr.Top);
    if (b.Top != mT)
        copy(tr.Left, tr.Top + mT, mL, b.Top - mT, sr.Left, sr.Top + mT);
    copy(tr.Left, tr.Bottom - mB, b.Left, mB, sr.Left, sr.Bottom - mB);
    if (b.Bottom != mB)
        copy(tr.Left, tr.Bottom - b.Bottom, mL, b.Bottom - mB, sr.Left, sr.Bottom - b.Bottom);
    copy(tr.Right - b.Right, tr.Top, b.Right, mT, sr.Right - b.Right, sr.Top);
    if (b.Top != mT)
        copy(tr.Right - mR, tr.Top + mT, mR, b.Top - mT, sr.Right - mR, sr.Top + mT);
    copy(tr.Right - b.Right, tr.Bottom - mB, b.Right, mB, sr.Right - b.Right, sr.Bottom - mB);
    if (b.Bottom != mB)
        copy(tr.Right - mR, tr.Bottom - b.Bottom, mR, b.Bottom - mB, sr.Right - mR, sr.Bottom - b.Bottom);

    const int cw = sr.Width() - b.Left - b.Right, ch = sr.Height() - b.Top - b.Bottom;
    Lay(target, source, {tr.Left, tr.Top + b.Top, tr.Left + mL, tr.Bottom - b.Bottom},
        {sr.Left, sr.Top + b.Top, sr.Left + mL, sr.Top + b.Top + ch}, sideModes.Left);
    Lay(target, source, {tr.Left + b.Left, tr.Top, tr.Right - b.Right, tr.Top + mT},
        {sr.Left + b.Left, sr.Top, sr.Left + b.Left + cw, sr.Top + mT}, sideModes.Top);
    Lay(target, source, {tr.Right - mR, tr.Top + b.Top, tr.Right, tr.Bottom - b.Bottom},
        {sr.Right - mR, sr.Top + b.Top, sr.Right, sr.Top + b.Top + ch}, sideModes.Right);
    Lay(target, source, {tr.Left + b.Left, tr.Bottom - mB, tr.Right - b.Right, tr.Bottom},
        {sr.Left + b.Left, sr.Bottom - mB, sr.Left + b.Left + cw, sr.Bottom}, sideModes.Bottom);
    if (fillCentre)
        Lay(target, source, {tr.Left + b.Left, tr.Top + b.Top, tr.Right - b.Right, tr.Bottom - b.Bottom},
            {sr.Left + b.Left, sr.Top + b.Top, sr.Left + b.Left + cw, sr.Top + b.Top + ch}, centreMode);
}

void RestoreBorderCorners(TBitmap& cache, int w, int h, const TsMaskData& border, int state, unsigned corners,
                          const TBackgroundInfo& background)
{
    const int cb = PixelBytes(cache);
    TsMaskData mask = border;
    if (mask.ImageCount == 0 && mask.Bmp) {
        // An own image without a count: three states over their mask.
        mask.ImageCount = 3;
        mask.MaskType = 1;
        mask.R = {0, 0, mask.Bmp->Width(), mask.Bmp->Height()};
    }
    const TBitmap* image = MaskImage(mask);
    if (!cb || !image || !PixelBytes(*image) || mask.ImageCount <= 0 || mask.MaskType < 0 || w < 2 || h < 2)
        return;
    const TBitmap* bg = background.BgType == 2 ? background.Bmp : nullptr;
    if (background.BgType == 2 && (!bg || bg->Width() < 2 || bg->Height() < 2 || !PixelBytes(*bg)))
        return;
    const TColor color = background.Color;
    // A key-colour mask keeps its corners when the answer is "no colour".
    if (!bg && mask.MaskType == 0 && color == clFuchsia)
        return;
    const uint8_t colorPixel[3] = {uint8_t(GetBValue(color)), uint8_t(GetGValue(color)), uint8_t(GetRValue(color))};
    // The state offset is the one the painter uses.
    const int fw = MaskFrameWidth(mask), fh = MaskFrameHeight(mask);
    const int64_t sx = mask.R.Left + fw * std::clamp(state, 0, mask.ImageCount - 1), top = mask.R.Top;
    const int64_t wl = mask.WL, wt = mask.WT, wr = mask.WR, wb = mask.WB;
    struct Piece {
        unsigned flag;
        int64_t sx, sy, pw, ph, cx, cy;
    } pieces[] = {
        {bcTopLeft, sx, top, wl, wt, 0, 0},
        {bcBottomLeft, sx, top + fh - wb, wl, wb, 0, h - wb},
        {bcBottomRight, sx + fw - wr, top + fh - wb, wr, wb, w - wr, h - wb},
        {bcTopRight, sx + fw - wr, top, wr, wt, w - wr, 0},
    };
    const int64_t iw = image->Width(), ih = image->Height(), cw = cache.Width(), ch = cache.Height();
    for (const Piece& p : pieces) {
        if (!(corners & p.flag))
            continue;
        // Only the part of the piece inside both the image and the cache:
        // margins may be far larger than either.
        const int64_t x0 = std::max({int64_t(0), -p.sx, -p.cx}), x1 = std::min({p.pw, iw - p.sx, cw - p.cx});
        const int64_t y0 = std::max({int64_t(0), -p.sy, -p.cy}), y1 = std::min({p.ph, ih - p.sy, ch - p.cy});
        for (int64_t y = y0; y < y1; ++y)
            for (int64_t x = x0; x < x1; ++x) {
                const int cx = int(p.cx + x), cy = int(p.cy + y);
                if (!IsMagenta(PixelAt(*image, int(p.sx + x), int(p.sy + y))))
                    continue;
                const uint8_t* under =
                    bg ? BackgroundPixel(bg, background.OffsetX + cx, background.OffsetY + cy) : colorPixel;
                if (under)
                    PutColour(PixelAt(cache, cx, cy), cb, under);
            }
    }
}
