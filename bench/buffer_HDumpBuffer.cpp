// Large-buffer costs of the device buffer model: sizing, a new buffer as a
// module load makes it, resizing, select all, clearing mismatch marks,
// extending a selection by a few bytes, memory.
#include "bench/BenchBuffer.h"
#include "buffer/HDumpBuffer.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <optional>

namespace {

constexpr int64_t Big = BenchBigSize;

void BM_SetSize512MiB(benchmark::State& state)
{
    for (auto _ : state) {
        TDumpBuffer b;
        b.SetSize(Big);
        benchmark::DoNotOptimize(b.Data.data());
        state.counters["bytes_per_byte"] = double(b.MemoryBytes()) / double(Big);
    }
}
BENCHMARK(BM_SetSize512MiB)->Unit(benchmark::kMillisecond)->Iterations(3);

// What a module load does to its buffer: sized, markers cleared, erased to
// 0xFF. Freeing the buffer afterwards is not counted.
void BM_NewBuffer512MiB(benchmark::State& state)
{
    for (auto _ : state) {
        std::optional<TDumpBuffer> b(std::in_place);
        b->SetSize(Big);
        b->ClearMarkers();
        b->EraseBuffer();
        benchmark::DoNotOptimize(b->Data.data());
        state.PauseTiming();
        b.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_NewBuffer512MiB)->Unit(benchmark::kMillisecond)->Iterations(3);

// The size dialog growing a written 64 MiB buffer to 512 MiB.
void BM_Resize64To512MiB(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        std::optional<TDumpBuffer> b(std::in_place);
        b->SetSize(Big / 8);
        std::memset(b->Data.data(), 0x5A, size_t(Big / 8));
        b->SetMarkerRange(0, Big / 8 - 1, 3);
        state.ResumeTiming();
        b->SetSize(Big);
        benchmark::DoNotOptimize(b->Data.data());
        state.PauseTiming();
        b.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Resize64To512MiB)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_SelectAll512MiB(benchmark::State& state)
{
    TDumpBuffer& b = BigBuffer();
    for (auto _ : state) {
        b.SelectAll();
        benchmark::DoNotOptimize(b.SelectBits().Bytes.data());
    }
}
BENCHMARK(BM_SelectAll512MiB)->Unit(benchmark::kMillisecond);

void BM_ClearSelectionAfterSelectAll512MiB(benchmark::State& state)
{
    TDumpBuffer& b = BigBuffer();
    for (auto _ : state) {
        state.PauseTiming();
        b.SelectAll();
        state.ResumeTiming();
        b.ClearSelection();
    }
}
BENCHMARK(BM_ClearSelectionAfterSelectAll512MiB)->Unit(benchmark::kMillisecond);

void BM_HideMismatch512MiB(benchmark::State& state)
{
    TDumpBuffer& b = BigBuffer();
    for (auto _ : state) {
        b.HideMismatch();
        benchmark::DoNotOptimize(b.MatchBits().Bytes.data());
    }
}
BENCHMARK(BM_HideMismatch512MiB)->Unit(benchmark::kMillisecond);

// A mouse move that extends a 300 MiB selection by one row: the cost follows
// the 16 changed bytes, not the selection or the buffer.
void BM_ExtendSelectionOneRow(benchmark::State& state)
{
    TDumpBuffer& b = BigBuffer();
    b.ClearSelection();
    int64_t last = int64_t(300) << 20;
    b.SetSelectRange(5, last, true);
    for (auto _ : state) {
        b.MoveSelectRange(5, last, 5, last + 16);
        last += 16;
    }
    b.ClearSelection();
}
BENCHMARK(BM_ExtendSelectionOneRow);

void BM_NormalizeLargeSelection(benchmark::State& state)
{
    TDumpBuffer& b = BigBuffer();
    b.ClearSelection();
    b.SetSelectRange(1000, Big - 1000, true);
    for (auto _ : state) {
        b.SelStart = 1000;
        b.NormalizeSelection();
    }
    b.ClearSelection();
}
BENCHMARK(BM_NormalizeLargeSelection)->Unit(benchmark::kMillisecond);

} // namespace
