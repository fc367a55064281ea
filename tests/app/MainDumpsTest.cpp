#include "app/MainDumps.h"

#include "AppStateGuard.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct XorCase {
    const char* what;
    const char* file;
    std::string bytes;
    std::vector<uint8_t> buffer;
    std::vector<uint8_t> expected;
    std::vector<bool> matching;
};

TEST(LibraryXor, OnlyUpToTheDumpsEndMarkingAndModifying)
{
    const XorCase cases[] = {
        // The bytes past a short file's end stay: they were inverted before.
        {"short raw file", "four.bin", std::string("\x0F\xF0\x11\x22", 4), {0x0F, 0x0F, 0x11, 0x00, 0x55, 0xAA},
         {0x00, 0xFF, 0x00, 0x22, 0x55, 0xAA}, {true, false, true, false}},
        // A longer file is used only as far as the buffer goes.
        {"long raw file", "eight.bin", std::string("\x01\x02\x03\x04\x05\x06\x07\x08", 8), {0x01, 0x00},
         {0x00, 0x02}, {true, false}},
        // Intel HEX: its data, not its text.
        {"hex file", "dump.hex", ":04000000DEADBEEFC4\r\n:00000001FF\r\n", {0xDE, 0xAD, 0x00, 0x00, 0x12},
         {0x00, 0x00, 0xBE, 0xEF, 0x12}, {true, true, false, false}},
    };
    testsupport::TAppStateGuard state;
    testsupport::TempDir dir;
    for (const XorCase& c : cases) {
        testsupport::WriteFileBytes(dir.file(c.file), c.bytes);
        TDumpBuffer buffer;
        buffer.SetSize(int64_t(c.buffer.size()));
        std::copy(c.buffer.begin(), c.buffer.end(), buffer.Data.begin());
        const TBitArray before = buffer.MatchBits();
        std::string message;
        ASSERT_TRUE(XorWithDumpFile(buffer, dir.file(c.file), message)) << c.what << ": " << message;
        EXPECT_EQ(std::vector<uint8_t>(buffer.Data.begin(), buffer.Data.begin() + buffer.GetSize()), c.expected)
            << c.what;
        for (size_t i = 0; i < c.matching.size(); ++i)
            EXPECT_EQ(buffer.MatchBits().Get(int64_t(i)), c.matching[i]) << c.what << " byte " << i;
        // Past the dump's end the marks stay too.
        for (int64_t i = int64_t(c.matching.size()); i < buffer.GetSize(); ++i)
            EXPECT_EQ(buffer.MatchBits().Get(i), before.Get(i)) << c.what << " byte " << i;
        EXPECT_TRUE(buffer.Modified) << c.what;
    }
}

TEST(LibraryXor, AnUnreadableDumpChangesNothing)
{
    testsupport::TAppStateGuard state;
    testsupport::TempDir dir;
    testsupport::WriteFileBytes(dir.file("bad.hex"), ":04000000DEADBEEF00\r\n");
    TDumpBuffer buffer;
    buffer.SetSize(4);
    buffer.Data[0] = 0x12;
    for (const std::string& file : {dir.file("missing.bin"), dir.file("bad.hex")}) {
        std::string message;
        EXPECT_FALSE(XorWithDumpFile(buffer, file, message)) << file;
        EXPECT_EQ(buffer.Data[0], 0x12);
        EXPECT_FALSE(buffer.Modified);
    }
}

} // namespace
