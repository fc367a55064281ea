// A calculator that sums the 65,536 bytes of buffer 1, run through its
// window: the host processes the window's messages during the run, so this
// is the time a user waits for the result.
#include "bench/BenchApp.h"
#include "buffer/forms/HDump.h"
#include "calc/forms/Templ.h"
#include "calc/uCalcCompiler.h"
#include "calc/uCalcMachine.h"

#include <QApplication>
#include <QFrame>
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

const char* const SumScript = "[Bench\\Sum]\r\nSIZE(200,100);\r\nFORM{ LABEL(S,\"\",0,10); }\r\nVAR SUM, I;\r\n"
                              "ONAPPLY{ SUM = 0; I = 0;\r\n"
                              "  WHILE (I < BUFSIZE) { SUM = SUM + @I; I = I + 1; }\r\n"
                              "  S = \"Sum \" + #D SUM; }\r\n";

void BM_SumBuffer1InTheWindow(benchmark::State& state)
{
    App();
    THexDump view;
    view.SetSize(65536);
    for (size_t i = 0; i < 65536; ++i)
        view.Buffer().Data[i] = uint8_t(i * 7);
    CreateCalculatorWindow(nullptr, &view);
    std::string error;
    int length = 0;
    std::vector<std::string> listing;
    if (!CompileCalculatorSource(SumScript, CalcImage(), error, length, listing) ||
        !BuildCalculatorWindow(fmTemplate->Panel1, CalcImage(), false)) {
        state.SkipWithError("the calculator did not build");
        return;
    }
    for (auto _ : state) {
        RunCalculatorEvent(1);
        benchmark::DoNotOptimize(CalcRegisters()[CalcFirstVarRegister]);
    }
    FreeCalculatorWindow();
}
BENCHMARK(BM_SumBuffer1InTheWindow)->Unit(benchmark::kMillisecond);

} // namespace
