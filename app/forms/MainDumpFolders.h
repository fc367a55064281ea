#pragma once
// What the dumps library window and the file window share: the folder
// browser that chooses the library's root, writing a note with a report
// when that fails, and the create-folder dialog's work.
#include "platform/StringList.h"

#include <QString>

#include <string>

class QWidget;

// The system folder browser starting at the library; on OK the folder,
// with a backslash appended, becomes LibraryFolder and `folder`.
bool ChooseLibraryFolder(QWidget* owner, std::string& folder);
// A dump's note for a memo: its lines, one per memo line.
QString NoteForMemo(const std::string& noteFile);
// Writes a dump's note; a failure is reported to the user.
bool SaveDumpNote(const std::string& noteFile, const TStringList& lines);
// Asks for a new folder's name under `parent` (no trailing backslash) and
// creates it with every missing parent. false when cancelled or failed
// (reported).
bool CreateFolderUnder(QWidget* owner, const std::string& parent);
