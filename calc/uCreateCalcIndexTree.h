#pragma once
// The steps of the index rebuild between the scan and the files: the tree
// path of a script's title, the entries the tree cannot hold, and the
// text of "index.ini".
#include "platform/StringList.h"

#include <functional>
#include <string>
#include <vector>

struct TCalcIndexEntry {
    std::string Path; // tree path, parts joined by backslashes
    std::string File; // the script below Calculators
};

// The line that holds a script's title: its first line, or the second when
// the first is empty (line ends removed).
std::string ScriptTitleLine(const std::string& text);

// The tree path of a title line "[A\B\Name]...": the text between "[" and
// the first "]", each part without surrounding blanks. Empty, with the
// reason, when a part is empty or holds what an INI line cannot keep in a
// name ("=", "[", a leading ";", a control character) or the "]" is missing.
std::string TitleTreePath(const std::string& title, std::string& reason);

// Leaves out, each with a note naming its file, the entries the tree cannot
// hold: a top-level folder named "Root" (its section would be the top
// level's), a calculator whose path another one met before has (the later
// one could neither show nor be found), and a calculator named like a
// folder of the same section (names compare without regard to case, as
// INI lookups do).
void DropCollidingEntries(std::vector<TCalcIndexEntry>& entries, TStringList* notes);

// "index.ini": a section per folder in the order first met, each listing
// its children sorted without regard to case, folders first when asked.
// `section` hears each section's name as it is written.
std::string IndexIniText(const std::vector<TCalcIndexEntry>& entries, bool foldersFirst,
                         const std::function<void(const std::string&)>& section);
