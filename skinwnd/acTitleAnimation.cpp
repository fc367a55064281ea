#include "skinwnd/acTitleAnimation.h"

#include <algorithm>

int TacSBAnimation::AlphaStep(int iterations)
{
    // -1 iterations marks a fade that is fully shown: nothing to step.
    return iterations > 0 ? 255 / iterations : 0;
}

void TacSBAnimation::Start(int state, int iterations, bool fadeIn)
{
    if (iterations_ == 0) { // a new animation
        iterations_ = iterations;
        SetState(state, true);
        return;
    }
    if (fadeIn)
        target_ = state;
    iterations_ = iterations;
    fadingIn_ = fadeIn;
    timerEnabled_ = true;
    if (state == 2)
        step_ = iterations;
}

void TacSBAnimation::SetState(int state, bool fadeIn)
{
    if (state == target_)
        return;
    target_ = state;
    if (state != 0) {
        step_ = 1;
        fadingIn_ = fadeIn;
        ShowFrame(std::min(AlphaStep(iterations_), 255));
        step_ = 2;
    } else {
        fadingIn_ = false;
        step_ -= 1;
        ShowFrame(std::min(AlphaStep(iterations_), 255));
    }
    timerEnabled_ = iterations_ > 1;
}

void TacSBAnimation::Tick()
{
    if (!timerEnabled_)
        return;
    const int alphaStep = AlphaStep(iterations_);
    if (fadingIn_) {
        if (step_ < iterations_) {
            ShowFrame(std::clamp(alphaStep * step_, 0, 255));
            ++step_;
            return;
        }
        if (iterations_ != -1) {
            iterations_ = -1;
            ShowFrame(255);
            return;
        }
        CheckMouseLeave();
        return;
    }
    if (step_ > 0) {
        ShowFrame(std::clamp(alphaStep * step_, 0, 255));
        --step_;
        return;
    }
    target_ = -1;
    timerEnabled_ = false;
    Hide();
}

void TacSBAnimation::ShowFrame(int alpha)
{
    alpha_ = alpha;
    shown_ = true;
    if (OnFrame)
        OnFrame();
}

void TacSBAnimation::Hide()
{
    alpha_ = 0;
    shown_ = false;
    if (OnFrame)
        OnFrame();
}

void TacSBAnimation::CheckMouseLeave()
{
    if (!MouseOutside || !MouseOutside())
        return;
    timerEnabled_ = false;
    if (OnMouseLeave)
        OnMouseLeave();
}
