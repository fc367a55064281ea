#include "app/filevie.h"

#include "platform/Cp1251.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/SysUtils.h"

bool FileViewFilterPasses(const std::string& filter, const std::string& fileName, bool showExtension,
                          std::string& nodeText)
{
    if (filter == "*.*") {
        nodeText = fileName;
        return true;
    }
    const std::string ext = ExtractFileExt(fileName);
    if (AnsiUpperCase(filter).find("*" + AnsiUpperCase(ext)) == std::string::npos)
        return false;
    nodeText = showExtension ? fileName : fileName.substr(0, fileName.size() - ext.size());
    return true;
}

TFolderListing ListFileViewFolder(const std::string& folder)
{
    TFolderListing listing;
    const std::string native = NativePath(folder);
    for (const std::string& name : ListFolder(native, true, false))
        if (name.empty() || name[0] != '.')
            listing.Folders.push_back(Utf8ToCp1251(name));
    for (const std::string& name : ListFolder(native, false, true))
        listing.Files.push_back(Utf8ToCp1251(name));
    return listing;
}

std::string FolderPlaceholder(const std::string& folder)
{
    const TFolderListing listing = ListFileViewFolder(folder);
    if (!listing.Folders.empty())
        return listing.Folders.front();
    return listing.Files.empty() ? std::string() : listing.Files.front();
}

std::string NextPathPart(std::string& path)
{
    size_t start = 0;
    while (start < path.size() && path[start] == ' ')
        ++start;
    const size_t slash = path.find('\\', start);
    std::string part = path.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
    path = slash == std::string::npos ? std::string() : path.substr(slash + 1);
    return TrimRight(part);
}

std::string SingleBackslashes(std::string path)
{
    for (size_t i = path.find("\\\\"); i != std::string::npos; i = path.find("\\\\", i))
        path.erase(i, 1);
    return path;
}

int FileTreeImageIndex(bool hasChildren, bool expanded, const std::string& text)
{
    if (hasChildren)
        return expanded ? 1 : 0;
    const std::string upper = AnsiUpperCase(text);
    if (upper.find(".BIN") != std::string::npos)
        return 3;
    return upper.find(".HEX") != std::string::npos ? 2 : 0;
}
