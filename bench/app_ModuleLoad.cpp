// Loading a module with 40 parameter controls and 21 Device menu entries:
// the description read, the plan worked out and the widgets built on a
// container and into a menu, as the main window does at every chip change.
#include "bench/BenchApp.h"
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
    text += "[INTERFACE]\n";
    const char* kinds[] = {"CHECKBOX(c%, \"Check %\", X, Y, 1);", "COMBOBOX(s%, \"List %\", X, Y, 80, A, B, C, 1);",
                           "HEXEDIT(h%, \"Hex %\", X, Y, 4);", "DIGIT(d%, \"Number %\", X, Y, 0x10);",
                           "BUTTON(b%, \"Button %\", X, Y, 80, 20);"};
    for (int i = 0; i < 40; ++i) {
        std::string line = kinds[i % 5];
        const std::string n = std::to_string(i);
        for (size_t p; (p = line.find('%')) != std::string::npos;)
            line.replace(p, 1, n);
        line.replace(line.find(", X,"), 4, ", " + std::to_string(8 + 200 * (i % 4)) + ",");
        line.replace(line.find(", Y,"), 4, ", " + std::to_string(8 + 30 * (i / 4)) + ",");
        text += line + "\n";
    }
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
