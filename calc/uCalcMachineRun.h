#pragma once
// Inside the calculator machine: the state of one run and the step that
// executes one instruction. Only the machine's own files include this.
#include <array>
#include <cstdint>
#include <random>
#include <string>

#include "calc/uCalcMachine.h"

// The private copy of the image a run executes. Bytes past the image read as
// 0xFF, no opcode, so code that runs off the end stops there.
inline constexpr size_t CalcCodePadding = 8;
using TCalcCode = std::array<uint8_t, CalcImageSize + CalcCodePadding>;

// A string register grows no further than this; a run that would make it
// longer ends, since a loop of S+S doubles it with every pass.
inline constexpr size_t CalcStringLimit = 65536;

struct TCalcRun {
    TCalcRun(const TCalcCode& code, TCalcHost& host, int64_t* registers, uint16_t start)
        : Code(code), Host(host), R(registers), PC(start)
    {}

    const TCalcCode& Code;
    TCalcHost& Host;
    int64_t* R;
    uint32_t PC;
    std::array<std::string, CalcStringRegisterCount> S;
    std::array<uint16_t, CalcReturnStackDepth> Stack{};
    int Depth = 0;
    std::mt19937_64 Random;
};

// Executes the instruction at run.PC and moves PC on. false when the run
// ends there: RET at depth 0, no opcode, an instruction that does not fit in
// the image, or a limit of the machine (return stack, string registers).
bool CalcStep(TCalcRun& run);

// Appends to a string register within CalcStringLimit; false when it would
// grow past it.
bool CalcAppend(std::string& s, const std::string& tail);
