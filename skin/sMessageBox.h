#pragma once
// The library's message box: a caption by kind of message, an icon, the
// button set turned into the system's button codes, shown through the
// program's one message-box routine.
#include <initializer_list>
#include <optional>
#include <string>

enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp };
// A set of buttons, one bit each.
using TMsgDlgButtons = unsigned;
TMsgDlgButtons MsgDlgButtons(std::initializer_list<TMsgDlgBtn> buttons);

// Where the box is to appear while it is shown; -1 when no box is up.
extern int MsgBoxPosX, MsgBoxPosY;

// "Warning", "Error", "Information", "Confirm" and "" by type.
const std::string& MessageBoxCaption(TMsgDlgType type);
// The system's style bits for a type and a button set.
unsigned MessageBoxStyle(TMsgDlgType type, TMsgDlgButtons buttons);

// The answer (IDOK, IDCANCEL, ...). Without a caption the type's caption.
int ShowMessageBoxAt(const std::optional<std::string>& caption, const std::string& text, TMsgDlgType type,
                     int helpCtx, int x, int y, int defaultButton, TMsgDlgButtons buttons);
int ShowMessageBox(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons, int helpCtx = 0);
int ShowWarningBox(const std::string& text);
int ShowErrorBox(const std::string& text);
