#pragma once
// What a module's picture entry names: a chip picture in the bmps folder
// beside the program, or, starting with "!", a file of the DOC folder,
// which the desktop opens as a document when the user right-clicks the chip
// label.
#include <string>

// The chip picture `pictureEntry` names, `programFolder` + "\bmps\" +
// the entry, or empty when the entry is empty, names a document or no such
// file exists.
std::string ChipPicturePath(const std::string& programFolder, const std::string& pictureEntry);

// The native path of the document `pictureEntry` names, or empty when it
// names none that may be opened: no "!", an empty name, a name with a
// folder separator or "..", a file missing from the DOC folder of
// `programFolder` (or leading out of it through a link), anything but a
// regular file, and whatever could run as a program (an executable file, a
// desktop launcher).
std::string ChipDocumentPath(const std::string& programFolder, const std::string& pictureEntry);
