#include "engine/Engine.h"
#include "engine/uAsmMnemonics.h"
#include "engine/uFindSignature.h"
#include "engine/uHost.h"
#include "platform/Cp1251.h"
#include "platform/Pump.h"
#include "platform/SysUtils.h"

#include <utility>

int TNameTable::IndexOf(const std::string& name) const
{
    const auto it = index_.find(name);
    return it == index_.end() ? -1 : it->second;
}

int TNameTable::Add(const std::string& name, int32_t number, int32_t size)
{
    entries_.push_back({name, number, size});
    index_.emplace(name, Count() - 1);
    return Count() - 1;
}

void TNameTable::Set(int index, int32_t number, int32_t size)
{
    auto& e = entries_.at(static_cast<size_t>(index));
    e.Number = number;
    e.Size = size;
}

void TNameTable::Delete(int index)
{
    if (index < 0 || index >= Count())
        return;
    entries_.erase(entries_.begin() + index);
    Reindex();
}

void TNameTable::Truncate(int count)
{
    if (count < 0 || count >= Count())
        return;
    entries_.resize(static_cast<size_t>(count));
    Reindex();
}

void TNameTable::Clear()
{
    entries_.clear();
    index_.clear();
}

void TNameTable::Reindex()
{
    index_.clear();
    for (int i = 0; i < Count(); ++i)
        index_.emplace(entries_[static_cast<size_t>(i)].Name, i);
}

THost::THost()
    : Code(CodeWords, 0), Vars(VarWords, 0), ArrayStore(ArrayWords, 0), DelayWait([](int ms) { PumpingSleep(ms); })
{
}

bool THost::SelectProcedure(const std::string& name)
{
    const int i = Procedures.IndexOf("PROC" + AnsiUpperCase(name));
    if (i < 0)
        return false;
    PC = Procedures[i].Number;
    SP = 0;
    halted_ = false;
    RunError.clear();
    return true;
}

int THost::Fault(std::string message)
{
    halted_ = true;
    RunError = std::move(message);
    return StepFault;
}

int THost::FaultAddress()
{
    return Fault("Host program stopped: address " + IntToStr(PC) + " is outside the program.");
}

int THost::FaultVariable(uint32_t index)
{
    return Fault("Host program stopped: variable " + IntToStr(index) + " does not exist (address " + IntToStr(PC - 2) +
                 ").");
}

int THost::FaultCallDepth()
{
    return Fault("Host program stopped: calls nested deeper than " + IntToStr(MaxCallDepth) + " (address " +
                 IntToStr(PC - 2) + ").");
}

int THost::FaultArrayIndex()
{
    return Fault("Host program stopped: array index " + IntToStr(APtr) + " is outside the arrays (address " +
                 IntToStr(PC - 2) + ").");
}

int THost::FaultOpcode(uint32_t op)
{
    return Fault("Host program stopped: unknown instruction " + IntToStr(op) + " at address " + IntToStr(PC - 2) + ".");
}

void THost::Delay(uint32_t count)
{
    int32_t ms = static_cast<int32_t>(count);
    if (ms <= 0 || !DelayWait)
        return;
    if (!StopWaiting) {
        DelayWait(ms);
        return;
    }
    for (; ms > 0 && !StopWaiting(); --ms)
        DelayWait(1);
}

void THost::BeginUsbBlock() { BeginBlock(); }

int THost::EndUsbBlock() { return EndBlock() ? StepContinue : Fault(UsbLinkLostText); }

uint32_t THost::FindSignature(uint32_t signature)
{
    std::string chipEntry;
    return FindModuleBySignature(static_cast<int32_t>(signature), chipEntry) ? 1 : 0;
}

