#include "buffer/uRecentSourceFiles.h"

#include <gtest/gtest.h>

TEST(RecentSourceFiles, AddKeepsOneEntryPerName)
{
    TStringList recent{"/d/a.bin", "/d/b.bin"};
    EXPECT_EQ(AddRecentSourceFile(recent, "/d/b.bin"), 1);
    EXPECT_EQ(recent.Count(), 2);
    EXPECT_EQ(AddRecentSourceFile(recent, "/d/c.bin"), 2);
    EXPECT_EQ(recent.Count(), 3);
    // Names that differ in case are different files here.
    EXPECT_EQ(AddRecentSourceFile(recent, "/d/A.bin"), 3);
    EXPECT_EQ(recent[3], "/d/A.bin");
}

TEST(RecentSourceFiles, RefilledItemIndex)
{
    const std::tuple<int, int, int> cases[] = {
        {2, 3, 2}, {3, 3, 0}, {-1, 3, 0}, {0, 0, -1}, {-1, 0, -1}, {5, 1, 0},
    };
    for (const auto& [previous, count, expected] : cases)
        EXPECT_EQ(RefilledItemIndex(previous, count), expected) << previous << " " << count;
}
