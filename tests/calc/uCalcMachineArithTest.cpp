// The calculator machine's register arithmetic: every opcode of the family,
// the constant forms zero-extended, and the cases C++ leaves undefined.
#include <cstdint>
#include <limits>

#include "CalcMachineSupport.h"

using namespace calctest;

namespace {

constexpr int64_t Min = std::numeric_limits<int64_t>::min();
constexpr int64_t Max = std::numeric_limits<int64_t>::max();

using TArithTest = TCalcMachineTest;

// R[60] := x, then "<mnemonic> 60, operand" where operand is register 61
// holding y for the R forms and the constant y otherwise.
struct TArithCase {
    const char* mnemonic;
    int64_t x;
    int64_t y;
    int64_t expected;
};

int64_t RunArith(const TArithCase& c, int64_t* registers, int64_t& divisorAfter)
{
    const std::string m = c.mnemonic;
    const bool reg = m.back() == 'R';
    registers[60] = c.x;
    registers[61] = c.y;
    auto image = Assembled({reg ? Op(m, {60, 61}) : Op(m, {60, static_cast<uint32_t>(c.y)})});
    TCalcFakeHost host;
    RunShow(*image, host);
    divisorAfter = registers[61];
    return registers[60];
}

} // namespace

TEST_F(TArithTest, EveryOperatorWithEveryOperandForm)
{
    const TArithCase cases[] = {
        {"R=R", 5, -7, -7},
        {"R=D", 5, 0xFFFFFFFF, 0xFFFFFFFF},
        {"R=W", 5, 0xFFFF, 0xFFFF},
        {"R=B", 5, 0xFF, 0xFF},
        {"R+R", 40, 2, 42},
        {"R+D", -1, 0xFFFFFFFF, 0xFFFFFFFE},
        {"R+W", 1, 0xFFFF, 0x10000},
        {"R+B", 1, 0xFF, 0x100},
        {"R-R", 2, 5, -3},
        {"R-D", 0, 0x80000000, -0x80000000LL},
        {"R-W", 0, 1, -1},
        {"R-B", 300, 44, 256},
        {"R*R", -3, 7, -21},
        {"R*D", 0x10000, 0x10000, 0x100000000LL},
        {"R*W", -2, 0x8000, -0x10000},
        {"R*B", 9, 9, 81},
        {"R/R", -7, 2, -3},
        {"R/D", -7, 2, -3},
        {"R/W", 70000, 1000, 70},
        {"R/B", 255, 16, 15},
        {"R%R", -7, 2, -1},
        {"R%D", 7, 0x80000000, 7},
        {"R%W", 70000, 1000, 0},
        {"R%B", 255, 16, 15},
        {"R&R", 0x0F0F, 0x00FF, 0x000F},
        {"R&D", -1, 0xFFFFFFFF, 0xFFFFFFFF},
        {"R&W", -1, 0x1234, 0x1234},
        {"R&B", 0x1FF, 0x80, 0x80},
        {"R|R", 0xF0, 0x0F, 0xFF},
        {"R|D", 0, 0x80000000, 0x80000000},
        {"R|W", 1, 0x8000, 0x8001},
        {"R|B", 0x100, 1, 0x101},
        {"R^R", 0xFF, 0x0F, 0xF0},
        {"R^D", -1, 0xFFFFFFFF, -0x100000000LL},
        {"R^W", 0, 0xABCD, 0xABCD},
        {"R^B", 0xFF, 0xFF, 0},
        {"R>>R", -1, 60, 0xF},
        {"R>>D", -1, 63, 1},
        {"R<<R", 1, 63, Min},
        {"R<<D", 3, 4, 48},
    };
    for (const TArithCase& c : cases) {
        int64_t divisor = 0;
        EXPECT_EQ(RunArith(c, R, divisor), c.expected) << c.mnemonic << " " << c.x << ", " << c.y;
    }
}

TEST_F(TArithTest, UndefinedInCxxIsDefinedHere)
{
    const TArithCase cases[] = {
        // Sums and products wrap.
        {"R+R", Max, 1, Min},
        {"R-R", Min, 1, Max},
        {"R*R", Max, 2, -2},
        // The most negative value divided by -1 stays itself, remainder 0.
        {"R/R", Min, -1, Min},
        {"R%R", Min, -1, 0},
        {"R/R", 5, -1, -5},
        // Shifts by 64 or more, and negative counts, give 0.
        {"R>>R", -1, 64, 0},
        {"R<<R", -1, 64, 0},
        {"R>>R", -1, 1000, 0},
        {"R<<R", 1, -1, 0},
        {"R>>R", -1, -64, 0},
        {"R>>D", -1, 64, 0},
        {"R<<D", 1, 255, 0},
        {"R>>R", Min, 0, Min},
    };
    for (const TArithCase& c : cases) {
        int64_t divisor = 0;
        EXPECT_EQ(RunArith(c, R, divisor), c.expected) << c.mnemonic << " " << c.x << ", " << c.y;
    }
}

TEST_F(TArithTest, ZeroDivisorCountsAsOneAndAZeroRegisterBecomesOne)
{
    const struct {
        const char* mnemonic;
        int64_t expected;
        int64_t divisorAfter; // register 61 afterwards
    } cases[] = {
        {"R/R", 9, 1}, {"R%R", 0, 1}, {"R/D", 9, 0}, {"R%D", 0, 0},
        {"R/W", 9, 0}, {"R%W", 0, 0}, {"R/B", 9, 0}, {"R%B", 0, 0},
    };
    for (const auto& c : cases) {
        int64_t divisor = 0;
        EXPECT_EQ(RunArith({c.mnemonic, 9, 0, 0}, R, divisor), c.expected) << c.mnemonic;
        EXPECT_EQ(divisor, c.divisorAfter) << c.mnemonic;
    }
}

TEST_F(TArithTest, DivisionOfARegisterByItself)
{
    // R/R with one register as both operands: the zero becomes 1 first.
    R[70] = 0;
    TCalcFakeHost host;
    RunShow(*Assembled({Op("R/R", {70, 70})}), host);
    EXPECT_EQ(R[70], 1);
}

TEST_F(TArithTest, CompiledExpressionsOverVariables)
{
    const struct {
        const char* expression;
        int64_t x, y, expected;
    } cases[] = {
        {"X + Y * 2", 1, 3, 7},
        {"(X + Y) * 2", 1, 3, 8},
        {"X / Y", -9, 0, -9},
        {"X % 0", 5, 0, 0},
        {"X << Y", 1, 64, 0},
        {"X >> 4", -1, 0, 0x0FFFFFFFFFFFFFFF},
        {"X - 0xFFFFFFFF", 0, 0, -0xFFFFFFFFLL},
        {"X & 0xFF | Y", 0x1234, 0x100, 0x34}, // "|" binds tighter than "&"
        {"X ^ Y", 6, 3, 5},
    };
    for (const auto& c : cases) {
        ResetCalcRegisters();
        R[52] = c.x;
        R[53] = c.y;
        auto image = Compiled(ScriptHead + "ONSHOW{ Z = " + c.expression + "; }\r\n");
        TCalcFakeHost host;
        RunShow(*image, host);
        EXPECT_EQ(R[54], c.expected) << c.expression;
    }
}
