#include "platform/SysUtils.h"

#include <limits>

std::string TrimLeft(const std::string& s)
{
    size_t i = 0;
    while (i < s.size() && static_cast<unsigned char>(s[i]) <= ' ')
        ++i;
    return s.substr(i);
}

std::string TrimRight(const std::string& s)
{
    size_t n = s.size();
    while (n > 0 && static_cast<unsigned char>(s[n - 1]) <= ' ')
        --n;
    return s.substr(0, n);
}

std::string Trim(const std::string& s) { return TrimRight(TrimLeft(s)); }

std::string WithoutFirstAmpersand(const std::string& caption)
{
    std::string s = caption;
    if (const size_t i = s.find('&'); i != std::string::npos)
        s.erase(i, 1);
    return s;
}

bool IsHexDigit(char c) { return HexDigitValue(c) >= 0; }

int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

namespace {

// Shared by the 32- and 64-bit conversions; `bits` is the width of the result.
std::optional<int64_t> convert(const std::string& s, int bits)
{
    size_t i = 0;
    while (i < s.size() && s[i] == ' ')
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    bool hex = false;
    if (i < s.size() && (s[i] == '$' || s[i] == 'x' || s[i] == 'X')) {
        hex = true;
        ++i;
    } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
        hex = true;
        i += 2;
    }
    if (i >= s.size())
        return std::nullopt;

    uint64_t value = 0;
    if (hex) {
        const size_t maxDigits = static_cast<size_t>(bits / 4);
        size_t digits = 0;
        for (; i < s.size(); ++i) {
            const int d = HexDigitValue(s[i]);
            if (d < 0)
                return std::nullopt;
            value = (value << 4) | static_cast<uint64_t>(d);
            if (value != 0 && ++digits > maxDigits)
                return std::nullopt;
        }
        if (bits == 32)
            value &= 0xFFFFFFFFu;
        int64_t result = bits == 32 ? static_cast<int64_t>(static_cast<int32_t>(static_cast<uint32_t>(value)))
                                    : static_cast<int64_t>(value);
        return negative ? static_cast<int64_t>(0 - static_cast<uint64_t>(result)) : result;
    }

    const uint64_t limit = bits == 32 ? (negative ? 0x80000000ull : 0x7FFFFFFFull)
                                      : (negative ? 0x8000000000000000ull : 0x7FFFFFFFFFFFFFFFull);
    for (; i < s.size(); ++i) {
        if (s[i] < '0' || s[i] > '9')
            return std::nullopt;
        const uint64_t d = static_cast<uint64_t>(s[i] - '0');
        if (value > (limit - d) / 10)
            return std::nullopt;
        value = value * 10 + d;
    }
    return negative ? static_cast<int64_t>(0 - value) : static_cast<int64_t>(value);
}

} // namespace

std::optional<int32_t> TryStrToInt(const std::string& s)
{
    auto v = convert(s, 32);
    if (!v)
        return std::nullopt;
    return static_cast<int32_t>(*v);
}

std::optional<int64_t> TryStrToInt64(const std::string& s) { return convert(s, 64); }

int32_t StrToIntDef(const std::string& s, int32_t def) { return TryStrToInt(s).value_or(def); }

int64_t StrToInt64Def(const std::string& s, int64_t def) { return TryStrToInt64(s).value_or(def); }

std::string IntToStr(int64_t v) { return std::to_string(v); }

std::string IntToHex(uint64_t v, int digits)
{
    static const char kDigits[] = "0123456789ABCDEF";
    std::string out;
    do {
        out.insert(out.begin(), kDigits[v & 0xF]);
        v >>= 4;
    } while (v != 0);
    while (static_cast<int>(out.size()) < digits)
        out.insert(out.begin(), '0');
    return out;
}

int MulDiv(int a, int b, int c)
{
    if (c == 0)
        return -1;
    const int64_t product = int64_t(a) * b;
    const bool negative = (product < 0) != (c < 0);
    const uint64_t n = uint64_t(product < 0 ? -product : product);
    const uint64_t d = uint64_t(c < 0 ? -int64_t(c) : int64_t(c));
    const uint64_t q = (n + d / 2) / d;
    if (q > uint64_t(INT32_MAX))
        return -1;
    return negative ? -int(q) : int(q);
}
