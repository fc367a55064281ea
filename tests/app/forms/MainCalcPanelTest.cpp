// The calculator panel with the real program: the index made at start-up,
// choosing folders and calculators, descriptions saved into the script,
// calculators opened in the panel or in their own window, Apply, the
// picture viewer, and the index refresh with its sort-mode question.
#include "AppStateGuard.h"
#include "Screenshot.h"
#include "TestSupport.h"
#include "app/forms/Main.h"
#include "app/forms/MainCalc.h"
#include "app/forms/MainDock.h"
#include "app/forms/MainProgram.h"
#include "buffer/forms/HDump.h"
#include "calc/forms/DevView.h"
#include "calc/forms/ShowImage.h"
#include "calc/forms/SortMode.h"
#include "calc/forms/Templ.h"
#include "calc/uCalcCompiler.h"
#include "calc/uCreateCalcIndex.h"
#include "engine/Global.h"
#include "platform/Cp1251.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "skin/forms/sTreeView.h"

#include <QDockWidget>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidgetItem>
#include <gtest/gtest.h>

#include <filesystem>

namespace {

namespace fs = std::filesystem;
using testsupport::ReadFileBytes;
using testsupport::WriteFileBytes;

constexpr const char* Entry24C02 = "Serial EEPROM\\I2C 8 bit address\\24C02";
// Only a window nobody closes waits this long.
constexpr int CeilingMs = 30000;

class MainCalcPanelTest : public ::testing::Test {
protected:
    testsupport::TAppStateGuard state_;
    testsupport::TempDir dir_;
    std::string savedFolder_ = ProgramFolder();
    MessageBoxHandler previous_;
    std::vector<std::string> boxes_;
    QObject guard_;
    TMainForm* form_ = nullptr;

    void SetUp() override
    {
        fs::copy(testsupport::DataPath(""), dir_.path(), fs::copy_options::recursive);
        // The tree holds this test's calculators alone, not the shipped ones.
        fs::remove_all(dir_.file("Calculators"));
        fs::create_directories(dir_.file("Calculators/Memory"));
        fs::copy_file(testsupport::FixturePath("calc/checksum.cal"), dir_.file("Calculators/Memory/checksum.cal"));
        fs::copy_file(testsupport::FixturePath("calc/writer.cal"), dir_.file("Calculators/writer.cal"));
        SetProgramFolder(dir_.path());
        previous_ = SetMessageBoxHandler([this](const std::string& text, const std::string&, unsigned flags) {
            boxes_.push_back(text);
            return (flags & 0xF) == MB_OK ? int{IDOK} : int{IDNO};
        });
    }
    void TearDown() override
    {
        if (form_)
            FinishProgram();
        FoldersFirst = false;
        SetMessageBoxHandler(previous_);
        SetProgramFolder(savedFolder_);
    }
    void Start(const std::string& ini = "")
    {
        if (!ini.empty())
            WriteFileBytes(dir_.file("TARKU.INI"), ini);
        form_ = StartProgram({});
        form_->show();
    }
    TCalcPanel& Panel() const { return *form_->CalcPanel; }
    void Choose(const std::string& path) const
    {
        Panel().CalcTree->SetCurrentItem(path);
        ASSERT_EQ(Panel().CalcTree->CurrentItem(), path);
    }
    // Refresh, with the sort-mode dialog answered: `foldersFirst`, or
    // Cancel when absent.
    void Refresh(std::optional<bool> foldersFirst)
    {
        bool answered = false;
        QTimer answer;
        QObject::connect(&answer, &QTimer::timeout, [&] {
            auto* dialog = dynamic_cast<TfmSortMode*>(QApplication::activeModalWidget());
            if (!dialog || answered)
                return;
            answered = true;
            if (!foldersFirst) {
                dialog->SpeedButton2->click();
                return;
            }
            (*foldersFirst ? dialog->RadioButton1 : dialog->RadioButton2)->setChecked(true);
            dialog->SpeedButton1->click();
        });
        answer.start(5);
        QTimer::singleShot(CeilingMs, &guard_, [] {
            if (QWidget* w = QApplication::activeModalWidget()) {
                ADD_FAILURE() << "sort-mode dialog left open";
                w->close();
            }
        });
        Panel().RefreshCalculatorIndex();
        EXPECT_TRUE(answered);
    }
};

TEST_F(MainCalcPanelTest, StartupBuildsTheIndexAndSelectsLastCalc)
{
    Start("[Parameters]\r\nLastCalc=Tests\\Writer\r\nBuiltInCalcH=150\r\n");
    EXPECT_TRUE(fs::exists(dir_.file("Calculators/index.txt")));
    EXPECT_EQ(ReadFileBytes(dir_.file("Calculators/index.ini")),
              "[Root]\r\nMemory=\\\r\nTests=\\\r\n[Memory]\r\nChecksum=\r\n[Tests]\r\nWriter=\r\n");
    EXPECT_EQ(Panel().CalcTree->CurrentItem(), "Tests\\Writer");
    EXPECT_FALSE(Panel().isVisible());
    EXPECT_TRUE(boxes_.empty());
}

TEST_F(MainCalcPanelTest, StartupRebuildsAPairThatPartedAndKeepsOneThatAgrees)
{
    const std::string built = "[Root]\r\nMemory=\\\r\nTests=\\\r\n[Memory]\r\nChecksum=\r\n[Tests]\r\nWriter=\r\n";
    const std::string txt = "[Memory\\Checksum]\r\nFile=Memory\\checksum.cal\r\n[Tests\\Writer]\r\nFile=writer.cal\r\n";
    struct Case {
        const char* name;
        std::string txt;
        std::string ini;
        std::string iniAfter;
    } cases[] = {
        {"new index.txt beside the old index.ini", txt, "[Root]\r\nMemory=\\\r\n[Memory]\r\nChecksum=\r\n", built},
        {"old index.txt beside a new index.ini", "[Memory\\Checksum]\r\nFile=Memory\\checksum.cal\r\n", built, built},
        {"a pair that agrees, folders in another order", txt,
         "[Root]\r\nTests=\\\r\nMemory=\\\r\n[Tests]\r\nWriter=\r\n[Memory]\r\nChecksum=\r\n",
         "[Root]\r\nTests=\\\r\nMemory=\\\r\n[Tests]\r\nWriter=\r\n[Memory]\r\nChecksum=\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFileBytes(dir_.file("Calculators/index.txt"), c.txt);
        WriteFileBytes(dir_.file("Calculators/index.ini"), c.ini);
        Start();
        EXPECT_EQ(ReadFileBytes(dir_.file("Calculators/index.ini")), c.iniAfter);
        EXPECT_EQ(ReadFileBytes(dir_.file("Calculators/index.txt")), txt);
        Choose("Tests\\Writer");
        FinishProgram();
        form_ = nullptr;
    }
    EXPECT_TRUE(boxes_.empty());
}

TEST_F(MainCalcPanelTest, ClosingKeepsTheSizesOfAPanelThatShowed)
{
    for (bool show : {false, true}) {
        SCOPED_TRACE(show);
        Start("[Parameters]\r\nBuiltInCalcH=150\r\n[CalcTree]\r\nUndockWidth=310\r\nUndockHeight=420\r\n");
        if (show) {
            form_->Command("mmCalculatorswindow")->trigger();
            // Floated by the user: the dock's window has the size.
            form_->Docks->CalcPanel->setFloating(true);
            form_->Docks->CalcPanel->resize(330, 450);
        }
        ASSERT_TRUE(form_->close());
        EXPECT_EQ(CalcTreeUndockWidth, show ? 330 : 310);
        EXPECT_EQ(CalcTreeUndockHeight, show ? 450 : 420);
        EXPECT_EQ(BuiltInCalcH, show ? Panel().Panel6->height() : 150);
        EXPECT_GT(BuiltInCalcH, 0);
        FinishProgram();
        form_ = nullptr;
    }
}

TEST_F(MainCalcPanelTest, FolderDisablesTheDescriptionACalculatorShowsIt)
{
    Start();
    Choose("Memory\\Checksum");
    EXPECT_EQ(Panel().memCalcInfo->toPlainText().toStdString(),
              " Sum of the bytes of buffer 1 from START to END.\n"
              " The result is shown in hexadecimal and written at TARGET.");
    EXPECT_TRUE(Panel().memCalcInfo->isEnabled());
    EXPECT_TRUE(Panel().btCalcImage->isEnabled());
    EXPECT_FALSE(Panel().btSaveCalcInfo->isEnabled());
    EXPECT_EQ(LastCalc, "Memory\\Checksum");

    QTreeWidget* tree = Panel().CalcTree->Tree;
    tree->setCurrentItem(tree->topLevelItem(0));
    EXPECT_EQ(Panel().memCalcInfo->toPlainText(), "");
    EXPECT_FALSE(Panel().memCalcInfo->isEnabled());
    EXPECT_FALSE(Panel().btCalcImage->isEnabled());
    EXPECT_FALSE(Panel().btSaveCalcInfo->isEnabled());
    EXPECT_EQ(LastCalc, "Memory\\Checksum");
}

TEST_F(MainCalcPanelTest, SavedDescriptionKeepsTheCode)
{
    const std::string before = ReadFileBytes(dir_.file("Calculators/Memory/checksum.cal"));
    Start();
    Choose("Memory\\Checksum");
    Panel().memCalcInfo->setPlainText("Adds bytes up.");
    ASSERT_TRUE(Panel().btSaveCalcInfo->isEnabled());
    Panel().btSaveCalcInfo->click();
    EXPECT_FALSE(Panel().btSaveCalcInfo->isEnabled());
    const std::string after = ReadFileBytes(dir_.file("Calculators/Memory/checksum.cal"));
    const size_t code = before.find("SIZE(");
    ASSERT_NE(code, std::string::npos);
    EXPECT_EQ(after, "[Memory\\Checksum]\n!Adds bytes up.\n" + before.substr(code));
    // Chosen again, it shows the saved text.
    Choose("Tests\\Writer");
    Choose("Memory\\Checksum");
    EXPECT_EQ(Panel().memCalcInfo->toPlainText(), "Adds bytes up.");
}

TEST_F(MainCalcPanelTest, CalculatorOpensInThePanelAndApplyWritesBuffer1)
{
    Start("[Parameters]\r\nWorkParam=0\r\n");
    form_->LoadModule(Entry24C02);
    ASSERT_EQ(form_->HexDump1->GetSize(), 256);
    form_->Command("mmCalculatorswindow")->trigger();
    ASSERT_TRUE(Panel().isVisible());
    Choose("Memory\\Checksum");
    Panel().OpenChosenCalculator();
    ASSERT_TRUE(CalcBuilt);
    EXPECT_TRUE(CalculatorOpen);
    EXPECT_TRUE(Panel().clcPanel->isVisible());
    EXPECT_FALSE(Panel().pnCalcInfo->isVisible());
    EXPECT_TRUE(fmTemplate == nullptr || !fmTemplate->isVisible());
    auto* write = qobject_cast<QCheckBox*>(CalcControls["B3"].data());
    ASSERT_NE(write, nullptr);
    EXPECT_TRUE(Panel().pnCalc->isAncestorOf(write));
    EXPECT_EQ(Panel().lbCalcCaption->text(), "Checksum");
    SaveScreenshot(Panel(), "calc_panel_calculator_en");

    write->setChecked(true);
    unsigned sum = 0;
    for (int i = 0; i < 256; ++i)
        sum += form_->HexDump1->Buffer().Data[size_t(i)];
    form_->HexDump1->Buffer().Modified = false;
    Panel().Button6->click();
    EXPECT_EQ(form_->HexDump1->Buffer().Data[255], uint8_t(sum));
    EXPECT_TRUE(form_->HexDump1->Buffer().Modified);

    Panel().Button7->click();
    EXPECT_FALSE(CalculatorOpen);
    EXPECT_FALSE(Panel().clcPanel->isVisible());
    EXPECT_TRUE(Panel().pnCalcInfo->isVisible());
}

TEST_F(MainCalcPanelTest, WithOptionBit28TheCalculatorOpensInItsOwnWindow)
{
    Start("[Parameters]\r\nWorkParam=0\r\n");
    EXPECT_FALSE(form_->Command("mnCalcInWindow")->isChecked());
    form_->Command("mmCalculatorswindow")->trigger();
    form_->Command("mnCalcInWindow")->trigger();
    EXPECT_TRUE(WorkParam & wpCalcOwnWindow);
    EXPECT_TRUE(form_->Command("mnCalcInWindow")->isChecked());
    Choose("Tests\\Writer");
    Panel().OpenChosenCalculator();
    ASSERT_TRUE(CalcBuilt);
    ASSERT_NE(fmTemplate, nullptr);
    EXPECT_TRUE(fmTemplate->isVisible());
    EXPECT_TRUE(Panel().pnCalcInfo->isVisible());
    EXPECT_FALSE(Panel().clcPanel->isVisible());
    form_->Command("mnCalcInWindow")->trigger();
    EXPECT_FALSE(WorkParam & wpCalcOwnWindow);
}

TEST_F(MainCalcPanelTest, HiddenPanelOpensTheCalculatorInItsOwnWindow)
{
    Start();
    Choose("Tests\\Writer");
    Panel().OpenChosenCalculator();
    ASSERT_NE(fmTemplate, nullptr);
    EXPECT_TRUE(fmTemplate->isVisible());
}

TEST_F(MainCalcPanelTest, PictureFollowsTheChoiceAndRightClickShowsIt)
{
    fs::create_directories(dir_.file("Calculators/Pictures"));
    QImage image(30, 20, QImage::Format_RGB32);
    image.fill(Qt::red);
    ASSERT_TRUE(image.save(QString::fromStdString(dir_.file("Calculators/Pictures/Memory Checksum.bmp")), "BMP"));
    Start();
    form_->Command("mmCalculatorswindow")->trigger();
    Choose("Memory\\Checksum");
    EXPECT_EQ(Panel().CalcPictureFile, ProgramFolder() + "\\Calculators\\Pictures\\Memory Checksum.bmp");
    Panel().btCalcImage->click();
    ASSERT_TRUE(fmShowImage && fmShowImage->isVisible());
    EXPECT_EQ(fmShowImage->windowTitle(), "Memory Checksum");
    EXPECT_TRUE(fmShowImage->Image1->isVisible());
    EXPECT_TRUE(fmShowImage->SpeedButton2->isVisible());
    // It follows the tree: a calculator without a picture shows none.
    Choose("Tests\\Writer");
    EXPECT_EQ(fmShowImage->windowTitle(), "Tests Writer");
    EXPECT_FALSE(fmShowImage->Image1->isVisible());
    fmShowImage->close();

    Choose("Memory\\Checksum");
    QTreeWidget* tree = Panel().CalcTree->Tree;
    QTreeWidgetItem* item = tree->currentItem();
    QTest::mouseClick(tree->viewport(), Qt::RightButton, {}, tree->visualItemRect(item).center());
    QTRY_VERIFY_WITH_TIMEOUT(fmShowImage->isVisible(), CeilingMs);
    EXPECT_EQ(fmShowImage->windowTitle(), "Memory Checksum");
}

TEST_F(MainCalcPanelTest, RefreshCancelledLeavesTheIndexAndOkRebuildsItInTheChosenOrder)
{
    Start();
    Choose("Memory\\Checksum");
    WriteFileBytes(dir_.file("Calculators/alpha.cal"), "[Alpha]\r\nSIZE(100,100);\r\n");
    const std::string before = ReadFileBytes(dir_.file("Calculators/index.ini"));
    Refresh(std::nullopt);
    EXPECT_EQ(ReadFileBytes(dir_.file("Calculators/index.ini")), before);

    Refresh(true);
    EXPECT_EQ(ReadFileBytes(dir_.file("Calculators/index.ini")),
              "[Root]\r\nMemory=\\\r\nTests=\\\r\nAlpha=\r\n[Memory]\r\nChecksum=\r\n[Tests]\r\nWriter=\r\n");
    EXPECT_EQ(Panel().CalcTree->Tree->topLevelItemCount(), 3);
    EXPECT_EQ(Panel().CalcTree->CurrentItem(), "Memory\\Checksum");
    Refresh(false);
    EXPECT_EQ(Panel().CalcTree->Tree->topLevelItem(0)->text(0), "Alpha");
}

TEST_F(MainCalcPanelTest, BadScriptsAreNamedAfterTheRebuild)
{
    WriteFileBytes(dir_.file("Calculators/bad.cal"), "[Memory\\\\Size]\r\n");
    Start();
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_NE(boxes_[0].find("bad.cal"), std::string::npos);
    EXPECT_EQ(Panel().CalcTree->Tree->topLevelItemCount(), 2);
}

TEST_F(MainCalcPanelTest, ScriptNamesOutsideTheCodePageReachOnlyTheirOwnFile)
{
    // Every name that the code page keeps is listed, shows its own text,
    // opens itself and takes its own description; any other is named after
    // the rebuild and reaches no file at all (two names lost to "?"s would
    // otherwise stand for each other).
    const std::string writer = ReadFileBytes(testsupport::FixturePath("calc/writer.cal"));
    const std::string code = writer.substr(writer.find("SIZE("));
    struct Case {
        std::string file; // as the file system holds it
        const char* name;
    } cases[] = {
        {"\u65E5\u672C.cal", "Alpha"},         // Japanese
        {"\u4E2D\u56FD.cal", "Beta"},          // Japanese
        {"caf\u00E9.cal", "Gamma"},             // accented Latin
        {"\u00C4rger.cal", "Delta"},            // accented Latin
        {"\u041A\u043E\u0434.cal", "Epsilon"}, // Cyrillic: in the page
        {"\xff.cal", "Zeta"},                  // no UTF-8 at all
        {"\xfe.cal", "Eta"},
    };
    for (const Case& c : cases)
        WriteFileBytes(dir_.file("Calculators/" + c.file),
                       std::string("[Names\\") + c.name + "]\n!Own text of " + c.name + "\n" + code);
    Start();
    std::string notes;
    for (const std::string& box : boxes_)
        notes += box;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = std::string("Names\\") + c.name;
        const std::string file = dir_.file("Calculators/" + c.file);
        if (Cp1251ToUtf8(Utf8ToCp1251(c.file)) != c.file) {
            EXPECT_NE(notes.find("[" + path + "]"), std::string::npos) << notes;
            EXPECT_EQ(CalculatorFile(path), "");
            Panel().CalcTree->SetCurrentItem(path);
            EXPECT_NE(Panel().CalcTree->CurrentItem(), path);
            continue;
        }
        EXPECT_EQ(notes.find("[" + path + "]"), std::string::npos) << notes;
        Choose(path);
        EXPECT_EQ(Panel().memCalcInfo->toPlainText().toStdString(), std::string("Own text of ") + c.name);
        CalcTitle.clear();
        Panel().OpenChosenCalculator();
        ASSERT_TRUE(CalcBuilt);
        EXPECT_EQ(CalcTitle, c.name);
        Panel().memCalcInfo->setPlainText(QString("Saved for ") + c.name);
        Panel().btSaveCalcInfo->click();
        EXPECT_FALSE(Panel().btSaveCalcInfo->isEnabled());
        EXPECT_EQ(ReadFileBytes(file), std::string("[Names\\") + c.name + "]\n!Saved for " + c.name + "\n" + code);
    }
    // The scripts left out are as they were.
    for (const Case& c : cases)
        if (Cp1251ToUtf8(Utf8ToCp1251(c.file)) != c.file)
            EXPECT_EQ(ReadFileBytes(dir_.file("Calculators/" + c.file)),
                      std::string("[Names\\") + c.name + "]\n!Own text of " + c.name + "\n" + code);
}

TEST_F(MainCalcPanelTest, MissingCalculatorsFolderIsMadeAtStartup)
{
    fs::remove_all(dir_.file("Calculators"));
    Start();
    EXPECT_TRUE(fs::exists(dir_.file("Calculators/index.ini")));
    EXPECT_EQ(Panel().CalcTree->Tree->topLevelItemCount(), 0);
}

TEST_F(MainCalcPanelTest, ScreenshotsInEnglishAndRussian)
{
    for (bool russian : {false, true}) {
        Start(russian ? "[Parameters]\r\nLanguage=" + Utf8ToCp1251("Russian(Русский)") + "\r\n" : "");
        form_->Command("mmCalculatorswindow")->trigger();
        Choose("Memory\\Checksum");
        if (russian)
            EXPECT_EQ(Panel().btCalcImage->text(), QString::fromUtf8("Рисунок"));
        SaveScreenshot(Panel(), russian ? "calc_panel_ru" : "calc_panel_en");
        FinishProgram();
        form_ = nullptr;
    }
}

} // namespace
