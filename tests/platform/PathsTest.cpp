#include "platform/Paths.h"

#include "platform/Files.h"
#include "TestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>

using testsupport::TempDir;
using testsupport::WriteFileBytes;

TEST(Paths, ProgramRelativePathsResolveWithoutRegardToCase)
{
    TempDir dir;
    std::filesystem::create_directories(dir.file("scripts/Мои"));
    WriteFileBytes(dir.file("scripts/Мои/Chip.chl"), "x");
    SetProgramFolder(dir.path() + "/");
    EXPECT_EQ(ProgramFolder(), dir.path());

    EXPECT_EQ(NativePath("Scripts\\\xCC\xCE\xC8\\chip.CHL"), dir.file("scripts/Мои/Chip.chl"));
    EXPECT_TRUE(FileExists(NativePath("SCRIPTS\\\xEC\xEE\xE8\\CHIP.chl")));
    // A name that matches nothing stays as written, so new files can be made.
    EXPECT_EQ(NativePath("scripts\\New.cfg"), dir.file("scripts/New.cfg"));
    EXPECT_EQ(NativePath(dir.path() + "\\SCRIPTS"), dir.file("scripts"));
}

TEST(Paths, NameParts)
{
    EXPECT_EQ(ExtractFileName("Scripts\\grp\\a.chl"), "a.chl");
    EXPECT_EQ(ExtractFilePath("Scripts\\grp/a.chl"), "Scripts\\grp/");
    EXPECT_EQ(ExtractFileExt("d\\x.tar.HEX"), ".HEX");
    EXPECT_EQ(ExtractFileExt("d.x\\noext"), "");
    EXPECT_EQ(ChangeFileExt("d.x\\dump.bin", ".mrk"), "d.x\\dump.mrk");
    EXPECT_EQ(ChangeFileExt("d.x\\dump", ".txt"), "d.x\\dump.txt");
}

TEST(Paths, ValidFileNameReplacesWhatNoFileSystemTakes)
{
    const struct {
        std::string name;
        std::string expected;
    } cases[] = {
        {"24C02", "24C02"},
        {"AT24C02/04", "AT24C02-04"},
        {"A\\B:C", "A-B-C"},
        {"x*?\"<>|y", "x------y"},
        {std::string("a\0b\tc", 5), "a-b-c"},
        {"\xCC\xEA\xF1 (1.8V)", "\xCC\xEA\xF1 (1.8V)"}, // Cyrillic and brackets stay
    };
    for (const auto& c : cases)
        EXPECT_EQ(ValidFileName(c.name), c.expected) << c.name;
}
