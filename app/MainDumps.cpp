#include "app/MainDumps.h"

#include "buffer/FileServ.h"

#include <algorithm>

bool XorWithDumpFile(TDumpBuffer& buffer, const std::string& fileName, std::string& message)
{
    // The dump is read as the editor reads it, into a buffer of its own
    // size: what lies past its end is no part of it and stays as it is.
    TDumpBuffer dump;
    dump.EditorMode = true;
    TDumpLoadInfo info;
    if (!LoadDumpFile(dump, fileName, info)) {
        message = info.Error;
        return false;
    }
    const int64_t count = std::min(buffer.GetSize(), dump.GetSize());
    for (int64_t i = 0; i < count; ++i) {
        uint8_t& b = buffer.Data[size_t(i)];
        b ^= dump.Data[size_t(i)];
        buffer.SetMatchBit(i, b == 0);
    }
    buffer.Modified = true;
    return true;
}
