#include "app/MainModule.h"

#include "engine/Global.h"

#include "FixedMetrics.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

using testsupport::TempDir;
using testsupport::WriteFileBytes;

namespace {

using Strings = std::vector<std::string>;

// A module from its text, planned with the default options.
struct Planned {
    TempDir dir;
    TModuleInfo module;
    TModulePlan plan;
    explicit Planned(const std::string& text, uint32_t workParam = WorkParamDefault)
    {
        WriteFileBytes(dir.file("m.chl"), text);
        module.LoadFromFile(dir.file("m.chl"));
        plan = PlanModule(module, workParam, TFixedMetrics());
    }
    std::string warning(int lineNumber, const std::string& text) const
    {
        return "Module " + dir.file("m.chl") + ", line " + std::to_string(lineNumber) + ": " + text;
    }
};

Planned interfaceOf(const std::string& control) { return Planned("[INTERFACE]\n" + control + "\n"); }

struct ControlCase {
    const char* line;
    TParamKind kind;
    const char* name;
    uint32_t tag;
    TBounds bounds;
    Strings items;
    int itemIndex;
    bool checked;
    const char* text;
    int byteCount;
    const char* warning; // empty: none
};

class ControlPlan : public testing::TestWithParam<ControlCase> {};

TEST_P(ControlPlan, KindValueTagAndPlace)
{
    const ControlCase& c = GetParam();
    const Planned p = interfaceOf(c.line);
    ASSERT_EQ(p.plan.Controls.size(), 1u) << c.line;
    const TParameterControl& control = p.plan.Controls[0];
    EXPECT_EQ(control.Kind, c.kind);
    EXPECT_EQ(control.Name, c.name);
    EXPECT_EQ(control.Tag, c.tag);
    EXPECT_EQ(control.Bounds, c.bounds);
    EXPECT_EQ(control.Items, c.items);
    EXPECT_EQ(control.ItemIndex, c.itemIndex);
    EXPECT_EQ(control.Checked, c.checked);
    EXPECT_EQ(control.Text, c.text);
    EXPECT_EQ(control.ByteCount, c.byteCount);
    if (*c.warning) {
        ASSERT_EQ(p.plan.Warnings.Count(), 1);
        EXPECT_EQ(p.plan.Warnings[0], p.warning(2, c.warning));
    } else {
        EXPECT_TRUE(p.plan.Warnings.Empty()) << p.plan.Warnings[0];
    }
}

// Labels of width 6 per character at (x, y + 5); a labelled control 3 higher,
// 6 (list) or 8 (fields) right of its label.
INSTANTIATE_TEST_SUITE_P(
    Kinds, ControlPlan,
    testing::Values(
        ControlCase{"CHECKBOX(erase, Erase, 10, 20, 1);", TParamKind::CheckBox, "erase", 1, {10, 25, 50, 15}, {}, -1,
                    true, "", 0, ""},
        ControlCase{"CHECKBOX(erase, Erase, 10, 20, yes);", TParamKind::CheckBox, "erase", 0, {10, 25, 50, 15}, {}, -1,
                    false, "", 0, ""},
        // A number that does not convert counts as 5.
        ControlCase{"CHECKBOX(c, C, x, y);", TParamKind::CheckBox, "c", 0, {5, 10, 26, 15}, {}, -1, false, "", 0, ""},
        ControlCase{"COMBOBOX(sel, Mode, 10, 20, 120, Fast, Slow, 1);", TParamKind::ComboBox, "sel", 0x10000001,
                    {10 + 24 + 6, 22, 120, 21}, {"Fast", "Slow"}, 1, false, "", 0, ""},
        ControlCase{"COMBOBOX(sel, Mode, 10, 20, w, Fast, Slow, 0);", TParamKind::ComboBox, "sel", 0x10000000,
                    {40, 22, 140, 21}, {"Fast", "Slow"}, 0, false, "", 0, ""},
        ControlCase{"COMBOBOX(sel, Mode, 10, 20, 120, Fast, Slow, 7);", TParamKind::ComboBox, "sel", 0x10000001,
                    {40, 22, 120, 21}, {"Fast", "Slow"}, 1, false, "", 0,
                    "COMBOBOX sel selects item 7 of 2; item 1 is selected."},
        ControlCase{"COMBOBOX(sel, Mode, 10, 20, 120, Fast, Slow, -1);", TParamKind::ComboBox, "sel", 0x10000000,
                    {40, 22, 120, 21}, {"Fast", "Slow"}, 0, false, "", 0,
                    "COMBOBOX sel selects item -1 of 2; item 0 is selected."},
        ControlCase{"COMBOBOX(sel, Mode, 10, 20, 120, 0);", TParamKind::ComboBox, "sel", 0x10000000,
                    {40, 22, 120, 21}, {}, -1, false, "", 0, "COMBOBOX sel has no items."},
        ControlCase{"HEXEDIT(Key, Key, 10, 20, 4);", TParamKind::HexEdit, "Key", 0x20000004, {10 + 18 + 8, 22, 80, 20},
                    {}, -1, false, "", 4, ""},
        ControlCase{"HEXEDIT(Key, Key, 10, 20, 0);", TParamKind::HexEdit, "Key", 0x20000001, {36, 22, 20, 20}, {}, -1,
                    false, "", 1, ""},
        ControlCase{"HEXEDIT(Key, Key, 10, 20, 300);", TParamKind::HexEdit, "Key", 0x200000FF, {36, 22, 5100, 20}, {},
                    -1, false, "", 255, "HEXEDIT Key holds 300 bytes; it holds 255, the most a script can take."},
        ControlCase{"DIGIT(n, Count, 10, 20, 0x10);", TParamKind::Digit, "n", 0x30000010, {10 + 30 + 8, 22, 100, 20},
                    {}, -1, false, "0X10", 0, ""},
        ControlCase{"DIGIT(n, Count, 10, 20, 17);", TParamKind::Digit, "n", 0x30000011, {48, 22, 100, 20}, {}, -1,
                    false, "17", 0, ""},
        ControlCase{"DIGIT(n, Count, 10, 20, abc);", TParamKind::Digit, "n", 0x30000000, {48, 22, 100, 20}, {}, -1,
                    false, "ABC", 0, ""},
        ControlCase{"DIGIT(n, Count, 10, 20, 0x40000001);", TParamKind::Digit, "n", 0x3FFFFFFF, {48, 22, 100, 20}, {},
                    -1, false, "0XFFFFFFF", 0,
                    "DIGIT n value 0x40000001 lies outside 0 .. 0x0FFFFFFF; 0XFFFFFFF is used."},
        ControlCase{"DIGIT(n, Count, 10, 20, \"-5\");", TParamKind::Digit, "n", 0x30000000, {48, 22, 100, 20}, {}, -1,
                    false, "0", 0, "DIGIT n value -5 lies outside 0 .. 0x0FFFFFFF; 0 is used."},
        ControlCase{"BUTTON(CLEAR, \"Clear all\", 10, 20, 80, 20);", TParamKind::Button, "btCLEAR", 0, {10, 25, 80, 25},
                    {}, -1, false, "", 0, ""},
        ControlCase{"BUTTON(CLEAR, \"Clear all\", 10, 20);", TParamKind::Button, "btCLEAR", 0, {10, 25, 5, 10}, {}, -1,
                    false, "", 0, ""},
        // Places and sizes beyond any panel stop at 100000 either way.
        ControlCase{"CHECKBOX(c, C, 2147483647, 2147483647, 1);", TParamKind::CheckBox, "c", 1, {100000, 100005, 26, 15},
                    {}, -1, true, "", 0, ""},
        ControlCase{"BUTTON(B, B, -2147483648, 0, 2147483647, 2147483647);", TParamKind::Button, "btB", 0,
                    {-100000, 5, 100000, 100005}, {}, -1, false, "", 0, ""},
        ControlCase{"COMBOBOX(sel, Mode, 2147483647, 20, 2147483647, Fast, 0);", TParamKind::ComboBox, "sel",
                    0x10000000, {100000 + 24 + 6, 22, 100000, 21}, {"Fast"}, 0, false, "", 0, ""}));

TEST(MainModule, LabelsPrecedeTheirControls)
{
    const Planned p = interfaceOf("COMBOBOX(sel, Mode, 10, 20, 120, Fast, Slow, 1);");
    const TParameterControl& c = p.plan.Controls[0];
    EXPECT_TRUE(c.HasLabel);
    EXPECT_EQ(c.Caption, "Mode");
    EXPECT_EQ(c.Label, (TBounds{10, 25, 24, 13}));
    EXPECT_FALSE(interfaceOf("CHECKBOX(a, b, 1, 2, 0);").plan.Controls[0].HasLabel);
}

TEST(MainModule, UnknownKindIsReportedAndTheWalkGoesOn)
{
    const Planned p("[INTERFACE]\nSLIDER(s, S, 1, 2);\nCHECKBOX(a, A, 1, 2, 1);\n");
    ASSERT_EQ(p.plan.Controls.size(), 1u);
    EXPECT_EQ(p.plan.Controls[0].Name, "a");
    ASSERT_EQ(p.plan.Warnings.Count(), 1);
    EXPECT_EQ(p.plan.Warnings[0], p.warning(2, "the control kind SLIDER is unknown; it is left out."));
}

TEST(MainModule, ControlsAfterADroppedOneAreStillBuilt)
{
    // The first control is dropped by the reader (its number 0 is taken).
    const Planned p("[INTERFACE]\nCHECKBOX(a b);\nCHECKBOX(c, C, 1, 2, 1);\nDIGIT(d, D, 1, 40, 5);\n");
    ASSERT_EQ(p.plan.Controls.size(), 2u);
    EXPECT_EQ(p.plan.Controls[0].Name, "c");
    EXPECT_EQ(p.plan.Controls[1].Name, "d");
    EXPECT_TRUE(p.plan.PanelVisible);
    EXPECT_EQ(p.plan.Warnings.Count(), 1); // the reader's own, about line 2
}

struct HeightCase {
    const char* controls;
    int lowestFree;
    int panelHeight;
};
class PanelHeight : public testing::TestWithParam<HeightCase> {};

TEST_P(PanelHeight, FollowsTheLowestControl)
{
    const Planned p(std::string("[INTERFACE]\n") + GetParam().controls);
    EXPECT_EQ(p.plan.LowestFree, GetParam().lowestFree);
    EXPECT_EQ(p.plan.PanelHeight, GetParam().panelHeight);
}

INSTANTIATE_TEST_SUITE_P(
    Controls, PanelHeight,
    testing::Values(HeightCase{"CHECKBOX(a, A, 0, 0, 0);\n", 34, 41}, // lowest bottom 20
                    HeightCase{"CHECKBOX(a, A, 0, 0, 0);\nCHECKBOX(b, B, 0, 40, 0);\n", 60, 67},
                    HeightCase{"BUTTON(b, B, 0, 100, 50, 20);\nCHECKBOX(a, A, 0, 0, 0);\n", 137, 144},
                    HeightCase{"DIGIT(d, D, 0, 50, 1);\n", 72, 79}, HeightCase{"", 34, 41}));

TEST(MainModule, ContainerPanelOrWindow)
{
    const Planned panel("[INTERFACE]\nCHECKBOX(a, A, 1, 2, 1);\n");
    EXPECT_FALSE(panel.plan.InWindow);
    EXPECT_TRUE(panel.plan.PanelVisible);
    EXPECT_FALSE(panel.plan.ParametersItem);

    const Planned window("[INTERFACE WINDOW]\nCHECKBOX(a, A, 1, 2, 1);\n");
    EXPECT_TRUE(window.plan.InWindow);
    EXPECT_FALSE(window.plan.PanelVisible);
    EXPECT_TRUE(window.plan.ParametersItem);
    EXPECT_EQ(window.plan.Controls.size(), 1u);

    const Planned none("[DESCRIPTION]\n");
    EXPECT_FALSE(none.plan.InWindow);
    EXPECT_FALSE(none.plan.PanelVisible);

    // A module that could not be read has no interface lines at all.
    const TModulePlan missing = PlanModule(TModuleInfo(), WorkParamDefault, TFixedMetrics());
    EXPECT_FALSE(missing.InWindow);
    EXPECT_FALSE(missing.PanelVisible);
    EXPECT_TRUE(missing.Menu.empty());
    EXPECT_FALSE(missing.DeviceMenuEnabled);
}

struct MenuCase {
    const char* line;
    bool added;
    const char* caption;
    const char* objectName;
    const char* button;
    const char* hint;
    const char* shortcut;
};
class MenuPlan : public testing::TestWithParam<MenuCase> {};

TEST_P(MenuPlan, EntryAndBinding)
{
    const MenuCase& c = GetParam();
    const Planned p(std::string("[MENU]\n") + c.line + "\n");
    ASSERT_EQ(p.plan.Menu.size(), c.added ? 1u : 0u) << c.line;
    EXPECT_EQ(p.plan.DeviceMenuEnabled, c.added);
    if (!c.added)
        return;
    const TMenuEntryPlan& e = p.plan.Menu[0];
    EXPECT_EQ(e.Caption, c.caption);
    EXPECT_EQ(e.ObjectName, c.objectName);
    EXPECT_EQ(e.Button, c.button);
    EXPECT_EQ(e.Hint, c.hint);
    EXPECT_EQ(e.Shortcut, c.shortcut);
}

INSTANTIATE_TEST_SUITE_P(
    Entries, MenuPlan,
    testing::Values(MenuCase{"READ = Read, READBUTTON, \"Read chip\", Ctrl+R;", true, "Read", "mnREAD", "tbReadChip",
                             "Read chip", "Ctrl+R"},
                    MenuCase{"read = &Read, readbutton;", true, "&Read", "mnREAD", "tbReadChip", "", ""},
                    MenuCase{"ERASE = Erase, ERASEBUTTON, \"Erase chip\";", true, "Erase", "mnERASE", "tbEraseChip",
                             "Erase chip", ""},
                    MenuCase{"WC = \"Write changes\", WRITECHANGESBUTTON, x, Ctrl+W;", true, "Write changes", "mnWC",
                             "tbWriteChanges", "x", "Ctrl+W"},
                    MenuCase{"CI = \"Chip info\", CHIPINFOBUTTON;", true, "Chip info", "mnCI", "tbChipInfo", "", ""},
                    MenuCase{"MI = \"Module info\", MODULEINFOBUTTON;", true, "Module info", "mnMI", "tbModuleInfo", "",
                             ""},
                    // Accepted, binds nothing; an entry that binds nothing gets no shortcut.
                    MenuCase{"EE = \"Write EEPROM\", WRITEEEPROMBUTTON, hint, Ctrl+E;", true, "Write EEPROM", "mnEE", "",
                             "", ""},
                    MenuCase{"X = Extra, NOBUTTON, hint, Ctrl+X;", true, "Extra", "mnX", "", "", ""},
                    MenuCase{"LOCK = \"Lock bits\";", true, "Lock bits", "mnLOCK", "", "", ""},
                    MenuCase{"\"TWO WORDS\" = Two;", false, "", "", "", "", ""}));

TEST(MainModule, MenuEntriesStopAtAKeyWithABlank)
{
    const Planned p("[MENU]\nA = First;\nB = ;\n\"C D\" = Stop;\nE = Never;\n");
    ASSERT_EQ(p.plan.Menu.size(), 1u); // B has no values and adds nothing
    EXPECT_EQ(p.plan.Menu[0].ObjectName, "mnA");
}

TEST(MainModule, HintWordsFromTheBoundButtons)
{
    const Planned p("[MENU]\nREAD = Read, READBUTTON, \"Read chip\", Ctrl+R;\nWRITE = Write, WRITEBUTTON, Program;\n"
                    "VERIFY = Verify, CHECKBUTTON, Compare;\n");
    EXPECT_EQ(p.plan.HintWords, (std::array<std::string, 3>{"Read chip", "Program", "Compare"}));
    const Planned none("[MENU]\nREAD = Read, READBUTTON;\n");
    EXPECT_EQ(none.plan.HintWords, (std::array<std::string, 3>{"Read", "Write", "Verify"}));
}

TEST(MainModule, PinTesterAndVoltage)
{
    const Planned p("[DESCRIPTION]\nGND = 4;\nVOLTAGE = 5.0;\n");
    EXPECT_TRUE(p.plan.PinTester);
    EXPECT_EQ(p.plan.PinTesterCaption, "Pin tester");
    EXPECT_EQ(p.plan.VoltageItem, "5.0 V");
    const Planned q("[DESCRIPTION]\nVOLTAGE = 3.1;\n");
    EXPECT_FALSE(q.plan.PinTester);
    EXPECT_EQ(q.plan.VoltageItem, "");
}

struct BufferCase {
    const char* description;
    uint32_t workParam;
    TBufferPlan buffer1;
    bool hasBuffer2;
    Strings tabs;
};
class BufferPlan : public testing::TestWithParam<BufferCase> {};

TEST_P(BufferPlan, SizesAndTabs)
{
    const BufferCase& c = GetParam();
    const Planned p(std::string("[DESCRIPTION]\n") + c.description, c.workParam);
    EXPECT_EQ(p.plan.Buffer1.Name, c.buffer1.Name);
    EXPECT_EQ(p.plan.Buffer1.Size, c.buffer1.Size);
    EXPECT_EQ(p.plan.Buffer1.AutoSize, c.buffer1.AutoSize);
    EXPECT_EQ(p.plan.Buffer1.Words, c.buffer1.Words);
    EXPECT_EQ(p.plan.HasBuffer2, c.hasBuffer2);
    EXPECT_EQ(p.plan.Tabs, c.tabs);
}

constexpr uint32_t noTabs = WorkParamDefault & ~wpAlwaysShowTabs;
INSTANTIATE_TEST_SUITE_P(
    Descriptions, BufferPlan,
    testing::Values(BufferCase{"CAPACITY = 2048\n", noTabs, {"EEPROM", 2048, false, false}, false, {}},
                    BufferCase{"CAPACITY = 2048\n", noTabs | wpAlwaysShowTabs, {"EEPROM", 2048, false, false}, false,
                               {"EEPROM"}},
                    // AUTO keeps the buffer sized by what it holds.
                    BufferCase{"BUFFER1 = Flash, auto\n", noTabs, {"Flash", -1, true, false}, false, {}},
                    BufferCase{"BUFFER1 = Flash, 4096\nBUFFER2 = Fuses, 4\nVIEW1 = 16;\n", noTabs,
                               {"Flash", 4096, false, true}, true, {"Flash", "Fuses"}}));

TEST(MainModule, SecondBufferAndOptionBits)
{
    const Planned p("[DESCRIPTION]\nBUFFER2 = Fuses, auto\nVIEW2 = 16;\n", wpTabsOnTop | wpParamPanelOnTop);
    EXPECT_EQ(p.plan.Buffer2.Name, "Fuses");
    EXPECT_TRUE(p.plan.Buffer2.AutoSize);
    EXPECT_TRUE(p.plan.Buffer2.Words);
    EXPECT_TRUE(p.plan.TabsOnTop);
    EXPECT_TRUE(p.plan.PanelOnTop);
    const Planned q("[DESCRIPTION]\n", 0);
    EXPECT_FALSE(q.plan.TabsOnTop);
    EXPECT_FALSE(q.plan.PanelOnTop);
}

struct TagCase {
    const char* what;
    uint32_t got;
    uint32_t expected;
};
class ChangeHandler : public testing::TestWithParam<TagCase> {};

TEST_P(ChangeHandler, NewTag) { EXPECT_EQ(GetParam().got, GetParam().expected) << GetParam().what; }

INSTANTIATE_TEST_SUITE_P(
    Handlers, ChangeHandler,
    testing::Values(TagCase{"check on", CheckBoxClick(0x00000000, true), 0x00000001},
                    TagCase{"check off", CheckBoxClick(0x00000001, false), 0x00000000},
                    TagCase{"check keeps other bits", CheckBoxClick(0x00000006, true), 0x00000007},
                    TagCase{"combo", ComboBoxChange(0x10000001, 3), 0x10000003},
                    TagCase{"combo without selection", ComboBoxChange(0x10000001, -1), 0x10000000},
                    TagCase{"digit decimal", EditChange(0x30000005, "300"), 0x3000012C},
                    TagCase{"digit hex", EditChange(0x30000000, "0X1F"), 0x3000001F},
                    TagCase{"digit lower hex", EditChange(0x30000000, "0x1f"), 0x3000001F},
                    TagCase{"digit empty", EditChange(0x30000012, ""), 0x30000000},
                    TagCase{"digit 0X alone", EditChange(0x30000012, "0X"), 0x30000000},
                    TagCase{"digit no number", EditChange(0x30000012, "12A"), 0x30000000},
                    TagCase{"digit masked", EditChange(0x30000000, "0x7FFFFFFF"), 0x3FFFFFFF}));

TEST(MainModule, DigitKeyFilter)
{
    for (char32_t c : {U'0', U'5', U'9', U'\b', U'\r', char32_t(3)})
        EXPECT_TRUE(DigitKeyAccepted(c)) << int(c);
    for (char32_t c : {U'a', U'x', U'X', U'-', U' ', U'/', U':', U'\u0416'})
        EXPECT_FALSE(DigitKeyAccepted(c)) << int(c);
}

} // namespace

namespace {

TEST(FindChipEntryTest, ByWholeEntryElseByLastLevel)
{
    TStringList chips;
    chips.Add("Memory\\24Cxx\\24C02");
    chips.Add("Other\\24C02");
    chips.Add("Flash\\25F16");
    struct Case {
        const char* Asked;
        int Index;
        const char* Entry;
    };
    for (const Case& c : {Case{"Flash\\25F16", 2, "Flash\\25F16"}, Case{"24C02", 0, "Memory\\24Cxx\\24C02"},
                          Case{"Other\\24C02", 1, "Other\\24C02"}, Case{"25F1", -1, "25F1"}}) {
        std::string entry = c.Asked;
        EXPECT_EQ(FindChipEntry(chips, entry), c.Index) << c.Asked;
        EXPECT_EQ(entry, c.Entry) << c.Asked;
    }
}

} // namespace
