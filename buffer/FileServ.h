#pragma once
// Dump files of a device buffer and of the raw file buffer: loading and
// saving by extension (".HEX" Intel HEX, ".S19" S-records, ".EEF" EEF,
// anything else raw bytes), the marker side file (the dump's name + ".mrk"),
// and text dumps of an address range. File names are code page 1251
// program paths. Record formats: FileServRecords.h; the file dialogs that
// call these: buffer/forms/FileServDialogs.h.
#include "buffer/FileServRecords.h"
#include "buffer/HDumpBuffer.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Chip found for the file the buffer open dialog opened; empty when none.
// Cleared before every open.
extern std::string OpenedFileChip;

// Asked when a file is to be loaded into a buffer of fixed size (a chip's)
// that it does not fit exactly (fileSize: TDumpLoadInfo::Size); false leaves
// the buffer as it was, and the load fails without a message. Unset: the
// file is loaded as far as it fits.
using TDumpSizeQuestion =
    std::function<bool(const TDumpBuffer& buffer, const std::string& fileName, int64_t fileSize)>;
extern TDumpSizeQuestion ConfirmDumpSize;

// The program-wide state of the engine (ResetProgramState) and of this
// library back to where the program starts. For shutdown and for tests.
void ResetBufferState();

// Largest buffer a file may give an EditorMode buffer.
constexpr int64_t MaxDumpBufferSize = int64_t(512) << 20;

// Size of the program's raw file buffer; a raw image fills at most one byte
// less of it.
constexpr size_t RawFileBufferSize = 0x200000;

enum class TDumpFormat { Raw, Hex, S19, Eef };
// By the file name's upper-cased extension.
TDumpFormat DumpFormatOf(const std::string& fileName);

struct TDumpLoadInfo {
    int64_t Size = 0;      // bytes the file holds (text formats: highest address + 1)
    std::string EefText;   // texts of an EEF file's description records
    std::string Error;     // why the load failed, with the line where one is at fault
};

// Loads the buffer and its markers. Nothing is changed unless the whole file
// (and its marker file) could be read: then the bytes, the markers of the
// loaded part and, in EditorMode, the size are replaced, and Modified is
// cleared. In EditorMode the buffer takes the file's size (refused above
// MaxDumpBufferSize); otherwise data beyond the buffer is left out and
// bytes the file does not reach keep their value (raw) or become 0xFF, and
// an empty file or a text dump without a single data record is refused, and
// a file of another size is loaded only when ConfirmDumpSize agrees. Text dumps are read
// in blocks of lines, never whole; a file whose extension is none of those
// above but ".bin" is read as the text dump its content shows, if any.
bool LoadDumpFile(TDumpBuffer& buffer, const std::string& fileName, TDumpLoadInfo& info);
// The same, showing a failure in a message box (a load the user declined
// has none).
bool LoadFromFile(TDumpBuffer& buffer, const std::string& fileName, TDumpLoadInfo* info = nullptr);

// Writes the buffer in its file's format and, with UseMarkersFile, the
// marker side file. EEF files get `eefDescription` in a new header.
bool SaveDumpFile(const TDumpBuffer& buffer, const std::string& fileName, const std::string& eefDescription,
                  std::string& error);
// The same, showing a failure in a message box. A marker file beside a
// name that holds no dump yet is replaced only when the user agrees.
bool SaveToFile(const TDumpBuffer& buffer, const std::string& fileName, const std::string& eefDescription = "");

// Raw file buffer. The readers store inside raw (its size, normally
// RawFileBufferSize); data addressed beyond it is left out. On success the
// text formats first fill all of raw with 0xFF; a failure leaves raw as it
// was and sets the message.
// Intel HEX; the message is "Line " + the line's index counted from 0 + ": "
// + what is wrong (an empty file: "Line 0: Emtpy string.").
bool ReadHexToArray(std::vector<uint8_t>& raw, const std::string& fileName, std::string& message);
bool ReadS19ToArray(std::vector<uint8_t>& raw, const std::string& fileName, std::string* message = nullptr);
// Any dump, whatever its extension: a file whose first record is Intel HEX,
// S-records or EEF is read as that format; else a ".hex", ".s19" or ".eef"
// file as its extension says, anything else as raw bytes (at most
// raw.size() - 1). A missing or empty file, or a dump that fails to parse,
// gives false and the message (lines counted from 1).
bool LoadFileToArray(std::vector<uint8_t>& raw, const std::string& fileName, std::string* message = nullptr);

// Text dump lines of bytes from .. to of the buffer, rows of 16 bytes from
// the row holding `from`: address (5 hex digits at least), ": ", the hex
// cells, a blank and the characters. Word mode shows byte pairs high byte
// first and the address in words. Lines end with CR LF. WriteTextDump hands
// the text to the sink in pieces (false when the sink refused one).
bool WriteTextDump(const TDumpBuffer& buffer, int64_t from, int64_t to, bool wordMode, const TTextSink& sink);
std::string MakeTextDump(const TDumpBuffer& buffer, int64_t from, int64_t to, bool wordMode);

// The name a save dialog's choice is written under: the name as typed when
// it ends in one of the filter's extensions, whichever filter is chosen (the
// name then gives the format), else the typed name with the chosen filter's
// extension added. Dots inside a name are part of it, never swapped.
std::string SettleSaveName(const std::string& typed, const char* filter, int filterIndex);

// What the save and open dialogs do with the file the user chose (filter
// indexes count from 1):
// Save buffer: the name is settled (SettleSaveName; its extension gives the
// format), SaveFileExtension and SaveDirectory are updated, the buffer is saved.
bool SaveBufferChosen(const TDumpBuffer& buffer, const std::string& chosen, int filterIndex, std::string& fileName,
                      const std::string& eefDescription = "");
// Open buffer: the buffer loads the file (a failure is shown); SaveDirectory
// and OpenFileExtension follow the choice, and fileName becomes the file
// only when it loaded, so that a later save never overwrites a file that
// was not loaded.
bool OpenBufferChosen(TDumpBuffer& buffer, const std::string& chosen, int filterIndex, std::string& fileName);
// Save range: the name is settled; ".txt" a text dump, any other the bytes
// as they are. The range is clipped to the buffer; false with a message when
// nothing of it is inside or the file cannot be written.
bool SaveArrayRangeChosen(const TDumpBuffer& buffer, int64_t from, int64_t to, bool wordMode,
                          const std::string& chosen, int filterIndex, std::string& error);

// Dialog filters, in the "text|pattern|text|pattern" form.
extern const char* const SaveBufferFilter;
extern const char* const OpenBufferFilter;
extern const char* const SelectDumpFilter;
extern const char* const SaveRangeFilter;
