#pragma once
// Small routines the whole skinning library shares: rectangles and numbers,
// words of a text, and INI text held in memory.
#include "platform/Bitmap.h"
#include "platform/StringList.h"
#include "skin/sConst.h"

#include <bitset>
#include <memory>
#include <string>
#include <vector>

TRect MakeRect(int left, int top, int right, int bottom);
// With nonNegative a negative size is 0.
int RectWidth(const TRect& r, bool nonNegative = false);
int RectHeight(const TRect& r, bool nonNegative = false);
// Whether r is not empty and reaches into outer; shared edges do not count.
bool RectsOverlap(const TRect& outer, const TRect& r);
int ClampByte(int value);
inline int ChooseInt(bool condition, int a, int b) { return condition ? a : b; }
inline std::string ChooseStr(bool condition, const std::string& a, const std::string& b) { return condition ? a : b; }
inline bool IsBetween(int value, int min, int max) { return min <= value && value <= max; }
inline int LargerOf(int a, int b) { return a > b ? a : b; }
inline int SmallerOf(int a, int b) { return a < b ? a : b; }
TCacheInfo MakeCacheInfo(TBitmap* bmp, int x = 0, int y = 0);

// Words are maximal runs of characters outside the delimiter set; positions
// count from 1. The "InSet" forms take the set built once.
using TCharSet = std::bitset<256>;
TCharSet MakeCharSet(const std::string& chars);
inline bool CharInSet(char ch, const TCharSet& delims) { return delims[uint8_t(ch)]; }
// Position of the first character of the n-th word; 0 when there is none.
int WordStartPosInSet(int n, const std::string& s, const TCharSet& delims);
int WordStartPos(int n, const std::string& s, const std::string& delims);
// The n-th word; empty when there is none.
std::string ExtractWordAt(int n, const std::string& s, const std::string& delims);
int CountWordsInSet(const std::string& s, const TCharSet& delims);
int CountWords(const std::string& s, const std::string& delims);
std::string RemoveChars(const std::string& s, char ch);
// Every occurrence of oldPattern, left to right, without rescanning what was
// put in; an empty oldPattern occurs nowhere.
std::string ReplaceAllText(const std::string& s, const std::string& oldPattern, const std::string& newPattern);

// INI text in memory: the sections in order, each with its lines.
struct TIniSection {
    std::string Name;
    TStringList Lines;
};
using TIniSections = std::vector<TIniSection>;
// Splits lines into sections: empty lines and lines beginning with ";" are
// skipped, lines before the first section dropped.
void ParseIniSections(const TStringList& lines, TIniSections& sections);
// The value of a key (names without regard to case); the default when the
// section or the key is missing.
std::string IniReadString(const TIniSections& sections, const std::string& section, const std::string& def,
                          const std::string& ident);
// As IniReadString, as a number ("0x" hexadecimal too); the default when
// missing or not a number.
int IniReadInteger(const TIniSections& sections, const std::string& section, int def, const std::string& ident);
