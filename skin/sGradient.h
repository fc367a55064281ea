#pragma once
// Gradient backgrounds of skin sections: the option text, its parsed form
// and the painter.
#include "skin/sSkinData.h"

#include <string>

// Words separated by ";" in groups of five: first colour, second colour,
// percent, mode, unused. A trailing incomplete group is ignored; a group
// with a word that is not a number ends the gradient before it, so a broken
// text paints what came before rather than failing the skin.
void ParseGradientData(const std::string& text, TsGradArray& data);

// Paints the gradient into r of bmp (clipped to it). Modes 0 and 1 paint
// 24 and 32-bit bitmaps (alpha 255); mode 2 fills four triangles meeting in
// the centre, each pixel the blend of the corners at its centre.
void PaintGradient(TBitmap& bmp, TRect r, const TsGradArray& data);
