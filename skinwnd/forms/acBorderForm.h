#pragma once
// The extended border of a skinned form: the skin's shadow shown in a
// translucent window just behind the form, reaching past it by the shadow's
// margins. The form paints its wider border and taller caption itself, so
// everything that takes clicks is the form's own; the border window takes
// none (a click on the shadow reaches whatever lies beneath it) and is
// never activated.
//
// Qt can neither cut a window's input to its pixels nor insert a top-level
// directly behind another: the window is input-transparent as a whole and
// is raised whenever the active form is shown, activated, moved or resized
// (never the form itself, and nothing for an inactive form), so another
// window may come between the two until the form is next activated.
#include "skinwnd/acBorderGeometry.h"

#include <QPointer>

#include <cstdint>

class QWidget;
class TacLayeredWindow;
class TsSkinProvider;

class TacBorderForm {
public:
    explicit TacBorderForm(TsSkinProvider* owner);
    ~TacBorderForm();
    TacBorderForm(const TacBorderForm&) = delete;
    TacBorderForm& operator=(const TacBorderForm&) = delete;

    // Places the window around the form; with repaint (or a new size) its
    // picture is laid again. Alpha 255 is opaque; a form with its own
    // opacity gives that instead.
    void UpdateBorderWnd(bool repaint, uint8_t alpha = 255);
    // Raises the window with the form while the form is the active one.
    void RaiseWithOwner();

    TsSkinProvider* FOwner() const { return owner_; }
    QWidget* AForm() const;
    TacBorderMetrics Metrics() const;

private:
    TsSkinProvider* owner_;
    QPointer<TacLayeredWindow> aForm_;
    bool inUpdate_ = false;
};
