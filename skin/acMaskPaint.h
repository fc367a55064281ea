#pragma once
// Painting skin images: the nine-part paint of a mask over any rectangle,
// one state image as a glyph, the restoring of see-through border corners
// of a control's cache, and the two-margin stretch copy.
//
// A mask's state images lie side by side in its image (its own bitmap, or
// its rectangle of the skin's master bitmap); with MaskType 1 or more the
// state images take the top part and their masks lie one frame height
// below. A state past the last image paints the last image.
#include "platform/Bitmap.h"
#include "skin/sCommonDataTypes.h"
#include "skin/sConst.h"
#include "skin/sSkinData.h"

// The image a mask is cut from: its own bitmap, else its manager's master
// bitmap; nullptr when it has neither.
const TBitmap* MaskImage(const TsMaskData& mask);

// The nine-part paint of a mask state into rect: corners 1:1 (their
// see-through pixels take the cache's background with useBackground),
// edges and the centre tiled or stretched. Paints nothing for state 0 of a
// mask whose StretchMode has bit 2, a rect under 2 x 2, a mask without a
// manager or without state images.
void DrawSkinMask(TBitmap& bmp, const TRect& rect, bool fillCentre, const TsMaskData& mask, int state,
                  bool useBackground, const TCacheInfo& cache);

// One state image of a mask with its top-left at point.
void DrawSkinGlyph(TBitmap& bmp, TPoint point, int state, const TCacheInfo& cache, const TsMaskData& mask, int mode);

// A caption button's mask in a state. A mask with its own bitmap holds the
// active row of states over the inactive one, and `inactive` draws the
// second row; a mask cut from the master bitmap has one row, which an
// inactive button shows half transparent.
void DrawTitleGlyph(TBitmap& bmp, TPoint point, int state, const TsMaskData& mask, bool inactive);

// One piece of a mask of MaskType 1 or more, drawn through its mask.
void CopyPieceByMask(TRect targetRect, TRect sourceRect, TBitmap& target, const TsMaskData& mask, bool useBackground,
                     const TCacheInfo& cache, const TBitmap& source);
// One glyph frame through its mask; a mode other than 1 paints it faded.
void DrawGlyphByMask(TRect targetRect, TRect sourceRect, TBitmap& target, const TsMaskData& mask, int mode,
                     const TBitmap& source);
// A piece of the master bitmap through its mask; see-through pixels take the
// cache's background, else its fill colour.
void DrawPieceByMask(TRect targetRect, TRect sourceRect, TBitmap& target, const TsMaskData& mask,
                     const TCacheInfo& cache);

// Copies sourceRect of source into targetRect with fixed corners. Margins
// hold a size per side; the corners are drawn with the larger set b and
// the smaller of a and b; sideModes holds the mode of the left, top, right
// and bottom side (0 tiles, 1 stretches, else nothing), centreMode that of
// the centre.
void StretchWithMargins(TBitmap& target, const TBitmap& source, const TRect& targetRect, bool fillCentre,
                        int centreMode, const TRect& sideModes, const TRect& marginsA, const TRect& marginsB,
                        const TRect& sourceRect);

// Corner flags of RestoreBorderCorners.
enum : unsigned { bcTopLeft = 1, bcBottomLeft = 2, bcTopRight = 4, bcBottomRight = 8, bcAll = 15 };

// Gives the key-colour pixels of a border mask's corners, laid on a control's
// w x h cache bitmap, what lies under the control: the background image of
// an image answer (at its offset), or the answer's colour. Other cache
// pixels stay as painted.
void RestoreBorderCorners(TBitmap& cache, int w, int h, const TsMaskData& mask, int state, unsigned corners,
                          const TBackgroundInfo& background);
