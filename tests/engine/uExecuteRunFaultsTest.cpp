// Socket faults, cancellation and a module with bugs: every run ends with
// the supply off and, where something went wrong, one message. The 24C02
// module also runs through the vprog tool over FIFOs, which is killed or
// frozen in the middle of a run.
#include "uExecuteRunEndToEnd.h"
#include "VprogTool.h"
#include "WatchedPipes.h"

#include "engine/EnginePipes.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <map>

namespace {

using e2e::TBench;
using vprogtool::TVprogTool;

bool LogHas(const TBench& b, const std::string& text) { return b.Log().find(text) != std::string::npos; }

TEST(EndToEndFaults, PinTestFindsTheMissingChipAndThePinWithoutContact)
{
    {
        TBench b;
        WorkParam |= wpPinTestBeforeRun;
        b.Insert("");
        b.Select("24C02");
        EXPECT_EQ(b.Run("&Read"), 0u);
        ASSERT_EQ(b.View.PinTests.size(), 1u);
        EXPECT_EQ(b.View.PinTests[0].Result, -1) << "no chip: the ground line stays high";
        EXPECT_EQ(b.View.PinTests[0].Mask, 0x08);
        EXPECT_EQ(b.Log(), "") << "Cancel in the pin tester: nothing ran";
        EXPECT_FALSE(b.SupplyOn());
    }
    {
        TBench b;
        WorkParam |= wpPinTestBeforeRun;
        TSocketSetup setup;
        setup.NoContactLines = TChip24Cxx::LineScl; // pin 6
        b.Insert("24C02", setup);
        b.Select("24C02");
        b.View.PinTesterGoesOn = true;
        EXPECT_EQ(b.Run("&Read"), 0u);
        ASSERT_EQ(b.View.PinTests.size(), 1u);
        EXPECT_EQ(b.View.PinTests[0].Result, 0x20) << "exactly line 6";
        EXPECT_TRUE(LogHas(b, "No answer from the chip")) << "going on anyway: the chip hears no clock\n" << b.Log();
        EXPECT_FALSE(b.SupplyOn());
    }
    {
        TBench b;
        WorkParam |= wpPinTestBeforeRun;
        b.Insert("24C02");
        b.Select("24C02");
        EXPECT_EQ(b.Run("&Read"), 0x7FFFFFFFu);
        EXPECT_TRUE(b.View.PinTests.empty());
        EXPECT_TRUE(LogHas(b, "Pin test OK.")) << b.Log();
    }
}

TEST(EndToEndFaults, ShortedBusLinesEndInAMessage)
{
    TBench b;
    TSocketSetup setup;
    setup.ShortedLines = TChip24Cxx::LineSda | TChip24Cxx::LineScl;
    b.Insert("24C02", setup);
    b.Select("24C02");
    EXPECT_EQ(b.Run("&Read"), 0u);
    EXPECT_TRUE(LogHas(b, "No answer from the chip at 0000")) << b.Log();
    EXPECT_FALSE(b.SupplyOn());
}

TEST(EndToEndFaults, OverloadStopsBeforeTheScriptWithTheSupplyOff)
{
    TBench b;
    TSocketSetup setup;
    setup.Overload = true;
    b.Insert("24C02", setup);
    b.Select("24C02");
    b.Buffer1.Data[0] = 0;
    EXPECT_EQ(b.Run("&Write"), 0u);
    EXPECT_EQ(b.Boxes, std::vector<std::string>{"Tarku: Power overload"});
    EXPECT_EQ(b.Log(), "");
    EXPECT_EQ(b.ChipData()[0], 0xFF);
    EXPECT_FALSE(b.SupplyOn());
}

TEST(EndToEndFaults, CancelInTheMiddleOfAWrite)
{
    TBench b;
    b.Insert("24C32");
    b.Select("24C32");
    b.FillRandom(4096, 5);
    b.BoxAnswer = [](const std::string&) { return int{IDYES}; };
    bool pressed = false;
    b.View.OnIdle = [&] {
        if (!pressed && b.View.Pumps > 100 && b.View.Run.ButtonCaption == b.View.Run.CancelText) {
            pressed = true;
            // Values that only the write-back can put right: the script
            // holds the ones the list had when the run began.
            for (int i = 0; i < ModuleParameters.Count(); ++i)
                ModuleParameters.SetObject(i, 0x0ABCDEF);
            b.View.Run.btCancelClick();
        }
    };
    EXPECT_EQ(b.Run("&Write"), 0u);
    ASSERT_TRUE(pressed);
    ASSERT_EQ(b.Boxes.size(), 1u);
    EXPECT_EQ(b.Boxes[0], "Write: Are you sure to cancel  \"Write\" ?");
    EXPECT_FALSE(b.SupplyOn());
    const int cycles = b.Chip<TChip24Cxx>().WriteCycles();
    EXPECT_GT(cycles, 0);
    EXPECT_LT(cycles, 128) << "stopped before the last page";
    // The parameters went back into the list as the script left them.
    EXPECT_EQ(b.Parameter("VERIFYWRITE"), 1u);
    EXPECT_EQ(b.Parameter("ForceCloseAfterWrite"), uint32_t{wpCloseAfterWrite});
    EXPECT_EQ(b.Parameter("ActiveBuffer"), 0u);

    // The chip is left as it was: a new run finds it.
    b.View.OnIdle = nullptr;
    EXPECT_EQ(b.Run("&Write"), 0x7FFFFFFFu) << b.Log();
}

TEST(EndToEndFaults, CancelDuringThePowerOnDelaySwitchesTheSupplyOffAtOnce)
{
    TBench b;
    b.Insert("24C02");
    b.Select("24C02");
    // Long enough that a run which sat it out would be noticed; the test
    // never waits for it to pass.
    PowerOnDelay = 20000;
    b.BoxAnswer = [](const std::string&) { return int{IDYES}; };
    int poweredPumps = 0;
    bool scriptStarted = true;
    b.View.OnIdle = [&] {
        if (b.SupplyOn() && ++poweredPumps == 3) {
            scriptStarted = HostMachine->OnInPort != nullptr;
            b.View.Run.btCancelClick();
        }
    };
    EXPECT_EQ(b.Run("&Read"), 0u);
    ASSERT_GE(poweredPumps, 3);
    EXPECT_FALSE(scriptStarted) << "Cancel was heard during the delay";
    EXPECT_EQ(b.Boxes, std::vector<std::string>{"Read: Are you sure to cancel  \"Read\" ?"});
    EXPECT_EQ(b.Log(), "");
    EXPECT_FALSE(b.SupplyOn());
}

TEST(EndToEndFaults, NotPresentSaysWhatWasMissing)
{
    TBench b;
    b.Select("24C02");
    const std::string folder = b.Folder.file("no-pipes");
    SetUsbTransport(std::make_unique<TEnginePipes>(folder));
    EXPECT_EQ(b.Run("&Read"), 0u);
    EXPECT_EQ(b.Boxes,
              std::vector<std::string>{"Tarku: TarkuUSB not present\nThere is no pipe folder " + folder + "."});
}

class EndToEndBuggyModule : public ::testing::Test {
protected:
    void SetUp() override
    {
        b.AddModule(testsupport::FixturePath("vprog/buggy.chl"));
        b.Insert("24C02");
        b.Select("Buggy");
    }
    TBench b;
};

TEST_F(EndToEndBuggyModule, EndlessHostLoopEndsWithCancel)
{
    b.BoxAnswer = [](const std::string&) { return int{IDYES}; };
    b.View.OnIdle = [&] {
        if (b.View.Pumps == 20)
            b.View.Run.btCancelClick();
    };
    EXPECT_EQ(b.Run("Host loop"), 0u);
    EXPECT_EQ(b.Boxes, std::vector<std::string>{"Host loop: Are you sure to cancel  \"Host loop\" ?"});
    EXPECT_FALSE(b.SupplyOn());
}

TEST_F(EndToEndBuggyModule, WritePastTheBufferEndsWithAMessage)
{
    EXPECT_EQ(b.Run("Past buffer"), 0u);
    ASSERT_EQ(b.Boxes.size(), 1u) << b.Log();
    EXPECT_EQ(b.Boxes[0].rfind("Error: ", 0), 0u) << b.Boxes[0];
    EXPECT_FALSE(b.SupplyOn());
    EXPECT_EQ(b.Buffer1.Data[255], 0) << "the buffer itself was written up to its end";
}

TEST_F(EndToEndBuggyModule, DeviceProcedureThatNeverEndsIsStopped)
{
    b.Programmer.Cpu().MaxRunLength = 100000;
    EXPECT_EQ(b.Run("Device loop"), 0u);
    EXPECT_NE(b.Programmer.LastFault().find("Run length exceeded"), std::string::npos) << b.Programmer.LastFault();
    ASSERT_EQ(b.Boxes.size(), 1u) << "the time-out value used as an address";
    EXPECT_EQ(b.Boxes[0].rfind("Error: ", 0), 0u) << b.Boxes[0];
    EXPECT_FALSE(b.SupplyOn());
}

TEST_F(EndToEndBuggyModule, DeviceFaultIsShownInTheLog)
{
    b.Programmer.Cpu().MaxRunLength = 100000;
    const struct {
        const char* Operation;
        const char* Fault;
    } cases[] = {
        {"Device bus", "Device fault: Unsupported instruction BUSINIT at "},
        {"Device deep", "Device fault: Call stack overflow at "},
        {"Device loop", "Device fault: Run length exceeded without a USB exchange at "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Operation);
        b.Run(c.Operation);
        EXPECT_TRUE(LogHas(b, c.Fault)) << b.Log();
        EXPECT_FALSE(b.SupplyOn());
    }
    // A run that starts no device procedure has no fault of its own to show.
    b.Run("Past buffer");
    EXPECT_FALSE(LogHas(b, "Device fault")) << b.Log();
}

// A 24C02 served by the vprog tool from an image in the bench's folder.
class EndToEndFifo : public ::testing::Test {
protected:
    void SetUp() override
    {
        b.Select("24C02");
        TSocketSetup setup;
        setup.Chip = "24C02";
        setup.Image = image();
        const std::string socketFile = b.Folder.file("served.ini");
        ASSERT_TRUE(SaveSocketSetup(socketFile, setup));
        tool = std::make_unique<TVprogTool>(std::vector<std::string>{pipes.path(), socketFile});
        ASSERT_NE(tool->ReadyLine(), "") << "the vprog tool did not start";
        // Waits for the tool to take what was written may run to the
        // ceiling: only a wait that should not have been made gets there.
        auto watched = std::make_unique<TWatchedPipes>(pipes.path(), vprogtool::HangCeilingMs);
        link = watched.get();
        SetUsbTransport(std::move(watched));
        // A wait that only a lost link or a Cancel may cut short in a test.
        UsbTimeOut = 20000;
    }
    void TearDown() override { SetUsbTransport(nullptr); }

    std::string image() const { return b.Folder.file("served.bin"); }
    std::vector<uint8_t> SavedImage() const
    {
        const std::string saved = testsupport::ReadFileBytes(image());
        return std::vector<uint8_t>(saved.begin(), saved.end());
    }
    // Calls `act` once, just before the script starts its first device
    // procedure (the 24C02's read starts one for its 256 bytes).
    void BeforeProcedureStart(std::function<void()> act)
    {
        link->BeforeCommand = [act, done = false](const std::vector<uint8_t>& command) mutable {
            if (!done && command == std::vector<uint8_t>{9, 0}) {
                done = true;
                act();
            }
        };
    }

    TBench b;
    testsupport::TempDir pipes;
    std::unique_ptr<TVprogTool> tool;
    TWatchedPipes* link = nullptr;
};

TEST_F(EndToEndFifo, ModuleRunsThroughTheVprogTool)
{
    b.FillRandom(256, 9);
    const std::vector<uint8_t> written = b.Buffer(256);
    EXPECT_EQ(b.Run("&Write"), 0x7FFFFFFFu) << b.Log();
    b.Buffer1.EraseBuffer();
    EXPECT_EQ(b.Run("&Read"), 0x7FFFFFFFu) << b.Log();
    EXPECT_EQ(b.Buffer(256), written);

    SetUsbTransport(nullptr);
    EXPECT_EQ(tool->Stop(), 0);
    // Switched off after the run: the tool's chip saved its image.
    EXPECT_EQ(SavedImage(), written);
}

// The image is saved whenever the supply goes off, so a tool that dies
// later loses nothing that was written.
TEST_F(EndToEndFifo, KilledToolKeepsWhatWasWritten)
{
    b.FillRandom(256, 4);
    const std::vector<uint8_t> written = b.Buffer(256);
    EXPECT_EQ(b.Run("&Write"), 0x7FFFFFFFu) << b.Log();
    tool->Kill();
    EXPECT_EQ(SavedImage(), written);
}

TEST_F(EndToEndFifo, KilledToolEndsTheRunWithTheLostLinkMessage)
{
    BeforeProcedureStart([this] { tool->Kill(); });
    EXPECT_EQ(b.Run("&Read"), 0u);
    EXPECT_EQ(b.Boxes, std::vector<std::string>{"Error: Tarku not present."});
    EXPECT_FALSE(LogHas(b, "No answer")) << "the link, not the chip\n" << b.Log();
}

// A frozen tool answers nothing, so only Cancel ends the wait for it: the
// run ends with the question as its one message and switches the supply
// off without waiting on the tool; the tool takes the command, in its
// order, once it runs again.
TEST_F(EndToEndFifo, CancelWhileTheToolIsFrozenEndsTheRunWithOneMessage)
{
    b.BoxAnswer = [](const std::string&) { return int{IDYES}; };
    bool frozen = false;
    size_t commandsBeforeCancel = 0;
    int emptyPolls = 0;
    std::chrono::steady_clock::time_point cancelled;
    BeforeProcedureStart([&] {
        tool->Freeze();
        frozen = true;
    });
    link->OnEmptyRead = [&] {
        if (frozen && ++emptyPolls == 3) {
            commandsBeforeCancel = link->Commands.size();
            b.View.Run.btCancelClick();
            cancelled = std::chrono::steady_clock::now();
        }
    };
    EXPECT_EQ(b.Run("&Read"), 0u);
    EXPECT_LT(std::chrono::steady_clock::now() - cancelled, std::chrono::milliseconds(vprogtool::HangCeilingMs))
        << "the close waited for the frozen tool";
    ASSERT_GE(emptyPolls, 3);
    EXPECT_EQ(b.Boxes, std::vector<std::string>{"Read: Are you sure to cancel  \"Read\" ?"});
    const std::vector<std::vector<uint8_t>> after(link->Commands.begin() + static_cast<std::ptrdiff_t>(commandsBeforeCancel),
                                                  link->Commands.end());
    EXPECT_EQ(after, (std::vector<std::vector<uint8_t>>{{1, 1}})) << "the supply off, and nothing else";

    tool->Thaw();
    ASSERT_TRUE(OpenDevice());
    uint8_t status = 0xFF;
    EXPECT_TRUE(ReadDeviceStatus(status));
    EXPECT_EQ(status, 0) << "the tool switched the supply off";
    CloseDevice();
}

} // namespace
