#pragma once
// Two-pass assembler of device assembly text (instructions of AsmTypes.h).
#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>

#include "engine/AsmTypes.h"
#include "platform/StringList.h"

class TAsmCompiler {
public:
    TStringList Labels;      // flat pairs: upper-case name, address as decimal text
    int LineIndex = 0;       // index of the Source line being assembled
    int Pass = 0;            // 0 first pass, 1 second pass
    int Address = 0;         // address of the next code byte
    std::array<uint8_t, 1028> Code{};
    TStringList Source;      // assembly text, filled by the caller
    TStringList Listing;     // pass header, listing lines, error line
    bool HasError = false;
    int CodeLength = 0;      // Address after a successful second pass

    // Index in Source of the first line that failed in the last pass run,
    // -1 when none, and what was wrong with it.
    int ErrorLine = -1;
    std::string ErrorMessage;

    // True when both passes ran without error.
    bool Assemble();
    // Assembles one line at Address; sets HasError on failure.
    void AssembleLine(const std::string& line);
    // Next operand token of `line` from `position` (1-based); empty at the end.
    static std::string NextToken(const std::string& line, int& position);

private:
    void Fail(const std::string& message);
    void Emit(uint8_t b);
    void RunPass();

    // Label name -> its index in Labels, first definition, for the second pass.
    std::unordered_map<std::string, int> labelIndex_;
};
