#include "vprog/SocketImage.h"

#include "platform/Files.h"

#include <cstdio>

TChipImage::TChipImage(size_t size, uint8_t erased, std::string nativePath)
    : data_(size, erased), file_(std::move(nativePath))
{
    // Only what fits the chip is read: a longer file is cut, whatever its
    // size.
    if (file_.empty() || !FileExists(file_))
        return;
    if (FILE* f = std::fopen(file_.c_str(), "rb")) {
        // A shorter file (or a read that failed half way) leaves the rest
        // erased.
        std::fread(data_.data(), 1, size, f);
        std::fclose(f);
    }
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
