// The background layers of a section: textures, image layers, gradient and
// colour.
#include "skin/acSectionPaint.h"

#include "skin/acBitmapHelpers.h"
#include "skin/acBlit.h"
#include "skin/acFastPixels.h"
#include "skin/acMaskPaint.h"
#include "skin/sGradient.h"
#include "skin/sHelpers.h"

#include <algorithm>

namespace {

// Tiles a piece of source over area from its top-left, painting only what
// lies inside clip (rows above clip show the piece's lower part).
void TileClipped(TBitmap& bmp, const TRect& area, const TRect& clip, const TBitmap& source, const TRect& piece)
{
    TileRect(area, piece.Width(), piece.Height(), [&](const TRect& t) {
        const int left = std::max(t.Left, clip.Left), top = std::max(t.Top, clip.Top);
        const int right = std::min(t.Right, clip.Right), bottom = std::min(t.Bottom, clip.Bottom);
        if (left < right && top < bottom)
            CopyBitmapRect(bmp, left, top, right - left, bottom - top, source, piece.Left + left - t.Left,
                           piece.Top + top - t.Top);
    });
}

void FillColour(TBitmap& bmp, const TRect& r, TColor color)
{
    if (bmp.PixelFormat() == pf32bit)
        FillRect32(bmp, r, color);
    else
        bmp.FillRect(r, color);
}

} // namespace

void PaintTexture(TBitmap& bmp, TRect& r, const TBitmap* image, int mode, const TsMaskData* mask)
{
    if (image && !image->Empty()) {
        TileClipped(bmp, r, r, *image, {0, 0, image->Width(), image->Height()});
        r = NoRectLeft;
        return;
    }
    const TBitmap* src = mask && mask->Manager ? MaskImage(*mask) : nullptr;
    if (!src || mode < 0 || mode > 14)
        return;
    const TRect piece = mask->R;
    const int w = piece.Width(), h = piece.Height();
    if (w < 1 || h < 1)
        return;
    const TRect all = r;
    switch (mode) {
    case 0: TileClipped(bmp, all, all, *src, piece); r = NoRectLeft; break;
    case 1: StretchBitmapRect(bmp, all, *src, piece, false); r = NoRectLeft; break;
    case 2:
        TileClipped(bmp, {all.Left, all.Top, all.Right, all.Top + h}, all, *src, piece);
        r.Top += h;
        break;
    case 3:
        TileClipped(bmp, {all.Left, all.Top, all.Left + w, all.Bottom}, all, *src, piece);
        r.Left += w;
        break;
    case 4:
        StretchBitmapRect(bmp, {all.Left, all.Top, all.Right, all.Top + h}, *src, piece, false, all);
        r.Top += h;
        break;
    case 5:
        StretchBitmapRect(bmp, {all.Left, all.Top, all.Left + w, all.Bottom}, *src, piece, false, all);
        r.Left += w;
        break;
    case 6:
        // The row sits on the bottom edge; a piece higher than the rect is
        // cut at its top instead of painting above the rect.
        TileClipped(bmp, {all.Left, all.Bottom - h, all.Right, all.Bottom}, all, *src, piece);
        r.Bottom -= h;
        break;
    case 7: TileClipped(bmp, all, all, *src, piece); r.Right -= w; break;
    case 10: {
        // Whole rows of pieces only; the rows under the last whole one stay.
        int bottom = all.Top;
        while (bottom < all.Bottom - h)
            bottom += h;
        TileClipped(bmp, {all.Left, all.Top, all.Right, bottom}, all, *src, piece);
        r = NoRectLeft;
        break;
    }
    default: TileClipped(bmp, all, all, *src, piece); r.Left = all.Right - w; break;
    }
}

void PaintImageWithPercent(TBitmap& bmp, TRect& r, const TCacheInfo& cache, int mode, const TsMaskData& mask)
{
    if ((mode != 0 && mode != 10) || mask.ImageCount < 1)
        return;
    const int w = MaskFrameWidth(mask), h = MaskFrameHeight(mask);
    const TRect all = r;
    r = NoRectLeft;
    if (w < 1 || h < 1)
        return;
    const TRect piece{mask.R.Left, mask.R.Top, mask.R.Left + w, mask.R.Top + h};
    TRect covered = all;
    if (mode == 10) {
        for (covered.Right = all.Left; covered.Right < all.Right - w;)
            covered.Right += w;
        for (covered.Bottom = all.Top; covered.Bottom < all.Bottom - h;)
            covered.Bottom += h;
    }
    TileRect(covered, w, h, [&](const TRect& t) {
        DrawPieceByMask(t, {piece.Left, piece.Top, piece.Left + t.Width(), piece.Top + t.Height()}, bmp, mask,
                        cache);
    });
    if (mode != 10)
        return;
    // What whole pieces do not cover shows the parent.
    auto parent = [&](const TRect& s) {
        if (s.Left >= s.Right || s.Top >= s.Bottom)
            return;
        if (cache.Ready && cache.Bmp)
            CopyBitmapRect(bmp, s.Left, s.Top, s.Width(), s.Height(), *cache.Bmp, cache.X + s.Left,
                           cache.Y + s.Top);
        else
            FillColour(bmp, s, cache.FillColor);
    };
    parent({all.Left, covered.Bottom, all.Right, all.Bottom});
    parent({covered.Right, all.Top, all.Right, covered.Bottom});
}

namespace {

// The pattern layer; true when a pattern was drawn. left comes back as the
// part the pattern did not cover.
bool PaintPattern(TBitmap& bmp, TRect& left, const TBackgroundLayers& l, const TCacheInfo& cache)
{
    if (l.Texture) {
        PaintTexture(bmp, left, l.Texture, 0, nullptr);
        return true;
    }
    if (!l.PatternMask)
        return false;
    const TsMaskData& m = *l.PatternMask;
    if (m.MaskType != 0)
        PaintImageWithPercent(bmp, left, cache, m.StretchMode, m);
    else
        PaintTexture(bmp, left, m.Bmp.get(), m.StretchMode, &m);
    return true;
}

} // namespace

void PaintBackgroundImage(TBitmap& bmp, const TRect& r, const TBackgroundLayers& l, const TCacheInfo& cache,
                          bool maskTwin)
{
    if (r.Width() <= 0 || r.Height() <= 0)
        return;
    const int i = l.ImagePercent, g = l.GradientPercent;
    bool painted = false;
    if (i > 0) {
        TRect left = r;
        painted = PaintPattern(bmp, left, l, cache);
        if (!(left == NoRectLeft))
            FillColour(bmp, left, l.Color);
    }
    if (g > 0) {
        const bool gradient = l.Gradient && !l.Gradient->empty();
        auto paint = [&](TBitmap& target, const TRect& area) {
            if (gradient)
                PaintGradient(target, area, *l.Gradient);
            else
                FillColour(target, area, l.Color);
        };
        if (painted) {
            auto work = maskTwin || bmp.PixelFormat() != pf32bit ? CreateBitmap24(r.Width(), r.Height())
                                                                 : CreateBitmap32(r.Width(), r.Height());
            paint(*work, {0, 0, r.Width(), r.Height()});
            const int weight = maskTwin ? i * 256 / 100 : ClampByte(i * 255 / 100);
            BlendRect(bmp, *work, weight, {r.Left, r.Top}, {0, 0, r.Width(), r.Height()});
        } else {
            paint(bmp, r);
        }
    }
    const int sum = i + g;
    const TRect inclusive{r.Left, r.Top, r.Right - 1, r.Bottom - 1};
    if (sum >= 1 && sum <= 99) {
        BlendRectWithColor(bmp, inclusive, sum, l.Color);
        return;
    }
    const bool fill = maskTwin ? sum != 100 : sum == 0;
    if (!fill)
        return;
    const bool parentColour = !cache.Ready && (maskTwin ? l.Transparency == 100 : l.Transparency != 0);
    FillColour(bmp, r, parentColour ? cache.FillColor : l.Color);
}
