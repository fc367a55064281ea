// The vprog tool killed at a point of a run and started again, as a
// programmer unplugged and plugged in again: the next Read, from the same
// program and from one started afresh, gives the chip's bytes at the first
// try.
#include "ServedChip.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

namespace {

using e2e::TBench;
using e2e::TServedChip;

// Where the tool is killed: once n reply bytes have been read, once n
// command bytes have gone out, or just before the supply-off that follows
// the run's last reply.
enum class TKillAt { ReplyBytes, CommandBytes, SupplyOff };

struct TRestartCase {
    const char* Name;
    const char* Chip;
    const char* Operation;
    TKillAt At;
    size_t Nth;
};

const TRestartCase RestartCases[] = {
    {"24C16 Read, killed at 1000 bytes", "24C16", "&Read", TKillAt::ReplyBytes, 1000},
    {"24C16 Read, killed before the supply goes off", "24C16", "&Read", TKillAt::SupplyOff, 0},
    {"25F80 Write, killed at 500000 bytes", "25F80", "&Write", TKillAt::CommandBytes, 500000},
};

class RunAfterRestart : public ::testing::TestWithParam<TRestartCase> {
protected:
    void SetUp() override
    {
        const TRestartCase& c = GetParam();
        b.Select(c.Chip);
        served_ = std::make_unique<TServedChip>(b, c.Chip, 23);
        size_ = served_->Contents.size();
        ASSERT_NO_FATAL_FAILURE(served_->StartTool());
        served_->Connect();
    }
    void TearDown() override { SetUsbTransport(nullptr); }

    void ArmKill()
    {
        const TRestartCase c = GetParam();
        served_->Link->BeforeCommand = [this, c](const std::vector<uint8_t>& command) {
            if (killed_)
                return;
            sent_ += command.size();
            const bool supplyOff = command == std::vector<uint8_t>{1, 1};
            if ((c.At == TKillAt::CommandBytes && sent_ >= c.Nth) || (c.At == TKillAt::SupplyOff && supplyOff))
                Kill();
        };
        served_->Link->OnData = [this, c](size_t bytes) {
            if (!killed_ && c.At == TKillAt::ReplyBytes && bytes >= c.Nth)
                Kill();
        };
    }
    void Kill()
    {
        served_->Tool->Kill();
        killed_ = true;
    }

    // One Read, its log and boxes, against what the tool serves.
    void ExpectReadGivesTheChip(const char* who)
    {
        SCOPED_TRACE(who);
        const std::vector<uint8_t> chip = served_->Saved();
        ASSERT_EQ(chip.size(), size_);
        b.Buffer1.EraseBuffer();
        b.Run("&Read");
        EXPECT_NE(b.Log().find("Read " + std::to_string(size_) + " bytes"), std::string::npos) << b.Log();
        EXPECT_TRUE(b.Boxes.empty()) << b.Boxes.front();
        EXPECT_TRUE(b.Buffer(size_) == chip) << "the buffer is not the chip";
    }

    TBench b;
    std::unique_ptr<TServedChip> served_;
    size_t size_ = 0;
    size_t sent_ = 0;
    bool killed_ = false;
};

TEST_P(RunAfterRestart, TheNextReadGivesTheChipFromThisProgramAndAFreshOne)
{
    b.FillRandom(size_, 5);
    ArmKill();
    b.Run(GetParam().Operation);
    ASSERT_TRUE(killed_) << "the kill point was never reached\n" << b.Log();
    served_->Link->BeforeCommand = nullptr;
    served_->Link->OnData = nullptr;
    ASSERT_NO_FATAL_FAILURE(served_->StartTool());

    ExpectReadGivesTheChip("the same program");

    // A link that kept counting across the unplugging would have led its
    // first control byte with a mark for every command byte it sent to the
    // dead tool: the tool must not wait for them, so no program can leave it
    // deaf for the next one.
    const int control = open((served_->Pipes.path() + "/02").c_str(), O_WRONLY | O_NONBLOCK);
    ASSERT_GE(control, 0);
    std::vector<uint8_t> mark{PipeOrderMark};
    for (int shift = 0; shift < 32; shift += 8)
        mark.push_back(static_cast<uint8_t>(sent_ >> shift));
    mark.push_back(0);
    ASSERT_EQ(write(control, mark.data(), mark.size()), static_cast<ssize_t>(mark.size()));
    close(control);

    served_->Connect();
    ExpectReadGivesTheChip("a program started afresh");
}

INSTANTIATE_TEST_SUITE_P(Shipped, RunAfterRestart, ::testing::ValuesIn(RestartCases),
                         [](const auto& info) { return e2e::CaseName(info.param.Name); });

} // namespace
