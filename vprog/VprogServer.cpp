#include "vprog/VprogServer.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int IdleWaitMs = 20;

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

} // namespace

int ServeVirtualProgrammer(TVirtualProgrammer& programmer, const std::string& folder,
                           const volatile sig_atomic_t* stop)
{
    const std::string replyPath = folder + "/00", commandPath = folder + "/01", controlPath = folder + "/02";
    if (!MakeFifo(replyPath) || !MakeFifo(commandPath) || !MakeFifo(controlPath))
        return 1;
    const int replyFd = OpenFifo(replyPath);
    const int commandFd = OpenFifo(commandPath);
    const int controlFd = OpenFifo(controlPath);
    if (replyFd < 0 || commandFd < 0 || controlFd < 0) {
        for (int fd : {replyFd, commandFd, controlFd})
            if (fd >= 0)
                ::close(fd);
        return 1;
    }

    std::vector<uint8_t> pending; // replies the FIFO had no room for yet
    std::string reportedFault;
    while (!*stop) {
        pollfd fds[3] = {{controlFd, POLLIN, 0}, {commandFd, POLLIN, 0}, {replyFd, POLLOUT, 0}};
        const bool mustWrite = !pending.empty() || programmer.HasOutput();
        ::poll(fds, mustWrite ? 3 : 2, IdleWaitMs);

        // A control byte resets the firmware; replies of the old session
        // still in the FIFO go with it.
        if (!ReadAvailable(controlFd).empty()) {
            programmer.Control(reinterpret_cast<const uint8_t*>("\0"), 1);
            pending.clear();
            ReadAvailable(replyFd);
        }
        const std::vector<uint8_t> commands = ReadAvailable(commandFd);
        if (!commands.empty())
            programmer.Write(commands.data(), commands.size());

        uint8_t buffer[4096];
        while (pending.size() < sizeof buffer) {
            const size_t n = programmer.Read(buffer, sizeof buffer);
            if (n == 0)
                break;
            pending.insert(pending.end(), buffer, buffer + n);
        }
        if (!pending.empty()) {
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
    return 0;
}
