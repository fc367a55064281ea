// Shipped modules against the vprog tool over its FIFOs, the tool stopped
// (SIGSTOP) at chosen points of each operation: for good, or resumed
// (SIGCONT) once a read has timed out. Every case ends with the link's
// message after one time-out, no success text, no backup, nothing blamed
// on the chip, the supply off, and no buffer byte shown as read that was
// never read from the chip.
#include "ServedChip.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

using e2e::TBench;
using e2e::TServedChip;
using vprogtool::HangCeilingMs;
using vprogtool::TVprogTool;

struct TStallCase {
    const char* Chip;
    const char* Operation;
    TFaultPoint At;
    size_t Nth;
    const char* Success; // the line of a run that went well
};

std::ostream& operator<<(std::ostream& os, const TStallCase& c)
{
    return os << c.Chip << " " << c.Operation << " " << static_cast<int>(c.At) << "/" << c.Nth;
}

// Pages written by the flash cases: two of them, so that the write starts
// few page programs before its verify pass.
constexpr size_t FlashPages[] = {0, 5};

const TStallCase StallCases[] = {
    // A 24C02: one chunk read, 32 pages written.
    {"24C02", "&Read", TFaultPoint::ProcedureStart, 1, "Read 256 bytes"},
    {"24C02", "&Read", TFaultPoint::Block, 1, "Read 256 bytes"},
    {"24C02", "&Write", TFaultPoint::ProcedureStart, 3, "Write OK"},
    {"24C02", "&Write", TFaultPoint::Block, 3, "Write OK"},
    {"24C02", "&Write", TFaultPoint::Block, 33, "Verify OK"}, // the verify pass
    {"24C02", "&Verify", TFaultPoint::Block, 1, "Verify OK"},
    {"24C02", "&Erase", TFaultPoint::Block, 2, "Erase OK"},
    {"24C02", "&Blank check", TFaultPoint::ProcedureStart, 1, "Chip is blank"},
    // A 24C32: sixteen chunks read, 128 pages written.
    {"24C32", "&Read", TFaultPoint::ProcedureStart, 2, "Read 4096 bytes"},
    {"24C32", "&Read", TFaultPoint::Block, 5, "Read 4096 bytes"},
    {"24C32", "&Write", TFaultPoint::Block, 40, "Write OK"},
    {"24C32", "&Verify", TFaultPoint::Block, 9, "Verify OK"},
    // A 25F10: ID, then the erase, page programs or one stream of 128 KiB.
    {"25F10", "&Read", TFaultPoint::ProcedureStart, 1, "Read 131072 bytes"},
    {"25F10", "&Read", TFaultPoint::Block, 1, "Read 131072 bytes"},
    {"25F10", "&Read", TFaultPoint::ReplyBytes, 16384, "Read 131072 bytes"},
    {"25F10", "&Verify", TFaultPoint::ReplyBytes, 16384, "Verify OK"},
    {"25F10", "&Blank check", TFaultPoint::ReplyBytes, 40000, "Chip is blank"},
    {"25F10", "&Erase", TFaultPoint::ProcedureStart, 2, "Erase OK"},
    {"25F10", "&Write", TFaultPoint::ProcedureStart, 2, "Write OK"}, // the erase
    {"25F10", "&Write", TFaultPoint::Block, 2, "Write OK"},          // a page program
    {"25F10", "&Write", TFaultPoint::Block, 3, "Verify OK"},         // the verify stream
    {"25F10", "Read &ID", TFaultPoint::ProcedureStart, 1, "JEDEC ID"},
};

class EndToEndStall : public ::testing::TestWithParam<std::tuple<TStallCase, bool>> {
protected:
    void SetUp() override
    {
        const TStallCase& c = Case();
        b.Select(c.Chip);
        served_ = std::make_unique<TServedChip>(b, c.Chip, 17);
        size_ = served_->Contents.size();
        chip_ = served_->Contents;
        ASSERT_NO_FATAL_FAILURE(served_->StartTool());
        served_->Connect();
        tool_ = served_->Tool.get();
        link_ = served_->Link;
    }
    void TearDown() override { SetUsbTransport(nullptr); }

    const TStallCase& Case() const { return std::get<0>(GetParam()); }
    bool Resumes() const { return std::get<1>(GetParam()); }

    // What the buffer holds before the run: neither the chip's bytes nor
    // what a time-out would store.
    void FillBuffer()
    {
        for (size_t i = 0; i < size_; ++i)
            b.Buffer1.Data[i] = static_cast<uint8_t>(0xA5 ^ (i * 7));
        if (b.Module().Buffer1Size > 0x10000)
            for (size_t page = 0; page < size_ / 256; ++page)
                if (std::find(std::begin(FlashPages), std::end(FlashPages), page) == std::end(FlashPages))
                    std::fill_n(b.Buffer1.Data.begin() + static_cast<std::ptrdiff_t>(page * 256), 256, uint8_t{0xFF});
        before_ = b.Buffer(size_);
    }

    void Stall()
    {
        tool_->Freeze();
        frozen_ = true;
        stalledAt_ = std::chrono::steady_clock::now();
    }

    void Arm()
    {
        const TStallCase& c = Case();
        StrikeAt(*link_, c.At, c.Nth, [this] { Stall(); });
        link_->OnEmptyRead = [this] {
            if (!frozen_)
                return;
            ++emptyReads_;
            // Each poll of a wait reads twice: one time-out is 2 x UsbTimeOut
            // empty reads. Resumed once the first one has run out, so that
            // late bytes arrive while the module could still take them.
            if (Resumes() && !thawed_ && emptyReads_ > 2 * UsbTimeOut) {
                tool_->Thaw();
                thawed_ = true;
            }
            // A module that waits on and on is stopped, to fail below.
            if (emptyReads_ > 40 * UsbTimeOut)
                b.View.Run.Tag = -1;
        };
    }

    TBench b;
    std::unique_ptr<TServedChip> served_;
    TVprogTool* tool_ = nullptr;
    TWatchedPipes* link_ = nullptr;
    size_t size_ = 0;
    std::vector<uint8_t> chip_;
    std::vector<uint8_t> before_;
    bool frozen_ = false;
    bool thawed_ = false;
    int emptyReads_ = 0;
    std::chrono::steady_clock::time_point stalledAt_;
};

TEST_P(EndToEndStall, EndsWithTheLinkMessageAndNothingReportedAsRead)
{
    const TStallCase& c = Case();
    FillBuffer();
    Arm();
    const uint32_t exitValue = b.Run(c.Operation);
    const auto ended = std::chrono::steady_clock::now();
    ASSERT_TRUE(frozen_) << "the stall point was never reached\n" << b.Log();
    const std::string log = b.Log();
    std::string boxes;
    for (const std::string& box : b.Boxes)
        boxes += box + "\n";

    EXPECT_EQ(exitValue, 0u) << "no backup, the window open\n" << log;
    EXPECT_TRUE(log.find(UsbLinkLostText) != std::string::npos ||
                boxes == "Error: " + std::string(UsbLinkLostText) + "\n")
        << log << boxes;
    EXPECT_EQ(log.find(c.Success), std::string::npos) << log;
    for (const char* chipsFault : {"No answer from the chip", "did not acknowledge", "stays busy", "No chip answers",
                                   "is not 54", "Verify failed"})
        EXPECT_EQ(log.find(chipsFault), std::string::npos) << "blamed on the chip\n" << log;
    // One time-out and the run is over; a few polls of slack for the
    // waits that close the link.
    EXPECT_LE(emptyReads_, 2 * UsbTimeOut + 20) << log;
    EXPECT_LT(ended - stalledAt_, std::chrono::milliseconds(HangCeilingMs));

    // Bytes read before the stall are the chip's; from the first one that
    // is not, the buffer keeps what it held.
    const std::vector<uint8_t> after = b.Buffer(size_);
    size_t kept = 0;
    if (std::string(c.Operation) == "&Read")
        while (kept < size_ && after[kept] == chip_[kept])
            ++kept;
    EXPECT_LT(kept, size_);
    EXPECT_TRUE(std::equal(after.begin() + static_cast<std::ptrdiff_t>(kept), after.end(),
                           before_.begin() + static_cast<std::ptrdiff_t>(kept)))
        << "a byte never read from the chip is shown as read (from " << kept << ")";

    // However the run ended, it let the programmer go: another program
    // may take it.
    TEnginePipes otherProgram(served_->Pipes.path());
    EXPECT_TRUE(otherProgram.Claim()) << "the run still holds the programmer";
    otherProgram.Release();

    // Once the tool runs again it takes the supply-off the run sent.
    if (!thawed_)
        tool_->Thaw();
    // The tool drops what the stopped procedure had under way before it
    // takes the reset of the next open, and nothing is read before that.
    uint8_t status = 0xFF;
    const bool statusRead = OpenDevice() && ReadDeviceStatus(status);
    EXPECT_TRUE(statusRead);
    EXPECT_EQ(status, 0) << "the supply is off";
    CloseDevice();
}

INSTANTIATE_TEST_SUITE_P(Shipped, EndToEndStall,
                         ::testing::Combine(::testing::ValuesIn(StallCases), ::testing::Bool()),
                         [](const auto& info) {
                             const TStallCase& c = std::get<0>(info.param);
                             const std::string name =
                                 std::string(c.Chip) + "_" + c.Operation + "_" +
                                 std::to_string(static_cast<int>(c.At)) + "_" + std::to_string(c.Nth) +
                                 (std::get<1>(info.param) ? "_resumed" : "_for_good");
                             return std::to_string(info.index) + "_" + e2e::CaseName(name);
                         });

} // namespace
