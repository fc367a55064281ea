#pragma once
// The Edit menu's and the dump views' buffer commands as functions on a
// buffer: copy and paste as hex text, swap, fill and XOR with a pattern,
// find, insert, compare and XOR with a file, copy an area from a file. The
// window's handlers (app/forms/MainEdit.cpp) ask for the input and call
// these. Every write stays inside the buffer; none grows it.
#include "app/MainFile.h"
#include "buffer/HDumpBuffer.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class THexDumpEdit;

// The byte the caret stands on: its nibble div 2, the word's first byte in
// word mode, inside the buffer. 0 for an empty buffer.
int64_t CaretByteOf(const THexDumpEdit& edit);

// The selection as first..last (first <= last); nothing without one.
std::optional<TByteRange> SelectionRange(const TDumpBuffer& buffer);

// The selected bytes as two upper-case hex digits and a blank each; empty
// without a selection.
std::string CopyAsHexText(const TDumpBuffer& buffer);

// Hex text pairs (characters of code 32 and below separate them) written
// from `start` on, each written byte marked as differing. Stops at the
// text's end, at a lone character, at a pair that is not hex and at the
// buffer's last byte. Returns the bytes written.
int64_t PasteHexText(TDumpBuffer& buffer, int64_t start, const std::string& text);

// Exchanges the bytes of each pair (0,1), (2,3), ...; the last byte of an
// odd size has no partner and stays.
void SwapBufferBytes(TDumpBuffer& buffer);

// Fill or XOR: the pattern (hex digits, read cyclically two at a time, a
// lone last digit a byte of its own) over the area first..last, clipped to
// the buffer. Word mode takes two pattern bytes per word, the first for the
// word's odd byte, the second for its even byte; bytes of a word outside
// the area are skipped, their pattern byte still used. Fill marks every
// written byte as differing, XOR only the bytes it changed.
enum class TPatternOp { Fill, Xor };
void ApplyPattern(TDumpBuffer& buffer, const std::string& pattern, TByteRange area, bool wordMode, TPatternOp op);

// The first offset from `position` on where the whole pattern lies inside
// bytes 0..lastIndex; `position` is left on it. -1 when there is none (or
// the pattern is empty).
int64_t FindPattern(const uint8_t* pattern, int64_t length, int64_t lastIndex, int64_t& position,
                    const uint8_t* buffer);

// Writes bytes from `start` on, each marked as differing, up to the
// buffer's last byte. Returns the bytes written.
int64_t WriteBytesAt(TDumpBuffer& buffer, int64_t start, const std::vector<uint8_t>& bytes);

// The bytes of the insert dialog's text. Text mode: the characters of all
// lines, line breaks left out. Hex-dump mode: the hex cells of every row
// of a text dump the program saves or prints (byte or word rows, with or
// without the grid's bars, cells outside the dumped range left out) and
// of rows of 16 full byte cells typed by hand; the character column is
// never read. Blank lines, lines of an address alone, rules and column
// headers are skipped, and so is the description above a print's header.
// Any other line is refused with its index in `badLine`.
std::optional<std::vector<uint8_t>> InsertTextBytes(const std::vector<std::string>& lines, bool hexDump,
                                                    int& badLine);

// Reads a dump file (any format LoadFileToArray takes) into a file image
// large enough for both the buffer and the file, bytes past the file's end
// 0xFF. false when the file cannot be read (with the reason, if known).
bool LoadFileImage(const std::string& fileName, int64_t bufferSize, std::vector<uint8_t>& image,
                   std::string& message);

// Marks every byte that differs from the image (the image holds at least
// the buffer's size) and returns how many differ.
int64_t CompareWithImage(TDumpBuffer& buffer, const std::vector<uint8_t>& image);

// XORs the buffer with the file's raw bytes from offset 0 up to the file's
// or the buffer's end; a byte that became 0 is marked as normal, any other
// as differing; the buffer becomes modified. false when the file cannot be
// read (nothing is changed).
bool XorWithFile(TDumpBuffer& buffer, const std::string& fileName);

// Copies the selected area's length from the file at `offset` into the
// buffer at the selection's start.
enum class TCopyFromFile { Ok, NoSelection, Missing, TooSmall };
TCopyFromFile CopyAreaFromFile(TDumpBuffer& buffer, const std::string& fileName, int64_t offset);

// The largest address the go-to dialog accepts: the last word index in word
// mode, else the last byte index.
int64_t GotoAddressLimit(int64_t size, bool wordMode);
