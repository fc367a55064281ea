// The machine on compiled random scripts and on raw code words: every run
// ends within its step budget without touching memory outside the machine.
#include "engine/uHost.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace {

void RunAll(THost& host)
{
    for (int p = 0; p < host.Procedures.Count(); ++p) {
        host.PC = host.Procedures[p].Number;
        host.SP = 0;
        host.SelectProcedure(host.Procedures[p].Name.substr(4));
        for (int i = 0; i < 20000; ++i)
            if (host.Step() != THost::StepContinue)
                break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static THost host = [] {
        THost h;
        h.DelayWait = [](int) {};
        h.OnInPort = [](uint32_t port, uint32_t& v) { v = port * 3 + 1; };
        h.OnBufferRead = [](int, uint32_t address, uint32_t& v) { v = address & 0xFF; };
        h.OnSelectRead = [](int, uint32_t address, uint32_t& v) { v = address & 1; };
        return h;
    }();
    if (size > 0 && data[0] == 0xFF) {
        // Raw code: words straight from the input.
        const size_t words = std::min<size_t>((size - 1) / 4, THost::CodeWords);
        std::memcpy(host.Code.data(), data + 1, words * 4);
        host.CodeLength = static_cast<int32_t>(words);
        host.Procedures.Clear();
        host.Procedures.Add("PROCRAW", 0);
        RunAll(host);
        return 0;
    }
    host.Source.SetText("[HOST]\n" + std::string(reinterpret_cast<const char*>(data), size));
    host.CompileSource();
    if (host.Errors.Empty())
        RunAll(host);
    return 0;
}
