#include "platform/Files.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
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
// have: ".<pid>.<n>.tarku~", in the target's own folder so that the rename
// stays on one file system. The name is short whatever the target's, so that
// a target of a name as long as the system allows can still be saved.
constexpr const char* TempSuffix = ".tarku~";

std::string folderOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : slash == 0 ? std::string("/") : path.substr(0, slash);
}

bool allDigits(const std::string& s)
{
    return !s.empty() && s.size() < 10 && s.find_first_not_of("0123456789") == std::string::npos;
}

// The pid in the name of a temporary of ours, 0 when the name is not one.
// Names ".<target>.<pid>.<n>.tarku~" of earlier saves are ours too.
pid_t temporaryOwner(const std::string& name)
{
    const size_t suffix = std::char_traits<char>::length(TempSuffix);
    if (name.size() <= suffix + 1 || name[0] != '.' || name.compare(name.size() - suffix, suffix, TempSuffix) != 0)
        return 0;
    const std::string head = name.substr(0, name.size() - suffix);
    const auto countDot = head.rfind('.');
    const auto pidDot = countDot == 0 ? std::string::npos : head.rfind('.', countDot - 1);
    if (pidDot == std::string::npos || !allDigits(head.substr(countDot + 1)) ||
        !allDigits(head.substr(pidDot + 1, countDot - pidDot - 1)))
        return 0;
    const long pid = std::stol(head.substr(pidDot + 1, countDot - pidDot - 1));
    return pid > 0 ? pid_t(pid) : 0;
}

// Temporaries in the folder left by a program that was killed while it
// saved: its process is gone, nobody will rename them any more.
void removeStaleTemporaries(const std::string& folder)
{
    for (const std::string& name : ListFolder(folder, false, true)) {
        const pid_t owner = temporaryOwner(name);
        if (owner > 0 && owner != ::getpid() && ::kill(owner, 0) != 0 && errno == ESRCH)
            ::unlink((folder + "/" + name).c_str());
    }
}

bool writableMode(const struct stat& st)
{
    return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
}

// Whether a save may put a file at `target`: not over a folder or anything
// but a regular file (or the dangling link it is told of), not over a
// read-only file, not into a read-only folder. The mode bits are asked as
// well as access(), so that a user whom permissions do not bind still
// leaves read-only files alone.
bool replaceable(const std::string& target, bool danglingLink)
{
    struct stat st {};
    if (!danglingLink && ::lstat(target.c_str(), &st) == 0 && (!S_ISREG(st.st_mode) || !FileWritable(target)))
        return false;
    const std::string folder = folderOf(target);
    struct stat dir {};
    return ::stat(folder.c_str(), &dir) == 0 && S_ISDIR(dir.st_mode) && writableMode(dir) &&
           ::access(folder.c_str(), W_OK | X_OK) == 0;
}

// The file a save of `path` replaces: the path itself, or for a link the
// file it leads to, so that the link stays. A link whose target is missing
// has nothing to write through to and is replaced by the file (the rename
// does that, once the file is whole). A link that cannot be followed (a
// folder on the way the user may not enter, a loop) gives an empty name:
// the save is refused, since what it would replace is unknown.
std::string saveTarget(const std::string& path, bool& danglingLink)
{
    danglingLink = false;
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
        return path;
    if (char* resolved = ::realpath(path.c_str(), nullptr)) {
        std::string target = resolved;
        std::free(resolved);
        return target;
    }
    danglingLink = errno == ENOENT;
    return danglingLink ? path : std::string();
}

// Flushes the folder's entries, so that the rename itself survives a crash.
void syncFolder(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

TSafeFileWriter::TSafeFileWriter(const std::string& nativePath)
{
    bool danglingLink = false;
    target_ = saveTarget(nativePath, danglingLink);
    if (target_.empty() || !replaceable(target_, danglingLink))
        return;
    const std::string folder = folderOf(target_);
    removeStaleTemporaries(folder);
    static unsigned counter = 0;
    const std::string stem = folder + "/." + std::to_string(::getpid()) + ".";
    for (int attempt = 0; fd_ < 0 && attempt < 100; ++attempt) {
        temp_ = stem + std::to_string(++counter) + TempSuffix;
        fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd_ < 0 && errno != EEXIST)
            break;
    }
    ok_ = fd_ >= 0;
    // The new file keeps the owner, group and permissions of the one it
    // replaces. Only a user who may give a file away keeps a foreign owner;
    // anyone else saves under his own, as any new file of his.
    struct stat old {};
    if (ok_ && !danglingLink && ::stat(target_.c_str(), &old) == 0) {
        if (::fchown(fd_, old.st_uid, old.st_gid) != 0)
            (void)!::fchown(fd_, uid_t(-1), old.st_gid);
        ::fchmod(fd_, old.st_mode & 07777);
    }
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
    if (committed_)
        syncFolder(folderOf(target_));
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
