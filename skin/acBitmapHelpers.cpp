#include "skin/acBitmapHelpers.h"

#include "skin/acBlit.h"
#include "skin/acFastPixels.h"

#include <algorithm>
#include <cmath>

namespace {
bool layeredWindows = false;
}

bool LayeredWindowsAvailable() { return layeredWindows; }
void SetLayeredWindowsAvailable(bool available) { layeredWindows = available; }

namespace {

std::unique_ptr<TBitmap> NewBitmap(int width, int height, TPixelFormat format)
{
    auto bmp = std::make_unique<TBitmap>();
    bmp->SetPixelFormat(format);
    bmp->SetSize(width, height);
    return bmp;
}

} // namespace

std::unique_ptr<TBitmap> CreateBitmap24(int width, int height) { return NewBitmap(width, height, pf24bit); }
std::unique_ptr<TBitmap> CreateBitmap32(int width, int height) { return NewBitmap(width, height, pf32bit); }
std::unique_ptr<TBitmap> CreateBitmapLike(const TBitmap& bmp)
{
    return NewBitmap(bmp.Width(), bmp.Height(), bmp.PixelFormat());
}

TColor ChangeSaturation(TColor color, int amount)
{
    if (amount == 0)
        return color;
    const int ch[3] = {GetRValue(color), GetGValue(color), GetBValue(color)};
    const double m = (ch[0] + ch[1] + ch[2]) / 3.0;
    int out[3];
    for (int i = 0; i < 3; ++i)
        out[i] = std::clamp(int(std::nearbyint(ch[i] + amount * ((m - ch[i]) / 100))), 0, 255);
    return RGB(out[0], out[1], out[2]);
}

TColor ChangeHue(int degrees, TColor color)
{
    const int r = GetRValue(color), g = GetGValue(color), b = GetBValue(color);
    const int v = std::max({r, g, b});
    const int delta = v - std::min({r, g, b});
    const double s = v == 0 ? 0.0 : double(delta) / v;
    if (s == 0)
        return RGB(r, g, b);
    double h = r == v ? 60.0 * (g - b) / delta : g == v ? 120 + 60.0 * (b - r) / delta : 240 + 60.0 * (r - g) / delta;
    if (h < 0)
        h += 360;
    // A negative turn must still land on one of the six sectors.
    const int n = ((int(std::nearbyint(h + degrees)) % 360) + 360) % 360;
    const int i = n / 60;
    const double f = n / 60.0 - i;
    auto part = [&](double x) { return std::clamp(int(std::nearbyint(v * x)), 0, 255); };
    const int p = part(1 - s), q = part(1 - f * s), t = part(1 - (1 - f) * s);
    switch (i) {
    case 0: return RGB(v, t, p);
    case 1: return RGB(q, v, p);
    case 2: return RGB(p, v, t);
    case 3: return RGB(p, q, v);
    case 4: return RGB(t, p, v);
    default: return RGB(v, p, q);
    }
}

void ApplyDisabledLook(TBitmap& bmp, int flags, TColor parentColor, const TCacheInfo& cache, TPoint offset)
{
    if (flags & 2)
        GrayscaleBitmap(bmp);
    if (!(flags & 1))
        return;
    if (cache.Ready && cache.Bmp) {
        const int x = cache.X + offset.X, y = cache.Y + offset.Y;
        // The parent is the source: the bitmap keeps 40 %, the parent gives 60 %.
        BlendBitmap(bmp, 0, 0, 0xFFFFFFFF, 0.4, {x, y, x + bmp.Width() - 1, y + bmp.Height() - 1}, *cache.Bmp);
        return;
    }
    const TColor color = cache.FillColor == clFuchsia ? parentColor : cache.FillColor;
    BlendRectWithColor(bmp, {0, 0, bmp.Width() - 1, bmp.Height() - 1}, 50, color);
}

namespace {

// The frame of a glyph strip that a button state shows.
int GlyphFrame(const TBitmap& glyph, int count, bool enabled, int kind, int state)
{
    if (!enabled || kind == 0)
        return 0;
    const bool fourBit = glyph.PixelFormat() == pf4bit;
    if (kind == 1)
        return fourBit ? 0 : 1;
    if (state + 2 < count)
        return state + 2;
    return fourBit ? 0 : std::min(1, count - 1);
}

} // namespace

void PaintButtonGlyph(const TBitmap& glyph, TBitmap& target, const TRect& rect, int count, bool enabled,
                      int disabledFlags, int kind, int percent, int state)
{
    if (glyph.Empty() || count < 1)
        return;
    auto work = CreateBitmap24(glyph.Width(), glyph.Height());
    for (int y = 0; y < glyph.Height(); ++y)
        for (int x = 0; x < glyph.Width(); ++x)
            work->SetPixel(x, y, glyph.Pixel(x, y));
    const int fw = glyph.Width() / count;
    if (fw <= 0)
        return;
    const int frame = count == 1 ? 0 : GlyphFrame(glyph, count, enabled, kind, state);
    if (!enabled && (disabledFlags & 2) && count == 1)
        GrayscaleBitmap(*work);
    const TColor key = work->Pixel(frame * fw, work->Height() - 1);
    const TRect piece{frame * fw, 0, frame * fw + fw - 1, work->Height() - 1};
    const bool blendNormal = kind == 0 && percent > 0 && (count == 1 ? enabled : !enabled);
    if (blendNormal)
        BlendBitmap(target, rect.Left, rect.Top, uint32_t(key), percent / 100.0, piece, *work);
    else if (count == 1 && !enabled && (disabledFlags & 1))
        BlendBitmap(target, rect.Left, rect.Top, uint32_t(key), 0.5, piece, *work);
    else
        CopyKeyed24(target, *work, rect.Left, piece, rect.Top, key);
}

void DrawDottedFrame(TBitmap& canvas, const TRect& r)
{
    for (int i = 0; i <= r.Width() / 3; ++i) {
        const int x = r.Left + 3 * i;
        canvas.SetPixel(x, r.Top, clBlack);
        canvas.SetPixel(x, r.Bottom, clBlack);
        canvas.SetPixel(x - 1, r.Top - 1, clWhite);
        canvas.SetPixel(x - 1, r.Bottom - 1, clWhite);
    }
    for (int j = 0; j <= r.Height() / 3; ++j) {
        const int y = r.Top + 3 * j;
        canvas.SetPixel(r.Left, y, clBlack);
        canvas.SetPixel(r.Right, y, clBlack);
        canvas.SetPixel(r.Left - 1, y - 1, clWhite);
        canvas.SetPixel(r.Right - 1, y - 1, clWhite);
    }
}

void CopyAlphaChannel(TBitmap& bmp32, TBitmap& bmp8, int index, bool toEightBit)
{
    if (bmp32.PixelFormat() != pf32bit || bmp8.PixelFormat() != pf8bit || index < 0 || index > 3)
        return;
    const int w = std::min(bmp32.Width(), bmp8.Width()), h = std::min(bmp32.Height(), bmp8.Height());
    for (int y = 0; y < h; ++y) {
        uint8_t* p32 = bmp32.ScanLine(y) + index;
        uint8_t* p8 = bmp8.ScanLine(y);
        for (int x = 0; x < w; ++x, p32 += 4, ++p8) {
            if (toEightBit)
                *p8 = *p32;
            else
                *p32 = *p8;
        }
    }
}
