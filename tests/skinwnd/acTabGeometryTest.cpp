#include "skinwnd/acTabGeometry.h"

#include <gtest/gtest.h>

namespace {

// One tab (50 x 20 at (10, 2)), selected, on a 200 x 100 control whose
// pages lie at (4, 30) - (196, 96).
TacTabLayout OneTab(TacTabPosition position)
{
    TacTabLayout l;
    l.Position = position;
    l.Width = 200;
    l.Height = 100;
    l.Display = {4, 30, 196, 96};
    l.Tabs = {{10, 2, 60, 22}, {60, 2, 110, 22}};
    l.Selected = 0;
    return l;
}

} // namespace

TEST(acTabGeometry, AdjustedTabRectByPosition)
{
    struct Case {
        TacTabPosition position;
        bool active;
        TRect expected;
    };
    const Case cases[] = {
        {tpTop, true, {8, 0, 62, 24}},     {tpTop, false, {10, 2, 59, 26}},
        {tpBottom, true, {8, -1, 62, 23}}, {tpBottom, false, {10, 0, 59, 22}},
        {tpLeft, true, {9, 0, 63, 23}},    {tpLeft, false, {10, 1, 64, 22}},
        {tpRight, true, {7, 0, 61, 24}},   {tpRight, false, {8, 1, 59, 22}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "position " << c.position << (c.active ? " active" : " inactive"));
        EXPECT_EQ(AdjustedTabRect(OneTab(c.position), 0, c.active), c.expected);
    }
}

TEST(acTabGeometry, AdjustedTabRectEmptyCases)
{
    TacTabLayout l = OneTab(tpTop);
    EXPECT_EQ(AdjustedTabRect(l, -1, false), TRect{});
    EXPECT_EQ(AdjustedTabRect(l, 2, false), TRect{});
    TacTabLayout none = l;
    none.Selected = -1;
    EXPECT_EQ(AdjustedTabRect(none, 0, true), TRect{});
    TacTabLayout noTabs = l;
    noTabs.Tabs.clear();
    EXPECT_EQ(AdjustedTabRect(noTabs, 0, true), TRect{});
    // An empty item is given back as it is.
    TacTabLayout empty = l;
    empty.Tabs[1] = {60, 2, 60, 22};
    EXPECT_EQ(AdjustedTabRect(empty, 1, false), (TRect{60, 2, 60, 22}));
}

TEST(acTabGeometry, FrameAndBandByPosition)
{
    struct Case {
        TacTabPosition position;
        TRect frame, band;
    };
    const Case cases[] = {
        {tpTop, {0, 28, 200, 100}, {0, 0, 200, 28}},
        {tpBottom, {0, 0, 200, 97}, {0, 97, 200, 100}},
        {tpLeft, {3, 0, 200, 100}, {0, 0, 3, 100}},
        {tpRight, {0, 0, 197, 100}, {197, 0, 200, 100}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "position " << c.position);
        const TacTabLayout l = OneTab(c.position);
        EXPECT_EQ(GetPageRect(l), (TRect{4, 32, 196, 96}));
        EXPECT_EQ(GetPageFrameRect(l), c.frame);
        EXPECT_EQ(TabBandRect(l), c.band);
        // Without tabs the frame is the whole control.
        TacTabLayout noTabs = l;
        noTabs.Tabs.clear();
        EXPECT_EQ(GetPageFrameRect(noTabs), (TRect{0, 0, 200, 100}));
        EXPECT_EQ(TabBandRect(noTabs), (TRect{0, 0, 200, 100}));
    }
}

TEST(acTabGeometry, TabRows)
{
    struct Case {
        const char* what;
        TacTabPosition position;
        TRect display, tab;
        int rows, expected;
    };
    const Case cases[] = {
        {"one row", tpTop, {0, 40, 200, 100}, {0, 20, 50, 40}, 1, 1},
        {"top, first row", tpTop, {0, 40, 200, 100}, {0, 0, 50, 20}, 2, 1},
        {"top, second row", tpTop, {0, 40, 200, 100}, {0, 20, 50, 40}, 2, 2},
        {"left, second row", tpLeft, {60, 0, 200, 100}, {30, 0, 60, 50}, 2, 2},
        {"right, next to the pages", tpRight, {0, 0, 139, 100}, {140, 0, 170, 50}, 2, 2},
        {"right, outer row", tpRight, {0, 0, 139, 100}, {170, 0, 200, 50}, 2, 1},
        {"bottom, next to the pages", tpBottom, {0, 0, 200, 59}, {0, 60, 50, 80}, 2, 2},
        {"bottom, outer row", tpBottom, {0, 0, 200, 59}, {0, 80, 50, 100}, 2, 1},
        {"a tab of no height counts no rows", tpTop, {0, 40, 200, 100}, {0, 20, 50, 20}, 2, 1},
        {"a tab of no width counts no rows", tpLeft, {60, 0, 200, 100}, {30, 0, 30, 50}, 2, 1},
        {"beyond the rows stays in the last", tpTop, {0, 40, 200, 100}, {0, 80, 50, 100}, 2, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TacTabLayout l;
        l.Position = c.position;
        l.Width = 200;
        l.Height = 100;
        l.Display = c.display;
        l.Tabs = {c.tab};
        l.Selected = 0;
        l.Rows = c.rows;
        EXPECT_EQ(TabRow(l, 0), c.expected);
    }
}

TEST(acTabGeometry, PaintOrderRowByRowSelectedLast)
{
    TacTabLayout l;
    l.Width = 200;
    l.Height = 100;
    l.Display = {0, 40, 200, 100};
    l.Tabs = {{0, 20, 50, 40}, {50, 20, 100, 40}, {0, 0, 50, 20}, {50, 0, 100, 20}};
    l.Rows = 2;
    l.Selected = 3;
    EXPECT_EQ(TabPaintOrder(l), (std::vector<int>{2, 0, 1}));
    l.Rows = 1;
    EXPECT_EQ(TabPaintOrder(l), (std::vector<int>{0, 1, 2}));
}

TEST(acTabGeometry, SectionNames)
{
    struct Case {
        bool hasTabs;
        const char* section;
        TacTabPosition position;
        const char* expected;
    };
    const Case cases[] = {
        {false, "PAGECONTROL", tpTop, "CHECKBOX"},
        {false, "GROUPBOX", tpLeft, "CHECKBOX"},
        {true, "PAGECONTROL", tpTop, "PAGECONTROL"},
        {true, "PAGECONTROL", tpBottom, "PAGECONTROLBOTTOM"},
        {true, "PAGECONTROL", tpLeft, "PAGECONTROLLEFT"},
        {true, "PAGECONTROL", tpRight, "PAGECONTROLRIGHT"},
        // A section of its own is kept whatever the position.
        {true, "GROUPBOX", tpTop, "GROUPBOX"},
        {true, "GROUPBOX", tpBottom, "GROUPBOX"},
        {true, "GROUPBOX", tpLeft, "GROUPBOX"},
        {true, "GROUPBOX", tpRight, "GROUPBOX"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.section << " position " << c.position);
        EXPECT_EQ(PageSectionName(c.hasTabs, c.section, c.position), c.expected);
    }
}

TEST(acTabGeometry, PageStripFacesTheTabs)
{
    EXPECT_EQ(PageStripRect(tpTop, 80, 60), (TRect{0, 0, 80, 3}));
    EXPECT_EQ(PageStripRect(tpBottom, 80, 60), (TRect{0, 57, 80, 60}));
    EXPECT_EQ(PageStripRect(tpLeft, 80, 60), (TRect{0, 0, 3, 60}));
    EXPECT_EQ(PageStripRect(tpRight, 80, 60), (TRect{77, 0, 80, 60}));
}
