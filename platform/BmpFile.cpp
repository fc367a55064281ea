#include "platform/BmpFile.h"

#include <bit>
#include <cstring>

namespace {

constexpr uint32_t BI_RGB = 0, BI_BITFIELDS = 3;

[[noreturn]] void Invalid()
{
    throw EInvalidGraphic("Bitmap image is not valid");
}

uint32_t U32(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }
uint16_t U16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

struct TBmpHeader {
    int width = 0, height = 0, bits = 0;
    bool topDown = false;
    uint32_t compression = 0;
    uint32_t masks[4] = {0, 0, 0, 0}; // red, green, blue, alpha
    std::vector<TRGBQuad> palette;
    uint64_t pixelOffset = 0;
};

// A channel of a bit-field pixel scaled to 8 bits.
uint8_t FieldValue(uint32_t pixel, uint32_t mask)
{
    if (mask == 0)
        return 0;
    int shift = std::countr_zero(mask);
    int width = std::popcount(mask >> shift);
    uint32_t v = (pixel & mask) >> shift;
    uint32_t max = width >= 32 ? 0xFFFFFFFFu : (1u << width) - 1;
    return uint8_t((uint64_t(v) * 255 + max / 2) / max);
}

bool ContiguousMask(uint32_t mask)
{
    if (mask == 0)
        return true;
    uint32_t shifted = mask >> std::countr_zero(mask);
    return (shifted & (shifted + 1)) == 0;
}

TBmpHeader ReadHeader(const uint8_t* data, uint64_t size)
{
    if (size < 14 + 40 || data[0] != 'B' || data[1] != 'M')
        Invalid();
    TBmpHeader h;
    h.pixelOffset = U32(data + 10);
    const uint8_t* info = data + 14;
    uint32_t infoSize = U32(info);
    if (infoSize < 40 || infoSize > 124 || 14 + uint64_t(infoSize) > size)
        Invalid();
    int32_t width = int32_t(U32(info + 4)), height = int32_t(U32(info + 8));
    h.bits = U16(info + 14);
    h.compression = U32(info + 16);
    uint32_t clrUsed = U32(info + 32);
    if (width <= 0 || height == 0 || height == INT32_MIN || width > TBitmap::MaxDimension
        || U16(info + 12) != 1)
        Invalid();
    h.width = width;
    h.topDown = height < 0;
    h.height = height < 0 ? -height : height;
    if (h.height > TBitmap::MaxDimension)
        Invalid();
    bool known = h.bits == 1 || h.bits == 4 || h.bits == 8 || h.bits == 24 || h.bits == 32;
    bool fields = h.compression == BI_BITFIELDS && h.bits == 32;
    if (!known || (h.compression != BI_RGB && !fields))
        Invalid();
    uint64_t tableAt = 14 + uint64_t(infoSize);
    if (fields) {
        // A plain 40-byte header is followed by the three masks; larger
        // headers carry them (and the alpha mask) inside.
        const uint8_t* m = infoSize == 40 ? data + tableAt : info + 40;
        if (infoSize == 40 && tableAt + 12 > size)
            Invalid();
        if (infoSize != 40 && infoSize < 52)
            Invalid();
        for (int i = 0; i < 3; ++i)
            h.masks[i] = U32(m + 4 * i);
        if (infoSize >= 56)
            h.masks[3] = U32(info + 52);
        for (uint32_t mask : h.masks)
            if (!ContiguousMask(mask))
                Invalid();
    }
    if (h.bits <= 8) {
        uint32_t entries = clrUsed == 0 ? 1u << h.bits : clrUsed;
        if (entries > (1u << h.bits) || tableAt + uint64_t(entries) * 4 > size)
            Invalid();
        for (uint32_t i = 0; i < entries; ++i) {
            const uint8_t* q = data + tableAt + 4 * i;
            h.palette.push_back({q[0], q[1], q[2], 0});
        }
    }
    return h;
}

TPixelFormat FormatOf(int bits)
{
    switch (bits) {
    case 1: return pf1bit;
    case 4: return pf4bit;
    case 8: return pf8bit;
    case 24: return pf24bit;
    default: return pf32bit;
    }
}

} // namespace

void LoadBmpFromStream(TByteStream& stream, TBitmap& bmp)
{
    std::string bytes(size_t(stream.Remaining()), '\0');
    uint64_t start = stream.Position();
    stream.ReadBuffer(bytes.data(), bytes.size());
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
    TBmpHeader h = ReadHeader(data, bytes.size());
    uint64_t stride = (uint64_t(h.width) * uint64_t(h.bits) + 31) / 32 * 4;
    if (h.pixelOffset < 14 || h.pixelOffset > bytes.size() || stride * uint64_t(h.height) > bytes.size() - h.pixelOffset)
        Invalid();
    if (uint64_t(h.width) * uint64_t(h.height) > TBitmap::MaxPixels)
        Invalid();
    TBitmap out;
    out.SetPixelFormat(FormatOf(h.bits));
    out.SetSize(h.width, h.height);
    out.SetPalette(h.palette);
    for (int y = 0; y < h.height; ++y) {
        const uint8_t* src = data + h.pixelOffset + stride * uint64_t(h.topDown ? y : h.height - 1 - y);
        uint8_t* dst = out.ScanLine(y);
        if (h.compression != BI_BITFIELDS) {
            std::memcpy(dst, src, out.BytesPerScanline());
            continue;
        }
        for (int x = 0; x < h.width; ++x) {
            uint32_t px = U32(src + 4 * x);
            dst[4 * x] = FieldValue(px, h.masks[2]);
            dst[4 * x + 1] = FieldValue(px, h.masks[1]);
            dst[4 * x + 2] = FieldValue(px, h.masks[0]);
            dst[4 * x + 3] = h.masks[3] ? FieldValue(px, h.masks[3]) : 255;
        }
    }
    // The stream ends up after the pixel data, as a reader of a file leaves it.
    stream.SetPosition(start + h.pixelOffset + stride * uint64_t(h.height));
    bmp.Assign(out);
}

std::string SaveBmpToString(const TBitmap& source)
{
    TBitmap bmp(source);
    TPixelFormat f = bmp.PixelFormat();
    if (f == pf15bit || f == pf16bit)
        bmp.SetPixelFormat(pf24bit);
    else if (f == pfDevice || f == pfCustom)
        bmp.SetPixelFormat(pf32bit);
    int bits = BitsPerPixel(bmp.PixelFormat());
    uint32_t colors = bits <= 8 ? 1u << bits : 0;
    uint32_t stride = uint32_t(bmp.BytesPerScanline());
    uint32_t offset = 14 + 40 + colors * 4;
    uint32_t imageSize = stride * uint32_t(bmp.Height());
    std::string out;
    auto put32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i)
            out += char(v >> (8 * i));
    };
    auto put16 = [&](uint16_t v) { out += char(v & 0xFF), out += char(v >> 8); };
    out += "BM";
    put32(offset + imageSize);
    put32(0);
    put32(offset);
    put32(40);
    put32(uint32_t(bmp.Width()));
    put32(uint32_t(bmp.Height()));
    put16(1);
    put16(uint16_t(bits));
    put32(BI_RGB);
    put32(imageSize);
    put32(2835);
    put32(2835);
    put32(colors);
    put32(0);
    for (uint32_t i = 0; i < colors; ++i) {
        TRGBQuad q = i < bmp.Palette().size() ? bmp.Palette()[i] : TRGBQuad{};
        out += char(q.rgbBlue), out += char(q.rgbGreen), out += char(q.rgbRed), out += char(0);
    }
    for (int y = bmp.Height() - 1; y >= 0; --y)
        out.append(reinterpret_cast<const char*>(bmp.ScanLine(y)), stride);
    return out;
}
