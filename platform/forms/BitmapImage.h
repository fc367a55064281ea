#pragma once
// Hands a bitmap's pixels to Qt for display.
#include "platform/Bitmap.h"

#include <QImage>

// A copy of the picture as a QImage: 32-bit bitmaps keep their (straight)
// alpha, palette formats their colours, and a Transparent bitmap turns the
// pixels of its TransparentColor fully transparent.
QImage BitmapToImage(const TBitmap& bitmap);

// A 32-bit bitmap (blue, green, red, alpha) of a picture.
TBitmap ImageToBitmap(const QImage& image);

// An image over a 24- or 32-bit bitmap's own rows, for painting into the
// bitmap with QPainter; a null image for other formats or an empty bitmap.
// It must not outlive the bitmap or a change of its size.
QImage BitmapPaintView(TBitmap& bitmap);
