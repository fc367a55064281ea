// A calculator's description and picture: reading the header of its
// script, writing an edited description back without touching the code,
// and storing a picked picture.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "calc/uCalcPicture.h"
#include "calc/uCreateCalcIndex.h"
#include "platform/Paths.h"

namespace {

namespace fs = std::filesystem;
using testsupport::ReadFileBytes;
using testsupport::WriteFileBytes;

std::string Crlf(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& l : lines)
        text += l + "\r\n";
    return text;
}

class CalcInfoTest : public ::testing::Test {
protected:
    testsupport::TempDir dir_;
    std::string savedFolder_ = ProgramFolder();

    void SetUp() override { SetProgramFolder(dir_.path()); }
    void TearDown() override { SetProgramFolder(savedFolder_); }
    std::string Calc(const std::string& name) const { return dir_.file("Calculators/" + name); }
    // One indexed script, Tools\Crc in Calculators/crc.cal.
    void Script(const std::string& text) const
    {
        fs::create_directories(Calc(""));
        WriteFileBytes(Calc("crc.cal"), text);
        WriteFileBytes(Calc("index.txt"), "[Tools\\Crc]\r\nFile=crc.cal\r\n");
    }
    std::string Description(const std::string& path = "Tools\\Crc") const
    {
        std::string picture, description;
        GetCalculatorInfo(picture, path, description);
        return description;
    }
    std::string Picture(const std::string& path) const
    {
        std::string picture, description;
        GetCalculatorInfo(picture, path, description);
        return picture;
    }
};

TEST_F(CalcInfoTest, DescriptionIsTheBangLinesBeforeTheCode)
{
    struct Case {
        const char* name;
        std::vector<std::string> script;
        const char* description;
    } cases[] = {
        {"lines up to SIZE", {"[Tools\\Crc]", "!Line one", "", "!Line two", "SIZE(1,1);", "!later"},
         "Line one\r\nLine two\r\n"},
        {"title after an empty line", {"", "[Tools\\Crc]", "!One", "size(1,1);"}, "One\r\n"},
        {"title holding size", {"[Tools\\Crc size]", "!One", "SIZE(1,1);"}, "One\r\n"},
        {"bang line holding size", {"[Tools\\Crc]", "!Any size", "SIZE(1,1);"}, "Any size\r\n"},
        {"other header lines skipped", {"[Tools\\Crc]", "// note", "#x", "!One", "SIZE(1,1);"}, "One\r\n"},
        {"4574 ends it", {"[Tools\\Crc]", "4574", "!Two"}, ""},
        {"none", {"[Tools\\Crc]", "SIZE(1,1);"}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Script(Crlf(c.script));
        EXPECT_EQ(Description(), c.description);
    }
    EXPECT_EQ(Description("Tools\\Other"), "");
}

TEST_F(CalcInfoTest, SavingTheDescriptionTouchesOnlyTheHeader)
{
    struct Case {
        const char* name;
        std::string before;
        TStringList memo;
        std::string after;
    } cases[] = {
        {"replaces the old description",
         Crlf({"[Tools\\Crc]", "!old", "SIZE(1,1);", "FORM {", "}"}), {"New one", "New two"},
         Crlf({"[Tools\\Crc]", "!New one", "!New two", "SIZE(1,1);", "FORM {", "}"})},
        {"code lines starting with @ # ! stay where they are",
         Crlf({"[Tools\\Crc]", "!old", "SIZE(1,1);", "ONAPPLY {", "@address = 1;", "#x", "!y", "}"}), {"D"},
         Crlf({"[Tools\\Crc]", "!D", "SIZE(1,1);", "ONAPPLY {", "@address = 1;", "#x", "!y", "}"})},
        {"header # and @ lines come first, other header lines after",
         Crlf({"[Tools\\Crc]", "// c", "!old", "#h", "@a", "SIZE(1,1);"}), {"D"},
         Crlf({"[Tools\\Crc]", "#h", "@a", "!D", "// c", "SIZE(1,1);"})},
        {"title on the second line stays above the description",
         Crlf({"", "[Tools\\Crc]", "!old", "SIZE(1,1);"}), {"D"},
         Crlf({"", "[Tools\\Crc]", "!D", "SIZE(1,1);"})},
        {"empty memo removes the description",
         Crlf({"[Tools\\Crc]", "!old", "SIZE(1,1);"}), {},
         Crlf({"[Tools\\Crc]", "SIZE(1,1);"})},
        {"line ends of the file kept", "[Tools\\Crc]\n!old\nSIZE(1,1);", {"D"}, "[Tools\\Crc]\n!D\nSIZE(1,1);"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Script(c.before);
        ASSERT_TRUE(SaveCalculatorDescription("Tools\\Crc", c.memo));
        EXPECT_EQ(ReadFileBytes(Calc("crc.cal")), c.after);
    }
}

TEST_F(CalcInfoTest, SavedDescriptionReadsBackAndTheScriptStaysIndexed)
{
    Script(Crlf({"", "[Tools\\Crc]", "SIZE(1,1);"}));
    ASSERT_TRUE(SaveCalculatorDescription("Tools\\Crc", {"First", "Second"}));
    EXPECT_EQ(Description(), "First\r\nSecond\r\n");
    ASSERT_TRUE(CreateCalculatorsIndex());
    EXPECT_EQ(ReadFileBytes(Calc("index.txt")), "[Tools\\Crc]\r\nFile=crc.cal\r\n");
}

TEST_F(CalcInfoTest, SavingForAPathNotInTheIndexChangesNothing)
{
    Script(Crlf({"[Tools\\Crc]", "SIZE(1,1);"}));
    EXPECT_FALSE(SaveCalculatorDescription("Tools\\Other", {"D"}));
    fs::remove(Calc("crc.cal"));
    EXPECT_FALSE(SaveCalculatorDescription("Tools\\Crc", {"D"}));
    EXPECT_FALSE(fs::exists(Calc("crc.cal")));
}

TEST_F(CalcInfoTest, PictureIsFoundByTheTreePathWithBlanksBitmapFirst)
{
    fs::create_directories(Calc("Pictures"));
    const std::string base = ProgramFolder() + "\\Calculators\\Pictures\\Tools Crc";
    EXPECT_EQ(CalculatorPictureBase("Tools\\Crc"), base);
    EXPECT_EQ(Picture("Tools\\Crc"), "");
    WriteFileBytes(Calc("Pictures/Tools Crc.jpg"), "j");
    EXPECT_EQ(Picture("Tools\\Crc"), base + ".jpg");
    WriteFileBytes(Calc("Pictures/Tools Crc.bmp"), "b");
    EXPECT_EQ(Picture("Tools\\Crc"), base + ".bmp");
    EXPECT_EQ(FindPictureFile(base + ".jpg"), base + ".jpg");
    EXPECT_EQ(FindPictureFile(""), "");
}

TEST_F(CalcInfoTest, SavedPictureReplacesTheOtherExtensionOnlyAfterItIsWritten)
{
    WriteFileBytes(dir_.file("pick.bmp"), "BMPDATA");
    WriteFileBytes(dir_.file("pick.jpeg"), "JPEGDATA");
    fs::create_directories(Calc("Pictures"));
    WriteFileBytes(Calc("Pictures/CRC v1.2.jpg"), "old");
    std::string error;
    ASSERT_TRUE(SaveCalculatorPicture(dir_.path() + "\\pick.bmp", "CRC v1.2", error)) << error;
    EXPECT_EQ(ReadFileBytes(Calc("Pictures/CRC v1.2.bmp")), "BMPDATA");
    EXPECT_FALSE(fs::exists(Calc("Pictures/CRC v1.2.jpg")));
    EXPECT_EQ(Picture("CRC v1.2"), ProgramFolder() + "\\Calculators\\Pictures\\CRC v1.2.bmp");

    // A failed save leaves the picture there was.
    EXPECT_FALSE(SaveCalculatorPicture(dir_.path() + "\\missing.jpg", "CRC v1.2", error));
    EXPECT_NE(error.find("missing.jpg"), std::string::npos);
    EXPECT_TRUE(fs::exists(Calc("Pictures/CRC v1.2.bmp")));

    ASSERT_TRUE(SaveCalculatorPicture(dir_.path() + "\\pick.jpeg", "CRC v1.2", error)) << error;
    EXPECT_EQ(ReadFileBytes(Calc("Pictures/CRC v1.2.jpg")), "JPEGDATA");
    EXPECT_FALSE(fs::exists(Calc("Pictures/CRC v1.2.bmp")));
}

TEST_F(CalcInfoTest, PictureTargetNameComesFromTheTreePath)
{
    WriteFileBytes(dir_.file("pick.bmp"), "B");
    struct Case {
        std::string lastCalc;
        const char* file;
    } cases[] = {
        {"Memory\\Serial\\Checksum", "Memory Serial Checksum.bmp"},
        {ProgramFolder() + "\\Calculators\\Tools\\Crc", "Tools Crc.bmp"},
        {"A/B", "A-B.bmp"},
    };
    for (const Case& c : cases) {
        std::string error;
        ASSERT_TRUE(SaveCalculatorPicture(dir_.path() + "\\pick.bmp", c.lastCalc, error)) << error;
        EXPECT_TRUE(fs::exists(Calc(std::string("Pictures/") + c.file))) << c.file;
    }
    std::string error;
    EXPECT_FALSE(SaveCalculatorPicture(dir_.path() + "\\pick.bmp", "", error));
    WriteFileBytes(dir_.file("pick.png"), "P");
    EXPECT_FALSE(SaveCalculatorPicture(dir_.path() + "\\pick.png", "Tools\\Crc", error));
    EXPECT_NE(error.find(".bmp"), std::string::npos);
}

} // namespace
