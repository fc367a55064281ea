// Feeds arbitrary bytes to the packed-skin reader, and what it unpacks to
// the skin readers: errors are refusals, never crashes, hangs or reads out
// of bounds.
#include "skin/acSkinLoader.h"
#include "skin/acSkinPack.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    TacSkinConvertor convertor;
    try {
        convertor.Unpack(bytes);
    } catch (const EacSkinPack&) {
        return 0;
    }
    TacSkinContent skin;
    std::string error;
    LoadPackedSkin(bytes, {}, "", skin, error);
    return 0;
}
