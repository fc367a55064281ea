// Every menu operation of the example chip modules against its simulated
// chip, through the whole road: run routine, compile and upload, link,
// device code on the virtual programmer's lines, chip.
#include "EndToEndSupport.h"

#include "engine/uFindSignature.h"

#include <gtest/gtest.h>

namespace {

using e2e::TBench;
constexpr uint32_t Closed = 0x7FFFFFFF; // exit value: backup, window closes

struct TModuleCase {
    const char* Chip;      // in the socket and in the chip tree
    const char* ChipType;  // value of the module's CHIPTYPE list, or null
    uint32_t ChipTypeIndex;
    size_t Size;
    size_t PageSize;
};

std::ostream& operator<<(std::ostream& os, const TModuleCase& c) { return os << c.Chip; }

class EndToEndModules : public ::testing::TestWithParam<TModuleCase> {
protected:
    void SetUp() override
    {
        const TModuleCase& c = GetParam();
        b.Insert(c.Chip);
        b.Select(c.Chip);
        if (c.ChipType)
            b.Controls[c.ChipType] = c.ChipTypeIndex;
    }
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
    EXPECT_NE(b.Log().find("Verify OK"), std::string::npos) << "verify after write: " << b.Log();
    EXPECT_FALSE(b.SupplyOn());
    if (GetParam().PageSize != 256)
        EXPECT_EQ(b.Chip<TChip24Cxx>().WriteCycles(), static_cast<int>(Size() / GetParam().PageSize));

    b.Buffer1.EraseBuffer();
    EXPECT_EQ(b.Run("&Read"), Closed) << b.Log();
    EXPECT_EQ(b.Buffer(Size()), image);
    EXPECT_FALSE(b.SupplyOn());
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
    EXPECT_EQ(b.Run("&Verify"), Closed) << b.Log();
    EXPECT_TRUE(b.Buffer1.GetMatchBit(static_cast<int64_t>(changed)));
}

TEST_P(EndToEndModules, EraseThenBlankCheck)
{
    b.FillRandom(Size(), 3);
    std::copy_n(b.Buffer1.Data.begin(), Size(), b.ChipData().begin());
    EXPECT_EQ(b.Run("&Blank check"), 0u);
    EXPECT_NE(b.Log().find("Chip is not blank"), std::string::npos) << b.Log();

    EXPECT_EQ(b.Run("&Erase"), Closed) << b.Log();
    EXPECT_EQ(Chip(), std::vector<uint8_t>(Size(), 0xFF));
    EXPECT_EQ(b.Run("&Blank check"), Closed) << b.Log();
    EXPECT_NE(b.Log().find("Chip is blank"), std::string::npos);

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
    EXPECT_TRUE(log.find("Write failed at 0000") != std::string::npos ||
                log.find("No chip answers") != std::string::npos)
        << log;
    EXPECT_EQ(b.Run("&Read"), 0u);
    EXPECT_TRUE(b.Log().find("No answer from the chip at 0000") != std::string::npos ||
                b.Log().find("No chip answers") != std::string::npos)
        << b.Log();
    EXPECT_FALSE(b.SupplyOn());
}

INSTANTIATE_TEST_SUITE_P(Modules, EndToEndModules,
                         ::testing::Values(TModuleCase{"24C02", "CHIPTYPE", 1, 256, 8},
                                           TModuleCase{"24C16", "CHIPTYPE", 4, 2048, 16},
                                           TModuleCase{"24C32", "CHIPTYPE", 0, 4096, 32},
                                           TModuleCase{"25F10", nullptr, 0, 0x20000, 256}),
                         [](const auto& info) { return std::string(info.param.Chip); });

TEST(EndToEndModuleChoice, EveryShippedModuleCompiles)
{
    TBench b;
    for (const std::string& entry : ChipList) {
        b.Select(ExtractFileName(entry));
        b.FillParameters();
        THost host;
        host.LoadExternalVariables(ModuleParameters);
        host.LoadedModule = NativePath("scripts\\" + ModuleFileList[ChipList.IndexOf(entry)]);
        host.Compile();
        EXPECT_EQ(host.Errors.Text(), "") << entry;
        EXPECT_TRUE(host.UsesDevice);
        EXPECT_LE(host.Compiler.CodeLength, 1024) << entry << ": jumps reach 1 KiB";
        EXPECT_GT(b.Module().MenuCount, 4);
    }
    EXPECT_EQ(ChipList.Count(), 15);
}

TEST(EndToEndModuleChoice, ChipTypeParameterSizesTheOperation)
{
    // The 24C01-24C16 module reads as many bytes as the chosen type holds.
    TBench b;
    b.Insert("24C04");
    b.Select("24C04");
    for (size_t i = 0; i < 512; ++i)
        b.ChipData()[i] = static_cast<uint8_t>(i ^ (i >> 8));
    b.Controls["CHIPTYPE"] = 2;
    EXPECT_EQ(b.Run("&Read"), Closed) << b.Log();
    EXPECT_EQ(b.Buffer(512), std::vector<uint8_t>(b.ChipData().begin(), b.ChipData().end()));
    EXPECT_EQ(b.Buffer1.Data[512], 0xFF) << "past the chip: untouched";
    EXPECT_EQ(b.Parameter("CHIPTYPE"), 2u) << "written back unchanged";
}

TEST(EndToEndModuleChoice, VerifyAfterWriteFollowsTheParameterAndTheOption)
{
    TBench b;
    b.Insert("24C02");
    b.Select("24C02");
    b.Options = wpCloseAfterWrite;
    b.Controls["VERIFYWRITE"] = 0;
    b.Run("&Write");
    EXPECT_EQ(b.Log().find("Verify"), std::string::npos) << b.Log();
    b.Controls["VERIFYWRITE"] = 1;
    b.Run("&Write");
    EXPECT_NE(b.Log().find("Verify OK"), std::string::npos) << b.Log();
}

TEST(EndToEndReadId, AnotherSizeHandsBackItsSignature)
{
    TBench b;
    b.Insert("25F80");
    b.Select("25F10");
    const uint32_t signature = b.Run("Read &ID");
    EXPECT_EQ(signature, 0x544014u) << b.Log();
    EXPECT_NE(b.Log().find("JEDEC ID 00544014"), std::string::npos) << b.Log();
    std::string entry;
    ASSERT_TRUE(FindModuleBySignature(static_cast<int32_t>(signature), entry));
    EXPECT_EQ(entry, "Serial Flash\\SPI\\25F80");
    EXPECT_EQ(ModuleFileList[ChipList.IndexOf(entry)], "25F80.chl");

    // The module of that chip reads it whole; its own Read ID stays put.
    b.Select("25F80");
    EXPECT_EQ(b.Run("Read &ID"), 0u);
    EXPECT_NE(b.Log().find("The chip is 25F80"), std::string::npos) << b.Log();
}

TEST(EndToEndReadId, WrongChipStopsTheOperation)
{
    TBench b;
    b.Insert("25F40");
    b.Select("25F10");
    b.Buffer1.Data[0] = 0;
    EXPECT_EQ(b.Run("&Write"), 0u);
    EXPECT_NE(b.Log().find("is not 54 40 11"), std::string::npos) << b.Log();
    EXPECT_EQ(b.ChipData()[0], 0xFF);
}

} // namespace
