// vprog: serves the virtual programmer on FIFOs in a folder, for a program
// whose settings name that folder as the programmer's pipe folder.
#include "vprog/Socket.h"
#include "vprog/VprogServer.h"

#include "platform/Files.h"
#include "platform/Paths.h"

#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace {

volatile sig_atomic_t stopRequested = 0;

void RequestStop(int) { stopRequested = 1; }

// The socket file named on the command line, else one beside the tool;
// without either the socket holds what the program's own virtual
// programmer holds without one: a 24C02, its image kept in the served
// folder, never beside the tool in a build folder.
TSocketSetup SocketSetup(int argc, char** argv)
{
    if (argc == 3)
        return LoadSocketSetup(argv[2]);
    const std::string besideTool = NativePath(SocketFileName);
    if (FileExists(besideTool))
        return LoadSocketSetup(besideTool);
    TSocketSetup setup;
    setup.Image = std::filesystem::absolute(argv[1]) / (setup.Chip + ".bin");
    return setup;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 3 || std::strcmp(argv[1], "--help") == 0) {
        std::fprintf(stderr,
                     "usage: vprog FOLDER [SOCKET-FILE]\n"
                     "Serves the virtual programmer on the FIFOs FOLDER/00 (replies), FOLDER/01 (commands)\n"
                     "and FOLDER/02 (control), creating them when missing, until interrupted.\n"
                     "The socket holds the chip that SOCKET-FILE names, else the chip that vprog.ini\n"
                     "beside the tool names, if that file exists, else a 24C02 whose contents are kept\n"
                     "in FOLDER/24C02.bin. A relative image file is taken from the socket file's folder.\n");
        return argc == 2 ? 0 : 2;
    }
    struct sigaction action {};
    action.sa_handler = RequestStop;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    signal(SIGPIPE, SIG_IGN);
    InitProgramFolder();
    if (argc == 3 && !FileExists(argv[2])) {
        std::fprintf(stderr, "vprog: no socket file %s\n", argv[2]);
        return 2;
    }
    const TSocketSetup setup = SocketSetup(argc, argv);
    // A chip that cannot be made must not leave an empty socket that the
    // program would take for a missing chip.
    TVirtualProgrammer programmer;
    const std::string socketError = InsertChip(programmer.Lines(), setup);
    if (!socketError.empty()) {
        std::fprintf(stderr, "vprog: %s\n", socketError.c_str());
        return 2;
    }
    const std::string chip = setup.Chip.empty() ? std::string("an empty socket") : "a " + setup.Chip + " in the socket";
    const std::string folder = argv[1];
    return ServeVirtualProgrammer(programmer, folder, &stopRequested, [&] {
        std::printf("vprog: serving %s with %s\n", folder.c_str(), chip.c_str());
        std::fflush(stdout);
    });
}
