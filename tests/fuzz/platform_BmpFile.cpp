// Feeds arbitrary bytes to the BMP reader: it must refuse with its own
// error and never crash or read out of bounds.
#include "platform/BmpFile.h"

#include <cstddef>
#include <cstdint>
#include <exception>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TByteStream stream(data, size);
    TBitmap bmp;
    try {
        LoadBmpFromStream(stream, bmp);
    } catch (const std::exception&) {
    }
    return 0;
}
