#pragma once
// The recent source files that the copy-area and compare dialogs offer
// (RecentSourceFiles of engine/Global.h).
#include "platform/StringList.h"

#include <string>

// Index of the name in the list; a name not yet listed is appended first.
int AddRecentSourceFile(TStringList& recent, const std::string& name);

// The item chosen after a list is refilled with `count` items: the previous
// one while it is still inside, else the first (-1 for an empty list).
int RefilledItemIndex(int previous, int count);
