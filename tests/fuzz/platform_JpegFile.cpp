// Feeds arbitrary bytes to the JPEG reader: it must refuse with its own
// error and never crash, hang or touch memory out of bounds.
#include "platform/JpegFile.h"

#include <cstddef>
#include <cstdint>
#include <exception>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Pictures larger than a million pixels are valid but only make the
    // fuzzer slow; the size limits themselves are covered by the tests. A
    // frame header (any start-of-frame marker) gives height and width.
    for (size_t i = 0; i + 9 <= size; ++i)
        if (data[i] == 0xFF && (data[i + 1] & 0xF0) == 0xC0 && data[i + 1] != 0xC4 && data[i + 1] != 0xC8
            && data[i + 1] != 0xCC) {
            const uint64_t h = uint64_t(data[i + 5]) << 8 | data[i + 6], w = uint64_t(data[i + 7]) << 8 | data[i + 8];
            if (w * h > (1u << 20))
                return 0;
        }
    TBitmap bmp;
    try {
        LoadJpegFromBytes(std::string_view(reinterpret_cast<const char*>(data), size), bmp);
    } catch (const std::exception&) {
    }
    return 0;
}
