#pragma once
// Whole-rectangle copies between bitmaps: a clipped copy and a scaler, in
// place of the system's block transfers. Both handle 24- and 32-bit
// bitmaps in any pairing; pixels written into a 32-bit bitmap from a 24-bit
// one become opaque.
#include "platform/Bitmap.h"

#include <algorithm>

// Copies w x h pixels from (sx, sy) of source to (x, y) of target; what
// lies outside either bitmap is cut off on every side.
void CopyBitmapRect(TBitmap& target, int x, int y, int w, int h, const TBitmap& source, int sx, int sy);

// Scales sourceRect of source onto targetRect of target. Halftone averages
// the source pixels under each target pixel; otherwise the nearest source
// pixel is taken. The target rect is clipped to the target; a source rect
// reaching outside the source paints nothing.
void StretchBitmapRect(TBitmap& target, const TRect& targetRect, const TBitmap& source, const TRect& sourceRect,
                       bool halftone);
// The same, painting only the part of the target rect inside clip.
void StretchBitmapRect(TBitmap& target, const TRect& targetRect, const TBitmap& source, const TRect& sourceRect,
                       bool halftone, const TRect& clip);

// Lays pieces of pieceWidth x pieceHeight over area from its top-left:
// whole pieces while room is left for one, then one piece cut to the end,
// on both axes. put gets each target rect (its size is the part of the
// piece to copy, from the piece's top-left). A piece size under 1 lays
// nothing: it has no pixels to repeat.
template <class Put>
void TileRect(const TRect& area, int pieceWidth, int pieceHeight, const Put& put)
{
    if (pieceWidth < 1 || pieceHeight < 1)
        return;
    for (int x = area.Left; x < area.Right; x += pieceWidth) {
        const int w = std::min(pieceWidth, area.Right - x);
        for (int y = area.Top; y < area.Bottom; y += pieceHeight)
            put(TRect{x, y, x + w, y + std::min(pieceHeight, area.Bottom - y)});
    }
}
