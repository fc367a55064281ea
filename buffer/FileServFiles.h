#pragma once
// File access shared by the dump loaders and savers.
#include <cstddef>
#include <cstdint>
#include <string>

// Size of a regular file, -1 when there is none.
int64_t DumpFileSize(const std::string& nativePath);
// Reads the first n bytes of a file into dest; false when the file holds
// fewer or cannot be read.
bool ReadFileBytes(const std::string& nativePath, uint8_t* dest, size_t n);

// Message texts naming a file (code page 1251 name).
std::string CannotReadMessage(const std::string& fileName);
std::string CannotWriteMessage(const std::string& fileName);

// Reads a text dump whole; false with a message naming the file.
bool ReadDumpText(const std::string& fileName, std::string& text, std::string& error);
// Writes beside the file and renames over it; false with a message.
bool WriteDumpBytes(const std::string& fileName, const std::string& bytes, std::string& error);
