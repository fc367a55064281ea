// The safe writer against what goes wrong on real file systems: targets it
// must refuse, a disk that fills up, a program killed while it saves, and
// two programs saving one file at once.
#include "platform/Files.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using testsupport::ReadFileBytes;
using testsupport::TempDir;
using testsupport::WriteFileBytes;

namespace {

std::vector<std::string> temporariesIn(const std::string& folder)
{
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().filename().string().find(".tarku~") != std::string::npos)
            found.push_back(entry.path().filename().string());
    return found;
}

struct TFaultCase {
    const char* Name;
    // Prepares the fault around `target` in `dir`; the old target's bytes
    // are "old" unless the case puts something else there.
    std::function<void(const TempDir& dir, const std::string& target)> Make;
    std::function<void(const TempDir& dir, const std::string& target)> Undo;
};

} // namespace

TEST(SafeWrite, RefusesWhatItMustNotReplaceAndKeepsTheOldFile)
{
    const TFaultCase cases[] = {
        {"read-only file", [](const TempDir&, const std::string& t) { ::chmod(t.c_str(), 0444); },
         [](const TempDir&, const std::string& t) { ::chmod(t.c_str(), 0644); }},
        {"read-only folder", [](const TempDir& d, const std::string&) { ::chmod(d.path().c_str(), 0555); },
         [](const TempDir& d, const std::string&) { ::chmod(d.path().c_str(), 0755); }},
        {"full disk", [](const TempDir&, const std::string&) { FailWritesForTest = [] { return true; }; },
         [](const TempDir&, const std::string&) { FailWritesForTest = nullptr; }},
    };
    for (const TFaultCase& c : cases) {
        TempDir dir;
        const std::string target = dir.file("dump.bin");
        WriteFileBytes(target, "old");
        c.Make(dir, target);
        EXPECT_FALSE(WriteWholeFileSafely(target, "new")) << c.Name;
        {
            TSafeFileWriter pieces(target);
            pieces.Write("new", 3);
            EXPECT_FALSE(pieces.Commit()) << c.Name;
        }
        c.Undo(dir, target);
        EXPECT_EQ(ReadFileBytes(target), "old") << c.Name;
        EXPECT_TRUE(temporariesIn(dir.path()).empty()) << c.Name;
    }
}

TEST(SafeWrite, AFolderIsNoTargetAndADanglingLinkBecomesTheFile)
{
    TempDir dir;
    fs::create_directory(dir.file("folder"));
    WriteFileBytes(dir.file("folder/inside"), "kept");
    EXPECT_FALSE(WriteWholeFileSafely(dir.file("folder"), "new"));
    EXPECT_EQ(ReadFileBytes(dir.file("folder/inside")), "kept");

    // A link that leads nowhere has nothing to write through to: the save
    // puts the file in the link's place, and nothing lands elsewhere.
    fs::create_symlink(dir.file("gone/away.bin"), dir.file("link.bin"));
    ASSERT_TRUE(WriteWholeFileSafely(dir.file("link.bin"), "new"));
    EXPECT_FALSE(fs::is_symlink(dir.file("link.bin")));
    EXPECT_EQ(ReadFileBytes(dir.file("link.bin")), "new");
    EXPECT_FALSE(fs::exists(dir.file("gone")));
}

TEST(SafeWrite, AFullFileSystemKeepsTheOldFile)
{
    TempDir dir;
    const std::string mountPoint = dir.file("small");
    fs::create_directory(mountPoint);
    if (::mount("tmpfs", mountPoint.c_str(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "no tmpfs can be mounted here; the injected failure above stands for it";
    const std::string target = mountPoint + "/dump.bin";
    WriteFileBytes(target, "old");
    EXPECT_FALSE(WriteWholeFileSafely(target, std::string(256 * 1024, 'x')));
    EXPECT_EQ(ReadFileBytes(target), "old");
    EXPECT_TRUE(temporariesIn(mountPoint).empty());
    ::umount(mountPoint.c_str());
}

TEST(SafeWrite, ATemporaryOfAKilledSaveIsRemovedByTheNextSave)
{
    TempDir dir;
    const std::string target = dir.file("big.bin");
    WriteFileBytes(target, "old");
    WriteFileBytes(dir.file(".big.bin.notes.tarku~"), "a user's file of a look-alike name");
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        TSafeFileWriter writer(target);
        const std::string piece(1 << 20, 'n');
        for (int i = 0; i < 4; ++i)
            writer.Write(piece.data(), piece.size());
        (void)!::write(ready[1], "w", 1);
        ::pause();
        ::_exit(0);
    }
    char c = 0;
    ASSERT_EQ(::read(ready[0], &c, 1), 1);
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    ::close(ready[0]);
    ::close(ready[1]);
    EXPECT_EQ(ReadFileBytes(target), "old");
    ASSERT_EQ(temporariesIn(dir.path()).size(), 2u);

    ASSERT_TRUE(WriteWholeFileSafely(target, "new"));
    EXPECT_EQ(ReadFileBytes(target), "new");
    EXPECT_EQ(temporariesIn(dir.path()), std::vector<std::string>{".big.bin.notes.tarku~"});
}

TEST(SafeWrite, TwoProgramsSavingOneFileLeaveExactlyOneOfTheSaves)
{
    TempDir dir;
    const std::string target = dir.file("shared.hex");
    constexpr int Saves = 50;
    constexpr size_t Size = 256 * 1024;
    // Every save is one letter repeated: a mix of two saves shows as two
    // letters in one file, a cut save as the wrong size.
    auto save = [&](char letter) { return WriteWholeFileSafely(target, std::string(Size, letter)); };
    pid_t children[2];
    for (int p = 0; p < 2; ++p) {
        children[p] = ::fork();
        ASSERT_GE(children[p], 0);
        if (children[p] == 0) {
            int failed = 0;
            for (int i = 0; i < Saves; ++i)
                failed += save(char((p == 0 ? 'a' : 'A') + i % 26)) ? 0 : 1;
            ::_exit(failed);
        }
    }
    int seen = 0;
    for (int done = 0; done < 2;) {
        std::string bytes;
        if (ReadWholeFile(target, bytes)) {
            ++seen;
            ASSERT_EQ(bytes.size(), Size);
            ASSERT_EQ(bytes.find_first_not_of(bytes[0]), std::string::npos);
        }
        for (pid_t& child : children) {
            int status = 0;
            if (child > 0 && ::waitpid(child, &status, WNOHANG) == child) {
                EXPECT_TRUE(WIFEXITED(status));
                EXPECT_EQ(WEXITSTATUS(status), 0) << "saves reported as failed";
                child = 0;
                ++done;
            }
        }
    }
    const std::string last = ReadFileBytes(target);
    ASSERT_EQ(last.size(), Size);
    // Whichever program renamed last, its last save.
    EXPECT_TRUE(last[0] == char('a' + (Saves - 1) % 26) || last[0] == char('A' + (Saves - 1) % 26)) << last[0];
    EXPECT_TRUE(temporariesIn(dir.path()).empty());
    EXPECT_GT(seen, 0);
}

TEST(SafeWrite, ANewFileIsClaimedByOneCreatorOnly)
{
    TempDir dir;
    EXPECT_TRUE(CreateNewFile(dir.file("note.txt")));
    EXPECT_FALSE(CreateNewFile(dir.file("note.txt")));
    EXPECT_FALSE(CreateNewFile(dir.file("missing/note.txt")));
}
