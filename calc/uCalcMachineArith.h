#pragma once
// The calculator machine's arithmetic on 64-bit registers, defined for every
// operand: sums and products wrap, the most negative value divided by -1
// stays itself with remainder 0, and shift counts of 64 or more (negative
// counts are huge unsigned ones) give 0.
#include <cstdint>
#include <limits>

inline int64_t CalcWrap(uint64_t v)
{
    return static_cast<int64_t>(v);
}

inline int64_t CalcAdd(int64_t x, int64_t y)
{
    return CalcWrap(static_cast<uint64_t>(x) + static_cast<uint64_t>(y));
}

inline int64_t CalcSub(int64_t x, int64_t y)
{
    return CalcWrap(static_cast<uint64_t>(x) - static_cast<uint64_t>(y));
}

inline int64_t CalcMul(int64_t x, int64_t y)
{
    return CalcWrap(static_cast<uint64_t>(x) * static_cast<uint64_t>(y));
}

// The divisor is never 0 here: the machine turns a zero divisor into 1 first.
inline int64_t CalcDiv(int64_t x, int64_t y)
{
    if (y == -1)
        return CalcSub(0, x);
    return x / y;
}

inline int64_t CalcMod(int64_t x, int64_t y)
{
    if (y == -1)
        return 0;
    return x % y;
}

inline int64_t CalcShr(int64_t x, uint64_t count)
{
    return count >= 64 ? 0 : CalcWrap(static_cast<uint64_t>(x) >> count);
}

inline int64_t CalcShl(int64_t x, uint64_t count)
{
    return count >= 64 ? 0 : CalcWrap(static_cast<uint64_t>(x) << count);
}
