#include "skin/acFade.h"

#include "skin/acBitmapHelpers.h"
#include "skin/acBlit.h"
#include "skin/acFastPixels.h"

#include <algorithm>

int FadeStepCount(int time)
{
    // More than 255 frames would make the weight step 0 and the fade endless.
    return std::clamp(time / 8, 0, 255);
}

namespace {

std::unique_ptr<TBitmap> As24(const TBitmap& source, int w, int h)
{
    auto copy = CreateBitmap24(w, h);
    CopyBitmapRect(*copy, 0, 0, std::min(w, source.Width()), std::min(h, source.Height()), source, 0, 0);
    return copy;
}

} // namespace

int RunFade(const TBitmap& before, const TBitmap& after, int time, const std::function<void(const TBitmap&)>& frame,
            const std::function<void(int ms)>& sleep)
{
    const int steps = FadeStepCount(time);
    const int w = after.Width(), h = after.Height();
    int frames = 0;
    if (steps > 0 && w > 0 && h > 0) {
        auto oldPicture = As24(before, w, h);
        auto newPicture = As24(after, w, h);
        auto mix = CreateBitmap32(w, h);
        // The mixing leaves alpha alone: the frames are opaque pictures.
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                mix->ScanLine(y)[x * 4 + 3] = 255;
        const int step = 255 / steps;
        for (int weight = 255; frames < steps; weight -= step, ++frames) {
            if (frames > 0)
                sleep(8);
            MixBitmaps(*mix, *oldPicture, *newPicture, weight, nullptr);
            frame(*mix);
        }
    }
    frame(after);
    return frames;
}
