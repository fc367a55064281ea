#include "engine/uAsmMnemonics.h"
#include "engine/uHost.h"
#include "platform/Cp1251.h"
#include "platform/SysUtils.h"

#include <unordered_map>

namespace {

bool ParseHexOperand(const std::string& text, uint32_t& value)
{
    if (text.empty() || text.size() > 8)
        return false;
    value = 0;
    for (char c : text) {
        const int d = HexDigitValue(c);
        if (d < 0)
            return false;
        value = (value << 4) | static_cast<uint32_t>(d);
    }
    return true;
}

// The bit-copy labels of a procedure P are P_LABEL<k>; for a procedure whose
// name begins with PROC they look like procedure labels, but they are none:
// the label PROC + P of their procedure exists beside them.
bool IsBitCopyLabel(const std::string& name, const std::unordered_map<std::string, int32_t>& labels)
{
    const size_t mark = name.rfind("_LABEL");
    if (mark == std::string::npos || mark + 6 >= name.size() ||
        name.find_first_not_of("0123456789", mark + 6) != std::string::npos)
        return false;
    return labels.count("PROC" + name.substr(0, mark)) != 0;
}

} // namespace

void THost::Assemble()
{
    Procedures.Clear();
    std::vector<std::string> lines;
    lines.reserve(static_cast<size_t>(AsmText.Count()));
    std::unordered_map<std::string, int32_t> labels;
    int32_t address = 0;
    for (const auto& text : AsmText) {
        if (text.empty() || text[0] == ';')
            continue;
        lines.push_back(AnsiUpperCase(text));
        const std::string& u = lines.back();
        if (u.back() == ':')
            labels.emplace(u.substr(0, u.size() - 1), address);
        else
            address += 2;
    }

    int32_t n = 0;
    for (const auto& u : lines) {
        if (u.back() == ':') {
            const std::string name = u.substr(0, u.size() - 1);
            if (name.rfind("PROC", 0) == 0 && Procedures.IndexOf(name) < 0 && !IsBitCopyLabel(name, labels))
                Procedures.Add(name, labels[name]);
            continue;
        }
        if (n >= CodeWords) {
            Errors.Add("Asm: more than " + IntToStr(MaxInstructions) + " instructions");
            break;
        }
        const std::string mnemonic = u.substr(0, 4);
        const int op = FindMnemonic(mnemonic);
        if (op < 0) {
            Errors.Add("Asm: unknown mnemonic \"" + mnemonic + "\"");
            break;
        }
        const std::string operandText = u.size() > 5 ? u.substr(5) : std::string();
        uint32_t operand = 0;
        if (IsLabelOpcode(op)) {
            const auto it = labels.find(operandText);
            if (it == labels.end()) {
                Errors.Add("Asm: unknown label \"" + operandText + "\"");
                break;
            }
            operand = static_cast<uint32_t>(it->second);
        } else if (!operandText.empty() && !ParseHexOperand(operandText, operand)) {
            Errors.Add("Asm: bad operand \"" + operandText + "\"");
            break;
        }
        Code[static_cast<size_t>(n)] = static_cast<uint32_t>(op);
        Code[static_cast<size_t>(n) + 1] = operand;
        n += 2;
    }
    CodeLength = n;
}
