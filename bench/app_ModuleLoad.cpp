// Loading a module with 40 parameter controls and 21 Device menu entries:
// the description read, the plan worked out and the widgets built on a
// container and into a menu, as the main window does at every chip change.
#include "bench/BenchApp.h"
#include "bench/GeneratedModules.h"
#include "app/forms/MainModule.h"
#include "engine/Global.h"
#include "engine/Modules.h"

#include <QApplication>
#include <QMenu>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <fstream>

namespace {

// Eight controls of each kind and eight buttons, in four columns.
std::string ModuleText()
{
    std::string text = "[DESCRIPTION]\nBUFFER1 = Flash, 65536\nBUFFER2 = EEPROM, 512\nGND = 4;\nVOLTAGE = 5.0;\n"
                       "[MENU]\n";
    for (int i = 0; i < 21; ++i)
        text += "E" + std::to_string(i) + " = \"Entry " + std::to_string(i) + "\", READBUTTON, \"Hint\", Ctrl+" +
                char('A' + i) + ";\n";
    text += "[INTERFACE]\n" + benchgen::ParameterControlLines(40, 4, "\n");
    return text + "[HOST]\n";
}

void BM_LoadAndBuildModule(benchmark::State& state)
{
    App();
    QTemporaryDir dir;
    const std::string file = dir.filePath("big.chl").toStdString();
    std::ofstream(file, std::ios::binary) << ModuleText();
    QWidget window;
    QWidget* container = new QWidget(&window);
    QMenu menu;
    TParameterControls controls;
    for (auto _ : state) {
        TModuleInfo module;
        module.LoadFromFile(file);
        const TModulePlan plan = PlanModule(module, WorkParamDefault, TWidgetMetrics(&window));
        controls.Build(container, plan.Controls);
        BuildDeviceMenu(&menu, plan);
        if (plan.Controls.size() != 40 || plan.Menu.size() != 21)
            state.SkipWithError("the module did not load whole");
        // The replaced widgets go as they would when the loop runs again.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}
BENCHMARK(BM_LoadAndBuildModule)->Unit(benchmark::kMillisecond);

} // namespace
