// Compiling a large calculator: many controls, variables and procedures
// with expressions, conditions, loops and string building.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "calc/uCalcCompiler.h"

namespace {

std::string LargeCalculator()
{
    std::string s = "[Bench\\Large]\r\n! A generated calculator.\r\nSIZE(800,600);\r\nFORM{\r\n";
    for (int g = 0; g < 10; ++g) {
        s += "GROUP(\"Group " + std::to_string(g) + "\",5," + std::to_string(g * 55) + ",790,50){\r\n";
        for (int c = 0; c < 5; ++c) {
            const std::string n = std::to_string(g * 5 + c);
            s += " HEXDIGIT(H" + n + ",\"Value " + n + "\",60,20,70,8);\r\n";
            s += " LABEL(L" + n + ",\"\",300,20);\r\n";
        }
        s += "}\r\n";
    }
    s += "}\r\nVAR SUM, I, J, K;\r\n";
    for (int p = 0; p < 40; ++p) {
        const std::string n = std::to_string(p);
        s += "P" + n + "{\r\n SUM = 0;\r\n I = H" + std::to_string(p % 50) + ";\r\n";
        s += " WHILE (I < BUFSIZE) {\r\n  SUM = SUM + @I * 3 + (I & 0xFF) ^ (SUM >> 4);\r\n";
        s += "  IF (SUM >= 0x10000) { SUM = SUM % 65521; } ELSE { K = K + 1; }\r\n  I = I + 1;\r\n }\r\n";
        s += " L" + std::to_string(p % 50) + " = \"Sum \" + #W SUM + \" at \" + #I I + \"/\" + #D:SUM;\r\n";
        s += " L" + std::to_string(p % 50) + ".COLOR = 0x0000FF;\r\n}\r\n";
    }
    s += "ONCHANGE{\r\n";
    for (int p = 0; p < 40; ++p)
        s += " P" + std::to_string(p) + ";\r\n";
    s += "}\r\n";
    return s;
}

void BM_CompileLargeCalculator(benchmark::State& state)
{
    const std::string source = LargeCalculator();
    auto image = std::make_unique<TCalcImage>();
    std::vector<std::string> listing;
    std::string error;
    int length = 0;
    for (auto _ : state) {
        if (!CompileCalculatorSource(source, *image, error, length, listing))
            state.SkipWithError(error.c_str());
        benchmark::DoNotOptimize(image->data());
    }
    state.counters["source_bytes"] = static_cast<double>(source.size());
    state.counters["image_bytes"] = length;
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * source.size()));
}
BENCHMARK(BM_CompileLargeCalculator)->Unit(benchmark::kMillisecond);

} // namespace
