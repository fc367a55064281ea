// The calculator index: the files a fixture calculators folder gives, the
// entries the tree cannot hold, folder links, and descriptions read from
// and written into scripts.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "calc/uCreateCalcIndex.h"
#include "calc/uCreateCalcIndexTree.h"
#include "platform/Files.h"
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
        {"[Cal\rc]", "", "\"Cal\rc\""},
        {"[Tab\tbed]", "", "\"Tab\tbed\""},
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

bool FailSecondFlush()
{
    static int flushes = 0;
    return ++flushes % 2 == 0;
}
bool FailEveryFlush() { return true; }

TEST_F(CalcIndexTest, EitherIndexFileRefusedKeepsBothOldFiles)
{
    const std::string oldTxt = Crlf({"[Old]", "File=old.cal"});
    const std::string oldIni = Crlf({"[Root]", "Old="});
    using fs::perms;
    struct Case {
        const char* name;
        std::function<void(const std::string& folder)> fault; // given the calculators folder, with "/"
        bool (*failWrites)();
    } cases[] = {
        {"index.txt read-only", [](const std::string& f) { fs::permissions(f + "index.txt", perms::owner_read); }, nullptr},
        {"index.ini read-only", [](const std::string& f) { fs::permissions(f + "index.ini", perms::owner_read); }, nullptr},
        {"index.ini a folder",
         [](const std::string& f) {
             fs::remove(f + "index.ini");
             fs::create_directory(f + "index.ini");
         },
         nullptr},
        {"disk full", nullptr, FailEveryFlush},
        {"disk full at the second file", nullptr, FailSecondFlush},
        {"folder read-only", [](const std::string& f) { fs::permissions(f, perms::owner_read | perms::owner_exec); },
         nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(Calc(""));
        Script("new.cal", "[New]\r\nSIZE(1,1);\r\n");
        WriteFileBytes(Calc("index.txt"), oldTxt);
        WriteFileBytes(Calc("index.ini"), oldIni);
        if (c.fault)
            c.fault(Calc(""));
        FailWritesForTest = c.failWrites;
        TStringList notes;
        EXPECT_FALSE(CreateCalculatorsIndex(&notes));
        FailWritesForTest = nullptr;
        fs::permissions(Calc(""), fs::perms::owner_all);
        EXPECT_NE(notes.Text().find("cannot be written"), std::string::npos) << notes.Text();
        EXPECT_EQ(ReadFileBytes(Calc("index.txt")), oldTxt);
        if (fs::is_regular_file(Calc("index.ini"))) {
            EXPECT_EQ(ReadFileBytes(Calc("index.ini")), oldIni);
        }
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(Calc("")))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, (std::vector<std::string>{"index.ini", "index.txt", "new.cal"})) << "nothing left behind";
        fs::permissions(Calc("index.txt"), fs::perms::owner_all);
        if (fs::is_regular_file(Calc("index.ini")))
            fs::permissions(Calc("index.ini"), fs::perms::owner_all);
    }
}

TEST_F(CalcIndexTest, IndexPairAgreesWhenTreeAndFilesListTheSameCalculators)
{
    struct Case {
        const char* name;
        const char* txt; // nullptr: missing
        const char* ini;
        bool agrees;
    } cases[] = {
        {"both empty", "", "[Root]\r\n", true},
        {"one calculator", "[A\\B]\r\nFile=b.cal\r\n", "[Root]\r\nA=\\\r\n[A]\r\nB=\r\n", true},
        {"folder spelt otherwise in the tree", "[MEM\\B]\r\nFile=b.cal\r\n", "[Root]\r\nMem=\\\r\n[Mem]\r\nb=\r\n", true},
        {"folders first", "[Z]\r\nFile=z.cal\r\n[A\\B]\r\nFile=b.cal\r\n", "[Root]\r\nA=\\\r\nZ=\r\n[A]\r\nB=\r\n", true},
        {"folder listed twice", "[A\\B]\r\nFile=b.cal\r\n", "[Root]\r\nA=\\\r\nA=\\\r\n[A]\r\nB=\r\n", true},
        {"empty folder section missing", "", "[Root]\r\nA=\\\r\n", true},
        {"index.txt missing", nullptr, "[Root]\r\n", false},
        {"index.ini missing", "", nullptr, false},
        {"new index.txt beside the old index.ini", "[A]\r\nFile=a.cal\r\n[B]\r\nFile=b.cal\r\n", "[Root]\r\nA=\r\n", false},
        {"a calculator of the tree without its file", "[A]\r\nFile=a.cal\r\n", "[Root]\r\nA=\r\nB=\r\n", false},
        {"an entry without File", "[A]\r\nFile=a.cal\r\n[B]\r\n", "[Root]\r\nA=\r\nB=\r\n", false},
        {"a calculator in another folder", "[A\\B]\r\nFile=b.cal\r\n", "[Root]\r\nA=\\\r\nB=\r\n[A]\r\n", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(Calc(""));
        fs::create_directories(Calc(""));
        if (c.txt)
            WriteFileBytes(Calc("index.txt"), c.txt);
        if (c.ini)
            WriteFileBytes(Calc("index.ini"), c.ini);
        EXPECT_EQ(CalculatorsIndexAgrees(), c.agrees);
    }
    fs::remove_all(Calc(""));
    CopyFixture();
    for (bool foldersFirst : {false, true}) {
        FoldersFirst = foldersFirst;
        ASSERT_TRUE(CreateCalculatorsIndex());
        EXPECT_TRUE(CalculatorsIndexAgrees()) << "a rebuilt pair, folders first: " << foldersFirst;
    }
}

TEST_F(CalcIndexTest, CalculatorsWhoseTitlesDifferOnlyInCaseAreNamedWhenLeftOut)
{
    struct Case {
        const char* first;
        const char* second;
        const char* path; // of the one kept
        const char* ini;
    } cases[] = {
        {"[Calc]", "[CALC]", "calc", "[Root]\r\nCalc=\r\n"},
        {"[Calc]", "[Calc]", "Calc", "[Root]\r\nCalc=\r\n"},
        {"[Mem\\Sum]", "[MEM\\sum]", "MEM\\sum", "[Root]\r\nMem=\\\r\n[Mem]\r\nSum=\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.first) + " " + c.second);
        fs::remove_all(Calc(""));
        Script("a.cal", std::string(c.first) + "\r\nSIZE(1,1);\r\n");
        Script("b.cal", std::string(c.second) + "\r\nSIZE(1,1);\r\n");
        TStringList notes;
        ASSERT_TRUE(CreateCalculatorsIndex(&notes));
        EXPECT_EQ(ReadFileBytes(Calc("index.ini")), c.ini);
        ASSERT_EQ(notes.Count(), 1);
        EXPECT_EQ(notes[0].rfind("b.cal: ", 0), 0u) << notes[0];
        EXPECT_NE(notes[0].find("a.cal"), std::string::npos) << notes[0];
        EXPECT_EQ(CalculatorFile(c.path), ProgramFolder() + "\\Calculators\\a.cal");
        EXPECT_TRUE(CalculatorsIndexAgrees());
    }
}

TEST_F(CalcIndexTest, LinksAreFollowedOnlyToScriptsInsideTheFolder)
{
    fs::create_directories(dir_.file("outside/Big"));
    WriteFileBytes(dir_.file("outside/victim.cal"), "[Victim]\r\nSIZE(1,1);\r\n");
    WriteFileBytes(dir_.file("outside/Big/deep.cal"), "[Big\\Deep]\r\nSIZE(1,1);\r\n");
    Script("Real/a.cal", "[Real\\A]\r\nSIZE(1,1);\r\n");
    Script("Real/b.txt", "[Real\\Text]\r\nSIZE(1,1);\r\n");
    struct Case {
        const char* link;
        std::string target;
        bool folder;
        const char* note;
    } cases[] = {
        {"sub/up", "../../", true, "sub\\up: a link to a folder"},
        {"system", dir_.file("outside"), true, "system: a link to a folder"},
        {"alias", "Real", true, "alias: a link to a folder"},
        {"out.cal", dir_.file("outside/victim.cal"), false, "out.cal: the link leads out"},
        {"text.cal", "Real/b.txt", false, "text.cal: the link leads out"},
        {"twin.cal", "Real/a.cal", false, "twin.cal: the calculator Real\\A has the title of Real\\a.cal"},
    };
    for (const Case& c : cases) {
        fs::create_directories(fs::path(Calc(c.link)).parent_path());
        if (c.folder)
            fs::create_directory_symlink(c.target, Calc(c.link));
        else
            fs::create_symlink(c.target, Calc(c.link));
    }
    TStringList notes;
    ASSERT_TRUE(CreateCalculatorsIndex(&notes));
    EXPECT_EQ(ReadFileBytes(Calc("index.txt")), Crlf({"[Real\\A]", "File=Real\\a.cal"}));
    for (const Case& c : cases)
        EXPECT_NE(notes.Text().find(c.note), std::string::npos) << c.note << " in " << notes.Text();
    EXPECT_EQ(notes.Count(), static_cast<int>(std::size(cases))) << notes.Text();
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
