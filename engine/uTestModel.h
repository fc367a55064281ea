#pragma once
// What the hardware test window does, apart from its widgets: the eight pin
// records with their click zones, the supply, voltage and line masks it
// sends, and the status and input polling of its idle rounds.
#include <array>
#include <cstdint>
#include <string>

struct TZone {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    bool Contains(int x, int y) const { return x >= Left && x < Right && y >= Top && y < Bottom; }
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
};

enum TPinState : int { psFree = 0, psGround = 1, psSupply = 2 };

struct TTestPin {
    TZone Area, VccZone, GndZone, LevelZone, InputZone;
    int State = psFree;
    uint8_t Level = 0; // the line's output level bit (its mask bit or 0)
};

class THardwareTest {
public:
    THardwareTest();

    static constexpr int ImageWidth = 358;
    static constexpr int ImageHeight = 173;
    // Idle rounds after "On" before the power status is first read.
    static constexpr int StatusDelayRounds = 200;

    std::array<TTestPin, 8> Pins;
    uint8_t Levels = 0;
    uint8_t Vcc = 0;
    uint8_t Gnd = 0;
    int IdleCountdown = StatusDelayRounds;
    // Milliseconds the supply settles after "On" (tests shorten it).
    int PowerSettleMs = 200;

    // What the window shows.
    std::string PlainCaption = "Hardware test";
    std::string Caption = PlainCaption;
    std::string StatusText;     // Label1
    bool StatusError = false;   // red instead of navy
    bool PanelEnabled = false;  // Panel3: the controls can be used
    bool ImageEnabled = false;  // Image1: the socket reacts to clicks
    bool PowerOn = false;       // PowerBox
    int VoltageIndex = 0;       // ComboBox1
    uint8_t Inputs = 0;         // last input levels read
    bool InputsKnown = false;
    // A run owned the link when the window opened: the window does nothing.
    bool Blocked = false;

    // Opening: the link, the serial number and the start values. False when
    // the window must close again at once (a run owns the link).
    bool FormShow();
    // Every way of closing: supply and lines off, the link closed.
    void FormClose();

    void PowerBoxChange(bool on);
    void ComboBox1Change(int index);
    // A click on the socket picture; the pin clicked, or -1.
    int Image1MouseDown(int x, int y);
    // One idle round.
    void MyIdle();

private:
    void Failed(bool disablePanel);
    void Idle();
    bool inIdle_ = false;
};
