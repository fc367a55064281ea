#include "platform/forms/BitmapImage.h"

#include <cstring>

namespace {

QList<QRgb> ColorTable(const TBitmap& bitmap, int entries)
{
    QList<QRgb> table(entries, qRgb(0, 0, 0));
    const auto& palette = bitmap.Palette();
    for (int i = 0; i < entries && i < int(palette.size()); ++i)
        table[i] = qRgb(palette[i].rgbRed, palette[i].rgbGreen, palette[i].rgbBlue);
    return table;
}

QImage PlainImage(const TBitmap& bitmap)
{
    const int w = bitmap.Width(), h = bitmap.Height();
    switch (bitmap.PixelFormat()) {
    case pf1bit:
    case pf4bit:
    case pf8bit: {
        QImage image(w, h, QImage::Format_Indexed8);
        image.setColorTable(ColorTable(bitmap, 256));
        for (int y = 0; y < h; ++y) {
            const uint8_t* src = bitmap.ScanLine(y);
            uchar* dst = image.scanLine(y);
            if (bitmap.PixelFormat() == pf8bit)
                std::memcpy(dst, src, size_t(w));
            else
                for (int x = 0; x < w; ++x)
                    dst[x] = uchar(bitmap.Index(x, y));
        }
        return image;
    }
    case pf15bit:
    case pf16bit:
    case pf24bit: {
        QImage::Format format = bitmap.PixelFormat() == pf24bit ? QImage::Format_BGR888 : QImage::Format_RGB555;
        QImage image(w, h, format);
        size_t bytes = size_t(w) * size_t(bitmap.PixelFormat() == pf24bit ? 3 : 2);
        for (int y = 0; y < h; ++y)
            std::memcpy(image.scanLine(y), bitmap.ScanLine(y), bytes);
        return image;
    }
    default: {
        // Memory order blue, green, red, alpha is QImage's 32-bit ARGB on
        // little-endian machines; a device-format bitmap has no alpha.
        const bool alpha = bitmap.PixelFormat() == pf32bit;
        QImage image(w, h, alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
        for (int y = 0; y < h; ++y) {
            const uint8_t* src = bitmap.ScanLine(y);
            auto* dst = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < w; ++x, src += 4)
                dst[x] = qRgba(src[2], src[1], src[0], alpha ? src[3] : 255);
        }
        return image;
    }
    }
}

} // namespace

QImage BitmapToImage(const TBitmap& bitmap)
{
    if (bitmap.Empty())
        return QImage();
    QImage image = PlainImage(bitmap);
    if (!bitmap.Transparent())
        return image;
    const TColor key = bitmap.TransparentColor();
    const QRgb keyRgb = qRgb(GetRValue(key), GetGValue(key), GetBValue(key));
    image = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if ((line[x] & 0xFFFFFF) == (keyRgb & 0xFFFFFF))
                line[x] = 0;
    }
    return image;
}

TBitmap ImageToBitmap(const QImage& image)
{
    // ARGB32 lies in memory as blue, green, red, alpha: the bitmap's order.
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    TBitmap bitmap;
    bitmap.SetPixelFormat(pf32bit);
    bitmap.SetSize(argb.width(), argb.height());
    for (int y = 0; y < argb.height(); ++y)
        std::memcpy(bitmap.ScanLine(y), argb.constScanLine(y), size_t(argb.width()) * 4);
    return bitmap;
}

QImage BitmapPaintView(TBitmap& bitmap)
{
    const TPixelFormat format = bitmap.PixelFormat();
    if (bitmap.Empty() || (format != pf24bit && format != pf32bit))
        return QImage();
    return QImage(bitmap.ScanLine(0), bitmap.Width(), bitmap.Height(), qsizetype(bitmap.BytesPerScanline()),
                  format == pf24bit ? QImage::Format_BGR888 : QImage::Format_RGB32);
}
