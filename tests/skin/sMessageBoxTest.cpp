#include "skin/sMessageBox.h"

#include "platform/MessageBox.h"

#include <gtest/gtest.h>

TEST(SkinMessageBox, StyleByTypeAndButtons)
{
    const unsigned top = MB_SETFOREGROUND | MB_TOPMOST;
    struct Case {
        TMsgDlgType type;
        std::initializer_list<TMsgDlgBtn> buttons;
        unsigned style;
    } cases[] = {
        {TMsgDlgType::mtConfirmation, {mbYes, mbNo, mbCancel}, MB_ICONQUESTION | MB_YESNOCANCEL},
        {TMsgDlgType::mtConfirmation, {mbYes, mbNo}, MB_ICONQUESTION | MB_YESNO},
        {TMsgDlgType::mtWarning, {mbOK, mbCancel}, MB_ICONWARNING | MB_OKCANCEL},
        {TMsgDlgType::mtError, {mbOK}, MB_ICONERROR | MB_OK},
        {TMsgDlgType::mtInformation, {mbAbort, mbRetry, mbIgnore}, MB_ICONINFORMATION | MB_ABORTRETRYIGNORE},
        {TMsgDlgType::mtCustom, {mbRetry, mbCancel}, MB_RETRYCANCEL},
        {TMsgDlgType::mtCustom, {mbCancel}, MB_OK},
        {TMsgDlgType::mtWarning, {mbOK, mbHelp}, MB_ICONWARNING | MB_OK | MB_HELP},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MessageBoxStyle(c.type, MsgDlgButtons(c.buttons)), c.style | top) << c.style;
}

TEST(SkinMessageBox, CaptionPositionAndAnswer)
{
    std::string seenCaption;
    unsigned seenFlags = 0;
    int seenX = 0, seenY = 0;
    MessageBoxHandler old = SetMessageBoxHandler([&](const std::string&, const std::string& caption, unsigned flags) {
        seenCaption = caption;
        seenFlags = flags;
        seenX = MsgBoxPosX;
        seenY = MsgBoxPosY;
        return IDRETRY;
    });
    EXPECT_EQ(ShowMessageBoxAt(std::nullopt, "t", TMsgDlgType::mtError, 0, 10, 20, 0, MsgDlgButtons({mbRetry})),
              IDRETRY);
    EXPECT_EQ(seenCaption, "Error");
    EXPECT_EQ(seenX, 10);
    EXPECT_EQ(seenY, 20);
    EXPECT_EQ(MsgBoxPosX, -1);
    EXPECT_EQ(MsgBoxPosY, -1);
    ShowMessageBoxAt(std::string("Mine"), "t", TMsgDlgType::mtError, 0, 1, 2, 0, 0);
    EXPECT_EQ(seenCaption, "Mine");
    ShowWarningBox("w");
    EXPECT_EQ(seenCaption, "Warning");
    EXPECT_EQ(seenFlags, MB_ICONWARNING | MB_OK | MB_SETFOREGROUND | MB_TOPMOST);
    ShowMessageBox("c", TMsgDlgType::mtCustom, MsgDlgButtons({mbOK}));
    EXPECT_EQ(seenCaption, "");
    SetMessageBoxHandler(old);
    // Without a window the first button answers.
    SetMessageBoxHandler(nullptr);
    EXPECT_EQ(ShowErrorBox("e"), IDOK);
    EXPECT_EQ(ShowMessageBox("q", TMsgDlgType::mtWarning, MsgDlgButtons({mbAbort, mbRetry, mbIgnore})), IDABORT);
    SetMessageBoxHandler(old);
}
