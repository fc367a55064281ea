#include "app/ChipSel.h"

#include "engine/Global.h"
#include "engine/Modules.h"
#include "platform/Cp1251.h"
#include "platform/Files.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"

#include <filesystem>
#include <set>

bool StartupFlag = false;
TStringList ScanList;
bool CatalogPresent = false;
TChipTree ChipTree;

namespace {

// Modules first of the sub-folders, depth first, then of the folder itself,
// each level in listing order. A folder is entered once by its real path,
// so a symbolic link back up the tree cannot make the scan go round.
void scanFolder(const std::string& nativeFolder, const std::string& relative, std::set<std::string>& visited)
{
    std::error_code ec;
    const std::filesystem::path real = std::filesystem::canonical(nativeFolder, ec);
    if (ec || !visited.insert(real.string()).second)
        return;
    for (const std::string& name : ListFolder(nativeFolder, true, false))
        scanFolder(nativeFolder + "/" + name, relative + "\\" + Utf8ToCp1251(name), visited);
    for (const std::string& name : ListFolder(nativeFolder, false, true)) {
        // Module files were named on a system that ignores letter case.
        if (AnsiSameText(ExtractFileExt(name), ".chl"))
            ScanList.Add(relative + "\\" + Utf8ToCp1251(name));
    }
}

void addEntry(const std::string& path, const std::string& moduleFile)
{
    std::string entry;
    if (ChipTree.AddPath(path, entry) < 0)
        return;
    ChipList.Add(entry);
    ModuleFileList.Add(moduleFile);
}

void buildFromScan()
{
    std::set<std::string> visited;
    scanFolder(NativePath(ScriptsFolder()), std::string(), visited);
    TStringList locations;
    for (const std::string& module : ScanList) {
        // A module gone since the scan gives no location.
        ReadModuleLocation(ModuleFilePath(module), locations);
        for (const std::string& location : locations)
            addEntry(location, module);
    }
    ChipTree.Sort();
}

// Sections are tree paths, keys chip names, values module files; the tree
// keeps the file's order.
void buildFromCatalog()
{
    const TIniFile catalog(NativePath(ScriptsFolder() + "\\" + ConfigFile));
    for (const std::string& section : catalog.ReadSections()) {
        const TStringList chips = catalog.ReadSectionValues(section);
        for (int i = 0; i < chips.Count(); ++i)
            addEntry(section + "\\" + chips.Names(i), chips.ValueFromIndex(i));
    }
}

} // namespace

std::string ScriptsFolder() { return ProgramFolder() + "\\scripts"; }

std::string ModuleFilePath(const std::string& relativeName)
{
    const bool separated = !relativeName.empty() && (relativeName[0] == '\\' || relativeName[0] == '/');
    return ScriptsFolder() + (separated ? "" : "\\") + relativeName;
}

bool CatalogMode() { return CatalogPresent && (WorkParam & wpUseConfigFile) != 0; }

void BuildChipList()
{
    ScanList.Clear();
    ChipList.Clear();
    ModuleFileList.Clear();
    ChipTree.Clear();
    CatalogPresent = FileExists(NativePath("Scripts\\scripts.cfg"));
    if (CatalogMode())
        buildFromCatalog();
    else
        buildFromScan();
}
