#pragma once
// The pictures the program carries inside: the extended-border shadows and
// the five start-up glyphs, drawn here in code.
#include "PngWriter.h"

#include <string>
#include <utility>
#include <vector>

// Name and PNG file of every built-in picture, in a fixed order.
std::vector<std::pair<std::string, std::string>> BuiltInPictures();
