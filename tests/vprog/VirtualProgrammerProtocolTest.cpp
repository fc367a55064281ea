// Every command of the link against the virtual programmer, in this process
// and in a second process over FIFOs; device procedures compiled from a
// [DEVICE] script exchange bytes with the host.
#include "vprog/Socket.h"
#include "vprog/VirtualUsb.h"
#include "vprog/VprogServer.h"

#include "engine/Engine.h"
#include "engine/EnginePipes.h"
#include "engine/Global.h"
#include "engine/uCompiler.h"

#include "ProgramStateGuard.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

namespace {

using Bytes = std::vector<uint8_t>;

const char* const DeviceScript[] = {
    "[DEVICE]",
    "VAR A, B, N;",
    "// Echoes every byte plus one until a 0 comes.",
    "PROC ECHO {",
    "  WHILE {",
    "    A = USB;",
    "    IF (A = 0) {",
    "      RETURN;",
    "    }",
    "    B = A + 1;",
    "    USB = B;",
    "  }",
    "}",
    "// Sends 0 .. N-1 for an N from the host.",
    "PROC COUNT {",
    "  N = USB;",
    "  A = 0;",
    "  WHILE (A < N) {",
    "    USB = A;",
    "    A++;",
    "  }",
    "}",
    "PROC BUS {",
    "  BUSINIT(1,2,3,1,1);",
    "}",
};

const TCompiler& Device()
{
    static const TCompiler compiled = [] {
        TCompiler c;
        for (const char* line : DeviceScript)
            c.Lines.Add(line);
        c.Compile();
        return c;
    }();
    return compiled;
}

uint16_t ProcAddress(const std::string& name)
{
    const TStringList& p = Device().ProcAddresses;
    for (int i = 0; i + 1 < p.Count(); i += 2)
        if (p[i] == name)
            return static_cast<uint16_t>(std::stoi(p[i + 1]));
    ADD_FAILURE() << "no procedure " << name;
    return 0;
}

enum class TLinkKind { InProcess, Fifo };

volatile sig_atomic_t serverStop = 0;
void StopServer(int) { serverStop = 1; }

class LinkProtocolTest : public ::testing::TestWithParam<TLinkKind> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Device().Errors.Empty()) << Device().Errors.Text();
        if (GetParam() == TLinkKind::InProcess) {
            programmer = std::make_unique<TVirtualProgrammer>();
            SetUsbTransport(std::make_unique<TVirtualUsb>(*programmer));
            return;
        }
        StartServer();
        SetUsbTransport(std::make_unique<TEnginePipes>(dir.path()));
        UsbTimeOut = 1000;
    }
    void TearDown() override
    {
        SetUsbTransport(nullptr);
        StopServerProcess();
    }

    void StartServer()
    {
        // The tests see only what they set up: an empty socket.
        TSocketSetup empty;
        empty.Chip.clear();
        const std::string socketFile = dir.file("empty.ini");
        ASSERT_TRUE(SaveSocketSetup(socketFile, empty));
        server = fork();
        ASSERT_GE(server, 0);
        if (server == 0) {
            // A test that dies must not leave its server behind: it would
            // hold the test's output open and the test runner waiting.
            prctl(PR_SET_PDEATHSIG, SIGKILL);
            // The vprog tool when the build made it, else the same server
            // function in this child.
            const std::string tool = (std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path() /
                                      "vprog" / "vprog").string();
            if (access(tool.c_str(), X_OK) == 0)
                execl(tool.c_str(), tool.c_str(), dir.path().c_str(), socketFile.c_str(), static_cast<char*>(nullptr));
            signal(SIGTERM, StopServer);
            TVirtualProgrammer p;
            _exit(ServeVirtualProgrammer(p, dir.path(), &serverStop));
        }
        // Ready once the server holds both FIFOs the link writes open for
        // reading (it opens them one after the other).
        for (int i = 0; i < 2000; ++i) {
            TEnginePipes probe(dir.path());
            const int command = probe.Open("01");
            const int control = probe.Open("02");
            probe.Close(command);
            probe.Close(control);
            if (command >= 0 && control >= 0)
                return;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        FAIL() << "the vprog server did not start";
    }
    void StopServerProcess()
    {
        if (server <= 0)
            return;
        kill(server, SIGTERM);
        // A server that does not stop in time is killed, never waited for
        // without end.
        int status = 0;
        for (int i = 0; i < 2000 && waitpid(server, &status, WNOHANG) == 0; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (waitpid(server, &status, WNOHANG) == 0) {
            kill(server, SIGKILL);
            waitpid(server, &status, 0);
        }
        server = -1;
    }

    bool InProcess() const { return GetParam() == TLinkKind::InProcess; }

    int Upload()
    {
        return UploadCode(Device().Code, Device().CodeLength);
    }

    testsupport::TProgramStateGuard state;
    testsupport::TempDir dir;
    pid_t server = -1;
    std::unique_ptr<TVirtualProgrammer> programmer;
};

TEST_P(LinkProtocolTest, FirmwareInformationAndSerialNumber)
{
    TStringList lines;
    ASSERT_TRUE(ReadFirmwareInfo(lines));
    ASSERT_EQ(lines.Count(), 2);
    EXPECT_EQ(lines[0], "Tarku virtual programmer");
    uint8_t serial[6] = {};
    ASSERT_TRUE(ReadSerialNumber(serial));
    EXPECT_EQ(Bytes(serial, serial + 6),
              Bytes(TVirtualProgrammer::SerialNumber.begin(), TVirtualProgrammer::SerialNumber.end()));
    CloseDevice();
}

TEST_P(LinkProtocolTest, SupplyLinesAndStatus)
{
    ASSERT_TRUE(OpenDevice());
    uint8_t status = 0xFF;
    ASSERT_TRUE(ReadDeviceStatus(status));
    EXPECT_EQ(status, 0) << "no supply";
    ASSERT_TRUE(SetDevicePower(0x80, 0x08, 8));
    ASSERT_TRUE(ReadDeviceStatus(status));
    EXPECT_NE(status, 0);
    if (InProcess()) {
        EXPECT_EQ(programmer->Lines().VoltageCode(), 6);
        EXPECT_EQ(programmer->Lines().VccLines(), 0x80);
        EXPECT_EQ(programmer->Lines().GndLines(), 0x08);
    }
    ASSERT_TRUE(SetVccPins(0x88)); // line 4 on supply and ground at once
    ASSERT_TRUE(ReadDeviceStatus(status));
    EXPECT_EQ(status, 0) << "overload";
    ASSERT_TRUE(SetVccPins(0x80));
    ASSERT_TRUE(DevicePowerOff());
    ASSERT_TRUE(ReadDeviceStatus(status));
    EXPECT_EQ(status, 0);
    CloseDevice();
}

TEST_P(LinkProtocolTest, AdapterPacketIsAcknowledged)
{
    ModuleAdapter = 1;
    ASSERT_TRUE(OpenDevice());
    EXPECT_TRUE(SetDevicePower(0x80, 0x08, 0));
    uint8_t status = 0;
    ASSERT_TRUE(ReadDeviceStatus(status));
    EXPECT_NE(status, 0) << "the packet switched the supply on";
    if (InProcess()) {
        EXPECT_EQ(programmer->AdapterSetting(), 0xF7);
        EXPECT_EQ(programmer->Lines().VoltageCode(), 15);
    }
    CloseDevice();
}

TEST_P(LinkProtocolTest, UploadAndModuleName)
{
    ASSERT_TRUE(OpenDevice());
    ASSERT_EQ(Upload(), 0);
    if (InProcess()) {
        EXPECT_TRUE(std::equal(Device().Code.begin(), Device().Code.end(), programmer->Cpu().Code().begin()));
    }
    CloseDevice();
    std::string name = "x";
    ASSERT_TRUE(ReadModuleName(name));
    EXPECT_EQ(name, "") << "nothing stored yet";
    ASSERT_TRUE(StoreModuleName("Serial\\24Cxx.chl"));
    ASSERT_TRUE(ReadModuleName(name));
    EXPECT_EQ(name, "Serial\\24Cxx.chl");
    EXPECT_TRUE(StoreModuleName(std::string(254, 'L')));
    ASSERT_TRUE(ReadModuleName(name));
    EXPECT_EQ(name, std::string(254, 'L'));
    // Longer than the firmware keeps: stored cut, as the read shows.
    EXPECT_TRUE(StoreModuleName(std::string(300, 'M')));
    ASSERT_TRUE(ReadModuleName(name));
    EXPECT_EQ(name, std::string(254, 'M'));
}

TEST_P(LinkProtocolTest, DeviceProcedureExchangesBytes)
{
    ASSERT_TRUE(OpenDevice());
    ASSERT_EQ(Upload(), 0);
    ASSERT_TRUE(RunDeviceProcedure(ProcAddress("ECHO")));
    for (uint8_t b : {1, 41, 254}) {
        ASSERT_TRUE(DeviceWriteByte(b));
        uint8_t r = 0;
        ASSERT_EQ(DeviceReadByte(r), 0);
        EXPECT_EQ(r, static_cast<uint8_t>(b + 1));
    }
    // The 0 ends the procedure; what follows in the same packet is dropped,
    // never taken as a command (7 would start an upload).
    BeginBlock();
    for (uint8_t b : {5, 0, 7, 3})
        DeviceWriteByte(b);
    EndBlock();
    uint8_t r = 0;
    ASSERT_EQ(DeviceReadByte(r), 0);
    EXPECT_EQ(r, 6);
    uint8_t status = 0xFF;
    ASSERT_TRUE(ReadDeviceStatus(status)) << "back in command mode";

    ASSERT_TRUE(RunDeviceProcedure(ProcAddress("COUNT")));
    ASSERT_TRUE(DeviceWriteByte(200));
    for (int i = 0; i < 200; ++i) {
        ASSERT_EQ(DeviceReadByte(r), 0) << i;
        ASSERT_EQ(r, i);
    }
    UsbTimeOut = 20;
    EXPECT_EQ(DeviceReadByte(r), 1) << "the procedure ended";
    CloseDevice();
}

TEST_P(LinkProtocolTest, FaultingProcedureLeavesTheFirmwareUsable)
{
    ASSERT_TRUE(OpenDevice());
    ASSERT_EQ(Upload(), 0);
    ASSERT_TRUE(RunDeviceProcedure(ProcAddress("BUS")));
    const int timeOut = UsbTimeOut;
    UsbTimeOut = 20;
    uint8_t r;
    EXPECT_EQ(DeviceReadByte(r), 1);
    if (InProcess()) {
        EXPECT_NE(programmer->LastFault().find("Unsupported instruction BUSINIT"), std::string::npos);
        // The link hands the fault on to whoever reports the run.
        EXPECT_EQ(UsbDeviceFault(), programmer->LastFault());
    }
    // A busy machine may need more than the short wait to answer.
    UsbTimeOut = timeOut;
    uint8_t status = 0xFF;
    EXPECT_TRUE(ReadDeviceStatus(status));
    CloseDevice();
}

TEST_P(LinkProtocolTest, PinTestWithAnEmptySocket)
{
    ASSERT_TRUE(OpenDevice());
    ASSERT_TRUE(SetDevicePower(0, 0, 0));
    EXPECT_EQ(TestPins(0x08), -1);
    CloseDevice();
}

TEST_P(LinkProtocolTest, ClosingResetsARunningProcedure)
{
    ASSERT_TRUE(OpenDevice());
    ASSERT_EQ(Upload(), 0);
    ASSERT_TRUE(RunDeviceProcedure(ProcAddress("ECHO")));
    CloseDevice();
    ASSERT_TRUE(OpenDevice());
    uint8_t status = 0xFF;
    EXPECT_TRUE(ReadDeviceStatus(status)) << "[9, 1] is a command again, not data for the procedure";
    CloseDevice();
}

INSTANTIATE_TEST_SUITE_P(Links, LinkProtocolTest, ::testing::Values(TLinkKind::InProcess, TLinkKind::Fifo),
                         [](const auto& info) {
                             return info.param == TLinkKind::InProcess ? std::string("InProcess")
                                                                       : std::string("Fifo");
                         });

class FifoLinkTest : public LinkProtocolTest {};

TEST_P(FifoLinkTest, AbsentOrVanishedServer)
{
    StopServerProcess();
    EXPECT_FALSE(OpenDevice()) << "FIFOs nobody serves";
    StartServer();
    ASSERT_TRUE(OpenDevice());
    StopServerProcess();
    UsbTimeOut = 30;
    const auto start = std::chrono::steady_clock::now();
    uint8_t status = 0;
    EXPECT_FALSE(ReadDeviceStatus(status));
    EXPECT_FALSE(RunDeviceProcedure(0));
    std::string name;
    EXPECT_FALSE(ReadModuleName(name));
    EXPECT_EQ(UploadCode(Device().Code, 10), -1);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

TEST_P(FifoLinkTest, FolderWithoutPipes)
{
    SetUsbTransport(std::make_unique<TEnginePipes>(dir.path() + "/missing"));
    EXPECT_FALSE(OpenDevice());
}

INSTANTIATE_TEST_SUITE_P(Fifo, FifoLinkTest, ::testing::Values(TLinkKind::Fifo));

} // namespace
