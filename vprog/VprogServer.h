#pragma once
// Serves a virtual programmer on three FIFOs in a folder ("00" replies,
// "01" commands, "02" control), as a driver would, so the link's pipe-file
// transport can reach it from another process.
#include "vprog/VirtualProgrammer.h"

#include <csignal>
#include <functional>
#include <string>

// Creates the folder and the FIFOs that are missing and serves until *stop
// becomes non-zero (looked at every few milliseconds); `ready`, when given,
// is called once the FIFOs are held, so a host can open them. 0 after a
// clean stop; 1 when the FIFOs cannot be made or opened, or another server
// holds the folder's lock file (the reason goes to stderr). Device faults
// are reported on stderr as they happen.
int ServeVirtualProgrammer(TVirtualProgrammer& programmer, const std::string& folder,
                           const volatile sig_atomic_t* stop, const std::function<void()>& ready = nullptr);

// Name of the lock file a server holds in the folder it serves.
extern const char* const ServerLockFileName;
