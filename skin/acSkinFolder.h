#pragma once
// Where skins are found: the skin directory resolved once from the program
// folder, and the skins it holds (folders with "Options.dat" and ".asz"
// packed files). Listing and loading use the same resolved folder.
#include <string>
#include <vector>

// "..\X" or "../X" beside the program folder; ".\X", "./X" and a plain
// relative name inside it; absolute names (and drive or network names)
// unchanged. No separator is added at the end.
std::string GetFullSkinDirectory(const std::string& skinDirectory, const std::string& programFolder);

enum TacSkinTypes { stUnpacked = 0, stPacked = 1, stAllSkins = 2 };
// The skins of a resolved skin directory, sorted; names beginning with "."
// are skipped. A packed file's name loses only its final ".asz", so the
// listed name loads it again.
std::vector<std::string> GetSkinNames(const std::string& fullDirectory, TacSkinTypes types);
// The packed file of a skin name in the resolved directory.
std::string PackedSkinFile(const std::string& fullDirectory, const std::string& name);

// The saturation change applied to a loaded skin, -100..100: out-of-range
// settings are held at the ends instead of wrapping to the other sign.
int SkinSaturationAmount(int saturation);
