// A Read of a shipped module that ends early, in the run window, against
// the vprog tool over its FIFOs: the tool stopped for good (SIGSTOP) or
// killed, or the user pressing Cancel, Esc or Alt+C, at a chosen point of the
// read. Whoever ends it, module or run, the log and what the user is shown
// (the log of a window left open, or the box of a window that closes) say
// where the chip's bytes end, and the buffer holds exactly those bytes
// before that address and what it held from there on.
#include "../uExecuteRunEndToEnd.h"
#include "../ServedChip.h"

#include "engine/forms/uExecute.h"
#include "platform/SysUtils.h"

#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>


namespace {

using e2e::TBench;
using e2e::TServedChip;

enum class TFault { Stall, Kill, Cancel, Esc, AltC };
struct TReadStopCase {
    const char* Chip;
    TFault Fault;
    TFaultPoint At;
    size_t Nth;
};

std::ostream& operator<<(std::ostream& os, const TReadStopCase& c)
{
    return os << c.Chip << " fault " << static_cast<int>(c.Fault) << " at " << static_cast<int>(c.At) << "/" << c.Nth;
}

// The 24C modules read in pieces of 256 bytes, each one device procedure
// and one command block; the 25F modules in one stream.
const TReadStopCase Cases[] = {
    // Between two pieces, the next one's procedure start.
    {"24C16", TFault::Stall, TFaultPoint::ProcedureStart, 2},
    {"24C16", TFault::Kill, TFaultPoint::ProcedureStart, 2},
    {"24C16", TFault::Cancel, TFaultPoint::ProcedureStart, 4},
    {"24C16", TFault::Esc, TFaultPoint::ProcedureStart, 4},
    // A piece's read start sent, its answer never comes.
    {"24C16", TFault::Stall, TFaultPoint::Block, 3},
    {"24C16", TFault::Kill, TFaultPoint::Block, 3},
    {"24C16", TFault::Cancel, TFaultPoint::Block, 3},
    // Inside a piece.
    {"24C16", TFault::Stall, TFaultPoint::ReplyBytes, 1000},
    {"24C16", TFault::Kill, TFaultPoint::ReplyBytes, 1000},
    {"24C16", TFault::Cancel, TFaultPoint::ReplyBytes, 1000},
    {"24C16", TFault::Esc, TFaultPoint::ReplyBytes, 1900},
    // Two-byte word addresses, 256 pieces: at 2 % and half-way.
    {"24C512", TFault::Stall, TFaultPoint::ProcedureStart, 128},
    {"24C512", TFault::Kill, TFaultPoint::Block, 6},
    {"24C512", TFault::Stall, TFaultPoint::ReplyBytes, 1300},
    {"24C512", TFault::Cancel, TFaultPoint::ReplyBytes, 32768},
    {"24C512", TFault::Esc, TFaultPoint::ProcedureStart, 6},
    {"24C512", TFault::AltC, TFaultPoint::Block, 40},
    // One stream of 1 MiB: at 2 %, half-way and 95 %.
    {"25F80", TFault::Stall, TFaultPoint::ReplyBytes, 21000},
    {"25F80", TFault::Kill, TFaultPoint::ReplyBytes, 524300},
    {"25F80", TFault::Cancel, TFaultPoint::ReplyBytes, 524300},
    {"25F80", TFault::Esc, TFaultPoint::ReplyBytes, 21000},
    {"25F80", TFault::Kill, TFaultPoint::ReplyBytes, 996000},
    {"25F80", TFault::AltC, TFaultPoint::ReplyBytes, 996000},
};

class ReadStop : public ::testing::TestWithParam<TReadStopCase> {
protected:
    void SetUp() override
    {
        const TReadStopCase& c = GetParam();
        b.Select(c.Chip);
        served_ = std::make_unique<TServedChip>(b, c.Chip, 23);
        size_ = served_->Contents.size();
        ASSERT_NO_FATAL_FAILURE(served_->StartTool());
        served_->Connect();
        // Every byte the buffer held differs from the chip's, so the bytes
        // that came from the chip show exactly.
        before_.resize(size_);
        for (size_t i = 0; i < size_; ++i)
            before_[i] = static_cast<uint8_t>(served_->Contents[i] ^ 0x5A);
        std::copy(before_.begin(), before_.end(), b.Buffer1.Data.begin());
        b.Runner = &form_.Run;
        form_.SetBuffers(&b.Buffer1, &b.Buffer2);
        // The cancel question is answered Yes, every other box OK.
        b.BoxAnswer = [](const std::string& text) {
            return text.find("Are you sure to cancel") != std::string::npos ? int{IDYES} : int{IDOK};
        };
        // A run that ended waits for Close: the user has read the log.
        QObject::connect(&close_, &QTimer::timeout, [this] {
            if (form_.btCancel->text() == "Close") {
                closed_ = true;
                form_.btCancel->click();
            }
        });
        close_.start(5);
    }
    void TearDown() override { SetUsbTransport(nullptr); }

    void Strike()
    {
        struck_ = true;
        switch (GetParam().Fault) {
        case TFault::Stall: served_->Tool->Freeze(); break;
        case TFault::Kill: served_->Tool->Kill(); break;
        case TFault::Cancel: form_.btCancel->click(); break;
        case TFault::Esc: QTest::keyClick(&form_, Qt::Key_Escape); break;
        case TFault::AltC: QTest::keyClick(&form_, Qt::Key_C, Qt::AltModifier); break;
        }
    }

    void Arm()
    {
        const TReadStopCase& c = GetParam();
        StrikeAt(*served_->Link, c.At, c.Nth, [this] { Strike(); });
        // A run that waits on and on after the fault is stopped, to fail
        // below: each poll of a wait reads twice.
        served_->Link->OnEmptyRead = [this] {
            if (struck_ && ++emptyReads_ > 40 * UsbTimeOut)
                form_.Run.Tag = -1;
        };
    }

    TBench b;
    TfmExecute form_;
    std::unique_ptr<TServedChip> served_;
    QTimer close_;
    size_t size_ = 0;
    std::vector<uint8_t> before_;
    bool struck_ = false;
    bool closed_ = false;
    int emptyReads_ = 0;
};

TEST_P(ReadStop, SaysWhereTheChipsBytesEnd)
{
    const TReadStopCase& c = GetParam();
    Arm();
    EXPECT_EQ(b.Run("&Read"), 0u) << "no backup";
    ASSERT_TRUE(struck_) << "the fault point was never reached\n" << b.Log();
    EXPECT_LE(emptyReads_, 40 * UsbTimeOut) << "the run waited on after the fault\n" << b.Log();
    const std::string log = b.Log();
    std::string boxes;
    for (const std::string& box : b.Boxes)
        boxes += box + "\n";

    const std::vector<uint8_t> after = b.Buffer(size_);
    size_t kept = 0;
    while (kept < size_ && after[kept] == served_->Contents[kept])
        ++kept;
    EXPECT_GT(kept, 0u) << "every point lies after the first bytes came";
    EXPECT_LT(kept, size_) << "the read ended early";
    EXPECT_TRUE(std::equal(after.begin() + static_cast<std::ptrdiff_t>(kept), after.end(),
                           before_.begin() + static_cast<std::ptrdiff_t>(kept)))
        << "from the first byte that is not the chip's, the buffer keeps what it held (" << kept << ")";

    const int digits = size_ > 0x10000 ? 8 : 4;
    const std::string stopped =
        "Read stopped at " + IntToHex(static_cast<int64_t>(kept), digits) + ": only the bytes before it are the chip's";
    const size_t at = log.find(stopped);
    EXPECT_NE(at, std::string::npos) << stopped << "\n" << log;
    EXPECT_EQ(log.find("Read stopped", at + 1), std::string::npos) << "said once\n" << log;
    EXPECT_EQ(log.find("Read " + std::to_string(size_) + " bytes"), std::string::npos) << log;
    // A window that closes by itself leaves the box as all the user sees.
    EXPECT_TRUE(closed_ || boxes.find(stopped) != std::string::npos) << log << boxes;
    if (c.Fault == TFault::Cancel || c.Fault == TFault::Esc || c.Fault == TFault::AltC)
        EXPECT_EQ(boxes, "Read: Are you sure to cancel  \"Read\" ?\nRead: " + stopped + "\n");
    else
        EXPECT_NE(log.find(UsbLinkLostText), std::string::npos) << "the link, not the chip\n" << log;
    EXPECT_EQ(log.find("No answer from the chip"), std::string::npos) << log;
}

std::string CaseName(const ::testing::TestParamInfo<TReadStopCase>& info)
{
    static const char* const faults[] = {"stall", "kill", "cancel", "esc", "altc"};
    static const char* const points[] = {"start", "block", "bytes"};
    const TReadStopCase& c = info.param;
    return std::to_string(info.index) + "_" + c.Chip + "_" + faults[static_cast<int>(c.Fault)] + "_" +
           points[static_cast<int>(c.At)] + "_" + std::to_string(c.Nth);
}

INSTANTIATE_TEST_SUITE_P(Shipped, ReadStop, ::testing::ValuesIn(Cases), CaseName);

} // namespace
