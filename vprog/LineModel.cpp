#include "vprog/LineModel.h"

TLineModel::TLineModel() { Changed(); }
TLineModel::~TLineModel() = default;

void TLineModel::SetSupply(bool on)
{
    supplyOn_ = on;
    Changed();
}

void TLineModel::SetVccLines(uint8_t lines)
{
    vccLines_ = lines;
    Changed();
}

void TLineModel::SetGndLines(uint8_t lines)
{
    gndLines_ = lines;
    Changed();
}

void TLineModel::SetLatch(uint8_t latch)
{
    if (latch == latch_)
        return;
    latch_ = latch;
    Changed();
}

void TLineModel::SetShortedLines(uint8_t lines)
{
    shorted_ = lines;
    Changed();
}

bool TLineModel::Overload() const { return forcedOverload_ || (supplyOn_ && (vccLines_ & gndLines_) != 0); }

void TLineModel::AttachChip(std::unique_ptr<TSimChip> chip)
{
    chips_.push_back({std::move(chip), false});
    Changed();
}

void TLineModel::RemoveChips()
{
    chips_.clear();
    Changed();
}

uint8_t TLineModel::Levels() { return levels_; }

void TLineModel::Advance(uint64_t us)
{
    now_ += us;
    if (!chips_.empty())
        Changed();
}

bool TLineModel::ChipPowered(const TSimChip& chip) const
{
    const uint8_t supplied = static_cast<uint8_t>(vccLines_ & chip.ContactLines);
    return supplyOn_ && chip.VccLines != 0 && (chip.VccLines & ~supplied) == 0;
}

uint8_t TLineModel::Resolve() const
{
    const uint8_t supplied = supplyOn_ ? vccLines_ : 0;
    const uint8_t drivenLow = static_cast<uint8_t>(~latch_ | gndLines_);
    uint8_t levels = static_cast<uint8_t>(~drivenLow);
    // Each round can only add lines pulled low through a chip or a short;
    // eight rounds reach every line. A chip whose answer flips with its
    // inputs could oscillate, so the rounds are bounded either way.
    for (int round = 0; round < 9; ++round) {
        uint8_t pulls = 0;
        for (const TSlot& slot : chips_) {
            const TSimChip& chip = *slot.Chip;
            const uint8_t contact = chip.ContactLines;
            if ((levels & contact) != contact)
                pulls |= chip.GndLines & contact;
            if (slot.Powered)
                pulls |= chip.Pulls(levels) & contact;
        }
        if ((levels & shorted_) != shorted_)
            pulls |= shorted_;
        const uint8_t next = static_cast<uint8_t>((~(drivenLow | pulls) | supplied) & ~gndLines_);
        if (next == levels)
            break;
        levels = next;
    }
    return levels;
}

void TLineModel::Changed()
{
    // Power first: Resolve takes it from the slots, which saves asking
    // every chip again in every round (this runs at each latch change).
    for (TSlot& slot : chips_) {
        const bool powered = ChipPowered(*slot.Chip);
        if (slot.Powered && !powered)
            slot.Chip->PowerLost();
        slot.Powered = powered;
    }
    levels_ = Resolve();
    if (chips_.empty())
        return;
    for (TSlot& slot : chips_)
        slot.Chip->Settle(levels_, now_, slot.Powered);
    levels_ = Resolve();
}
