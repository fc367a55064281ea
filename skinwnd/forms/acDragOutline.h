#pragma once
// The outline a form is moved or sized by when it takes its new bounds only
// once the button is let go. Nothing may be drawn on the desktop itself, so
// the outline is a window of its own: frameless, above the others, never
// activated, letting every click through, and cut by a mask to a frame a
// few pixels wide, so that whatever lies inside shows. It cannot invert what
// lies beneath it: a light line between two dark ones shows on any
// background instead.
#include <QWidget>

class TacDragOutline : public QWidget {
public:
    TacDragOutline();
    // The frame's width.
    static constexpr int Thickness = 3;
    // Shows the outline along the inside of r (screen coordinates).
    void ShowAt(const QRect& r);

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
};
