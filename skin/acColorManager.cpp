#include "skin/acColorManager.h"

#include <algorithm>
#include <cmath>

namespace {

const char* const kDepthError = "Color depth is invalid. Bits per sample must be 1, 2, 4, 8 or 16.";
const char* const kSamplesError = "Sample count per pixel does not correspond to the given color scheme.";
const char* const kNoMethodError = "Color conversion failed. Could not find a proper method.";
const char* const kIndexedError = "Conversion between indexed and non-indexed pixel formats is not supported.";

bool HasAlpha(TSampleLayout layout) { return layout == slGreyAlpha || layout == slRGBA || layout == slBGRA; }
bool IsSourceIndexedGroup(TSampleLayout l) { return l == slIndexed || l == slGrey || l == slGreyAlpha; }
bool IsTargetIndexedGroup(TSampleLayout l) { return l == slIndexed || l == slGrey; }
bool IsRGBOrder(TSampleLayout l) { return l == slRGB || l == slRGBA; }
bool IsBGROrder(TSampleLayout l) { return l == slBGR || l == slBGRA; }

// Samples a layout needs per pixel.
int LayoutSamples(TSampleLayout l)
{
    switch (l) {
    case slIndexed:
    case slGrey: return 1;
    case slGreyAlpha: return 2;
    case slRGBA:
    case slBGRA:
    case slCMYK: return 4;
    default: return 3;
    }
}

uint8_t ClampByte(double v) { return uint8_t(std::clamp(std::lround(v), 0L, 255L)); }
uint8_t ClampByte(int v) { return uint8_t(std::clamp(v, 0, 255)); }

int CheckRange(int value, int low, int high, const char* error)
{
    if (value < low || value > high)
        throw EColorConversionError(error);
    return value;
}

// A value of 1, 2, 4 or 8 bits at its bit position, most significant first.
inline unsigned ReadPacked(const uint8_t* row, unsigned pixel, int bits)
{
    const size_t bit = size_t(pixel) * size_t(bits);
    return (row[bit >> 3] >> (8 - bits - int(bit & 7))) & ((1u << bits) - 1);
}

inline void WritePacked(uint8_t* row, unsigned pixel, int bits, unsigned value)
{
    const size_t bit = size_t(pixel) * size_t(bits);
    const int shift = 8 - bits - int(bit & 7);
    uint8_t& b = row[bit >> 3];
    b = uint8_t((b & ~(((1u << bits) - 1) << shift)) | (value << shift));
}

// A 16-bit sample as stored: low byte first unless the source asks for a swap.
inline uint32_t ReadWord(const uint8_t* p, bool byteSwap)
{
    return byteSwap ? uint32_t(p[0] << 8 | p[1]) : uint32_t(p[0] | p[1] << 8);
}

// A 16-bit value at its pixel of a one-sample row, low byte first.
inline void WriteWord(uint8_t* row, unsigned pixel, uint32_t value)
{
    row[size_t(pixel) * 2] = uint8_t(value);
    row[size_t(pixel) * 2 + 1] = uint8_t(value >> 8);
}

inline bool MaskBit(uint8_t mask, unsigned x) { return (mask & (0x80u >> (x & 7))) != 0; }

} // namespace

TColorManager::TColorManager()
{
    BuildGammaTable();
}

void TColorManager::SetSourceDepth(int bits) { Assign(sourceBPS_, CheckRange(bits, 1, 16, kDepthError)); }
void TColorManager::SetTargetDepth(int bits) { Assign(targetBPS_, CheckRange(bits, 1, 16, kDepthError)); }
void TColorManager::SetSourceSamples(int samples) { Assign(sourceSPP_, CheckRange(samples, 1, 4, kSamplesError)); }
void TColorManager::SetTargetSamples(int samples) { Assign(targetSPP_, CheckRange(samples, 1, 4, kSamplesError)); }
void TColorManager::SetSourceLayout(TSampleLayout layout) { Assign(sourceScheme_, layout); }
void TColorManager::SetTargetLayout(TSampleLayout layout) { Assign(targetScheme_, layout); }
void TColorManager::SetSourceOptions(unsigned options) { Assign(sourceOptions_, options); }
void TColorManager::SetTargetOptions(unsigned options) { Assign(targetOptions_, options); }

void TColorManager::SetGammaValues(double mainGamma, double displayGamma)
{
    mainGamma_ = mainGamma > 0 ? mainGamma : 1.0;
    displayGamma_ = displayGamma > 0 ? displayGamma : 2.2;
    BuildGammaTable();
}

// Gamma is applied only to 8-bit values (samples after scaling, palette
// entries), so the table always has 256 entries of 8 bits whatever the
// depths of the current conversion.
void TColorManager::BuildGammaTable()
{
    const double exponent = 1.0 / (mainGamma_ * displayGamma_);
    for (int i = 0; i < 256; ++i)
        gammaTable_[i] = ClampByte(std::pow(i / 255.0, exponent) * 255.0);
}

void TColorManager::BuildYCbCrTables(int offsetCr, int offsetCb)
{
    const double c = 2 - 2 * yCbCrCoefficients_[0];
    const double d = 2 - 2 * yCbCrCoefficients_[2];
    for (int i = 0; i < 256; ++i) {
        crToRed_[i] = int(std::lround(c * (i - offsetCr)));
        cbToBlue_[i] = int(std::lround(d * (i - offsetCb)));
        crToGreen_[i] = -int(std::lround(yCbCrCoefficients_[0] * c / yCbCrCoefficients_[1] * (i - offsetCr)));
        cbToGreen_[i] = -int(std::lround(yCbCrCoefficients_[2] * d / yCbCrCoefficients_[1] * (i - offsetCb)));
    }
}

void TColorManager::ChooseConverter()
{
    converter_ = nullptr;
    const bool sourceIndexed = IsSourceIndexedGroup(sourceScheme_);
    const bool targetIndexed = IsTargetIndexedGroup(targetScheme_);
    if (sourceIndexed != targetIndexed && sourceScheme_ != slUnknown && targetScheme_ != slUnknown)
        throw EColorConversionError(kIndexedError);
    sourceOptions_ = HasAlpha(sourceScheme_) ? (sourceOptions_ | coAlpha) : (sourceOptions_ & ~coAlpha);
    targetOptions_ = HasAlpha(targetScheme_) ? (targetOptions_ | coAlpha) : (targetOptions_ & ~coAlpha);
    if (sourceScheme_ != slUnknown && sourceSPP_ < LayoutSamples(sourceScheme_))
        throw EColorConversionError(kSamplesError);

    const int s = sourceBPS_, t = targetBPS_;
    const bool packable = (s == 1 || s == 2 || s == 4 || s == 8) && (t == 1 || t == 2 || t == 4 || t == 8);
    const bool wide = (s == 8 || s == 16) && (t == 8 || t == 16);
    // Colour sources convert to RGB or BGR only.
    const bool toColour = wide && (IsRGBOrder(targetScheme_) || IsBGROrder(targetScheme_));
    switch (sourceScheme_) {
    case slIndexed:
        // Values are taken from and written at their bit positions inside a
        // byte, which only depths that divide eight allow.
        if (s == 16 || t == 16) {
            if ((s == 16 || s == 1 || s == 2 || s == 4 || s == 8) && (t == 16 || t == 1 || t == 2 || t == 4 || t == 8))
                converter_ = &TColorManager::RowConvertIndexed16;
        } else if (packable) {
            converter_ = &TColorManager::RowConvertIndexedPacked;
        }
        break;
    case slGrey:
        if (s != 16 && t != 16) {
            if (packable)
                converter_ = &TColorManager::RowConvertIndexedPacked;
        } else if (wide) {
            converter_ = &TColorManager::RowConvertGreySamples;
        }
        break;
    case slGreyAlpha:
        if (wide)
            converter_ = &TColorManager::RowConvertGreySamples;
        break;
    case slRGB:
    case slRGBA:
    case slBGR:
    case slBGRA:
        if (toColour)
            converter_ = &TColorManager::RowConvertRGB;
        break;
    case slCMYK:
        if (toColour)
            converter_ = &TColorManager::RowConvertCMYK;
        break;
    case slLab:
        if (toColour)
            converter_ = &TColorManager::RowConvertLab;
        break;
    case slYCbCr:
    case slPhotoYCC:
        if (toColour) {
            if (sourceScheme_ == slYCbCr)
                BuildYCbCrTables(128, 128);
            else
                BuildYCbCrTables(137, 156);
            converter_ = &TColorManager::RowConvertYCbCr;
        }
        break;
    default: break;
    }
    // A colour target needs room for its three (or four) samples.
    if (converter_ && !targetIndexed && targetSPP_ < LayoutSamples(targetScheme_))
        throw EColorConversionError(kSamplesError);
    changed_ = false;
}

void TColorManager::ConvertScanline(const std::vector<const uint8_t*>& sources, uint8_t* target, unsigned count,
                                    uint8_t pixelMask)
{
    if (changed_)
        ChooseConverter();
    if (!converter_)
        throw EColorConversionError(kNoMethodError);
    if (sources.empty() || (sources.size() > 1 && int(sources.size()) < LayoutSamples(sourceScheme_)))
        throw EColorConversionError(kSamplesError);
    (this->*converter_)(sources, target, count, pixelMask);
}

uint32_t TColorManager::Sample(const std::vector<const uint8_t*>& sources, unsigned pixel, int sample) const
{
    const size_t bytes = sourceBPS_ == 16 ? 2 : 1;
    const uint8_t* p = sources.size() == 1
                           ? sources[0] + (size_t(pixel) * size_t(sourceSPP_) + size_t(sample)) * bytes
                           : sources[size_t(sample)] + size_t(pixel) * bytes;
    if (bytes == 1)
        return *p;
    return ReadWord(p, sourceOptions_ & coNeedByteSwap);
}

uint8_t TColorManager::Sample8(const std::vector<const uint8_t*>& sources, unsigned pixel, int sample) const
{
    uint32_t v = Sample(sources, pixel, sample);
    return sourceBPS_ == 16 ? uint8_t(ScaleSample(v, 255, 65535)) : uint8_t(v);
}

// Indexed and grey values of 1, 2, 4 or 8 bits, taken from their bit
// positions (most significant first) and written at the target depth.
void TColorManager::RowConvertIndexedPacked(const std::vector<const uint8_t*>& sources, uint8_t* target,
                                            unsigned count, uint8_t mask)
{
    const int s = sourceBPS_, t = targetBPS_;
    const uint8_t* src = sources[0];
    if (s == t && mask == 0xFF) {
        std::copy(src, src + (size_t(count) * size_t(s) + 7) / 8, target);
        return;
    }
    const bool grey = sourceScheme_ != slIndexed;
    const unsigned sourceMax = (1u << s) - 1, targetMax = (1u << t) - 1;
    unsigned sourcePixel = 0;
    for (unsigned x = 0; x < count; ++x) {
        if (!MaskBit(mask, x))
            continue;
        const unsigned v = ReadPacked(src, sourcePixel++, s);
        WritePacked(target, x, t, grey ? v * targetMax / sourceMax : (v & targetMax));
    }
}

void TColorManager::RowConvertIndexed16(const std::vector<const uint8_t*>& sources, uint8_t* target, unsigned count,
                                        uint8_t mask)
{
    const int s = sourceBPS_, t = targetBPS_;
    const unsigned sourceMax = (1u << s) - 1, targetMax = (1u << t) - 1;
    const uint8_t* src = sources[0];
    unsigned sourcePixel = 0;
    for (unsigned x = 0; x < count; ++x) {
        if (!MaskBit(mask, x))
            continue;
        unsigned v = s == 16 ? Sample(sources, sourcePixel, 0) : ReadPacked(src, sourcePixel, s);
        ++sourcePixel;
        if (s != t)
            v = uint32_t(v) * targetMax / sourceMax;
        if (t == 16)
            WriteWord(target, x, v);
        else
            WritePacked(target, x, t, v);
    }
}

// The first (grey) sample of each pixel at 8 or 16 bits; an alpha sample is
// stepped over. Grey targets are palette indices: gamma lives in the grey
// palette, so it is not applied here a second time.
void TColorManager::RowConvertGreySamples(const std::vector<const uint8_t*>& sources, uint8_t* target, unsigned count,
                                          uint8_t mask)
{
    unsigned sourcePixel = 0;
    for (unsigned x = 0; x < count; ++x) {
        if (!MaskBit(mask, x))
            continue;
        uint32_t v = Sample(sources, sourcePixel++, 0);
        if (targetBPS_ == 8) {
            target[x] = sourceBPS_ == 16 ? uint8_t(ScaleSample(v, 255, 65535)) : uint8_t(v);
        } else {
            WriteWord(target, x, sourceBPS_ == 8 ? ScaleSample(v, 65535, 255) : v);
        }
    }
}

void TColorManager::PutColor(uint8_t* target, unsigned x, int r, int g, int b, int alpha, bool hasAlpha) const
{
    const bool gamma = targetOptions_ & coApplyGamma;
    if (gamma) {
        r = gammaTable_[r];
        g = gammaTable_[g];
        b = gammaTable_[b];
    }
    const bool bgr = IsBGROrder(targetScheme_);
    const int first = bgr ? b : r, last = bgr ? r : b;
    const bool writeAlpha = hasAlpha && (targetOptions_ & coAlpha);
    if (targetBPS_ == 16) {
        uint16_t* p = reinterpret_cast<uint16_t*>(target) + size_t(x) * size_t(targetSPP_);
        p[0] = uint16_t(first * 257);
        p[1] = uint16_t(g * 257);
        p[2] = uint16_t(last * 257);
        if (writeAlpha)
            p[3] = uint16_t(alpha * 257);
        return;
    }
    uint8_t* p = target + size_t(x) * size_t(targetSPP_);
    p[0] = uint8_t(first);
    p[1] = uint8_t(g);
    p[2] = uint8_t(last);
    if (writeAlpha)
        p[3] = uint8_t(alpha);
}

void TColorManager::RowConvertRGB(const std::vector<const uint8_t*>& sources, uint8_t* target, unsigned count,
                                  uint8_t mask)
{
    const bool sourceBGR = IsBGROrder(sourceScheme_);
    const bool swap = sourceBGR != IsBGROrder(targetScheme_);
    const bool alpha = (sourceOptions_ & coAlpha) && (targetOptions_ & coAlpha);
    // The common case of decoded pictures: 8-bit interleaved rows, every
    // pixel, no gamma.
    if (sources.size() == 1 && sourceBPS_ == 8 && targetBPS_ == 8 && mask == 0xFF
        && !(targetOptions_ & coApplyGamma)) {
        const uint8_t* s = sources[0];
        const size_t ss = size_t(sourceSPP_), ts = size_t(targetSPP_);
        const int a = swap ? 2 : 0, c = swap ? 0 : 2;
        if (alpha && ss == 4 && ts == 4) {
            for (unsigned x = 0; x < count; ++x, s += 4, target += 4) {
                target[0] = s[a];
                target[1] = s[1];
                target[2] = s[c];
                target[3] = s[3];
            }
        } else {
            for (unsigned x = 0; x < count; ++x, s += ss, target += ts) {
                target[0] = s[a];
                target[1] = s[1];
                target[2] = s[c];
                if (alpha)
                    target[3] = s[3];
            }
        }
        return;
    }
    unsigned sourcePixel = 0;
    for (unsigned x = 0; x < count; ++x) {
        if (!MaskBit(mask, x))
            continue;
        const unsigned p = sourcePixel++;
        int c0 = Sample8(sources, p, 0), c1 = Sample8(sources, p, 1), c2 = Sample8(sources, p, 2);
        int a = alpha ? Sample8(sources, p, 3) : 255;
        if (sourceBGR)
            std::swap(c0, c2);
        PutColor(target, x, c0, c1, c2, a, alpha);
    }
}

void TColorManager::RowConvertCMYK(const std::vector<const uint8_t*>& sources, uint8_t* target, unsigned count,
                                   uint8_t mask)
{
    unsigned sourcePixel = 0;
    for (unsigned x = 0; x < count; ++x) {
        if (!MaskBit(mask, x))
            continue;
        const unsigned p = sourcePixel++;
        const int k = Sample8(sources, p, 3);
        int rgb[3];
        for (int i = 0; i < 3; ++i) {
            const int c = Sample8(sources, p, i);
            rgb[i] = ClampByte(c * k / 255 - c - k + 255);
        }
        PutColor(target, x, rgb[0], rgb[1], rgb[2], 255, false);
    }
}

void TColorManager::RowConvertLab(const std::vector<const uint8_t*>& sources, uint8_t* target, unsigned count,
                                  uint8_t mask)
{
    unsigned sourcePixel = 0;
    for (unsigned x = 0; x < count; ++x) {
        if (!MaskBit(mask, x))
            continue;
        const unsigned p = sourcePixel++;
        double l = Sample8(sources, p, 0);
        if (sourceOptions_ & coLabByteRange)
            l /= 2.55;
        double a, b;
        if (sourceOptions_ & coLabChromaOffset) {
            a = Sample8(sources, p, 1) - 128.0;
            b = Sample8(sources, p, 2) - 128.0;
        } else {
            a = int8_t(Sample8(sources, p, 1));
            b = int8_t(Sample8(sources, p, 2));
        }
        double xx, yy, zz;
        if (l < 7.9996) {
            yy = l / 903.3;
            xx = yy + a / 3893.5;
            zz = yy - b / 1557.4;
        } else {
            const double fy = (l + 16) / 116;
            xx = fy + a / 500;
            zz = fy - b / 200;
            yy = fy;
            xx = xx * xx * xx;
            yy = yy * yy * yy;
            zz = zz * zz * zz;
        }
        PutColor(target, x, ClampByte((2.998 * xx - 1.458 * yy - 0.541 * zz) * 255),
                 ClampByte((-0.952 * xx + 1.893 * yy + 0.059 * zz) * 255),
                 ClampByte((0.099 * xx - 0.198 * yy + 1.099 * zz) * 255), 255, false);
    }
}

void TColorManager::RowConvertYCbCr(const std::vector<const uint8_t*>& sources, uint8_t* target, unsigned count,
                                    uint8_t mask)
{
    const bool wideYCC = sourceScheme_ == slPhotoYCC && sourceBPS_ == 16 && targetBPS_ == 16;
    const bool bgr = IsBGROrder(targetScheme_);
    unsigned sourcePixel = 0;
    for (unsigned x = 0; x < count; ++x) {
        if (!MaskBit(mask, x))
            continue;
        const unsigned p = sourcePixel++;
        if (wideYCC) {
            const double y = 1.3584 * Sample(sources, p, 0);
            const double c1 = double(Sample(sources, p, 1)) - 40092;
            const double c2 = double(Sample(sources, p, 2)) - 35209;
            auto clamp16 = [](double v) { return uint16_t(std::clamp(std::lround(v), 0L, 65535L)); };
            const uint16_t r = clamp16(y + 1.8215 * c2);
            const uint16_t g = clamp16(y - 0.9271435 * c2 - 0.4302726 * c1);
            const uint16_t b = clamp16(y + 2.2179 * c1);
            uint16_t* t = reinterpret_cast<uint16_t*>(target) + size_t(x) * size_t(targetSPP_);
            t[0] = bgr ? b : r;
            t[1] = g;
            t[2] = bgr ? r : b;
            continue;
        }
        const int y = Sample8(sources, p, 0), cb = Sample8(sources, p, 1), cr = Sample8(sources, p, 2);
        PutColor(target, x, ClampByte(y + crToRed_[cr]), ClampByte(y + cbToGreen_[cb] + crToGreen_[cr]),
                 ClampByte(y + cbToBlue_[cb]), 255, false);
    }
}

TPixelFormat TColorManager::TargetPixelFormat(bool forTarget) const
{
    const int samples = forTarget ? targetSPP_ : sourceSPP_;
    const int bits = forTarget ? targetBPS_ : sourceBPS_;
    switch (samples) {
    case 1:
        if (bits == 1)
            return pf1bit;
        if (bits >= 2 && bits <= 4)
            return pf4bit;
        if (bits >= 8 && bits <= 16)
            return pf8bit;
        return pfCustom;
    case 3: return bits <= 5 ? pf15bit : pf24bit;
    case 4: return bits >= 8 ? pf32bit : pfCustom;
    default: return pfCustom;
    }
}

std::vector<TRGBQuad> TColorManager::BuildPalette(const std::vector<const uint8_t*>& sources,
                                                  TRawPaletteFormat format, unsigned count, bool bgrOrder) const
{
    const unsigned entries = std::min(count, 256u);
    const bool wideSamples = format == pfInterlaced16Triple || format == pfInterlaced16Quad
                             || format == pfPlane16Triple;
    const bool planar = format == pfPlane8Triple || format == pfPlane16Triple;
    const size_t step = (format == pfInterlaced8Quad || format == pfInterlaced16Quad) ? 4 : 3;
    if (sources.empty() || (planar && sources.size() < 3))
        throw EColorConversionError(kSamplesError);
    auto component = [&](unsigned entry, int c) -> uint8_t {
        uint8_t v;
        if (wideSamples) {
            const uint8_t* p = planar ? sources[size_t(c)] + size_t(entry) * 2
                                      : sources[0] + (size_t(entry) * step + size_t(c)) * 2;
            v = uint8_t(ScaleSample(ReadWord(p, sourceOptions_ & coNeedByteSwap), 255, 65535));
        } else {
            v = planar ? sources[size_t(c)][entry] : sources[0][size_t(entry) * step + size_t(c)];
        }
        return (targetOptions_ & coApplyGamma) ? gammaTable_[v] : v;
    };
    std::vector<TRGBQuad> palette(entries);
    for (unsigned i = 0; i < entries; ++i) {
        // Raw data holds red, green, blue unless it is in BGR order.
        const uint8_t c0 = component(i, 0), c1 = component(i, 1), c2 = component(i, 2);
        palette[i].rgbRed = bgrOrder ? c2 : c0;
        palette[i].rgbGreen = c1;
        palette[i].rgbBlue = bgrOrder ? c0 : c2;
    }
    return palette;
}

std::vector<TRGBQuad> TColorManager::BuildGreyPalette(bool minimumIsWhite) const
{
    const int bits = std::min(targetBPS_ * targetSPP_, 8);
    const unsigned entries = 1u << bits;
    const unsigned step = 255 / std::max(entries - 1, 1u);
    std::vector<TRGBQuad> palette(entries);
    for (unsigned i = 0; i < entries; ++i) {
        uint8_t v = uint8_t(std::min(i * step, 255u));
        if (targetOptions_ & coApplyGamma)
            v = gammaTable_[v];
        TRGBQuad& q = palette[minimumIsWhite ? entries - 1 - i : i];
        q.rgbRed = q.rgbGreen = q.rgbBlue = v;
    }
    return palette;
}
