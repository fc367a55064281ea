#include "engine/GlobalSettings.h"

#include "engine/Global.h"

// [Parameters]
std::string ComName = "COM1";
std::string SaveDirectory; // the program folder once the settings are loaded
int32_t DelayValue = 1000;
int32_t ChipNameFontStyle = 1;
int32_t SwapBytesInWordMode = 1;
int32_t UserInterface = 0;
int32_t HidedButtons = 8191;
std::string LibraryFolder;
uint32_t WorkParam = WorkParamDefault;
std::string XorFileName;
int32_t PowerOnDelay = 200;
std::string LanguageName;
int32_t OpenFileExtension = 1;
int32_t SaveFileExtension = 1;
int32_t DumpViewWidth = 100;
int32_t DumpViewHeight = 100;
int32_t CalcViewWidth = 100;
int32_t CalcViewHeight = 100;
std::string DumpFileName;
std::string LastCalc;
int32_t CheckPowerVoltage = 1;
int32_t ChipTreeWidth = 200;
int32_t CalcTreeWidth = 225;
std::string ConfigFile = "scripts.cfg";
bool ShowCodeSize = false;
int32_t CompilerLongStrings = 0;
std::string ChipName;
int32_t MainWindowState = 1;
int32_t BuiltInCalcH = 200;
// [Serial]
int32_t SerialTimeOut = 100;
int32_t SerialBufferSize = 256;
// [USB]
int32_t UsbTimeOut = 200;
int32_t UsbBlockModeSetting = 0;
std::string UsbPipeFolder;
// [Dump]
std::string DumpFontName = "FixedSys";
int32_t DumpFontSize = 10;
int32_t DumpFontStyle = 0;
int32_t DefaultBackGround = 0xFFFFFF;
int32_t DefaultFontColor = 0;
int32_t SelectionFontColor = 0xFFFFFF;
int32_t SelectionBackGround = 0x800000;
int32_t AddressFontColor = 0xFF0000;
int32_t MismatchFontColor = 0xFF8000;
int32_t EditorMode = 1;
// [Print]
int32_t PrintParameters = 0;
std::string PrintFolder;
std::string PrintFileName;
// [CalcWindow]
int32_t CalcWindowMemoH = 60;
// [CalcTree]
int32_t CalcTreeUndockHeight = 400;
int32_t CalcTreeUndockWidth = 300;
int32_t CalcTreeLeft = 30;
int32_t CalcTreeTop = 30;

TStringList RecentSourceFiles;
TStringList RecentFiles;

namespace {

// Each entry takes its variable's value now, during start-up before anything
// can change it, as its default: the definitions above are the one place
// the defaults are written. (This table is defined after them in the same
// file, so they are initialised first.)
TSetting integer(const char* section, const char* key, int32_t& v, unsigned flags = 0)
{
    return {section, key, &v, v, {}, flags};
}
TSetting text(const char* section, const char* key, std::string& v, unsigned flags = 0)
{
    return {section, key, &v, 0, v, flags};
}

} // namespace

const std::vector<TSetting> SettingsTable = {
    text("Parameters", "ComName", ComName),
    text("Parameters", "SaveDirectory", SaveDirectory, sfProgramFolderDefault),
    integer("Parameters", "DelayValue", DelayValue),
    integer("Parameters", "ChipNameFontStyle", ChipNameFontStyle),
    integer("Parameters", "SwapBytesInWordMode", SwapBytesInWordMode, sfReadOnly),
    integer("Parameters", "UserInterface", UserInterface),
    integer("Parameters", "HidedButtons", HidedButtons),
    text("Parameters", "Library folder", LibraryFolder),
    {"Parameters", "WorkParam", &WorkParam, static_cast<int32_t>(WorkParam), {}, 0},
    text("Parameters", "XorFileName", XorFileName),
    integer("Parameters", "PowerOnDelay", PowerOnDelay),
    text("Parameters", "Language", LanguageName),
    integer("Parameters", "OpenFileExtension", OpenFileExtension),
    integer("Parameters", "SaveFileExtension", SaveFileExtension),
    integer("Parameters", "DumpViewWidth", DumpViewWidth, sfUnder20ReadsAsDefault),
    integer("Parameters", "DumpViewHeight", DumpViewHeight, sfUnder20ReadsAsDefault),
    integer("Parameters", "CalcViewWidth", CalcViewWidth),
    integer("Parameters", "CalcViewHeight", CalcViewHeight),
    text("Parameters", "Dumpfilename", DumpFileName),
    text("Parameters", "LastCalc", LastCalc),
    integer("Parameters", "CheckPowerVoltage", CheckPowerVoltage),
    integer("Parameters", "ChipTreeWidth", ChipTreeWidth),
    integer("Parameters", "CalcTreeWidth", CalcTreeWidth),
    text("Parameters", "ConfigFile", ConfigFile),
    {"Parameters", "ShowCodeSize", &ShowCodeSize, ShowCodeSize ? 1 : 0, {}, sfReadOnly},
    integer("Parameters", "CompilerLongStrings", CompilerLongStrings, sfReadOnly),
    text("Parameters", "ChipName", ChipName),
    integer("Parameters", "State", MainWindowState),
    integer("Parameters", "BuiltInCalcH", BuiltInCalcH),
    integer("Serial", "TimeOut", SerialTimeOut),
    integer("Serial", "BufferSize", SerialBufferSize),
    integer("USB", "TimeOut", UsbTimeOut),
    integer("USB", "BlockMode", UsbBlockModeSetting, sfReadOnly),
    text("USB", "PipeFolder", UsbPipeFolder),
    text("Dump", "FontName", DumpFontName),
    integer("Dump", "FontSize", DumpFontSize),
    integer("Dump", "FontStyle", DumpFontStyle),
    integer("Dump", "DefaultBackGround", DefaultBackGround),
    integer("Dump", "DefaultFontColor", DefaultFontColor),
    integer("Dump", "SelectionFontColor", SelectionFontColor),
    integer("Dump", "SelectionBackGround", SelectionBackGround),
    integer("Dump", "AddressFontColor", AddressFontColor),
    integer("Dump", "MismatchFontColor", MismatchFontColor),
    integer("Dump", "EditorMode", EditorMode),
    integer("Print", "Parameters", PrintParameters),
    text("Print", "Folder", PrintFolder),
    text("Print", "Filename", PrintFileName),
    integer("CalcWindow", "MemoH", CalcWindowMemoH),
    integer("CalcTree", "UndockHeight", CalcTreeUndockHeight),
    integer("CalcTree", "UndockWidth", CalcTreeUndockWidth),
    integer("CalcTree", "Left", CalcTreeLeft),
    integer("CalcTree", "Top", CalcTreeTop),
};

void RestoreDefaultSettings()
{
    for (const TSetting& s : SettingsTable) {
        if (auto* text = std::get_if<std::string*>(&s.Variable))
            **text = s.TextDefault;
        else if (auto* integer = std::get_if<int32_t*>(&s.Variable))
            **integer = s.IntegerDefault;
        else if (auto* bits = std::get_if<uint32_t*>(&s.Variable))
            **bits = static_cast<uint32_t>(s.IntegerDefault);
        else
            *std::get<bool*>(s.Variable) = s.IntegerDefault != 0;
    }
    RecentSourceFiles.Clear();
    RecentFiles.Clear();
}
