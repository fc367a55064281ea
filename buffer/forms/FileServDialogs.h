#pragma once
// The file dialogs of the dump views. Each only asks for a file; what the
// choice does is in buffer/FileServ.h (SaveBufferChosen, OpenBufferChosen,
// SaveArrayRangeChosen), so it is tested without windows.
#include "buffer/HDumpBuffer.h"

#include <QStringList>

#include <cstdint>
#include <string>

class THexDump;

// Name filters of a dialog from the "text|pattern|text|pattern" form.
QStringList DialogFilters(const char* filter);

class QFileDialog;

// Runs a save dialog offering the name `preset` (may be empty): the name
// is settled (SettleSaveName) and, when that file exists, the user is asked
// whether to replace it (No goes back to the dialog). On OK gives the
// settled name (code page 1251) and filter index.
bool RunSaveDialog(QFileDialog& dialog, const char* filter, int index, const std::string& preset, std::string& chosen,
                   int& chosenIndex);

// Save dialog: the view's buffer is saved under the chosen name, settled
// as above; fileName becomes that name. false when cancelled or
// when the save failed (the failure was shown).
bool SaveBufferDialog(THexDump& view, std::string& fileName, const std::string& eefDescription = "");
// Open dialog starting at fileName: the view loads the chosen file and goes
// to its top; fileName becomes it. false when cancelled (*cancelled set) or
// when the load failed (the failure was shown; the buffer is unchanged).
bool OpenBufferDialog(THexDump& view, std::string& fileName, bool* cancelled = nullptr);
// fileName := the existing file chosen, else "".
void SelectDumpFileName(std::string& fileName);
// Saves bytes from .. to of the buffer as a binary file or a text dump.
// false when cancelled or when the save failed (the failure was shown).
bool SaveArrayRange(const TDumpBuffer& buffer, int64_t from, bool wordMode, int64_t to);
