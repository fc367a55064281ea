// The main window's File menu beyond open and save: New and the size change
// with their questions, the size label, saving a part of a buffer, printing,
// dropped files and the reload question after an outside change. Drops and
// activations arrive as synthetic events.
#include "MainWindowTest.h"
#include "Screenshot.h"
#include "buffer/forms/uChangeFilesize.h"
#include "buffer/forms/uGetFileSize.h"
#include "buffer/forms/uPrint.h"
#include "buffer/forms/uSavePartOfFile.h"
#include "engine/Global.h"
#include "engine/forms/uChipOptions.h"

#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QCheckBox>
#include <QScrollBar>
#include <QTabBar>
#include <QTest>
#include <QUrl>

#include <algorithm>
#include <chrono>
#include <memory>

namespace {

using testsupport::ReadFileBytes;
using testsupport::WriteFileBytes;

const std::string Letters = "ABCDEFGHIJKLMNOPQRST";

class MainFileTest : public MainTest {
protected:
    // Answers armed for one case die with it, so none is left over for the
    // next case's dialogs.
    std::unique_ptr<QObject> caseAnswers_ = std::make_unique<QObject>();

    void NextCase()
    {
        caseAnswers_ = std::make_unique<QObject>();
        boxes_.clear();
        answers_.clear();
        dialogs_ = 0;
    }

    // The next modal dialog of type T gets `act`; one still open after the
    // ceiling is rejected and fails the test.
    template <class T>
    void AnswerModal(std::function<void(T&)> act)
    {
        QTimer::singleShot(0, caseAnswers_.get(), [this, act] {
            auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
            if (!dialog) {
                AnswerModal<T>(act);
                return;
            }
            ++dialogs_;
            QTimer::singleShot(ModalCeilingMs, dialog, [dialog] {
                ADD_FAILURE() << "dialog left open";
                dialog->reject();
            });
            act(*dialog);
        });
    }

    // The size dialogs: `text` typed and OK pressed; nullptr: Cancel.
    template <class T>
    void AnswerSize(const char* text)
    {
        AnswerModal<T>([text](T& d) {
            if (!text) {
                d.reject();
                return;
            }
            d.LabeledEdit1->setText(QString::fromLatin1(text));
            if (d.SpeedButton2->isEnabled())
                d.SpeedButton2->click();
            else
                d.reject();
        });
    }

    // Buffer 1 in editor-only mode holding a file the program loaded.
    void StartWithFile(const std::string& bytes)
    {
        WriteFileBytes(dir_.file("in.bin"), bytes);
        Start({dir_.file("in.bin")});
        ASSERT_TRUE(form_->HexDump1->Buffer().EditorMode);
        ASSERT_EQ(Buffer1Bytes(), bytes);
    }

    // The two-buffer module beside the shipped ones, loaded, buffer 2 shown.
    void StartWithTwoBuffers()
    {
        std::filesystem::copy_file(testsupport::FixturePath("app/twobuffers.chl"), dir_.file("scripts/twobuffers.chl"));
        const std::string catalogue = ReadFileBytes(dir_.file("scripts/scripts.cfg"));
        WriteFileBytes(dir_.file("scripts/scripts.cfg"), catalogue + "\r\n[Test]\r\nTwoBuffers=twobuffers.chl\r\n");
        Start();
        form_->LoadModule("TwoBuffers");
        ASSERT_EQ(form_->TabControl1->count(), 2);
        form_->TabControl1->setCurrentIndex(1);
        ASSERT_TRUE(form_->Buffer2Active());
        // The files these tests give buffer 2 are shorter than it; the size
        // question has tests of its own.
        WorkParam &= ~wpAskOnSizeMismatch;
    }

    std::string Bytes(const THexDump& view) const
    {
        const TDumpBuffer& b = view.Buffer();
        return std::string(b.Data.begin(), b.Data.begin() + b.GetSize());
    }

    // Another program writes the file: new contents and a later age.
    static void ChangeOutside(const std::string& path, const std::string& bytes)
    {
        const auto before = std::filesystem::last_write_time(path);
        WriteFileBytes(path, bytes);
        std::filesystem::last_write_time(path, before + std::chrono::seconds(5));
    }

    // The program becomes the active application again.
    void Activate()
    {
        QEvent activate(QEvent::ApplicationActivate);
        QCoreApplication::sendEvent(qApp, &activate);
        QCoreApplication::sendPostedEvents(form_, QEvent::MetaCall);
    }

    // Drags the file over the widget and drops it there, as the window
    // system delivers it.
    void DropOn(QWidget* target, const QString& path)
    {
        QMimeData data;
        data.setUrls({path.startsWith('/') ? QUrl::fromLocalFile(path) : QUrl(path)});
        const QPoint at(10, 10);
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &enter);
        QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &drop);
        QCoreApplication::sendPostedEvents(form_, QEvent::MetaCall);
    }

    int RecentItems() const
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        int n = 0;
        for (QAction* a : form_->mmFile->actions())
            n += a->text().startsWith(QString::fromStdString(dir_.path())) ? 1 : 0;
        return n;
    }
};

// New: a modified buffer 1 is offered for saving first; a cancelled or
// failed save and Cancel stop the command before the size is asked.
TEST_F(MainFileTest, NewAsksAboutAModifiedBufferFirst)
{
    StartWithFile(Pattern(300));
    enum TSave { NoSave, Saved, SaveCancelled, SaveFailed };
    struct Case {
        const char* Name;
        bool Modified;
        int Answer;          // to "Save editor data?"; 0: not asked
        TSave Save;
        const char* Size;    // typed into the size dialog; nullptr: Cancel
        bool SizeAsked;
        int64_t SizeAfter;
        const char* NameAfter; // file name in the caption; nullptr: in.bin
    };
    const Case cases[] = {
        {"unmodified", false, 0, NoSave, "100", true, 100, "noname.bin"},
        {"unmodified, size cancelled", false, 0, NoSave, nullptr, true, 300, nullptr},
        {"modified, No", true, IDNO, NoSave, "33", true, 33, "noname.bin"},
        {"modified, Cancel", true, IDCANCEL, NoSave, nullptr, false, 300, nullptr},
        {"modified, Yes, save cancelled", true, IDYES, SaveCancelled, nullptr, false, 300, nullptr},
        {"modified, Yes, save failed", true, IDYES, SaveFailed, nullptr, false, 300, nullptr},
        {"modified, Yes, saved, size cancelled", true, IDYES, Saved, nullptr, true, 300, "saved.bin"},
        {"modified, Yes, saved", true, IDYES, Saved, "64", true, 64, "noname.bin"},
        {"no size of 0", false, 0, NoSave, "0", true, 300, nullptr},
        {"no negative size", false, 0, NoSave, "-2", true, 300, nullptr},
        {"no size above the largest buffer", false, 0, NoSave, "536870913", true, 300, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        NextCase();
        std::filesystem::remove(dir_.file("saved.bin"));
        form_->HexDump1->SetSize(300);
        std::copy_n(Pattern(300).begin(), 300, form_->HexDump1->Buffer().Data.begin());
        form_->WatchedFileName = dir_.file("in.bin");
        form_->UpdateCaption();
        form_->HexDump1->Buffer().Modified = c.Modified;
        if (c.Answer)
            answers_ = {c.Answer};
        if (c.Save == Saved)
            Choose(dir_.file("saved.bin"), 1);
        else if (c.Save == SaveCancelled)
            Cancel();
        else if (c.Save == SaveFailed)
            Choose(dir_.file("no folder/saved.bin"), 1);
        if (c.SizeAsked)
            AnswerSize<TfmGetFileSize>(c.Size);
        Trigger("mmNew");

        EXPECT_EQ(boxes_.size(), size_t(c.Answer ? 1 : 0) + (c.Save == SaveFailed ? 1 : 0));
        if (c.Answer) {
            EXPECT_EQ(boxes_[0], "Save editor data?");
        }
        EXPECT_EQ(dialogs_, (c.Save != NoSave ? 1 : 0) + (c.SizeAsked ? 1 : 0));
        EXPECT_EQ(form_->HexDump1->GetSize(), c.SizeAfter);
        const std::string name = c.NameAfter ? (std::string(c.NameAfter) == "noname.bin" ? c.NameAfter
                                                                                        : dir_.file(c.NameAfter))
                                             : dir_.file("in.bin");
        EXPECT_EQ(form_->WatchedFileName, name);
        EXPECT_EQ(form_->windowTitle().toStdString(), "Tarku - " + name);
        if (c.Save == Saved) {
            EXPECT_EQ(ReadFileBytes(dir_.file("saved.bin")), Pattern(300));
        }
        // Data is never dropped silently: a buffer not saved stays modified.
        EXPECT_EQ(form_->HexDump1->Buffer().Modified, c.Modified && c.Save != Saved);
    }
}

TEST_F(MainFileTest, NewSizeSetsTheLabelAndTheWordToggle)
{
    Start();
    struct Case {
        const char* Size;
        const char* Label;
        bool Toggle;
    };
    for (const Case& c : {Case{"256", "256 x 8", true}, Case{"255", "255 x 8", false}, Case{"$10", "16 x 8", true}}) {
        SCOPED_TRACE(c.Size);
        NextCase();
        form_->HexDump1->Edit().WordMode = true;
        AnswerSize<TfmGetFileSize>(c.Size);
        Trigger("mmNew");
        EXPECT_FALSE(form_->HexDump1->Edit().WordMode);
        EXPECT_EQ(form_->Panel5->text().toStdString(), c.Label);
        EXPECT_EQ(form_->Panel5->ActiveMode(), c.Toggle);
        // The left button toggles word view only for whole words.
        QTest::mousePress(form_->Panel5, Qt::LeftButton);
        EXPECT_EQ(form_->HexDump1->Edit().WordMode, c.Toggle);
        QTest::mousePress(form_->Panel5, Qt::LeftButton);
        EXPECT_FALSE(form_->HexDump1->Edit().WordMode);
    }
    QTest::mousePress(form_->Panel5, Qt::LeftButton);
    EXPECT_EQ(form_->Panel5->text(), "8 x 16");
    SaveScreenshot(*form_, "main-new-words-en");
}

// The size label's other buttons change buffer 1's size; the new size
// keeps the bytes that fit and counts as a change.
TEST_F(MainFileTest, ChangeSizeFromTheSizeLabel)
{
    StartWithFile(Pattern(300));
    EXPECT_TRUE(form_->Command("mmChangeSize")->isEnabled());
    struct Case {
        const char* Size;
        int64_t SizeAfter;
        bool Modified;
        const char* Label;
    };
    const Case cases[] = {
        {nullptr, 300, false, "300 x 8"},
        {"300", 300, false, "300 x 8"},
        {"-1", 300, false, "300 x 8"},
        {"abc", 300, false, "300 x 8"},
        {"301", 301, true, "301 x 8"},
        {"16", 16, true, "16 x 8"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Size ? c.Size : "cancel");
        NextCase();
        form_->HexDump1->Buffer().Modified = false;
        std::string shown;
        AnswerModal<TfmChangeFilesize>([&shown, size = c.Size](TfmChangeFilesize& d) {
            shown = d.Label1->text().toStdString();
            d.LabeledEdit1->setText(size ? QString::fromLatin1(size) : QString());
            if (size && d.SpeedButton2->isEnabled())
                d.SpeedButton2->click();
            else
                d.reject();
        });
        const int64_t before = form_->HexDump1->GetSize();
        QTest::mousePress(form_->Panel5, Qt::RightButton);
        EXPECT_EQ(dialogs_, 1);
        EXPECT_EQ(shown, "Current file size (bytes): " + std::to_string(before));
        EXPECT_EQ(form_->HexDump1->GetSize(), c.SizeAfter);
        EXPECT_EQ(form_->HexDump1->Buffer().Modified, c.Modified);
        EXPECT_EQ(form_->Panel5->text().toStdString(), c.Label);
    }
    EXPECT_EQ(Buffer1Bytes(), Pattern(16));
    EXPECT_EQ(form_->WatchedFileName, dir_.file("in.bin"));
}

// With a module the buffers have the module's sizes: neither New nor a
// size change is offered, and the size label of a module that shows bytes
// does not toggle words either.
TEST_F(MainFileTest, AModuleKeepsItsBufferSizes)
{
    StartWithTwoBuffers();
    EXPECT_FALSE(form_->Command("mmNew")->isEnabled());
    EXPECT_FALSE(form_->Command("mmChangeSize")->isEnabled());
    QTest::mousePress(form_->Panel5, Qt::RightButton);
    EXPECT_EQ(form_->HexDump1->GetSize(), 64);
    EXPECT_EQ(form_->Panel5->text(), "32 x 8");
    EXPECT_FALSE(form_->Panel5->ActiveMode());
    QTest::mousePress(form_->Panel5, Qt::LeftButton);
    EXPECT_FALSE(form_->HexDump2->Edit().WordMode);
    EXPECT_FALSE(form_->HexDump1->Edit().WordMode);
    EXPECT_EQ(form_->Panel5->text(), "32 x 8");
}

TEST_F(MainFileTest, TheParametersWindowIsNamedAfterTheChip)
{
    StartWithTwoBuffers();
    QString title;
    AnswerModal<TfmChipOptions>([&title](TfmChipOptions& d) {
        title = d.windowTitle();
        d.reject();
    });
    Trigger("tbParameters");
    EXPECT_EQ(dialogs_, 1);
    EXPECT_EQ(title, "TwoBuffers - parameters");
}

// Save part: the dialog starts at the selection; the typed range of the
// active buffer is saved; a bad range is refused before any file is asked.
TEST_F(MainFileTest, SavePartOfTheBuffer)
{
    StartWithFile(Pattern(300));
    struct Case {
        const char* Name;
        bool Select;
        const char* Start; // nullptr: as the dialog proposes
        const char* End;
        const char* StartShown;
        const char* EndShown;
        bool Saved;
        int First, Count;
    };
    const Case cases[] = {
        {"selection", true, nullptr, nullptr, "0010", "001F", true, 0x10, 16},
        {"whole buffer", false, nullptr, nullptr, "0000", "012B", true, 0, 300},
        {"typed", false, "12a", "12B", "0000", "012B", true, 0x12A, 2},
        {"not hex", false, "xyz", "12B", "0000", "012B", false, 0, 0},
        {"past the end", false, "0", "12C", "0000", "012B", false, 0, 0},
        {"reversed", false, "20", "10", "0000", "012B", false, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        NextCase();
        std::filesystem::remove(dir_.file("part.bin"));
        form_->HexDump1->Buffer().ClearSelection();
        if (c.Select) {
            form_->HexDump1->Buffer().SetSelectRange(0x10, 0x1F, true);
            form_->HexDump1->Buffer().SelStart = 0x10;
            form_->HexDump1->Buffer().NormalizeSelection();
        }
        std::string start, end;
        AnswerModal<TfmSavePartOfFile>([&, c](TfmSavePartOfFile& d) {
            start = d.Edit1->text().toStdString();
            end = d.Edit2->text().toStdString();
            if (c.Start) {
                d.Edit1->setText(QString::fromLatin1(c.Start));
                d.Edit2->setText(QString::fromLatin1(c.End));
            }
            d.SpeedButton2->click();
        });
        if (c.Saved)
            Choose(dir_.file("part.bin"), 1);
        Trigger("mmSavePartOfFile");
        EXPECT_EQ(start, c.StartShown);
        EXPECT_EQ(end, c.EndShown);
        EXPECT_EQ(dialogs_, c.Saved ? 2 : 1);
        if (c.Saved) {
            EXPECT_EQ(ReadFileBytes(dir_.file("part.bin")), Pattern(300).substr(c.First, c.Count));
            EXPECT_TRUE(boxes_.empty());
        }
        else {
            EXPECT_FALSE(std::filesystem::exists(dir_.file("part.bin")));
            ASSERT_EQ(boxes_.size(), 1u);
            EXPECT_EQ(boxes_[0], "Incorrect address");
        }
    }
}

// Print works on the active buffer: buffer 2 here, written as a text dump.
TEST_F(MainFileTest, PrintTheActiveBufferToAFile)
{
    StartWithTwoBuffers();
    std::copy(Letters.begin(), Letters.end(), form_->HexDump2->Buffer().Data.begin());
    form_->HexDump2->SetSize(20);
    const std::string out = dir_.file("Print/b2.txt");
    AnswerModal<TfmPrint>([&](TfmPrint& d) {
        EXPECT_EQ(d.ChipText, "TwoBuffers");
        EXPECT_FALSE(d.rbSelectedArea->isEnabled());
        d.ComboBox1->setCurrentIndex(1);
        d.rbAllEditor->setChecked(true);
        d.CheckBox1->setChecked(false);
        d.cbShowGrid->setChecked(true);
        d.CheckBox2->setChecked(false);
        d.Edit1->setText(QString::fromStdString(out));
        d.SpeedButton2->click();
    });
    Trigger("Print1");
    EXPECT_EQ(dialogs_, 1);
    EXPECT_EQ(ReadFileBytes(out), " \r\n"
                                  "        00 01 02 03|04 05 06 07|08 09 0A 0B|0C 0D 0E 0F   0123456789ABCDEF\r\n"
                                  "        -----------|-----------|-----------|-----------   ----------------\r\n"
                                  "00000:  41 42 43 44|45 46 47 48|49 4A 4B 4C|4D 4E 4F 50   ABCDEFGHIJKLMNOP\r\n"
                                  "00010:  51 52 53 54|.. .. .. ..|.. .. .. ..|.. .. .. ..   QRST............\r\n");
    EXPECT_TRUE(boxes_.empty());
}

// Where no printer is installed the printer target writes a PDF file and
// says so; the page is turned into a picture for a person to look at when pdftoppm is
// at hand.
TEST_F(MainFileTest, PrintToThePrinterWritesAPdfWithoutAPrinter)
{
    StartWithFile(Letters + Pattern(100));
    const std::string txt = dir_.file("Print/page.txt");
    AnswerModal<TfmPrint>([&](TfmPrint& d) {
        d.ComboBox1->setCurrentIndex(0);
        d.rbAllEditor->setChecked(true);
        d.CheckBox1->setChecked(true);
        d.cbShowGrid->setChecked(true);
        d.Edit1->setText(QString::fromStdString(txt));
        SaveScreenshot(d, "main-print-en");
        d.SpeedButton2->click();
    });
    Trigger("Print1");
    const std::string pdf = ReadFileBytes(dir_.file("Print/page.pdf"));
    ASSERT_GT(pdf.size(), 100u);
    EXPECT_EQ(pdf.substr(0, 5), "%PDF-");
    // The dialog said "To printer": the message tells where the pages are.
    EXPECT_EQ(boxes_, std::vector<std::string>{"No printer is installed: the dump was printed to the file \"" +
                                               dir_.file("Print/page.pdf") + "\"."});
    if (const char* shots = std::getenv("TARKU_SCREENSHOTS")) {
        const std::string command = "pdftoppm -r 60 -png -singlefile '" + dir_.file("Print/page.pdf") + "' '" +
                                    std::string(shots) + "/main-print-pdf' 2>/dev/null";
        [[maybe_unused]] const int rc = std::system(command.c_str());
    }
}

// A dropped file goes into the buffer it was dropped on, after a question,
// and becomes that buffer's own watched file.
TEST_F(MainFileTest, DroppedFilesGoIntoTheBufferShown)
{
    StartWithTwoBuffers();
    WriteFileBytes(dir_.file("b1.bin"), Pattern(64));
    WriteFileBytes(dir_.file("b2.bin"), Letters);
    const std::string b1Before = Bytes(*form_->HexDump1);

    struct Case {
        const char* Name;
        int Tab;
        QString Url;
        int Answer; // 0: not asked
        bool Loaded;
    };
    const QString b1 = QString::fromStdString(dir_.file("b1.bin"));
    const QString b2 = QString::fromStdString(dir_.file("b2.bin"));
    const Case cases[] = {
        {"answered No", 1, b2, IDNO, false},
        {"a missing file", 1, QString::fromStdString(dir_.file("none.bin")), 0, false},
        {"no local file", 1, QStringLiteral("http://example.invalid/a.bin"), 0, false},
        {"on buffer 2", 1, b2, IDYES, true},
        {"on buffer 1", 0, b1, IDYES, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        NextCase();
        form_->TabControl1->setCurrentIndex(c.Tab);
        if (c.Answer)
            answers_ = {c.Answer};
        THexDump* view = c.Tab ? form_->HexDump2 : form_->HexDump1;
        DropOn(view, c.Url);
        ASSERT_EQ(boxes_.size(), c.Answer ? 1u : 0u);
        if (c.Answer) {
            EXPECT_EQ(boxes_[0], "Load file \"" + c.Url.toStdString() + "\" ?");
        }
        if (!c.Loaded)
            continue;
        EXPECT_TRUE(view->Buffer().Modified);
        if (c.Tab == 1) {
            EXPECT_EQ(Bytes(*form_->HexDump2).substr(0, 20), Letters);
            EXPECT_EQ(form_->Buffer2FileName, dir_.file("b2.bin"));
            EXPECT_EQ(form_->Buffer2Watch.Name, dir_.file("b2.bin"));
            // Buffer 1 and its file are untouched.
            EXPECT_EQ(form_->WatchedFileName, "noname.bin");
            EXPECT_TRUE(form_->Buffer1Watch.Name.empty());
            EXPECT_EQ(Bytes(*form_->HexDump1), b1Before);
            EXPECT_EQ(form_->windowTitle().toStdString(), "Tarku (EEPROM) - " + dir_.file("b2.bin"));
        }
        else {
            EXPECT_EQ(Bytes(*form_->HexDump1), Pattern(64));
            EXPECT_EQ(form_->WatchedFileName, dir_.file("b1.bin"));
            EXPECT_EQ(form_->Buffer1Watch.Name, dir_.file("b1.bin"));
            EXPECT_EQ(form_->Buffer2FileName, dir_.file("b2.bin"));
            EXPECT_EQ(RecentFiles.Count(), 1);
            EXPECT_EQ(form_->windowTitle().toStdString(), "Tarku (Flash) - " + dir_.file("b1.bin"));
        }
    }
}

TEST_F(MainFileTest, TenDroppedFilesLeaveNineRecentItemsNewestFirst)
{
    Start();
    for (int i = 0; i < 10; ++i) {
        const std::string name = dir_.file("f" + std::to_string(i) + ".bin");
        WriteFileBytes(name, Pattern(16 + i));
        answers_ = {IDYES};
        form_->DropFile(name);
    }
    EXPECT_EQ(RecentItems(), 9);
    ASSERT_EQ(RecentFiles.Count(), 9);
    EXPECT_EQ(RecentFiles[0], dir_.file("f9.bin"));
    EXPECT_EQ(RecentFiles[8], dir_.file("f1.bin"));
    EXPECT_EQ(Buffer1Bytes(), Pattern(25));
}

// Another program changed a buffer's file: when the program is active
// again, the reload is offered once per change.
TEST_F(MainFileTest, AnOutsideChangeOffersAReloadOfBuffer1)
{
    StartWithFile(Pattern(32));
    struct Case {
        int Answer;
        bool Reloaded;
    };
    for (const Case& c : {Case{IDNO, false}, Case{IDYES, true}}) {
        SCOPED_TRACE(c.Answer);
        NextCase();
        form_->HexDump1->Buffer().Data[0] = 0x55;
        form_->HexDump1->Buffer().Modified = true;
        ChangeOutside(dir_.file("in.bin"), Letters);
        answers_ = {c.Answer};
        Activate();
        ASSERT_EQ(boxes_.size(), 1u);
        EXPECT_EQ(boxes_[0], "Your file has been changed by another program. Do you want reload this file now?");
        EXPECT_EQ(Buffer1Bytes() == Letters, c.Reloaded);
        EXPECT_EQ(form_->HexDump1->Buffer().Modified, !c.Reloaded);
        // The same change is not offered again.
        Activate();
        EXPECT_EQ(boxes_.size(), 1u);
    }
    EXPECT_EQ(form_->Panel5->text(), "20 x 8");
}

// A dialog open on the buffers is not interrupted: the change is offered at
// the next activation after it.
TEST_F(MainFileTest, AChangeDuringADialogWaitsForTheNextActivation)
{
    StartWithFile(Pattern(32));
    size_t boxesDuringDialog = 99;
    AnswerModal<TfmGetFileSize>([&](TfmGetFileSize& d) {
        ChangeOutside(dir_.file("in.bin"), Letters);
        Activate();
        boxesDuringDialog = boxes_.size();
        d.reject();
    });
    Trigger("mmNew");
    EXPECT_EQ(dialogs_, 1);
    EXPECT_EQ(boxesDuringDialog, 0u);
    answers_ = {IDYES};
    Activate();
    EXPECT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(Buffer1Bytes(), Letters);
}

TEST_F(MainFileTest, OnlyFilesTheProgramLoadedOrSavedAreWatched)
{
    // "noname.bin" in the program folder is not the new buffer's file.
    WriteFileBytes(dir_.file("noname.bin"), Pattern(8));
    Start();
    ChangeOutside(dir_.file("noname.bin"), Letters);
    Activate();
    EXPECT_TRUE(boxes_.empty());

    // After New the old file is no longer the buffer's.
    WriteFileBytes(dir_.file("old.bin"), Pattern(8));
    answers_ = {IDYES};
    form_->DropFile(dir_.file("old.bin"));
    form_->HexDump1->Buffer().Modified = false;
    AnswerSize<TfmGetFileSize>("16");
    Trigger("mmNew");
    EXPECT_EQ(form_->WatchedFileName, "noname.bin");
    NextCase();
    ChangeOutside(dir_.file("old.bin"), Letters);
    Activate();
    EXPECT_TRUE(boxes_.empty());

    // The program's own save over its file is no outside change.
    NextCase();
    const std::string mine = dir_.file("mine.bin");
    WriteFileBytes(mine, Pattern(8));
    answers_ = {IDYES};
    form_->DropFile(mine);
    ASSERT_EQ(form_->Buffer1Watch.Name, mine);
    // Loaded a while ago; the save dialog would ask before replacing a file.
    std::filesystem::last_write_time(mine, std::filesystem::last_write_time(mine) - std::chrono::seconds(5));
    WatchFile(form_->Buffer1Watch, mine);
    std::filesystem::remove(mine);
    Choose(mine, 1);
    Trigger("mnFileSave");
    EXPECT_EQ(ReadFileBytes(mine), Pattern(8));
    boxes_.clear();
    Activate();
    EXPECT_TRUE(boxes_.empty());
}

TEST_F(MainFileTest, Buffer2ReloadsItsOwnFile)
{
    StartWithTwoBuffers();
    WriteFileBytes(dir_.file("b2.bin"), Pattern(32));
    answers_ = {IDYES};
    form_->DropFile(dir_.file("b2.bin"));
    const std::string b1 = Bytes(*form_->HexDump1);
    form_->TabControl1->setCurrentIndex(0); // whichever buffer is shown
    NextCase();
    ChangeOutside(dir_.file("b2.bin"), Letters);
    answers_ = {IDYES};
    Activate();
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0], "EEPROM: Your file has been changed by another program. Do you want reload this file now?");
    EXPECT_EQ(Bytes(*form_->HexDump2).substr(0, 20), Letters);
    EXPECT_EQ(Bytes(*form_->HexDump1), b1);
    EXPECT_FALSE(form_->HexDump2->Buffer().Modified);
}

// The dialogs of the File menu as the user meets them, in both languages.
TEST_F(MainFileTest, DialogScreenshots)
{
    for (const bool russian : {false, true}) {
        SCOPED_TRACE(russian);
        if (form_) {
            FinishProgram();
            form_ = nullptr;
        }
        NextCase();
        const std::string suffix = russian ? "-ru" : "-en";
        WriteFileBytes(dir_.file("TARKU.INI"),
                       russian ? "[Parameters]\r\nLanguage=" + Utf8ToCp1251("Russian(Русский)") + "\r\n" : "");
        WriteFileBytes(dir_.file("in.bin"), Pattern(300));
        Start({dir_.file("in.bin")});
        AnswerModal<TfmGetFileSize>([&](TfmGetFileSize& d) {
            d.LabeledEdit1->setText("1024");
            EXPECT_TRUE(SaveScreenshot(d, "main-new" + suffix));
            d.reject();
        });
        Trigger("mmNew");
        AnswerModal<TfmChangeFilesize>([&](TfmChangeFilesize& d) {
            d.LabeledEdit1->setText("302");
            EXPECT_TRUE(SaveScreenshot(d, "main-change-size" + suffix));
            d.SpeedButton2->click();
        });
        Trigger("mmChangeSize");
        QTest::mousePress(form_->Panel5, Qt::LeftButton);
        AnswerModal<TfmSavePartOfFile>([&](TfmSavePartOfFile& d) {
            EXPECT_TRUE(SaveScreenshot(d, "main-save-part" + suffix));
            d.reject();
        });
        Trigger("mmSavePartOfFile");
        AnswerModal<TfmPrint>([&](TfmPrint& d) {
            EXPECT_TRUE(SaveScreenshot(d, "main-print" + suffix));
            d.reject();
        });
        Trigger("Print1");
        EXPECT_EQ(dialogs_, 4);
        EXPECT_TRUE(SaveScreenshot(*form_, "main-words" + suffix));
    }
}

// A new buffer and a size change show nothing of an earlier dump: what
// buffer 1 gains is zero and unmarked, and a save writes just that.
TEST_F(MainFileTest, NewAndSizeChangesShowNoEarlierDump)
{
    const std::string dump = Pattern(0x200000);
    StartWithFile(dump);
    TDumpBuffer& b = form_->HexDump1->Buffer();
    b.SetMarkerRange(0, b.LastIndex, 5);
    auto unmarked = [&b] {
        return std::all_of(b.Markers.begin(), b.Markers.begin() + b.GetSize(), [](uint8_t m) { return m == 0; });
    };
    AnswerSize<TfmGetFileSize>("4096");
    Trigger("mmNew");
    EXPECT_EQ(Buffer1Bytes(), std::string(4096, '\0'));
    EXPECT_TRUE(unmarked());
    AnswerSize<TfmChangeFilesize>("8192");
    Trigger("mmChangeSize");
    EXPECT_EQ(Buffer1Bytes(), std::string(8192, '\0'));
    EXPECT_TRUE(unmarked());
    Choose(dir_.file("new.bin"), 1);
    Trigger("mnFileSave");
    EXPECT_EQ(ReadFileBytes(dir_.file("new.bin")), std::string(8192, '\0'));

    // A loaded dump cut and grown again: the bytes cut off stay gone.
    NextCase();
    answers_ = {IDYES};
    form_->DropFile(dir_.file("in.bin"));
    ASSERT_EQ(Buffer1Bytes(), dump);
    b.SetMarkerRange(0, b.LastIndex, 5);
    for (const char* size : {"4096", "8192", "70000"}) {
        AnswerSize<TfmChangeFilesize>(size);
        Trigger("mmChangeSize");
    }
    EXPECT_EQ(Buffer1Bytes(), dump.substr(0, 4096) + std::string(70000 - 4096, '\0'));
    EXPECT_TRUE(std::all_of(b.Markers.begin() + 4096, b.Markers.begin() + 70000, [](uint8_t m) { return m == 0; }));
}

// A file loaded into a chip's buffer (dropped, reloaded, a recent file, a
// library dump) puts the view at its top; the mismatch marks and the selection stay
// unless option bit 4 hides the marks.
TEST_F(MainFileTest, LoadsIntoChipBuffersKeepMarksAndGoToTheTop)
{
    StartWithTwoBuffers();
    WriteFileBytes(dir_.file("b1.bin"), Pattern(64));
    WriteFileBytes(dir_.file("b2.bin"), Letters);
    struct Case {
        const char* Name;
        int Tab;
        bool HideMismatch;
        std::function<void()> Load;
        size_t Questions;
    };
    const Case cases[] = {
        {"drop on buffer 2", 1, false, [&] { form_->DropFile(dir_.file("b2.bin")); }, 1},
        {"reload of buffer 2", 1, false, [&] { ChangeOutside(dir_.file("b2.bin"), Pattern(32)); Activate(); }, 1},
        {"drop on buffer 1", 0, false, [&] { form_->DropFile(dir_.file("b1.bin")); }, 1},
        {"reload of buffer 1", 0, false, [&] { ChangeOutside(dir_.file("b1.bin"), Letters); Activate(); }, 1},
        {"a recent file", 0, false, [&] { form_->OpenRecentFile(0); }, 0},
        {"a recent file, bit 4", 0, true, [&] { form_->OpenRecentFile(0); }, 0},
        {"a library dump", 0, false, [&] { form_->LoadDumpFromLibrary(dir_.file("b1.bin"), "", true); }, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        NextCase();
        WorkParam = c.HideMismatch ? WorkParam | wpHideMismatch : WorkParam & ~wpHideMismatch;
        form_->TabControl1->setCurrentIndex(c.Tab);
        THexDump& view = c.Tab ? *form_->HexDump2 : *form_->HexDump1;
        view.Buffer().Modified = false;
        view.SetMatchBit(5, false);
        view.Buffer().SetSelectRange(7, 9, true);
        view.Buffer().SelStart = 7;
        view.Buffer().SelEnd = 9;
        view.Edit().SetScrollPos(view.Edit().ScrollMax());
        ASSERT_GT(view.Edit().TopIndex, 0);
        if (c.Questions)
            answers_ = {IDYES};
        c.Load();
        ASSERT_EQ(boxes_.size(), c.Questions);
        EXPECT_EQ(view.GetMatchBit(5), c.HideMismatch);
        EXPECT_EQ(view.Buffer().SelStart, 7);
        EXPECT_TRUE(view.IsSelected(9));
        EXPECT_EQ(view.Edit().TopIndex, 0);
        EXPECT_EQ(view.ScrollBar()->value(), 0);
    }
}

} // namespace
