// The link to the in-process virtual programmer: a stream of bytes a device
// procedure sends, the device interpreter alone, and a full code upload.
#include "vprog/VirtualUsb.h"

#include "engine/Engine.h"
#include "engine/Global.h"
#include "engine/TCompil.h"
#include "engine/uCompiler.h"

#include <benchmark/benchmark.h>

namespace {

const TCompiler& StreamDevice()
{
    static const TCompiler compiled = [] {
        TCompiler c;
        for (const char* line : {"[DEVICE]", "VAR A;", "PROC STREAM {", "  WHILE {", "    USB = A;", "    A++;",
                                 "  }", "}"})
            c.Lines.Add(line);
        c.Compile();
        return c;
    }();
    return compiled;
}

void BM_DeviceReadByteStream(benchmark::State& state)
{
    TVirtualProgrammer vp;
    SetUsbTransport(std::make_unique<TVirtualUsb>(vp));
    if (!OpenDevice() || UploadCode(StreamDevice().Code, StreamDevice().CodeLength) != 0 ||
        !RunDeviceProcedure(0)) {
        state.SkipWithError("device set-up failed");
        return;
    }
    constexpr int Chunk = 65536;
    uint8_t expected = 0;
    for (auto _ : state) {
        for (int i = 0; i < Chunk; ++i) {
            uint8_t b;
            if (DeviceReadByte(b) != 0 || b != expected++) {
                state.SkipWithError("stream broken");
                return;
            }
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * Chunk);
    SetUsbTransport(nullptr);
}
BENCHMARK(BM_DeviceReadByteStream);

void BM_Interpreter(benchmark::State& state)
{
    // 100 x 65535 rounds of a three-instruction loop.
    TAsmCompiler asmc;
    for (const char* line : {"LDI R3,100", "OUTER:", "LDI R2,0", "INNER:", "INC 199", "CMPI R2,$FFFF", "JNZ INNER",
                             "DEC 201", "JNZ OUTER", "RET"})
        asmc.Source.Add(line);
    asmc.Assemble();
    TLineModel lines;
    TByteQueue input, output;
    TDeviceCpu cpu(lines, input, output);
    cpu.LoadCode(asmc.Code.data(), static_cast<size_t>(asmc.CodeLength));
    cpu.MaxRunLength = UINT64_MAX;
    const uint64_t before = cpu.InstructionCount();
    for (auto _ : state) {
        cpu.Start(0);
        if (cpu.Run(1) != TDeviceStop::Ended) {
            state.SkipWithError(cpu.FaultText().c_str());
            return;
        }
    }
    state.SetItemsProcessed(static_cast<int64_t>(cpu.InstructionCount() - before));
    state.counters["instructions/s"] =
        benchmark::Counter(static_cast<double>(cpu.InstructionCount() - before), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Interpreter)->Unit(benchmark::kMillisecond);

void BM_Upload2048(benchmark::State& state)
{
    TVirtualProgrammer vp;
    SetUsbTransport(std::make_unique<TVirtualUsb>(vp));
    OpenDevice();
    std::vector<uint8_t> image(DeviceCodeSize);
    for (size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<uint8_t>(i * 7);
    for (auto _ : state)
        if (UploadCode(image, DeviceCodeSize) != 0) {
            state.SkipWithError("upload failed");
            return;
        }
    SetUsbTransport(nullptr);
}
BENCHMARK(BM_Upload2048)->Unit(benchmark::kMicrosecond);

} // namespace
