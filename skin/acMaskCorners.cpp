// The two-margin stretch copy and the restoring of border-mask corners.
#include "skin/acMaskPaint.h"

#include "skin/acBlit.h"
#include "skin/acPixelRows.h"

#include <algorithm>

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
    const int sx = mask.R.Left + fw * std::clamp(state, 0, mask.ImageCount - 1), top = mask.R.Top;
    struct Piece {
        unsigned flag;
        int sx, sy, pw, ph, cx, cy;
    } pieces[] = {
        {bcTopLeft, sx, top, mask.WL, mask.WT, 0, 0},
        {bcBottomLeft, sx, top + fh - mask.WB, mask.WL, mask.WB, 0, h - mask.WB},
        {bcBottomRight, sx + fw - mask.WR, top + fh - mask.WB, mask.WR, mask.WB, w - mask.WR, h - mask.WB},
        {bcTopRight, sx + fw - mask.WR, top, mask.WR, mask.WT, w - mask.WR, 0},
    };
    for (const Piece& p : pieces) {
        if (!(corners & p.flag))
            continue;
        for (int y = 0; y < p.ph; ++y)
            for (int x = 0; x < p.pw; ++x) {
                const int ix = p.sx + x, iy = p.sy + y, cx = p.cx + x, cy = p.cy + y;
                if (ix < 0 || iy < 0 || ix >= image->Width() || iy >= image->Height() || cx < 0 || cy < 0
                    || cx >= cache.Width() || cy >= cache.Height() || !IsMagenta(PixelAt(*image, ix, iy)))
                    continue;
                const uint8_t* under =
                    bg ? BackgroundPixel(bg, background.OffsetX + cx, background.OffsetY + cy) : colorPixel;
                if (under)
                    PutColour(PixelAt(cache, cx, cy), cb, under);
            }
    }
}
