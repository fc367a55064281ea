#include "skin/sGradient.h"

#include "platform/SysUtils.h"
#include "skin/acPixelRows.h"
#include "skin/sHelpers.h"

#include <algorithm>
#include <cmath>

void ParseGradientData(const std::string& text, TsGradArray& data)
{
    data.clear();
    const TCharSet delims = MakeCharSet(";");
    int steps = CountWordsInSet(text, delims) / 5;
    for (int i = 0; i < steps; ++i) {
        int v[4];
        for (int k = 0; k < 4; ++k) {
            auto n = TryStrToInt(ExtractWordAt(i * 5 + k + 1, text, ";"));
            if (!n)
                return;
            v[k] = *n;
        }
        data.push_back({std::max(0, v[0]), std::max(0, v[1]), uint8_t(std::clamp(v[2], 0, 100)), v[3]});
    }
}

namespace {

struct TFloatColor {
    double r, g, b;
};

TFloatColor Channels(int c)
{
    return {double(c & 0xFF), double((c >> 8) & 0xFF), double((c >> 16) & 0xFF)};
}

void PutPixel(TBitmap& bmp, int x, int y, const TFloatColor& c)
{
    uint8_t* p = bmp.ScanLine(y) + x * (bmp.PixelFormat() == pf32bit ? 4 : 3);
    p[0] = RoundByte(c.b);
    p[1] = RoundByte(c.g);
    p[2] = RoundByte(c.r);
    if (bmp.PixelFormat() == pf32bit)
        p[3] = 255;
}

// One band from c1 to c2 over first..last (both included), rows or columns.
void PaintBand(TBitmap& bmp, const TRect& r, int first, int last, int c1, int c2, bool rows)
{
    TFloatColor c = Channels(c1), to = Channels(c2);
    double n = last - first;
    TFloatColor inc{(to.r - c.r) / n, (to.g - c.g) / n, (to.b - c.b) / n};
    for (int i = first; i <= last; ++i) {
        if (rows)
            for (int x = r.Left; x < r.Right; ++x)
                PutPixel(bmp, x, i, c);
        else
            for (int y = r.Top; y < r.Bottom; ++y)
                PutPixel(bmp, i, y, c);
        c = {c.r + inc.r, c.g + inc.g, c.b + inc.b};
    }
}

void PaintVertical(TBitmap& bmp, const TRect& r, const TsGradArray& data)
{
    int y = r.Top;
    for (size_t i = 0; i < data.size(); ++i) {
        bool last = i + 1 == data.size();
        int y0 = y;
        y = y0 + data[i].Percent * r.Height() / 100;
        y = last ? r.Bottom - 1 : std::min(y, r.Bottom - 1);
        if (y - y0 <= 0)
            continue;
        PaintBand(bmp, r, y0, y, data[i].Color1, data[i].Color2, true);
    }
}

void PaintHorizontal(TBitmap& bmp, const TRect& r, const TsGradArray& data)
{
    int x = r.Left;
    for (size_t i = 0; i < data.size(); ++i) {
        bool last = i + 1 == data.size();
        int x0 = x;
        // Halves to the even neighbour, as the pixel values.
        int end = int(std::nearbyint(data[i].Percent * r.Width() / 100.0 + x0));
        x = last ? r.Right - 1 : std::min(end, r.Right - 1);
        if (x - x0 <= 0)
            continue;
        PaintBand(bmp, r, x0, x, data[i].Color1, data[i].Color2, false);
    }
}

struct TVertex {
    double x, y;
    TFloatColor c;
};

void FillTriangle(TBitmap& bmp, const TRect& clip, const TVertex& a, const TVertex& b, const TVertex& c)
{
    double area = (b.x - a.x) * (c.y - a.y) - (c.x - a.x) * (b.y - a.y);
    if (area == 0)
        return;
    int x0 = std::max(clip.Left, int(std::floor(std::min({a.x, b.x, c.x}))));
    int x1 = std::min(clip.Right, int(std::ceil(std::max({a.x, b.x, c.x}))));
    int y0 = std::max(clip.Top, int(std::floor(std::min({a.y, b.y, c.y}))));
    int y1 = std::min(clip.Bottom, int(std::ceil(std::max({a.y, b.y, c.y}))));
    const double eps = 1e-9;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            double px = x + 0.5, py = y + 0.5;
            double wa = ((b.x - px) * (c.y - py) - (c.x - px) * (b.y - py)) / area;
            double wb = ((c.x - px) * (a.y - py) - (a.x - px) * (c.y - py)) / area;
            double wc = 1 - wa - wb;
            if (wa < -eps || wb < -eps || wc < -eps)
                continue;
            PutPixel(bmp, x, y,
                     {wa * a.c.r + wb * b.c.r + wc * c.c.r, wa * a.c.g + wb * b.c.g + wc * c.c.g,
                      wa * a.c.b + wb * b.c.b + wc * c.c.b});
        }
}

void PaintTriangles(TBitmap& bmp, const TRect& r, const TsGradArray& data)
{
    // Corners in the order top-left, centre, top-right, bottom-right,
    // bottom-left; a corner without its step takes the colour before it.
    const double cx = r.Left + r.Width() / 2, cy = r.Top + r.Height() / 2;
    const double xs[5] = {double(r.Left), cx, double(r.Right), double(r.Right), double(r.Left)};
    const double ys[5] = {double(r.Top), cy, double(r.Top), double(r.Bottom), double(r.Bottom)};
    TVertex v[5];
    for (size_t i = 0; i < 5; ++i) {
        TFloatColor c = i < data.size() ? Channels(data[i].Color1) : v[i - 1].c;
        v[i] = {xs[i], ys[i], c};
    }
    FillTriangle(bmp, r, v[0], v[1], v[2]);
    FillTriangle(bmp, r, v[1], v[2], v[3]);
    FillTriangle(bmp, r, v[0], v[1], v[4]);
    FillTriangle(bmp, r, v[4], v[1], v[3]);
}

} // namespace

void PaintGradient(TBitmap& bmp, TRect r, const TsGradArray& data)
{
    r.Right = std::min(r.Right, bmp.Width());
    r.Bottom = std::min(r.Bottom, bmp.Height());
    r.Left = std::max(r.Left, 0);
    r.Top = std::max(r.Top, 0);
    if (data.empty() || r.Right <= r.Left || r.Bottom <= r.Top)
        return;
    if (bmp.PixelFormat() != pf24bit && bmp.PixelFormat() != pf32bit)
        return;
    switch (data[0].Mode) {
    case 0: PaintVertical(bmp, r, data); break;
    case 1: PaintHorizontal(bmp, r, data); break;
    case 2: PaintTriangles(bmp, r, data); break;
    default: break;
    }
}
