// The pipe-file transport against a slow reader in a second process: a
// control byte names the commands written before it, goes out once the
// reader has taken them, and the commands written after it wait until the
// reader has taken it.
#include "engine/EnginePipes.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

int Queued(int fd)
{
    int n = -1;
    ioctl(fd, FIONREAD, &n);
    return n;
}

// Waits until the FIFO holds bytes; false only after a ceiling that just
// catches a hang.
bool AwaitBytes(int fd)
{
    for (int i = 0; i < 30000; ++i) {
        if (Queued(fd) > 0)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

// The reader's ends of the three FIFOs, made in a folder of their own and
// held open for reading and writing, as a server holds them.
struct TReaderEnds {
    testsupport::TempDir dir;
    int Replies = -1, Commands = -1, Control = -1;

    TReaderEnds()
    {
        for (const char* name : {"/00", "/01", "/02"})
            mkfifo((dir.path() + name).c_str(), 0600);
        OpenEnds();
    }
    ~TReaderEnds() { Close(); }
    TReaderEnds(const TReaderEnds&) = delete;
    TReaderEnds& operator=(const TReaderEnds&) = delete;

    bool Open() const { return Replies >= 0 && Commands >= 0 && Control >= 0; }
    // A reader comes (again).
    void OpenEnds()
    {
        Replies = open((dir.path() + "/00").c_str(), O_RDWR | O_NONBLOCK);
        Commands = open((dir.path() + "/01").c_str(), O_RDWR | O_NONBLOCK);
        Control = open((dir.path() + "/02").c_str(), O_RDWR | O_NONBLOCK);
    }
    // The reader goes away.
    void Close()
    {
        for (int* fd : {&Replies, &Commands, &Control})
            if (*fd >= 0) {
                close(*fd);
                *fd = -1;
            }
    }
};

// The reader's side: takes the commands after a while, then the control
// byte. Its exit code names the first thing it found out of order. The
// pauses only give a wrong writer the chance to show itself; nothing here
// depends on how fast the writer is.
[[noreturn]] void SlowReader(int commands, int control)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(40));
    if (Queued(control) != 0)
        _exit(1); // the control byte came before the commands were taken
    uint8_t buffer[16];
    if (!AwaitBytes(commands) || read(commands, buffer, sizeof buffer) != 2)
        _exit(2);
    if (!AwaitBytes(control))
        _exit(3);
    // The writer waits a bounded time for the control byte to be taken, so
    // this pause stays short of that bound.
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    if (Queued(commands) != 0)
        _exit(4); // the next command came before the control byte was taken
    // The control byte names the two commands written before it.
    const uint8_t marked[6] = {PipeOrderMark, 2, 0, 0, 0, 0};
    if (read(control, buffer, sizeof buffer) != 6 || !std::equal(marked, marked + 6, buffer))
        _exit(5);
    if (!AwaitBytes(commands) || read(commands, buffer, sizeof buffer) != 1 || buffer[0] != 0x42)
        _exit(6);
    _exit(0);
}

TEST(LinkPipesTest, ControlBytesKeepTheirPlaceAmongCommands)
{
    TReaderEnds ends;
    ASSERT_TRUE(ends.Open());
    const pid_t reader = fork();
    ASSERT_GE(reader, 0);
    if (reader == 0)
        SlowReader(ends.Commands, ends.Control);

    // The writer's waits end only when the reader takes the bytes (or at a
    // ceiling that only catches a hang).
    TEnginePipes pipes(ends.dir.path(), 30000);
    const int commands = pipes.Open("01");
    const int control = pipes.Open("02");
    ASSERT_GE(commands, 0);
    ASSERT_GE(control, 0);
    const uint8_t command[2] = {9, 1}, reset = 0, next = 0x42;
    EXPECT_EQ(pipes.Write(commands, command, 2), 2);
    EXPECT_EQ(pipes.Write(control, &reset, 1), 1);
    EXPECT_EQ(pipes.Write(commands, &next, 1), 1);

    int status = -1;
    ASSERT_EQ(waitpid(reader, &status, 0), reader);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    pipes.Close(commands);
    pipes.Close(control);
}

TEST(LinkPipesTest, AReaderThatNeverTakesDoesNotHoldTheControlWrite)
{
    TReaderEnds ends;
    ASSERT_TRUE(ends.Open());
    TEnginePipes pipes(ends.dir.path());
    const int commands = pipes.Open("01");
    const int control = pipes.Open("02");
    const uint8_t command[2] = {9, 1}, reset = 0;
    ASSERT_EQ(pipes.Write(commands, command, 2), 2);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(pipes.Write(control, &reset, 1), 1);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20)) << "only a hang fails";
    // The reader, when it wakes, learns that the two command bytes come first.
    uint8_t taken[16];
    ASSERT_EQ(read(ends.Control, taken, sizeof taken), 6);
    EXPECT_EQ(std::vector<uint8_t>(taken, taken + 6), (std::vector<uint8_t>{PipeOrderMark, 2, 0, 0, 0, 0}));
    ASSERT_EQ(pipes.Write(commands, command, 1), 1);
    EXPECT_EQ(pipes.Write(control, &reset, 1), 1);
    ASSERT_EQ(read(ends.Control, taken, sizeof taken), 6);
    EXPECT_EQ(std::vector<uint8_t>(taken, taken + 6), (std::vector<uint8_t>{PipeOrderMark, 1, 0, 0, 0, 0}))
        << "the count starts again after each control write";

    // The reader goes away with the bytes unread: no wait at all.
    ends.Close();
    EXPECT_EQ(pipes.Write(control, &reset, 1), -1);
    pipes.Close(commands);
    pipes.Close(control);
}

// The reader goes away in the middle of a session, the control byte that
// would end it finds nobody, and a reader comes again (a programmer
// unplugged and plugged in): the link opened anew names only its own
// commands, so the new reader never waits for bytes that went to the old.
TEST(LinkPipesTest, ALinkOpenedAgainCountsItsCommandsAfresh)
{
    const struct {
        const char* Name;
        bool TakenBeforeGone;
    } cases[] = {
        {"the commands left in the pipe of the reader that went", false},
        {"the commands taken by the reader before it went", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TReaderEnds ends;
        ASSERT_TRUE(ends.Open());
        TEnginePipes pipes(ends.dir.path(), 1);
        int commands = pipes.Open("01");
        int control = pipes.Open("02");
        const uint8_t command[3] = {9, 0, 0}, reset = 0;
        ASSERT_EQ(pipes.Write(commands, command, 3), 3);
        uint8_t taken[16];
        if (c.TakenBeforeGone)
            ASSERT_EQ(read(ends.Commands, taken, sizeof taken), 3);
        ends.Close();
        EXPECT_EQ(pipes.Write(control, &reset, 1), -1);
        pipes.Close(commands);
        pipes.Close(control);

        ends.OpenEnds();
        ASSERT_TRUE(ends.Open());
        commands = pipes.Open("01");
        control = pipes.Open("02");
        ASSERT_EQ(pipes.Write(control, &reset, 1), 1);
        ASSERT_EQ(read(ends.Control, taken, sizeof taken), 6);
        EXPECT_EQ(std::vector<uint8_t>(taken, taken + 6), (std::vector<uint8_t>{PipeOrderMark, 0, 0, 0, 0, 0}));
        ASSERT_EQ(pipes.Write(commands, command, 1), 1);
        ASSERT_EQ(pipes.Write(control, &reset, 1), 1);
        ASSERT_EQ(read(ends.Control, taken, sizeof taken), 6);
        EXPECT_EQ(std::vector<uint8_t>(taken, taken + 6), (std::vector<uint8_t>{PipeOrderMark, 1, 0, 0, 0, 0}));
        pipes.Close(commands);
        pipes.Close(control);
    }
}

// A reply in the pipe while the reader has not taken the control byte may
// be the ended session's: it is read only once the byte is taken (a real
// reader drops such replies before it takes the byte).
TEST(LinkPipesTest, NoReplyIsReadBeforeTheReaderTakesTheControlByte)
{
    TReaderEnds ends;
    ASSERT_TRUE(ends.Open());
    TEnginePipes pipes(ends.dir.path(), 1);
    const int replies = pipes.Open("00");
    const int control = pipes.Open("02");
    ASSERT_GE(replies, 0);
    ASSERT_GE(control, 0);
    const uint8_t reset = 0, reply = 0x55;
    ASSERT_EQ(pipes.Write(control, &reset, 1), 1);
    ASSERT_EQ(write(ends.Replies, &reply, 1), 1);
    uint8_t got[4] = {};
    EXPECT_EQ(pipes.Read(replies, got, sizeof got), 0);
    EXPECT_EQ(pipes.Read(replies, got, sizeof got), 0) << "still not taken";

    uint8_t taken[16];
    ASSERT_EQ(read(ends.Control, taken, sizeof taken), 6);
    ASSERT_EQ(pipes.Read(replies, got, sizeof got), 1);
    EXPECT_EQ(got[0], reply);
    pipes.Close(replies);
    pipes.Close(control);
}

} // namespace
