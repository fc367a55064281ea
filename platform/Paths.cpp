#include "platform/Paths.h"

#include "platform/Cp1251.h"
#include "platform/Files.h"

#include <QCoreApplication>
#include <QFile>
#include <filesystem>
#include <string_view>
#include <unistd.h>

namespace {

std::string& folder()
{
    static std::string f;
    return f;
}

bool isSeparator(char c) { return c == '\\' || c == '/'; }

// Letter case aside by the page's rules; a marked character only matches
// the same character.
bool sameName(const std::string& a, const std::string& b)
{
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        const size_t m = MarkedCharLength(a, i), n = MarkedCharLength(b, j);
        if (m != 0 || n != 0) {
            if (m != n || a.compare(i, m, b, j, n) != 0)
                return false;
            i += m, j += n;
            continue;
        }
        if (AnsiUpperChar(static_cast<unsigned char>(a[i])) != AnsiUpperChar(static_cast<unsigned char>(b[j])))
            return false;
        ++i, ++j;
    }
    return i == a.size() && j == b.size();
}

// The folder entry a component names without regard to case, empty when
// none. An entry whose name the page cannot hold without loss (bytes that
// are not UTF-8) is never taken: its "?" would match what it is not.
std::string findEntry(const std::string& folder, const std::string& component)
{
    for (const auto& entry : ListFolder(folder, true, true)) {
        const std::string name = Utf8ToCp1251(entry);
        if (sameName(name, component) && Cp1251ToUtf8(name) == entry)
            return entry;
    }
    return {};
}

} // namespace

const std::string& ProgramFolder()
{
    if (folder().empty())
        InitProgramFolder();
    return folder();
}

void SetProgramFolder(const std::string& f)
{
    std::string s = f;
    while (s.size() > 1 && isSeparator(s.back()))
        s.pop_back();
    folder() = s;
}

void InitProgramFolder()
{
    if (QCoreApplication::instance()) {
        SetProgramFolder(QStringToPath(QCoreApplication::applicationDirPath()));
        return;
    }
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    SetProgramFolder(ec ? std::string(".") : Utf8ToCp1251(exe.parent_path().string()));
}

std::string NativePath(const std::string& path)
{
    // Only the program's own names are matched without regard to case: a
    // relative path, and what the program joined with "\\" to a folder (the
    // names after the first "\\", whatever separates them later, as in an
    // index entry "sub/x.cal"). A path a window gives has only "/" and names
    // its file exactly: "X.hex" typed beside "x.hex" is a file of its own.
    std::string p = path;
    size_t looseFrom = p.find('\\');
    if (p.empty() || !isSeparator(p[0])) {
        looseFrom = ProgramFolder().size() + 1;
        p = ProgramFolder() + "/" + p;
    }

    std::string out;
    size_t i = 0;
    while (i < p.size()) {
        while (i < p.size() && isSeparator(p[i]))
            ++i;
        size_t j = i;
        while (j < p.size() && !isSeparator(p[j]))
            ++j;
        if (j == i)
            break;
        const std::string comp = p.substr(i, j - i);
        const std::string parent = out.empty() ? "/" : out;
        std::string native = Cp1251ToUtf8(comp);
        const bool loose = i >= looseFrom;
        if (loose && comp != "." && comp != ".." && access((out + "/" + native).c_str(), F_OK) != 0) {
            if (std::string entry = findEntry(parent, comp); !entry.empty())
                native = entry;
        }
        out += "/" + native;
        i = j;
    }
    return out.empty() ? "/" : out;
}

std::string QStringToPath(const QString& path) { return Utf8ToCp1251(QFile::encodeName(path).toStdString()); }

std::string DisplayPath(const std::string& path)
{
    std::string out = path;
    for (char& c : out)
        if (c == '\\')
            c = '/';
    return out;
}

std::string ExtractFileName(const std::string& path)
{
    size_t i = path.size();
    while (i > 0 && !isSeparator(path[i - 1]))
        --i;
    return path.substr(i);
}

std::string ExtractFilePath(const std::string& path)
{
    size_t i = path.size();
    while (i > 0 && !isSeparator(path[i - 1]))
        --i;
    return path.substr(0, i);
}

std::string ExtractFileExt(const std::string& path)
{
    const std::string name = ExtractFileName(path);
    const auto dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot);
}

std::string ChangeFileExt(const std::string& path, const std::string& ext)
{
    const std::string name = ExtractFileName(path);
    const auto dot = name.rfind('.');
    const std::string base = path.substr(0, path.size() - name.size()) + (dot == std::string::npos ? name : name.substr(0, dot));
    return base + ext;
}

std::string ValidFileName(const std::string& name)
{
    std::string out = name;
    for (char& c : out)
        if (static_cast<unsigned char>(c) < 32 || std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos)
            c = '-';
    return out;
}
