// The 25-series SPI flash model driven bit by bit on the programmer's lines.
#include "vprog/Chip25Flash.h"

#include "ChipBus.h"

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<uint8_t>;

struct TFlash {
    TLineModel lines;
    TChip25Flash* chip;
    TSpiMaster bus{lines};
    explicit TFlash(const char* name = "25F40")
        : chip(lines.Attach(std::make_unique<TChip25Flash>(*Find25FlashType(name),
                                                           TChipImage(Find25FlashType(name)->Size, 0xFF, ""))))
    {
    }
    static Bytes Address(uint8_t op, uint32_t a)
    {
        return {op, static_cast<uint8_t>(a >> 16), static_cast<uint8_t>(a >> 8), static_cast<uint8_t>(a)};
    }
    Bytes Read(uint32_t a, int n) { return bus.Command(Address(0x03, a), n); }
    void Program(uint32_t a, const Bytes& data)
    {
        bus.Command({0x06});
        Bytes out = Address(0x02, a);
        out.insert(out.end(), data.begin(), data.end());
        bus.Command(out);
    }
    void WaitReady()
    {
        while (bus.Status() & TChip25Flash::Wip)
            lines.Advance(100);
    }
};

TEST(Chip25Flash, JedecIdOfEachSize)
{
    const struct {
        const char* name;
        Bytes id;
        uint32_t size;
    } cases[] = {
        {"25F40", {0x54, 0x40, 0x13}, 0x80000},
        {"25F80", {0x54, 0x40, 0x14}, 0x100000},
        {"25F16", {0x54, 0x40, 0x15}, 0x200000},
    };
    for (const auto& c : cases) {
        TFlash f(c.name);
        EXPECT_EQ(f.bus.Command({0x9F}, 3), c.id) << c.name;
        EXPECT_EQ(f.chip->Type().Size, c.size);
        EXPECT_EQ(uint32_t{1} << f.chip->Type().Id[2], c.size);
    }
    EXPECT_EQ(Find25FlashType("25f16")->Size, 0x200000u);
    EXPECT_EQ(Find25FlashType("25F32"), nullptr);
}

// Voltage codes 15 .. 6 give 2.8 V .. 5.0 V; the flash works from 2.7 V to
// 3.6 V and at any other supply stays silent.
TEST(Chip25Flash, AnswersOnlyWithinItsSupplyRange)
{
    const struct {
        uint8_t code;
        bool answers;
    } cases[] = {{15, true}, {14, true}, {13, true}, {12, true}, {11, false}, {8, false}, {6, false}, {7, false}};
    for (const auto& c : cases) {
        TFlash f;
        f.lines.SetVoltageCode(c.code);
        const Bytes expected = c.answers ? Bytes{0x54, 0x40, 0x13} : Bytes{0xFF, 0xFF, 0xFF};
        EXPECT_EQ(f.bus.Command({0x9F}, 3), expected) << int{c.code};
    }
}

TEST(Chip25Flash, ProgramNeedsWriteEnableAndOnlyClearsBits)
{
    TFlash f;
    f.bus.Command({0x02, 0, 0, 0, 0x12});
    EXPECT_EQ(f.Read(0, 1), Bytes{0xFF}) << "no WREN: ignored";
    EXPECT_EQ(f.bus.Status() & TChip25Flash::Wel, 0);

    f.bus.Command({0x06});
    EXPECT_EQ(f.bus.Status(), TChip25Flash::Wel);
    f.bus.Command({0x04});
    EXPECT_EQ(f.bus.Status(), 0) << "WRDI clears WEL";

    f.Program(0x100, {0xF0, 0x3C});
    EXPECT_EQ(f.bus.Status(), TChip25Flash::Wip | TChip25Flash::Wel);
    f.WaitReady();
    EXPECT_EQ(f.bus.Status(), 0) << "WEL ends with the operation";
    f.Program(0x100, {0x0F, 0xFF});
    f.WaitReady();
    EXPECT_EQ(f.Read(0x100, 3), (Bytes{0x00, 0x3C, 0xFF}));
}

TEST(Chip25Flash, ProgramWrapsWithinThePageAndIgnoresCommandsWhileBusy)
{
    TFlash f;
    Bytes data(6);
    for (int i = 0; i < 6; ++i)
        data[static_cast<size_t>(i)] = static_cast<uint8_t>(0x10 + i);
    f.Program(0x1FD, data); // 3 bytes at the page's end, 3 at its start
    f.bus.Command({0x06});
    f.bus.Command({0xC7});  // busy: refused
    f.bus.Command({0x9F}, 3);
    f.WaitReady();
    EXPECT_EQ(f.Read(0x1FD, 3), (Bytes{0x10, 0x11, 0x12}));
    EXPECT_EQ(f.Read(0x100, 4), (Bytes{0x13, 0x14, 0x15, 0xFF}));
    EXPECT_EQ(f.Read(0x200, 1), Bytes{0xFF}) << "the next page is untouched";
}

TEST(Chip25Flash, ProgramCutShortInTheMiddleOfAByteDoesNothing)
{
    TFlash f;
    f.bus.Command({0x06});
    f.bus.Set(TSpiMaster::Cs, false);
    for (uint8_t b : Bytes{0x02, 0, 0, 0, 0x00})
        f.bus.Transfer(b);
    f.bus.Set(TSpiMaster::Sck, true); // one more clock: 1 bit of the next byte
    f.bus.Set(TSpiMaster::Sck, false);
    f.bus.Set(TSpiMaster::Cs, true);
    EXPECT_EQ(f.Read(0, 1), Bytes{0xFF});
}

TEST(Chip25Flash, SectorBlockAndChipErase)
{
    TFlash f;
    for (uint32_t a : {0x0FFFu, 0x1000u, 0x1FFFu, 0x2000u, 0x10000u, 0x7FFFFu}) {
        f.Program(a, {0x00});
        f.WaitReady();
    }
    f.bus.Command({0x06});
    f.bus.Command(TFlash::Address(0x20, 0x1234)); // sector 0x1000..0x1FFF
    EXPECT_TRUE(f.bus.Status() & TChip25Flash::Wip);
    f.lines.Advance(TChip25Flash::SectorEraseUs - 1);
    EXPECT_TRUE(f.bus.Status() & TChip25Flash::Wip);
    f.lines.Advance(1);
    EXPECT_FALSE(f.bus.Status() & TChip25Flash::Wip);
    EXPECT_EQ(f.Read(0x0FFF, 2), (Bytes{0x00, 0xFF}));
    EXPECT_EQ(f.Read(0x1FFF, 2), (Bytes{0xFF, 0x00}));

    f.bus.Command({0x06});
    f.bus.Command(TFlash::Address(0xD8, 0x0));
    f.WaitReady();
    EXPECT_EQ(f.Read(0x0FFF, 1), Bytes{0xFF});
    EXPECT_EQ(f.Read(0x10000, 1), Bytes{0x00});

    f.bus.Command({0x06});
    f.bus.Command({0x60});
    f.lines.Advance(TChip25Flash::ChipEraseUsPerBlock * 8 - 1);
    EXPECT_TRUE(f.bus.Status() & TChip25Flash::Wip);
    f.WaitReady();
    EXPECT_EQ(f.Read(0x7FFFF, 1), Bytes{0xFF});
    EXPECT_EQ(f.Read(0x10000, 1), Bytes{0xFF});
}

TEST(Chip25Flash, ReadWrapsAtTheEndAndStatusWrite)
{
    TFlash f;
    f.Program(0, {0x42});
    f.WaitReady();
    EXPECT_EQ(f.Read(0x7FFFF, 2), (Bytes{0xFF, 0x42}));

    f.bus.Command({0x06});
    f.bus.Command({0x01, 0xFF});
    EXPECT_EQ(f.bus.Status(), 0x9C | TChip25Flash::Wip | TChip25Flash::Wel);
    f.WaitReady();
    EXPECT_EQ(f.bus.Status(), 0x9C) << "only the protection bits are written";
}

TEST(Chip25Flash, UnpoweredOrUnselectedChipLeavesTheDataLineAlone)
{
    TFlash f;
    f.lines.SetSupply(false);
    EXPECT_EQ(f.bus.Command({0x9F}, 1), Bytes{0xFF});
    f.lines.SetSupply(true);
    f.bus.Set(TSpiMaster::Cs, false);
    f.bus.Transfer(0x9F);
    f.bus.Set(TSpiMaster::Cs, true);
    EXPECT_TRUE(f.lines.Levels() & TSpiMaster::So);
}

} // namespace
