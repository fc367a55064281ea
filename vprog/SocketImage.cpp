#include "vprog/SocketImage.h"

#include "platform/Files.h"

TChipImage::TChipImage(size_t size, uint8_t erased, std::string nativePath)
    : data_(size, erased), file_(std::move(nativePath))
{
    // Only what fits the chip is read: a longer file is cut, a shorter one
    // (or a read that failed half way) leaves the rest erased.
    if (!file_.empty())
        ReadFileStart(file_, data_.data(), size);
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
