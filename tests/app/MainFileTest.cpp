// The File menu's rules: the save-part range, the size label's toggle, the
// drop question and the watch on a buffer's file.
#include "app/MainFile.h"

#include "TestSupport.h"
#include "platform/Paths.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

namespace {

using testsupport::TempDir;
using testsupport::WriteFileBytes;

TDumpBuffer Buffer(int64_t size)
{
    TDumpBuffer b;
    b.SetSize(size);
    return b;
}

TEST(MainFile, SavePartFieldsStartAtTheSelectionOrTheView)
{
    TDumpBuffer b = Buffer(300);
    TSavePartFields f = SavePartFields(b, 0x20);
    EXPECT_EQ(f.Start, "0020");
    EXPECT_EQ(f.End, "012B");
    b.SelStart = 0x13;
    b.SelEnd = 0x15;
    f = SavePartFields(b, 0x20);
    EXPECT_EQ(f.Start, "0013");
    EXPECT_EQ(f.End, "0015");

    TDumpBuffer big = Buffer(0x123457);
    f = SavePartFields(big, 0x100000);
    EXPECT_EQ(f.Start, "100000");
    EXPECT_EQ(f.End, "123456");

    // No last byte: nothing negative reaches the fields.
    f = SavePartFields(Buffer(0), 0);
    EXPECT_EQ(f.Start, "0000");
    EXPECT_EQ(f.End, "0000");
}

TEST(MainFile, SavePartRange)
{
    const TDumpBuffer b = Buffer(0x100);
    struct Case {
        const char* Start;
        const char* End;
        bool Valid;
        int64_t First, Last;
    };
    const Case cases[] = {
        {"0010", "001F", true, 0x10, 0x1F},
        {"10", "10", true, 0x10, 0x10},
        {"$10", "0x1f", true, 0x10, 0x1F},
        {" 0 ", "ff", true, 0, 0xFF},
        {"0", "100", false, 0, 0},       // one past the last byte
        {"1F", "10", false, 0, 0},       // end before start
        {"", "10", false, 0, 0},
        {"10", "", false, 0, 0},
        {"0x", "10", false, 0, 0},
        {"$", "10", false, 0, 0},
        {"-1", "10", false, 0, 0},
        {"G1", "10", false, 0, 0},
        {"1 0", "20", false, 0, 0},
        {"0", "FFFFFFFFFFFFFFFF", false, 0, 0},  // never wraps to a small number
        {"0", "10000000000000010", false, 0, 0}, // more digits than a number holds
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.Start) + " - " + c.End);
        const auto range = ParseSavePartRange(c.Start, c.End, b);
        ASSERT_EQ(range.has_value(), c.Valid);
        if (range) {
            EXPECT_EQ(range->First, c.First);
            EXPECT_EQ(range->Last, c.Last);
        }
    }
    EXPECT_FALSE(ParseSavePartRange("0", "0", Buffer(0)).has_value());
}

// A buffer sized by its file toggles for whole words only; a chip's buffer
// only when its module shows words, whatever its size.
TEST(MainFile, WordToggleOnlyForWholeWordsOrAWordModule)
{
    struct Case {
        int64_t Size;
        bool EditorMode;
        bool ModuleWords;
        bool Active;
    };
    const Case cases[] = {{0, true, false, false},    {1, true, false, false},   {2, true, false, true},
                          {255, true, false, false},  {256, true, false, true},  {256, true, true, true},
                          {256, false, false, false}, {256, false, true, true},  {255, false, true, true}};
    for (const Case& c : cases) {
        TDumpBuffer b = Buffer(c.Size);
        b.EditorMode = c.EditorMode;
        EXPECT_EQ(WordToggleActive(b, c.ModuleWords), c.Active) << c.Size << " " << c.EditorMode << c.ModuleWords;
    }
}

TEST(MainFile, DropQuestion)
{
    EXPECT_EQ(DropQuestion("/tmp/a b.bin"), "Load file \"/tmp/a b.bin\" ?");
}

class MainFileWatch : public ::testing::Test {
protected:
    TempDir dir_;
    std::string savedFolder_ = ProgramFolder();
    void SetUp() override { SetProgramFolder(dir_.path()); }
    void TearDown() override { SetProgramFolder(savedFolder_); }
    // Another program writes the file: new contents, a later age.
    void ChangeOutside(const std::string& path, const std::string& bytes)
    {
        const auto before = std::filesystem::last_write_time(path);
        WriteFileBytes(path, bytes);
        std::filesystem::last_write_time(path, before + std::chrono::seconds(5));
    }
};

TEST_F(MainFileWatch, AnOutsideChangeIsSeenOnce)
{
    const std::string path = dir_.file("a.bin");
    WriteFileBytes(path, "1234");
    TWatchedFile watch;
    WatchFile(watch, path);
    EXPECT_EQ(watch.Name, path);
    EXPECT_FALSE(TakeOutsideChange(watch));
    ChangeOutside(path, "5678");
    EXPECT_TRUE(TakeOutsideChange(watch));
    EXPECT_FALSE(TakeOutsideChange(watch));
}

TEST_F(MainFileWatch, AChangeWithinTheSameSecondIsSeen)
{
    const std::string path = dir_.file("a.bin");
    WriteFileBytes(path, "1234");
    TWatchedFile watch;
    WatchFile(watch, path);
    std::filesystem::last_write_time(path, std::filesystem::last_write_time(path) + std::chrono::milliseconds(1));
    EXPECT_TRUE(TakeOutsideChange(watch));
}

TEST_F(MainFileWatch, TheProgramsOwnSaveIsNoOutsideChange)
{
    const std::string path = dir_.file("a.bin");
    WriteFileBytes(path, "1234");
    TWatchedFile watch;
    WatchFile(watch, path);
    ChangeOutside(path, "own save");
    RefreshWatch(watch);
    EXPECT_FALSE(TakeOutsideChange(watch));
}

// A buffer made by New is called "noname.bin"; a file of that name in the
// program folder is not the buffer's and never asks for a reload.
TEST_F(MainFileWatch, NothingWatchedNeverAsks)
{
    WriteFileBytes(dir_.file("noname.bin"), "other");
    TWatchedFile watch;
    EXPECT_FALSE(TakeOutsideChange(watch));
    RefreshWatch(watch);
    EXPECT_TRUE(watch.Name.empty());
    ChangeOutside(dir_.file("noname.bin"), "changed");
    EXPECT_FALSE(TakeOutsideChange(watch));
}

TEST_F(MainFileWatch, AFileThatWentAwayIsNoChange)
{
    const std::string path = dir_.file("a.bin");
    WriteFileBytes(path, "1234");
    TWatchedFile watch;
    WatchFile(watch, path);
    std::filesystem::remove(path);
    EXPECT_FALSE(TakeOutsideChange(watch));
    // It comes back written by another program: that is a change.
    WriteFileBytes(path, "5678");
    std::filesystem::last_write_time(path, std::filesystem::file_time_type::clock::now() + std::chrono::hours(1));
    EXPECT_TRUE(TakeOutsideChange(watch));
}

} // namespace
