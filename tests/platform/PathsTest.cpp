#include "platform/Paths.h"

#include "platform/Cp1251.h"
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

// A name outside the page resolves to itself; without regard to case only
// where the page has the letters, and never to another name.
TEST(Paths, NamesOutsideThePageResolveToThemselvesOnly)
{
    TempDir dir;
    for (const char* folder : {"M\xC3\xBCller", "M\xC3\xA4ller", "\xC3\xA3", "\xE6\x97\xA5\xE6\x9C\xAC", "a\xFF" "b"})
        std::filesystem::create_directories(dir.file(folder));
    WriteFileBytes(dir.file("M\xC3\xBCller/dump.bin"), "x");
    SetProgramFolder(dir.path());
    const struct {
        const char* Name;
        std::string Path;     // below the program folder, as the program holds it
        std::string Expected; // below the program folder, as the system names it
    } cases[] = {
        {"as written", "M\x98\xC3\xBCller\\dump.bin", "M\xC3\xBCller/dump.bin"},
        {"the page's letters in another case", "m\x98\xC3\xBCLLER\\DUMP.bin", "M\xC3\xBCller/dump.bin"},
        {"Japanese", "\x98\xE6\x97\xA5\x98\xE6\x9C\xAC", "\xE6\x97\xA5\xE6\x9C\xAC"},
        // The "?" an old setting holds for the lost letter names neither.
        {"a question mark", "M?ller\\dump.bin", "M?ller/dump.bin"},
        {"a question mark in another case", "m?LLER", "m?LLER"},
        // The page folds the bytes of \xC3\xBC and \xC3\xA3 alike; marked
        // characters are compared as they are.
        {"a marked letter whose bytes fold", "\x98\xC3\xBC", "\xC3\xBC"},
        {"a name that is not UTF-8", "A?B", "A?B"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NativePath(c.Path), dir.path() + "/" + c.Expected) << c.Name;
}

// A path from a window names its file exactly; only what the program
// joined with "\\" to a folder, or a path relative to the program folder,
// is matched without regard to case.
TEST(Paths, ANameFromAWindowIsNotMatchedToAnotherCase)
{
    TempDir dir;
    std::filesystem::create_directories(dir.file("sub"));
    WriteFileBytes(dir.file("sub/x.hex"), "x");
    SetProgramFolder(dir.path());
    const struct {
        std::string Path;
        std::string Expected; // below the program folder
    } cases[] = {
        {dir.path() + "/sub/X.hex", "sub/X.hex"},
        {dir.path() + "/SUB/x.hex", "SUB/x.hex"},
        {dir.path() + "/sub\\X.HEX", "sub/x.hex"},
        {dir.path() + "\\SUB\\X.hex", "sub/x.hex"},
        {dir.path() + "\\SUB/X.hex", "sub/x.hex"},
        {dir.path() + "/SUB\\X.hex", "SUB/X.hex"},
        {"SUB/X.HEX", "sub/x.hex"},
        {"Sub\\X.Hex", "sub/x.hex"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NativePath(c.Path), dir.file(c.Expected)) << c.Path;
}

TEST(Paths, WindowPathsAndShownPaths)
{
    EXPECT_EQ(QStringToPath(QString::fromUtf8("/tmp/M\xC3\xBCller/\xD0\x96.bin")), "/tmp/M\x98\xC3\xBCller/\xC6.bin");
    EXPECT_EQ(NativePath(QStringToPath(QString::fromUtf8("/no such/\xE6\x97\xA5.bin"))), "/no such/\xE6\x97\xA5.bin");
    EXPECT_EQ(DisplayPath("/work/prog\\Dumps\\Backup\\a.bin"), "/work/prog/Dumps/Backup/a.bin");
    EXPECT_EQ(DisplayPath("noname.bin"), "noname.bin");
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
