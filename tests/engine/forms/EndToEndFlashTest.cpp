// The SPI flash example modules against simulated flash: every menu
// operation, and Read ID switching to the module of the chip's size.
#include "EndToEndModuleCases.h"

#include "engine/uFindSignature.h"

#include <gtest/gtest.h>

namespace {

using e2e::TBench;
using e2e::TModuleCase;
using e2e::EndToEndModules;

INSTANTIATE_TEST_SUITE_P(Flash, EndToEndModules, ::testing::Values(TModuleCase{"25F10", nullptr, 0, 0x20000, 256}),
                         [](const auto& info) { return std::string(info.param.Chip); });

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
