#include "engine/uTestModel.h"

#include "engine/Engine.h"
#include "engine/Global.h"
#include "engine/LanguageTexts.h"
#include "engine/uExecuteLock.h"
#include "platform/MessageBox.h"
#include "platform/Pump.h"
#include "platform/SysUtils.h"

namespace {

// Areas and zones of pins 1 to 8 on the socket picture: pins 1 to 4 down
// the left side, 5 to 8 up the right side.
struct TPinZones {
    TZone Area, Vcc, Gnd, Level, Input;
};
constexpr TPinZones PinTable[8] = {
    {{8, 27, 101, 57}, {46, 33, 62, 50}, {14, 33, 30, 50}, {78, 33, 94, 50}, {120, 31, 138, 49}},
    {{8, 60, 101, 90}, {46, 66, 62, 83}, {14, 66, 30, 83}, {78, 66, 94, 83}, {120, 64, 138, 82}},
    {{8, 93, 101, 123}, {46, 99, 62, 116}, {14, 99, 30, 116}, {78, 99, 94, 116}, {120, 97, 138, 115}},
    {{8, 126, 101, 156}, {46, 132, 62, 149}, {14, 132, 30, 149}, {78, 132, 94, 149}, {120, 130, 138, 148}},
    {{249, 126, 342, 156}, {287, 132, 303, 149}, {319, 132, 335, 149}, {255, 132, 271, 149}, {210, 130, 228, 148}},
    {{249, 93, 342, 123}, {287, 99, 303, 116}, {319, 99, 335, 116}, {255, 99, 271, 116}, {210, 97, 228, 115}},
    {{249, 60, 342, 90}, {287, 66, 303, 83}, {319, 66, 335, 83}, {255, 66, 271, 83}, {210, 64, 228, 82}},
    {{249, 27, 342, 57}, {287, 33, 303, 50}, {319, 33, 335, 50}, {255, 33, 271, 50}, {210, 31, 228, 49}},
};

} // namespace

THardwareTest::THardwareTest()
{
    for (size_t i = 0; i < Pins.size(); ++i) {
        Pins[i].Area = PinTable[i].Area;
        Pins[i].VccZone = PinTable[i].Vcc;
        Pins[i].GndZone = PinTable[i].Gnd;
        Pins[i].LevelZone = PinTable[i].Level;
        Pins[i].InputZone = PinTable[i].Input;
    }
}

void THardwareTest::Failed(bool disablePanel)
{
    // The box pumps messages, and with them the idle rounds: the state must
    // say "failed" before it shows, or every round would open another box.
    if (disablePanel)
        PanelEnabled = false;
    else
        ImageEnabled = false;
    ShowMessageBox(MessageText(msgProgrammerNotPresent), "USB Error", MB_OK | MB_ICONERROR);
}

bool THardwareTest::FormShow()
{
    Caption = PlainCaption;
    for (TTestPin& pin : Pins) {
        pin.State = psFree;
        pin.Level = 0;
    }
    Vcc = Gnd = 0;
    Levels = 0;
    PowerOn = false;
    VoltageIndex = 0;
    ImageEnabled = false;
    InputsKnown = false;
    IdleCountdown = StatusDelayRounds;
    // Opening the link would close it under a running procedure.
    Blocked = !LinkFreeForWindow();
    if (Blocked) {
        StatusText = RunInProgressText();
        StatusError = true;
        PanelEnabled = false;
        return false;
    }
    uint8_t serial[6];
    if (OpenDevice() && ReadSerialNumber(serial)) {
        StatusText = "Tarku USB s/n ";
        for (uint8_t b : serial)
            StatusText += IntToHex(b, 2);
        StatusText += " present";
        StatusError = false;
        PanelEnabled = true;
    } else {
        StatusText = UsbInUse() ? std::string(UsbInUseText) : MessageText(msgProgrammerNotPresent);
        StatusError = true;
        PanelEnabled = false;
    }
    return true;
}

void THardwareTest::FormClose()
{
    if (!Blocked && UsbOutHandle != -1) {
        // However the window goes, nothing stays powered or switched.
        DevicePowerOff();
        SetVccPins(0);
        SetGndPins(0);
        SetVoltageCode(0);
        CloseDevice();
    }
    PowerOn = false;
    ImageEnabled = false;
    PanelEnabled = false;
}

void THardwareTest::PowerBoxChange(bool on)
{
    PowerOn = on;
    if (!on) {
        ImageEnabled = false;
        if (!DevicePowerOff())
            Failed(false);
        return;
    }
    if (!SetVoltageCode(VoltageCode(VoltageIndex)) || !DevicePowerOn() || !SetVccPins(0) || !SetGndPins(0)) {
        Failed(false);
        return;
    }
    Vcc = Gnd = 0;
    // The lines were all freed: the pictures must say so.
    for (TTestPin& pin : Pins)
        pin.State = psFree;
    PumpingSleep(PowerSettleMs);
    ImageEnabled = true;
}

void THardwareTest::ComboBox1Change(int index)
{
    VoltageIndex = index;
    if (!SetVoltageCode(VoltageCode(index)))
        Failed(true);
}

int THardwareTest::Image1MouseDown(int x, int y)
{
    if (!ImageEnabled)
        return -1;
    for (int i = 0; i < 8; ++i) {
        TTestPin& pin = Pins[static_cast<size_t>(i)];
        if (!pin.Area.Contains(x, y))
            continue;
        const uint8_t m = static_cast<uint8_t>(1u << i);
        if (pin.VccZone.Contains(x, y)) {
            if (pin.State == psSupply) {
                pin.State = psFree;
                Vcc &= static_cast<uint8_t>(~m);
                SetVccPins(Vcc);
            } else if (pin.State == psFree) {
                pin.Level = m;
                pin.State = psSupply;
                Gnd &= static_cast<uint8_t>(~m);
                SetGndPins(Gnd);
                Levels |= m;
                SetOutputLevels(Levels);
                Vcc |= m;
                SetVccPins(Vcc);
            }
        } else if (pin.GndZone.Contains(x, y)) {
            if (pin.State == psGround) {
                pin.State = psFree;
                Gnd &= static_cast<uint8_t>(~m);
                SetGndPins(Gnd);
            } else if (pin.State == psFree) {
                pin.Level = 0;
                pin.State = psGround;
                Vcc &= static_cast<uint8_t>(~m);
                SetVccPins(Vcc);
                Levels &= static_cast<uint8_t>(~m);
                SetOutputLevels(Levels);
                Gnd |= m;
                SetGndPins(Gnd);
            }
        } else if (pin.LevelZone.Contains(x, y) && pin.State == psFree) {
            pin.Level ^= m;
            Levels = pin.Level ? static_cast<uint8_t>(Levels | m) : static_cast<uint8_t>(Levels & ~m);
            SetOutputLevels(Levels);
        }
        return i;
    }
    return -1;
}

void THardwareTest::MyIdle()
{
    // Device reads and message boxes pump messages, which may run the next
    // idle round before this one ended: one round at a time.
    if (UsbOutHandle == -1 || !PanelEnabled || inIdle_)
        return;
    inIdle_ = true;
    Idle();
    inIdle_ = false;
}

void THardwareTest::Idle()
{
    if (!PowerOn) {
        IdleCountdown = StatusDelayRounds;
    } else if (IdleCountdown > 0) {
        --IdleCountdown;
    } else {
        uint8_t status = 0;
        if (!ReadDeviceStatus(status)) {
            DevicePowerOff();
            PowerOn = false;
            ImageEnabled = false;
            ShowMessageBox(MessageText(msgProgrammerNotPresent), "Morvane", MB_OK | MB_ICONWARNING);
        } else if (status != 0) {
            Caption = PlainCaption;
        } else if ((WorkParam & wpIgnoreOverload) != 0) {
            Caption = PlainCaption + " - OVERLOAD !!!";
        } else {
            DevicePowerOff();
            PowerOn = false;
            ImageEnabled = false;
            ShowMessageBox(MessageText(msgPowerOverload), "Morvane", MB_OK | MB_ICONWARNING);
        }
    }
    uint8_t b = 0;
    if (!DeviceWriteByte(6) || DeviceReadByte(b) != 0) {
        InputsKnown = false;
        Failed(true);
        return;
    }
    Inputs = b;
    InputsKnown = true;
}
