#include "platform/Files.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
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

namespace {

// Temporaries are hidden files of a pattern no user file is likely to
// have: ".<name>.<pid>.<n>.tarku~", in the target's own folder so that the
// rename stays on one file system.
constexpr const char* TempSuffix = ".tarku~";

std::string folderOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string baseNameOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The pid in a temporary's name of ours for `base`, 0 when the name is not one.
pid_t temporaryOwner(const std::string& name, const std::string& base)
{
    const std::string head = "." + base + ".";
    const size_t suffix = std::char_traits<char>::length(TempSuffix);
    if (name.size() <= head.size() + suffix || name.compare(0, head.size(), head) != 0 ||
        name.compare(name.size() - suffix, suffix, TempSuffix) != 0)
        return 0;
    const std::string middle = name.substr(head.size(), name.size() - head.size() - suffix);
    const auto dot = middle.find('.');
    if (dot == std::string::npos || dot == 0 || dot + 1 == middle.size() ||
        middle.find_first_not_of("0123456789.") != std::string::npos || middle.find('.', dot + 1) != std::string::npos)
        return 0;
    long pid = 0;
    for (size_t i = 0; i < dot && pid < 1 << 30; ++i)
        pid = pid * 10 + (middle[i] - '0');
    return pid > 0 && pid < 1 << 30 ? pid_t(pid) : 0;
}

// Temporaries of this target left by a program that was killed while it
// saved: its process is gone, nobody will rename them any more.
void removeStaleTemporaries(const std::string& target)
{
    const std::string folder = folderOf(target);
    const std::string base = baseNameOf(target);
    for (const std::string& name : ListFolder(folder, false, true)) {
        const pid_t owner = temporaryOwner(name, base);
        if (owner > 0 && owner != ::getpid() && ::kill(owner, 0) != 0 && errno == ESRCH)
            ::unlink((folder + "/" + name).c_str());
    }
}

bool writableMode(const struct stat& st)
{
    return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
}

// Whether a save may put a file at `target`: not over a folder or anything
// but a regular file, not over a read-only file, not into a read-only folder.
// The mode bits are asked as well as access(), so that a user whom
// permissions do not bind still leaves read-only files alone.
bool replaceable(const std::string& target)
{
    struct stat st {};
    if (::lstat(target.c_str(), &st) == 0 && (!S_ISREG(st.st_mode) || !FileWritable(target)))
        return false;
    const std::string folder = folderOf(target);
    struct stat dir {};
    return ::stat(folder.c_str(), &dir) == 0 && S_ISDIR(dir.st_mode) && writableMode(dir) &&
           ::access(folder.c_str(), W_OK | X_OK) == 0;
}

} // namespace

TSafeFileWriter::TSafeFileWriter(const std::string& nativePath)
{
    // A link is written through, not replaced by a file of its own; a link
    // that leads nowhere is replaced by the file.
    target_ = nativePath;
    std::error_code ec;
    if (fs::is_symlink(nativePath, ec)) {
        const auto resolved = fs::canonical(nativePath, ec);
        if (!ec)
            target_ = resolved.string();
        else if (::unlink(nativePath.c_str()) != 0)
            return;
    }
    if (!replaceable(target_))
        return;
    removeStaleTemporaries(target_);
    static unsigned counter = 0;
    const std::string stem = folderOf(target_) + "/." + baseNameOf(target_) + "." + std::to_string(::getpid()) + ".";
    for (int attempt = 0; fd_ < 0 && attempt < 100; ++attempt) {
        temp_ = stem + std::to_string(++counter) + TempSuffix;
        fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd_ < 0 && errno != EEXIST)
            break;
    }
    ok_ = fd_ >= 0;
    // The new file keeps the permissions of the one it replaces.
    struct stat old {};
    if (ok_ && ::stat(target_.c_str(), &old) == 0)
        ::fchmod(fd_, old.st_mode & 07777);
}

TSafeFileWriter::~TSafeFileWriter()
{
    if (fd_ >= 0)
        ::close(fd_);
    if (!temp_.empty() && !committed_)
        ::unlink(temp_.c_str());
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

bool TSafeFileWriter::Finish()
{
    if (fd_ < 0)
        return ok_;
    bool ok = ok_ && (!FailWritesForTest || !FailWritesForTest()) && ::fsync(fd_) == 0;
    ok = ::close(fd_) == 0 && ok;
    fd_ = -1;
    ok_ = ok;
    return ok_;
}

bool TSafeFileWriter::Commit()
{
    if (committed_ || !Finish())
        return false;
    committed_ = std::rename(temp_.c_str(), target_.c_str()) == 0;
    ok_ = false;
    return committed_;
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

bool (*FailWritesForTest)() = nullptr;

bool CreateNewFile(const std::string& nativePath)
{
    const int fd = ::open(nativePath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}
