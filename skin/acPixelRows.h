#pragma once
// Small pixel helpers shared by the painters' sources: pixel addresses in
// 24- and 32-bit bitmaps and the comparisons and rounding they all use.
#include "platform/Bitmap.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>

// Bytes per pixel of a bitmap the painters handle: 3 or 4, 0 for any other
// format (or an empty bitmap).
inline int PixelBytes(const TBitmap& bmp)
{
    if (bmp.Empty())
        return 0;
    return bmp.PixelFormat() == pf24bit ? 3 : bmp.PixelFormat() == pf32bit ? 4 : 0;
}

// The address of a pixel (blue first); callers keep x and y inside.
inline uint8_t* PixelAt(TBitmap& bmp, int x, int y)
{
    return bmp.ScanLine(y) + size_t(x) * size_t(PixelBytes(bmp));
}
inline const uint8_t* PixelAt(const TBitmap& bmp, int x, int y)
{
    return bmp.ScanLine(y) + size_t(x) * size_t(PixelBytes(bmp));
}

// Whether a pixel in memory order has a colour (red in the low byte):
// each colour byte is compared with its own channel.
inline bool IsKeyPixel(const uint8_t* p, TColor key)
{
    return p[0] == GetBValue(key) && p[1] == GetGValue(key) && p[2] == GetRValue(key);
}

inline bool IsMagenta(const uint8_t* p) { return p[0] == 0xFF && p[1] == 0 && p[2] == 0xFF; }

// Nearest byte, halves to the even neighbour (the default rounding mode).
inline uint8_t RoundByte(double v) { return uint8_t(std::clamp(std::nearbyint(v), 0.0, 255.0)); }

// Copies the three colour bytes; a 32-bit target pixel becomes opaque.
inline void PutColour(uint8_t* t, int targetBytes, const uint8_t* s)
{
    t[0] = s[0];
    t[1] = s[1];
    t[2] = s[2];
    if (targetBytes == 4)
        t[3] = 0xFF;
}

// The pixel of a background at a position, or nullptr when it lies outside
// or the background is not a 24- or 32-bit image.
inline const uint8_t* BackgroundPixel(const TBitmap* bg, int x, int y)
{
    if (!bg || !PixelBytes(*bg) || x < 0 || y < 0 || x >= bg->Width() || y >= bg->Height())
        return nullptr;
    return PixelAt(*bg, x, y);
}
