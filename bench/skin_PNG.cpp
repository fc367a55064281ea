// Decoding a 4096 x 4096 RGBA picture: the reader against QImage's own
// decoder on the same file, in one run.
#include "skin/acPNG.h"

#include "../tests/skin/PngBuilder.h"

#include <QImage>
#include <benchmark/benchmark.h>

namespace {

// A picture with smooth areas and noise, each row with one of the five
// filters, compressed as an encoder would at its default level.
const std::string& Picture()
{
    static const std::string file = [] {
        uint32_t seed = 12345;
        pngtest::Image img = pngtest::MakeImage(4096, 4096, 8, 6, 0, 5, [&](uint32_t x, uint32_t y, int s) {
            seed = seed * 1103515245 + 12345;
            const uint32_t noise = (seed >> 16) & 0x0F;
            return uint16_t(s == 3 ? 255 - ((x ^ y) & 0x3F) : ((x * (s + 1) + y * (3 - s)) / 8 + noise) & 0xFF);
        });
        return pngtest::File(img);
    }();
    return file;
}

void BM_TPNGGraphic(benchmark::State& state)
{
    const std::string& file = Picture();
    for (auto _ : state) {
        TPNGGraphic g;
        TByteStream stream(file);
        g.LoadFromStream(stream);
        benchmark::DoNotOptimize(g.ScanLine(0));
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(file.size()));
}

void BM_QImage(benchmark::State& state)
{
    const std::string& file = Picture();
    for (auto _ : state) {
        QImage image = QImage::fromData(reinterpret_cast<const uchar*>(file.data()), int(file.size()), "PNG");
        if (image.isNull())
            state.SkipWithError("QImage could not decode the picture");
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(file.size()));
}

} // namespace

BENCHMARK(BM_TPNGGraphic)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_QImage)->Unit(benchmark::kMillisecond)->MinTime(2);
