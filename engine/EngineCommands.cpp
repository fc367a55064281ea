// The programmer's command protocol on top of the link.
#include "engine/Engine.h"

#include "engine/EngineLink.h"
#include "engine/Global.h"
#include "platform/Pump.h"

#include <algorithm>
#include <chrono>

using namespace enginelink;

namespace {

constexpr int UploadBlock = 32;
constexpr int NameChunk = 64;
// A device that keeps sending bytes nobody asked for (before a procedure's
// "U", or after a bad name answer) must not hold the link, however slowly
// it trickles them: skipping ends after this many bytes or after this many
// reply time-outs in all.
constexpr int MaxSkippedBytes = 65536;
constexpr int MaxSkipTimeOuts = 4;

class TSkipBounds {
public:
    TSkipBounds()
        : deadline_(std::chrono::steady_clock::now() + std::chrono::milliseconds(MaxSkipTimeOuts * std::max(UsbTimeOut, 1)))
    {
    }
    // Counts one skipped byte; false once the bounds are reached.
    bool Skip() { return ++skipped_ < MaxSkippedBytes && std::chrono::steady_clock::now() < deadline_; }

private:
    std::chrono::steady_clock::time_point deadline_;
    int skipped_ = 0;
};

// [9, sub] answered by "o".
bool NineCommand(uint8_t sub)
{
    uint8_t r;
    return WriteCommand({9, sub}) && ReadReply(r) && r == UsbAck;
}

// `length` reply bytes as text.
bool ReadText(int length, std::string& text)
{
    text.clear();
    for (int i = 0; i < length; ++i) {
        uint8_t b;
        if (!ReadReply(b))
            return false;
        text += static_cast<char>(b);
    }
    return true;
}

// The [9, 4] exchange on an open link.
bool ReadStoredName(std::string& name)
{
    uint8_t length;
    if (!NineCommand(4) || !ReadReply(length))
        return false;
    // The length counts the terminating 0, so 0 is no answer at all: what
    // follows it is read away until the device falls silent, within bounds.
    if (length == 0) {
        TSkipBounds bounds;
        uint8_t b;
        while (ReadReply(b) && bounds.Skip()) {
        }
        return false;
    }
    std::string text;
    if (!ReadText(length, text))
        return false;
    text.pop_back();
    name = text;
    return true;
}

} // namespace

bool DevicePowerOn() { return WriteCommand({1, 0}); }
bool DevicePowerOff() { return WriteCommand({1, 1}); }
bool SetVoltageCode(uint8_t code) { return WriteCommand({2, code}); }
bool SetVccPins(uint8_t mask) { return WriteCommand({3, mask}); }
bool SetGndPins(uint8_t mask) { return WriteCommand({4, mask}); }
void SetOutputLevels(uint8_t levels) { WriteCommand({5, levels}); }

uint8_t VoltageCode(int voltageIndex)
{
    static constexpr uint8_t codes[9] = {15, 14, 13, 12, 11, 10, 9, 8, 6};
    if (voltageIndex < 0 || voltageIndex > 8)
        return 15;
    return codes[voltageIndex];
}

int UploadCode(std::span<const uint8_t> image, int length)
{
    if (length < 0 || length > DeviceCodeSize)
        return -1;
    DiscardReplies();
    // One block more than the length needs, as the firmware expects, but
    // never more than the firmware's code memory holds.
    const int blocks = std::min(length / UploadBlock + 1, DeviceCodeSize / UploadBlock);
    if (!WriteCommand({7, static_cast<uint8_t>(blocks)}))
        return -1;
    uint8_t reply;
    if (!ReadReply(reply))
        return -3;
    uint8_t sum = 0;
    for (int block = 0; block < blocks; ++block) {
        uint8_t bytes[UploadBlock];
        for (int i = 0; i < UploadBlock; ++i) {
            const size_t at = static_cast<size_t>(block * UploadBlock + i);
            bytes[i] = at < image.size() ? image[at] : 0;
            sum = static_cast<uint8_t>(sum + bytes[i]);
        }
        if (!WritePipe(UsbOutHandle, bytes, UploadBlock) || !ReadReply(reply) || reply != UsbBlockAck)
            return -4;
    }
    if (!ReadReply(reply))
        return -3;
    return reply == sum ? 0 : -4;
}

bool RunDeviceProcedure(uint16_t address)
{
    if (UsbOutHandle < 0 || !NineCommand(0))
        return false;
    if (!WriteCommand({static_cast<uint8_t>(address >> 8), static_cast<uint8_t>(address & 0xFF)}))
        return false;
    TSkipBounds bounds;
    for (;;) {
        uint8_t b;
        if (!ReadReply(b))
            return false;
        if (b == UsbProcStarted) {
            LeaveBlockMode();
            return true;
        }
        if (!bounds.Skip())
            return false;
        PumpMessages();
    }
}

bool SetDevicePower(uint8_t vccMask, uint8_t gndMask, int voltageIndex)
{
    if (!LinkOpen())
        return false;
    const bool adapter = ModuleAdapter == 1;
    if (adapter) {
        if (!SetVoltageCode(15))
            return false;
        // Supply on, levels 0x03, then two settings. Each setting is
        // answered; adapters differ in what they answer, so only the
        // arrival of both replies counts.
        static constexpr uint8_t packet[10] = {0x01, 0x00, 0x05, 0x03, 0x09, 0x02, 0xD7, 0x09, 0x02, 0xF7};
        if (!WritePipe(UsbOutHandle, packet, sizeof packet))
            return false;
        for (int i = 0; i < 2; ++i) {
            uint8_t r;
            if (!ReadReply(r))
                return false;
        }
    }
    return SetVoltageCode(VoltageCode(voltageIndex)) && (adapter || DevicePowerOn()) && SetGndPins(gndMask) &&
           SetVccPins(vccMask);
}

bool ReadFirmwareInfo(TStringList& lines)
{
    if (!OpenDevice() || !WriteCommand({8}))
        return false;
    uint8_t length;
    if (!ReadReply(length))
        return false;
    std::string text;
    if (!ReadText(length, text))
        return false;
    lines.SetText(text);
    return true;
}

bool ReadDeviceStatus(uint8_t& status)
{
    if (!LinkOpen() || !NineCommand(1))
        return false;
    return ReadReply(status);
}

int16_t TestPins(uint8_t mask)
{
    // Only the lines that are not tested are driven low: a chip in the
    // socket then pulls its ground lines low through its own diodes.
    SetOutputLevels(mask);
    PumpMessages();
    uint8_t r;
    if (!WriteCommand({6}) || !ReadReply(r) || r != 0)
        return -1;
    int16_t result = 0xFF;
    for (int line = 0; line < 8; ++line) {
        const uint8_t levels = static_cast<uint8_t>(~(1u << line));
        SetOutputLevels(levels);
        PumpMessages();
        // A round whose reply is lost confirms nothing: its bit stays set.
        if (WriteCommand({6}) && ReadReply(r) && (r & mask) == 0)
            result = static_cast<int16_t>(result & ~(1 << line));
        PumpMessages();
    }
    return result;
}

bool StoreModuleName(const std::string& name)
{
    if (!OpenDevice() || !NineCommand(3))
        return false;
    std::string bytes = name;
    bytes += '\0';
    for (size_t at = 0; at < bytes.size(); at += NameChunk) {
        const int count = static_cast<int>(std::min<size_t>(NameChunk, bytes.size() - at));
        if (!WritePipe(UsbOutHandle, reinterpret_cast<const uint8_t*>(bytes.data() + at), count))
            return false;
    }
    // The firmware does not acknowledge the name. One that did not arrive
    // whole only costs a compile and upload at the next run, when the name
    // read back differs.
    CloseDevice();
    return true;
}

bool ReadModuleName(std::string& name)
{
    if (!OpenDevice() || !ReadStoredName(name))
        return false;
    CloseDevice();
    return true;
}

bool ReadSerialNumber(uint8_t (&serial)[6])
{
    if (!WriteCommand({0}))
        return false;
    uint8_t bytes[6];
    for (uint8_t& b : bytes)
        if (!ReadReply(b))
            return false;
    std::copy(std::begin(bytes), std::end(bytes), serial);
    return true;
}
