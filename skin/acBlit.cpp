#include "skin/acBlit.h"

#include "skin/acFastPixels.h"
#include "skin/acPixelRows.h"

#include <algorithm>
#include <cstring>

void CopyBitmapRect(TBitmap& target, int x, int y, int w, int h, const TBitmap& source, int sx, int sy)
{
    const int tb = PixelBytes(target), sb = PixelBytes(source);
    if (!tb || !sb || &target == &source)
        return;
    TRect tr{x, y, x + w, y + h}, sr{sx, sy, sx + w, sy + h};
    if (!ClipRectPair(tr, sr, target.Width(), target.Height(), source.Width(), source.Height()))
        return;
    for (int row = 0; row < tr.Height(); ++row) {
        uint8_t* t = PixelAt(target, tr.Left, tr.Top + row);
        const uint8_t* s = PixelAt(source, sr.Left, sr.Top + row);
        if (tb == sb) {
            std::memcpy(t, s, size_t(tr.Width()) * size_t(tb));
            continue;
        }
        for (int col = 0; col < tr.Width(); ++col, t += tb, s += sb)
            PutColour(t, tb, s);
    }
}

void StretchBitmapRect(TBitmap& target, const TRect& tr, const TBitmap& source, const TRect& sr, bool halftone)
{
    StretchBitmapRect(target, tr, source, sr, halftone, tr);
}

void StretchBitmapRect(TBitmap& target, const TRect& tr, const TBitmap& source, const TRect& sr, bool halftone,
                       const TRect& clip)
{
    const int tb = PixelBytes(target);
    if (!tb || !PixelBytes(source) || &target == &source || tr.Width() <= 0 || tr.Height() <= 0 || sr.Width() <= 0
        || sr.Height() <= 0 || sr.Left < 0 || sr.Top < 0 || sr.Right > source.Width() || sr.Bottom > source.Height())
        return;
    const int64_t tw = tr.Width(), th = tr.Height(), sw = sr.Width(), sh = sr.Height();
    const int left = std::max({tr.Left, clip.Left, 0}), right = std::min({tr.Right, clip.Right, target.Width()});
    const int top = std::max({tr.Top, clip.Top, 0}), bottom = std::min({tr.Bottom, clip.Bottom, target.Height()});
    for (int y = top; y < bottom; ++y) {
        const int64_t dy = y - tr.Top;
        const int y0 = int(dy * sh / th);
        const int y1 = halftone ? std::max(y0 + 1, int((dy + 1) * sh / th)) : y0 + 1;
        for (int x = left; x < right; ++x) {
            const int64_t dx = x - tr.Left;
            const int x0 = int(dx * sw / tw);
            const int x1 = halftone ? std::max(x0 + 1, int((dx + 1) * sw / tw)) : x0 + 1;
            int sum[3] = {0, 0, 0}, n = 0;
            for (int yy = y0; yy < y1; ++yy)
                for (int xx = x0; xx < x1; ++xx, ++n) {
                    const uint8_t* s = PixelAt(source, sr.Left + xx, sr.Top + yy);
                    for (int c = 0; c < 3; ++c)
                        sum[c] += s[c];
                }
            const uint8_t avg[3] = {uint8_t(sum[0] / n), uint8_t(sum[1] / n), uint8_t(sum[2] / n)};
            PutColour(PixelAt(target, x, y), tb, avg);
        }
    }
}
