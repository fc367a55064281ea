#pragma once
// The fill dialog's rule for its pattern: hexadecimal digits, blanks ignored.
#include <string>

// Removes every blank (code 32 or less) from the text and tells whether what
// is left is a usable fill pattern: at least one digit, and only the digits
// 0-9, A-F in either case. A text of blanks only is no pattern.
bool VerifyPattern(std::string& text);
