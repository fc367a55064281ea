#pragma once
// Record level of the dump formats: the readers turn a file's text into a
// TDumpImage (nothing else is touched, so a malformed file changes nothing),
// the writers turn a buffer into the file's text. The file-level routines
// that use them are in FileServ.h.
#include "buffer/FileServImage.h"
#include "buffer/FileServLines.h"
#include "buffer/HDumpBuffer.h"

#include <cstdint>
#include <string>

// Readers of a dump's lines (read in blocks, FileServLines.h). They fail at
// the first malformed line (blank lines are skipped) and read on after an
// end record while records follow; data records go to their addresses,
// later records over earlier ones. The image's Limit and Expected carry
// over; on failure it is left as it was.
bool ParseHexLines(const TDumpLines& lines, TDumpImage& image, TDumpError& error);
bool ParseS19Lines(const TDumpLines& lines, TDumpImage& image, TDumpError& error);
bool ParseEefLines(const TDumpLines& lines, TDumpImage& image, TDumpError& error);

// The same for a text in memory.
bool ParseHexText(const std::string& text, TDumpImage& image, TDumpError& error);
bool ParseS19Text(const std::string& text, TDumpImage& image, TDumpError& error);
bool ParseEefText(const std::string& text, TDumpImage& image, TDumpError& error);

// The same for a file by name (code page 1251 program path). A file that
// cannot be read is an error without a line.
bool ReadHexFile(const std::string& fileName, TDumpImage& image, TDumpError& error);
bool ReadS19File(const std::string& fileName, TDumpImage& image, TDumpError& error);
bool ReadEefFile(const std::string& fileName, TDumpImage& image, TDumpError& error);

// Runs `line`(index, begin, end, message) over the lines: it answers 1 to
// go on, 0 at the end of the data, -1 for a fault described in message.
// Counts the record lines in image.Records.
template <class F>
bool ParseRecordLines(const TDumpLines& lines, TDumpImage& image, TDumpError& error, F&& line)
{
    TDumpError fault;
    const bool read = lines.ForEach(
        [&](int64_t index, const char* b, const char* e) {
            if (b == e)
                return true;
            ++image.Records;
            const int r = line(index, b, e, fault.Text);
            if (r < 0)
                fault.Line = index;
            return r > 0;
        },
        error);
    if (!read)
        return false;
    if (fault.Line >= 0) {
        error = fault;
        return false;
    }
    return true;
}

// One EEF record: "X", type digit, LLLL, AAAAAA, data, CC. Success when the
// fields are hex, LLLL >= 4, the line holds exactly LLLL - 4 data bytes and
// the checksum matches; data, count and address are set only then.
bool ParseEefRecord(const std::string& line, std::string& data, int& count, int64_t& address);
// A record fit to keep as an old header: at least one data byte.
bool CheckEefRecord(const std::string& line);
// "X0" record of a text of at most 256 characters (longer texts are cut).
std::string MakeEefTextRecord(const std::string& text);
// "X7" record of buffer bytes first .. first + count - 1; allFF tells
// whether they are all 0xFF.
std::string MakeEefDataRecord(const TDumpBuffer& buffer, int64_t first, int count, bool& allFF);

// Largest buffer the EEF format can address (24-bit addresses).
constexpr int64_t EefMaxSize = 0x1000000;

// Writers: the file's text for bytes 0 .. LastIndex, lines ending in CR LF,
// handed to a sink in pieces (Write...Text, false when the sink refused a
// piece) or gathered whole (Make...Text).
// Intel HEX: 16-byte records, full records of 0xFF left out except the last
// one, so that the size survives a reload; above 64 KiB, type 04 records
// give the upper address bits. S-records: "S1" up to 64 KiB, "S2" up to
// 16 MiB, "S3" beyond; every record is written.
bool WriteHexText(const TDumpBuffer& buffer, const TTextSink& sink);
bool WriteS19Text(const TDumpBuffer& buffer, const TTextSink& sink);
std::string MakeHexText(const TDumpBuffer& buffer);
std::string MakeS19Text(const TDumpBuffer& buffer);
// EEF: the header lines of `oldText` (the file being replaced, may be empty)
// when they pass CheckEefRecord, else a new header carrying `description`;
// then 32-byte data records, all-0xFF ones left out except the last. Buffers
// above EefMaxSize cannot be written (false).
bool WriteEefText(const TDumpBuffer& buffer, const std::string& oldText, const std::string& description,
                  const TTextSink& sink);
bool MakeEefText(const TDumpBuffer& buffer, const std::string& oldText, const std::string& description,
                 std::string& text);

// Writers to a file (written beside it and renamed over it). false with a
// message when the file cannot be written.
bool WriteHexFile(const TDumpBuffer& buffer, const std::string& fileName, std::string& error);
bool WriteS19File(const TDumpBuffer& buffer, const std::string& fileName, std::string& error);
bool WriteEefFile(const TDumpBuffer& buffer, const std::string& fileName, const std::string& description,
                  std::string& error);
