// The raw file buffer, text dumps of a range, and what the file dialogs do
// with the chosen file.
#include "buffer/FileServ.h"

#include "BufferStateGuard.h"
#include "TestSupport.h"
#include "engine/Global.h"
#include "platform/MessageBox.h"

#include <filesystem>
#include <gtest/gtest.h>

#include <fstream>

namespace {

using testsupport::ReadFileBytes;
using testsupport::TempDir;
using testsupport::WriteFileBytes;

std::vector<uint8_t> FreshRaw() { return std::vector<uint8_t>(RawFileBufferSize, 0xA5); }

TEST(RawFileBuffer, HexDiagnosticsCountLinesFromZero)
{
    TempDir dir;
    const std::string good = ":0100000041BE\r\n";
    const std::pair<std::string, std::string> cases[] = {
        {"", "Line 0: Emtpy string."},
        {"\r\n\r\n", "Line 0: Emtpy string."},
        {good + "0100000041BE\r\n", "Line 1: Unknown format of HEX file."},
        {good + good + ":0100\r\n", "Line 2: Unexpected end of line."},
        {good + good + good + good + good + ":02000000xy42C3\r\n", "Line 5: Unknown symbols \"xy\"."},
        {":0100000041BF\r\n", "Line 0: Check summ error\"."},
    };
    for (const auto& [text, expected] : cases) {
        WriteFileBytes(dir.file("d.hex"), text);
        auto raw = FreshRaw();
        std::string message;
        EXPECT_FALSE(ReadHexToArray(raw, dir.file("d.hex"), message)) << expected;
        EXPECT_EQ(message, expected);
        EXPECT_EQ(raw, FreshRaw()) << "a failed read leaves the buffer as it was";
    }
    WriteFileBytes(dir.file("d.hex"), ":020000040001F9\r\n" + good + ":00000001FF\r\n");
    auto raw = FreshRaw();
    std::string message;
    ASSERT_TRUE(ReadHexToArray(raw, dir.file("d.hex"), message)) << message;
    EXPECT_EQ(raw[0x10000], 0x41);
    EXPECT_EQ(raw[0], 0xFF);
    EXPECT_EQ(raw.back(), 0xFF);
}

TEST(RawFileBuffer, LoadFileToArrayRecognisesEveryFormat)
{
    TempDir dir;
    auto raw = FreshRaw();
    std::string message;

    // S-records at their addresses, also under a foreign extension.
    WriteFileBytes(dir.file("a.s19"), "S0030000FC\r\nS1050010414267\r\nS9030000FC\r\n");
    ASSERT_TRUE(LoadFileToArray(raw, dir.file("a.s19"), &message)) << message;
    EXPECT_EQ(raw[0x10], 0x41);
    EXPECT_EQ(raw[0], 0xFF);
    WriteFileBytes(dir.file("a.txt"), "S1050010414267\n");
    raw = FreshRaw();
    ASSERT_TRUE(LoadFileToArray(raw, dir.file("a.txt"), &message)) << message;
    EXPECT_EQ(raw[0x11], 0x42);

    // EEF, and Intel HEX saved as ".bin".
    WriteFileBytes(dir.file("a.eef"), "X70006000020414256\r\n");
    raw = FreshRaw();
    ASSERT_TRUE(LoadFileToArray(raw, dir.file("a.eef"), &message)) << message;
    EXPECT_EQ(raw[0x20], 0x41);
    WriteFileBytes(dir.file("h.bin"), ":0100030041BB\n:00000001FF\n");
    raw = FreshRaw();
    ASSERT_TRUE(LoadFileToArray(raw, dir.file("h.bin"), &message)) << message;
    EXPECT_EQ(raw[3], 0x41);

    // The content decides before the extension: renamed dumps still load.
    const std::pair<const char*, std::string> renamed[] = {
        {"s.hex", "S1050010414267\r\n"},
        {"h.s19", ":0100100041AE\r\n:00000001FF\r\n"},
        {"e.hex", "X70006000010414266\r\n"},
    };
    for (const auto& [name, content] : renamed) {
        WriteFileBytes(dir.file(name), content);
        raw = FreshRaw();
        ASSERT_TRUE(LoadFileToArray(raw, dir.file(name), &message)) << name << ": " << message;
        EXPECT_EQ(raw[0x10], 0x41) << name;
        EXPECT_EQ(raw[0], 0xFF) << name;
    }

    // Plain text that is no dump loads as raw bytes.
    WriteFileBytes(dir.file("note.txt"), "Summary: 3 chips\n");
    raw = FreshRaw();
    ASSERT_TRUE(LoadFileToArray(raw, dir.file("note.txt"), &message));
    EXPECT_EQ(std::string(raw.begin(), raw.begin() + 17), "Summary: 3 chips\n");
    EXPECT_EQ(raw[17], 0xA5);
}

TEST(RawFileBuffer, BrokenDumpsAreReportedNotTakenAsData)
{
    TempDir dir;
    const std::pair<const char*, std::string> files[] = {
        {"b.hex", ":0100000041BE\n:0100010041BD\n:01000200xx41BB\n"},
        {"b.s19", "S1050000414277\nS1050002414279\n"},
        {"b.eef", "X70006000000414276\nX70006000002414275\n"},
        {"b.bin", ":0100000041BE\n:0100010041BD\ngarbage\n"},
        {"empty.bin", ""},
        {"empty.hex", ""},
    };
    for (const auto& [name, text] : files) {
        WriteFileBytes(dir.file(name), text);
        auto raw = FreshRaw();
        std::string message;
        EXPECT_FALSE(LoadFileToArray(raw, dir.file(name), &message)) << name;
        EXPECT_FALSE(message.empty()) << name;
        EXPECT_EQ(raw, FreshRaw()) << name;
    }
    std::string message;
    auto raw = FreshRaw();
    EXPECT_FALSE(LoadFileToArray(raw, dir.file("missing.bin"), &message));
    EXPECT_NE(message.find("not found"), std::string::npos);
    WriteFileBytes(dir.file("b.hex"), ":0100000041BE\n:01000100xy41BB\n");
    EXPECT_FALSE(LoadFileToArray(raw, dir.file("b.hex"), &message));
    EXPECT_EQ(message, "Line 2: Unknown symbols \"xy\".");
}

TEST(RawFileBuffer, LargeBinaryFillsAllButTheLastByte)
{
    TempDir dir;
    std::string bytes(3 << 20, '\0');
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = char(i % 251);
    WriteFileBytes(dir.file("big.bin"), bytes);
    auto raw = FreshRaw();
    ASSERT_TRUE(LoadFileToArray(raw, dir.file("big.bin")));
    EXPECT_EQ(raw[RawFileBufferSize - 2], uint8_t((RawFileBufferSize - 2) % 251));
    EXPECT_EQ(raw[RawFileBufferSize - 1], 0xA5);
}

TEST(RawFileBuffer, DataBeyondTheBufferIsLeftOut)
{
    // Nothing at all fits an empty array.
    TempDir empty;
    WriteFileBytes(empty.file("a.hex"), ":00000001FF\n");
    std::vector<uint8_t> none;
    std::string text;
    EXPECT_TRUE(ReadHexToArray(none, empty.file("a.hex"), text)) << text;
    EXPECT_TRUE(none.empty());

    TempDir dir;
    WriteFileBytes(dir.file("far.hex"), ":020000040020DA\n:0100000041BE\n:020000040000FA\n:0100000042BD\n");
    auto raw = FreshRaw();
    std::string message;
    ASSERT_TRUE(ReadHexToArray(raw, dir.file("far.hex"), message)) << message;
    EXPECT_EQ(raw.size(), RawFileBufferSize);
    EXPECT_EQ(raw[0], 0x42);
}

TDumpBuffer BufferOf(int64_t size)
{
    TDumpBuffer b;
    b.SetSize(size);
    for (int64_t i = 0; i < size; ++i)
        b.Data[size_t(i)] = uint8_t(i);
    return b;
}

TEST(TextDump, RowsOfBytesAndWords)
{
    TDumpBuffer b = BufferOf(0x20);
    b.Data[0x12] = 0x41;
    b.Data[0x13] = 0x42;
    const std::string blanks3(3, ' '), blanks5(5, ' ');
    std::string byteRow = "00010: " + blanks3 + blanks3 + "41 42 ";
    for (int i = 0; i < 12; ++i)
        byteRow += blanks3;
    byteRow += "   AB" + std::string(12, ' ') + "\r\n";
    EXPECT_EQ(MakeTextDump(b, 0x12, 0x13, false), byteRow);

    std::string wordRow = "00008: " + blanks5 + "4241 ";
    for (int i = 0; i < 6; ++i)
        wordRow += blanks5;
    wordRow += "   AB" + std::string(12, ' ') + "\r\n";
    EXPECT_EQ(MakeTextDump(b, 0x12, 0x13, true), wordRow);

    // Control codes show as dots; rows continue to the end of the range.
    const std::string two = MakeTextDump(b, 0, 0x1F, false);
    EXPECT_EQ(two.substr(0, 7), "00000: ");
    EXPECT_EQ(two.substr(7 + 48 + 1, 16), std::string(16, '.'));
    EXPECT_EQ(two.size(), 2u * (7 + 48 + 1 + 16 + 2));
}

TEST(TextDump, RangesAreClippedToTheBuffer)
{
    TDumpBuffer b = BufferOf(0x11);
    // The last word of an odd-sized buffer has no high byte.
    const std::string text = MakeTextDump(b, 0x10, 0x40, true);
    EXPECT_EQ(text.substr(0, 12), "00008:   10 ");
    EXPECT_EQ(MakeTextDump(b, 0x20, 0x30, false), "");
    EXPECT_EQ(MakeTextDump(BufferOf(0), 0, 10, false), "");

    TDumpBuffer large;
    large.SetSize(0x100010);
    EXPECT_EQ(MakeTextDump(large, 0x100000, 0x100000, false).substr(0, 8), "100000: ");
}

// The dialogs' choices are remembered in the settings.
class DialogChoices : public ::testing::Test {
protected:
    testsupport::TBufferStateGuard state;
};

TEST_F(DialogChoices, SaveRangeAsBinaryOrText)
{
    TempDir dir;
    TDumpBuffer b = BufferOf(0x40);
    std::string error;
    // A name of another extension gains the filter's; it is never swapped.
    ASSERT_TRUE(SaveArrayRangeChosen(b, 0x10, 0x1F, false, dir.file("part.dat"), 1, error)) << error;
    EXPECT_EQ(ReadFileBytes(dir.file("part.dat.bin")).size(), 16u);
    EXPECT_EQ(uint8_t(ReadFileBytes(dir.file("part.dat.bin"))[0]), 0x10);
    EXPECT_FALSE(std::filesystem::exists(dir.file("part.bin")));
    ASSERT_TRUE(SaveArrayRangeChosen(b, 0x12, 0x13, false, dir.file("part"), 2, error));
    EXPECT_EQ(ReadFileBytes(dir.file("part.txt")), MakeTextDump(b, 0x12, 0x13, false));
    // A range reaching past the buffer is cut at its end; one wholly outside
    // is refused.
    ASSERT_TRUE(SaveArrayRangeChosen(b, 0x30, 0x1000, false, dir.file("tail.bin"), 1, error));
    EXPECT_EQ(ReadFileBytes(dir.file("tail.bin")).size(), 16u);
    EXPECT_FALSE(SaveArrayRangeChosen(b, 0x40, 0x50, false, dir.file("none.bin"), 1, error));
    EXPECT_EQ(error, "Incorrect address");
}

TEST_F(DialogChoices, SaveBufferTakesTheFiltersExtension)
{
    TempDir dir;
    TDumpBuffer b = BufferOf(20);
    std::string fileName;
    ASSERT_TRUE(SaveBufferChosen(b, dir.file("dump.txt"), 2, fileName));
    EXPECT_EQ(fileName, dir.file("dump.txt.hex"));
    EXPECT_EQ(SaveFileExtension, 2);
    EXPECT_EQ(SaveDirectory, dir.path());
    EXPECT_EQ(ReadFileBytes(fileName).substr(0, 3), ":10");
    ASSERT_TRUE(SaveBufferChosen(b, dir.file("dump"), 3, fileName));
    EXPECT_EQ(fileName, dir.file("dump.s19"));

    auto old = SetMessageBoxHandler([](const std::string&, const std::string&, unsigned) { return int(IDOK); });
    EXPECT_FALSE(SaveBufferChosen(b, dir.file("no/folder/x.bin"), 1, fileName)) << "a failed save is no success";
    EXPECT_EQ(fileName, dir.file("dump.s19")) << "a failed save leaves the file name";
    SetMessageBoxHandler(old);
}

TEST_F(DialogChoices, OpenKeepsTheOldNameWhenTheLoadFails)
{
    TempDir dir;
    TDumpBuffer b = BufferOf(20);
    b.EditorMode = true;
    WriteFileBytes(dir.file("ok.s19"), "S1050000414277\n");
    WriteFileBytes(dir.file("bad.s19"), "S1050000414278\n");
    std::string fileName = "previous.bin";
    std::vector<std::string> boxes;
    auto old = SetMessageBoxHandler([&](const std::string& text, const std::string&, unsigned) {
        boxes.push_back(text);
        return int(IDOK);
    });
    EXPECT_FALSE(OpenBufferChosen(b, dir.file("bad.s19"), 3, fileName));
    EXPECT_EQ(fileName, "previous.bin");
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_EQ(b.GetSize(), 20);
    EXPECT_TRUE(OpenBufferChosen(b, dir.file("ok.s19"), 3, fileName));
    EXPECT_EQ(fileName, dir.file("ok.s19"));
    EXPECT_EQ(OpenFileExtension, 3);
    EXPECT_EQ(b.GetSize(), 2);
    SetMessageBoxHandler(old);
}

} // namespace
