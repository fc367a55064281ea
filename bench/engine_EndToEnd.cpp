// Read of a simulated 24C512 and of a 2 MiB SPI flash through the whole road
// of a device operation (run routine, host machine, link, device code on the
// virtual programmer's lines, chip), and the same flash read with the host
// machine left out and with the link left out, to show where the time goes.
#include "engine/CompAndLoad.h"
#include "engine/Engine.h"
#include "engine/Global.h"
#include "engine/Modules.h"
#include "engine/uExecuteRun.h"
#include "engine/uHost.h"
#include "buffer/HDumpBuffer.h"
#include "platform/Paths.h"
#include "vprog/Socket.h"
#include "vprog/VirtualUsb.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <chrono>

namespace {

class TQuietView : public TExecuteView {
public:
    TExecuteRun Run{*this};
    void ShowWindow() override {}
    void HideWindow() override {}
    bool ShowPinTester(int16_t, uint8_t, const std::string&) override { return false; }
    void ShowCompilerErrors(const TStringList&) override {}
    void Idle() override
    {
        if (Run.ButtonCaption == Run.CloseText)
            Run.Tag = -1;
    }
};

// The shipped data folder is the program folder: modules and signatures.
void SetUpProgram()
{
    static int argc = 1;
    static char name[] = "bench";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv); // the run pumps messages as in the program
    SetProgramFolder(TARKU_DATA);
    ChipList.Clear();
    ModuleFileList.Clear();
    for (const char* module : {"24C512.chl", "25F16.chl"}) {
        TStringList locations;
        ReadModuleLocation(NativePath(std::string("scripts\\") + module), locations);
        for (const std::string& entry : locations) {
            ChipList.Add(entry);
            ModuleFileList.Add(module);
        }
    }
    PowerOnDelay = 0;
    UsbTimeOut = 200;
    WorkParam = WorkParamDefault & ~wpPinTestBeforeRun;
}

struct TRoad {
    TVirtualProgrammer programmer;
    TQuietView view;
    TDumpBuffer buffer;
    TSimChip* chip = nullptr;

    TRoad(const char* chipName, const std::string& entry, int32_t bufferSize)
    {
        SetUpProgram();
        SetUsbTransport(std::make_unique<TVirtualUsb>(programmer));
        TSocketSetup setup;
        setup.Chip = chipName;
        setup.Image = "/dev/null"; // reads as erased, never written
        InsertChip(programmer.Lines(), setup, &chip);
        CurrentChip = entry;
        buffer.SetSize(bufferSize);
        view.Run.Buffer1 = &buffer;
    }
    ~TRoad() { SetUsbTransport(nullptr); }

    void Parameters(std::initializer_list<std::pair<const char*, uint32_t>> controls)
    {
        ModuleParameters.Clear();
        for (const auto& [name, value] : controls)
            ModuleParameters.AddObject(name, value);
        for (const char* name : {"ActiveBuffer", "WordMode1", "WordMode2", "GlobalVerify"})
            ModuleParameters.AddObject(name, 0);
        for (const char* name : {"ForceCloseAfterWrite", "ForceCloseAfterRead", "ForceCloseAfterVerify"})
            ModuleParameters.AddObject(name, 1);
    }
};

void Report(benchmark::State& state, TRoad& road, uint64_t instructions0, double bytes)
{
    state.counters["device_instr_per_byte"] =
        static_cast<double>(road.programmer.Cpu().InstructionCount() - instructions0) / (bytes * state.iterations());
    state.SetBytesProcessed(static_cast<int64_t>(bytes) * state.iterations());
}

// Supply voltage indexes: 5.0 V for the EEPROMs, 3.3 V for the flash.
constexpr int Volts50 = 8, Volts33 = 2;

void WholeRoad(benchmark::State& state, const char* chip, const char* entry, int32_t size, int voltageIndex,
               std::initializer_list<std::pair<const char*, uint32_t>> controls)
{
    TRoad road(chip, entry, size);
    road.Parameters(controls);
    road.view.Run.RunModuleProcedure("&Read", voltageIndex); // compile and upload outside the timing
    const uint64_t instructions0 = road.programmer.Cpu().InstructionCount();
    for (auto _ : state) {
        road.Parameters(controls);
        road.view.Run.RunModuleProcedure("&Read", voltageIndex);
        if (road.view.Run.ExitValue != 0x7FFFFFFF)
            state.SkipWithError("the read failed");
    }
    Report(state, road, instructions0, size);
}

void BM_Read24C512(benchmark::State& state)
{
    WholeRoad(state, "24C512", "Serial EEPROM\\I2C 16 bit address\\24C512", 65536, Volts50,
              {{"VERIFYWRITE", 0}});
}
BENCHMARK(BM_Read24C512)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Read25F16(benchmark::State& state)
{
    WholeRoad(state, "25F16", "Serial Flash\\SPI\\25F16", 0x200000, Volts33, {{"VERIFYWRITE", 0}});
}
BENCHMARK(BM_Read25F16)->Unit(benchmark::kMillisecond)->UseRealTime();

// The flash read without the host machine: the module's device procedure
// started and its bytes taken through the link, as the script would.
uint16_t DeviceProcedure(const std::string& name)
{
    const TStringList& p = HostMachine->Compiler.ProcAddresses;
    for (int i = 0; i + 1 < p.Count(); i += 2)
        if (p[i] == name)
            return static_cast<uint16_t>(std::stoi(p[i + 1]));
    return 0;
}

void BM_Read25F16LinkAndDevice(benchmark::State& state)
{
    TRoad road("25F16", "Serial Flash\\SPI\\25F16", 0x200000);
    road.Parameters({{"VERIFYWRITE", 0}});
    road.view.Run.RunModuleProcedure("&Read", Volts33); // compiles and uploads the module
    const uint16_t rddata = DeviceProcedure("RDDATA");
    const uint64_t instructions0 = road.programmer.Cpu().InstructionCount();
    for (auto _ : state) {
        OpenDevice();
        SetDevicePower(0x80, 0x08, Volts33);
        RunDeviceProcedure(rddata);
        for (uint8_t b : {0, 0, 0, 0x00, 0x20})
            DeviceWriteByte(b);
        uint8_t sum = 0;
        for (int i = 0; i < 0x200000; ++i) {
            uint8_t b = 0;
            DeviceReadByte(b);
            sum = static_cast<uint8_t>(sum + b);
        }
        benchmark::DoNotOptimize(sum);
        DevicePowerOff();
        CloseDevice();
    }
    Report(state, road, instructions0, 0x200000);
}
BENCHMARK(BM_Read25F16LinkAndDevice)->Unit(benchmark::kMillisecond)->UseRealTime();

// The device procedure alone: the programmer's pipes read in large pieces,
// no link routines, no host machine.
void BM_Read25F16DeviceOnly(benchmark::State& state)
{
    TRoad road("25F16", "Serial Flash\\SPI\\25F16", 0x200000);
    road.Parameters({{"VERIFYWRITE", 0}});
    road.view.Run.RunModuleProcedure("&Read", Volts33);
    const uint16_t rddata = DeviceProcedure("RDDATA");
    const uint64_t instructions0 = road.programmer.Cpu().InstructionCount();
    TVirtualProgrammer& vp = road.programmer;
    std::vector<uint8_t> piece(65536);
    for (auto _ : state) {
        const uint8_t power[] = {2, 13, 1, 0, 4, 0x08, 3, 0x80}; // 3.3 V
        vp.Write(power, sizeof power);
        const uint8_t start[] = {9, 0, static_cast<uint8_t>(rddata >> 8), static_cast<uint8_t>(rddata), 0, 0, 0, 0x00, 0x20};
        vp.Write(start, sizeof start);
        size_t got = 0;
        uint8_t ack[2];
        vp.Read(ack, 2); // "o", "U"
        while (got < 0x200000) {
            const size_t n = vp.Read(piece.data(), piece.size());
            if (n == 0)
                break;
            got += n;
        }
        if (got != 0x200000)
            state.SkipWithError("short read");
        const uint8_t off[] = {1, 1};
        vp.Write(off, sizeof off);
    }
    Report(state, road, instructions0, 0x200000);
}
BENCHMARK(BM_Read25F16DeviceOnly)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
