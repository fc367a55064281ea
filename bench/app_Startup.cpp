// The program's start-up to the shown main window over many generated chip
// modules (the chip list from the catalogue, and from the scan of the
// scripts folder), the read of a 2 MiB flash through the main window's
// device dispatch with the in-process virtual programmer, and the load of a
// module with 10,000 parameter controls into the shown window, after
// another module and again over itself.
#include "BenchApp.h"
#include "GeneratedModules.h"
#include "app/forms/Main.h"
#include "app/forms/MainModule.h"
#include "app/forms/MainProgram.h"
#include "buffer/forms/HDump.h"
#include "engine/Global.h"
#include "engine/forms/uExecute.h"
#include "platform/Paths.h"
#include "vprog/Socket.h"
#include "vprog/VirtualUsb.h"

#include <QApplication>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <fstream>

namespace {

namespace fs = std::filesystem;

void StartupBench(benchmark::State& state, bool catalog)
{
    App();
    const std::string folder = benchgen::Generated(static_cast<int>(state.range(0))).Path();
    SetProgramFolder(folder);
    // The start reads the option bit that picks the chip list's source from
    // the settings file.
    const uint32_t options = catalog ? WorkParamDefault | wpUseConfigFile : WorkParamDefault & ~wpUseConfigFile;
    std::ofstream(folder + "/TARKU.INI", std::ios::binary)
        << "[Parameters]\r\nLanguage=English\r\nWorkParam=" << options << "\r\n";
    for (auto _ : state) {
        TMainForm* form = StartProgram({});
        form->show();
        QApplication::processEvents();
        state.PauseTiming();
        FinishProgram();
        state.ResumeTiming();
    }
    state.counters["entries"] = static_cast<double>(state.range(0) * 3);
}

void BM_StartupCatalog(benchmark::State& state) { StartupBench(state, true); }
void BM_StartupScan(benchmark::State& state) { StartupBench(state, false); }

BENCHMARK(BM_StartupCatalog)->Arg(3000)->Arg(6000)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_StartupScan)->Arg(3000)->Arg(6000)->Unit(benchmark::kMillisecond)->Iterations(5);

// A copy of the shipped program folder with a 25F16 in the socket.
class TFlashFolder {
public:
    TFlashFolder()
    {
        std::string templ = (fs::temp_directory_path() / "tarku-bench-XXXXXX").string();
        if (!mkdtemp(templ.data()))
            throw std::runtime_error("cannot create a temp folder");
        path_ = templ;
        fs::copy(TARKU_DATA, path_, fs::copy_options::recursive);
    }
    ~TFlashFolder()
    {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    std::string path_;
};

void BM_Read2MiBFlash(benchmark::State& state)
{
    App();
    static TFlashFolder folder;
    SetProgramFolder(folder.path_);
    TSocketSetup setup;
    setup.Chip = "25F16";
    setup.Image = folder.path_ + "/25F16.bin";
    InsertChip(TheVirtualProgrammer().Lines(), setup);
    TMainForm* form = StartProgram({});
    form->show();
    form->LoadModule("25F16");
    // The read closes its window by itself; the backup is not what is
    // measured. The power-on delay is the settings' wait for the chip's
    // supply: the run waits it out on purpose, so it is measured apart
    // (0 as in the engine's road, or the default).
    WorkParam &= ~wpBackupControl;
    PowerOnDelay = static_cast<int32_t>(state.range(0));
    QAction* read = form->mmDevice->findChild<QAction*>("mnREAD");
    if (!read) {
        state.SkipWithError("the 25F16 module has no Read item");
        FinishProgram();
        return;
    }
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [] {
        if (fmExecute->isVisible() && fmExecute->btCancel->text().toStdString() == fmExecute->Run.CloseText)
            fmExecute->btCancel->click();
    });
    closer.start(5);
    for (auto _ : state)
        form->MenuClick(read);
    if (form->HexDump1->GetSize() != 2 * 1024 * 1024)
        state.SkipWithError("buffer 1 is not 2 MiB");
    form->HexDump1->Buffer().Modified = false;
    FinishProgram();
}
BENCHMARK(BM_Read2MiBFlash)->Arg(0)->Arg(200)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

// A module with 10,000 parameter controls of every kind on the main
// window's panel, in the catalogue as "Crowded".
constexpr int CrowdedControls = 10000;

void AddCrowdedModule(const std::string& folder)
{
    std::string text = "[DESCRIPTION]\r\nLOCATION = Test\\Crowded;\r\nBUFFER1 = Data, 256\r\nVOLTAGE = 5.0;\r\n"
                       "[MENU]\r\nREAD = \"&Read\", READBUTTON;\r\n[INTERFACE]\r\n";
    text += benchgen::ParameterControlLines(CrowdedControls, 5, "\r\n");
    text += "[HOST]\r\nPROC READ {\r\n}\r\n";
    std::ofstream(folder + "/scripts/crowded.chl", std::ios::binary) << text;
    std::ofstream(folder + "/scripts/scripts.cfg", std::ios::binary | std::ios::app) << "\r\n[Test]\r\nCrowded=crowded.chl\r\n";
}

// Loads `before` (unmeasured), then the crowded module, until the window
// has taken the change: the replaced widgets deleted and the window painted.
void ModuleLoadBench(benchmark::State& state, const char* before)
{
    App();
    TFlashFolder folder;
    AddCrowdedModule(folder.path_);
    SetProgramFolder(folder.path_);
    TMainForm* form = StartProgram({});
    form->show();
    QApplication::processEvents();
    const auto settle = [] {
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QApplication::processEvents();
    };
    for (auto _ : state) {
        state.PauseTiming();
        form->LoadModule(before);
        settle();
        state.ResumeTiming();
        form->LoadModule("Crowded");
        settle();
    }
    if (form->ParameterControls->Count() != CrowdedControls)
        state.SkipWithError("the crowded module did not load whole");
    FinishProgram();
}

void BM_LoadCrowdedModule(benchmark::State& state) { ModuleLoadBench(state, "24C02"); }
void BM_ReloadCrowdedModule(benchmark::State& state) { ModuleLoadBench(state, "Crowded"); }
BENCHMARK(BM_LoadCrowdedModule)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ReloadCrowdedModule)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
