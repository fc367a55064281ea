// The calculator tree over an index file: lazy levels, the current item
// both ways, and paths that lead nowhere.
#include "TestSupport.h"
#include "calc/forms/DevView.h"
#include "platform/Cp1251.h"
#include "platform/Paths.h"
#include "skin/forms/sTreeView.h"

#include <QTreeWidgetItem>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using testsupport::WriteFileBytes;

// Memory\Serial\Checksum, Memory\Size, an empty folder, a folder with no
// section, and a nested folder named like a top-level one.
const char* const IndexText = "[Root]\r\nMemory=\\\r\nEmpty=\\\r\nLost=\\\r\nTop=\\\r\nAlone=\r\n"
                              "[Memory]\r\nSerial=\\\r\nSize=\r\nTop=\\\r\n"
                              "[Memory\\Serial]\r\nChecksum=\r\n"
                              "[Memory\\Top]\r\nDeep=\r\n"
                              "[Empty]\r\n"
                              "[Top]\r\nCalc=\r\n";

class DevViewTest : public ::testing::Test {
protected:
    testsupport::TempDir dir_;
    TDeviceView view_;

    void SetUp() override
    {
        WriteFileBytes(dir_.file("index.ini"), IndexText);
        view_.SetFileName(dir_.file("index.ini"));
    }
    QTreeWidgetItem* Top(const std::string& text) const
    {
        for (int i = 0; i < view_.Tree->topLevelItemCount(); ++i)
            if (view_.Tree->topLevelItem(i)->text(0) == QString::fromStdString(text))
                return view_.Tree->topLevelItem(i);
        return nullptr;
    }
    static std::vector<std::string> Children(const QTreeWidgetItem* node)
    {
        std::vector<std::string> texts;
        for (int i = 0; i < node->childCount(); ++i)
            texts.push_back(node->child(i)->text(0).toStdString());
        return texts;
    }
};

TEST_F(DevViewTest, TopLevelShowsFoldersWithPlaceholdersAndCalculators)
{
    ASSERT_EQ(view_.Tree->topLevelItemCount(), 5);
    EXPECT_TRUE(TDeviceView::IsFolder(Top("Memory")));
    EXPECT_EQ(Children(Top("Memory")), std::vector<std::string>{"\\"});
    EXPECT_FALSE(TDeviceView::IsFolder(Top("Alone")));
    EXPECT_EQ(Top("Alone")->childCount(), 0);
}

TEST_F(DevViewTest, ExpandingReadsTheLevelAndEmptySectionsLeaveNoChildren)
{
    Top("Memory")->setExpanded(true);
    EXPECT_EQ(Children(Top("Memory")), (std::vector<std::string>{"Serial", "Size", "Top"}));
    for (const char* folder : {"Empty", "Lost"}) {
        Top(folder)->setExpanded(true);
        EXPECT_EQ(Top(folder)->childCount(), 0) << folder;
    }
}

TEST_F(DevViewTest, CurrentItemIsEmptyForFoldersAndThePathForCalculators)
{
    EXPECT_EQ(view_.CurrentItem(), "");
    view_.Tree->setCurrentItem(Top("Memory"));
    EXPECT_EQ(view_.CurrentItem(), "");
    view_.SetCurrentItem("Memory\\Serial\\Checksum");
    EXPECT_EQ(view_.CurrentItem(), "Memory\\Serial\\Checksum");
    EXPECT_TRUE(Top("Memory")->isExpanded());
    view_.Tree->setCurrentItem(Top("Alone"));
    EXPECT_EQ(view_.CurrentItem(), "Alone");
    // An emptied folder stays a folder.
    Top("Empty")->setExpanded(true);
    view_.Tree->setCurrentItem(Top("Empty"));
    EXPECT_EQ(view_.CurrentItem(), "");
}

TEST_F(DevViewTest, SettingCurrentItemFollowsThePathAsFarAsItLeads)
{
    struct Case {
        const char* path;
        const char* selected; // CurrentItem afterwards
        bool memoryExpanded;
    } cases[] = {
        {"Memory\\Serial\\Checksum", "Memory\\Serial\\Checksum", true},
        {"Memory\\Size", "Memory\\Size", true},
        {"Memory\\Nothing\\Checksum", "", true},
        {"Memory", "", true},
        {"Nothing\\Size", "", false},
        // The first part is looked for at the top only, not in Memory.
        {"Top\\Calc", "Top\\Calc", false},
        {"Top\\Deep", "", false},
        {"", "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        view_.SetFileName(dir_.file("index.ini"));
        view_.SetCurrentItem(c.path);
        EXPECT_EQ(view_.CurrentItem(), c.selected);
        EXPECT_EQ(Top("Memory")->isExpanded(), c.memoryExpanded);
    }
}

TEST_F(DevViewTest, MissingFileKeepsTheTreeAndItsName)
{
    const std::string before = view_.FileName();
    view_.SetFileName(dir_.file("missing.ini"));
    EXPECT_EQ(view_.FileName(), before);
    EXPECT_EQ(view_.Tree->topLevelItemCount(), 5);
}

TEST_F(DevViewTest, ReexpandingReadsAChangedFile)
{
    Top("Top")->setExpanded(true);
    Top("Top")->setExpanded(false);
    WriteFileBytes(dir_.file("index.ini"), "[Root]\r\nTop=\\\r\n[Top]\r\nNew=\r\nOther=\r\n");
    Top("Top")->setExpanded(true);
    EXPECT_EQ(Children(Top("Top")), (std::vector<std::string>{"New", "Other"}));
}

} // namespace
