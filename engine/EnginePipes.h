#pragma once
// The link's transport over pipe files in a folder: the FIFOs of a driver or
// of the vprog tool ("00" replies, "01" commands, "02" control), opened and
// used with plain non-blocking file calls. Waits are real time.
#include "engine/EngineTransport.h"

#include <string>

class TEnginePipes : public TEngineTransport {
public:
    explicit TEnginePipes(std::string folder);

    int Open(const std::string& pipeName) override;
    void Close(int handle) override;
    int Write(int handle, const uint8_t* data, int count) override;
    int Read(int handle, uint8_t* data, int count) override;
    bool WaitingHelps() const override { return true; }

private:
    std::string folder_;
};
