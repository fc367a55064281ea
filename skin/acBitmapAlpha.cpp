// Alpha drawing of 32-bit pictures and the soft rounded shading.
#include "skin/acBitmapHelpers.h"

#include "skin/acBlit.h"
#include "skin/acFastPixels.h"
#include "skin/acPixelRows.h"

#include <algorithm>

namespace {

void TintSource(TBitmap& source, TColor tint)
{
    const int tc[3] = {GetBValue(tint), GetGValue(tint), GetRValue(tint)};
    for (int y = 0; y < source.Height(); ++y) {
        uint8_t* p = source.ScanLine(y);
        for (int x = 0; x < source.Width(); ++x, p += 4) {
            if (IsMagenta(p))
                continue;
            const int g = (p[0] + p[1] + p[2]) / 3;
            for (int c = 0; c < 3; ++c)
                p[c] = uint8_t(std::min(255.0, std::nearbyint(g * tc[c] / 255.0)));
        }
    }
}

// The mirrored copy under the drawn picture, fading out row by row.
void DrawReflection(const TRect& tr, const TRect& sr, TBitmap& target, int percent, const TBitmap& source)
{
    const int half = sr.Height() / 2;
    // Under two rows there is nothing to mirror (and no step to fade by).
    if (half < 1)
        return;
    const int rows = std::min(half - 1, target.Height() - tr.Bottom - 1);
    const int tb = PixelBytes(target);
    int f = 255;
    for (int k = 1; k <= rows; ++k) {
        f -= 255 / half;
        const int ty = tr.Bottom + k, sy = sr.Bottom - k - 1;
        for (int col = 0; col < tr.Width(); ++col) {
            const uint8_t* s = PixelAt(source, sr.Left + col, sy);
            if (IsMagenta(s))
                continue;
            uint8_t* t = target.ScanLine(ty) + size_t(tr.Left + col) * tb;
            const int a = ((100 - percent) * s[3] / 300) * std::max(f, 0) / 255;
            for (int c = 0; c < 3; ++c)
                t[c] = uint8_t(t[c] + ((a * (s[c] - t[c])) >> 8));
        }
    }
}

} // namespace

void DrawAlphaBitmap(TRect tr, TRect sr, TBitmap& target, bool reflection, int percent, TColor tint,
                     bool useBackground, const TCacheInfo& cache, TBitmap& source)
{
    const int tb = PixelBytes(target);
    if (!tb || source.Empty())
        return;
    source.SetPixelFormat(pf32bit);
    if (!ClipRectPair(tr, sr, target.Width(), target.Height(), source.Width(), source.Height()))
        return;
    if (tint != clNone)
        TintSource(source, tint);
    const TBitmap* bg = useBackground && cache.Ready ? cache.Bmp : nullptr;
    for (int row = 0; row < tr.Height(); ++row)
        for (int col = 0; col < tr.Width(); ++col) {
            const int tx = tr.Left + col, ty = tr.Top + row;
            const uint8_t* s = PixelAt(source, sr.Left + col, sr.Top + row);
            uint8_t* t = PixelAt(target, tx, ty);
            if (IsMagenta(s)) {
                if (const uint8_t* b = BackgroundPixel(bg, cache.X + tx, cache.Y + ty))
                    PutColour(t, tb, b);
                continue;
            }
            for (int c = 0; c < 3; ++c)
                t[c] = uint8_t(((s[c] - t[c]) * s[3] + t[c] * 256) >> 8);
        }
    if (reflection)
        DrawReflection(tr, sr, target, percent, source);
}

namespace {

// Whether a pixel lies inside a rect with rounded corners (corner = the
// diameter of the corner ellipse).
bool InsideRounded(int x, int y, const TRect& r, int corner)
{
    if (x < r.Left || y < r.Top || x >= r.Right || y >= r.Bottom)
        return false;
    const double rad = std::min({corner / 2.0, r.Width() / 2.0, r.Height() / 2.0});
    if (rad <= 0)
        return true;
    const double cx = std::clamp(x + 0.5, r.Left + rad, r.Right - rad);
    const double cy = std::clamp(y + 0.5, r.Top + rad, r.Bottom - rad);
    const double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
    return dx * dx + dy * dy <= rad * rad;
}

} // namespace

void BlendColorRounded(TBitmap& bmp, const TRect& rect, int percent, int corner, int steps, TColor color)
{
    if (!PixelBytes(bmp) || rect.Width() <= 0 || rect.Height() <= 0 || steps < 0)
        return;
    auto work = CreateBitmap24(rect.Width(), rect.Height());
    CopyBitmapRect(*work, 0, 0, rect.Width(), rect.Height(), bmp, rect.Left, rect.Top);
    auto mask = CreateBitmap24(rect.Width(), rect.Height());
    mask->FillRect({0, 0, rect.Width(), rect.Height()}, clWhite);
    const int level = percent * 255 / 100;
    // Ring 0 (the whole rect) stays white; ring j is the rect inset by j,
    // greyer inward; the innermost (inset by steps) takes the level itself.
    for (int j = 1; j <= steps; ++j) {
        const int grey =
            j == steps ? level : level + int(std::nearbyint((255.0 - level) / (steps + 1) * (steps - j + 1)));
        const TRect ring{j, j, rect.Width() - j, rect.Height() - j};
        for (int y = ring.Top; y < ring.Bottom; ++y)
            for (int x = ring.Left; x < ring.Right; ++x)
                if (InsideRounded(x, y, ring, corner))
                    mask->SetPixel(x, y, RGB(grey, grey, grey));
    }
    BlendColorByMask(*work, *mask, color);
    CopyBitmapRect(bmp, rect.Left, rect.Top, rect.Width(), rect.Height(), *work, 0, 0);
}
