#pragma once
// The link's transport to a virtual programmer in this process, and the
// choice of transport the program makes at start-up.
#include "engine/EngineTransport.h"
#include "vprog/VirtualProgrammer.h"

#include <memory>
#include <string>

class TVirtualUsb : public TEngineTransport {
public:
    // The programmer outlives the transport (it is the device, the
    // transport only the driver's files).
    explicit TVirtualUsb(TVirtualProgrammer& programmer);

    int Open(const std::string& pipeName) override;
    void Close(int handle) override;
    int Write(int handle, const uint8_t* data, int count) override;
    int Read(int handle, uint8_t* data, int count) override;
    bool WaitingHelps() const override { return false; }
    std::string DeviceFault() const override { return programmer_.LastFault(); }

private:
    TVirtualProgrammer& programmer_;
    bool open_[3] = {false, false, false};
};

// The program's one virtual programmer, created on first use.
TVirtualProgrammer& TheVirtualProgrammer();

// Installs the link's transport: the pipe files in `pipeFolder`, or the
// program's virtual programmer when the folder is empty.
void InstallUsbTransport(const std::string& pipeFolder);
