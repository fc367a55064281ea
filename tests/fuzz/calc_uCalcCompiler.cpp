// libFuzzer target: any bytes as a calculator script. The compiler must
// answer with an image or a message, never crash, hang or step outside.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "calc/uCalcCompiler.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static auto image = std::make_unique<TCalcImage>();
    const std::string source(reinterpret_cast<const char*>(data), size);
    std::string error;
    int length = 0;
    std::vector<std::string> listing;
    const bool ok = CompileCalculatorSource(source, *image, error, length, listing);
    if (ok == !error.empty() || length < 0 || static_cast<size_t>(length) > image->size())
        __builtin_trap();
    return 0;
}
