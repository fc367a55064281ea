#include "vprog/Chip24Cxx.h"

#include <algorithm>

namespace {

const T24CxxType Types[] = {
    {"24C01", 128, 8, 1},     {"24C02", 256, 8, 1},     {"24C04", 512, 16, 1},
    {"24C08", 1024, 16, 1},   {"24C16", 2048, 16, 1},   {"24C32", 4096, 32, 2},
    {"24C64", 8192, 32, 2},   {"24C128", 16384, 64, 2}, {"24C256", 32768, 64, 2},
    {"24C512", 65536, 128, 2},
};

} // namespace

const T24CxxType* Find24CxxType(const std::string& name) { return FindChipType(Types, name); }

TChip24Cxx::TChip24Cxx(const T24CxxType& type, TChipImage image)
    : type_(type), image_(std::move(image)), page_(type.PageSize, -1)
{
    VccLines = LineVcc;
    GndLines = LineGnd;
    MinSupplyTenths = 18;
    MaxSupplyTenths = 55;
    blockBits_ = 0;
    if (type.AddressBytes == 1)
        for (uint32_t s = type.Size; s > 256; s >>= 1)
            ++blockBits_;
}

TChip24Cxx::~TChip24Cxx() { image_.Save(); }

uint8_t TChip24Cxx::Pulls(uint8_t) const { return sdaLow_ ? LineSda : 0; }

void TChip24Cxx::Reset()
{
    mode_ = TMode::Idle;
    sdaLow_ = false;
    clocked_ = false;
    bit_ = 0;
    std::fill(page_.begin(), page_.end(), int16_t{-1});
}

void TChip24Cxx::PowerLost()
{
    Reset();
    image_.Save();
}

void TChip24Cxx::Settle(uint8_t levels, uint64_t timeUs, bool powered)
{
    // A pin without contact floats; the chip's inputs read it high.
    levels = static_cast<uint8_t>(levels | ~ContactLines);
    now_ = timeUs;
    const uint8_t prev = prev_;
    prev_ = levels;
    pins_ = levels;
    if (!powered)
        return;
    const bool scl = levels & LineScl, sda = levels & LineSda;
    const bool wasScl = prev & LineScl, wasSda = prev & LineSda;
    if (scl && wasScl && sda != wasSda) {
        if (sda)
            Stop(levels);
        else
            Start();
    } else if (scl && !wasScl) {
        Rising(sda);
    } else if (!scl && wasScl) {
        Falling();
    }
}

void TChip24Cxx::Start()
{
    // A start without a stop drops the bytes collected so far.
    Reset();
    if (Busy(now_))
        return; // the write cycle: the chip listens to nothing
    mode_ = TMode::Receive;
    stage_ = TStage::Device;
    shift_ = 0;
}

void TChip24Cxx::Stop(uint8_t levels)
{
    const bool protectedNow = levels & LineWp;
    bool any = false;
    for (int16_t v : page_)
        any = any || v >= 0;
    if (mode_ != TMode::Idle && stage_ == TStage::Data && any && !protectedNow && !Busy(now_)) {
        std::vector<uint8_t>& data = image_.Data();
        for (size_t i = 0; i < page_.size(); ++i)
            if (page_[i] >= 0)
                data[pageBase_ + i] = static_cast<uint8_t>(page_[i]);
        image_.Touch();
        busyUntil_ = now_ + WriteCycleUs;
        ++writeCycles_;
    }
    Reset();
}

void TChip24Cxx::Rising(bool sda)
{
    clocked_ = true;
    if (mode_ == TMode::Receive && bit_ < 8)
        shift_ = static_cast<uint8_t>((shift_ << 1) | (sda ? 1 : 0));
    else if (mode_ == TMode::Transmit && bit_ == 8)
        masterAck_ = !sda;
}

void TChip24Cxx::Falling()
{
    // The falling edge that ends a start condition ends no bit.
    if (mode_ == TMode::Idle || !clocked_)
        return;
    clocked_ = false;
    ++bit_;
    if (mode_ == TMode::Receive) {
        if (bit_ == 8) {
            toTransmit_ = false;
            sdaLow_ = TakeByte(shift_);
            if (!sdaLow_)
                Reset(); // not for us, or refused: wait for the next start
        } else if (bit_ == 9) {
            sdaLow_ = false;
            bit_ = 0;
            shift_ = 0;
            if (toTransmit_) {
                mode_ = TMode::Transmit;
                LoadOutput();
            }
        }
        return;
    }
    // Transmit: one data bit per low clock, then the master's acknowledge.
    if (bit_ < 8) {
        sdaLow_ = !(out_ & (0x80 >> bit_));
    } else if (bit_ == 8) {
        sdaLow_ = false;
    } else if (masterAck_) {
        bit_ = 0;
        LoadOutput();
    } else {
        Reset(); // no acknowledge: the read ends, the stop follows
    }
}

void TChip24Cxx::LoadOutput()
{
    out_ = image_.Data()[counter_];
    counter_ = (counter_ + 1) % type_.Size;
    sdaLow_ = !(out_ & 0x80);
}

bool TChip24Cxx::AddressPinsMatch(uint8_t deviceByte) const
{
    // Byte bits 3..1 against A2..A0; the bits that carry block bits do not
    // compare.
    for (int k = blockBits_; k < 3; ++k) {
        const bool want = deviceByte & (2 << k);
        const bool pin = pins_ & (LineA0 << k);
        if (want != pin)
            return false;
    }
    return true;
}

bool TChip24Cxx::TakeByte(uint8_t b)
{
    const uint32_t mask = type_.Size - 1;
    switch (stage_) {
    case TStage::Device:
        if ((b & 0xF0) != 0xA0 || !AddressPinsMatch(b))
            return false;
        if (b & 1) {
            toTransmit_ = true;
            return true;
        }
        addressHigh_ = (b >> 1) & ((1u << blockBits_) - 1);
        stage_ = type_.AddressBytes == 2 ? TStage::AddressHigh : TStage::AddressLow;
        return true;
    case TStage::AddressHigh:
        addressHigh_ = b;
        stage_ = TStage::AddressLow;
        return true;
    case TStage::AddressLow:
        counter_ = ((addressHigh_ << 8) | b) & mask;
        pageBase_ = counter_ & ~static_cast<uint32_t>(type_.PageSize - 1);
        pageOffset_ = counter_ - pageBase_;
        std::fill(page_.begin(), page_.end(), int16_t{-1});
        stage_ = TStage::Data;
        return true;
    case TStage::Data:
        // Within the page the address rolls over: a longer write overwrites
        // the first bytes of the same page.
        page_[pageOffset_] = b;
        pageOffset_ = (pageOffset_ + 1) % type_.PageSize;
        counter_ = pageBase_ + pageOffset_;
        return true;
    }
    return false;
}
