#pragma once
// Drawing services over the pixel layer: work bitmaps, the skin-wide colour
// transforms, the disabled look, button glyphs, soft rounded shading, the
// dotted focus frame, alpha drawing, channel copies and the glyph-and-caption
// layout of buttons.
#include "platform/Bitmap.h"
#include "skin/sConst.h"

#include <memory>
#include <vector>

// The class library's "no colour" for a tint.
constexpr TColor clNone = 0x1FFFFFFF;

std::unique_ptr<TBitmap> CreateBitmap24(int width, int height);
std::unique_ptr<TBitmap> CreateBitmap32(int width, int height);
// Same size and pixel format as the given bitmap.
std::unique_ptr<TBitmap> CreateBitmapLike(const TBitmap& bmp);

inline TColor ColorNoAlpha(TColor color) { return color; }

// Moves each channel toward (positive amount) or away from (negative) the
// mean of the three; amount 100 gives grey.
TColor ChangeSaturation(TColor color, int amount);
// Turns the hue by a number of degrees (either sign); greys stay as they are.
TColor ChangeHue(int degrees, TColor color);

// Whether per-pixel translucent top-level windows can be shown. False until
// the windows layer has asked the platform (SetLayeredWindowsAvailable).
bool LayeredWindowsAvailable();
void SetLayeredWindowsAvailable(bool available);

// Disabled look of a control's cached image: flags bit 2 greys it, bit 1
// mixes it with what lies under the control (the cache image at its offset
// plus the given offset) or, without one, with the cache's fill colour, or
// the parent's colour when that is none.
void ApplyDisabledLook(TBitmap& bmp, int flags, TColor parentColor, const TCacheInfo& cache, TPoint offset);

// Paints a button glyph (a strip of count frames) at rect's top-left. kind:
// 0 normal, 1 hot or focused, 2 pressed; state: the button is down (0, 1).
// disabledFlags as ApplyDisabledLook; percent blends the normal state.
void PaintButtonGlyph(const TBitmap& glyph, TBitmap& target, const TRect& rect, int count, bool enabled,
                      int disabledFlags, int kind, int percent, int state);

// Soft shading toward a colour, strongest in the middle of a rounded rect.
void BlendColorRounded(TBitmap& bmp, const TRect& rect, int percent, int corner, int steps, TColor color);

// A dotted focus frame; its right and bottom lines lie on rect's Right and
// Bottom.
void DrawDottedFrame(TBitmap& canvas, const TRect& rect);

// Draws a 32-bit picture through its alpha. reflection adds a mirrored copy
// fading out below the target rect; tint (not clNone) recolours the source
// first; magenta source pixels are skipped or take the cache's background.
void DrawAlphaBitmap(TRect targetRect, TRect sourceRect, TBitmap& target, bool reflection, int percent, TColor tint,
                     bool useBackground, const TCacheInfo& cache, TBitmap& source);

// Copies byte index (0..3) of every 32-bit pixel into the 8-bit bitmap
// (toEightBit) or back, over the size both bitmaps share.
void CopyAlphaChannel(TBitmap& bmp32, TBitmap& bmp8, int index, bool toEightBit);

// Places a glyph and a caption in a client rect. layout: 0 glyph left of the
// text, 1 right, 2 above, 3 below; alignment 0 left, 1 right, 2 centre;
// margin and spacing -1 = computed; flags bit 2 swaps layouts 0 and 1.
void LayoutGlyphAndText(const TRect& client, TPoint glyphSize, TPoint textSize, int layout, int alignment, int margin,
                        int spacing, TPoint& glyphPos, TRect& textBounds, unsigned flags);

struct TsMaskData;

// Appends one rect (one row high) per horizontal run of key-colour pixels
// in the corners of a mask's first state: its first WT rows, or with bottom
// its last WB rows of the frame. Runs of the right corner are moved to the
// right edge of a target width wide; scan row i lands at topOffset + i.
void AddTransparentCornerRects(std::vector<TRect>& rects, int width, const TsMaskData& mask, int topOffset,
                               bool bottom);
