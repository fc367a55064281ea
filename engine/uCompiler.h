#pragma once
// Compiler of a module's [DEVICE] script into device byte code: the script
// becomes assembly text (AsmText), which TAsmCompiler turns into Code.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/StringList.h"

class TCompiler {
public:
    TCompiler();

    TStringList Blocks;         // open blocks: "SUB", "WHILE<n>", "IF<n>", "ELSE<n>"
    int LastCommentLine = -1;   // module line last copied into AsmText as a comment
    int LineIndex = 0;          // module line being read (from 0)
    int ProcScanLine = 0;       // first line after the [DEVICE] directive
    int WhileCount = 0;         // label numbers; kept across compiles
    int IfCount = 0;
    int ElseCount = 0;
    bool ElseAllowed = false;   // only right after the "}" of an IF block
    TStringList Names;          // flat pairs: declared name, value text
    int NextRegister = 1;
    TStringList Lines;          // every line of the module file; the caller fills it
    TStringList Errors;         // "Line <n>: ..." messages; empty = success
    TStringList AsmText;        // generated assembly; cleared once assembled
    TStringList ProcAddresses;  // after a compile: flat pairs, upper-case name, start address
    std::vector<uint8_t> Code;  // device byte code image (2048 bytes)
    int CodeLength = 0;         // number of code bytes

    // The assembly text of the last compile that reached the assembler, and
    // the assembler's listing of it (kept for inspection; AsmText is cleared).
    TStringList LastAsmText;
    TStringList Listing;

    static constexpr int CodeSize = 2048;

    // Compiles the [DEVICE] section of Lines.
    void Compile();
};
