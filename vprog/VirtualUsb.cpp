#include "vprog/VirtualUsb.h"

#include "engine/Engine.h"
#include "engine/EnginePipes.h"
#include "vprog/Socket.h"

namespace {

// Handles are the pipe numbers: 0 replies, 1 commands, 2 control.
int PipeNumber(const std::string& name)
{
    if (name == "00")
        return 0;
    if (name == "01")
        return 1;
    if (name == "02")
        return 2;
    return -1;
}

} // namespace

TVirtualUsb::TVirtualUsb(TVirtualProgrammer& programmer) : programmer_(programmer) {}

int TVirtualUsb::Open(const std::string& pipeName)
{
    const int pipe = PipeNumber(pipeName);
    if (pipe >= 0)
        open_[pipe] = true;
    return pipe;
}

void TVirtualUsb::Close(int handle)
{
    if (handle >= 0 && handle < 3)
        open_[handle] = false;
}

int TVirtualUsb::Write(int handle, const uint8_t* data, int count)
{
    if (handle < 1 || handle > 2 || !open_[handle] || count < 0)
        return -1;
    if (handle == 1)
        programmer_.Write(data, static_cast<size_t>(count));
    else
        programmer_.Control(data, static_cast<size_t>(count));
    return count;
}

int TVirtualUsb::Read(int handle, uint8_t* data, int count)
{
    if (handle != 0 || !open_[0] || count < 0)
        return -1;
    return static_cast<int>(programmer_.Read(data, static_cast<size_t>(count)));
}

TVirtualProgrammer& TheVirtualProgrammer()
{
    // The socket holds what the socket file beside the program says (a
    // 24C02 without one).
    static TVirtualProgrammer programmer;
    static const bool socketFilled = (InsertChipFromSocketFile(programmer.Lines()), true);
    (void)socketFilled;
    return programmer;
}

void InstallUsbTransport(const std::string& pipeFolder)
{
    if (pipeFolder.empty())
        SetUsbTransport(std::make_unique<TVirtualUsb>(TheVirtualProgrammer()));
    else
        SetUsbTransport(std::make_unique<TEnginePipes>(pipeFolder));
}
