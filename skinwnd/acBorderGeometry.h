#pragma once
// Where the extended border of a form lies: the border window reaches past
// the form by the skin's shadow margins plus what the skin's wider border
// and taller caption add to the form's own frame.
#include "platform/Bitmap.h"

struct TacBorderMetrics {
    TRect Margins{0, 0, 0, 0}; // the shadow's margins (left, top, right, bottom)
    int ExtBorderWidth = 0;    // the skin's border width
    int ExtTitleHeight = 0;    // the skin's title height, border included
    int SysBorderWidth = 0;    // the frame the form paints
    int CaptionHeight = 0;     // the form's caption, below its frame
};

// How far the border window reaches above the form.
int BorderTopIndent(const TacBorderMetrics& m);
// The border window's rectangle for the form's rectangle (both on screen).
TRect BorderWndRect(const TRect& owner, const TacBorderMetrics& m);

// The 32-bit shadow picture laid around a body of the given size: its four corners
// (each just under half the picture) kept, its edges stretched between them; the body
// itself left see-through so a translucent form shows nothing doubled.
void PaintBorderPicture(TBitmap& target, const TBitmap& shadow, const TRect& body);
