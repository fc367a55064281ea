#include "app/MainDispatch.h"

#include "engine/Global.h"
#include "platform/Paths.h"

#include "AppStateGuard.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

using testsupport::TempDir;
using testsupport::WriteFileBytes;

namespace {

using Strings = std::vector<std::string>;

struct CommandCase {
    TSenderKind kind;
    const char* name;
    const char* caption;
    const char* command;
    const char* last;
};
class Command : public testing::TestWithParam<CommandCase> {};

TEST_P(Command, TextAndLastCommand)
{
    const CommandCase& c = GetParam();
    const std::string command = CommandText(c.kind, c.name, c.caption);
    EXPECT_EQ(command, c.command);
    EXPECT_EQ(LastCommandOf(command), c.last);
}

INSTANTIATE_TEST_SUITE_P(
    Senders, Command,
    testing::Values(CommandCase{TSenderKind::MenuItem, "mnWRITE", "&Write", "&Write", "WRITE"},
                    CommandCase{TSenderKind::ToolButton, "tbReadChip", "&Read", "&Read", "READ"},
                    CommandCase{TSenderKind::PushButton, "btCLEAR", "Clear all", "btCLEAR|Clear all",
                                "BTCLEAR|CLEAR ALL"},
                    CommandCase{TSenderKind::MenuItem, "mnWC", "Write &changes", "Write &changes", "WRITE CHANGES"},
                    // Only the first "&" goes.
                    CommandCase{TSenderKind::MenuItem, "mnA", "A&&B", "A&&B", "A&B"},
                    CommandCase{TSenderKind::None, "x", "Read", "", ""}));

struct ConfirmCase {
    const char* lastCommand;
    uint32_t workParam;
    bool asks;
};
class Confirmation : public testing::TestWithParam<ConfirmCase> {};

TEST_P(Confirmation, ByOptionBitZero)
{
    EXPECT_EQ(NeedsConfirmation(GetParam().lastCommand, GetParam().workParam), GetParam().asks)
        << GetParam().lastCommand << " " << GetParam().workParam;
}

INSTANTIATE_TEST_SUITE_P(Commands, Confirmation,
                         testing::Values(ConfirmCase{"WRITE", 1, true}, ConfirmCase{"WRITE CHANGES", 1, true},
                                         ConfirmCase{"ERASE", 1, true}, ConfirmCase{"WRITE CHANGES", 2, false},
                                         ConfirmCase{"WRITE CHANGES", 3, true}, ConfirmCase{"WRITE", 2, false},
                                         ConfirmCase{"ERASE", 0, false}, ConfirmCase{"VERIFY", 3, false},
                                         ConfirmCase{"READ", 0xFFFFFFFF, false},
                                         ConfirmCase{"WRITE", WorkParamDefault, true}));

std::vector<TControlState> panel()
{
    return {
        {TParamKind::CheckBox, "erase", 0x00000001, "", 0, -1, true},
        {TParamKind::ComboBox, "sel", 0x10000001, "", 2, 1, false},
        {TParamKind::HexEdit, "Key", 0x20000004, "01 02 03 04", 0, -1, false},
        {TParamKind::Digit, "n", 0x3000012C, "300", 0, -1, false},
        {TParamKind::Button, "btCLEAR", 0, "", 0, -1, false},
        {TParamKind::CheckBox, "", 0x00000001, "", 0, -1, true}, // no name: not listed
    };
}

TEST(MainDispatch, ParameterListFromControlsAndOptions)
{
    TStringList list;
    list.Add("stale");
    FillModuleParameters(panel(), {1, true, false, WorkParamDefault}, list);
    const Strings names{"erase",     "sel",       "Key",          "n",
                        "btCLEAR",   "ActiveBuffer", "WordMode1", "WordMode2",
                        "GlobalVerify", "ForceCloseAfterWrite", "ForceCloseAfterRead", "ForceCloseAfterVerify"};
    ASSERT_EQ(list.Count(), 12);
    EXPECT_EQ(list[2], ".Key:01 02 03 04");
    const std::vector<uint32_t> values{1, 1, 0x20000004, 300, 0, 1, 1, 0, 4, 64, 32, 128};
    for (int i = 0; i < list.Count(); ++i) {
        if (i != 2) {
            EXPECT_EQ(list[i], names[static_cast<size_t>(i)]);
        }
        EXPECT_EQ(list.Objects(i), values[static_cast<size_t>(i)]) << list[i];
    }

    FillModuleParameters({}, {-1, false, true, 0}, list);
    ASSERT_EQ(list.Count(), 7);
    EXPECT_EQ(list.Objects(0), 0xFFFFFFFFu); // no tabs
    EXPECT_EQ(list.Objects(2), 1u);
    for (int i = 3; i < 7; ++i)
        EXPECT_EQ(list.Objects(i), 0u);
}

struct WriteBackCase {
    const char* what;
    TControlState before;
    std::vector<std::pair<std::string, uint32_t>> entries;
    TControlState after;
};
class WriteBack : public testing::TestWithParam<WriteBackCase> {};

TEST_P(WriteBack, IntoTheControl)
{
    const WriteBackCase& c = GetParam();
    TStringList list;
    for (const auto& [text, value] : c.entries)
        list.AddObject(text, value);
    std::vector<TControlState> controls{c.before};
    WriteBackControls(list, controls);
    const TControlState& got = controls[0];
    EXPECT_EQ(got.Tag, c.after.Tag) << c.what;
    EXPECT_EQ(got.Text, c.after.Text) << c.what;
    EXPECT_EQ(got.ItemIndex, c.after.ItemIndex) << c.what;
    EXPECT_EQ(got.Checked, c.after.Checked) << c.what;
}

using K = TParamKind;
INSTANTIATE_TEST_SUITE_P(
    Kinds, WriteBack,
    testing::Values(
        WriteBackCase{"check on", {K::CheckBox, "erase", 0, "", 0, -1, false}, {{"ERASE", 3}},
                      {K::CheckBox, "erase", 1, "", 0, -1, true}},
        WriteBackCase{"check off", {K::CheckBox, "erase", 1, "", 0, -1, true}, {{"erase", 0x10000000}},
                      {K::CheckBox, "erase", 0, "", 0, -1, false}},
        WriteBackCase{"bt check box never", {K::CheckBox, "btx", 0, "", 0, -1, false}, {{"btx", 1}},
                      {K::CheckBox, "btx", 0, "", 0, -1, false}},
        WriteBackCase{"no entry", {K::CheckBox, "erase", 1, "", 0, -1, true}, {{"other", 0}},
                      {K::CheckBox, "erase", 1, "", 0, -1, true}},
        WriteBackCase{"combo", {K::ComboBox, "sel", 0x10000001, "", 3, 1, false}, {{"sel", 2}},
                      {K::ComboBox, "sel", 0x10000002, "", 3, 2, false}},
        WriteBackCase{"combo beyond its items", {K::ComboBox, "sel", 0x10000001, "", 2, 1, false}, {{"sel", 9}},
                      {K::ComboBox, "sel", 0x10000001, "", 2, 1, false}},
        WriteBackCase{"combo without items", {K::ComboBox, "sel", 0x10000000, "", 0, -1, false}, {{"sel", 4}},
                      {K::ComboBox, "sel", 0x10000000, "", 0, -1, false}},
        WriteBackCase{"digit hex", {K::Digit, "n", 0x3000001F, "0X1F", 0, -1, false}, {{"n", 300}},
                      {K::Digit, "n", 0x3000012C, "0x012C", 0, -1, false}},
        WriteBackCase{"digit hex wide", {K::Digit, "n", 0x30000000, "0x0", 0, -1, false}, {{"n", 0xF123456}},
                      {K::Digit, "n", 0x3F123456, "0xF123456", 0, -1, false}},
        WriteBackCase{"digit decimal", {K::Digit, "n", 0x30000011, "17", 0, -1, false}, {{"n", 300}},
                      {K::Digit, "n", 0x3000012C, "300", 0, -1, false}},
        WriteBackCase{"digit keeps its kind", {K::Digit, "n", 0x30000011, "17", 0, -1, false}, {{"n", 0xF0000005}},
                      {K::Digit, "n", 0x30000005, "5", 0, -1, false}},
        WriteBackCase{"hex edit", {K::HexEdit, "Key", 0x20000002, "00 00", 0, -1, false},
                      {{"Key", 0}, {".KEY:AB CD", 0x20000002}}, {K::HexEdit, "Key", 0x20000002, "AB CD", 0, -1, false}},
        // The key is compared with its case: the host machine gives the name upper-cased.
        WriteBackCase{"hex edit key case", {K::HexEdit, "Key", 0x20000002, "00 00", 0, -1, false},
                      {{".Key:AB CD", 0x20000002}}, {K::HexEdit, "Key", 0x20000002, "00 00", 0, -1, false}},
        WriteBackCase{"button", {K::Button, "btCLEAR", 0, "", 0, -1, false}, {{"btCLEAR", 5}},
                      {K::Button, "btCLEAR", 0, "", 0, -1, false}}));

TEST(MainDispatch, RoundTripLeavesTheControlsAsTheyWere)
{
    TStringList list;
    std::vector<TControlState> controls = panel();
    FillModuleParameters(controls, {0, false, false, WorkParamDefault}, list);
    WriteBackControls(list, controls);
    const std::vector<TControlState> before = panel();
    for (size_t i = 0; i < controls.size(); ++i) {
        EXPECT_EQ(controls[i].Tag, before[i].Tag) << controls[i].Name;
        EXPECT_EQ(controls[i].Text, before[i].Text) << controls[i].Name;
        EXPECT_EQ(controls[i].ItemIndex, before[i].ItemIndex) << controls[i].Name;
    }
}

class ExitValue : public testing::Test {
protected:
    void SetUp() override
    {
        SetProgramFolder(dir.path());
        WriteFileBytes(dir.file("signatures.cfg"), "A0C1 = Serial EEPROM\\24C02\r\n5 = Missing\r\n");
        ChipList.Add("Serial EEPROM\\24C02");
    }
    testsupport::TAppStateGuard state;
    TempDir dir;
};

TEST_F(ExitValue, Reactions)
{
    EXPECT_EQ(ExitReaction(0).Action, TExitAction::None);
    EXPECT_EQ(ExitReaction(0x7FFFFFFF).Action, TExitAction::Backup);
    const TExitReaction known = ExitReaction(0xA0C1);
    EXPECT_EQ(known.Action, TExitAction::SignatureSwitch);
    EXPECT_EQ(known.ChipEntry, "Serial EEPROM\\24C02");
    const TExitReaction notInList = ExitReaction(5);
    EXPECT_EQ(notInList.Action, TExitAction::None);
    EXPECT_EQ(notInList.ChipEntry, "");
    EXPECT_EQ(ExitReaction(0x1234).Action, TExitAction::None);
    EXPECT_EQ(ExitReaction(0xFFFFFFFF).Action, TExitAction::None);
}

} // namespace
