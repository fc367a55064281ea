// The program as a whole: the real start-up and shutdown on a copy of the
// program folder, the main window's files and questions, the run lock.
// Message boxes are answered through the platform's handler, file dialogs
// by a timer; a modal window left open fails the test instead of hanging it.
#include "MainWindowTest.h"
#include "Screenshot.h"
#include "app/ChipSel.h"
#include "app/forms/About.h"
#include "app/forms/HotLabel.h"
#include "engine/Global.h"
#include "engine/uExecuteLock.h"
#include "platform/forms/QtMessageBox.h"
#include "vprog/Chip24Cxx.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QTest>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QToolBar>
#include <QTreeWidget>

#include <map>

namespace {

TEST_F(MainTest, FirstStartIsInEditorState)
{
    Start();
    EXPECT_EQ(form_->hlChipName->text(), "Editor");
    EXPECT_EQ(form_->TabControl1->count(), 0);
    EXPECT_EQ(form_->Panel5->text(), "0 x 8");
    EXPECT_EQ(form_->windowTitle(), "Tarku - noname.bin");
    EXPECT_EQ(form_->AdrLabel->text(), "Address: 0 (00000H)");
    EXPECT_EQ(form_->DataLabel->text(), "Data: 0 (00H)");
    ASSERT_EQ(form_->vccCombobox->count(), 9);
    EXPECT_EQ(form_->vccCombobox->itemText(0), "2.8 V");
    EXPECT_EQ(form_->vccCombobox->itemText(8), "5.0 V");
    EXPECT_FALSE(form_->mmDevice->isEnabled());
    EXPECT_FALSE(form_->GroupBox1->isVisible());
    for (const char* off : {"tbReadChip", "tbWriteChip", "tbParameters", "btPinTest", "mmChangeSize"})
        EXPECT_FALSE(form_->Command(off)->isEnabled()) << off;
    for (const char* on : {"mnFileRead", "mnFileSave", "ToolButton1", "mnExit", "mnSetDelay", "mnTest", "mmFill",
                           "mmNew", "Print1", "mmDumps", "mmFilewindow"})
        EXPECT_TRUE(form_->Command(on)->isEnabled()) << on;
    EXPECT_TRUE(form_->HexDump1->Buffer().EditorMode);
    SaveScreenshot(*form_, "main-editor-en");

    EXPECT_TRUE(form_->close());
    const std::string settings = Settings();
    EXPECT_NE(settings.find("EditorMode=1"), std::string::npos);
    EXPECT_NE(settings.find("Language=English"), std::string::npos);
    EXPECT_TRUE(boxes_.empty());
}

TEST_F(MainTest, RussianRelabelsTheWindow)
{
    WriteFileBytes(dir_.file("TARKU.INI"), "[Parameters]\r\nLanguage=" + Utf8ToCp1251("Russian(Русский)") + "\r\n");
    Start();
    EXPECT_EQ(form_->mmFile->title(), QString::fromUtf8("&Файл"));
    EXPECT_EQ(form_->Command("mnFileRead")->text(), QString::fromUtf8("&Открыть"));
    EXPECT_EQ(form_->Command("ToolButton1")->toolTip(), QString::fromUtf8("Открыть"));
    // The parameters button's hint comes from a group the table has.
    EXPECT_EQ(form_->Command("tbParameters")->toolTip(), QString::fromUtf8("Параметры"));
    EXPECT_EQ(form_->Command("tbSelectChip")->toolTip(), QString::fromUtf8("Выбрать"));
    SaveScreenshot(*form_, "main-editor-ru");
}

TEST_F(MainTest, OpenSaveAsHexAndRawAndOpenAgain)
{
    const std::string bytes = Pattern(300);
    WriteFileBytes(dir_.file("in.bin"), bytes);
    Start();
    Choose(dir_.file("in.bin"), 1);
    Trigger("mnFileRead");
    EXPECT_EQ(Buffer1Bytes(), bytes);
    EXPECT_EQ(form_->WatchedFileName, dir_.file("in.bin"));
    EXPECT_EQ(form_->windowTitle().toStdString(), "Tarku - " + dir_.file("in.bin"));
    EXPECT_EQ(form_->Panel5->text(), "300 x 8");
    EXPECT_EQ(RecentFiles.Count(), 1);

    Choose(dir_.file("out.hex"), 2);
    Trigger("mnFileSave");
    Choose(dir_.file("out.bin"), 1);
    Trigger("ToolButton2");
    EXPECT_EQ(ReadFileBytes(dir_.file("out.bin")), bytes);
    EXPECT_EQ(ReadFileBytes(dir_.file("out.hex")).substr(0, 1), ":");

    for (auto [name, filter] : {std::pair{"out.hex", 2}, std::pair{"out.bin", 1}}) {
        form_->HexDump1->EraseBuffer();
        Choose(dir_.file(name), filter);
        Trigger("mnFileRead");
        EXPECT_EQ(Buffer1Bytes(), bytes) << name;
    }
    EXPECT_EQ(dialogs_, 5);
}

TEST_F(MainTest, ExitWithCancelKeepsTheSettingsFileAndNoSaves)
{
    const std::string before = "[Parameters]\r\nLanguage=English\r\n; kept\r\n";
    WriteFileBytes(dir_.file("TARKU.INI"), before);
    Start();
    form_->HexDump1->Buffer().Modified = true;
    answers_ = {IDCANCEL};
    EXPECT_FALSE(form_->close());
    EXPECT_TRUE(form_->isVisible());
    EXPECT_EQ(Settings(), before);
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0], "Save editor data before exit?");

    answers_ = {IDNO};
    EXPECT_TRUE(form_->close());
    EXPECT_NE(Settings().find("WorkParam="), std::string::npos);
    EXPECT_NE(Settings().find("; kept"), std::string::npos);
}

TEST_F(MainTest, ExitAsksAboutAModifiedBuffer2)
{
    Start();
    form_->HexDump2->Buffer().Modified = true;
    answers_ = {IDCANCEL};
    EXPECT_FALSE(form_->close());
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_NE(boxes_[0].find("Save editor data before exit?"), std::string::npos);
    answers_ = {IDNO};
    EXPECT_TRUE(form_->close());
}

TEST_F(MainTest, ExitWithYesAndTheSaveCancelledStaysOpen)
{
    Start();
    form_->HexDump1->SetSize(16);
    form_->HexDump1->Buffer().Modified = true;
    answers_ = {IDYES};
    Cancel();
    EXPECT_FALSE(form_->close());
    EXPECT_EQ(dialogs_, 1);
    EXPECT_TRUE(form_->HexDump1->Buffer().Modified);
    EXPECT_FALSE(std::filesystem::exists(dir_.file("TARKU.INI")));
}

TEST_F(MainTest, OpenKeepsTheModifiedFlagWhenCancelledAndStopsWhenTheSaveIsCancelled)
{
    Start();
    form_->HexDump1->SetSize(16);
    form_->HexDump1->Buffer().Modified = true;
    answers_ = {IDNO};
    Cancel(); // the open dialog
    Trigger("mnFileRead");
    EXPECT_EQ(dialogs_, 1);
    EXPECT_TRUE(form_->HexDump1->Buffer().Modified);

    answers_ = {IDYES};
    Cancel(); // the save dialog: the open dialog must not follow
    Trigger("mnFileRead");
    EXPECT_EQ(dialogs_, 2);
    EXPECT_TRUE(form_->HexDump1->Buffer().Modified);
}

TEST_F(MainTest, CloseIsRefusedAndBufferCommandsOffDuringARun)
{
    Start();
    CurrentChip = "NoSuchChip";
    bool closed = true, openEnabled = true, deviceEnabled = true;
    onBox_ = [&](const std::string& text) {
        if (text.find("not found in device list") == std::string::npos)
            return;
        // The run is still in progress while it reports.
        openEnabled = form_->Command("mnFileRead")->isEnabled();
        deviceEnabled = form_->vccCombobox->isEnabled();
        closed = form_->close();
    };
    form_->RunDeviceProcedure("&Read");
    EXPECT_FALSE(closed);
    EXPECT_FALSE(openEnabled);
    EXPECT_FALSE(deviceEnabled);
    EXPECT_TRUE(form_->isVisible());
    ASSERT_EQ(boxes_.size(), 2u);
    EXPECT_EQ(boxes_[1], RunInProgressText());
    EXPECT_TRUE(form_->Command("mnFileRead")->isEnabled());
    EXPECT_FALSE(std::filesystem::exists(dir_.file("TARKU.INI")));
}

TEST_F(MainTest, CommandLineDumpIsInBuffer1AfterStart)
{
    const std::string bytes = Pattern(64);
    WriteFileBytes(dir_.file("cmd.bin"), bytes);
    Start({dir_.file("cmd.bin")});
    EXPECT_EQ(Buffer1Bytes(), bytes);
    EXPECT_EQ(form_->WatchedFileName, dir_.file("cmd.bin"));
    EXPECT_EQ(form_->windowTitle().toStdString(), "Tarku - " + dir_.file("cmd.bin"));
    EXPECT_FALSE(form_->HexDump1->Buffer().Modified);
}

TEST_F(MainTest, ARecentFileWithAmpersandReopens)
{
    const std::string path = dir_.file("R&D a&b.bin");
    WriteFileBytes(path, Pattern(32));
    WriteFileBytes(dir_.file("TARKU.INI"), "[Recent Files]\r\n0=" + path + "\r\n");
    Start();
    QAction* item = nullptr;
    for (QAction* a : form_->mmFile->actions())
        if (a->text().toStdString().find("R&&D a&&b.bin") != std::string::npos)
            item = a;
    ASSERT_NE(item, nullptr);
    item->trigger();
    EXPECT_EQ(Buffer1Bytes(), Pattern(32));
    EXPECT_EQ(form_->WatchedFileName, path);
    EXPECT_TRUE(form_->close());
    EXPECT_NE(Settings().find("0=" + path), std::string::npos);
}

// A folder named with characters the code page lacks: the dump saved there
// is named whole in the caption, the recent files and the settings, and
// opens again from the File menu after a restart.
TEST_F(MainTest, ADumpInAFolderOutsideTheCodePageReopensAfterARestart)
{
    for (const char* folder : {"M\xC3\xBCller", "\xE6\x97\xA5\xE6\x9C\xAC \xD0\x96"}) {
        SCOPED_TRACE(folder);
        const std::string path = dir_.file(std::string(folder) + "/dump.bin");
        std::filesystem::create_directories(dir_.file(folder));
        WriteFileBytes(dir_.file("in.bin"), Pattern(48));
        Start();
        Choose(dir_.file("in.bin"), 1);
        Trigger("mnFileRead");
        Choose(path, 1);
        Trigger("mnFileSave");
        EXPECT_EQ(ReadFileBytes(path), Pattern(48));
        form_->HexDump1->EraseBuffer();
        Choose(path, 1);
        Trigger("mnFileRead");
        EXPECT_EQ(Buffer1Bytes(), Pattern(48));
        EXPECT_EQ(form_->windowTitle(), QString::fromUtf8(("Tarku - " + path).c_str()));
        EXPECT_TRUE(form_->close());
        FinishProgram();
        form_ = nullptr;
        // Kept in the settings as the code page's bytes with the lacking
        // characters marked, not as "?".
        EXPECT_NE(Settings().find("0=" + Utf8ToCp1251(path) + "\r\n"), std::string::npos);
        EXPECT_NE(Settings().find("SaveDirectory=" + Utf8ToCp1251(dir_.file(folder)) + "\r\n"), std::string::npos);
        ResetAppState();

        Start();
        QAction* item = nullptr;
        for (QAction* a : form_->mmFile->actions())
            if (a->text().endsWith(QString::fromUtf8(path.c_str())))
                item = a;
        ASSERT_NE(item, nullptr);
        form_->HexDump1->EraseBuffer();
        item->trigger();
        EXPECT_EQ(Buffer1Bytes(), Pattern(48));
        EXPECT_EQ(Cp1251ToUtf8(form_->WatchedFileName), path);
        EXPECT_EQ(form_->windowTitle(), QString::fromUtf8(("Tarku - " + path).c_str()));
        EXPECT_TRUE(boxes_.empty());
        FinishProgram();
        form_ = nullptr;
        ResetAppState();
    }
}

TEST_F(MainTest, ModuleWarningsWaitForTheShownWindow)
{
    form_ = StartProgram({});
    TStringList warnings;
    warnings.Add("x.chl line 3: bad entry");
    form_->ShowModuleWarnings(warnings);
    EXPECT_TRUE(boxes_.empty());
    form_->show();
    QApplication::processEvents();
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_NE(boxes_[0].find("line 3: bad entry"), std::string::npos);
}

const char* const Entry24C02 = "Serial EEPROM\\I2C 8 bit address\\24C02";

// The main road: first start, chip choice, read, edit, write, verify, a
// changed chip, save and open again, exit, and the next start.
TEST_F(MainTest, MainRoad)
{
    const std::string chipBytes = Pattern(256);
    auto* chip = dynamic_cast<TChip24Cxx*>(PutChip("24C02", chipBytes));
    ASSERT_NE(chip, nullptr);
    CloseRunsWhenDone();
    Start();
    EXPECT_EQ(form_->hlChipName->text(), "Editor");

    onSelection_ = [](TSelectForm& dialog) {
        EXPECT_GT(dialog.TreeView1->topLevelItemCount(), 0);
        SaveScreenshot(dialog, "select-en");
    };
    duringRun_ = [] { SaveScreenshot(*fmExecute, "run-en"); };
    AnswerSelection(Entry24C02);
    Trigger("tbSelectChip");
    EXPECT_EQ(dialogs_, 1);
    EXPECT_EQ(form_->hlChipName->text(), "24C02");
    EXPECT_EQ(CurrentChip, Entry24C02);
    // The chip's own module, with a buffer of the chip's size.
    EXPECT_EQ(form_->Panel5->text(), "256 x 8");
    EXPECT_EQ(form_->vccCombobox->currentText(), "5.0 V");
    EXPECT_TRUE(form_->mmDevice->isEnabled());
    ASSERT_NE(DeviceItem("mnREAD"), nullptr);
    EXPECT_EQ(DeviceItem("mnREAD")->shortcut(), QKeySequence("Ctrl+R"));
    EXPECT_EQ(DeviceItem("mnWRITE")->shortcut(), QKeySequence("Ctrl+W"));
    EXPECT_TRUE(DeviceItem("mnBLANK")->shortcut().isEmpty());
    for (const char* on : {"tbReadChip", "tbWriteChip", "tbCheckChip", "tbEraseChip", "btPinTest"})
        EXPECT_TRUE(form_->Command(on)->isEnabled()) << on;
    EXPECT_FALSE(form_->Command("tbParameters")->isEnabled());
    EXPECT_EQ(form_->Command("tbReadChip")->toolTip(), "Read chip");
    EXPECT_TRUE(form_->GroupBox1->isVisible());
    auto* verifyWrite = form_->GroupBox1->findChild<QCheckBox*>("VERIFYWRITE");
    ASSERT_NE(verifyWrite, nullptr);
    EXPECT_TRUE(verifyWrite->isChecked());

    Run([&] { DeviceItem("mnREAD")->trigger(); });
    EXPECT_EQ(Buffer1Bytes().substr(0, 256), chipBytes);
    EXPECT_EQ(form_->LastCommand, "READ");
    // The read asked for a backup, and the option allows it.
    EXPECT_TRUE(std::filesystem::exists(dir_.file("Dumps/Backup")));
    SaveScreenshot(*form_, "main-read-en");

    form_->HexDump1->Buffer().Data[5] = 0x5A;
    answers_ = {IDYES}; // write asks first
    Run([&] { Trigger("tbWriteChip"); });
    EXPECT_TRUE(answers_.empty());
    EXPECT_EQ(chip->Image().Data()[5], 0x5A);
    EXPECT_NE(fmExecute->Memo1->toPlainText().indexOf("Verify OK"), -1);

    chip->Image().Data()[7] ^= 0xFF; // somebody changed the chip
    Run([&] { Trigger("tbCheckChip"); });
    EXPECT_FALSE(form_->HexDump1->Buffer().GetMatchBit(7));
    EXPECT_TRUE(form_->HexDump1->Buffer().GetMatchBit(6));

    const std::string dump = Buffer1Bytes();
    Choose(dir_.file("road.hex"), 2);
    Trigger("mnFileSave");
    Choose(dir_.file("road.bin"), 1);
    Trigger("mnFileSave");
    EXPECT_EQ(ReadFileBytes(dir_.file("road.bin")), dump);
    for (auto [name, filter] : {std::pair{"road.hex", 2}, std::pair{"road.bin", 1}}) {
        form_->HexDump1->EraseBuffer();
        form_->HexDump1->Buffer().Modified = false;
        Choose(dir_.file(name), filter);
        Trigger("mnFileRead");
        EXPECT_EQ(Buffer1Bytes(), dump) << name;
    }

    form_->HexDump1->Buffer().Modified = true;
    const bool hadSettings = std::filesystem::exists(dir_.file("TARKU.INI"));
    answers_ = {IDCANCEL};
    EXPECT_FALSE(form_->close());
    EXPECT_EQ(std::filesystem::exists(dir_.file("TARKU.INI")), hadSettings);
    answers_ = {IDNO};
    EXPECT_TRUE(form_->close());
    EXPECT_NE(Settings().find("ChipName=" + std::string(Entry24C02)), std::string::npos);

    const std::string cmd = Pattern(256);
    WriteFileBytes(dir_.file("cmd.bin"), cmd);
    Restart({dir_.file("cmd.bin")});
    EXPECT_EQ(form_->hlChipName->text(), "24C02");
    EXPECT_TRUE(DeviceItem("mnREAD")->isEnabled());
    EXPECT_EQ(Buffer1Bytes(), cmd);
    EXPECT_TRUE(boxes_.size() >= 2u);
}

// The windows of the main road in Russian, for a person to look at.
TEST_F(MainTest, RussianMainRoadWindows)
{
    WriteFileBytes(dir_.file("TARKU.INI"), "[Parameters]\r\nLanguage=" + Utf8ToCp1251("Russian(Русский)") + "\r\n");
    PutChip("24C02", Pattern(256));
    CloseRunsWhenDone();
    Start();
    onSelection_ = [](TSelectForm& dialog) { SaveScreenshot(dialog, "select-ru"); };
    AnswerSelection(Entry24C02);
    Trigger("tbSelectChip");
    ASSERT_EQ(form_->hlChipName->text(), "24C02");
    duringRun_ = [] { SaveScreenshot(*fmExecute, "run-ru"); };
    Run([&] { DeviceItem("mnREAD")->trigger(); });
    EXPECT_TRUE(sawRun_);
    SaveScreenshot(*form_, "main-read-ru");
    QTimer::singleShot(0, &guard_, [this] {
        QWidget* about = QApplication::activeModalWidget();
        ASSERT_EQ(about, static_cast<QWidget*>(form_->AboutBox));
        SaveScreenshot(*about, "about-ru");
        form_->AboutBox->accept();
    });
    Trigger("About1");
    QTimer::singleShot(0, &guard_, [] {
        QWidget* language = QApplication::activeModalWidget();
        ASSERT_NE(language, nullptr);
        SaveScreenshot(*language, "language-ru");
        static_cast<QDialog*>(language)->reject();
    });
    Trigger("Language1");
}

const char* const Entry25F16 = "Serial Flash\\SPI\\25F16";

// Editor only empties a chip's buffer as another chip would: the same
// question first, and Cancel keeps the chip and the data. The emptied
// buffer holds nothing to ask about at the exit.
TEST_F(MainTest, EditorOnlyAsksBeforeItEmptiesTheChipBuffer)
{
    Start();
    form_->LoadModule(Entry25F16);
    form_->HexDump1->Buffer().Data[7] = 0x77;
    form_->HexDump1->Buffer().Modified = true;
    struct Step {
        int Answer;
        bool SaveCancelled;
        bool Emptied;
    };
    for (const Step& step : {Step{IDCANCEL, false, false}, Step{IDYES, true, false}, Step{IDNO, false, true}}) {
        SCOPED_TRACE(step.Answer);
        boxes_.clear();
        answers_ = {step.Answer};
        if (step.SaveCancelled)
            Cancel();
        Trigger("mmEditoronly");
        ASSERT_EQ(boxes_.size(), 1u);
        EXPECT_EQ(boxes_[0], "Save editor data?");
        if (!step.Emptied) {
            EXPECT_EQ(form_->HexDump1->GetSize(), 2097152);
            EXPECT_EQ(form_->hlChipName->text(), "25F16");
            EXPECT_EQ(form_->HexDump1->Buffer().Data[7], 0x77);
            EXPECT_TRUE(form_->HexDump1->Buffer().Modified);
            EXPECT_TRUE(form_->mmDevice->isEnabled());
            continue;
        }
        EXPECT_EQ(form_->HexDump1->GetSize(), 0);
        EXPECT_EQ(form_->hlChipName->text(), "Editor");
        EXPECT_FALSE(form_->HexDump1->Buffer().Modified);
        EXPECT_EQ(form_->Panel5->text(), "0 x 8");
        // The status line no longer shows a byte of the old buffer.
        EXPECT_EQ(form_->AdrLabel->text(), "Address: 0 (00000H)");
        EXPECT_EQ(form_->DataLabel->text(), "Data: 0 (00H)");
    }
    // Editor only again: nothing left to ask about.
    boxes_.clear();
    Trigger("mmEditoronly");
    EXPECT_TRUE(form_->close());
    EXPECT_TRUE(boxes_.empty());
}

// A read changes the byte under the caret: the status line shows it.
TEST_F(MainTest, TheStatusLineFollowsADeviceRead)
{
    PutChip("24C02", Pattern(256));
    CloseRunsWhenDone();
    Start();
    form_->LoadModule(Entry24C02);
    form_->HexDump1->Edit().GotoAddress(2);
    EXPECT_EQ(form_->AdrLabel->text(), "Address: 2 (00002H)");
    EXPECT_EQ(form_->DataLabel->text(), "Data: 255 (FFH)");
    Run([&] { DeviceItem("mnREAD")->trigger(); });
    EXPECT_TRUE(sawRun_);
    EXPECT_EQ(form_->AdrLabel->text(), "Address: 2 (00002H)");
    EXPECT_EQ(form_->DataLabel->text(), "Data: 17 (11H)");
}

// A read cancelled half-way through the dispatch: the box says where the
// chip's bytes end, the buffer holds them before that address and what it
// held from there on, and it counts as changed; no backup is made.
TEST_F(MainTest, ACancelledReadSaysWhereTheChipsBytesEndAndMarksTheBuffer)
{
    PutChip("24C32", Pattern(4096));
    CloseRunsWhenDone();
    Start();
    form_->LoadModule("Serial EEPROM\\I2C 16 bit address\\24C32");
    TDumpBuffer& buffer = form_->HexDump1->Buffer();
    for (int i = 0; i < 4096; ++i)
        buffer.Data[static_cast<size_t>(i)] = static_cast<uint8_t>(~(i * 7 + 3));
    buffer.Modified = false;
    const std::string before = Buffer1Bytes();
    // Cancel once a few pieces are in, seen at the run's own event pumping.
    QTimer cancel;
    QObject::connect(&cancel, &QTimer::timeout, [&] {
        if (!fmExecute || !fmExecute->Memo1->toPlainText().contains("Reading 1024 of"))
            return;
        cancel.stop();
        answers_ = {IDYES};
        fmExecute->btCancel->click();
    });
    cancel.start(0);
    Run([&] { DeviceItem("mnREAD")->trigger(); });
    ASSERT_FALSE(cancel.isActive()) << "the read never got half-way";
    ASSERT_EQ(boxes_.size(), 2u);
    const std::string& said = boxes_[1];
    const std::string prefix = "Read stopped at ";
    ASSERT_EQ(said.rfind(prefix, 0), 0u) << said;
    EXPECT_EQ(said.substr(prefix.size() + 4), ": only the bytes before it are the chip's");
    const size_t end = static_cast<size_t>(std::stoul(said.substr(prefix.size(), 4), nullptr, 16));
    EXPECT_GE(end, 1024u);
    EXPECT_LT(end, 4096u);
    const std::string after = Buffer1Bytes();
    EXPECT_EQ(after.substr(0, end), Pattern(4096).substr(0, end));
    EXPECT_EQ(after.substr(end), before.substr(end));
    EXPECT_TRUE(buffer.Modified);
    EXPECT_FALSE(std::filesystem::exists(dir_.file("Dumps/Backup")));
}

// The size label toggles word view only where the module shows words; in
// a byte module it does nothing, so the host is told bytes as the module
// says.
TEST_F(MainTest, TheSizeLabelTogglesWordsOnlyForAWordModule)
{
    std::filesystem::copy_file(testsupport::FixturePath("app/words.chl"), dir_.file("scripts/words.chl"));
    const std::string catalogue = ReadFileBytes(dir_.file("scripts/scripts.cfg"));
    WriteFileBytes(dir_.file("scripts/scripts.cfg"), catalogue + "\r\n[Test]\r\nWordChip=words.chl\r\n");
    Start();
    struct Case {
        const char* Chip;
        const char* Label;
        bool Active;
        const char* Clicked;
        bool WordsAfterClick;
    };
    for (const Case& c : {Case{Entry24C02, "256 x 8", false, "256 x 8", false},
                          Case{"WordChip", "64 x 16", true, "128 x 8", false}}) {
        SCOPED_TRACE(c.Chip);
        form_->LoadModule(c.Chip);
        EXPECT_EQ(form_->Panel5->text().toStdString(), c.Label);
        EXPECT_EQ(form_->Panel5->ActiveMode(), c.Active);
        QTest::mousePress(form_->Panel5, Qt::LeftButton);
        EXPECT_EQ(form_->Panel5->text().toStdString(), c.Clicked);
        EXPECT_EQ(form_->HexDump1->Edit().WordMode, c.WordsAfterClick);
        // The toggle stays: the words come back.
        QTest::mousePress(form_->Panel5, Qt::LeftButton);
        EXPECT_EQ(form_->Panel5->text().toStdString(), c.Label);
    }
}

// The hints of labels reach the status bar as the mouse enters them, like
// those of menu items and tool buttons, and stay up as long as their
// length asks.
TEST_F(MainTest, LabelHintsReachTheStatusBar)
{
    Start();
    form_->LoadModule(Entry25F16);
    struct Case {
        QWidget* Widget;
        const char* Status;
        int Pause;
    };
    // The module's information has three lines, side by side in the status
    // bar, and more than 50 characters.
    const char* const info = "SPI NOR flash 25F16, 2048 KiB  JEDEC ID 54 40 15  Write erases the whole chip first, "
                             "then programs every page that is not blank";
    for (const Case& c : {Case{form_->hlChipName, info, 10000},
                          Case{form_->AdrLabel, "Goto address", 2500}}) {
        SCOPED_TRACE(c.Status);
        QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
        QApplication::sendEvent(c.Widget, &enter);
        EXPECT_EQ(form_->StatusHint->text().toStdString(), c.Status);
        EXPECT_EQ(c.Widget->toolTipDuration(), c.Pause);
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(c.Widget, &leave);
        EXPECT_EQ(form_->StatusHint->text(), "");
    }
}

// The smallest window keeps the dump's header and one row in sight.
TEST_F(MainTest, TheSmallestWindowStillShowsADumpRow)
{
    Start();
    form_->LoadModule(Entry24C02);
    form_->resize(1, 1);
    QApplication::processEvents();
    const int line = form_->HexDump1->MeasuredLineHeight();
    EXPECT_GE(form_->HexDump1->height(), 4 + 2 * line);
    EXPECT_TRUE(form_->HexDump1->isVisible());
    SaveScreenshot(*form_, "main-smallest-en");
}

// With the option on (as by default), a chip's buffer takes a file of
// another size only when the user agrees; an empty file is refused, and
// the buffer and its name stay as they were.
TEST_F(MainTest, AFileOfAnotherSizeAsksBeforeItFillsAChipBuffer)
{
    WriteFileBytes(dir_.file("exact.bin"), Pattern(256));
    WriteFileBytes(dir_.file("small.bin"), Pattern(100));
    WriteFileBytes(dir_.file("big.bin"), Pattern(300));
    std::filesystem::resize_file(dir_.file("big.bin"), uint64_t(100) << 20);
    WriteFileBytes(dir_.file("empty.bin"), "");
    Start();
    form_->LoadModule(Entry24C02);
    const std::string erased(256, '\xFF');
    struct Case {
        const char* File;
        bool Option;
        int Answer; // 0: no question
        std::string After;
        const char* Box;
    };
    const Case cases[] = {
        {"exact.bin", true, 0, Pattern(256), nullptr},
        {"big.bin", true, IDNO, erased, "File size not correspond buffer size. Load anyway?"},
        {"big.bin", true, IDYES, Pattern(300).substr(0, 256), "File size not correspond buffer size. Load anyway?"},
        {"small.bin", true, IDNO, erased, "File size not correspond buffer size. Load anyway?"},
        {"small.bin", false, 0, Pattern(100) + erased.substr(100), nullptr},
        {"empty.bin", true, 0, erased, "is empty"},
        {"empty.bin", false, 0, erased, "is empty"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.File) + (c.Option ? " asking" : " not asking"));
        form_->HexDump1->EraseBuffer();
        form_->HexDump1->Buffer().Modified = false;
        form_->WatchedFileName = "noname.bin";
        form_->UpdateCaption();
        WorkParam = c.Option ? WorkParam | wpAskOnSizeMismatch : WorkParam & ~wpAskOnSizeMismatch;
        boxes_.clear();
        if (c.Answer)
            answers_ = {c.Answer};
        Choose(dir_.file(c.File), 1);
        Trigger("mnFileRead");
        EXPECT_TRUE(answers_.empty());
        ASSERT_EQ(boxes_.size(), c.Box ? 1u : 0u);
        if (c.Box) {
            EXPECT_NE(boxes_[0].find(c.Box), std::string::npos) << boxes_[0];
        }
        EXPECT_EQ(Buffer1Bytes() == c.After, true);
        const bool loaded = c.After != erased;
        EXPECT_EQ(form_->WatchedFileName, loaded ? dir_.file(c.File) : "noname.bin");
        EXPECT_EQ(form_->windowTitle().toStdString().find(c.File) != std::string::npos, loaded);
    }
}

// In Russian the standard buttons of the message boxes speak Russian too.
TEST_F(MainTest, RussianMessageBoxButtons)
{
    WriteFileBytes(dir_.file("TARKU.INI"), "[Parameters]\r\nLanguage=" + Utf8ToCp1251("Russian(Русский)") + "\r\n");
    Start();
    form_->HexDump1->Buffer().Modified = true;
    const MessageBoxHandler answered = SetMessageBoxHandler(nullptr);
    InstallQtMessageBoxHandler();
    std::map<QMessageBox::StandardButton, QString> texts;
    // The box is looked at as soon as it shows, and answered Cancel.
    auto* poll = new QTimer(&guard_);
    QObject::connect(poll, &QTimer::timeout, [poll, &texts] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        poll->stop();
        for (auto b : {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel})
            if (QAbstractButton* button = box->button(b))
                texts[b] = button->text();
        SaveScreenshot(*box, "main-question-ru");
        box->button(QMessageBox::Cancel)->click();
    });
    poll->start(0);
    EXPECT_FALSE(form_->close());
    SetMessageBoxHandler(answered);
    EXPECT_EQ(texts[QMessageBox::Yes], QString::fromUtf8("&Да"));
    EXPECT_EQ(texts[QMessageBox::No], QString::fromUtf8("&Нет"));
    EXPECT_EQ(texts[QMessageBox::Cancel], QString::fromUtf8("Отмена"));
}

// A module that uses a serial port the system does not have: loading it
// says so once; its runs go on without the port and say nothing more.
TEST_F(MainTest, ASerialPortThatCannotBeOpenedIsReportedOnceAtTheLoad)
{
    WriteFileBytes(dir_.file("scripts/serial.chl"), "[DESCRIPTION]\r\nLOCATION = Test\\Serial;\r\n"
                                                    "BUFFER1 = Data, 16\r\nVOLTAGE = 5.0;\r\nUART = 1;\r\n"
                                                    "[MENU]\r\nECHO = \"&Echo\";\r\n[HOST]\r\nPROC ECHO {\r\n"
                                                    "  VAR C;\r\n  C = UART;\r\n  PRINT(\"uart %D\", C);\r\n}\r\n");
    const std::string catalogue = ReadFileBytes(dir_.file("scripts/scripts.cfg"));
    WriteFileBytes(dir_.file("scripts/scripts.cfg"), catalogue + "\r\n[Test]\r\nSerial=serial.chl\r\n");
    CloseRunsWhenDone();
    Start();
    ComName = dir_.file("no-such-port");
    boxes_.clear();
    form_->LoadModule("Serial");
    ASSERT_EQ(form_->hlChipName->text(), "Serial");
    EXPECT_EQ(boxes_, std::vector<std::string>{"Can not open serial port " + ComName});
    for (int run = 0; run < 2; ++run) {
        Run([&] { DeviceItem("mnECHO")->trigger(); });
        EXPECT_EQ(fmExecute->Run.Lines, std::vector<std::string>{"uart 00008000"});
    }
    EXPECT_EQ(boxes_.size(), 1u);
}

// The exit value module beside the shipped ones, in the catalogue.
class MainExitTest : public MainTest {
protected:
    void SetUp() override
    {
        MainTest::SetUp();
        std::filesystem::copy_file(testsupport::FixturePath("app/exits.chl"), dir_.file("scripts/exits.chl"));
        std::string catalogue = ReadFileBytes(dir_.file("scripts/scripts.cfg"));
        WriteFileBytes(dir_.file("scripts/scripts.cfg"), catalogue + "\r\n[Test]\r\nExitChip=exits.chl\r\n");
        CloseRunsWhenDone();
        Start();
        form_->LoadModule("ExitChip");
    }
    QPushButton* SwitchButton() const { return form_->GroupBox1->findChild<QPushButton*>("btSWITCH"); }
    bool BackupMade() const { return std::filesystem::exists(dir_.file("Dumps/Backup")); }
};

TEST_F(MainExitTest, ExitValues)
{
    struct Case {
        const char* Name;
        bool BackupBit;
        const char* Item;     // Device menu item; nullptr: the module button
        bool Backup;
        const char* ChipAfter;
    };
    const Case cases[] = {
        {"backup with bit 21", true, "mnBACKUP", true, "ExitChip"},
        {"backup without bit 21", false, "mnBACKUP", false, "ExitChip"},
        {"unknown signature", true, "mnUNKNOWN", false, "ExitChip"},
        {"nothing", true, "mnNOTHING", false, "ExitChip"},
        {"signature from a module button", true, nullptr, false, "25F16"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        std::filesystem::remove_all(dir_.file("Dumps/Backup"));
        form_->LoadModule("ExitChip");
        ASSERT_EQ(form_->hlChipName->text(), "ExitChip");
        WorkParam = c.BackupBit ? WorkParam | wpBackupControl : WorkParam & ~wpBackupControl;
        if (c.Item)
            Run([&] { DeviceItem(c.Item)->trigger(); });
        else {
            AnswerSelection("Serial Flash\\SPI\\25F16");
            answers_ = {IDNO}; // buffer 1 holds what the run left: not kept
            QPushButton* button = SwitchButton();
            ASSERT_NE(button, nullptr);
            Run([&] { button->click(); });
            EXPECT_TRUE(answers_.empty());
            EXPECT_EQ(form_->LastCommand, "BTSWITCH|SWITCH");
        }
        EXPECT_EQ(BackupMade(), c.Backup);
        EXPECT_EQ(form_->hlChipName->text().toStdString(), c.ChipAfter);
    }
    // The button that switched the module went, and nothing of the old
    // module is left on the panel.
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(SwitchButton(), nullptr);
    EXPECT_EQ(form_->Panel5->text(), "2097152 x 8");
}

TEST_F(MainExitTest, ARunLocksEveryCommandAndRefusesTheClose)
{
    bool closed = true, buttonEnabled = true, labelEnabled = true, deviceItem = true, open = true;
    duringRun_ = [&] {
        buttonEnabled = SwitchButton()->isEnabledTo(form_);
        labelEnabled = form_->hlChipName->isEnabled();
        deviceItem = DeviceItem("mnNOTHING")->isEnabled();
        open = form_->Command("mnFileRead")->isEnabled();
        closed = form_->close();
    };
    WorkParam &= ~wpBackupControl;
    Run([&] { DeviceItem("mnBACKUP")->trigger(); });
    EXPECT_TRUE(sawRun_);
    EXPECT_FALSE(closed);
    EXPECT_FALSE(buttonEnabled);
    EXPECT_FALSE(labelEnabled);
    EXPECT_FALSE(deviceItem);
    EXPECT_FALSE(open);
    EXPECT_TRUE(form_->isVisible());
    EXPECT_TRUE(SwitchButton()->isEnabledTo(form_));
    EXPECT_TRUE(DeviceItem("mnNOTHING")->isEnabled());
    EXPECT_EQ(form_->HexDump1->Buffer().Data[0], 0x42);
}

TEST_F(MainExitTest, AnUnknownChipLeavesEditorOnlyModeWithTheBuffer)
{
    form_->HexDump1->Buffer().Data[3] = 0x33;
    form_->LoadModule("NoSuchChip");
    EXPECT_EQ(form_->hlChipName->text(), "Editor");
    EXPECT_TRUE(form_->mmDevice->actions().isEmpty());
    EXPECT_FALSE(form_->mmDevice->isEnabled());
    EXPECT_FALSE(form_->GroupBox1->isVisible());
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(SwitchButton(), nullptr);
    for (const char* off : {"tbReadChip", "tbParameters", "btPinTest"})
        EXPECT_FALSE(form_->Command(off)->isEnabled()) << off;
    EXPECT_EQ(form_->HexDump1->Buffer().Data[3], 0x33);
    EXPECT_TRUE(form_->close());
    EXPECT_NE(Settings().find("EditorMode=1"), std::string::npos);
}

// Choosing a chip replaces both buffers: a modified one is offered for
// saving first, and Cancel keeps the old module and the data.
TEST_F(MainExitTest, AChipChoiceAsksBeforeItErasesAModifiedBuffer)
{
    form_->HexDump1->Buffer().Data[1] = 0x11;
    form_->HexDump1->Buffer().Modified = true;
    struct Step {
        int Answer;
        bool SaveCancelled;
        const char* ChipAfter;
    };
    for (const Step& step : {Step{IDCANCEL, false, "ExitChip"}, Step{IDYES, true, "ExitChip"},
                             Step{IDNO, false, "24C02"}}) {
        SCOPED_TRACE(step.Answer);
        boxes_.clear();
        answers_ = {step.Answer};
        AnswerSelection(Entry24C02);
        if (step.SaveCancelled)
            Cancel();
        form_->ChooseChip();
        ASSERT_EQ(boxes_.size(), 1u);
        EXPECT_EQ(boxes_[0], "Save editor data?");
        EXPECT_EQ(form_->hlChipName->text().toStdString(), step.ChipAfter);
    }
    EXPECT_EQ(form_->HexDump1->Buffer().Data[1], 0xFF);
}

} // namespace
