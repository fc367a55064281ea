#pragma once
// Shell folders as the skinning library keeps them. This system has no
// shell namespace: an item-id list here is the byte layout of one (items of
// a 16-bit size followed by their bytes, ended by a zero size), each item
// holding one component of a file-system path, and a folder object holds
// the path its list spells. The desktop is the root of the file system.
#include "platform/StringList.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// A whole list, terminator included.
using TItemIdList = std::vector<uint8_t>;

// size bytes, all zero.
TItemIdList AllocItemIdList(size_t size);
// The offset of the item after the one at `offset` (its size field added);
// the list's size when the item runs past its end.
size_t NextItemId(const TItemIdList& list, size_t offset);
// 2 (the terminator) plus the sizes of all items; 0 for an empty buffer. An
// item that runs past the buffer ends the count.
size_t ItemIdListSize(const TItemIdList& list);
TItemIdList CloneItemIdList(const TItemIdList& list);
// a without its terminator, then b with its terminator; an empty a counts
// as a list without items.
TItemIdList JoinItemIdLists(const TItemIdList& a, const TItemIdList& b);

// The list of a path's components ("/" separated) and back.
TItemIdList ItemIdListFromPath(const std::string& path);
std::string PathFromItemIdList(const TItemIdList& list);
// The desktop's list: no items.
TItemIdList GetDesktopItemIdList();

class TacShellFolder {
public:
    // relative: the folder's items below parent (the desktop when parent is
    // nullptr). Level is one more than the given parent's, 0 without one.
    TacShellFolder(const TacShellFolder* parent, const TItemIdList& relative);

    const TacShellFolder* Parent() const { return parent_; }
    const TItemIdList& RelativeIdList() const { return relative_; }
    const TItemIdList& FullIdList() const { return full_; }
    // The file-system path the full list spells ("/" for the desktop).
    std::string Path() const { return PathFromItemIdList(full_); }
    int Level() const { return level_; }
    TStringList& Names() { return names_; }

private:
    const TacShellFolder* parent_;
    TItemIdList relative_;
    TItemIdList full_;
    int level_ = 0;
    TStringList names_;
};

// The desktop folder, made by the unit's start-up and freed at shutdown.
extern std::unique_ptr<TacShellFolder> DesktopShellFolder;
void acShellCtrlsInitialization();
void acShellCtrlsFinalization();
