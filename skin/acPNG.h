#pragma once
// PNG reader: decodes a PNG stream into an ordinary bitmap (1, 4 or 8 bits
// with a palette, 24 bits, or 32 bits with straight alpha). Registered at
// start-up as the picture class of ".png" files, so every PNG picture the
// program loads comes through here; platform/forms/BitmapImage.h hands the
// result to Qt for display.
#include "platform/Bitmap.h"
#include "skin/acColorManager.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

class EGraphicCompression : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// CRC-32 of the PNG standard (reflected polynomial 0xEDB88320).
void BuildCRCTable();
uint32_t UpdateCRC(uint32_t crc, const void* data, size_t count);

// One zlib inflate stream, fed and drained by the caller.
class TLZ77Decoder {
public:
    TLZ77Decoder(int flushKind, bool resetEachCall);
    ~TLZ77Decoder();
    TLZ77Decoder(const TLZ77Decoder&) = delete;
    TLZ77Decoder& operator=(const TLZ77Decoder&) = delete;

    void Start();
    // One inflate call over the given input and output; advances both
    // pointers and returns zlib's result.
    int Inflate(const uint8_t*& source, uint8_t*& dest, unsigned outSize, unsigned inSize);
    void Finish();
    unsigned InputLeft() const;
    unsigned OutputLeft() const;

private:
    struct Stream;
    std::unique_ptr<Stream> stream_;
    int flushKind_;
    bool resetEachCall_;
    bool started_ = false;
    int lastResult_ = 0;
};

enum TProgressStage { psStarting, psRunning, psEnding };
using TProgressEvent = std::function<void(TProgressStage stage, int percentDone, bool redrawNow, const TRect& rect,
                                          const std::string& message)>;

// Image properties: bit 0 of Options = a valid header was read, bit 1 = a
// gAMA chunk was applied.
struct TPNGImageProperties {
    unsigned Options = 0;
    uint32_t Width = 0, Height = 0;
    TSampleLayout ColorScheme = slUnknown;
    int ColorType = 0;
    int BitsPerSample = 0;
    int SamplesPerPixel = 0;
    int BitsPerPixel = 0;
    int Compression = 0; // 2 = deflate
    double FileGamma = 1.0;
    bool Interlaced = false;
    bool HasAlpha = false;
    int FilterMode = 0;
};

// An icon as its two bitmaps: the 32-bit picture and a 1-bit mask whose set
// bits are transparent.
struct TIconBitmaps {
    TBitmap Image;
    TBitmap Mask;
};

class TPNGGraphic : public TBitmap {
public:
    TPNGGraphic();
    ~TPNGGraphic() override;

    void Assign(const TBitmap& source) override;
    // Decodes the PNG that starts at the stream's position. Raises
    // EInvalidGraphic, EGraphicCompression, EColorConversionError or
    // EReadError with the reader's messages.
    void LoadFromStream(TByteStream& stream) override;

    // Draws the picture into rect of canvas (stretched to its size); 32-bit
    // pictures are blended through their alpha.
    void Draw(TBitmap& canvas, const TRect& rect) const;

    // An icon of the picture. A 32-bit picture keeps its alpha; any other
    // (and any with forceKeyColor) is made 32-bit and its top-left colour
    // becomes transparent.
    TIconBitmaps CreateIconFromImage(bool forceKeyColor);

    const TPNGImageProperties& ImageProperties() const { return properties_; }
    TColorManager& ColorManager() { return *colorManager_; }

    TProgressEvent OnProgress;

private:
    class Loader;
    std::unique_ptr<TColorManager> colorManager_;
    TPNGImageProperties properties_;
};

// In a 32-bit bitmap, white pixels with alpha 0 become 0 (black, alpha 0).
void ClearTransparentWhite(TBitmap& bitmap);

// Unit start-up and shutdown (each runs its work once): registers and
// unregisters the reader for the extension "png".
void acPNGInitialization();
void acPNGFinalization();
