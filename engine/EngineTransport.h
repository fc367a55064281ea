#pragma once
// What the programmer link needs of the driver's three pipe files: open by
// name, read and write bytes, close. The link keeps the handles; the
// transport decides what stands behind them (FIFOs of a driver or of the
// vprog tool, or the virtual programmer inside this process).
#include <cstdint>
#include <string>

class TEngineTransport {
public:
    virtual ~TEngineTransport() = default;

    // Takes the programmer for this program until Release, so that no
    // other program mixes its commands and replies with this one's. False
    // when another program holds it (OpenError then says so); true when
    // this one holds it already, or the transport has nobody to share with.
    virtual bool Claim() { return true; }
    virtual void Release() {}

    // Opens the pipe file of that name ("00" replies, "01" commands, "02"
    // control); a handle of 0 or more, or -1 when it cannot be opened.
    virtual int Open(const std::string& pipeName) = 0;
    // Why the last Open that failed did, for the user.
    virtual std::string OpenError() const { return {}; }
    virtual void Close(int handle) = 0;

    // Bytes written (0 to count), or -1 when the handle is bad or the write
    // fails.
    virtual int Write(int handle, const uint8_t* data, int count) = 0;
    // Bytes read (0 when none are ready), or -1 on failure, and when the
    // other end has gone so that no byte can come any more. Never blocks.
    virtual int Read(int handle, uint8_t* data, int count) = 0;

    // Whether a read that found nothing may find bytes after a wait. The
    // in-process programmer answers every poll at once, so waiting for it in
    // real time would only slow the link down.
    virtual bool WaitingHelps() const = 0;

    // Why the last device procedure stopped, when the programmer says so;
    // empty when it ran clean or the transport has no way to tell.
    virtual std::string DeviceFault() const { return {}; }
};
