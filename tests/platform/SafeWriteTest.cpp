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
#include <grp.h>
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

namespace {

// A program killed while it saves `target`, its temporary half written.
void killMidSave(const std::string& target)
{
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
}

} // namespace

TEST(SafeWrite, ATemporaryOfAKilledSaveIsRemovedByTheNextSave)
{
    TempDir dir;
    const std::string target = dir.file("big.bin");
    WriteFileBytes(target, "old");
    WriteFileBytes(dir.file(".big.bin.notes.tarku~"), "a user's file of a look-alike name");
    killMidSave(target);
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

TEST(SafeWrite, TemporariesOfKilledSavesOfOtherFilesGoWhenTheFolderIsNextWritten)
{
    TempDir dir;
    WriteFileBytes(dir.file("a.bin"), "old");
    killMidSave(dir.file("a.bin"));
    // An earlier build named its temporaries after the target.
    WriteFileBytes(dir.file(".b.bin.999999999.1.tarku~"), "left by a save killed long ago");
    WriteFileBytes(dir.file(".b.bin.notes.tarku~"), "a user's file of a look-alike name");
    ASSERT_EQ(temporariesIn(dir.path()).size(), 3u);

    ASSERT_TRUE(WriteWholeFileSafely(dir.file("other.hex"), "new"));
    EXPECT_EQ(temporariesIn(dir.path()), std::vector<std::string>{".b.bin.notes.tarku~"});
    EXPECT_EQ(ReadFileBytes(dir.file("a.bin")), "old");
}

TEST(SafeWrite, NamesAsLongAsTheSystemAllows)
{
    const struct {
        size_t Length;
        bool Saved;
    } cases[] = {{5, true}, {238, true}, {250, true}, {255, true}, {256, false}};
    for (const auto& c : cases) {
        TempDir dir;
        const std::string name = std::string(c.Length - 4, 'n') + ".bin";
        EXPECT_EQ(WriteWholeFileSafely(dir.file(name), "new"), c.Saved) << c.Length;
        if (c.Saved) {
            EXPECT_EQ(ReadFileBytes(dir.file(name)), "new") << c.Length;
        }
        EXPECT_TRUE(temporariesIn(dir.path()).empty()) << c.Length;
    }
}

namespace {

// Runs the save in a child process as a user whom permissions bind (the
// tests may run as root, who enters any folder): whether it succeeded.
bool savedAsAUser(const std::function<bool()>& save)
{
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(2);
        ::_exit(save() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) != 2) << "the user could not be taken on";
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

struct TLinkCase {
    const char* Name;
    // Makes "save.bin" in dir (a link or a file) and what it leads to.
    std::function<void(const TempDir& dir)> Make;
    bool Saved;
    // After the save: each file's bytes ("" for none), and whether
    // "save.bin" is still a link.
    std::vector<std::pair<const char*, const char*>> Files;
    bool StillALink;
};

} // namespace

// A save through a link: what is written, what is refused, and that a
// refused save leaves every link and file as it was.
TEST(SafeWrite, LinksAreWrittenThroughRefusedOrReplacedByWhatTheyLeadTo)
{
    const auto link = [](const TempDir& d, const std::string& to, const std::string& name = "save.bin") {
        fs::create_symlink(to, d.file(name));
    };
    const auto file = [](const TempDir& d, const std::string& name, mode_t mode) {
        WriteFileBytes(d.file(name), "old");
        ::chmod(d.file(name).c_str(), mode);
    };
    const TLinkCase cases[] = {
        {"a link to a file", [&](const TempDir& d) { file(d, "real.bin", 0666), link(d, "real.bin"); }, true,
         {{"real.bin", "new"}}, true},
        {"a link to a link to a file",
         [&](const TempDir& d) { file(d, "real.bin", 0666), link(d, "real.bin", "mid.bin"), link(d, "mid.bin"); },
         true, {{"real.bin", "new"}}, true},
        {"a dangling link", [&](const TempDir& d) { link(d, "gone/away.bin"); }, true, {{"save.bin", "new"}},
         false},
        {"a link loop", [&](const TempDir& d) { link(d, "loop.bin", "loop.bin"), link(d, "loop.bin"); }, false,
         {}, true},
        {"a link to a read-only file", [&](const TempDir& d) { file(d, "real.bin", 0444), link(d, "real.bin"); },
         false, {{"real.bin", "old"}}, true},
        {"a link into a folder the user may not enter",
         [&](const TempDir& d) {
             fs::create_directory(d.file("locked"));
             file(d, "locked/real.bin", 0666);
             ::chmod(d.file("locked").c_str(), 0);
             link(d, "locked/real.bin");
         },
         false, {}, true},
        {"a link to a folder", [&](const TempDir& d) { fs::create_directory(d.file("sub")), link(d, "sub"); },
         false, {}, true},
        // The other name of a hard link keeps the old bytes: the save is a
        // new file under the name saved.
        {"a hard link", [&](const TempDir& d) { file(d, "save.bin", 0666), fs::create_hard_link(d.file("save.bin"), d.file("other.bin")); },
         true, {{"save.bin", "new"}, {"other.bin", "old"}}, false},
    };
    for (const TLinkCase& c : cases)
        for (const bool pieces : {false, true}) {
            TempDir dir;
            ::chmod(dir.path().c_str(), 0777);
            c.Make(dir);
            const std::string target = dir.file("save.bin");
            const auto before = fs::is_symlink(target) ? fs::read_symlink(target) : fs::path();
            const bool saved = savedAsAUser([&] {
                if (!pieces)
                    return WriteWholeFileSafely(target, "new");
                TSafeFileWriter writer(target);
                return writer.Write("new", 3) && writer.Commit();
            });
            const std::string what = std::string(c.Name) + (pieces ? ", in pieces" : "");
            EXPECT_EQ(saved, c.Saved) << what;
            EXPECT_EQ(fs::is_symlink(target), c.StillALink) << what;
            if (c.StillALink) {
                EXPECT_EQ(fs::read_symlink(target), before) << what;
            }
            if (fs::exists(dir.file("locked")))
                ::chmod(dir.file("locked").c_str(), 0755);
            for (const auto& [name, bytes] : c.Files)
                EXPECT_EQ(ReadFileBytes(dir.file(name)), bytes) << what << ": " << name;
            if (fs::exists(dir.file("locked/real.bin"))) {
                EXPECT_EQ(ReadFileBytes(dir.file("locked/real.bin")), "old") << what;
            }
            EXPECT_TRUE(temporariesIn(dir.path()).empty()) << what;
        }
}

// A dangling link stays until the file that replaces it is whole: a save
// that fails, or a pair of files one of which is refused, leaves it.
TEST(SafeWrite, AFailedSaveLeavesADanglingLink)
{
    TempDir dir;
    fs::create_symlink("gone.bin", dir.file("dump.bin"));
    FailWritesForTest = [] { return true; };
    EXPECT_FALSE(WriteWholeFileSafely(dir.file("dump.bin"), "new"));
    FailWritesForTest = nullptr;
    EXPECT_TRUE(fs::is_symlink(dir.file("dump.bin")));

    WriteFileBytes(dir.file("dump.bin.mrk"), "old");
    ::chmod(dir.file("dump.bin.mrk").c_str(), 0444);
    {
        TSafeFileWriter dump(dir.file("dump.bin"));
        TSafeFileWriter markers(dir.file("dump.bin.mrk"));
        EXPECT_TRUE(dump.Write("new", 3) && dump.Finish());
        EXPECT_FALSE(markers.Write("new", 3));
    }
    EXPECT_TRUE(fs::is_symlink(dir.file("dump.bin")));
    EXPECT_EQ(fs::read_symlink(dir.file("dump.bin")), "gone.bin");
    EXPECT_TRUE(temporariesIn(dir.path()).empty());
}

TEST(SafeWrite, TheSavedFileKeepsOwnerGroupAndMode)
{
    TempDir dir;
    const std::string target = dir.file("owned.bin");
    WriteFileBytes(target, "old");
    uid_t owner = ::geteuid();
    gid_t group = ::getegid();
    if (owner == 0) {
        owner = 12345, group = 23456;
    } else {
        gid_t groups[64];
        const int n = ::getgroups(64, groups);
        for (int i = 0; i < n; ++i)
            if (groups[i] != group) {
                group = groups[i];
                break;
            }
        if (group == ::getegid())
            GTEST_SKIP() << "the user is in no second group to give the file to";
    }
    ASSERT_EQ(::chown(target.c_str(), owner, group), 0);
    ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
    ASSERT_TRUE(WriteWholeFileSafely(target, "new"));
    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, owner);
    EXPECT_EQ(st.st_gid, group);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(ReadFileBytes(target), "new");

    // A user who may not give the file to its owner still saves it.
    ::chmod(dir.path().c_str(), 0777);
    ::chmod(target.c_str(), 0666);
    EXPECT_TRUE(savedAsAUser([&] { return WriteWholeFileSafely(target, "mine"); }));
    EXPECT_EQ(ReadFileBytes(target), "mine");
}
