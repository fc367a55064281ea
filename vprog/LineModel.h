#pragma once
// The programmer's eight lines and the socket behind them. Lines are
// wired-AND with pull-ups: a line reads high unless the output latch drives
// it low, it is switched to ground, a chip pulls it low, or a line it is
// shorted to is low. A line switched to the supply while the supply is on
// reads high whatever else drives it. A chip in the socket also pulls its
// ground pins low whenever one of its other pins is low (its protection
// diodes), which is what the pin contact test relies on.
#include "vprog/SimChip.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class TLineModel {
public:
    TLineModel();
    ~TLineModel();

    void SetSupply(bool on);
    bool SupplyOn() const { return supplyOn_; }
    void SetVoltageCode(uint8_t code);
    uint8_t VoltageCode() const { return voltageCode_; }
    // The supply voltage of the code in tenths of a volt; 0 for a code the
    // supply does not have.
    static int SupplyTenths(uint8_t code);
    void SetVccLines(uint8_t lines);
    uint8_t VccLines() const { return vccLines_; }
    void SetGndLines(uint8_t lines);
    uint8_t GndLines() const { return gndLines_; }
    // Output latch: a 0 bit drives its line low, a 1 bit releases it.
    void SetLatch(uint8_t latch)
    {
        if (latch == latch_)
            return;
        latch_ = latch;
        Changed();
    }
    uint8_t Latch() const { return latch_; }

    // Socket faults a test can set up: lines wired together, and an
    // overload the supply reports whatever the lines do.
    void SetShortedLines(uint8_t lines);
    void SetForcedOverload(bool on) { forcedOverload_ = on; }
    // A line switched to supply and ground at once, or a forced overload.
    bool Overload() const;

    // Owned by the socket from now on; the pointer stays valid until
    // RemoveChips. Its pins (ContactLines, VccLines, GndLines) are set
    // before it is attached.
    template <class T>
    T* Attach(std::unique_ptr<T> chip)
    {
        T* raw = chip.get();
        AttachChip(std::move(chip));
        return raw;
    }
    void RemoveChips();

    // Resolved line levels (bit i = line i+1).
    uint8_t Levels() const { return levels_; }

    // Virtual time in microseconds.
    uint64_t Now() const { return now_; }
    void Advance(uint64_t us);

private:
    struct TSlot {
        std::unique_ptr<TSimChip> Chip;
        bool Powered = false;
        bool FollowsLevels = true; // the chip's PullsFollowLevels
        // The chip's contact lines and its grounds among them, taken with
        // its power.
        uint8_t Contact = 0;
        uint8_t GndContact = 0;
    };

    void AttachChip(std::unique_ptr<TSimChip> chip);
    // The levels, given the lines that the chips answering from their
    // state pull low.
    uint8_t Resolve(uint8_t statePulls) const;
    // The same, remembered: while no chip follows the levels, the answer
    // depends only on the latch and the state pulls until the wiring
    // changes, and a bus loop keeps going through the same few of them.
    uint8_t Settled(uint8_t statePulls);
    // Something the chips may react to changed: let them settle. With
    // `wiring`, the supply, the supply or ground lines, the shorts or the
    // chips changed: each chip's power is worked out again first.
    void Changed(bool wiring = false);

    struct TSettled {
        uint32_t Key = 0; // 0x10000, the state pulls and the latch; 0: empty
        uint8_t Levels = 0;
    };
    std::array<TSettled, 16> settled_{};
    // What the chips answering from their state pulled after the last
    // change.
    uint8_t statePulls_ = 0;

    bool supplyOn_ = false;
    uint8_t voltageCode_ = 15;
    uint8_t vccLines_ = 0;
    uint8_t gndLines_ = 0;
    uint8_t latch_ = 0xFF;
    uint8_t shorted_ = 0;
    bool forcedOverload_ = false;
    uint64_t now_ = 0;
    uint8_t levels_ = 0xFF;
    std::vector<TSlot> chips_;
    bool anyFollowsLevels_ = false;
};
