#include "skin/acPNG.h"

#include "platform/SysUtils.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <iterator>
#include <zlib.h>

namespace {

const uint8_t kSignature[8] = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};

constexpr uint32_t ChunkId(const char (&s)[5])
{
    return uint32_t(uint8_t(s[0])) << 24 | uint32_t(uint8_t(s[1])) << 16 | uint32_t(uint8_t(s[2])) << 8
           | uint32_t(uint8_t(s[3]));
}
// Chunk types are compared without bit 0x20 of each letter, so "idat" is IDAT.
constexpr uint32_t kCaseMask = 0xDFDFDFDF;
constexpr uint32_t IHDR = ChunkId("IHDR"), IDAT = ChunkId("IDAT"), IEND = ChunkId("IEND"), PLTE = ChunkId("PLTE"),
                   gAMA = ChunkId("GAMA"), bKGD = ChunkId("BKGD"), tRNS = ChunkId("TRNS");
// The PNG standard limits chunk lengths and image sizes to 2^31 - 1.
constexpr uint32_t kMaxChunkLength = 0x7FFFFFFF;

std::string Format(const char* pattern) { return std::string("Cannot load image. ") + pattern; }
const std::string kInvalidFormat = Format("Invalid or unexpected PNG image format.");
const std::string kCompressionScheme = Format("The compression scheme is not supported for PNG files.");
const std::string kInvalidPalette = Format("Palette in PNG file is invalid.");
const std::string kUnknownCriticalChunk = "Cannot load PNG image. Unexpected but critical chunk detected.";
const std::string kCRCError = Format("CRC error found in PNG file.");
const std::string kCompressionError = Format("Compression error found in PNG file.");
const std::string kExtraData = Format("Extra compressed data found in PNG file.");
const std::string kInvalidColorFormat = "Invalid color format in PNG file.";

uint32_t BigEndian32(const uint8_t* p)
{
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
}
uint16_t BigEndian16(const uint8_t* p) { return uint16_t(p[0] << 8 | p[1]); }

// Three 16-bit big-endian samples (bKGD, tRNS) as a colour; 8-bit pictures
// use the low byte of each.
TColor SampleColor(const uint8_t* d, bool wide)
{
    if (!wide)
        return RGB(d[1], d[3], d[5]);
    return RGB(BigEndian16(d) * 255 / 65535, BigEndian16(d + 2) * 255 / 65535, BigEndian16(d + 4) * 255 / 65535);
}

uint8_t PaethPredictor(int a, int b, int c)
{
    const int p = a + b - c;
    const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    if (pa <= pb && pa <= pc)
        return uint8_t(a);
    return uint8_t(pb <= pc ? b : c);
}

// Undoes a row filter in place; bpp is the byte distance to the left pixel.
void UnfilterRow(uint8_t filter, uint8_t* row, const uint8_t* prior, size_t size, size_t bpp)
{
    const size_t left = std::min(bpp, size);
    switch (filter) {
    case 1:
        for (size_t i = bpp; i < size; ++i)
            row[i] = uint8_t(row[i] + row[i - bpp]);
        break;
    case 2:
        for (size_t i = 0; i < size; ++i)
            row[i] = uint8_t(row[i] + prior[i]);
        break;
    case 3:
        for (size_t i = 0; i < left; ++i)
            row[i] = uint8_t(row[i] + (prior[i] >> 1));
        for (size_t i = bpp; i < size; ++i)
            row[i] = uint8_t(row[i] + ((row[i - bpp] + prior[i]) >> 1));
        break;
    case 4:
        for (size_t i = 0; i < left; ++i)
            row[i] = uint8_t(row[i] + prior[i]);
        for (size_t i = bpp; i < size; ++i)
            row[i] = uint8_t(row[i] + PaethPredictor(row[i - bpp], prior[i], prior[i - bpp]));
        break;
    default: break; // None, and unknown filter types leave the row as it is.
    }
}

struct Adam7Pass {
    int firstRow, firstColumn, rowStep, columnStep;
    uint8_t mask;
};
const Adam7Pass kAdam7[7] = {{0, 0, 8, 8, 0x80}, {0, 4, 8, 8, 0x08}, {4, 0, 8, 4, 0x88}, {0, 2, 4, 4, 0x22},
                             {2, 0, 4, 2, 0xAA}, {0, 1, 2, 2, 0x55}, {1, 0, 2, 1, 0xFF}};

} // namespace

// State of one load: the stream, the current chunk and the decoder. Freed on
// every exit from LoadFromStream.
class TPNGGraphic::Loader {
public:
    Loader(TPNGGraphic& image, TByteStream& stream) : image_(image), p_(image.properties_), stream_(stream) {}

    bool ReadHeaderInfo();
    void Load(uint64_t start);

private:
    void ReadChunkHeader();
    void ReadChunkData();
    void SkipChunk() { stream_.Seek(uint64_t(length_) + 4); }
    bool Is(uint32_t id) const { return (type_ & kCaseMask) == id; }
    bool Critical() const { return (type_ & 0x20000000) == 0; }

    size_t ConfigureTarget();
    void ReadPalette();
    void ReadGamma();
    void ReadBackground();
    void ReadTransparency();
    void DecodeImage();
    bool InflateRow(uint8_t* buffer, size_t size);
    void Progress(TProgressStage stage, int percent, bool redraw, const std::string& message)
    {
        if (image_.OnProgress)
            image_.OnProgress(stage, percent, redraw, progressRect_, message);
    }

    TPNGGraphic& image_;
    TPNGImageProperties& p_;
    TByteStream& stream_;
    uint32_t length_ = 0;
    uint32_t type_ = 0;
    uint32_t crc_ = 0;
    std::vector<uint8_t> raw_;
    std::unique_ptr<TLZ77Decoder> decoder_;
    const uint8_t* idatData_ = nullptr;
    uint32_t idatSize_ = 0;
    std::vector<TRGBQuad> palette_;
    TColor background_ = clWhite;
    int backgroundIndex_ = -1;  // palette index for grey and palette pictures
    TColor transparent_ = 0x1FFFFFFF;
    int transparentGrey_ = -1;  // tRNS grey sample of a 1, 2 or 4-bit grey picture
    size_t sourceBPP_ = 1;
    TRect progressRect_;
    bool decoded_ = false;
};

void TPNGGraphic::Loader::ReadChunkHeader()
{
    uint8_t header[8];
    stream_.ReadBuffer(header, 8);
    length_ = BigEndian32(header);
    type_ = BigEndian32(header + 4);
    // A length beyond the standard's limit cannot be sought past safely.
    if (length_ > kMaxChunkLength)
        throw EInvalidGraphic(kInvalidFormat);
    crc_ = UpdateCRC(0, header + 4, 4);
}

void TPNGGraphic::Loader::ReadChunkData()
{
    // Refuse before allocating: a length the stream cannot hold is a
    // truncated file, not a reason to reserve gigabytes.
    if (uint64_t(length_) + 4 > stream_.Remaining())
        throw EReadError("Stream read error");
    raw_.resize(length_);
    if (length_)
        stream_.ReadBuffer(raw_.data(), length_);
    uint8_t stored[4];
    stream_.ReadBuffer(stored, 4);
    crc_ = UpdateCRC(crc_, raw_.data(), raw_.size());
    if (crc_ != BigEndian32(stored))
        throw EInvalidGraphic(kCRCError);
}

bool TPNGGraphic::Loader::ReadHeaderInfo()
{
    p_ = TPNGImageProperties();
    uint8_t signature[8];
    stream_.ReadBuffer(signature, 8);
    if (std::memcmp(signature, kSignature, 8) != 0)
        return false;
    ReadChunkHeader();
    if (!Is(IHDR))
        return false;
    p_.Options |= 1;
    ReadChunkData();
    if (raw_.size() != 13)
        return false;
    const uint8_t* d = raw_.data();
    const uint32_t width = BigEndian32(d), height = BigEndian32(d + 4);
    // Sizes are capped so that rows and the bitmap always fit in memory.
    if (width == 0 || height == 0 || width > uint32_t(TBitmap::MaxDimension)
        || height > uint32_t(TBitmap::MaxDimension) || uint64_t(width) * height > TBitmap::MaxPixels)
        return false;
    // Filter method 0 and interlace methods 0 (none) and 1 (Adam7) are the
    // only ones defined; anything else would be decoded as garbage.
    if (d[11] != 0 || d[12] > 1)
        return false;
    p_.Width = width;
    p_.Height = height;
    p_.BitsPerSample = d[8];
    p_.ColorType = d[9];
    p_.Compression = d[10] == 0 ? 2 : 0;
    switch (d[9]) {
    case 0: p_.ColorScheme = slGrey; p_.SamplesPerPixel = 1; break;
    case 2: p_.ColorScheme = slRGB; p_.SamplesPerPixel = 3; break;
    case 3: p_.ColorScheme = slIndexed; p_.SamplesPerPixel = 1; break;
    case 4: p_.ColorScheme = slGreyAlpha; p_.SamplesPerPixel = 2; break;
    case 6: p_.ColorScheme = slRGBA; p_.SamplesPerPixel = 4; break;
    default: p_.ColorScheme = slUnknown; p_.SamplesPerPixel = 1; break;
    }
    p_.BitsPerPixel = p_.SamplesPerPixel * p_.BitsPerSample;
    p_.FilterMode = d[11];
    p_.Interlaced = d[12] != 0;
    p_.HasAlpha = p_.ColorScheme == slGreyAlpha || p_.ColorScheme == slRGBA;
    for (;;) {
        ReadChunkHeader();
        if (Is(IEND))
            return true;
        if (Is(gAMA)) {
            ReadChunkData();
            if (raw_.size() >= 4)
                p_.FileGamma = BigEndian32(raw_.data()) / 100000.0;
            return true;
        }
        SkipChunk();
    }
}

size_t TPNGGraphic::Loader::ConfigureTarget()
{
    struct Conversion {
        int colorType;
        std::initializer_list<int> depths;
        TSampleLayout source, target;
        int sourceSamples, targetSamples;
    };
    // Grey with alpha: two samples per pixel, the alpha sample is read and
    // dropped. Grey and palette pictures keep their depth, but 2 bits widen to
    // the bitmap's 4 and 16-bit grey narrows to 8.
    static const Conversion kConversions[] = {
        {0, {1, 2, 4, 8, 16}, slGrey, slIndexed, 1, 1}, {2, {8, 16}, slRGB, slBGR, 3, 3},
        {3, {1, 2, 4, 8}, slIndexed, slIndexed, 1, 1},  {4, {8, 16}, slGreyAlpha, slIndexed, 2, 1},
        {6, {8, 16}, slRGBA, slBGRA, 4, 4},
    };
    const int depth = p_.BitsPerSample;
    const auto c = std::find_if(std::begin(kConversions), std::end(kConversions),
                                [&](const Conversion& e) { return e.colorType == p_.ColorType; });
    if (c == std::end(kConversions) || std::find(c->depths.begin(), c->depths.end(), depth) == c->depths.end())
        throw EInvalidGraphic(kInvalidColorFormat);
    const bool keepsDepth = p_.ColorType == 0 || p_.ColorType == 3;
    TColorManager& cm = image_.ColorManager();
    cm.SetSourceLayout(c->source);
    cm.SetSourceSamples(c->sourceSamples);
    cm.SetTargetLayout(c->target);
    cm.SetTargetSamples(c->targetSamples);
    cm.SetSourceDepth(depth);
    cm.SetTargetDepth(!keepsDepth ? 8 : depth == 2 ? 4 : depth == 16 ? 8 : depth);
    image_.SetPixelFormat(cm.TargetPixelFormat());
    if (p_.ColorType == 0 || p_.ColorType == 4)
        image_.SetPalette(cm.BuildGreyPalette(false));
    return size_t(depth * c->sourceSamples + 7) / 8;
}

void TPNGGraphic::Loader::ReadPalette()
{
    if (length_ % 3 != 0)
        throw EInvalidGraphic(kInvalidPalette);
    ReadChunkData();
    if (p_.ColorType != 3)
        return;
    sourceBPP_ = ConfigureTarget();
    palette_ = image_.ColorManager().BuildPalette({raw_.data()}, pfInterlaced8Triple, length_ / 3, false);
}

void TPNGGraphic::Loader::ReadGamma()
{
    ReadChunkData();
    if (raw_.size() < 4)
        return;
    TColorManager& cm = image_.ColorManager();
    cm.SetGammaValues(BigEndian32(raw_.data()) / 100000.0, 2.2);
    cm.SetTargetOptions(cm.TargetOptions() | coApplyGamma);
    p_.Options |= 2;
}

void TPNGGraphic::Loader::ReadBackground()
{
    ReadChunkData();
    const uint8_t* d = raw_.data();
    const bool wide = p_.BitsPerSample == 16;
    switch (p_.ColorType) {
    case 2:
    case 6:
        if (raw_.size() >= 6)
            background_ = SampleColor(d, wide);
        break;
    case 0:
    case 4: {
        // The grey level, as an index into the picture's grey palette.
        if (raw_.size() < 2)
            return;
        const int v = BigEndian16(d);
        const int depth = p_.BitsPerSample;
        backgroundIndex_ = depth == 16 ? v * 255 / 65535 : depth == 2 ? (v & 3) * (15 / 3) : (v & 0xFF);
        if (depth < 8)
            backgroundIndex_ &= (1 << (depth == 2 ? 4 : depth)) - 1;
        break;
    }
    case 3:
        if (raw_.size() >= 1)
            backgroundIndex_ = d[0];
        break;
    default: break;
    }
}

void TPNGGraphic::Loader::ReadTransparency()
{
    ReadChunkData();
    const uint8_t* d = raw_.data();
    const bool wide = p_.BitsPerSample == 16;
    switch (p_.ColorType) {
    case 0: {
        if (raw_.size() < 2)
            return;
        const int v = BigEndian16(d);
        const int depth = p_.BitsPerSample;
        // A key beyond the sample range matches no pixel: no transparency.
        if (depth < 16 && v >= (1 << depth))
            return;
        if (depth == 16)
            transparent_ = RGB(v * 255 / 65535, v * 255 / 65535, v * 255 / 65535);
        else if (depth == 8)
            transparent_ = RGB(v, v, v);
        else
            transparentGrey_ = v;
        break;
    }
    case 2:
        if (raw_.size() >= 6)
            transparent_ = SampleColor(d, wide);
        break;
    default: break; // Palette transparency is not used; alpha pictures need no key.
    }
}

bool TPNGGraphic::Loader::InflateRow(uint8_t* buffer, size_t size)
{
    uint8_t* dest = buffer;
    while (dest < buffer + size) {
        if (decoder_->InputLeft() == 0) {
            while (idatSize_ == 0) {
                if (!Is(IDAT))
                    return false; // the data ended early: the picture stays incomplete
                ReadChunkData();
                idatData_ = raw_.data();
                idatSize_ = length_;
                ReadChunkHeader();
            }
        }
        const uint8_t* before = idatData_;
        uint8_t* out = dest;
        const int result = decoder_->Inflate(idatData_, dest, unsigned(buffer + size - dest), idatSize_);
        idatSize_ -= uint32_t(idatData_ - before);
        if (result == Z_STREAM_END) {
            if (decoder_->OutputLeft() > 0 || decoder_->InputLeft() > 0)
                throw EInvalidGraphic(kExtraData);
            return true;
        }
        if (result != Z_OK || (idatData_ == before && dest == out))
            throw EInvalidGraphic(kCompressionError);
    }
    return true;
}

void TPNGGraphic::Loader::DecodeImage()
{
    Progress(psStarting, 0, false, "Transfering...");
    if (image_.PixelFormat() == pfDevice)
        sourceBPP_ = ConfigureTarget();
    if (p_.ColorType == 3) {
        // A palette picture cannot be shown without its palette.
        if (palette_.empty())
            throw EInvalidGraphic(kInvalidFormat);
        std::vector<TRGBQuad> palette = palette_;
        palette.resize(size_t(1) << std::min(BitsPerPixel(image_.PixelFormat()), 8));
        image_.SetPalette(std::move(palette));
    }
    const int width = int(p_.Width), height = int(p_.Height);
    image_.SetSize(width, height);
    if (backgroundIndex_ >= 0 && size_t(backgroundIndex_) < image_.Palette().size())
        image_.FillIndex(backgroundIndex_);
    else
        image_.FillRect(TRect{0, 0, width, height}, background_);
    if (transparentGrey_ >= 0) {
        const int max = (1 << p_.BitsPerSample) - 1;
        const int level = transparentGrey_ * 255 / max;
        transparent_ = RGB(level, level, level);
    }
    if (transparent_ != 0x1FFFFFFF) {
        // The key names raw samples; the pixels it is compared with have
        // passed through the gamma table.
        const TColorManager& colors = image_.ColorManager();
        if (colors.TargetOptions() & coApplyGamma) {
            const uint8_t* gamma = colors.GammaTable();
            transparent_ = RGB(gamma[GetRValue(transparent_)], gamma[GetGValue(transparent_)],
                               gamma[GetBValue(transparent_)]);
        }
        image_.SetTransparentColor(transparent_);
        image_.SetTransparent(true);
    }

    const uint64_t bitsPerPixel = uint64_t(p_.SamplesPerPixel) * uint64_t(p_.BitsPerSample);
    const size_t fullRow = size_t((uint64_t(width) * bitsPerPixel + 7) / 8) + 1;
    std::vector<uint8_t> rowA(fullRow, 0), rowB(fullRow, 0);
    uint8_t* current = rowA.data();
    uint8_t* prior = rowB.data();
    TColorManager& cm = image_.ColorManager();
    std::vector<const uint8_t*> sources(1);

    auto decodeRow = [&](size_t rowBytes, int y, unsigned pixels, uint8_t mask) {
        if (!InflateRow(current, rowBytes))
            return false;
        UnfilterRow(current[0], current + 1, prior + 1, rowBytes - 1, sourceBPP_);
        sources[0] = current + 1;
        cm.ConvertScanline(sources, image_.ScanLine(y), pixels, mask);
        std::swap(current, prior);
        return true;
    };

    // Progress counts finished rows: every row, or the rows of the last pass.
    auto rowDone = [&](int y) {
        Progress(psRunning, MulDiv(y, 100, height), true, "");
        progressRect_.Top++;
        progressRect_.Bottom++;
    };

    if (!p_.Interlaced) {
        for (int y = 0; y < height; ++y) {
            if (!decodeRow(fullRow, y, unsigned(width), 0xFF))
                return;
            rowDone(y);
        }
    } else {
        for (int pass = 0; pass < 7; ++pass) {
            const Adam7Pass& a = kAdam7[pass];
            if (a.firstColumn >= width)
                continue;
            const uint64_t passWidth = uint64_t(width + a.columnStep - a.firstColumn - 1) / uint64_t(a.columnStep);
            const size_t rowBytes = size_t((passWidth * bitsPerPixel + 7) / 8) + 1;
            std::fill(prior, prior + fullRow, 0);
            for (int y = a.firstRow; y < height; y += a.rowStep) {
                if (!decodeRow(rowBytes, y, unsigned(width), a.mask))
                    return;
                if (pass == 6)
                    rowDone(y);
            }
        }
    }
    // The rest of the IDAT run is read (and its CRCs tested) but not decoded.
    while (Is(IDAT)) {
        ReadChunkData();
        ReadChunkHeader();
    }
}

void TPNGGraphic::Loader::Load(uint64_t start)
{
    if (!ReadHeaderInfo())
        throw EInvalidGraphic(kInvalidFormat);
    stream_.SetPosition(start + 8);
    progressRect_ = TRect{0, 0, int(p_.Width), 1};
    Progress(psStarting, 0, false, "Preparing...");
    TColorManager& cm = image_.ColorManager();
    cm.SetSourceOptions(coNeedByteSwap);
    cm.SetTargetOptions(0);
    ReadChunkHeader();
    ReadChunkData();

    struct EndProgress {
        Loader* loader;
        ~EndProgress() { loader->Progress(psEnding, 0, false, ""); }
    } endProgress{this};

    if (p_.Compression != 2)
        throw EInvalidGraphic(kCompressionScheme);
    decoder_ = std::make_unique<TLZ77Decoder>(Z_PARTIAL_FLUSH, false);
    decoder_->Start();
    for (;;) {
        ReadChunkHeader();
        if (Is(IDAT) && !decoded_) {
            Progress(psEnding, 0, false, "");
            DecodeImage();
            decoded_ = true;
            // The current chunk is now the first one after the IDAT run.
        } else if (Is(PLTE)) {
            ReadPalette();
            continue;
        } else if (Is(gAMA)) {
            ReadGamma();
            continue;
        } else if (Is(bKGD)) {
            ReadBackground();
            continue;
        } else if (Is(tRNS)) {
            ReadTransparency();
            continue;
        }
        if (Is(IEND)) {
            SkipChunk();
            break;
        }
        // Critical chunks out of place (an IDAT after the run included)
        // cannot be understood; ancillary ones are passed over.
        if (Critical())
            throw EInvalidGraphic(kUnknownCriticalChunk);
        SkipChunk();
    }
    if (!decoded_)
        throw EInvalidGraphic(kInvalidFormat);
    decoder_->Finish();
}

TPNGGraphic::TPNGGraphic() : colorManager_(std::make_unique<TColorManager>()) {}

TPNGGraphic::~TPNGGraphic() = default;

void TPNGGraphic::Assign(const TBitmap& source)
{
    if (auto* png = dynamic_cast<const TPNGGraphic*>(&source))
        properties_ = png->properties_;
    TBitmap::Assign(source);
}

void TPNGGraphic::LoadFromStream(TByteStream& stream)
{
    Clear();
    const uint64_t start = stream.Position();
    Loader loader(*this, stream);
    loader.Load(start);
}

void ClearTransparentWhite(TBitmap& bitmap)
{
    if (bitmap.PixelFormat() != pf32bit)
        return;
    for (int y = 0; y < bitmap.Height(); ++y) {
        uint8_t* p = bitmap.ScanLine(y);
        for (int x = 0; x < bitmap.Width(); ++x, p += 4)
            if (p[0] == 0xFF && p[1] == 0xFF && p[2] == 0xFF && p[3] == 0)
                p[0] = p[1] = p[2] = 0;
    }
}

namespace {
int pngUnitCount = 0;
std::unique_ptr<TBitmap> CreatePNGGraphic() { return std::make_unique<TPNGGraphic>(); }
} // namespace

void acPNGInitialization()
{
    if (pngUnitCount++ != 0)
        return;
    RegisterFileFormat("png", "Portable network graphics (Quenderil)", &CreatePNGGraphic);
}

void acPNGFinalization()
{
    if (pngUnitCount == 0 || --pngUnitCount != 0)
        return;
    UnregisterGraphicClass(&CreatePNGGraphic);
}
