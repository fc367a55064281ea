#include "skinwnd/acTitleAnimation.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// An animation that records every frame it shows; ticks are virtual.
struct Recorder {
    TacSBAnimation a;
    std::vector<int> frames;
    bool outside = false;
    int leaves = 0;
    Recorder()
    {
        a.OnFrame = [this] { frames.push_back(a.Visible() ? a.Alpha() : -1); };
        a.MouseOutside = [this] { return outside; };
        a.OnMouseLeave = [this] { ++leaves; };
    }
    void Ticks(int n)
    {
        for (int i = 0; i < n; ++i)
            a.Tick();
    }
};

} // namespace

TEST(TacSBAnimation, AlphaStepByIterations)
{
    struct Case {
        int iterations, step;
    } cases[] = {{10, 25}, {1, 255}, {3, 85}, {300, 0}, {-1, 0}, {0, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(TacSBAnimation::AlphaStep(c.iterations), c.step) << c.iterations;
}

TEST(TacSBAnimation, HoverFadesInThenOutExactly)
{
    Recorder r;
    r.a.Start(1, 10, true);
    ASSERT_EQ(r.frames, std::vector<int>{25}); // at once
    EXPECT_TRUE(r.a.TimerEnabled());
    EXPECT_EQ(r.a.Target(), 1);
    r.Ticks(9);
    EXPECT_EQ(r.frames, (std::vector<int>{25, 50, 75, 100, 125, 150, 175, 200, 225, 255}));
    // Fully shown: it waits, drawing nothing more, while the pointer stays.
    r.Ticks(5);
    EXPECT_EQ(r.frames.size(), 10u);
    EXPECT_TRUE(r.a.TimerEnabled());
    EXPECT_EQ(r.a.Alpha(), 255);

    r.frames.clear();
    r.a.Start(0, 10, false);
    r.Ticks(10);
    EXPECT_EQ(r.frames, (std::vector<int>{250, 225, 200, 175, 150, 125, 100, 75, 50, 25}));
    EXPECT_FALSE(r.a.Finished());
    r.a.Tick();
    EXPECT_EQ(r.frames.back(), -1); // hidden at step 0
    EXPECT_EQ(r.a.Target(), -1);
    EXPECT_TRUE(r.a.Finished());
    EXPECT_FALSE(r.a.TimerEnabled());
    r.Ticks(3); // a stopped fade draws nothing
    EXPECT_EQ(r.frames.size(), 11u);
}

TEST(TacSBAnimation, FadeOutMidWayTurnsBackFromWhereItIs)
{
    Recorder r;
    r.a.Start(1, 10, true);
    r.Ticks(3); // 50, 75, 100
    r.a.Start(0, 10, false);
    r.frames.clear();
    r.Ticks(2);
    EXPECT_EQ(r.frames, (std::vector<int>{125, 100}));
    r.a.Start(1, 10, true); // back in before it ended
    r.frames.clear();
    r.Ticks(2);
    EXPECT_EQ(r.frames, (std::vector<int>{75, 100}));
    EXPECT_EQ(r.a.Target(), 1);
}

TEST(TacSBAnimation, PressShowsFullyOnTheNextTick)
{
    Recorder r;
    r.a.Start(1, 10, true);
    r.Ticks(2);
    r.frames.clear();
    r.a.Start(2, 1, true);
    EXPECT_EQ(r.a.Target(), 2);
    EXPECT_TRUE(r.frames.empty());
    r.a.Tick();
    EXPECT_EQ(r.frames, std::vector<int>{255});

    // A fresh press needs no timer: shown at once.
    Recorder fresh;
    fresh.a.Start(2, 1, true);
    EXPECT_EQ(fresh.frames, std::vector<int>{255});
    EXPECT_FALSE(fresh.a.TimerEnabled());
}

TEST(TacSBAnimation, FirstNormalStartShowsNothing)
{
    Recorder r;
    r.a.Start(0, 10, false);
    EXPECT_TRUE(r.frames.empty());
    EXPECT_FALSE(r.a.TimerEnabled());
    EXPECT_FALSE(r.a.Visible());
}

TEST(TacSBAnimation, PointerLeavingAShownButtonEndsTheWaitAndFadesOut)
{
    Recorder r;
    // The owner answers the leave by fading the button out, from inside
    // the tick.
    r.a.OnMouseLeave = [&r] {
        ++r.leaves;
        r.a.Start(0, 10, false);
    };
    r.a.Start(1, 10, true);
    r.Ticks(9);
    ASSERT_EQ(r.frames.back(), 255);
    r.outside = true;
    r.a.Tick();
    EXPECT_EQ(r.leaves, 1);
    r.frames.clear();
    r.Ticks(11);
    ASSERT_EQ(r.frames.size(), 11u);
    EXPECT_EQ(r.frames.front(), 250); // not a fade stuck at alpha 0
    EXPECT_EQ(r.frames.back(), -1);
    EXPECT_TRUE(r.a.Finished());
}
