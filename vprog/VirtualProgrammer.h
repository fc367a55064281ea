#pragma once
// The virtual programmer: our stand-in for the programmer's driver and
// firmware. It answers the command protocol the link speaks and runs the
// uploaded device code. It has no thread: it runs only when the host writes
// or reads, and a read that finds no byte first runs the device until it
// produces bytes, waits for input, ends or faults, so an empty read means
// nothing more will come until the host writes again.
//
// "U" is sent as soon as a procedure address is accepted; the device code
// then runs. While a procedure runs every byte the host writes is data for
// USBIN; bytes still unread when it ends are dropped, never taken as
// commands. A byte on the control pipe resets the firmware to command mode.
#include "vprog/ByteQueue.h"
#include "vprog/DeviceCpu.h"
#include "vprog/LineModel.h"

#include <array>
#include <cstdint>
#include <string>

class TVirtualProgrammer {
public:
    TVirtualProgrammer();

    // The three pipes.
    void Write(const uint8_t* data, size_t count);
    size_t Read(uint8_t* data, size_t count);
    void Control(const uint8_t* data, size_t count);

    // Whether a read would find a byte without the host writing first.
    bool HasOutput();

    TLineModel& Lines() { return lines_; }
    TDeviceCpu& Cpu() { return cpu_; }
    const std::string& StoredName() const { return storedName_; }
    uint8_t AdapterSetting() const { return adapterSetting_; }
    // Text of the last device fault; empty when the last procedure ran clean.
    const std::string& LastFault() const { return cpu_.FaultText(); }

    static const std::string& FirmwareText();
    static constexpr std::array<uint8_t, 6> SerialNumber = {0x56, 0x50, 0x00, 0x00, 0x00, 0x01};
    // Longest module name the firmware keeps (its length byte counts the 0).
    static constexpr size_t MaxNameLength = 254;
    // Bytes the firmware queues for a host that does not read.
    static constexpr size_t OutputLimit = 65536;

private:
    enum class TState { Command, Argument, Nine, AddressHigh, AddressLow, Setting, Name, Upload };

    void CommandByte(uint8_t b);
    void Argument(uint8_t b);
    void NineCommand(uint8_t sub);
    void UploadByte(uint8_t b);
    void Reply(uint8_t b) { Reply(&b, 1); }
    void Reply(const uint8_t* data, size_t count);
    void RunDevice(size_t wantOutput);

    TLineModel lines_;
    TByteQueue input_;
    TByteQueue output_;
    TDeviceCpu cpu_;

    TState state_ = TState::Command;
    uint8_t opcode_ = 0;
    uint8_t addressHigh_ = 0;
    std::string storedName_;
    std::string nameBuffer_;
    uint8_t adapterSetting_ = 0;

    // Upload in progress: the new image is committed only when every block
    // arrived, so a broken upload leaves the old code in place.
    std::array<uint8_t, TDeviceCpu::CodeSize> uploadImage_{};
    int uploadBlocks_ = 0;
    int uploadFill_ = 0;
    int uploadReceived_ = 0;
    uint8_t uploadSum_ = 0;
    bool uploadRefused_ = false;
};
