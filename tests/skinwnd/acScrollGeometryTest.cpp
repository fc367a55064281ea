#include "skinwnd/acScrollGeometry.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>

namespace {

// A bar's range as a scroll widget gives it: positions min..max and a page.
TScrollInfo Range(int min, int max, int page, int pos)
{
    return {min, max + std::max(page, 1) - 1, page, pos, pos};
}

} // namespace

TEST(ScrollGeometry, ThumbLengthAndPlace)
{
    struct Case {
        const char* what;
        TScrollInfo info;
        int bar, arrow, minThumb;
        TThumbGeometry thumb;
    };
    const Case cases[] = {
        // Track 166: a page of 10 of 110 is 15 pixels.
        {"at the start", Range(0, 100, 10, 0), 200, 17, 10, {17, 15}},
        {"at the end", Range(0, 100, 10, 100), 200, 17, 10, {168, 15}},
        {"in the middle", Range(0, 100, 10, 50), 200, 17, 10, {93, 15}},
        {"range not from 0", Range(-50, 50, 10, 0), 200, 17, 10, {93, 15}},
        {"position below the range", Range(0, 100, 10, -20), 200, 17, 10, {17, 15}},
        {"position above the range", Range(0, 100, 10, 500), 200, 17, 10, {168, 15}},
        {"page 0: as long as an arrow", Range(0, 100, 0, 0), 200, 17, 10, {17, 17}},
        {"short thumb raised to the minimum", Range(0, 10000, 1, 10000), 200, 17, 10, {173, 10}},
        {"own minimum", Range(0, 10000, 1, 0), 200, 17, 30, {17, 30}},
        {"page of the whole range fills the track", Range(0, 0, 10, 0), 200, 17, 10, {17, 166}},
        {"max = min, page 0", Range(0, 0, 0, 0), 200, 17, 10, {17, 17}},
        {"max = min, page 1", Range(5, 5, 1, 5), 200, 17, 10, {17, 166}},
        {"reversed range", {10, 0, 5, 3, 3}, 200, 17, 10, {}},
        {"track shorter than the thumb", Range(0, 100, 1, 50), 40, 17, 10, {}},
        {"track as long as the thumb", Range(0, 100, 1, 50), 44, 17, 10, {17, 10}},
        {"bar shorter than two arrows", Range(0, 100, 10, 50), 30, 17, 10, {}},
        {"huge range", {INT_MIN / 2, INT_MAX / 2, 1000000, 0, 0}, 200, 17, 10, {95, 10}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(GetThumbGeometry(c.info, c.bar, c.arrow, c.minThumb), c.thumb);
    }
}

TEST(ScrollGeometry, HitTestFindsTheThumbThatIsPainted)
{
    // Every pixel of every bar is hit-tested against the thumb the painter
    // draws: arrows at the ends, the thumb where it is, the pages around it.
    const TScrollInfo ranges[] = {Range(0, 100, 10, 0),   Range(0, 100, 10, 37), Range(0, 100, 10, 100),
                                  Range(0, 7, 3, 4),      Range(-50, 50, 0, 20), Range(0, 100000, 1, 99999),
                                  Range(0, 0, 0, 0),      Range(3, 3, 1, 3),     Range(0, 1, 1, 1)};
    for (int bar : {30, 44, 60, 200, 517}) {
        for (const TScrollInfo& info : ranges) {
            SCOPED_TRACE(testing::Message() << "bar " << bar << " max " << info.nMax << " page " << info.nPage
                                            << " pos " << info.nPos);
            const int arrow = FittedArrowLength(bar, 17);
            const TThumbGeometry thumb = GetThumbGeometry(info, bar, 17, 10);
            const bool fills = thumb.Length >= bar - 2 * 17;
            for (int x = 0; x < bar; ++x) {
                int expected = sbpNone;
                if (x < arrow)
                    expected = sbpFirstArrow;
                else if (x >= bar - arrow)
                    expected = sbpSecondArrow;
                else if (thumb.Length > 0 && !fills)
                    expected = x < thumb.Start                  ? sbpPageBefore
                               : x < thumb.Start + thumb.Length ? sbpThumb
                                                                : sbpPageAfter;
                ASSERT_EQ(HitTestBarPart(x, true, bar, 17, thumb), expected) << "at " << x;
            }
            EXPECT_EQ(HitTestBarPart(bar / 2, false, bar, 17, thumb), sbpNone);
            EXPECT_EQ(HitTestBarPart(-1, true, bar, 17, thumb), sbpNone);
            EXPECT_EQ(HitTestBarPart(bar, true, bar, 17, thumb), sbpNone);
        }
    }
}

TEST(ScrollGeometry, DraggedThumbGivesThePositionItIsDrawnAt)
{
    struct Case {
        const char* what;
        TScrollInfo info;
        int bar;
    };
    const Case cases[] = {
        {"fewer positions than pixels", Range(0, 20, 5, 0), 300},
        {"range not from 0", Range(-50, 50, 10, 0), 200},
        {"more positions than pixels", Range(0, 5000, 100, 0), 200},
        {"page 0", Range(10, 90, 0, 0), 150},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const int span = ScrollSpan(c.info);
        const int last = c.info.nMin + span;
        for (int pos = c.info.nMin; pos <= last; ++pos) {
            TScrollInfo info = c.info;
            info.nPos = pos;
            const TThumbGeometry thumb = GetThumbGeometry(info, c.bar, 17, 10);
            const int back = ThumbDragPosition(info, thumb.Start, c.bar, 17, thumb.Length);
            // Within the positions one pixel stands for.
            const int room = c.bar - 34 - thumb.Length;
            ASSERT_LE(std::abs(back - pos), span / (2 * room)) << "position " << pos;
            if (span <= room)
                ASSERT_EQ(back, pos);
        }
        const int length = GetThumbGeometry(c.info, c.bar, 17, 10).Length;
        EXPECT_EQ(ThumbDragPosition(c.info, 17, c.bar, 17, length), c.info.nMin);
        EXPECT_EQ(ThumbDragPosition(c.info, c.bar - 17 - length, c.bar, 17, length), last);
        EXPECT_EQ(ThumbDragPosition(c.info, -100, c.bar, 17, length), c.info.nMin);
        EXPECT_EQ(ThumbDragPosition(c.info, c.bar + 100, c.bar, 17, length), last);
    }
}

TEST(ScrollGeometry, NoRoomOrNoRangeKeepsTheStart)
{
    struct Case {
        const char* what;
        TScrollInfo info;
        int bar, thumb;
    };
    const Case cases[] = {
        {"max = min", Range(7, 7, 0, 7), 200, 17},
        {"page covers the range", Range(0, 0, 50, 0), 200, 166},
        {"thumb as long as the track", Range(0, 100, 10, 0), 200, 166},
        {"thumb longer than the track", Range(0, 100, 10, 0), 40, 10},
        {"no track", Range(0, 100, 10, 0), 20, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (int start : {0, 17, 50, 199})
            EXPECT_EQ(ThumbDragPosition(c.info, start, c.bar, 17, c.thumb), c.info.nMin);
    }
}
