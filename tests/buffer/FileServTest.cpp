// Loading and saving a device buffer: formats by extension, EditorMode
// sizing, marker side files, and failures that leave the buffer untouched.
#include "buffer/FileServ.h"

#include "TestSupport.h"
#include "platform/MessageBox.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <fstream>
#include <unistd.h>

namespace {

using testsupport::ReadFileBytes;
using testsupport::TempDir;
using testsupport::WriteFileBytes;

void Fill(TDumpBuffer& b, int64_t size, uint8_t seed)
{
    b.SetSize(size);
    for (int64_t i = 0; i < size; ++i) {
        b.Data[size_t(i)] = uint8_t(i * 13 + seed);
        b.Markers[size_t(i)] = uint8_t((i + seed) % 8);
    }
}

std::vector<uint8_t> DataOf(const TDumpBuffer& b)
{
    return std::vector<uint8_t>(b.Data.begin(), b.Data.begin() + b.GetSize());
}

std::vector<uint8_t> MarkersOf(const TDumpBuffer& b)
{
    return std::vector<uint8_t>(b.Markers.begin(), b.Markers.begin() + b.GetSize());
}

// Collects message boxes instead of showing them.
struct BoxCatcher {
    std::vector<std::string> texts;
    MessageBoxHandler old;
    BoxCatcher()
    {
        old = SetMessageBoxHandler([this](const std::string& text, const std::string&, unsigned) {
            texts.push_back(text);
            return int(IDOK);
        });
    }
    ~BoxCatcher() { SetMessageBoxHandler(old); }
};

TEST(DumpFiles, FormatFollowsTheUpperCasedExtension)
{
    EXPECT_EQ(DumpFormatOf("a.hex"), TDumpFormat::Hex);
    EXPECT_EQ(DumpFormatOf("C:\\x\\A.HeX"), TDumpFormat::Hex);
    EXPECT_EQ(DumpFormatOf("a.s19"), TDumpFormat::S19);
    EXPECT_EQ(DumpFormatOf("a.EEF"), TDumpFormat::Eef);
    EXPECT_EQ(DumpFormatOf("a.bin"), TDumpFormat::Raw);
    EXPECT_EQ(DumpFormatOf("hex"), TDumpFormat::Raw);
}

TEST(DumpFiles, SaveAndLoadEveryFormatWithMarkers)
{
    TempDir dir;
    for (const char* name : {"d.bin", "d.hex", "d.s19", "d.eef"}) {
        TDumpBuffer saved;
        Fill(saved, 300, 7);
        saved.UseMarkersFile = true;
        std::string error;
        ASSERT_TRUE(SaveDumpFile(saved, dir.file(name), "", error)) << error;
        EXPECT_EQ(ReadFileBytes(dir.file(name) + ".mrk").size(), 300u);

        TDumpBuffer loaded;
        loaded.EditorMode = true;
        loaded.Modified = true;
        TDumpLoadInfo info;
        ASSERT_TRUE(LoadDumpFile(loaded, dir.file(name), info)) << info.Error;
        EXPECT_EQ(info.Size, 300) << name;
        EXPECT_EQ(DataOf(loaded), DataOf(saved)) << name;
        EXPECT_EQ(MarkersOf(loaded), MarkersOf(saved)) << name;
        EXPECT_FALSE(loaded.Modified);
    }
}

TEST(DumpFiles, WithoutEditorModeTheBufferKeepsItsSize)
{
    TempDir dir;
    WriteFileBytes(dir.file("long.bin"), std::string(100, 'a'));
    TDumpBuffer b;
    Fill(b, 64, 1);
    TDumpLoadInfo info;
    ASSERT_TRUE(LoadDumpFile(b, dir.file("long.bin"), info));
    EXPECT_EQ(b.GetSize(), 64);
    EXPECT_EQ(info.Size, 100) << "the caller compares the file's size with the buffer's";
    EXPECT_EQ(DataOf(b), std::vector<uint8_t>(64, 'a'));

    // A shorter raw file: the rest keeps its bytes, and only the loaded part
    // loses its markers.
    Fill(b, 64, 1);
    WriteFileBytes(dir.file("short.bin"), "xyz");
    ASSERT_TRUE(LoadDumpFile(b, dir.file("short.bin"), info));
    EXPECT_EQ(b.Data[2], 'z');
    EXPECT_EQ(b.Data[3], uint8_t(3 * 13 + 1));
    EXPECT_EQ(b.Markers[2], 0);
    EXPECT_EQ(b.Markers[3], 4);

    // Text formats: bytes the file does not reach read 0xFF, data beyond the
    // buffer is left out.
    Fill(b, 64, 1);
    WriteFileBytes(dir.file("far.hex"), ":0100020041BC\n:01008000423D\n:00000001FF\n");
    ASSERT_TRUE(LoadDumpFile(b, dir.file("far.hex"), info)) << info.Error;
    EXPECT_EQ(b.GetSize(), 64);
    EXPECT_EQ(info.Size, 0x81);
    EXPECT_EQ(b.Data[0], 0xFF);
    EXPECT_EQ(b.Data[2], 0x41);
    EXPECT_EQ(b.Data[63], 0xFF);
}

TEST(DumpFiles, EditorModeEefGapsAndSizeFromTheHighestAddress)
{
    // Records out of address order: the size is the highest address + 1,
    // not the end of the last record; gaps read 0xFF, never stale bytes.
    TempDir dir;
    WriteFileBytes(dir.file("o.eef"), "X70006000040414236\r\n\r\nX70006000000414276\r\n");
    TDumpBuffer b;
    Fill(b, 100, 9);
    b.EditorMode = true;
    TDumpLoadInfo info;
    ASSERT_TRUE(LoadDumpFile(b, dir.file("o.eef"), info)) << info.Error;
    EXPECT_EQ(b.GetSize(), 0x42);
    EXPECT_EQ(b.Data[0], 0x41);
    EXPECT_EQ(b.Data[2], 0xFF);
    EXPECT_EQ(b.Data[0x41], 0x42);
}

TEST(DumpFiles, AllFFBuffersKeepTheirSize)
{
    TempDir dir;
    for (const char* name : {"f.hex", "f.eef", "f.s19"}) {
        for (int64_t size : {16, 64, 0x10000, 0x10010}) {
            TDumpBuffer saved;
            saved.SetSize(size);
            saved.EraseBuffer();
            std::string error;
            ASSERT_TRUE(SaveDumpFile(saved, dir.file(name), "", error));
            TDumpBuffer loaded;
            loaded.EditorMode = true;
            TDumpLoadInfo info;
            ASSERT_TRUE(LoadDumpFile(loaded, dir.file(name), info)) << info.Error;
            EXPECT_EQ(loaded.GetSize(), size) << name;
        }
    }
}

TEST(DumpFiles, MalformedFilesLeaveTheBufferUntouched)
{
    TempDir dir;
    const std::pair<const char*, std::string> files[] = {
        {"bad.hex", ":0100000041BE\n:0100010041BD\n:0100020041BB\n"},
        {"bad.s19", "S1050000414277\n\nS105000241427\n"},
        {"bad.eef", "X70006000000414276\n\nX7000600000241427\n"},
    };
    for (const auto& [name, text] : files) {
        WriteFileBytes(dir.file(name), text);
        for (bool editor : {false, true}) {
            TDumpBuffer b;
            Fill(b, 40, 3);
            b.EditorMode = editor;
            b.Modified = true;
            const TDumpBuffer before = b;
            TDumpLoadInfo info;
            EXPECT_FALSE(LoadDumpFile(b, dir.file(name), info)) << name;
            EXPECT_NE(info.Error.find("Line 3: "), std::string::npos) << info.Error;
            EXPECT_NE(info.Error.find(name), std::string::npos) << info.Error;
            EXPECT_EQ(b.Data, before.Data);
            EXPECT_EQ(b.Markers, before.Markers);
            EXPECT_EQ(b.GetSize(), 40);
            EXPECT_TRUE(b.Modified);
        }
    }

    BoxCatcher boxes;
    TDumpBuffer b;
    EXPECT_FALSE(LoadFromFile(b, dir.file("bad.hex")));
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_NE(boxes.texts[0].find("Line 3: Check summ error\"."), std::string::npos);
    EXPECT_FALSE(LoadFromFile(b, dir.file("missing.bin")));
    EXPECT_NE(boxes.texts.back().find("File not found"), std::string::npos);
}

TEST(DumpFiles, EditorModeRefusesFilesAboveTheLargestBuffer)
{
    TempDir dir;
    // A sparse file one byte over the limit.
    const std::string big = dir.file("big.bin");
    const int fd = ::open(big.c_str(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, MaxDumpBufferSize + 1), 0);
    ::close(fd);
    TDumpBuffer b;
    Fill(b, 10, 0);
    b.EditorMode = true;
    TDumpLoadInfo info;
    EXPECT_FALSE(LoadDumpFile(b, big, info));
    EXPECT_NE(info.Error.find("largest buffer"), std::string::npos);
    EXPECT_EQ(b.GetSize(), 10);

    // So does a text dump addressing 4 GiB, without allocating for it.
    WriteFileBytes(dir.file("far.hex"), ":02000004FFFFFC\n:01FFFF0041C0\n");
    EXPECT_FALSE(LoadDumpFile(b, dir.file("far.hex"), info));
    EXPECT_EQ(b.GetSize(), 10);

    // Without EditorMode the head of the file is read.
    b.EditorMode = false;
    EXPECT_TRUE(LoadDumpFile(b, big, info));
    EXPECT_EQ(DataOf(b), std::vector<uint8_t>(10, 0));
}

TEST(DumpFiles, MarkerFiles)
{
    TempDir dir;
    const std::string name = dir.file("m.bin");
    WriteFileBytes(name, std::string(32, '\x11'));
    // A marker file shorter than the buffer marks what it holds and clears
    // the rest.
    WriteFileBytes(name + ".mrk", std::string(10, '\x05'));
    TDumpBuffer b;
    Fill(b, 32, 2);
    TDumpLoadInfo info;
    ASSERT_TRUE(LoadDumpFile(b, name, info));
    EXPECT_EQ(b.Markers[9], 5);
    EXPECT_EQ(b.Markers[10], 0);
    EXPECT_EQ(b.Markers[31], 0);

    // A longer one gives only the buffer's share.
    WriteFileBytes(name + ".mrk", std::string(100, '\x03'));
    ASSERT_TRUE(LoadDumpFile(b, name, info));
    EXPECT_EQ(MarkersOf(b), std::vector<uint8_t>(32, 3));
    EXPECT_EQ(b.Markers[32], 0);

    // Without a marker file only the loaded bytes lose their markers.
    ::unlink((name + ".mrk").c_str());
    WriteFileBytes(name, std::string(4, 'q'));
    Fill(b, 32, 2);
    ASSERT_TRUE(LoadDumpFile(b, name, info));
    EXPECT_EQ(b.Markers[3], 0);
    EXPECT_EQ(b.Markers[4], 6);

    // Saving without UseMarkersFile writes no marker file.
    std::string error;
    ASSERT_TRUE(SaveDumpFile(b, dir.file("n.bin"), "", error));
    EXPECT_EQ(ReadFileBytes(dir.file("n.bin")).size(), 32u);
    EXPECT_FALSE(std::ifstream(dir.file("n.bin.mrk")).good());
}

TEST(DumpFiles, FilesWithoutDataLeaveAChipBufferAlone)
{
    struct Case {
        const char* file;
        std::string text;
        const char* error = "no data";
    } cases[] = {
        {"empty.hex", ""},
        {"blank.s19", "\r\n  \r\n\r\n"},
        {"end.hex", ":00000001FF\r\n"},
        {"end.s19", "S9030000FC\r\n"},
        {"count.s19", "S5030001FB\r\n"},
        {"header.eef", "X00004000000FB\r\n"},
        {"empty.bin", "", "is empty"},
    };
    TempDir dir;
    for (const auto& c : cases) {
        WriteFileBytes(dir.file(c.file), c.text);
        TDumpBuffer b;
        Fill(b, 64, 7);
        b.Modified = true;
        TDumpLoadInfo info;
        EXPECT_FALSE(LoadDumpFile(b, dir.file(c.file), info)) << c.file;
        EXPECT_NE(info.Error.find(c.error), std::string::npos) << c.file << ": " << info.Error;
        TDumpBuffer same;
        Fill(same, 64, 7);
        EXPECT_EQ(DataOf(b), DataOf(same)) << c.file;
        EXPECT_EQ(MarkersOf(b), MarkersOf(same)) << c.file;
        EXPECT_TRUE(b.Modified) << c.file;
    }
}

// A chip's buffer asks before it takes a file that does not fit it
// exactly; a declined load changes nothing and has no message. A buffer
// sized by its files never asks.
TEST(DumpFiles, AFileOfAnotherSizeIsLoadedOnlyWhenConfirmed)
{
    TempDir dir;
    std::string raw(40, '\x5A'), hex = ":04001E0001020304D4\r\n:00000001FF\r\n"; // 0x22 bytes
    WriteFileBytes(dir.file("exact.bin"), std::string(32, '\x11'));
    WriteFileBytes(dir.file("long.bin"), raw);
    WriteFileBytes(dir.file("far.hex"), hex);
    struct Case {
        const char* file;
        bool editorMode;
        bool answer;
        int64_t askedSize; // -1: not asked
        bool loaded;
    } cases[] = {
        {"exact.bin", false, false, -1, true}, {"long.bin", false, false, 40, false},
        {"long.bin", false, true, 40, true},   {"far.hex", false, false, 0x22, false},
        {"far.hex", false, true, 0x22, true},  {"long.bin", true, false, -1, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.file) + (c.editorMode ? " editor" : " chip"));
        int64_t asked = -1;
        ConfirmDumpSize = [&](const TDumpBuffer& buffer, const std::string& fileName, int64_t fileSize) {
            EXPECT_EQ(buffer.GetSize(), 32);
            EXPECT_EQ(fileName, dir.file(c.file));
            asked = fileSize;
            return c.answer;
        };
        TDumpBuffer b;
        b.EditorMode = c.editorMode;
        Fill(b, 32, 7);
        b.Modified = true;
        TDumpBuffer before = b;
        TDumpLoadInfo info;
        EXPECT_EQ(LoadDumpFile(b, dir.file(c.file), info), c.loaded);
        EXPECT_EQ(asked, c.askedSize);
        if (!c.loaded) {
            EXPECT_EQ(info.Error, "");
            EXPECT_EQ(DataOf(b), DataOf(before));
            EXPECT_TRUE(b.Modified);
        }
    }
    ConfirmDumpSize = nullptr;
}

TEST(DumpFiles, RenamedTextDumpsAreKnownByTheirContent)
{
    TDumpBuffer source;
    Fill(source, 48, 3);
    TempDir dir;
    struct Case {
        const char* file;
        std::string text;
        bool raw;
    } cases[] = {
        {"a.s28", MakeS19Text(source), false},   {"a.s37", MakeS19Text(source), false},
        {"a.srec", MakeS19Text(source), false},  {"a.mot", MakeS19Text(source), false},
        {"a.ihx", MakeHexText(source), false},   {"a.bin", MakeS19Text(source), true},
    };
    for (const auto& c : cases) {
        WriteFileBytes(dir.file(c.file), c.text);
        TDumpBuffer b;
        Fill(b, 48, 9);
        TDumpLoadInfo info;
        ASSERT_TRUE(LoadDumpFile(b, dir.file(c.file), info)) << c.file << ": " << info.Error;
        if (c.raw)
            EXPECT_EQ(b.Data[0], uint8_t(c.text[0])) << c.file;
        else
            EXPECT_EQ(DataOf(b), DataOf(source)) << c.file;
    }
}

TEST(DumpFiles, ReadOnlyTargetsAreNotReplaced)
{
    TempDir dir;
    TDumpBuffer b;
    Fill(b, 40, 2);
    for (const char* name : {"r.bin", "r.hex", "r.s19", "r.eef"}) {
        const std::string file = dir.file(name);
        WriteFileBytes(file, "kept");
        ASSERT_EQ(chmod(file.c_str(), 0444), 0);
        std::string error;
        EXPECT_FALSE(SaveDumpFile(b, file, "", error)) << name;
        EXPECT_NE(error.find("Cannot write"), std::string::npos) << name;
        EXPECT_EQ(ReadFileBytes(file), "kept") << name;
        chmod(file.c_str(), 0644);
    }
}

TEST(DumpFiles, ASaveNameKeepsWhatWasTypedAndGainsOnlyAMissingExtension)
{
    const struct {
        const char* typed;
        int filter;
        const char* written;
    } cases[] = {
        {"/d/fw_v1.2", 1, "/d/fw_v1.2.bin"},       // a dot inside the name is no extension
        {"/d/x.bin", 4, "/d/x.bin"},               // a typed extension wins over the filter
        {"/d/x.HEX", 1, "/d/x.HEX"},
        {"/d/x", 3, "/d/x.s19"},
        {"/d/x.eef.txt", 4, "/d/x.eef.txt.eef"},
        {"/d/10-12-2026  15.46.07 24C02", 1, "/d/10-12-2026  15.46.07 24C02.bin"},
        {"/d.hex/x", 2, "/d.hex/x.hex"},            // only the file name counts
        {"/d/.bin", 1, "/d/.bin.bin"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SettleSaveName(c.typed, SaveBufferFilter, c.filter), c.written) << c.typed;
    EXPECT_EQ(SettleSaveName("/d/a.b", SaveRangeFilter, 2), "/d/a.b.txt");
    EXPECT_EQ(SettleSaveName("/d/a.TXT", SaveRangeFilter, 1), "/d/a.TXT");
}

TEST(DumpFiles, ADumpAndItsMarkersAreReplacedTogetherOrNotAtAll)
{
    TempDir dir;
    TDumpBuffer b;
    Fill(b, 40, 2);
    b.UseMarkersFile = true;
    for (const char* name : {"p.bin", "p.hex"}) {
        const std::string file = dir.file(name);
        WriteFileBytes(file, "old dump");
        WriteFileBytes(file + ".mrk", "old markers");
        ASSERT_EQ(chmod((file + ".mrk").c_str(), 0444), 0);
        std::string error;
        EXPECT_FALSE(SaveDumpFile(b, file, "", error)) << name;
        EXPECT_NE(error.find(std::string(name) + ".mrk"), std::string::npos) << error;
        EXPECT_EQ(ReadFileBytes(file), "old dump") << name;
        EXPECT_EQ(ReadFileBytes(file + ".mrk"), "old markers") << name;
        chmod((file + ".mrk").c_str(), 0644);
        ASSERT_TRUE(SaveDumpFile(b, file, "", error)) << name;
        EXPECT_EQ(ReadFileBytes(file + ".mrk").size(), 40u) << name;
    }
}

// A dump name that is a dangling link becomes the dump only together with
// its markers: a refused marker file leaves the link as it was.
TEST(DumpFiles, ARefusedMarkerFileLeavesADanglingLinkOfTheDump)
{
    TempDir dir;
    TDumpBuffer b;
    Fill(b, 40, 2);
    b.UseMarkersFile = true;
    const std::string file = dir.file("l.bin");
    ASSERT_EQ(::symlink("gone.bin", file.c_str()), 0);
    WriteFileBytes(file + ".mrk", "old markers");
    ASSERT_EQ(chmod((file + ".mrk").c_str(), 0444), 0);
    std::string error;
    EXPECT_FALSE(SaveDumpFile(b, file, "", error));
    EXPECT_NE(error.find("l.bin.mrk"), std::string::npos) << error;
    char target[64] = {};
    ASSERT_GT(::readlink(file.c_str(), target, sizeof target - 1), 0) << "the link is gone";
    EXPECT_STREQ(target, "gone.bin");
    chmod((file + ".mrk").c_str(), 0644);
    ASSERT_TRUE(SaveDumpFile(b, file, "", error));
    EXPECT_EQ(ReadFileBytes(file).size(), 40u);
    EXPECT_EQ(ReadFileBytes(file + ".mrk").size(), 40u);
}

TEST(DumpFiles, OverlongLinesAreRefusedWithoutReadingTheFileWhole)
{
    TempDir dir;
    WriteFileBytes(dir.file("long.hex"), ":0100000041BE\n:" + std::string(3 << 20, '0') + "\n");
    TDumpBuffer b;
    Fill(b, 16, 1);
    TDumpLoadInfo info;
    EXPECT_FALSE(LoadDumpFile(b, dir.file("long.hex"), info));
    EXPECT_NE(info.Error.find("Line 2: The line is too long."), std::string::npos) << info.Error;
    EXPECT_EQ(b.Data[0], uint8_t(1));
}

TEST(DumpFiles, EefTextAndUnwritableTargets)
{
    TempDir dir;
    TDumpBuffer b;
    Fill(b, 40, 0);
    std::string error;
    ASSERT_TRUE(SaveDumpFile(b, dir.file("t.eef"), "27C64 from board 3", error));
    TDumpLoadInfo info;
    ASSERT_TRUE(LoadDumpFile(b, dir.file("t.eef"), info));
    EXPECT_EQ(info.EefText, "27C64 from board 3");

    BoxCatcher boxes;
    EXPECT_FALSE(SaveToFile(b, dir.file("no/such/folder/x.hex")));
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_NE(boxes.texts[0].find("Cannot write"), std::string::npos);

    // Saving over an EEF file keeps its header, even one longer than a read
    // of the old file's start, and whatever its line ends.
    std::string longText;
    for (int i = 0; longText.size() < 100000; ++i)
        longText += "line " + std::to_string(i) + "; ";
    std::string oldText;
    ASSERT_TRUE(MakeEefText(b, "", longText, oldText));
    std::string crText = oldText;
    std::erase(crText, '\n');
    for (const std::string& text : {oldText, crText}) {
        WriteFileBytes(dir.file("k.eef"), text);
        TDumpBuffer c;
        Fill(c, 100000, 5);
        ASSERT_TRUE(SaveDumpFile(c, dir.file("k.eef"), "new text", error));
        TDumpLoadInfo kept;
        TDumpBuffer d;
        d.EditorMode = true;
        ASSERT_TRUE(LoadDumpFile(d, dir.file("k.eef"), kept)) << kept.Error;
        EXPECT_EQ(kept.EefText, longText);
        EXPECT_EQ(DataOf(d), DataOf(c));
    }

    TDumpBuffer huge;
    huge.SetSize(EefMaxSize + 1);
    EXPECT_FALSE(SaveDumpFile(huge, dir.file("h.eef"), "", error));
    EXPECT_NE(error.find("EEF"), std::string::npos);
}

} // namespace
