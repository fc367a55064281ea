// The line model's levels with chips that answer from their state and
// chips that follow the levels, while the wiring changes under a bus loop.
#include "vprog/LineModel.h"

#include <gtest/gtest.h>

namespace {

// Pulls `Mask` (line 2) low while its state says so; the state follows
// line 1 at each settle (a one-bit register clocked by every change).
struct TStateChip : TSimChip {
    bool Low = false;
    int Settles = 0;
    uint8_t Mask;
    explicit TStateChip(uint8_t mask = 0x02) : Mask(mask)
    {
        VccLines = 0x80;
        GndLines = 0x08;
    }
    uint8_t Pulls(uint8_t) const override { return Low ? Mask : 0; }
    bool PullsFollowLevels() const override { return false; }
    void Settle(uint8_t levels, uint64_t, bool powered) override
    {
        ++Settles;
        if (powered)
            Low = !(levels & 0x01);
    }
    void PowerLost() override { Low = false; }
};

TEST(LineModel, StateChipAnswersAfterItSettled)
{
    TLineModel lines;
    auto* chip = lines.Attach(std::make_unique<TStateChip>());
    lines.SetVccLines(0x80);
    lines.SetGndLines(0x08);
    lines.SetSupply(true);
    EXPECT_EQ(lines.Levels(), 0xF7);
    // The same latch values again and again, as a bus loop sets them: the
    // levels follow the chip's state each time.
    for (int round = 0; round < 3; ++round) {
        lines.SetLatch(0xFE);
        EXPECT_EQ(lines.Levels(), 0xF4) << round;
        lines.SetLatch(0xFF);
        EXPECT_EQ(lines.Levels(), 0xF7) << round;
    }
    lines.SetLatch(0xFE);
    // A change of the wiring under the same latch and state.
    lines.SetShortedLines(0x06);
    EXPECT_EQ(lines.Levels(), 0xF0) << "line 3 follows line 2 through the short";
    lines.SetShortedLines(0);
    lines.SetGndLines(0x18);
    EXPECT_EQ(lines.Levels(), 0xE4);
    lines.SetGndLines(0x08);
    lines.SetVccLines(0x81); // line 1 switched to the supply: high
    EXPECT_EQ(lines.Levels(), 0xF7);
    lines.SetVccLines(0x80);
    EXPECT_EQ(lines.Levels(), 0xF4);
    lines.SetSupply(false);
    EXPECT_FALSE(chip->Low) << "power lost";
    EXPECT_EQ(lines.Levels(), 0xF6) << "unpowered: only the ground diodes";
}

TEST(LineModel, ChipPullingEveryLine)
{
    TLineModel lines;
    lines.Attach(std::make_unique<TStateChip>(0xFF));
    lines.SetVccLines(0x80);
    lines.SetGndLines(0x08);
    lines.SetSupply(true);
    lines.SetLatch(0xFE);
    EXPECT_EQ(lines.Levels(), 0x80) << "only the supply line stays high";
    lines.SetLatch(0xFF); // the chip holds line 1 low itself
    EXPECT_EQ(lines.Levels(), 0x80);
    lines.SetLatch(0xFE);
    lines.SetLatch(0xFF);
    EXPECT_EQ(lines.Levels(), 0x80);
}

TEST(LineModel, FollowingAndStateChipsTogether)
{
    TLineModel lines;
    lines.Attach(std::make_unique<TStateChip>());
    // Copies line 2 to line 3, and so the state chip's answer.
    lines.Attach(std::make_unique<TLoopbackChip>(1, 2, 0x80, 0x08));
    lines.SetVccLines(0x80);
    lines.SetGndLines(0x08);
    lines.SetSupply(true);
    for (int round = 0; round < 2; ++round) {
        lines.SetLatch(0xFE);
        EXPECT_EQ(lines.Levels(), 0xF0) << round;
        lines.SetLatch(0xFF);
        EXPECT_EQ(lines.Levels(), 0xF7) << round;
    }
    lines.RemoveChips();
    EXPECT_EQ(lines.Levels(), 0xF7);
}

} // namespace
