#include "buffer/uFind.h"

#include "engine/Global.h"
#include "platform/SysUtils.h"

int DefaultPatternWidth(int64_t value)
{
    if (value < 0)
        return 1;
    int width = 1;
    while (width < 8 && (static_cast<uint64_t>(value) >> (8 * width)) != 0)
        ++width;
    return width;
}

TNumberPattern BuildNumberPattern(const std::string& numberText, const TNumberPatternOptions& options)
{
    TNumberPattern result;
    const auto value = TryNumberTextToInt64(numberText);
    if (!value) {
        result.HexView = "Error pattern";
        return result;
    }
    const int width = options.Width >= 1 && options.Width <= 4 ? options.Width : DefaultPatternWidth(*value);
    result.Valid = true;
    result.Width = width;
    result.SwapBytesEnabled = width % 2 == 0;
    uint8_t low[8];
    for (int i = 0; i < width; ++i)
        low[i] = static_cast<uint8_t>(static_cast<uint64_t>(*value) >> (8 * i));
    // low[] holds the least significant byte first, so the plain order is
    // the reversed one.
    const auto r = static_cast<uint64_t>(
        BytesToNumber(low, width, result.SwapBytesEnabled && options.SwapBytes, options.SwapNibbles,
                      !options.ReverseOrder, options.MirrorBits, options.Invert));
    result.HexView = IntToHex(r, 2 * width);
    for (int i = width - 1; i >= 0; --i)
        result.Bytes.push_back(static_cast<uint8_t>(r >> (8 * i)));
    return result;
}

TTextPatternResult BuildTextPattern(const std::vector<std::string>& lines, std::vector<uint8_t>& pattern)
{
    size_t length = 0;
    for (const auto& line : lines)
        length += line.size();
    if (length == 0)
        return TTextPatternResult::Empty;
    if (length > FindPatternCapacity)
        return TTextPatternResult::TooLong;
    pattern.clear();
    for (const auto& line : lines)
        pattern.insert(pattern.end(), line.begin(), line.end());
    return TTextPatternResult::Ok;
}
