#pragma once
// File access shared by the dump loaders and savers.
#include "buffer/FileServ.h"
#include "buffer/FileServImage.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

// Message texts naming a file (code page 1251 name).
std::string CannotReadMessage(const std::string& fileName);
std::string CannotWriteMessage(const std::string& fileName);

// Reads a text dump whole; false with a message naming the file.
bool ReadDumpText(const std::string& fileName, std::string& text, std::string& error);
// Writes beside the file and renames over it; false with a message.
// `produce` hands the file's text to the sink it is given, piece by piece.
bool WriteDumpText(const std::string& fileName, const std::function<bool(const TTextSink&)>& produce,
                   std::string& error);
bool WriteDumpBytes(const std::string& fileName, const uint8_t* bytes, size_t n, std::string& error);

// A text format's reader; null for raw files.
using TDumpParser = bool (*)(const std::string&, TDumpImage&, TDumpError&);
TDumpParser DumpParserOf(TDumpFormat format);
