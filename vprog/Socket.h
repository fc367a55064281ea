#pragma once
// The virtual programmer's socket: which simulated chip sits in it, the
// image file that keeps the chip's contents, and the faults a test can
// switch on. The program reads the set-up from "vprog.ini" beside it:
//
//   [Socket]
//   Chip=24C02          ; 24C01..24C512, 25F10..25F16; empty: no chip
//   Image=24C02.bin     ; relative to the folder of the socket file
//   [Faults]
//   NoContact=0         ; lines (bit i = line i+1) whose pin has no contact
//   Shorted=0           ; lines wired together
//   Overload=0          ; 1: the supply reports an overload
//
// Without the file the socket holds a 24C02 whose image is "24C02.bin"
// beside where the file would be.
#include "vprog/LineModel.h"

#include <cstdint>
#include <string>

struct TSocketSetup {
    std::string Chip = "24C02";
    // Native path, or a path relative to the program folder; empty: the
    // chip name with ".bin", beside the program.
    std::string Image;
    uint8_t NoContactLines = 0;
    uint8_t ShortedLines = 0;
    bool Overload = false;
};

// Name of the socket file in the program folder.
extern const char* const SocketFileName;

// The set-up of a socket file; the defaults for what it does not say (and
// for a missing file). The image comes back as a path from the root.
TSocketSetup LoadSocketSetup(const std::string& nativePath);
bool SaveSocketSetup(const std::string& nativePath, const TSocketSetup& setup);

// Whether a chip of that name can be simulated.
bool KnownSocketChip(const std::string& name);

// Takes out what the socket holds and puts in the chip of the set-up with
// its faults. Empty on success, else why the chip could not be made (an
// unknown chip leaves the socket empty). `inserted`, when given, receives
// the chip (null when the socket stays empty); it lives until the socket's
// chips are removed.
std::string InsertChip(TLineModel& lines, const TSocketSetup& setup, TSimChip** inserted = nullptr);

// The program's set-up: the socket file in the program folder.
std::string InsertChipFromSocketFile(TLineModel& lines);
