// The main window's module defaults: the parameter controls' values and the
// supply voltage written into the module file, each into its own
// declaration, and nothing else of the file touched.
#include "app/ChipSelWriteBack.h"
#include "app/MainWriteBack.h"

#include "app/ChipSel.h"
#include "engine/Global.h"
#include "engine/Modules.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"

#include "AppStateGuard.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

using testsupport::ReadFileBytes;
using testsupport::TempDir;
using testsupport::WriteFileBytes;

namespace {

using K = TParamKind;

TControlState Control(K kind, const char* name, uint32_t tag)
{
    TControlState c;
    c.Kind = kind;
    c.Name = name;
    c.Tag = tag;
    return c;
}
TControlState Check(const char* name, bool checked) { return Control(K::CheckBox, name, checked ? 1u : 0u); }
TControlState Combo(const char* name, int index) { return Control(K::ComboBox, name, 0x10000000u | unsigned(index)); }
TControlState Digit(const char* name, uint32_t value) { return Control(K::Digit, name, 0x30000000u | value); }

// A program folder of its own with a scripts folder, and the message boxes
// collected.
class MainWriteBack : public ::testing::Test {
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
    std::string Put(const std::string& bytes)
    {
        WriteFileBytes(dir_.file("scripts/m.chl"), bytes);
        return ScriptsFolder() + "\\m.chl";
    }
    std::string Read() { return ReadFileBytes(dir_.file("scripts/m.chl")); }

    testsupport::TAppStateGuard state_;
    TempDir dir_;
    std::string savedFolder_;
    MessageBoxHandler previousHandler_;
    std::vector<std::string> messages_;
};

TModuleInfo Parse(const std::string& bytes)
{
    TModuleInfo module;
    module.LoadFromText(bytes, "m.chl");
    return module;
}

const std::string Head = "// voltage: see the data sheet\r\n[DESCRIPTION]\r\n"
                         "INFO = \"Voltage 5.0 V only\";\r\nVOLTAGE = 5.0;\r\n";

struct Case {
    const char* Name;
    std::string Before;
    std::vector<TControlState> Controls;
    std::string VoltageItem; // of the voltage box; empty: none selected
    std::string After;
    // The module reader's view: the interface entries that change (old, new)
    // and the voltage read back.
    std::vector<std::pair<std::string, std::string>> Changed;
    std::string Voltage;
    const char* Added = nullptr; // a value the declaration lacked
};

// The interface entries that differ between two reads, as (old, new); an
// entry `added` that only the second holds is taken out first.
std::vector<std::pair<std::string, std::string>> Differences(const TStringList& before, TStringList after,
                                                             const char* added)
{
    if (added) {
        for (int i = 0; i < after.Count(); ++i)
            if (i >= before.Count() || before[i] != after[i]) {
                EXPECT_EQ(after[i], added);
                after.Delete(i);
                break;
            }
    }
    std::vector<std::pair<std::string, std::string>> changed;
    EXPECT_EQ(before.Count(), after.Count());
    for (int i = 0; i < std::min(before.Count(), after.Count()); ++i)
        if (before[i] != after[i])
            changed.push_back({before[i], after[i]});
    return changed;
}

TEST_F(MainWriteBack, OnlyTheNamedDeclarationsValueChanges)
{
    const std::vector<Case> cases = {
        {"CB1 beside CB10",
         Head + "[INTERFACE]\r\nCHECKBOX(CB10, \"Erase all\", 10, 20, 0);\r\nCHECKBOX(CB1, Erase, 10, 40, 0);\r\n",
         {Check("CB10", false), Check("CB1", true)}, "5.0 V",
         Head + "[INTERFACE]\r\nCHECKBOX(CB10, \"Erase all\", 10, 20, 0);\r\nCHECKBOX(CB1, Erase, 10, 40, 1);\r\n",
         {{"0", "1"}}, "5.0"},
        {"a one-letter name among keywords and captions",
         Head + "[INTERFACE]\r\nCHECKBOX(Ex, E, 1, 2, 0);\r\nCOMBOBOX(E, \"Erase mode E\", 10, 20, 120, E, Fast, 0);\r\n",
         {Check("Ex", false), Combo("E", 1)}, "",
         Head + "[INTERFACE]\r\nCHECKBOX(Ex, E, 1, 2, 0);\r\nCOMBOBOX(E, \"Erase mode E\", 10, 20, 120, E, Fast, 1);\r\n",
         {{"0", "1"}}, "5.0"},
        {"a caption holding another control's name",
         Head + "[INTERFACE]\r\nCHECKBOX(Speed, \"Mode; (Speed)\", 1, 2, 0);\r\nCHECKBOX(Mode, Speed, 1, 22, 0);\r\n",
         {Check("Speed", false), Check("Mode", true)}, "",
         Head + "[INTERFACE]\r\nCHECKBOX(Speed, \"Mode; (Speed)\", 1, 2, 0);\r\nCHECKBOX(Mode, Speed, 1, 22, 1);\r\n",
         {{"0", "1"}}, "5.0"},
        {"a declaration over two lines",
         Head + "[INTERFACE]\r\nCHECKBOX(CB1, Erase,\r\n    10, 20, 0);   // erase first\r\n",
         {Check("CB1", true)}, "",
         Head + "[INTERFACE]\r\nCHECKBOX(CB1, Erase,\r\n    10, 20, 1);   // erase first\r\n", {{"0", "1"}}, "5.0"},
        {"a DIGIT above 65535 keeps its hexadecimal notation",
         Head + "[INTERFACE]\r\nDIGIT(Addr, Start, 10, 20, 0x00010000);\r\nDIGIT(N, Count, 10, 40, 70000);\r\n",
         {Digit("Addr", 0x123456), Digit("N", 100000)}, "",
         Head + "[INTERFACE]\r\nDIGIT(Addr, Start, 10, 20, 0x00123456);\r\nDIGIT(N, Count, 10, 40, 100000);\r\n",
         {{"0x00010000", "0x00123456"}, {"70000", "100000"}}, "5.0"},
        {"lower-case hex stays lower-case",
         Head + "[INTERFACE]\r\nDIGIT(K, Key, 1, 2, 0x1f);\r\n", {Digit("K", 0xAB)}, "",
         Head + "[INTERFACE]\r\nDIGIT(K, Key, 1, 2, 0xab);\r\n", {{"0x1f", "0xab"}}, "5.0"},
        {"comments holding \"voltage\" stay, the statement changes",
         Head + "[INTERFACE]\r\nCHECKBOX(CB1, \"Voltage check\", 1, 2, 1);\r\n", {Check("CB1", true)}, "3.3 V",
         "// voltage: see the data sheet\r\n[DESCRIPTION]\r\nINFO = \"Voltage 5.0 V only\";\r\nVOLTAGE = 3.3;\r\n"
         "[INTERFACE]\r\nCHECKBOX(CB1, \"Voltage check\", 1, 2, 1);\r\n",
         {}, "3.3"},
        {"a check box without its value gets one",
         Head + "[INTERFACE]\r\nCHECKBOX(CB1, Erase, 10, 20);\r\n", {Check("CB1", true)}, "",
         Head + "[INTERFACE]\r\nCHECKBOX(CB1, Erase, 10, 20, 1);\r\n", {}, "5.0", "1"},
        {"the k-th control of a name takes the k-th declaration",
         Head + "[INTERFACE]\r\nCHECKBOX(X, A, 1, 2, 0);\r\nCHECKBOX(X, B, 1, 22, 0);\r\n",
         {Check("X", false), Check("X", true)}, "",
         Head + "[INTERFACE]\r\nCHECKBOX(X, A, 1, 2, 0);\r\nCHECKBOX(X, B, 1, 22, 1);\r\n", {{"0", "1"}}, "5.0"},
        {"the section the loader used, not an earlier [INTERFACE WINDOW]",
         Head + "[INTERFACE WINDOW]\r\nCHECKBOX(CB1, Erase, 1, 2, 0);\r\n[INTERFACE]\r\nCHECKBOX(CB1, Erase, 1, 2, 0);\r\n",
         {Check("CB1", true)}, "",
         Head + "[INTERFACE WINDOW]\r\nCHECKBOX(CB1, Erase, 1, 2, 0);\r\n[INTERFACE]\r\nCHECKBOX(CB1, Erase, 1, 2, 1);\r\n",
         {{"0", "1"}}, "5.0"},
        {"values read back unchanged leave the file as it was",
         Head + "[interface window]\r\nCHECKBOX(CB1, Erase, 1, 2, yes);\r\nCOMBOBOX(M, Mode, 1, 22, 90, A, B, 7);\r\n"
                "DIGIT(D, Delay, 1, 44, 0X10);\r\nHEXEDIT(H, Key, 1, 66, 4);\r\nBUTTON(GO, Go, 1, 88, 50, 20);\r\n",
         {Check("CB1", false), Combo("M", 1), Digit("D", 16), Control(K::HexEdit, "H", 0x20000004u),
          Control(K::Button, "btGO", 0)},
         "5.0 V",
         Head + "[interface window]\r\nCHECKBOX(CB1, Erase, 1, 2, yes);\r\nCOMBOBOX(M, Mode, 1, 22, 90, A, B, 7);\r\n"
                "DIGIT(D, Delay, 1, 44, 0X10);\r\nHEXEDIT(H, Key, 1, 66, 4);\r\nBUTTON(GO, Go, 1, 88, 50, 20);\r\n",
         {}, "5.0"},
        {"LF line ends and a last line without one are kept",
         "[DESCRIPTION]\nVOLTAGE = 5.0;\n[INTERFACE]\nCOMBOBOX(M, Mode, 1, 2, 90, A, B, C, \"0\");",
         {Combo("M", 2)}, "4.6 V",
         "[DESCRIPTION]\nVOLTAGE = 4.6;\n[INTERFACE]\nCOMBOBOX(M, Mode, 1, 2, 90, A, B, C, 2);", {{"0", "2"}}, "4.6"},
    };
    for (const Case& c : cases) {
        messages_.clear();
        const std::string file = Put(c.Before);
        TModuleDefaults defaults;
        defaults.Voltage = ModuleVoltageOfItem(c.VoltageItem);
        defaults.Controls = c.Controls;
        EXPECT_TRUE(WriteModuleDefaults(file, defaults)) << c.Name;
        EXPECT_TRUE(messages_.empty()) << c.Name;
        EXPECT_EQ(Read(), c.After) << c.Name;

        // The module reader sees exactly the intended values changed.
        const TModuleInfo before = Parse(c.Before);
        const TModuleInfo after = Parse(Read());
        EXPECT_EQ(after.Voltage, c.Voltage) << c.Name;
        EXPECT_TRUE(after.Warnings.Empty()) << c.Name << ": " << after.Warnings.Text();
        EXPECT_EQ(Differences(before.Interface, after.Interface, c.Added), c.Changed) << c.Name;
    }
}

TEST_F(MainWriteBack, RefusesWithoutTheInterfaceSectionAndSaysWhy)
{
    struct Refusal {
        const char* Name;
        std::string Bytes;
        const char* Why;
    };
    const std::vector<Refusal> cases = {
        {"no interface section: not even the voltage", "[DESCRIPTION]\r\nVOLTAGE = 5.0; // VOLTAGE\r\n",
         "[INTERFACE]"},
        {"the interface after [HOST] is no section of the description",
         "[DESCRIPTION]\r\nVOLTAGE = 5.0;\r\n[HOST]\r\n[INTERFACE]\r\nCHECKBOX(CB1, E, 1, 2, 0);\r\n", "[INTERFACE]"},
    };
    for (const Refusal& c : cases) {
        messages_.clear();
        const std::string file = Put(c.Bytes);
        EXPECT_FALSE(WriteModuleDefaults(file, TModuleDefaults{"3.3", std::nullopt, {{Check("CB1", true)}}}))
            << c.Name;
        EXPECT_EQ(Read(), c.Bytes) << c.Name;
        ASSERT_EQ(messages_.size(), 1u) << c.Name;
        EXPECT_NE(messages_[0].find(c.Why), std::string::npos) << messages_[0];
    }
}

TEST_F(MainWriteBack, AFailedSaveIsReportedAndTheFileStays)
{
    const std::string bytes = "[INTERFACE]\r\nCHECKBOX(CB1, E, 1, 2, 0);\r\n";
    const std::string file = Put(bytes);
    // A disk that fills up under the write.
    FailWritesForTest = [] { return true; };
    EXPECT_FALSE(WriteModuleDefaults(file, TModuleDefaults{"", std::nullopt, {{Check("CB1", true)}}}));
    FailWritesForTest = nullptr;
    EXPECT_EQ(Read(), bytes);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_NE(messages_[0].find("cannot be written"), std::string::npos) << messages_[0];
}

// Malformed modules whose section headers are mentioned inside statements:
// one the fuzz target found, with its interface header on the line of a
// VOLTAGE statement that has no ";", and a check box value that holds the
// description's header. No mention is removed, so a second write-back of
// the same values finds the sections where the first did and changes
// nothing.
TEST_F(MainWriteBack, NoSectionHeaderIsLostAndASecondWriteBackChangesNothing)
{
    const std::string found = ReadFileBytes(testsupport::FixturePath("app/writeback-malformed.chl"));
    ASSERT_FALSE(found.empty());
    const struct {
        const char* name;
        std::string bytes;
        TModuleDefaults defaults;
        const char* kept; // a line the write-back must leave whole
    } cases[] = {
        {"voltage and pin test",
         found,
         {"3.0", 0x3B, std::vector<TControlState>{}},
         "Voltage = 3.0;  [INTERFACE WINDOW]\n"},
        {"a control's value too",
         found,
         {"3.3", std::nullopt, std::vector<TControlState>{Check("FLAG", false)}},
         "Voltage = 3.3;  [INTERFACE WINDOW]\n"},
        {"a check box value holding a header",
         "[INTERFACE]\r\nCHECKBOX(CB1, E, 1, 2, 0[DESCRIPTION]);\r\nVOLTAGE = 5.0;\r\n",
         {"3.3", std::nullopt, std::vector<TControlState>{Check("CB1", true)}},
         "\nCHECKBOX(CB1, E, 1, 2, 0[DESCRIPTION]);\r\nVOLTAGE = 3.3;\r\n"},
    };
    for (const auto& c : cases) {
        const std::string file = Put(c.bytes);
        messages_.clear();
        ASSERT_TRUE(WriteModuleDefaults(file, c.defaults)) << c.name;
        const std::string once = Read();
        EXPECT_NE(once.find(c.kept), std::string::npos) << c.name;
        ASSERT_TRUE(WriteModuleDefaults(file, c.defaults)) << c.name << ": " << (messages_.empty() ? "" : messages_[0]);
        EXPECT_EQ(Read(), once) << c.name;
    }
}

TEST(ModuleVoltageOfItem, TheVoltageBoxItemsToModuleVoltages)
{
    const std::pair<const char*, const char*> cases[] = {
        {"5.0 V", "5.0"}, {"2.8 V", "2.8"}, {"4.6 V", "4.6"}, {"4.5 V", ""}, {"", ""}, {"3.3", "3.3"}, {"V", ""},
    };
    for (auto [item, voltage] : cases)
        EXPECT_EQ(ModuleVoltageOfItem(item), voltage) << item;
}

} // namespace
