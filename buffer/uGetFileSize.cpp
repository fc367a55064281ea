#include "buffer/uGetFileSize.h"

#include "buffer/FileServ.h"
#include "platform/SysUtils.h"

std::optional<int32_t> ParseFileSize(const std::string& text)
{
    // Zero, negative and oversized buffers are refused here, before the
    // buffer is asked to take them.
    const auto size = TryStrToInt(text);
    if (!size || *size < 1 || *size > MaxDumpBufferSize)
        return std::nullopt;
    return size;
}
