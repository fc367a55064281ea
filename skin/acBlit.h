#pragma once
// Whole-rectangle copies between bitmaps: a clipped copy and a scaler, in
// place of the system's block transfers. Both handle 24- and 32-bit
// bitmaps in any pairing; pixels written into a 32-bit bitmap from a 24-bit
// one become opaque.
#include "platform/Bitmap.h"

// Copies w x h pixels from (sx, sy) of source to (x, y) of target; what
// lies outside either bitmap is cut off on every side.
void CopyBitmapRect(TBitmap& target, int x, int y, int w, int h, const TBitmap& source, int sx, int sy);

// Scales sourceRect of source onto targetRect of target. Halftone averages
// the source pixels under each target pixel; otherwise the nearest source
// pixel is taken. The target rect is clipped to the target; a source rect
// reaching outside the source paints nothing.
void StretchBitmapRect(TBitmap& target, const TRect& targetRect, const TBitmap& source, const TRect& sourceRect,
                       bool halftone);
