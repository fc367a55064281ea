#pragma once
// The list of recently opened buffer files behind the File menu: full paths,
// kept apart from the menu captions (a caption turns "&" into an
// accelerator, a path must reach the file as it is).
#include "platform/StringList.h"

#include <string>

// Entries the File menu keeps when a file is added.
constexpr int MaxRecentFiles = 9;

// Puts `path` at the top: an entry already at the top stays, one further
// down moves up, a new one is inserted and the list cut to MaxRecentFiles.
void AddRecentFile(TStringList& list, const std::string& path);

// The menu caption of a path: every "&" doubled, so it shows as written, and
// one kind of separator (DisplayPath).
std::string RecentFileCaption(const std::string& path);
