#pragma once
// The file tree's rules without a window: which files a filter lets
// through and under what text, how a folder is listed, how a path splits
// into parts, and which picture a node shows. Names here are code page
// 1251; the listing reads the file system through NativePath.
#include <string>
#include <vector>

// Whether a file passes the tree's filter, and its node text. "*.*" passes
// every file under its full name; otherwise "*" + the upper-cased extension
// (just "*" without one) must occur in the upper-cased filter.
bool FileViewFilterPasses(const std::string& filter, const std::string& fileName, bool showExtension,
                          std::string& nodeText);

// One folder's entries: sub-folders first, then files, each in name order.
// Hidden folders (a leading dot) are left out; files are all there.
struct TFolderListing {
    std::vector<std::string> Folders;
    std::vector<std::string> Files;
};
// Empty when the folder is missing or cannot be read.
TFolderListing ListFileViewFolder(const std::string& folder);

// The entry that stands in for a folder's contents until it is opened: its
// first entry, folder or file, unfiltered; empty for an empty folder.
std::string FolderPlaceholder(const std::string& folder);

// Takes the next part off a "\"-separated path: leading blanks skipped, up
// to the next backslash (consumed), trailing blanks removed.
std::string NextPathPart(std::string& path);

// Every doubled backslash reduced to one.
std::string SingleBackslashes(std::string path);

// The picture of a node of the dump trees: 1 an open folder, 0 a closed
// one; a leaf 3 when its text holds ".BIN", 2 when ".HEX", else 0.
int FileTreeImageIndex(bool hasChildren, bool expanded, const std::string& text);
