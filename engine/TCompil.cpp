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

void TAsmCompiler::AssembleLine(const std::string& line)
{
    if (line.empty() || line[0] == ';')
        return;
    int pos = 1;
    const std::string mnemonic = NextToken(line, pos);
    if (mnemonic.empty() || mnemonic[0] == ';')
        return;

    if (mnemonic.back() == ':') {
        const std::string name = mnemonic.substr(0, mnemonic.size() - 1);
        if (Pass == 0) {
            Labels.Add(AnsiUpperCase(name));
            Labels.Add(IntToStr(Address));
        }
        Listing.Add(mnemonic);
        return;
    }

    int row = 0;
    if (!FindDevCommand(mnemonic, row)) {
        Fail("Unknown instruction \"" + mnemonic + "\".");
        return;
    }
    const TDevCommand& cmd = DevCommands[row];
    const uint8_t op = static_cast<uint8_t>(cmd.Opcode);

    auto token = [&]() { return NextToken(line, pos); };
    auto comma = [&]() {
        if (token() != ",") {
            Fail("Comma expected after an operand of " + mnemonic + ".");
            return false;
        }
        return true;
    };
    auto reg = [&](int& n) {
        const std::string t = token();
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
    };
    auto port = [&](int& p) {
        const std::string t = token();
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
    };
    auto number = [&](int32_t& k) {
        const std::string t = token();
        const auto v = NumberOperand(t);
        if (!v) {
            Fail("Number expected, but \"" + t + "\" found.");
            return false;
        }
        k = *v;
        return true;
    };
    // Two registers' worth of bits: the first spills two bits into the opcode.
    auto pair = [&](int first, int second) {
        Emit(static_cast<uint8_t>(op | ((first >> 3) & 3)));
        Emit(static_cast<uint8_t>(((first << 5) | (second & 31)) & 0xFF));
    };

    int n = 0, m = 0, p = 0;
    int32_t k = 0, a = 0, b = 0, c = 0;
    switch (cmd.OperandClass) {
    case 0:
        if (reg(n) && comma() && reg(m))
            pair(n, m);
        break;
    case 1:
        if (reg(n) && comma() && number(k)) {
            Emit(op);
            Emit(static_cast<uint8_t>(n));
            Emit(static_cast<uint8_t>((k >> 8) & 0xFF));
            Emit(static_cast<uint8_t>(k & 0xFF));
        }
        break;
    case 2:
    case 7:
        if (reg(n) && comma() && number(k))
            pair(n, k);
        break;
    case 3:
        if (port(p) && comma() && number(k)) {
            Emit(static_cast<uint8_t>(op | (p & 3)));
            Emit(static_cast<uint8_t>(k & 0xFF));
        }
        break;
    case 4: {
        const std::string target = token();
        if (target.empty()) {
            Fail("Label expected after " + mnemonic + ".");
            break;
        }
        int address = 0;
        if (Pass == 1) {
            const auto found = labelIndex_.find(AnsiUpperCase(target));
            std::optional<int32_t> v;
            if (found != labelIndex_.end())
                v = NumberOperand(Labels[found->second + 1]);
            if (!v) {
                Fail("Label \"" + target + "\" not found.");
                break;
            }
            if (*v < 0 || *v >= MaxDeviceCodeLength) {
                Fail("Label \"" + target + "\" is beyond the " + IntToStr(MaxDeviceCodeLength) +
                     " bytes that jumps reach.");
                break;
            }
            address = *v;
        }
        Emit(static_cast<uint8_t>(op | ((address >> 8) & 3)));
        Emit(static_cast<uint8_t>(address & 0xFF));
        break;
    }
    case 5:
        Emit(op);
        break;
    case 6:
        if (port(p) && comma() && reg(n))
            pair(p, n);
        break;
    case 8:
        if (reg(n)) {
            Emit(op);
            Emit(static_cast<uint8_t>(n));
        }
        break;
    case 9:
    case 11:
        if (number(k)) {
            Emit(op);
            Emit(static_cast<uint8_t>(k & 0xFF));
        }
        break;
    case 10:
        if (number(k)) {
            Emit(op);
            Emit(static_cast<uint8_t>((k >> 8) & 0xFF));
            Emit(static_cast<uint8_t>(k & 0xFF));
        }
        break;
    case 12:
        if (number(a) && comma() && number(b)) {
            Emit(op);
            Emit(static_cast<uint8_t>(a & 0xFF));
            Emit(static_cast<uint8_t>(b & 0xFF));
        }
        break;
    case 14:
        Emit(op);
        if (number(a) && comma() && number(b) && comma() && number(c)) {
            Emit(static_cast<uint8_t>(a & 0xFF));
            Emit(static_cast<uint8_t>(b & 0xFF));
            Emit(static_cast<uint8_t>(c & 0xFF));
        }
        break;
    default:
        Fail("Instruction \"" + mnemonic + "\" has no operand syntax.");
        break;
    }
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
