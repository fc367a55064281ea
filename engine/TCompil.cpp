#include "engine/TCompil.h"

#include <optional>
#include <unordered_map>

#include "platform/Cp1251.h"
#include "platform/SysUtils.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// A number operand: decimal or "$" hex; negative values wrap into the field.
std::optional<int32_t> NumberOperand(const std::string& token)
{
    if (token.empty())
        return std::nullopt;
    return TryStrToInt(token);
}

} // namespace

std::string TAsmCompiler::NextToken(const std::string& line, int& position)
{
    const int length = static_cast<int>(line.size());
    int i = position - 1;
    while (i < length && IsBlank(line[static_cast<size_t>(i)]))
        ++i;
    if (i >= length) {
        position = length + 1;
        return {};
    }
    const int start = i;
    const char first = line[static_cast<size_t>(i)];
    if (first == ',') {
        ++i;
    } else if (first == '"') {
        ++i;
        while (i < length && line[static_cast<size_t>(i)] != '"')
            ++i;
        if (i < length)
            ++i;
    } else {
        while (i < length) {
            const char c = line[static_cast<size_t>(i)];
            if (IsBlank(c) || c == ',' || c == ';')
                break;
            ++i;
        }
    }
    position = i + 1;
    return line.substr(static_cast<size_t>(start), static_cast<size_t>(i - start));
}

void TAsmCompiler::Fail(const std::string& message)
{
    if (!HasError) {
        ErrorLine = LineIndex;
        ErrorMessage = message;
    }
    HasError = true;
}

void TAsmCompiler::Emit(uint8_t b)
{
    // Jumps reach 10 bits only; nothing is written past the image either.
    if (Address >= MaxDeviceCodeLength) {
        Fail("Device code exceeds " + IntToStr(MaxDeviceCodeLength) + " bytes.");
        return;
    }
    Code[static_cast<size_t>(Address)] = b;
    ++Address;
}

void TAsmCompiler::EmitPair(uint8_t op, int first, int second)
{
    // Two registers' worth of bits: the first spills two bits into the opcode.
    Emit(static_cast<uint8_t>(op | ((first >> 3) & 3)));
    Emit(static_cast<uint8_t>(((first << 5) | (second & 31)) & 0xFF));
}

std::string TAsmCompiler::NextOperand() { return NextToken(*line_, position_); }

bool TAsmCompiler::ReadComma()
{
    if (NextOperand() != ",") {
        Fail("Comma expected after an operand of " + mnemonic_ + ".");
        return false;
    }
    return true;
}

bool TAsmCompiler::ReadRegister(int& n)
{
    const std::string t = NextOperand();
    // "R" and the register number in decimal.
    int v = -1;
    if (t.size() >= 2 && t.size() <= 3 && t[0] == 'R') {
        v = 0;
        for (size_t i = 1; i < t.size() && v >= 0; ++i)
            v = t[i] >= '0' && t[i] <= '9' ? v * 10 + (t[i] - '0') : -1;
    }
    if (v < 0 || v > 31) {
        Fail("Register expected, but \"" + t + "\" found.");
        return false;
    }
    n = v;
    return true;
}

bool TAsmCompiler::ReadPort(int& p)
{
    const std::string t = NextOperand();
    std::optional<int32_t> v;
    if (t == "POUT")
        v = 0;
    else if (t == "PIN")
        v = 1;
    else if (!t.empty() && t[0] == 'P')
        v = NumberOperand(t.substr(1));
    if (!v) {
        Fail("Port expected, but \"" + t + "\" found.");
        return false;
    }
    p = *v;
    return true;
}

bool TAsmCompiler::ReadNumber(int32_t& k)
{
    const std::string t = NextOperand();
    const auto v = NumberOperand(t);
    if (!v) {
        Fail("Number expected, but \"" + t + "\" found.");
        return false;
    }
    k = *v;
    return true;
}

bool TAsmCompiler::ResolveLabel(const std::string& target, int& address)
{
    const auto found = labelIndex_.find(AnsiUpperCase(target));
    std::optional<int32_t> v;
    if (found != labelIndex_.end())
        v = NumberOperand(Labels[found->second + 1]);
    if (!v) {
        Fail("Label \"" + target + "\" not found.");
        return false;
    }
    if (*v < 0 || *v >= MaxDeviceCodeLength) {
        Fail("Label \"" + target + "\" is beyond the " + IntToStr(MaxDeviceCodeLength) +
             " bytes that jumps reach.");
        return false;
    }
    address = *v;
    return true;
}

void TAsmCompiler::AssembleRegReg(uint8_t op)
{
    int n = 0, m = 0;
    if (ReadRegister(n) && ReadComma() && ReadRegister(m))
        EmitPair(op, n, m);
}

void TAsmCompiler::AssembleRegWord(uint8_t op)
{
    int n = 0;
    int32_t k = 0;
    if (ReadRegister(n) && ReadComma() && ReadNumber(k)) {
        Emit(op);
        Emit(static_cast<uint8_t>(n));
        Emit(static_cast<uint8_t>((k >> 8) & 0xFF));
        Emit(static_cast<uint8_t>(k & 0xFF));
    }
}

void TAsmCompiler::AssembleRegNumber(uint8_t op)
{
    int n = 0;
    int32_t k = 0;
    if (ReadRegister(n) && ReadComma() && ReadNumber(k))
        EmitPair(op, n, k);
}

void TAsmCompiler::AssemblePortByte(uint8_t op)
{
    int p = 0;
    int32_t k = 0;
    if (ReadPort(p) && ReadComma() && ReadNumber(k)) {
        Emit(static_cast<uint8_t>(op | (p & 3)));
        Emit(static_cast<uint8_t>(k & 0xFF));
    }
}

void TAsmCompiler::AssembleLabel(uint8_t op)
{
    const std::string target = NextOperand();
    if (target.empty()) {
        Fail("Label expected after " + mnemonic_ + ".");
        return;
    }
    // The first pass only counts the bytes: labels further on are not known yet.
    int address = 0;
    if (Pass == 1 && !ResolveLabel(target, address))
        return;
    Emit(static_cast<uint8_t>(op | ((address >> 8) & 3)));
    Emit(static_cast<uint8_t>(address & 0xFF));
}

void TAsmCompiler::AssemblePortReg(uint8_t op)
{
    int p = 0, n = 0;
    if (ReadPort(p) && ReadComma() && ReadRegister(n))
        EmitPair(op, p, n);
}

void TAsmCompiler::AssembleReg(uint8_t op)
{
    int n = 0;
    if (ReadRegister(n)) {
        Emit(op);
        Emit(static_cast<uint8_t>(n));
    }
}

void TAsmCompiler::AssembleByte(uint8_t op)
{
    int32_t k = 0;
    if (ReadNumber(k)) {
        Emit(op);
        Emit(static_cast<uint8_t>(k & 0xFF));
    }
}

void TAsmCompiler::AssembleWord(uint8_t op)
{
    int32_t k = 0;
    if (ReadNumber(k)) {
        Emit(op);
        Emit(static_cast<uint8_t>((k >> 8) & 0xFF));
        Emit(static_cast<uint8_t>(k & 0xFF));
    }
}

void TAsmCompiler::AssembleTwoBytes(uint8_t op)
{
    int32_t a = 0, b = 0;
    if (ReadNumber(a) && ReadComma() && ReadNumber(b)) {
        Emit(op);
        Emit(static_cast<uint8_t>(a & 0xFF));
        Emit(static_cast<uint8_t>(b & 0xFF));
    }
}

void TAsmCompiler::AssembleThreeBytes(uint8_t op)
{
    // The opcode goes out before the operands are read, so a bad operand
    // leaves it in the image.
    Emit(op);
    int32_t a = 0, b = 0, c = 0;
    if (ReadNumber(a) && ReadComma() && ReadNumber(b) && ReadComma() && ReadNumber(c)) {
        Emit(static_cast<uint8_t>(a & 0xFF));
        Emit(static_cast<uint8_t>(b & 0xFF));
        Emit(static_cast<uint8_t>(c & 0xFF));
    }
}

void TAsmCompiler::AssembleOperands(const TDevCommand& command)
{
    const auto op = static_cast<uint8_t>(command.Opcode);
    switch (command.OperandClass) {
    case ocRegReg: AssembleRegReg(op); break;
    case ocRegWord: AssembleRegWord(op); break;
    case ocRegBit:
    case ocRegShift: AssembleRegNumber(op); break;
    case ocPortByte: AssemblePortByte(op); break;
    case ocLabel: AssembleLabel(op); break;
    case ocNone: Emit(op); break;
    case ocPortReg: AssemblePortReg(op); break;
    case ocReg: AssembleReg(op); break;
    case ocAddress:
    case ocByte: AssembleByte(op); break;
    case ocWord: AssembleWord(op); break;
    case ocTwoBytes: AssembleTwoBytes(op); break;
    case ocThreeBytes: AssembleThreeBytes(op); break;
    case ocUnused:
    case ocEnd: Fail("Instruction \"" + mnemonic_ + "\" has no operand syntax."); break;
    }
}

void TAsmCompiler::DefineLabel(const std::string& token)
{
    if (Pass == 0) {
        Labels.Add(AnsiUpperCase(token.substr(0, token.size() - 1)));
        Labels.Add(IntToStr(Address));
    }
    Listing.Add(token);
}

void TAsmCompiler::AssembleLine(const std::string& line)
{
    if (line.empty() || line[0] == ';')
        return;
    line_ = &line;
    position_ = 1;
    mnemonic_ = NextOperand();
    if (mnemonic_.empty() || mnemonic_[0] == ';')
        return;
    if (mnemonic_.back() == ':') {
        DefineLabel(mnemonic_);
        return;
    }
    int row = 0;
    if (!FindDevCommand(mnemonic_, row)) {
        Fail("Unknown instruction \"" + mnemonic_ + "\".");
        return;
    }
    AssembleOperands(DevCommands[row]);
}

void TAsmCompiler::RunPass()
{
    bool reported = false;
    for (LineIndex = 0; LineIndex < Source.Count(); ++LineIndex) {
        const std::string& line = Source[LineIndex];
        const int start = Address;
        AssembleLine(line);
        if (HasError && !reported) {
            Listing.Add("Error in source lines " + IntToStr(LineIndex));
            reported = true;
        }
        if (Address == start)
            continue;
        std::string text;
        if (Pass == 0) {
            for (int i = start; i < Address; ++i)
                text += "0" + IntToHex(Code[static_cast<size_t>(i)], 2) + "h ";
        } else {
            text = IntToHex(static_cast<uint64_t>(start), 4) + ":\t";
            for (int i = start; i < Address; ++i)
                text += IntToHex(Code[static_cast<size_t>(i)], 2);
            text += "\t\t" + line;
        }
        Listing.Add(text);
    }
}

bool TAsmCompiler::Assemble()
{
    Listing.Clear();
    Listing.Add(Utf8ToCp1251("Проход 1."));
    Address = 0;
    LineIndex = 0;
    HasError = false;
    ErrorLine = -1;
    ErrorMessage.clear();
    Pass = 0;
    Labels.Clear();
    labelIndex_.clear();
    RunPass();
    if (HasError)
        return false;

    // The first definition of a name wins, as a search from the front would.
    for (int i = 0; i + 1 < Labels.Count(); i += 2)
        labelIndex_.emplace(Labels[i], i);

    LineIndex = 0;
    Listing.Clear();
    Listing.Add("Second pass.");
    Pass = 1;
    Address = 0;
    HasError = false;
    RunPass();
    CodeLength = Address;
    return !HasError;
}
