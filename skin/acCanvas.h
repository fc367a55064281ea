#pragma once
// Canvas helpers of the painters: solid fills of rects and frames, copies
// of a frame's border strips, nested shadow frames and the "..." cut of a
// caption. Captions are measured by the caller's font (the windows library
// draws text), so the cut takes a measuring function.
#include "platform/Bitmap.h"

#include <functional>
#include <string>

// Fills rect (clipped) with a colour; 32-bit pixels get alpha 0, as a
// brush leaves it.
void FillSolidRect(TBitmap& bmp, const TRect& rect, TColor color);
// Fills the four border strips of rect with the given widths.
void FillSolidBorder(TBitmap& bmp, const TRect& rect, int left, int top, int right, int bottom, TColor color);
// Copies the four border strips (width b) of a w x h frame at (sx, sy) of
// source to (x, y) of target; the interior is not touched.
void BlitBorder(TBitmap& target, int x, int y, int w, int h, const TBitmap& source, int sx, int sy, int b);
// Nested one-pixel frames, depth of them, light at the top left and dark
// at the bottom right; depth is 0 on return.
void DrawShadowFrame(TBitmap& bmp, TRect rect, TColor topLeft, int& depth, TColor bottomRight);

using TTextWidthFunc = std::function<int(const std::string&)>;
// The text, or its longest beginning that fits with "..." after it; empty
// when not even "..." fits (never "..." alone) or maxWidth <= 0.
std::string CutTextToWidth(const TTextWidthFunc& textWidth, const std::string& text, int maxWidth);
