#include "skin/acFade.h"

#include "skin/acBitmapHelpers.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct FadeCase {
    int time;
    int frames; // mixed frames before the final picture
};

// 7 ms shows the final picture at once; each 8 ms adds a frame; the frame
// count stops at 255, where the weight step is still 1.
const FadeCase Cases[] = {{0, 0}, {7, 0}, {8, 1}, {80, 10}, {100, 12}, {2040, 255}, {2048, 255}, {65535, 255}};

TEST(acFade, FramesAndSleepsFollowTheTime)
{
    auto before = CreateBitmap24(4, 3);
    auto after = CreateBitmap24(4, 3);
    before->FillRect(TRect{0, 0, 4, 3}, 0x000000);
    after->FillRect(TRect{0, 0, 4, 3}, 0xFFFFFF);
    for (const FadeCase& c : Cases) {
        SCOPED_TRACE(c.time);
        EXPECT_EQ(FadeStepCount(c.time), c.frames);
        std::vector<int> reds;
        int slept = 0;
        const int frames = RunFade(
            *before, *after, c.time, [&](const TBitmap& b) {
                reds.push_back(int(b.Pixel(2, 1) & 0xFF));
                if (b.PixelFormat() == pf32bit) {
                    EXPECT_EQ(b.Alpha(2, 1), 255);
                }
            },
            [&](int ms) { slept += ms; });
        ASSERT_EQ(frames, c.frames);
        ASSERT_EQ(int(reds.size()), c.frames + 1);
        EXPECT_EQ(slept, 8 * std::max(0, c.frames - 1));
        // The old picture fades out: no frame is darker than the last,
        // and the final one is the new picture.
        for (size_t i = 1; i < reds.size(); ++i)
            EXPECT_GE(reds[i], reds[i - 1]) << "frame " << i;
        EXPECT_EQ(reds.back(), 255);
        if (c.frames > 0) {
            EXPECT_EQ(reds.front(), 0); // weight 255 is all old picture
        }
        if (c.frames > 1) {
            const int weight = 255 - 255 / c.frames;
            EXPECT_EQ(reds[1], (65280 - 255 * weight) >> 8);
        }
    }
}

TEST(acFade, OldPictureOfAnotherSizeIsFittedToTheNew)
{
    auto before = CreateBitmap32(2, 2);
    auto after = CreateBitmap24(5, 4);
    after->FillRect(TRect{0, 0, 5, 4}, 0x102030);
    int frames = 0;
    RunFade(*before, *after, 16, [&](const TBitmap& b) {
        EXPECT_EQ(b.Width(), 5);
        EXPECT_EQ(b.Height(), 4);
        ++frames;
    }, [](int) {});
    EXPECT_EQ(frames, 3);
}

} // namespace
