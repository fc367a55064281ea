#pragma once
// The up and down buttons of a spin box painted by the skin: each half is a
// section item in its own state (hot under the mouse, pressed while the
// mouse holds it) with the skin's arrow glyph centred. The edit part keeps
// its own painting.
#include "skinwnd/forms/acMainWnd.h"

#include <QPoint>

class QAbstractSpinBox;

class TacSpinWnd : public TacMainWnd {
public:
    TacSpinWnd(QAbstractSpinBox* spin, const std::string& skinSection = {}, TsSkinManager* manager = nullptr,
               TsCommonData* skinData = nullptr);

    virtual bool IsVertical() const { return true; }
    // The rectangle of both buttons in the spin box.
    TRect ButtonsRect() const;
    // States of the two halves for a cursor at pos (inside or not):
    // the half under it MouseDown + 1, the other 0.
    static void HalfStates(bool vertical, const TRect& buttons, bool inside, QPoint pos, bool mouseDown,
                           int& first, int& second);

    int LeftOffset = 0;
    bool MouseDown = false;
    int FirstState = 0, SecondState = 0;

protected:
    bool WndProc(QEvent* event) override;

private:
    void PrepareCache(const TRect& buttons);
    void PaintHalf(TBitmap& cache, const TRect& r, int state, bool first);
    void TrackMouse(QEvent* event);

    bool mouseInside_ = false;
    QPoint mousePos_;
};
