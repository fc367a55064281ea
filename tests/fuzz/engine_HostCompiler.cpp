// Host scripts of any content: the compiler must end with code or errors,
// never crash or hang.
#include "engine/uHost.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static THost host;
    host.Source.SetText("[HOST]\n" + std::string(reinterpret_cast<const char*>(data), size));
    host.CompileSource();
    return 0;
}
