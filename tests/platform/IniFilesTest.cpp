#include "platform/IniFiles.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

using testsupport::FixturePath;
using testsupport::ReadFileBytes;
using testsupport::TempDir;
using testsupport::WriteFileBytes;

namespace {

std::string copyFixture(const TempDir& dir, const std::string& name)
{
    const std::string path = dir.file(name);
    WriteFileBytes(path, ReadFileBytes(FixturePath("platform/" + name)));
    return path;
}

} // namespace

TEST(IniFiles, ReadsWithProfileRules)
{
    TIniFile ini(FixturePath("platform/mixed.ini"));
    struct Case {
        const char* section;
        const char* key;
        const char* expected;
    } cases[] = {
        {"Parameters", "ComName", "COM3"},   // first occurrence of a key wins
        {"PARAMETERS", "COMNAME", "COM3"},   // names ignore case
        {"parameters", "DelayValue", "-"},   // a second section of the same name is not read
        {"Dump", "FontName", "Courier New"}, // enclosing quotes go
        {"Dump", "Missing", "-"},
        {"Nowhere", "ComName", "-"},
        {"Parameters", "; a comment inside", "-"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ini.ReadString(c.section, c.key, "-"), c.expected) << c.section << "/" << c.key;
    EXPECT_EQ(ini.ReadInteger("Parameters", "WorkParam", 0), 16);
    EXPECT_EQ(ini.ReadInteger("Dump", "FontSize", 10), 10);
    EXPECT_EQ(ini.ReadSection("Parameters"), (TStringList{"ComName", "comname", "WorkParam"}));
    EXPECT_EQ(ini.ReadSections(), (TStringList{"Parameters", "Dump"}));
}

TEST(IniFiles, ChangingOneKeyKeepsEveryOtherByte)
{
    TempDir dir;
    const std::string path = copyFixture(dir, "mixed.ini");
    const std::string before = ReadFileBytes(path);
    {
        TIniFile ini(path);
        ini.WriteString("PARAMETERS", "workparam", "77");
        ASSERT_TRUE(ini.UpdateFile());
    }
    std::string expected = before;
    expected.replace(expected.find("WorkParam=0x10"), 14, "workparam=77");
    EXPECT_EQ(ReadFileBytes(path), expected);
}

TEST(IniFiles, NewKeysAndSectionsGoWhereTheyBelong)
{
    TempDir dir;
    const std::string path = dir.file("new.ini");
    WriteFileBytes(path, "[A]\nx=1\n\n[B]\ny=2");
    {
        TIniFile ini(path);
        ini.WriteString("a", "Added", "v");  // after the section's last key, before the blank line
        ini.WriteInteger("C", "Num", -5);    // a new section at the end, in the case given
        ini.WriteString("B", "z", "3");       // after a last line that had no line end
        ASSERT_TRUE(ini.UpdateFile());
    }
    EXPECT_EQ(ReadFileBytes(path), "[A]\nx=1\nAdded=v\n\n[B]\ny=2\nz=3\n[C]\nNum=-5\n");
}

TEST(IniFiles, EraseSectionAndDeleteKey)
{
    TempDir dir;
    const std::string path = dir.file("e.ini");
    WriteFileBytes(path, "[Files]\r\nFile1=a\r\n[Keep]\r\nk=1\r\n[files]\r\nFile2=b\r\n");
    TIniFile ini(path);
    ini.EraseSection("FILES");
    ini.DeleteKey("keep", "K");
    EXPECT_FALSE(ini.SectionExists("Files"));
    ASSERT_TRUE(ini.UpdateFile());
    EXPECT_EQ(ReadFileBytes(path), "[Keep]\r\n");
}

TEST(IniFiles, MissingFileReadsEmptyAndUnwritableFileIsReported)
{
    TempDir dir;
    TIniFile missing(dir.file("none.ini"));
    EXPECT_EQ(missing.ReadString("S", "K", "def"), "def");

    TIniFile unwritable(dir.file("no-such-folder/x.ini"));
    unwritable.WriteString("S", "K", "v");
    EXPECT_FALSE(unwritable.UpdateFile());
    EXPECT_TRUE(unwritable.Modified());
}

TEST(IniFiles, SectionValuesKeepFileOrderAndDuplicates)
{
    TempDir dir;
    const std::string path = dir.file("r.ini");
    WriteFileBytes(path, "[Recent Files]\n0=a.bin\n7=b=c.bin\n0=d.bin\n");
    TIniFile ini(path);
    EXPECT_EQ(ini.ReadSectionValues("recent files"), (TStringList{"0=a.bin", "7=b=c.bin", "0=d.bin"}));
}

TEST(IniFiles, EveryOneLineValueReadsBackAsWritten)
{
    TempDir dir;
    const std::string path = dir.file("q.ini");
    const std::string values[] = {"plain", "\"quoted\"", "'single'", " lead", "trail\t", "a\"b", "\"", "",
                                  "\"both\" ", "x = y"};
    {
        TIniFile ini(path);
        for (size_t i = 0; i < std::size(values); ++i)
            ini.WriteString("S", "K" + std::to_string(i), values[i]);
        ASSERT_TRUE(ini.UpdateFile());
    }
    TIniFile ini(path);
    for (size_t i = 0; i < std::size(values); ++i)
        EXPECT_EQ(ini.ReadString("S", "K" + std::to_string(i), "-"), values[i]) << i;
    // Ordinary values are stored as they are.
    EXPECT_NE(ReadFileBytes(path).find("K0=plain\r\n"), std::string::npos);
}
