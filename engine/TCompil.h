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
    void EmitPair(uint8_t op, int first, int second);
    void RunPass();
    void DefineLabel(const std::string& token);

    // Operands of the line being assembled, read in turn; a reader that
    // finds something else fails the line.
    std::string NextOperand();
    bool ReadComma();
    bool ReadRegister(int& n);
    bool ReadPort(int& p);
    bool ReadNumber(int32_t& k);
    bool ResolveLabel(const std::string& target, int& address);

    // One emitter per operand class (classes with the same bytes share one).
    void AssembleOperands(const TDevCommand& command);
    void AssembleRegReg(uint8_t op);
    void AssembleRegWord(uint8_t op);
    void AssembleRegNumber(uint8_t op);
    void AssemblePortByte(uint8_t op);
    void AssembleLabel(uint8_t op);
    void AssemblePortReg(uint8_t op);
    void AssembleReg(uint8_t op);
    void AssembleByte(uint8_t op);
    void AssembleWord(uint8_t op);
    void AssembleTwoBytes(uint8_t op);
    void AssembleThreeBytes(uint8_t op);

    // Label name -> its index in Labels, first definition, for the second pass.
    std::unordered_map<std::string, int> labelIndex_;
    // The line being assembled, the position of its next operand (1-based)
    // and its mnemonic.
    const std::string* line_ = nullptr;
    int position_ = 1;
    std::string mnemonic_;
};
