// The hardware test's logic against the virtual programmer: clicks on the
// socket, supply and voltage, the idle rounds, a lost link and a run that
// owns the link.
#include "engine/Engine.h"
#include "engine/EnginePipes.h"
#include "engine/Global.h"
#include "engine/uExecuteLock.h"
#include "engine/uTestModel.h"
#include "platform/MessageBox.h"
#include "vprog/VirtualUsb.h"

#include "OtherProgram.h"
#include "ProgramStateGuard.h"
#include "TestSupport.h"
#include "VprogTool.h"

#include <memory>

#include <gtest/gtest.h>

namespace {

class HardwareTestTest : public ::testing::Test {
protected:
    testsupport::TProgramStateGuard state;
    TVirtualProgrammer programmer;
    std::vector<std::string> boxes;
    MessageBoxHandler previous;

    void SetUp() override
    {
        SetUsbTransport(std::make_unique<TVirtualUsb>(programmer));
        UsbTimeOut = 3;
        WorkParam = WorkParamDefault & ~wpIgnoreOverload;
        previous = SetMessageBoxHandler([this](const std::string& text, const std::string& caption, unsigned) {
            boxes.push_back(caption + ": " + text);
            return IDOK;
        });
    }
    void TearDown() override
    {
        SetMessageBoxHandler(previous);
        // The transport reaches programmer, which goes before state.
        SetUsbTransport(nullptr);
    }
    TLineModel& Lines() { return programmer.Lines(); }
};

// Centre of a zone.
int X(const TZone& z) { return (z.Left + z.Right) / 2; }
int Y(const TZone& z) { return (z.Top + z.Bottom) / 2; }

TEST_F(HardwareTestTest, ClicksSwitchTheLines)
{
    THardwareTest t;
    t.PowerSettleMs = 0;
    ASSERT_TRUE(t.FormShow());
    EXPECT_EQ(t.StatusText, "Tarku USB s/n 565000000001 present");
    EXPECT_TRUE(t.PanelEnabled);
    EXPECT_FALSE(t.ImageEnabled);
    // No clicks while the supply is off.
    EXPECT_EQ(t.Image1MouseDown(X(t.Pins[7].VccZone), Y(t.Pins[7].VccZone)), -1);

    t.ComboBox1Change(8);
    EXPECT_EQ(Lines().VoltageCode(), 6);
    t.PowerBoxChange(true);
    EXPECT_TRUE(Lines().SupplyOn());
    EXPECT_TRUE(t.ImageEnabled);

    TTestPin& p8 = t.Pins[7];
    TTestPin& p4 = t.Pins[3];
    EXPECT_EQ(t.Image1MouseDown(X(p8.VccZone), Y(p8.VccZone)), 7);
    EXPECT_EQ(p8.State, psSupply);
    EXPECT_EQ(Lines().VccLines(), 0x80);
    EXPECT_EQ(Lines().Latch() & 0x80, 0x80);
    // Ground on a pin that is on the supply changes nothing.
    t.Image1MouseDown(X(p8.GndZone), Y(p8.GndZone));
    EXPECT_EQ(p8.State, psSupply);
    EXPECT_EQ(Lines().GndLines(), 0);

    t.Image1MouseDown(X(p4.GndZone), Y(p4.GndZone));
    EXPECT_EQ(p4.State, psGround);
    EXPECT_EQ(Lines().GndLines(), 0x08);
    // A level click on a switched pin does nothing; on a free pin it toggles.
    const uint8_t latch = Lines().Latch();
    t.Image1MouseDown(X(p4.LevelZone), Y(p4.LevelZone));
    EXPECT_EQ(Lines().Latch(), latch);
    TTestPin& p1 = t.Pins[0];
    t.Image1MouseDown(X(p1.LevelZone), Y(p1.LevelZone));
    EXPECT_EQ(p1.Level, 0x01);
    EXPECT_EQ(Lines().Latch() & 0x01, 0x01);
    t.Image1MouseDown(X(p1.LevelZone), Y(p1.LevelZone));
    EXPECT_EQ(Lines().Latch() & 0x01, 0);

    // Freeing the supply pin again.
    t.Image1MouseDown(X(p8.VccZone), Y(p8.VccZone));
    EXPECT_EQ(p8.State, psFree);
    EXPECT_EQ(Lines().VccLines(), 0);

    // Between the pins nothing is hit.
    EXPECT_EQ(t.Image1MouseDown(180, 5), -1);

    t.FormClose();
    EXPECT_FALSE(Lines().SupplyOn());
    EXPECT_EQ(Lines().GndLines(), 0);
    EXPECT_EQ(Lines().VoltageCode(), 0) << "the supply voltage code 0, not the first voltage's";
    EXPECT_EQ(UsbOutHandle, -1);
}

TEST_F(HardwareTestTest, IdleRoundsReadInputsAndStatusAfterTheDelay)
{
    THardwareTest t;
    t.PowerSettleMs = 0;
    ASSERT_TRUE(t.FormShow());
    t.MyIdle();
    EXPECT_TRUE(t.InputsKnown);
    EXPECT_EQ(t.Inputs, 0xFF);
    t.PowerBoxChange(true);
    Lines().SetForcedOverload(true);
    for (int i = 0; i < THardwareTest::StatusDelayRounds; ++i)
        t.MyIdle();
    EXPECT_TRUE(boxes.empty()); // not read yet
    EXPECT_TRUE(t.PowerOn);
    t.MyIdle();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], "Morvane: Power overload");
    EXPECT_FALSE(t.PowerOn);
    EXPECT_FALSE(Lines().SupplyOn());

    // Ignored overload: only the caption says so.
    boxes.clear();
    WorkParam |= wpIgnoreOverload;
    t.PowerBoxChange(true);
    for (int i = 0; i <= THardwareTest::StatusDelayRounds; ++i)
        t.MyIdle();
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(t.Caption, "Hardware test - OVERLOAD !!!");
    EXPECT_TRUE(Lines().SupplyOn());
    Lines().SetForcedOverload(false);
    t.MyIdle();
    EXPECT_EQ(t.Caption, "Hardware test");
    t.FormClose();
    EXPECT_FALSE(Lines().SupplyOn());
}

TEST_F(HardwareTestTest, NoProgrammerAndALinkThatGoes)
{
    SetUsbTransport(nullptr);
    THardwareTest t;
    ASSERT_TRUE(t.FormShow());
    EXPECT_EQ(t.StatusText, "TarkuUSB not present");
    EXPECT_TRUE(t.StatusError);
    EXPECT_FALSE(t.PanelEnabled);
    t.MyIdle();
    EXPECT_TRUE(boxes.empty());
    t.FormClose();
}

// The virtual programmer behind a link whose replies can be cut.
class TCutUsb : public TEngineTransport {
public:
    explicit TCutUsb(TVirtualProgrammer& p) : inner_(p) {}
    bool RepliesLost = false;
    int Open(const std::string& name) override { return inner_.Open(name); }
    void Close(int handle) override { inner_.Close(handle); }
    int Write(int handle, const uint8_t* data, int count) override { return inner_.Write(handle, data, count); }
    int Read(int handle, uint8_t* data, int count) override
    {
        return RepliesLost ? -1 : inner_.Read(handle, data, count);
    }
    bool WaitingHelps() const override { return false; }

private:
    TVirtualUsb inner_;
};

TEST_F(HardwareTestTest, ALostLinkShowsOneBoxThoughTheBoxRunsIdleRounds)
{
    auto transport = std::make_unique<TCutUsb>(programmer);
    TCutUsb& usb = *transport;
    SetUsbTransport(std::move(transport));
    THardwareTest t;
    t.PowerSettleMs = 0;
    ASSERT_TRUE(t.FormShow());
    t.PowerBoxChange(true);
    // A real box pumps messages, and the window's timer runs idle rounds
    // while it is up.
    int depth = 0;
    SetMessageBoxHandler([&](const std::string& text, const std::string& caption, unsigned) {
        boxes.push_back(caption + ": " + text);
        if (++depth < 20)
            t.MyIdle();
        return IDOK;
    });
    usb.RepliesLost = true;
    t.MyIdle();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], "USB Error: TarkuUSB not present");
    EXPECT_FALSE(t.PanelEnabled);
    usb.RepliesLost = false;
    t.FormClose();
    EXPECT_FALSE(Lines().SupplyOn());
}

TEST_F(HardwareTestTest, AProgrammerHeldByAnotherProgramIsSaidToBeInUse)
{
    testsupport::TempDir pipes;
    vprogtool::TVprogTool tool({pipes.path()});
    ASSERT_NE(tool.ReadyLine(), "");
    SetUsbTransport(std::make_unique<TEnginePipes>(pipes.path()));
    otherprogram::TOtherProgram other(pipes.path());
    ASSERT_TRUE(other.Holds());
    THardwareTest t;
    ASSERT_TRUE(t.FormShow());
    EXPECT_EQ(t.StatusText, UsbInUseText);
    EXPECT_TRUE(t.StatusError);
    EXPECT_FALSE(t.PanelEnabled);
    t.FormClose();
    EXPECT_TRUE(other.LetGo());
}

TEST_F(HardwareTestTest, RefusedWhileARunOwnsTheLink)
{
    TRunLock running;
    THardwareTest t;
    EXPECT_FALSE(t.FormShow());
    EXPECT_EQ(UsbOutHandle, -1);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_FALSE(t.PanelEnabled);
    t.FormClose();
    EXPECT_EQ(UsbOutHandle, -1);
}

} // namespace
