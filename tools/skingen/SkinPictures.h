#pragma once
// Shapes the skin generator draws its images from. Each state image lies in
// a cell; a mask part (when the image has one) lies under the states, black
// where the picture shows and white where the background shows through.
#include "platform/Bitmap.h"

#include <string>

TColor Mix(TColor a, TColor b, int percent);
// The outline and shading of a frame picture. The painters lay a frame as
// its corner pieces, edges tiled between them and the centre tiled both
// ways: a corner curve deeper than its piece, or shading below the top
// piece, would repeat along the edges.
struct TFrameShape {
    int radius = 3;         // of the top corners
    int bottomRadius = -1;  // -1: as the top corners
    int shade = -1;         // rows shaded from light to the fill; -1: all
};
// A rounded frame: key colour outside the corners, a border line, a fill
// shaded over its top rows and flat below them, so that edges and centre
// tiled from its middle join without a step.
void DrawFrame(TBitmap& bmp, const TRect& cell, TColor fill, TColor border, const TFrameShape& shape);
// Turns the inside of a frame (within its border line) to key colour, but
// for the corner pieces of the given margins: there the painters take the
// see-through pixels for the parent's, not for the section's.
void ClearInside(TBitmap& bmp, const TRect& cell, int wl, int wt, int wr, int wb);
// The mask of the same frame: black inside, white outside.
void DrawFrameMask(TBitmap& bmp, const TRect& cell, const TFrameShape& shape);
// Small glyphs on key colour: "check", "dot", "dash", "close", "max", "min",
// "norm", "help", "up", "down", "left", "right", "grip", "arrow".
// With keyBackground false the glyph is laid over what the cell holds.
void DrawGlyph(TBitmap& bmp, const TRect& cell, const std::string& kind, TColor color, bool keyBackground = true);
// The glyph's mask: black where the glyph is drawn, white elsewhere.
void DrawGlyphMask(TBitmap& bmp, const TRect& cell, const std::string& kind);
// A soft diagonal weave for patterns and textures.
void DrawWeave(TBitmap& bmp, TColor a, TColor b, int step);
