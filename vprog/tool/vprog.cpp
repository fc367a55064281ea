// vprog: serves the virtual programmer on FIFOs in a folder, for a program
// whose settings name that folder as the programmer's pipe folder.
#include "vprog/Socket.h"
#include "vprog/VprogServer.h"

#include "platform/Files.h"
#include "platform/Paths.h"

#include <csignal>
#include <cstdio>
#include <cstring>

namespace {

volatile sig_atomic_t stopRequested = 0;

void RequestStop(int) { stopRequested = 1; }

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 3 || std::strcmp(argv[1], "--help") == 0) {
        std::fprintf(stderr,
                     "usage: vprog FOLDER [SOCKET-FILE]\n"
                     "Serves the virtual programmer on the FIFOs FOLDER/00 (replies), FOLDER/01 (commands)\n"
                     "and FOLDER/02 (control), creating them when missing, until interrupted.\n"
                     "The socket holds the chip that SOCKET-FILE names, else the chip that vprog.ini\n"
                     "beside the tool names, if that file exists.\n");
        return argc == 2 ? 0 : 2;
    }
    struct sigaction action {};
    action.sa_handler = RequestStop;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    signal(SIGPIPE, SIG_IGN);
    // The socket file named on the command line, or one beside the tool,
    // puts its chip in; without either the socket stays empty, so a test
    // sees only what it sets up.
    InitProgramFolder();
    TVirtualProgrammer programmer;
    const std::string socketFile = argc == 3 ? std::string(argv[2]) : NativePath(SocketFileName);
    if (argc == 3 && !FileExists(socketFile)) {
        std::fprintf(stderr, "vprog: no socket file %s\n", socketFile.c_str());
        return 2;
    }
    if (FileExists(socketFile)) {
        const std::string socketError = InsertChip(programmer.Lines(), LoadSocketSetup(socketFile));
        if (!socketError.empty())
            std::fprintf(stderr, "vprog: %s\n", socketError.c_str());
    }
    return ServeVirtualProgrammer(programmer, argv[1], &stopRequested);
}
