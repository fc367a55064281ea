// Device scripts and assembly text from anywhere: the compiler and the
// assembler must neither crash nor hang, and never report code they could
// not build.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/AsmTypes.h"
#include "engine/TCompil.h"
#include "engine/uCompiler.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);

    TCompiler compiler;
    compiler.Lines.Add("[DEVICE]");
    TStringList body;
    body.SetText(text);
    for (const std::string& line : body)
        compiler.Lines.Add(line);
    // Twice on one object: counters and lists carry over between compiles.
    for (int round = 0; round < 2; ++round) {
        compiler.Compile();
        if (compiler.CodeLength < 0 || compiler.CodeLength > MaxDeviceCodeLength)
            std::abort();
        if (compiler.Errors.Empty() && compiler.ProcAddresses.Count() % 2 != 0)
            std::abort();
        // Every procedure the host may call starts inside the code.
        for (int i = 1; compiler.Errors.Empty() && i < compiler.ProcAddresses.Count(); i += 2) {
            const int address = std::atoi(compiler.ProcAddresses[i].c_str());
            if (address < 0 || address >= compiler.CodeLength)
                std::abort();
        }
    }

    TAsmCompiler assembler;
    assembler.Source.Assign(body);
    if (assembler.Assemble() && assembler.CodeLength > MaxDeviceCodeLength)
        std::abort();
    return 0;
}
