// Any socket file "vprog.ini": it loads, saves and loads again to the same
// set-up, and the chip it puts in the socket (with its faults) survives a
// power-up and a few bus transfers. The image always lies in the fuzzer's
// own folder, so no input makes the run read or write files elsewhere.
#include "vprog/Socket.h"

#include "vprog/Chip24Cxx.h"
#include "vprog/Chip25Flash.h"

#include "platform/Paths.h"

#include "TestSupport.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

bool Same(const TSocketSetup& a, const TSocketSetup& b)
{
    return a.Chip == b.Chip && a.Image == b.Image && a.NoContactLines == b.NoContactLines &&
           a.ShortedLines == b.ShortedLines && a.Overload == b.Overload;
}

// Clocks a few bytes through the chip's bus pins (I2C or SPI pins alike)
// and gives the virtual time to finish what they started.
void Exercise(TLineModel& lines)
{
    lines.SetVccLines(0x80);
    lines.SetGndLines(0x08);
    lines.SetSupply(true);
    const uint8_t bytes[] = {0xA0, 0x00, 0x5A, 0x06, 0x02, 0x00, 0x00, 0x00, 0x3C, 0x9F, 0xA1};
    uint8_t latch = 0xB8;
    for (uint8_t b : bytes) {
        latch = static_cast<uint8_t>(latch & ~0x01); // select an SPI chip
        for (int i = 7; i >= 0; --i) {
            latch = static_cast<uint8_t>((b >> i) & 1 ? latch | 0x10 : latch & ~0x10);
            lines.SetLatch(latch);
            lines.SetLatch(static_cast<uint8_t>(latch | 0x20));
            lines.Advance(5);
            lines.SetLatch(latch = static_cast<uint8_t>(latch & ~0x20));
        }
        lines.SetLatch(latch = static_cast<uint8_t>(latch | 0x31)); // stop, deselect
        lines.Advance(5);
    }
    lines.Advance(200000);
    (void)lines.Levels();
    lines.SetSupply(false);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static testsupport::TempDir dir;
    SetProgramFolder(dir.path());
    const std::string file = dir.file(SocketFileName);
    testsupport::WriteFileBytes(file, std::string(reinterpret_cast<const char*>(data), size));

    const TSocketSetup loaded = LoadSocketSetup(file);
    if (!SaveSocketSetup(file, loaded))
        std::abort();
    if (!Same(LoadSocketSetup(file), loaded))
        std::abort();

    TSocketSetup setup = loaded;
    setup.Image = dir.file("image.bin");
    std::remove(setup.Image.c_str()); // each input starts from an erased chip
    TLineModel lines;
    TSimChip* chip = nullptr;
    const std::string error = InsertChip(lines, setup, &chip);
    if (error.empty() != (setup.Chip.empty() || KnownSocketChip(setup.Chip)))
        std::abort();
    if ((chip != nullptr) != KnownSocketChip(setup.Chip))
        std::abort();
    Exercise(lines);
    lines.RemoveChips();
    return 0;
}
