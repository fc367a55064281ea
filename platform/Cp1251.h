#pragma once
// Code page 1251: the 8-bit text of every file the program reads and writes.
// Logic code keeps such texts as byte-exact std::string; conversion to
// Unicode happens only where a window shows or reads a text.
#include <QString>
#include <string>

char32_t Cp1251ToUnicode(unsigned char c);
// The code page 1251 byte of a code point, or '?' when the page lacks it.
unsigned char UnicodeToCp1251(char32_t u);

std::string Cp1251ToUtf8(const std::string& s);
std::string Utf8ToCp1251(const std::string& s);
QString Cp1251ToQString(const std::string& s);
std::string QStringToCp1251(const QString& s);

// Case rules of the code page (Latin and Cyrillic letters).
unsigned char AnsiUpperChar(unsigned char c);
unsigned char AnsiLowerChar(unsigned char c);
std::string AnsiUpperCase(const std::string& s);
std::string AnsiLowerCase(const std::string& s);
// <0, 0, >0 comparing the upper-cased texts.
int AnsiCompareText(const std::string& a, const std::string& b);
bool AnsiSameText(const std::string& a, const std::string& b);
