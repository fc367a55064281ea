#pragma once
// The fade of one caption button between its looks: the button's new look
// is shown over the old one with an alpha that rises by one step per timer
// tick while fading in and falls while fading out. The animation keeps no
// timer and no window of its own: its owner runs one timer for all buttons
// (calling Tick) and composes the new look into the frame at Alpha, so the
// fade can be stepped without waiting.
#include <functional>

class TacSBAnimation {
public:
    // Ticks come this many milliseconds apart.
    static constexpr int Interval = 12;

    TacSBAnimation() = default;

    // Starts or redirects the fade (a new animation is started with Start
    // right after it is made): fading in to a hot (1) or pressed (2) look,
    // or back to normal (0).
    void Start(int state, int iterations, bool fadeIn);
    void SetState(int state, bool fadeIn);
    void Tick();

    // What is to be shown: the look of Target over the normal look at Alpha;
    // Target -1 once the fade out has ended.
    int Target() const { return target_; }
    int Alpha() const { return alpha_; }
    bool Visible() const { return shown_; }
    bool TimerEnabled() const { return timerEnabled_; }
    bool FadingIn() const { return fadingIn_; }
    int Step() const { return step_; }
    // The fade has gone back to nothing: the owner drops the animation.
    bool Finished() const { return target_ == -1 && !timerEnabled_; }

    // Each shown frame; the owner repaints the button.
    std::function<void()> OnFrame;
    // Asked while a fully shown button waits: true when the pointer has left
    // the button, which ends the wait and calls OnMouseLeave.
    std::function<bool()> MouseOutside;
    std::function<void()> OnMouseLeave;

    static int AlphaStep(int iterations);

private:
    void ShowFrame(int alpha);
    void Hide();
    void CheckMouseLeave();

    int step_ = 0;
    int target_ = 0;
    bool fadingIn_ = false;
    int iterations_ = 0;
    int alpha_ = 0;
    bool shown_ = false;
    bool timerEnabled_ = false;
};
