#include "skin/sConst.h"
#include "skin/sMessages.h"

#include <gtest/gtest.h>

TEST(SkinConstants, StartUpSetsTheSharedValuesOnce)
{
    sMessagesInitialization();
    EXPECT_EQ(SkinCommandMessage, 0xA100);
    sConstInitialization(17);
    // A later start-up changes nothing a running library relies on.
    EmptyCacheInfo.X = 5;
    sConstInitialization(99);
    EXPECT_EQ(ScrollBarWidth, 17);
    EXPECT_EQ(EmptyCacheInfo.X, 5);
    EXPECT_EQ(MakeSkinWParam(AC_GETBGCOLOR, 1), 0x150001u);
}

TEST(SkinConstants, DateFormat)
{
    EXPECT_TRUE(HasFourDigitYear("dd.mm.yyyy"));
    EXPECT_FALSE(HasFourDigitYear("dd.MM.yy"));
}
