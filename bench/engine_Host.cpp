// Host machine speed: raw stepping, the in-port to buffer loop of a chip
// read, the compile of a large script and of a script with very many
// procedures.
#include "engine/uHost.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

void Compile(THost& h, const std::string& text)
{
    h.Source.SetText(text);
    h.CompileSource();
    if (!h.Errors.Empty())
        throw std::runtime_error(h.Errors[0]);
}

// Arithmetic and jumps only, callbacks empty; counts host instructions.
void BM_StepArithmeticLoop(benchmark::State& state)
{
    THost h;
    Compile(h, "[HOST]\nPROC LOOP {\nVAR I, X;\nWHILE {\nI++;\nX = I + 3;\nX = X ^ 5;\nX = X << 1;\n"
               "IF (X = 1) { BREAK; }\n}\n}\n");
    h.SelectProcedure("LOOP");
    int64_t steps = 0;
    for (auto _ : state) {
        int result = 0;
        for (int i = 0; i < 10000; ++i)
            result |= h.Step();
        if (result != THost::StepContinue)
            state.SkipWithError("the loop ended");
        steps += 10000;
    }
    state.counters["instr/s"] = benchmark::Counter(static_cast<double>(steps), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_StepArithmeticLoop);

// FBUF[I] = USB for a whole buffer, as a chip read does it; counts bytes.
void BM_InPortToBufferLoop(benchmark::State& state)
{
    THost h;
    Compile(h, "[HOST]\nPROC READ {\nVAR I;\nI = 0;\nWHILE (I < 65536) {\nFBUF[I] = USB;\nI++;\n}\n}\n");
    std::vector<uint8_t> buffer(65536);
    uint8_t next = 0;
    h.OnInPort = [&](uint32_t, uint32_t& v) { v = next++; };
    h.OnBufferWrite = [&](int, uint32_t address, uint32_t v) { buffer[address & 0xFFFF] = static_cast<uint8_t>(v); };
    int64_t bytes = 0;
    for (auto _ : state) {
        h.SelectProcedure("READ");
        while (h.Step() == THost::StepContinue) {
        }
        bytes += 65536;
    }
    benchmark::DoNotOptimize(buffer.data());
    state.SetBytesProcessed(bytes);
}
BENCHMARK(BM_InPortToBufferLoop);

// A 2,000-line [HOST] section of typical statements.
void BM_Compile2000Lines(benchmark::State& state)
{
    std::string text = "[HOST]\nDIM TABLE[256];\n";
    int lines = 2;
    for (int p = 0; lines < 2000; ++p) {
        text += "PROC P" + std::to_string(p) + "(A, B) {\n  VAR I, X;\n  I = 0;\n";
        text += "  WHILE (I < 100) {\n    X = FBUF[I];\n    X = X + A;\n    TABLE[I] = X;\n";
        text += "    IF (X.3 = 1) {\n      PRINT(\"%D\", X);\n    } ELSE {\n      EBUF[I] = B;\n    }\n";
        text += "    I++;\n  }\n  RETURN(X);\n}\n";
        text += "// ----------------------------------------------------------\n"
                "// The next procedure works on the following block of the\n"
                "// buffer: the table is refilled from the buffer cells and\n"
                "// the cells whose bit 3 is set are printed, the others are\n"
                "// copied from B into the second buffer.\n"
                "// ----------------------------------------------------------\n\n\n";
        lines += 25;
    }
    THost h;
    for (auto _ : state) {
        Compile(h, text);
        benchmark::DoNotOptimize(h.CodeLength);
    }
    state.counters["lines"] = lines;
}
BENCHMARK(BM_Compile2000Lines)->Unit(benchmark::kMillisecond);

// 100,000 PROC lines: every name passes the pre-scan's duplicate check
// before the parse stops at the machine's instruction limit.
void BM_Compile100000ProcLines(benchmark::State& state)
{
    constexpr int procedures = 100000;
    std::string text = "[HOST]\n";
    for (int p = 0; p < procedures; ++p)
        text += "PROC P" + std::to_string(p) + " { }\n";
    THost h;
    for (auto _ : state) {
        h.Source.SetText(text);
        h.CompileSource();
        if (h.Errors.Count() != 1 || h.Errors[0].find("Program is too big") == std::string::npos)
            state.SkipWithError("the compile did not stop at the instruction limit");
    }
    state.counters["procedures"] = procedures;
}
BENCHMARK(BM_Compile100000ProcLines)->Unit(benchmark::kMillisecond);

} // namespace
