// A skin switch at run time on a main window of 200 skinned controls:
// folder skin to packed skin and back, and to no skin and back. Each
// iteration is one switch with the repaint of the whole form into an image.
// The skin-change fade waits out its time (100 ms by default) on purpose:
// the switch itself is measured without it, and once with it.
#include "bench/BenchApp.h"
#include "SkinGenerator.h"
#include "../tests/skin/SkinPacker.h"
#include "skin/forms/acSkinStartup.h"
#include "skin/forms/sSkinManager.h"
#include "skinwnd/forms/acCtrlAdapter.h"
#include "skinwnd/forms/sSkinProvider.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QImage>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <benchmark/benchmark.h>

namespace {

// The lists a program fills to have these controls skinned.
const std::vector<std::pair<int, const char*>> ProgramLists = {
    {0, "TEdit"},     {1, "TButton"},       {3, "TCheckBox"},     {4, "TComboBox"},   {6, "TGroupBox"},
    {7, "QTreeWidget"}, {13, "TPageControl"}, {15, "TToolBar"}, {16, "TStatusBar"},
};

// A group of chip options: a box holding edits, check boxes, a combo box
// and buttons, 14 controls with the box.
QGroupBox* OptionsGroup(int n)
{
    auto* box = new QGroupBox(QString("Options %1").arg(n));
    auto* grid = new QGridLayout(box);
    for (int i = 0; i < 4; ++i) {
        grid->addWidget(new QLineEdit(QString("0x%1").arg(n * 16 + i, 2, 16, QChar('0'))), i, 0);
        grid->addWidget(new QCheckBox(QString("Verify %1").arg(i)), i, 1);
    }
    auto* combo = new QComboBox;
    combo->addItems({"24C02", "24C04", "24C08"});
    grid->addWidget(combo, 4, 0);
    grid->addWidget(new QPushButton("Read"), 4, 1);
    grid->addWidget(new QPushButton("Write"), 5, 0);
    grid->addWidget(new QPushButton("Verify"), 5, 1);
    grid->addWidget(new QPushButton("Erase"), 6, 0);
    return box;
}

QTreeWidget* ChipList()
{
    auto* list = new QTreeWidget;
    list->setRootIsDecorated(false);
    list->setHeaderLabels({"Chip", "Size"});
    for (const char* chip : {"24C02", "24C04", "24C08", "93C46"})
        list->addTopLevelItem(new QTreeWidgetItem(QStringList{chip, "256"}));
    return list;
}

struct SwitchForm {
    QTemporaryDir dir;
    TsSkinManagerComponent manager;
    QMainWindow window;
    TsSkinProvider* provider = nullptr;

    SwitchForm()
    {
        SkinLibraryInitialization();
        const std::string root = dir.path().toStdString();
        WriteSkinFolder(root + "/Tarku", ProjectPalette());
        std::vector<TPackEntry> entries;
        for (const auto& [name, bytes] : SkinFiles(DuskPalette()))
            entries.push_back({name, bytes});
        const std::string packed = PackSkin(entries);
        QFile file(QString::fromStdString(root + "/Dusk.asz"));
        if (file.open(QIODevice::WriteOnly))
            file.write(packed.data(), qint64(packed.size()));
        file.close();
        manager.SetSkinDirectory(root);
        manager.SetSkinName("Tarku");
        for (const auto& [index, names] : ProgramLists)
            manager.ThirdParty.SetByIndex(index, names);
        manager.UpdateThirdNames(false);
        Build();
        provider = new TsSkinProvider(&window);
        window.resize(1280, 900);
        window.show();
        QApplication::processEvents();
    }

    // 10 option groups in the client and 4 on the pages of 2 tab widgets
    // (196), the tab widgets, 2 lists, a tool bar and a status bar: 202
    // skinned controls.
    void Build()
    {
        window.setWindowTitle("Tarku - 24C02");
        for (const char* m : {"&File", "&Edit", "&Device", "&Help"})
            window.menuBar()->addMenu(m);
        QToolBar* bar = window.addToolBar("Main");
        for (const char* a : {"Read", "Write", "Verify", "Erase"})
            bar->addAction(a);
        window.statusBar()->showMessage("Ready");
        auto* client = new QWidget;
        auto* grid = new QGridLayout(client);
        int n = 0;
        for (; n < 10; ++n)
            grid->addWidget(OptionsGroup(n), n / 4, n % 4);
        for (int t = 0; t < 2; ++t) {
            auto* tabs = new QTabWidget;
            if (t == 1)
                tabs->setTabPosition(QTabWidget::South);
            tabs->addTab(OptionsGroup(n++), "Chip");
            tabs->addTab(OptionsGroup(n++), "Buffer");
            grid->addWidget(tabs, 3, t * 2);
            grid->addWidget(ChipList(), 3, t * 2 + 1);
        }
        window.setCentralWidget(client);
    }

    void Render(QImage& img)
    {
        QApplication::processEvents();
        window.render(&img);
    }
};

void Switch(benchmark::State& state, const std::function<void(SwitchForm&, bool)>& step, bool fade = false)
{
    App();
    SwitchForm f;
    f.manager.AnimEffects().SkinChanging.Active = fade;
    QImage img(f.window.size(), QImage::Format_ARGB32_Premultiplied);
    f.Render(img);
    state.counters["controls"] = f.provider->Adapter() ? f.provider->Adapter()->Count() : 0;
    bool there = false;
    for (auto _ : state) {
        there = !there;
        step(f, there);
        f.Render(img);
    }
    if (!f.manager.Active() || !f.provider->Adapter())
        state.SkipWithError("the form did not end skinned");
}

void BM_SwitchFolderAndPacked(benchmark::State& state)
{
    Switch(state, [](SwitchForm& f, bool toPacked) { f.manager.SetSkinName(toPacked ? "Dusk" : "Tarku"); });
}

void BM_SwitchFolderAndPackedFading(benchmark::State& state)
{
    Switch(state, [](SwitchForm& f, bool toPacked) { f.manager.SetSkinName(toPacked ? "Dusk" : "Tarku"); }, true);
}

void BM_SwitchSkinOffAndOn(benchmark::State& state)
{
    Switch(state, [](SwitchForm& f, bool off) { f.manager.SetActive(!off); });
}

// Ends on the skin it started with: an even number of switches.
BENCHMARK(BM_SwitchFolderAndPacked)->Unit(benchmark::kMillisecond)->Iterations(40);
BENCHMARK(BM_SwitchFolderAndPackedFading)->Unit(benchmark::kMillisecond)->Iterations(40);
BENCHMARK(BM_SwitchSkinOffAndOn)->Unit(benchmark::kMillisecond)->Iterations(40);

} // namespace
