#include "skin/acSkinFolder.h"

#include "platform/Files.h"

#include <algorithm>

namespace {

std::string Slashes(std::string s)
{
    std::replace(s.begin(), s.end(), '\\', '/');
    return s;
}

bool StartsWith(const std::string& s, const char* prefix)
{
    return s.rfind(prefix, 0) == 0;
}

} // namespace

std::string GetFullSkinDirectory(const std::string& dir, const std::string& programFolder)
{
    std::string program = programFolder;
    while (program.size() > 1 && program.back() == '/')
        program.pop_back();
    if (StartsWith(dir, "..")) {
        size_t cut = program.find_last_of('/');
        std::string parent = cut == std::string::npos ? std::string() : program.substr(0, cut + 1);
        return parent + Slashes(dir.size() > 3 ? dir.substr(3) : std::string());
    }
    if (StartsWith(dir, ".\\") || StartsWith(dir, "./"))
        return program + "/" + Slashes(dir.substr(2));
    if (dir.empty() || dir[0] == '/' || dir.find(':') != std::string::npos || StartsWith(dir, "\\\\"))
        return dir.empty() ? program : dir;
    return program + "/" + Slashes(dir);
}

std::vector<std::string> GetSkinNames(const std::string& fullDirectory, TacSkinTypes types)
{
    std::vector<std::string> names;
    if (types != stPacked)
        for (const std::string& folder : ListFolder(fullDirectory, true, false))
            if (folder[0] != '.' && FileExists(fullDirectory + "/" + folder + "/Options.dat"))
                names.push_back(folder);
    if (types != stUnpacked)
        for (const std::string& file : ListFolder(fullDirectory, false, true))
            if (file[0] != '.' && file.size() > 4 && file.compare(file.size() - 4, 4, ".asz") == 0)
                names.push_back(file.substr(0, file.size() - 4));
    std::sort(names.begin(), names.end());
    return names;
}

std::string PackedSkinFile(const std::string& fullDirectory, const std::string& name)
{
    return fullDirectory + "/" + name + ".asz";
}

int SkinSaturationAmount(int saturation)
{
    return -std::clamp(saturation, -100, 100);
}
