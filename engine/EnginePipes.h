#pragma once
// The link's transport over pipe files in a folder: the FIFOs of a driver or
// of the vprog tool ("00" replies, "01" commands, "02" control), opened and
// used with plain non-blocking file calls. Waits are real time.
//
// The control pipe and the command pipe are two channels, so a reader could
// take a control byte before the commands written ahead of it, or commands
// of the next session before the control byte that starts it. Each control
// byte therefore goes out led by an order mark: the number of command bytes
// written before it since the last control write, or since the command
// pipe was opened. The reader applies it after that many command bytes
// since its last reset.
//
// Replies are not read while the reader has a control byte still to take:
// they may belong to the session it ends. The reader drops the replies it
// has not sent, and those still in the reply pipe, before it takes the
// byte, so every reply read after it is the new session's.
//
// A control write also waits, each time for a bounded time, until the reader
// has taken the commands before it and then the control byte, so that what
// the reader was sent is done when the write returns. A reader that let
// such a wait run out is not waited for again until it has taken what it
// was sent.
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
    ~TEnginePipes() override { Release(); }
    TEnginePipes(const TEnginePipes&) = delete;
    TEnginePipes& operator=(const TEnginePipes&) = delete;

    static constexpr int DefaultDrainWaitMs = 200;

    // An advisory lock on the pipe folder itself: it needs no file of its
    // own, so a driver's read-only device folder is held as the vprog
    // tool's is, and it is not the lock file by which a vprog tool keeps a
    // second one away. It goes with the process, however that ends.
    bool Claim() override;
    void Release() override;
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
    // Until the reader has taken all of fd, or the wait runs out and the
    // reader counts as stuck.
    void WaitTaken(int fd);

    std::string folder_;
    int drainWaitMs_;
    // Command bytes written since the last control write.
    uint32_t commandBytes_ = 0;
    // The reader let a wait run out and has not caught up since.
    bool readerStuck_ = false;
    // A control byte was written that the reader may not have taken yet.
    bool controlUntaken_ = false;
    std::string openError_;
    int lockFd_ = -1;
    std::set<int> commandPipes_;
    std::set<int> controlPipes_;
};
