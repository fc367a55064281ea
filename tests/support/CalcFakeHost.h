#pragma once
// A calculator host for tests, benchmarks and fuzzing: buffer 1 as a byte
// vector, controls as plain values, and a record of what the run did.
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "calc/uCalcMachine.h"

class TCalcFakeHost : public TCalcHost {
public:
    std::vector<uint8_t> Buffer = std::vector<uint8_t>(65536);
    int64_t Size = 65536;
    int64_t SelStart = -1;
    int64_t SelEnd = -1;
    int64_t Cursor = 0;
    std::map<int, int64_t> Readable; // controls R=C finds
    // Everything the run did outside reads, in order: "@<addr>=<value>",
    // "C=R <i> <v>", "C=D <i> <v>", "CP <i> <property> <v>", "L <i> <text>".
    std::vector<std::string> Log;
    std::map<int, std::string> Captions;
    long Messages = 0;
    // Called from ProcessMessages with the number of calls so far.
    std::function<void(long)> OnMessages;
    // A ceiling that only catches a run that would hang the test.
    long StopAfter = 50'000'000;
    bool StopReached = false;
    // Host calls with addresses outside 0..65535 (the machine must not make any).
    int BadAddresses = 0;
    // Off: nothing goes into Log (long runs, benchmarks, fuzzing).
    bool Record = true;

    uint8_t GetMainBufferByte(uint32_t address) override
    {
        if (address >= Buffer.size()) {
            ++BadAddresses;
            return 0;
        }
        return Buffer[address];
    }
    void SetMainBufferByte(uint32_t address, uint8_t value) override
    {
        if (address >= Buffer.size()) {
            ++BadAddresses;
            return;
        }
        Buffer[address] = value;
        if (Record)
            Log.push_back("@" + std::to_string(address) + "=" + std::to_string(value));
    }
    int64_t MainBufferSize() override { return Size; }
    int64_t MainSelStart() override { return SelStart; }
    int64_t MainSelEnd() override { return SelEnd; }
    int64_t MainCursorAdr() override { return Cursor; }
    bool ReadControl(int index, int64_t& value) override
    {
        const auto it = Readable.find(index);
        if (it == Readable.end())
            return false;
        value = it->second;
        return true;
    }
    void SetControlFromRegister(int index, uint32_t value) override
    {
        if (Record)
            Log.push_back("C=R " + std::to_string(index) + " " + std::to_string(value));
    }
    void SetControlFromConstant(int index, uint32_t value) override
    {
        if (Record)
            Log.push_back("C=D " + std::to_string(index) + " " + std::to_string(value));
    }
    void SetLabelProperty(int index, int property, uint32_t value) override
    {
        if (Record)
            Log.push_back("CP " + std::to_string(index) + " " + std::to_string(property) + " " + std::to_string(value));
    }
    void SetLabelCaption(int index, const std::string& text) override
    {
        Captions[index] = text;
        if (Record)
            Log.push_back("L " + std::to_string(index) + " " + text);
    }
    void ProcessMessages() override
    {
        ++Messages;
        if (OnMessages)
            OnMessages(Messages);
        if (Messages >= StopAfter) {
            StopReached = true;
            StopCalculatorRun();
        }
    }
};
