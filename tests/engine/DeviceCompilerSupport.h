#pragma once
// Helpers of the device compiler tests: compile a script, read back its
// assembly text as plain lines and its code as hex text.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/uCompiler.h"
#include "platform/SysUtils.h"
#include "TestSupport.h"

namespace devtest {

using Strings = std::vector<std::string>;

inline Strings Items(const TStringList& l) { return l.Items(); }

// Fills Lines and compiles; with expectSuccess the compile must succeed.
inline void Compile(TCompiler& c, const Strings& lines, bool expectSuccess = true)
{
    c.Lines.Clear();
    for (const auto& l : lines)
        c.Lines.Add(l);
    c.Compile();
    if (expectSuccess) {
        EXPECT_TRUE(c.Errors.Empty()) << (c.Errors.Empty() ? "" : c.Errors[0]);
    } else {
        EXPECT_FALSE(c.Errors.Empty());
    }
}

inline std::string FirstError(const TCompiler& c) { return c.Errors.Empty() ? std::string() : c.Errors[0]; }

// Instructions ("MOV R1,R2") and labels ("WHILE0:") of the last assembly
// text, without the source comments and empty lines.
inline Strings AsmLines(const TCompiler& c)
{
    Strings out;
    for (const std::string& line : c.LastAsmText) {
        if (line.empty() || line[0] == ';')
            continue;
        std::string s = line.compare(0, 2, "\t\t") == 0 ? line.substr(2) : line;
        for (char& ch : s)
            if (ch == '\t')
                ch = ' ';
        out.push_back(s);
    }
    return out;
}

inline std::string HexOf(const std::vector<uint8_t>& code, int length)
{
    std::string out;
    for (int i = 0; i < length; ++i)
        out += (i ? " " : "") + IntToHex(code[static_cast<size_t>(i)], 2);
    return out;
}

// A golden assembly file: the lines as stored, TABs included.
inline TStringList LoadGolden(const std::string& fixture)
{
    TStringList l;
    EXPECT_TRUE(l.LoadFromFile(testsupport::FixturePath(fixture))) << fixture;
    return l;
}

} // namespace devtest

