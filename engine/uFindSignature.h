#pragma once
// The module signature table "signatures.cfg" in the program folder: lines
// of a hexadecimal chip signature, "=" and a chip (a ChipList entry, or a
// text whose last "\" component names the chip); ";" starts a comment line.
#include <cstdint>
#include <string>

// True with the ChipList entry of the chip the first line for `signature`
// names; false when the table is missing, has no such line, or the line or
// its chip does not lead to a ChipList entry.
bool FindModuleBySignature(int32_t signature, std::string& chipEntry);
