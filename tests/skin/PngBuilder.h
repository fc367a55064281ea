#pragma once
// Builds PNG files for the tests: any colour type, depth, interlace and row
// filter, compressed with zlib, with chunks that can be added, dropped or
// damaged at will.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>
#include <zlib.h>

namespace pngtest {

inline std::string Be32(uint32_t v)
{
    return {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
}
inline std::string Be16(uint32_t v) { return {char(v >> 8), char(v)}; }

inline const std::string kSignature("\x89PNG\r\n\x1A\n", 8);

// A chunk with its length and CRC; `crcDelta` damages the CRC.
inline std::string Chunk(const std::string& type, const std::string& data, uint32_t crcDelta = 0)
{
    std::string body = type + data;
    uint32_t crc = uint32_t(crc32(0, reinterpret_cast<const Bytef*>(body.data()), uInt(body.size())));
    return Be32(uint32_t(data.size())) + body + Be32(crc + crcDelta);
}

inline std::string IHDR(uint32_t width, uint32_t height, int depth, int colorType, int interlace = 0,
                        int compression = 0, int filter = 0)
{
    return Be32(width) + Be32(height) + char(depth) + char(colorType) + char(compression) + char(filter)
           + char(interlace);
}

inline int SamplesOf(int colorType)
{
    switch (colorType) {
    case 2: return 3;
    case 4: return 2;
    case 6: return 4;
    default: return 1;
    }
}

struct Image {
    uint32_t width = 1, height = 1;
    int depth = 8, colorType = 2, interlace = 0;
    // samples[(y * width + x) * SamplesOf(colorType) + s], each of `depth` bits.
    std::vector<uint16_t> samples;
    // Filter type of each row (by its index within its pass): 0..4, or 5 to
    // cycle through all of them.
    int filter = 0;

    size_t index(uint32_t x, uint32_t y, int s) const { return (size_t(y) * width + x) * SamplesOf(colorType) + s; }
    uint16_t& at(uint32_t x, uint32_t y, int s) { return samples[index(x, y, s)]; }
    uint16_t at(uint32_t x, uint32_t y, int s) const { return samples[index(x, y, s)]; }
};

inline uint8_t Paeth(int a, int b, int c)
{
    int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    return uint8_t(pa <= pb && pa <= pc ? a : pb <= pc ? b : c);
}

// Packs and filters the rows of the pixels (xs, ys) of one pass.
inline void AppendPass(const Image& img, const std::vector<uint32_t>& xs, const std::vector<uint32_t>& ys,
                       std::string& out)
{
    if (xs.empty() || ys.empty())
        return;
    const int spp = SamplesOf(img.colorType);
    const size_t bits = size_t(img.depth) * size_t(spp);
    const size_t rowBytes = (xs.size() * bits + 7) / 8;
    const size_t bpp = std::max<size_t>(1, bits / 8);
    std::vector<uint8_t> prior(rowBytes, 0), row(rowBytes);
    for (size_t r = 0; r < ys.size(); ++r) {
        std::fill(row.begin(), row.end(), 0);
        size_t bit = 0;
        for (uint32_t x : xs)
            for (int s = 0; s < spp; ++s) {
                uint32_t v = img.at(x, ys[r], s);
                if (img.depth == 16) {
                    row[bit / 8] = uint8_t(v >> 8);
                    row[bit / 8 + 1] = uint8_t(v);
                } else {
                    row[bit / 8] |= uint8_t(v << (8 - img.depth - bit % 8));
                }
                bit += size_t(img.depth);
            }
        const int f = img.filter == 5 ? int(r % 5) : img.filter;
        out += char(f);
        for (size_t i = 0; i < rowBytes; ++i) {
            int left = i >= bpp ? row[i - bpp] : 0, up = prior[i], ul = i >= bpp ? prior[i - bpp] : 0;
            int pred = f == 1 ? left : f == 2 ? up : f == 3 ? (left + up) / 2 : f == 4 ? Paeth(left, up, ul) : 0;
            out += char(uint8_t(row[i] - pred));
        }
        prior = row;
    }
}

// The filtered, uncompressed image data.
inline std::string RawData(const Image& img)
{
    std::string out;
    auto range = [](uint32_t first, uint32_t step, uint32_t end) {
        std::vector<uint32_t> v;
        for (uint32_t i = first; i < end; i += step)
            v.push_back(i);
        return v;
    };
    if (!img.interlace) {
        AppendPass(img, range(0, 1, img.width), range(0, 1, img.height), out);
        return out;
    }
    const uint32_t passes[7][4] = {{0, 0, 8, 8}, {0, 4, 8, 8}, {4, 0, 8, 4}, {0, 2, 4, 4},
                                   {2, 0, 4, 2}, {0, 1, 2, 2}, {1, 0, 2, 1}};
    for (auto& p : passes)
        AppendPass(img, range(p[1], p[3], img.width), range(p[0], p[2], img.height), out);
    return out;
}

inline std::string Compress(const std::string& raw, int level = 6)
{
    uLongf size = compressBound(uLong(raw.size()));
    std::string out(size, '\0');
    compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(raw.data()),
              uLong(raw.size()), level);
    out.resize(size);
    return out;
}

// IDAT chunks of at most `split` bytes each.
inline std::string IDATs(const std::string& compressed, size_t split = 1 << 20)
{
    std::string out;
    for (size_t i = 0; i < compressed.size(); i += split)
        out += Chunk("IDAT", compressed.substr(i, split));
    return out;
}

// A whole file: signature, IHDR, `before` (chunks placed before the data),
// the data, `after`, IEND.
inline std::string File(const Image& img, const std::string& before = "", const std::string& after = "",
                        size_t split = 1 << 20)
{
    return kSignature + Chunk("IHDR", IHDR(img.width, img.height, img.depth, img.colorType, img.interlace)) + before
           + IDATs(Compress(RawData(img)), split) + after + Chunk("IEND", "");
}

// An image whose samples come from a function of (x, y, sample).
inline Image MakeImage(uint32_t w, uint32_t h, int depth, int colorType, int interlace, int filter,
                       const std::function<uint16_t(uint32_t, uint32_t, int)>& sample)
{
    Image img;
    img.width = w;
    img.height = h;
    img.depth = depth;
    img.colorType = colorType;
    img.interlace = interlace;
    img.filter = filter;
    img.samples.resize(size_t(w) * h * SamplesOf(colorType));
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x)
            for (int s = 0; s < SamplesOf(colorType); ++s)
                img.at(x, y, s) = sample(x, y, s);
    return img;
}

} // namespace pngtest
