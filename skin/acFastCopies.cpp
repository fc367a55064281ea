// Copies through a mask or a key colour.
#include "skin/acFastPixels.h"
#include "skin/acPixelRows.h"

#include <algorithm>

bool ClipRectPair(TRect& t, TRect& s, int tw, int th, int sw, int sh)
{
    auto cutStart = [](int& a, int& b) {
        const int cut = std::max({0, -a, -b});
        a += cut;
        b += cut;
    };
    cutStart(t.Left, s.Left);
    cutStart(t.Top, s.Top);
    const int w = std::min({t.Width(), s.Width(), tw - t.Left, sw - s.Left});
    const int h = std::min({t.Height(), s.Height(), th - t.Top, sh - s.Top});
    if (w <= 0 || h <= 0)
        return false;
    t.Right = t.Left + w;
    s.Right = s.Left + w;
    t.Bottom = t.Top + h;
    s.Bottom = s.Top + h;
    return true;
}

void CopyByMask(TRect tr, TRect sr, TBitmap& target, const TBitmap& source, const TCacheInfo& cache,
                bool useBackground)
{
    const int tb = PixelBytes(target);
    if (!tb || !PixelBytes(source))
        return;
    // Only rows of the picture half have a mask row under them.
    const int half = source.Height() / 2;
    if (!ClipRectPair(tr, sr, target.Width(), target.Height(), source.Width(), half))
        return;
    const TBitmap* bg = useBackground && cache.Ready ? cache.Bmp : nullptr;
    for (int row = 0; row < tr.Height(); ++row) {
        const int ty = tr.Top + row, sy = sr.Top + row;
        for (int col = 0; col < tr.Width(); ++col) {
            const int tx = tr.Left + col, sx = sr.Left + col;
            const uint8_t* s = PixelAt(source, sx, sy);
            uint8_t* t = PixelAt(target, tx, ty);
            if (IsMagenta(s)) {
                if (const uint8_t* b = BackgroundPixel(bg, cache.X + tx, cache.Y + ty))
                    PutColour(t, tb, b);
                continue;
            }
            const uint8_t* m = PixelAt(source, sx, sy + half);
            for (int c = 0; c < 3; ++c)
                t[c] = uint8_t(s[c] + (((t[c] - s[c]) * m[c]) >> 8));
        }
    }
}

namespace {

// The keyed copy under the three routines: the inclusive source rect goes
// to (x, y); key pixels are skipped or take the background under them.
void KeyedCopy(TBitmap& target, const TBitmap& source, int x, int y, TRect rect, TColor key, const TCacheInfo* cache)
{
    const int tb = PixelBytes(target);
    if (!tb || !PixelBytes(source))
        return;
    TRect tr{x, y, x + rect.Width() + 1, y + rect.Height() + 1};
    TRect sr{rect.Left, rect.Top, rect.Right + 1, rect.Bottom + 1};
    if (!ClipRectPair(tr, sr, target.Width(), target.Height(), source.Width(), source.Height()))
        return;
    const TBitmap* bg = cache && cache->Ready ? cache->Bmp : nullptr;
    const int sb = PixelBytes(source), bb = bg ? PixelBytes(*bg) : 0;
    for (int row = 0; row < tr.Height(); ++row)
        for (int col = 0; col < tr.Width(); ++col) {
            const int tx = tr.Left + col, ty = tr.Top + row;
            const uint8_t* s = PixelAt(source, sr.Left + col, sr.Top + row);
            int bytes = sb;
            if (IsKeyPixel(s, key)) {
                s = BackgroundPixel(bg, cache ? cache->X + tx : 0, cache ? cache->Y + ty : 0);
                bytes = bb;
                if (!s)
                    continue;
            }
            uint8_t* t = PixelAt(target, tx, ty);
            PutColour(t, tb, s);
            // A picture with alpha keeps it: the soft corners of a halo
            // stay soft as its sides, which are copied whole.
            if (tb == 4 && bytes == 4)
                t[3] = s[3];
        }
}

} // namespace

void CopyKeyed24(TBitmap& target, const TBitmap& source, int x, TRect rect, int y, TColor key)
{
    KeyedCopy(target, source, x, y, rect, key, nullptr);
}

void CopyWithKeyColor(TBitmap& target, const TBitmap& source, int x, int y, TColor key)
{
    KeyedCopy(target, source, x, y, {0, 0, source.Width() - 1, source.Height() - 1}, key, nullptr);
}

void CopyTransparentPiece(TBitmap& target, const TBitmap& source, int x, bool useBackground, const TCacheInfo& cache,
                          TColor key, TRect rect, int y)
{
    KeyedCopy(target, source, x, y, rect, key, useBackground ? &cache : nullptr);
}
