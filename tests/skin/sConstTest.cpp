#include "skin/sConst.h"
#include "skin/sMessages.h"

#include <gtest/gtest.h>

TEST(SkinConstants, StartUpSetsTheSharedValuesOnce)
{
    sMessagesInitialization();
    EXPECT_EQ(SkinCommandMessage, 0xA100);
    sConstInitialization(17);
    sConstInitialization(99);
    EXPECT_EQ(ScrollBarWidth, 17);
    EXPECT_EQ(TransparentKeyColor, 0xFF00FF);
    EXPECT_EQ(EmptyCacheInfo.X, -99);
    EXPECT_EQ(EmptyCacheInfo.Y, -99);
    EXPECT_EQ(EmptyCacheInfo.Bmp, nullptr);
    EXPECT_FALSE(EmptyCacheInfo.Ready);
    EXPECT_EQ(MakeSkinWParam(AC_GETBGCOLOR, 1), 0x150001u);
}

TEST(SkinConstants, ForeignClassListsAndDateFormat)
{
    EXPECT_EQ(ThirdPartyNames.size(), 18u);
    EXPECT_EQ(ThirdPartyNames[17], "SpeedButton");
    int nonBlank = 0;
    for (const std::string& s : DefaultThirdPartyClasses)
        nonBlank += s != " ";
    EXPECT_EQ(nonBlank, 1);
    EXPECT_EQ(DefaultThirdPartyClasses[1], "TButton");
    EXPECT_TRUE(HasFourDigitYear("dd.mm.yyyy"));
    EXPECT_FALSE(HasFourDigitYear("dd.MM.yy"));
}
