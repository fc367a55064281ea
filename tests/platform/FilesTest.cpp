#include "platform/Files.h"

#include "TestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

using testsupport::TempDir;
using testsupport::WriteFileBytes;

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
