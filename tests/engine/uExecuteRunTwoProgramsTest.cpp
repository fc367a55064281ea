// Two programs on one vprog tool: while another program holds the
// programmer, every operation of this one says so plainly, sends the tool
// nothing, and leaves chip and buffer as they were; once the other lets go,
// a Read gives the chip's bytes.
#include "uExecuteRunEndToEnd.h"
#include "OtherProgram.h"
#include "VprogTool.h"
#include "WatchedPipes.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using e2e::TBench;
using otherprogram::TOtherProgram;
using vprogtool::TVprogTool;

struct TBusyCase {
    const char* Chip;
    const char* Operation;
};

const TBusyCase BusyCases[] = {
    {"24C16", "&Read"},  {"24C16", "&Write"}, {"25F80", "&Read"},        {"25F80", "&Write"},
    {"25F80", "&Erase"}, {"25F80", "&Verify"}, {"25F80", "&Blank check"},
};

class RunWhileAnotherProgramHoldsTheProgrammer : public ::testing::TestWithParam<TBusyCase> {
protected:
    void SetUp() override
    {
        b.Select(GetParam().Chip);
        size_ = static_cast<size_t>(b.Module().Buffer1Size);
        std::mt19937 random(31);
        chip_.resize(size_);
        for (char& byte : chip_)
            byte = static_cast<char>(random());
        testsupport::WriteFileBytes(b.Folder.file("served.bin"), chip_);
        TSocketSetup setup;
        setup.Chip = GetParam().Chip;
        setup.Image = b.Folder.file("served.bin");
        const std::string socketFile = b.Folder.file("served.ini");
        ASSERT_TRUE(SaveSocketSetup(socketFile, setup));
        tool_ = std::make_unique<TVprogTool>(std::vector<std::string>{pipes_.path(), socketFile});
        ASSERT_NE(tool_->ReadyLine(), "") << "the vprog tool did not start";
        auto watched = std::make_unique<TWatchedPipes>(pipes_.path(), TEnginePipes::DefaultDrainWaitMs);
        link_ = watched.get();
        SetUsbTransport(std::move(watched));
        // A second of polls: the tool is another process, which a loaded
        // machine may leave unscheduled for a while.
        UsbTimeOut = 1000;
    }
    void TearDown() override { SetUsbTransport(nullptr); }

    bool BufferIsChip() const
    {
        const std::vector<uint8_t> read = b.Buffer(size_);
        return std::equal(read.begin(), read.end(), chip_.begin(),
                          [](uint8_t a, char c) { return a == static_cast<uint8_t>(c); });
    }

    TBench b;
    testsupport::TempDir pipes_;
    std::unique_ptr<TVprogTool> tool_;
    TWatchedPipes* link_ = nullptr;
    size_t size_ = 0;
    std::string chip_;
};

TEST_P(RunWhileAnotherProgramHoldsTheProgrammer, SaysSoTouchesNothingAndGoesOnOnceItIsFree)
{
    b.FillRandom(size_, 9);
    const std::vector<uint8_t> before = b.Buffer(size_);
    {
        TOtherProgram other(pipes_.path());
        ASSERT_TRUE(other.Holds());
        EXPECT_EQ(b.Run(GetParam().Operation), 0u);
        EXPECT_EQ(b.Boxes, std::vector<std::string>{"Tarku: " + std::string(UsbInUseText)}) << b.Log();
        EXPECT_TRUE(link_->Commands.empty()) << "a command went to the programmer";
        EXPECT_TRUE(b.Buffer(size_) == before) << "the buffer changed";
        EXPECT_TRUE(other.LetGo()) << "the other program's replies stayed its own";
    }
    b.Buffer1.EraseBuffer();
    b.Run("&Read");
    EXPECT_NE(b.Log().find("Read " + std::to_string(size_) + " bytes"), std::string::npos) << b.Log();
    EXPECT_TRUE(b.Boxes.empty()) << b.Boxes.front();
    EXPECT_TRUE(BufferIsChip()) << "the chip changed, or the Read did not give it";
}

INSTANTIATE_TEST_SUITE_P(Shipped, RunWhileAnotherProgramHoldsTheProgrammer, ::testing::ValuesIn(BusyCases),
                         [](const auto& info) {
                             std::string name = std::string(info.param.Chip) + "_" + info.param.Operation;
                             for (char& ch : name)
                                 if (!isalnum(static_cast<unsigned char>(ch)))
                                     ch = '_';
                             return name;
                         });

} // namespace
