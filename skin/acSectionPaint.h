#pragma once
// Painting a skin section into a rectangle of a bitmap: the background
// layers (colour, texture or image, gradient, mixed by their percentages
// and, for a see-through section, with the parent's background), then the
// corner images and the border mask.
#include "platform/Bitmap.h"
#include "skin/sCommonDataTypes.h"
#include "skin/sConst.h"
#include "skin/sSkinData.h"

#include <string>

class TsSkinManager;

// The rect a texture painter gives back when it covered all of it.
constexpr TRect NoRectLeft{-1, -1, -1, -1};

// Lays a texture over r and sets r to the part left uncovered (NoRectLeft
// when none). An image (not empty) is tiled; otherwise the mask's rectangle
// of the master bitmap is tiled or stretched by the draw mode 0..14.
void PaintTexture(TBitmap& bmp, TRect& r, const TBitmap* image, int mode, const TsMaskData* mask);

// The image layer of a mask whose mask lies under its picture: draw mode 0
// tiles its first state over r, 10 lays whole pieces only and gives the
// rest the parent background; r comes back NoRectLeft after those two and
// unchanged after any other mode.
void PaintImageWithPercent(TBitmap& bmp, TRect& r, const TCacheInfo& cache, int mode, const TsMaskData& mask);

// The layers of a section background, as chosen for a state.
struct TBackgroundLayers {
    TColor Color = clWhite;
    int Transparency = 0;
    int ImagePercent = 0;
    int GradientPercent = 0;
    const TsGradArray* Gradient = nullptr; // nullptr or empty: the colour instead
    const TsMaskData* PatternMask = nullptr;
    const TBitmap* Texture = nullptr;      // a texture pattern
};

// Paints the layers into r. maskTwin selects the rules of the border-mask
// twin (24-bit gradient work bitmap, weight i * 256 div 100, other sums).
void PaintBackgroundImage(TBitmap& bmp, const TRect& r, const TBackgroundLayers& layers, const TCacheInfo& cache,
                          bool maskTwin);

// The background of section index into r of bmp. A colour other than
// 0xFF00FF replaces every layer. point is the rect's offset from the
// control's origin in the cache's image.
void PaintSectionBackground(int index, const std::string& name, const TCacheInfo& cache, TColor color,
                            int hotPatternIndex, int patternIndex, const TsSkinManager* manager, TBitmap& bmp,
                            TPoint point, const TRect& r, int state);
void PaintSectionBackgroundWithMask(int index, int patternIndex, int hotPatternIndex, const TCacheInfo& cache,
                                    int state, const TRect& r, TPoint point, TBitmap& bmp,
                                    const TsSkinManager* manager);

// Background, corner images and border mask of a section; nothing when the
// rect is empty or not inside the bitmap.
void PaintSectionItem(int index, const std::string& name, const TCacheInfo& cache, bool fillCentre, int state,
                      const TRect& r, TPoint point, TBitmap* bmp, const TsSkinManager* manager, int patternIndex,
                      int hotPatternIndex);
// Background and a given border mask.
void PaintSectionItemWithMask(int index, int maskIndex, int patternIndex, int hotPatternIndex,
                              const TCacheInfo& cache, bool fillCentre, int state, const TRect& r, TPoint point,
                              TBitmap* bmp, const TsSkinManager* manager);
// Paints the item into a new 24-bit bitmap of the rect's size and copies it
// to r of target.
void PaintSectionItemToDC(int index, const std::string& name, const TCacheInfo& cache, bool fillCentre, int state,
                          const TRect& r, TPoint point, TBitmap& target, const TsSkinManager* manager,
                          int patternIndex, int hotPatternIndex);
// The section by name, else by the fallback name, painted over the whole
// bitmap; with a target, its pixels under rect are first copied into the
// bitmap and show through see-through parts. Returns the index or -1.
int PaintSectionItemByName(TBitmap& bmp, const std::string& name, const std::string& fallback, int state,
                           const TsSkinManager* manager, const TRect& rect, const TBitmap* target);

// A parent's background answer as the painters' cache info.
TCacheInfo BackgroundToCacheInfo(const TBackgroundInfo& info);
