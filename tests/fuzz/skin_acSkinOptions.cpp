// Feeds arbitrary text to the options reader: every value is tried against
// the image syntaxes and every section read along its parent classes. No
// files are reachable, so only the text itself is exercised. The first line
// also goes to the value parser directly.
#include "skin/acSkinImageValue.h"
#include "skin/acSkinLoader.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    std::string first = text.substr(0, text.find('\n'));
    if (auto v = ParseImageValue(first))
        MakeMaskFromValue(*v, "S", "K", 100, 60);

    TacOptionsFile options(text);
    TacOptionsFile common(text.substr(text.size() / 2));
    TacSkinFiles files(nullptr, "");
    TacSkinContent skin;
    SkinReaders::LoadAllMasks(options, files, common, skin);
    SkinReaders::LoadAllPatterns(options, files, common, skin);
    std::string error;
    SkinReaders::LoadAllGeneralData(options, common, skin, error);
    return 0;
}
