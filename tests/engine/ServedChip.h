#pragma once
// A bench's chip served by the vprog tool in a process of its own: random
// contents in an image in the bench's folder, a socket file naming both,
// and the bench's link going to the tool's FIFOs through a watched link.
#include "uExecuteRunEndToEnd.h"
#include "VprogTool.h"
#include "WatchedPipes.h"

#include <gtest/gtest.h>

#include <cctype>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace e2e {

// A case's words as a test name: every character but letters and digits
// becomes "_".
inline std::string CaseName(std::string words)
{
    for (char& ch : words)
        if (!isalnum(static_cast<unsigned char>(ch)))
            ch = '_';
    return words;
}

class TServedChip {
public:
    // The chip's contents, random bytes from `seed`, as many as the
    // bench's module has in buffer 1.
    TServedChip(TBench& b, const std::string& chip, unsigned seed) : bench_(b)
    {
        std::mt19937 random(seed);
        Contents.resize(static_cast<size_t>(b.Module().Buffer1Size));
        for (uint8_t& byte : Contents)
            byte = static_cast<uint8_t>(random());
        testsupport::WriteFileBytes(b.Folder.file("served.bin"), std::string(Contents.begin(), Contents.end()));
        TSocketSetup setup;
        setup.Chip = chip;
        setup.Image = b.Folder.file("served.bin");
        socketFile_ = b.Folder.file("served.ini");
        saved_ = SaveSocketSetup(socketFile_, setup);
    }

    // Starts a tool (again) on the pipe folder; a test failure when it does
    // not start.
    void StartTool()
    {
        ASSERT_TRUE(saved_) << "the socket file was not written";
        Tool = std::make_unique<vprogtool::TVprogTool>(std::vector<std::string>{Pipes.path(), socketFile_});
        ASSERT_NE(Tool->ReadyLine(), "") << "the vprog tool did not start";
    }
    // A link to the tool, as a program that has just started has.
    void Connect()
    {
        auto watched = std::make_unique<TWatchedPipes>(Pipes.path(), TEnginePipes::DefaultDrainWaitMs);
        Link = watched.get();
        SetUsbTransport(std::move(watched));
        // A second of polls rather than the default's 200: the tool is
        // another process, which a loaded machine may leave unscheduled for
        // longer than that while nothing is stalled.
        UsbTimeOut = 1000;
    }
    // What the tool serves now: the image as it last saved it.
    std::vector<uint8_t> Saved() const
    {
        const std::string saved = testsupport::ReadFileBytes(bench_.Folder.file("served.bin"));
        return std::vector<uint8_t>(saved.begin(), saved.end());
    }

    std::vector<uint8_t> Contents;
    testsupport::TempDir Pipes;
    std::unique_ptr<vprogtool::TVprogTool> Tool;
    TWatchedPipes* Link = nullptr;

private:
    TBench& bench_;
    std::string socketFile_;
    bool saved_ = false;
};

} // namespace e2e
