#include "skin/acIcoFile.h"

#include "platform/BmpFile.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace {

[[noreturn]] void Invalid()
{
    throw EInvalidGraphic("Icon image is not valid");
}

uint32_t U32(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }
uint16_t U16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
void PutU32(uint8_t* p, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = uint8_t(v >> (8 * i));
}

struct TIconEntry {
    int width, height, bits;
    uint32_t size, offset;
};

// The directory entry nearest in size to the wanted one.
TIconEntry ChooseEntry(std::string_view file, int width, int height)
{
    const auto* data = reinterpret_cast<const uint8_t*>(file.data());
    if (file.size() < 6 || U16(data) != 0 || U16(data + 2) != 1 || U16(data + 4) == 0)
        Invalid();
    const int count = U16(data + 4);
    if (6 + uint64_t(count) * 16 > file.size())
        Invalid();
    TIconEntry best{};
    long bestDistance = -1;
    for (int i = 0; i < count; ++i) {
        const uint8_t* e = data + 6 + 16 * i;
        TIconEntry entry{e[0] ? e[0] : 256, e[1] ? e[1] : 256, U16(e + 6), U32(e + 8), U32(e + 12)};
        if (entry.size == 0 || uint64_t(entry.offset) + entry.size > file.size())
            Invalid();
        const long distance = std::labs(long(entry.width) - width) + std::labs(long(entry.height) - height);
        if (bestDistance < 0 || distance < bestDistance || (distance == bestDistance && entry.bits > best.bits)) {
            best = entry;
            bestDistance = distance;
        }
    }
    return best;
}

TIconBitmaps FromPng(std::string_view picture)
{
    TByteStream stream(picture.data(), picture.size());
    TPNGGraphic png;
    png.LoadFromStream(stream);
    return png.CreateIconFromImage(false);
}

// The icon of a decoded colour picture and its mask rows (bottom-up, one
// bit a pixel, set = see-through; nullptr when the file has none). A
// picture without any alpha takes its alpha from the mask.
TIconBitmaps MaskedIcon(const TBitmap& colour, bool ownAlpha, const uint8_t* mask, uint64_t maskStride)
{
    const int width = colour.Width(), height = colour.Height();
    TIconBitmaps icon;
    icon.Image = colour;
    icon.Image.SetPixelFormat(pf32bit);
    icon.Mask.SetPixelFormat(pf1bit);
    icon.Mask.SetPalette({TRGBQuad{0, 0, 0, 0}, TRGBQuad{255, 255, 255, 0}});
    icon.Mask.SetSize(width, height);
    bool anyAlpha = false;
    for (int y = 0; y < height && ownAlpha && !anyAlpha; ++y)
        for (int x = 0; x < width && !anyAlpha; ++x)
            anyAlpha = icon.Image.ScanLine(y)[4 * x + 3] != 0;
    for (int y = 0; y < height; ++y) {
        const uint8_t* maskRow = mask ? mask + maskStride * uint64_t(height - 1 - y) : nullptr;
        uint8_t* p = icon.Image.ScanLine(y);
        for (int x = 0; x < width; ++x, p += 4) {
            const bool clear = maskRow ? (maskRow[x >> 3] >> (7 - (x & 7))) & 1 : p[3] == 0;
            if (clear)
                icon.Mask.SetPixel(x, y, clWhite);
            if (!anyAlpha)
                p[3] = clear ? 0 : 255;
        }
    }
    return icon;
}

// A device-independent bitmap whose height counts the colour rows and the
// mask rows together, followed by the colour rows and the 1-bit mask.
TIconBitmaps FromDib(std::string_view picture)
{
    const auto* dib = reinterpret_cast<const uint8_t*>(picture.data());
    if (picture.size() < 40)
        Invalid();
    const uint32_t infoSize = U32(dib);
    const int32_t width = int32_t(U32(dib + 4)), doubled = int32_t(U32(dib + 8));
    const int bits = U16(dib + 14);
    const uint32_t compression = U32(dib + 16), clrUsed = U32(dib + 32);
    if (infoSize < 40 || infoSize > picture.size() || width <= 0 || width > TBitmap::MaxDimension || doubled <= 0
        || doubled % 2 != 0 || doubled / 2 > TBitmap::MaxDimension)
        Invalid();
    const int height = doubled / 2;
    uint64_t tableBytes = 0;
    if (bits <= 8 && bits > 0)
        tableBytes = uint64_t(clrUsed ? clrUsed : 1u << bits) * 4;
    else if (compression == 3 && infoSize == 40)
        tableBytes = 12;
    // The bitmap reader checks the colour part once it has a file header;
    // its height is that of the colour rows alone.
    const uint64_t pixelOffset = 14 + uint64_t(infoSize) + tableBytes;
    std::string file(14, '\0');
    file[0] = 'B';
    file[1] = 'M';
    file.append(picture);
    auto* f = reinterpret_cast<uint8_t*>(file.data());
    PutU32(f + 2, uint32_t(file.size()));
    PutU32(f + 10, uint32_t(std::min<uint64_t>(pixelOffset, UINT32_MAX)));
    PutU32(f + 14 + 8, uint32_t(height));
    TBitmap colour;
    TByteStream stream(file);
    LoadBmpFromStream(stream, colour);

    const uint64_t colourStride = (uint64_t(width) * uint64_t(bits) + 31) / 32 * 4;
    const uint64_t maskAt = pixelOffset - 14 + colourStride * uint64_t(height);
    const uint64_t maskStride = (uint64_t(width) + 31) / 32 * 4;
    const bool hasMask = maskAt + maskStride * uint64_t(height) <= picture.size();
    // Only a picture with alpha may do without its mask.
    if (!hasMask && bits != 32)
        Invalid();

    return MaskedIcon(colour, bits == 32, hasMask ? dib + maskAt : nullptr, maskStride);
}

} // namespace

TIconBitmaps LoadIconFromStream(TByteStream& stream, int width, int height)
{
    std::string file(size_t(stream.Remaining()), '\0');
    stream.ReadBuffer(file.data(), file.size());
    const TIconEntry entry = ChooseEntry(file, width, height);
    const std::string_view picture = std::string_view(file).substr(entry.offset, entry.size);
    static const std::string_view signature("\x89PNG\r\n\x1A\n", 8);
    if (picture.substr(0, 8) == signature)
        return FromPng(picture);
    try {
        return FromDib(picture);
    } catch (const EInvalidGraphic&) {
        Invalid(); // the bitmap reader's own words would name the wrong kind of file
    }
}
