// Shutdown of the programmer link: a chip in the socket is not left powered.
#include "app/MainStartup.h"

#include "engine/Engine.h"
#include "engine/Global.h"
#include "vprog/VirtualUsb.h"

#include "AppStateGuard.h"

#include <gtest/gtest.h>

namespace {

class StopLinkTest : public ::testing::Test {
protected:
    void SetUp() override { SetUsbTransport(std::make_unique<TVirtualUsb>(programmer)); }
    // The transport talks to `programmer`: dropped while it lives.
    void TearDown() override { SetUsbTransport(nullptr); }

    testsupport::TAppStateGuard state;
    TVirtualProgrammer programmer;
};

TEST_F(StopLinkTest, AnOpenLinkSwitchesTheSupplyOffBeforeItCloses)
{
    ASSERT_TRUE(OpenDevice());
    ASSERT_TRUE(DevicePowerOn());
    ASSERT_TRUE(programmer.Lines().SupplyOn());
    CreateHostMachine();

    StopLink();
    EXPECT_FALSE(programmer.Lines().SupplyOn());
    EXPECT_EQ(UsbOutHandle, -1);
    EXPECT_EQ(UsbTransport(), nullptr);
    EXPECT_EQ(HostMachine, nullptr);
}

TEST_F(StopLinkTest, AClosedLinkStaysClosed)
{
    StopLink();
    EXPECT_EQ(UsbOutHandle, -1);
    EXPECT_EQ(UsbTransport(), nullptr);
}

} // namespace
