#pragma once
// The main window's test fixture: the real start-up and shutdown on a copy
// of the program folder. Message boxes are answered through the platform's
// handler, file and selection dialogs by a timer; a modal window left open
// fails the test instead of hanging it.
#include "AppStateGuard.h"
#include "TestSupport.h"
#include "app/forms/ChipSel.h"
#include "app/forms/Main.h"
#include "app/forms/MainProgram.h"
#include "buffer/forms/HDump.h"
#include "buffer/forms/glabel.h"
#include "engine/forms/uExecute.h"
#include "platform/Cp1251.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "vprog/Socket.h"
#include "vprog/VirtualUsb.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace {
using testsupport::ReadFileBytes;
using testsupport::TempDir;
using testsupport::WriteFileBytes;

// Generous: only a window nobody closes ever waits this long.
constexpr int ModalCeilingMs = 30000;

class MainTest : public ::testing::Test {
protected:
    testsupport::TAppStateGuard state_;
    TempDir dir_;
    std::string savedFolder_ = ProgramFolder();
    MessageBoxHandler previous_;
    std::vector<std::string> boxes_;
    std::deque<int> answers_;
    // Called with each box's text before it is answered.
    std::function<void(const std::string&)> onBox_;
    // Questions without a queued answer are answered No instead of failing
    // the test.
    bool answerNo_ = false;
    QObject guard_; // timers of this test die with it
    int dialogs_ = 0;
    TMainForm* form_ = nullptr;

    void SetUp() override
    {
        std::filesystem::copy(testsupport::DataPath(""), dir_.path(), std::filesystem::copy_options::recursive);
        SetProgramFolder(dir_.path());
        previous_ = SetMessageBoxHandler([this](const std::string& text, const std::string&, unsigned flags) {
            boxes_.push_back(Cp1251ToUtf8(text));
            if (onBox_)
                onBox_(text);
            if (!answers_.empty()) {
                const int answer = answers_.front();
                answers_.pop_front();
                return answer;
            }
            if ((flags & 0xF) == MB_OK)
                return int{IDOK};
            if (answerNo_)
                return int{IDNO};
            ADD_FAILURE() << "unexpected question: " << text;
            return int{IDCANCEL};
        });
    }
    void TearDown() override
    {
        if (form_)
            FinishProgram();
        SetMessageBoxHandler(previous_);
        SetProgramFolder(savedFolder_);
    }

    void Start(const std::vector<std::string>& arguments = {})
    {
        form_ = StartProgram(arguments);
        form_->show();
    }

    std::string Settings() const { return ReadFileBytes(dir_.file("TARKU.INI")); }

    // The next modal file dialog gets `act`; one still open after the
    // ceiling is rejected and fails the test.
    void AnswerFileDialog(std::function<void(QFileDialog&)> act)
    {
        QTimer::singleShot(0, &guard_, [this, act] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog) {
                AnswerFileDialog(act);
                return;
            }
            ++dialogs_;
            QTimer::singleShot(ModalCeilingMs, dialog, [dialog] {
                ADD_FAILURE() << "file dialog left open";
                dialog->reject();
            });
            act(*dialog);
        });
    }
    void Choose(const std::string& path, int filter)
    {
        AnswerFileDialog([path, filter](QFileDialog& d) {
            d.selectNameFilter(d.nameFilters()[filter - 1]);
            d.selectFile(QString::fromStdString(path));
            QMetaObject::invokeMethod(&d, "accept");
        });
    }
    void Cancel()
    {
        AnswerFileDialog([](QFileDialog& d) { d.reject(); });
    }

    void Trigger(const char* command)
    {
        QAction* action = form_->Command(command);
        ASSERT_TRUE(action->isEnabled()) << command;
        action->trigger();
    }

    // Puts a simulated chip with these contents into the virtual
    // programmer's socket.
    TSimChip* PutChip(const std::string& chip, const std::string& contents)
    {
        WriteFileBytes(dir_.file(chip + ".bin"), contents);
        TSocketSetup setup;
        setup.Chip = chip;
        setup.Image = dir_.file(chip + ".bin");
        TSimChip* inserted = nullptr;
        EXPECT_EQ(InsertChip(TheVirtualProgrammer().Lines(), setup, &inserted), "");
        return inserted;
    }

    // The next modal selection dialog chooses `entry` (nothing: Cancel).
    void AnswerSelection(const std::string& entry)
    {
        QTimer::singleShot(0, &guard_, [this, entry] {
            auto* dialog = qobject_cast<TSelectForm*>(QApplication::activeModalWidget());
            if (!dialog) {
                AnswerSelection(entry);
                return;
            }
            ++dialogs_;
            QTimer::singleShot(ModalCeilingMs, dialog, [dialog] {
                ADD_FAILURE() << "selection dialog left open";
                dialog->BitBtn2Click();
            });
            if (entry.empty()) {
                onSelection_(*dialog);
                dialog->BitBtn2Click();
                return;
            }
            dialog->PreselectEntry(entry);
            onSelection_(*dialog);
            dialog->BitBtn1Click();
        });
    }
    std::function<void(TSelectForm&)> onSelection_ = [](TSelectForm&) {};

    // Runs end by themselves (the modules close the run window) or wait
    // for Close, which this presses; `duringRun_` sees each run once while
    // it steps. A run still going after the ceiling is stopped and fails.
    // The look is taken at every pass of the run's own event pumping, not
    // after some time: a short run on a busy machine is seen all the same.
    void CloseRunsWhenDone()
    {
        auto* closer = new QTimer(&guard_);
        QObject::connect(closer, &QTimer::timeout, [this] {
            if (!fmExecute || !fmExecute->isVisible())
                return;
            const std::string button = QStringToCp1251(fmExecute->btCancel->text());
            if (button == fmExecute->Run.CancelText && !sawRun_) {
                sawRun_ = true;
                if (duringRun_)
                    duringRun_();
            }
            if (button == fmExecute->Run.CloseText)
                fmExecute->btCancel->click();
        });
        closer->start(0);
    }
    void Run(const std::function<void()>& act)
    {
        sawRun_ = false;
        QTimer ceiling;
        ceiling.setSingleShot(true);
        QObject::connect(&ceiling, &QTimer::timeout, [] {
            ADD_FAILURE() << "run never ended";
            fmExecute->Run.Tag = -1;
        });
        ceiling.start(120000);
        act();
    }
    QAction* DeviceItem(const char* name) const { return form_->mmDevice->findChild<QAction*>(name); }
    bool sawRun_ = false;
    std::function<void()> duringRun_;

    void Restart(const std::vector<std::string>& arguments = {})
    {
        FinishProgram();
        form_ = nullptr;
        Start(arguments);
    }

    std::string Buffer1Bytes() const
    {
        const TDumpBuffer& b = form_->HexDump1->Buffer();
        return std::string(b.Data.begin(), b.Data.begin() + b.GetSize());
    }
};

std::string Pattern(int size)
{
    std::string bytes;
    for (int i = 0; i < size; ++i)
        bytes += char(i * 7 + 3);
    return bytes;
}

} // namespace
