#include "app/MainDock.h"

#include "platform/Files.h"
#include "platform/IniFiles.h"
#include "platform/SysUtils.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

namespace {

const char* const Signature = "TarkuDockSite 1";

// Any height a screen can show; anything else is damage.
constexpr int MaxHeight = 100000;

bool KnownPanel(const std::string& name) { return name == FileViewPanelName || name == CalcPanelName; }

} // namespace

std::optional<std::vector<TDockedPanel>> ReadDockSite(const std::string& nativePath)
{
    std::string bytes;
    if (!ReadWholeFile(nativePath, bytes))
        return std::nullopt;
    std::istringstream in(bytes);
    std::string line;
    if (!std::getline(in, line) || TrimRight(line) != Signature)
        return std::nullopt;
    std::vector<TDockedPanel> panels;
    while (std::getline(in, line)) {
        line = Trim(line);
        if (line.empty())
            continue;
        const size_t blank = line.find(' ');
        if (blank == std::string::npos)
            return std::nullopt;
        TDockedPanel panel{line.substr(0, blank), 0};
        const std::optional<int32_t> height = TryStrToInt(Trim(line.substr(blank + 1)));
        if (!KnownPanel(panel.Name) || !height || *height < 0 || *height > MaxHeight)
            return std::nullopt;
        for (const TDockedPanel& p : panels)
            if (p.Name == panel.Name)
                return std::nullopt;
        panel.Height = *height;
        panels.push_back(panel);
    }
    return panels;
}

bool WriteDockSite(const std::string& nativePath, const std::vector<TDockedPanel>& panels)
{
    // No panel docked there: the file goes, unless it is read-only.
    if (panels.empty())
        return !FileExists(nativePath) || (FileWritable(nativePath) && std::remove(nativePath.c_str()) == 0);
    std::string text = std::string(Signature) + "\r\n";
    for (const TDockedPanel& p : panels)
        text += p.Name + " " + IntToStr(p.Height) + "\r\n";
    return WriteWholeFileSafely(nativePath, text);
}

TDockSizes ReadDockSizes(const std::string& nativePath)
{
    const TIniFile ini(nativePath);
    TDockSizes sizes;
    auto width = [&](const char* section) {
        const int32_t w = ini.ReadInteger(section, "Width", 150);
        return w < 40 ? 150 : w;
    };
    auto height = [&](const char* section) { return std::max(40, int(ini.ReadInteger(section, "Height", 100))); };
    sizes.LeftWidth = width("LeftDock");
    sizes.RightWidth = width("RightDock");
    sizes.FileInfoHeight = height("FileInfo");
    sizes.CalcInfoHeight = height("CalcInfo");
    return sizes;
}

bool WriteDockSizes(const std::string& nativePath, const std::optional<int>& leftWidth,
                    const std::optional<int>& rightWidth, int fileInfoHeight, int calcInfoHeight)
{
    TIniFile ini(nativePath);
    if (leftWidth)
        ini.WriteInteger("LeftDock", "Width", *leftWidth);
    if (rightWidth)
        ini.WriteInteger("RightDock", "Width", *rightWidth);
    ini.WriteInteger("FileInfo", "Height", fileInfoHeight);
    ini.WriteInteger("CalcInfo", "Height", calcInfoHeight);
    return ini.UpdateFile();
}
