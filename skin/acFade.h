#pragma once
// A fade from one picture to another: the old picture is mixed into the new
// one with a falling weight, one frame every 8 ms.
#include "platform/Bitmap.h"

#include <functional>

// One frame per 8 ms of time, none below 8 ms, and never more frames than
// weights there are to fall through.
int FadeStepCount(int time);

// Shows each mix (32-bit, the size of after) through frame, with sleep(8)
// between frames, and after itself as the last frame. Returns the number of
// mixed frames.
int RunFade(const TBitmap& before, const TBitmap& after, int time, const std::function<void(const TBitmap&)>& frame,
            const std::function<void(int ms)>& sleep);
