#include "platform/Bitmap.h"

#include "platform/Files.h"

#include <algorithm>
#include <cstring>

int BitsPerPixel(TPixelFormat format)
{
    switch (format) {
    case pf1bit: return 1;
    case pf4bit: return 4;
    case pf8bit: return 8;
    case pf15bit:
    case pf16bit: return 16;
    case pf24bit: return 24;
    default: return 32;
    }
}

void TByteStream::ReadBuffer(void* dest, size_t count)
{
    if (count > Remaining())
        throw EReadError("Stream read error");
    std::memcpy(dest, data_ + pos_, count);
    pos_ += count;
}

void TBitmap::Assign(const TBitmap& source)
{
    if (&source != this)
        TBitmap::operator=(source);
}

void TBitmap::LoadFromStream(TByteStream&)
{
    throw EInvalidGraphic("Bitmap image is not valid");
}

void TBitmap::LoadFromFile(const std::string& nativePath)
{
    std::string bytes;
    if (!ReadWholeFile(nativePath, bytes))
        throw EReadError("Cannot open file \"" + nativePath + "\".");
    TByteStream stream(bytes);
    LoadFromStream(stream);
}

void TBitmap::Clear()
{
    width_ = height_ = 0;
    format_ = pfDevice;
    stride_ = 0;
    pixels_.clear();
    pixels_.shrink_to_fit();
    palette_.clear();
    transparentColor_ = 0x1FFFFFFF;
    transparent_ = false;
}

void TBitmap::Allocate(int width, int height, TPixelFormat format)
{
    if (width < 0 || height < 0 || width > MaxDimension || height > MaxDimension
        || uint64_t(width) * uint64_t(height) > MaxPixels)
        throw EInvalidGraphic("Bitmap image is not valid");
    size_t stride = (size_t(width) * size_t(BitsPerPixel(format)) + 31) / 32 * 4;
    std::vector<uint8_t> pixels(stride * size_t(height));
    width_ = width;
    height_ = height;
    format_ = format;
    stride_ = stride;
    pixels_ = std::move(pixels);
}

void TBitmap::SetSize(int width, int height)
{
    if (width == width_ && height == height_)
        return;
    TBitmap old(*this);
    Allocate(width, height, format_);
    // A bitmap that grows keeps its picture at the top left.
    size_t bytes = std::min(old.stride_, stride_);
    for (int y = 0; y < std::min(old.height_, height_); ++y)
        std::memcpy(ScanLine(y), old.ScanLine(y), bytes);
}

void TBitmap::SetPixelFormat(TPixelFormat format)
{
    if (format == format_)
        return;
    if (Empty()) {
        format_ = format;
        stride_ = (size_t(width_) * size_t(BitsPerPixel(format)) + 31) / 32 * 4;
        pixels_.assign(stride_ * size_t(height_), 0);
        return;
    }
    TBitmap old(*this);
    Allocate(width_, height_, format);
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) {
            SetPixel(x, y, old.Pixel(x, y));
            if (format == pf32bit)
                ScanLine(y)[x * 4 + 3] = uint8_t(old.Alpha(x, y));
        }
}

int TBitmap::Index(int x, int y) const
{
    const uint8_t* row = ScanLine(y);
    switch (format_) {
    case pf1bit: return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case pf4bit: return (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F;
    default: return row[x];
    }
}

void TBitmap::SetIndex(int x, int y, int index)
{
    uint8_t* row = ScanLine(y);
    switch (format_) {
    case pf1bit: {
        uint8_t bit = uint8_t(0x80 >> (x & 7));
        row[x >> 3] = uint8_t((row[x >> 3] & ~bit) | ((index & 1) ? bit : 0));
        break;
    }
    case pf4bit: {
        int shift = (x & 1) ? 0 : 4;
        row[x >> 1] = uint8_t((row[x >> 1] & ~(0x0F << shift)) | ((index & 0x0F) << shift));
        break;
    }
    default: row[x] = uint8_t(index);
    }
}

TColor TBitmap::Pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return -1;
    const uint8_t* row = ScanLine(y);
    switch (format_) {
    case pf1bit:
    case pf4bit:
    case pf8bit: {
        size_t i = size_t(Index(x, y));
        if (i >= palette_.size())
            return clBlack;
        const TRGBQuad& q = palette_[i];
        return RGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
    }
    case pf15bit:
    case pf16bit: {
        unsigned v = row[x * 2] | (row[x * 2 + 1] << 8);
        auto five = [](unsigned c) { return int((c & 31) * 255 / 31); };
        return RGB(five(v >> 10), five(v >> 5), five(v));
    }
    case pf24bit: return RGB(row[x * 3 + 2], row[x * 3 + 1], row[x * 3]);
    default: return RGB(row[x * 4 + 2], row[x * 4 + 1], row[x * 4]);
    }
}

int TBitmap::Alpha(int x, int y) const
{
    if (format_ != pf32bit || x < 0 || y < 0 || x >= width_ || y >= height_)
        return 255;
    return ScanLine(y)[x * 4 + 3];
}

int TBitmap::NearestPaletteIndex(TColor color) const
{
    int best = 0;
    long bestDistance = -1;
    for (size_t i = 0; i < palette_.size(); ++i) {
        long dr = long(palette_[i].rgbRed) - GetRValue(color);
        long dg = long(palette_[i].rgbGreen) - GetGValue(color);
        long db = long(palette_[i].rgbBlue) - GetBValue(color);
        long d = dr * dr + dg * dg + db * db;
        if (bestDistance < 0 || d < bestDistance) {
            bestDistance = d;
            best = int(i);
        }
    }
    return best;
}

void TBitmap::SetPixel(int x, int y, TColor color)
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return;
    uint8_t* row = ScanLine(y);
    switch (format_) {
    case pf1bit:
    case pf4bit:
    case pf8bit: SetIndex(x, y, NearestPaletteIndex(color)); break;
    case pf15bit:
    case pf16bit: {
        unsigned v = unsigned(GetRValue(color) >> 3) << 10 | unsigned(GetGValue(color) >> 3) << 5
                     | unsigned(GetBValue(color) >> 3);
        row[x * 2] = uint8_t(v);
        row[x * 2 + 1] = uint8_t(v >> 8);
        break;
    }
    case pf24bit:
        row[x * 3] = uint8_t(GetBValue(color));
        row[x * 3 + 1] = uint8_t(GetGValue(color));
        row[x * 3 + 2] = uint8_t(GetRValue(color));
        break;
    default:
        row[x * 4] = uint8_t(GetBValue(color));
        row[x * 4 + 1] = uint8_t(GetGValue(color));
        row[x * 4 + 2] = uint8_t(GetRValue(color));
        row[x * 4 + 3] = 0;
    }
}

void TBitmap::FillRect(const TRect& rect, TColor color)
{
    int left = std::max(rect.Left, 0), right = std::min(rect.Right, width_);
    int top = std::max(rect.Top, 0), bottom = std::min(rect.Bottom, height_);
    if (left >= right || top >= bottom)
        return;
    // Set one pixel, then copy it along the row: the conversion of the
    // colour (nearest palette entry) is done once.
    SetPixel(left, top, color);
    if (format_ == pf1bit || format_ == pf4bit || format_ == pf8bit) {
        int index = Index(left, top);
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x)
                SetIndex(x, y, index);
        return;
    }
    // The first row pixel by pixel, the others as copies of it: a large
    // bitmap is filled at the speed of a block copy.
    const size_t bpp = size_t(BitsPerPixel(format_) / 8), offset = size_t(left) * bpp;
    uint8_t* first = ScanLine(top) + offset;
    for (uint8_t* p = first + bpp; p < first + size_t(right - left) * bpp; p += bpp)
        std::memcpy(p, first, bpp);
    for (int y = top + 1; y < bottom; ++y)
        std::memcpy(ScanLine(y) + offset, first, size_t(right - left) * bpp);
}

void TBitmap::FillIndex(int index)
{
    if (Empty() || !(format_ == pf1bit || format_ == pf4bit || format_ == pf8bit))
        return;
    for (int x = 0; x < width_; ++x)
        SetIndex(x, 0, index);
    for (int y = 1; y < height_; ++y)
        std::memcpy(ScanLine(y), ScanLine(0), stride_);
}

namespace {

struct FileFormat {
    std::string extension;
    std::string description;
    TGraphicFactory factory;
};

std::vector<FileFormat>& FileFormats()
{
    static std::vector<FileFormat> formats;
    return formats;
}

std::string LowerAscii(std::string s)
{
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    return s;
}

} // namespace

void RegisterFileFormat(const std::string& extension, const std::string& description, TGraphicFactory factory)
{
    FileFormats().insert(FileFormats().begin(), FileFormat{LowerAscii(extension), description, factory});
}

void UnregisterGraphicClass(TGraphicFactory factory)
{
    auto& formats = FileFormats();
    formats.erase(std::remove_if(formats.begin(), formats.end(),
                                 [&](const FileFormat& f) { return f.factory == factory; }),
                  formats.end());
}

std::unique_ptr<TBitmap> CreateGraphicForFile(const std::string& fileName)
{
    size_t dot = fileName.find_last_of('.');
    size_t slash = fileName.find_last_of("/\\");
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return nullptr;
    std::string ext = LowerAscii(fileName.substr(dot + 1));
    for (const FileFormat& f : FileFormats())
        if (f.extension == ext)
            return f.factory();
    return nullptr;
}
