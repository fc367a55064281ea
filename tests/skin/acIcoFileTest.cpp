#include "skin/acIcoFile.h"

#include "IcoBuilder.h"
#include "PngBuilder.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using icotest::Dib;
using icotest::File;

TIconBitmaps Load(const std::string& file, int width = 16, int height = 16)
{
    TByteStream stream(file);
    return LoadIconFromStream(stream, width, height);
}

bool NoPixelClear(int, int) { return false; }

// 4 x 3 with a see-through left column; colour values tell the pixel.
icotest::Picture Masked(int bits, bool withMask = true)
{
    const std::vector<uint32_t> palette = bits > 8 ? std::vector<uint32_t>{}
                                                   : std::vector<uint32_t>{0x000000, 0x0000FF, 0x00FF00};
    return Dib(
        4, 3, bits, [bits](int x, int y) -> uint32_t { return bits > 8 ? 0x102030u + uint32_t(x) : uint32_t((x + y) % 2 + 1); },
        [](int x, int) { return x == 0; }, palette, withMask);
}

TEST(acIcoFile, PicturesWithoutAlphaTakeItFromTheirMask)
{
    for (int bits : {1, 4, 8, 24, 32}) {
        SCOPED_TRACE(bits);
        const std::vector<uint32_t> palette1 = {0x000000, 0xFF0000};
        const icotest::Picture p = bits == 1 ? Dib(4, 3, 1, [](int x, int) { return uint32_t(x % 2); },
                                                   [](int x, int) { return x == 0; }, palette1)
                                             : Masked(bits);
        const TIconBitmaps icon = Load(File({p}));
        ASSERT_EQ(icon.Image.PixelFormat(), pf32bit);
        ASSERT_EQ(icon.Image.Width(), 4);
        ASSERT_EQ(icon.Image.Height(), 3);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 4; ++x) {
                EXPECT_EQ(icon.Image.Alpha(x, y), x == 0 ? 0 : 255) << x << "," << y;
                EXPECT_EQ(icon.Mask.Index(x, y), x == 0 ? 1 : 0) << x << "," << y;
            }
        // Rows come out top first, whatever order the file keeps them in.
        if (bits >= 24)
            EXPECT_EQ(icon.Image.Pixel(2, 0), RGB(0x10, 0x20, 0x32));
        else if (bits == 1)
            EXPECT_EQ(icon.Image.Pixel(1, 2), RGB(0xFF, 0, 0));
        else
            EXPECT_EQ(icon.Image.Pixel(1, 0), RGB(0, 0xFF, 0)); // (1 + 0) % 2 + 1 = 2
    }
}

TEST(acIcoFile, OwnAlphaIsKept)
{
    const auto alpha = [](int x, int y) { return uint32_t(x * 60 + y) << 24 | 0x4080C0u; };
    const TIconBitmaps icon = Load(File({Dib(4, 2, 32, alpha, NoPixelClear)}));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(icon.Image.Alpha(x, y), x * 60 + y);
    // Without the mask rows a picture with alpha still reads.
    const TIconBitmaps bare = Load(File({Dib(4, 2, 32, alpha, NoPixelClear, {}, false)}));
    EXPECT_EQ(bare.Image.Alpha(3, 1), 181);
    EXPECT_EQ(bare.Mask.Index(0, 0), 1); // alpha 0 is see-through
}

TEST(acIcoFile, NearestSizeWinsThenMostColours)
{
    const auto red = [](int, int) { return 0xFFFF0000u; };
    const auto blue = [](int, int) { return 0xFF0000FFu; };
    const auto green = [](int, int) { return 0x00FF00u; };
    const std::string file = File({Dib(16, 16, 24, green, NoPixelClear), Dib(32, 32, 32, red, NoPixelClear),
                                   Dib(16, 16, 32, blue, NoPixelClear), Dib(48, 48, 32, red, NoPixelClear)});
    const struct {
        int want, width;
        TColor colour;
    } cases[] = {{16, 16, RGB(0, 0, 0xFF)}, {32, 32, RGB(0xFF, 0, 0)}, {20, 16, RGB(0, 0, 0xFF)}, {64, 48, RGB(0xFF, 0, 0)}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.want);
        const TIconBitmaps icon = Load(file, c.want, c.want);
        EXPECT_EQ(icon.Image.Width(), c.width);
        EXPECT_EQ(icon.Image.Pixel(0, 0), c.colour);
    }
}

TEST(acIcoFile, PngPicturesAreDecoded)
{
    const std::string png = pngtest::File(pngtest::MakeImage(
        3, 2, 8, 6, 0, 0, [](uint32_t x, uint32_t, int s) -> uint16_t { return s == 3 ? uint16_t(x * 100) : 200; }));
    const TIconBitmaps icon = Load(File({icotest::Picture{3, 2, 32, png}}));
    EXPECT_EQ(icon.Image.Width(), 3);
    EXPECT_EQ(icon.Image.Alpha(2, 1), 200);
}

std::string WithByte(std::string s, size_t at, char value)
{
    s[at] = value;
    return s;
}

// Every damaged file raises one of the readers' errors; none is read out
// of bounds (the sanitizers watch every case).
void ExpectRefused(const std::string& file)
{
    try {
        Load(file);
        ADD_FAILURE() << "a damaged icon was read";
    } catch (const EInvalidGraphic&) {
    } catch (const EReadError&) {
    } catch (const EGraphicCompression&) {
    }
}

TEST(acIcoFile, DamagedFilesAreRefused)
{
    const std::string good = File({Masked(8)});
    const size_t dib = 6 + 16; // where the picture starts
    const struct {
        const char* what;
        std::string file;
    } cases[] = {
        {"empty", ""},
        {"reserved word set", WithByte(good, 0, 1)},
        {"a cursor file", WithByte(good, 2, 2)},
        {"no pictures", WithByte(good, 4, 0)},
        {"more pictures than bytes", WithByte(good, 5, 0x40)},
        {"picture size past the end", WithByte(good, 6 + 11, 0x10)},
        {"picture offset past the end", WithByte(good, 6 + 15, 0x10)},
        {"picture size zero", WithByte(WithByte(good, 6 + 8, 0), 6 + 9, 0)},
        {"header size too small", WithByte(good, dib, 12)},
        {"header size past the picture", WithByte(good, dib + 1, 0x10)},
        {"odd doubled height", WithByte(good, dib + 8, 5)},
        {"zero width", WithByte(good, dib + 4, 0)},
        {"negative height", WithByte(good, dib + 11, char(0x80))},
        {"16 bits", WithByte(good, dib + 14, 16)},
        {"palette larger than the depth allows", WithByte(good, dib + 33, 1)},
        {"mask rows missing", File({Masked(8, false)})},
        {"mask rows missing from a 24-bit picture", File({Masked(24, false)})},
        {"damaged PNG", File({icotest::Picture{2, 2, 32, std::string("\x89PNG\r\n\x1A\n", 8) + "garbage"}})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ExpectRefused(c.file);
    }
    for (size_t length = 0; length < good.size(); ++length) {
        SCOPED_TRACE(length);
        ExpectRefused(good.substr(0, length));
    }
}

TEST(acIcoFile, RandomDamageNeverReadsOutOfBounds)
{
    const std::string seeds[] = {File({Masked(4), Masked(24)}), File({Masked(32)}),
                                 File({Dib(3, 5, 1, [](int x, int) { return uint32_t(x & 1); }, NoPixelClear,
                                           {0, 0xFFFFFF})})};
    std::mt19937 random(21);
    for (const std::string& seed : seeds)
        for (int round = 0; round < 400; ++round) {
            std::string file = seed;
            const int flips = 1 + int(random() % 4);
            for (int i = 0; i < flips; ++i)
                file[random() % file.size()] = char(random());
            try {
                const TIconBitmaps icon = Load(file);
                EXPECT_EQ(icon.Image.Width(), icon.Mask.Width());
                EXPECT_EQ(icon.Image.Height(), icon.Mask.Height());
            } catch (const std::exception&) {
            }
        }
}

} // namespace
