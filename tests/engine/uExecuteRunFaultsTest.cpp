// Socket faults, cancellation and a module with bugs: every run ends with
// the supply off and, where something went wrong, a message. One module
// also runs through the vprog server over FIFOs.
#include "uExecuteRunEndToEnd.h"

#include "engine/EnginePipes.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

namespace {

using e2e::TBench;

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
        EXPECT_TRUE(LogHas(b, " Pin test OK.")) << b.Log();
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
    b.Controls["CHIPTYPE"] = 0;
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
    EXPECT_EQ(b.Parameter("CHIPTYPE"), 0u);
    EXPECT_EQ(b.Parameter("VERIFYWRITE"), 1u);
    EXPECT_EQ(b.Parameter("ForceCloseAfterWrite"), uint32_t{wpCloseAfterWrite});
    EXPECT_EQ(b.Parameter("ActiveBuffer"), 0u);

    // The chip is left as it was: a new run finds it.
    b.View.OnIdle = nullptr;
    EXPECT_EQ(b.Run("&Write"), 0x7FFFFFFFu) << b.Log();
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

// The vprog tool as the build made it, serving the 24C02 of a socket file
// on FIFOs in a folder of its own.
class TVprogProcess {
public:
    TVprogProcess(const std::string& pipeFolder, const std::string& socketFile)
    {
        pid_ = fork();
        if (pid_ == 0) {
            // A test that dies must not leave its server behind holding the
            // test runner's output open.
            prctl(PR_SET_PDEATHSIG, SIGKILL);
            execl(TARKU_VPROG_TOOL, TARKU_VPROG_TOOL, pipeFolder.c_str(), socketFile.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        // Ready once the tool holds both FIFOs the link writes open for
        // reading (it opens them one after the other).
        for (int i = 0; pid_ > 0 && i < 5000 && !ready_; ++i) {
            TEnginePipes probe(pipeFolder);
            const int command = probe.Open("01");
            const int control = probe.Open("02");
            probe.Close(command);
            probe.Close(control);
            ready_ = command >= 0 && control >= 0;
            if (!ready_)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
    ~TVprogProcess()
    {
        if (pid_ > 0 && !stopped_)
            Stop();
    }
    bool Ready() const { return ready_; }

    // Asks the tool to stop and returns its exit status; kills it when it
    // does not stop within two seconds.
    int Stop()
    {
        stopped_ = true;
        kill(pid_, SIGTERM);
        int status = 0;
        for (int i = 0; i < 2000; ++i) {
            if (waitpid(pid_, &status, WNOHANG) == pid_)
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        kill(pid_, SIGKILL);
        waitpid(pid_, &status, 0);
        return -1;
    }

private:
    pid_t pid_ = -1;
    bool ready_ = false;
    bool stopped_ = false;
};

TEST(EndToEndFifo, ModuleRunsThroughTheVprogTool)
{
    TBench b;
    b.Select("24C02");
    testsupport::TempDir pipes;
    const std::string image = b.Folder.file("served.bin");
    TSocketSetup setup;
    setup.Chip = "24C02";
    setup.Image = image;
    const std::string socketFile = b.Folder.file("served.ini");
    ASSERT_TRUE(SaveSocketSetup(socketFile, setup));

    TVprogProcess tool(pipes.path(), socketFile);
    ASSERT_TRUE(tool.Ready()) << "the vprog tool did not start";
    SetUsbTransport(std::make_unique<TEnginePipes>(pipes.path()));
    UsbTimeOut = 2000;

    b.FillRandom(256, 9);
    const std::vector<uint8_t> written = b.Buffer(256);
    EXPECT_EQ(b.Run("&Write"), 0x7FFFFFFFu) << b.Log();
    b.Buffer1.EraseBuffer();
    EXPECT_EQ(b.Run("&Read"), 0x7FFFFFFFu) << b.Log();
    EXPECT_EQ(b.Buffer(256), written);

    SetUsbTransport(nullptr);
    EXPECT_EQ(tool.Stop(), 0);
    // Switched off after the run: the tool's chip saved its image.
    const std::string saved = testsupport::ReadFileBytes(image);
    EXPECT_EQ(std::vector<uint8_t>(saved.begin(), saved.end()), written);
}

} // namespace
