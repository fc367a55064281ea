#pragma once
// Automatic backup: after a module procedure that asks for it, the active
// buffer is saved with a short note into a folder per day under
// Dumps\Backup beside the program.
#include <cstdint>
#include <span>
#include <string>

// The exit value by which a module procedure asks for a backup.
constexpr int32_t BackupExitValue = 0x7FFFFFFF;

// Whether the dispatcher makes a backup after a run with this exit value:
// only for BackupExitValue, and only while WorkParam bit 21
// (wpBackupControl) is set.
bool AutoBackupWanted(int32_t exitValue, uint32_t workParam);

// The moment of a backup as the user's locale writes it (code page 1251).
struct TBackupMoment {
    std::string Date; // short date, "07.12.2026"
    std::string Time; // long time, "14:05:09"
};
TBackupMoment BackupMomentNow();

// What a backup saves.
struct TBackupSource {
    std::string ProgramFolder; // code page 1251, as ProgramFolder() gives it
    std::string CurrentChip;   // chip entry; its last level names the files
    std::string LastCommand;   // the device command that has just run
    std::span<const uint8_t> Data; // the active buffer's bytes
};

// Writes <date>\<chip> <time>.txt and .bin into Dumps\Backup under the
// program folder. Date, time and chip name are made fit for file names; a
// backup whose names are taken (two in one second) gets " (2)", " (3)" ...
// added, so no backup overwrites another. A failure is reported in a
// message box and gives false; a note already written stays.
bool AutoBackup(const TBackupSource& source, const TBackupMoment& moment);
