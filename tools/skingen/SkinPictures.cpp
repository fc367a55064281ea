#include "SkinPictures.h"

#include <cstdlib>
#include <vector>

TColor Mix(TColor a, TColor b, int percent)
{
    auto ch = [&](int x, int y) { return x + (y - x) * percent / 100; };
    return RGB(ch(GetRValue(a), GetRValue(b)), ch(GetGValue(a), GetGValue(b)), ch(GetBValue(a), GetBValue(b)));
}

namespace {

// Whether (x, y) of a w x h cell lies inside a rectangle with rounded corners.
bool Inside(int x, int y, int w, int h, const TFrameShape& s)
{
    const int radius = y < h / 2 || s.bottomRadius < 0 ? s.radius : s.bottomRadius;
    int cx = x < radius ? radius - x : x >= w - radius ? x - (w - radius - 1) : 0;
    int cy = y < radius ? radius - y : y >= h - radius ? y - (h - radius - 1) : 0;
    return cx * cx + cy * cy <= radius * radius;
}

bool OnEdge(int x, int y, int w, int h, const TFrameShape& s)
{
    if (!Inside(x, y, w, h, s))
        return false;
    return !Inside(x - 1, y, w, h, s) || !Inside(x + 1, y, w, h, s) || !Inside(x, y - 1, w, h, s)
           || !Inside(x, y + 1, w, h, s) || x == 0 || y == 0 || x == w - 1 || y == h - 1;
}

// Whether grid point (x, y) lies on the segment from (x0, y0) to (x1, y1).
bool NearSegment(int x, int y, int x0, int y0, int x1, int y1)
{
    double dx = x1 - x0, dy = y1 - y0;
    double t = ((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy);
    t = t < 0 ? 0 : t > 1 ? 1 : t;
    double ex = x0 + t * dx - x, ey = y0 + t * dy - y;
    return ex * ex + ey * ey <= 0.5;
}

// Whether (x, y) of a cell belongs to a glyph (drawn on a 9 x 9 grid scaled
// to the cell).
bool GlyphPixel(const std::string& kind, int x, int y, int w, int h)
{
    int gx = x * 9 / w, gy = y * 9 / h;
    int dx = std::abs(gx - 4), dy = std::abs(gy - 4);
    if (kind == "check")
        return NearSegment(gx, gy, 1, 4, 3, 6) || NearSegment(gx, gy, 3, 6, 7, 2);
    if (kind == "dot")
        return dx * dx + dy * dy <= 5;
    if (kind == "dash")
        return gy == 4 && gx >= 2 && gx <= 6;
    if (kind == "close")
        return (gx == gy || gx == 8 - gy) && gx >= 1 && gx <= 7;
    if (kind == "max")
        return gx >= 1 && gx <= 7 && gy >= 1 && gy <= 7 && (gx == 1 || gx == 7 || gy <= 2 || gy == 7);
    if (kind == "min")
        return gy >= 6 && gy <= 7 && gx >= 1 && gx <= 7;
    if (kind == "norm")
        return (gx >= 1 && gx <= 5 && gy >= 3 && gy <= 7 && (gx == 1 || gx == 5 || gy == 3 || gy == 7))
               || (gx >= 3 && gx <= 7 && gy >= 1 && gy <= 5 && (gx == 7 || gy == 1) && !(gx < 5 && gy > 2));
    if (kind == "help")
        return (gy == 1 && gx >= 3 && gx <= 5) || (gx == 6 && gy >= 2 && gy <= 3) || (gx == 5 && gy == 4)
               || (gx == 4 && gy == 5) || (gx == 4 && gy == 7);
    if (kind == "up")
        return gy >= 2 && gy <= 6 && dx <= gy - 2;
    if (kind == "down")
        return gy >= 2 && gy <= 6 && dx <= 6 - gy;
    if (kind == "left")
        return gx >= 2 && gx <= 6 && dy <= gx - 2;
    if (kind == "right")
        return gx >= 2 && gx <= 6 && dy <= 6 - gx;
    if (kind == "grip")
        return (gx == 2 || gx == 4 || gx == 6) && gy >= 2 && gy <= 6;
    if (kind == "sizegrip")
        return gx % 3 == 1 && gy % 3 == 1 && gx + gy >= 8;
    if (kind == "arrow")
        return gy >= 3 && gy <= 6 && dx <= 6 - gy;
    return false;
}

} // namespace

void DrawFrame(TBitmap& bmp, const TRect& cell, TColor fill, TColor border, const TFrameShape& shape)
{
    int w = cell.Width(), h = cell.Height();
    const int shade = shape.shade < 0 ? h : shape.shade;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            TColor c = clFuchsia;
            if (OnEdge(x, y, w, h, shape))
                c = border;
            else if (Inside(x, y, w, h, shape))
                c = y >= shade ? fill : Mix(Mix(fill, clWhite, 35), fill, shade > 1 ? y * 100 / (shade - 1) : 100);
            bmp.SetPixel(cell.Left + x, cell.Top + y, c);
        }
}

void ClearInside(TBitmap& bmp, const TRect& cell, int wl, int wt, int wr, int wb)
{
    const int w = cell.Width(), h = cell.Height();
    // The border line is what lies next to the key colour outside.
    auto key = [&](int x, int y) {
        return x < 0 || y < 0 || x >= w || y >= h || bmp.Pixel(cell.Left + x, cell.Top + y) == clFuchsia;
    };
    std::vector<TPoint> inside;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool corner = (x < wl || x >= w - wr) && (y < wt || y >= h - wb);
            if (!corner && !key(x, y) && !key(x - 1, y) && !key(x + 1, y) && !key(x, y - 1) && !key(x, y + 1))
                inside.push_back({x, y});
        }
    for (const TPoint& p : inside)
        bmp.SetPixel(cell.Left + p.X, cell.Top + p.Y, clFuchsia);
}

void DrawFrameMask(TBitmap& bmp, const TRect& cell, const TFrameShape& shape)
{
    int w = cell.Width(), h = cell.Height();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            bmp.SetPixel(cell.Left + x, cell.Top + y, Inside(x, y, w, h, shape) ? clBlack : clWhite);
}

void DrawGlyph(TBitmap& bmp, const TRect& cell, const std::string& kind, TColor color, bool keyBackground)
{
    for (int y = 0; y < cell.Height(); ++y)
        for (int x = 0; x < cell.Width(); ++x)
            if (GlyphPixel(kind, x, y, cell.Width(), cell.Height()))
                bmp.SetPixel(cell.Left + x, cell.Top + y, color);
            else if (keyBackground)
                bmp.SetPixel(cell.Left + x, cell.Top + y, clFuchsia);
}

void DrawGlyphMask(TBitmap& bmp, const TRect& cell, const std::string& kind)
{
    for (int y = 0; y < cell.Height(); ++y)
        for (int x = 0; x < cell.Width(); ++x)
            bmp.SetPixel(cell.Left + x, cell.Top + y,
                         GlyphPixel(kind, x, y, cell.Width(), cell.Height()) ? clBlack : clWhite);
}

void DrawWeave(TBitmap& bmp, TColor a, TColor b, int step)
{
    for (int y = 0; y < bmp.Height(); ++y)
        for (int x = 0; x < bmp.Width(); ++x) {
            int t = ((x + y) % (2 * step) < step ? (x + y) % step : step - (x + y) % step) * 100 / step;
            bmp.SetPixel(x, y, Mix(a, b, ((x - y + 4096) % (2 * step) < step ? t : t / 2)));
        }
}
