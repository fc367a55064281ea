// Two programs on one vprog tool: while another program holds the
// programmer, every operation of this one says so plainly, sends the tool
// nothing, and leaves chip and buffer as they were; once the other lets go,
// a Read gives the chip's bytes.
#include "engine/LanguageTexts.h"

#include "OtherProgram.h"
#include "ServedChip.h"

#include <gtest/gtest.h>

namespace {

using e2e::TBench;
using e2e::TServedChip;
using otherprogram::TOtherProgram;

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
        served_ = std::make_unique<TServedChip>(b, GetParam().Chip, 31);
        size_ = served_->Contents.size();
        ASSERT_NO_FATAL_FAILURE(served_->StartTool());
        served_->Connect();
    }
    void TearDown() override { SetUsbTransport(nullptr); }

    TBench b;
    std::unique_ptr<TServedChip> served_;
    size_t size_ = 0;
};

TEST_P(RunWhileAnotherProgramHoldsTheProgrammer, SaysSoTouchesNothingAndGoesOnOnceItIsFree)
{
    b.FillRandom(size_, 9);
    const std::vector<uint8_t> before = b.Buffer(size_);
    {
        TOtherProgram other(served_->Pipes.path());
        ASSERT_TRUE(other.Holds());
        EXPECT_EQ(b.Run(GetParam().Operation), 0u);
        EXPECT_EQ(b.Boxes, std::vector<std::string>{"Tarku: " + std::string(UsbInUseText)}) << b.Log();
        EXPECT_TRUE(served_->Link->Commands.empty()) << "a command went to the programmer";
        EXPECT_TRUE(b.Buffer(size_) == before) << "the buffer changed";
        EXPECT_TRUE(other.LetGo()) << "the other program's replies stayed its own";
    }
    b.Buffer1.EraseBuffer();
    b.Run("&Read");
    EXPECT_NE(b.Log().find("Read " + std::to_string(size_) + " bytes"), std::string::npos) << b.Log();
    EXPECT_TRUE(b.Boxes.empty()) << b.Boxes.front();
    EXPECT_TRUE(b.Buffer(size_) == served_->Contents) << "the chip changed, or the Read did not give it";
}

INSTANTIATE_TEST_SUITE_P(Shipped, RunWhileAnotherProgramHoldsTheProgrammer, ::testing::ValuesIn(BusyCases),
                         [](const auto& info) {
                             return e2e::CaseName(std::string(info.param.Chip) + "_" + info.param.Operation);
                         });

} // namespace

namespace {

// A run that stops on the way, here at the first reply it waits for (the
// module name of a tool that does not answer), lets the programmer go too.
TEST(RunThatStopsOnTheWay, LetsTheProgrammerGo)
{
    TBench b;
    b.Select("24C16");
    TServedChip served(b, "24C16", 3);
    ASSERT_NO_FATAL_FAILURE(served.StartTool());
    served.Connect();
    UsbTimeOut = 50;
    served.Tool->Freeze();
    b.Run("&Read");
    served.Tool->Thaw();
    ASSERT_EQ(b.Boxes.size(), 1u);
    EXPECT_EQ(b.Boxes[0].rfind("Tarku: " + MessageText(msgProgrammerNotPresent), 0), 0u) << b.Boxes[0];
    TOtherProgram other(served.Pipes.path());
    EXPECT_TRUE(other.Holds()) << "the run still holds the programmer";
    EXPECT_TRUE(other.LetGo());
    SetUsbTransport(nullptr);
}

} // namespace
