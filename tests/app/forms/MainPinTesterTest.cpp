// The main window's pin tester item: a programmer that does not take the
// supply command gets one error and no pin tester.
#include "app/forms/Main.h"
#include "app/forms/MainProgram.h"
#include "app/forms/HotLabel.h"
#include "engine/Engine.h"
#include "engine/Global.h"
#include "engine/LanguageTexts.h"
#include "engine/forms/uPinsTest.h"
#include "platform/Cp1251.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"

#include "AppStateGuard.h"
#include "TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QTimer>
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>

namespace {

// Opens every pipe; the command pipe "01" takes no byte.
class TDeafProgrammer : public TEngineTransport {
public:
    int Open(const std::string& pipeName) override
    {
        names_[next_] = pipeName;
        return next_++;
    }
    void Close(int handle) override { names_.erase(handle); }
    int Write(int handle, const uint8_t*, int count) override
    {
        const auto it = names_.find(handle);
        if (it == names_.end() || it->second == "01")
            return -1;
        return count;
    }
    int Read(int, uint8_t*, int) override { return 0; }
    bool WaitingHelps() const override { return false; }

private:
    std::map<int, std::string> names_;
    int next_ = 0;
};

TEST(MainPinTester, AFailedPowerUpStopsAfterTheError)
{
    testsupport::TAppStateGuard state;
    testsupport::TempDir dir;
    const std::string savedFolder = ProgramFolder();
    std::filesystem::copy(testsupport::DataPath(""), dir.path(), std::filesystem::copy_options::recursive);
    SetProgramFolder(dir.path());
    testsupport::WriteFileBytes(dir.file("TARKU.INI"),
                                "[Parameters]\r\nChipName=Serial EEPROM\\I2C 8 bit address\\24C02\r\n"
                                "[Dump]\r\nEditorMode=0\r\n");
    std::vector<std::string> boxes;
    std::vector<std::string> titles;
    const MessageBoxHandler previous =
        SetMessageBoxHandler([&](const std::string& text, const std::string& title, unsigned) {
            boxes.push_back(text);
            titles.push_back(title);
            return int{IDOK};
        });

    TMainForm* form = StartProgram({});
    form->show();
    QAction* pinTester = form->Command("btPinTest");
    ASSERT_TRUE(pinTester->isEnabled());
    SetUsbTransport(std::make_unique<TDeafProgrammer>());
    // A pin tester that shows anyway is closed again and fails the test.
    QObject guard;
    bool shown = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, &guard, [&] {
        if (auto* tester = qobject_cast<TfmPinsTest*>(QApplication::activeModalWidget())) {
            shown = true;
            tester->reject();
        }
    });
    watch.start(10);
    pinTester->trigger();
    watch.stop();
    EXPECT_FALSE(shown);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(titles[0], "Error");
    EXPECT_EQ(boxes[0], MessageText(msgProgrammerNotPresent));

    FinishProgram();
    SetMessageBoxHandler(previous);
    SetProgramFolder(savedFolder);
}

TEST(MainPinTester, AChipInTheSocketPassesAsItDoesBeforeARun)
{
    // The virtual programmer holds a 24C02: the item tests the same lines
    // as the test before a run, and finds the chip.
    testsupport::TAppStateGuard state;
    testsupport::TempDir dir;
    const std::string savedFolder = ProgramFolder();
    std::filesystem::copy(testsupport::DataPath(""), dir.path(), std::filesystem::copy_options::recursive);
    SetProgramFolder(dir.path());
    testsupport::WriteFileBytes(dir.file("TARKU.INI"),
                                "[Parameters]\r\nChipName=Serial EEPROM\\I2C 8 bit address\\24C02\r\n"
                                "[Dump]\r\nEditorMode=0\r\n");
    std::vector<std::string> boxes;
    const MessageBoxHandler previous = SetMessageBoxHandler([&](const std::string& text, const std::string&, unsigned) {
        boxes.push_back(text);
        return int{IDOK};
    });
    TMainForm* form = StartProgram({});
    form->show();
    QObject guard;
    QString shownText;
    int16_t result = -1;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, &guard, [&] {
        auto* tester = qobject_cast<TfmPinsTest*>(QApplication::activeModalWidget());
        if (tester && !tester->Memo1->text().isEmpty()) {
            shownText = tester->Memo1->text();
            result = tester->Result;
            tester->reject();
        }
    });
    watch.start(10);
    // Only a tester that never closes reaches this.
    QTimer::singleShot(30000, &guard, [] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            ADD_FAILURE() << "pin tester left open";
            modal->close();
        }
    });
    ASSERT_TRUE(form->Command("btPinTest")->isEnabled());
    form->Command("btPinTest")->trigger();
    watch.stop();
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(result, 0);
    EXPECT_FALSE(shownText.isEmpty());
    EXPECT_FALSE(shownText.contains("Chip not inserted")) << shownText.toStdString();

    FinishProgram();
    SetMessageBoxHandler(previous);
    SetProgramFolder(savedFolder);
}

} // namespace
