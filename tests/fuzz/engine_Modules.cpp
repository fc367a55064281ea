// Module files, signature tables and clipboard texts are written by people:
// any bytes must load without crashing or reading out of bounds.
#include "engine/Global.h"
#include "engine/Modules.h"
#include "engine/uFindSignature.h"
#include "platform/Paths.h"

#include "TestSupport.h"

#include <cstdint>
#include <string>

namespace {

// A program folder of its own, with a chip list for the signature table.
const testsupport::TempDir& scratchFolder()
{
    static const testsupport::TempDir dir;
    static const bool ready = [] {
        SetProgramFolder(dir.path());
        ChipList.Add("Grp\\AB12");
        ChipList.Add("Grp\\AB1");
        return true;
    }();
    (void)ready;
    return dir;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const testsupport::TempDir& folder = scratchFolder();
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string module = folder.file("m.chl");
    testsupport::WriteFileBytes(module, bytes);

    TModuleInfo info;
    info.LoadFromFile(module);
    // A second load over the first exercises the reset of every field.
    info.LoadFromFile(module);
    TStringList locations;
    ReadModuleLocation(module, locations);

    testsupport::WriteFileBytes(folder.file("signatures.cfg"), bytes);
    int32_t signature = 0;
    for (size_t i = 0; i < size && i < 4; ++i)
        signature = static_cast<int32_t>(static_cast<uint32_t>(signature) << 8 | data[i]);
    std::string entry;
    FindModuleBySignature(signature, entry);

    IsHexDumpText(bytes);
    TPatternCursor cursor{bytes};
    for (int i = 0; i < 4; ++i)
        NextPatternByte(cursor);
    return 0;
}
