#pragma once
// The docking layout between runs, without windows: which panels each dock
// site holds, in order and with their heights ("layoutl.dat", "layoutr.dat"
// in the program folder), and the site widths and note-area heights of
// "layout.ini". The window (app/forms/MainDock.cpp) applies them.
//
// A site file is text of our own: the line "TarkuDockSite 1", then one line
// per panel from top to bottom, its object name, a blank and its height.
#include <optional>
#include <string>
#include <vector>

struct TDockedPanel {
    std::string Name; // object name of the panel
    int Height = 0;
};

// The names of the panels a site may hold.
inline constexpr const char* FileViewPanelName = "pnFileView";
inline constexpr const char* CalcPanelName = "CalcPanel";

// File names in the program folder.
inline constexpr const char* LeftLayoutFile = "layoutl.dat";
inline constexpr const char* RightLayoutFile = "layoutr.dat";
inline constexpr const char* LayoutIniFile = "layout.ini";

// The panels of a site file; nothing when the file is missing, unreadable
// or not one of ours in every line (an unknown or repeated panel, a bad
// height), so that a damaged file never takes the program down and never
// half-applies.
std::optional<std::vector<TDockedPanel>> ReadDockSite(const std::string& nativePath);
// Writes the site's panels; with none the file is deleted instead. false
// when the file could not be written or deleted.
bool WriteDockSite(const std::string& nativePath, const std::vector<TDockedPanel>& panels);

// "layout.ini" with its defaults and minimums applied.
struct TDockSizes {
    int LeftWidth = 150;
    int RightWidth = 150;
    int FileInfoHeight = 100; // the file window's note area
    int CalcInfoHeight = 100; // the calculators panel's bottom area
};
TDockSizes ReadDockSizes(const std::string& nativePath);
// Writes the widths of the sites that hold panels (null: left alone) and
// both heights.
bool WriteDockSizes(const std::string& nativePath, const std::optional<int>& leftWidth,
                    const std::optional<int>& rightWidth, int fileInfoHeight, int calcInfoHeight);

