#include "vprog/LineModel.h"

TLineModel::TLineModel() { Changed(true); }
TLineModel::~TLineModel() = default;

void TLineModel::SetSupply(bool on)
{
    supplyOn_ = on;
    Changed(true);
}

void TLineModel::SetVoltageCode(uint8_t code)
{
    voltageCode_ = code;
    Changed(true);
}

int TLineModel::SupplyTenths(uint8_t code)
{
    // Codes 15 down to 8 give 2.8 V to 4.8 V, code 6 gives 5.0 V; 7 is not
    // used.
    static const int tenths[16] = {0, 0, 0, 0, 0, 0, 50, 0, 48, 46, 43, 40, 36, 33, 30, 28};
    return code < 16 ? tenths[code] : 0;
}

void TLineModel::SetVccLines(uint8_t lines)
{
    vccLines_ = lines;
    Changed(true);
}

void TLineModel::SetGndLines(uint8_t lines)
{
    gndLines_ = lines;
    Changed(true);
}

void TLineModel::SetShortedLines(uint8_t lines)
{
    shorted_ = lines;
    Changed(true);
}

bool TLineModel::Overload() const { return forcedOverload_ || (supplyOn_ && (vccLines_ & gndLines_) != 0); }

void TLineModel::AttachChip(std::unique_ptr<TSimChip> chip)
{
    const bool follows = chip->PullsFollowLevels();
    chips_.push_back({std::move(chip), false, follows});
    anyFollowsLevels_ = anyFollowsLevels_ || follows;
    Changed(true);
}

void TLineModel::RemoveChips()
{
    chips_.clear();
    anyFollowsLevels_ = false;
    Changed(true);
}

void TLineModel::Advance(uint64_t us)
{
    now_ += us;
    if (!chips_.empty())
        Changed();
}

uint8_t TLineModel::Resolve(uint8_t statePulls) const
{
    const uint8_t supplied = supplyOn_ ? vccLines_ : 0;
    const uint8_t drivenLow = static_cast<uint8_t>(~latch_ | gndLines_);
    // The chips that answer from their state pull the same lines in every
    // round.
    const uint8_t low = static_cast<uint8_t>(drivenLow | statePulls);
    const uint8_t highs = static_cast<uint8_t>(supplied & ~gndLines_);
    const uint8_t lows = static_cast<uint8_t>(low | gndLines_);
    uint8_t levels = static_cast<uint8_t>(~drivenLow);
    // Each round can only add lines pulled low through a chip or a short;
    // eight rounds reach every line. A chip whose answer flips with its
    // inputs could oscillate, so the rounds are bounded either way.
    for (int round = 0; round < 9; ++round) {
        uint8_t pulls = 0;
        for (const TSlot& slot : chips_) {
            if ((levels & slot.Contact) != slot.Contact)
                pulls |= slot.GndContact;
            if (slot.Powered && slot.FollowsLevels)
                pulls |= slot.Chip->Pulls(levels) & slot.Contact;
        }
        if ((levels & shorted_) != shorted_)
            pulls |= shorted_;
        const uint8_t next = static_cast<uint8_t>((~(lows | pulls) & 0xFF) | highs);
        if (next == levels)
            break;
        levels = next;
    }
    return levels;
}

uint8_t TLineModel::Settled(uint8_t statePulls)
{
    if (anyFollowsLevels_)
        return Resolve(statePulls);
    const uint32_t key = 0x10000u | static_cast<uint32_t>(statePulls) << 8 | latch_;
    TSettled& entry = settled_[(latch_ ^ (latch_ >> 4) ^ statePulls) & 15];
    if (entry.Key != key)
        entry = {key, Resolve(statePulls)};
    return entry.Levels;
}

void TLineModel::Changed(bool wiring)
{
    // A chip's power changes only with the wiring; between such changes
    // the slots keep it for Resolve, which this saves asking for again at
    // each latch change.
    if (wiring) {
        settled_.fill({});
        const uint8_t supplied = supplyOn_ ? vccLines_ : 0;
        const int volts = SupplyTenths(voltageCode_);
        for (TSlot& slot : chips_) {
            TSimChip& chip = *slot.Chip;
            slot.Contact = chip.ContactLines;
            slot.GndContact = static_cast<uint8_t>(chip.GndLines & chip.ContactLines);
            const bool powered = chip.VccLines != 0 && (chip.VccLines & ~(supplied & chip.ContactLines)) == 0 &&
                                 volts >= chip.MinSupplyTenths && volts <= chip.MaxSupplyTenths;
            if (slot.Powered && !powered)
                chip.PowerLost();
            slot.Powered = powered;
        }
        statePulls_ = 0;
        for (const TSlot& slot : chips_)
            if (slot.Powered && !slot.FollowsLevels)
                statePulls_ |= slot.Chip->Pulls(levels_) & slot.Contact;
    }
    // The chips that answer from their state alone change their answer
    // only when they settle or lose power: what they answered after the
    // last change holds until now.
    const uint8_t before = statePulls_;
    levels_ = Settled(before);
    if (chips_.empty())
        return;
    uint8_t after = 0;
    for (TSlot& slot : chips_) {
        slot.Chip->Settle(levels_, now_, slot.Powered);
        if (slot.Powered && !slot.FollowsLevels)
            after |= slot.Chip->Pulls(levels_) & slot.Contact;
    }
    statePulls_ = after;
    // Chips that answer from their state alone and did not change their
    // answer leave the levels as they are: nothing else moved.
    if (after != before || anyFollowsLevels_)
        levels_ = Settled(after);
}
