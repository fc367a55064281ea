#pragma once
// Every menu operation of a shipped chip module against its simulated
// chip: the tests, instantiated per chip by the test files.
#include "uExecuteRunEndToEnd.h"

#include <gtest/gtest.h>

namespace e2e {

constexpr uint32_t Closed = 0x7FFFFFFF; // exit value: backup, window closes

struct TModuleCase {
    const char* Chip; // in the socket and in the chip tree
    size_t Size;
    size_t PageSize;
};

inline std::ostream& operator<<(std::ostream& os, const TModuleCase& c) { return os << c.Chip; }

class EndToEndModules : public ::testing::TestWithParam<TModuleCase> {
protected:
    void SetUp() override
    {
        const TModuleCase& c = GetParam();
        b.Insert(c.Chip);
        b.Select(c.Chip);
        // The chip chosen is the chip run, at its own size.
        ASSERT_EQ(b.Module().Buffer1Size, static_cast<int32_t>(c.Size));
        ASSERT_EQ(b.Buffer1.GetSize(), static_cast<int64_t>(c.Size));
    }
    bool LogHas(const std::string& text) const { return b.Log().find(text) != std::string::npos; }
    size_t Size() const { return GetParam().Size; }
    // Random bytes, with every other SPI page left blank, so the flash write
    // also skips pages.
    void FillImage(unsigned seed)
    {
        b.FillRandom(Size(), seed);
        if (GetParam().PageSize == 256)
            for (size_t i = 0; i < Size(); i += 512)
                std::fill_n(b.Buffer1.Data.begin() + static_cast<std::ptrdiff_t>(i), 256, uint8_t{0xFF});
    }
    std::vector<uint8_t> Chip() { return std::vector<uint8_t>(b.ChipData().begin(), b.ChipData().begin() + Size()); }

    TBench b;
};

TEST_P(EndToEndModules, WriteThenReadBack)
{
    FillImage(7);
    const std::vector<uint8_t> image = b.Buffer(Size());
    EXPECT_EQ(b.Run("&Write"), Closed) << b.Log();
    EXPECT_EQ(b.View.CompilerErrors, std::vector<std::string>{});
    EXPECT_EQ(b.Boxes, std::vector<std::string>{});
    EXPECT_EQ(Chip(), image);
    EXPECT_TRUE(LogHas("Write OK\nVerifying...\n")) << "a line for the verify pass\n" << b.Log();
    EXPECT_TRUE(LogHas("Verify OK")) << "verify after write: " << b.Log();
    EXPECT_FALSE(b.SupplyOn());
    if (GetParam().PageSize != 256) {
        EXPECT_EQ(b.Chip<TChip24Cxx>().WriteCycles(), static_cast<int>(Size() / GetParam().PageSize));
    }

    b.Buffer1.EraseBuffer();
    EXPECT_EQ(b.Run("&Read"), Closed) << b.Log();
    EXPECT_EQ(b.Buffer(Size()), image);
    // The progress line, renewed in place, then the result.
    const std::string size = std::to_string(Size());
    EXPECT_TRUE(LogHas("Reading " + size + " of " + size + " bytes\nRead " + size + " bytes\n")) << b.Log();
    EXPECT_FALSE(b.SupplyOn());

    // Without the option the read leaves its result to be read, and asks
    // for no backup.
    b.Options &= ~wpCloseAfterRead;
    EXPECT_EQ(b.Run("&Read"), 0u) << b.Log();
    EXPECT_TRUE(LogHas("Read " + size + " bytes")) << b.Log();
}

TEST_P(EndToEndModules, WriteAcrossPageBoundaries)
{
    // Only the bytes round one page boundary in the middle differ from the
    // erased chip: the pages on both sides get exactly their own bytes.
    const size_t boundary = (Size() / 2 / GetParam().PageSize) * GetParam().PageSize;
    const uint8_t around[] = {0x11, 0x22, 0x33, 0x44};
    for (size_t i = 0; i < 4; ++i)
        b.Buffer1.Data[boundary - 2 + i] = around[i];
    EXPECT_EQ(b.Run("&Write"), Closed) << b.Log();
    std::vector<uint8_t> want(Size(), 0xFF);
    std::copy(std::begin(around), std::end(around), want.begin() + static_cast<std::ptrdiff_t>(boundary - 2));
    EXPECT_EQ(Chip(), want);
}

TEST_P(EndToEndModules, VerifyMarksExactlyTheByteChangedBehindTheProgramsBack)
{
    FillImage(11);
    std::copy_n(b.Buffer1.Data.begin(), Size(), b.ChipData().begin());
    const size_t changed = Size() - Size() / 3;
    b.ChipData()[changed] ^= 0x5A;
    // Marks left over from earlier must go where the bytes agree.
    b.Buffer1.SetMatchBit(3, false);
    EXPECT_EQ(b.Run("&Verify"), 0u) << "a failed verify keeps the window open";
    EXPECT_NE(b.Log().find("Verify failed: 1 bytes differ"), std::string::npos) << b.Log();
    std::vector<size_t> marked;
    for (size_t i = 0; i < Size(); ++i)
        if (!b.Buffer1.GetMatchBit(static_cast<int64_t>(i)))
            marked.push_back(i);
    EXPECT_EQ(marked, std::vector<size_t>{changed});
    EXPECT_FALSE(b.SupplyOn());

    b.ChipData()[changed] ^= 0x5A;
    // The result is the line to read: the window stays open, no backup.
    EXPECT_EQ(b.Run("&Verify"), 0u) << b.Log();
    EXPECT_TRUE(LogHas("Verify OK")) << b.Log();
    EXPECT_TRUE(b.Buffer1.GetMatchBit(static_cast<int64_t>(changed)));
}

TEST_P(EndToEndModules, EraseThenBlankCheck)
{
    b.FillRandom(Size(), 3);
    std::copy_n(b.Buffer1.Data.begin(), Size(), b.ChipData().begin());
    EXPECT_EQ(b.Run("&Blank check"), 0u);
    EXPECT_NE(b.Log().find("Chip is not blank"), std::string::npos) << b.Log();

    // Erase and Blank check keep the window open for their result and ask
    // for no backup: the buffer holds nothing read from the chip.
    EXPECT_EQ(b.Run("&Erase"), 0u) << b.Log();
    EXPECT_TRUE(LogHas("Erase OK")) << b.Log();
    EXPECT_EQ(Chip(), std::vector<uint8_t>(Size(), 0xFF));
    EXPECT_EQ(b.Run("&Blank check"), 0u) << b.Log();
    EXPECT_TRUE(LogHas("Chip is blank")) << b.Log();

    b.ChipData()[Size() - 1] = 0x7F;
    EXPECT_EQ(b.Run("&Blank check"), 0u);
    EXPECT_NE(b.Log().find("Chip is not blank: 1 bytes are not FF"), std::string::npos) << b.Log();
    EXPECT_FALSE(b.SupplyOn());
}

TEST_P(EndToEndModules, EmptySocketEndsWithAMessageAndTheSupplyOff)
{
    b.Insert(""); // nothing answers
    b.Buffer1.Data[0] = 0x12;
    EXPECT_EQ(b.Run("&Write"), 0u);
    const std::string log = b.Log();
    EXPECT_TRUE(log.find("Write failed at 0000: the chip did not acknowledge") != std::string::npos ||
                log.find("No chip answers (ID FF FF FF)") != std::string::npos)
        << log;
    EXPECT_EQ(b.Run("&Read"), 0u);
    EXPECT_TRUE(b.Log().find("No answer from the chip at 0000") != std::string::npos ||
                b.Log().find("No chip answers") != std::string::npos)
        << b.Log();
    EXPECT_FALSE(b.SupplyOn());
}

} // namespace e2e
