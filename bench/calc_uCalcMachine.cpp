// Running calculators: a checksum over the 65,536 bytes of buffer 1 with a
// host whose message processing is cheap, so the figure is the machine's.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "CalcFakeHost.h"
#include "calc/uCalcCompiler.h"
#include "calc/uCalcMachine.h"

namespace {

const char* const SumScript = "[Bench\\Sum]\r\nSIZE(200,100);\r\nFORM{\r\n LABEL(L0,\"\",0,10);\r\n}\r\n"
                              "VAR SUM, I;\r\n"
                              "ONAPPLY{\r\n SUM = 0;\r\n I = 0;\r\n"
                              " WHILE (I < 0x10000) {\r\n  SUM = SUM + @I;\r\n  I = I + 1;\r\n }\r\n"
                              " L0 = \"Sum \" + #D SUM;\r\n}\r\n";

void BM_SumBuffer(benchmark::State& state)
{
    auto image = std::make_unique<TCalcImage>();
    std::string error;
    int length = 0;
    std::vector<std::string> listing;
    if (!CompileCalculatorSource(SumScript, *image, error, length, listing)) {
        state.SkipWithError(error.c_str());
        return;
    }
    TCalcFakeHost host;
    host.Record = false;
    for (size_t i = 0; i < host.Buffer.size(); ++i)
        host.Buffer[i] = static_cast<uint8_t>(i * 31 + 7);
    long instructions = 0;
    for (auto _ : state) {
        host.Messages = 0;
        if (!RunCalculatorCode(*image, CalcEntryOnApply, host))
            state.SkipWithError("the calculator did not run");
        instructions = host.Messages;
        benchmark::DoNotOptimize(CalcRegisters()[52]);
    }
    state.counters["instructions"] = static_cast<double>(instructions);
    state.counters["ns_per_instruction"] =
        benchmark::Counter(static_cast<double>(instructions) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * 65536);
}
BENCHMARK(BM_SumBuffer)->Unit(benchmark::kMillisecond);

} // namespace
