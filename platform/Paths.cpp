#include "platform/Paths.h"

#include "platform/Cp1251.h"
#include "platform/Files.h"

#include <QCoreApplication>
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
        SetProgramFolder(QStringToCp1251(QCoreApplication::applicationDirPath()));
        return;
    }
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    SetProgramFolder(ec ? std::string(".") : Utf8ToCp1251(exe.parent_path().string()));
}

std::string NativePath(const std::string& path)
{
    std::string p = path;
    if (p.empty() || !isSeparator(p[0]))
        p = ProgramFolder() + "/" + p;

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
        if (comp != "." && comp != ".." && access((out + "/" + native).c_str(), F_OK) != 0) {
            // An entry the page cannot name without loss is never taken: its
            // "?"s would match any other name lost the same way.
            for (const auto& entry : ListFolder(parent, true, true)) {
                const std::string name = Utf8ToCp1251(entry);
                if (AnsiSameText(name, comp) && Cp1251ToUtf8(name) == entry) {
                    native = entry;
                    break;
                }
            }
        }
        out += "/" + native;
        i = j;
    }
    return out.empty() ? "/" : out;
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
