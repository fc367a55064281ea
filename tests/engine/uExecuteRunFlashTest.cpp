// The SPI flash modules, one per size: each knows its chip, and Read ID
// switches to the module of the chip's size.
#include "uExecuteRunEndToEnd.h"

#include "engine/uFindSignature.h"
#include "platform/SysUtils.h"

#include <gtest/gtest.h>

namespace {

using e2e::TBench;

// The flash modules, one per size, so that a signature switches to the
// module of the chip's size.
struct TFlashModule {
    const char* Name;
    uint32_t Size;
    const char* Id; // JEDEC ID bytes as the module prints them
    int EraseSeconds; // worst-case chip erase
};
const TFlashModule FlashModules[] = {
    {"25F10", 0x20000, "54 40 11", 3}, {"25F20", 0x40000, "54 40 12", 5}, {"25F40", 0x80000, "54 40 13", 10},
    {"25F80", 0x100000, "54 40 14", 20}, {"25F16", 0x200000, "54 40 15", 40},
};

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to)
{
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

TEST(EndToEndReadId, AnotherSizeHandsBackItsSignature)
{
    TBench b;
    b.Insert("25F80");
    b.Select("25F10");
    const uint32_t signature = b.Run("Read &ID");
    EXPECT_EQ(signature, 0x544014u) << b.Log();
    EXPECT_NE(b.Log().find("JEDEC ID 54 40 14"), std::string::npos) << b.Log();
    std::string entry;
    ASSERT_TRUE(FindModuleBySignature(static_cast<int32_t>(signature), entry));
    EXPECT_EQ(entry, "Serial Flash\\SPI\\25F80");
    EXPECT_EQ(ModuleFileList[ChipList.IndexOf(entry)], "25F80.chl");

    // The module of that chip knows its own ID and stays put.
    b.Select("25F80");
    EXPECT_EQ(b.Run("Read &ID"), 0u);
    EXPECT_NE(b.Log().find("The chip is 25F80"), std::string::npos) << b.Log();
}

// The five files are kept by hand, each complete in itself as a module
// must be: they may differ only in what makes one size.
TEST(EndToEndFlashModules, DifferOnlyInTheirSize)
{
    std::string first;
    for (const TFlashModule& m : FlashModules) {
        std::string text = testsupport::ReadFileBytes(testsupport::DataPath(std::string("scripts/") + m.Name + ".chl"));
        std::string id = m.Id;
        const std::string idHex = ReplaceAll(id, " ", "");
        text = ReplaceAll(text, m.Name, "<name>");
        text = ReplaceAll(text, "SIZE 0x" + IntToHex(m.Size, 1) + "\n", "SIZE <size>\n");
        text = ReplaceAll(text, "= Flash, " + std::to_string(m.Size), "= Flash, <size>");
        text = ReplaceAll(text, std::to_string(m.Size / 1024) + " KiB", "<KiB> KiB");
        text = ReplaceAll(text, "PAGES " + std::to_string(m.Size / 256), "PAGES <pages>");
        text = ReplaceAll(text, "0x" + idHex, "<id>");
        text = ReplaceAll(text, id, "<id>");
        text = ReplaceAll(text, "ERASETICKS " + std::to_string(m.EraseSeconds * 20), "ERASETICKS <ticks>");
        text = ReplaceAll(text, ": " + std::to_string(m.EraseSeconds) + " s.", ": <seconds> s.");
        if (first.empty())
            first = text;
        EXPECT_EQ(text, first) << m.Name;
    }
}

TEST(EndToEndFlashModules, EachKnowsItsOwnChip)
{
    for (const TFlashModule& m : FlashModules) {
        TBench b;
        b.Insert(m.Name);
        b.Select(m.Name);
        EXPECT_EQ(b.Module().Buffer1Size, static_cast<int32_t>(m.Size));
        EXPECT_EQ(b.Run("Read &ID"), 0u) << m.Name;
        EXPECT_NE(b.Log().find(std::string("The chip is ") + m.Name), std::string::npos) << b.Log();
    }
}

TEST(EndToEndReadId, WrongChipStopsTheOperation)
{
    TBench b;
    b.Insert("25F40");
    b.Select("25F10");
    b.Buffer1.Data[0] = 0;
    EXPECT_EQ(b.Run("&Write"), 0u);
    // Both IDs in the one format of the module's information.
    EXPECT_NE(b.Log().find("The chip's ID 54 40 13 is not 54 40 11: use Read ID"), std::string::npos) << b.Log();
    EXPECT_EQ(b.ChipData()[0], 0xFF);
}

} // namespace
