#pragma once
// The chip document a module names: a picture entry starting with "!"
// names a file of the DOC folder beside the program, which the desktop
// opens as a document when the user right-clicks the chip label.
#include <string>

// The native path of the document `pictureEntry` names, or empty when it
// names none that may be opened: no "!", an empty name, a name with a
// folder separator or "..", a file missing from the DOC folder of
// `programFolder` (or leading out of it through a link), anything but a
// regular file, and whatever could run as a program (an executable file, a
// desktop launcher).
std::string ChipDocumentPath(const std::string& programFolder, const std::string& pictureEntry);
