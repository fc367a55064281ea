#pragma once
// The device command dispatch, worked out without widgets: the command text
// a sender gives, whether to ask first, the module parameter list filled
// from the parameter controls and the option bits, the values the run left
// written back into the controls, and what the run's exit value asks for.
#include "app/MainModule.h"
#include "platform/StringList.h"

#include <cstdint>
#include <string>
#include <vector>

// The three kinds of sender a device command comes from.
enum class TSenderKind { None, MenuItem, ToolButton, PushButton };

// Menu item and tool button: the caption; push button (a module button):
// name + "|" + caption; anything else: empty.
std::string CommandText(TSenderKind kind, const std::string& name, const std::string& caption);

// LastCommand: the command text upper-cased with its first "&" removed.
std::string LastCommandOf(const std::string& commandText);

// Whether the command asks before it runs (Write, Write changes and Erase
// with option bit 0 set).
bool NeedsConfirmation(const std::string& lastCommand, uint32_t workParam);

// A parameter control as the dispatch sees it. The window reads its
// controls into these before a run and applies them afterwards.
struct TControlState {
    TParamKind Kind = TParamKind::CheckBox;
    std::string Name;
    uint32_t Tag = 0;
    std::string Text;   // HEXEDIT: the pairs shown; DIGIT: the edit's text
    int ItemCount = 0;  // COMBOBOX
    int ItemIndex = -1; // COMBOBOX
    bool Checked = false;
};

// The main window's state that goes into the list after the controls.
struct TDispatchState {
    int ActiveBuffer = 0; // tab index; -1 without tabs
    bool WordMode1 = false;
    bool WordMode2 = false;
    uint32_t WorkParam = 0;
};

// Clears `list` and fills it: one entry per named control in order, then
// ActiveBuffer, WordMode1, WordMode2 and the four option entries.
void FillModuleParameters(const std::vector<TControlState>& controls, const TDispatchState& state,
                          TStringList& list);

// Copies the values the run left in `list` into the controls' states
// (module buttons and controls without an entry stay as they are).
void WriteBackControls(const TStringList& list, std::vector<TControlState>& controls);

// What the run's exit value asks for.
enum class TExitAction {
    None,
    Backup,          // 0x7FFFFFFF: the automatic backup (its option bit decides)
    SignatureSwitch, // a known chip signature: offer ChipEntry in the selection dialog
};
struct TExitReaction {
    TExitAction Action = TExitAction::None;
    std::string ChipEntry;
};
TExitReaction ExitReaction(uint32_t exitValue);
