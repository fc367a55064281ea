#include "platform/StringList.h"

#include <gtest/gtest.h>

TEST(StringList, NamesValuesAndText)
{
    TStringList l;
    l.SetText("a=1\r\nB=2=3\nplain\rlast");
    EXPECT_EQ(l.Count(), 4);
    EXPECT_EQ(l.Values("b"), "2=3");
    EXPECT_EQ(l.IndexOfName("PLAIN"), -1);
    EXPECT_EQ(l.IndexOf("PLAIN"), 2);
    l.SetValue("A", "9");
    l.SetValue("new", "x");
    l.SetValue("b", "");
    EXPECT_EQ(l.Text(), "A=9\r\nplain\r\nlast\r\nnew=x\r\n");
}
