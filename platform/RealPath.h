#pragma once
// Confinement of a file to a folder by where its path really leads, links
// and ".." resolved, so that neither a link nor a linked folder on the way
// reaches past the folder.
#include <string>

// Whether `nativePath` exists and, resolved, lies inside `nativeFolder`
// (also resolved) or is that folder; `realPath` then holds the resolved path.
bool ResolvesInside(const std::string& nativePath, const std::string& nativeFolder, std::string* realPath = nullptr);
