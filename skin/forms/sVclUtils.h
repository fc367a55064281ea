#pragma once
// Talking to widgets with the library's command, and the fade shown when a
// control is repainted under a new skin.
#include "platform/Bitmap.h"

#include <QImage>
#include <QWidget>

#include <cstdint>
#include <functional>

// True while a fade runs; child updates wait for it.
extern bool FormAnimating;
// How a fade waits between frames (pumping by default); tests count instead.
extern std::function<void(int ms)> AnimationSleep;

// Holds a picture on screen over a control while the control repaints.
class TOutputWindow : public QWidget {
public:
    explicit TOutputWindow(QWidget* parent);
    void SetPicture(QImage picture);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QImage picture_;
};

// The window a fade shows its frames in, or nullptr.
TOutputWindow* OutputWindow();

// Freezes what the control shows now in an output window over it, so the
// control may change beneath; nothing when one is up already.
void ShowOutputOver(QWidget* ctrl);
// The same with a picture of the control taken before it changed.
void ShowOutputOver(QWidget* ctrl, const QImage& picture);

// Fades from the frozen picture (or, without one, what the control shows
// now) to the control's new look; time in ms, 8 ms per frame. A control
// frozen for the change (updates disabled) draws again from the start of
// the fade, under the frozen picture.
void AnimateRepaint(QWidget* ctrl, int time);

// The command to a widget with its argument; 0 for none.
intptr_t SendControlCommand(QWidget* control, uint16_t command, intptr_t lParam);
intptr_t QueryControlCommand(QWidget* control, uint16_t command);
// Only an answer of exactly 1 counts as yes.
bool WindowAnswersCommand(QWidget* window, uint16_t command);
// Direct child widgets only, never their children.
void BroadcastToChildWindows(QWidget* parent, uint16_t command, intptr_t lParam);

// A library window's background colour (its answer to sub-code 21), else
// the control's own colour; the key colour for none.
TColor GetControlColor(QWidget* control);
// The answer to sub-code 21 alone; the key colour for none.
TColor QueryWindowColor(QWidget* window);
// Asks the control's form to adapt it (sub-code 25 with the control).
void AddToParentAdapter(QWidget* control);

// Tells the direct children to look again whether they may paint (sub-code
// 6): every visible child that is not a graphic control. Nothing while a
// fade runs.
void UpdateChildControls(QWidget* parent);
// The same to every direct child that is not a window of its own.
void UpdateChildWindows(QWidget* parent);

// The class library's controls that paint without a window of their own:
// labels, plain frames (bevels and shapes) and speed buttons (tool buttons
// that rise under the mouse).
bool IsGraphicControl(const QWidget* control);

// The first top-level window among the object's parents, or nullptr.
QWidget* GetOwnerForm(const QObject* component);
// The topmost ancestor (the window itself when it has no parent).
QWidget* GetTopParentWindow(QWidget* window);
// The cursor position on the screen.
TPoint GetMouseCursorPos();

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
// Draw-text flags of an alignment plus vertical centring and tab
// expansion; a right-to-left control reads right to left and its left and
// right swap.
unsigned GetDrawTextFlags(const QWidget* control, TAlignment alignment);
// The client rectangle (inside frames, scroll bars and a top-level's
// decorations) in the coordinates of the whole window.
TRect GetClientRectInWindow(const QWidget* window);
// Puts the control just after the sibling in their parent's child order,
// so it paints over it; nothing when the sibling is not its sibling.
void SetChildOrderAfter(QWidget* control, QWidget* sibling);

// Paints the control with its children into bmp (24 or 32 bits) at (x, y).
// An invisible control shows its parent's background in its place.
void PaintFormTo(TBitmap& bmp, QWidget* ctrl, int x, int y);
// Paints the graphic controls among the parent's children into dc, each at
// its position plus offset, over the parent's background. An empty dc tells
// the parent it is out of view (sub-code 22) instead.
void PaintGraphicChildren(TBitmap& dc, QWidget* parent, TPoint offset);
