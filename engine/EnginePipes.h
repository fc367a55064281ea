#pragma once
// The link's transport over pipe files in a folder: the FIFOs of a driver or
// of the vprog tool ("00" replies, "01" commands, "02" control), opened and
// used with plain non-blocking file calls. Waits are real time.
//
// The control pipe and the command pipe are two channels, so a reader could
// take a control byte before the commands written ahead of it, or commands
// of the next session before the control byte that starts it. A control
// byte therefore goes out only when the reader has taken every command, and
// the write returns only when the reader has taken the control byte too.
#include "engine/EngineTransport.h"

#include <set>
#include <string>

class TEnginePipes : public TEngineTransport {
public:
    explicit TEnginePipes(std::string folder);

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

    std::string folder_;
    std::string openError_;
    std::set<int> commandPipes_;
    std::set<int> controlPipes_;
};
