#include "engine/EnginePipes.h"

#include "engine/Engine.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// How long a write may wait for room in a full pipe before it fails.
constexpr int WriteWaitMs = 100;

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

// Bytes written to the pipe and not yet taken by its reader; 0 for one
// whose reader has gone, -1 for a pipe that cannot tell (a driver's device
// file).
int Queued(int fd)
{
    int queued = 0;
    if (::ioctl(fd, FIONREAD, &queued) != 0)
        return -1;
    if (queued <= 0)
        return 0;
    pollfd p{fd, POLLOUT, 0};
    if (::poll(&p, 1, 0) > 0 && (p.revents & (POLLERR | POLLHUP)))
        return 0;
    return queued;
}

long MsSince(const timespec& start)
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (now.tv_sec - start.tv_sec) * 1000 + (now.tv_nsec - start.tv_nsec) / 1000000;
}

void PutOrderMark(std::vector<uint8_t>& message, uint32_t commandBytes)
{
    message.push_back(PipeOrderMark);
    for (int shift = 0; shift < 32; shift += 8)
        message.push_back(static_cast<uint8_t>(commandBytes >> shift));
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

TEnginePipes::TEnginePipes(std::string folder, int drainWaitMs) : folder_(std::move(folder)), drainWaitMs_(drainWaitMs)
{}

bool TEnginePipes::Claim()
{
    if (lockFd_ >= 0)
        return true;
    // A folder that cannot be opened is told by the pipe opens after.
    const int fd = ::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return true;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const bool held = errno == EWOULDBLOCK;
        ::close(fd);
        if (held)
            openError_ = UsbInUseText;
        return !held;
    }
    lockFd_ = fd;
    return true;
}

void TEnginePipes::Release()
{
    if (lockFd_ >= 0)
        ::close(lockFd_);
    lockFd_ = -1;
}

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
    // A link opened afresh counts afresh. Bytes left uncounted by a control
    // byte went to a programmer that has gone (unplugged mid-run, so that
    // the closing control byte found no reader); named in the first mark to
    // the one now serving the pipes, they would make it wait for commands
    // that never come.
    if (pipeName == "01") {
        commandPipes_.insert(fd);
        commandBytes_ = 0;
    }
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
    if (controlPipes_.count(handle) != 0)
        return WriteControl(handle, data, count);
    const int done = WriteAll(handle, data, count);
    if (done > 0 && commandPipes_.count(handle) != 0)
        commandBytes_ += static_cast<uint32_t>(done);
    return done;
}

int TEnginePipes::WriteControl(int handle, const uint8_t* data, int count)
{
    // A driver's device file keeps its own order and gets the byte as it is.
    if (Queued(handle) < 0)
        return WriteAll(handle, data, count);
    // A reader that has taken every earlier control byte is running again.
    if (readerStuck_ && Queued(handle) == 0)
        readerStuck_ = false;
    // The waits only settle the reader, so that what it was sent is done
    // when the write returns: the mark keeps the order without them. A
    // frozen reader, or a run the user stopped, is not waited for on every
    // write that switches it off and closes the link.
    const auto waits = [this] { return !readerStuck_ && !(UsbStopWaiting && UsbStopWaiting()); };
    if (waits())
        for (int command : commandPipes_)
            WaitTaken(command);
    std::vector<uint8_t> message;
    PutOrderMark(message, commandBytes_);
    message.insert(message.end(), data, data + count);
    const int size = static_cast<int>(message.size());
    // Short enough to go into a pipe whole or not at all.
    const int done = WriteAll(handle, message.data(), size);
    if (done != size)
        return done < 0 ? -1 : 0;
    commandBytes_ = 0;
    controlUntaken_ = true;
    // The reader then has done what came before the control byte too.
    if (waits())
        WaitTaken(handle);
    return count;
}

void TEnginePipes::WaitTaken(int fd)
{
    timespec start{};
    clock_gettime(CLOCK_MONOTONIC, &start);
    for (;;) {
        if (Queued(fd) <= 0)
            return;
        if (MsSince(start) >= drainWaitMs_) {
            readerStuck_ = true;
            return;
        }
        const timespec pause{0, 100000};
        nanosleep(&pause, nullptr);
    }
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
    // Until the reader has taken the last control byte, what the reply pipe
    // holds may belong to the session that byte ended.
    if (controlUntaken_) {
        for (int control : controlPipes_)
            if (Queued(control) > 0)
                return 0;
        controlUntaken_ = false;
    }
    for (;;) {
        const ssize_t n = ::read(handle, data, static_cast<size_t>(count));
        // End of file: every writer has closed its end, so the programmer
        // (or the tool serving it) is gone; waiting on would only end in a
        // time-out that blames the chip.
        if (n == 0 && count > 0)
            return -1;
        if (n > 0)
            readerStuck_ = false;
        if (n >= 0)
            return static_cast<int>(n);
        if (errno == EINTR)
            continue;
        return errno == EAGAIN ? 0 : -1;
    }
}
