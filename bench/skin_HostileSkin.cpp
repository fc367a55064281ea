// Loading skins built to stall a loader: a long parent chain, the same
// chain closed into a loop, and many small pictures that claim a large
// size and break at their first row. Each iteration is one whole load of a
// packed skin held in memory; a refused load counts like a finished one.
#include "skin/acSkinLoader.h"

#include "../tests/skin/PngBuilder.h"
#include "../tests/skin/SkinPacker.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int kSections = 3000;
constexpr int kPictures = 500;

std::string SectionName(int i)
{
    return "SECTION" + std::to_string(i);
}

// Every section names the next as its parent; with `loop` the last names
// the first.
std::string ChainOptions(bool loop)
{
    std::string text = "[GLOBALINFO]\r\nVERSION=7\r\n";
    for (int i = 0; i < kSections; ++i)
        text += "[" + SectionName(i) + "]\r\nPARENTCLASS=" + SectionName(i + 1 < kSections || !loop ? i + 1 : 0)
                + "\r\n";
    return text;
}

// A picture of the largest size a bitmap takes whose data fails to inflate.
std::string BrokenPng()
{
    const std::string bad("\x78\x9C\xFF\xFF\xFF\xFF", 6);
    return pngtest::kSignature + pngtest::Chunk("IHDR", pngtest::IHDR(8192, 8192, 8, 6))
           + pngtest::Chunk("IDAT", bad) + pngtest::Chunk("IEND", "");
}

std::string BrokenPictures(std::string& options)
{
    std::vector<TPackEntry> entries;
    options = "[GLOBALINFO]\r\nVERSION=7\r\n";
    const std::string png = BrokenPng();
    for (int i = 0; i < kPictures; ++i) {
        const std::string name = "P" + std::to_string(i) + ".PNG";
        options += "[" + SectionName(i) + "]\r\nGLYPH=!" + name + "!3!1!2\r\n";
        entries.push_back({name, png});
    }
    entries.insert(entries.begin(), {"Options.dat", options});
    return PackSkin(entries);
}

// `text` is the size of the options text.
void Load(benchmark::State& state, const std::string& bytes, size_t text)
{
    state.counters["optionsKB"] = double(text) / 1024;
    for (auto _ : state) {
        TacSkinContent skin;
        std::string error;
        benchmark::DoNotOptimize(LoadPackedSkin(bytes, {}, "", skin, error));
    }
}

void BM_ParentChain(benchmark::State& state)
{
    static const std::string text = ChainOptions(false), bytes = PackSkin({{"Options.dat", text}});
    Load(state, bytes, text.size());
}

void BM_ParentLoop(benchmark::State& state)
{
    static const std::string text = ChainOptions(true), bytes = PackSkin({{"Options.dat", text}});
    Load(state, bytes, text.size());
}

void BM_BrokenPictures(benchmark::State& state)
{
    static std::string text;
    static const std::string bytes = BrokenPictures(text);
    Load(state, bytes, text.size());
}

} // namespace

BENCHMARK(BM_ParentChain)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParentLoop)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BrokenPictures)->Unit(benchmark::kMillisecond);
