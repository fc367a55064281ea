// Feeds arbitrary bytes to the PNG reader: it must raise its own errors and
// never crash, hang or touch memory out of bounds.
#include "skin/acPNG.h"

#include <cstddef>
#include <cstdint>
#include <exception>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Pictures larger than a million pixels are valid but only make the
    // fuzzer slow; the size limits themselves are covered by the tests.
    if (size >= 24) {
        const uint64_t w = uint64_t(data[16]) << 24 | uint64_t(data[17]) << 16 | uint64_t(data[18]) << 8 | data[19];
        const uint64_t h = uint64_t(data[20]) << 24 | uint64_t(data[21]) << 16 | uint64_t(data[22]) << 8 | data[23];
        if (w * h > (1u << 20))
            return 0;
    }
    TPNGGraphic g;
    TByteStream stream(data, size);
    try {
        g.LoadFromStream(stream);
    } catch (const std::exception&) {
    }
    return 0;
}
