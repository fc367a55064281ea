#pragma once
// The up and down buttons of a spin box as the skin paints them: each half
// a section item in its own state (hot under the mouse, pressed while the
// mouse holds it) with the skin's arrow glyph centred. The spin adapter
// paints a spin box's buttons by it, and so does the edit adapter, which
// frames a spin box as an edit.
#include "platform/Bitmap.h"

#include <QPoint>
#include <QPointer>

#include <string>

class QAbstractSpinBox;
class QEvent;
class QWidget;
class TsSkinManager;

class TacSpinButtons {
public:
    explicit TacSpinButtons(QAbstractSpinBox* spin);

    // The rectangle of both buttons in the spin box; empty without buttons.
    TRect ButtonsRect() const;
    // States of the two halves for a cursor at pos (inside or not):
    // the half under it MouseDown + 1, the other 0.
    static void HalfStates(bool vertical, const TRect& buttons, bool inside, QPoint pos, bool mouseDown,
                           int& first, int& second);
    // Follows the mouse over the spin box; true when the buttons' look may
    // have changed.
    bool TrackMouse(QEvent* event);
    // Paints the buttons over the spin box by the section ("BUTTON" stands
    // in when the skin lacks it), through a cache picture of their size;
    // vertical buttons are moved right by LeftOffset.
    void PaintButtons(TBitmap& cache, TsSkinManager* manager, const std::string& section, bool vertical);
    // Whether the skin paints the buttons by the section or its stand-in.
    static bool CanPaint(TsSkinManager* manager, int sectionIndex);

    int LeftOffset = 0;
    bool MouseDown = false;
    int FirstState = 0, SecondState = 0;

private:
    void PaintHalf(TBitmap& cache, const TRect& r, int state, bool first, TsSkinManager* manager,
                   const std::string& section, bool vertical);

    QPointer<QAbstractSpinBox> spin_;
    bool mouseInside_ = false;
    QPoint mousePos_;
};
