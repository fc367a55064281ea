#pragma once
// File access on native (UTF-8) paths. Program code names files with
// Windows-style paths; NativePath (Paths.h) turns those into these.
#include <cstdint>
#include <string>
#include <vector>

bool FileExists(const std::string& nativePath);
bool DirectoryExists(const std::string& nativePath);
// Creates the folder with every missing parent; true when it exists afterwards.
bool ForceDirectories(const std::string& nativePath);

bool ReadWholeFile(const std::string& nativePath, std::string& bytes);
// Writes to a temporary file beside the target and renames it over the
// target, so that a failure never leaves a truncated file behind.
bool WriteWholeFileSafely(const std::string& nativePath, const std::string& bytes);

// Modification time in seconds since the epoch, -1 when the file is missing.
int64_t FileAge(const std::string& nativePath);

// Names (UTF-8) of the entries of a folder, sorted; empty when it cannot be read.
std::vector<std::string> ListFolder(const std::string& nativePath, bool folders, bool files);
