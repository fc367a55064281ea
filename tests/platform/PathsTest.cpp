#include "platform/Files.h"
#include "platform/Paths.h"

#include "TestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

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

TEST(Files, SafeWriteReplacesWholeFileOrNothing)
{
    TempDir dir;
    const std::string path = dir.file("f.bin");
    ASSERT_TRUE(WriteWholeFileSafely(path, std::string("a\0b", 3)));
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(path, bytes));
    EXPECT_EQ(bytes, std::string("a\0b", 3));
    EXPECT_FALSE(WriteWholeFileSafely(dir.file("missing/f.bin"), "x"));
    EXPECT_FALSE(ReadWholeFile(dir.file("missing.bin"), bytes));
    EXPECT_EQ(ListFolder(dir.path(), false, true), std::vector<std::string>{"f.bin"});
}

TEST(Files, SafeWriteInPiecesReplacesTheFileOnlyOnCommit)
{
    TempDir dir;
    const std::string path = dir.file("big.hex");
    WriteFileBytes(path, "old");
    {
        TSafeFileWriter writer(path);
        ASSERT_TRUE(writer.Write("ab", 2));
        ASSERT_TRUE(writer.Write("", 0));
        // Abandoned half-way: the old file stays, no temporary is left.
    }
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(path, bytes));
    EXPECT_EQ(bytes, "old");
    EXPECT_EQ(ListFolder(dir.path(), false, true), std::vector<std::string>{"big.hex"});

    TSafeFileWriter writer(path);
    ASSERT_TRUE(writer.Write("ab", 2));
    ASSERT_TRUE(writer.Write("cd", 2));
    ASSERT_TRUE(writer.Commit());
    EXPECT_FALSE(writer.Commit()) << "a writer commits once";
    ASSERT_TRUE(ReadWholeFile(path, bytes));
    EXPECT_EQ(bytes, "abcd");

    TSafeFileWriter nowhere(dir.file("missing/f.bin"));
    EXPECT_FALSE(nowhere.Write("x", 1));
    EXPECT_FALSE(nowhere.Commit());
}

TEST(Files, SafeWriteGoesThroughALinkAndKeepsPermissions)
{
    namespace fs = std::filesystem;
    TempDir dir;
    fs::create_directory(dir.file("real"));
    const std::string real = dir.file("real/settings.ini");
    WriteFileBytes(real, "old");
    ::chmod(real.c_str(), 0600);
    fs::create_symlink(real, dir.file("link.ini"));

    ASSERT_TRUE(WriteWholeFileSafely(dir.file("link.ini"), "new"));
    EXPECT_TRUE(fs::is_symlink(dir.file("link.ini")));
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(real, bytes));
    EXPECT_EQ(bytes, "new");
    struct stat st {};
    ASSERT_EQ(::stat(real.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
    EXPECT_EQ(ListFolder(dir.file("real"), false, true), std::vector<std::string>{"settings.ini"});
}
