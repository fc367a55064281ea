#include "buffer/uRecentSourceFiles.h"

#include <algorithm>

int AddRecentSourceFile(TStringList& recent, const std::string& name)
{
    // File names are compared exactly: on this system case tells files apart.
    // (TStringList::IndexOf ignores case.)
    const auto& items = recent.Items();
    const auto found = std::find(items.begin(), items.end(), name);
    if (found != items.end())
        return static_cast<int>(found - items.begin());
    return recent.Add(name);
}

int RefilledItemIndex(int previous, int count)
{
    if (previous >= 0 && previous < count)
        return previous;
    return count > 0 ? 0 : -1;
}
