#pragma once
// Small bitmaps for the painters' pixel tables.
#include "platform/Bitmap.h"

#include <cstdint>

namespace pixeltest {

// A bitmap of one format filled with one colour; 32-bit pixels get alpha.
inline TBitmap Solid(int w, int h, TPixelFormat format, TColor color, int alpha = 255)
{
    TBitmap b;
    b.SetPixelFormat(format);
    b.SetSize(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            b.SetPixel(x, y, color);
            if (format == pf32bit)
                b.ScanLine(y)[x * 4 + 3] = uint8_t(alpha);
        }
    return b;
}

// A bitmap whose every pixel tells its position: red = x, green = y.
inline TBitmap Ramp(int w, int h, TPixelFormat format, int blue = 7)
{
    TBitmap b = Solid(w, h, format, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.SetPixel(x, y, RGB(x, y, blue));
    return b;
}

inline int Alpha(const TBitmap& b, int x, int y) { return b.ScanLine(y)[x * 4 + 3]; }

} // namespace pixeltest
