// Chip and dump pictures in the running program: the module's picture in
// the file window's Info tab, the picture viewer from a right click on the
// chip label, from the chip selection and from the dumps library, and the
// file window's note saved with its Save button. The real start-up on a
// copy of the program folder; modal windows are answered by a timer with a
// ceiling that fails the test instead of hanging it.
#include "MainWindowTest.h"
#include "Screenshot.h"
#include "app/forms/HotLabel.h"
#include "app/forms/MainDock.h"
#include "app/forms/MainFileView.h"
#include "app/forms/filevie.h"
#include "app/forms/uBinList.h"
#include "calc/forms/ShowImage.h"
#include "engine/Global.h"

#include <QDockWidget>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>

#include <set>

namespace {

const char* const Entry24C02 = "Serial EEPROM\\I2C 8 bit address\\24C02";
const char* const Entry25F10 = "Serial Flash\\SPI\\25F10";

// A chip outline with its pins, in one colour so a test can tell which
// file shows.
void WriteChipPicture(const std::string& path, QSize size, Qt::GlobalColor colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    const QRect body(size.width() / 4, size.height() / 6, size.width() / 2, size.height() * 2 / 3);
    p.fillRect(body, colour);
    p.setPen(Qt::black);
    for (int pin = 0; pin < 4; ++pin) {
        const int y = body.top() + (pin * 2 + 1) * body.height() / 8;
        p.drawLine(body.left() - 12, y, body.left(), y);
        p.drawLine(body.right(), y, body.right() + 12, y);
    }
    p.end();
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    ASSERT_TRUE(image.save(QString::fromStdString(path), "BMP")) << path;
}

QRgb Centre(const QLabel& image)
{
    const QImage shown = image.pixmap().toImage();
    return shown.pixel(shown.width() / 2, shown.height() / 2);
}

class MainPictureTest : public MainTest {
protected:
    // The module file of these chips names `picture` (nothing: no entry).
    void SetModulePicture(const char* module, const std::string& picture)
    {
        const std::string path = dir_.file(std::string("scripts/") + module);
        std::string text = ReadFileBytes(path);
        const size_t old = text.find("PICTURE = ");
        if (old != std::string::npos)
            text.erase(old, text.find('\n', old) + 1 - old);
        if (!picture.empty())
            text.insert(text.find("VOLTAGE"), "PICTURE = \"" + picture + "\";\r\n");
        WriteFileBytes(path, text);
    }
    void StartWith(const char* entry, const std::string& settings = "")
    {
        WriteFileBytes(dir_.file("TARKU.INI"), "[Parameters]\r\nChipName=" + std::string(entry) + "\r\n" + settings +
                                                   "[Dump]\r\nEditorMode=0\r\n");
        Start();
    }
    TFileWindow& Files() const { return *form_->Docks->FileWindow; }
    void DockFileWindowOnInfo()
    {
        TMainDock& docks = *form_->Docks;
        docks.pnFileView->setFloating(false);
        form_->addDockWidget(Qt::LeftDockWidgetArea, docks.pnFileView);
        docks.pnFileView->show();
        Files().PageControl1->setCurrentWidget(Files().TabSheet2);
        // The picture panel's height settles once the layout has run.
        for (int round = 0; round < 3; ++round)
            QApplication::processEvents();
    }
    void RightClickChipLabel() { QTest::mouseClick(form_->hlChipName, Qt::RightButton); }
    bool ViewerShows() const { return fmShowImage && fmShowImage->isVisible(); }

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
            ++dialogs_;
            QTimer::singleShot(ModalCeilingMs, dialog, [dialog] {
                ADD_FAILURE() << "dialog left open";
                dialog->reject();
            });
            act(*dialog);
        });
    }
};

TEST_F(MainPictureTest, TheModulesPictureAndInformationFillTheInfoTab)
{
    WriteChipPicture(dir_.file("bmps/24c02.bmp"), {120, 90}, Qt::darkGreen);
    WriteFileBytes(dir_.file("bmps/broken.bmp"), "BM this is no picture");
    SetModulePicture("24C02.chl", "24c02.bmp");
    StartWith(Entry24C02);
    DockFileWindowOnInfo();
    TFileWindow& files = Files();
    ASSERT_TRUE(files.pnInfo->isVisible());
    EXPECT_EQ(files.Image2->pixmap().size(), QSize(120, 90));
    EXPECT_EQ(Centre(*files.Image2), QColor(Qt::darkGreen).rgb());
    // As high as the picture, centred in a wider panel.
    EXPECT_EQ(files.pnInfo->viewport()->height(), 90);
    ASSERT_GT(files.pnInfo->viewport()->width(), 120);
    EXPECT_EQ(files.Image2->x(), (files.pnInfo->viewport()->width() - 120) / 2);
    EXPECT_EQ(files.Image2->y(), 0);
    EXPECT_TRUE(files.Memo2->toPlainText().startsWith("I2C serial EEPROM 24C02, 256 bytes, pages of 8\n"));
    SaveScreenshot(*form_, "MainPictureTest_info_tab");

    // Each load shows its module's picture: missing, none, a document and an
    // undecodable file hide it or leave it empty.
    const struct {
        const char* Picture;
        bool Shown;
    } cases[] = {{"missing.bmp", false}, {"", false}, {"!24c02.pdf", false}, {"broken.bmp", true},
                 {"24c02.bmp", true}};
    for (const auto& c : cases) {
        SetModulePicture("24C02.chl", c.Picture);
        form_->LoadModule(Entry24C02);
        QApplication::processEvents();
        EXPECT_EQ(files.pnInfo->isVisible(), c.Shown) << c.Picture;
        EXPECT_EQ(files.Image2->pixmap().isNull(), std::string(c.Picture) != "24c02.bmp") << c.Picture;
        EXPECT_TRUE(files.Memo2->isVisible()) << c.Picture;
    }

    // The other module's information replaces the first one's.
    form_->LoadModule(Entry25F10);
    EXPECT_TRUE(files.Memo2->toPlainText().startsWith("SPI NOR flash 25F10, 128 KiB\nJEDEC ID 54 40 11"));
    EXPECT_FALSE(files.pnInfo->isVisible());
    EXPECT_TRUE(boxes_.empty());
}

TEST_F(MainPictureTest, AWidePictureStaysAtTheLeftAndScrolls)
{
    WriteChipPicture(dir_.file("bmps/wide.bmp"), {1600, 60}, Qt::darkBlue);
    SetModulePicture("24C02.chl", "wide.bmp");
    StartWith(Entry24C02);
    DockFileWindowOnInfo();
    TFileWindow& files = Files();
    EXPECT_EQ(files.Image2->x(), 0);
    EXPECT_EQ(files.pnInfo->viewport()->height(), 60);
    EXPECT_TRUE(files.pnInfo->horizontalScrollBar()->isVisible());
}

TEST_F(MainPictureTest, TheChipLabelsRightButtonShowsThePictureInTheViewer)
{
    WriteChipPicture(dir_.file("bmps/24c02.bmp"), {160, 120}, Qt::darkRed);
    WriteFileBytes(dir_.file("bmps/broken.bmp"), "BM this is no picture");
    StartWith(Entry24C02);
    const struct {
        const char* Picture;
        bool Shown;
        bool Empty;
    } cases[] = {{"", false, false},          {"missing.bmp", false, false}, {"!24c02.bmp", false, false},
                 {"broken.bmp", true, true}, {"24c02.bmp", true, false}};
    for (const auto& c : cases) {
        if (fmShowImage)
            fmShowImage->close();
        // The label reads the module file when it is clicked.
        SetModulePicture("24C02.chl", c.Picture);
        RightClickChipLabel();
        ASSERT_EQ(ViewerShows(), c.Shown) << c.Picture;
        if (!c.Shown)
            continue;
        EXPECT_EQ(fmShowImage->windowTitle(), "24C02");
        EXPECT_FALSE(fmShowImage->EditMode);
        EXPECT_FALSE(fmShowImage->SpeedButton2->isVisible()) << "chip pictures are not saved";
        EXPECT_EQ(fmShowImage->Image1->pixmap().isNull(), c.Empty);
    }
    EXPECT_EQ(fmShowImage->Image1->pixmap().size(), QSize(160, 120));
    EXPECT_EQ(Centre(*fmShowImage->Image1), QColor(Qt::darkRed).rgb());
    SaveScreenshot(*fmShowImage, "MainPictureTest_viewer");
    // A second right click reuses the open viewer; Close closes it.
    RightClickChipLabel();
    EXPECT_TRUE(ViewerShows());
    QTest::mouseClick(fmShowImage->SpeedButton1, Qt::LeftButton);
    EXPECT_FALSE(ViewerShows());
    EXPECT_TRUE(boxes_.empty());
}

TEST_F(MainPictureTest, ChoosingAnotherChipMovesAnOpenViewerToItsPicture)
{
    WriteChipPicture(dir_.file("bmps/24c02.bmp"), {100, 80}, Qt::darkRed);
    WriteChipPicture(dir_.file("bmps/25f10.bmp"), {100, 80}, Qt::darkYellow);
    SetModulePicture("24C02.chl", "24c02.bmp");
    SetModulePicture("25F10.chl", "25f10.bmp");
    StartWith(Entry24C02);
    RightClickChipLabel();
    ASSERT_TRUE(ViewerShows());

    AnswerSelection(Entry25F10);
    QTest::mouseClick(form_->hlChipName, Qt::LeftButton);
    ASSERT_EQ(CurrentChip, Entry25F10);
    ASSERT_TRUE(ViewerShows());
    EXPECT_EQ(fmShowImage->windowTitle(), "25F10");
    EXPECT_EQ(Centre(*fmShowImage->Image1), QColor(Qt::darkYellow).rgb());

    // A chip without a picture closes the viewer; a closed one stays closed.
    SetModulePicture("24C02.chl", "");
    AnswerSelection(Entry24C02);
    QTest::mouseClick(form_->hlChipName, Qt::LeftButton);
    ASSERT_EQ(CurrentChip, Entry24C02);
    EXPECT_FALSE(ViewerShows());
    AnswerSelection(Entry25F10);
    QTest::mouseClick(form_->hlChipName, Qt::LeftButton);
    ASSERT_EQ(CurrentChip, Entry25F10);
    EXPECT_FALSE(ViewerShows());
    EXPECT_EQ(dialogs_, 3);
}

TEST_F(MainPictureTest, TheSelectionDialogsPictureOpensTheViewerOverTheDialog)
{
    WriteChipPicture(dir_.file("bmps/24c02.bmp"), {100, 80}, Qt::darkCyan);
    SetModulePicture("24C02.chl", "24c02.bmp");
    Start();
    bool shown = false;
    onSelection_ = [&](TSelectForm& dialog) {
        dialog.PreselectEntry(Entry24C02);
        dialog.PageControl1->setCurrentWidget(dialog.TabSheet2);
        QApplication::processEvents();
        QTest::mouseDClick(dialog.Image1, Qt::LeftButton);
        ASSERT_TRUE(ViewerShows());
        // The modal dialog blocks every window but its own.
        EXPECT_EQ(fmShowImage->parentWidget(), &dialog);
        EXPECT_EQ(fmShowImage->windowTitle(), "24C02");
        EXPECT_FALSE(fmShowImage->SpeedButton2->isVisible());
        EXPECT_EQ(Centre(*fmShowImage->Image1), QColor(Qt::darkCyan).rgb());
        shown = true;
    };
    AnswerSelection("");
    Trigger("tbSelectChip");
    EXPECT_TRUE(shown);
    // The main window takes the viewer back for its own pictures.
    form_->LoadModule(Entry24C02);
    RightClickChipLabel();
    ASSERT_TRUE(ViewerShows());
    EXPECT_EQ(fmShowImage->parentWidget(), form_);
}

TEST_F(MainPictureTest, TheLibrarysPictureOpensTheViewerOverTheLibrary)
{
    std::filesystem::create_directories(dir_.file("Dumps/tv"));
    WriteFileBytes(dir_.file("Dumps/tv/dump.bin"), Pattern(16));
    WriteChipPicture(dir_.file("Dumps/tv/dump.bmp"), {140, 100}, Qt::darkMagenta);
    WriteFileBytes(dir_.file("Dumps/tv/plain.bin"), Pattern(16));
    SetModulePicture("24C02.chl", "24c02.bmp");
    WriteChipPicture(dir_.file("bmps/24c02.bmp"), {100, 80}, Qt::darkRed);
    StartWith(Entry24C02);
    bool shown = false;
    Answer<TfmBinList>([&](TfmBinList& library) {
        library.TreeView1->SetCurrentFolderName("tv\\dump.bin");
        library.PageControl1->setCurrentIndex(1);
        QApplication::processEvents();
        QTest::mouseDClick(library.Image1, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
        ASSERT_TRUE(ViewerShows());
        EXPECT_EQ(fmShowImage->parentWidget(), &library);
        EXPECT_EQ(fmShowImage->windowTitle(), "dump.bin");
        EXPECT_FALSE(fmShowImage->SpeedButton2->isVisible());
        EXPECT_EQ(Centre(*fmShowImage->Image1), QColor(Qt::darkMagenta).rgb());
        SaveScreenshot(*fmShowImage, "MainPictureTest_library_viewer");
        // A dump without a picture has nothing to show.
        fmShowImage->close();
        library.TreeView1->SetCurrentFolderName("tv\\plain.bin");
        QTest::mouseDClick(library.Image1, Qt::LeftButton);
        EXPECT_FALSE(ViewerShows());
        library.TreeView1->SetCurrentFolderName("tv\\dump.bin");
        QTest::mouseDClick(library.Image1, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
        EXPECT_TRUE(ViewerShows());
        shown = true;
        library.SpeedButton1->click();
    });
    form_->Command("mmDumps")->trigger();
    ASSERT_TRUE(shown);
    // The viewer went with the library window; the chip label makes another.
    RightClickChipLabel();
    ASSERT_TRUE(ViewerShows());
    EXPECT_EQ(fmShowImage->parentWidget(), form_);
    EXPECT_EQ(Centre(*fmShowImage->Image1), QColor(Qt::darkRed).rgb());
}

TEST_F(MainPictureTest, TheFileWindowsSaveWritesTheSelectedDumpsNote)
{
    std::filesystem::create_directories(dir_.file("Dumps/tv"));
    WriteFileBytes(dir_.file("Dumps/tv/dump.bin"), Pattern(16));
    WriteFileBytes(dir_.file("Dumps/tv/dump.txt"), "CHIP=24C02\r\nold\r\n");
    WriteFileBytes(dir_.file("Dumps/tv/plain.bin"), Pattern(8));
    Start();
    DockFileWindowOnInfo();
    TFileWindow& files = Files();
    files.PageControl1->setCurrentWidget(files.TabSheet1);
    QApplication::processEvents();
    const struct {
        const char* Dump;  // selected in the tree; nothing: no selection
        const char* Typed;
        const char* Note;  // the note file afterwards; nothing: none is written
        std::string Written;
    } cases[] = {
        {"tv\\dump.bin", " new", "Dumps/tv/dump.txt", "CHIP=24C02\r\nold new\r\n"},
        {"tv\\plain.bin", "CHIP=25F10", "Dumps/tv/plain.txt", "CHIP=25F10\r\n"},
        {"", "lost", "", ""},
    };
    const auto files_in_library = [this] {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(dir_.file("Dumps")))
            names.insert(entry.path().string());
        return names;
    };
    for (const auto& c : cases) {
        if (*c.Dump)
            files.FileView1->SetCurrentFolderName(c.Dump);
        else {
            files.FileView1->setCurrentItem(nullptr);
            files.ShowDumpDescription("");
        }
        EXPECT_FALSE(files.Button1->isEnabled()) << c.Dump;
        files.Memo1->moveCursor(QTextCursor::End);
        QTest::keyClicks(files.Memo1, c.Typed);
        ASSERT_TRUE(files.Button1->isEnabled()) << c.Dump;
        const auto before = files_in_library();
        QTest::mouseClick(files.Button1, Qt::LeftButton);
        if (!*c.Note) {
            EXPECT_EQ(files_in_library(), before);
            continue;
        }
        EXPECT_EQ(ReadFileBytes(dir_.file(c.Note)), c.Written) << c.Dump;
        EXPECT_FALSE(files.Button1->isEnabled()) << c.Dump;
    }
    EXPECT_TRUE(boxes_.empty());
}

// The Info tab and the viewer in Russian, for a person to look at.
TEST_F(MainPictureTest, RussianInfoTabAndViewer)
{
    WriteChipPicture(dir_.file("bmps/24c02.bmp"), {120, 90}, Qt::darkGreen);
    SetModulePicture("24C02.chl", "24c02.bmp");
    StartWith(Entry24C02, Utf8ToCp1251("Language=Russian(Русский)\r\n"));
    DockFileWindowOnInfo();
    EXPECT_EQ(Files().PageControl1->tabText(1).toStdString(), "Описание");
    SaveScreenshot(*form_, "MainPictureTest_info_tab_ru");
    RightClickChipLabel();
    ASSERT_TRUE(ViewerShows());
    EXPECT_EQ(fmShowImage->SpeedButton1->text().toStdString(), "&Закрыть");
    SaveScreenshot(*fmShowImage, "MainPictureTest_viewer_ru");
}

} // namespace
