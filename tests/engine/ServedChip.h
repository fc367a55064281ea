#pragma once
// A chip of random contents in the socket of the vprog tool, which serves
// it over its FIFOs to the link of a bench, with the test's hands on it.
#include "VprogTool.h"
#include "WatchedPipes.h"
#include "uExecuteRunEndToEnd.h"

#include <memory>
#include <random>
#include <string>
#include <vector>

struct TServedChip {
    testsupport::TempDir Pipes;
    std::unique_ptr<vprogtool::TVprogTool> Tool;
    TWatchedPipes* Link = nullptr;
    // What the chip holds, as large as the selected module's buffer 1.
    std::vector<uint8_t> Contents;
};

// Serves the chip the bench selected; what went wrong, or empty.
inline std::string ServeSelectedChip(e2e::TBench& b, const std::string& chip, unsigned seed, TServedChip& served)
{
    std::mt19937 random(seed);
    served.Contents.resize(static_cast<size_t>(b.Module().Buffer1Size));
    for (uint8_t& byte : served.Contents)
        byte = static_cast<uint8_t>(random());
    testsupport::WriteFileBytes(b.Folder.file("served.bin"), std::string(served.Contents.begin(), served.Contents.end()));
    TSocketSetup setup;
    setup.Chip = chip;
    setup.Image = b.Folder.file("served.bin");
    const std::string socketFile = b.Folder.file("served.ini");
    if (!SaveSocketSetup(socketFile, setup))
        return "the socket file was not written";
    served.Tool =
        std::make_unique<vprogtool::TVprogTool>(std::vector<std::string>{served.Pipes.path(), socketFile});
    if (served.Tool->ReadyLine().empty())
        return "the vprog tool did not start";
    auto watched = std::make_unique<TWatchedPipes>(served.Pipes.path(), TEnginePipes::DefaultDrainWaitMs);
    served.Link = watched.get();
    SetUsbTransport(std::move(watched));
    // A second of polls rather than the default's 200: the tool is
    // another process, which a loaded machine may leave unscheduled for
    // longer than that while nothing is stalled.
    UsbTimeOut = 1000;
    return std::string();
}
