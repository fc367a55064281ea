#pragma once
// Geometry of the dump view: where the address column, the hex cells and
// the ASCII column stand for a character width W and a line height H, and
// which byte lies under a point. Shared by the painter and the input
// controller so that both agree to the pixel.
#include <cstdint>

struct TDumpLayout {
    int W = 8;           // width of "0"
    int H = 16;          // line height
    int LeftMargin = 4;
    int TopMargin = 4;
    bool WordMode = false;
    bool ShowHeader = true;
    int AddrDigits = 6;  // hex digits of the address column

    // Extra character columns taken by an address wider than six digits.
    int Extra() const { return AddrDigits - 6; }
    int Cells() const { return WordMode ? 8 : 16; }
    // Characters of one cell's text (2 or 4) and its pitch (3 or 5).
    int CellDigits() const { return WordMode ? 4 : 2; }
    int CellPitch() const { return WordMode ? 5 : 3; }

    // Positions in character widths from the left margin.
    int HexTextCol(int cell) const { return Extra() + 7 + CellPitch() * cell; }
    int AsciiCol(int k) const { return Extra() + (WordMode ? 48 : 56) + k; }
    // Right edge of the ASCII column.
    int RightCol() const { return Extra() + (WordMode ? 64 : 72); }
    // Grid lines stand half a character right of these columns.
    int GridCol(int i) const { return Extra() + (WordMode ? 6 + 10 * i : 6 + 12 * i); }
    // Points right of this column (in character widths) are in the ASCII
    // column.
    int AsciiThreshold() const { return Extra() + (WordMode ? 48 : 54); }

    // Pixel x of a character column.
    int X(int col) const { return LeftMargin + col * W; }
    // Pixel top of the first data row.
    int DataTop() const { return TopMargin + (ShowHeader ? H : 0); }
    // Data row (0 = first shown) of pixel y; may be negative.
    int64_t RowAt(int y) const;

    // Byte column 0..15 under pixel x within a row, for the selection by
    // mouse; ascii tells whether x lies in the ASCII column.
    int ByteColumnAt(int x, bool& ascii) const;
    // Caret column in hex digits (0..31) under pixel x for a click, and
    // whether x lies in the ASCII column; leftOfCells: x lies in the
    // address column.
    int NibbleColumnAt(int x, bool& ascii, bool& leftOfCells) const;
};

// Hex digits the address column needs for a buffer: six, more when the last
// row's address does not fit in six.
int AddressDigits(int64_t lastIndex, bool wordMode);
