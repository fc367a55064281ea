// The run of a module procedure end to end, without its window, against the
// in-process virtual programmer.
#include "buffer/HDumpBuffer.h"
#include "engine/ComUtils.h"
#include "engine/Engine.h"
#include "engine/Global.h"
#include "engine/uExecuteRun.h"
#include "engine/uExecuteLock.h"
#include "engine/uExecuteRun.h"
#include "engine/uHost.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "platform/SysUtils.h"
#include "vprog/SimChip.h"
#include "vprog/VirtualUsb.h"

#include "ProgramStateGuard.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <functional>
#include <memory>
#include <vector>

namespace {

// The virtual programmer's driver files, with a plug to pull and a filter
// that can hide the "U" a procedure start answers.
class TTestUsb : public TEngineTransport {
public:
    explicit TTestUsb(TVirtualProgrammer& p) : inner_(p) {}
    bool Unplugged = false;  // every call fails
    bool RepliesLost = false; // reads fail, commands still reach the device
    bool HideStart = false;   // the "U" of a procedure start never arrives

    int Open(const std::string& name) override { return Unplugged ? -1 : inner_.Open(name); }
    void Close(int handle) override { inner_.Close(handle); }
    int Write(int handle, const uint8_t* data, int count) override
    {
        return Unplugged ? -1 : inner_.Write(handle, data, count);
    }
    int Read(int handle, uint8_t* data, int count) override
    {
        if (Unplugged || RepliesLost)
            return -1;
        int n = inner_.Read(handle, data, count);
        if (HideStart) {
            int kept = 0;
            for (int i = 0; i < n; ++i)
                if (data[i] != UsbProcStarted)
                    data[kept++] = data[i];
            n = kept;
        }
        return n;
    }
    bool WaitingHelps() const override { return false; }

private:
    TVirtualUsb inner_;
};

struct TBox {
    std::string Text, Caption;
    unsigned Flags;
};

class TFakeView : public TExecuteView {
public:
    bool Visible = false;
    int Shows = 0;
    std::vector<int16_t> PinTests;
    std::string Picture;
    bool PinTesterGoesOn = true;
    TStringList CompilerErrors;
    std::function<void()> OnShow, OnIdle, OnLine;

    void ShowWindow() override
    {
        Visible = true;
        ++Shows;
        if (OnShow)
            OnShow();
    }
    void HideWindow() override { Visible = false; }
    void LineAdded() override
    {
        if (OnLine)
            OnLine();
    }
    bool ShowPinTester(int16_t result, uint8_t mask, const std::string& picture) override
    {
        PinTests.push_back(result);
        EXPECT_EQ(mask, 0x08);
        Picture = picture;
        return PinTesterGoesOn;
    }
    void ShowCompilerErrors(const TStringList& errors) override { CompilerErrors = errors; }
    void Idle() override
    {
        if (OnIdle)
            OnIdle();
    }
};

class ExecuteTest : public ::testing::Test {
protected:
    testsupport::TProgramStateGuard state;
    testsupport::TempDir dir;
    TVirtualProgrammer programmer;
    TTestUsb* usb = nullptr;
    TFakeView view;
    TExecuteRun run{view};
    TDumpBuffer buffer1, buffer2;
    std::vector<TBox> boxes;
    int answer = IDYES;
    MessageBoxHandler previousHandler;

    void SetUp() override
    {
        SetProgramFolder(dir.path());
        ForceDirectories(dir.file("scripts"));
        ForceDirectories(dir.file("bmps"));
        InstallModule("runner.chl", testsupport::ReadFileBytes(testsupport::FixturePath("engine/run/runner.chl")));
        InstallModule("hostonly.chl",
                      testsupport::ReadFileBytes(testsupport::FixturePath("engine/run/hostonly.chl")));
        ChipList = {"Test\\Runner", "Test\\HostOnly"};
        ModuleFileList = {"runner.chl", "hostonly.chl"};
        CurrentChip = "Test\\Runner";
        ModuleParameters.AddObject("COUNT", 0xA0000000u);
        ModuleParameters.AddObject("LEVEL", 0);
        PowerOnDelay = 0;
        UsbTimeOut = 3;
        WorkParam = WorkParamDefault & ~(wpPinTestBeforeRun | wpIgnoreOverload);

        auto transport = std::make_unique<TTestUsb>(programmer);
        usb = transport.get();
        SetUsbTransport(std::move(transport));

        buffer1.SetSize(32);
        buffer2.SetSize(8);
        run.Buffer1 = &buffer1;
        run.Buffer2 = &buffer2;
        previousHandler = SetMessageBoxHandler([this](const std::string& text, const std::string& caption,
                                                      unsigned flags) {
            boxes.push_back({text, caption, flags});
            return (flags & 0xF) == MB_YESNO ? answer : IDOK;
        });
        // A run that ends with exit value 0 waits for Close.
        view.OnIdle = [this] {
            if (run.ButtonCaption == run.CloseText)
                run.btCancelClick();
        };
    }

    void TearDown() override
    {
        SetMessageBoxHandler(previousHandler);
        // The transport reaches programmer, which goes before state.
        SetUsbTransport(nullptr);
    }

    void InstallModule(const std::string& name, const std::string& text)
    {
        testsupport::WriteFileBytes(dir.file("scripts/" + name), text);
    }

    void Run(const std::string& operation) { run.RunModuleProcedure(operation, 8); }

    void ExpectEndedSafely()
    {
        EXPECT_FALSE(programmer.Lines().SupplyOn());
        EXPECT_FALSE(view.Visible);
        EXPECT_FALSE(RunInProgress());
    }

    uint32_t Parameter(const std::string& name)
    {
        return ModuleParameters.Objects(ModuleParameters.IndexOf(name));
    }
};

TEST_F(ExecuteTest, ReadsThroughTheDeviceWithProgressAndWritesTheParametersBack)
{
    bool checkedPower = false;
    view.OnShow = [&] {
        if (view.Shows == 2) { // stepping starts: compiled, uploaded, powered
            EXPECT_TRUE(programmer.Lines().SupplyOn());
            EXPECT_EQ(programmer.Lines().VccLines(), 0x80);
            EXPECT_EQ(programmer.Lines().GndLines(), 0x08);
            EXPECT_EQ(programmer.Lines().VoltageCode(), 6);
            checkedPower = true;
        }
    };
    Run("&Read");
    EXPECT_TRUE(checkedPower) << view.CompilerErrors.Text();
    EXPECT_TRUE(boxes.empty()) << boxes[0].Text;
    EXPECT_EQ(run.Caption, "Read");
    EXPECT_EQ(run.Lines, (std::vector<std::string>{"Reading", "Read 32 bytes"}));
    for (int i = 0; i < 32; ++i)
        EXPECT_EQ(buffer1.Data[size_t(i)], i);
    EXPECT_FALSE(buffer1.GetMatchBit(3));
    EXPECT_TRUE(buffer1.GetMatchBit(4));
    EXPECT_EQ(run.GaugeMax, 32u);
    EXPECT_EQ(run.GaugePosition, 31u);
    EXPECT_EQ(run.ExitValue, 0u);
    EXPECT_EQ(run.ButtonCaption, "Close");
    // The low 28 bits come from the script, the top four stay.
    EXPECT_EQ(Parameter("COUNT"), 0xA0000020u);
    ExpectEndedSafely();

    // The second run compiles nothing and uploads nothing.
    const std::string stored = programmer.StoredName();
    Run("READ");
    EXPECT_EQ(programmer.StoredName(), stored);
    EXPECT_TRUE(boxes.empty()) << boxes[0].Text;
    EXPECT_EQ(run.Lines, (std::vector<std::string>{"Reading", "Read 32 bytes"})) << view.CompilerErrors.Text();
    ExpectEndedSafely();
}

TEST_F(ExecuteTest, PrintFormatsAndLineRules)
{
    Run("Print texts");
    ASSERT_TRUE(boxes.empty()) << boxes[0].Text;
    EXPECT_EQ(run.Lines, (std::vector<std::string>{
                             "Replaced and appended",
                             "H=2345 B=45 D=00012345",
                             "I=-1 C=A",
                             "Unknown %Q and %B",
                             "Ends in %",
                             "x",
                         }));
    // A non-zero exit value closes the window at once.
    EXPECT_EQ(run.ExitValue, 1u);
    ExpectEndedSafely();
}

TEST_F(ExecuteTest, ReplaceAndAppendWithoutALineStartOne)
{
    CreateHostMachine().PrintRecords = {"\"\\rfirst\"", "", "\"\\;second\"", "", "\"%\"", "5", ""};
    run.OnPrint(0);
    EXPECT_EQ(run.Lines, (std::vector<std::string>{"first"}));
    run.ClearLines();
    run.OnPrint(2);
    run.OnPrint(4);
    run.OnPrint(99); // no such record
    EXPECT_EQ(run.Lines, (std::vector<std::string>{"second", "%", ""}));
}

TEST_F(ExecuteTest, UartSetUpWordSplitsIntoTheLineSettings)
{
    run.OnSetupUart((115200u << 12) | (7u << 8) | (2u << 4) | 1u);
    EXPECT_EQ(ComSettings.BaudRate, 115200);
    EXPECT_EQ(ComSettings.ByteSize, 7);
    EXPECT_EQ(ComSettings.Parity, 2);
    EXPECT_EQ(ComSettings.StopBits, 1);
}

TEST_F(ExecuteTest, PortsOtherThanTheLink)
{
    run.GaugePosition = 0;
    run.GaugeMax = 100;
    uint32_t v = 640;
    run.OnOutPort(2, v);
    v = 12;
    run.OnOutPort(1, v);
    for (uint32_t port : {4u, 5u, 6u, 7u, 8u, 200u}) {
        v = 0x1234;
        run.OnOutPort(port, v);
        run.OnInPort(port, v);
        EXPECT_EQ(v, 0x1234u) << port;
    }
    EXPECT_EQ(run.GaugePosition, 12u);
    EXPECT_EQ(run.GaugeMax, 640u);
    run.OnInPort(1, v);
    EXPECT_EQ(v, 12u);
    run.OnInPort(2, v);
    EXPECT_EQ(v, 640u);
    // No serial port: no data, and writes go nowhere.
    run.OnInPort(3, v);
    EXPECT_EQ(v, 0x8000u);
    run.OnOutPort(3, v);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(ExecuteTest, ExitValuesOfBackupAndSignature)
{
    Run("Backup");
    EXPECT_EQ(run.ExitValue, 0x7FFFFFFFu);
    ExpectEndedSafely();
    Run("Identify");
    EXPECT_EQ(run.ExitValue, 0xA0C1u);
    ExpectEndedSafely();
    EXPECT_TRUE(boxes.empty());
}

TEST_F(ExecuteTest, CancelAnsweredNoGoesOnAndYesStops)
{
    int lines = 0;
    view.OnLine = [&] {
        ++lines;
        if (lines == 5) {
            answer = IDNO;
            run.btCancelClick();
        } else if (lines == 10) {
            answer = IDYES;
            run.btCancelClick();
        }
    };
    Run("Endless");
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].Text, "Are you sure to cancel  \"Endless\" ?");
    EXPECT_EQ(boxes[0].Caption, "Endless");
    // Stopped after the instruction that printed the tenth line.
    EXPECT_EQ(run.Lines.back(), "tick 10");
    EXPECT_EQ(run.ButtonCaption, "Cancel");
    // The values the script left still reach the parameter list.
    EXPECT_EQ(Parameter("COUNT"), 0xA000000Au);
    ExpectEndedSafely();
}

TEST_F(ExecuteTest, CancelWhileTheDeviceWaitsForInputStillSwitchesOff)
{
    int rounds = 0;
    view.OnIdle = [&] {
        if (run.ButtonCaption == run.CancelText && programmer.Lines().SupplyOn() && ++rounds == 3)
            run.btCancelClick();
    };
    Run("Wait input");
    EXPECT_EQ(boxes.size(), 1u);
    ExpectEndedSafely();
}

TEST_F(ExecuteTest, CancelEndsALongDelayAtOnce)
{
    int waited = 0;
    view.OnShow = [&] {
        if (view.Shows == 2) // compiled: the machine exists
            HostMachine->DelayWait = [&](int ms) {
                waited += ms;
                if (waited == 5)
                    run.btCancelClick();
            };
    };
    Run("Long wait");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Caption, "Long wait");
    EXPECT_EQ(waited, 5);
    EXPECT_EQ(run.Lines, (std::vector<std::string>{"Waiting"}));
    ExpectEndedSafely();
    EXPECT_FALSE(HostMachine->StopWaiting);
}

TEST_F(ExecuteTest, ScriptAddressesOutsideTheBufferStopTheRun)
{
    Run("Outside");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, "Address 0x00000020 is outside buffer 1.");
    EXPECT_EQ(boxes[0].Caption, "Error");
    EXPECT_EQ(buffer1.Data[31], 0x31);
    EXPECT_TRUE(run.Lines.empty());
    ExpectEndedSafely();
}

TEST_F(ExecuteTest, BufferTwoIsReachedOnlyWhenItExists)
{
    Run("Second");
    ASSERT_TRUE(boxes.empty());
    EXPECT_EQ(buffer2.Data[7], 0xE7);
    EXPECT_FALSE(buffer2.GetMatchBit(7));
    EXPECT_EQ(run.Lines, (std::vector<std::string>{"EBUF E7"}));

    for (TDumpBuffer* second : {static_cast<TDumpBuffer*>(nullptr), &buffer2}) {
        boxes.clear();
        buffer2.SetSize(-1);
        run.Buffer2 = second;
        Run("Second");
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].Text, "Address 0x00000007 is outside buffer 2.");
        ExpectEndedSafely();
    }
}

TEST_F(ExecuteTest, AMachineFaultStopsTheRunWithItsReason)
{
    Run("Fault");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Caption, "Error");
    EXPECT_NE(boxes[0].Text.find("array index 70000"), std::string::npos) << boxes[0].Text;
    EXPECT_TRUE(run.Lines.empty());
    ExpectEndedSafely();
}

TEST_F(ExecuteTest, OverloadStopsBeforeTheScriptUnlessIgnored)
{
    programmer.Lines().SetForcedOverload(true);
    Run("Backup");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, "Power overload");
    EXPECT_EQ(boxes[0].Caption, "Tarku");
    EXPECT_EQ(boxes[0].Flags, unsigned(MB_OK | MB_ICONWARNING));
    EXPECT_EQ(run.ExitValue, 0u);
    ExpectEndedSafely();

    boxes.clear();
    WorkParam |= wpIgnoreOverload;
    Run("Backup");
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(run.ExitValue, 0x7FFFFFFFu);
    ExpectEndedSafely();

    // A run stopped before its script hands on no exit value of an earlier
    // run: its caller would make a backup or switch modules.
    WorkParam &= ~wpIgnoreOverload;
    Run("Backup");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(run.ExitValue, 0u);
    programmer.Lines().SetForcedOverload(false);
    boxes.clear();
    Run("Identify");
    ASSERT_EQ(run.ExitValue, 0xA0C1u);
    usb->Unplugged = true;
    Run("Identify");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, "TarkuUSB not present");
    EXPECT_EQ(run.ExitValue, 0u);
}

TEST_F(ExecuteTest, ALinkLostMidRunEndsWithAMessage)
{
    // Replies stop: the next USB read fails; the supply still goes off.
    view.OnLine = [&] { usb->RepliesLost = true; };
    Run("Read");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, "Tarku not present.");
    EXPECT_EQ(boxes[0].Caption, "Error");
    EXPECT_EQ(run.Lines, (std::vector<std::string>{"Reading"}));
    EXPECT_EQ(Parameter("COUNT"), 0xA0000000u); // I was still 0
    ExpectEndedSafely();

    // The whole device goes: a message, no hang.
    boxes.clear();
    usb->RepliesLost = false;
    view.OnLine = [&] { usb->Unplugged = true; };
    Run("Read");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, "Tarku not present.");
    EXPECT_FALSE(view.Visible);
    EXPECT_FALSE(RunInProgress());
}

TEST_F(ExecuteTest, ADeviceThatNeverStartsTheProcedure)
{
    Run("Read"); // compiled and uploaded
    usb->HideStart = true;
    boxes.clear();
    Run("Read");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, "Tarku not present.");
    ExpectEndedSafely();
}

TEST_F(ExecuteTest, NoProgrammer)
{
    usb->Unplugged = true;
    Run("Read");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, "TarkuUSB not present");
    EXPECT_EQ(boxes[0].Caption, "Tarku");
    EXPECT_EQ(boxes[0].Flags, unsigned(MB_OK | MB_ICONERROR));
    EXPECT_FALSE(view.Visible);
}

TEST_F(ExecuteTest, HostOnlyModuleNeverTouchesTheLink)
{
    CurrentChip = "Test\\HostOnly";
    ModuleParameters.Clear();
    bool poweredDuringRun = true;
    view.OnShow = [&] { poweredDuringRun = programmer.Lines().SupplyOn(); };
    Run("&Fill");
    EXPECT_FALSE(poweredDuringRun);
    EXPECT_TRUE(boxes.empty());
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(buffer1.Data[size_t(i)], i);
    EXPECT_EQ(run.ExitValue, 0x7FFFFFFFu);
    EXPECT_EQ(run.Lines, (std::vector<std::string>{"filled"}));
}

TEST_F(ExecuteTest, SerialReadWithoutPortGivesNoData)
{
    Run("Uart");
    EXPECT_EQ(run.Lines, (std::vector<std::string>{"uart 00008000"}));
    ExpectEndedSafely();
}

// Every run closes the serial port at its end; a module that uses the port
// still finds it open in each of its runs, not only in the first after it
// was loaded. A port that cannot be opened was reported when the module was
// loaded: the run goes on without it and says nothing.
TEST_F(ExecuteTest, SerialModuleFindsItsPortInEveryRun)
{
    static int argc = 1;
    static char appName[] = "test";
    static char* argv[] = {appName, nullptr};
    if (!QCoreApplication::instance())
        new QCoreApplication(argc, argv);
    int master = -1, slave = -1;
    char name[256];
    ASSERT_EQ(openpty(&master, &slave, name, nullptr, nullptr), 0);
    termios raw{};
    tcgetattr(slave, &raw);
    cfmakeraw(&raw);
    tcsetattr(slave, TCSANOW, &raw);
    InstallModule("serial.chl", testsupport::ReadFileBytes(testsupport::FixturePath("engine/run/serial.chl")));
    ChipList = {"Test\\Runner", "Test\\HostOnly", "Test\\Serial"};
    ModuleFileList = {"runner.chl", "hostonly.chl", "serial.chl"};
    CurrentChip = "Test\\Serial";
    ComName = name;
    OpenModuleComPort(); // as loading the module does
    ASSERT_NE(ComHandle, -1);

    for (const char* sent : {"A", "B", "C"}) {
        SCOPED_TRACE(sent);
        ASSERT_EQ(write(master, sent, 1), 1);
        Run("&Echo");
        EXPECT_EQ(run.Lines, std::vector<std::string>{"uart 000000" + IntToHex(static_cast<uint8_t>(sent[0]), 2)});
        EXPECT_EQ(ComHandle, -1) << "closed after the run";
    }
    EXPECT_TRUE(boxes.empty());

    ComName = dir.file("no-such-port");
    EXPECT_FALSE(OpenModuleComPort());
    for (int i = 0; i < 2; ++i) {
        Run("&Echo");
        EXPECT_TRUE(boxes.empty());
        EXPECT_EQ(run.Lines, std::vector<std::string>{"uart 00008000"});
        EXPECT_EQ(ComHandle, -1);
    }

    // Settings the open port does not take are logged; the script goes on.
    ComName = name;
    ASSERT_TRUE(OpenModuleComPort());
    const uint32_t fourBits = 9600u << 12 | 4u << 8, eightBits = 9600u << 12 | 8u << 8;
    run.Lines.clear();
    run.OnSetupUart(eightBits);
    EXPECT_TRUE(run.Lines.empty());
    run.OnSetupUart(fourBits);
    EXPECT_EQ(run.Lines, std::vector<std::string>{SerialSettingsRefusedText});
    CloseComPort(ComHandle);
    run.OnSetupUart(fourBits);
    EXPECT_EQ(run.Lines.size(), 1u) << "without a port the load has told already";
    EXPECT_TRUE(boxes.empty());
    close(master);
    close(slave);
}

TEST_F(ExecuteTest, ProcedureLookUpFailures)
{
    struct Case {
        std::string Operation, Text, Caption;
    };
    const Case cases[] = {
        {"Nothing", "Pattern not found \"Nothing\".", "Nothing"},
        {"BT|Read", "Procedure not found: : READ", "&Read"},
        {"BTNOPROC|No proc", "Procedure \"NOPROC\" not found.", "No proc"},
        {"Missing", "Procedure \"NOKEY\" not found.", "Missing"},
    };
    for (const Case& c : cases) {
        boxes.clear();
        Run(c.Operation);
        ASSERT_EQ(boxes.size(), 1u) << c.Operation;
        EXPECT_EQ(boxes[0].Text, c.Text);
        EXPECT_EQ(boxes[0].Caption, c.Caption);
        EXPECT_FALSE(view.Visible);
        EXPECT_FALSE(programmer.Lines().SupplyOn());
    }

    boxes.clear();
    CurrentChip = "Test\\Elsewhere";
    Run("Read");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, "Test\\Elsewhere  not found in device list.");
}

TEST_F(ExecuteTest, ModuleButtonNamesTheProcedure)
{
    Run("BTBACKUP|Make backup");
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(run.Caption, "BACKUP");
    EXPECT_EQ(run.ExitValue, 0x7FFFFFFFu);
}

TEST_F(ExecuteTest, CompileErrorsGoToTheErrorsWindow)
{
    InstallModule("runner.chl", "[DESCRIPTION]\nLOCATION = Test\\Runner;\n[MENU]\nREAD = \"&Read\";\n[HOST]\n"
                                "PROC READ {\n  NOSUCH = 1;\n}\n");
    Run("&Read");
    EXPECT_TRUE(boxes.empty());
    ASSERT_EQ(view.CompilerErrors.Count(), 1);
    EXPECT_EQ(view.CompilerErrors[0], "Line 7: Unknown expression \"NOSUCH\".");
    EXPECT_FALSE(view.Visible);
}

TEST_F(ExecuteTest, ARunStartedInsideARunIsRefused)
{
    view.OnLine = [&] {
        view.OnLine = nullptr;
        EXPECT_TRUE(RunInProgress());
        run.RunModuleProcedure("Backup", 8);
    };
    Run("Print texts");
    EXPECT_EQ(run.ExitValue, 1u);
    EXPECT_EQ(run.Lines.size(), 6u);
    ExpectEndedSafely();
}

// ---- pin test ----

class ExecutePinTest : public ExecuteTest {
protected:
    void SetUp() override
    {
        ExecuteTest::SetUp();
        WorkParam |= wpPinTestBeforeRun;
        testsupport::WriteFileBytes(dir.file("bmps/runner.bmp"), "BM");
    }
    TSimChip* Insert(uint8_t contact)
    {
        auto chip = std::make_unique<TLoopbackChip>(0, 1, 0x80, 0x08);
        chip->ContactLines = contact;
        return programmer.Lines().Attach(std::move(chip));
    }
};

// After the test the ground and supply lines are switched; nothing else is
// sent, so the levels of its last round (line 8 low, the others released)
// are what the procedure finds.
TEST_F(ExecutePinTest, PassingTestIsLoggedAndTheLinesAreSwitched)
{
    Insert(0xFF);
    view.OnShow = [&] {
        if (view.Shows == 2) {
            EXPECT_EQ(programmer.Lines().Latch(), 0x7F);
            EXPECT_TRUE(programmer.Lines().SupplyOn());
            EXPECT_EQ(programmer.Lines().VccLines(), 0x80);
            EXPECT_EQ(programmer.Lines().GndLines(), 0x08);
        }
    };
    Run("Backup");
    EXPECT_TRUE(view.PinTests.empty());
    EXPECT_EQ(run.Lines, (std::vector<std::string>{"Pin test OK."}));
    EXPECT_EQ(run.ExitValue, 0x7FFFFFFFu);
    ExpectEndedSafely();
}

TEST_F(ExecutePinTest, FailedTestAsksThePinTester)
{
    // No chip: the ground line never goes low.
    view.PinTesterGoesOn = false;
    Run("Backup");
    ASSERT_EQ(view.PinTests.size(), 1u);
    EXPECT_EQ(view.PinTests[0], -1);
    EXPECT_EQ(view.Picture, NativePath(dir.file("bmps/runner.bmp")));
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(run.ExitValue, 0u);
    ExpectEndedSafely();

    // A pin without contact; Continue runs the procedure anyway.
    Insert(static_cast<uint8_t>(~0x02));
    view.PinTesterGoesOn = true;
    Run("Backup");
    ASSERT_EQ(view.PinTests.size(), 2u);
    EXPECT_EQ(view.PinTests[1], 0x02);
    EXPECT_EQ(run.ExitValue, 0x7FFFFFFFu);
    ExpectEndedSafely();
}

TEST_F(ExecutePinTest, MaskedLinesAndInfoAreNotTested)
{
    Insert(static_cast<uint8_t>(~0x04));
    std::string text = testsupport::ReadFileBytes(testsupport::FixturePath("engine/run/runner.chl"));
    text.replace(text.find("VOLTAGE"), 0, "PINTEST = 11111011;\n");
    InstallModule("runner.chl", text);
    Run("Backup");
    EXPECT_TRUE(view.PinTests.empty());
    EXPECT_EQ(run.Lines, (std::vector<std::string>{"Pin test OK."}));

    programmer.Lines().RemoveChips();
    Run("Info");
    EXPECT_TRUE(view.PinTests.empty());
    EXPECT_TRUE(run.Lines.empty());
    ExpectEndedSafely();
}

TEST_F(ExecutePinTest, NoGroundPinNoTest)
{
    std::string text = testsupport::ReadFileBytes(testsupport::FixturePath("engine/run/runner.chl"));
    text.erase(text.find("GND = 4;"), 8);
    InstallModule("runner.chl", text);
    Run("Backup"); // no chip in the socket: a test would fail
    EXPECT_TRUE(view.PinTests.empty());
    EXPECT_EQ(run.ExitValue, 0x7FFFFFFFu);
    ExpectEndedSafely();
}

} // namespace
