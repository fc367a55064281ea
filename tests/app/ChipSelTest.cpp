// The chip list from the scripts folder and from the catalogue, its tree,
// and the module defaults write-back.
#include "app/ChipSel.h"
#include "app/ChipSelWriteBack.h"

#include "engine/Global.h"
#include "engine/Modules.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"

#include "AppStateGuard.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

using testsupport::FixturePath;
using testsupport::ReadFileBytes;
using testsupport::TempDir;
using testsupport::WriteFileBytes;

namespace {

std::vector<std::string> Items(const TStringList& list) { return list.Items(); }

std::string Module(const std::string& locations)
{
    return "// test module\r\n[DESCRIPTION]\r\nLOCATION = " + locations + ";\r\nVOLTAGE = 5.0;\r\n";
}

// Each test gets its own program folder with a scripts folder.
class ChipSel : public ::testing::Test {
protected:
    void SetUp() override
    {
        savedFolder_ = ProgramFolder();
        SetProgramFolder(dir_.path());
        std::filesystem::create_directories(dir_.file("scripts"));
        previousHandler_ = SetMessageBoxHandler([this](const std::string& text, const std::string&, unsigned) {
            messages_.push_back(text);
            return IDOK;
        });
    }
    void TearDown() override
    {
        SetMessageBoxHandler(previousHandler_);
        SetProgramFolder(savedFolder_);
    }

    void Write(const std::string& relative, const std::string& bytes)
    {
        const std::filesystem::path path = dir_.file("scripts/" + relative);
        std::filesystem::create_directories(path.parent_path());
        WriteFileBytes(path.string(), bytes);
    }
    void Build(bool catalog)
    {
        WorkParam = catalog ? WorkParam | wpUseConfigFile : WorkParam & ~wpUseConfigFile;
        BuildChipList();
    }
    // The tree's nodes in tree order as full paths.
    static std::vector<std::string> TreePaths()
    {
        std::vector<std::string> paths;
        for (int n : ChipTree.TreeOrder())
            paths.push_back(ChipTree.Path(n));
        return paths;
    }

    testsupport::TAppStateGuard state_;
    TempDir dir_;
    std::vector<std::string> messages_;

private:
    std::string savedFolder_;
    MessageBoxHandler previousHandler_;
};

TEST_F(ChipSel, ScanTakesSubFoldersFirstThenTheFolderItself)
{
    Write("b/x.chl", Module("B\\X"));
    Write("a/sub/deep.chl", Module("A\\Deep"));
    Write("a/y.chl", Module("A\\Y"));
    Write("top.chl", Module("Top"));
    Write("UPPER.CHL", Module("Upper")); // named on a system that ignores case
    Write("notes.txt", Module("Not a module"));
    Build(false);
    EXPECT_FALSE(CatalogPresent);
    EXPECT_EQ(Items(ScanList),
              (std::vector<std::string>{"\\a\\sub\\deep.chl", "\\a\\y.chl", "\\b\\x.chl", "\\UPPER.CHL", "\\top.chl"}));
    EXPECT_EQ(Items(ChipList), (std::vector<std::string>{"A\\Deep", "A\\Y", "B\\X", "Upper", "Top"}));
    EXPECT_EQ(Items(ModuleFileList), Items(ScanList));
    // The tree is sorted, letter case aside.
    EXPECT_EQ(TreePaths(), (std::vector<std::string>{"A", "A\\Deep", "A\\Y", "B", "B\\X", "Top", "Upper"}));
}

TEST_F(ChipSel, EveryLocationIsAnEntryOfItsModule)
{
    Write("mem.chl", Module("Memory\\24Cxx\\24C02, Memory\\24Cxx\\24C04,\r\n   \" Memory \\ 24Cxx \\24C08 \""));
    Build(false);
    // Levels lose their blanks, so entry and tree path are the same text.
    EXPECT_EQ(Items(ChipList),
              (std::vector<std::string>{"Memory\\24Cxx\\24C02", "Memory\\24Cxx\\24C04", "Memory\\24Cxx\\24C08"}));
    EXPECT_EQ(Items(ModuleFileList), (std::vector<std::string>{"\\mem.chl", "\\mem.chl", "\\mem.chl"}));
    EXPECT_EQ(TreePaths(), (std::vector<std::string>{"Memory", "Memory\\24Cxx", "Memory\\24Cxx\\24C02",
                                                     "Memory\\24Cxx\\24C04", "Memory\\24Cxx\\24C08"}));
}

TEST_F(ChipSel, SameChipInTwoModulesIsOneNodeAndTheFirstEntryWins)
{
    Write("a.chl", Module("Memory\\24C02"));
    Write("b.chl", Module("Memory\\24C02"));
    Build(false);
    EXPECT_EQ(Items(ChipList), (std::vector<std::string>{"Memory\\24C02", "Memory\\24C02"}));
    EXPECT_EQ(ChipTree.Count(), 2);
    EXPECT_EQ(ModuleFileList[ChipList.IndexOf("memory\\24c02")], "\\a.chl");
}

TEST_F(ChipSel, CatalogKeepsItsOrderAndIsNotScanned)
{
    Write("scanned.chl", Module("Scanned\\Chip"));
    Write("scripts.cfg", "; catalogue\r\n[Z\\Y]\r\nb=b.chl\r\na=sub\\a.chl\r\n[A]\r\nc=c.chl\r\n");
    ConfigFile = "scripts.cfg";
    Build(true);
    EXPECT_TRUE(CatalogPresent);
    EXPECT_TRUE(ScanList.Empty());
    EXPECT_EQ(Items(ChipList), (std::vector<std::string>{"Z\\Y\\b", "Z\\Y\\a", "A\\c"}));
    EXPECT_EQ(Items(ModuleFileList), (std::vector<std::string>{"b.chl", "sub\\a.chl", "c.chl"}));
    EXPECT_EQ(TreePaths(), (std::vector<std::string>{"Z", "Z\\Y", "Z\\Y\\b", "Z\\Y\\a", "A", "A\\c"}));
    EXPECT_EQ(ModuleFilePath(ModuleFileList[1]), ProgramFolder() + "\\scripts\\sub\\a.chl");
    EXPECT_EQ(ModuleFilePath("\\a\\y.chl"), ProgramFolder() + "\\scripts\\a\\y.chl");
}

TEST_F(ChipSel, CatalogIsTheOneThatConfigFileNames)
{
    Write("scripts.cfg", "[Main]\r\nm=m.chl\r\n");
    Write("other.cfg", "[Other]\r\no=o.chl\r\n");
    ConfigFile = "OTHER.CFG";
    Build(true);
    EXPECT_EQ(Items(ChipList), (std::vector<std::string>{"Other\\o"}));
}

TEST_F(ChipSel, EveryRebuildStartsFromEmptyLists)
{
    Write("scanned.chl", Module("Shared\\Chip, Scanned\\Only"));
    Write("scripts.cfg", "[Shared]\r\nChip=elsewhere.chl\r\n[Catalog]\r\nOnly=c.chl\r\n");
    Build(false);
    const std::vector<std::string> scanned = Items(ChipList);
    const std::vector<std::string> scannedTree = TreePaths();
    Build(true);
    EXPECT_EQ(Items(ChipList), (std::vector<std::string>{"Shared\\Chip", "Catalog\\Only"}));
    EXPECT_EQ(Items(ModuleFileList), (std::vector<std::string>{"elsewhere.chl", "c.chl"}));
    Build(false);
    EXPECT_EQ(Items(ChipList), scanned);
    EXPECT_EQ(TreePaths(), scannedTree);
    // No stale catalogue row stands before the scanned one.
    EXPECT_EQ(ModuleFileList[ChipList.IndexOf("Shared\\Chip")], "\\scanned.chl");
}

TEST_F(ChipSel, ScanDoesNotFollowALinkBackUpTheTree)
{
    Write("a/m.chl", Module("A\\M"));
    std::filesystem::create_directory_symlink("..", dir_.file("scripts/a/up"));
    std::filesystem::create_directory_symlink(dir_.file("scripts/a"), dir_.file("scripts/self"));
    Build(false);
    EXPECT_EQ(Items(ChipList), (std::vector<std::string>{"A\\M"}));
}

TEST_F(ChipSel, AModuleGoneOrWithoutLocationGivesNoEntry)
{
    Write("none.chl", "[DESCRIPTION]\r\nVOLTAGE = 5.0;\r\n");
    Write("blank.chl", Module(" \\ "));
    Build(false);
    EXPECT_EQ(ScanList.Count(), 2);
    EXPECT_TRUE(ChipList.Empty());
    EXPECT_EQ(ChipTree.Count(), 0);
}

TEST(ChipTree, FindsByTheWholePathBeforeTheLastLevel)
{
    TChipTree tree;
    std::string entry;
    for (const char* path : {"A\\24C02", "B\\24C02", "B\\24C04"})
        tree.AddPath(path, entry);
    struct Case {
        const char* Entry;
        const char* Found; // path of the node found, empty for none
    };
    for (const Case& c : {Case{"B\\24C02", "B\\24C02"}, Case{"b\\24c02", "B\\24C02"},
                          Case{" B \\ 24C02 ", "B\\24C02"}, Case{"C\\24c02", "A\\24C02"},
                          Case{"24C04", "B\\24C04"}, Case{"B", "B"}, Case{"X\\Y", ""}, Case{"", ""}}) {
        const int n = tree.FindEntry(c.Entry);
        EXPECT_EQ(n < 0 ? std::string() : tree.Path(n), c.Found) << c.Entry;
    }
}

// Defaults write-back: a module copied into the scripts folder.
class WriteBack : public ChipSel {
protected:
    std::string Put(const std::string& name, const std::string& bytes)
    {
        Write(name, bytes);
        return ScriptsFolder() + "\\" + name;
    }
    std::string Read(const std::string& name) { return ReadFileBytes(dir_.file("scripts/" + name)); }
};

TEST_F(WriteBack, ChangesOnlyTheTwoStatementsAndKeepsEveryLineEnd)
{
    const std::string file = Put("defaults.chl", ReadFileBytes(FixturePath("app/defaults.chl")));
    ASSERT_TRUE(WriteModuleDefaults(file, "4.0", 0xFC));
    EXPECT_EQ(Read("defaults.chl"), ReadFileBytes(FixturePath("app/defaults-saved.chl")));
    EXPECT_TRUE(messages_.empty());

    TModuleInfo module;
    ASSERT_EQ(module.LoadFromFile(file), 1);
    EXPECT_EQ(module.Voltage, "4.0");
    EXPECT_EQ(module.PinTestMask, 0xFC);
    EXPECT_EQ(module.Info.Count(), 3);
}

TEST_F(WriteBack, StatementsAndInsertedKeys)
{
    struct Case {
        const char* Name;
        std::string Before, After;
    };
    const std::vector<Case> cases = {
        {"both missing, LF", "[DESCRIPTION]\nLOCATION = A\\B;\n\n[HOST]\n",
         "[DESCRIPTION]\nLOCATION = A\\B;\nVOLTAGE = 3.3;\nPINTEST = 01111111;\n\n[HOST]\n"},
        {"empty section, CR", "[Description]\r[MENU]\r",
         "[Description]\rVOLTAGE = 3.3;\rPINTEST = 01111111;\r[MENU]\r"},
        {"last line without a line end", "[DESCRIPTION]\r\nVOLTAGE = 2.8;",
         "[DESCRIPTION]\r\nVOLTAGE = 3.3;\r\nPINTEST = 01111111;"},
        {"value in quotes, no ';'", "[DESCRIPTION]\r\nvoltage=\"5.0\"\r\nPinTest = 1111;\r\n",
         "[DESCRIPTION]\r\nvoltage=3.3;\r\nPinTest = 01111111;\r\n"},
        {"no value, no '='", "[DESCRIPTION]\r\nVOLTAGE = ;\r\nPINTEST\r\n",
         "[DESCRIPTION]\r\nVOLTAGE = 3.3;\r\nPINTEST = 01111111;\r\n"},
        {"a stray unit", "[DESCRIPTION]\r\nVOLTAGE = 5.0 V; // old\r\n",
         "[DESCRIPTION]\r\nVOLTAGE = 3.3; // old\r\nPINTEST = 01111111;\r\n"},
        {"every statement of the key", "[DESCRIPTION]\r\nVOLTAGE = 5.0;\r\nVOLTAGE = 2.8;\r\n",
         "[DESCRIPTION]\r\nVOLTAGE = 3.3;\r\nVOLTAGE = 3.3;\r\nPINTEST = 01111111;\r\n"},
        // Nothing but the old value goes from a line without ";": a header
        // mentioned after it stays where the next write-back finds it.
        {"no ';', a header after the value",
         "[DESCRIPTION]\r\nVoltage = 4.0  [INTERFACE]\r\nCHECKBOX(C, E, 1, 2, 0);\r\n",
         "[DESCRIPTION]\r\nVoltage = 3.3;  [INTERFACE]\r\nCHECKBOX(C, E, 1, 2, 0);\r\nPINTEST = 01111111;\r\n"},
        {"no '=', text after the key", "[DESCRIPTION]\r\nVOLTAGE, [MENU] 5.0\r\n",
         "[DESCRIPTION]\r\nVOLTAGE = 3.3;, [MENU] 5.0\r\nPINTEST = 01111111;\r\n"},
        {"a header inside the value", "[DESCRIPTION]\r\nVOLTAGE = 5.0[INTERFACE] V;\r\n",
         "[DESCRIPTION]\r\nVOLTAGE = 3.3;5.0[INTERFACE] V;\r\nPINTEST = 01111111;\r\n"},
        {"header found as the reader finds it", "// notes\r\n  [description] of the chip\r\nVOLTAGE = 5.0;\r\n",
         "// notes\r\n  [description] of the chip\r\nVOLTAGE = 3.3;\r\nPINTEST = 01111111;\r\n"},
    };
    for (const Case& c : cases) {
        const std::string file = Put("m.chl", c.Before);
        EXPECT_TRUE(WriteModuleDefaults(file, "3.3", 0x7F)) << c.Name;
        EXPECT_EQ(Read("m.chl"), c.After) << c.Name;
        // The same values again change nothing.
        EXPECT_TRUE(WriteModuleDefaults(file, "3.3", 0x7F)) << c.Name;
        EXPECT_EQ(Read("m.chl"), c.After) << c.Name;
    }
    EXPECT_TRUE(messages_.empty());
}

TEST_F(WriteBack, RefusesAndSaysWhy)
{
    struct Case {
        const char* Name;
        std::string Bytes;
        std::string Voltage;
        bool Outside;
        const char* Why;
    };
    const std::string good = "[DESCRIPTION]\r\nVOLTAGE = 5.0;\r\n";
    const std::vector<Case> cases = {
        {"no [DESCRIPTION]", "[MENU]\r\nREAD = \"&Read\";\r\n", "4.0", false, "[DESCRIPTION]"},
        {"[DESCRIPTION] after [HOST]", "[HOST]\r\n[DESCRIPTION]\r\nVOLTAGE = 5.0;\r\n", "4.0", false, "[DESCRIPTION]"},
        {"outside the scripts folder", good, "4.0", true, "not in the scripts folder"},
        {"a comma", good, "4,0", false, "not a supply voltage"},
        {"not a module voltage", good, "3.1", false, "not a supply voltage"},
    };
    for (const Case& c : cases) {
        messages_.clear();
        std::string file;
        if (c.Outside) {
            WriteFileBytes(dir_.file("outside.chl"), c.Bytes);
            file = ScriptsFolder() + "\\..\\outside.chl";
        } else {
            file = Put("m.chl", c.Bytes);
        }
        EXPECT_FALSE(WriteModuleDefaults(file, c.Voltage, 0)) << c.Name;
        EXPECT_EQ(ReadFileBytes(c.Outside ? dir_.file("outside.chl") : dir_.file("scripts/m.chl")), c.Bytes)
            << c.Name;
        ASSERT_EQ(messages_.size(), 1u) << c.Name;
        EXPECT_NE(messages_[0].find(c.Why), std::string::npos) << messages_[0];
    }
    messages_.clear();
    EXPECT_FALSE(WriteModuleDefaults(ScriptsFolder() + "\\missing.chl", "4.0", 0));
    EXPECT_EQ(messages_.size(), 1u);
}

TEST(PinTestText, FirstCharacterIsLineEight)
{
    EXPECT_EQ(PinTestText(0xFC), "11111100");
    EXPECT_EQ(PinTestText(0x01), "00000001");
    EXPECT_EQ(PinTestText(0x80), "10000000");
    EXPECT_EQ(PinTestText(0x00), "00000000");
}

} // namespace
