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

// A QImage over the bitmap's own rows, for painting into it with QPainter;
// a null image for formats other than 24 and 32 bits (or no pixels).
// 32-bit pixels painted through it come out opaque.
QImage BitmapCanvas(TBitmap& bitmap);
