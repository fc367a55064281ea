// The link against a scripted device: packets, replies, time-outs and the
// misbehaving device.
#include "LinkScripted.h"

#include "engine/Engine.h"
#include "engine/Global.h"

#include "ProgramStateGuard.h"

#include <gtest/gtest.h>

#include <chrono>
#include <numeric>

namespace {

using Bytes = std::vector<uint8_t>;

class LinkTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto owned = std::make_unique<TScriptedTransport>();
        t = owned.get();
        SetUsbTransport(std::move(owned));
        UsbTimeOut = 5;
    }
    void TearDown() override { SetUsbTransport(nullptr); }

    // Opens the link and forgets what the opening wrote.
    void Open()
    {
        ASSERT_TRUE(OpenDevice());
        t->Packets.clear();
        t->Reads = 0;
    }

    testsupport::TProgramStateGuard state;
    TScriptedTransport* t = nullptr;
};

TEST_F(LinkTest, OpenOrderResetAndDrain)
{
    t->Queue({1, 2, 3});
    ASSERT_TRUE(OpenDevice());
    EXPECT_EQ(t->Opened, (std::vector<std::string>{"01", "00", "02"}));
    ASSERT_EQ(t->Packets.size(), 1u);
    EXPECT_EQ(t->Packets[0].Pipe, 2);
    EXPECT_EQ(t->Packets[0].Bytes, Bytes{0});
    EXPECT_TRUE(t->Replies.empty());
    uint8_t b;
    EXPECT_EQ(DeviceReadByte(b), 1) << "drained bytes are not handed out";

    t->Packets.clear();
    CloseDevice();
    ASSERT_EQ(t->Packets.size(), 1u);
    EXPECT_EQ(t->Packets[0].Pipe, 2);
    EXPECT_EQ(t->OpenHandles, 0);
    EXPECT_EQ(UsbOutHandle, -1);
    EXPECT_EQ(UsbInHandle, -1);
    EXPECT_EQ(UsbControlHandle, -1);
    EXPECT_EQ(DeviceReadByte(b), -1);
    EXPECT_FALSE(DevicePowerOn());
}

TEST_F(LinkTest, OpenFailsWhenAnyPipeIsMissing)
{
    for (const char* pipe : {"00", "01", "02"}) {
        t->Missing = {pipe};
        EXPECT_FALSE(OpenDevice()) << pipe;
    }
    SetUsbTransport(nullptr);
    EXPECT_FALSE(OpenDevice());
}

TEST_F(LinkTest, DrainOfADeviceThatNeverStopsSendingEnds)
{
    t->OnCommand = nullptr;
    t->ReadChunk = 64;
    for (int i = 0; i < 200000; ++i)
        t->Replies.push_back(0x42);
    EXPECT_TRUE(OpenDevice());
}

TEST_F(LinkTest, ReadsAcceptAFullBuffer)
{
    Open();
    Bytes sent(300);
    std::iota(sent.begin(), sent.end(), 0);
    t->Replies.assign(sent.begin(), sent.end());
    Bytes got;
    uint8_t b;
    while (DeviceReadByte(b) == 0)
        got.push_back(b);
    EXPECT_EQ(got, sent);
    EXPECT_EQ(t->Reads, 2 + 2 * UsbTimeOut) << "one read per 256 bytes, then the polls of the time-out";
}

TEST_F(LinkTest, ReadTimeOutAndErrors)
{
    Open();
    uint8_t b;
    UsbTimeOut = 4;
    EXPECT_EQ(DeviceReadByte(b), 1);
    EXPECT_EQ(t->Reads, 8) << "each poll reads twice";

    t->Reads = 0;
    UsbTimeOut = 0;
    EXPECT_EQ(DeviceReadByte(b), 1);
    EXPECT_EQ(t->Reads, 2) << "at least one poll";

    t->Reads = 0;
    UsbTimeOut = 200;
    t->Waits = false;
    EXPECT_EQ(DeviceReadByte(b), 1);
    EXPECT_EQ(t->Reads, 2) << "a transport that cannot bring more is asked once, never waited for";

    t->ReadsFail = true;
    EXPECT_EQ(DeviceReadByte(b), -1);
}

TEST_F(LinkTest, BlockModeGathersAndNeverOverruns)
{
    Open();
    BeginBlock();
    EXPECT_TRUE(UsbBlockMode());
    for (int i = 0; i < UsbBlockSize + 5; ++i)
        ASSERT_TRUE(DeviceWriteByte(static_cast<uint8_t>(i)));
    ASSERT_EQ(t->Commands().size(), 1u) << "a full block is sent before it would overflow";
    EXPECT_EQ(t->Commands()[0].size(), static_cast<size_t>(UsbBlockSize));
    EXPECT_TRUE(EndBlock());
    ASSERT_EQ(t->Commands().size(), 2u);
    EXPECT_EQ(t->Commands()[1], (Bytes{4, 5, 6, 7, 8}));
    EXPECT_FALSE(UsbBlockMode());

    t->Packets.clear();
    EXPECT_TRUE(EndBlock()) << "an empty block sends nothing";
    EXPECT_TRUE(t->Packets.empty());
    EXPECT_TRUE(DeviceWriteByte(7));
    EXPECT_EQ(t->Commands(), (std::vector<Bytes>{{7}}));

    BeginBlock();
    DeviceWriteByte(1);
    t->WritesFail = true;
    EXPECT_FALSE(EndBlock());
}

TEST_F(LinkTest, SimpleCommandsAndVoltageCodes)
{
    Open();
    EXPECT_TRUE(DevicePowerOn());
    EXPECT_TRUE(DevicePowerOff());
    EXPECT_TRUE(SetVoltageCode(9));
    EXPECT_TRUE(SetVccPins(0x81));
    EXPECT_TRUE(SetGndPins(0x08));
    SetOutputLevels(0x55);
    EXPECT_EQ(t->Commands(), (std::vector<Bytes>{{1, 0}, {1, 1}, {2, 9}, {3, 0x81}, {4, 0x08}, {5, 0x55}}));
    const uint8_t codes[] = {15, 14, 13, 12, 11, 10, 9, 8, 6};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(VoltageCode(i), codes[i]);
    EXPECT_EQ(VoltageCode(-1), 15);
    EXPECT_EQ(VoltageCode(9), 15);
    t->WritesFail = true;
    EXPECT_FALSE(DevicePowerOn());
}

// A device that acknowledges uploads; `nakBlock` answers that block with
// another byte.
void AnswerUploads(TScriptedTransport* t, Bytes& received, int nakBlock = -1)
{
    auto blocks = std::make_shared<size_t>(0);
    t->OnCommand = [t, &received, nakBlock, blocks](const Bytes& p) {
        if (p.size() == 2 && p[0] == 7) {
            *blocks = p[1];
            t->Queue({0xBB});
            return;
        }
        if (p.size() != 32)
            return;
        const int block = static_cast<int>(received.size() / 32);
        received.insert(received.end(), p.begin(), p.end());
        t->Queue({block == nakBlock ? uint8_t{0x11} : uint8_t{0xBB}});
        if (received.size() == 32 * *blocks)
            t->Queue({static_cast<uint8_t>(std::accumulate(received.begin(), received.end(), 0))});
    };
}

TEST_F(LinkTest, UploadOfSixtyFourBytesSendsThreeBlocks)
{
    Open();
    Bytes image(2048, 0);
    for (int i = 0; i < 96; ++i)
        image[static_cast<size_t>(i)] = static_cast<uint8_t>(i * 7 + 1);
    Bytes received;
    AnswerUploads(t, received);
    EXPECT_EQ(UploadCode(image, 64), 0);
    EXPECT_EQ(t->Commands()[0], (Bytes{7, 3}));
    EXPECT_EQ(received, Bytes(image.begin(), image.begin() + 96)) << "the checksum covers all 96 bytes";
}

TEST_F(LinkTest, UploadOfAFullImageStaysInsideIt)
{
    Open();
    Bytes image(2048);
    std::iota(image.begin(), image.end(), 0);
    Bytes received;
    AnswerUploads(t, received);
    EXPECT_EQ(UploadCode(image, 2048), 0);
    EXPECT_EQ(t->Commands()[0], (Bytes{7, 64}));
    EXPECT_EQ(received, image);

    // A short image is padded with zeros, never read past.
    Open();
    received.clear();
    const Bytes shortImage(40, 0xAA);
    AnswerUploads(t, received);
    EXPECT_EQ(UploadCode(shortImage, 40), 0);
    EXPECT_EQ(received.size(), 64u);
    EXPECT_EQ(Bytes(received.begin() + 40, received.end()), Bytes(24, 0));

    EXPECT_EQ(UploadCode(image, 2049), -1);
    EXPECT_EQ(UploadCode(image, -1), -1);
}

TEST_F(LinkTest, UploadFailures)
{
    Bytes image(2048, 1);
    Bytes received;

    Open();
    AnswerUploads(t, received, 1);
    EXPECT_EQ(UploadCode(image, 100), -4);
    EXPECT_EQ(received.size(), 64u) << "nothing is sent after the refused block";

    Open();
    received.clear();
    t->OnCommand = [&](const Bytes& p) {
        t->Queue({0xBB});
        if (p.size() == 32)
            t->Queue({0x12});
    };
    EXPECT_EQ(UploadCode(image, 10), -4) << "wrong checksum";

    Open();
    t->OnCommand = nullptr;
    EXPECT_EQ(UploadCode(image, 10), -3) << "no first reply";

    Open();
    t->OnCommand = [&](const Bytes&) { t->Queue({0xBB}); };
    EXPECT_EQ(UploadCode(image, 10), -3) << "no checksum";

    Open();
    t->WritesFail = true;
    EXPECT_EQ(UploadCode(image, 10), -1);
}

TEST_F(LinkTest, UploadIgnoresStaleBytes)
{
    Open();
    t->Queue({0xBB, 0xBB, 0xBB, 0xBB});
    uint8_t b;
    ASSERT_EQ(DeviceReadByte(b), 0); // leaves three bytes in the read buffer
    Bytes image(2048, 0);
    Bytes received;
    AnswerUploads(t, received, 0);
    EXPECT_EQ(UploadCode(image, 10), -4) << "the refusal is seen, not a stale acknowledgement";
}

TEST_F(LinkTest, RunDeviceProcedure)
{
    Open();
    t->OnCommand = [&](const Bytes& p) {
        if (p == Bytes{9, 0})
            t->Queue({'o'});
        else if (p.size() == 2)
            t->Queue({'x', 'U', 'd'});
    };
    BeginBlock();
    DeviceWriteByte(0x99);
    EXPECT_TRUE(RunDeviceProcedure(0x0123));
    EXPECT_FALSE(UsbBlockMode());
    EXPECT_EQ(t->Commands(), (std::vector<Bytes>{{9, 0}, {0x01, 0x23}})) << "gathered bytes are dropped";
    uint8_t b;
    ASSERT_EQ(DeviceReadByte(b), 0);
    EXPECT_EQ(b, 'd') << "bytes after the start stay readable";

    t->OnCommand = [&](const Bytes&) { t->Queue({'n'}); };
    EXPECT_FALSE(RunDeviceProcedure(1)) << "no acknowledgement";
    t->OnCommand = [&](const Bytes& p) {
        if (p == Bytes{9, 0})
            t->Queue({'o'});
    };
    EXPECT_FALSE(RunDeviceProcedure(1)) << "no start mark";

    // A device that answers with an endless stream and never the start mark.
    t->OnCommand = [&](const Bytes& p) {
        if (p == Bytes{9, 0})
            t->Queue({'o'});
        else
            for (int i = 0; i < 70000; ++i)
                t->Replies.push_back('z');
    };
    EXPECT_FALSE(RunDeviceProcedure(1));

    CloseDevice();
    EXPECT_FALSE(RunDeviceProcedure(1));
}

// A device that answers every command as it should but then trickles one
// stray byte every third read, for ever.
struct TTricklingTransport : TScriptedTransport {
    bool Trickle = false;
    int Calls = 0;
    int Read(int handle, uint8_t* data, int count) override
    {
        if (Trickle && Replies.empty() && count > 0) {
            ++Reads;
            if (++Calls % 3 != 0)
                return 0;
            data[0] = 'z';
            return 1;
        }
        return TScriptedTransport::Read(handle, data, count);
    }
};

TEST_F(LinkTest, ASlowStreamOfStrayBytesDoesNotHoldTheLink)
{
    auto owned = std::make_unique<TTricklingTransport>();
    TTricklingTransport* trickling = owned.get();
    SetUsbTransport(std::move(owned));
    ASSERT_TRUE(OpenDevice());
    // The stray bytes start after the address of a procedure start and
    // after a name answer of length 0.
    trickling->OnCommand = [&](const Bytes& p) {
        if (p == Bytes{9, 0}) {
            trickling->Queue({'o'});
            return;
        }
        if (p == Bytes{9, 4})
            trickling->Queue({'o', 0});
        trickling->Trickle = true;
    };
    UsbTimeOut = 5;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(RunDeviceProcedure(1)) << "no start mark among the stray bytes";
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));

    trickling->Trickle = false;
    const auto again = std::chrono::steady_clock::now();
    std::string name;
    EXPECT_FALSE(ReadModuleName(name));
    EXPECT_LT(std::chrono::steady_clock::now() - again, std::chrono::seconds(20));
}

TEST_F(LinkTest, SetDevicePower)
{
    Open();
    EXPECT_TRUE(SetDevicePower(0x80, 0x08, 8));
    EXPECT_EQ(t->Commands(), (std::vector<Bytes>{{2, 6}, {1, 0}, {4, 0x08}, {3, 0x80}}));

    t->Packets.clear();
    ModuleAdapter = 1;
    t->OnCommand = [&](const Bytes& p) {
        if (p.size() == 10)
            t->Queue({'o', 'o'});
    };
    EXPECT_TRUE(SetDevicePower(0x80, 0x08, 2));
    EXPECT_EQ(t->Commands(),
              (std::vector<Bytes>{{2, 15},
                                  {0x01, 0x00, 0x05, 0x03, 0x09, 0x02, 0xD7, 0x09, 0x02, 0xF7},
                                  {2, 13},
                                  {4, 0x08},
                                  {3, 0x80}}));

    // The two replies are read, whatever they say; without them the
    // supply is not switched further.
    t->Packets.clear();
    t->OnCommand = [&](const Bytes& p) {
        if (p.size() == 10)
            t->Queue({'o', 'x'});
    };
    EXPECT_TRUE(SetDevicePower(0x80, 0x08, 2));
    EXPECT_EQ(t->Commands().size(), 5u);
    t->Packets.clear();
    t->OnCommand = [&](const Bytes& p) {
        if (p.size() == 10)
            t->Queue({'o'});
    };
    EXPECT_FALSE(SetDevicePower(0x80, 0x08, 2));
    EXPECT_EQ(t->Commands().size(), 2u);
    t->OnCommand = nullptr;
    EXPECT_FALSE(SetDevicePower(0x80, 0x08, 2));

    CloseDevice();
    EXPECT_FALSE(SetDevicePower(0, 0, 0));
}

TEST_F(LinkTest, StatusFirmwareAndSerialNumber)
{
    Open();
    t->OnCommand = [&](const Bytes& p) {
        if (p == Bytes{9, 1})
            t->Queue({'o', 0x01});
        if (p == Bytes{8})
            t->Queue(std::string("\x0A" "Line1\r\nLn2", 11));
        if (p == Bytes{0})
            t->Queue({1, 2, 3, 4, 5, 6});
    };
    uint8_t status = 0xFF;
    EXPECT_TRUE(ReadDeviceStatus(status));
    EXPECT_EQ(status, 1);
    uint8_t serial[6] = {};
    EXPECT_TRUE(ReadSerialNumber(serial));
    EXPECT_EQ(Bytes(serial, serial + 6), (Bytes{1, 2, 3, 4, 5, 6}));
    TStringList lines;
    t->Packets.clear();
    EXPECT_TRUE(ReadFirmwareInfo(lines));
    EXPECT_EQ(lines, (TStringList{"Line1", "Ln2"}));
    EXPECT_GE(UsbOutHandle, 0) << "the link stays open";

    t->OnCommand = [&](const Bytes& p) {
        if (p == Bytes{9, 1})
            t->Queue({'o'});
        if (p == Bytes{0})
            t->Queue({1, 2, 3});
    };
    EXPECT_FALSE(ReadDeviceStatus(status));
    EXPECT_FALSE(ReadSerialNumber(serial));
    EXPECT_EQ(Bytes(serial, serial + 6), (Bytes{1, 2, 3, 4, 5, 6})) << "a short answer changes nothing";
}

TEST_F(LinkTest, StoreAndReadModuleName)
{
    TScriptedFirmware device;
    device.Attach(t);
    std::string& stored = device.Name;

    const std::string long64(64, 'N');
    EXPECT_TRUE(StoreModuleName(long64));
    EXPECT_EQ(stored, long64);
    std::vector<Bytes> commands = t->Commands();
    ASSERT_GE(commands.size(), 3u);
    EXPECT_EQ(commands[0], (Bytes{9, 3}));
    EXPECT_EQ(commands[1], Bytes(64, 'N'));
    EXPECT_EQ(commands[2], Bytes{0});
    EXPECT_EQ(UsbOutHandle, -1) << "closed after success";

    t->Packets.clear();
    EXPECT_TRUE(StoreModuleName(""));
    EXPECT_EQ(t->Commands()[1], Bytes{0});

    std::string name = "old";
    stored = "ABC";
    EXPECT_TRUE(ReadModuleName(name));
    EXPECT_EQ(name, "ABC");
    EXPECT_EQ(UsbOutHandle, -1);
}

TEST_F(LinkTest, NameStoreAwaitsNoAnswer)
{
    // A device that acknowledges the command and then says nothing more.
    t->OnCommand = [&](const Bytes& p) {
        if (p == Bytes{9, 3})
            t->Queue({'o'});
    };
    EXPECT_TRUE(StoreModuleName("MODULE"));
    EXPECT_EQ(t->Commands(), (std::vector<Bytes>{{9, 3}, Bytes{'M', 'O', 'D', 'U', 'L', 'E', 0}}))
        << "no read-back";
    EXPECT_EQ(UsbOutHandle, -1);

    t->OnCommand = nullptr;
    EXPECT_FALSE(StoreModuleName("MODULE")) << "the command itself is acknowledged";
}

TEST_F(LinkTest, ReadModuleNameFailures)
{
    std::string name = "keep";
    t->OnCommand = [&](const Bytes& p) {
        if (p == Bytes{9, 4})
            t->Queue({'o', 0, 'A', 'B'});
    };
    EXPECT_FALSE(ReadModuleName(name)) << "a length of 0 is no answer";
    EXPECT_EQ(name, "keep");
    EXPECT_GE(UsbOutHandle, 0) << "the link stays open after a failed read";
    uint8_t b;
    EXPECT_EQ(DeviceReadByte(b), 1) << "what follows it is read until the device falls silent";

    // A device that keeps talking after a length of 0 does not hold the
    // link for ever.
    t->OnCommand = [&](const Bytes& p) {
        if (p == Bytes{9, 4}) {
            t->Queue({'o', 0});
            t->Replies.insert(t->Replies.end(), 100000, 'z');
        }
    };
    EXPECT_FALSE(ReadModuleName(name));

    t->OnCommand = [&](const Bytes& p) {
        if (p == Bytes{9, 4})
            t->Queue({'o', 5, 'A', 'B'});
    };
    EXPECT_FALSE(ReadModuleName(name));
    EXPECT_EQ(name, "keep");

    t->Missing = {"02"};
    EXPECT_FALSE(ReadModuleName(name));
}

// Answers the pin test like a socket whose chip has ground on `gnd` and
// contact on `contact`.
void Socket(TScriptedTransport* t, uint8_t gnd, uint8_t contact, bool chip = true)
{
    auto levels = std::make_shared<uint8_t>(0xFF);
    t->OnCommand = [t, levels, gnd, contact, chip](const Bytes& p) {
        if (p.size() == 2 && p[0] == 5)
            *levels = p[1];
        if (p == Bytes{6}) {
            uint8_t in = *levels;
            if (chip && (in & contact) != contact)
                in &= static_cast<uint8_t>(~(gnd & contact));
            t->Queue({in});
        }
    };
}

TEST_F(LinkTest, PinTest)
{
    Open();
    Socket(t, 0x08, 0xFF);
    EXPECT_EQ(TestPins(0x08), 0);
    Socket(t, 0x08, 0xFF & ~0x05);
    EXPECT_EQ(TestPins(0x08), 0x05) << "lines 1 and 3 have no contact";
    Socket(t, 0x08, 0xFF, false);
    EXPECT_EQ(TestPins(0x08), -1) << "no chip";
    Socket(t, 0x08, 0xF7);
    EXPECT_EQ(TestPins(0x08), -1) << "ground without contact";
}

TEST_F(LinkTest, PinTestWithLostReplies)
{
    Open();
    t->OnCommand = nullptr;
    EXPECT_EQ(TestPins(0x08), -1) << "the first reply is lost";

    // Every round's reply is lost: no line is confirmed.
    int replies = 0;
    t->OnCommand = [&](const Bytes& p) {
        if (p == Bytes{6} && replies++ == 0)
            t->Queue({0});
    };
    EXPECT_EQ(TestPins(0x08), 0xFF);
}

} // namespace
