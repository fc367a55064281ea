#include "platform/Files.h"

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

bool FileExists(const std::string& nativePath)
{
    struct stat st {};
    return !nativePath.empty() && stat(nativePath.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool DirectoryExists(const std::string& nativePath)
{
    struct stat st {};
    return !nativePath.empty() && stat(nativePath.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool ForceDirectories(const std::string& nativePath)
{
    std::error_code ec;
    fs::create_directories(nativePath, ec);
    return DirectoryExists(nativePath);
}

bool ReadWholeFile(const std::string& nativePath, std::string& bytes)
{
    if (!FileExists(nativePath))
        return false;
    FILE* f = std::fopen(nativePath.c_str(), "rb");
    if (!f)
        return false;
    std::string out;
    char buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
        out.append(buf, n);
    const bool ok = !std::ferror(f);
    std::fclose(f);
    if (ok)
        bytes = std::move(out);
    return ok;
}

bool WriteWholeFileSafely(const std::string& nativePath, const std::string& bytes)
{
    // A link is written through, not replaced by a file of its own; a link
    // that leads nowhere is replaced.
    std::string target = nativePath;
    std::error_code ec;
    if (fs::is_symlink(nativePath, ec)) {
        const auto resolved = fs::canonical(nativePath, ec);
        if (!ec)
            target = resolved.string();
    }
    const std::string temp = target + ".tmp~";
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return false;
    // The new file keeps the permissions of the one it replaces.
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0)
        ::fchmod(fd, old.st_mode & 07777);
    size_t done = 0;
    bool ok = true;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0) {
            ok = false;
            break;
        }
        done += static_cast<size_t>(n);
    }
    ok = ::fsync(fd) == 0 && ok;
    ok = ::close(fd) == 0 && ok;
    if (ok)
        ok = std::rename(temp.c_str(), target.c_str()) == 0;
    if (!ok)
        ::unlink(temp.c_str());
    return ok;
}

int64_t FileAge(const std::string& nativePath)
{
    struct stat st {};
    if (stat(nativePath.c_str(), &st) != 0)
        return -1;
    return static_cast<int64_t>(st.st_mtime);
}

std::vector<std::string> ListFolder(const std::string& nativePath, bool folders, bool files)
{
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(nativePath, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeEc;
        const bool isDir = it->is_directory(typeEc);
        if ((isDir && folders) || (!isDir && files))
            names.push_back(it->path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}
