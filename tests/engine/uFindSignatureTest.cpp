#include "engine/Global.h"
#include "engine/uFindSignature.h"
#include "platform/Paths.h"

#include "ProgramStateGuard.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

using testsupport::TempDir;
using testsupport::WriteFileBytes;

namespace {

class FindSignature : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetProgramFolder(dir.path());
        for (const char* entry : {"EEPROM\\ZE02", "Grp\\AB12", "Grp\\AB1", "SPI Flash\\Nordel\\ZR16F"})
            ChipList.Add(entry);
    }
    void table(const std::string& text) { WriteFileBytes(dir.file("signatures.cfg"), text); }

    // The entry found, or "-" when none.
    std::string find(int32_t signature)
    {
        std::string entry = "unchanged";
        return FindModuleBySignature(signature, entry) ? entry : (entry == "unchanged" ? "-" : "changed");
    }

    testsupport::TProgramStateGuard state;
    TempDir dir;
};

} // namespace

TEST_F(FindSignature, MissingTable)
{
    EXPECT_EQ(find(0xA0C1), "-");
}

TEST_F(FindSignature, EntriesAndNamesFindTheSameChip)
{
    table("   ; indented comment: A0C1 = Grp\\AB12\n"
          "\n"
          "A0C1 = Other\\Folder\\zr16f, trailing words\r\n"
          "b0c2=ZR16F\n"
          "c0c3 =  eeprom\\ze02  \n");
    EXPECT_EQ(find(0xA0C1), "SPI Flash\\Nordel\\ZR16F");
    EXPECT_EQ(find(0xB0C2), "SPI Flash\\Nordel\\ZR16F");
    EXPECT_EQ(find(0xC0C3), "EEPROM\\ZE02"); // the list's own text
    EXPECT_EQ(find(0x1234), "-");
}

TEST_F(FindSignature, FirstLineOfASignatureDecides)
{
    table("10 = Nowhere\\XYZ\n"
          "10 = Grp\\AB1\n"
          "20 , Grp\\AB1\n"
          "20 = Grp\\AB1\n"
          "30 Grp\\AB1\n"
          "30 = Grp\\AB1\n"
          "40 =\n"
          "50 = , x\n");
    EXPECT_EQ(find(0x10), "-");
    EXPECT_EQ(find(0x20), "-");     // "," where "=" belongs ends the search
    EXPECT_EQ(find(0x30), "Grp\\AB1"); // no convertible signature: skipped
    EXPECT_EQ(find(0x40), "-");
    EXPECT_EQ(find(0x50), "-");
}

TEST_F(FindSignature, ExactNameWinsOverContainingEntry)
{
    table("1 = AB1\n2 = Else\\AB\n3 = Grp\\\n");
    EXPECT_EQ(find(1), "Grp\\AB1");
    EXPECT_EQ(find(2), "Grp\\AB12"); // no exact name: the first entry containing it
    EXPECT_EQ(find(3), "-");          // an empty name names no chip
}

TEST_F(FindSignature, AllOnesNeverMatches)
{
    table("FFFFFFFF = Grp\\AB1\n-1 = Grp\\AB1\n");
    EXPECT_EQ(find(-1), "-");
}

TEST_F(FindSignature, ShippedTableIsReadable)
{
    WriteFileBytes(dir.file("signatures.cfg"), testsupport::ReadFileBytes(testsupport::DataPath("signatures.cfg")));
    EXPECT_EQ(find(0x1E9007), "-");
}
