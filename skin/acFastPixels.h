#pragma once
// The pixel layer under every skin painter: row access to 24- and 32-bit
// bitmaps, the two-bitmap blenders and the per-pixel mixes, tints and keyed
// copies. The integer formulas and their rounding are part of how a skin
// looks, so they are kept exactly; where a formula rounds a real number it
// rounds halves to the even neighbour.
//
// Every routine clips to the bitmaps it is given and does nothing for a
// pixel format it does not handle (only pf24bit and pf32bit are handled).
#include "platform/Bitmap.h"
#include "skin/sConst.h"

#include <cstddef>
#include <cstdint>

// Row access to a bitmap of one pixel format. The accessor does not own the
// bitmap and must be attached again after the bitmap changes size or format.
class TacFastBase {
public:
    int Width() const { return width_; }
    int Height() const { return height_; }

protected:
    bool Bind(TBitmap* bmp, TPixelFormat format);
    uint8_t* At(int x, int y, int bpp) const { return line0_ + ptrdiff_t(y) * delta_ + ptrdiff_t(x) * bpp; }

    TBitmap* bmp_ = nullptr;
    int width_ = 0, height_ = 0;
    uint8_t* line0_ = nullptr;
    ptrdiff_t delta_ = 0;
};

class TacFast24 : public TacFastBase {
public:
    // False (and nothing bound) for no bitmap, one under 2 x 2 pixels or one
    // that is not 24-bit.
    bool Attach(TBitmap* bmp) { return Bind(bmp, pf24bit); }
    // Red in the low byte; callers keep x and y inside the bitmap.
    TColor GetPixel(int x, int y) const;
};

class TacFast32 : public TacFastBase {
public:
    bool Attach(TBitmap* bmp) { return Bind(bmp, pf32bit); }
    // Red in the low byte, the pixel's alpha in the top byte.
    uint32_t GetPixel(int x, int y) const;
    // Writes colour and alpha (top byte) of a value as GetPixel returns it.
    void SetPixel(int x, int y, uint32_t value);
    // Fills the rectangle (clipped to the bitmap) with a pixel value in
    // memory order, as ColorToPixel32 gives it.
    void FillRect(const TRect& rect, uint32_t pixel);
};

// Blends a source rectangle into a target rectangle of the same size:
// target := (target * Weight + source * (255 - Weight) + 127) >> 8 for every
// byte, the alpha byte of 32-bit pixels included.
class TacFastSum {
public:
    int Weight = 0;
    TRect DstRect, SrcRect;

    // False unless both bitmaps have the accessor's format and are at least
    // 2 x 2 pixels.
    bool Attach(TBitmap* source, TBitmap* target);
    int Width() const { return width_; }
    int Height() const { return height_; }
    // Does nothing when either rectangle leaves its bitmap.
    void BlendRect();

protected:
    explicit TacFastSum(TPixelFormat format) : format_(format) {}

private:
    TPixelFormat format_;
    TBitmap* src_ = nullptr;
    TBitmap* dst_ = nullptr;
    int width_ = 0, height_ = 0;
};

class TacFastSum24 : public TacFastSum {
public:
    TacFastSum24() : TacFastSum(pf24bit) {}
};

class TacFastSum32 : public TacFastSum {
public:
    TacFastSum32() : TacFastSum(pf32bit) {}
};

// Memory order (blue first) with alpha 255.
uint32_t ColorToPixel32(TColor color);
// Fills a rectangle of a 32-bit bitmap with an opaque colour.
void FillRect32(TBitmap& bmp, const TRect& rect, TColor color);

// Blends rect of source into target at point, with weight 0..255 as the
// target's share. Negative positions are cut, the rest clipped to both
// bitmaps. Both bitmaps must be 24-bit or both 32-bit.
void BlendRect(TBitmap& target, TBitmap& source, int weight, TPoint point, TRect rect);

// A key above this value means "no key" to BlendBitmap.
constexpr uint32_t NoKeyColor = 0xFEFFFFFF;

// Blends the inclusive rect of source onto target at (x, y):
// channel := round(s - factor * (s - t)). Source pixels of the key colour are
// skipped unless the key is above NoKeyColor. Alpha is left alone.
void BlendBitmap(TBitmap& target, int x, int y, uint32_t key, double factor, TRect rect, const TBitmap& source);

// Moves the inclusive rect toward a colour: pixel := round(g * pixel +
// (1 - g) * colour) with g = percent / 100.
void BlendRectWithColor(TBitmap& bmp, TRect rect, int percent, TColor color);

// Moves every pixel that is not of the key colour toward a colour:
// channel := round(colour + factor * (pixel - colour)).
void TintBitmap(TBitmap& bmp, TColor color, TColor key, double factor);

// Every pixel becomes grey: (blue + green + red) div 3.
void GrayscaleBitmap(TBitmap& bmp);

// pixel := colour + floor((pixel - colour) * mask / 256) per channel, with
// a mask of the same size and format.
void BlendColorByMask(TBitmap& bmp, const TBitmap& mask, TColor color);

// A frame of a fade: every pixel of the 32-bit target (alpha kept) from the
// 24-bit bitmaps a and b of equal size: channel := (w * (a - b) + b * 256) >> 8,
// w the weight (0..256) or the mask's byte of that channel. Only the part
// that the target (and the mask) cover is written.
void MixBitmaps(TBitmap& target, const TBitmap& a, const TBitmap& b, int weight, const TBitmap* mask);

// Copies sourceRect of a picture whose mask lies in its lower half (mask
// row = row + height div 2) through that mask into targetRect. Magenta
// picture pixels take the cache's background when useBackground is set.
void CopyByMask(TRect targetRect, TRect sourceRect, TBitmap& target, const TBitmap& source, const TCacheInfo& cache,
                bool useBackground);

// Keyed copies: source pixels of the key colour are left out; pixels on a
// 32-bit target become opaque. The source rects are inclusive.
void CopyKeyed24(TBitmap& target, const TBitmap& source, int x, TRect rect, int y, TColor key);
void CopyWithKeyColor(TBitmap& target, const TBitmap& source, int x, int y, TColor key);
// As CopyKeyed24; with useBackground and a ready cache info, key pixels take
// the background pixel under them instead.
void CopyTransparentPiece(TBitmap& target, const TBitmap& source, int x, bool useBackground, const TCacheInfo& cache,
                          TColor key, TRect rect, int y);

// Cuts a target and a source rect (exclusive) to one common size inside
// both bitmaps: a negative Left or Top of either moves the other along.
// False when nothing is left.
bool ClipRectPair(TRect& target, TRect& source, int targetWidth, int targetHeight, int sourceWidth,
                  int sourceHeight);

class TsSkinManager;

// Restores see-through pixels of a 32-bit target from a 32-bit source: each
// pixel of rect whose colour is the key colour (alpha ignored) takes the
// source pixel at the same offset from point. With a mask index the key
// test is made on the mask's first state image instead, at the corner
// chosen by corner (13 top-left, 14 top-right, 16 bottom-left, 17
// bottom-right, any other top-left).
void FillTransparentPixels(TBitmap& target, const TBitmap& source, const TRect& rect, TPoint point, int maskIndex,
                           const TsSkinManager* manager, int corner);
