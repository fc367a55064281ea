#include "skin/sSkinVersion.h"

#include <gtest/gtest.h>

namespace {

const std::string Old = "You use an old version of \"Blue\" skin, please update a skins to latest or link with "
                        "Quenderil support for upgrading of existing skin.\r\n\r\nThis notification occurs in "
                        "design-time only for your information and will not occur in real-time.";
const std::string Newer = "This version of the skin have not complete support by used Quenderil package release.\r\n"
                          "Components must be updated up to latest version for using this skin.";

TEST(SkinVersionMessage, OldSkinsAtDesignTimeNewerSkinsAlways)
{
    const struct {
        double version;
        bool designing;
        const std::string* message; // nullptr: nothing to say
    } cases[] = {
        {0, false, nullptr},      {5.99, false, nullptr},  {6, false, nullptr},   {6.47, false, nullptr},
        {255, false, nullptr},    {255.01, false, &Newer}, {300, false, &Newer},  {0, true, &Old},
        {5.99, true, &Old},       {6, true, nullptr},      {255, true, nullptr},  {256, true, &Newer},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.version << (c.designing ? " designing" : " running"));
        EXPECT_EQ(SkinVersionMessage(c.version, "Blue", c.designing), c.message ? *c.message : "");
    }
}

TEST(SkinVersionMessage, LibraryRelease)
{
    EXPECT_STREQ(LibraryVersion, "6.47");
    EXPECT_EQ(MaxSkinVersion, 255);
}

} // namespace
