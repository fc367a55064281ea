#pragma once
// Shared by the buffer dialogs' window tests: modal runs answered by a
// timer with a ceiling, the shipped Russian texts, and screenshots.
#include "Screenshot.h"
#include "TestSupport.h"
#include "app/uLoadLanguages.h"
#include "engine/Global.h"
#include "engine/LanguageTexts.h"
#include "platform/Cp1251.h"
#include "platform/IniFiles.h"
#include "platform/MessageBox.h"

#include "ProgramStateGuard.h"
#include "ModalAnswer.h"

#include <QDialog>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace dialogtest {

// Runs the dialog modally with `answer` played once it shows. A dialog that
// is still open after a ceiling only a hang reaches is closed, and the test
// fails instead of hanging. Returns the dialog's result.
inline int ExecAnswered(QDialog& dialog, const std::function<void()>& answer)
{
    return testsupport::RunModalAnswered(dialog, answer);
}

// Fills LanguageTexts and MessageTexts from the shipped Russian file, tag by
// tag as the language loader reads it.
inline void LoadRussianTables()
{
    const TIniFile ini(testsupport::DataPath("Languages/ru.lng"));
    for (const TLanguageTag& tag : InterfaceTextTable()) {
        AddLanguageTag(LanguageTexts, tag.Tag);
        for (const TLanguageKey& key : tag.Keys)
            LanguageTexts.Add(ini.ReadString(tag.Section, key.Key, "?"));
    }
    for (const TMessageKey& message : MessageKeyTable())
        MessageTexts.Add(ini.ReadString(message.Section, message.Key, "?"));
}

// The file's text of a key, for comparison with a caption.
inline QString RussianText(const char* section, const char* key)
{
    const TIniFile ini(testsupport::DataPath("Languages/ru.lng"));
    return Cp1251ToQString(ini.ReadString(section, key, "?"));
}

// Shows the window, grabs it as <name>.png and hides it again.
inline void Grab(QWidget& window, const std::string& name)
{
    window.show();
    window.adjustSize();
    EXPECT_TRUE(SaveScreenshot(window, name));
    window.hide();
}

// Program state reset around each test; message boxes recorded and
// answered with OK.
class DialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        previousHandler_ = SetMessageBoxHandler([this](const std::string& text, const std::string& caption, unsigned flags) {
            messages.push_back({text, caption, flags});
            return IDOK;
        });
    }
    void TearDown() override { SetMessageBoxHandler(previousHandler_); }

    struct Message {
        std::string Text;
        std::string Caption;
        unsigned Flags;
    };
    testsupport::TProgramStateGuard state;
    std::vector<Message> messages;

private:
    MessageBoxHandler previousHandler_;
};

} // namespace dialogtest
