#include "vprog/VprogServer.h"

#include "vprog/OrderedFeed.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

const char* const ServerLockFileName = "vprog.lock";

namespace {

constexpr int IdleWaitMs = 20;

// Two servers on one folder would each take part of every command and
// answer nonsense; the second one refuses. The lock goes with the process,
// however it ends, so a killed server leaves no stale lock behind.
int LockFolder(const std::string& folder)
{
    const std::string path = folder + "/" + ServerLockFileName;
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        std::fprintf(stderr, "vprog: cannot open %s: %s\n", path.c_str(), std::strerror(errno));
        return -1;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        std::fprintf(stderr, "vprog: another vprog serves %s already\n", folder.c_str());
        ::close(fd);
        return -1;
    }
    return fd;
}

bool MakeFifo(const std::string& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) {
        if (S_ISFIFO(st.st_mode))
            return true;
        std::fprintf(stderr, "vprog: %s exists and is not a FIFO\n", path.c_str());
        return false;
    }
    if (::mkfifo(path.c_str(), 0600) == 0)
        return true;
    std::fprintf(stderr, "vprog: cannot create %s: %s\n", path.c_str(), std::strerror(errno));
    return false;
}

// Both ends held by the server, so a host that closes its end causes no
// end-of-file storm and a host that opens finds a reader.
int OpenFifo(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        std::fprintf(stderr, "vprog: cannot open %s: %s\n", path.c_str(), std::strerror(errno));
    return fd;
}

// Reads whatever is there; returns the bytes.
std::vector<uint8_t> ReadAvailable(int fd)
{
    std::vector<uint8_t> bytes;
    uint8_t buffer[4096];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0) {
            bytes.insert(bytes.end(), buffer, buffer + n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        return bytes;
    }
}

// The control bytes in the pipe now, taken whole (each was written in one
// piece). Replies still in the reply pipe belong to the session the first
// of them ends, so they go before it is taken: once the host sees its
// control byte taken, every reply it reads is the new session's.
std::vector<uint8_t> TakeControl(int controlFd, int replyFd)
{
    int queued = 0;
    if (::ioctl(controlFd, FIONREAD, &queued) != 0 || queued <= 0)
        return {};
    ReadAvailable(replyFd);
    std::vector<uint8_t> bytes(static_cast<size_t>(queued));
    size_t got = 0;
    while (got < bytes.size()) {
        const ssize_t n = ::read(controlFd, bytes.data() + got, bytes.size() - got);
        if (n > 0)
            got += static_cast<size_t>(n);
        else if (n == 0 || errno != EINTR)
            break;
    }
    bytes.resize(got);
    return bytes;
}

// The FIFOs "00", "01" and "02", made when missing and held open; false,
// with none left open, when one fails.
bool OpenFifos(const std::string& folder, int (&fds)[3])
{
    const char* const names[3] = {"/00", "/01", "/02"};
    for (const char* name : names)
        if (!MakeFifo(folder + name))
            return false;
    for (int i = 0; i < 3; ++i) {
        fds[i] = OpenFifo(folder + names[i]);
        if (fds[i] < 0) {
            for (int j = 0; j < i; ++j)
                ::close(fds[j]);
            return false;
        }
    }
    return true;
}

} // namespace

int ServeVirtualProgrammer(TVirtualProgrammer& programmer, const std::string& folder, const volatile sig_atomic_t* stop,
                           const std::function<void()>& ready)
{
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        std::fprintf(stderr, "vprog: cannot create %s: %s\n", folder.c_str(), std::strerror(errno));
        return 1;
    }
    const int lockFd = LockFolder(folder);
    if (lockFd < 0)
        return 1;
    int fifos[3] = {-1, -1, -1};
    if (!OpenFifos(folder, fifos)) {
        ::close(lockFd);
        return 1;
    }
    const int replyFd = fifos[0], commandFd = fifos[1], controlFd = fifos[2];
    if (ready)
        ready();

    std::vector<uint8_t> pending; // replies the FIFO had no room for yet
    std::string reportedFault;
    // A control byte resets the firmware; replies of the old session still
    // in the FIFO go with it.
    const auto reset = [&] {
        programmer.Control(reinterpret_cast<const uint8_t*>("\0"), 1);
        pending.clear();
        ReadAvailable(replyFd);
    };
    TOrderedFeed input([&](const uint8_t* data, size_t count) { programmer.Write(data, count); }, reset);
    while (!*stop) {
        pollfd fds[3] = {{controlFd, POLLIN, 0}, {commandFd, POLLIN, 0}, {replyFd, POLLOUT, 0}};
        // Replies made while a control byte waits for the commands before
        // it are the old session's: its reset drops them.
        const bool mustWrite = !input.Carrying() && (!pending.empty() || programmer.HasOutput());
        ::poll(fds, mustWrite ? 3 : 2, IdleWaitMs);

        const std::vector<uint8_t> controlBefore = TakeControl(controlFd, replyFd);
        const std::vector<uint8_t> commands = ReadAvailable(commandFd);
        input.Round(controlBefore, commands, TakeControl(controlFd, replyFd));

        uint8_t buffer[4096];
        while (!input.Carrying() && pending.size() < sizeof buffer) {
            const size_t n = programmer.Read(buffer, sizeof buffer);
            if (n == 0)
                break;
            pending.insert(pending.end(), buffer, buffer + n);
        }
        if (!input.Carrying() && !pending.empty()) {
            const ssize_t n = ::write(replyFd, pending.data(), pending.size());
            if (n > 0)
                pending.erase(pending.begin(), pending.begin() + n);
        }
        if (!programmer.LastFault().empty() && programmer.LastFault() != reportedFault)
            std::fprintf(stderr, "vprog: device fault: %s\n", programmer.LastFault().c_str());
        reportedFault = programmer.LastFault();
    }
    ::close(replyFd);
    ::close(commandFd);
    ::close(controlFd);
    ::close(lockFd);
    return 0;
}
