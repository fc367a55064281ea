#pragma once
// The dumps library without windows: where the library lies, the note and
// picture beside each dump, the chip a note names, the library window's
// state after a choice in its tree, and the checks of the small dialogs.
// Paths are code page 1251 (Windows-style, see NativePath).
#include "platform/StringList.h"

#include <string>

// The library root without a trailing backslash: LibraryFolder, or the
// program folder's "Dumps" when the stored folder does not exist.
std::string LibraryRoot();
// A dump's note: the name with ".txt" for its extension.
std::string DumpNoteFile(const std::string& dumpFile);
// A dump's picture: the name with ".bmp", else with ".jpg"; empty when
// neither exists.
std::string DumpPictureFile(const std::string& dumpFile);
// A note's lines; empty when there is none.
TStringList ReadDumpNote(const std::string& noteFile);
// false when the note could not be written.
bool WriteDumpNote(const std::string& noteFile, const TStringList& lines);

// What a dump's note name holds before a note is written there. A note of
// the library opens with its "CHIP=" line (any case); any other text file
// of that name is the user's own and is replaced only when asked.
enum class TNoteFileKind { Missing, Note, Other };
TNoteFileKind NoteFileKind(const std::string& noteFile);

// The chip a note's first line names: "CHIP=" (any case) and a name, taken
// without surrounding blanks and upper-cased. Empty when the line names
// none.
std::string NoteChipName(const std::string& firstLine);
// The chip list entry a note's chip name means: an entry equal to it, else
// the first entry whose last level equals it, both ignoring case. Empty
// when none does.
std::string FindNoteChip(const TStringList& chips, const std::string& chipName);

// The path inside the library of a file in it (what follows the root and
// its backslash), empty for a file elsewhere.
std::string LibraryRelativePath(const std::string& root, const std::string& fileName);

// The library window's state after a node was chosen.
struct TBinListChoice {
    std::string DumpFile;        // empty: a folder is chosen
    std::string DescriptionFile; // the dump's note, empty for a folder
    std::string PictureFile;     // empty: no picture
};
TBinListChoice ChooseLibraryNode(const std::string& fullPath);

// The filters of the save dialog of "Add file to library".
extern const char* const LibrarySaveFilter;

// Whether a new folder's name may be used: no "\", ":", ";", "/" or '"',
// and not "." or "..", which name folders that exist already.
bool FolderNameAllowed(const std::string& name);
// The file system's path of a new folder `name` in the library folder
// `parent`: the name as typed, never matched to a folder whose name differs
// only in case, so that every name makes a folder of its own.
std::string NewFolderNativePath(const std::string& parent, const std::string& name);
