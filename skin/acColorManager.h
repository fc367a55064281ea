#pragma once
// Pixel colour converter: turns rows of samples of one layout and depth into
// rows of another, straight into bitmap scan lines, and builds palettes and
// the gamma table that go with them.
#include "platform/Bitmap.h"

#include <cstdint>
#include <stdexcept>
#include <vector>

enum TSampleLayout {
    slUnknown, slIndexed, slGrey, slGreyAlpha, slRGB, slRGBA, slBGR, slBGRA,
    slCMY, slCMYK, slLab, slYCbCr, slPhotoYCC
};

// Source and target options (bit flags).
enum TConvertOption : unsigned {
    coAlpha = 1,           // the layout carries an alpha sample (set by the converter choice)
    coApplyGamma = 2,      // target: colour samples pass through the gamma table
    coNeedByteSwap = 4,    // source: 16-bit samples are big-endian
    coLabByteRange = 8,    // source, CIE L*a*b*: L runs 0..255, not 0..100
    coLabChromaOffset = 16 // source, CIE L*a*b*: a and b are unsigned around 128
};

// Layouts of raw palette data for BuildPalette.
enum TRawPaletteFormat {
    pfInterlaced8Triple, pfInterlaced8Quad, pfPlane8Triple,
    pfInterlaced16Triple, pfInterlaced16Quad, pfPlane16Triple
};

class EColorConversionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TColorManager {
public:
    TColorManager();

    int SourceDepth() const { return sourceBPS_; }
    int TargetDepth() const { return targetBPS_; }
    int SourceSamples() const { return sourceSPP_; }
    int TargetSamples() const { return targetSPP_; }
    TSampleLayout SourceLayout() const { return sourceScheme_; }
    TSampleLayout TargetLayout() const { return targetScheme_; }
    unsigned SourceOptions() const { return sourceOptions_; }
    unsigned TargetOptions() const { return targetOptions_; }

    void SetSourceDepth(int bitsPerSample);
    void SetTargetDepth(int bitsPerSample);
    void SetSourceSamples(int samples);
    void SetTargetSamples(int samples);
    void SetSourceLayout(TSampleLayout layout);
    void SetTargetLayout(TSampleLayout layout);
    void SetSourceOptions(unsigned options);
    void SetTargetOptions(unsigned options);

    // A value <= 0 stands for the default (1.0 main, 2.2 display).
    void SetGammaValues(double mainGamma, double displayGamma);
    double MainGamma() const { return mainGamma_; }
    double DisplayGamma() const { return displayGamma_; }
    // 256 entries indexed by an 8-bit sample, giving an 8-bit sample.
    const uint8_t* GammaTable() const { return gammaTable_; }

    // Converts `count` target pixels. `sources` holds one pointer for
    // interleaved samples or one per sample for planar data. A target pixel
    // whose mask bit is clear (bit 7 first, repeating every eight pixels) is
    // left alone and takes no source pixel. The caller provides rows large
    // enough for `count` pixels.
    void ConvertScanline(const std::vector<const uint8_t*>& sources, uint8_t* target, unsigned count,
                         uint8_t pixelMask = 0xFF);

    TPixelFormat TargetPixelFormat(bool forTarget = true) const;

    std::vector<TRGBQuad> BuildPalette(const std::vector<const uint8_t*>& sources, TRawPaletteFormat format,
                                       unsigned count, bool bgrOrder) const;
    std::vector<TRGBQuad> BuildGreyPalette(bool minimumIsWhite) const;

    static uint16_t ScaleSample(uint32_t value, uint32_t numerator, uint32_t denominator)
    {
        return uint16_t(value * numerator / denominator);
    }

private:
    using Converter = void (TColorManager::*)(const std::vector<const uint8_t*>&, uint8_t*, unsigned, uint8_t);

    void ChooseConverter();
    void BuildGammaTable();
    void BuildYCbCrTables(int offsetCr, int offsetCb);
    // Stores a setting; a new value makes the next conversion choose its
    // converter again.
    template <class T>
    void Assign(T& field, T value)
    {
        changed_ = changed_ || value != field;
        field = value;
    }

    // Reads sample `sample` of source pixel `pixel` as an 8-bit or 16-bit value.
    uint32_t Sample(const std::vector<const uint8_t*>& sources, unsigned pixel, int sample) const;
    uint8_t Sample8(const std::vector<const uint8_t*>& sources, unsigned pixel, int sample) const;

    void RowConvertIndexedPacked(const std::vector<const uint8_t*>&, uint8_t*, unsigned, uint8_t);
    void RowConvertIndexed16(const std::vector<const uint8_t*>&, uint8_t*, unsigned, uint8_t);
    void RowConvertGreySamples(const std::vector<const uint8_t*>&, uint8_t*, unsigned, uint8_t);
    void RowConvertRGB(const std::vector<const uint8_t*>&, uint8_t*, unsigned, uint8_t);
    void RowConvertCMYK(const std::vector<const uint8_t*>&, uint8_t*, unsigned, uint8_t);
    void RowConvertLab(const std::vector<const uint8_t*>&, uint8_t*, unsigned, uint8_t);
    void RowConvertYCbCr(const std::vector<const uint8_t*>&, uint8_t*, unsigned, uint8_t);

    // Writes one colour pixel in the target's channel order and depth.
    void PutColor(uint8_t* target, unsigned x, int r, int g, int b, int alpha, bool hasAlpha) const;

    int sourceBPS_ = 8, targetBPS_ = 8;
    int sourceSPP_ = 3, targetSPP_ = 3;
    TSampleLayout sourceScheme_ = slRGB, targetScheme_ = slBGR;
    unsigned sourceOptions_ = 0, targetOptions_ = 0;
    double mainGamma_ = 1.0, displayGamma_ = 2.2;
    uint8_t gammaTable_[256];
    double yCbCrCoefficients_[3] = {0.299, 0.587, 0.114};
    int crToRed_[256], cbToBlue_[256], crToGreen_[256], cbToGreen_[256];
    Converter converter_ = nullptr;
    bool changed_ = true;
};
