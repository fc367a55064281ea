#pragma once
// Building calculator images for the machine's tests: code assembled from
// listing lines, or whole scripts compiled.
#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "CalcFakeHost.h"
#include "calc/uCalcCompiler.h"
#include "calc/uCalcCompilerAsm.h"
#include "calc/uCalcMachine.h"
#include "platform/Cp1251.h"

namespace calctest {

// One instruction line with numeric operands.
inline std::string Op(const std::string& mnemonic, std::initializer_list<uint32_t> operands = {})
{
    std::vector<std::string> hex;
    for (uint32_t v : operands)
        hex.push_back(CalcHex(v));
    std::string line = mnemonic;
    line.resize(8, ' ');
    for (size_t i = 0; i < hex.size(); ++i)
        line += (i ? " " : "") + hex[i];
    return line;
}

// An instruction whose last operand is a label.
inline std::string OpTo(const std::string& mnemonic, std::initializer_list<uint32_t> operands, const std::string& label)
{
    std::string line = Op(mnemonic, operands);
    return line + (line.size() > 8 ? " " : "") + label;
}

// An image whose ONSHOW entry runs the code (a RET is added at its end).
inline std::unique_ptr<TCalcImage> Assembled(std::vector<std::string> code)
{
    std::vector<std::string> listing{".db FF FF FF FF FF FF FF FF C8 00 64 00 FF", "PROC_ONSHOW:"};
    listing.insert(listing.end(), code.begin(), code.end());
    listing.push_back("RET");
    auto image = std::make_unique<TCalcImage>();
    std::string error;
    int position = 0;
    EXPECT_TRUE(AssembleCalculator(listing, error, position, *image)) << Cp1251ToUtf8(error);
    return image;
}

// An image compiled from script text (UTF-8).
inline std::unique_ptr<TCalcImage> Compiled(const std::string& source)
{
    auto image = std::make_unique<TCalcImage>();
    std::string error;
    int length = 0;
    std::vector<std::string> listing;
    EXPECT_TRUE(CompileCalculatorSource(Utf8ToCp1251(source), *image, error, length, listing)) << Cp1251ToUtf8(error);
    return image;
}

// The script head every compiled test uses: a label L0, a decimal field E1,
// a hexadecimal field H2, a combo box C3, a check box B4, and variables.
inline const std::string ScriptHead = "[Tests\\Machine]\r\nSIZE(300,200);\r\nFORM{\r\n"
                                      " LABEL(L0,\"x\",0,5);\r\n DIGIT(E1,\"d\",60,30,50);\r\n"
                                      " HEXDIGIT(H2,\"h\",60,60,50,4);\r\n"
                                      " COMBOBOX(C3,\"c\",60,90,50,\"a\",\"b\");\r\n CHECKBOX(B4,\"b\",5,120);\r\n"
                                      "}\r\nVAR X,Y,Z;\r\n"; // X is register 52, Y 53, Z 54

// Runs ONSHOW and expects it to run and to end by itself.
inline void RunShow(const TCalcImage& image, TCalcFakeHost& host)
{
    EXPECT_TRUE(RunCalculatorCode(image, CalcEntryOnShow, host));
    EXPECT_FALSE(host.StopReached) << "the run did not end by itself";
    EXPECT_EQ(host.BadAddresses, 0);
}

// Registers start from zero in every test.
class TCalcMachineTest : public ::testing::Test {
protected:
    void SetUp() override { ResetCalcRegisters(); }
    int64_t* R = CalcRegisters();
};

} // namespace calctest
