#pragma once
// File access on native (UTF-8) paths. Program code names files with
// Windows-style paths; NativePath (Paths.h) turns those into these.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

bool FileExists(const std::string& nativePath);
bool DirectoryExists(const std::string& nativePath);
// Creates the folder with every missing parent; true when it exists afterwards.
bool ForceDirectories(const std::string& nativePath);

// Size of a regular file, -1 when there is none.
int64_t FileSize(const std::string& nativePath);
// Reads at most n bytes from the start of a file into dest; the number read
// (0 when the file is missing or unreadable).
size_t ReadFileStart(const std::string& nativePath, uint8_t* dest, size_t n);
bool ReadWholeFile(const std::string& nativePath, std::string& bytes);
// Writes to a temporary file beside the target and renames it over the
// target, so that a failure never leaves a truncated file behind. The new
// file keeps the old one's owner (where the user may), group and mode; a
// save through a link replaces the file it leads to, and a link whose
// target is missing is replaced by the file.
bool WriteWholeFileSafely(const std::string& nativePath, const std::string& bytes);

// The same write in pieces, for files too large to build in memory first:
// Write the pieces, then Commit. Until Commit succeeds the target is left as
// it was; a writer destroyed without a Commit removes its temporary file.
class TSafeFileWriter {
public:
    explicit TSafeFileWriter(const std::string& nativePath);
    ~TSafeFileWriter();
    TSafeFileWriter(const TSafeFileWriter&) = delete;
    TSafeFileWriter& operator=(const TSafeFileWriter&) = delete;

    // false once any write has failed, or when no temporary could be made:
    // the target is a folder, a read-only file, in a read-only folder, or a
    // link that cannot be followed (a loop, a folder the user may not enter).
    bool Write(const void* data, size_t n);
    // Flushes the temporary to the disk, the target still untouched; for
    // files that belong together, each is finished before any is committed.
    bool Finish();
    // Finishes and renames over the target: true only when the target now
    // holds exactly what was written.
    bool Commit();

private:
    std::string target_;
    std::string temp_;
    int fd_ = -1;
    bool ok_ = false;
    bool committed_ = false;
};

// Stands for a full disk in tests: when set and answering true, the flush
// of every safe write fails.
extern bool (*FailWritesForTest)();

// Creates a file that did not exist, atomically: false when it exists
// already (or cannot be made), so that two programs never claim one name.
bool CreateNewFile(const std::string& nativePath);

// Modification time in nanoseconds since the epoch, -1 when the file is
// missing. Nanoseconds, so that two writes within one second differ.
int64_t FileAge(const std::string& nativePath);

// Names (UTF-8) of the entries of a folder, sorted; empty when it cannot be read.
std::vector<std::string> ListFolder(const std::string& nativePath, bool folders, bool files);

// Whether a file may be replaced by a save: true when there is none, false
// when it is read-only (no write permission at all, even for a user whom
// permissions do not bind) or this process may not write it.
bool FileWritable(const std::string& nativePath);

// Reads a file piece by piece from its start.
class TFileReader {
public:
    explicit TFileReader(const std::string& nativePath);
    ~TFileReader();
    TFileReader(const TFileReader&) = delete;
    TFileReader& operator=(const TFileReader&) = delete;

    bool IsOpen() const { return file_ != nullptr; }
    // Up to n next bytes at out: the count, 0 at the end, -1 on an error.
    int64_t Read(void* out, size_t n);
    // Back to the start; false when that fails.
    bool Rewind();

private:
    std::FILE* file_ = nullptr;
};
