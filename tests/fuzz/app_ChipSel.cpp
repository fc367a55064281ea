// The chip catalogue and the modules' LOCATION items are written by people:
// any catalogue or module bytes must build the chip list and its tree without
// crashing, and every entry of the list must be a node of the tree.
#include "app/ChipSel.h"
#include "engine/Global.h"
#include "platform/StringList.h"

#include "FuzzProgramFolder.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

void checkLists()
{
    if (ChipList.Count() != ModuleFileList.Count())
        std::abort();
    for (int i = 0; i < ChipList.Count(); ++i)
        if (ChipTree.FindEntry(ChipList[i]) < 0)
            std::abort();
    if (static_cast<int>(ChipTree.TreeOrder().size()) != ChipTree.Count())
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const testsupport::TempDir& dir = testsupport::FuzzProgramFolder();
    const std::string bytes(reinterpret_cast<const char*>(data), size);

    // The catalogue.
    std::filesystem::remove(dir.file("scripts/m.chl"));
    testsupport::WriteFileBytes(dir.file("scripts/scripts.cfg"), bytes);
    ConfigFile = "scripts.cfg";
    WorkParam |= wpUseConfigFile;
    BuildChipList();
    checkLists();

    // A module's locations, read by the scan.
    WorkParam &= ~wpUseConfigFile;
    testsupport::WriteFileBytes(dir.file("scripts/m.chl"), bytes);
    BuildChipList();
    checkLists();

    // The same bytes as chip paths, one a line, straight into a tree.
    TStringList lines;
    lines.SetText(bytes);
    TChipTree tree;
    std::string entry;
    for (const std::string& line : lines)
        tree.AddPath(line, entry);
    tree.Sort();
    if (static_cast<int>(tree.TreeOrder().size()) != tree.Count())
        std::abort();
    for (const std::string& line : lines)
        tree.FindEntry(line);
    return 0;
}
