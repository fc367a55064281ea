#pragma once
// A device-independent bitmap with the pixel formats of the class library's
// bitmap: 1, 4 and 8 bits through a palette, 15, 24 and 32 bits direct.
// Scan lines are kept top-down, each padded to four bytes, with the byte
// order of a device-independent bitmap (blue, green, red, alpha; packed
// formats with the leftmost pixel in the high bits). Windows turn it into a
// QImage only to show it (platform/forms/BitmapImage.h).
#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

// Colours as the class library keeps them: red in the low byte.
using TColor = int32_t;
constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clFuchsia = 0xFF00FF;

inline TColor RGB(int r, int g, int b)
{
    return TColor((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
inline int GetRValue(TColor c) { return c & 0xFF; }
inline int GetGValue(TColor c) { return (c >> 8) & 0xFF; }
inline int GetBValue(TColor c) { return (c >> 16) & 0xFF; }

struct TPoint {
    int X = 0, Y = 0;
    bool operator==(const TPoint&) const = default;
};

struct TRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool operator==(const TRect&) const = default;
};

// One palette entry, in the byte order of a device-independent bitmap.
struct TRGBQuad {
    uint8_t rgbBlue = 0, rgbGreen = 0, rgbRed = 0, rgbReserved = 0;
    bool operator==(const TRGBQuad&) const = default;
};

// pfDevice is the format of a new bitmap (stored as 32 bits); readers test
// for it to learn whether they chose a format yet.
enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };

int BitsPerPixel(TPixelFormat format);

// The class library's graphic and stream errors.
class EInvalidGraphic : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
class EReadError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A read-only stream over bytes held in memory, with the class library's
// rules: reads past the end raise EReadError, seeks may go past the end.
class TByteStream {
public:
    explicit TByteStream(const void* data, size_t size)
        : data_(static_cast<const uint8_t*>(data)), size_(size) {}
    explicit TByteStream(const std::string& bytes) : TByteStream(bytes.data(), bytes.size()) {}

    uint64_t Position() const { return pos_; }
    void SetPosition(uint64_t pos) { pos_ = pos; }
    uint64_t Size() const { return size_; }
    // Bytes left before the end (0 when positioned past it).
    uint64_t Remaining() const { return pos_ < size_ ? size_ - pos_ : 0; }
    void ReadBuffer(void* dest, size_t count);
    // Moves forward from the current position.
    void Seek(uint64_t offset) { pos_ += offset; }

private:
    const uint8_t* data_;
    uint64_t size_;
    uint64_t pos_ = 0;
};

class TBitmap {
public:
    // The largest picture any bitmap may hold; larger requests raise
    // EInvalidGraphic instead of exhausting memory.
    static constexpr int MaxDimension = 65535;
    static constexpr uint64_t MaxPixels = uint64_t(1) << 26;

    TBitmap() = default;
    TBitmap(const TBitmap&) = default;
    TBitmap& operator=(const TBitmap&) = default;
    virtual ~TBitmap() = default;

    // Copies the picture of another bitmap.
    virtual void Assign(const TBitmap& source);
    // Reads a picture; the plain bitmap knows no file format of its own.
    virtual void LoadFromStream(TByteStream& stream);
    void LoadFromFile(const std::string& nativePath);

    // Empties the bitmap: no pixels, device format, no palette, opaque.
    void Clear();
    bool Empty() const { return width_ == 0 || height_ == 0; }

    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetSize(int width, int height);
    void SetWidth(int width) { SetSize(width, height_); }
    void SetHeight(int height) { SetSize(width_, height); }

    TPixelFormat PixelFormat() const { return format_; }
    // Changes the format, converting the pixels already held. Conversion to
    // a palette format keeps the nearest palette entry of each pixel.
    void SetPixelFormat(TPixelFormat format);

    // 1, 4 and 8-bit formats index this table; entries beyond it are black.
    const std::vector<TRGBQuad>& Palette() const { return palette_; }
    void SetPalette(std::vector<TRGBQuad> palette) { palette_ = std::move(palette); }

    size_t BytesPerScanline() const { return stride_; }
    uint8_t* ScanLine(int y) { return pixels_.data() + size_t(y) * stride_; }
    const uint8_t* ScanLine(int y) const { return pixels_.data() + size_t(y) * stride_; }

    // The colour of one pixel, through the palette for palette formats.
    TColor Pixel(int x, int y) const;
    // The alpha byte of a 32-bit pixel, 255 for other formats.
    int Alpha(int x, int y) const;
    void SetPixel(int x, int y, TColor color);
    // Fills the rectangle (clipped to the bitmap) with a colour; palette
    // formats take the nearest palette entry. 32-bit pixels get alpha 0, as
    // a brush leaves it.
    void FillRect(const TRect& rect, TColor color);
    // Fills every pixel of a palette format with one palette index.
    void FillIndex(int index);
    // The palette index of a pixel of a 1, 4 or 8-bit bitmap.
    int Index(int x, int y) const;
    // The palette entry nearest to a colour.
    int NearestPaletteIndex(TColor color) const;

    TColor TransparentColor() const { return transparentColor_; }
    void SetTransparentColor(TColor color) { transparentColor_ = color; }
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value) { transparent_ = value; }

private:
    void Allocate(int width, int height, TPixelFormat format);
    void SetIndex(int x, int y, int index);

    int width_ = 0;
    int height_ = 0;
    TPixelFormat format_ = pfDevice;
    size_t stride_ = 0;
    std::vector<uint8_t> pixels_;
    std::vector<TRGBQuad> palette_;
    TColor transparentColor_ = 0x1FFFFFFF;
    bool transparent_ = false;
};

// Picture classes by file extension, as the picture class of the class
// library keeps them: a unit registers its reader at start-up, and loading a
// picture file creates the reader registered for its extension.
using TGraphicFactory = std::unique_ptr<TBitmap> (*)();
void RegisterFileFormat(const std::string& extension, const std::string& description, TGraphicFactory factory);
void UnregisterGraphicClass(TGraphicFactory factory);
// A new bitmap of the class registered for the file's extension (without
// regard to case), or nullptr when none is.
std::unique_ptr<TBitmap> CreateGraphicForFile(const std::string& fileName);
