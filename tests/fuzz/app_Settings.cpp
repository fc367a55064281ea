// Any settings file loads, and saving it back neither fails nor loses the
// settings just read.
#include "app/IniFile.h"
#include "engine/Global.h"
#include "platform/Paths.h"

#include "TestSupport.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static testsupport::TempDir dir;
    SetProgramFolder(dir.path());
    testsupport::WriteFileBytes(dir.file("TARKU.INI"), std::string(reinterpret_cast<const char*>(data), size));
    LoadSettings();
    const uint32_t workParam = WorkParam;
    const std::string comName = ComName;
    const TStringList recent = RecentFiles;
    if (!SaveSettings())
        std::abort();
    LoadSettings();
    if (WorkParam != workParam || ComName != comName || RecentFiles.Count() > recent.Count())
        std::abort();
    return 0;
}
