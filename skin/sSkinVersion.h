#pragma once
// The library's version, and what it tells of a skin made for another
// release: a skin is read whatever it says.
#include <string>

// The release of the library, as the version box and the manager show it.
inline constexpr const char* LibraryVersion = "6.47";
// The highest skin version this release reads in full.
inline constexpr double MaxSkinVersion = 255;

// The message shown for a loaded skin of the given version, or empty when
// there is nothing to say: at design time an old skin (below 6) is named
// with a request to update it; a skin above MaxSkinVersion needs a newer
// release. skinName is code page 1251, as the result.
std::string SkinVersionMessage(double version, const std::string& skinName, bool designing);
