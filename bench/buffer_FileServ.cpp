// Loading and saving a 16 MiB buffer as Intel HEX, S-records and EEF, and
// its text dump. "Save" runs the writer and writes the file; "Text" only
// builds the file's text, piece by piece as the savers do. "Load" loads
// into a fresh buffer each time; "ColdLoad" is one load in a process of
// its own, timed by that process's processor time, side by side with
// "Converter", which converts the same file to binary with srec_cat
// (package srecord; skipped when srec_cat is missing). "Load" also reports
// the peak memory of one load into a fresh buffer, measured in a child
// process (PeakMiB, the buffer's own data and marker arrays included).
#include "buffer/FileServ.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <sys/resource.h>
#include <unistd.h>

namespace {

constexpr int64_t Size = 16 << 20;

const TDumpBuffer& Source()
{
    static const TDumpBuffer b = [] {
        TDumpBuffer x;
        x.SetSize(Size);
        std::mt19937 rng(1);
        for (int64_t i = 0; i < Size; ++i)
            x.Data[size_t(i)] = uint8_t(rng());
        return x;
    }();
    return b;
}

// The benchmark's files, removed with everything in them at exit.
class TTempFolder {
public:
    TTempFolder()
    {
        char tmpl[] = "/tmp/bench-fileserv-XXXXXX";
        if (mkdtemp(tmpl))
            path_ = tmpl;
    }
    ~TTempFolder()
    {
        std::error_code ec;
        if (!path_.empty())
            std::filesystem::remove_all(path_, ec);
    }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

std::string Folder()
{
    static const TTempFolder dir;
    return dir.Path();
}

// A field of /proc/self/status in KiB.
long StatusKiB(const char* field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string prefix = std::string(field) + ":";
    while (std::getline(status, line))
        if (line.compare(0, prefix.size(), prefix) == 0)
            return std::atol(line.c_str() + prefix.size());
    return -1;
}

// Started again with TARKU_BENCH_PEAK_LOAD=<file>, the program loads that
// file once into a fresh EditorMode buffer, prints how far the resident
// memory rose above what it was before (KiB) and ends before any benchmark
// runs: a fresh process, whose heap holds nothing earlier loads freed.
[[maybe_unused]] const bool PeakLoadChild = [] {
    const char* file = std::getenv("TARKU_BENCH_PEAK_LOAD");
    if (!file)
        return false;
    TDumpBuffer b;
    b.EditorMode = true;
    const long before = StatusKiB("VmRSS");
    TDumpLoadInfo info;
    const bool ok = LoadDumpFile(b, file, info);
    std::printf("%ld\n", ok ? StatusKiB("VmHWM") - before : -1L);
    std::fflush(stdout);
    std::_Exit(0);
}();

// Processor time (user and system) of the child processes that ended.
double ChildrenCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// One load of the file in a process of its own: the peak memory (MiB, -1
// when the load failed) and the processor time the process took.
struct TChildLoad {
    double PeakMiB = -1;
    double CpuSeconds = 0;
};

TChildLoad LoadInChild(const std::string& name)
{
    const std::string command = "TARKU_BENCH_PEAK_LOAD='" + name + "' /proc/" + std::to_string(getpid()) + "/exe";
    TChildLoad result;
    const double before = ChildrenCpuSeconds();
    std::FILE* child = popen(command.c_str(), "r");
    if (!child)
        return result;
    long kib = -1;
    if (std::fscanf(child, "%ld", &kib) != 1)
        kib = -1;
    pclose(child);
    result.CpuSeconds = ChildrenCpuSeconds() - before;
    result.PeakMiB = kib < 0 ? -1 : double(kib) / 1024.0;
    return result;
}

void Save(benchmark::State& state, const char* ext)
{
    const std::string name = Folder() + "/save" + ext;
    std::string error;
    for (auto _ : state)
        if (!SaveDumpFile(Source(), name, "", error))
            state.SkipWithError(error.c_str());
    state.SetBytesProcessed(int64_t(state.iterations()) * Size);
}

using TWriter = bool (*)(const TDumpBuffer&, const TTextSink&);

void Text(benchmark::State& state, TWriter write)
{
    for (auto _ : state) {
        size_t length = 0;
        write(Source(), [&](const char* text, size_t n) {
            benchmark::DoNotOptimize(text);
            length += n;
            return true;
        });
        benchmark::DoNotOptimize(length);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * Size);
}

void Load(benchmark::State& state, const char* ext)
{
    const std::string name = Folder() + "/load" + ext;
    std::string error;
    SaveDumpFile(Source(), name, "", error);
    for (auto _ : state) {
        // A fresh buffer, as a program that opens the file has: loading
        // again into a buffer's pages already made would hide their cost.
        auto b = std::make_unique<TDumpBuffer>();
        b->EditorMode = true;
        TDumpLoadInfo info;
        if (!LoadDumpFile(*b, name, info))
            state.SkipWithError(info.Error.c_str());
        state.PauseTiming();
        b.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * Size);
    state.counters["PeakMiB"] = LoadInChild(name).PeakMiB;
}

// The one cold load: a process of its own loads the file once; its time is
// the process's processor time, as the converter's below, so the two
// compare side by side.
void ColdLoad(benchmark::State& state, const char* ext)
{
    const std::string name = Folder() + "/load" + ext;
    std::string error;
    SaveDumpFile(Source(), name, "", error);
    for (auto _ : state) {
        const TChildLoad load = LoadInChild(name);
        if (load.PeakMiB < 0)
            state.SkipWithError(("cannot load " + name).c_str());
        state.SetIterationTime(load.CpuSeconds);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * Size);
}

// srec_cat converting the file "Load" reads to binary; its time is the
// converter's processor time, to compare with the CPU column of "Load".
void Converter(benchmark::State& state, const char* ext, const char* format)
{
    if (std::system("srec_cat -VERSion > /dev/null 2>&1") != 0) {
        state.SkipWithError("srec_cat not found (package srecord): no comparison");
        return;
    }
    const std::string name = Folder() + "/load" + ext;
    std::string error;
    SaveDumpFile(Source(), name, "", error);
    const std::string command =
        "srec_cat '" + name + "' " + format + " -o '" + Folder() + "/converted.bin' -Binary 2>/dev/null";
    for (auto _ : state) {
        const double before = ChildrenCpuSeconds();
        if (std::system(command.c_str()) != 0)
            state.SkipWithError(("failed: " + command).c_str());
        state.SetIterationTime(ChildrenCpuSeconds() - before);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * Size);
}

bool TextDumpOf(const TDumpBuffer& b, const TTextSink& sink) { return WriteTextDump(b, 0, b.LastIndex, false, sink); }

void TextDumpSave(benchmark::State& state)
{
    std::string error;
    for (auto _ : state)
        SaveArrayRangeChosen(Source(), 0, Size - 1, false, Folder() + "/dump.txt", 2, error);
    state.SetBytesProcessed(int64_t(state.iterations()) * Size);
}

bool EefText(const TDumpBuffer& b, const TTextSink& sink) { return WriteEefText(b, "", "", sink); }

} // namespace

BENCHMARK_CAPTURE(Load, Hex, ".hex")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ColdLoad, Hex, ".hex")->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10);
BENCHMARK_CAPTURE(Converter, Hex, ".hex", "-Intel")->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK_CAPTURE(Save, Hex, ".hex")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Text, Hex, WriteHexText)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Load, S19, ".s19")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ColdLoad, S19, ".s19")->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10);
BENCHMARK_CAPTURE(Converter, S19, ".s19", "-Motorola")->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK_CAPTURE(Save, S19, ".s19")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Text, S19, WriteS19Text)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Load, Eef, ".eef")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Save, Eef, ".eef")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Text, Eef, EefText)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Load, Raw, ".bin")->Unit(benchmark::kMillisecond);
BENCHMARK(TextDumpSave)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Text, TextDump, TextDumpOf)->Unit(benchmark::kMillisecond);
