#include "buffer/uGotoAdr.h"

#include "platform/SysUtils.h"

std::optional<int32_t> ParseAddressText(const std::string& text)
{
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        return TryStrToInt("$" + text.substr(2));
    return TryStrToInt(text);
}

TGotoAddressCheck CheckGotoAddress(const std::string& text, int32_t addressLimit, const std::string& captionText)
{
    TGotoAddressCheck check;
    const auto address = ParseAddressText(text);
    if (!address)
        return check;
    check.EnteredAddress = *address;
    check.Caption = captionText + " " + std::to_string(*address);
    check.OkEnabled = *address >= 0 && *address <= addressLimit;
    return check;
}
