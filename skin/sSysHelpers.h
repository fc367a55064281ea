#pragma once
// Paths and waiting, as the skinning library asks for them.
#include <string>

// An empty path stays empty; a final "\" stays; a final "/" becomes "\"; a
// drive letter gets ":\"; any other path gets "\".
std::string AddPathDelimiter(const std::string& path);
// The program's folder with a final separator.
std::string GetAppFolder();
// Handles pending events at least once and until ms milliseconds passed.
void DelayWithMessages(int ms);
