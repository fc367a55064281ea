#pragma once
// Talking to widgets with the library's command, and the fade shown when a
// control is repainted under a new skin.
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

// Fades from the frozen picture (or, without one, what the control shows
// now) to the control's new look; time in ms, 8 ms per frame.
void AnimateRepaint(QWidget* ctrl, int time);

// The command to a widget with its argument; 0 for none.
intptr_t SendControlCommand(QWidget* control, uint16_t command, intptr_t lParam);
intptr_t QueryControlCommand(QWidget* control, uint16_t command);
// Only an answer of exactly 1 counts as yes.
bool WindowAnswersCommand(QWidget* window, uint16_t command);
// Direct child widgets only, never their children.
void BroadcastToChildWindows(QWidget* parent, uint16_t command, intptr_t lParam);
// Asks the provider of the control's form to adapt the control with its
// children; nothing for a control outside a form.
void AddToParentAdapter(QWidget* control);
