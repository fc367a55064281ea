#pragma once
// Painting a scroll bar and the corner between two bars by the skin: the
// two track halves, the arrow buttons with their glyphs and the thumb, each
// in its state, into a bitmap of the bar's size.
#include "platform/Bitmap.h"
#include "skinwnd/acScrollGeometry.h"

class TsSkinManager;

// What one bar looks like now. Coordinates run along the bar from its
// start; states are the skin states (0 normal, 1 hot, 2 pressed).
struct TacBarLook {
    bool Vertical = false;
    int Length = 0;
    int Thickness = 0;
    int Arrow = 0;
    TThumbGeometry Thumb;
    bool Active = true;
    int FirstArrowState = 0, SecondArrowState = 0;
    int PageBeforeState = 0, PageAfterState = 0;
    int ThumbState = 0;
    // What lies behind the bar.
    TColor Background = clWhite;
};

// Whether the skin has the track sections a bar of that direction needs.
bool ScrollSkinReady(const TsSkinManager* manager, bool vertical);

// The bar into bmp (24 bits, Length x Thickness or turned for a vertical
// bar). A bar too short for two arrows is split in halves without thumb; an
// inactive bar is faded toward its background.
void PaintScrollBarLook(TBitmap& bmp, const TacBarLook& look, const TsSkinManager& manager);

// The w x h corner square: the background, and with grip the skin's size
// grip image in its bottom-right corner.
void PaintScrollCorner(TBitmap& bmp, int w, int h, TColor background, bool grip, const TsSkinManager& manager);
