#include "app/ChipSel.h"

#include "engine/Global.h"
#include "engine/Modules.h"
#include "platform/Cp1251.h"
#include "platform/Files.h"
#include "platform/IniFiles.h"
#include "platform/Paths.h"

#include <filesystem>
#include <set>
#include <vector>

bool StartupFlag = false;
TStringList ScanList;
bool CatalogPresent = false;
TChipTree ChipTree;

namespace {

// Modules first of the sub-folders, depth first, then of the folder itself,
// each level in listing order. A folder is entered once by its real path,
// so a symbolic link back up the tree cannot make the scan go round.
void scanFolder(const std::string& nativeFolder, const std::string& relative, std::set<std::string>& visited,
                std::vector<std::string>& nativeFiles)
{
    std::error_code ec;
    const std::filesystem::path real = std::filesystem::canonical(nativeFolder, ec);
    if (ec || !visited.insert(real.string()).second)
        return;
    for (const std::string& name : ListFolder(nativeFolder, true, false))
        scanFolder(nativeFolder + "/" + name, relative + "\\" + Utf8ToCp1251(name), visited, nativeFiles);
    for (const std::string& name : ListFolder(nativeFolder, false, true)) {
        // Module files were named on a system that ignores letter case.
        if (AnsiSameText(ExtractFileExt(name), ".chl")) {
            ScanList.Add(relative + "\\" + Utf8ToCp1251(name));
            nativeFiles.push_back(nativeFolder + "/" + name);
        }
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
    // The scan finds each module's file; reading it by that name spares
    // resolving its Windows-style name again.
    std::vector<std::string> nativeFiles;
    scanFolder(NativePath(ScriptsFolder()), std::string(), visited, nativeFiles);
    TStringList locations;
    std::string bytes;
    for (int i = 0; i < ScanList.Count(); ++i) {
        // A module gone since the scan gives no location.
        locations.Clear();
        if (ReadWholeFile(nativeFiles[static_cast<size_t>(i)], bytes))
            ReadModuleLocationText(bytes, locations);
        for (const std::string& location : locations)
            addEntry(location, ScanList[i]);
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
