#pragma once
// Code page 1251: the 8-bit text of every file the program reads and writes.
// Logic code keeps such texts as byte-exact std::string; conversion to
// Unicode happens only where a window shows or reads a text.
#include <QString>
#include <string>

char32_t Cp1251ToUnicode(unsigned char c);
// The code page 1251 byte of a code point, or '?' when the page lacks it.
unsigned char UnicodeToCp1251(char32_t u);

// UTF-8 on this side is what the operating system gives and takes (file
// names, folders): a character the page lacks is kept as the byte 0x98,
// which stands for no character of the page, followed by the character's
// UTF-8 bytes. No text written in the page holds such a sequence, so texts
// and settings written before read as they always did, while a name outside
// the page goes to a settings file and back to the system unchanged. Bytes
// that are not UTF-8 at all become "?".
std::string Cp1251ToUtf8(const std::string& s);
std::string Utf8ToCp1251(const std::string& s);
// Marked characters are shown as themselves.
QString Cp1251ToQString(const std::string& s);
// A text read from a window: what the page lacks becomes "?". A path read
// from a window is converted with QStringToPath (Paths.h) instead.
std::string QStringToCp1251(const QString& s);
// The length of the marked character at s[i] (0x98 and its UTF-8 bytes);
// 0 when none begins there.
size_t MarkedCharLength(const std::string& s, size_t i);

// Case rules of the code page (Latin and Cyrillic letters).
unsigned char AnsiUpperChar(unsigned char c);
unsigned char AnsiLowerChar(unsigned char c);
std::string AnsiUpperCase(const std::string& s);
std::string AnsiLowerCase(const std::string& s);
// <0, 0, >0 comparing the upper-cased texts.
int AnsiCompareText(const std::string& a, const std::string& b);
bool AnsiSameText(const std::string& a, const std::string& b);
