#pragma once
// The selection view's conversion: the selected bytes as one number, with
// byte transformations, an XOR value and a bit shift, in hexadecimal, octal
// and decimal.
#include <cstdint>
#include <string>

// Bytes the view holds, the bytes its number is made of, and the shift
// range of its arrow buttons.
constexpr int SelectionSourceCapacity = 12;
constexpr int SelectionNumberBytes = 8;
constexpr int SelectionShiftLimit = 32;

// Whether "Show as decimal number" is offered for the selection from
// selStart to selEnd (either order): for every size the number takes, 1 to
// SelectionNumberBytes bytes. The Edit menu and the view's popup both ask.
bool SelectionShowable(int64_t selStart, int64_t selEnd);

struct TSelectionOptions {
    bool SwapBytes = false;     // counts only for an even number of bytes
    bool SwapNibbles = false;
    bool MirrorBits = false;
    bool Invert = false;
    bool ReverseOrder = false;
    bool XorBy = false;
    std::string XorText;        // "0x" prefix for hexadecimal
    int BitShift = 0;           // negative: to the left
};

struct TSelectionResult {
    // The whole number of up to 8 bytes in each view.
    std::string Hex;     // at least 8 upper-case digits
    std::string Octal;
    std::string Decimal; // unsigned
};

// The source bytes as two upper-case hex digits each, no separators.
std::string SelectionSourceText(const uint8_t* bytes, int count);

// Whether "Swap bytes" applies to a selection of `count` bytes.
inline bool SelectionSwapAllowed(int count) { return count % 2 == 0; }

// The conversion of the first min(count, SelectionNumberBytes) bytes.
TSelectionResult ConvertSelection(const uint8_t* bytes, int count, const TSelectionOptions& options);

// The shift after one click on "<< Left" (-1) or "Right >>" (+1), kept in
// -32..32.
int StepBitShift(int shift, int step);

// Texts of the shift caption, from the language table.
struct TShiftTexts {
    std::string ShiftOn = "Shift on";
    std::string Bits = "bit(s)";
    std::string ToTheLeft = "to the left";
    std::string ToTheRight = "to the right";
};

// The shift caption and its colour (0x00BBGGRR): black without a shift, red
// to the right, blue to the left.
struct TShiftCaption {
    std::string Text;
    uint32_t Color = 0;
};
TShiftCaption ShiftCaption(int shift, const TShiftTexts& texts);
