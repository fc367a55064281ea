// Whether the two index files still belong together: the calculators the
// tree shows against the files the lookups find.
#include "calc/uCreateCalcIndex.h"

#include "platform/Cp1251.h"
#include "platform/Files.h"
#include "platform/IniFiles.h"
#include "platform/Paths.h"

#include <algorithm>
#include <set>
#include <vector>

namespace {

// The calculators below a section of "index.ini", walked as the tree opens
// its folders. Each section is entered once: a file listing a folder many
// times, or naming it in several spellings, cannot make the walk grow.
void TreeCalculators(const TIniFile& ini, const std::string& section, const std::string& prefix,
                     std::set<std::string>& entered, std::vector<std::string>& paths)
{
    if (!entered.insert(AnsiUpperCase(section)).second)
        return;
    std::set<std::string> names;
    for (const std::string& name : ini.ReadSection(section)) {
        if (!names.insert(AnsiUpperCase(name)).second)
            continue;
        const std::string path = prefix + name;
        if (ini.ReadString(section, name, "") == "\\")
            TreeCalculators(ini, path, path + "\\", entered, paths);
        else
            paths.push_back(AnsiUpperCase(path));
    }
}

} // namespace

TStringList IndexedCalculators()
{
    TStringList paths;
    const TIniFile index(NativePath("Calculators\\index.txt"));
    for (const std::string& path : index.ReadSections())
        if (!index.ReadString(path, "File", "").empty())
            paths.Add(path);
    return paths;
}

bool CalculatorsIndexAgrees()
{
    const std::string ini = NativePath("Calculators\\index.ini");
    if (!FileExists(ini) || !FileExists(NativePath("Calculators\\index.txt")))
        return false;
    std::vector<std::string> files;
    for (const std::string& path : IndexedCalculators())
        files.push_back(AnsiUpperCase(path));
    std::vector<std::string> tree;
    std::set<std::string> entered;
    TreeCalculators(TIniFile(ini), "Root", "", entered, tree);
    std::sort(files.begin(), files.end());
    std::sort(tree.begin(), tree.end());
    return files == tree;
}
