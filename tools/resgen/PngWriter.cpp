#include "PngWriter.h"

#include <stdexcept>
#include <zlib.h>

namespace {

std::string Be32(uint32_t v) { return {char(v >> 24), char(v >> 16), char(v >> 8), char(v)}; }

std::string Chunk(const std::string& type, const std::string& data)
{
    const std::string body = type + data;
    const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(body.data()), uInt(body.size()));
    return Be32(uint32_t(data.size())) + body + Be32(uint32_t(crc));
}

std::string Deflate(const std::string& raw)
{
    uLongf size = compressBound(uLong(raw.size()));
    std::string out(size, '\0');
    if (compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(raw.data()),
                  uLong(raw.size()), 9)
        != Z_OK)
        throw std::runtime_error("cannot compress a picture");
    out.resize(size);
    return out;
}

} // namespace

std::string EncodePng(const TRgbaPicture& picture)
{
    std::string raw;
    const size_t rowBytes = size_t(picture.width) * 4;
    for (int y = 0; y < picture.height; ++y) {
        raw += '\0';
        raw.append(reinterpret_cast<const char*>(picture.rgba.data()) + size_t(y) * rowBytes, rowBytes);
    }
    const std::string header = Be32(uint32_t(picture.width)) + Be32(uint32_t(picture.height)) + char(8) + char(6)
                               + char(0) + char(0) + char(0);
    return std::string("\x89PNG\r\n\x1A\n", 8) + Chunk("IHDR", header) + Chunk("IDAT", Deflate(raw))
           + Chunk("IEND", "");
}
