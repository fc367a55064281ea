#pragma once
// Every message box of the program goes through ShowMessageBox, so that logic
// runs without windows: the window library installs a handler that shows a
// real box; without one (and in tests) the registered handler answers.
#include <functional>
#include <string>

// Buttons and icons, combined with "|", and the answers, with the values of
// the system's message box.
enum MessageBoxFlags : unsigned {
    MB_OK = 0x0,
    MB_OKCANCEL = 0x1,
    MB_ABORTRETRYIGNORE = 0x2,
    MB_YESNOCANCEL = 0x3,
    MB_YESNO = 0x4,
    MB_RETRYCANCEL = 0x5,
    MB_ICONERROR = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONWARNING = 0x30,
    MB_ICONINFORMATION = 0x40,
    MB_HELP = 0x4000,
    MB_SETFOREGROUND = 0x10000,
    MB_TOPMOST = 0x40000,
};
enum MessageBoxResult : int { IDOK = 1, IDCANCEL = 2, IDABORT = 3, IDRETRY = 4, IDIGNORE = 5, IDYES = 6, IDNO = 7 };

// text and caption are code page 1251.
using MessageBoxHandler = std::function<int(const std::string& text, const std::string& caption, unsigned flags)>;

int ShowMessageBox(const std::string& text, const std::string& caption, unsigned flags = MB_OK);

// Installs a handler and returns the previous one. With none installed a box
// answers its first button (OK, Yes, Abort or Retry).
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);
