// Feeds arbitrary bytes to the icon reader: it must raise its own errors
// (or the PNG reader's for a PNG picture inside) and never crash, hang or
// touch memory out of bounds.
#include "skin/acIcoFile.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <exception>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // PNG pictures larger than a million pixels are valid but only make the
    // fuzzer slow; the size limits themselves are covered by the tests.
    static const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    for (size_t i = 0; i + 24 <= size; ++i)
        if (std::memcmp(data + i, signature, 8) == 0) {
            const uint8_t* p = data + i;
            const uint64_t w = uint64_t(p[16]) << 24 | uint64_t(p[17]) << 16 | uint64_t(p[18]) << 8 | p[19];
            const uint64_t h = uint64_t(p[20]) << 24 | uint64_t(p[21]) << 16 | uint64_t(p[22]) << 8 | p[23];
            if (w * h > (1u << 20))
                return 0;
        }
    TByteStream stream(data, size);
    try {
        LoadIconFromStream(stream, 32, 32);
    } catch (const std::exception&) {
    }
    return 0;
}
