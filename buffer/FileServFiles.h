#pragma once
// File access shared by the dump loaders and savers.
#include "buffer/FileServ.h"
#include "buffer/FileServImage.h"
#include "buffer/FileServLines.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

// Message texts naming a file (code page 1251 name).
std::string CannotReadMessage(const std::string& fileName);
std::string CannotWriteMessage(const std::string& fileName);
std::string OutOfMemoryMessage(const std::string& fileName);

// Asks whether the file of that name (its name part shown) may be
// replaced: true when the user answers Yes.
bool AskReplaceFile(const std::string& fileName);

class TSafeFileWriter;

// Writes the text into the writer's temporary, the file itself untouched
// until the writer is committed; false with a message, also when the file
// exists and is read-only or its folder is.
bool PrepareDumpText(TSafeFileWriter& out, const std::string& fileName,
                     const std::function<bool(const TTextSink&)>& produce, std::string& error);
// Writes beside the file and renames over it; false with a message, also
// when the file exists and is read-only.
// `produce` hands the file's text to the sink it is given, piece by piece.
bool WriteDumpText(const std::string& fileName, const std::function<bool(const TTextSink&)>& produce,
                   std::string& error);
bool WriteDumpBytes(const std::string& fileName, const uint8_t* bytes, size_t n, std::string& error);

// A text format's reader; null for raw files.
using TDumpParser = bool (*)(const TDumpLines&, TDumpImage&, TDumpError&);
TDumpParser DumpParserOf(TDumpFormat format);
// The reader of a file whose first record line is a sound Intel HEX,
// S-record or EEF record, whatever its name; null for anything else (and
// for a file that cannot be read).
TDumpParser SniffDumpFormat(const std::string& fileName);
