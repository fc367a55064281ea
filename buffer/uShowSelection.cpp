#include "buffer/uShowSelection.h"

#include "engine/Global.h"
#include "platform/SysUtils.h"

#include <algorithm>
#include <cstdlib>

std::string SelectionSourceText(const uint8_t* bytes, int count)
{
    std::string text;
    for (int i = 0; i < std::clamp(count, 0, SelectionSourceCapacity); ++i)
        text += IntToHex(bytes[i], 2);
    return text;
}

bool SelectionShowable(int64_t selStart, int64_t selEnd)
{
    if (selStart < 0)
        return false;
    const int64_t count = (selEnd > selStart ? selEnd - selStart : selStart - selEnd) + 1;
    return count <= SelectionNumberBytes;
}

namespace {

uint64_t xorMask(int count)
{
    // Only values of up to four bytes are XORed, as the view always did.
    return count >= 1 && count <= 4 ? (uint64_t(1) << (8 * count)) - 1 : 0;
}

std::string octal(uint64_t v)
{
    std::string text;
    do {
        text.insert(text.begin(), char('0' + (v & 7)));
        v >>= 3;
    } while (v != 0);
    return text;
}

} // namespace

TSelectionResult ConvertSelection(const uint8_t* bytes, int count, const TSelectionOptions& options)
{
    const int used = std::clamp(count, 0, SelectionNumberBytes);
    auto v = static_cast<uint64_t>(BytesToNumber(bytes, used, options.SwapBytes && SelectionSwapAllowed(count),
                                                 options.SwapNibbles, options.ReverseOrder, options.MirrorBits,
                                                 options.Invert));
    if (options.XorBy) {
        // Any number XORs, -1 too; text that does not convert does not.
        if (const auto x = TryNumberTextToInt64(options.XorText))
            v ^= static_cast<uint64_t>(*x) & xorMask(count);
    }
    const int shift = std::clamp(options.BitShift, -SelectionShiftLimit, SelectionShiftLimit);
    if (shift > 0)
        v = shift >= 64 ? 0 : v >> shift;
    else if (shift < 0)
        v = (v << -shift) & 0xFFFFFFFFu;
    return {IntToHex(v, 8), octal(v), std::to_string(v)};
}

int StepBitShift(int shift, int step)
{
    return std::clamp(shift + step, -SelectionShiftLimit, SelectionShiftLimit);
}

TShiftCaption ShiftCaption(int shift, const TShiftTexts& texts)
{
    if (shift == 0)
        return {texts.ShiftOn + " 0 " + texts.Bits, 0x000000};
    const std::string amount = texts.ShiftOn + " " + std::to_string(std::abs(shift)) + " " + texts.Bits + " ";
    if (shift > 0)
        return {amount + texts.ToTheRight, 0x0000FF};
    return {amount + texts.ToTheLeft, 0xFF0000};
}
