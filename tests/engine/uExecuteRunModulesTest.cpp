// The EEPROM example modules against their simulated chips, through the
// whole road: run routine, compile and upload, link, device code on the
// virtual programmer's lines, chip.
#include "uExecuteRunModuleCases.h"

#include "platform/IniFiles.h"

#include <gtest/gtest.h>

namespace {

using e2e::TBench;
using e2e::TModuleCase;
using e2e::EndToEndModules;
using e2e::Closed;

// Every chip of the catalogue, each by its own module.
INSTANTIATE_TEST_SUITE_P(Shipped, EndToEndModules,
                         ::testing::Values(TModuleCase{"24C01", 128, 8}, TModuleCase{"24C02", 256, 8},
                                           TModuleCase{"24C04", 512, 16}, TModuleCase{"24C08", 1024, 16},
                                           TModuleCase{"24C16", 2048, 16}, TModuleCase{"24C32", 4096, 32},
                                           TModuleCase{"24C64", 8192, 32}, TModuleCase{"24C128", 16384, 64},
                                           TModuleCase{"24C256", 32768, 64}, TModuleCase{"24C512", 65536, 128},
                                           TModuleCase{"25F10", 0x20000, 256}, TModuleCase{"25F20", 0x40000, 256},
                                           TModuleCase{"25F40", 0x80000, 256}, TModuleCase{"25F80", 0x100000, 256},
                                           TModuleCase{"25F16", 0x200000, 256}),
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

// Each chip of the catalogue has a module of its own whose only location
// is that chip and whose buffer is the simulated chip's size.
TEST(EndToEndModuleChoice, TheCatalogueNamesOneModulePerChip)
{
    TBench b;
    TIniFile catalogue(testsupport::DataPath("scripts/scripts.cfg"));
    int chips = 0;
    for (const std::string& section : catalogue.ReadSections())
        for (const std::string& chip : catalogue.ReadSection(section)) {
            ++chips;
            const std::string file = catalogue.ReadString(section, chip, "");
            EXPECT_EQ(file, chip + ".chl");
            TModuleInfo module;
            ASSERT_EQ(module.LoadFromFile(testsupport::DataPath("scripts/" + file)), 1) << file;
            EXPECT_EQ(module.Locations.Text(), section + "\\" + chip + "\r\n") << file;
            const T24CxxType* eeprom = Find24CxxType(chip);
            const T25FlashType* flash = Find25FlashType(chip);
            ASSERT_TRUE(eeprom || flash) << chip;
            EXPECT_EQ(module.Buffer1Size, static_cast<int32_t>(eeprom ? eeprom->Size : flash->Size)) << chip;
            EXPECT_EQ(module.Interface.IndexOf("COMBOBOX"), -1) << chip << ": no chip to choose twice";
        }
    EXPECT_EQ(chips, ChipList.Count()) << "the catalogue lists every shipped module";
}

// The EEPROM modules are kept by hand, each complete in itself as a module
// must be: within one address width they differ only in name and sizes.
TEST(EndToEndModuleChoice, EepromModulesDifferOnlyInTheirChip)
{
    const std::vector<std::vector<const char*>> families = {{"24C01", "24C02", "24C04", "24C08", "24C16"},
                                                             {"24C32", "24C64", "24C128", "24C256", "24C512"}};
    for (const auto& family : families) {
        std::string first;
        for (const char* name : family) {
            const T24CxxType* type = Find24CxxType(name);
            ASSERT_NE(type, nullptr) << name;
            std::string text = testsupport::ReadFileBytes(testsupport::DataPath(std::string("scripts/") + name + ".chl"));
            const std::string size = std::to_string(type->Size), page = std::to_string(type->PageSize);
            for (auto [from, to] : {std::pair<std::string, std::string>{name, "<name>"},
                                    {"(" + size + " bytes)", "(<size> bytes)"},
                                    {", " + size + " bytes, pages of " + page, ", <size> bytes, pages of <page>"},
                                    {"EEPROM, " + size + "\n", "EEPROM, <size>\n"},
                                    {"SIZE " + size + "\n", "SIZE <size>\n"},
                                    {"PAGE " + page + "\n", "PAGE <page>\n"},
                                    {"of " + size + " bytes", "of <size> bytes"},
                                    {"Writing " + size + " bytes", "Writing <size> bytes"}})
                for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
                    text.replace(at, from.size(), to);
            if (first.empty())
                first = text;
            EXPECT_EQ(text, first) << name;
        }
    }
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
