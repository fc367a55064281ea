#include "skin/acColorManager.h"

#include <gtest/gtest.h>

namespace {

std::string ConversionError(TColorManager& cm)
{
    uint8_t src[16] = {}, dst[16] = {};
    try {
        cm.ConvertScanline({src}, dst, 2);
    } catch (const EColorConversionError& e) {
        return e.what();
    }
    return "";
}

void Configure(TColorManager& cm, TSampleLayout sl, int sd, int ss, TSampleLayout tl, int td, int ts)
{
    cm.SetSourceLayout(sl);
    cm.SetSourceDepth(sd);
    cm.SetSourceSamples(ss);
    cm.SetTargetLayout(tl);
    cm.SetTargetDepth(td);
    cm.SetTargetSamples(ts);
}

} // namespace

TEST(ColorManager, GreyAndIndexedRepacking)
{
    TColorManager cm;
    // 2-bit grey 2 becomes 10 at 4 bits; a 2-bit palette index 2 stays 2.
    Configure(cm, slGrey, 2, 1, slIndexed, 4, 1);
    const uint8_t grey[1] = {0x9C}; // 2, 1, 3, 0
    uint8_t out[2] = {};
    cm.ConvertScanline({grey}, out, 4);
    EXPECT_EQ(out[0], 0xA5);
    EXPECT_EQ(out[1], 0xF0);
    cm.SetSourceLayout(slIndexed);
    cm.ConvertScanline({grey}, out, 4);
    EXPECT_EQ(out[0], 0x21);
    EXPECT_EQ(out[1], 0x30);
    // 16-bit grey to 8 bits takes the grey sample copy (scaled, big-endian).
    Configure(cm, slGrey, 16, 1, slIndexed, 8, 1);
    cm.SetSourceOptions(coNeedByteSwap);
    const uint8_t wide[4] = {0x80, 0x00, 0xFF, 0xFF};
    cm.ConvertScanline({wide}, out, 2);
    EXPECT_EQ(out[0], 0x8000 * 255 / 65535);
    EXPECT_EQ(out[1], 255);
}

TEST(ColorManager, PixelMaskPicksTargetPixels)
{
    TColorManager cm;
    Configure(cm, slGrey, 8, 1, slIndexed, 8, 1);
    const uint8_t src[4] = {1, 2, 3, 4};
    uint8_t out[8] = {9, 9, 9, 9, 9, 9, 9, 9};
    cm.ConvertScanline({src}, out, 8, 0x55);
    EXPECT_EQ(std::vector<uint8_t>(out, out + 8), (std::vector<uint8_t>{9, 1, 9, 2, 9, 3, 9, 4}));
    // The same with packed 1-bit values.
    Configure(cm, slIndexed, 1, 1, slIndexed, 1, 1);
    const uint8_t bits[1] = {0xF0};
    uint8_t packed[1] = {0};
    cm.ConvertScanline({bits}, packed, 8, 0x55);
    EXPECT_EQ(packed[0], 0x55);
}

TEST(ColorManager, ColourConverters)
{
    TColorManager cm;
    uint8_t out[8] = {};
    // RGB to BGR swaps red and blue; alpha goes along when both carry it.
    Configure(cm, slRGBA, 8, 4, slBGRA, 8, 4);
    const uint8_t rgba[4] = {1, 2, 3, 4};
    cm.ConvertScanline({rgba}, out, 1);
    EXPECT_EQ(std::vector<uint8_t>(out, out + 4), (std::vector<uint8_t>{3, 2, 1, 4}));
    // Planar sources: one pointer per sample.
    Configure(cm, slRGB, 8, 3, slRGB, 8, 3);
    const uint8_t r[2] = {10, 11}, g[2] = {20, 21}, b[2] = {30, 31};
    cm.ConvertScanline({r, g, b}, out, 2);
    EXPECT_EQ(std::vector<uint8_t>(out, out + 6), (std::vector<uint8_t>{10, 20, 30, 11, 21, 31}));
    // CMYK: (255 - C)(255 - K) / 255.
    Configure(cm, slCMYK, 8, 4, slRGB, 8, 3);
    const uint8_t cmyk[4] = {0, 255, 128, 0};
    cm.ConvertScanline({cmyk}, out, 1);
    EXPECT_EQ(std::vector<uint8_t>(out, out + 3), (std::vector<uint8_t>{255, 0, 127}));
    // YCbCr grey stays grey.
    Configure(cm, slYCbCr, 8, 3, slBGR, 8, 3);
    const uint8_t ycc[3] = {100, 128, 128};
    cm.ConvertScanline({ycc}, out, 1);
    EXPECT_EQ(std::vector<uint8_t>(out, out + 3), (std::vector<uint8_t>{100, 100, 100}));
    // CIE L*a*b* white.
    Configure(cm, slLab, 8, 3, slRGB, 8, 3);
    const uint8_t lab[3] = {100, 0, 0};
    cm.ConvertScanline({lab}, out, 1);
    EXPECT_NEAR(out[0], 255, 6);
    EXPECT_NEAR(out[1], 255, 6);
    EXPECT_NEAR(out[2], 255, 6);
}

TEST(ColorManager, Errors)
{
    {
        // Indexed depths that do not divide a byte have no converter to or
        // from 16 bits (their values cannot be taken from bit positions).
        TColorManager cm;
        Configure(cm, slIndexed, 3, 1, slIndexed, 16, 1);
        EXPECT_EQ(ConversionError(cm), "Color conversion failed. Could not find a proper method.");
        Configure(cm, slIndexed, 16, 1, slIndexed, 5, 1);
        EXPECT_EQ(ConversionError(cm), "Color conversion failed. Could not find a proper method.");
        Configure(cm, slIndexed, 4, 1, slIndexed, 16, 1);
        EXPECT_EQ(ConversionError(cm), "");
    }
    TColorManager cm;
    Configure(cm, slRGB, 8, 3, slIndexed, 8, 1);
    EXPECT_EQ(ConversionError(cm), "Conversion between indexed and non-indexed pixel formats is not supported.");
    Configure(cm, slCMY, 8, 3, slRGB, 8, 3);
    EXPECT_EQ(ConversionError(cm), "Color conversion failed. Could not find a proper method.");
    Configure(cm, slGreyAlpha, 8, 1, slIndexed, 8, 1);
    EXPECT_EQ(ConversionError(cm), "Sample count per pixel does not correspond to the given color scheme.");
    EXPECT_THROW(cm.SetSourceDepth(0), EColorConversionError);
    EXPECT_THROW(cm.SetTargetDepth(17), EColorConversionError);
    EXPECT_THROW(cm.SetTargetSamples(5), EColorConversionError);
    try {
        cm.SetSourceDepth(0);
    } catch (const EColorConversionError& e) {
        EXPECT_STREQ(e.what(), "Color depth is invalid. Bits per sample must be 1, 2, 4, 8 or 16.");
    }
}

TEST(ColorManager, PalettesFormatsAndGamma)
{
    TColorManager cm;
    Configure(cm, slGrey, 2, 1, slIndexed, 4, 1);
    auto grey = cm.BuildGreyPalette(false);
    ASSERT_EQ(grey.size(), 16u);
    EXPECT_EQ(grey[15].rgbRed, 255);
    EXPECT_EQ(grey[1].rgbGreen, 17);
    EXPECT_EQ(cm.BuildGreyPalette(true)[0].rgbBlue, 255);
    const uint8_t raw[6] = {1, 2, 3, 4, 5, 6};
    auto pal = cm.BuildPalette({raw}, pfInterlaced8Triple, 2, false);
    ASSERT_EQ(pal.size(), 2u);
    EXPECT_EQ(pal[1], (TRGBQuad{6, 5, 4, 0}));
    EXPECT_EQ(cm.BuildPalette({raw}, pfInterlaced8Triple, 1, true)[0], (TRGBQuad{1, 2, 3, 0}));
    cm.SetGammaValues(1.0, 2.2);
    cm.SetTargetOptions(coApplyGamma);
    EXPECT_EQ(cm.BuildPalette({raw}, pfInterlaced8Triple, 1, false)[0].rgbRed, cm.GammaTable()[1]);
    EXPECT_GT(cm.GammaTable()[128], 128);
    cm.SetGammaValues(0, -1); // defaults
    EXPECT_EQ(cm.MainGamma(), 1.0);
    EXPECT_EQ(cm.DisplayGamma(), 2.2);

    struct Case {
        int samples, bits;
        TPixelFormat format;
    } cases[] = {{1, 1, pf1bit}, {1, 2, pf4bit}, {1, 4, pf4bit}, {1, 8, pf8bit}, {1, 16, pf8bit}, {3, 5, pf15bit},
                 {3, 8, pf24bit}, {4, 8, pf32bit}, {4, 4, pfCustom}, {2, 8, pfCustom}};
    for (const Case& c : cases) {
        cm.SetTargetSamples(c.samples);
        cm.SetTargetDepth(c.bits);
        EXPECT_EQ(cm.TargetPixelFormat(), c.format) << c.samples << "x" << c.bits;
    }
}
