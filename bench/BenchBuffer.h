#pragma once
// One 512 MiB buffer, made once per benchmark program.
#include "buffer/HDumpBuffer.h"

#include <cstdint>

inline constexpr int64_t BenchBigSize = int64_t(512) << 20;

inline TDumpBuffer& BigBuffer()
{
    static TDumpBuffer b = [] {
        TDumpBuffer x;
        x.SetSize(BenchBigSize);
        return x;
    }();
    return b;
}
