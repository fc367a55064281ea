// The 24Cxx EEPROM model driven bit by bit on the programmer's lines.
#include "vprog/Chip24Cxx.h"

#include "ChipBus.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

struct TEeprom {
    TLineModel lines;
    TChip24Cxx* chip;
    TI2cMaster bus{lines};
    explicit TEeprom(const char* name, const std::string& file = "")
        : chip(lines.Attach(std::make_unique<TChip24Cxx>(*Find24CxxType(name),
                                                         TChipImage(Find24CxxType(name)->Size, 0xFF, file))))
    {
    }
    void WaitWriteCycle() { lines.Advance(TChip24Cxx::WriteCycleUs); }
    // Device address of a byte address: block bits for the small sizes.
    uint8_t Device(uint32_t address) const
    {
        const T24CxxType& t = chip->Type();
        return t.AddressBytes == 2 ? 0xA0 : static_cast<uint8_t>(0xA0 | ((address >> 8) << 1));
    }
};

std::vector<uint8_t> Pattern(size_t n, int seed)
{
    std::vector<uint8_t> v(n);
    for (size_t i = 0; i < n; ++i)
        v[i] = static_cast<uint8_t>(i * 7 + seed);
    return v;
}

class Chip24CxxSizes : public ::testing::TestWithParam<const char*> {};

TEST_P(Chip24CxxSizes, PageWriteAtTheTopThenSequentialReadAcrossPages)
{
    TEeprom e(GetParam());
    const T24CxxType& t = e.chip->Type();
    // The last page: block bits (small sizes) or the high address byte.
    const uint32_t page = t.Size - t.PageSize;
    const std::vector<uint8_t> data = Pattern(t.PageSize, 3);
    ASSERT_TRUE(e.bus.WriteBytes(e.Device(page), page, t.AddressBytes, data));
    EXPECT_EQ(e.chip->WriteCycles(), 1);
    e.WaitWriteCycle();
    EXPECT_EQ(std::vector<uint8_t>(e.chip->Image().Data().begin() + page, e.chip->Image().Data().end()), data);

    // From the page before: erased bytes, then the page, then the read
    // wraps to address 0.
    const uint32_t from = page - 2;
    const std::vector<uint8_t> read = e.bus.ReadBytes(e.Device(from), from, t.AddressBytes, t.PageSize + 3);
    ASSERT_EQ(read.size(), t.PageSize + 3u);
    EXPECT_EQ(read[0], 0xFF);
    EXPECT_EQ(std::vector<uint8_t>(read.begin() + 2, read.end() - 1), data);
    EXPECT_EQ(read.back(), 0xFF);
    EXPECT_EQ(e.chip->AddressCounter(), 1u);
}

TEST_P(Chip24CxxSizes, OneByteMoreThanAPageRollsOver)
{
    // One byte more than a page rolls over onto the page's first byte and
    // leaves both neighbours alone.
    TEeprom e(GetParam());
    const T24CxxType& t = e.chip->Type();
    const uint32_t page = t.Size / 2;
    std::vector<uint8_t> data = Pattern(t.PageSize + 1u, 9);
    ASSERT_TRUE(e.bus.WriteBytes(e.Device(page), page, t.AddressBytes, data));
    const std::vector<uint8_t>& m = e.chip->Image().Data();
    EXPECT_EQ(m[page], data.back());
    EXPECT_EQ(m[page + t.PageSize - 1u], data[t.PageSize - 1u]);
    EXPECT_EQ(m[page - 1u], 0xFF);
    EXPECT_EQ(m[page + t.PageSize], 0xFF);
}

INSTANTIATE_TEST_SUITE_P(All, Chip24CxxSizes,
                         ::testing::Values("24C01", "24C02", "24C04", "24C08", "24C16", "24C32", "24C64", "24C128",
                                           "24C256", "24C512"));

TEST(Chip24Cxx, WriteRollsOverWithinThePage)
{
    TEeprom e("24C02");
    // Ten bytes from offset 4 of an 8-byte page: the last six land on 0..5.
    const std::vector<uint8_t> data = Pattern(10, 0x40);
    ASSERT_TRUE(e.bus.WriteBytes(0xA0, 0x14, 1, data));
    const std::vector<uint8_t>& m = e.chip->Image().Data();
    EXPECT_EQ(m[0x14], data[8]);
    EXPECT_EQ(m[0x15], data[9]);
    EXPECT_EQ(m[0x16], data[2]);
    EXPECT_EQ(m[0x17], data[3]);
    EXPECT_EQ(m[0x10], data[4]);
    EXPECT_EQ(m[0x18], 0xFF) << "the next page is untouched";
}

TEST(Chip24Cxx, AcknowledgePollingDuringTheWriteCycle)
{
    TEeprom e("24C64");
    ASSERT_TRUE(e.bus.WriteBytes(0xA0, 0x100, 2, {1, 2, 3}));
    e.bus.Start();
    EXPECT_FALSE(e.bus.Write(0xA0)) << "busy: no acknowledge";
    e.bus.Stop();
    // Polling itself takes bus time; the cycle ends 5 ms after the stop.
    e.lines.Advance(TChip24Cxx::WriteCycleUs - 200);
    e.bus.Start();
    EXPECT_FALSE(e.bus.Write(0xA0));
    e.bus.Stop();
    e.lines.Advance(200);
    e.bus.Start();
    EXPECT_TRUE(e.bus.Write(0xA0));
    e.bus.Stop();
    EXPECT_EQ(e.bus.ReadBytes(0xA0, 0x100, 2, 3), (std::vector<uint8_t>{1, 2, 3}));
}

TEST(Chip24Cxx, WriteProtectPinCancelsTheWrite)
{
    TEeprom e("24C02");
    e.bus.SetPin(TI2cMaster::Wp, true);
    EXPECT_TRUE(e.bus.WriteBytes(0xA0, 0, 1, {0x12})) << "bytes are still acknowledged";
    EXPECT_EQ(e.chip->WriteCycles(), 0);
    EXPECT_EQ(e.chip->Image().Data()[0], 0xFF);
    e.bus.SetPin(TI2cMaster::Wp, false);
    EXPECT_TRUE(e.bus.WriteBytes(0xA0, 0, 1, {0x12}));
    EXPECT_EQ(e.chip->Image().Data()[0], 0x12);
}

TEST(Chip24Cxx, AddressPinsSelectTheChipBlockBitsDoNot)
{
    struct Case {
        const char* chip;
        uint8_t device;
        bool acked;
    } cases[] = {
        {"24C02", 0xA0, true},  {"24C02", 0xA2, false}, {"24C02", 0xAE, false},
        {"24C16", 0xAE, true},  // all three bits are block bits
        {"24C08", 0xA6, true},  {"24C08", 0xA8, false}, // A2 is a pin
        {"24C512", 0xA2, false}, {"24C02", 0xB0, false}, // not an EEPROM address
    };
    for (const Case& c : cases) {
        TEeprom e(c.chip);
        e.bus.Start();
        EXPECT_EQ(e.bus.Write(c.device), c.acked) << c.chip << " " << int(c.device);
        e.bus.Stop();
    }
    // With A0 driven high the 24C02 answers at 0xA2.
    TEeprom e("24C02");
    e.bus.SetPin(0x01, true);
    e.bus.Start();
    EXPECT_TRUE(e.bus.Write(0xA2));
    e.bus.Stop();
}

TEST(Chip24Cxx, BlockBitsReachTheUpperHalfOfA24C04)
{
    TEeprom e("24C04");
    ASSERT_TRUE(e.bus.WriteBytes(0xA2, 0x10, 1, {0x5A}));
    e.WaitWriteCycle();
    EXPECT_EQ(e.chip->Image().Data()[0x110], 0x5A);
    EXPECT_EQ(e.chip->Image().Data()[0x10], 0xFF);
}

TEST(Chip24Cxx, CurrentAddressReadFollowsTheLastAccess)
{
    TEeprom e("24C02");
    ASSERT_TRUE(e.bus.WriteBytes(0xA0, 0x20, 1, {9, 8, 7}));
    e.WaitWriteCycle();
    EXPECT_EQ(e.bus.ReadBytes(0xA0, 0x20, 1, 1), std::vector<uint8_t>{9});
    e.bus.Start();
    ASSERT_TRUE(e.bus.Write(0xA1));
    EXPECT_EQ(e.bus.Read(false), 8);
    e.bus.Stop();
}

TEST(Chip24Cxx, UnpoweredChipIgnoresTheBusAndForgetsTheTransfer)
{
    TEeprom e("24C02");
    e.lines.SetSupply(false);
    e.bus.Start();
    EXPECT_FALSE(e.bus.Write(0xA0));
    e.bus.Stop();
    // Power lost in the middle of a page: nothing is written.
    e.lines.SetSupply(true);
    e.bus.Start();
    ASSERT_TRUE(e.bus.Write(0xA0));
    ASSERT_TRUE(e.bus.Write(0x00));
    ASSERT_TRUE(e.bus.Write(0x11));
    e.lines.SetSupply(false);
    e.lines.SetSupply(true);
    e.bus.Stop();
    EXPECT_EQ(e.chip->Image().Data()[0], 0xFF);
}

TEST(Chip24Cxx, ImageFileKeepsTheContentsAcrossPowerCycles)
{
    testsupport::TempDir dir;
    const std::string file = dir.file("chip.bin");
    {
        TEeprom e("24C02", file);
        ASSERT_TRUE(e.bus.WriteBytes(0xA0, 0x80, 1, {0xDE, 0xAD}));
        e.lines.SetSupply(false); // the programmer switches off: saved
        EXPECT_EQ(testsupport::ReadFileBytes(file).size(), 256u);
    }
    TEeprom again("24C02", file);
    EXPECT_EQ(again.chip->Image().Data()[0x80], 0xDE);
    EXPECT_EQ(again.chip->Image().Data()[0x81], 0xAD);
    // A short file fills the start; the rest reads erased.
    testsupport::WriteFileBytes(file, "\x01\x02");
    TEeprom shortFile("24C02", file);
    EXPECT_EQ(shortFile.chip->Image().Data()[1], 0x02);
    EXPECT_EQ(shortFile.chip->Image().Data()[2], 0xFF);
    // A longer one is cut to the chip's size.
    testsupport::WriteFileBytes(file, std::string(255, '\x11') + "\x22\x33");
    TEeprom longFile("24C02", file);
    EXPECT_EQ(longFile.chip->Image().Size(), 256u);
    EXPECT_EQ(longFile.chip->Image().Data()[255], 0x22);
}

TEST(Chip24Cxx, PinWithoutContactKeepsTheChipDeaf)
{
    TLineModel lines;
    auto chip = std::make_unique<TChip24Cxx>(*Find24CxxType("24C02"), TChipImage(256, 0xFF, ""));
    chip->ContactLines = static_cast<uint8_t>(~TChip24Cxx::LineScl);
    lines.Attach(std::move(chip));
    TI2cMaster bus(lines);
    bus.Start();
    EXPECT_FALSE(bus.Write(0xA0));
    bus.Stop();
}

TEST(Chip24Cxx, TypeNames)
{
    EXPECT_EQ(Find24CxxType("24c512")->PageSize, 128);
    EXPECT_EQ(Find24CxxType("24C16")->AddressBytes, 1);
    EXPECT_EQ(Find24CxxType("24C32")->AddressBytes, 2);
    EXPECT_EQ(Find24CxxType("24C03"), nullptr);
}

} // namespace
