#include "skin/acShellCtrls.h"

std::unique_ptr<TacShellFolder> DesktopShellFolder;

namespace {

uint16_t ItemSize(const TItemIdList& list, size_t offset)
{
    return offset + 2 <= list.size() ? uint16_t(list[offset] | list[offset + 1] << 8) : 0;
}

// The bytes of the items, without the terminator.
size_t ItemBytes(const TItemIdList& list)
{
    size_t size = ItemIdListSize(list);
    return size >= 2 ? size - 2 : 0;
}

} // namespace

TItemIdList AllocItemIdList(size_t size)
{
    return TItemIdList(size, 0);
}

size_t NextItemId(const TItemIdList& list, size_t offset)
{
    uint16_t cb = ItemSize(list, offset);
    return offset + cb > list.size() || cb < 2 ? list.size() : offset + cb;
}

size_t ItemIdListSize(const TItemIdList& list)
{
    if (list.empty())
        return 0;
    size_t offset = 0;
    for (uint16_t cb; (cb = ItemSize(list, offset)) != 0;) {
        if (cb < 2 || offset + cb + 2 > list.size())
            break;
        offset += cb;
    }
    return offset + 2;
}

TItemIdList CloneItemIdList(const TItemIdList& list)
{
    return list;
}

TItemIdList JoinItemIdLists(const TItemIdList& a, const TItemIdList& b)
{
    TItemIdList out(a.begin(), a.begin() + std::ptrdiff_t(ItemBytes(a)));
    out.insert(out.end(), b.begin(), b.begin() + std::ptrdiff_t(ItemBytes(b)));
    out.push_back(0);
    out.push_back(0);
    return out;
}

TItemIdList ItemIdListFromPath(const std::string& path)
{
    TItemIdList out;
    size_t i = 0;
    while (i < path.size()) {
        size_t j = path.find('/', i);
        if (j == std::string::npos)
            j = path.size();
        std::string comp = path.substr(i, j - i);
        i = j + 1;
        if (comp.empty() || comp.size() > 0xFFFD)
            continue;
        size_t cb = comp.size() + 2;
        out.push_back(uint8_t(cb & 0xFF));
        out.push_back(uint8_t(cb >> 8));
        out.insert(out.end(), comp.begin(), comp.end());
    }
    out.push_back(0);
    out.push_back(0);
    return out;
}

std::string PathFromItemIdList(const TItemIdList& list)
{
    std::string path;
    size_t end = ItemBytes(list);
    for (size_t offset = 0; offset < end; offset = NextItemId(list, offset)) {
        uint16_t cb = ItemSize(list, offset);
        path += "/" + std::string(list.begin() + std::ptrdiff_t(offset + 2), list.begin() + std::ptrdiff_t(offset + cb));
    }
    return path.empty() ? "/" : path;
}

TItemIdList GetDesktopItemIdList()
{
    return {0, 0};
}

TacShellFolder::TacShellFolder(const TacShellFolder* parent, const TItemIdList& relative)
    : parent_(parent), relative_(CloneItemIdList(relative))
{
    full_ = JoinItemIdLists(parent ? parent->full_ : GetDesktopItemIdList(), relative_);
    level_ = parent ? parent->level_ + 1 : 0;
    if (!parent_)
        parent_ = DesktopShellFolder.get();
}

void acShellCtrlsInitialization()
{
    if (!DesktopShellFolder)
        DesktopShellFolder = std::make_unique<TacShellFolder>(nullptr, GetDesktopItemIdList());
}

void acShellCtrlsFinalization()
{
    DesktopShellFolder.reset();
}
