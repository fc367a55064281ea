// Painting one skin section item over a 1920 x 1080 cache bitmap: a
// gradient mixed with the section colour, then a border mask with mask
// rows (corners over the parent, edges tiled, with and without the centre).
#include "skin/acSectionPaint.h"
#include "skin/sGradient.h"
#include "skin/sHelpers.h"

#include "../tests/skin/SkinContentManager.h"

#include <benchmark/benchmark.h>

namespace {

struct Skin {
    skintest::ContentManager manager;
    int section = -1;

    explicit Skin(int stretchMode)
    {
        // A 3-state frame 30 x 24 over its mask: a shaded face, key-colour
        // corners, the mask black inside and grey at the rim.
        TBitmap& m = manager.Master(90, 48);
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 90; ++x) {
                const int fx = x % 30;
                const bool corner = (fx == 0 || fx == 29) && (y == 0 || y == 23);
                m.SetPixel(x, y, corner ? clFuchsia : RGB(120 + y * 4, 130 + y * 3, 150 + fx));
                m.SetPixel(x, y + 24, (fx < 2 || fx > 27 || y < 2 || y > 21) ? RGB(96, 96, 96) : 0);
            }
        TsGeneralData s;
        s.Name = "PANEL";
        s.Color = RGB(200, 205, 210);
        s.GradientPercent = 60;
        s.GradientData = "13158600;16777215;50;0;0;16777215;12632256;50;0;0";
        ParseGradientData(s.GradientData, s.GradientArray);
        s.BorderIndex = manager.AddMask({0, 0, 90, 48}, 3, 1, 8, 8, 8, 8, stretchMode);
        manager.skin.gd.push_back(s);
        section = 0;
    }
};

void Paint(benchmark::State& state, TPixelFormat format, int stretchMode)
{
    Skin skin(stretchMode);
    TBitmap parent, cache;
    for (TBitmap* b : {&parent, &cache}) {
        b->SetPixelFormat(format);
        b->SetSize(1920, 1080);
    }
    parent.FillRect({0, 0, 1920, 1080}, RGB(60, 70, 80));
    const TCacheInfo background = MakeCacheInfo(&parent);
    for (auto _ : state) {
        PaintSectionItem(skin.section, "PANEL", background, true, 0, {0, 0, 1920, 1080}, {0, 0}, &cache,
                         &skin.manager, -1, -1);
        benchmark::DoNotOptimize(cache.ScanLine(540));
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * 1920 * 1080);
}

void BM_Section24(benchmark::State& s) { Paint(s, pf24bit, 0); }
void BM_Section32(benchmark::State& s) { Paint(s, pf32bit, 0); }
void BM_Section24FilledCentre(benchmark::State& s) { Paint(s, pf24bit, 4); }

} // namespace

BENCHMARK(BM_Section24)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Section32)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Section24FilledCentre)->Unit(benchmark::kMillisecond);
