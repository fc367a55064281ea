// The chip list and its tree from many modules: the scan of the scripts
// folder and the catalogue. Each module has three locations and a script
// part of a usual size; the modules sit in 30 folders.
#include "GeneratedModules.h"
#include "app/ChipSel.h"
#include "engine/Global.h"
#include "platform/Paths.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>

namespace fs = std::filesystem;

namespace {

using benchgen::Generated;

void BuildChipListBench(benchmark::State& state, bool catalog)
{
    const int modules = static_cast<int>(state.range(0));
    SetProgramFolder(Generated(modules).Path());
    WorkParam = catalog ? WorkParam | wpUseConfigFile : WorkParam & ~wpUseConfigFile;
    for (auto _ : state) {
        BuildChipList();
        benchmark::DoNotOptimize(ChipTree.Count());
    }
    if (ChipList.Count() != modules * 3)
        state.SkipWithError("wrong number of chip entries");
    state.counters["entries"] = ChipList.Count();
}

void BM_ChipListScan(benchmark::State& state) { BuildChipListBench(state, false); }
void BM_ChipListCatalog(benchmark::State& state) { BuildChipListBench(state, true); }

BENCHMARK(BM_ChipListScan)->Arg(3000)->Arg(6000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChipListCatalog)->Arg(3000)->Arg(6000)->Unit(benchmark::kMillisecond);

} // namespace
