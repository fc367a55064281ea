#pragma once
// The go-to dialog's address check.
#include <cstdint>
#include <optional>
#include <string>

// An address text: "0x" or "0X" followed by digits is hexadecimal, anything
// else goes through the platform's integer conversion (decimal with a sign,
// or hexadecimal after "$"). Nothing when it does not convert.
std::optional<int32_t> ParseAddressText(const std::string& text);

// What the dialog shows for a text: whether OK is enabled, the address
// entered (-1 when the text does not convert) and the caption, which
// changes only when the text converts.
struct TGotoAddressCheck {
    bool OkEnabled = false;
    int32_t EnteredAddress = -1;
    std::optional<std::string> Caption;
};
// OK is enabled for an address from 0 to the limit.
TGotoAddressCheck CheckGotoAddress(const std::string& text, int32_t addressLimit, const std::string& captionText);
