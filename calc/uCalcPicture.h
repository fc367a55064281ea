#pragma once
// Calculator pictures: "Calculators\Pictures\<tree path with blanks for
// the backslashes>" with the extension ".bmp" or ".jpg".
#include <string>

// The picture of a tree path without extension, with the program folder.
std::string CalculatorPictureBase(const std::string& treePath);

// The picture file for a base name: the name itself when such a file
// exists, else with ".bmp", else with ".jpg"; empty when none exists. The
// viewer and the description panel both find pictures this way.
std::string FindPictureFile(const std::string& base);

// Stores the picture file `source` as the picture of the calculator
// `lastCalc` (a tree path, maybe with the program folder and "Calculators"
// in front). Its picture of the other extension stays, unless it is the
// one FindPictureFile would find instead: then it is removed. false
// with a reason in `error` when another calculator of the index has the
// same picture name (its picture is never replaced or removed), the source
// cannot be read, its extension is neither a bitmap's nor a JPEG's, or the
// target cannot be written; nothing is removed then.
bool SaveCalculatorPicture(const std::string& source, const std::string& lastCalc, std::string& error);
