#pragma once
// The size rule of the new-file and change-size dialogs.
#include <cstdint>
#include <optional>
#include <string>

// A buffer size text (decimal with an optional sign, hexadecimal after "$"):
// a size from 1 to MaxDumpBufferSize, nothing for any other text.
std::optional<int32_t> ParseFileSize(const std::string& text);
