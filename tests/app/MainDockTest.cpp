#include "app/MainDock.h"

#include "TestSupport.h"
#include "platform/Files.h"

#include <gtest/gtest.h>

namespace {

TEST(DockSiteFile, PanelsComeBackInOrderWithTheirHeights)
{
    testsupport::TempDir dir;
    const std::string file = dir.file("layoutl.dat");
    ASSERT_TRUE(WriteDockSite(file, {{"CalcPanel", 300}, {"pnFileView", 120}}));
    const auto panels = ReadDockSite(file);
    ASSERT_TRUE(panels);
    ASSERT_EQ(panels->size(), 2u);
    EXPECT_EQ((*panels)[0].Name, "CalcPanel");
    EXPECT_EQ((*panels)[0].Height, 300);
    EXPECT_EQ((*panels)[1].Name, "pnFileView");
    EXPECT_EQ((*panels)[1].Height, 120);
}

TEST(DockSiteFile, AnEmptySiteDeletesItsFile)
{
    testsupport::TempDir dir;
    const std::string file = dir.file("layoutr.dat");
    ASSERT_TRUE(WriteDockSite(file, {{"pnFileView", 100}}));
    ASSERT_TRUE(FileExists(file));
    EXPECT_TRUE(WriteDockSite(file, {}));
    EXPECT_FALSE(FileExists(file));
    EXPECT_TRUE(WriteDockSite(file, {})); // nothing to delete
    EXPECT_FALSE(ReadDockSite(file));
}

TEST(DockSiteFile, ADamagedFileIsRefusedWhole)
{
    const struct {
        const char* what;
        std::string bytes;
        bool readable;
    } cases[] = {
        {"ours, empty", "TarkuDockSite 1\r\n", true},
        {"ours, blank lines", "TarkuDockSite 1\n\npnFileView 10\n\n", true},
        {"no signature", "pnFileView 10\n", false},
        {"another stream", std::string("TPF0\x01\x02\x00\xff", 8), false},
        {"empty file", "", false},
        {"unknown panel", "TarkuDockSite 1\nToolBar1 10\n", false},
        {"repeated panel", "TarkuDockSite 1\nCalcPanel 10\nCalcPanel 20\n", false},
        {"no height", "TarkuDockSite 1\nCalcPanel\n", false},
        {"bad height", "TarkuDockSite 1\nCalcPanel ten\n", false},
        {"negative height", "TarkuDockSite 1\nCalcPanel -5\n", false},
        {"huge height", "TarkuDockSite 1\nCalcPanel 99999999\n", false},
    };
    testsupport::TempDir dir;
    for (const auto& c : cases) {
        testsupport::WriteFileBytes(dir.file("layoutl.dat"), c.bytes);
        EXPECT_EQ(ReadDockSite(dir.file("layoutl.dat")).has_value(), c.readable) << c.what;
    }
    // A folder in the file's place cannot be read either.
    EXPECT_FALSE(ReadDockSite(dir.path()));
}

TEST(DockSizes, DefaultsAndMinimums)
{
    const struct {
        const char* ini;
        int left, right, fileInfo, calcInfo;
    } cases[] = {
        {"", 150, 150, 100, 100},
        {"[LeftDock]\r\nWidth=30\r\n[FileInfo]\r\nHeight=30\r\n", 150, 150, 40, 100},
        {"[LeftDock]\r\nWidth=40\r\n[RightDock]\r\nWidth=260\r\n[CalcInfo]\r\nHeight=39\r\n", 40, 260, 100, 40},
        {"[RightDock]\r\nWidth=junk\r\n[FileInfo]\r\nHeight=180\r\n", 150, 150, 180, 100},
    };
    testsupport::TempDir dir;
    for (const auto& c : cases) {
        testsupport::WriteFileBytes(dir.file("layout.ini"), c.ini);
        const TDockSizes s = ReadDockSizes(dir.file("layout.ini"));
        EXPECT_EQ(s.LeftWidth, c.left) << c.ini;
        EXPECT_EQ(s.RightWidth, c.right) << c.ini;
        EXPECT_EQ(s.FileInfoHeight, c.fileInfo) << c.ini;
        EXPECT_EQ(s.CalcInfoHeight, c.calcInfo) << c.ini;
    }
}

TEST(DockSizes, WidthsOfEmptySitesAreLeftAsStored)
{
    testsupport::TempDir dir;
    const std::string file = dir.file("layout.ini");
    testsupport::WriteFileBytes(file, "[LeftDock]\r\nWidth=222\r\n");
    ASSERT_TRUE(WriteDockSizes(file, std::nullopt, 180, 90, 120));
    const TDockSizes s = ReadDockSizes(file);
    EXPECT_EQ(s.LeftWidth, 222);
    EXPECT_EQ(s.RightWidth, 180);
    EXPECT_EQ(s.FileInfoHeight, 90);
    EXPECT_EQ(s.CalcInfoHeight, 120);
}

} // namespace
