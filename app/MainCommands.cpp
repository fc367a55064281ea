#include "app/MainCommands.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

using M = TMainMenu;

// The tool bar's buttons that a module binds (read, write, ...) get their
// handlers from the module loader; until then they have none.
constexpr unsigned DeviceButton = cnModule | cnLink | cnBuffer;

// The parameters button's hint takes the "Parameters" text of the selection
// window's group: the language files have no group of the parameter panel's
// own, and a tag that no file holds could never be translated.
constexpr const char* ParametersTag = "[DEVICE_SELECT_WINDOW]";

const std::array Commands = {
    // File
    TMainCommand{"mmNew", M::File, "New", "[FILE_MENU]", 8, nullptr, cnBuffer | cnAutoSized},
    TMainCommand{"mnFileRead", M::File, "&Open", "[FILE_MENU]", 1, nullptr, cnBuffer},
    TMainCommand{"mnFileSave", M::File, "&Save", "[FILE_MENU]", 2, nullptr, cnBuffer},
    TMainCommand{"mmSavePartOfFile", M::File, "&Save part of file", "[FILE_MENU]", 3, nullptr, cnBuffer},
    TMainCommand{"mmChangeSize", M::File, "Change file size", "[FILE_MENU]", 9, nullptr,
                 cnBuffer | cnAutoSized | cnBuffer1Data},
    TMainCommand{"mmDumps", M::File, "&Dumps library", "[FILE_MENU]", 4, nullptr, cnBuffer | cnNoRun, true},
    TMainCommand{"Addfiletodumplibrary1", M::File, "&Add file to library", "[FILE_MENU]", 5, nullptr, cnBuffer},
    TMainCommand{"Print1", M::File, "&Print", "[FILE_MENU]", 6, nullptr, cnBuffer, true},
    TMainCommand{"mnExit", M::File, "&Exit", "[FILE_MENU]", 7, nullptr, cnNoRun, true},
    // Edit: the buffer commands
    TMainCommand{"mmColors", M::Edit, "Parameters", "[EDIT_MENU]", 1, nullptr, cnNoRun},
    TMainCommand{"Swapbytes1", M::Edit, "&Swap bytes", "[EDIT_MENU]", 2, nullptr, cnBuffer, true},
    TMainCommand{"Hidemismatch1", M::Edit, "&Hide mismatch", "[EDIT_MENU]", 3, nullptr, cnBuffer},
    TMainCommand{"mmErase", M::Edit, "&Erase buffer", "[EDIT_MENU]", 4, nullptr, cnBuffer},
    TMainCommand{"mmFill", M::Edit, "&Fill...", "[EDIT_MENU]", 5, nullptr, cnBuffer},
    TMainCommand{"mmFind", M::Edit, "Fin&d...", "[EDIT_MENU]", 6, nullptr, cnBuffer},
    TMainCommand{"mmInsert", M::Edit, "&Paste special...", "[EDIT_MENU]", 7, nullptr, cnBuffer},
    TMainCommand{"mmCompareFile", M::Edit, "Compare &with file...", "[EDIT_MENU]", 8, nullptr, cnBuffer},
    TMainCommand{"mmSlection", M::Edit, "&Selection...", "[EDIT_MENU]", 9, nullptr, cnBuffer, true},
    TMainCommand{"mmSelSaveAsFile", M::Edit, "Save &as file...", "[EDIT_MENU]", 10, nullptr, cnBuffer | cnSelection},
    TMainCommand{"mmSelInserFromFile", M::Edit, "Copy from f&ile...", "[EDIT_MENU]", 11, nullptr, cnBuffer},
    TMainCommand{"mmSelConvertToDigit", M::Edit, "Sh&ow as decimal number...", "[EDIT_MENU]", 12, nullptr,
                 cnBuffer | cnSelection},
    TMainCommand{"Copy1", M::Edit, "&Copy", "[EDIT_MENU]", 13, nullptr, cnBuffer | cnSelection, true},
    TMainCommand{"Paste1", M::Edit, "&Paste", "[EDIT_MENU]", 14, nullptr, cnBuffer},
    TMainCommand{"Selectall1", M::Edit, "Select &all", "[EDIT_MENU]", 15, nullptr, cnBuffer},
    TMainCommand{"XOR1", M::Edit, "XOR...", nullptr, 0, nullptr, cnBuffer},
    TMainCommand{"XORwithfile1", M::Edit, "Xor with file", "[EDIT_MENU]", 16, nullptr, cnBuffer, true},
    TMainCommand{"Hidemarkers1", M::Edit, "Hide markers", "[EDIT_MENU]", 17, nullptr, cnBuffer},
    // Options
    TMainCommand{"Language1", M::Options, "&Language", "[OPTIONS_MENU]", 2, nullptr, cnNoRun},
    TMainCommand{"Editor1", M::Options, "&Editor", "[OPTIONS_MENU]", 3, nullptr, cnNoRun},
    TMainCommand{"mnSetDelay", M::Options, "&Programming...", "[OPTIONS_MENU]", 4, nullptr, cnNoRun},
    TMainCommand{"mnTest", M::Options, "&Hardware test", "[OPTIONS_MENU]", 5, nullptr, cnLink},
    TMainCommand{"mnCalcInWindow", M::Options, "Calculator always in own window", "[OPTIONS_MENU]", 6, nullptr,
                 cnNoRun, true, true},
    // Help
    TMainCommand{"About1", M::Help, "&About", "[HELP_MENU]", 1, nullptr, cnLink},
    TMainCommand{"Contents1", M::Help, "&Contents", nullptr, 0, "F1", 0, true},
    // View
    TMainCommand{"mmToolbar", M::View, "&Tool bar", "[VIEW_MENU]", 1, nullptr, 0, false, true},
    TMainCommand{"mmFilewindow", M::View, "&File window", "[VIEW_MENU]", 2, nullptr, cnNoRun, false, true},
    TMainCommand{"mmCalculatorswindow", M::View, "&Calculators window", "[VIEW_MENU]", 3, nullptr, cnNoRun, false,
                 true},
    TMainCommand{"mmEditoronly", M::View, "&Editor only", "[VIEW_MENU]", 4, nullptr, cnBuffer | cnNoRun},
    TMainCommand{"mmMarkers", M::View, "Markers panel", "[VIEW_MENU]", 5, nullptr, 0, false, true},
    // Tool bar
    // The buttons that repeat a menu command run it under its rule.
    TMainCommand{"ToolButton1", M::None, "&Open", "[FILE_MENU]", 1, nullptr, 0, false, false, true, "mnFileRead"},
    TMainCommand{"ToolButton2", M::None, "&Save", "[FILE_MENU]", 2, nullptr, 0, false, false, true, "mnFileSave"},
    TMainCommand{"tbBinList", M::None, "&Dumps library", "[FILE_MENU]", 4, nullptr, 0, false, false, true, "mmDumps"},
    TMainCommand{"tbSelectChip", M::None, "Select", "[DEVICE]", 2, nullptr, cnBuffer | cnNoRun, true, false, true},
    TMainCommand{"tbReadChip", M::None, "Read", nullptr, 0, nullptr, DeviceButton, false, false, true},
    TMainCommand{"tbWriteChip", M::None, "Write", nullptr, 0, nullptr, DeviceButton, false, false, true},
    TMainCommand{"tbEraseChip", M::None, "Erase", nullptr, 0, nullptr, DeviceButton, false, false, true},
    TMainCommand{"tbCheckChip", M::None, "Verify", nullptr, 0, nullptr, DeviceButton, false, false, true},
    TMainCommand{"tbWriteChanges", M::None, "Write changes", nullptr, 0, nullptr, DeviceButton, false, false, true},
    TMainCommand{"tbChipInfo", M::None, "Chip info", nullptr, 0, nullptr, DeviceButton, false, false, true},
    TMainCommand{"tbModuleInfo", M::None, "Module info", nullptr, 0, nullptr, DeviceButton, false, false, true},
    TMainCommand{"tbParameters", M::None, "Parameters", ParametersTag, 6, nullptr, cnModule | cnNoRun, false, false,
                 true},
    TMainCommand{"btPinTest", M::None, "Pin tester", "[PIN_TESTER]", 1, nullptr, cnModule | cnLink, false, false,
                 true},
};

} // namespace

std::span<const TMainCommand> MainCommands() { return Commands; }

const TMainCommand* FindMainCommand(const std::string& name)
{
    const auto it = std::find_if(Commands.begin(), Commands.end(),
                                 [&](const TMainCommand& c) { return name == c.Name; });
    return it == Commands.end() ? nullptr : &*it;
}

const char* CommandHandlerName(const TMainCommand& command) { return command.Runs ? command.Runs : command.Name; }

bool CommandEnabled(const TMainCommand& row, const TCommandState& state, bool hasHandler)
{
    const TMainCommand* runs = row.Runs ? FindMainCommand(row.Runs) : nullptr;
    const TMainCommand& command = runs ? *runs : row;
    if (!hasHandler)
        return false;
    if (state.RunInProgress && (command.Needs & (cnLink | cnModule | cnBuffer | cnNoRun)))
        return false;
    if ((command.Needs & cnModule) && !state.ModuleLoaded)
        return false;
    if ((command.Needs & cnSelection) && !state.HasSelection)
        return false;
    if ((command.Needs & cnAutoSized) && !state.Buffer1AutoSized)
        return false;
    if ((command.Needs & cnBuffer1Data) && state.Buffer1Empty)
        return false;
    return true;
}
