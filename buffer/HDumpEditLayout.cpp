#include "buffer/HDumpEditLayout.h"

#include <algorithm>

namespace {

// Floor division: points left of or above the margins give negative cells.
int64_t FloorDiv(int64_t a, int64_t b)
{
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

} // namespace

int64_t TDumpLayout::RowAt(int y) const
{
    return FloorDiv(int64_t(y) - DataTop(), H);
}

int TDumpLayout::ByteColumnAt(int x, bool& ascii) const
{
    const int xr = x - LeftMargin;
    ascii = xr > AsciiThreshold() * W;
    int col;
    if (ascii) {
        col = int(FloorDiv(xr - AsciiCol(0) * W, W));
    } else if (!WordMode) {
        col = int(FloorDiv(xr - HexTextCol(0) * W, 3 * W));
    } else {
        const int w = std::clamp(int(FloorDiv(xr - HexTextCol(0) * W, 5 * W)), 0, 7);
        col = 2 * w + (xr > HexTextCol(w) * W ? 1 : 0);
    }
    return std::clamp(col, 0, 15);
}

int TDumpLayout::NibbleColumnAt(int x, bool& ascii, bool& leftOfCells) const
{
    const int xr = x - LeftMargin;
    ascii = false;
    leftOfCells = xr < HexTextCol(0) * W;
    if (leftOfCells)
        return 0;
    if (xr > AsciiThreshold() * W) {
        ascii = true;
        return 2 * std::clamp(int(FloorDiv(xr - AsciiCol(0) * W, W)), 0, 15);
    }
    const int rel = xr - HexTextCol(0) * W;
    if (!WordMode) {
        const int cell = std::min(rel / (3 * W), 15);
        return 2 * cell + (rel - 3 * W * cell > W ? 1 : 0);
    }
    // The blank after a word's four digits leads to the next word's first
    // digit; past the last word (its blank and the gap before the ASCII
    // column) the caret stays on that word's last digit, not in the next row.
    const int cell = std::min(rel / (5 * W), 7);
    return std::min(4 * cell + (xr - HexTextCol(cell) * W) / W, 31);
}

int AddressDigits(int64_t lastIndex, bool wordMode)
{
    uint64_t top = lastIndex > 0 ? uint64_t(lastIndex) : 0;
    if (wordMode)
        top /= 2;
    int digits = 1;
    while (top >>= 4)
        ++digits;
    return std::max(digits, 6);
}
