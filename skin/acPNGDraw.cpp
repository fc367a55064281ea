// Drawing a decoded picture onto another bitmap.
#include "skin/acPNG.h"

#include <algorithm>

namespace {

// Writes a colour and keeps the canvas's own alpha byte.
void PutCanvasPixel(TBitmap& canvas, int x, int y, TColor color)
{
    if (canvas.PixelFormat() == pf32bit || canvas.PixelFormat() == pfDevice) {
        uint8_t* p = canvas.ScanLine(y) + size_t(x) * 4;
        p[0] = uint8_t(GetBValue(color));
        p[1] = uint8_t(GetGValue(color));
        p[2] = uint8_t(GetRValue(color));
        return;
    }
    canvas.SetPixel(x, y, color);
}

} // namespace

void TPNGGraphic::Draw(TBitmap& canvas, const TRect& rect) const
{
    const int w = rect.Width(), h = rect.Height();
    if (Empty() || w <= 0 || h <= 0)
        return;
    const int sw = Width(), sh = Height();
    const int left = std::max(rect.Left, 0), right = std::min(rect.Right, canvas.Width());
    const int top = std::max(rect.Top, 0), bottom = std::min(rect.Bottom, canvas.Height());
    const bool alpha = PixelFormat() == pf32bit;
    for (int y = top; y < bottom; ++y) {
        const int dy = y - rect.Top;
        // The source rows that this target row covers: a box filter when
        // shrinking, the nearest row when enlarging. Colour and alpha are
        // averaged separately, as straight values.
        const int y0 = int(int64_t(dy) * sh / h), y1 = std::max(y0 + 1, int(int64_t(dy + 1) * sh / h));
        for (int x = left; x < right; ++x) {
            const int dx = x - rect.Left;
            const int x0 = int(int64_t(dx) * sw / w), x1 = std::max(x0 + 1, int(int64_t(dx + 1) * sw / w));
            if (!alpha) {
                const TColor c = Pixel(x0, y0);
                if (!(Transparent() && c == TransparentColor()))
                    PutCanvasPixel(canvas, x, y, c);
                continue;
            }
            int64_t r = 0, g = 0, b = 0, a = 0, n = 0;
            for (int sy = y0; sy < y1; ++sy) {
                const uint8_t* p = ScanLine(sy) + size_t(x0) * 4;
                for (int sx = x0; sx < x1; ++sx, p += 4, ++n) {
                    b += p[0];
                    g += p[1];
                    r += p[2];
                    a += p[3];
                }
            }
            const int64_t sa = a / n;
            const TColor under = canvas.Pixel(x, y);
            auto mix = [&](int64_t src, int dst) { return int((src / n * sa + dst * (255 - sa)) / 255); };
            PutCanvasPixel(canvas, x, y,
                           RGB(mix(r, GetRValue(under)), mix(g, GetGValue(under)), mix(b, GetBValue(under))));
        }
    }
}
