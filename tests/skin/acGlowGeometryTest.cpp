#include "skin/acGlowGeometry.h"

#include <gtest/gtest.h>

namespace {

struct GeometryCase {
    const char* name;
    TRect r, clip;
    int margins, margin;
    bool shown;
    TacGlowGeometry expected;
};

// An 80 x 24 control at (100, 50), mask margins of 10, the halo drawn in by 3.
const TRect Control{100, 50, 180, 74};

const GeometryCase Cases[] = {
    {"whole control visible", Control, {0, 0, 80, 24}, 10, 3, true, {94, 38, 0, 0, 94, 38, 93, 43}},
    {"left part hidden", Control, {20, 0, 80, 24}, 10, 3, true, {94, 38, 27, 0, 67, 38, 120, 43}},
    {"right part hidden", Control, {0, 0, 50, 24}, 10, 3, true, {94, 38, 0, 0, 57, 38, 93, 43}},
    {"top and bottom hidden", Control, {0, 5, 80, 20}, 10, 3, true, {94, 38, 0, 12, 94, 15, 93, 55}},
    // A visible part larger than the control must not cut outside the image.
    {"visible part beyond the control", Control, {-20, -20, 100, 44}, 10, 3, true, {94, 38, 0, 0, 94, 38, 93, 43}},
    {"visible part right of the halo", Control, {200, 0, 260, 24}, 10, 3, false, {}},
    {"halo drawn in past its size", {0, 0, 0, 0}, {0, 0, 0, 0}, 2, 3, false, {}},
    {"halo exactly empty", {0, 0, 0, 10}, {0, 0, 0, 10}, 3, 3, false, {}},
};

TEST(acGlowGeometry, Table)
{
    for (const GeometryCase& c : Cases) {
        SCOPED_TRACE(c.name);
        TacGlowGeometry g;
        const bool shown = ComputeGlowGeometry(c.r, c.clip, c.margins, c.margins, c.margins, c.margins, c.margin, g);
        ASSERT_EQ(shown, c.shown);
        if (!shown)
            continue;
        const TacGlowGeometry& e = c.expected;
        EXPECT_EQ(g.ImageWidth, e.ImageWidth);
        EXPECT_EQ(g.ImageHeight, e.ImageHeight);
        EXPECT_EQ(g.Dx, e.Dx);
        EXPECT_EQ(g.Dy, e.Dy);
        EXPECT_EQ(g.Width, e.Width);
        EXPECT_EQ(g.Height, e.Height);
        EXPECT_EQ(g.Left, e.Left);
        EXPECT_EQ(g.Top, e.Top);
        // The shown part always lies inside the image.
        EXPECT_LE(g.Dx + g.Width, g.ImageWidth);
        EXPECT_LE(g.Dy + g.Height, g.ImageHeight);
    }
}

} // namespace
