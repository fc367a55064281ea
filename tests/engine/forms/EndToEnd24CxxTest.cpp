// The 24Cxx example modules against simulated EEPROMs, through the whole
// road of a device operation.
#include "EndToEndSupport.h"

#include <gtest/gtest.h>

namespace {

using e2e::TBench;

std::vector<uint8_t> Image(TBench& b, size_t size)
{
    const std::vector<uint8_t>& d = b.Chip<TChip24Cxx>().Image().Data();
    return std::vector<uint8_t>(d.begin(), d.begin() + static_cast<std::ptrdiff_t>(size));
}

TEST(EndToEnd24C02, WriteThenReadBack)
{
    TBench b;
    b.Insert("24C02");
    b.Select("24C02");
    b.FillRandom(256, 1);
    const std::vector<uint8_t> written = b.Buffer(256);
    EXPECT_EQ(b.Run("&Write"), 0x7FFFFFFFu) << b.Log();
    EXPECT_EQ(b.View.CompilerErrors, std::vector<std::string>{});
    EXPECT_EQ(b.Boxes, std::vector<std::string>{});
    EXPECT_EQ(Image(b, 256), written) << b.Log();
    EXPECT_FALSE(b.SupplyOn());

    b.Buffer1.EraseBuffer();
    EXPECT_EQ(b.Run("&Read"), 0x7FFFFFFFu) << b.Log();
    EXPECT_EQ(b.Buffer(256), written);
}

} // namespace
