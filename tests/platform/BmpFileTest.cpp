#include "platform/BmpFile.h"

#include <gtest/gtest.h>

namespace {

void Put32(std::string& s, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        s += char(v >> (8 * i));
}
void Put16(std::string& s, uint16_t v)
{
    s += char(v & 0xFF);
    s += char(v >> 8);
}

// A file of a 2 x 2 picture in 32 bits with the given header size and
// compression; rows as given (first row stored first).
std::string File32(int height, uint32_t infoSize, uint32_t compression, const std::vector<uint32_t>& masks,
                   const std::vector<uint32_t>& pixels)
{
    std::string info;
    Put32(info, infoSize);
    Put32(info, 2);
    Put32(info, uint32_t(height));
    Put16(info, 1);
    Put16(info, 32);
    Put32(info, compression);
    info += std::string(20, '\0');
    std::string extra;
    for (uint32_t m : masks)
        Put32(infoSize == 40 ? extra : info, m);
    info.resize(infoSize, '\0');
    std::string file = "BM";
    uint32_t offset = 14 + infoSize + uint32_t(extra.size());
    Put32(file, offset + 16);
    Put32(file, 0);
    Put32(file, offset);
    file += info + extra;
    for (uint32_t p : pixels)
        Put32(file, p);
    return file;
}

TBitmap Load(const std::string& bytes)
{
    TByteStream s(bytes);
    TBitmap b;
    LoadBmpFromStream(s, b);
    return b;
}

} // namespace

TEST(BmpFile, RoundTripsEveryFormat)
{
    for (TPixelFormat f : {pf1bit, pf4bit, pf8bit, pf24bit, pf32bit}) {
        SCOPED_TRACE(BitsPerPixel(f));
        TBitmap b;
        b.SetPixelFormat(f);
        b.SetSize(13, 5);
        if (f <= pf8bit) {
            std::vector<TRGBQuad> pal(size_t(1) << BitsPerPixel(f));
            for (size_t i = 0; i < pal.size(); ++i)
                pal[i] = {uint8_t(i * 3), uint8_t(i), uint8_t(255 - i), 0};
            b.SetPalette(pal);
        }
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 13; ++x)
                b.SetPixel(x, y, f <= pf8bit ? b.Palette()[size_t(x + y) % b.Palette().size()].rgbRed
                                                       | b.Palette()[size_t(x + y) % b.Palette().size()].rgbGreen << 8
                                                       | b.Palette()[size_t(x + y) % b.Palette().size()].rgbBlue << 16
                                             : RGB(x * 19, y * 40, x + y));
        if (f == pf32bit)
            b.ScanLine(2)[7] = 0x44;
        TBitmap r = Load(SaveBmpToString(b));
        ASSERT_EQ(r.PixelFormat(), f);
        ASSERT_EQ(r.Width(), 13);
        ASSERT_EQ(r.Height(), 5);
        EXPECT_EQ(r.Palette(), b.Palette());
        for (int y = 0; y < 5; ++y)
            EXPECT_EQ(0, memcmp(r.ScanLine(y), b.ScanLine(y), b.BytesPerScanline())) << "row " << y;
    }
}

TEST(BmpFile, RowOrdersAndBitFields)
{
    const std::vector<uint32_t> px = {0x00112233, 0x00445566, 0x00778899, 0x00AABBCC};
    struct Case {
        const char* what;
        std::string file;
        TColor topLeft, bottomRight;
        int alphaTopLeft;
    } cases[] = {
        {"bottom-up", File32(2, 40, 0, {}, px), 0x998877, 0x665544, 0},
        {"top-down", File32(-2, 40, 0, {}, px), 0x332211, 0xCCBBAA, 0},
        // Masks swap red and blue: red is the low byte.
        {"bit fields after the header", File32(-2, 40, 3, {0xFF, 0xFF00, 0xFF0000}, px), 0x112233, 0xAABBCC, 255},
        {"bit fields in a large header", File32(-2, 124, 3, {0xFF0000, 0xFF00, 0xFF, 0xFF000000},
                                                {0x80112233, 0, 0, 0x00AABBCC}),
         0x332211, 0xCCBBAA, 0x80},
        {"narrow fields scale to 8 bits", File32(-2, 56, 3, {0x7C00, 0x3E0, 0x1F, 0}, {0x7FFF, 0, 0, 0x0010}),
         0xFFFFFF, 0x840000, 255},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TBitmap b = Load(c.file);
        EXPECT_EQ(b.PixelFormat(), pf32bit);
        EXPECT_EQ(b.Pixel(0, 0), c.topLeft);
        EXPECT_EQ(b.Pixel(1, 1), c.bottomRight);
        EXPECT_EQ(b.Alpha(0, 0), c.alphaTopLeft);
    }
}

TEST(BmpFile, RefusesBrokenFiles)
{
    const std::string good = File32(2, 40, 0, {}, {1, 2, 3, 4});
    auto patched = [&](size_t at, uint32_t v) {
        std::string s = good;
        for (int i = 0; i < 4; ++i)
            s[at + i] = char(v >> (8 * i));
        return s;
    };
    auto patched16 = [&](size_t at, uint16_t v) {
        std::string s = good;
        s[at] = char(v), s[at + 1] = char(v >> 8);
        return s;
    };
    TBitmap pal;
    pal.SetPixelFormat(pf8bit);
    pal.SetSize(2, 2);
    std::string palFile = SaveBmpToString(pal);
    std::string palFields = palFile;
    palFields[14 + 16] = 3;
    std::string tooManyColours = palFile;
    tooManyColours[14 + 32] = 0;
    tooManyColours[14 + 33] = 2; // 512 entries
    struct Case {
        const char* what;
        std::string file;
    } cases[] = {
        {"empty", ""},
        {"no signature", "XX" + good.substr(2)},
        {"truncated pixels", good.substr(0, good.size() - 1)},
        {"truncated header", good.substr(0, 30)},
        {"header size too small", patched(14, 12)},
        {"header size beyond the file", patched(14, 5000)},
        {"zero width", patched(18, 0)},
        {"negative width", patched(18, uint32_t(-3))},
        {"zero height", patched(22, 0)},
        {"huge height", patched(22, 0x7FFFFFFF)},
        {"most negative height", patched(22, 0x80000000)},
        {"huge width", patched(18, 70000)},
        {"16 bits", patched16(28, 16)},
        {"run-length compression", patched(30, 1)},
        {"bit fields on 8 bits", palFields},
        {"pixel offset beyond the file", patched(10, 0xFFFFFFF0)},
        {"palette larger than the bits allow", tooManyColours},
        {"palette beyond the file", palFile.substr(0, 14 + 40 + 100)},
        {"split bit field", File32(2, 40, 3, {0xF0F, 0xF000, 0xFF0000}, {1, 2, 3, 4})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TBitmap b;
        b.SetSize(3, 3);
        TByteStream s(c.file);
        EXPECT_THROW(LoadBmpFromStream(s, b), std::exception);
        EXPECT_EQ(b.Width(), 3); // left as it was
    }
}
