// The main window's texts that follow the buffers.
#include "app/MainStatus.h"
#include "app/MainRecentFiles.h"

#include <gtest/gtest.h>

namespace {

TDumpBuffer Buffer(std::initializer_list<uint8_t> bytes)
{
    TDumpBuffer b;
    b.SetSize(int64_t(bytes.size()));
    size_t i = 0;
    for (uint8_t v : bytes)
        b.Data[i++] = v;
    return b;
}

struct TStatusCase {
    int Size;
    int64_t Index;
    bool WordMode;
    bool Swap;
    const char* Address;
    const char* Data;
};

TEST(MainStatus, CaretStatusTable)
{
    TDumpBuffer b;
    b.SetSize(257);
    for (int i = 0; i < 257; ++i)
        b.Data[size_t(i)] = uint8_t(i);
    const TStatusCase cases[] = {
        {256, 16, false, false, "Address: 16 (00010H)", "Data: 16 (10H)"},
        // Beyond the buffer, and the index equal to the size, count as 0.
        {256, 300, false, false, "Address: 0 (00000H)", "Data: 0 (00H)"},
        {256, 256, false, false, "Address: 0 (00000H)", "Data: 0 (00H)"},
        {256, -1, false, false, "Address: 0 (00000H)", "Data: 0 (00H)"},
        // Words: first byte high, or low while the view swaps bytes.
        {256, 16, true, false, "Address: 16 (00010H)", "Data: 8225 (2021H)"},
        {256, 16, true, true, "Address: 16 (00010H)", "Data: 8480 (2120H)"},
        {256, 128, true, false, "Address: 0 (00000H)", "Data: 1 (0001H)"},
        // The last word of an odd size has one byte: shown alone.
        {257, 128, true, false, "Address: 128 (00080H)", "Data: 0 (00H)"},
        {257, 129, true, false, "Address: 0 (00000H)", "Data: 1 (0001H)"},
    };
    for (const TStatusCase& c : cases) {
        b.SetSize(c.Size);
        const auto s = CaretStatus(b, c.Index, c.WordMode, c.Swap, "Address", "Data");
        ASSERT_TRUE(s);
        EXPECT_EQ(s->AddressText, c.Address) << c.Size << " " << c.Index << " " << c.WordMode;
        EXPECT_EQ(s->DataText, c.Data) << c.Size << " " << c.Index << " " << c.WordMode;
    }
}

TEST(MainStatus, NothingForAnEmptyBuffer)
{
    TDumpBuffer b;
    b.SetSize(0);
    EXPECT_FALSE(CaretStatus(b, 0, false, false, "Address", "Data"));
}

TEST(MainStatus, OddLastWordShowsItsByte)
{
    const TDumpBuffer b = Buffer({0x12, 0x34, 0xAB});
    const auto s = CaretStatus(b, 1, true, false, "A", "D");
    ASSERT_TRUE(s);
    EXPECT_EQ(s->DataText, "D: 171 (ABH)");
}

TEST(MainStatus, Caption)
{
    EXPECT_EQ(MainCaption(0, -1, "", "", "a.bin", "b.bin"), "Tarku - a.bin");
    EXPECT_EQ(MainCaption(2, 1, "EEPROM", "FLASH", "a.bin", "b.bin"), "Tarku (FLASH) - b.bin");
    EXPECT_EQ(MainCaption(2, 0, "EEPROM", "FLASH", "a.bin", "b.bin"), "Tarku (EEPROM) - a.bin");
    EXPECT_EQ(MainCaption(1, 0, "EEPROM", "", "a.bin", "b.bin"), "Tarku (EEPROM) - a.bin");
    // A library dump's folder joined Windows-style to the program folder.
    EXPECT_EQ(MainCaption(0, -1, "", "", "/opt/prog\\Dumps\\Backup\\a.bin", ""), "Tarku - /opt/prog/Dumps/Backup/a.bin");
    EXPECT_EQ(MainCaption(2, 1, "EEPROM", "FLASH", "", "/opt/prog\\b.bin"), "Tarku (FLASH) - /opt/prog/b.bin");
}

TEST(MainStatus, SizeLabel)
{
    EXPECT_EQ(SizeLabelText(256, false), "256 x 8");
    EXPECT_EQ(SizeLabelText(257, true), "128 x 16");
    EXPECT_EQ(SizeLabelText(2048, true), "1024 x 16");
    EXPECT_EQ(SizeLabelText(0, false), "0 x 8");
}

TEST(MainStatus, SaveNameWithDateTimeAndAFileNameSafeChip)
{
    std::tm t{};
    t.tm_mday = 8;
    t.tm_mon = 11;
    t.tm_year = 2026 - 1900;
    t.tm_hour = 14;
    t.tm_min = 5;
    t.tm_sec = 9;
    EXPECT_EQ(DatedSaveName(t, "24C02"), "08-12-2026  14.05.09  24C02");
    EXPECT_EQ(DatedSaveName(t, "AT/24:C*02?"), "08-12-2026  14.05.09  AT-24-C-02-");
}

TEST(MainStatus, HintHidePauseByLength)
{
    const std::pair<size_t, int> cases[] = {{0, 2500}, {50, 2500}, {51, 10000}, {400, 10000}};
    for (auto [length, pause] : cases)
        EXPECT_EQ(HintHidePause(std::string(length, 'h')), pause) << length;
}

TEST(MainRecentFiles, NewestFirstAtMostNine)
{
    TStringList list;
    for (int i = 0; i < 10; ++i)
        AddRecentFile(list, "/f" + std::to_string(i));
    ASSERT_EQ(list.Count(), MaxRecentFiles);
    EXPECT_EQ(list[0], "/f9");
    EXPECT_EQ(list[8], "/f1");
    AddRecentFile(list, "/f9");
    EXPECT_EQ(list[0], "/f9");
    EXPECT_EQ(list.Count(), 9);
    AddRecentFile(list, "/f5");
    EXPECT_EQ(list[0], "/f5");
    EXPECT_EQ(list[1], "/f9");
    EXPECT_EQ(list.Count(), 9);
}

TEST(MainRecentFiles, CaptionShowsAmpersandsAsWritten)
{
    EXPECT_EQ(RecentFileCaption("/tmp/R&D/a&b.bin"), "/tmp/R&&D/a&&b.bin");
    EXPECT_EQ(RecentFileCaption("/opt/prog\\Dumps\\a&b.bin"), "/opt/prog/Dumps/a&&b.bin");
}

} // namespace
