#include "buffer/uFill.h"

#include "platform/SysUtils.h"

#include <algorithm>

bool VerifyPattern(std::string& text)
{
    std::erase_if(text, [](char c) { return static_cast<unsigned char>(c) <= ' '; });
    // An empty remainder is refused: the fill would read its pattern bytes
    // from an empty text.
    return !text.empty() && std::all_of(text.begin(), text.end(), IsHexDigit);
}
