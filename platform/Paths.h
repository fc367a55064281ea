#pragma once
// Program-relative Windows-style paths ("Scripts\scripts.cfg") and the
// program folder. Paths here are code page 1251 strings, characters the page
// lacks marked (Cp1251.h); NativePath gives the path the file system takes.
#include <QString>
#include <string>

// The folder of the executable, without a trailing separator.
const std::string& ProgramFolder();
// Sets the program folder (start-up and tests).
void SetProgramFolder(const std::string& folder);
// Sets the program folder from the running executable's location.
void InitProgramFolder();

// "\" and "/" both separate components; a relative path is taken from the
// program folder. Each component of a relative path, and of an absolute
// path each one after its first "\" (what the program joined to a folder),
// that does not exist as written is matched without regard to case against
// the folder's entries, since files written for a case-insensitive system
// mix "Scripts" and "scripts"; a path with "/" only (from a window) names
// its file exactly. Components that
// match nothing stay as written, so new files can be made too. Only the
// page's letters match another case: a character the page lacks, and a "?"
// that stands for one, match only themselves, so a path never reaches a file
// other than the one it names.
std::string NativePath(const std::string& path);

// A path a window gives (a file dialog, a dropped file, an edit): nothing of
// it is lost, unlike a text read with QStringToCp1251.
std::string QStringToPath(const QString& path);

// A path as a window shows it: every separator the one the system uses.
std::string DisplayPath(const std::string& path);

// Windows-style name parts; both separators are recognised.
std::string ExtractFileName(const std::string& path);
// The folder part with its trailing separator.
std::string ExtractFilePath(const std::string& path);
// The extension with its dot, empty when there is none.
std::string ExtractFileExt(const std::string& path);
std::string ChangeFileExt(const std::string& path, const std::string& ext);

// A text made fit to be one file name component on any file system the
// program may write to (its own disk, a memory stick, a network share):
// every separator, every character such a system refuses (: * ? " < > |)
// and every control character, NUL included, becomes "-".
std::string ValidFileName(const std::string& name);
