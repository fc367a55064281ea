// Any settings file loads, and saving it back neither fails nor changes any
// setting just read.
#include "app/IniFile.h"
#include "engine/Global.h"
#include "engine/GlobalSettings.h"
#include "platform/Paths.h"

#include "TestSupport.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// Every setting as text, so that two loads can be compared.
std::vector<std::string> snapshot()
{
    std::vector<std::string> values;
    for (const TSetting& s : SettingsTable) {
        if (auto* text = std::get_if<std::string*>(&s.Variable))
            values.push_back(**text);
        else if (auto* integer = std::get_if<int32_t*>(&s.Variable))
            values.push_back(std::to_string(**integer));
        else if (auto* bits = std::get_if<uint32_t*>(&s.Variable))
            values.push_back(std::to_string(**bits));
        else
            values.push_back(*std::get<bool*>(s.Variable) ? "1" : "0");
    }
    values.push_back(RecentSourceFiles.Text());
    values.push_back(RecentFiles.Text());
    return values;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static testsupport::TempDir dir;
    SetProgramFolder(dir.path());
    testsupport::WriteFileBytes(dir.file("TARKU.INI"), std::string(reinterpret_cast<const char*>(data), size));
    LoadSettings();
    const std::vector<std::string> loaded = snapshot();
    if (!SaveSettings())
        std::abort();
    LoadSettings();
    if (snapshot() != loaded)
        std::abort();
    return 0;
}
