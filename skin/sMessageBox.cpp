#include "skin/sMessageBox.h"

#include "platform/MessageBox.h"

#include <array>

int MsgBoxPosX = -1, MsgBoxPosY = -1;

TMsgDlgButtons MsgDlgButtons(std::initializer_list<TMsgDlgBtn> buttons)
{
    TMsgDlgButtons set = 0;
    for (TMsgDlgBtn b : buttons)
        set |= 1u << b;
    return set;
}

const std::string& MessageBoxCaption(TMsgDlgType type)
{
    static const std::array<std::string, 5> captions = {"Warning", "Error", "Information", "Confirm", ""};
    return captions[size_t(type)];
}

unsigned MessageBoxStyle(TMsgDlgType type, TMsgDlgButtons buttons)
{
    static const unsigned icons[] = {MB_ICONWARNING, MB_ICONERROR, MB_ICONINFORMATION, MB_ICONQUESTION, 0};
    auto has = [&](TMsgDlgBtn b) { return (buttons & (1u << b)) != 0; };
    unsigned style = icons[size_t(type)] | MB_SETFOREGROUND | MB_TOPMOST;
    if (has(mbOK))
        style |= has(mbCancel) ? MB_OKCANCEL : MB_OK;
    else if (has(mbAbort) || has(mbIgnore))
        style |= MB_ABORTRETRYIGNORE;
    else if (has(mbYes) || has(mbNo))
        style |= has(mbCancel) ? MB_YESNOCANCEL : MB_YESNO;
    else if (has(mbRetry))
        style |= MB_RETRYCANCEL;
    if (has(mbHelp))
        style |= MB_HELP;
    return style;
}

int ShowMessageBoxAt(const std::optional<std::string>& caption, const std::string& text, TMsgDlgType type, int,
                     int x, int y, int, TMsgDlgButtons buttons)
{
    MsgBoxPosX = x;
    MsgBoxPosY = y;
    int answer = ShowMessageBox(text, caption ? *caption : MessageBoxCaption(type), MessageBoxStyle(type, buttons));
    MsgBoxPosX = MsgBoxPosY = -1;
    return answer;
}

int ShowMessageBox(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons, int helpCtx)
{
    return ShowMessageBoxAt(std::nullopt, text, type, helpCtx, -1, -1, 0, buttons);
}

int ShowWarningBox(const std::string& text)
{
    return ShowMessageBox(text, TMsgDlgType::mtWarning, MsgDlgButtons({mbOK}));
}

int ShowErrorBox(const std::string& text)
{
    return ShowMessageBox(text, TMsgDlgType::mtError, MsgDlgButtons({mbOK}));
}
