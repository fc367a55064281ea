// TEMPORARY stand-in for the calculator machine while it is being written
// on its own branch: runs nothing, so the window can be built and tested.
// Goes as soon as the machine is merged.
#include "calc/uCalcMachine.h"

#include <cstdlib>

namespace {
int64_t Registers[CalcRegisterCount];
bool Running = false;
bool Stop = false;
} // namespace

int64_t* CalcRegisters() { return Registers; }
void ResetCalcRegisters()
{
    for (int64_t& r : Registers)
        r = 0;
}

bool RunCalculatorCode(const TCalcImage& image, int entry, TCalcHost& host)
{
    const int offset = image[entry] | image[entry + 1] << 8;
    if (offset == CalcNoEntry || Running)
        return false;
    Running = true;
    Stop = false;
    host.ProcessMessages();
    Running = false;
    return true;
}

bool CalculatorRunning() { return Running; }
void StopCalculatorRun() { Stop = Running; }

bool CalcParseDecimalField(const std::string& text, int64_t& value)
{
    char* end = nullptr;
    const long long v = std::strtoll(text.c_str(), &end, 10);
    const bool ok = !text.empty() && *end == 0 && v >= INT32_MIN && v <= UINT32_MAX;
    value = ok ? int64_t(int32_t(uint32_t(v))) : 1;
    return ok;
}

bool CalcParseHexField(const std::string& text, int64_t& value)
{
    char* end = nullptr;
    const unsigned long long v = std::strtoull(text.c_str(), &end, 16);
    const bool ok = !text.empty() && *end == 0 && v <= UINT32_MAX;
    value = ok ? int64_t(int32_t(uint32_t(v))) : 0x100000000;
    return ok;
}
