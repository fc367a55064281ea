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

int64_t FileSize(const std::string& nativePath)
{
    struct stat st {};
    if (nativePath.empty() || stat(nativePath.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return -1;
    return static_cast<int64_t>(st.st_size);
}

size_t ReadFileStart(const std::string& nativePath, uint8_t* dest, size_t n)
{
    if (n == 0 || FileSize(nativePath) < 0)
        return 0;
    FILE* f = std::fopen(nativePath.c_str(), "rb");
    if (!f)
        return 0;
    const size_t got = std::fread(dest, 1, n, f);
    std::fclose(f);
    return got;
}

bool ReadWholeFile(const std::string& nativePath, std::string& bytes)
{
    const int64_t size = FileSize(nativePath);
    if (size < 0)
        return false;
    FILE* f = std::fopen(nativePath.c_str(), "rb");
    if (!f)
        return false;
    // One allocation of the file's size (dumps of large chips run to tens
    // of megabytes); whatever the file gained since is read on after it.
    std::string out(static_cast<size_t>(size), '\0');
    size_t got = out.empty() ? 0 : std::fread(out.data(), 1, out.size(), f);
    out.resize(got);
    if (got == static_cast<size_t>(size)) {
        char buf[65536];
        while ((got = std::fread(buf, 1, sizeof buf, f)) > 0)
            out.append(buf, got);
    }
    const bool ok = !std::ferror(f);
    std::fclose(f);
    if (ok)
        bytes = std::move(out);
    return ok;
}

TSafeFileWriter::TSafeFileWriter(const std::string& nativePath)
{
    // A link is written through, not replaced by a file of its own; a link
    // that leads nowhere is replaced.
    target_ = nativePath;
    std::error_code ec;
    if (fs::is_symlink(nativePath, ec)) {
        const auto resolved = fs::canonical(nativePath, ec);
        if (!ec)
            target_ = resolved.string();
    }
    temp_ = target_ + ".tmp~";
    fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ok_ = fd_ >= 0;
    // The new file keeps the permissions of the one it replaces.
    struct stat old {};
    if (ok_ && ::stat(target_.c_str(), &old) == 0)
        ::fchmod(fd_, old.st_mode & 07777);
}

TSafeFileWriter::~TSafeFileWriter()
{
    if (fd_ >= 0) {
        ::close(fd_);
        ::unlink(temp_.c_str());
    }
}

bool TSafeFileWriter::Write(const void* data, size_t n)
{
    const char* p = static_cast<const char*>(data);
    while (ok_ && n > 0) {
        const ssize_t done = ::write(fd_, p, n);
        if (done <= 0) {
            ok_ = false;
            break;
        }
        p += done;
        n -= static_cast<size_t>(done);
    }
    return ok_;
}

bool TSafeFileWriter::Commit()
{
    if (fd_ < 0)
        return false;
    bool ok = ::fsync(fd_) == 0 && ok_;
    ok = ::close(fd_) == 0 && ok;
    fd_ = -1;
    if (ok)
        ok = std::rename(temp_.c_str(), target_.c_str()) == 0;
    if (!ok)
        ::unlink(temp_.c_str());
    ok_ = false;
    return ok;
}

bool WriteWholeFileSafely(const std::string& nativePath, const std::string& bytes)
{
    TSafeFileWriter writer(nativePath);
    writer.Write(bytes.data(), bytes.size());
    return writer.Commit();
}

int64_t FileAge(const std::string& nativePath)
{
    struct stat st {};
    if (stat(nativePath.c_str(), &st) != 0)
        return -1;
    return static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
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

bool FileWritable(const std::string& nativePath)
{
    struct stat st {};
    if (::stat(nativePath.c_str(), &st) != 0)
        return true;
    return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0 && ::access(nativePath.c_str(), W_OK) == 0;
}

TFileReader::TFileReader(const std::string& nativePath) : file_(std::fopen(nativePath.c_str(), "rb")) {}

TFileReader::~TFileReader()
{
    if (file_)
        std::fclose(file_);
}

int64_t TFileReader::Read(void* out, size_t n)
{
    if (!file_)
        return -1;
    const size_t got = std::fread(out, 1, n, file_);
    if (got < n && std::ferror(file_))
        return -1;
    return int64_t(got);
}

bool TFileReader::Rewind()
{
    return file_ && std::fseek(file_, 0, SEEK_SET) == 0;
}
