#include "vprog/SocketImage.h"

#include "platform/Files.h"

#include <algorithm>

TChipImage::TChipImage(size_t size, uint8_t erased, std::string nativePath)
    : data_(size, erased), file_(std::move(nativePath))
{
    std::string bytes;
    if (!file_.empty() && ReadWholeFile(file_, bytes))
        std::copy_n(bytes.begin(), std::min(bytes.size(), size), data_.begin());
}

bool TChipImage::Save()
{
    if (!dirty_ || file_.empty())
        return true;
    if (!WriteWholeFileSafely(file_, std::string(data_.begin(), data_.end())))
        return false;
    dirty_ = false;
    return true;
}
