#pragma once
// A SPI NOR flash of the 25 series in the 8-pin socket: pin 1 /CS, pin 2
// SO, pin 3 /WP, pin 4 ground, pin 5 SI, pin 6 SCK, pin 7 /HOLD, pin 8
// supply (line n = socket pin n). SPI mode 0: the chip samples SI on the
// rising clock edge and shifts SO out on the falling edge, the first bit of
// an answer after the falling edge that ends the command.
//
// Commands: 9F JEDEC ID, 03 READ, 06 WREN, 04 WRDI, 05 RDSR, 01 WRSR, 02
// page program (within one 256-byte page, programming only clears bits),
// 20 sector (4 KiB), D8 block (64 KiB) and C7/60 chip erase to 0xFF. A
// program or erase needs WEL (set by WREN), starts when /CS goes high after
// a whole number of bytes, and keeps WIP set for its time in virtual
// microseconds, during which only RDSR is answered.
#include "vprog/SimChip.h"
#include "vprog/SocketImage.h"

#include <array>
#include <string>

struct T25FlashType {
    const char* Name;
    uint32_t Size;
    std::array<uint8_t, 3> Id; // maker, memory type, capacity
};

// The type of that name ("25F10", "25F20", "25F40", "25F80", "25F16", any
// case), or null.
const T25FlashType* Find25FlashType(const std::string& name);

class TChip25Flash : public TSimChip {
public:
    static constexpr uint8_t LineCs = 0x01, LineSo = 0x02, LineWp = 0x04, LineGnd = 0x08;
    static constexpr uint8_t LineSi = 0x10, LineSck = 0x20, LineHold = 0x40, LineVcc = 0x80;
    static constexpr uint32_t PageSize = 256, SectorSize = 4096, BlockSize = 65536;
    static constexpr uint64_t PageProgramUs = 700, SectorEraseUs = 45000, BlockEraseUs = 150000;
    static constexpr uint64_t StatusWriteUs = 5000;
    // Chip erase takes this long per 64 KiB block.
    static constexpr uint64_t ChipEraseUsPerBlock = 60000;
    static constexpr uint8_t Wip = 0x01, Wel = 0x02;

    TChip25Flash(const T25FlashType& type, TChipImage image);
    ~TChip25Flash() override;

    uint8_t Pulls(uint8_t levels) const override;
    bool PullsFollowLevels() const override { return false; }
    void Settle(uint8_t levels, uint64_t timeUs, bool powered) override;
    void PowerLost() override;

    const T25FlashType& Type() const { return type_; }
    TChipImage& Image() { return image_; }
    uint8_t Status(uint64_t timeUs) const;

private:
    enum class TCommand : uint8_t { None, Ignored, ReadId, Read, Status, WriteStatus, Program, Erase };

    void Begin();
    void End();
    void TakeByte(uint8_t b);
    uint8_t NextOutput();
    void StartBusy(uint64_t us);

    const T25FlashType& type_;
    TChipImage image_;
    uint8_t prev_ = 0xFF;
    uint64_t now_ = 0;
    uint64_t busyUntil_ = 0;
    bool wel_ = false;
    uint8_t statusBits_ = 0; // BP and SRWD bits written by WRSR
    uint8_t newStatus_ = 0;

    bool selected_ = false;
    TCommand command_ = TCommand::None;
    uint8_t opcode_ = 0;
    int bits_ = 0;           // bits of the current input byte
    int bytes_ = 0;          // whole bytes since /CS fell
    uint8_t shift_ = 0;
    uint32_t address_ = 0;
    bool output_ = false;    // the chip drives SO
    uint8_t out_ = 0;
    int outBits_ = 0;
    bool soLow_ = false;
    int idIndex_ = 0;
    std::array<int16_t, PageSize> page_{};
    uint32_t pageOffset_ = 0;
};
