#include "app/IniFile.h"

#include "engine/Global.h"
#include "engine/GlobalSettings.h"
#include "platform/Cp1251.h"
#include "platform/IniFiles.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "platform/SysUtils.h"

#include <algorithm>
#include <string_view>

namespace {

const char* const FilesSection = "Files";
const char* const RecentFilesSection = "Recent Files";
// Only File1 .. File16 are read back, however many the file holds.
const int MaxRecentSourceFiles = 16;

std::string settingsFileName() { return NativePath("TARKU.INI"); }

// What the windows that edit a value allow, and a sane span for the values
// no window edits but a damaged file could push to waits of weeks or
// absurd sizes. A value outside is brought to the nearer end, quietly.
struct TSettingRange {
    const char* Section;
    const char* Key;
    int32_t Min;
    int32_t Max;
};
const TSettingRange SettingRanges[] = {
    {"Parameters", "PowerOnDelay", 1, 1000},
    {"USB", "TimeOut", 1, 1000},
    {"Serial", "TimeOut", 1, 60000},
    {"Serial", "BufferSize", 16, 65536},
    {"Dump", "FontSize", 6, 72},
};

int32_t inRange(const TSetting& s, int32_t value)
{
    for (const TSettingRange& r : SettingRanges)
        if (std::string_view(r.Section) == s.Section && std::string_view(r.Key) == s.Key)
            return std::clamp(value, r.Min, r.Max);
    return value;
}

void readSetting(const TIniFile& ini, const TSetting& s)
{
    if (auto* text = std::get_if<std::string*>(&s.Variable)) {
        const std::string def = s.Flags & sfProgramFolderDefault ? ProgramFolder() : s.TextDefault;
        **text = ini.ReadString(s.Section, s.Key, def);
        return;
    }
    int32_t value = ini.ReadInteger(s.Section, s.Key, s.IntegerDefault);
    if (s.Flags & sfUnder20ReadsAsDefault && value < 20)
        value = s.IntegerDefault;
    value = inRange(s, value);
    if (auto* integer = std::get_if<int32_t*>(&s.Variable))
        **integer = value;
    else if (auto* bits = std::get_if<uint32_t*>(&s.Variable))
        **bits = static_cast<uint32_t>(value);
    else
        *std::get<bool*>(s.Variable) = value != 0;
}

// A value holding a line break would end its line early and put the rest in
// as lines of its own (a file name may hold one), so it is not written.
bool fitsOnOneLine(const std::string& value) { return value.find_first_of("\r\n") == std::string::npos; }

void writeSetting(TIniFile& ini, const TSetting& s)
{
    if (auto* text = std::get_if<std::string*>(&s.Variable)) {
        if (fitsOnOneLine(**text))
            ini.WriteString(s.Section, s.Key, **text);
    }
    else if (auto* integer = std::get_if<int32_t*>(&s.Variable))
        ini.WriteInteger(s.Section, s.Key, **integer);
    else if (auto* bits = std::get_if<uint32_t*>(&s.Variable))
        // Signed, so that every bit pattern reads back through the integer
        // conversion, which rejects decimal values above 2^31 - 1.
        ini.WriteInteger(s.Section, s.Key, static_cast<int32_t>(**bits));
    else
        ini.WriteBool(s.Section, s.Key, *std::get<bool*>(s.Variable));
}

// The number of keys in the section decides how many of File1, File2, ...
// are read, so a section with gaps loses its last entries.
TStringList readRecentSourceFiles(const TIniFile& ini)
{
    TStringList files;
    const int count = std::min(ini.ReadSection(FilesSection).Count(), MaxRecentSourceFiles);
    for (int i = 1; i <= count; ++i) {
        const std::string file = ini.ReadString(FilesSection, "File" + IntToStr(i), "");
        if (!file.empty())
            files.Add(file);
    }
    return files;
}

// Every line in file order; the key names are not looked at.
TStringList readRecentFiles(const TIniFile& ini)
{
    TStringList files;
    const TStringList lines = ini.ReadSectionValues(RecentFilesSection);
    for (int i = 0; i < lines.Count(); ++i)
        files.Add(lines.ValueFromIndex(i));
    return files;
}

void writeNumberedList(TIniFile& ini, const char* section, const char* keyPrefix, int first,
                       const TStringList& list)
{
    ini.EraseSection(section);
    int number = first;
    for (const std::string& entry : list)
        if (fitsOnOneLine(entry))
            ini.WriteString(section, keyPrefix + IntToStr(number++), entry);
}

} // namespace

void LoadSettings()
{
    const TIniFile ini(settingsFileName());
    for (const TSetting& s : SettingsTable)
        readSetting(ini, s);
    RecentSourceFiles = readRecentSourceFiles(ini);
    RecentFiles = readRecentFiles(ini);
}

bool SaveSettings()
{
    TIniFile ini(settingsFileName());
    for (const TSetting& s : SettingsTable)
        if (!(s.Flags & sfReadOnly))
            writeSetting(ini, s);
    // Kept in the file for other readers of it; nothing here reads them.
    ini.WriteInteger("Parameters", "ChipNameFontSize", 0);
    ini.WriteInteger("Parameters", "ChipNameFontColor", 0);
    ini.WriteInteger("Parameters", "ChipNameBackColor", 0);
    ini.WriteString("Parameters", "ChipNameFontName", "");
    writeNumberedList(ini, FilesSection, "File", 1, RecentSourceFiles);
    writeNumberedList(ini, RecentFilesSection, "", 0, RecentFiles);
    if (ini.UpdateFile())
        return true;
    ShowMessageBox("Can not save the settings to " + Utf8ToCp1251(ini.FileName()) + ".", "Tarku",
                   MB_OK | MB_ICONERROR);
    return false;
}
