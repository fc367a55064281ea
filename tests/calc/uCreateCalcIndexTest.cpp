// The calculator index: the files a fixture calculators folder gives, the
// entries the tree cannot hold, folder links, and descriptions read from
// and written into scripts.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "calc/uCreateCalcIndex.h"
#include "calc/uCreateCalcIndexTree.h"
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

class CalcIndexTest : public ::testing::Test {
protected:
    testsupport::TempDir dir_;
    std::string savedFolder_ = ProgramFolder();

    void SetUp() override
    {
        SetProgramFolder(dir_.path());
        FoldersFirst = false;
    }
    void TearDown() override
    {
        FoldersFirst = false;
        CalcIndexProgress = nullptr;
        SetProgramFolder(savedFolder_);
    }
    std::string Calc(const std::string& name) const { return dir_.file("Calculators/" + name); }
    void Script(const std::string& name, const std::string& text) const
    {
        fs::create_directories(fs::path(Calc(name)).parent_path());
        WriteFileBytes(Calc(name), text);
    }
    void CopyFixture() const
    {
        fs::copy(testsupport::FixturePath("calc/index/Calculators"), Calc(""), fs::copy_options::recursive);
    }
};

TEST_F(CalcIndexTest, FixtureFolderGivesTheExpectedFilesInEitherSortMode)
{
    CopyFixture();
    for (bool foldersFirst : {false, true}) {
        SCOPED_TRACE(foldersFirst);
        FoldersFirst = foldersFirst;
        TStringList notes;
        ASSERT_TRUE(CreateCalculatorsIndex(&notes));
        EXPECT_TRUE(notes.Empty()) << notes.Text();
        EXPECT_EQ(ReadFileBytes(Calc("index.txt")), ReadFileBytes(testsupport::FixturePath("calc/index/index.txt")));
        const char* expected = foldersFirst ? "calc/index/index-folders.ini" : "calc/index/index-mixed.ini";
        EXPECT_EQ(ReadFileBytes(Calc("index.ini")), ReadFileBytes(testsupport::FixturePath(expected)));
    }
}

TEST_F(CalcIndexTest, ProgressNamesEachStepAndFolder)
{
    CopyFixture();
    std::vector<std::string> steps;
    bool sawTools = false;
    CalcIndexProgress = [&](int line, const std::string& text) {
        if (line == 1)
            steps.push_back(text);
        else
            sawTools = sawTools || text.find("Tools") != std::string::npos;
    };
    ASSERT_TRUE(CreateCalculatorsIndex());
    EXPECT_EQ(steps, (std::vector<std::string>{"Create calculators index...", "Update index...", "Sort index..."}));
    EXPECT_TRUE(sawTools);
}

TEST_F(CalcIndexTest, MissingCalculatorsFolderIsMadeAndGivesAnEmptyTree)
{
    ASSERT_TRUE(CreateCalculatorsIndex());
    EXPECT_EQ(ReadFileBytes(Calc("index.txt")), "");
    EXPECT_EQ(ReadFileBytes(Calc("index.ini")), "[Root]\r\n");
}

TEST_F(CalcIndexTest, TitlePathKeepsItsFirstAndLastCharacters)
{
    Script("a.cal", "[Memory\\Size]\r\nSIZE(1,1);\r\n");
    Script("b.cal", "[Z]");
    ASSERT_TRUE(CreateCalculatorsIndex());
    EXPECT_EQ(ReadFileBytes(Calc("index.txt")), Crlf({"[Memory\\Size]", "File=a.cal", "[Z]", "File=b.cal"}));
}

TEST(CalcTitleTreePath, TakesTheTextUpToTheFirstBracketAndRefusesWhatTheIndexCannotHold)
{
    struct Case {
        const char* title;
        const char* path; // empty: refused
        const char* reasonPart;
    } cases[] = {
        {"[Memory\\Serial\\Checksum]", "Memory\\Serial\\Checksum", ""},
        {"[Calc] // a comment [x]", "Calc", ""},
        {"[ Tools \\ Crc ]", "Tools\\Crc", ""},
        {"[CRC v1.2]", "CRC v1.2", ""},
        {"[Memory\\\\Size]", "", "empty level"},
        {"[\\Size]", "", "empty level"},
        {"[Size\\]", "", "empty level"},
        {"[]", "", "empty level"},
        {"[A=B]", "", "\"A=B\""},
        {"[A\\[B]", "", "\"[B\""},
        {"[;A]", "", "\";A\""},
        {"[Memory\\Size", "", "no closing"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        std::string reason;
        EXPECT_EQ(TitleTreePath(c.title, reason), c.path);
        EXPECT_NE(reason.find(c.reasonPart), std::string::npos) << reason;
    }
}

TEST_F(CalcIndexTest, BadEntriesAreLeftOutWithANoteAndTheRestIsIndexed)
{
    Script("good.cal", "[Good]\r\n");
    Script("level.cal", "[A\\\\B]\r\n");
    Script("equals.cal", "[A=B]\r\n");
    Script("open.cal", "[Open\r\n");
    Script("root.cal", "[Root\\Inner]\r\n");
    Script("folder.cal", "[Memory]\r\n");
    Script("inner.cal", "[memory\\Size]\r\n");
    fs::create_symlink(Calc("nowhere"), Calc("dangling.cal"));
    TStringList notes;
    ASSERT_TRUE(CreateCalculatorsIndex(&notes));
    EXPECT_EQ(ReadFileBytes(Calc("index.txt")), Crlf({"[Good]", "File=good.cal", "[memory\\Size]", "File=inner.cal"}));
    EXPECT_EQ(ReadFileBytes(Calc("index.ini")), Crlf({"[Root]", "Good=", "memory=\\", "[memory]", "Size="}));
    const std::string text = notes.Text();
    for (const char* file : {"level.cal", "equals.cal", "open.cal", "root.cal", "folder.cal", "dangling.cal"})
        EXPECT_NE(text.find(std::string(file) + ": "), std::string::npos) << file << " in " << text;
    EXPECT_EQ(notes.Count(), 6);
}

TEST_F(CalcIndexTest, FilesTheIndexCannotNameAreLeftOutWithANote)
{
    // Each of these would read back from "index.txt" as another file (or
    // as none): both "?" names as "??.cal", a backslash as a folder, a
    // leading blank as the name without it, a line end as two lines.
    struct Case {
        std::string file;
        const char* path;
    } cases[] = {
        {"\xff\xfe.cal", "Lost1"},
        {"\xfe\xff.cal", "Lost2"},
        {"Sub\\two.cal", "Slash"},
        {" two.cal", "Blank"},
        {" Top/two.cal", "FolderBlank"},
        {"line\nend.cal", "LineEnd"},
        {"\xff\xfe/inner.cal", "InLostFolder"},
    };
    for (const Case& c : cases)
        Script(c.file, std::string("[") + c.path + "]\r\nSIZE(1,1);\r\n");
    Script("Sub/two.cal", "[Two]\r\n");
    Script("Mid /five.cal", "[Five]\r\n"); // inside, a blank reads back
    Script("\xff\xfe/plain.txt", "[Text]\r\n"); // no script: no note
    TStringList notes;
    ASSERT_TRUE(CreateCalculatorsIndex(&notes));
    EXPECT_EQ(ReadFileBytes(Calc("index.txt")), Crlf({"[Five]", "File=Mid \\five.cal", "[Two]", "File=Sub\\two.cal"}));
    EXPECT_EQ(notes.Count(), static_cast<int>(std::size(cases))) << notes.Text();
    for (const Case& c : cases)
        EXPECT_NE(notes.Text().find(std::string(" [") + c.path + "]: "), std::string::npos) << c.path;
    EXPECT_EQ(CalculatorFile("Lost1"), "");
    EXPECT_EQ(CalculatorFile("Two"), ProgramFolder() + "\\Calculators\\Sub\\two.cal");
}

TEST_F(CalcIndexTest, TopLevelCalculatorNamedRootStaysACalculator)
{
    Script("root.cal", "[Root]\r\n");
    ASSERT_TRUE(CreateCalculatorsIndex());
    EXPECT_EQ(ReadFileBytes(Calc("index.ini")), Crlf({"[Root]", "Root="}));
}

TEST_F(CalcIndexTest, FoldersDifferingOnlyInCaseShareOneSection)
{
    Script("a.cal", "[Mem\\A]\r\n");
    Script("b.cal", "[MEM\\B]\r\n");
    ASSERT_TRUE(CreateCalculatorsIndex());
    EXPECT_EQ(ReadFileBytes(Calc("index.ini")), Crlf({"[Root]", "Mem=\\", "[Mem]", "A=", "B="}));
}

TEST_F(CalcIndexTest, FolderLinkLoopIsScannedOnce)
{
    Script("Loop/calc.cal", "[Looped]\r\n");
    fs::create_directory_symlink(Calc(""), Calc("Loop/back"));
    fs::create_directory_symlink(Calc("Loop"), Calc("Loop/self"));
    ASSERT_TRUE(CreateCalculatorsIndex());
    EXPECT_EQ(ReadFileBytes(Calc("index.txt")), Crlf({"[Looped]", "File=Loop\\calc.cal"}));
}

TEST_F(CalcIndexTest, FailedWriteKeepsTheOldIndex)
{
    Script("a.cal", "[A]\r\n");
    WriteFileBytes(Calc("index.ini"), "[Root]\r\nOld=\r\n");
    fs::create_directory(Calc("index.txt")); // cannot be replaced by a file
    TStringList notes;
    EXPECT_FALSE(CreateCalculatorsIndex(&notes));
    EXPECT_EQ(ReadFileBytes(Calc("index.ini")), "[Root]\r\nOld=\r\n");
    EXPECT_NE(notes.Text().find("cannot be written"), std::string::npos);
}

TEST(CalcSplitFirstPart, TakesThePartBeforeTheFirstBackslash)
{
    struct Case {
        const char* path;
        const char* first;
        const char* rest;
    } cases[] = {{"A\\B\\C", "A", "B\\C"}, {"A", "A", ""}, {"", "", ""}, {"\\B", "", "B"}};
    for (const Case& c : cases) {
        std::string path = c.path;
        EXPECT_EQ(SplitFirstPart(path), c.first) << c.path;
        EXPECT_EQ(path, c.rest) << c.path;
    }
}

TEST(CalcScriptTitleLine, IsTheFirstLineOrTheSecondAfterAnEmptyOne)
{
    EXPECT_EQ(ScriptTitleLine("[A]\r\n[B]\r\n"), "[A]");
    EXPECT_EQ(ScriptTitleLine("\r\n[B]\r\n"), "[B]");
    EXPECT_EQ(ScriptTitleLine("\n[B]"), "[B]");
    EXPECT_EQ(ScriptTitleLine(""), "");
}

} // namespace
