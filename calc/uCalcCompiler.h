#pragma once
// The calculator script compiler: a *.cal file becomes a calculator image
// (uCalcCompilerImage.h) and the assembler listing "asource.asm" in the
// program's folder.
#include <string>
#include <vector>

#include "calc/uCalcCompilerImage.h"

// Caption of the last compiled calculator: the part of the title line after
// its last backslash, or the file name when that is empty.
extern std::string CalcTitle;

// Compiles the file (a program-relative or absolute path) into image. An
// empty errorText on success, else the one message; length is the number of
// image bytes. On failure the image is left as it was.
void CompileCalculator(const std::string& fileName, TCalcImage& image, std::string& errorText, int& length);

// The same on script text already read. listing receives the listing, up to
// the error when the script failed. true on success.
bool CompileCalculatorSource(const std::string& source, TCalcImage& image, std::string& errorText, int& length,
                             std::vector<std::string>& listing);

// The caption a title line gives (see CalcTitle).
std::string CalcTitleOf(const std::string& source, const std::string& fileName);
