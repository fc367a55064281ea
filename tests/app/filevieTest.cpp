#include "app/filevie.h"

#include "platform/Paths.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

struct FilterCase {
    const char* filter;
    const char* file;
    bool showExtension;
    bool passes;
    const char* text;
};

TEST(FileViewFilter, PassesByExtensionAnywhereInTheFilter)
{
    const FilterCase cases[] = {
        {"*.BIN|*.hex", "a.bin", true, true, "a.bin"},
        {"*.BIN|*.hex", "b.HEX", true, true, "b.HEX"},
        // No extension: "*" occurs in every filter.
        {"*.BIN|*.hex", "c", true, true, "c"},
        {"*.BIN|*.hex", "d.txt", true, false, ""},
        // "*.B" is part of "*.BIN".
        {"*.BIN|*.hex", "e.b", true, true, "e.b"},
        {"*.BIN|*.hex", "f.bin", false, true, "f"},
        {"*.BIN|*.hex", "g.tar.bin", false, true, "g.tar"},
        {"*.*", "h.txt", false, true, "h.txt"},
        {"*.bin|*.cal", "i.CAL", true, true, "i.CAL"},
    };
    for (const FilterCase& c : cases) {
        std::string text;
        EXPECT_EQ(FileViewFilterPasses(c.filter, c.file, c.showExtension, text), c.passes) << c.file;
        if (c.passes) {
            EXPECT_EQ(text, c.text) << c.file;
        }
    }
}

TEST(FileViewPath, NextPathPartTrimsEachPart)
{
    std::string path = "  sub one \\x.bin\\ last";
    EXPECT_EQ(NextPathPart(path), "sub one");
    EXPECT_EQ(NextPathPart(path), "x.bin");
    EXPECT_EQ(NextPathPart(path), "last");
    EXPECT_EQ(path, "");
    EXPECT_EQ(NextPathPart(path), "");
}

TEST(FileViewPath, DoubledBackslashesBecomeOne)
{
    EXPECT_EQ(SingleBackslashes("a\\\\b\\c\\\\\\\\d"), "a\\b\\c\\d");
    EXPECT_EQ(SingleBackslashes("plain"), "plain");
}

TEST(FileViewImages, FoldersOpenOrClosedAndDumpsByExtension)
{
    const struct {
        bool children, expanded;
        const char* text;
        int image;
    } cases[] = {
        {true, true, "sub", 1},      {true, false, "sub", 0},  {false, false, "x.bin", 3},
        {false, false, "y.Hex", 2},  {false, false, "z.txt", 0}, {true, false, "dumps.bin", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FileTreeImageIndex(c.children, c.expanded, c.text), c.image) << c.text;
}

TEST(FileViewListing, FoldersFirstWithoutHiddenOnesThenEveryFile)
{
    testsupport::TempDir dir;
    std::filesystem::create_directories(dir.file("zeta"));
    std::filesystem::create_directories(dir.file("alpha"));
    std::filesystem::create_directories(dir.file(".hidden"));
    testsupport::WriteFileBytes(dir.file("b.bin"), "x");
    testsupport::WriteFileBytes(dir.file(".dotfile"), "x");
    const TFolderListing listing = ListFileViewFolder(dir.path());
    EXPECT_EQ(listing.Folders, (std::vector<std::string>{"alpha", "zeta"}));
    EXPECT_EQ(listing.Files, (std::vector<std::string>{".dotfile", "b.bin"}));
    EXPECT_EQ(FolderPlaceholder(dir.path()), "alpha");
    EXPECT_EQ(FolderPlaceholder(dir.file("alpha")), "");
    EXPECT_TRUE(ListFileViewFolder(dir.file("missing")).Files.empty());
}

// Names outside the code page list whole, so that the path the window
// builds from them names the very entry.
TEST(FileViewFolder, NamesOutsideTheCodePageLeadBackToTheirEntries)
{
    testsupport::TempDir dir;
    std::filesystem::create_directories(dir.file("M\xC3\xBCller"));
    std::filesystem::create_directories(dir.file("M\xC3\xA4ller"));
    testsupport::WriteFileBytes(dir.file("M\xC3\xBCller/\xE6\x97\xA5.bin"), "x");
    const TFolderListing listing = ListFileViewFolder(dir.path());
    ASSERT_EQ(listing.Folders, (std::vector<std::string>{"M\x98\xC3\xA4ller", "M\x98\xC3\xBCller"}));
    const TFolderListing inner = ListFileViewFolder(dir.path() + "\\" + listing.Folders[1]);
    ASSERT_EQ(inner.Files, (std::vector<std::string>{"\x98\xE6\x97\xA5.bin"}));
    EXPECT_EQ(NativePath(dir.path() + "\\" + listing.Folders[1] + "\\" + inner.Files[0]),
              dir.file("M\xC3\xBCller/\xE6\x97\xA5.bin"));
}

} // namespace
