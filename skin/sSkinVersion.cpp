#include "skin/sSkinVersion.h"

std::string SkinVersionMessage(double version, const std::string& skinName, bool designing)
{
    if (designing && version < 6)
        return "You use an old version of \"" + skinName +
               "\" skin, please update a skins to latest or link with Quenderil support for upgrading of existing "
               "skin.\r\n\r\nThis notification occurs in design-time only for your information and will not occur "
               "in real-time.";
    if (version > MaxSkinVersion)
        return "This version of the skin have not complete support by used Quenderil package release.\r\n"
               "Components must be updated up to latest version for using this skin.";
    return {};
}
