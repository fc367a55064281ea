// The owner of the program-wide state: one reset back to start-up values,
// and the host machine made and freed with the name of its module.
#include "engine/ComUtils.h"
#include "engine/Engine.h"
#include "engine/Global.h"
#include "engine/uHost.h"
#include "vprog/VirtualUsb.h"

#include "ProgramStateGuard.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

TEST(GlobalState, ResetEmptiesTheListsAndRestoresTheSettings)
{
    testsupport::TProgramStateGuard state;
    ChipList = {"Test\\Chip"};
    ModuleFileList = {"chip.chl"};
    CurrentChip = "Test\\Chip";
    ModuleParameters.AddObject("COUNT", 5);
    MessageTexts = {"message"};
    LanguageTexts = {"[TAG]", "text"};
    ModuleAdapter = 1;
    HelpAvailable = true;
    WorkParam = 0;
    RecentFiles = {"a.bin"};
    ComSettings.BaudRate = 9600;

    ResetProgramState();
    EXPECT_TRUE(ChipList.Empty());
    EXPECT_TRUE(ModuleFileList.Empty());
    EXPECT_EQ(CurrentChip, "");
    EXPECT_TRUE(ModuleParameters.Empty());
    EXPECT_TRUE(MessageTexts.Empty());
    EXPECT_TRUE(LanguageTexts.Empty());
    EXPECT_EQ(ModuleAdapter, 0);
    EXPECT_FALSE(HelpAvailable);
    EXPECT_EQ(WorkParam, WorkParamDefault);
    EXPECT_TRUE(RecentFiles.Empty());
    EXPECT_EQ(ComSettings.BaudRate, 0);
    EXPECT_EQ(ComHandle, -1);
}

TEST(GlobalState, ResetFreesTheHostMachineAndClosesTheLink)
{
    testsupport::TProgramStateGuard state;
    TVirtualProgrammer programmer;
    SetUsbTransport(std::make_unique<TVirtualUsb>(programmer));
    ASSERT_TRUE(OpenDevice());
    ASSERT_TRUE(DevicePowerOn());
    CreateHostMachine();
    SetHostMachineModule("chip.chl|0123");
    UsbStopWaiting = [] { return true; };

    ResetProgramState();
    EXPECT_EQ(HostMachine, nullptr);
    EXPECT_EQ(HostMachineModule(), "");
    EXPECT_EQ(UsbOutHandle, -1);
    EXPECT_EQ(UsbInHandle, -1);
    EXPECT_EQ(UsbControlHandle, -1);
    EXPECT_EQ(UsbTransport(), nullptr);
    EXPECT_FALSE(UsbStopWaiting);
}

TEST(GlobalState, TheHostMachineIsMadeOnceAndFreedWithItsModuleName)
{
    testsupport::TProgramStateGuard state;
    EXPECT_EQ(HostMachine, nullptr);
    THost& host = CreateHostMachine();
    EXPECT_EQ(HostMachine, &host);
    EXPECT_EQ(&CreateHostMachine(), &host) << "a second call keeps the machine";
    host.LoadedModule = "chip.chl";
    SetHostMachineModule("chip.chl|0123");
    EXPECT_EQ(HostMachineModule(), "chip.chl|0123");
    EXPECT_EQ(CreateHostMachine().LoadedModule, "chip.chl");
    EXPECT_EQ(HostMachineModule(), "chip.chl|0123") << "kept while the machine is";

    FreeHostMachine();
    EXPECT_EQ(HostMachine, nullptr);
    EXPECT_EQ(HostMachineModule(), "");
    FreeHostMachine(); // nothing to free

    // A machine made afresh has compiled nothing, whoever freed the last.
    SetHostMachineModule("stale|0000");
    delete HostMachine;
    HostMachine = nullptr;
    EXPECT_EQ(CreateHostMachine().LoadedModule, "");
    EXPECT_EQ(HostMachineModule(), "");
}

TEST(GlobalState, TheGuardPutsTheStateBack)
{
    {
        testsupport::TProgramStateGuard state;
        ChipList = {"Test\\Chip"};
        UsbTimeOut = 3;
        CreateHostMachine();
    }
    EXPECT_TRUE(ChipList.Empty());
    EXPECT_EQ(UsbTimeOut, 200);
    EXPECT_EQ(HostMachine, nullptr);
}

} // namespace
