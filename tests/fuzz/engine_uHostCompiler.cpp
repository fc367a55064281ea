// Host scripts of any content: the compiler must end with code or errors,
// never crash or hang. A parameter list with a variable and an array comes
// first, as before every compile of the program.
#include "engine/uHost.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static THost host;
    TStringList list;
    list.AddObject("Mode", 1);
    list.AddObject(".Key:01 02 03", 0x20000003);
    host.LoadExternalVariables(list);
    host.Source.SetText("[HOST]\n" + std::string(reinterpret_cast<const char*>(data), size));
    host.CompileSource();
    return 0;
}
