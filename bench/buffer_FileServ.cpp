// Loading and saving a 16 MiB buffer as Intel HEX, S-records and EEF, and
// its text dump. "Save" runs the writer and writes the file; "Text" only
// builds the file's text, piece by piece as the savers do.
#include "buffer/FileServ.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>
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

std::string Folder()
{
    static const std::string dir = [] {
        char tmpl[] = "/tmp/bench-fileserv-XXXXXX";
        return std::string(mkdtemp(tmpl));
    }();
    return dir;
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
    TDumpBuffer b;
    b.EditorMode = true;
    for (auto _ : state) {
        TDumpLoadInfo info;
        if (!LoadDumpFile(b, name, info))
            state.SkipWithError(info.Error.c_str());
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
BENCHMARK_CAPTURE(Save, Hex, ".hex")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Text, Hex, WriteHexText)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Load, S19, ".s19")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Save, S19, ".s19")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Text, S19, WriteS19Text)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Load, Eef, ".eef")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Save, Eef, ".eef")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Text, Eef, EefText)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Load, Raw, ".bin")->Unit(benchmark::kMillisecond);
BENCHMARK(TextDumpSave)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Text, TextDump, TextDumpOf)->Unit(benchmark::kMillisecond);
