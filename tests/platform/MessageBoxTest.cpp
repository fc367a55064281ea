#include "platform/MessageBox.h"

#include <gtest/gtest.h>

#include <string>

TEST(MessageBox, HandlerAnswersAndWithoutOneTheFirstButton)
{
    const MessageBoxHandler none = SetMessageBoxHandler(nullptr);
    EXPECT_EQ(ShowMessageBox("t", "c"), IDOK);
    EXPECT_EQ(ShowMessageBox("t", "c", MB_OKCANCEL | MB_ICONWARNING), IDOK);
    EXPECT_EQ(ShowMessageBox("t", "c", MB_YESNO | MB_ICONQUESTION), IDYES);
    EXPECT_EQ(ShowMessageBox("t", "c", MB_YESNOCANCEL), IDYES);

    std::string seen;
    SetMessageBoxHandler([&](const std::string& text, const std::string& caption, unsigned flags) {
        seen = caption + "|" + text + "|" + std::to_string(flags);
        return IDNO;
    });
    EXPECT_EQ(ShowMessageBox("Write?", "Tarku", MB_YESNO | MB_ICONQUESTION), IDNO);
    EXPECT_EQ(seen, "Tarku|Write?|36");
    const MessageBoxHandler mine = SetMessageBoxHandler(none);
    EXPECT_TRUE(static_cast<bool>(mine));
}
