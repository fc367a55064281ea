#include "engine/EnginePipes.h"

#include <cerrno>
#include <cstring>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// How long a write may wait for room in a full pipe before it fails.
constexpr int WriteWaitMs = 100;
// How long a control write waits for the reader to take what was written.
constexpr int DrainWaitMs = 200;

// A write to a pipe whose reader has gone raises SIGPIPE, which would end
// the program; block it for the write and swallow one that is pending, so
// the write just fails.
int WriteWithoutSigpipe(int fd, const uint8_t* data, int count)
{
    sigset_t pipeSet, oldSet;
    sigemptyset(&pipeSet);
    sigaddset(&pipeSet, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipeSet, &oldSet);
    const ssize_t n = ::write(fd, data, static_cast<size_t>(count));
    const int savedErrno = errno;
    if (n < 0 && savedErrno == EPIPE) {
        const timespec zero{0, 0};
        sigtimedwait(&pipeSet, nullptr, &zero);
    }
    pthread_sigmask(SIG_SETMASK, &oldSet, nullptr);
    errno = savedErrno;
    return static_cast<int>(n);
}

// Waits until the reader has taken every byte written to the pipe, the
// reader has gone, or the time is up. A pipe that cannot tell how much it
// holds (a driver's device file) is taken as drained.
void WaitTaken(int fd)
{
    timespec start{};
    clock_gettime(CLOCK_MONOTONIC, &start);
    for (;;) {
        int queued = 0;
        if (::ioctl(fd, FIONREAD, &queued) != 0 || queued <= 0)
            return;
        pollfd p{fd, POLLOUT, 0};
        if (::poll(&p, 1, 0) > 0 && (p.revents & (POLLERR | POLLHUP)))
            return;
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        const long elapsedMs = (now.tv_sec - start.tv_sec) * 1000 + (now.tv_nsec - start.tv_nsec) / 1000000;
        if (elapsedMs >= DrainWaitMs)
            return;
        const timespec pause{0, 100000};
        nanosleep(&pause, nullptr);
    }
}

std::string OpenErrorText(const std::string& folder, const std::string& path, int error)
{
    struct stat st {};
    if (error == ENOENT && ::stat(folder.c_str(), &st) != 0)
        return "There is no pipe folder " + folder + ".";
    if (error == ENOENT)
        return "There is no pipe file " + path + ".";
    // A FIFO without a reader refuses a non-blocking open for writing.
    if (error == ENXIO)
        return "Nobody serves the pipe files in " + folder + ".";
    return "Cannot open " + path + ": " + std::strerror(error) + ".";
}

} // namespace

TEnginePipes::TEnginePipes(std::string folder) : folder_(std::move(folder)) {}

int TEnginePipes::Open(const std::string& pipeName)
{
    // Replies are only read; commands and control only written. A FIFO that
    // nobody serves then fails to open for writing, which is how an absent
    // programmer shows.
    const int flags = (pipeName == "00" ? O_RDONLY : O_WRONLY) | O_NONBLOCK | O_CLOEXEC | O_NOCTTY;
    const std::string path = folder_ + "/" + pipeName;
    const int fd = ::open(path.c_str(), flags);
    if (fd < 0) {
        openError_ = OpenErrorText(folder_, path, errno);
        return -1;
    }
    if (pipeName == "01")
        commandPipes_.insert(fd);
    else if (pipeName == "02")
        controlPipes_.insert(fd);
    return fd;
}

void TEnginePipes::Close(int handle)
{
    if (handle < 0)
        return;
    commandPipes_.erase(handle);
    controlPipes_.erase(handle);
    ::close(handle);
}

int TEnginePipes::Write(int handle, const uint8_t* data, int count)
{
    if (handle < 0 || count < 0)
        return -1;
    const bool control = controlPipes_.count(handle) != 0;
    if (control)
        for (int command : commandPipes_)
            WaitTaken(command);
    const int done = WriteAll(handle, data, count);
    if (control && done > 0)
        WaitTaken(handle);
    return done;
}

int TEnginePipes::WriteAll(int handle, const uint8_t* data, int count)
{
    int done = 0;
    while (done < count) {
        const int n = WriteWithoutSigpipe(handle, data + done, count - done);
        if (n > 0) {
            done += n;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN)
            return done > 0 ? done : -1;
        pollfd p{handle, POLLOUT, 0};
        if (::poll(&p, 1, WriteWaitMs) <= 0 || (p.revents & (POLLERR | POLLHUP)))
            return done;
    }
    return done;
}

int TEnginePipes::Read(int handle, uint8_t* data, int count)
{
    if (handle < 0 || count < 0)
        return -1;
    for (;;) {
        const ssize_t n = ::read(handle, data, static_cast<size_t>(count));
        // End of file: every writer has closed its end, so the programmer
        // (or the tool serving it) is gone; waiting on would only end in a
        // time-out that blames the chip.
        if (n == 0 && count > 0)
            return -1;
        if (n >= 0)
            return static_cast<int>(n);
        if (errno == EINTR)
            continue;
        return errno == EAGAIN ? 0 : -1;
    }
}
