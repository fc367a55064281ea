#pragma once
// An I2C serial EEPROM of the 24Cxx family, 24C01 to 24C512, as it sits in
// the 8-pin socket: pin 1..3 A0..A2, pin 4 ground, pin 5 SDA, pin 6 SCL,
// pin 7 WP, pin 8 supply (line n = socket pin n).
//
// The small sizes take one word-address byte; the upper address bits of
// 24C04..24C16 travel as block bits in the device address, in place of the
// address pins they do not have. 24C32 and up take two address bytes and
// use all three address pins. Writes collect up to one page and start the
// internal write cycle at the stop condition; for WriteCycleUs of virtual
// time the chip ignores the bus and so does not acknowledge its address
// (acknowledge polling). WP high at the stop condition cancels the write.
#include "vprog/SimChip.h"
#include "vprog/SocketImage.h"

#include <string>
#include <vector>

struct T24CxxType {
    const char* Name;
    uint32_t Size;
    uint16_t PageSize;
    uint8_t AddressBytes;
};

// The type of that name ("24C01" .. "24C512", any case), or null.
const T24CxxType* Find24CxxType(const std::string& name);

class TChip24Cxx : public TSimChip {
public:
    static constexpr uint8_t LineA0 = 0x01, LineA1 = 0x02, LineA2 = 0x04, LineGnd = 0x08;
    static constexpr uint8_t LineSda = 0x10, LineScl = 0x20, LineWp = 0x40, LineVcc = 0x80;
    static constexpr uint64_t WriteCycleUs = 5000;

    TChip24Cxx(const T24CxxType& type, TChipImage image);
    ~TChip24Cxx() override;

    uint8_t Pulls(uint8_t levels) const override;
    bool PullsFollowLevels() const override { return false; }
    void Settle(uint8_t levels, uint64_t timeUs, bool powered) override;
    void PowerLost() override;

    const T24CxxType& Type() const { return type_; }
    TChipImage& Image() { return image_; }
    // Whether the internal write cycle runs at that time.
    bool Busy(uint64_t timeUs) const { return timeUs < busyUntil_; }
    uint32_t AddressCounter() const { return counter_; }
    // Write cycles started so far.
    int WriteCycles() const { return writeCycles_; }

private:
    enum class TMode { Idle, Receive, Transmit };
    enum class TStage { Device, AddressHigh, AddressLow, Data };

    void Start();
    void Stop(uint8_t levels);
    void Rising(bool sda);
    void Falling();
    bool TakeByte(uint8_t b);
    bool AddressPinsMatch(uint8_t deviceByte) const;
    void LoadOutput();
    void Reset();

    const T24CxxType& type_;
    TChipImage image_;
    int blockBits_;          // upper address bits carried in the device byte
    uint8_t prev_ = 0xFF;    // levels at the last settle
    uint8_t pins_ = 0xFF;    // address pin levels seen at the last settle
    uint64_t now_ = 0;
    uint64_t busyUntil_ = 0;

    TMode mode_ = TMode::Idle;
    TStage stage_ = TStage::Device;
    int bit_ = 0;            // clock pulses of the current byte frame
    uint8_t shift_ = 0;
    uint8_t out_ = 0;
    bool sdaLow_ = false;
    bool masterAck_ = false;
    bool clocked_ = false;   // a rising edge since the last falling one
    bool toTransmit_ = false;
    uint32_t counter_ = 0;
    uint32_t addressHigh_ = 0;
    // The page being written: its base and, per byte, the value or -1.
    uint32_t pageBase_ = 0;
    uint32_t pageOffset_ = 0;
    std::vector<int16_t> page_;
    int writeCycles_ = 0;
};
