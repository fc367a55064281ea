// libFuzzer target: any bytes as calculator code (or as a whole image) run
// with an instruction ceiling. The machine must end or be stopped, never
// crash, reach outside the image, or hand the host an address outside
// buffer 1. Field texts go through the two field readers as well.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "CalcFakeHost.h"
#include "calc/uCalcMachine.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    static auto image = std::make_unique<TCalcImage>();
    image->fill(0xFF);
    const uint8_t mode = data[0];
    const uint8_t bufferSize = data[1];
    data += 2;
    size -= 2;
    int entry = CalcEntryOnShow;
    if (mode & 1) {
        // A whole image, header and all.
        std::memcpy(image->data(), data, std::min(size, image->size()));
        entry = (mode >> 1) % 3 * 2;
    } else {
        // Code after an empty form, entered at its first byte.
        const size_t code = CalcRecordsOffset + 1;
        (*image)[0] = code;
        (*image)[1] = 0;
        std::memcpy(image->data() + code, data, std::min(size, image->size() - code));
    }
    TCalcFakeHost host;
    host.Size = static_cast<int64_t>(bufferSize) << 8;
    host.SelStart = mode & 2 ? -1 : 3;
    host.StopAfter = 200000;
    host.Record = false;
    for (int i = 0; i < 8; ++i)
        host.Readable[i * 3] = i * 1000 - 2;
    ResetCalcRegisters();
    RunCalculatorCode(*image, entry, host);
    if (CalculatorRunning() || host.BadAddresses != 0)
        __builtin_trap();

    const std::string text(reinterpret_cast<const char*>(data), std::min<size_t>(size, 24));
    int64_t value = 0;
    if (!CalcParseDecimalField(text, value) && value != 1)
        __builtin_trap();
    if (!CalcParseHexField(text, value) && value != 0x100000000)
        __builtin_trap();
    return 0;
}
