#pragma once
// Builds icon files for the tests: pictures as bitmaps of 1 to 32 bits with
// their masks, or as PNG files, gathered in one directory.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace icotest {

inline std::string Le16(uint32_t v) { return {char(v), char(v >> 8)}; }
inline std::string Le32(uint32_t v) { return {char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; }

struct Picture {
    int width = 0, height = 0, bits = 32;
    std::string data; // bitmap header, palette, colour rows, mask rows; or a PNG file
};

// A bitmap picture: colour(x, y) gives the BGRA of a 24/32-bit pixel or the
// palette index of a 1/4/8-bit one; clear(x, y) sets the mask bit. Rows are
// written bottom-up as icon files keep them. withMask false leaves the mask
// rows out.
inline Picture Dib(int w, int h, int bits, const std::function<uint32_t(int, int)>& colour,
                   const std::function<bool(int, int)>& clear, const std::vector<uint32_t>& palette = {},
                   bool withMask = true)
{
    Picture p{w, h, bits, {}};
    p.data = Le32(40) + Le32(uint32_t(w)) + Le32(uint32_t(2 * h)) + Le16(1) + Le16(uint32_t(bits)) + Le32(0)
             + Le32(0) + Le32(0) + Le32(0) + Le32(uint32_t(palette.size())) + Le32(0);
    for (uint32_t c : palette)
        p.data += Le32(c);
    const size_t stride = (size_t(w) * size_t(bits) + 31) / 32 * 4;
    for (int y = h - 1; y >= 0; --y) {
        std::string row(stride, '\0');
        for (int x = 0; x < w; ++x) {
            const uint32_t v = colour(x, y);
            if (bits >= 24)
                for (int b = 0; b < bits / 8; ++b)
                    row[size_t(x) * size_t(bits / 8) + size_t(b)] = char(v >> (8 * b));
            else {
                const size_t bit = size_t(x) * size_t(bits);
                row[bit / 8] = char(uint8_t(row[bit / 8]) | uint8_t(v << (8 - bits - bit % 8)));
            }
        }
        p.data += row;
    }
    if (withMask) {
        const size_t maskStride = (size_t(w) + 31) / 32 * 4;
        for (int y = h - 1; y >= 0; --y) {
            std::string row(maskStride, '\0');
            for (int x = 0; x < w; ++x)
                if (clear(x, y))
                    row[size_t(x) / 8] = char(uint8_t(row[size_t(x) / 8]) | (0x80 >> (x % 8)));
            p.data += row;
        }
    }
    return p;
}

// The icon file holding the pictures in order.
inline std::string File(const std::vector<Picture>& pictures)
{
    std::string head = Le16(0) + Le16(1) + Le16(uint32_t(pictures.size()));
    std::string body;
    uint32_t offset = uint32_t(6 + 16 * pictures.size());
    for (const Picture& p : pictures) {
        head += char(p.width & 0xFF);
        head += char(p.height & 0xFF);
        head += std::string(2, '\0') + Le16(1) + Le16(uint32_t(p.bits)) + Le32(uint32_t(p.data.size())) + Le32(offset);
        offset += uint32_t(p.data.size());
        body += p.data;
    }
    return head + body;
}

} // namespace icotest
