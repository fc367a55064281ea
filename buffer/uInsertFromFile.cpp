#include "buffer/uInsertFromFile.h"

#include "buffer/uGotoAdr.h"

std::optional<int32_t> ParseCustomAddress(const std::string& text)
{
    // A negative offset would read before the file's start.
    const auto address = ParseAddressText(text);
    if (!address || *address < 0)
        return std::nullopt;
    return address;
}
