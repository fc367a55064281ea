#include "app/forms/filevie.h"

#include "Screenshot.h"
#include "TestSupport.h"
#include "platform/Cp1251.h"
#include "platform/Paths.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>

namespace {

// A library folder:
//   a.bin b.HEX c d.txt e.b
//   sub\x.bin sub\deeper\y.hex
//   notes\readme.txt       (nothing the filter shows)
//   empty\                 (no entry at all)
class FileViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* f : {"a.bin", "b.HEX", "c", "d.txt", "e.b", "sub/x.bin", "sub/deeper/y.hex",
                              "notes/readme.txt"}) {
            std::filesystem::create_directories(std::filesystem::path(dir.file(f)).parent_path());
            testsupport::WriteFileBytes(dir.file(f), "x");
        }
        std::filesystem::create_directories(dir.file("empty"));
        view.SetFilter("*.BIN|*.hex");
        view.SetRootDir(dir.path());
    }

    std::vector<std::string> Texts(const QTreeWidgetItem* parent) const
    {
        std::vector<std::string> texts;
        const int n = parent ? parent->childCount() : view.topLevelItemCount();
        for (int i = 0; i < n; ++i)
            texts.push_back(QStringToCp1251((parent ? parent->child(i) : view.topLevelItem(i))->text(0)));
        return texts;
    }
    QTreeWidgetItem* Top(const char* text) const
    {
        const auto items = view.findItems(QString::fromLatin1(text), Qt::MatchExactly);
        return items.isEmpty() ? nullptr : items.first();
    }
    // Lets the removals the tree put off for after an expansion happen.
    static void Settle() { QCoreApplication::processEvents(); }

    testsupport::TempDir dir;
    TFileView view;
};

TEST_F(FileViewTest, DefaultsOfANewTree)
{
    TFileView fresh;
    EXPECT_EQ(fresh.Filter(), "*.bin|*.cal");
    EXPECT_TRUE(fresh.ShowExtension());
    EXPECT_TRUE(fresh.ShowRootDir());
    EXPECT_EQ(fresh.CurrentFileName(), "");
}

TEST_F(FileViewTest, RootListsFoldersWithPlaceholdersThenFilteredFiles)
{
    EXPECT_EQ(Texts(nullptr),
              (std::vector<std::string>{"empty", "notes", "sub", "a.bin", "b.HEX", "c", "e.b"}));
    EXPECT_EQ(Texts(Top("sub")), (std::vector<std::string>{"deeper"}));
    EXPECT_EQ(Texts(Top("notes")), (std::vector<std::string>{"readme.txt"}));
    EXPECT_EQ(Top("empty")->childCount(), 0);
}

TEST_F(FileViewTest, AMissingRootLeavesTheTreeAsItWas)
{
    view.SetRootDir(dir.file("nowhere"));
    EXPECT_EQ(view.RootDir(), dir.path());
    EXPECT_EQ(view.topLevelItemCount(), 7);
}

TEST_F(FileViewTest, OpeningAFolderListsItAndSetsTheCurrentFolder)
{
    view.expandItem(Top("sub"));
    EXPECT_EQ(Texts(Top("sub")), (std::vector<std::string>{"deeper", "x.bin"}));
    EXPECT_EQ(view.CurrentFolderName(), "sub");
}

// A folder and a dump named outside the code page show as named, and the
// dump chosen in the tree is that very file.
TEST_F(FileViewTest, NamesOutsideTheCodePageShowAndSelectTheirFiles)
{
    const std::string dump = "M\xC3\xBCller/\xE6\x97\xA5\xE6\x9C\xAC.bin";
    std::filesystem::create_directories(dir.file("M\xC3\xBCller"));
    testsupport::WriteFileBytes(dir.file(dump), "x");
    view.SetRootDir(dir.path());
    const auto folders = view.findItems(QString::fromUtf8("M\xC3\xBCller"), Qt::MatchExactly);
    ASSERT_EQ(folders.size(), 1);
    view.expandItem(folders.first());
    ASSERT_EQ(folders.first()->childCount(), 1);
    EXPECT_EQ(folders.first()->child(0)->text(0), QString::fromUtf8("\xE6\x97\xA5\xE6\x9C\xAC.bin"));
    view.setCurrentItem(folders.first()->child(0));
    EXPECT_EQ(NativePath(view.CurrentFileName()), dir.file(dump));
    view.resize(240, 200);
    SaveScreenshot(view, "filevie-outside-code-page");
}

TEST_F(FileViewTest, AFolderWithNothingToShowRemovesItselfWhenOpened)
{
    QPointer<TFileView> guard(&view);
    view.expandItem(Top("notes"));
    // Still there while its own expansion is reported.
    ASSERT_NE(Top("notes"), nullptr);
    Settle();
    EXPECT_EQ(Top("notes"), nullptr);
    EXPECT_EQ(view.topLevelItemCount(), 6);
}

TEST_F(FileViewTest, ANewRootBeforeTheRemovalLeavesNothingDangling)
{
    view.expandItem(Top("notes"));
    view.SetRootDir(dir.path()); // the emptied node is gone with the old listing
    Settle();
    EXPECT_NE(Top("notes"), nullptr);
    EXPECT_EQ(view.topLevelItemCount(), 7);
}

TEST_F(FileViewTest, CurrentFileNameOfFilesAndFolders)
{
    view.setCurrentItem(Top("a.bin"));
    EXPECT_EQ(view.CurrentFileName(), dir.path() + "\\a.bin");
    view.setCurrentItem(Top("sub"));
    EXPECT_EQ(view.CurrentFileName(), "");
    // An empty folder has no children, so it counts as a file.
    view.setCurrentItem(Top("empty"));
    EXPECT_EQ(view.CurrentFileName(), dir.path() + "\\empty");
}

TEST_F(FileViewTest, CurrentFolderNameWalksOpensAndSelects)
{
    const struct {
        const char* path;
        const char* selected; // nullptr: nothing
    } cases[] = {
        {"sub\\x.bin", "x.bin"},
        {" sub \\ deeper \\y.hex", "y.hex"},
        {"sub", "sub"},
        {"sub\\nothing.bin", nullptr},
        {"Sub\\x.bin", nullptr}, // case counts
        {"", nullptr},
    };
    for (const auto& c : cases) {
        view.setCurrentItem(nullptr);
        view.SetCurrentFolderName(c.path);
        const QTreeWidgetItem* current = view.currentItem();
        if (c.selected) {
            ASSERT_NE(current, nullptr) << c.path;
            EXPECT_EQ(QStringToCp1251(current->text(0)), c.selected) << c.path;
        }
        else {
            EXPECT_EQ(current, nullptr) << c.path;
        }
    }
    view.SetCurrentFolderName("sub\\deeper\\y.hex");
    EXPECT_EQ(view.CurrentFileName(), dir.path() + "\\sub\\deeper\\y.hex");
}

TEST_F(FileViewTest, UpdateCurrentFolderTakesADumpsParent)
{
    view.SetCurrentFolderName("sub\\deeper\\y.hex");
    view.UpdateCurrentFolder();
    EXPECT_EQ(view.CurrentFolderName(), "sub\\deeper");
    view.SetCurrentFolderName("sub");
    view.UpdateCurrentFolder();
    EXPECT_EQ(view.CurrentFolderName(), "sub");
    // A dump at the top level has no parent: nothing changes.
    view.setCurrentItem(Top("a.bin"));
    view.UpdateCurrentFolder();
    EXPECT_EQ(view.CurrentFolderName(), "sub");
}

TEST_F(FileViewTest, ShowExtensionAffectsOnlyLaterListings)
{
    view.SetShowExtension(false);
    EXPECT_NE(Top("a.bin"), nullptr);
    view.expandItem(Top("sub"));
    EXPECT_EQ(Texts(Top("sub")), (std::vector<std::string>{"deeper", "x"}));
}

TEST_F(FileViewTest, RefreshFolderListsNewFilesAndOpensTheFolder)
{
    testsupport::WriteFileBytes(dir.file("sub/new.bin"), "x");
    view.RefreshFolder("sub");
    EXPECT_TRUE(Top("sub")->isExpanded());
    EXPECT_EQ(Texts(Top("sub")), (std::vector<std::string>{"deeper", "new.bin", "x.bin"}));
    // An empty path or a missing node does nothing.
    view.RefreshFolder("");
    view.RefreshFolder("sub\\none");
    EXPECT_EQ(view.topLevelItemCount(), 7);
}

TEST_F(FileViewTest, RefreshOfAFolderLeftWithNothingRemovesIt)
{
    std::filesystem::remove(dir.file("sub/x.bin"));
    std::filesystem::remove_all(dir.file("sub/deeper"));
    view.RefreshFolder("sub");
    Settle();
    EXPECT_EQ(Top("sub"), nullptr);
}

TEST_F(FileViewTest, AFolderThatVanishedKeepsItsPlaceholder)
{
    std::filesystem::remove_all(dir.file("sub"));
    view.expandItem(Top("sub"));
    Settle();
    ASSERT_NE(Top("sub"), nullptr);
    EXPECT_EQ(Texts(Top("sub")), (std::vector<std::string>{"deeper"}));
}

} // namespace
