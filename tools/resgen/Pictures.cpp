#include "Pictures.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

// A soft black shadow around a form whose edge runs `top` pixels below the
// picture's top and `side` pixels inside its other edges; it fades out
// over that distance, strongest under the form.
TRgbaPicture Shadow(int size, int side, int top, int maxAlpha)
{
    TRgbaPicture p(size, size);
    const double left = side, right = size - side, bottom = size - side;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const double cx = x + 0.5, cy = y + 0.5;
            const double dx = std::max({left - cx, cx - right, 0.0});
            const double dy = std::max({top - cy, cy - bottom, 0.0});
            const double d = std::sqrt(dx * dx + dy * dy) / side;
            const double fall = d >= 1 ? 0 : (1 - d) * (1 - d);
            p.at(x, y)[3] = uint8_t(std::lround(maxAlpha * fall));
        }
    return p;
}

// Coverage of one 16 x 16 glyph cell at a point in cell units (0..16).
using Shape = std::function<bool(double x, double y)>;

bool InTriangle(double x, double y, double ax, double ay, double bx, double by, double cx, double cy)
{
    auto side = [](double px, double py, double qx, double qy, double rx, double ry) {
        return (qx - px) * (ry - py) - (qy - py) * (rx - px);
    };
    const double d1 = side(ax, ay, bx, by, x, y), d2 = side(bx, by, cx, cy, x, y), d3 = side(cx, cy, ax, ay, x, y);
    return (d1 >= 0 && d2 >= 0 && d3 >= 0) || (d1 <= 0 && d2 <= 0 && d3 <= 0);
}

double SegmentDistance(double x, double y, double ax, double ay, double bx, double by)
{
    const double vx = bx - ax, vy = by - ay;
    const double t = std::clamp(((x - ax) * vx + (y - ay) * vy) / (vx * vx + vy * vy), 0.0, 1.0);
    return std::hypot(x - ax - t * vx, y - ay - t * vy);
}

Shape ShapeOf(char kind)
{
    switch (kind) {
    case 'F': // forward
        return [](double x, double y) { return InTriangle(x, y, 5, 3, 12, 8, 5, 13); };
    case 'D': // down
        return [](double x, double y) { return InTriangle(x, y, 3, 5, 13, 5, 8, 12); };
    case 'R': // a ring open at its upper right, as a turn-around sign
        return [](double x, double y) {
            const double r = std::hypot(x - 8, y - 8);
            const bool gap = x > 8 && y < 8;
            return (r >= 3.5 && r <= 5.5 && !gap) || InTriangle(x, y, 8, 0.5, 8, 6.5, 11.5, 3.5);
        };
    case 'E': // three dots
        return [](double x, double y) {
            for (double cx : {3.5, 8.0, 12.5})
                if (std::hypot(x - cx, y - 8) <= 1.6)
                    return true;
            return false;
        };
    default: // a cross
        return [](double x, double y) {
            return SegmentDistance(x, y, 4, 4, 12, 12) <= 1.2 || SegmentDistance(x, y, 12, 4, 4, 12) <= 1.2;
        };
    }
}

// Three 16 x 16 cells side by side: normal, hot and disabled looks.
TRgbaPicture Glyph(char kind)
{
    const uint8_t colours[3][3] = {{0x30, 0x30, 0x38}, {0x1C, 0x5C, 0xC8}, {0xA0, 0xA0, 0xA0}};
    const Shape shape = ShapeOf(kind);
    TRgbaPicture p(48, 16);
    for (int cell = 0; cell < 3; ++cell)
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                int hits = 0; // 4 x 4 samples a pixel smooth the edges
                for (int sy = 0; sy < 4; ++sy)
                    for (int sx = 0; sx < 4; ++sx)
                        hits += shape(x + (sx + 0.5) / 4, y + (sy + 0.5) / 4);
                uint8_t* px = p.at(cell * 16 + x, y);
                std::copy(colours[cell], colours[cell] + 3, px);
                px[3] = uint8_t(hits * 255 / 16);
            }
    return p;
}

} // namespace

std::vector<std::pair<std::string, std::string>> BuiltInPictures()
{
    std::vector<std::pair<std::string, std::string>> all;
    all.emplace_back("acSHDA", EncodePng(Shadow(32, 11, 7, 0x70)));
    all.emplace_back("acSHDI", EncodePng(Shadow(31, 11, 7, 0x40)));
    for (char kind : {'F', 'R', 'D', 'E', 'C'})
        all.emplace_back(std::string("S") + kind, EncodePng(Glyph(kind)));
    return all;
}
