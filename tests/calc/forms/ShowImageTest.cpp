// The picture viewer (which file it shows, where, Ctrl+click replacing and
// saving a calculator's picture), the sort-mode dialog and the progress
// window of the index rebuild.
#include "ModalAnswer.h"
#include "Screenshot.h"
#include "TestSupport.h"
#include "calc/forms/Msg.h"
#include "calc/forms/ShowImage.h"
#include "calc/forms/SortMode.h"
#include "calc/uCreateCalcIndex.h"
#include "engine/Global.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"

#include <QApplication>
#include <QFileDialog>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <filesystem>

namespace {

namespace fs = std::filesystem;

// A picture of the given size in one colour, so a test can tell which file shows.
void WritePicture(const std::string& path, int width, int height, Qt::GlobalColor colour, const char* format)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    QPainter p(&image);
    p.setPen(Qt::black);
    p.drawRect(0, 0, width - 1, height - 1);
    p.drawText(image.rect(), Qt::AlignCenter, QStringLiteral("Checksum"));
    p.end();
    ASSERT_TRUE(image.save(QString::fromStdString(path), format)) << path;
}

QRgb Shown(const TfmShowImage& viewer)
{
    return viewer.Image1->pixmap().toImage().pixel(viewer.Image1->width() / 2, 3);
}

// JPEG keeps colours only roughly.
bool Near(QRgb a, QRgb b)
{
    return std::abs(qRed(a) - qRed(b)) < 24 && std::abs(qGreen(a) - qGreen(b)) < 24 && std::abs(qBlue(a) - qBlue(b)) < 24;
}

class ShowImageTest : public ::testing::Test {
protected:
    testsupport::TempDir dir_;
    std::string savedFolder_ = ProgramFolder();
    std::string savedLastCalc_ = LastCalc;
    TfmShowImage viewer_;

    void SetUp() override { SetProgramFolder(dir_.path()); }
    void TearDown() override
    {
        viewer_.close();
        LastCalc = savedLastCalc_;
        SetProgramFolder(savedFolder_);
    }
    void Show(const std::string& path, bool editMode)
    {
        viewer_.EditMode = editMode;
        viewer_.PicturePath = path;
        viewer_.Title = "Tools Crc";
        viewer_.ShowPicture();
    }
    // Plays Ctrl and a left click on the picture; the file dialog picks `file`.
    void CtrlClick(const std::string& file, bool expectDialog)
    {
        bool dialogSeen = false;
        QTimer answer;
        QObject::connect(&answer, &QTimer::timeout, [&] {
            if (auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
                dialogSeen = true;
                d->selectFile(QString::fromStdString(file));
                QMetaObject::invokeMethod(d, "accept");
            }
        });
        answer.start(10);
        QTimer ceiling;
        ceiling.setSingleShot(true);
        QObject::connect(&ceiling, &QTimer::timeout, [] {
            if (QWidget* w = QApplication::activeModalWidget())
                w->close();
        });
        ceiling.start(30000);
        QTest::mouseClick(viewer_.ScrollBox1->viewport(), Qt::LeftButton, Qt::ControlModifier, QPoint(5, 5));
        EXPECT_EQ(dialogSeen, expectDialog);
    }
};

TEST_F(ShowImageTest, FileIsThePathAsGivenElseBitmapElseJpeg)
{
    const std::string base = dir_.file("pic");
    struct Case {
        std::vector<std::pair<const char*, Qt::GlobalColor>> files;
        bool shown;
        Qt::GlobalColor colour;
    } cases[] = {
        {{}, false, Qt::white},
        {{{".jpg", Qt::blue}}, true, Qt::blue},
        {{{".jpg", Qt::blue}, {".bmp", Qt::red}}, true, Qt::red},
        {{{"", Qt::green}, {".bmp", Qt::red}}, true, Qt::green},
    };
    for (const Case& c : cases) {
        for (const char* ext : {"", ".bmp", ".jpg"})
            fs::remove(base + ext);
        for (const auto& [ext, colour] : c.files)
            WritePicture(base + ext, 40, 30, colour, std::string(ext) == ".jpg" ? "JPG" : "BMP");
        Show(base, false);
        ASSERT_EQ(viewer_.Image1->isVisible(), c.shown);
        if (c.shown)
            EXPECT_TRUE(Near(Shown(viewer_), QColor(c.colour).rgb())) << QColor(Shown(viewer_)).name().toStdString();
        EXPECT_EQ(viewer_.windowTitle(), "Tools Crc");
    }
}

TEST_F(ShowImageTest, SmallPictureIsCentredALargeOneStartsAtTheCorner)
{
    WritePicture(dir_.file("small.bmp"), 40, 30, Qt::red, "BMP");
    WritePicture(dir_.file("large.bmp"), 1500, 1200, Qt::red, "BMP");
    Show(dir_.file("small.bmp"), false);
    const QSize box = viewer_.ScrollBox1->viewport()->size();
    EXPECT_EQ(viewer_.Image1->pos(), QPoint((box.width() - 40) / 2, (box.height() - 30) / 2));
    Show(dir_.file("large.bmp"), false);
    EXPECT_EQ(viewer_.Image1->pos(), QPoint(0, 0));
    EXPECT_GT(viewer_.ScrollBox1->horizontalScrollBar()->maximum(), 0);
}

TEST_F(ShowImageTest, InViewModeSaveIsHiddenAndCtrlClickDoesNothing)
{
    WritePicture(dir_.file("chip.bmp"), 40, 30, Qt::red, "BMP");
    WritePicture(dir_.file("other.bmp"), 40, 30, Qt::blue, "BMP");
    Show(dir_.file("chip.bmp"), false);
    EXPECT_FALSE(viewer_.SpeedButton2->isVisible());
    CtrlClick(dir_.file("other.bmp"), false);
    EXPECT_EQ(viewer_.PicturePath, dir_.file("chip.bmp"));
}

TEST_F(ShowImageTest, CtrlClickReplacesThePictureAndSaveStoresItForLastCalc)
{
    LastCalc = "Tools\\CRC v1.2";
    fs::create_directories(dir_.file("Calculators/Pictures"));
    WritePicture(dir_.file("Calculators/Pictures/Tools CRC v1.2.jpg"), 40, 30, Qt::blue, "JPG");
    WritePicture(dir_.file("picked.bmp"), 60, 50, Qt::red, "BMP");
    Show(ProgramFolder() + "\\Calculators\\Pictures\\Tools CRC v1.2", true);
    ASSERT_TRUE(viewer_.SpeedButton2->isVisible());
    EXPECT_FALSE(viewer_.SpeedButton2->isEnabled());
    CtrlClick(dir_.file("picked.bmp"), true);
    EXPECT_EQ(viewer_.Image1->width(), 60);
    ASSERT_TRUE(viewer_.SpeedButton2->isEnabled());
    SaveScreenshot(viewer_, "calc_picture_viewer");
    QTest::mouseClick(viewer_.SpeedButton2, Qt::LeftButton);
    EXPECT_FALSE(viewer_.SpeedButton2->isEnabled());
    EXPECT_TRUE(fs::exists(dir_.file("Calculators/Pictures/Tools CRC v1.2.bmp")));
    // The bitmap is the one shown: the JPEG picture stays beside it.
    EXPECT_TRUE(fs::exists(dir_.file("Calculators/Pictures/Tools CRC v1.2.jpg")));
}

TEST_F(ShowImageTest, FailedSaveIsShownAndSaveStaysEnabled)
{
    LastCalc = "Tools\\Crc";
    WritePicture(dir_.file("picked.bmp"), 60, 50, Qt::red, "BMP");
    Show(dir_.file("nothing"), true);
    CtrlClick(dir_.file("picked.bmp"), true);
    fs::remove(dir_.file("picked.bmp"));
    std::string shown;
    const MessageBoxHandler previous = SetMessageBoxHandler([&](const std::string& text, const std::string&, unsigned) {
        shown = text;
        return int{IDOK};
    });
    QTest::mouseClick(viewer_.SpeedButton2, Qt::LeftButton);
    SetMessageBoxHandler(previous);
    EXPECT_NE(shown, "");
    EXPECT_TRUE(viewer_.SpeedButton2->isEnabled());
}

TEST(SortModeTest, FirstShowPicksFoldersFirstAndLaterShowsKeepTheChoice)
{
    TfmSortMode dialog;
    int result = testsupport::RunModalAnswered(dialog, [&] {
        EXPECT_TRUE(dialog.RadioButton1->isChecked());
        SaveScreenshot(dialog, "calc_sort_mode");
        dialog.RadioButton2->setChecked(true);
        dialog.SpeedButton1->click();
    });
    EXPECT_EQ(result, 1);
    result = testsupport::RunModalAnswered(dialog, [&] {
        EXPECT_TRUE(dialog.RadioButton2->isChecked());
        EXPECT_FALSE(dialog.RadioButton1->isChecked());
        dialog.SpeedButton2->click();
    });
    EXPECT_EQ(result, 2);
}

TEST(MsgTest, ShowsTheRebuildStepsOnlyWhileItShows)
{
    testsupport::TempDir dir;
    const std::string saved = ProgramFolder();
    SetProgramFolder(dir.path());
    TfmMsg progress;
    progress.show();
    ASSERT_TRUE(CreateCalculatorsIndex());
    EXPECT_EQ(progress.Panel1->text(), "Sort index...");
    EXPECT_EQ(progress.Panel2->text(), "Root");
    SaveScreenshot(progress, "calc_index_progress");
    progress.hide();
    progress.Panel1->clear();
    ASSERT_TRUE(CreateCalculatorsIndex());
    EXPECT_EQ(progress.Panel1->text(), "");
    SetProgramFolder(saved);
}

} // namespace
