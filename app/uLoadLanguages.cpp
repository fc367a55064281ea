#include "app/uLoadLanguages.h"

#include "engine/Global.h"
#include "engine/LanguageTexts.h"
#include "platform/Cp1251.h"
#include "platform/Files.h"
#include "platform/IniFiles.h"
#include "platform/Paths.h"
#include "platform/SysUtils.h"

const char* const EnglishLanguageName = "English";
TStringList LanguageList;
std::string AddressLabelText = "Address";
std::string DataLabelText = "Data";
std::string EditorLabelText = "Editor";

namespace {

const char* const languagesFolder = "Languages";

// The defaults are written in UTF-8 in this source; Cyrillic ones become
// code page 1251 here and nowhere else.
std::string defaultText(const char* utf8) { return Utf8ToCp1251(utf8); }

// Each caption takes its variable's initial value, set above, as its
// default.
const TBufferCaption bufferCaptions[] = {
    {&AddressLabelText, "Label address caption", AddressLabelText},
    {&DataLabelText, "Label data caption", DataLabelText},
    {&EditorLabelText, "Editor", EditorLabelText},
};

} // namespace

std::span<const TBufferCaption> BufferCaptionTable() { return bufferCaptions; }

void ResetBufferCaptions()
{
    for (const auto& caption : bufferCaptions)
        *caption.Text = caption.Default;
}

const std::vector<TLanguageTag>& InterfaceTextTable()
{
    static const std::vector<TLanguageTag> table = {
    {"[CALC_TREE]", "Calc tree",
     {{"Caption", "Calculators"},
      {"Picture", "Picture"}}},
    {"[FILE_TREE]", "File tree",
     {{"Tab1", "Files"},
      {"Tab2", "Info"},
      {"ppmRootDir", "Select root folder"},
      {"ppmCreatedir", "Create folder"},
      {"ppmSave", "Save file in this folder"},
      {"ppmLoad", "Load this file (double click)"},
      {"ppmCompare", "Compare with this file"},
      {"ppmXor", "XOR with this file"}}},
    {"[VIEW_MENU]", "View Menu",
     {{"ToolBar", "&Tool bar"},
      {"FileWindow", "&File window"},
      {"CalcWindow", "&Calculators window"},
      {"EditorOnly", "&Editor only"},
      {"Markers", "Markers panel"}}},
    {"[MAIN_MENU]", "Main Menu",
     {{"File menu", "&File"},
      {"Action menu", "&Device"},
      {"Edit menu", "&Edit"},
      {"Calculators menu", "&Calculators"},
      {"Options menu", "&Options"},
      {"Help menu", "&Help"},
      {"View menu", "&View"}}},
    {"[FILE_MENU]", "File Menu",
     {{"Open", "&Open"},
      {"Save", "&Save"},
      {"SavePartOfFile", "&Save part of file"},
      {"Dumps", "&Dumps library"},
      {"Add File to library", "&Add file to library"},
      {"Print", "&Print"},
      {"Exit", "&Exit"},
      {"New", "New"},
      {"Change size", "Change file size"}}},
    {"[EDIT_MENU]", "Edit Menu",
     {{"Parameters", "Parameters"},
      {"Swap bytes", "&Swap bytes"},
      {"Hide mismatch", "&Hide mismatch"},
      {"Erase buffer", "&Erase buffer"},
      {"Fill", "&Fill..."},
      {"Find", "Fin&d..."},
      {"Insert", "&Paste special..."},
      {"Compare with file", "Compare &with file..."},
      {"Selection", "&Selection..."},
      {"Save as file", "Save &as file..."},
      {"Copy from file", "Copy from f&ile..."},
      {"Show as decimal number", "Sh&ow as decimal number..."},
      {"Copy", "&Copy"},
      {"Paste", "&Paste"},
      {"Select all", "Select &all"},
      {"XOR with file", "Xor with file"},
      {"Hide markers", "Hide markers"}}},
    {"[OPTIONS_MENU]", "Options Menu",
     {{"Toolbar", "&Tool bar"},
      {"Language", "&Language"},
      {"Editor", "&Editor"},
      {"Programming", "&Programming..."},
      {"Hardware test", "&Hardware test"},
      {"Calc in window", "Calculator always in own window"}}},
    {"[HELP_MENU]", "Help Menu",
     {{"About", "&About"},
      {"Contents", "&Contents"}}},
    {"[DEVICE]", "Device panel",
     {{"Caption", "Device"},
      {"Select button caption", "Select"}}},
    {"[LANGUAGE]", "Language",
     {{"Caption", "Select language"},
      {"Language note", "Restart program after choice of language"}}},
    {"[COMMON_BUTTONS]", "Common buttons",
     {{"Apply", "&Apply"},
      {"Cancel", "Ca&ncel"},
      {"Help", "&Help"},
      {"Close", "&Close"},
      {"Select", "&Select"},
      {"Change", "&Change"},
      {"Browse", "&Browse"},
      {"Copy", "&Copy"},
      {"Continue", "&Continue"},
      {"Use config", "Use config file"},
      {"Insert", "Insert"},
      {"Find", "Find"},
      {"Cancel", "Cancel"},
      {"Find next", "Find next"},
      {"Save", "Save"},
      {"Refresh", "Refresh"}}},
    {"[DEVICE_SELECT_WINDOW]", "Device select window",
     {{"Window caption", "Select device"},
      {"Device tree caption", "Device"},
      {"Information tab caption", "Information"},
      {"Package tab caption", "Package"},
      {"Package empty caption", "Empty"},
      {"Parameters", "Parameters"},
      {"VCC", "Default VCC"},
      {"PinTest", "Pin test"},
      {"Save", "Save"}}},
    {"[BUFFER_FILL_WINDOW]", "Buffer fill window",
     {{"Caption", "Insert"},
      {"Pattern caption", "Pattern"},
      {"Radiobutton hexadecimal caption", "Hexadecimal"},
      {"Radiobutton decimal caption", "Decimal"},
      {"Scope", "Scope"},
      {"Global", "Global"},
      {"Selected area", "Selected area"}}},
    {"[BUFFER_FIND_WINDOW]", "Buffer find window",
     {{"Find Caption", "Find"},
      {"Insert Caption", "Insert"},
      {"Decimal number", "Number"},
      {"Text", "Text"},
      {"Text to find", "Text to find"},
      {"Text to insert", "Text to insert"},
      {"Number to find", "Number to find"},
      {"Number to insert", "Number to insert"},
      {"Pattern", "Pattern"},
      {"Hexadecimal view", "Hexadecimal view"},
      {"Options", "Options"},
      {"Find next", "Find next"},
      {"Bytes per number", "Bytes per number"},
      {"Reverse byte order", "Reverse byte order"},
      {"Swap bytes", "Swap bytes"},
      {"Swap nibbles", "Swap nibbles"},
      {"Mirror bits", "Mirror bits in bytes"},
      {"Invert", "Invert"}}},
    {"[MODULES_WINDOW]", "Modules window",
     {{"Caption", "Modules"},
      {"Modules panel caption", "Connected modules"},
      {"Information panel caption", "Information"}}},
    {"[PARAMETERS_WINDOW]", "Parameters window",
     {{"Caption", "Programming"},
      {"Timeout milliseconds caption", "milliseconds"},
      {"Power On delay caption", "Power On delay"},
      {"USB timeout", "USB timeout"},
      {"Ack write", "Ack acknowledgement before write"},
      {"Ack write changes", "Ack acknowledgement before write changes"},
      {"Verify after write", "Verify after write"},
      {"Force close", "Force close runtime window"},
      {"After read", "If reading is successfill"},
      {"After write", "If writing is successfull"},
      {"After verify", "If verifying is successfull"},
      {"Ignore overload", "Ignore power overload"},
      {"Pin test", "Use pin tester"},
      {"Hardware", "Hardware"},
      {"Programming", "Programming"}}},
    {"[HARDWARE_TEST_WINDOW]", "Hardware test window",
     {{"Caption", "Harware test"},
      {"Power", "Power"},
      {"Voltage", "Voltage"}}},
    {"[DUMPS_WINDOW]", "Dumps window",
     {{"Caption", "Dumps library"},
      {"Dumps panel caption", "Dump list"},
      {"About panel caption", "About dump"},
      {"Load button caption", "&Load"},
      {"Default", "&Default"},
      {"Folder", "Папка"}}},
    {"[COMPARE_WINDOW]", "Compare with file window",
     {{"Caption", "Compare with file"},
      {"Browse button caption", "&Browse"}}},
    {"[VIEW_WINDOW]", "View window",
     {{"Caption", "View"},
      {"Show toolbar", "Show toolbar"}}},
    {"[RUNTIME_WINDOW]", "Runtime window",
     {{"Action caption", "Action"},
      {"Break window message", "Are you sure to cancel"}}},
    {"[EDITOR]", "Editor",
     {{"Caption", "Параметры редактора"},
      {"tab1", "Шрифт и цвета"},
      {"tab2", "Параметры"},
      {"Chip name view", "Chip name view"},
      {"Bold font", "Bold font"},
      {"Example", "Example"},
      {"Font", "Font"},
      {"Change", "Change"},
      {"Colors", "Colors"},
      {"Background", "Background"},
      {"Default", "Default"},
      {"Selection", "Selection"},
      {"Mismatch", "Mismath"},
      {"Address field", "Address field"},
      {"Tabs position", "Tabs position"},
      {"Parameter position", "Show parameter panel"},
      {"On the top", "On the top"},
      {"On the bottom", "On the bottom"},
      {"Pass INS", "Pass to the next address after selection by INS key"},
      {"Hide mismatch", "Hide mismatch after opening a file or chip selection"},
      {"Show grid", "Show grid in editor"},
      {"Show address", "Show byte/word address in editor"},
      {"Blocks", "Persistent blocks"},
      {"Tabs", "Do not show tab if one buffer is opened only"},
      {"Ack", "Require confirmation if file size disagree buffer size"},
      {"Erase select", "Erase buffer after chip select"},
      {"Disable backup", "Disable backup"},
      {"Default name", "Default file name for save"},
      {"Name1", "Empty name"},
      {"Name2", "Date + time + IC type"},
      {"Not markers", "Do not use markers file"}}},
    {"[SAVE_PART_OF_FILE]", "Save part of file",
     {{"Caption", "Save part of file"},
      {"Start address", "Start address(HEX)"},
      {"End address", "End address (HEX)"}}},
    {"[COPY_AREA_FROM_FILE]", "Copy area from file",
     {{"Caption", "Copy area from file"},
      {"Source file", "Source file"},
      {"Addressing", "Addressing"},
      {"Copy same", "Copy from source file the same area, as selected"},
      {"Copy beginning", "Copy from the beginning of source file"},
      {"Copy custom", "Copy form custom address of source file"}}},
    {"[SELECTION_VIEW]", "Selection view",
     {{"Caption", "Show number"},
      {"Hexadecimal source", "Hexadecimal source"},
      {"Result", "Result"},
      {"Hexadecimal view", "Hexadecimal view"},
      {"Octal view", "Octal view"},
      {"Decimal view", "Decimal view"},
      {"Conversion", "Conversion"},
      {"Bit shift", "Bit shift"},
      {"Bits", "bit(s)"},
      {"Left", "Left"},
      {"Right", "Right"},
      {"Reverse byte order", "Reverse byte order"},
      {"Swap bytes", "Swap bytes"},
      {"Swap nibbles", "Swap nibbles"},
      {"Mirror bits", "Mirror bits"},
      {"Invert", "Invert"},
      {"Shift on", "Shift on"},
      {"To the right", "to the right"},
      {"To the left", "to the left"},
      {"Reset", "Reset"}}},
    {"[GOTO_ADDRESS]", "Goto address",
     {{"Caption", "Goto address"}}},
    {"[PIN_TESTER]", "Pin tester",
     {{"Caption", "Pin tester"},
      {"not connected", "not connected"},
      {"not insert", "Chip not inserted or GND pin not connected."}}},
    {"[PRINT]", "Print",
     {{"Caption", "Print"},
      {"Parameters", "Parameters"},
      {"Whole file", "The whole file"},
      {"Selected area", "Selected area"},
      {"Editor screen", "Editor screen"},
      {"Address area", "Address area"},
      {"Add description", "Add description"},
      {"Print", "Print"},
      {"To printer", "To printer"},
      {"To file", "To file (text dump)"},
      {"Folder", "Folder"},
      {"File name", "File name"},
      {"Printer setup", "Printer setup"},
      {"Print button", "Print"},
      {"Wrong address area", "Wrong address area"},
      {"Show grid", "Show grid"}}},
    {"[GET FILE SIZE]", "Get file size",
     {{"Caption", "New file"},
      {"Label", "File size in bytes"}}},
    {"[CHANGE FILE SIZE]", "change file size",
     {{"Caption", "New file size"},
      {"Current", "Current file size (bytes):"},
      {"New", "New file size (bytes)"}}},
    {"[Addon]", "Addon",
     {{"Caption", "Install updates"},
      {"New addon", "New updates found"},
      {"Install", "Install"}}},
    };
    return table;
}

int InterfaceTextEntryCount()
{
    int n = 0;
    for (const auto& tag : InterfaceTextTable())
        n += 1 + static_cast<int>(tag.Keys.size());
    return n;
}

const std::vector<TMessageKey>& MessageKeyTable()
{
    static const std::vector<TMessageKey> table = {
        {"Error messages", "Power pins error", "Power pins are not defined in module"},
        {"Error messages", "Procedure not found", "Procedure not found: "},
        {"Error messages", "Error execute command", "Procedure not found: "},
        {"Error messages", "Pattern not found", "Pattern not found"},
        {"Error messages", "Morvane not present", "Morvane not present"},
        {"Error messages", "Power voltage not defined", "Power voltage not defined"},
        {"Error messages", "Incorrect address", "Incorrect address"},
        {"Error messages", "Power overload", "Power overload"},
        {"Error messages", "Device not found", "not found in device list"},
        {"Error messages", "No picture", "No picture"},
        {"Error messages", "Reload file",
         "Your file has been changed by another program. Do you want reload this file now?"},
        {"Ack", "Write", "Are you shure to programming?"},
        {"Ack", "Write changes", "Are you shure to programming?"},
        {"Ack", "Save script param", "Save this parameters as default?"},
        {"Ack", "SaveBeforeExit", "Save editor data before exit?"},
        {"Error messages", "Wrong Size", "File size not correspond buffer size. Load anyway?"},
        {"Ack", "SaveBeforeLoad", "Save editor data?"},
    };
    return table;
}

std::optional<std::string> LanguageNameFromLine(const std::string& line)
{
    // An editor that saves in UTF-8 may put its byte-order mark first.
    const std::string bom = "\xEF\xBB\xBF";
    const std::string s = Trim(line.rfind(bom, 0) == 0 ? line.substr(bom.size()) : line);
    // A language without a name could not be told apart in the list.
    if (s.size() < 3 || s.front() != '[' || s.back() != ']')
        return std::nullopt;
    return s.substr(1, s.size() - 2);
}

void ScanLanguageFiles()
{
    LanguageList.Clear();
    const std::string folder = NativePath(languagesFolder);
    for (const std::string& entry : ListFolder(folder, false, true)) {
        const std::string fileName = Utf8ToCp1251(entry);
        if (AnsiUpperCase(ExtractFileExt(fileName)) != ".LNG")
            continue;
        TStringList lines;
        if (!lines.LoadFromFile(folder + "/" + entry) || lines.Empty())
            continue;
        if (const auto name = LanguageNameFromLine(lines[0])) {
            LanguageList.Add(*name);
            LanguageList.Add(fileName);
        }
    }
}

bool LoadLanguageFile(const std::string& name)
{
    // Only the name positions are searched, so a language cannot be found
    // by the file name of another.
    int index = -1;
    for (int i = 0; i + 1 < LanguageList.Count(); i += 2)
        if (AnsiSameText(LanguageList[i], name)) {
            index = i;
            break;
        }
    if (index < 0)
        return false;
    const std::string path = NativePath(std::string(languagesFolder) + "\\" + LanguageList[index + 1]);
    if (!FileExists(path))
        return false;

    const TIniFile ini(path);
    for (const auto& tag : InterfaceTextTable()) {
        AddLanguageTag(LanguageTexts, tag.Tag);
        for (const auto& key : tag.Keys)
            LanguageTexts.Add(ini.ReadString(tag.Section, key.Key, defaultText(key.Default)));
    }
    for (const auto& caption : bufferCaptions)
        *caption.Text = ini.ReadString("Buffer", caption.Key, caption.Default);
    // A message must never come up empty: a key left without a value
    // gives the built-in text.
    int number = 0;
    for (const auto& message : MessageKeyTable()) {
        const std::string text = ini.ReadString(message.Section, message.Key, message.Default);
        MessageTexts.Add(text.empty() ? BuiltInEnglishMessage(number) : text);
        ++number;
    }
    return true;
}

void SetUpLanguageTables(const std::string& languageName)
{
    ScanLanguageFiles();
    const bool english = languageName == EnglishLanguageName;
    if (english || !LoadLanguageFile(languageName))
        AppendBuiltInEnglishMessages(MessageTexts);
    ResetBufferCaptions();
    if (!english)
        LoadLanguageFile(languageName);
}
