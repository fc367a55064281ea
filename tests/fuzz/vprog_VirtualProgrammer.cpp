// The virtual programmer fed with whatever a host might send: the input is
// a series of chunks, each a one-byte tag (pipe and length) and its bytes.
#include "vprog/VirtualProgrammer.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TVirtualProgrammer vp;
    vp.Cpu().MaxRunLength = 20000;
    size_t at = 0;
    uint8_t out[512];
    while (at < size) {
        const uint8_t tag = data[at++];
        const size_t length = std::min<size_t>(tag & 0x3F, size - at);
        switch (tag >> 6) {
        case 0:
        case 1: vp.Write(data + at, length); break;
        case 2: vp.Read(out, length * 8); break;
        default: vp.Control(data + at, length); break;
        }
        at += length;
    }
    vp.Read(out, sizeof out);
    return 0;
}
