#include "skin/acPNG.h"

#include "PngBuilder.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <zlib.h>

using namespace pngtest;

namespace {

// When TARKU_PNG_SEEDS names a folder, every picture a test decodes is
// written there as a seed for the fuzz target.
void SaveSeed(const std::string& bytes)
{
    const char* dir = std::getenv("TARKU_PNG_SEEDS");
    if (!dir)
        return;
    static int n = 0;
    std::ofstream(std::string(dir) + "/seed" + std::to_string(n++) + ".png", std::ios::binary) << bytes;
}

void Load(TPNGGraphic& g, const std::string& bytes)
{
    SaveSeed(bytes);
    TByteStream stream(bytes);
    g.LoadFromStream(stream);
}

// The message of the exception that loading raises, "" when none.
std::string LoadError(const std::string& bytes)
{
    TPNGGraphic g;
    try {
        Load(g, bytes);
    } catch (const std::exception& e) {
        return e.what();
    }
    return "";
}

uint16_t Pattern(uint32_t x, uint32_t y, int s, int depth)
{
    const uint32_t v = x * 7 + y * 13 + uint32_t(s) * 5 + x * y * 3;
    return depth == 16 ? uint16_t(v * 2731 + uint32_t(s) * 977) : uint16_t(v & ((1u << depth) - 1));
}

int To8(uint32_t v, int depth) { return depth == 16 ? int(v * 255 / 65535) : int(v * 255 / ((1u << depth) - 1)); }

const std::vector<TRGBQuad> kPalette = [] {
    std::vector<TRGBQuad> p(256);
    for (int i = 0; i < 256; ++i)
        p[size_t(i)] = TRGBQuad{uint8_t(i * 3), uint8_t(255 - i), uint8_t(i * 7), 0};
    return p;
}();

std::string PaletteChunk(int entries)
{
    std::string data;
    for (int i = 0; i < entries; ++i)
        data += {char(kPalette[size_t(i)].rgbRed), char(kPalette[size_t(i)].rgbGreen),
                 char(kPalette[size_t(i)].rgbBlue)};
    return Chunk("PLTE", data);
}

// The colour (and alpha) a decoded pixel must have.
TColor ExpectedColor(const Image& img, uint32_t x, uint32_t y)
{
    const int d = img.depth;
    switch (img.colorType) {
    case 0:
    case 4: {
        int v = To8(img.at(x, y, 0), d);
        return RGB(v, v, v);
    }
    case 3: {
        const TRGBQuad& q = kPalette[img.at(x, y, 0)];
        return RGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
    }
    default: return RGB(To8(img.at(x, y, 0), d), To8(img.at(x, y, 1), d), To8(img.at(x, y, 2), d));
    }
}

struct FormatCase {
    int colorType, depth;
    TPixelFormat format;
};

const FormatCase kFormats[] = {
    {0, 1, pf1bit}, {0, 2, pf4bit}, {0, 4, pf4bit}, {0, 8, pf8bit}, {0, 16, pf8bit},
    {2, 8, pf24bit}, {2, 16, pf24bit},
    {3, 1, pf1bit}, {3, 2, pf4bit}, {3, 4, pf4bit}, {3, 8, pf8bit},
    {4, 8, pf8bit}, {4, 16, pf8bit},
    {6, 8, pf32bit}, {6, 16, pf32bit},
};

} // namespace

TEST(PNGReader, EveryColourTypeDepthInterlaceAndFilterDecodesToItsPixels)
{
    for (const FormatCase& fc : kFormats)
        for (int interlace = 0; interlace <= 1; ++interlace)
            for (int filter = 0; filter <= 5; ++filter)
                for (auto [w, h] : {std::pair<uint32_t, uint32_t>{13, 11}, {1, 9}, {9, 1}}) {
                    SCOPED_TRACE(testing::Message() << "type " << fc.colorType << " depth " << fc.depth << " interlace "
                                                    << interlace << " filter " << filter << " " << w << "x" << h);
                    Image img = MakeImage(w, h, fc.depth, fc.colorType, interlace, filter,
                                          [&](uint32_t x, uint32_t y, int s) { return Pattern(x, y, s, fc.depth); });
                    const std::string before = fc.colorType == 3 ? PaletteChunk(1 << fc.depth) : "";
                    TPNGGraphic g;
                    // Small IDAT chunks make rows cross chunk boundaries.
                    ASSERT_NO_THROW(Load(g, File(img, before, "", 7)));
                    ASSERT_EQ(g.Width(), int(w));
                    ASSERT_EQ(g.Height(), int(h));
                    ASSERT_EQ(g.PixelFormat(), fc.format);
                    EXPECT_FALSE(g.Transparent());
                    for (uint32_t y = 0; y < h; ++y)
                        for (uint32_t x = 0; x < w; ++x) {
                            ASSERT_EQ(g.Pixel(int(x), int(y)), ExpectedColor(img, x, y)) << x << "," << y;
                            if (fc.colorType == 6) {
                                ASSERT_EQ(g.Alpha(int(x), int(y)), To8(img.at(x, y, 3), fc.depth));
                            }
                        }
                }
}

TEST(PNGReader, GreyPicturesGetGreyPalettesOfTheTargetDepth)
{
    // 2-bit grey becomes 4-bit indices 0, 5, 10, 15 of a 16-level palette.
    Image img = MakeImage(4, 1, 2, 0, 0, 0, [](uint32_t x, uint32_t, int) { return uint16_t(x); });
    TPNGGraphic g;
    Load(g, File(img));
    ASSERT_EQ(g.PixelFormat(), pf4bit);
    ASSERT_EQ(g.Palette().size(), 16u);
    const uint8_t* row = g.ScanLine(0);
    EXPECT_EQ(row[0], 0x05);
    EXPECT_EQ(row[1], 0xAF);
    EXPECT_EQ(g.Palette()[5].rgbRed, 85);
    // A 16-bit picture keeps 8 bits per sample.
    Image wide = MakeImage(2, 1, 16, 2, 0, 0, [](uint32_t x, uint32_t, int s) { return uint16_t(x ? 0xFFFF : 0x8000 + s); });
    Load(g, File(wide));
    EXPECT_EQ(g.PixelFormat(), pf24bit);
    EXPECT_EQ(g.Pixel(0, 0), RGB(0x8000 * 255 / 65535, 0x8001 * 255 / 65535, 0x8002 * 255 / 65535));
    EXPECT_EQ(g.Pixel(1, 0), RGB(255, 255, 255));
}

TEST(PNGReader, GreyWithAlphaDropsTheAlphaAndReadsWholeRows)
{
    // Two samples per pixel: a row of 3 pixels holds 6 bytes, and the grey
    // values come from every other byte.
    Image img = MakeImage(3, 2, 8, 4, 0, 4, [](uint32_t x, uint32_t y, int s) {
        return uint16_t(s ? 7 : 40 * x + 100 * y);
    });
    TPNGGraphic g;
    Load(g, File(img));
    ASSERT_EQ(g.PixelFormat(), pf8bit);
    EXPECT_EQ(g.Pixel(2, 1), RGB(180, 180, 180));
    EXPECT_EQ(g.Alpha(2, 1), 255);
    EXPECT_TRUE(g.ImageProperties().HasAlpha);
    EXPECT_EQ(g.ImageProperties().SamplesPerPixel, 2);
}

TEST(PNGReader, GammaIsAppliedOnceAndOnlyForThePictureThatAsksForIt)
{
    auto mid = [](int colorType) {
        return MakeImage(2, 1, 8, colorType, 0, 0, [](uint32_t, uint32_t, int) { return uint16_t(128); });
    };
    const int bright = int(std::lround(std::pow(128 / 255.0, 1 / 2.2) * 255));
    struct Case {
        int colorType;
        uint32_t gamma;
        int expected;
    } cases[] = {{2, 100000, bright}, {0, 100000, bright}, {4, 100000, bright}, {6, 100000, bright},
                 {2, 45455, 128},     {0, 45455, 128}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << c.colorType << " gamma " << c.gamma);
        TPNGGraphic g;
        // A small picture first leaves a 4-bit target behind in the converter.
        Load(g, File(MakeImage(4, 1, 2, 0, 0, 0, [](uint32_t x, uint32_t, int) { return uint16_t(x); })));
        Load(g, File(mid(c.colorType), Chunk("gAMA", Be32(c.gamma))));
        EXPECT_EQ(GetGValue(g.Pixel(1, 0)), c.expected);
        EXPECT_EQ(g.ImageProperties().Options & 2, 2u);
        EXPECT_NEAR(g.ImageProperties().FileGamma, c.gamma / 100000.0, 1e-9);
        Load(g, File(mid(c.colorType)));
        EXPECT_EQ(GetGValue(g.Pixel(1, 0)), 128);
        EXPECT_EQ(g.ImageProperties().Options & 2, 0u);
    }
    // Palettes of grey and palette pictures pass through the table over
    // their whole 0..255 range.
    TPNGGraphic g;
    Load(g, File(MakeImage(4, 1, 2, 0, 0, 0, [](uint32_t x, uint32_t, int) { return uint16_t(x); }),
                 Chunk("gAMA", Be32(100000))));
    EXPECT_EQ(g.Pixel(3, 0), RGB(255, 255, 255));
    EXPECT_EQ(GetRValue(g.Pixel(1, 0)), int(std::lround(std::pow(85 / 255.0, 1 / 2.2) * 255)));
    Load(g, File(MakeImage(2, 1, 8, 3, 0, 0, [](uint32_t x, uint32_t, int) { return uint16_t(x); }),
                 Chunk("gAMA", Be32(100000)) + Chunk("PLTE", std::string("\x80\x80\x80\xFF\xFF\xFF", 6))));
    EXPECT_EQ(g.Pixel(0, 0), RGB(bright, bright, bright));
    // A short gAMA chunk is ignored.
    Load(g, File(mid(2), Chunk("gAMA", std::string("\x00\x01", 2))));
    EXPECT_EQ(GetGValue(g.Pixel(0, 0)), 128);
}

TEST(PNGReader, BackgroundFillsRowsThatReceiveNoData)
{
    // The compressed data of a 4-row picture breaks off after two rows: no
    // error, and the rest shows the bKGD colour. Stored (level 0) blocks put
    // the break exactly between rows.
    auto truncated = [](const Image& img, const std::string& before) {
        const std::string raw = RawData(img);
        const std::string cut = Compress(raw, 0).substr(0, 2 + 5 + raw.size() / 2);
        return kSignature + Chunk("IHDR", IHDR(img.width, img.height, img.depth, img.colorType)) + before
               + IDATs(cut) + Chunk("IEND", "");
    };
    Image rgb = MakeImage(3, 4, 8, 2, 0, 1, [](uint32_t, uint32_t, int) { return uint16_t(9); });
    TPNGGraphic g;
    ASSERT_NO_THROW(Load(g, truncated(rgb, Chunk("bKGD", Be16(0x110) + Be16(0x22) + Be16(0x33)))));
    EXPECT_EQ(g.Pixel(0, 0), RGB(9, 9, 9));
    EXPECT_EQ(g.Pixel(2, 3), RGB(0x10, 0x22, 0x33));
    // Without bKGD the background is white; a short bKGD is ignored.
    Load(g, truncated(rgb, Chunk("bKGD", Be16(1))));
    EXPECT_EQ(g.Pixel(2, 3), RGB(255, 255, 255));
    Image rgb16 = MakeImage(3, 4, 16, 2, 0, 0, [](uint32_t, uint32_t, int) { return uint16_t(0); });
    Load(g, truncated(rgb16, Chunk("bKGD", Be16(0xFFFF) + Be16(0x8080) + Be16(0))));
    EXPECT_EQ(g.Pixel(2, 3), RGB(255, 0x8080 * 255 / 65535, 0));
    // Grey and palette pictures take their background by index.
    Image grey = MakeImage(3, 4, 2, 0, 0, 0, [](uint32_t, uint32_t, int) { return uint16_t(0); });
    Load(g, truncated(grey, Chunk("bKGD", Be16(2))));
    EXPECT_EQ(g.Pixel(2, 3), RGB(170, 170, 170));
    Image pal = MakeImage(3, 4, 8, 3, 0, 0, [](uint32_t, uint32_t, int) { return uint16_t(1); });
    Load(g, truncated(pal, PaletteChunk(4) + Chunk("bKGD", std::string(1, '\x03'))));
    EXPECT_EQ(g.Pixel(2, 3), ExpectedColor(MakeImage(1, 1, 8, 3, 0, 0, [](uint32_t, uint32_t, int) { return uint16_t(3); }), 0, 0));
}

TEST(PNGReader, TransparencyBecomesTheBitmapsKeyColour)
{
    struct Case {
        const char* name;
        int colorType, depth;
        std::string trns;
        bool transparent;
        TColor key;
    } cases[] = {
        {"grey 8", 0, 8, Be16(0x40), true, RGB(0x40, 0x40, 0x40)},
        {"grey 8 beyond range", 0, 8, Be16(0x140), false, 0},
        {"grey 16", 0, 16, Be16(0xFFFF), true, RGB(255, 255, 255)},
        {"grey 2", 0, 2, Be16(2), true, RGB(170, 170, 170)},
        {"grey 1 beyond range", 0, 1, Be16(2), false, 0},
        {"grey short", 0, 8, std::string(1, '\x40'), false, 0},
        {"rgb 8", 2, 8, Be16(1) + Be16(2) + Be16(3), true, RGB(1, 2, 3)},
        {"rgb 16", 2, 16, Be16(0xFFFF) + Be16(0) + Be16(0xFFFF), true, RGB(255, 0, 255)},
        {"rgb short", 2, 8, Be16(1) + Be16(2), false, 0},
        {"palette", 3, 8, std::string("\x00\x80", 2), false, 0},
        {"grey alpha", 4, 8, Be16(1), false, 0},
        {"rgba", 6, 8, Be16(1) + Be16(2) + Be16(3), false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Image img = MakeImage(2, 2, c.depth, c.colorType, 0, 0, [](uint32_t, uint32_t, int) { return uint16_t(0); });
        TPNGGraphic g;
        Load(g, File(img, (c.colorType == 3 ? PaletteChunk(2) : "") + Chunk("tRNS", c.trns)));
        EXPECT_EQ(g.Transparent(), c.transparent);
        if (c.transparent) {
            EXPECT_EQ(g.TransparentColor(), c.key);
        }
        EXPECT_EQ(g.Pixel(0, 0), ExpectedColor(img, 0, 0));
    }
}

TEST(PNGReader, EveryErrorHasItsMessage)
{
    const Image rgb = MakeImage(2, 2, 8, 2, 0, 0, [](uint32_t x, uint32_t y, int s) { return uint16_t(x + y + s); });
    const std::string ihdr = Chunk("IHDR", IHDR(2, 2, 8, 2));
    const std::string data = IDATs(Compress(RawData(rgb)));
    const std::string iend = Chunk("IEND", "");
    const std::string invalid = "Cannot load image. Invalid or unexpected PNG image format.";
    const std::string crc = "Cannot load image. CRC error found in PNG file.";
    const std::string critical = "Cannot load PNG image. Unexpected but critical chunk detected.";
    const std::string colour = "Invalid color format in PNG file.";
    std::string garbage = Compress(RawData(rgb));
    garbage[3] = char(0xFF);
    garbage[4] = char(0xFF);
    auto withHeader = [&](const std::string& header) { return kSignature + Chunk("IHDR", header) + data + iend; };
    struct Case {
        const char* name;
        std::string file;
        std::string message;
    } cases[] = {
        {"good", kSignature + ihdr + data + iend, ""},
        {"no signature", "\x89PNX\r\n\x1A\n" + ihdr + data + iend, invalid},
        {"empty stream", "", "Stream read error"},
        {"first chunk not IHDR", kSignature + Chunk("gAMA", Be32(1)) + ihdr + data + iend, invalid},
        {"width 0", withHeader(IHDR(0, 2, 8, 2)), invalid},
        {"height 0", withHeader(IHDR(2, 0, 8, 2)), invalid},
        {"width too large", withHeader(IHDR(0x7FFFFFFF, 1, 8, 2)), invalid},
        {"width above 2^31", withHeader(IHDR(0x80000001, 1, 8, 2)), invalid},
        {"area too large", withHeader(IHDR(60000, 60000, 8, 6)), invalid},
        {"short IHDR", kSignature + Chunk("IHDR", IHDR(2, 2, 8, 2).substr(0, 12)) + data + iend, invalid},
        {"interlace 2", withHeader(IHDR(2, 2, 8, 2, 2)), invalid},
        {"filter method 1", withHeader(IHDR(2, 2, 8, 2, 0, 0, 1)), invalid},
        {"compression 1", withHeader(IHDR(2, 2, 8, 2, 0, 1)),
         "Cannot load image. The compression scheme is not supported for PNG files."},
        {"colour type 5", withHeader(IHDR(2, 2, 8, 5)), colour},
        {"rgb depth 4", withHeader(IHDR(2, 2, 4, 2)), colour},
        {"grey depth 3", withHeader(IHDR(2, 2, 3, 0)), colour},
        {"palette depth 16", kSignature + Chunk("IHDR", IHDR(2, 2, 16, 3)) + PaletteChunk(2) + data + iend, colour},
        {"PLTE length 7", kSignature + ihdr + Chunk("PLTE", std::string(7, 'a')) + data + iend,
         "Cannot load image. Palette in PNG file is invalid."},
        {"unknown critical chunk", kSignature + ihdr + Chunk("ABCD", "x") + data + iend, critical},
        {"critical chunk after the data", kSignature + ihdr + data + Chunk("PLTE", "abc") + iend, critical},
        {"IDAT after the run", kSignature + ihdr + data + Chunk("tEXt", "a") + Chunk("IDAT", "") + iend, critical},
        {"IHDR CRC", kSignature + Chunk("IHDR", IHDR(2, 2, 8, 2), 1) + data + iend, crc},
        {"PLTE CRC", kSignature + ihdr + Chunk("PLTE", "abc", 1) + data + iend, crc},
        {"IDAT CRC", kSignature + ihdr + Chunk("IDAT", Compress(RawData(rgb)), 1) + iend, crc},
        {"gAMA CRC", kSignature + ihdr + Chunk("gAMA", Be32(45455), 1) + data + iend, crc},
        {"bKGD CRC", kSignature + ihdr + Chunk("bKGD", Be16(1) + Be16(1) + Be16(1), 1) + data + iend, crc},
        {"tRNS CRC", kSignature + ihdr + Chunk("tRNS", Be16(1) + Be16(1) + Be16(1), 1) + data + iend, crc},
        {"inflate error", kSignature + ihdr + Chunk("IDAT", garbage) + iend,
         "Cannot load image. Compression error found in PNG file."},
        {"stream ends inside the picture", kSignature + ihdr + Chunk("IDAT", Compress(RawData(rgb).substr(0, 5))) + iend,
         "Cannot load image. Extra compressed data found in PNG file."},
        {"bytes after the stream", kSignature + ihdr + Chunk("IDAT", Compress(RawData(rgb)) + "zz") + iend,
         "Cannot load image. Extra compressed data found in PNG file."},
        {"no IDAT", kSignature + ihdr + iend, invalid},
        {"palette picture without PLTE", kSignature + Chunk("IHDR", IHDR(2, 2, 8, 3)) + data + iend, invalid},
        {"palette picture with empty PLTE", kSignature + Chunk("IHDR", IHDR(2, 2, 8, 3)) + Chunk("PLTE", "") + data + iend,
         invalid},
        {"chunk length above 2^31", kSignature + ihdr + Be32(0x80000000) + "tEXt" + data + iend, invalid},
        {"chunk longer than the file", kSignature + ihdr + Be32(0x7FFFFFF0) + "gAMA" + data + iend,
         "Stream read error"},
        {"no IEND", kSignature + ihdr + data, "Stream read error"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LoadError(c.file), c.message) << c.name;
}

TEST(PNGReader, ChunkRulesOfTheReader)
{
    const Image rgb = MakeImage(3, 3, 8, 2, 0, 2, [](uint32_t x, uint32_t y, int s) { return uint16_t(x * y + s); });
    std::string lower = File(rgb);
    // Lower-case chunk types count as their upper-case names: the CRC
    // covers the type as written.
    const std::string compressed = Compress(RawData(rgb));
    lower = kSignature + Chunk("ihdr", IHDR(3, 3, 8, 2)) + Chunk("idat", compressed) + Chunk("iend", "");
    TPNGGraphic g;
    ASSERT_NO_THROW(Load(g, lower));
    EXPECT_EQ(g.Pixel(2, 2), ExpectedColor(rgb, 2, 2));
    // A skipped ancillary chunk with a bad CRC, a PLTE in an RGB picture,
    // an empty IDAT at the end of the run and an unknown ancillary chunk
    // after it all load.
    const std::string file = kSignature + Chunk("IHDR", IHDR(3, 3, 8, 2)) + Chunk("tEXt", "k\0v", 5)
                             + Chunk("PLTE", "\1\2\3") + Chunk("IDAT", compressed) + Chunk("IDAT", "")
                             + Chunk("zzZz", "q") + Chunk("IEND", "");
    ASSERT_NO_THROW(Load(g, file));
    EXPECT_EQ(g.PixelFormat(), pf24bit);
    EXPECT_EQ(g.Pixel(1, 2), ExpectedColor(rgb, 1, 2));
    // A picture that starts inside a larger stream.
    std::string padded = "JUNK" + File(rgb);
    TByteStream stream(padded);
    stream.SetPosition(4);
    ASSERT_NO_THROW(g.LoadFromStream(stream));
    EXPECT_EQ(g.Pixel(2, 1), ExpectedColor(rgb, 2, 1));
}

TEST(PNGReader, InterlacedPictureOneColumnWide)
{
    Image img = MakeImage(1, 8, 8, 0, 1, 5, [](uint32_t, uint32_t y, int) { return uint16_t(y * 30); });
    TPNGGraphic g;
    Load(g, File(img));
    for (int y = 0; y < 8; ++y)
        EXPECT_EQ(g.Pixel(0, y), RGB(y * 30, y * 30, y * 30));
}

TEST(PNGReader, TransparencyKeyFollowsTheGammaOfThePixels)
{
    // Pixel 0 holds the key's samples, pixel 1 others; with gAMA the key
    // must still pick pixel 0 and only pixel 0.
    struct Case {
        const char* name;
        int colorType, depth;
        uint16_t keySample, otherSample;
        std::string trns;
    } cases[] = {
        {"rgb 8", 2, 8, 0x40, 0x60, Be16(0x40) + Be16(0x40) + Be16(0x40)},
        {"rgb 16", 2, 16, 0x4000, 0x6000, Be16(0x4000) + Be16(0x4000) + Be16(0x4000)},
        {"grey 8", 0, 8, 0x40, 0x60, Be16(0x40)},
        {"grey 2", 0, 2, 1, 2, Be16(1)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Image img = MakeImage(2, 1, c.depth, c.colorType, 0, 0,
                              [&](uint32_t x, uint32_t, int) { return x == 0 ? c.keySample : c.otherSample; });
        TPNGGraphic g;
        Load(g, File(img, Chunk("gAMA", Be32(100000)) + Chunk("tRNS", c.trns)));
        ASSERT_TRUE(g.Transparent());
        EXPECT_EQ(g.TransparentColor(), g.Pixel(0, 0));
        EXPECT_NE(g.TransparentColor(), g.Pixel(1, 0));
    }
}

TEST(PNGReader, ProgressPercentagesAreRounded)
{
    Image img = MakeImage(1, 3, 8, 2, 0, 0, [](uint32_t, uint32_t, int) { return uint16_t(1); });
    TPNGGraphic g;
    std::vector<int> percents;
    g.OnProgress = [&](TProgressStage stage, int percent, bool, const TRect&, const std::string&) {
        if (stage == psRunning)
            percents.push_back(percent);
    };
    Load(g, File(img));
    EXPECT_EQ(percents, (std::vector<int>{0, 33, 67}));
}

TEST(PNGReader, ProgressEventsAndPropertiesAreReported)
{
    Image img = MakeImage(4, 4, 8, 6, 0, 0, [](uint32_t, uint32_t, int) { return uint16_t(1); });
    TPNGGraphic g;
    std::vector<std::string> messages;
    std::vector<int> percents;
    int endings = 0;
    g.OnProgress = [&](TProgressStage stage, int percent, bool, const TRect&, const std::string& message) {
        if (stage == psStarting)
            messages.push_back(message);
        else if (stage == psRunning)
            percents.push_back(percent);
        else
            ++endings;
    };
    Load(g, File(img));
    EXPECT_EQ(messages, (std::vector<std::string>{"Preparing...", "Transfering..."}));
    EXPECT_EQ(percents, (std::vector<int>{0, 25, 50, 75}));
    EXPECT_EQ(endings, 2);
    const TPNGImageProperties& p = g.ImageProperties();
    EXPECT_EQ(p.Width, 4u);
    EXPECT_EQ(p.BitsPerPixel, 32);
    EXPECT_TRUE(p.HasAlpha);
    EXPECT_EQ(p.Compression, 2);
    EXPECT_EQ(p.Options & 1, 1u);

    TPNGGraphic copy;
    copy.Assign(g);
    EXPECT_EQ(copy.ImageProperties().BitsPerPixel, 32);
    EXPECT_EQ(copy.Pixel(3, 3), g.Pixel(3, 3));
}

TEST(PNGReader, CRCMatchesTheStandard)
{
    std::string bytes;
    for (int i = 0; i < 300; ++i)
        bytes += char(i * 37);
    for (size_t n : {size_t(0), size_t(1), size_t(7), size_t(8), size_t(9), size_t(300)}) {
        const uint32_t expected = uint32_t(crc32(0, reinterpret_cast<const Bytef*>(bytes.data()), uInt(n)));
        EXPECT_EQ(UpdateCRC(0, bytes.data(), n), expected) << n;
        // Continuing a CRC over a second part gives the CRC of the whole.
        EXPECT_EQ(UpdateCRC(UpdateCRC(0, bytes.data(), n / 2), bytes.data() + n / 2, n - n / 2), expected);
    }
    EXPECT_EQ(UpdateCRC(0x1234, nullptr, 5), 0u);
}

TEST(PNGReader, RegistersForPngFilesOnceAndUnregisters)
{
    EXPECT_EQ(CreateGraphicForFile("a.png"), nullptr);
    acPNGInitialization();
    acPNGInitialization();
    auto graphic = CreateGraphicForFile("Calculators\\Pictures\\chip.PNG");
    EXPECT_NE(dynamic_cast<TPNGGraphic*>(graphic.get()), nullptr);
    EXPECT_EQ(CreateGraphicForFile("chip.bmp"), nullptr);
    EXPECT_EQ(CreateGraphicForFile("png"), nullptr);
    acPNGFinalization();
    EXPECT_NE(CreateGraphicForFile("a.png"), nullptr);
    acPNGFinalization();
    EXPECT_EQ(CreateGraphicForFile("a.png"), nullptr);
}

TEST(PNGReader, ClearTransparentWhiteTouchesOnlyInvisibleWhite)
{
    TBitmap b;
    b.SetPixelFormat(pf32bit);
    b.SetSize(2, 1);
    uint8_t* p = b.ScanLine(0);
    const uint8_t pixels[8] = {0xFF, 0xFF, 0xFF, 0x00, 0xFF, 0xFF, 0xFF, 0x01};
    std::copy(pixels, pixels + 8, p);
    ClearTransparentWhite(b);
    EXPECT_EQ(std::vector<uint8_t>(p, p + 8), (std::vector<uint8_t>{0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 1}));
    TBitmap rgb;
    rgb.SetPixelFormat(pf24bit);
    rgb.SetSize(1, 1);
    rgb.SetPixel(0, 0, clWhite);
    ClearTransparentWhite(rgb);
    EXPECT_EQ(rgb.Pixel(0, 0), clWhite);
}

TEST(PNGReader, DrawBlendsThroughAlphaAndStretches)
{
    Image img = MakeImage(2, 2, 8, 6, 0, 0, [](uint32_t x, uint32_t, int s) {
        return uint16_t(s == 3 ? (x ? 255 : 0) : s == 0 ? 200 : 0);
    });
    TPNGGraphic g;
    Load(g, File(img));
    TBitmap canvas;
    canvas.SetPixelFormat(pf24bit);
    canvas.SetSize(6, 2);
    canvas.FillRect(TRect{0, 0, 6, 2}, RGB(0, 0, 100));
    g.Draw(canvas, TRect{0, 0, 2, 2});
    EXPECT_EQ(canvas.Pixel(0, 0), RGB(0, 0, 100)); // alpha 0 leaves the canvas
    EXPECT_EQ(canvas.Pixel(1, 1), RGB(200, 0, 0)); // alpha 255 covers it
    // Shrunk to one pixel: half covered.
    g.Draw(canvas, TRect{2, 0, 3, 1});
    EXPECT_EQ(canvas.Pixel(2, 0), RGB(200 * 127 / 255, 0, 100 * 128 / 255));
    // Enlarged: each source pixel covers two columns.
    g.Draw(canvas, TRect{2, 0, 6, 2});
    EXPECT_EQ(canvas.Pixel(3, 1), RGB(0, 0, 100));
    EXPECT_EQ(canvas.Pixel(4, 1), RGB(200, 0, 0));
}

TEST(PNGReader, IconMaskFromAlphaOrFromTheTopLeftColour)
{
    // An RGB picture: the pixels of the top-left colour become transparent.
    Image rgb = MakeImage(3, 1, 8, 2, 0, 0, [](uint32_t x, uint32_t, int) { return uint16_t(x == 1 ? 20 : 10); });
    TPNGGraphic g;
    Load(g, File(rgb));
    TIconBitmaps icon = g.CreateIconFromImage(false);
    EXPECT_EQ(icon.Image.PixelFormat(), pf32bit);
    EXPECT_EQ(icon.Image.Pixel(1, 0), RGB(20, 20, 20));
    ASSERT_EQ(icon.Mask.PixelFormat(), pf1bit);
    EXPECT_EQ(icon.Mask.Pixel(0, 0), clWhite);
    EXPECT_EQ(icon.Mask.Pixel(1, 0), clBlack);
    EXPECT_EQ(icon.Mask.Pixel(2, 0), clWhite);
    // An RGBA picture keeps its alpha and an opaque mask, unless the key
    // colour is forced; the key then compares alpha too.
    Image rgba = MakeImage(3, 1, 8, 6, 0, 0, [](uint32_t x, uint32_t, int s) {
        return uint16_t(s == 3 ? (x == 2 ? 200 : 100) : 10);
    });
    Load(g, File(rgba));
    icon = g.CreateIconFromImage(false);
    EXPECT_EQ(icon.Image.Alpha(2, 0), 200);
    EXPECT_EQ(icon.Mask.Pixel(0, 0), clBlack);
    icon = g.CreateIconFromImage(true);
    EXPECT_EQ(icon.Mask.Pixel(0, 0), clWhite);
    EXPECT_EQ(icon.Mask.Pixel(1, 0), clWhite);
    EXPECT_EQ(icon.Mask.Pixel(2, 0), clBlack);
}
