// The EEPROM example modules against their simulated chips, through the
// whole road: run routine, compile and upload, link, device code on the
// virtual programmer's lines, chip.
#include "uExecuteRunModuleCases.h"

#include <gtest/gtest.h>

namespace {

using e2e::TBench;
using e2e::TModuleCase;
using e2e::EndToEndModules;
using e2e::Closed;

INSTANTIATE_TEST_SUITE_P(Eeproms, EndToEndModules,
                         ::testing::Values(TModuleCase{"24C01", "CHIPTYPE", 0, 128, 8},
                                           TModuleCase{"24C02", "CHIPTYPE", 1, 256, 8},
                                           TModuleCase{"24C16", "CHIPTYPE", 4, 2048, 16},
                                           TModuleCase{"24C32", "CHIPTYPE", 0, 4096, 32}),
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
    // Every shipped module is the module of a listed chip, so none escapes
    // the loop above.
    for (const std::string& file : ListFolder(testsupport::DataPath("scripts"), false, true))
        if (file.size() > 4 && file.compare(file.size() - 4, 4, ".chl") == 0) {
            EXPECT_NE(ModuleFileList.IndexOf(file), -1) << file;
        }
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

} // namespace
