#pragma once
// Painting a control by its skin state: the background query to the
// control under it, the control's section item and border, and the
// restoring of its border corners.
#include "skin/sCommonDataTypes.h"

class QWidget;
class TsCommonData;

// Asks a control for the background it shows (command 34). An answer sets
// BgType and gives true. Without one: when the asker wanted the control to
// paint (PleaseDraw on entry) and gave a target, the control renders its
// background into info.DC (offset by the info's Offset, clipped to R) and
// false comes back; otherwise the control's colour (command 21, else its
// own colour) with BgType 1, and false.
bool GetControlBackground(TBackgroundInfo& info, QWidget* control, bool paint);

// What lies under a control, as its parent answers without painting (an
// image answer offset to the control's place); containers that paint
// nothing of their own are looked through. BgType 0 without a parent.
TBackgroundInfo ParentBackgroundOf(QWidget* control);

// A control's section background (its own colour when CustomColor is set).
void PaintControlBackground(TsCommonData& skinData, const TCacheInfo& cache, int state, TBitmap& bmp, TPoint point,
                            const TRect& rect);
// Background, border mask (in state 0 only when its mode paints that
// state) and corner images of a control's section.
void PaintControlItem(TsCommonData& skinData, const TCacheInfo& cache, bool fillCentre, int state, const TRect& rect,
                      TPoint point, TBitmap& bmp);

// Restores the see-through corners of the control's cache from its border
// mask over what lies under the control (corner flags as bcTopLeft ...).
void PaintBorderMaskCorners(TsCommonData& skinData, int state, unsigned corners);
void PaintBorderMask(TsCommonData& skinData, int state);

// The control's frame into its cache (and onto target when that is another
// bitmap); returns the rect left inside the frame.
TRect PaintControlBorder(TBitmap& target, const TRect& r, int borderWidth, int state, TsCommonData& skinData);
