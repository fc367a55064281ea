// The firmware stand-in on its own: the socket and pin test, uploads that
// go wrong, and whatever bytes a host may send.
#include "vprog/VirtualUsb.h"

#include "engine/Engine.h"
#include "engine/Global.h"

#include "ProgramStateGuard.h"

#include <gtest/gtest.h>

#include <chrono>
#include <random>

namespace {

using Bytes = std::vector<uint8_t>;

class VirtualProgrammerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetUsbTransport(std::make_unique<TVirtualUsb>(vp));
        ASSERT_TRUE(OpenDevice());
    }
    void TearDown() override { SetUsbTransport(nullptr); }

    void Send(const Bytes& bytes) { vp.Write(bytes.data(), bytes.size()); }
    Bytes Receive(size_t most = 4096)
    {
        Bytes out(most);
        out.resize(vp.Read(out.data(), out.size()));
        return out;
    }

    testsupport::TProgramStateGuard state;
    TVirtualProgrammer vp;
};

// A chip with ground on line 4 and supply on line 8, contact on `contact`.
std::unique_ptr<TSimChip> Chip(uint8_t contact = 0xFF)
{
    auto chip = std::make_unique<TSimChip>();
    chip->GndLines = 0x08;
    chip->VccLines = 0x80;
    chip->ContactLines = contact;
    return chip;
}

TEST_F(VirtualProgrammerTest, PinTestSeesTheSocket)
{
    ASSERT_TRUE(SetDevicePower(0, 0, 0));
    EXPECT_EQ(TestPins(0x08), -1) << "empty socket";

    vp.Lines().Attach(Chip());
    EXPECT_EQ(TestPins(0x08), 0) << "every line has contact";

    vp.Lines().RemoveChips();
    vp.Lines().Attach(Chip(0xFF & ~0x21));
    EXPECT_EQ(TestPins(0x08), 0x21) << "lines 1 and 6 without contact";

    vp.Lines().RemoveChips();
    vp.Lines().Attach(Chip(0xFF & ~0x08));
    EXPECT_EQ(TestPins(0x08), -1) << "ground without contact";

    // Line 1 without contact but shorted to line 2, which has: the short
    // carries the test through.
    vp.Lines().RemoveChips();
    vp.Lines().Attach(Chip(0xFE));
    vp.Lines().SetShortedLines(0x03);
    EXPECT_EQ(TestPins(0x08), 0);
}

TEST_F(VirtualProgrammerTest, ChipsArePoweredOnlyFromTheSupply)
{
    // Loopback from line 1 to line 2, supply on line 8, ground on line 4.
    vp.Lines().Attach(std::make_unique<TLoopbackChip>(0, 1, 0x80, 0x08));
    ASSERT_TRUE(SetGndPins(0x08));
    SetOutputLevels(0xFE);
    Send({6});
    EXPECT_EQ(Receive(), Bytes{0xF6}) << "unpowered: line 2 stays high";
    ASSERT_TRUE(SetVccPins(0x80));
    Send({6});
    EXPECT_EQ(Receive(), Bytes{0xF6}) << "on the supply line, but the supply is off";
    ASSERT_TRUE(DevicePowerOn());
    Send({6});
    EXPECT_EQ(Receive(), Bytes{0xF4}) << "powered: line 2 follows line 1";
    vp.Lines().SetForcedOverload(true);
    uint8_t status = 0xFF;
    ASSERT_TRUE(ReadDeviceStatus(status));
    EXPECT_EQ(status, 0);
}

TEST_F(VirtualProgrammerTest, UploadsThatGoWrongKeepTheOldCode)
{
    Bytes image(2048);
    for (size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<uint8_t>(i * 13);
    ASSERT_EQ(UploadCode(image, 2048), 0);
    ASSERT_TRUE(std::equal(image.begin(), image.end(), vp.Cpu().Code().begin()));

    // More blocks than the code memory holds: every block refused.
    Send({7, 65});
    EXPECT_EQ(Receive(), Bytes{0xBB});
    Send(Bytes(32, 0x11));
    EXPECT_EQ(Receive(), Bytes{0xEE});
    CloseDevice();
    ASSERT_TRUE(OpenDevice());

    // An upload cut short by a reset.
    Send({7, 2});
    Send(Bytes(32, 0x22));
    CloseDevice();
    EXPECT_TRUE(std::equal(image.begin(), image.end(), vp.Cpu().Code().begin()));
    ASSERT_TRUE(OpenDevice());
    uint8_t status = 0xFF;
    EXPECT_TRUE(ReadDeviceStatus(status)) << "the firmware takes commands again";
}

TEST_F(VirtualProgrammerTest, WaitsCostNoRealTime)
{
    const auto start = std::chrono::steady_clock::now();
    uint8_t b;
    for (int i = 0; i < 100; ++i)
        ASSERT_EQ(DeviceReadByte(b), 1);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10))
        << "100 time-outs of 200 polls each";
}

TEST_F(VirtualProgrammerTest, AHostThatNeverReadsGetsABoundedQueue)
{
    for (int i = 0; i < 10000; ++i)
        Send({8});
    EXPECT_LE(Receive(1 << 20).size(), TVirtualProgrammer::OutputLimit);
}

TEST_F(VirtualProgrammerTest, SurvivesAnyBytes)
{
    vp.Cpu().MaxRunLength = 100000;
    std::mt19937 random(12345);
    for (int round = 0; round < 300; ++round) {
        Bytes bytes(random() % 300);
        for (uint8_t& b : bytes)
            b = static_cast<uint8_t>(random());
        switch (random() % 4) {
        case 0: Send(bytes); break;
        case 1: Receive(random() % 512); break;
        case 2: vp.Control(bytes.data(), bytes.size() % 2); break;
        default:
            // Random code started at a random address.
            Bytes upload = {7, static_cast<uint8_t>(random() % 66)};
            Send(upload);
            Send(bytes);
            Send({9, 0, static_cast<uint8_t>(random() % 8), static_cast<uint8_t>(random())});
            Receive();
            break;
        }
    }
    CloseDevice();
    TStringList info;
    ASSERT_TRUE(ReadFirmwareInfo(info));
    EXPECT_EQ(info[0], "Tarku virtual programmer");
}

} // namespace
