// How R=C reads the text of a decimal or hexadecimal field.
#include "calc/uCalcMachine.h"

#include "platform/SysUtils.h"

namespace {

constexpr int64_t DecimalFallback = 1;
constexpr int64_t HexFallback = 0x100000000;

int64_t SignExtend32(uint64_t v)
{
    return static_cast<int32_t>(static_cast<uint32_t>(v));
}

} // namespace

bool CalcParseDecimalField(const std::string& text, int64_t& value)
{
    value = DecimalFallback;
    const std::string t = Trim(text);
    size_t i = 0;
    const bool negative = !t.empty() && t[0] == '-';
    if (!t.empty() && (t[0] == '-' || t[0] == '+'))
        ++i;
    if (i == t.size())
        return false;
    uint64_t magnitude = 0;
    for (; i < t.size(); ++i) {
        if (t[i] < '0' || t[i] > '9')
            return false;
        magnitude = magnitude * 10 + static_cast<uint64_t>(t[i] - '0');
        if (magnitude > 0xFFFFFFFFu)
            return false;
    }
    if (negative && magnitude > 0x80000000u)
        return false;
    value = SignExtend32(negative ? 0 - magnitude : magnitude);
    return true;
}

bool CalcParseHexField(const std::string& text, int64_t& value)
{
    value = HexFallback;
    const std::string t = Trim(text);
    if (t.empty())
        return false;
    uint64_t v = 0;
    for (char c : t) {
        const int digit = HexDigitValue(c);
        if (digit < 0)
            return false;
        v = v << 4 | static_cast<uint64_t>(digit);
        if (v > 0xFFFFFFFFu)
            return false;
    }
    value = SignExtend32(v);
    return true;
}
