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
    if (argc != 2 || std::strcmp(argv[1], "--help") == 0) {
        std::fprintf(stderr,
                     "usage: vprog FOLDER\n"
                     "Serves the virtual programmer on the FIFOs FOLDER/00 (replies), FOLDER/01 (commands)\n"
                     "and FOLDER/02 (control), creating them when missing, until interrupted.\n"
                     "The socket holds the chip that vprog.ini beside the tool names, if that file exists.\n");
        return argc == 2 ? 0 : 2;
    }
    struct sigaction action {};
    action.sa_handler = RequestStop;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    signal(SIGPIPE, SIG_IGN);
    // A socket file beside the tool puts its chip in; without one the socket
    // stays empty, so a test sees only what it sets up.
    InitProgramFolder();
    TVirtualProgrammer programmer;
    if (FileExists(NativePath(SocketFileName))) {
        const std::string socketError = InsertChipFromSocketFile(programmer.Lines());
        if (!socketError.empty())
            std::fprintf(stderr, "vprog: %s\n", socketError.c_str());
    }
    return ServeVirtualProgrammer(programmer, argv[1], &stopRequested);
}
