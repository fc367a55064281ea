// The run window on the offscreen platform: a real run seen mid-way, the
// button's two roles and the window's close box.
#include "Screenshot.h"
#include "buffer/HDumpBuffer.h"
#include "engine/Engine.h"
#include "engine/Global.h"
#include "engine/LanguageTexts.h"
#include "engine/forms/uExecute.h"
#include "engine/uHost.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "vprog/VirtualUsb.h"

#include "ProgramStateGuard.h"
#include "TestSupport.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace {

class ExecuteWindowTest : public ::testing::Test {
protected:
    testsupport::TProgramStateGuard state;
    testsupport::TempDir dir;
    TVirtualProgrammer programmer;
    TDumpBuffer buffer1, buffer2;
    std::vector<std::string> boxes;
    MessageBoxHandler previous;

    void SetUp() override
    {
        SetProgramFolder(dir.path());
        ForceDirectories(dir.file("scripts"));
        testsupport::WriteFileBytes(dir.file("scripts/runner.chl"),
                                    testsupport::ReadFileBytes(testsupport::FixturePath("engine/run/runner.chl")));
        ChipList = {"Test\\Runner"};
        ModuleFileList = {"runner.chl"};
        CurrentChip = "Test\\Runner";
        ModuleParameters = {"COUNT", "LEVEL"};
        PowerOnDelay = 0;
        UsbTimeOut = 3;
        WorkParam = WorkParamDefault & ~wpPinTestBeforeRun;
        SetUsbTransport(std::make_unique<TVirtualUsb>(programmer));
        buffer1.SetSize(32);
        buffer2.SetSize(8);
        previous = SetMessageBoxHandler([this](const std::string& text, const std::string&, unsigned) {
            boxes.push_back(text);
            return IDYES;
        });
    }
    void TearDown() override
    {
        SetMessageBoxHandler(previous);
        // The transport reaches programmer, which goes before state.
        SetUsbTransport(nullptr);
    }

    // Calls `act` once, as soon as the run has set up its window (the
    // button shows the run's own text) and is stepping, however long
    // compiling took on this machine. A run that never gets there is
    // stopped after a minute and fails the test instead of hanging it.
    void WhenStepping(TfmExecute& form, std::function<void()> act)
    {
        stepping_.setInterval(2);
        QObject::connect(&stepping_, &QTimer::timeout, [this, &form, act] {
            if (!HostMachine || !HostMachine->OnPrint)
                return;
            stepping_.stop();
            act();
        });
        stepping_.start();
        ceiling_.setSingleShot(true);
        QObject::connect(&ceiling_, &QTimer::timeout, [&form] {
            ADD_FAILURE() << "the run never started stepping";
            form.Run.Tag = -1;
        });
        ceiling_.start(60000);
    }

private:
    QTimer stepping_, ceiling_;
};

TEST_F(ExecuteWindowTest, ShowsARunMidWayAndWaitsForClose)
{
    TfmExecute form;
    form.SetBuffers(&buffer1, &buffer2);
    // Mid-run: once the first two blocks are logged, however long compiling
    // and uploading took on this machine.
    bool sawMidRun = false;
    QTimer mid;
    QObject::connect(&mid, &QTimer::timeout, [&] {
        if (sawMidRun || !form.Memo1->toPlainText().startsWith("Block 0 read\nBlock 1 read"))
            return;
        sawMidRun = true;
        EXPECT_TRUE(form.isVisible());
        EXPECT_EQ(form.windowTitle(), "Slow read");
        EXPECT_EQ(form.btCancel->text(), "Cancel");
        EXPECT_GT(form.Gauge1->value(), 0);
        EXPECT_EQ(form.Gauge1->maximum(), 64);
        EXPECT_TRUE(programmer.Lines().SupplyOn());
        SaveScreenshot(form, "execute_midrun");
    });
    mid.start(2);
    // Once ended with exit value 0 the window waits for Close.
    QTimer end;
    QObject::connect(&end, &QTimer::timeout, [&] {
        if (form.btCancel->text() != "Close")
            return;
        EXPECT_TRUE(form.isVisible());
        EXPECT_FALSE(programmer.Lines().SupplyOn());
        EXPECT_TRUE(form.Memo1->toPlainText().endsWith("Block 63 read\nDone"));
        SaveScreenshot(form, "execute_ended");
        form.btCancel->click();
    });
    end.start(5);
    form.Run.RunModuleProcedure("Slow read", 8);
    EXPECT_TRUE(sawMidRun);
    EXPECT_TRUE(boxes.empty());
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.ExitValue(), 0u);
    EXPECT_EQ(buffer1.Data[0], 0); // the slow read writes no buffer
}

TEST_F(ExecuteWindowTest, TheCloseBoxAsksLikeCancel)
{
    TfmExecute form;
    form.SetBuffers(&buffer1, &buffer2);
    WhenStepping(form, [&] { form.close(); });
    form.Run.RunModuleProcedure("Endless", 8);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], "Are you sure to cancel  \"Endless\" ?");
    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(programmer.Lines().SupplyOn());
}

TEST_F(ExecuteWindowTest, EscAsksLikeCancelAndTheButtonHasTheFocus)
{
    TfmExecute form;
    form.SetBuffers(&buffer1, &buffer2);
    bool focused = false;
    WhenStepping(form, [&] {
        focused = form.btCancel->hasFocus() || QApplication::focusWidget() == form.btCancel;
        QTest::keyClick(form.Memo1, Qt::Key_Escape);
    });
    form.Run.RunModuleProcedure("Endless", 8);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], "Are you sure to cancel  \"Endless\" ?");
    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(programmer.Lines().SupplyOn());
    EXPECT_TRUE(focused);
}

TEST_F(ExecuteWindowTest, AnEndedRunWaitsForCloseWithoutSpinning)
{
    // While the log waits to be read, the program sleeps until an event
    // comes: the event loop wakes for the click, not over and over.
    TfmExecute form;
    form.SetBuffers(&buffer1, &buffer2);
    int wakes = 0;
    bool waiting = false;
    QTimer end;
    QObject::connect(&end, &QTimer::timeout, [&] {
        if (waiting || form.btCancel->text() != "Close")
            return;
        waiting = true;
        end.stop();
        QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::awake, &end,
                         [&] { ++wakes; });
        QTimer::singleShot(1000, &form, [&] { form.btCancel->click(); });
    });
    end.start(5);
    form.Run.RunModuleProcedure("Slow read", 8);
    EXPECT_TRUE(waiting);
    EXPECT_LT(wakes, 100);
}

TEST_F(ExecuteWindowTest, PrintRulesReachTheMemo)
{
    TfmExecute form;
    form.SetBuffers(&buffer1, &buffer2);
    form.Run.RunModuleProcedure("Print texts", 8);
    EXPECT_EQ(form.Memo1->toPlainText().toStdString(),
              "Replaced and appended\nH=2345 B=45 D=00012345\nI=-1 C=A\nUnknown %Q and %B\nEnds in %\nx");
    // Huge gauge values are scaled, never wrapped.
    form.Run.GaugeMax = 0xFFFFFFFF;
    form.Run.GaugePosition = 0x80000000;
    form.GaugeChanged();
    EXPECT_GT(form.Gauge1->value(), form.Gauge1->maximum() / 3);
}

TEST_F(ExecuteWindowTest, TextsComeFromTheLanguageTables)
{
    LanguageTexts.Clear();
    AddLanguageTag(LanguageTexts, "[RUNTIME_WINDOW]");
    for (const char* text : {"Action", "Really cancel"})
        LanguageTexts.Add(text);
    AddLanguageTag(LanguageTexts, "[COMMON_BUTTONS]");
    for (const char* text : {"&Apply", "Stop", "&Help", "Done"})
        LanguageTexts.Add(text);
    TfmExecute form;
    EXPECT_EQ(form.Run.CancelText, "Stop");
    EXPECT_EQ(form.Run.CloseText, "Done");
    EXPECT_EQ(form.Run.CancelQuestion, "Really cancel");
    form.SetBuffers(&buffer1, &buffer2);
    WhenStepping(form, [&] {
        EXPECT_EQ(form.btCancel->text(), "Stop");
        form.btCancel->click();
    });
    form.Run.RunModuleProcedure("Endless", 8);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], "Really cancel \"Endless\" ?");
}

} // namespace
