#pragma once
// The frame of a skinned windowed control: its border mask painted into its
// cache over the parent's background, widened by a solid band to a border
// width, and copied to the target when that is not the cache itself.
#include "platform/Bitmap.h"
#include "skin/sCommonDataTypes.h"
#include "skin/sSkinData.h"

// Paints the frame rect r and returns the rect left inside it. border is
// the control's border mask (nullptr = none: only the band is painted, on
// target), color its background colour for the state, parent the parent's
// background answer (nullptr = no parent).
TRect PaintControlBorder(TBitmap& target, TBitmap& cache, const TRect& r, int borderWidth, int state,
                         const TsMaskData* border, TColor color, const TBackgroundInfo* parent);
