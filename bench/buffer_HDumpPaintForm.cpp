// Full repaint of a 1920x1080 dump view, for a small and a 512 MiB buffer
// and for a plain and a busily coloured screen.
#include "bench/BenchApp.h"
#include "buffer/forms/HDump.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

namespace {

void BM_FullRepaint(benchmark::State& state)
{
    App();
    const int64_t size = state.range(0);
    const bool busy = state.range(1);
    const bool word = state.range(2);
    THexDump view;
    view.resize(1920, 1080);
    view.Edit().WordMode = word;
    view.SetSize(size);
    TDumpBuffer& b = view.Buffer();
    view.Edit().GotoAddress((word ? size / 4 : size / 2) & ~int64_t(15));
    const int64_t top = view.Edit().TopIndex;
    for (int64_t i = top; i < std::min(top + 16 * 80, size); ++i) {
        b.Data[size_t(i)] = uint8_t(i * 7);
        if (busy) {
            b.Markers[size_t(i)] = uint8_t(i % 3 == 0 ? i % 8 : 0);
            b.SetSelectBit(i, i % 5 == 0);
            b.SetMatchBit(i, i % 4 != 0);
        }
    }
    QImage img(1920, 1080, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter p(&img);
        view.PaintTo(p);
    }
}
BENCHMARK(BM_FullRepaint)
    ->Args({64 << 10, 0, 0})
    ->Args({int64_t(512) << 20, 0, 0})
    ->Args({int64_t(512) << 20, 1, 0})
    ->Args({int64_t(512) << 20, 1, 1})
    ->Unit(benchmark::kMillisecond);

} // namespace
