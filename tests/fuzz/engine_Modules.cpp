// Module files, signature tables and clipboard texts are written by people:
// any bytes must load without crashing or reading out of bounds.
#include "engine/Global.h"
#include "engine/Modules.h"
#include "engine/uFindSignature.h"
#include "platform/Paths.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

const std::string& scratchFolder()
{
    static const std::string folder = [] {
        char templ[] = "/tmp/tarku-fuzz-XXXXXX";
        const char* made = mkdtemp(templ);
        if (!made)
            std::abort();
        SetProgramFolder(made);
        ChipList.Add("Grp\\AB12");
        ChipList.Add("Grp\\AB1");
        return std::string(made);
    }();
    return folder;
}

void writeFile(const std::string& path, const uint8_t* data, size_t size)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        std::abort();
    std::fwrite(data, 1, size, f);
    std::fclose(f);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string& folder = scratchFolder();
    const std::string module = folder + "/m.chl";
    writeFile(module, data, size);

    TModuleInfo info;
    info.LoadFromFile(module);
    // A second load over the first exercises the reset of every field.
    info.LoadFromFile(module);
    TStringList locations;
    ReadModuleLocation(module, locations);

    writeFile(folder + "/signatures.cfg", data, size);
    int32_t signature = 0;
    for (size_t i = 0; i < size && i < 4; ++i)
        signature = static_cast<int32_t>(static_cast<uint32_t>(signature) << 8 | data[i]);
    std::string entry;
    FindModuleBySignature(signature, entry);

    IsHexDumpText(std::string(reinterpret_cast<const char*>(data), size));
    TPatternCursor cursor{std::string(reinterpret_cast<const char*>(data), size)};
    for (int i = 0; i < 4; ++i)
        NextPatternByte(cursor);
    return 0;
}
