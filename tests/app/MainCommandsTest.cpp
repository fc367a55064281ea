// The main window's command table and the rule that enables its commands.
#include "app/MainCommands.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

TEST(MainCommands, NamesAreUnique)
{
    std::set<std::string> names;
    for (const TMainCommand& c : MainCommands())
        EXPECT_TRUE(names.insert(c.Name).second) << c.Name;
    EXPECT_EQ(FindMainCommand("mnFileRead")->Menu, TMainMenu::File);
    EXPECT_EQ(FindMainCommand("nothing"), nullptr);
}

struct TEnableCase {
    const char* Command;
    TCommandState State;
    bool HasHandler;
    bool Enabled;
};

constexpr TCommandState Idle{false, false, false};
constexpr TCommandState WithModule{false, true, false};
constexpr TCommandState WithSelection{false, true, true};
constexpr TCommandState Running{true, true, true};
// Editor-only mode: buffer 1 takes the size of what is loaded.
constexpr TCommandState EditorEmpty{false, false, false, true, true};
constexpr TCommandState EditorFilled{false, false, false, true, false};
constexpr TCommandState EditorRunning{true, false, false, true, false};
constexpr TCommandState ModuleFilled{false, true, false, false, false};

const TEnableCase EnableCases[] = {
    // A row without handler is disabled whatever the state.
    {"mmFill", WithSelection, false, false},
    {"mmNew", Idle, false, false},
    // Open and save touch the buffers: fine at rest, never during a run.
    {"mnFileRead", Idle, true, true},
    {"mnFileRead", Running, true, false},
    {"ToolButton2", Running, true, false},
    // Module commands need a module.
    {"tbReadChip", Idle, true, false},
    {"tbReadChip", WithModule, true, true},
    {"tbReadChip", Running, true, false},
    {"btPinTest", Idle, true, false},
    {"btPinTest", WithModule, true, true},
    {"tbParameters", Running, true, false},
    // The link is the run's while it runs.
    {"mnTest", Idle, true, true},
    {"mnTest", Running, true, false},
    {"About1", Running, true, false},
    // Selection commands need a selection.
    {"Copy1", WithModule, true, false},
    {"Copy1", WithSelection, true, true},
    {"Copy1", Running, true, false},
    // Chip selection loads a module and erases the buffers.
    {"tbSelectChip", Idle, true, true},
    {"tbSelectChip", Running, true, false},
    // Exit and the programming options wait for the run.
    {"mnExit", Running, true, false},
    {"mnSetDelay", Running, true, false},
    // The tool bar toggle touches nothing a run uses.
    {"mmToolbar", Running, true, true},
    {"mmEditoronly", Running, true, false},
    // New and a size change only while buffer 1 is sized by its contents;
    // a size change needs contents.
    {"mmNew", EditorEmpty, true, true},
    {"mmNew", EditorFilled, true, true},
    {"mmNew", ModuleFilled, true, false},
    {"mmNew", EditorRunning, true, false},
    {"mmChangeSize", EditorEmpty, true, false},
    {"mmChangeSize", EditorFilled, true, true},
    {"mmChangeSize", ModuleFilled, true, false},
    {"mmChangeSize", EditorRunning, true, false},
    // Saving a part and printing work on any buffer.
    {"mmSavePartOfFile", ModuleFilled, true, true},
    {"mmSavePartOfFile", EditorRunning, true, false},
    {"Print1", EditorFilled, true, true},
    {"Print1", Running, true, false},
};

TEST(MainCommands, EnableTable)
{
    for (const TEnableCase& c : EnableCases) {
        const TMainCommand* row = FindMainCommand(c.Command);
        ASSERT_NE(row, nullptr) << c.Command;
        EXPECT_EQ(CommandEnabled(*row, c.State, c.HasHandler), c.Enabled)
            << c.Command << " running " << c.State.RunInProgress << " module " << c.State.ModuleLoaded
            << " selection " << c.State.HasSelection << " handler " << c.HasHandler;
    }
}

// A tool button that repeats a menu command is enabled exactly when the
// command is (the dumps library's button once stayed grey in editor-only
// mode and with a chip chosen while the menu item worked) and runs the
// command's handler.
TEST(MainCommands, ButtonsOfMenuCommandsFollowTheirCommand)
{
    const std::pair<const char*, const char*> twins[] = {
        {"tbBinList", "mmDumps"}, {"ToolButton1", "mnFileRead"}, {"ToolButton2", "mnFileSave"}};
    const TCommandState states[] = {
        Idle, WithModule, WithSelection, Running, EditorEmpty, EditorFilled, EditorRunning, ModuleFilled};
    for (const auto& [button, command] : twins) {
        const TMainCommand* b = FindMainCommand(button);
        const TMainCommand* c = FindMainCommand(command);
        ASSERT_TRUE(b && c) << button;
        EXPECT_STREQ(CommandHandlerName(*b), command);
        EXPECT_NE(c->Menu, TMainMenu::None);
        for (const TCommandState& s : states)
            for (const bool handler : {false, true})
                EXPECT_EQ(CommandEnabled(*b, s, handler), CommandEnabled(*c, s, handler))
                    << button << " running " << s.RunInProgress << " module " << s.ModuleLoaded << " handler "
                    << handler;
    }
    EXPECT_TRUE(CommandEnabled(*FindMainCommand("tbBinList"), EditorFilled, true));
    EXPECT_TRUE(CommandEnabled(*FindMainCommand("tbBinList"), ModuleFilled, true));
    EXPECT_FALSE(CommandEnabled(*FindMainCommand("tbBinList"), Running, true));
    // Every other row is bound under its own name, and every name a button
    // repeats is a menu command.
    for (const TMainCommand& row : MainCommands()) {
        if (!row.Runs)
            EXPECT_STREQ(CommandHandlerName(row), row.Name);
        else
            EXPECT_NE(FindMainCommand(row.Runs), nullptr) << row.Name;
    }
}

TEST(MainCommands, EveryCommandTouchingLinkModuleOrBuffersIsOffDuringARun)
{
    for (const TMainCommand& c : MainCommands()) {
        const TMainCommand& rule = c.Runs ? *FindMainCommand(c.Runs) : c;
        if (rule.Needs & (cnLink | cnModule | cnBuffer)) {
            EXPECT_FALSE(CommandEnabled(c, Running, true)) << c.Name;
        }
    }
}

} // namespace
