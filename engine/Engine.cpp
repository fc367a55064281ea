// The link itself: pipes, the read buffer and block mode. The protocol
// commands on top of it are in EngineCommands.cpp.
#include "engine/Engine.h"

#include "engine/EngineLink.h"
#include "engine/Global.h"
#include "platform/Pump.h"

#include <algorithm>

int UsbOutHandle = -1;
int UsbInHandle = -1;
int UsbControlHandle = -1;
std::function<bool()> UsbStopWaiting;

namespace {

std::unique_ptr<TEngineTransport> transport;

uint8_t readBuffer[256];
int readPosition = 0;
int readLimit = 0;

std::string openError;
bool inUse = false;

uint8_t blockBuffer[UsbBlockSize];
int blockLength = 0;
bool blockMode = false;

// A device that keeps sending must not keep the drain going for ever.
constexpr int MaxDrainReads = 1024;

void ClosePipe(int& handle)
{
    if (handle >= 0 && transport)
        transport->Close(handle);
    handle = -1;
}

// The first failure of an open is the one worth telling.
int OpenPipe(const char* name)
{
    const int handle = transport->Open(name);
    if (handle < 0 && openError.empty())
        openError = transport->OpenError();
    return handle;
}

// A byte on the control pipe puts the firmware back in command mode.
void ResetFirmware()
{
    const uint8_t reset = 0;
    transport->Write(UsbControlHandle, &reset, 1);
}

void ClosePipes()
{
    if (UsbControlHandle >= 0) {
        if (transport)
            ResetFirmware();
        ClosePipe(UsbControlHandle);
        readPosition = readLimit = 0;
    }
    ClosePipe(UsbOutHandle);
    ClosePipe(UsbInHandle);
}

} // namespace

void SetUsbTransport(std::unique_ptr<TEngineTransport> newTransport)
{
    CloseDevice();
    transport = std::move(newTransport);
}

TEngineTransport* UsbTransport() { return transport.get(); }

std::string UsbOpenError() { return openError; }

bool UsbInUse() { return inUse; }

std::string UsbDeviceFault() { return transport ? transport->DeviceFault() : std::string(); }

namespace enginelink {

bool WritePipe(int handle, const uint8_t* data, int count)
{
    if (handle < 0 || !transport)
        return false;
    return transport->Write(handle, data, count) == count;
}

bool WriteCommand(std::initializer_list<uint8_t> bytes)
{
    return WritePipe(UsbOutHandle, bytes.begin(), static_cast<int>(bytes.size()));
}

bool LinkOpen() { return UsbOutHandle >= 0 && UsbInHandle >= 0; }

void DiscardReplies()
{
    readPosition = readLimit = 0;
    if (UsbInHandle < 0 || !transport)
        return;
    uint8_t scratch[64];
    for (int i = 0; i < MaxDrainReads; ++i)
        if (transport->Read(UsbInHandle, scratch, sizeof scratch) <= 0)
            break;
}

bool ReadReply(uint8_t& b) { return DeviceReadByte(b) == 0; }

void LeaveBlockMode()
{
    blockLength = 0;
    blockMode = false;
}

} // namespace enginelink

bool OpenDevice()
{
    // Still held from before, so that no other program comes in between
    // the close and the open.
    ClosePipes();
    if (!transport)
        return false;
    openError.clear();
    inUse = !transport->Claim();
    if (inUse) {
        openError = transport->OpenError();
        return false;
    }
    UsbOutHandle = OpenPipe("01");
    UsbInHandle = OpenPipe("00");
    UsbControlHandle = OpenPipe("02");
    if (UsbControlHandle >= 0)
        ResetFirmware();
    enginelink::DiscardReplies();
    enginelink::LeaveBlockMode();
    const bool open = UsbOutHandle >= 0 && UsbInHandle >= 0 && UsbControlHandle >= 0;
    // A programmer this program cannot reach is not kept from another.
    if (!open)
        transport->Release();
    return open;
}

void CloseDevice()
{
    ClosePipes();
    if (transport)
        transport->Release();
}

int DeviceReadByte(uint8_t& b)
{
    if (UsbInHandle < 0 || !transport)
        return -1;
    if (readPosition >= readLimit) {
        readPosition = readLimit = 0;
        const int polls = std::max(UsbTimeOut, 1);
        for (int poll = 0; poll < polls; ++poll) {
            int n = transport->Read(UsbInHandle, readBuffer, sizeof readBuffer);
            if (n == 0)
                n = transport->Read(UsbInHandle, readBuffer, sizeof readBuffer);
            if (n < 0)
                return -1;
            if (n > 0) {
                readLimit = std::min(n, static_cast<int>(sizeof readBuffer));
                break;
            }
            if (!transport->WaitingHelps()) {
                PumpMessages();
                break;
            }
            PumpingSleep(1);
            if (UsbStopWaiting && UsbStopWaiting())
                break;
        }
        if (readLimit == 0)
            return 1;
    }
    b = readBuffer[readPosition++];
    return 0;
}

bool DeviceWriteByte(uint8_t b)
{
    if (!blockMode)
        return enginelink::WritePipe(UsbOutHandle, &b, 1);
    // A script may gather more than the block holds: send what is gathered
    // and go on, so no byte is lost and nothing is overrun.
    if (blockLength == UsbBlockSize) {
        const bool sent = enginelink::WritePipe(UsbOutHandle, blockBuffer, blockLength);
        blockLength = 0;
        if (!sent)
            return false;
    }
    blockBuffer[blockLength++] = b;
    return true;
}

void BeginBlock()
{
    blockLength = 0;
    blockMode = true;
}

bool EndBlock()
{
    bool sent = true;
    if (blockLength > 0)
        sent = enginelink::WritePipe(UsbOutHandle, blockBuffer, blockLength);
    enginelink::LeaveBlockMode();
    return sent;
}

bool UsbBlockMode() { return blockMode; }
