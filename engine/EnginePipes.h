#pragma once
// The link's transport over pipe files in a folder: the FIFOs of a driver or
// of the vprog tool ("00" replies, "01" commands, "02" control), opened and
// used with plain non-blocking file calls. Waits are real time.
//
// The control pipe and the command pipe are two channels, so a reader could
// take a control byte before the commands written ahead of it, or commands
// of the next session before the control byte that starts it. A control
// byte therefore goes out when the reader has taken every command, and the
// write returns when the reader has taken the control byte too. A reader
// that does not take them in time (a frozen programmer), or a run the user
// stopped, gets the control byte at once, led by an order mark: the number
// of command bytes written before it since the last control write. Such a
// reader applies a control byte with a mark after that many command bytes
// since its last reset; one without a mark before the commands it reads
// after it.
#include "engine/EngineTransport.h"

#include <cstdint>
#include <set>
#include <string>
#include <vector>

// An order mark on the control pipe: this byte, then the command byte
// count, 32 bits, low byte first.
constexpr uint8_t PipeOrderMark = 0xC0;
constexpr int PipeOrderMarkSize = 5;

class TEnginePipes : public TEngineTransport {
public:
    // drainWaitMs: how long a control write waits for the reader to take
    // the commands before it, and the control byte after.
    explicit TEnginePipes(std::string folder, int drainWaitMs = DefaultDrainWaitMs);

    static constexpr int DefaultDrainWaitMs = 200;

    int Open(const std::string& pipeName) override;
    // Names the folder and what was missing: the folder, the pipe file, or
    // a server holding the pipes.
    std::string OpenError() const override { return openError_; }
    void Close(int handle) override;
    int Write(int handle, const uint8_t* data, int count) override;
    int Read(int handle, uint8_t* data, int count) override;
    bool WaitingHelps() const override { return true; }

private:
    int WriteAll(int handle, const uint8_t* data, int count);
    int WriteControl(int handle, const uint8_t* data, int count);
    // Until the reader has taken all of fd; false when it did not in time.
    bool WaitTaken(int fd);

    std::string folder_;
    int drainWaitMs_;
    // Command bytes written since the last control write.
    uint32_t commandBytes_ = 0;
    // The reader let a wait run out and has taken nothing since.
    bool readerStuck_ = false;
    std::string openError_;
    std::set<int> commandPipes_;
    std::set<int> controlPipes_;
};
