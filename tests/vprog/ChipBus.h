#pragma once
// Bus masters that drive the virtual programmer's lines directly, as the
// device code of a module would, to test the simulated chips alone.
#include "vprog/LineModel.h"

#include <cstdint>
#include <vector>

// Powers the 8-pin socket (supply pin 8, ground pin 4) and drives the
// output latch one line at a time.
class TSocketMaster {
public:
    // Drives a line high (released) or low.
    void Set(uint8_t bit, bool high)
    {
        latch_ = static_cast<uint8_t>(high ? latch_ | bit : latch_ & ~bit);
        lines_.SetLatch(latch_);
    }
    TLineModel& Lines() { return lines_; }

protected:
    TSocketMaster(TLineModel& lines, uint8_t latch) : lines_(lines), latch_(latch)
    {
        lines_.SetVccLines(0x80);
        lines_.SetGndLines(0x08);
        lines_.SetSupply(true);
        lines_.SetLatch(latch_);
    }

    TLineModel& lines_;

private:
    uint8_t latch_;
};

// I2C on the 24Cxx pins: SDA line 5, SCL line 6; A0..A2 and WP driven low.
class TI2cMaster : public TSocketMaster {
public:
    static constexpr uint8_t Sda = 0x10, Scl = 0x20, Wp = 0x40;

    explicit TI2cMaster(TLineModel& lines) : TSocketMaster(lines, 0xB8) {}
    // A line change, then the rest of the bit time.
    void SetPin(uint8_t bit, bool high)
    {
        Set(bit, high);
        lines_.Advance(5);
    }
    bool SdaHigh() { return lines_.Levels() & Sda; }
    void Start()
    {
        SetPin(Sda, true);
        SetPin(Scl, true);
        SetPin(Sda, false);
        SetPin(Scl, false);
    }
    void Stop()
    {
        SetPin(Sda, false);
        SetPin(Scl, true);
        SetPin(Sda, true);
    }
    // True when the byte was acknowledged.
    bool Write(uint8_t b)
    {
        for (int i = 7; i >= 0; --i) {
            SetPin(Sda, (b >> i) & 1);
            SetPin(Scl, true);
            SetPin(Scl, false);
        }
        SetPin(Sda, true);
        SetPin(Scl, true);
        const bool ack = !SdaHigh();
        SetPin(Scl, false);
        return ack;
    }
    uint8_t Read(bool ack)
    {
        SetPin(Sda, true);
        uint8_t b = 0;
        for (int i = 0; i < 8; ++i) {
            SetPin(Scl, true);
            b = static_cast<uint8_t>((b << 1) | (SdaHigh() ? 1 : 0));
            SetPin(Scl, false);
        }
        SetPin(Sda, !ack);
        SetPin(Scl, true);
        SetPin(Scl, false);
        SetPin(Sda, true);
        return b;
    }
    // Device address, word address (one or two bytes), data, stop.
    bool WriteBytes(uint8_t device, uint32_t address, int addressBytes, const std::vector<uint8_t>& data)
    {
        bool ok = Address(device, address, addressBytes);
        for (uint8_t b : data)
            ok = ok && Write(b);
        Stop();
        return ok;
    }
    // Random read of count bytes; empty when an address byte was refused.
    std::vector<uint8_t> ReadBytes(uint8_t device, uint32_t address, int addressBytes, int count)
    {
        bool ok = Address(device, address, addressBytes);
        Start();
        ok = ok && Write(static_cast<uint8_t>(device | 1));
        std::vector<uint8_t> data;
        for (int i = 0; ok && i < count; ++i)
            data.push_back(Read(i + 1 < count));
        Stop();
        return data;
    }

private:
    // Start, device address for writing, word address; true when all of it
    // was acknowledged.
    bool Address(uint8_t device, uint32_t address, int addressBytes)
    {
        Start();
        bool ok = Write(device);
        if (addressBytes == 2)
            ok = ok && Write(static_cast<uint8_t>(address >> 8));
        return ok && Write(static_cast<uint8_t>(address));
    }
};

// SPI mode 0 on the 25-series pins: /CS line 1, SO line 2, SI line 5,
// SCK line 6.
class TSpiMaster : public TSocketMaster {
public:
    static constexpr uint8_t Cs = 0x01, So = 0x02, Si = 0x10, Sck = 0x20;

    // Mode 0: the clock idles low.
    explicit TSpiMaster(TLineModel& lines) : TSocketMaster(lines, 0xDF) {}
    uint8_t Transfer(uint8_t b)
    {
        uint8_t in = 0;
        for (int i = 7; i >= 0; --i) {
            Set(Si, (b >> i) & 1);
            in = static_cast<uint8_t>((in << 1) | ((lines_.Levels() & So) ? 1 : 0));
            Set(Sck, true);
            Set(Sck, false);
        }
        return in;
    }
    // One command: /CS low, the bytes out, `answer` bytes in, /CS high.
    std::vector<uint8_t> Command(const std::vector<uint8_t>& out, int answer = 0)
    {
        Set(Cs, false);
        for (uint8_t b : out)
            Transfer(b);
        std::vector<uint8_t> in;
        for (int i = 0; i < answer; ++i)
            in.push_back(Transfer(0xFF));
        Set(Cs, true);
        return in;
    }
    uint8_t Status() { return Command({0x05}, 1)[0]; }
};
