#pragma once
// Record level of the dump formats: the readers turn a file's text into a
// TDumpImage (nothing else is touched, so a malformed file changes nothing),
// the writers turn a buffer into the file's text. The file-level routines
// that use them are in FileServ.h.
#include "buffer/FileServImage.h"
#include "buffer/HDumpBuffer.h"

#include <cstdint>
#include <string>

// Readers of a file's whole text. They fail at the first malformed line
// (blank lines are skipped) and stop at an end-of-file record; data records
// go to their addresses, later records over earlier ones.
bool ParseHexText(const std::string& text, TDumpImage& image, TDumpError& error);
bool ParseS19Text(const std::string& text, TDumpImage& image, TDumpError& error);
bool ParseEefText(const std::string& text, TDumpImage& image, TDumpError& error);

// The same for a file by name (code page 1251 program path). A file that
// cannot be read is an error without a line.
bool ReadHexFile(const std::string& fileName, TDumpImage& image, TDumpError& error);
bool ReadS19File(const std::string& fileName, TDumpImage& image, TDumpError& error);
bool ReadEefFile(const std::string& fileName, TDumpImage& image, TDumpError& error);

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
