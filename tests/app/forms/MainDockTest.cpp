#include "AppStateGuard.h"
#include "Screenshot.h"
#include "TestSupport.h"
#include "app/MainDock.h"
#include "app/forms/Main.h"
#include "app/forms/MainDock.h"
#include "app/forms/MainProgram.h"
#include "engine/Global.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"

#include <QDockWidget>
#include <QMenuBar>
#include <QToolBar>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>

namespace {

using testsupport::ReadFileBytes;
using testsupport::TempDir;
using testsupport::WriteFileBytes;

class MainDockTest : public ::testing::Test {
protected:
    testsupport::TAppStateGuard state_;
    TempDir dir_;
    std::string savedFolder_ = ProgramFolder();
    MessageBoxHandler previous_;
    TMainForm* form_ = nullptr;

    void SetUp() override
    {
        std::filesystem::copy(testsupport::DataPath(""), dir_.path(), std::filesystem::copy_options::recursive);
        SetProgramFolder(dir_.path());
        previous_ = SetMessageBoxHandler([](const std::string& text, const std::string&, unsigned flags) {
            ADD_FAILURE() << "unexpected box: " << text;
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
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form_));
    }
    // Closes the window (the layout is saved) and ends the program.
    void Stop()
    {
        EXPECT_TRUE(form_->close());
        FinishProgram();
        form_ = nullptr;
    }
    void Restart()
    {
        Stop();
        ResetAppState();
        Start();
    }
    QDockWidget* FileView() const { return form_->Docks->pnFileView; }
    QDockWidget* Calc() const { return form_->Docks->CalcPanel; }
    void Dock(QDockWidget* panel, Qt::DockWidgetArea site)
    {
        panel->setFloating(false);
        form_->addDockWidget(site, panel);
        panel->show();
    }
    bool DockedOn(QDockWidget* panel, Qt::DockWidgetArea site) const
    {
        return panel->isVisible() && !panel->isFloating() && form_->dockWidgetArea(panel) == site;
    }
    bool Exists(const char* name) const { return FileExists(dir_.file(name)); }
};

TEST_F(MainDockTest, AFirstStartHasBothPanelsHidden)
{
    Start();
    EXPECT_FALSE(FileView()->isVisible());
    EXPECT_FALSE(Calc()->isVisible());
    Stop();
    EXPECT_FALSE(Exists(LeftLayoutFile));
    EXPECT_FALSE(Exists(RightLayoutFile));
    EXPECT_TRUE(Exists(LayoutIniFile));
}

TEST_F(MainDockTest, PanelsDockedLeftAndRightSurviveARestart)
{
    Start();
    Dock(FileView(), Qt::LeftDockWidgetArea);
    Dock(Calc(), Qt::RightDockWidgetArea);
    SaveScreenshot(*form_, "MainDockTest_docked");
    Restart();
    EXPECT_TRUE(DockedOn(FileView(), Qt::LeftDockWidgetArea));
    EXPECT_TRUE(DockedOn(Calc(), Qt::RightDockWidgetArea));
    EXPECT_NE(ReadFileBytes(dir_.file(LayoutIniFile)).find("[LeftDock]"), std::string::npos);
    EXPECT_NE(ReadFileBytes(dir_.file(LayoutIniFile)).find("[RightDock]"), std::string::npos);
}

TEST_F(MainDockTest, BothPanelsStackedOnOneSiteComeBackInOrder)
{
    Start();
    Dock(Calc(), Qt::LeftDockWidgetArea);
    form_->splitDockWidget(Calc(), FileView(), Qt::Vertical);
    FileView()->show();
    QApplication::processEvents();
    ASSERT_LT(Calc()->y(), FileView()->y());
    Restart();
    EXPECT_TRUE(DockedOn(FileView(), Qt::LeftDockWidgetArea));
    EXPECT_TRUE(DockedOn(Calc(), Qt::LeftDockWidgetArea));
    EXPECT_LT(Calc()->y(), FileView()->y());
    EXPECT_FALSE(Exists(RightLayoutFile));
}

TEST_F(MainDockTest, AnEmptiedSideDeletesItsLayoutFile)
{
    Start();
    Dock(FileView(), Qt::LeftDockWidgetArea);
    Restart();
    ASSERT_TRUE(Exists(LeftLayoutFile));
    // Moved to the right: the left side is empty at the close.
    Dock(FileView(), Qt::RightDockWidgetArea);
    Restart();
    EXPECT_FALSE(Exists(LeftLayoutFile));
    EXPECT_TRUE(Exists(RightLayoutFile));
    EXPECT_TRUE(DockedOn(FileView(), Qt::RightDockWidgetArea));
    // Closed: nothing is docked anywhere, and it stays hidden.
    FileView()->close();
    Restart();
    EXPECT_FALSE(Exists(RightLayoutFile));
    EXPECT_FALSE(FileView()->isVisible());
}

TEST_F(MainDockTest, ACorruptOrUnreadableLayoutStartsWithEmptySites)
{
    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"foreign stream", std::string("TPF0\x0bTDockTree\x00\xff\xfe", 14)},
        {"empty file", ""},
        {"unknown panel", "TarkuDockSite 1\r\nMainForm 100\r\n"},
        {"bad height", "TarkuDockSite 1\r\npnFileView -1\r\n"},
    };
    for (const auto& c : cases) {
        WriteFileBytes(dir_.file(LeftLayoutFile), c.bytes);
        WriteFileBytes(dir_.file(RightLayoutFile), "TarkuDockSite 1\r\nCalcPanel 200\r\n");
        WriteFileBytes(dir_.file(LayoutIniFile), "[LeftDock]\r\nWidth=x\r\n[FileInfo]\r\nHeight=-4\r\n");
        Start();
        EXPECT_FALSE(FileView()->isVisible()) << c.what;
        // The good file of the other side still counts.
        EXPECT_TRUE(DockedOn(Calc(), Qt::RightDockWidgetArea)) << c.what;
        Stop();
        ResetAppState();
        EXPECT_FALSE(Exists(LeftLayoutFile)) << c.what;
    }
    // A folder in the file's place cannot be read.
    std::filesystem::create_directories(dir_.file(LeftLayoutFile));
    Start();
    EXPECT_FALSE(FileView()->isVisible());
}

// Without a layout that places them, the panels open docked beside the
// dump, never over the menu, the tool bar or the dump; a panel the user
// floated comes back floating where it was, and its size is kept.
TEST_F(MainDockTest, HiddenPanelsOpenBesideTheDump)
{
    WriteFileBytes(dir_.file("TARKU.INI"),
                   "[CalcTree]\r\nLeft=30\r\nTop=30\r\nUndockWidth=300\r\nUndockHeight=400\r\n");
    Start();
    const std::pair<const char*, Qt::DockWidgetArea> cases[] = {{"mmCalculatorswindow", Qt::RightDockWidgetArea},
                                                                {"mmFilewindow", Qt::LeftDockWidgetArea}};
    for (auto [command, site] : cases) {
        SCOPED_TRACE(command);
        form_->Command(command)->trigger();
        QApplication::processEvents();
        QDockWidget* panel = site == Qt::RightDockWidgetArea ? Calc() : FileView();
        EXPECT_TRUE(DockedOn(panel, site));
        EXPECT_FALSE(panel->geometry().intersects(form_->menuBar()->geometry()));
        EXPECT_FALSE(panel->geometry().intersects(form_->ToolBar1->geometry()));
        EXPECT_FALSE(panel->geometry().intersects(form_->centralWidget()->geometry()));
        EXPECT_GE(panel->width(), 100);
    }
    SaveScreenshot(*form_, "MainDockTest_opened_beside_the_dump");
    Calc()->setFloating(true);
    Calc()->setGeometry(640, 200, 320, 410);
    Calc()->close();
    form_->Command("mmCalculatorswindow")->trigger();
    ASSERT_TRUE(Calc()->isVisible());
    EXPECT_TRUE(Calc()->isFloating());
    EXPECT_EQ(Calc()->geometry(), QRect(640, 200, 320, 410));
    // A floating panel's size is kept at the close.
    Stop();
    const std::string ini = ReadFileBytes(dir_.file("TARKU.INI"));
    EXPECT_NE(ini.find("UndockWidth=320"), std::string::npos) << ini;
    EXPECT_NE(ini.find("UndockHeight=410"), std::string::npos) << ini;
}

} // namespace
