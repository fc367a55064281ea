#include "vprog/Chip25Flash.h"

#include <algorithm>

namespace {

// 0x54 is the maker code of the simulated chips; the capacity byte is the
// power of two of the size in bytes.
const T25FlashType Types[] = {
    {"25F10", 0x20000, {0x54, 0x40, 0x11}},
    {"25F20", 0x40000, {0x54, 0x40, 0x12}},
    {"25F40", 0x80000, {0x54, 0x40, 0x13}},
    {"25F80", 0x100000, {0x54, 0x40, 0x14}},
    {"25F16", 0x200000, {0x54, 0x40, 0x15}},
};

} // namespace

const T25FlashType* Find25FlashType(const std::string& name) { return FindChipType(Types, name); }

TChip25Flash::TChip25Flash(const T25FlashType& type, TChipImage image) : type_(type), image_(std::move(image))
{
    VccLines = LineVcc;
    GndLines = LineGnd;
    MinSupplyTenths = 27;
    MaxSupplyTenths = 36;
}

TChip25Flash::~TChip25Flash() { image_.Save(); }

uint8_t TChip25Flash::Pulls(uint8_t) const { return soLow_ ? LineSo : 0; }

uint8_t TChip25Flash::Status(uint64_t timeUs) const
{
    const bool busy = timeUs < busyUntil_;
    // WEL stays set until the operation it allowed has finished.
    return static_cast<uint8_t>(statusBits_ | (busy ? Wip | Wel : 0) | (wel_ ? Wel : 0));
}

void TChip25Flash::PowerLost()
{
    selected_ = false;
    soLow_ = false;
    output_ = false;
    wel_ = false;
    busyUntil_ = 0;
    image_.Save();
}

void TChip25Flash::Settle(uint8_t levels, uint64_t timeUs, bool powered)
{
    levels = static_cast<uint8_t>(levels | ~ContactLines);
    now_ = timeUs;
    const uint8_t prev = prev_;
    prev_ = levels;
    if (!powered)
        return;
    const bool cs = levels & LineCs, wasCs = prev & LineCs;
    if (cs != wasCs) {
        if (cs)
            End();
        else
            Begin();
        return;
    }
    if (!selected_)
        return;
    const bool sck = levels & LineSck, wasSck = prev & LineSck;
    if (sck && !wasSck) {
        shift_ = static_cast<uint8_t>((shift_ << 1) | ((levels & LineSi) ? 1 : 0));
        if (++bits_ == 8) {
            bits_ = 0;
            ++bytes_;
            TakeByte(shift_);
        }
    } else if (!sck && wasSck && output_) {
        if (outBits_ == 0) {
            out_ = NextOutput();
            outBits_ = 8;
        }
        soLow_ = !(out_ & 0x80);
        out_ = static_cast<uint8_t>(out_ << 1);
        --outBits_;
    }
}

void TChip25Flash::Begin()
{
    selected_ = true;
    command_ = TCommand::None;
    bits_ = bytes_ = 0;
    shift_ = 0;
    output_ = false;
    outBits_ = 0;
    soLow_ = false;
    address_ = 0;
    idIndex_ = 0;
    page_.fill(-1);
}

void TChip25Flash::StartBusy(uint64_t us)
{
    busyUntil_ = now_ + us;
    wel_ = false;
}

void TChip25Flash::End()
{
    selected_ = false;
    output_ = false;
    soLow_ = false;
    // A program or erase runs only after whole bytes.
    if (bits_ != 0)
        return;
    std::vector<uint8_t>& data = image_.Data();
    switch (command_) {
    case TCommand::Program: {
        if (bytes_ < 5)
            break;
        const uint32_t base = address_ & ~(PageSize - 1);
        for (uint32_t i = 0; i < PageSize; ++i)
            if (page_[i] >= 0)
                data[base + i] &= static_cast<uint8_t>(page_[i]);
        image_.Touch();
        StartBusy(PageProgramUs);
        break;
    }
    case TCommand::Erase: {
        uint32_t size = type_.Size;
        uint64_t us = ChipEraseUsPerBlock * (type_.Size / BlockSize);
        if (opcode_ == 0x20) {
            size = SectorSize;
            us = SectorEraseUs;
        } else if (opcode_ == 0xD8) {
            size = BlockSize;
            us = BlockEraseUs;
        }
        if (size != type_.Size && bytes_ != 4)
            break;
        if (size == type_.Size && bytes_ != 1)
            break;
        const uint32_t base = size == type_.Size ? 0 : (address_ % type_.Size) & ~(size - 1);
        std::fill_n(data.begin() + base, size, uint8_t{0xFF});
        image_.Touch();
        StartBusy(us);
        break;
    }
    case TCommand::WriteStatus:
        if (bytes_ != 2)
            break;
        statusBits_ = newStatus_;
        StartBusy(StatusWriteUs);
        break;
    default:
        break;
    }
    command_ = TCommand::None;
}

void TChip25Flash::TakeByte(uint8_t b)
{
    if (bytes_ == 1) {
        opcode_ = b;
        const bool busy = now_ < busyUntil_;
        if (busy && b != 0x05) {
            command_ = TCommand::Ignored;
            return;
        }
        switch (b) {
        case 0x9F: command_ = TCommand::ReadId; output_ = true; break;
        case 0x05: command_ = TCommand::Status; output_ = true; break;
        case 0x03: command_ = TCommand::Read; break;
        case 0x06: wel_ = true; command_ = TCommand::Ignored; break;
        case 0x04: wel_ = false; command_ = TCommand::Ignored; break;
        case 0x01: command_ = wel_ ? TCommand::WriteStatus : TCommand::Ignored; break;
        case 0x02: command_ = wel_ ? TCommand::Program : TCommand::Ignored; break;
        case 0x20: case 0xD8: case 0xC7: case 0x60:
            command_ = wel_ ? TCommand::Erase : TCommand::Ignored;
            break;
        default: command_ = TCommand::Ignored; break;
        }
        return;
    }
    switch (command_) {
    case TCommand::Read:
    case TCommand::Program:
    case TCommand::Erase:
        if (bytes_ <= 4) {
            address_ = (address_ << 8) | b;
            if (bytes_ == 4) {
                address_ %= type_.Size;
                pageOffset_ = address_ & (PageSize - 1);
                output_ = command_ == TCommand::Read;
            }
            return;
        }
        if (command_ == TCommand::Program) {
            page_[pageOffset_] = b;
            pageOffset_ = (pageOffset_ + 1) & (PageSize - 1);
        }
        return;
    case TCommand::WriteStatus:
        if (bytes_ == 2)
            newStatus_ = b & 0x9C;
        return;
    default:
        return;
    }
}

uint8_t TChip25Flash::NextOutput()
{
    switch (command_) {
    case TCommand::ReadId: {
        const uint8_t b = type_.Id[static_cast<size_t>(idIndex_)];
        idIndex_ = (idIndex_ + 1) % 3;
        return b;
    }
    case TCommand::Status:
        return Status(now_);
    case TCommand::Read: {
        const uint8_t b = image_.Data()[address_];
        address_ = (address_ + 1) % type_.Size;
        return b;
    }
    default:
        return 0xFF;
    }
}
