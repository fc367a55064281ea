// The serial port routines on a pseudo-terminal pair: the routines open the
// terminal side, the test plays the target on the master side.
#include "engine/ComUtils.h"

#include <QCoreApplication>
#include <QSerialPortInfo>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>

namespace {

class ComUtilsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        static int argc = 1;
        static char name[] = "test";
        static char* argv[] = {name, nullptr};
        if (!QCoreApplication::instance())
            new QCoreApplication(argc, argv);
    }

    void SetUp() override
    {
        char name[256];
        ASSERT_EQ(openpty(&master, &slave, name, nullptr, nullptr), 0);
        path = name;
        // Raw, so bytes pass the terminal unchanged.
        termios t{};
        tcgetattr(slave, &t);
        cfmakeraw(&t);
        tcsetattr(slave, TCSANOW, &t);
    }
    void TearDown() override
    {
        CloseComPort(handle);
        close(master);
        close(slave);
    }

    termios Attributes() const
    {
        termios t{};
        tcgetattr(slave, &t);
        return t;
    }

    int master = -1, slave = -1, handle = -1;
    std::string path;
};

TEST_F(ComUtilsTest, OpenSetUpAndExchangeBytes)
{
    ASSERT_TRUE(OpenComPort(path, handle));
    EXPECT_GE(handle, 0);
    EXPECT_TRUE(SetupComPort(handle, 19200, 8, 0, 0, 50, 256));
    const termios t = Attributes();
    EXPECT_EQ(cfgetospeed(&t), static_cast<speed_t>(B19200));
    EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(t.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);

    ASSERT_EQ(write(master, "\x5A\x00\xFF", 3), 3);
    for (uint8_t expected : {0x5A, 0x00, 0xFF}) {
        uint8_t b = 0x11;
        ASSERT_TRUE(ComReadByte(handle, b));
        EXPECT_EQ(b, expected);
    }
    ASSERT_TRUE(ComWriteByte(handle, 0xA5));
    uint8_t got = 0;
    ASSERT_EQ(read(master, &got, 1), 1);
    EXPECT_EQ(got, 0xA5);
}

TEST_F(ComUtilsTest, ReadWithoutDataEndsAfterTheTimeOut)
{
    ASSERT_TRUE(OpenComPort(path, handle));
    ASSERT_TRUE(SetupComPort(handle, 19200, 8, 0, 0, 30, 256));
    const auto start = std::chrono::steady_clock::now();
    uint8_t b = 0x77;
    EXPECT_FALSE(ComReadByte(handle, b));
    EXPECT_EQ(b, 0x77);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(25));
}

TEST_F(ComUtilsTest, LineSettingsReachThePort)
{
    ASSERT_TRUE(OpenComPort(path, handle));
    ASSERT_TRUE(SetupComPort(handle, 19200, 8, 0, 0, 10, 64));
    EXPECT_EQ(ComSettings.BaudRate, 19200);
    EXPECT_EQ(ComSettings.Flags, 0u);

    // A pseudo-terminal takes 8-bit bytes only.
    ASSERT_TRUE(SetComLine(handle, 9600, 8, 0, 2));
    termios t = Attributes();
    EXPECT_EQ(cfgetospeed(&t), static_cast<speed_t>(B9600));
    EXPECT_TRUE(t.c_cflag & CSTOPB);
    EXPECT_EQ(ComSettings.BaudRate, 9600);
    EXPECT_EQ(ComSettings.StopBits, 2);

    // Some terminals drop parity while accepting it: the result says what
    // the terminal really holds.
    const bool odd = SetComLine(handle, 19200, 8, 1, 0);
    t = Attributes();
    EXPECT_EQ(odd, (t.c_cflag & (PARENB | PARODD)) == static_cast<tcflag_t>(PARENB | PARODD));
    EXPECT_EQ(ComSettings.Parity, 1);
    EXPECT_FALSE(t.c_cflag & CSTOPB);
}

TEST_F(ComUtilsTest, RefusedSettingsAreReported)
{
    ASSERT_TRUE(OpenComPort(path, handle));
    struct Case {
        int32_t baud, byteSize, parity, stopBits;
    };
    for (const Case c : {Case{19200, 4, 0, 0}, Case{19200, 9, 0, 0}, Case{19200, 8, 5, 0}, Case{19200, 8, -1, 0},
                         Case{19200, 8, 0, 3}, Case{0, 8, 0, 0}, Case{-5, 8, 0, 0}}) {
        EXPECT_FALSE(SetComLine(handle, c.baud, c.byteSize, c.parity, c.stopBits))
            << c.baud << " " << c.byteSize << " " << c.parity << " " << c.stopBits;
        EXPECT_FALSE(SetupComPort(handle, c.baud, c.byteSize, c.parity, c.stopBits, 10, 256));
    }
    EXPECT_FALSE(SetupComPort(handle, 19200, 8, 0, 0, -1, 256));
    EXPECT_TRUE(SetupComPort(handle, 19200, 8, 0, 0, 10, 256)) << "the port still works after refusals";

    // A refused field keeps its old value; the fields beside it are taken.
    EXPECT_FALSE(SetComLine(handle, 2400, 4, 0, 2));
    termios t = Attributes();
    EXPECT_EQ(cfgetospeed(&t), static_cast<speed_t>(B2400));
    EXPECT_TRUE(t.c_cflag & CSTOPB);
    EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_FALSE(SetComLine(handle, 0, 8, 0, 0));
    t = Attributes();
    EXPECT_EQ(cfgetospeed(&t), static_cast<speed_t>(B2400));
    EXPECT_FALSE(t.c_cflag & CSTOPB);
}

TEST_F(ComUtilsTest, ClosedAndUnknownHandlesFail)
{
    uint8_t b;
    EXPECT_FALSE(SetupComPort(-1, 19200, 8, 0, 0, 10, 256));
    EXPECT_FALSE(SetComLine(12345, 19200, 8, 0, 0));
    EXPECT_FALSE(ComReadByte(-1, b));
    EXPECT_FALSE(ComWriteByte(-1, 1));
    EXPECT_FALSE(SetComRts(-1, true));
    EXPECT_FALSE(SetComDtr(-1, true));

    ASSERT_TRUE(OpenComPort(path, handle));
    const int old = handle;
    CloseComPort(handle);
    EXPECT_EQ(handle, -1);
    EXPECT_FALSE(ComWriteByte(old, 1));

    int other = 7;
    EXPECT_FALSE(OpenComPort("/nonexistent/tty", other));
    EXPECT_EQ(other, -1);
}

TEST_F(ComUtilsTest, PortNames)
{
    std::vector<std::string> devices;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        devices.push_back(info.systemLocation().toStdString());
    std::sort(devices.begin(), devices.end());
    EXPECT_EQ(ComPortPath("COM1"), devices.empty() ? std::string() : devices[0]);
    EXPECT_EQ(ComPortPath("com1"), ComPortPath("COM1"));
    EXPECT_EQ(ComPortPath("COM0"), "");
    EXPECT_EQ(ComPortPath("COM99999999999999999999"), "");
    EXPECT_EQ(ComPortPath("/dev/pts/7"), "/dev/pts/7");
    EXPECT_EQ(ComPortPath("ttyUSB0"), "/dev/ttyUSB0");
    EXPECT_EQ(ComPortPath("COMX"), "/dev/COMX");
}

} // namespace
