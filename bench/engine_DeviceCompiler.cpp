// Compiling a 2,000-line [DEVICE] script.
#include <benchmark/benchmark.h>

#include <string>

#include "engine/uCompiler.h"

namespace {

// A module section of 2,000 lines whose code fits the 1,024 bytes: commented
// procedures of port, bit, delay and loop statements, definitions and
// variables, as module scripts are written.
TStringList CommentedScript()
{
    TStringList lines;
    lines.Add("[DEVICE]");
    lines.Add("VAR ADDR, DATA, COUNT, MASK;");
    lines.Add("EREG CS, 2, 1");
    for (int i = 0; lines.Count() < 300; ++i)
        lines.Add("DEFINE PIN_NAME_" + std::to_string(i) + " " + std::to_string(i % 8));
    for (int p = 0; lines.Count() < 1990; ++p) {
        lines.Add("");
        lines.Add("// Procedure " + std::to_string(p) + ": clocks one bit out and one bit in.");
        lines.Add("PROC STEP" + std::to_string(p) + " {");
        lines.Add("  // raise the clock, wait, sample the data line");
        lines.Add("  POUT.1 = 1;");
        lines.Add("  DELAY(2);");
        lines.Add("  // data line in");
        lines.Add("  DATA = PIN;");
        lines.Add("  COUNT++;");
        lines.Add("  // lower the clock again");
        for (int k = 0; k < 9; ++k)
            lines.Add("  // timing note " + std::to_string(k) + ": the chip needs 2 us between edges");
        lines.Add("  POUT.1 = 0;");
        lines.Add("  RETURN;");
        lines.Add("}");
    }
    while (lines.Count() < 2001)
        lines.Add("// end");
    return lines;
}

// 2,000 lines of code statements: far more code than the device holds, so
// the compile ends in the assembler's length check after a full parse and
// a full first pass.
TStringList StatementScript()
{
    TStringList lines;
    lines.Add("[DEVICE]");
    lines.Add("VAR A, B, C;");
    for (int p = 0; lines.Count() < 2001; ++p) {
        lines.Add("PROC P" + std::to_string(p) + " {");
        lines.Add("  WHILE (A < 100) {");
        lines.Add("    A = B + 5;");
        lines.Add("    IF (PIN.3 = 1) { C.2 = 1; } ELSE { C.2 = PIN.4; }");
        lines.Add("    @A = C;");
        lines.Add("    USB = C;");
        lines.Add("  }");
        lines.Add("}");
    }
    return lines;
}

void Run(benchmark::State& state, const TStringList& script, bool expectSuccess)
{
    TCompiler compiler;
    compiler.Lines.Assign(script);
    for (auto _ : state) {
        compiler.Compile();
        benchmark::DoNotOptimize(compiler.CodeLength);
    }
    if (compiler.Errors.Empty() != expectSuccess)
        state.SkipWithError(compiler.Errors.Empty() ? "compiled" : compiler.Errors[0].c_str());
    state.counters["code_bytes"] = compiler.CodeLength;
}

void BM_Compile2000CommentedLines(benchmark::State& state) { Run(state, CommentedScript(), true); }
void BM_Compile2000StatementLines(benchmark::State& state) { Run(state, StatementScript(), false); }

} // namespace

BENCHMARK(BM_Compile2000CommentedLines)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Compile2000StatementLines)->Unit(benchmark::kMicrosecond);
