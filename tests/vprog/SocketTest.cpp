// The socket set-up: its file, the chips it makes, and the faults.
#include "vprog/Socket.h"

#include "vprog/Chip24Cxx.h"
#include "vprog/Chip25Flash.h"

#include "platform/Paths.h"

#include "ChipBus.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

TEST(Socket, WithoutAFileTheSocketHoldsA24C02BesideTheProgram)
{
    testsupport::TempDir dir;
    SetProgramFolder(dir.path());
    TLineModel lines;
    TSimChip* chip = nullptr;
    ASSERT_EQ(InsertChipFromSocketFile(lines), "");
    ASSERT_EQ(InsertChip(lines, LoadSocketSetup(NativePath(SocketFileName)), &chip), "");
    auto* eeprom = dynamic_cast<TChip24Cxx*>(chip);
    ASSERT_NE(eeprom, nullptr);
    EXPECT_STREQ(eeprom->Type().Name, "24C02");
    EXPECT_EQ(eeprom->Image().FileName(), dir.file("24C02.bin"));
}

// However the tool or the program was started, a relative image is the
// file beside the socket file that names it.
TEST(Socket, RelativeImageLivesBesideTheSocketFile)
{
    testsupport::TempDir dir;
    SetProgramFolder(dir.file("program"));
    testsupport::WriteFileBytes(dir.file("vprog.ini"), "[Socket]\nChip=24C04\nImage=chips/eeprom.bin\n");
    EXPECT_EQ(LoadSocketSetup(dir.file("vprog.ini")).Image, dir.file("chips/eeprom.bin"));
    testsupport::WriteFileBytes(dir.file("vprog.ini"), "[Socket]\nChip=24C04\n");
    EXPECT_EQ(LoadSocketSetup(dir.file("vprog.ini")).Image, dir.file("24C04.bin"));
    testsupport::WriteFileBytes(dir.file("vprog.ini"), "[Socket]\nChip=24C04\nImage=/elsewhere/x.bin\n");
    EXPECT_EQ(LoadSocketSetup(dir.file("vprog.ini")).Image, "/elsewhere/x.bin");
}

TEST(Socket, FileRoundTripAndEveryFault)
{
    testsupport::TempDir dir;
    TSocketSetup setup;
    setup.Chip = "25F20";
    setup.Image = dir.file("flash.bin");
    setup.NoContactLines = 0x20;
    setup.ShortedLines = 0x30;
    setup.Overload = true;
    ASSERT_TRUE(SaveSocketSetup(dir.file("vprog.ini"), setup));
    const TSocketSetup read = LoadSocketSetup(dir.file("vprog.ini"));
    EXPECT_EQ(read.Chip, "25F20");
    EXPECT_EQ(read.Image, setup.Image);
    EXPECT_EQ(read.NoContactLines, 0x20);
    EXPECT_EQ(read.ShortedLines, 0x30);
    EXPECT_TRUE(read.Overload);

    TLineModel lines;
    TSimChip* chip = nullptr;
    ASSERT_EQ(InsertChip(lines, read, &chip), "");
    ASSERT_NE(dynamic_cast<TChip25Flash*>(chip), nullptr);
    EXPECT_EQ(chip->ContactLines, 0xDF);
    lines.SetVccLines(0x80);
    lines.SetSupply(true);
    EXPECT_TRUE(lines.Overload());
    lines.SetLatch(0xEF); // line 5 low pulls its shorted partner, line 6
    EXPECT_EQ(lines.Levels() & 0x30, 0);
}

TEST(Socket, EmptyOrUnknownChipLeavesTheSocketEmpty)
{
    TLineModel lines;
    TSocketSetup setup;
    setup.Chip = "";
    TSimChip* chip = reinterpret_cast<TSimChip*>(1);
    EXPECT_EQ(InsertChip(lines, setup, &chip), "");
    EXPECT_EQ(chip, nullptr);
    setup.Chip = "27C256";
    EXPECT_EQ(InsertChip(lines, setup, &chip), "Unknown chip \"27C256\" in the socket");
    EXPECT_EQ(chip, nullptr);
    EXPECT_FALSE(KnownSocketChip("27C256"));
    EXPECT_TRUE(KnownSocketChip("24c512"));
    // Nothing answers on the bus.
    TI2cMaster bus(lines);
    bus.Start();
    EXPECT_FALSE(bus.Write(0xA0));
}

TEST(Socket, AChipTakenOutSavesItsImageForTheNextOne)
{
    testsupport::TempDir dir;
    TLineModel lines;
    TSocketSetup setup;
    setup.Image = dir.file("eeprom.bin");
    TSimChip* chip = nullptr;
    ASSERT_EQ(InsertChip(lines, setup, &chip), "");
    {
        TI2cMaster bus(lines);
        ASSERT_TRUE(bus.WriteBytes(0xA0, 7, 1, {0x42}));
    }
    ASSERT_EQ(InsertChip(lines, setup, &chip), "");
    EXPECT_EQ(dynamic_cast<TChip24Cxx&>(*chip).Image().Data()[7], 0x42);
}

} // namespace
