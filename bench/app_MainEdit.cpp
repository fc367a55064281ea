// Large-buffer costs of the Edit menu's buffer commands: a search that
// finds nothing, a fill with a pattern, and a compare against a file image,
// each over a 512 MiB buffer.
#include "bench/BenchBuffer.h"
#include "app/MainEdit.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int64_t Big = BenchBigSize;

void BM_FindPatternMissing512MiB(benchmark::State& state)
{
    TDumpBuffer& b = BigBuffer();
    const uint8_t pattern[] = {0x12, 0x34, 0x56, 0x78};
    for (auto _ : state) {
        int64_t position = 0;
        benchmark::DoNotOptimize(FindPattern(pattern, 4, b.LastIndex, position, b.Data.data()));
    }
}
BENCHMARK(BM_FindPatternMissing512MiB)->Unit(benchmark::kMillisecond);

void BM_Fill512MiB(benchmark::State& state)
{
    TDumpBuffer& b = BigBuffer();
    for (auto _ : state)
        ApplyPattern(b, "1234", {0, b.LastIndex}, false, TPatternOp::Fill);
}
BENCHMARK(BM_Fill512MiB)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_CompareWithImage512MiB(benchmark::State& state)
{
    TDumpBuffer& b = BigBuffer();
    const std::vector<uint8_t> image(size_t(Big) + 1, 0xFF);
    for (auto _ : state)
        benchmark::DoNotOptimize(CompareWithImage(b, image));
}
BENCHMARK(BM_CompareWithImage512MiB)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace
