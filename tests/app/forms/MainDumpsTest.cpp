#include "AppStateGuard.h"
#include "Screenshot.h"
#include "TestSupport.h"
#include "app/forms/Main.h"
#include "app/forms/MainDock.h"
#include "app/forms/MainFileView.h"
#include "app/forms/MainProgram.h"
#include "app/forms/filevie.h"
#include "app/uBinList.h"
#include "app/forms/fmAddFolder.h"
#include "app/forms/uBinList.h"
#include "app/forms/uSaveFileDescription.h"
#include "buffer/forms/HDump.h"
#include "engine/Global.h"
#include "platform/Cp1251.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"

#include <QAction>
#include <QDockWidget>
#include <QTabWidget>
#include <QApplication>
#include <QFileDialog>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <functional>
#include <set>

namespace {

using testsupport::ReadFileBytes;
using testsupport::TempDir;
using testsupport::WriteFileBytes;

constexpr int ModalCeilingMs = 30000;
const char* const Chip24C02 = "Serial EEPROM\\I2C 8 bit address\\24C02";

std::string Pattern(size_t n, uint8_t seed)
{
    std::string bytes(n, '\0');
    for (size_t i = 0; i < n; ++i)
        bytes[i] = char(uint8_t(seed + i * 7));
    return bytes;
}

// The program on a copy of the data folder with a library:
//   Dumps\tv\dump.bin   256 bytes, note "chip= 24c02 " and a picture
//   Dumps\tv\plain.bin  16 bytes, no note
class MainDumpsTest : public ::testing::Test {
protected:
    testsupport::TAppStateGuard state_;
    TempDir dir_;
    std::string savedFolder_ = ProgramFolder();
    MessageBoxHandler previous_;
    std::vector<std::string> boxes_;
    std::deque<int> answers_;
    QObject guard_;
    TMainForm* form_ = nullptr;
    const std::string dump_ = Pattern(256, 3);

    void SetUp() override
    {
        std::filesystem::copy(testsupport::DataPath(""), dir_.path(), std::filesystem::copy_options::recursive);
        std::filesystem::create_directories(dir_.file("Dumps/tv"));
        WriteFileBytes(dir_.file("Dumps/tv/dump.bin"), dump_);
        WriteFileBytes(dir_.file("Dumps/tv/dump.txt"), "chip= 24c02 \r\nFrom a TV set\r\n");
        QImage picture(48, 32, QImage::Format_RGB32);
        picture.fill(Qt::darkCyan);
        ASSERT_TRUE(picture.save(QString::fromStdString(dir_.file("Dumps/tv/dump.bmp"))));
        WriteFileBytes(dir_.file("Dumps/tv/plain.bin"), Pattern(16, 9));
        SetProgramFolder(dir_.path());
        previous_ = SetMessageBoxHandler([this](const std::string& text, const std::string&, unsigned flags) {
            boxes_.push_back(Cp1251ToUtf8(text));
            if (!answers_.empty()) {
                const int answer = answers_.front();
                answers_.pop_front();
                return answer;
            }
            if ((flags & 0xF) != MB_OK)
                ADD_FAILURE() << "unexpected question: " << text;
            return (flags & 0xF) == MB_OK ? int{IDOK} : int{IDCANCEL};
        });
    }
    void TearDown() override
    {
        if (form_)
            FinishProgram();
        SetMessageBoxHandler(previous_);
        SetProgramFolder(savedFolder_);
    }
    void Start()
    {
        form_ = StartProgram({});
        form_->show();
    }

    // The next modal dialog of type T gets `act`; one still open after the
    // ceiling is rejected and fails the test.
    template <class T>
    void Answer(std::function<void(T&)> act)
    {
        QTimer::singleShot(0, &guard_, [this, act] {
            auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
            if (!dialog) {
                Answer<T>(act);
                return;
            }
            QTimer::singleShot(ModalCeilingMs, dialog, [dialog] {
                ADD_FAILURE() << "dialog left open";
                dialog->reject();
            });
            act(*dialog);
        });
    }
    void ChooseFile(const std::string& path, int filter)
    {
        Answer<QFileDialog>([path, filter](QFileDialog& d) {
            d.selectNameFilter(d.nameFilters()[filter - 1]);
            d.selectFile(QString::fromStdString(path));
            QMetaObject::invokeMethod(&d, "accept");
        });
    }
    std::string Buffer1(size_t n) const
    {
        const auto& data = form_->HexDump1->Buffer().Data;
        return std::string(data.begin(), data.begin() + std::min<size_t>(n, data.size()));
    }
    TFileWindow& Files() const { return *form_->Docks->FileWindow; }
};

TEST_F(MainDumpsTest, TheLibraryShowsANoteWithItsPictureAndLoadSwitchesTheChip)
{
    Start();
    ASSERT_TRUE(form_->HexDump1->Buffer().EditorMode);
    bool shown = false;
    Answer<TfmBinList>([&](TfmBinList& library) {
        library.TreeView1->SetCurrentFolderName("tv\\dump.bin");
        EXPECT_EQ(library.Memo1->toPlainText().toStdString(), "chip= 24c02 \nFrom a TV set");
        EXPECT_FALSE(library.Image1->isHidden());
        EXPECT_EQ(library.Image1->pixmap().size(), QSize(48, 32));
        EXPECT_TRUE(library.btLoad->isEnabled());
        SaveScreenshot(library, "MainDumpsTest_library");
        // A folder: nothing to load, no note.
        library.TreeView1->SetCurrentFolderName("tv");
        EXPECT_FALSE(library.btLoad->isEnabled());
        EXPECT_TRUE(library.Memo1->toPlainText().isEmpty());
        library.TreeView1->SetCurrentFolderName("tv\\dump.bin");
        shown = true;
        library.btLoad->click();
    });
    form_->Command("mmDumps")->trigger();
    ASSERT_TRUE(shown);
    EXPECT_EQ(CurrentChip, Chip24C02);
    EXPECT_FALSE(form_->HexDump1->Buffer().EditorMode);
    EXPECT_EQ(Buffer1(256), dump_);
    EXPECT_EQ(form_->WatchedFileName, dir_.path() + "\\Dumps\\tv\\dump.bin");
    // Shown with one kind of separator, however the library joined it.
    EXPECT_TRUE(form_->windowTitle().endsWith(QString::fromStdString(" - " + dir_.path() + "/Dumps/tv/dump.bin")))
        << form_->windowTitle().toStdString();
    EXPECT_FALSE(form_->HexDump1->Buffer().Modified);
}

// The tool bar's button is the menu command: enabled with it in
// editor-only mode, and it opens the same library.
TEST_F(MainDumpsTest, TheToolBarButtonOpensTheLibraryAsTheMenuDoes)
{
    Start();
    ASSERT_TRUE(form_->HexDump1->Buffer().EditorMode);
    EXPECT_TRUE(form_->Command("mmDumps")->isEnabled());
    EXPECT_TRUE(form_->Command("tbBinList")->isEnabled());
    bool shown = false;
    Answer<TfmBinList>([&](TfmBinList& library) {
        shown = true;
        library.SpeedButton1->click();
    });
    form_->Command("tbBinList")->trigger();
    EXPECT_TRUE(shown);
}

TEST_F(MainDumpsTest, LoadingOverAModifiedBufferAsksFirst)
{
    const struct {
        int answer;
        bool loaded;
    } cases[] = {{IDCANCEL, false}, {IDNO, true}};
    for (const auto& c : cases) {
        Start();
        Files().FileView1->SetCurrentFolderName("tv\\plain.bin");
        form_->HexDump1->Buffer().SetSize(4);
        form_->HexDump1->Buffer().Data[0] = 0x5A;
        form_->HexDump1->Buffer().Modified = true;
        answers_ = {c.answer};
        boxes_.clear();
        Files().N19Click();
        EXPECT_EQ(boxes_.size(), 1u);
        EXPECT_EQ(form_->HexDump1->Buffer().Data[0] == 0x5A, !c.loaded);
        EXPECT_EQ(form_->HexDump1->Buffer().Modified, !c.loaded);
        FinishProgram();
        form_ = nullptr;
        ResetAppState();
    }
}

TEST_F(MainDumpsTest, TheFileWindowLoadsADumpWithTheChipItsNoteNames)
{
    WriteFileBytes(dir_.file("TARKU.INI"), "[Parameters]\r\nChipName=Serial Flash\\SPI\\25F10\r\n[Dump]\r\nEditorMode=0\r\n");
    Start();
    ASSERT_EQ(CurrentChip, "Serial Flash\\SPI\\25F10");
    Files().FileView1->SetCurrentFolderName("tv\\dump.bin");
    EXPECT_EQ(Files().Memo1->toPlainText().toStdString(), "chip= 24c02 \nFrom a TV set");
    EXPECT_EQ(DumpFileName, dir_.path() + "\\Dumps\\tv\\dump.bin");
    Files().ppFileViewPopup();
    EXPECT_TRUE(Files().N19->isEnabled());
    Files().N19Click();
    EXPECT_EQ(CurrentChip, Chip24C02);
    EXPECT_EQ(Buffer1(256), dump_);
    EXPECT_TRUE(form_->windowTitle().endsWith(QString::fromStdString(" - " + dir_.path() + "/Dumps/tv/dump.bin")))
        << form_->windowTitle().toStdString();
}

TEST_F(MainDumpsTest, AddingWritesTheDumpAndItsNote)
{
    Start();
    form_->HexDump1->Buffer().SetSize(8);
    for (int i = 0; i < 8; ++i)
        form_->HexDump1->Buffer().Data[size_t(i)] = uint8_t(0xA0 + i);
    form_->HexDump1->Buffer().Modified = true;
    ChooseFile(dir_.file("Dumps/tv/added"), 2);
    bool described = false;
    Answer<TfmAddFileDescription>([&](TfmAddFileDescription& d) {
        EXPECT_EQ(d.Memo1->toPlainText().toStdString(), "CHIP=Editor");
        d.Memo1->appendPlainText(QStringLiteral("Added by the test"));
        SaveScreenshot(d, "MainDumpsTest_description");
        described = true;
        d.Button2->click();
    });
    form_->Command("Addfiletodumplibrary1")->trigger();
    ASSERT_TRUE(described);
    EXPECT_EQ(ReadFileBytes(dir_.file("Dumps/tv/added.bin")), "\xA0\xA1\xA2\xA3\xA4\xA5\xA6\xA7");
    EXPECT_EQ(ReadFileBytes(dir_.file("Dumps/tv/added.txt")), "CHIP=Editor\r\nAdded by the test\r\n");
    EXPECT_EQ(form_->WatchedFileName, dir_.file("Dumps/tv/added.bin"));
    EXPECT_FALSE(form_->HexDump1->Buffer().Modified);
}

TEST_F(MainDumpsTest, CancellingTheNoteWritesOnlyTheDump)
{
    Start();
    form_->HexDump1->Buffer().SetSize(2);
    ChooseFile(dir_.file("Dumps/second"), 1);
    Answer<TfmAddFileDescription>([](TfmAddFileDescription& d) { d.Button1->click(); });
    form_->Command("Addfiletodumplibrary1")->trigger();
    EXPECT_TRUE(FileExists(dir_.file("Dumps/second.hex")));
    EXPECT_FALSE(FileExists(dir_.file("Dumps/second.txt")));
}

TEST_F(MainDumpsTest, AddingNeverReplacesANoteOrATextFileUnasked)
{
    // The note of x.hex is x.txt, the note of x.bin beside it too; a dump
    // named after the user's readme.txt would write over it.
    const std::string binNote = "CHIP=24C02\r\nFrom a TV set\r\n";
    const std::string readme = "Read me first\r\n";
    const struct {
        const char* name;
        const char* existing; // nullptr: no text file of that name
        int answer;           // to the question; 0: none is asked
        bool saved;           // the note dialog's Save, else Cancel
        const char* shown;    // in the note dialog; nullptr: no dialog
        std::string after;    // the text file afterwards ("" when none)
    } cases[] = {
        {"new", nullptr, 0, true, "CHIP=Editor", "CHIP=Editor\r\nadded\r\n"},
        {"namesake kept", binNote.c_str(), 0, false, "CHIP=24C02\nFrom a TV set", binNote},
        {"namesake edited", binNote.c_str(), 0, true, "CHIP=24C02\nFrom a TV set",
         "CHIP=24C02\r\nFrom a TV set\r\nadded\r\n"},
        {"readme kept", readme.c_str(), IDNO, true, nullptr, readme},
        {"readme replaced", readme.c_str(), IDYES, true, "CHIP=Editor", "CHIP=Editor\r\nadded\r\n"},
    };
    WriteFileBytes(dir_.file("Dumps/x.bin"), dump_);
    Start();
    form_->HexDump1->Buffer().SetSize(2);
    for (const auto& c : cases) {
        std::filesystem::remove(dir_.file("Dumps/x.hex"));
        std::filesystem::remove(dir_.file("Dumps/x.txt"));
        if (c.existing)
            WriteFileBytes(dir_.file("Dumps/x.txt"), c.existing);
        if (c.answer)
            answers_ = {c.answer};
        boxes_.clear();
        ChooseFile(dir_.file("Dumps/x"), 1);
        std::string shown;
        bool described = false;
        if (c.shown)
            Answer<TfmAddFileDescription>([&](TfmAddFileDescription& d) {
                shown = d.Memo1->toPlainText().toStdString();
                described = true;
                if (!c.saved) {
                    d.Button1->click();
                    return;
                }
                d.Memo1->appendPlainText(QStringLiteral("added"));
                d.Button2->click();
            });
        form_->Command("Addfiletodumplibrary1")->trigger();
        EXPECT_TRUE(FileExists(dir_.file("Dumps/x.hex"))) << c.name;
        EXPECT_EQ(boxes_.size(), c.answer ? 1u : 0u) << c.name;
        if (c.answer && !boxes_.empty())
            EXPECT_NE(boxes_[0].find("x.txt\" is no note of the dump library"), std::string::npos) << boxes_[0];
        EXPECT_EQ(described, c.shown != nullptr) << c.name;
        if (c.shown)
            EXPECT_EQ(shown, c.shown) << c.name;
        EXPECT_EQ(FileExists(dir_.file("Dumps/x.txt")) ? ReadFileBytes(dir_.file("Dumps/x.txt")) : "", c.after)
            << c.name;
        EXPECT_TRUE(answers_.empty()) << c.name;
        answers_.clear();
    }
}

TEST_F(MainDumpsTest, CreateFolderKeepsEveryNameApartAndSaysWhatItRefuses)
{
    std::filesystem::create_directories(dir_.file("Dumps/tv/TV"));
    const std::string exists = "Папка с таким именем уже существует";
    const std::string bad = "Имя папки содержит недопустимые символы";
    const struct {
        const char* typed;
        std::string message; // empty: made
    } cases[] = {
        {"Ωmega", ""}, {"Σmega", ""}, {"中", ""},  {"😀", ""},      {"Ωmega", exists}, {"TV", exists},
        {"tv", ""},    {".", bad},    {"..", bad}, {"../up", bad}, {"Папка", ""},
    };
    Start();
    for (const auto& c : cases) {
        Files().FileView1->SetCurrentFolderName("tv");
        bool refused = false;
        Answer<TfmCreateFolder>([&](TfmCreateFolder& d) {
            d.Edit1->setText(QString::fromUtf8(c.typed));
            boxes_.clear();
            d.Button1->click();
            refused = d.isVisible();
            if (refused)
                d.reject();
        });
        Files().N24Click();
        EXPECT_EQ(refused, !c.message.empty()) << c.typed;
        EXPECT_EQ(boxes_, c.message.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.message})
            << c.typed;
        if (c.message.empty())
            EXPECT_TRUE(DirectoryExists(dir_.file("Dumps/tv/") + c.typed)) << c.typed;
    }
    // Each made folder is a folder of its own, shown in the tree.
    std::set<std::string> made;
    for (const auto& entry : std::filesystem::directory_iterator(dir_.file("Dumps/tv")))
        if (entry.is_directory())
            made.insert(entry.path().filename().string());
    EXPECT_EQ(made, (std::set<std::string>{"Ωmega", "Σmega", "中", "😀", "TV", "tv", "Папка"}));
    Files().FileView1->SetCurrentFolderName(Utf8ToCp1251("tv\\Σmega"));
    Files().FileView1->UpdateCurrentFolder();
    EXPECT_EQ(Files().FileView1->CurrentFolderName(), Utf8ToCp1251("tv\\Σmega"));
    EXPECT_FALSE(DirectoryExists(dir_.file("up")));
}

TEST_F(MainDumpsTest, CompareAndXorWithALibraryFileMarkAndModify)
{
    Start();
    TDumpBuffer& buffer = form_->HexDump1->Buffer();
    // 20 bytes over the 16-byte plain.bin: its first 16 equal but byte 3.
    buffer.SetSize(20);
    const std::string plain = Pattern(16, 9);
    for (int i = 0; i < 20; ++i)
        buffer.Data[size_t(i)] = i < 16 ? uint8_t(plain[size_t(i)]) : 0x42;
    buffer.Data[3] ^= 0x01;
    Files().FileView1->SetCurrentFolderName("tv\\plain.bin");
    boxes_.clear();
    Files().N21Click();
    ASSERT_EQ(boxes_.size(), 1u);
    // Byte 3 and the four bytes past the file's end (against 0xFF).
    EXPECT_EQ(boxes_[0], "Mismatch: 5");
    EXPECT_FALSE(buffer.MatchBits().Get(3));
    EXPECT_TRUE(buffer.MatchBits().Get(4));
    EXPECT_FALSE(buffer.Modified);

    Files().XOR2Click();
    EXPECT_TRUE(buffer.Modified);
    EXPECT_EQ(buffer.Data[3], 0x01);
    EXPECT_FALSE(buffer.MatchBits().Get(3));
    EXPECT_EQ(buffer.Data[0], 0x00);
    EXPECT_TRUE(buffer.MatchBits().Get(0));
    // Past the file's end nothing is inverted.
    EXPECT_EQ(buffer.Data[16], 0x42);
    EXPECT_EQ(buffer.Data[19], 0x42);
}

TEST_F(MainDumpsTest, AnUnreadableLibraryFileIsReported)
{
    Start();
    form_->HexDump1->Buffer().SetSize(4);
    WriteFileBytes(dir_.file("Dumps/tv/broken.hex"), ":0400000001020304FF\r\n");
    Files().FileView1->SetRootDir(Files().FileView1->RootDir());
    Files().FileView1->SetCurrentFolderName("tv\\broken.hex");
    ASSERT_EQ(DumpFileName, dir_.path() + "\\Dumps\\tv\\broken.hex");
    boxes_.clear();
    Files().XOR2Click();
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].rfind("Error open file \"", 0), 0u) << boxes_[0];
    EXPECT_FALSE(form_->HexDump1->Buffer().Modified);
}

TEST_F(MainDumpsTest, CreateFolderRefusesBadNamesAndMakesGoodOnes)
{
    Start();
    Files().FileView1->SetCurrentFolderName("tv");
    bool refused = false;
    Answer<TfmCreateFolder>([&](TfmCreateFolder& d) {
        EXPECT_FALSE(d.Button1->isEnabled());
        d.Edit1->setText(QStringLiteral("a/b"));
        EXPECT_TRUE(d.Button1->isEnabled());
        boxes_.clear();
        d.Button1->click();
        refused = d.isVisible() && boxes_.size() == 1;
        SaveScreenshot(d, "MainDumpsTest_create_folder");
        d.Edit1->setText(QStringLiteral("new one"));
        d.Button1->click();
    });
    Files().N24Click();
    EXPECT_TRUE(refused);
    EXPECT_TRUE(DirectoryExists(dir_.file("Dumps/tv/new one")));
}

TEST_F(MainDumpsTest, RussianTextsOfTheLibraryAndTheFileWindow)
{
    WriteFileBytes(dir_.file("TARKU.INI"), Utf8ToCp1251("[Parameters]\r\nLanguage=Russian(Русский)\r\n"));
    Start();
    TMainDock& docks = *form_->Docks;
    docks.pnFileView->setFloating(false);
    form_->addDockWidget(Qt::LeftDockWidgetArea, docks.pnFileView);
    docks.pnFileView->show();
    docks.CalcPanel->setFloating(false);
    form_->addDockWidget(Qt::RightDockWidgetArea, docks.CalcPanel);
    docks.CalcPanel->show();
    Files().FileView1->SetCurrentFolderName("tv\\dump.bin");
    EXPECT_EQ(Files().PageControl1->tabText(0).toStdString(), "Файлы");
    EXPECT_EQ(Files().N17->text().toStdString(), "Сохранить файл в эту папку");
    SaveScreenshot(*form_, "MainDumpsTest_docked_ru");
    bool shown = false;
    Answer<TfmBinList>([&](TfmBinList& library) {
        EXPECT_EQ(library.windowTitle().toStdString(), "Библиотека дампов");
        library.TreeView1->SetCurrentFolderName("tv\\dump.bin");
        library.PageControl1->setCurrentIndex(1);
        SaveScreenshot(library, "MainDumpsTest_library_picture_ru");
        shown = true;
        library.SpeedButton1->click();
    });
    form_->Command("mmDumps")->trigger();
    EXPECT_TRUE(shown);
    // Closed without a choice: nothing is loaded.
    EXPECT_TRUE(form_->HexDump1->Buffer().EditorMode);
}

} // namespace
