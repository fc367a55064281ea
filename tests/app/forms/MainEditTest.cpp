// The main window's buffer commands through its Edit menu, the views'
// popups, the status labels, the size label and the marker panel, on the
// real program started on a copy of the program folder. Message boxes are
// answered by the platform's handler, dialogs by a timer with a ceiling
// that fails the test instead of hanging it.
#include "AppStateGuard.h"
#include "Screenshot.h"
#include "TestSupport.h"
#include "app/forms/Main.h"
#include "app/forms/MainEdit.h"
#include "app/forms/MainProgram.h"
#include "buffer/FileServ.h"
#include "buffer/forms/HDump.h"
#include "buffer/forms/uFileForCompare.h"
#include "buffer/forms/uFill.h"
#include "buffer/forms/uFind.h"
#include "buffer/forms/uGotoAdr.h"
#include "buffer/forms/uInsertFromFile.h"
#include "buffer/forms/uShowSelection.h"
#include "engine/Global.h"
#include "platform/Cp1251.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFileDialog>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>

namespace {

using Bytes = std::vector<uint8_t>;
using testsupport::ReadFileBytes;
using testsupport::TempDir;
using testsupport::WriteFileBytes;

// Generous: only a window nobody closes ever waits this long.
constexpr int ModalCeilingMs = 30000;

class MainEditWindow : public ::testing::Test {
protected:
    testsupport::TAppStateGuard state_;
    TempDir dir_;
    std::string savedFolder_ = ProgramFolder();
    MessageBoxHandler previous_;
    struct Box {
        std::string Text, Caption;
        unsigned Flags;
    };
    std::vector<Box> boxes_;
    // Timers of the answers still waiting for their dialog; dropped after
    // each command, so that no answer reaches a later dialog.
    std::unique_ptr<QObject> answers_ = std::make_unique<QObject>();
    int answered_ = 0;
    TMainForm* form_ = nullptr;
    TMainEdit* edit_ = nullptr;

    void SetUp() override
    {
        std::filesystem::copy(testsupport::DataPath(""), dir_.path(), std::filesystem::copy_options::recursive);
        SetProgramFolder(dir_.path());
        previous_ = SetMessageBoxHandler([this](const std::string& text, const std::string& caption, unsigned flags) {
            boxes_.push_back({Cp1251ToUtf8(text), Cp1251ToUtf8(caption), flags});
            return int{IDOK};
        });
    }
    void TearDown() override
    {
        answers_.reset();
        if (form_)
            FinishProgram();
        SetMessageBoxHandler(previous_);
        SetProgramFolder(savedFolder_);
    }

    void Start(bool russian = false)
    {
        if (russian)
            WriteFileBytes(dir_.file("TARKU.INI"), "[Parameters]\r\nLanguage=" + Utf8ToCp1251("Russian(Русский)") + "\r\n");
        form_ = StartProgram({});
        form_->show();
        form_->SetEditorOnlyMode();
        edit_ = form_->findChild<TMainEdit*>("MainEdit");
        ASSERT_NE(edit_, nullptr);
    }

    // The view of buffer 1 or 2, made active, holding `bytes`, every byte
    // normal, unmodified, no selection, the caret on byte 0.
    THexDump& Buffer(int which, const Bytes& bytes, bool wordMode = false)
    {
        if (which == 2 && form_->TabControl1->count() < 2) {
            form_->TabControl1->addTab(QStringLiteral("Buffer 1"));
            form_->TabControl1->addTab(QStringLiteral("Buffer 2"));
            form_->TabControl1->setVisible(true);
        }
        if (form_->TabControl1->count() > 1)
            form_->TabControl1->setCurrentIndex(which == 2 ? 1 : 0);
        THexDump& view = which == 2 ? *form_->HexDump2 : *form_->HexDump1;
        view.SetSize(int64_t(bytes.size()));
        std::copy(bytes.begin(), bytes.end(), view.Buffer().Data.begin());
        view.Buffer().Data[bytes.size()] = 0xAA;
        view.HideMismatch();
        view.ClearMarkers();
        view.Buffer().ClearSelection();
        view.Buffer().Modified = false;
        view.Edit().WordMode = wordMode;
        view.Edit().CaretNibble = 0;
        form_->BuffersChanged();
        EXPECT_EQ(form_->ActiveView(), &view);
        return view;
    }
    static Bytes Contents(const THexDump& view)
    {
        const TDumpBuffer& b = view.Buffer();
        return Bytes(b.Data.begin(), b.Data.begin() + b.GetSize());
    }
    static std::string Marks(const THexDump& view)
    {
        std::string s;
        for (int64_t i = 0; i < view.GetSize(); ++i)
            s += view.GetMatchBit(i) ? '0' : '1';
        return s;
    }
    static void Select(THexDump& view, int64_t first, int64_t last)
    {
        view.Buffer().SetSelectRange(first, last, true);
        view.Buffer().SelStart = first;
        view.Buffer().SelEnd = last;
        MainForm->UpdateCommands();
    }
    THexDump& Other(const THexDump& view) const
    {
        return &view == form_->HexDump1 ? *form_->HexDump2 : *form_->HexDump1;
    }

    // The next modal dialog of type T gets `act`; one still open after the
    // ceiling is rejected and fails the test.
    template <class T>
    void Answer(std::function<void(T&)> act)
    {
        QTimer::singleShot(0, answers_.get(), [this, act] {
            auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
            if (!dialog) {
                Answer<T>(act);
                return;
            }
            ++answered_;
            QTimer::singleShot(ModalCeilingMs, dialog, [dialog] {
                ADD_FAILURE() << "dialog left open";
                dialog->reject();
            });
            act(*dialog);
        });
    }

    // A command from the Edit menu or from the view's popup.
    void Run(THexDump& view, const char* item, TDumpPopupCommand popup, bool viaPopup)
    {
        if (viaPopup) {
            auto* action = view.PopupMenu()->findChild<QAction*>(QStringLiteral("pi%1").arg(int(popup)));
            ASSERT_NE(action, nullptr) << popup;
            action->trigger();
        }
        else {
            QAction* action = form_->Command(item);
            ASSERT_TRUE(action->isEnabled()) << item;
            action->trigger();
        }
        answers_ = std::make_unique<QObject>();
    }
    void Press(QWidget* widget, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mousePress(widget, button, {}, QPoint(2, 2));
        answers_ = std::make_unique<QObject>();
    }
    TFindForm* FindForm() const { return form_->findChild<TFindForm*>("FindForm"); }
};

// The commands without a dialog, on either buffer, from the menu and the
// popup, on odd sizes and in word mode.
TEST_F(MainEditWindow, CommandsWithoutDialogWorkOnTheActiveBufferOnly)
{
    Start();
    struct Case {
        const char* name;
        const char* item;
        TDumpPopupCommand popup;
        Bytes before;
        bool wordMode;
        std::function<void(THexDump&)> prepare;
        Bytes after;
        std::function<void(THexDump&)> check;
    };
    const Bytes five = {0x12, 0x34, 0x56, 0x78, 0x9A};
    const Case cases[] = {
        {"swap bytes, odd size", "Swapbytes1", pcSwapBytes, five, false, {}, {0x34, 0x12, 0x78, 0x56, 0x9A},
         [](THexDump& v) { EXPECT_TRUE(v.Buffer().Modified); }},
        {"hide mismatch", "Hidemismatch1", pcHideMismatch, five, false, [](THexDump& v) { v.SetMatchBit(3); }, five,
         [](THexDump& v) { EXPECT_EQ(Marks(v), "00000"); }},
        {"erase", "mmErase", pcEraseBuffer, five, false, [](THexDump& v) { v.Buffer().Modified = true; },
         {0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, [](THexDump& v) { EXPECT_FALSE(v.Buffer().Modified); }},
        {"hide markers", "Hidemarkers1", pcHideMarkers, five, false,
         [](THexDump& v) { v.Buffer().Markers[2] = 5; }, five,
         [](THexDump& v) { EXPECT_EQ(v.Buffer().Markers[2], 0); }},
        {"select all", "Selectall1", pcSelectAll, five, false, {}, five,
         [](THexDump& v) {
             EXPECT_EQ(v.Buffer().SelStart, 0);
             EXPECT_EQ(v.Buffer().SelEnd, 4);
         }},
        {"copy", "Copy1", pcCopy, five, false, [](THexDump& v) { Select(v, 1, 3); }, five,
         [](THexDump&) { EXPECT_EQ(QGuiApplication::clipboard()->text(), "34 56 78 "); }},
        {"paste at the caret, up to the end", "Paste1", pcPaste, five, false,
         [](THexDump& v) {
             QGuiApplication::clipboard()->setText("AA BB CC DD");
             v.Edit().CaretNibble = 7;
         },
         {0x12, 0x34, 0x56, 0xAA, 0xBB},
         [](THexDump& v) {
             EXPECT_EQ(Marks(v), "00011");
             EXPECT_TRUE(v.Buffer().Modified);
         }},
        {"paste in word mode starts at the word", "Paste1", pcPaste, {0, 0, 0, 0, 0, 0}, true,
         [](THexDump& v) {
             QGuiApplication::clipboard()->setText("AA BB");
             v.Edit().CaretNibble = 7; // the low digit of byte 3, in word 1
         },
         {0, 0, 0xAA, 0xBB, 0, 0}, {}},
        {"paste of no hex text changes nothing", "Paste1", pcPaste, five, false,
         [](THexDump&) { QGuiApplication::clipboard()->setText("hello"); }, five,
         [](THexDump& v) { EXPECT_FALSE(v.Buffer().Modified); }},
    };
    for (int which : {1, 2})
        for (bool viaPopup : {false, true})
            for (const Case& c : cases) {
                const std::string name =
                    std::string(c.name) + (which == 2 ? ", buffer 2" : ", buffer 1") + (viaPopup ? ", popup" : ", menu");
                THexDump& other = Buffer(which == 1 ? 2 : 1, {1, 2, 3, 4});
                THexDump& view = Buffer(which, c.before, c.wordMode);
                if (c.prepare)
                    c.prepare(view);
                if (c.item == std::string("Copy1"))
                    form_->UpdateCommands();
                Run(view, c.item, c.popup, viaPopup);
                EXPECT_EQ(Contents(view), c.after) << name;
                EXPECT_EQ(view.Buffer().Data[c.before.size()], 0xAA) << name << ": the byte past the end";
                if (c.check)
                    c.check(view);
                EXPECT_EQ(Contents(other), (Bytes{1, 2, 3, 4})) << name << ": the other buffer";
                EXPECT_FALSE(other.Buffer().Modified) << name;
            }
    EXPECT_TRUE(boxes_.empty());
}

TEST_F(MainEditWindow, EditMenuFollowsSelectionAndClipboard)
{
    Start();
    THexDump& view = Buffer(2, {1, 2, 3, 4, 5, 6});
    auto opened = [this] { emit form_->mmEdit->aboutToShow(); };
    QGuiApplication::clipboard()->setText("GG");
    opened();
    EXPECT_FALSE(form_->Command("Paste1")->isEnabled());
    EXPECT_FALSE(form_->Command("Copy1")->isEnabled());
    EXPECT_FALSE(form_->Command("mmSlection")->isEnabled());
    EXPECT_FALSE(form_->Command("mmSelInserFromFile")->isEnabled());
    QGuiApplication::clipboard()->setText("12 ab");
    Select(view, 0, 4);
    opened();
    EXPECT_TRUE(form_->Command("Paste1")->isEnabled());
    EXPECT_TRUE(form_->Command("Copy1")->isEnabled());
    EXPECT_TRUE(form_->Command("mmSlection")->isEnabled());
    EXPECT_TRUE(form_->Command("mmSelConvertToDigit")->isEnabled()) << "five bytes";
    view.Buffer().ClearSelection();
    Select(view, 1, 4);
    opened();
    EXPECT_TRUE(form_->Command("mmSelConvertToDigit")->isEnabled()) << "four bytes";
    ASSERT_NE(form_->Command("mmSlection")->menu(), nullptr);
    EXPECT_TRUE(form_->Command("mmSlection")->menu()->actions().contains(form_->Command("mmSelSaveAsFile")));
    EXPECT_FALSE(form_->mmEdit->actions().contains(form_->Command("mmSelSaveAsFile")));
    EXPECT_EQ(view.PopupMenu()->findChild<QAction*>("pi5")->text(), "Find...") << "English keeps the popup's captions";
}

// Fill and XOR: the area and the word mode of the view they run on, only
// inside the selection and the buffer.
TEST_F(MainEditWindow, FillAndXorClipToSelectionAndBuffer)
{
    Start();
    struct Case {
        const char* name;
        int which;
        bool xorMode;
        Bytes before;
        bool wordMode;
        int64_t selFirst, selLast; // -1: none
        const char* pattern;
        Bytes after;
    };
    const Case cases[] = {
        {"fill word mode over an odd selection", 2, false, {0, 0, 0, 0, 0, 0}, true, 1, 4, "1234",
         {0, 0x12, 0x34, 0x12, 0x34, 0}},
        {"fill word mode, odd size", 1, false, {0, 0, 0, 0, 0}, true, -1, -1, "1234", {0x34, 0x12, 0x34, 0x12, 0x34}},
        {"fill 123", 1, false, {0, 0, 0, 0, 0}, false, -1, -1, "123", {0x12, 0x03, 0x12, 0x03, 0x12}},
        {"xor word mode over an odd selection", 1, true, {1, 1, 1, 1, 1}, true, 1, 4, "0F0E",
         {1, 0x0E, 0x0F, 0x0E, 0x0F}},
        {"xor with 00", 2, true, {1, 2, 3}, false, -1, -1, "00", {1, 2, 3}},
    };
    for (const Case& c : cases) {
        THexDump& view = Buffer(c.which, c.before, c.wordMode);
        if (c.selFirst >= 0)
            Select(view, c.selFirst, c.selLast);
        QString seenCaption;
        bool areaEnabled = false;
        Answer<TFillForm>([&](TFillForm& d) {
            seenCaption = d.windowTitle();
            areaEnabled = d.RadioButton4->isEnabled();
            if (c.selFirst >= 0)
                d.RadioButton4->setChecked(true);
            d.Edit1->setText(QString::fromLatin1(c.pattern));
            SaveScreenshot(d, c.xorMode ? "main-xor-en" : "main-fill-en");
            d.SpeedButton2->click();
        });
        Run(view, c.xorMode ? "XOR1" : "mmFill", c.xorMode ? pcXor : pcFill, c.which == 2);
        EXPECT_EQ(Contents(view), c.after) << c.name;
        EXPECT_EQ(view.Buffer().Data[c.before.size()], 0xAA) << c.name;
        EXPECT_EQ(areaEnabled, c.selFirst >= 0) << c.name;
        EXPECT_EQ(seenCaption, c.xorMode ? "XOR" : "Fill") << c.name;
        EXPECT_TRUE(view.Buffer().Modified) << c.name;
    }
    EXPECT_EQ(form_->findChild<TFillForm*>("FillForm")->windowTitle(), "Fill") << "the caption is restored";
    EXPECT_EQ(answered_, int(std::size(cases)));
}

// Find stays open beside the window: each press searches on from the last
// match, a miss says so and starts over, and a number that does not
// convert searches nothing.
TEST_F(MainEditWindow, FindAgainNotFoundAndStartingOver)
{
    Start();
    THexDump& view = Buffer(1, {0x41, 0x42, 0x43, 0x41, 0x42, 0x44, 0x00});
    Run(view, "mmFind", pcFind, false);
    TFindForm* find = FindForm();
    ASSERT_NE(find, nullptr);
    ASSERT_TRUE(find->isVisible());
    EXPECT_FALSE(find->isModal());
    EXPECT_EQ(find->windowTitle(), "Find");
    EXPECT_TRUE(find->CheckBox1->isHidden());
    SaveScreenshot(*find, "main-find-en");
    find->Edit3->setText("0x4142");
    struct Step {
        int64_t selStart; // -1: not found
        const char* button;
    };
    const Step steps[] = {{0, "Find next"}, {3, "Find next"}, {-1, "Find"}, {0, "Find next"}};
    for (const Step& s : steps) {
        boxes_.clear();
        find->SpeedButton2->click();
        EXPECT_EQ(view.Buffer().SelStart, s.selStart);
        EXPECT_EQ(find->SpeedButton2->text(), s.button);
        if (s.selStart >= 0) {
            EXPECT_EQ(view.Buffer().SelEnd, s.selStart + 1);
            EXPECT_TRUE(view.IsSelected(s.selStart + 1));
            EXPECT_TRUE(boxes_.empty());
            // The caret went to the match, and the status line with it.
            EXPECT_EQ(form_->AdrLabel->text(), QStringLiteral("Address: %1 (0000%1H)").arg(s.selStart));
            EXPECT_EQ(form_->DataLabel->text(), "Data: 65 (41H)");
        }
        else {
            ASSERT_EQ(boxes_.size(), 1u);
            EXPECT_EQ(boxes_[0].Text, "Pattern not found");
            EXPECT_EQ(boxes_[0].Caption, "Find");
            EXPECT_FALSE(view.IsSelected(3)) << "the old match is no longer selected";
        }
    }
    // A number that does not convert: no search for the previous one.
    const int64_t before = view.Buffer().SelStart;
    boxes_.clear();
    find->Edit3->setText("xyz");
    find->SpeedButton2->click();
    EXPECT_EQ(find->Panel1->text(), "Error pattern");
    EXPECT_EQ(view.Buffer().SelStart, before);
    EXPECT_TRUE(boxes_.empty());
    // -1 is a number like any other.
    Buffer(1, {0x00, 0xFF, 0x00});
    find->Edit3->setText("-1");
    find->SpeedButton2->click();
    EXPECT_EQ(form_->HexDump1->Buffer().SelStart, 1);
    // The buffer 2 tab: a search there starts at its beginning.
    THexDump& second = Buffer(2, {0xFF, 0x00, 0xFF}, true);
    find->SpeedButton2->click();
    EXPECT_EQ(second.Buffer().SelStart, 0);
    find->SpeedButton1->click();
    EXPECT_FALSE(find->isVisible());
}

// Paste special: the number page writes its bytes, the text page a text
// dump (read as the view in word mode shows words) or its characters, at
// the active view's caret byte.
TEST_F(MainEditWindow, InsertWritesAtTheActiveViewsCaretByte)
{
    Start();
    TDumpBuffer source;
    source.SetSize(32);
    for (int i = 0; i < 32; ++i)
        source.Data[size_t(i)] = uint8_t('A' + i);
    const QString dump = Cp1251ToQString(MakeTextDump(source, 0, 31, true));

    THexDump& view = Buffer(1, Bytes(40, 0), true);
    view.Edit().CaretNibble = 7; // word 1: byte 2
    Press(form_->DataLabel);
    TFindForm* find = FindForm();
    ASSERT_NE(find, nullptr);
    ASSERT_TRUE(find->isVisible());
    EXPECT_EQ(find->windowTitle(), "Insert");
    EXPECT_EQ(find->SpeedButton2->text(), "Insert");
    EXPECT_FALSE(find->CheckBox1->isHidden());
    find->PageControl1->setCurrentWidget(find->TabSheet2);
    find->Memo1->setPlainText(dump);
    find->CheckBox1->setChecked(true);
    SaveScreenshot(*find, "main-insert-en");
    find->SpeedButton2->click();
    Bytes expected(40, 0);
    std::copy(source.Data.begin(), source.Data.begin() + 32, expected.begin() + 2);
    EXPECT_EQ(Contents(view), expected);
    EXPECT_TRUE(view.Buffer().Modified);
    EXPECT_TRUE(boxes_.empty());

    // Not a dump: refused with the line, nothing written.
    Buffer(1, Bytes(24, 0));
    find->Memo1->setPlainText("00000: 41 42 43 44 45 46 47 48 49 4A 4B 4C 4D 4E 4F 50\n00010: 41 42\n"
                              "00020: 41 42 43 44 45 46 47 48 49 4A 4B 4C 4D 4E 4F 50");
    find->SpeedButton2->click();
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].Text, "Source text is not a hex dump. Line: 1");
    EXPECT_EQ(Contents(*form_->HexDump1), Bytes(24, 0));

    // Characters on buffer 2, at its own caret; buffer 1 keeps its bytes.
    THexDump& second = Buffer(2, Bytes(4, 0));
    second.Edit().CaretNibble = 4;
    find->CheckBox1->setChecked(false);
    find->Memo1->setPlainText("xyz");
    find->SpeedButton2->click();
    EXPECT_EQ(Contents(second), (Bytes{0, 0, 'x', 'y'}));
    EXPECT_EQ(Contents(*form_->HexDump1), Bytes(24, 0));
    // The number page on buffer 2.
    find->PageControl1->setCurrentWidget(find->TabSheet1);
    find->Edit3->setText("0x1234");
    second.Edit().CaretNibble = 0;
    find->SpeedButton2->click();
    EXPECT_EQ(Contents(second), (Bytes{0x12, 0x34, 'x', 'y'}));
    EXPECT_EQ(Marks(second), "1111");
    find->SpeedButton1->click();
}

// A 2 MiB dump against a 2 MiB buffer: the last byte is compared and
// XORed like every other.
TEST_F(MainEditWindow, CompareAndXorWithATwoMiBFile)
{
    Start();
    constexpr int64_t TwoMiB = 0x200000;
    std::string dump(size_t(TwoMiB), '\x5A');
    dump[0] = '\x01';
    std::filesystem::create_directories(dir_.file("Dumps"));
    const std::string path = dir_.file("Dumps/big.bin");
    WriteFileBytes(path, dump);
    THexDump& view = Buffer(1, Bytes(size_t(TwoMiB), 0x5A));
    view.Buffer().Data[size_t(TwoMiB) - 1] = 0x5A;

    Answer<TfmFileForCompare>([&](TfmFileForCompare& d) {
        d.AddCompareFile(Utf8ToCp1251(path));
        SaveScreenshot(d, "main-compare-en");
        d.Button2Click();
    });
    Run(view, "mmCompareFile", pcCompareWithFile, false);
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].Text, "Mismatch: 1");
    EXPECT_EQ(boxes_[0].Caption, "Compare");
    EXPECT_FALSE(view.GetMatchBit(0));
    EXPECT_TRUE(view.GetMatchBit(TwoMiB - 1));
    EXPECT_FALSE(view.Buffer().Modified);

    Answer<QFileDialog>([&](QFileDialog& d) {
        d.selectFile(QString::fromStdString(path));
        QMetaObject::invokeMethod(&d, "accept");
    });
    Run(view, "XORwithfile1", pcXorWithFile, true);
    EXPECT_EQ(view.Buffer().Data[0], 0x5B);
    EXPECT_EQ(view.Buffer().Data[size_t(TwoMiB) - 1], 0);
    EXPECT_TRUE(view.GetMatchBit(TwoMiB - 1));
    EXPECT_FALSE(view.GetMatchBit(0));
    EXPECT_TRUE(view.Buffer().Modified);
    EXPECT_EQ(Cp1251ToUtf8(XorFileName), path);

    // An unreadable compare file is reported and leaves the marks.
    boxes_.clear();
    view.HideMismatch();
    Answer<TfmFileForCompare>([&](TfmFileForCompare& d) {
        d.AddCompareFile(Utf8ToCp1251(dir_.file("gone.bin")));
        d.Button2Click();
    });
    Run(view, "mmCompareFile", pcCompareWithFile, true);
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].Text, "Error open file \"" + dir_.file("gone.bin") + "\"");
    EXPECT_TRUE(view.GetMatchBit(0));
}

TEST_F(MainEditWindow, SelectionCommands)
{
    Start();
    const std::string source = dir_.file("source.bin");
    WriteFileBytes(source, "\x10\x11\x12\x13\x14\x15");
    THexDump& view = Buffer(2, {0x12, 0x34, 0, 0, 0}, true);

    // Without a selection nothing asks for a file.
    Run(view, "mmSelInserFromFile", pcCopyFromFile, true);
    EXPECT_EQ(answered_, 0);
    EXPECT_EQ(Contents(view), (Bytes{0x12, 0x34, 0, 0, 0}));

    Select(view, 0, 1);
    Answer<TfmShowSelection>([&](TfmShowSelection& d) {
        EXPECT_EQ(d.Panel2->text(), "00001234");
        SaveScreenshot(d, "main-show-selection-en");
        d.SpeedButton1->click();
    });
    Run(view, "mmSelConvertToDigit", pcShowAsDecimal, false);
    EXPECT_EQ(answered_, 1);

    const std::string saved = dir_.file("part.bin");
    Answer<QFileDialog>([&](QFileDialog& d) {
        d.selectNameFilter(d.nameFilters()[0]);
        d.selectFile(QString::fromStdString(saved));
        QMetaObject::invokeMethod(&d, "accept");
    });
    Run(view, "mmSelSaveAsFile", pcSaveSelection, true);
    EXPECT_EQ(ReadFileBytes(saved), "\x12\x34");

    Select(view, 2, 3);
    Answer<TfmInsertFromFile>([&](TfmInsertFromFile& d) {
        d.AddSourceFile(Utf8ToCp1251(source));
        d.RadioButton2->setChecked(true);
        SaveScreenshot(d, "main-copy-from-file-en");
        d.SpeedButton2Click();
    });
    Run(view, "mmSelInserFromFile", pcCopyFromFile, false);
    EXPECT_EQ(Contents(view), (Bytes{0x12, 0x34, 0x10, 0x11, 0}));
    EXPECT_TRUE(view.Buffer().Modified);

    Select(view, 3, 4);
    Answer<TfmInsertFromFile>([&](TfmInsertFromFile& d) {
        d.RadioButton3->setChecked(true);
        d.Edit1->setText("5");
        d.SpeedButton2Click();
    });
    Run(view, "mmSelInserFromFile", pcCopyFromFile, true);
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].Text, "File \"" + source + "\" too small");
    EXPECT_EQ(Contents(view), (Bytes{0x12, 0x34, 0x10, 0x11, 0}));
}

TEST_F(MainEditWindow, GoToAddressCountsWordsInWordMode)
{
    Start();
    struct Case {
        int which;
        bool wordMode;
        const char* text;
        int32_t limit;
        int64_t caretNibble;
    };
    const Case cases[] = {{1, false, "0x10", 39, 32}, {2, true, "3", 19, 12}, {2, false, "39", 39, 78}};
    for (const Case& c : cases) {
        THexDump& view = Buffer(c.which, Bytes(40, 0), c.wordMode);
        int32_t limit = -1;
        Answer<TfmGotoAdr>([&](TfmGotoAdr& d) {
            limit = d.AddressLimit;
            d.Edit1->setText(QString::fromLatin1(c.text));
            SaveScreenshot(d, "main-goto-en");
            d.SpeedButton2->click();
        });
        Press(form_->AdrLabel);
        EXPECT_EQ(limit, c.limit) << c.text;
        EXPECT_EQ(view.Edit().CaretNibble, c.caretNibble) << c.text;
    }
}

TEST_F(MainEditWindow, MarkerPanelsMarkBufferOneWhicheverTabIsShown)
{
    Start();
    THexDump& first = Buffer(1, Bytes(6, 0));
    Select(first, 1, 2);
    THexDump& second = Buffer(2, Bytes(6, 0));
    ASSERT_NE(edit_->pnMarkers, nullptr);
    struct Case {
        const char* panel;
        uint8_t marker;
    };
    const Case cases[] = {{"Panel13", 3}, {"Panel16", 0}, {"Panel18", 7}, {"Panel11", 1}};
    for (const Case& c : cases) {
        auto* panel = edit_->pnMarkers->findChild<QFrame*>(c.panel);
        ASSERT_NE(panel, nullptr) << c.panel;
        Press(panel);
        EXPECT_EQ(first.Buffer().Markers[1], c.marker) << c.panel;
        EXPECT_EQ(first.Buffer().Markers[2], c.marker) << c.panel;
        EXPECT_EQ(first.Buffer().Markers[3], 0) << c.panel;
        EXPECT_EQ(second.Buffer().Markers[1], 0) << c.panel;
    }
    // The View menu's item and the panel's "X".
    const bool shown = WorkParam & wpMarkersPanelVisible;
    form_->Command("mmMarkers")->trigger();
    EXPECT_NE(bool(WorkParam & wpMarkersPanelVisible), shown);
    EXPECT_EQ(edit_->pnMarkers->isVisible(), !shown);
    if (!shown) {
        SaveScreenshot(*form_, "main-markers-en");
        edit_->pnMarkers->findChild<QToolButton*>("Button8")->click();
        EXPECT_FALSE(edit_->pnMarkers->isVisible());
        EXPECT_FALSE(WorkParam & wpMarkersPanelVisible);
    }
}

// Every dialog the buffer commands open, in Russian, for a person to look
// at; each is cancelled.
TEST_F(MainEditWindow, DialogsInRussian)
{
    Start(true);
    THexDump& view = Buffer(1, Bytes(32, 0x30));
    Select(view, 0, 1);
    Answer<TFillForm>([](TFillForm& d) {
        SaveScreenshot(d, "main-fill-ru");
        d.reject();
    });
    Run(view, "mmFill", pcFill, false);
    Answer<TfmFileForCompare>([](TfmFileForCompare& d) {
        SaveScreenshot(d, "main-compare-ru");
        d.reject();
    });
    Run(view, "mmCompareFile", pcCompareWithFile, false);
    Answer<TfmInsertFromFile>([](TfmInsertFromFile& d) {
        SaveScreenshot(d, "main-copy-from-file-ru");
        d.reject();
    });
    Run(view, "mmSelInserFromFile", pcCopyFromFile, false);
    Answer<TfmShowSelection>([](TfmShowSelection& d) {
        SaveScreenshot(d, "main-show-selection-ru");
        d.reject();
    });
    Run(view, "mmSelConvertToDigit", pcShowAsDecimal, false);
    Answer<TfmGotoAdr>([](TfmGotoAdr& d) {
        SaveScreenshot(d, "main-goto-ru");
        d.reject();
    });
    Press(form_->AdrLabel);
    EXPECT_EQ(answered_, 5);
    Run(view, "mmInsert", pcPasteSpecial, false);
    ASSERT_NE(FindForm(), nullptr);
    SaveScreenshot(*FindForm(), "main-insert-ru");
    FindForm()->SpeedButton1->click();
    Run(view, "mmFind", pcFind, true);
    SaveScreenshot(*FindForm(), "main-find-ru");
    EXPECT_NE(FindForm()->windowTitle(), "Find") << "the Russian caption";
    FindForm()->SpeedButton1->click();
    EXPECT_FALSE(view.Buffer().Modified);
    // The popups speak the language of the Edit menu.
    for (THexDump* v : {form_->HexDump1, form_->HexDump2}) {
        EXPECT_EQ(v->PopupMenu()->findChild<QAction*>("pi5")->text(), QString::fromUtf8("&Найти..."));
        EXPECT_EQ(v->PopupMenu()->findChild<QMenu*>("miSelection")->title(), QString::fromUtf8("&Выделение..."));
    }
}

} // namespace
