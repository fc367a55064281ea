// vprog: serves the virtual programmer on FIFOs in a folder, for a program
// whose settings name that folder as the programmer's pipe folder.
#include "vprog/VprogServer.h"

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
                     "and FOLDER/02 (control), creating them when missing, until interrupted.\n");
        return argc == 2 ? 0 : 2;
    }
    struct sigaction action {};
    action.sa_handler = RequestStop;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    signal(SIGPIPE, SIG_IGN);
    TVirtualProgrammer programmer;
    return ServeVirtualProgrammer(programmer, argv[1], &stopRequested);
}
