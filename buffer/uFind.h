#pragma once
// The find dialog's patterns: a number turned into bytes with a width and
// byte transformations, or the bytes of a text.
#include <cstdint>
#include <string>
#include <vector>

// Largest pattern a search takes (insert reads its text without one).
constexpr int FindPatternCapacity = 65536;

// The options of the "Number" page.
struct TNumberPatternOptions {
    int Width = 0;             // bytes per number, 1 to 4; 0 = "Default"
    bool ReverseOrder = false; // "Reverse byte order"
    bool SwapBytes = false;    // "Swap bytes" (even widths only)
    bool SwapNibbles = false;
    bool MirrorBits = false;
    bool Invert = false;
};

struct TNumberPattern {
    bool Valid = false;            // the text converted
    int Width = 0;                 // bytes in Bytes
    bool SwapBytesEnabled = false; // the width is even
    std::string HexView;           // "Error pattern" when not Valid
    std::vector<uint8_t> Bytes;    // most significant first; empty when not Valid
};

// Bytes a value needs with the width "Default": 1 to 8, a negative value 1.
int DefaultPatternWidth(int64_t value);

// The pattern of a number text ("0x" prefix for hexadecimal). Every number
// converts, -1 included; text that does not convert gives no pattern.
TNumberPattern BuildNumberPattern(const std::string& numberText, const TNumberPatternOptions& options);

enum class TTextPatternResult { Ok, Empty, TooLong };

// The characters of all lines, in order and without line breaks. Nothing is
// set unless the result is Ok.
TTextPatternResult BuildTextPattern(const std::vector<std::string>& lines, std::vector<uint8_t>& pattern);
