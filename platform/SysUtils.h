#pragma once
// Text and number helpers with the class library's rules, on code page 1251
// byte strings.
#include <cstdint>
#include <optional>
#include <string>

// Blanks are every character with a code of 32 or less.
std::string Trim(const std::string& s);
std::string TrimLeft(const std::string& s);
std::string TrimRight(const std::string& s);

// A caption without its first "&" (the accelerator mark), as hints, window
// titles and file names take it.
std::string WithoutFirstAmpersand(const std::string& caption);

// Integer conversion of the class library: leading spaces, an optional sign,
// decimal digits or hexadecimal after "$", "x" or "0x"; nothing may follow.
// Decimal values must fit the type; hexadecimal values of up to 8 (16)
// digits wrap into it, so "$FFFFFFFF" converts to -1.
std::optional<int32_t> TryStrToInt(const std::string& s);
std::optional<int64_t> TryStrToInt64(const std::string& s);
int32_t StrToIntDef(const std::string& s, int32_t def);
int64_t StrToInt64Def(const std::string& s, int64_t def);

std::string IntToStr(int64_t v);
// Upper-case hexadecimal, at least `digits` digits.
std::string IntToHex(uint64_t v, int digits);

// True for '0'..'9', 'A'..'F', 'a'..'f'.
bool IsHexDigit(char c);
// Value of one hexadecimal digit, -1 for any other character.
int HexDigitValue(char c);

// a * b / c with a 64-bit product, rounded half away from zero; -1 when c
// is 0 or the result does not fit, as the system's MulDiv answers.
int MulDiv(int a, int b, int c);
