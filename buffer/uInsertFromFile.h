#pragma once
// The copy-area dialog's custom source address.
#include <cstdint>
#include <optional>
#include <string>

// A source offset in the file: "0x" or "0X" for hexadecimal, else decimal.
// Empty text, text that does not convert and negative numbers give nothing
// (the dialog then says "Incorrect address").
std::optional<int32_t> ParseCustomAddress(const std::string& text);
