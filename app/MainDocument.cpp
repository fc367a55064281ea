#include "app/MainDocument.h"

#include "platform/Cp1251.h"
#include "platform/Files.h"
#include "platform/Paths.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

bool plainName(const std::string& name)
{
    if (name.empty() || name.find("..") != std::string::npos)
        return false;
    return std::none_of(name.begin(), name.end(), [](char c) {
        return c == '/' || c == '\\' || c == ':' || static_cast<unsigned char>(c) < 32;
    });
}

// Opening such a file starts a program on some desktops.
bool runnable(const fs::path& file)
{
    struct stat st {};
    if (::stat(file.c_str(), &st) != 0 || (st.st_mode & (S_IXUSR | S_IXGRP | S_IXOTH)) != 0)
        return true;
    return AnsiLowerCase(file.extension().string()) == ".desktop";
}

} // namespace

std::string ChipPicturePath(const std::string& programFolder, const std::string& pictureEntry)
{
    if (pictureEntry.empty() || pictureEntry[0] == '!')
        return {};
    const std::string path = programFolder + "\\bmps\\" + pictureEntry;
    return FileExists(NativePath(path)) ? path : std::string();
}

std::string ChipDocumentPath(const std::string& programFolder, const std::string& pictureEntry)
{
    if (pictureEntry.empty() || pictureEntry[0] != '!')
        return {};
    const std::string name = pictureEntry.substr(1);
    if (!plainName(name))
        return {};
    std::error_code ec;
    const fs::path folder = fs::canonical(NativePath(programFolder + "\\DOC"), ec);
    if (ec)
        return {};
    const fs::path file = fs::canonical(NativePath(programFolder + "\\DOC\\" + name), ec);
    if (ec || file.parent_path() != folder || !fs::is_regular_file(file, ec) || runnable(file))
        return {};
    return file.string();
}
