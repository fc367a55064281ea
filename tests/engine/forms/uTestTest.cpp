// The hardware test window against the virtual programmer: switching off
// however it closes or goes.
#include "Screenshot.h"
#include "engine/Engine.h"
#include "engine/Global.h"
#include "engine/forms/uTest.h"
#include "platform/MessageBox.h"
#include "vprog/VirtualUsb.h"

#include "ProgramStateGuard.h"

#include <memory>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <gtest/gtest.h>

namespace {

class HardwareTestWindowTest : public ::testing::Test {
protected:
    testsupport::TProgramStateGuard state;
    TVirtualProgrammer programmer;
    MessageBoxHandler previous;

    void SetUp() override
    {
        SetUsbTransport(std::make_unique<TVirtualUsb>(programmer));
        UsbTimeOut = 3;
        WorkParam = WorkParamDefault & ~wpIgnoreOverload;
        previous = SetMessageBoxHandler([](const std::string&, const std::string&, unsigned) { return IDOK; });
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

TEST_F(HardwareTestWindowTest, WindowSwitchesOffHoweverItCloses)
{
    TfmTest form;
    form.Test.PowerSettleMs = 0;
    form.show();
    QApplication::processEvents();
    EXPECT_EQ(form.windowTitle(), "Hardware test");
    EXPECT_TRUE(form.Label1->text().endsWith("present"));
    form.ComboBox1->setCurrentIndex(2);
    form.ComboBox1Change();
    form.PowerBox->setCurrentIndex(1);
    form.PowerBoxChange();
    const THardwareTest& t = form.Test;
    form.Image1MouseDown(X(t.Pins[7].VccZone), Y(t.Pins[7].VccZone));
    form.Image1MouseDown(X(t.Pins[3].GndZone), Y(t.Pins[3].GndZone));
    form.Image1MouseDown(X(t.Pins[1].LevelZone), Y(t.Pins[1].LevelZone));
    form.MyIdle();
    EXPECT_TRUE(t.InputsKnown);
    SaveScreenshot(form, "hardwaretest");
    EXPECT_TRUE(Lines().SupplyOn());
    // The close box, not the Close button.
    form.reject();
    QApplication::processEvents();
    EXPECT_FALSE(Lines().SupplyOn());
    EXPECT_EQ(Lines().VccLines(), 0);
    EXPECT_EQ(Lines().GndLines(), 0);
    EXPECT_EQ(UsbOutHandle, -1);

    // Shown again: a fresh start with every pin free.
    form.show();
    QApplication::processEvents();
    EXPECT_EQ(form.PowerBox->currentIndex(), 0);
    EXPECT_EQ(form.Test.Pins[7].State, psFree);
    SaveScreenshot(form, "hardwaretest_off");
    form.close();
}

TEST_F(HardwareTestWindowTest, WindowDestroyedWhileShownSwitchesOff)
{
    auto* owner = new QWidget;
    auto* form = new TfmTest(owner);
    form->Test.PowerSettleMs = 0;
    form->show();
    QApplication::processEvents();
    form->PowerBox->setCurrentIndex(1);
    form->PowerBoxChange();
    ASSERT_TRUE(Lines().SupplyOn());
    delete owner;
    EXPECT_FALSE(Lines().SupplyOn());
    EXPECT_EQ(UsbOutHandle, -1);
}

} // namespace
