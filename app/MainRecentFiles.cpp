#include "app/MainRecentFiles.h"

#include "platform/Paths.h"

void AddRecentFile(TStringList& list, const std::string& path)
{
    int found = -1;
    for (int i = 0; i < list.Count() && found < 0; ++i)
        if (list[i] == path)
            found = i;
    if (found == 0)
        return;
    if (found > 0)
        list.Delete(found);
    list.Insert(0, path);
    while (list.Count() > MaxRecentFiles)
        list.Delete(list.Count() - 1);
}

std::string RecentFileCaption(const std::string& path)
{
    std::string caption;
    for (char c : DisplayPath(path)) {
        caption += c;
        if (c == '&')
            caption += '&';
    }
    return caption;
}
