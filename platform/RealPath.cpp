#include "platform/RealPath.h"

#include <algorithm>
#include <filesystem>

bool ResolvesInside(const std::string& nativePath, const std::string& nativeFolder, std::string* realPath)
{
    std::error_code ec;
    const auto file = std::filesystem::canonical(nativePath, ec);
    if (ec)
        return false;
    const auto folder = std::filesystem::canonical(nativeFolder, ec);
    if (ec)
        return false;
    if (std::mismatch(folder.begin(), folder.end(), file.begin(), file.end()).first != folder.end())
        return false;
    if (realPath)
        *realPath = file.string();
    return true;
}
