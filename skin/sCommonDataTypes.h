#pragma once
// The parts of the per-control skin state that need no window: control-type
// codes and their sets, the default section of each type, the background
// record of sub-code 34, and the arithmetic of colours and bound labels.
#include "platform/Bitmap.h"
#include "skin/sConst.h"
#include "skin/sSkinManagerIntf.h"

#include <string>

// 256-bit sets of control-type codes; a code above 255 is in none of them.
bool InNoHoverTypes(int typeCode);
bool InNoGlowTypes(int typeCode);
bool InFrameRedrawTypes(int typeCode);

// The section a control of this type paints with when none is set; codes
// without one take the owner's class name (upper-cased by the setter).
std::string DefaultSectionFor(int typeCode, const std::string& className);

// The record a parent fills when a child asks for the background behind it.
struct TBackgroundInfo {
    TBitmap* Bmp = nullptr;
    TColor Color = 0;
    int OffsetX = 0, OffsetY = 0; // position of the asking child inside Bmp
    TRect R;                      // the area wanted, in the asker's coordinates
    int BgType = 0;               // 0 no answer, 1 plain colour, 2 image
    bool PleaseDraw = false;      // the receiver paints the answer itself
    TBitmap* DC = nullptr;        // where it paints then
};

// Each of red, green and blue := round(factor * a + (1 - factor) * b), halves
// to the even neighbour; the result keeps a's top byte.
TColor MixColors(TColor a, TColor b, double factor);

// Sub-code 21's colour of a semi-transparent section: per channel
// (T * (parent - section) + section * 256) >> 8, clamped (T of 256).
TColor BlendTransparentColor(TColor section, TColor parent, int transparency);

// FillFlags of a section: bit 2 with an image, bits 0 and 1 by the mode of
// the first gradient entry.
unsigned SectionFillFlags(const TsGeneralData& section);

// Where a bound label goes beside or above its control (pixels, the
// control's parent's coordinates).
struct TLabelPlace {
    int Left, Top;
};
TLabelPlace BoundLabelPlace(TsCaptionLayout layout, const TRect& control, int labelWidth, int labelHeight,
                            int indent);
