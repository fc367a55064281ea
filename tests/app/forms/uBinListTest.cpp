#include "AppStateGuard.h"
#include "TestSupport.h"
#include "app/forms/filevie.h"
#include "app/forms/uBinList.h"
#include "engine/Global.h"
#include "platform/Paths.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <gtest/gtest.h>

#include <filesystem>

namespace {

using testsupport::ReadFileBytes;
using testsupport::WriteFileBytes;

// A library named by the settings, with a trailing backslash:
//   lib\a\dump.bin with its note, lib\b\dump.bin without one.
class BinListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetProgramFolder(dir.path());
        std::filesystem::create_directories(dir.file("lib/a"));
        std::filesystem::create_directories(dir.file("lib/b"));
        WriteFileBytes(dir.file("lib/a/dump.bin"), "1234");
        WriteFileBytes(dir.file("lib/a/dump.txt"), "CHIP= 24c04\r\nfirst\r\n");
        WriteFileBytes(dir.file("lib/b/dump.bin"), "5678");
        LibraryFolder = dir.file("lib") + "\\";
    }
    void TearDown() override { SetProgramFolder(saved); }

    testsupport::TAppStateGuard state;
    testsupport::TempDir dir;
    std::string saved = ProgramFolder();
};

TEST_F(BinListTest, NamesakesShowTheirOwnNotesAndApplyWritesOne)
{
    TfmBinList library;
    EXPECT_EQ(library.TreeView1->RootDir(), dir.file("lib"));
    library.TreeView1->SetCurrentFolderName("b\\dump.bin");
    EXPECT_TRUE(library.Memo1->toPlainText().isEmpty());
    EXPECT_FALSE(library.SpeedButton3->isEnabled());
    library.Memo1->setPlainText(QStringLiteral("CHIP=25F10\nsecond"));
    ASSERT_TRUE(library.SpeedButton3->isEnabled());
    library.SpeedButton3->click();
    EXPECT_EQ(ReadFileBytes(dir.file("lib/b/dump.txt")), "CHIP=25F10\r\nsecond\r\n");
    library.TreeView1->SetCurrentFolderName("a\\dump.bin");
    EXPECT_EQ(library.Memo1->toPlainText().toStdString(), "CHIP= 24c04\nfirst");
    EXPECT_FALSE(library.SpeedButton3->isEnabled());
}

TEST_F(BinListTest, LoadGivesTheDumpAndTheTrimmedChipCloseGivesNothing)
{
    {
        TfmBinList library;
        library.TreeView1->SetCurrentFolderName("a\\dump.bin");
        library.btLoad->click();
        EXPECT_TRUE(library.Result);
        EXPECT_EQ(library.Choice.DumpFile, dir.file("lib") + "\\a\\dump.bin");
        EXPECT_EQ(library.ChipName, "24C04");
    }
    {
        TfmBinList library;
        library.TreeView1->SetCurrentFolderName("b\\dump.bin");
        library.btLoad->click();
        EXPECT_TRUE(library.Result);
        EXPECT_EQ(library.ChipName, "");
    }
    TfmBinList library;
    library.TreeView1->SetCurrentFolderName("a\\dump.bin");
    library.SpeedButton1->click();
    EXPECT_FALSE(library.Result);
}

TEST_F(BinListTest, AMissingLibraryFallsBackToDumps)
{
    std::filesystem::create_directories(dir.file("Dumps/x"));
    LibraryFolder = dir.file("gone") + "\\";
    TfmBinList library;
    EXPECT_EQ(library.TreeView1->RootDir(), dir.path() + "\\Dumps");
    EXPECT_EQ(library.TreeView1->topLevelItemCount(), 1);
}

} // namespace
