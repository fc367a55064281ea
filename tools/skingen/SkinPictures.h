#pragma once
// Shapes the skin generator draws its images from. Each state image lies in
// a cell; a mask part (when the image has one) lies under the states, black
// where the picture shows and white where the background shows through.
#include "platform/Bitmap.h"

#include <string>

TColor Mix(TColor a, TColor b, int percent);
// A rounded frame: key colour outside the corners, a border line, a fill
// shaded from top to bottom.
void DrawFrame(TBitmap& bmp, const TRect& cell, TColor fill, TColor border, int radius);
// The mask of the same frame: black inside, white outside.
void DrawFrameMask(TBitmap& bmp, const TRect& cell, int radius);
// Small glyphs on key colour: "check", "dot", "dash", "close", "max", "min",
// "norm", "help", "up", "down", "left", "right", "grip", "arrow".
// With keyBackground false the glyph is laid over what the cell holds.
void DrawGlyph(TBitmap& bmp, const TRect& cell, const std::string& kind, TColor color, bool keyBackground = true);
// The glyph's mask: black where the glyph is drawn, white elsewhere.
void DrawGlyphMask(TBitmap& bmp, const TRect& cell, const std::string& kind);
// A soft diagonal weave for patterns and textures.
void DrawWeave(TBitmap& bmp, TColor a, TColor b, int step);
