#pragma once
// The main window's texts that follow the buffers: the status line of the
// caret, the window caption, the size label and the proposed save name.
// Plain functions, so the rules are tested without a window.
#include "buffer/HDumpBuffer.h"

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

struct TCaretStatus {
    int64_t Index = 0;        // the caret's byte or word index as shown
    std::string AddressText;  // "Address: 16 (00010H)"
    std::string DataText;     // "Data: 255 (FFH)"
};

// The status line for a caret at `index` (a word index in word view). An
// index outside the buffer counts as 0. In word view the word's first byte
// is high unless the view swaps bytes; the last word of an odd-sized buffer
// has one byte only, which is shown alone. Nothing for an empty buffer.
std::optional<TCaretStatus> CaretStatus(const TDumpBuffer& buffer, int64_t index, bool wordMode, bool swapBytes,
                                        const std::string& addressWord, const std::string& dataWord);

// The status line before the caret has moved: "Address: 0 (00000H)" and
// "Data: 0 (00H)".
TCaretStatus InitialCaretStatus(const std::string& addressWord, const std::string& dataWord);

// The window caption: with no tabs "Tarku - " + file 1; tab 1 active:
// "Tarku (" + tab 1 + ") - " + file 2; else "Tarku (" + tab 0 + ") - " + file 1.
// The file is shown with one kind of separator (DisplayPath), however its
// folder and name were joined.
std::string MainCaption(int tabCount, int activeTab, const std::string& tab0, const std::string& tab1,
                        const std::string& file1, const std::string& file2);

// The size label: the size + " x 8", or size div 2 + " x 16" in word view.
std::string SizeLabelText(int64_t size, bool wordMode);

// How long a hint stays up, in ms: a short one (at most 50 characters) is
// read at a glance, a longer one needs time.
int HintHidePause(const std::string& hint);

// The proposed name of a save: date, two blanks, time, two blanks, the chip
// label's text, where every non-digit of the date becomes "-" and every
// non-digit of the time "." ("08-12-2026  14.05.09  24C02").
std::string DatedSaveName(const std::tm& now, const std::string& chipLabel);
