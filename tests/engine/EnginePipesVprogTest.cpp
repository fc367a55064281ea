// The link over the pipe files of the real vprog tool, and what becomes of
// it when the tool is killed, frozen or refuses to start. Every wait is tied
// to an event: the tool's ready line, its exit, or the link's own polls
// (the stop request is asked at each of them, which is where the test acts).
#include "engine/Engine.h"
#include "engine/EnginePipes.h"
#include "engine/Global.h"
#include "engine/uAsmMnemonics.h"
#include "engine/uExecuteLock.h"
#include "engine/uHost.h"

#include "OtherProgram.h"
#include "ProgramStateGuard.h"
#include "TestSupport.h"
#include "VprogTool.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <fstream>
#include <string>
#include <vector>

namespace {

using otherprogram::TOtherProgram;
using vprogtool::HangCeilingMs;
using vprogtool::TVprogTool;

class LinkVprogTest : public ::testing::Test {
protected:
    void SetUp() override { SetUsbTransport(std::make_unique<TEnginePipes>(folder())); }
    std::string folder() const { return dir.path() + "/pipes"; }
    // A tool serving the pipe folder, ready to be opened.
    std::unique_ptr<TVprogTool> StartTool()
    {
        auto tool = std::make_unique<TVprogTool>(std::vector<std::string>{folder()});
        const std::string line = tool->ReadyLine();
        EXPECT_EQ(line, "vprog: serving " + folder() + " with a 24C02 in the socket\n");
        return tool;
    }

    testsupport::TProgramStateGuard state;
    testsupport::TempDir dir;
};

TEST_F(LinkVprogTest, ToolSaysOnceWhenItIsReady)
{
    auto tool = StartTool();
    ASSERT_TRUE(OpenDevice());
    uint8_t status = 0xFF;
    EXPECT_TRUE(ReadDeviceStatus(status));
    CloseDevice();
}

TEST_F(LinkVprogTest, ASecondToolOnTheSameFolderRefusesToStart)
{
    auto first = StartTool();
    TVprogTool second({folder()});
    EXPECT_EQ(second.ReadyLine(), "");
    EXPECT_NE(second.ExitStatus(), 0);
    EXPECT_NE(second.Errors().find("another vprog serves " + folder()), std::string::npos);
    // The first one still serves.
    ASSERT_TRUE(OpenDevice());
    uint8_t status = 0xFF;
    EXPECT_TRUE(ReadDeviceStatus(status));
}

TEST_F(LinkVprogTest, AnUnknownChipRefusesToStart)
{
    std::ofstream(dir.file("socket.ini")) << "[Socket]\nChip=27X999\n";
    TVprogTool tool({folder(), dir.file("socket.ini")});
    EXPECT_EQ(tool.ReadyLine(), "");
    EXPECT_EQ(tool.ExitStatus(), 2);
    EXPECT_NE(tool.Errors().find("27X999"), std::string::npos);
    EXPECT_FALSE(OpenDevice());
}

TEST_F(LinkVprogTest, NotPresentSaysWhatWasMissing)
{
    EXPECT_FALSE(OpenDevice());
    EXPECT_EQ(UsbOpenError(), "There is no pipe folder " + folder() + ".");
    ASSERT_EQ(mkdir(folder().c_str(), 0700), 0);
    EXPECT_FALSE(OpenDevice());
    EXPECT_EQ(UsbOpenError(), "There is no pipe file " + folder() + "/01.");
    for (const char* name : {"/00", "/01", "/02"})
        ASSERT_EQ(mkfifo((folder() + name).c_str(), 0600), 0);
    EXPECT_FALSE(OpenDevice());
    EXPECT_EQ(UsbOpenError(), "Nobody serves the pipe files in " + folder() + ".");
    auto tool = StartTool();
    EXPECT_TRUE(OpenDevice());
    EXPECT_EQ(UsbOpenError(), "");
}

// Two programs on one tool: the one that opened the link first holds the
// programmer until it closes the link; the other is told so, sends nothing
// that could mix with the first one's exchange, and goes on once it is
// free.
TEST_F(LinkVprogTest, ASecondProgramIsToldTheProgrammerIsInUseUntilTheFirstLetsGo)
{
    auto tool = StartTool();
    {
        TOtherProgram first(folder());
        ASSERT_TRUE(first.Holds());
        EXPECT_FALSE(OpenDevice());
        EXPECT_TRUE(UsbInUse());
        EXPECT_EQ(UsbOpenError(), UsbInUseText);
        EXPECT_EQ(LinkNotOpenText(), UsbInUseText);
        EXPECT_EQ(UsbOutHandle, -1);
        EXPECT_EQ(UsbControlHandle, -1);
        EXPECT_TRUE(first.LetGo()) << "the first program's replies stayed its own";
    }
    ASSERT_TRUE(OpenDevice());
    EXPECT_FALSE(UsbInUse());
    uint8_t status = 0xFF;
    EXPECT_TRUE(ReadDeviceStatus(status));
    // Held across a reopen, as the steps of one operation reopen the link.
    ASSERT_TRUE(OpenDevice());
    {
        TOtherProgram second(folder());
        EXPECT_FALSE(second.Holds());
    }
    EXPECT_TRUE(ReadDeviceStatus(status));
    CloseDevice();
    TOtherProgram third(folder());
    EXPECT_TRUE(third.Holds()) << "let go when the link closed";
    EXPECT_TRUE(third.LetGo());
}

// The programmer goes away while the link waits for its reply: the read
// fails at the next poll instead of waiting out the time-out.
TEST_F(LinkVprogTest, ToolKilledDuringAReadIsALostLink)
{
    auto tool = StartTool();
    ASSERT_TRUE(OpenDevice());
    UsbTimeOut = 1000000; // a quarter of an hour of polls
    int polls = 0;
    UsbStopWaiting = [&] {
        if (++polls == 1)
            tool->Kill();
        return false;
    };
    uint8_t b = 0;
    EXPECT_EQ(DeviceReadByte(b), -1);
    EXPECT_EQ(polls, 1) << "reported at the first poll after the tool went";
}

// A frozen programmer is a slow one: its reply times out, and a stop request
// ends the wait at once.
TEST_F(LinkVprogTest, ToolFrozenDuringAReadTimesOutOrIsCancelled)
{
    auto tool = StartTool();
    ASSERT_TRUE(OpenDevice());
    tool->Freeze();
    UsbTimeOut = 20;
    uint8_t b = 0;
    EXPECT_EQ(DeviceReadByte(b), 1);

    UsbTimeOut = 1000000;
    int polls = 0;
    bool cancelled = false;
    UsbStopWaiting = [&] {
        cancelled = ++polls == 3; // the user confirmed Cancel meanwhile
        return cancelled;
    };
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(DeviceReadByte(b), 1);
    EXPECT_TRUE(cancelled);
    EXPECT_EQ(polls, 3) << "the wait ends at the poll that sees the request";
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(HangCeilingMs));

    // Killed while frozen: the link is lost, not slow.
    UsbStopWaiting = nullptr;
    tool->Kill();
    EXPECT_EQ(DeviceReadByte(b), -1);
}

// The host machine's block: gathered while the tool runs, sent after it
// was killed. The send fails and the run stops with the lost-link message.
TEST_F(LinkVprogTest, ToolKilledDuringABlockWriteStopsTheRunWithTheMessage)
{
    auto tool = StartTool();
    ASSERT_TRUE(OpenDevice());
    THost host;
    const uint32_t code[] = {opBBLK, 0, opEBLK, 0, opRETT, 0};
    std::copy(std::begin(code), std::end(code), host.Code.begin());
    host.CodeLength = 6;
    EXPECT_EQ(host.Step(), THost::StepContinue);
    for (uint8_t b : {0xA0, 0x00, 0x80, 0x12, 0x34})
        ASSERT_TRUE(DeviceWriteByte(b));
    tool->Kill();
    EXPECT_EQ(host.Step(), THost::StepFault);
    EXPECT_EQ(host.RunError, UsbLinkLostText);
    EXPECT_FALSE(UsbBlockMode());
}

// Frozen during a block write: the block goes into the pipe, the reply
// never comes, and Cancel ends the wait for it.
TEST_F(LinkVprogTest, ToolFrozenDuringABlockWriteIsCancelled)
{
    auto tool = StartTool();
    ASSERT_TRUE(OpenDevice());
    BeginBlock();
    for (uint8_t b : {0xA0, 0x00, 0x80})
        ASSERT_TRUE(DeviceWriteByte(b));
    tool->Freeze();
    EXPECT_TRUE(EndBlock()) << "the pipe takes the block";
    UsbTimeOut = 1000000;
    int polls = 0;
    UsbStopWaiting = [&] { return ++polls == 2; };
    uint8_t b = 0;
    EXPECT_EQ(DeviceReadByte(b), 1);
    EXPECT_EQ(polls, 2);
    tool->Thaw();
}

// Frozen with commands half sent, then switched off and closed as a run
// does after Cancel or a time-out: when the tool runs again it takes the
// control bytes and the commands in the order they were written, so the
// supply-off command is read as such. After a stop request no write waits
// for the frozen tool (its waits here are as long as the hang ceiling).
TEST_F(LinkVprogTest, FrozenToolTakesControlBytesAndCommandsInTheirOrder)
{
    const struct {
        const char* Name;
        std::vector<uint8_t> HalfSent;
        bool StopRequested;
    } cases[] = {
        {"nothing half sent, Cancel", {}, true},
        {"a procedure start without its address, Cancel", {9, 0}, true},
        {"a procedure start without its address, time-out", {9, 0}, false},
        {"a command without its argument, Cancel", {2}, true},
        {"a command without its argument, time-out", {2}, false},
        {"a name being stored, Cancel", {9, 3, 'A', 'B'}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        // A waiting write runs to its time-out against a frozen tool: the
        // ceiling where a stop should end it, a moment where only the order
        // is at stake.
        SetUsbTransport(std::make_unique<TEnginePipes>(folder(), c.StopRequested ? HangCeilingMs : 1));
        auto tool = StartTool();
        UsbTimeOut = HangCeilingMs;
        ASSERT_TRUE(OpenDevice());
        ASSERT_TRUE(DevicePowerOn());
        uint8_t status = 0;
        ASSERT_TRUE(ReadDeviceStatus(status));
        ASSERT_NE(status, 0) << "the supply is on";

        tool->Freeze();
        for (uint8_t b : c.HalfSent)
            ASSERT_TRUE(DeviceWriteByte(b));
        if (c.StopRequested)
            UsbStopWaiting = [] { return true; };
        const auto start = std::chrono::steady_clock::now();
        EXPECT_TRUE(OpenDevice());
        EXPECT_TRUE(DevicePowerOff());
        CloseDevice();
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(HangCeilingMs))
            << "a write waited out its time-out after the stop";
        UsbStopWaiting = nullptr;

        tool->Thaw();
        ASSERT_TRUE(OpenDevice());
        EXPECT_TRUE(ReadDeviceStatus(status));
        EXPECT_EQ(status, 0) << "the supply went off";
        CloseDevice();
    }
}

} // namespace
