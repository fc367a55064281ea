#pragma once
// The main window's commands as data: one row per menu item or tool button,
// and the one function that decides whether a command is enabled. The
// window builds its menus and tool bar from the rows and applies
// CommandEnabled whenever its state changes; a command whose work is not
// built yet has no handler and stays disabled.
#include <span>
#include <string>

// The top-level menus, in menu bar order; None: a tool button only.
enum class TMainMenu { File, Device, Edit, Calculators, Options, Help, View, None };

// What a command touches or needs.
enum TCommandNeeds : unsigned {
    cnLink = 1,       // opens the programmer link
    cnModule = 2,     // a loaded chip module (not in editor-only mode)
    cnBuffer = 4,     // reads or changes a device buffer
    cnSelection = 8,  // a selection in the active buffer
    cnNoRun = 16,     // nothing else, but not while a run is in progress
    cnAutoSized = 32, // buffer 1 takes the size of what is loaded (editor only)
    cnBuffer1Data = 64, // buffer 1 is not empty
};

struct TMainCommand {
    const char* Name;        // object name of the menu item or tool button
    TMainMenu Menu;          // where the item goes
    const char* Caption;     // English caption (code page 1251)
    const char* Tag;         // language tag of the relabel table, or nullptr
    int Offset;              // text of the tag's group
    const char* Shortcut;    // key sequence text, or nullptr
    unsigned Needs;          // TCommandNeeds
    bool SeparatorBefore = false;
    bool Checkable = false;
    // A tool button: shows the caption as its hint (the same text with the
    // first "&" removed).
    bool ToolButton = false;
    // A tool button that repeats a menu command: the name of that
    // command, whose handler it runs and whose needs enable it (its own
    // Needs are not used).
    const char* Runs = nullptr;
};

// Every command of the main window's frame, in menu and tool bar order.
std::span<const TMainCommand> MainCommands();
// The row of an object name; nullptr when there is none.
const TMainCommand* FindMainCommand(const std::string& name);

// The window state the enable rule looks at.
struct TCommandState {
    bool RunInProgress = false;
    bool ModuleLoaded = false;   // a module is loaded and buffer 1 is not editor-only
    bool HasSelection = false;   // in the active buffer
    bool Buffer1AutoSized = false;
    bool Buffer1Empty = true;
};

// The name the handler of a command is bound under: the menu command a
// button repeats, else its own.
const char* CommandHandlerName(const TMainCommand& command);

// Enabled: it has a handler, what it needs is there, and no run is in
// progress when it touches the link, the module or the buffers.
// A button that repeats a menu command follows that command's needs.
bool CommandEnabled(const TMainCommand& command, const TCommandState& state, bool hasHandler);
