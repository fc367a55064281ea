#pragma once
// The chip list: every chip that the modules under the program folder's
// scripts folder support, or that the chip catalogue lists. BuildChipList
// fills ChipList and ModuleFileList (engine/Global.h) and the chip tree in
// one pass, so the selection window's tree and the lists always agree.
#include "app/ChipSelTree.h"
#include "platform/StringList.h"

#include <string>

// Set while the program starts: chip selection then does nothing.
extern bool StartupFlag;

// The module files found by the last scan, relative to the scripts folder:
// "\" + sub-folder path + "\" + file name ("\" + file name directly in it).
extern TStringList ScanList;
// "Scripts\scripts.cfg" exists in the program folder.
extern bool CatalogPresent;
// The tree of ChipList's entries; in scan mode sorted, in catalogue mode in
// the catalogue's order.
extern TChipTree ChipTree;

// The scripts folder of the program folder (Windows-style path).
std::string ScriptsFolder();
// The full path of a module file named relative to the scripts folder.
std::string ModuleFilePath(const std::string& relativeName);

// Whether the chip list comes from the catalogue: it is present and option
// bit 20 asks for it.
bool CatalogMode();

// Clears and rebuilds ScanList, ChipList, ModuleFileList and ChipTree:
// from the catalogue file that ConfigFile names in catalogue mode, else from
// the LOCATION items of every "*.chl" file under the scripts folder (one
// entry per item, so a module with three locations gives three entries).
// Entries are the tree's paths: each level without surrounding blanks.
void BuildChipList();
