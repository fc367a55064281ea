#pragma once
// Which commands a skinned form's system menu shows and enables, decided
// from the form's border style, border icons and window state alone.

// The form as its system menu sees it. The numbers are those of the class
// library's border styles, border icons and window states (the frame's
// TFormBorderStyle, TBorderIcon and TWindowState); the six title-button
// questions are answered by the frame's rules.
struct TacSysMenuForm {
    int BorderStyle = 2;      // 0 none, 1 single, 2 sizeable, 3 dialog, 4 tool window, 5 sizeable tool window
    unsigned BorderIcons = 7; // 1 system menu, 2 minimise, 4 maximise, 8 help
    int WindowState = 0;      // 0 normal, 1 minimised, 2 maximised
    bool Iconic = false;
    bool MDIChild = false;
    // The provider manages the form's system-menu style (its close button).
    bool SysMenuManaged = true;
};

struct TacSysMenuItemState {
    bool Visible = false;
    bool Enabled = false;
    bool operator==(const TacSysMenuItemState&) const = default;
};

struct TacSysMenuRules {
    bool VisibleClose = false, VisibleMax = false, VisibleMin = false;
    bool EnabledMax = false, EnabledMin = false, EnabledRestore = false;
    TacSysMenuItemState Restore, Move, Size, Minimize, Maximize, Close;
};
TacSysMenuRules SysMenuRules(const TacSysMenuForm& form);

// Without skinned popups the window's own menu shows every command and
// enables these.
struct TacPlainSysMenu {
    bool Restore = false, Move = false, Size = false, Minimize = false, Maximize = false, Close = false;
    bool operator==(const TacPlainSysMenu&) const = default;
};
TacPlainSysMenu PlainSysMenuEnabling(const TacSysMenuForm& form);

// The window commands of the system menu; ids below scSize are commands a
// window adds to its own menu.
enum TacSysCommand : int {
    scSize = 0xF000,
    scMove = 0xF010,
    scMinimize = 0xF020,
    scMaximize = 0xF030,
    scClose = 0xF060,
    scRestore = 0xF120,
};
