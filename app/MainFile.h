#pragma once
// The File menu's rules that tests reach without a window: the range of
// "Save part of buffer", the size label's word toggle, the question for a
// dropped file, and the watch on each buffer's file for changes made by
// other programs.
#include "buffer/HDumpBuffer.h"

#include <cstdint>
#include <optional>
#include <string>

// The fields the save-part dialog starts with: the selection, or without
// one the first byte shown and the last byte; at least four upper-case hex
// digits each.
struct TSavePartFields {
    std::string Start;
    std::string End;
};
TSavePartFields SavePartFields(const TDumpBuffer& buffer, int64_t topIndex);

// The byte range typed into the save-part dialog: two hexadecimal numbers
// (a leading "$" or "0x" allowed) with start <= end inside the buffer;
// nothing for anything else.
struct TByteRange {
    int64_t First = 0;
    int64_t Last = -1;
};
std::optional<TByteRange> ParseSavePartRange(const std::string& start, const std::string& end,
                                             const TDumpBuffer& buffer);

// Whether the size label toggles the buffer's word view: a buffer sized by
// its file only when it holds whole words, a chip's buffer only when its
// module shows it in words (moduleWords).
bool WordToggleActive(const TDumpBuffer& buffer, bool moduleWords);

// Before a file goes into a chip's buffer that it does not fit: with the
// option "Require confirmation if file size disagree buffer size" the user
// is asked (message 15); true loads it as far as it fits.
bool ConfirmOtherFileSize(uint32_t workParam);

// "Load file \"<name>\" ?"
std::string DropQuestion(const std::string& fileName);

// A buffer's file, watched for changes by other programs. Only a file the
// buffer was really loaded from or saved to is watched: a buffer made by New
// has a name ("noname.bin") but no file behind it.
struct TWatchedFile {
    std::string Name; // empty: nothing is watched
    int64_t Age = -1; // the file's age when it was last loaded, saved or seen
};

// Watches `name` from now on, with its present age.
void WatchFile(TWatchedFile& watch, const std::string& name);
// The watched file was written by the program itself: its new age is no
// outside change.
void RefreshWatch(TWatchedFile& watch);
// True once for each outside change: the file exists and its age differs
// from the one last seen, which it then becomes.
bool TakeOutsideChange(TWatchedFile& watch);
