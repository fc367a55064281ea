#include "skin/acFastPixels.h"

#include "skin/acPixelRows.h"

#include <algorithm>
#include <cmath>

bool TacFastBase::Bind(TBitmap* bmp, TPixelFormat format)
{
    width_ = 0;
    if (!bmp || bmp->Width() < 2 || bmp->Height() < 2 || bmp->PixelFormat() != format)
        return false;
    bmp_ = bmp;
    width_ = bmp->Width();
    height_ = bmp->Height();
    line0_ = bmp->ScanLine(0);
    delta_ = bmp->ScanLine(1) - bmp->ScanLine(0);
    return true;
}

TColor TacFast24::GetPixel(int x, int y) const
{
    const uint8_t* p = At(x, y, 3);
    return RGB(p[2], p[1], p[0]);
}

uint32_t TacFast32::GetPixel(int x, int y) const
{
    const uint8_t* p = At(x, y, 4);
    return uint32_t(p[2]) | uint32_t(p[1]) << 8 | uint32_t(p[0]) << 16 | uint32_t(p[3]) << 24;
}

void TacFast32::SetPixel(int x, int y, uint32_t value)
{
    uint8_t* p = At(x, y, 4);
    p[0] = uint8_t(value >> 16);
    p[1] = uint8_t(value >> 8);
    p[2] = uint8_t(value);
    p[3] = uint8_t(value >> 24);
}

void TacFast32::FillRect(const TRect& rect, uint32_t pixel)
{
    const int left = std::max(rect.Left, 0), right = std::min(rect.Right, width_);
    const int top = std::max(rect.Top, 0), bottom = std::min(rect.Bottom, height_);
    for (int y = top; y < bottom; ++y) {
        uint32_t* p = reinterpret_cast<uint32_t*>(At(left, y, 4));
        std::fill(p, p + std::max(0, right - left), pixel);
    }
}

bool TacFastSum::Attach(TBitmap* source, TBitmap* target)
{
    width_ = height_ = 0;
    auto fits = [&](TBitmap* b) {
        return b && b->Width() >= 2 && b->Height() >= 2 && b->PixelFormat() == format_;
    };
    if (!fits(source) || !fits(target))
        return false;
    src_ = source;
    dst_ = target;
    width_ = std::min(source->Width(), target->Width());
    height_ = std::min(source->Height(), target->Height());
    return true;
}

void TacFastSum::BlendRect()
{
    if (width_ == 0)
        return;
    const TRect& d = DstRect;
    const TRect& s = SrcRect;
    auto inside = [](const TRect& r, const TBitmap& b) {
        return r.Left >= 0 && r.Top >= 0 && r.Right <= b.Width() && r.Bottom <= b.Height();
    };
    if (d.Width() <= 0 || d.Height() <= 0 || s.Width() < d.Width() || s.Height() < d.Height() || !inside(d, *dst_)
        || !inside(s, *src_))
        return;
    const int bpp = format_ == pf24bit ? 3 : 4;
    const int w = std::clamp(Weight, 0, 255);
    for (int y = d.Bottom - 1; y >= d.Top; --y) {
        uint8_t* t = dst_->ScanLine(y) + size_t(d.Left) * bpp;
        const uint8_t* v = src_->ScanLine(y - d.Top + s.Top) + size_t(s.Left) * bpp;
        for (int b = d.Width() * bpp - 1; b >= 0; --b)
            t[b] = uint8_t((t[b] * w + v[b] * (255 - w) + 127) >> 8);
    }
}

uint32_t ColorToPixel32(TColor color)
{
    return uint32_t(GetBValue(color)) | uint32_t(GetGValue(color)) << 8 | uint32_t(GetRValue(color)) << 16
           | 0xFF000000u;
}

void FillRect32(TBitmap& bmp, const TRect& rect, TColor color)
{
    TacFast32 fast;
    if (fast.Attach(&bmp))
        fast.FillRect(rect, ColorToPixel32(color));
}

namespace {

// Moves a negative start of the source rect to 0 and the point along, then
// a negative point to 0 with the rect's start taking the remainder.
void ClipStart(int& point, int& start)
{
    if (point < 0) {
        start -= point;
        point = 0;
    }
    if (start < 0) {
        point -= start;
        start = 0;
        if (point < 0) {
            start = -point;
            point = 0;
        }
    }
}

} // namespace

void BlendRect(TBitmap& target, TBitmap& source, int weight, TPoint point, TRect rect)
{
    ClipStart(point.X, rect.Left);
    ClipStart(point.Y, rect.Top);
    if (rect.Left >= rect.Right || rect.Top >= rect.Bottom || point.X >= target.Width() || point.Y >= target.Height()
        || rect.Left >= source.Width() || rect.Top >= source.Height())
        return;
    rect.Right = std::min({rect.Right, source.Width(), rect.Left + target.Width() - point.X});
    rect.Bottom = std::min({rect.Bottom, source.Height(), rect.Top + target.Height() - point.Y});
    TacFastSum24 sum24;
    TacFastSum32 sum32;
    TacFastSum* sum = nullptr;
    if (sum32.Attach(&source, &target))
        sum = &sum32;
    else if (sum24.Attach(&source, &target))
        sum = &sum24;
    if (!sum)
        return;
    sum->Weight = weight;
    sum->SrcRect = rect;
    sum->DstRect = {point.X, point.Y, point.X + rect.Width(), point.Y + rect.Height()};
    sum->BlendRect();
}

void BlendBitmap(TBitmap& target, int x, int y, uint32_t key, double factor, TRect rect, const TBitmap& source)
{
    const int tb = PixelBytes(target), sb = PixelBytes(source);
    if (!tb || !sb)
        return;
    if (rect.Left < 0) {
        x -= rect.Left;
        rect.Left = 0;
    }
    if (rect.Top < 0) {
        y -= rect.Top;
        rect.Top = 0;
    }
    rect.Right = std::min(rect.Right, source.Width() - 1);
    rect.Bottom = std::min(rect.Bottom, source.Height() - 1);
    const bool keyed = key <= NoKeyColor;
    for (int sy = rect.Top; sy <= rect.Bottom; ++sy) {
        const int ty = y + sy - rect.Top;
        if (ty < 0 || ty >= target.Height())
            continue;
        for (int sx = rect.Left; sx <= rect.Right; ++sx) {
            const int tx = x + sx - rect.Left;
            if (tx < 0 || tx >= target.Width())
                continue;
            const uint8_t* s = PixelAt(source, sx, sy);
            if (keyed && IsKeyPixel(s, TColor(key)))
                continue;
            uint8_t* t = PixelAt(target, tx, ty);
            for (int c = 0; c < 3; ++c)
                t[c] = RoundByte(s[c] - factor * (s[c] - t[c]));
        }
    }
}

void BlendRectWithColor(TBitmap& bmp, TRect rect, int percent, TColor color)
{
    const int bpp = PixelBytes(bmp);
    if (!bpp)
        return;
    rect.Left = std::max(rect.Left, 0);
    rect.Top = std::max(rect.Top, 0);
    rect.Right = std::min(rect.Right, bmp.Width() - 1);
    rect.Bottom = std::min(rect.Bottom, bmp.Height() - 1);
    if (rect.Left > rect.Right || rect.Top > rect.Bottom)
        return;
    // One table per channel holds the rounded result for every byte value,
    // so large rects cost a look-up per byte.
    const double g = percent / 100.0;
    const int col[3] = {GetBValue(color), GetGValue(color), GetRValue(color)};
    uint8_t table[3][256];
    for (int c = 0; c < 3; ++c)
        for (int v = 0; v < 256; ++v)
            table[c][v] = RoundByte(g * v + (1 - g) * col[c]);
    for (int y = rect.Top; y <= rect.Bottom; ++y) {
        uint8_t* p = PixelAt(bmp, rect.Left, y);
        for (int x = rect.Left; x <= rect.Right; ++x, p += bpp) {
            p[0] = table[0][p[0]];
            p[1] = table[1][p[1]];
            p[2] = table[2][p[2]];
        }
    }
}

void TintBitmap(TBitmap& bmp, TColor color, TColor key, double factor)
{
    if (!PixelBytes(bmp))
        return;
    const uint8_t col[3] = {uint8_t(GetBValue(color)), uint8_t(GetGValue(color)), uint8_t(GetRValue(color))};
    for (int y = 0; y < bmp.Height(); ++y)
        for (int x = 0; x < bmp.Width(); ++x) {
            uint8_t* p = PixelAt(bmp, x, y);
            if (IsKeyPixel(p, key))
                continue;
            for (int c = 0; c < 3; ++c)
                p[c] = RoundByte(col[c] + factor * (p[c] - col[c]));
        }
}

void GrayscaleBitmap(TBitmap& bmp)
{
    if (bmp.PixelFormat() != pf24bit)
        return;
    for (int y = 0; y < bmp.Height(); ++y) {
        uint8_t* p = bmp.ScanLine(y);
        for (int x = 0; x < bmp.Width(); ++x, p += 3)
            p[0] = p[1] = p[2] = uint8_t((p[0] + p[1] + p[2]) / 3);
    }
}

void BlendColorByMask(TBitmap& bmp, const TBitmap& mask, TColor color)
{
    if (bmp.Width() != mask.Width() || bmp.Height() != mask.Height() || !PixelBytes(bmp) || !PixelBytes(mask))
        return;
    const int col[3] = {GetBValue(color), GetGValue(color), GetRValue(color)};
    for (int y = 0; y < bmp.Height(); ++y)
        for (int x = 0; x < bmp.Width(); ++x) {
            uint8_t* p = PixelAt(bmp, x, y);
            const uint8_t* m = PixelAt(mask, x, y);
            for (int c = 0; c < 3; ++c)
                p[c] = uint8_t(col[c] + (((p[c] - col[c]) * m[c]) >> 8));
        }
}

void MixBitmaps(TBitmap& target, const TBitmap& a, const TBitmap& b, int weight, const TBitmap* mask)
{
    if (a.Width() != b.Width() || a.Height() != b.Height() || target.PixelFormat() != pf32bit
        || a.PixelFormat() != pf24bit || b.PixelFormat() != pf24bit)
        return;
    if (mask && mask->PixelFormat() != pf24bit)
        return;
    int width = std::min(a.Width(), target.Width()), height = std::min(a.Height(), target.Height());
    if (mask) {
        width = std::min(width, mask->Width());
        height = std::min(height, mask->Height());
    }
    for (int y = 0; y < height; ++y) {
        uint8_t* t = target.ScanLine(y);
        const uint8_t* pa = a.ScanLine(y);
        const uint8_t* pb = b.ScanLine(y);
        const uint8_t* pm = mask ? mask->ScanLine(y) : nullptr;
        for (int x = 0; x < width; ++x, t += 4, pa += 3, pb += 3)
            for (int c = 0; c < 3; ++c) {
                const int w = pm ? pm[x * 3 + c] : weight;
                t[c] = uint8_t((w * (pa[c] - pb[c]) + pb[c] * 256) >> 8);
            }
    }
}
