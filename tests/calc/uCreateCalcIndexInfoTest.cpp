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
        {"no title, code first", {"SIZE 1", "!later"}, ""},
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

TEST_F(CalcInfoTest, ShortScriptsSaveAndScriptsWithoutATitleAreRefused)
{
    struct Case {
        const char* name;
        std::string before;
        const char* after; // nullptr: refused, the file unchanged
    } cases[] = {
        {"empty", "", nullptr},
        {"one empty line", "\r\n", nullptr},
        {"two empty lines", "\n\n", nullptr},
        {"title alone", "[Tools\\Crc]", "[Tools\\Crc]\r\n!D\r\n"},
        {"title and line end", "[Tools\\Crc]\n", "[Tools\\Crc]\n!D\n"},
        {"title on the second line", "\r\n[Tools\\Crc]", "\r\n[Tools\\Crc]\r\n!D\r\n"},
        {"header line without line end", "[Tools\\Crc]\r\n// c", "[Tools\\Crc]\r\n!D\r\n// c"},
        {"code alone", "SIZE(1,1);", nullptr},
        {"code first", "SIZE 1\r\n!old\r\n", nullptr},
        {"code after an empty line", "\r\nSIZE 1\r\n", nullptr},
        {"blank first line", "  \r\n[Tools\\Crc]\r\nSIZE 1\r\n", nullptr},
        {"comment first", "// c\r\n[Tools\\Crc]\r\nSIZE 1\r\n", nullptr},
        {"title ending in a CR keeps it", "\n[Tools\\Crc]\r", "\n[Tools\\Crc]\r\r\n!D\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Script(c.before);
        std::string error;
        EXPECT_EQ(SaveCalculatorDescription("Tools\\Crc", {"D"}, &error), c.after != nullptr);
        EXPECT_EQ(ReadFileBytes(Calc("crc.cal")), c.after ? std::string(c.after) : c.before);
        if (c.after)
            EXPECT_EQ(Description(), "D\r\n");
        else
            EXPECT_NE(error.find("crc.cal"), std::string::npos) << error;
    }
}

TEST_F(CalcInfoTest, TheCodeKeepsItsBytesWhateverItsLineEnds)
{
    // From the line holding SIZE on nothing changes, lone CRs included.
    const std::string code = "SIZE(1,1);\r\nFORM{\n}\r\rVAR N;\n\r\n";
    Script("[Tools\\Crc]\n!old\r\n#x\n// c\r\n" + code);
    ASSERT_TRUE(SaveCalculatorDescription("Tools\\Crc", {"One", "Two"}));
    // Header lines kept keep their own line ends; new ones take the first.
    EXPECT_EQ(ReadFileBytes(Calc("crc.cal")), "[Tools\\Crc]\n#x\n!One\n!Two\n// c\r\n" + code);
    EXPECT_EQ(Description(), "One\r\nTwo\r\n");
}

TEST_F(CalcInfoTest, IndexEntriesOutsideTheCalculatorsFolderAreNoCalculators)
{
    const std::string victim = "[Tools\\Crc]\r\n!Not a calculator\r\nSIZE(1,1);\r\n";
    WriteFileBytes(dir_.file("victim.txt"), victim);
    WriteFileBytes(dir_.file("victim.cal"), victim);
    fs::create_directories(Calc("sub"));
    WriteFileBytes(Calc("sub/ok.cal"), "[Ok]\r\n!Inside\r\nSIZE(1,1);\r\n");
    for (const std::string& file : std::vector<std::string>{"..\\victim.txt", "..\\victim.cal", "../victim.cal", "sub\\..\\..\\victim.cal",
                                   ".\\..\\victim.cal", "\\" + dir_.path() + "\\victim.cal",
                                   dir_.path() + "/victim.cal", "sub\\\\ok.cal", "index.txt"}) {
        SCOPED_TRACE(file);
        WriteFileBytes(Calc("index.txt"), "[Tools\\Crc]\r\nFile=" + file + "\r\n");
        EXPECT_EQ(CalculatorFile("Tools\\Crc"), "");
        EXPECT_EQ(Description(), "");
        std::string error;
        EXPECT_FALSE(SaveCalculatorDescription("Tools\\Crc", {"D"}, &error));
        EXPECT_NE(error.find("not in the index"), std::string::npos) << error;
    }
    EXPECT_EQ(ReadFileBytes(dir_.file("victim.txt")), victim);
    EXPECT_EQ(ReadFileBytes(dir_.file("victim.cal")), victim);
    EXPECT_EQ(ReadFileBytes(Calc("index.txt")), "[Tools\\Crc]\r\nFile=index.txt\r\n");

    WriteFileBytes(Calc("index.txt"), "[Ok]\r\nFile=sub\\ok.cal\r\n[Up]\r\nFile=sub/OK.CAL\r\n");
    EXPECT_EQ(Description("Ok"), "Inside\r\n");
    EXPECT_EQ(Description("Up"), "Inside\r\n");
}

TEST_F(CalcInfoTest, EntriesWhoseLinksLeadOutOfTheFolderAreNoCalculators)
{
    const std::string victim = "[Tools\\Crc]\r\n!Not a calculator\r\nSIZE(1,1);\r\n";
    fs::create_directories(dir_.file("outside"));
    WriteFileBytes(dir_.file("outside/victim.cal"), victim);
    WriteFileBytes(dir_.file("victim.cal"), victim);
    fs::create_directories(Calc("Real"));
    WriteFileBytes(Calc("Real/ok.cal"), "[Ok]\r\n!Inside\r\nSIZE(1,1);\r\n");
    WriteFileBytes(Calc("Real/text.txt"), "[Ok]\r\n!Text\r\nSIZE(1,1);\r\n");
    fs::create_directories(Calc("sub"));
    fs::create_directory_symlink("../../", Calc("sub/up"));
    fs::create_directory_symlink(dir_.file("outside"), Calc("system"));
    fs::create_symlink(dir_.file("outside/victim.cal"), Calc("out.cal"));
    fs::create_symlink("Real/text.txt", Calc("text.cal"));
    fs::create_directory_symlink("Real", Calc("alias"));
    fs::create_symlink("Real/ok.cal", Calc("twin.cal"));
    fs::create_directory(Calc("folder.cal"));
    struct Case {
        const char* file;
        bool calculator;
    } cases[] = {
        {"sub\\up\\victim.cal", false},   {"sub\\up\\outside\\victim.cal", false},
        {"system\\victim.cal", false},    {"out.cal", false},
        {"text.cal", false},              {"folder.cal", false},
        {"alias\\ok.cal", true},          {"twin.cal", true},
        {"Real\\ok.cal", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        WriteFileBytes(Calc("index.txt"), std::string("[Tools\\Crc]\r\nFile=") + c.file + "\r\n");
        EXPECT_EQ(CalculatorFile("Tools\\Crc"), c.calculator ? ProgramFolder() + "\\Calculators\\" + c.file : "");
        EXPECT_EQ(Description(), c.calculator ? "Inside\r\n" : "");
        std::string error;
        EXPECT_EQ(SaveCalculatorDescription("Tools\\Crc", {"Inside"}, &error), c.calculator) << error;
    }
    EXPECT_EQ(ReadFileBytes(dir_.file("outside/victim.cal")), victim);
    EXPECT_EQ(ReadFileBytes(dir_.file("victim.cal")), victim);
    EXPECT_EQ(ReadFileBytes(Calc("Real/text.txt")), "[Ok]\r\n!Text\r\nSIZE(1,1);\r\n");
    EXPECT_TRUE(fs::is_symlink(Calc("twin.cal"))) << "a save writes through the link";
    EXPECT_EQ(ReadFileBytes(Calc("Real/ok.cal")), "[Ok]\r\n!Inside\r\nSIZE(1,1);\r\n");
}

TEST_F(CalcInfoTest, ANameLostToTheCodePageReachesNoOtherFile)
{
    // Bytes that are no UTF-8 read as "?" in the code page, whatever they were.
    const std::string alpha = "[Alpha]\r\n!Alpha\r\nSIZE(1,1);\r\n";
    fs::create_directories(Calc(""));
    WriteFileBytes(Calc("\xff\xfe.cal"), alpha);
    WriteFileBytes(Calc("\xe6\x97\xa5\xe6\x9c\xac.cal"), alpha); // Japanese
    for (const char* file : {"??.cal", "\xff\xfe.cal"}) {
        SCOPED_TRACE(file);
        WriteFileBytes(Calc("index.txt"), std::string("[Beta]\r\nFile=") + file + "\r\n");
        EXPECT_EQ(Description("Beta"), "");
        EXPECT_FALSE(SaveCalculatorDescription("Beta", {"Beta"}));
    }
    for (const auto& entry : fs::directory_iterator(Calc("")))
        if (entry.path().extension() == ".cal")
            EXPECT_EQ(ReadFileBytes(entry.path().string()), alpha) << entry.path();
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

TEST_F(CalcInfoTest, SavedPictureRemovesTheOtherOnlyWhereThatWouldHideIt)
{
    WriteFileBytes(dir_.file("pick.bmp"), "BMPDATA");
    WriteFileBytes(dir_.file("pick.jpeg"), "JPEGDATA");
    fs::create_directories(Calc("Pictures"));
    WriteFileBytes(Calc("Pictures/CRC v1.2.jpg"), "old");
    const std::string base = ProgramFolder() + "\\Calculators\\Pictures\\CRC v1.2";
    std::string error;
    // The bitmap is found first: the JPEG picture hides nothing and stays.
    ASSERT_TRUE(SaveCalculatorPicture(dir_.path() + "\\pick.bmp", "CRC v1.2", error)) << error;
    EXPECT_EQ(ReadFileBytes(Calc("Pictures/CRC v1.2.bmp")), "BMPDATA");
    EXPECT_EQ(ReadFileBytes(Calc("Pictures/CRC v1.2.jpg")), "old");
    EXPECT_EQ(Picture("CRC v1.2"), base + ".bmp");

    // A failed save leaves the pictures there were.
    EXPECT_FALSE(SaveCalculatorPicture(dir_.path() + "\\missing.jpg", "CRC v1.2", error));
    EXPECT_NE(error.find("missing.jpg"), std::string::npos);
    EXPECT_TRUE(fs::exists(Calc("Pictures/CRC v1.2.bmp")));
    EXPECT_TRUE(fs::exists(Calc("Pictures/CRC v1.2.jpg")));

    // A JPEG picture behind a bitmap would never be shown: the bitmap goes.
    ASSERT_TRUE(SaveCalculatorPicture(dir_.path() + "\\pick.jpeg", "CRC v1.2", error)) << error;
    EXPECT_EQ(ReadFileBytes(Calc("Pictures/CRC v1.2.jpg")), "JPEGDATA");
    EXPECT_FALSE(fs::exists(Calc("Pictures/CRC v1.2.bmp")));
    EXPECT_EQ(Picture("CRC v1.2"), base + ".jpg");
}

TEST_F(CalcInfoTest, APictureNameTwoCalculatorsShareIsNeitherReplacedNorRemoved)
{
    WriteFileBytes(dir_.file("pick.jpg"), "JPEGDATA");
    struct Case {
        const char* calculator;
        const char* other; // of the index, with its picture already there
        const char* picture;
    } cases[] = {
        {"Memory\\Checksum", "Memory Checksum", "Memory Checksum"},
        {"Memory Checksum", "Memory\\Checksum", "Memory Checksum"},
        {"A/B", "A-B", "A-B"},
        {"A:B", "A?B", "A-B"},
        {"X<Y", "X>Y", "X-Y"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.calculator);
        fs::remove_all(Calc(""));
        fs::create_directories(Calc("Pictures"));
        WriteFileBytes(Calc("index.txt"), std::string("[") + c.calculator + "]\r\nFile=a.cal\r\n[" + c.other +
                                              "]\r\nFile=b.cal\r\n");
        const std::string own = Calc(std::string("Pictures/") + c.picture);
        WriteFileBytes(own + ".bmp", "OTHERS");
        std::string error;
        EXPECT_FALSE(SaveCalculatorPicture(dir_.path() + "\\pick.jpg", c.calculator, error));
        EXPECT_NE(error.find(std::string("calculator ") + c.calculator + " is not saved"), std::string::npos) << error;
        EXPECT_NE(error.find(std::string("calculator ") + c.other + " has"), std::string::npos) << error;
        EXPECT_EQ(ReadFileBytes(own + ".bmp"), "OTHERS");
        EXPECT_FALSE(fs::exists(own + ".jpg"));
    }
    // Alone in the index, the calculator's own pictures are its to replace.
    WriteFileBytes(Calc("index.txt"), "[Tools\\Crc]\r\nFile=a.cal\r\n[Tools\\Other]\r\nFile=b.cal\r\n");
    WriteFileBytes(Calc("Pictures/Tools Crc.bmp"), "OWN");
    std::string error;
    ASSERT_TRUE(SaveCalculatorPicture(dir_.path() + "\\pick.jpg", "Tools\\Crc", error)) << error;
    EXPECT_FALSE(fs::exists(Calc("Pictures/Tools Crc.bmp")));
    EXPECT_EQ(ReadFileBytes(Calc("Pictures/Tools Crc.jpg")), "JPEGDATA");
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
