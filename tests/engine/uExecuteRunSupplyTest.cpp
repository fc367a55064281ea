// A module run at a supply voltage its chip does not take: the chip stays
// silent and the module says so in its own words.
#include "uExecuteRunEndToEnd.h"

#include <gtest/gtest.h>

namespace {

using e2e::TBench;

constexpr int Volts28 = 0, Volts33 = 2, Volts50 = 8;

TEST(EndToEndSupply, FlashAtFiveVoltsDoesNotAnswer)
{
    TBench b;
    b.Insert("25F10");
    b.Select("25F10");
    EXPECT_EQ(b.Run("&Read", Volts50), 0u);
    EXPECT_NE(b.Log().find("No chip answers (ID FF FF FF)"), std::string::npos) << b.Log();
    EXPECT_FALSE(b.SupplyOn());

    EXPECT_EQ(b.Run("&Read", Volts33), 0x7FFFFFFFu) << b.Log();
}

TEST(EndToEndSupply, EepromWorksAcrossTheSupplies)
{
    for (int volts : {Volts28, Volts50}) {
        TBench b;
        b.Insert("24C02");
        b.Select("24C02");
        EXPECT_EQ(b.Run("&Read", volts), 0x7FFFFFFFu) << volts << "\n" << b.Log();
    }
}

} // namespace
