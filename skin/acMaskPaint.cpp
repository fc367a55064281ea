// The nine-part paint of a skin mask and the glyph paint.
#include "skin/acMaskPaint.h"

#include "skin/acBlit.h"
#include "skin/acFastPixels.h"

#include <algorithm>
#include <cstdint>

namespace {

// Shrinks two margins that do not fit into a size: each loses half the
// excess, and the far one the odd pixel of it, so that together they fill
// the size exactly. Worked in 64 bits, since a mask built in code may hold
// any margin; a margin ends inside 0..size.
void FitMargins(int size, int& nearMargin, int& farMargin)
{
    int64_t n = nearMargin, f = farMargin;
    const int64_t excess = n + f - size;
    if (excess > 0) {
        n -= excess / 2;
        f -= excess / 2 + excess % 2;
    }
    nearMargin = int(std::clamp<int64_t>(n, 0, std::max(size, 0)));
    farMargin = int(std::clamp<int64_t>(f, 0, std::max(size, 0)));
}

// One mask paint: the source image, the frame of the state and the margins
// fitted to the target rect.
struct NinePart {
    TBitmap& bmp;
    const TBitmap& src;
    const TsMaskData& mask;
    TRect rect;
    int ox, oy, fw, fh;
    int wl, wt, wr, wb;
    bool stretch;

    // A piece of the frame (relative to its origin) laid at a target rect.
    TRect Source(int x, int y, int w, int h) const { return {ox + x, oy + y, ox + x + w, oy + y + h}; }

    void Corner(int tx, int ty, const TRect& s, bool useBackground, const TCacheInfo& cache) const
    {
        if (s.Width() <= 0 || s.Height() <= 0)
            return;
        if (mask.MaskType != 0)
            CopyPieceByMask({tx, ty, tx + s.Width(), ty + s.Height()}, s, bmp, mask, useBackground, cache, src);
        else
            CopyTransparentPiece(bmp, src, tx, useBackground, cache, clFuchsia,
                                 {s.Left, s.Top, s.Right - 1, s.Bottom - 1}, ty);
    }

    // Tiles (or, for a key-colour mask in stretch mode, stretches) a piece.
    void Fill(const TRect& area, const TRect& s, bool stretchIt) const
    {
        if (area.Width() <= 0 || area.Height() <= 0)
            return;
        if (mask.MaskType == 0 && stretchIt) {
            if (s.Width() > 0 && s.Height() > 0)
                StretchBitmapRect(bmp, area, src, s, true);
            return;
        }
        TileRect(area, s.Width(), s.Height(), [&](const TRect& t) {
            if (mask.MaskType != 0)
                CopyPieceByMask(t, {s.Left, s.Top, s.Left + t.Width(), s.Top + t.Height()}, bmp, mask, false,
                                EmptyCacheInfo, src);
            else
                CopyBitmapRect(bmp, t.Left, t.Top, t.Width(), t.Height(), src, s.Left, s.Top);
        });
    }

    void Paint(bool centre, bool useBackground, const TCacheInfo& cache) const
    {
        const TRect& r = rect;
        const int cw = std::max(0, fw - wl - wr), ch = std::max(0, fh - wt - wb);
        // Bottom pieces come from the bottom rows of the frame, which for a
        // mask with mask rows is not the bottom of its rectangle.
        Corner(r.Left, r.Top, Source(0, 0, wl, wt), useBackground, cache);
        Fill({r.Left, r.Top + wt, r.Left + wl, r.Bottom - wb}, Source(0, wt, wl, ch), stretch);
        Fill({r.Left + wl, r.Top, r.Right - wr, r.Top + wt}, Source(wl, 0, cw, wt), stretch);
        Corner(r.Left, r.Bottom - wb, Source(0, fh - wb, wl, wb), useBackground, cache);
        Fill({r.Left + wl, r.Bottom - wb, r.Right - wr, r.Bottom}, Source(wl, fh - wb, cw, wb), stretch);
        Corner(r.Right - wr, r.Bottom - wb, Source(fw - wr, fh - wb, wr, wb), useBackground, cache);
        Corner(r.Right - wr, r.Top, Source(fw - wr, 0, wr, wt), useBackground, cache);
        Fill({r.Right - wr, r.Top + wt, r.Right, r.Bottom - wb}, Source(fw - wr, wt, wr, ch), stretch);
        if (centre)
            Fill({r.Left + wl, r.Top + wt, r.Right - wr, r.Bottom - wb}, Source(wl, wt, cw, ch), stretch);
    }
};

} // namespace

void DrawSkinMask(TBitmap& bmp, const TRect& rect, bool fillCentre, const TsMaskData& mask, int state,
                  bool useBackground, const TCacheInfo& cache)
{
    if ((state == 0 && (mask.StretchMode & 2)) || rect.Width() < 2 || rect.Height() < 2 || !mask.Manager
        || mask.ImageCount <= 0 || mask.MaskType < 0)
        return;
    const TBitmap* src = MaskImage(mask);
    if (!src)
        return;
    const int fw = MaskFrameWidth(mask), fh = MaskFrameHeight(mask);
    const int s = std::clamp(state, 0, mask.ImageCount - 1);
    NinePart p{bmp, *src, mask, rect, mask.R.Left + fw * s, mask.R.Top, fw, fh,
               mask.WL, mask.WT, mask.WR, mask.WB, (mask.StretchMode & 1) != 0};
    FitMargins(rect.Width(), p.wl, p.wr);
    FitMargins(rect.Height(), p.wt, p.wb);
    p.Paint(fillCentre && (mask.StretchMode & 4), useBackground, cache);
}

void DrawSkinGlyph(TBitmap& bmp, TPoint point, int state, const TCacheInfo& cache, const TsMaskData& mask, int mode)
{
    if (mask.ImageCount <= 0 || mask.MaskType < 0)
        return;
    const int fw = MaskFrameWidth(mask), fh = MaskFrameHeight(mask);
    const int sx = fw * std::clamp(state, 0, mask.ImageCount - 1);
    const TRect target{point.X, point.Y, point.X + fw, point.Y + fh};
    const TRect source{mask.R.Left + sx, mask.R.Top, mask.R.Left + sx + fw, mask.R.Top + fh};
    // An own image is always drawn from (clipped to it), never from the
    // master bitmap, whatever its size.
    if (mask.Bmp) {
        DrawGlyphByMask(target, source, bmp, mask, mode, *mask.Bmp);
        return;
    }
    const TBitmap* src = MaskImage(mask);
    if (!src)
        return;
    if (mask.MaskType > 0)
        DrawGlyphByMask(target, source, bmp, mask, mode, *src);
    else if (mode == 1)
        CopyTransparentPiece(bmp, *src, point.X, true, cache, clFuchsia,
                             {source.Left, source.Top, source.Right - 1, source.Bottom - 1}, point.Y);
    else
        BlendBitmap(bmp, point.X, point.Y, uint32_t(TransparentKeyColor), 0.5,
                    {source.Left, source.Top, source.Right - 1, source.Bottom - 1}, *src);
}

void DrawTitleGlyph(TBitmap& bmp, TPoint point, int state, const TsMaskData& mask, bool inactive)
{
    if (!mask.Bmp) {
        DrawSkinGlyph(bmp, point, state, EmptyCacheInfo, mask, inactive ? 0 : 1);
        return;
    }
    // The row is a glyph of its own: key colour shows what lies under it.
    TsMaskData row = mask;
    const int h = mask.Bmp->Height() / 2;
    row.R.Top = mask.R.Top + (inactive ? h : 0);
    row.R.Bottom = row.R.Top + h;
    row.MaskType = 0;
    DrawSkinGlyph(bmp, point, state, EmptyCacheInfo, row, 1);
}
