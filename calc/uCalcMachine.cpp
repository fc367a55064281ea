#include "calc/uCalcMachine.h"

#include <algorithm>
#include <chrono>
#include <memory>

#include "calc/uCalcMachineRun.h"

namespace {

int64_t registers_[CalcRegisterCount] = {};
bool running_ = false;
bool stopRequested_ = false;

// One copy serves every run, since runs never nest.
TCalcCode& PrivateCode()
{
    static const auto code = std::make_unique<TCalcCode>();
    return *code;
}

// Marks the run as going on for as long as it lives, whichever way it ends.
class TRunningMark {
public:
    TRunningMark()
    {
        running_ = true;
        stopRequested_ = false;
    }
    ~TRunningMark() { running_ = false; }
    TRunningMark(const TRunningMark&) = delete;
    TRunningMark& operator=(const TRunningMark&) = delete;
};

void SetEntryRegisters(TCalcHost& host)
{
    registers_[CalcRegSelStart] = host.MainSelStart();
    registers_[CalcRegSelEnd] = host.MainSelEnd();
    registers_[CalcRegBufSize] = host.MainBufferSize();
    registers_[CalcRegCursorAdr] = host.MainCursorAdr();
}

} // namespace

int64_t* CalcRegisters()
{
    return registers_;
}

void ResetCalcRegisters()
{
    std::fill(std::begin(registers_), std::end(registers_), 0);
}

bool CalculatorRunning()
{
    return running_;
}

void StopCalculatorRun()
{
    if (running_)
        stopRequested_ = true;
}

bool RunCalculatorCode(const TCalcImage& image, int entry, TCalcHost& host)
{
    if (running_ || (entry != CalcEntryOnShow && entry != CalcEntryOnApply && entry != CalcEntryOnChange))
        return false;
    const auto start =
        static_cast<uint16_t>(image[static_cast<size_t>(entry)] | image[static_cast<size_t>(entry) + 1] << 8);
    if (start == CalcNoEntry)
        return false;
    const TRunningMark mark;
    TCalcCode& code = PrivateCode();
    std::copy(image.begin(), image.end(), code.begin());
    std::fill(code.begin() + CalcImageSize, code.end(), 0xFF);

    TCalcRun run(code, host, registers_, start);
    run.Random.seed(static_cast<uint64_t>(std::chrono::system_clock::now().time_since_epoch().count()));
    SetEntryRegisters(host);
    // After a stop the host is not called again: the window that asked for it
    // may be going away.
    while (!stopRequested_) {
        host.ProcessMessages();
        if (stopRequested_ || !CalcStep(run))
            break;
    }
    return true;
}
