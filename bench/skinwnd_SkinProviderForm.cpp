// Repainting a skinned 1920x1080 form: with the frame cache rebuilt (form
// section, caption, buttons and menu line painted afresh) and from the
// cache as it stands.
#include "bench/BenchApp.h"
#include "SkinGenerator.h"
#include "skin/forms/acSkinStartup.h"
#include "skin/forms/sSkinManager.h"
#include "skinwnd/forms/sSkinProvider.h"

#include <QImage>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

struct SkinnedForm {
    QTemporaryDir dir;
    TsSkinManagerComponent manager;
    QMainWindow window;
    TsSkinProvider* provider = nullptr;
    SkinnedForm()
    {
        SkinLibraryInitialization();
        WriteSkinFolder(dir.path().toStdString() + "/Tarku", ProjectPalette());
        manager.SetSkinDirectory(dir.path().toStdString());
        manager.SetSkinName("Tarku");
        window.setWindowTitle("Tarku - 24C02");
        for (const char* m : {"&File", "&Edit", "&Device", "&Help"})
            window.menuBar()->addMenu(m);
        window.setCentralWidget(new QLabel("Client"));
        provider = new TsSkinProvider(&window);
        window.show();
        // The form's size holds its painted frame.
        window.resize(1920, 1080);
        QApplication::processEvents();
    }
};

void Repaint(benchmark::State& state, bool rebuild)
{
    App();
    SkinnedForm f;
    QImage img(f.window.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        if (rebuild)
            f.provider->RepaintFrame();
        f.window.render(&img);
    }
    state.counters["width"] = f.window.width();
    state.counters["height"] = f.window.height();
}

void BM_RebuildFrameCache(benchmark::State& state) { Repaint(state, true); }
void BM_RepaintFromCache(benchmark::State& state) { Repaint(state, false); }
BENCHMARK(BM_RebuildFrameCache)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepaintFromCache)->Unit(benchmark::kMillisecond);

} // namespace
