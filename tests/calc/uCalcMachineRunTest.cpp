// The calculator machine's run: entries, the registers set at entry, jumps,
// procedures and the return stack, the ends of a run, stopping, and runs
// that must not nest or see the image change under them.
#include <cstdint>
#include <limits>

#include "CalcMachineSupport.h"

using namespace calctest;

namespace {

using TRunTest = TCalcMachineTest;

} // namespace

TEST_F(TRunTest, EntriesSelectTheirProcedureAndAMissingOneRunsNothing)
{
    auto image = Compiled(ScriptHead + "ONAPPLY{ X = 2; }\r\nONCHANGE{ X = 3; }\r\n");
    const struct {
        int entry;
        bool runs;
        int64_t x;
    } cases[] = {{CalcEntryOnShow, false, 0},
                 {CalcEntryOnApply, true, 2},
                 {CalcEntryOnChange, true, 3},
                 {1, false, 0},
                 {6, false, 0},
                 {-2, false, 0}};
    for (const auto& c : cases) {
        R[52] = 0;
        TCalcFakeHost host;
        EXPECT_EQ(RunCalculatorCode(*image, c.entry, host), c.runs) << c.entry;
        EXPECT_EQ(R[52], c.x) << c.entry;
        EXPECT_EQ(host.Messages > 0, c.runs) << c.entry;
    }
}

TEST_F(TRunTest, ReservedRegistersAreSetAtEveryEntryAndVariablesPersist)
{
    auto image = Compiled(ScriptHead + "ONSHOW{ X = X + 1; Y = SELSTART + SELEND + BUFSIZE + CURSORADR; "
                                       "BUFSIZE = 7; }\r\n");
    TCalcFakeHost host;
    host.SelStart = -1;
    host.SelEnd = -1;
    host.Size = 0x10000;
    host.Cursor = 5;
    RunShow(*image, host);
    EXPECT_EQ(R[52], 1);
    EXPECT_EQ(R[53], 0x10000 + 5 - 2);
    EXPECT_EQ(R[CalcRegBufSize], 7);
    host.SelStart = 16;
    host.SelEnd = 31;
    host.Size = 256;
    host.Cursor = 0;
    RunShow(*image, host);
    EXPECT_EQ(R[52], 2) << "VAR values persist between runs";
    EXPECT_EQ(R[53], 16 + 31 + 256);
    EXPECT_EQ(R[CalcRegSelStart], 16);
}

TEST_F(TRunTest, ConditionalJumpsCompareSigned)
{
    const int64_t big = std::numeric_limits<int64_t>::max();
    const struct {
        const char* mnemonic;
        int64_t x, y;
        bool jumps;
    } cases[] = {
        {"JR=R", 5, 5, true},       {"JR=R", 5, 6, false},      {"JR!=R", 5, 6, true},   {"JR!=R", -1, -1, false},
        {"JR>R", 0, -1, true},      {"JR>R", -1, 0, false},     {"JR>R", 3, 3, false},   {"JR<R", -1, 0, true},
        {"JR<R", big, -big, false}, {"JR=>R", 3, 3, true},      {"JR=>R", -5, 2, false}, {"JR<=R", 3, 3, true},
        {"JR<=R", 4, 3, false},     {"JR<=R", -big, big, true},
    };
    for (const auto& c : cases) {
        R[60] = c.x;
        R[61] = c.y;
        R[62] = 0;
        auto image = Assembled({OpTo(c.mnemonic, {60, 61}, "T"), Op("R=B", {62, 1}), "RET", "T:", Op("R=B", {62, 2})});
        TCalcFakeHost host;
        RunShow(*image, host);
        EXPECT_EQ(R[62], c.jumps ? 2 : 1) << c.mnemonic << " " << c.x << ", " << c.y;
    }
}

TEST_F(TRunTest, ProceduresCallAndReturn)
{
    // Nested calls, RETURN inside a procedure and a loop around calls.
    auto image = Compiled(ScriptHead + "ADD{ X = X + 1; }\r\nTWICE{ ADD; ADD; RETURN; ADD; }\r\n"
                                       "ONSHOW{ X = 0; Y = 0; WHILE (Y < 5) { TWICE; Y = Y + 1; } ADD; }\r\n");
    TCalcFakeHost host;
    RunShow(*image, host);
    EXPECT_EQ(R[52], 11);
    EXPECT_EQ(R[53], 5);
}

TEST_F(TRunTest, RetAtDepthZeroEndsTheRunAndTheReturnStackIsResetAtEntry)
{
    // RET at depth 0 ends the run: the instruction after it never runs.
    auto image = Assembled({Op("R=B", {60, 1}), "RET", Op("R=B", {60, 2})});
    TCalcFakeHost host;
    RunShow(*image, host);
    EXPECT_EQ(R[60], 1);
}

TEST_F(TRunTest, ReturnStackLimitsEndTheRunCleanly)
{
    // Endless recursion: the 2049th nested call ends the run.
    auto image = Assembled({"P:", Op("R+B", {60, 1}), "CALL    P"});
    TCalcFakeHost host;
    RunShow(*image, host);
    EXPECT_EQ(R[60], CalcReturnStackDepth + 1);
    // A full stack of 2048 calls still returns through every level.
    R[60] = 0;
    auto deep = Assembled({"CALL    P", "RET", "P:", Op("R+B", {60, 1}), OpTo("JR=R", {60, 61}, "BOTTOM"), "CALL    P",
                           Op("R+B", {62, 1}), "RET", "BOTTOM:", "RET"});
    R[61] = CalcReturnStackDepth;
    R[62] = 0;
    RunShow(*deep, host);
    EXPECT_EQ(R[60], CalcReturnStackDepth);
    EXPECT_EQ(R[62], CalcReturnStackDepth - 1);
}

TEST_F(TRunTest, RunsEndAtNonOpcodesAndAtTheImageEnd)
{
    const struct {
        const char* what;
        uint32_t opcode;
    } ends[] = {{"first non-opcode", 79}, {"0xFF", 0xFF}};
    for (const auto& e : ends) {
        R[60] = 0;
        auto image = Assembled({Op("R=B", {60, 1}), ".db " + CalcHex(e.opcode).substr(6), Op("R=B", {60, 2})});
        TCalcFakeHost host;
        RunShow(*image, host);
        EXPECT_EQ(R[60], 1) << e.what;
    }
    // Code that runs off the image end, and an instruction cut by it.
    const struct {
        const char* what;
        std::vector<uint8_t> tail; // the last bytes of the image
    } cuts[] = {{"R+B at the very end", {43, 60, 1}}, {"R=D cut by the end", {43, 60, 1, 1, 60}}};
    for (const auto& c : cuts) {
        auto image = std::make_unique<TCalcImage>();
        image->fill(0); // R=R 0,0 all the way
        (*image)[0] = static_cast<uint8_t>(CalcImageSize - c.tail.size());
        (*image)[1] = static_cast<uint8_t>((CalcImageSize - c.tail.size()) >> 8);
        std::copy(c.tail.begin(), c.tail.end(), image->end() - static_cast<long>(c.tail.size()));
        R[60] = 0;
        TCalcFakeHost host;
        RunShow(*image, host);
        EXPECT_EQ(R[60], 1) << c.what;
    }
}

TEST_F(TRunTest, StopEndsAnEndlessLoopAndTheHostIsNotCalledAfterIt)
{
    auto image = Compiled(ScriptHead + "ONSHOW{ WHILE (1 = 1) { X = X + 1; E1 = 5; } }\r\n");
    // Stops asked for before an instruction and after C=D alike.
    for (long stopAt = 1000; stopAt < 1006; ++stopAt) {
        TCalcFakeHost host;
        size_t logAtStop = 0;
        host.OnMessages = [&](long n) {
            if (n == stopAt) {
                StopCalculatorRun();
                logAtStop = host.Log.size();
            }
        };
        EXPECT_TRUE(RunCalculatorCode(*image, CalcEntryOnShow, host));
        EXPECT_FALSE(host.StopReached);
        EXPECT_FALSE(CalculatorRunning());
        EXPECT_EQ(host.Messages, stopAt);
        EXPECT_EQ(host.Log.size(), logAtStop);
    }
    EXPECT_GT(R[52], 10);
    // A stop asked for between runs does not end the next one early.
    StopCalculatorRun();
    auto once = Compiled(ScriptHead + "ONSHOW{ Y = 9; }\r\n");
    TCalcFakeHost next;
    RunShow(*once, next);
    EXPECT_EQ(R[53], 9);
}

TEST_F(TRunTest, RunsNeverNest)
{
    auto image = Compiled(ScriptHead + "ONSHOW{ X = X + 1; E1 = X; }\r\nONAPPLY{ Y = 5; }\r\n");
    TCalcFakeHost host;
    int nested = 0;
    bool runningInside = false;
    host.OnMessages = [&](long) {
        runningInside = CalculatorRunning();
        // Message processing inside a run starts another run (Apply, a
        // buffer change): it is refused and changes nothing.
        TCalcFakeHost other;
        nested += RunCalculatorCode(*image, CalcEntryOnApply, other) ? 1 : 0;
        nested += RunCalculatorCode(*image, CalcEntryOnShow, other) ? 1 : 0;
    };
    EXPECT_FALSE(CalculatorRunning());
    RunShow(*image, host);
    EXPECT_TRUE(runningInside);
    EXPECT_EQ(nested, 0);
    EXPECT_EQ(R[52], 1);
    EXPECT_EQ(R[53], 0);
    EXPECT_FALSE(CalculatorRunning());
    EXPECT_TRUE(RunCalculatorCode(*image, CalcEntryOnApply, host)) << "a new run starts once the last one ended";
    EXPECT_EQ(R[53], 5);
}

TEST_F(TRunTest, ARecompileDuringARunDoesNotChangeItsCode)
{
    auto image = Compiled(ScriptHead + "ONSHOW{ X = 0; WHILE (X < 100) { X = X + 1; } Y = 1; }\r\n");
    TCalcFakeHost host;
    host.OnMessages = [&](long n) {
        if (n == 10) {
            // Another calculator compiled into the same image buffer.
            std::string error;
            int length = 0;
            std::vector<std::string> listing;
            ASSERT_TRUE(CompileCalculatorSource(Utf8ToCp1251(ScriptHead + "ONCHANGE{ Z = 4; }\r\nONSHOW{ Z = 3; "
                                                                          "Z = 3; Z = 3; Z = 3; Z = 3; Z = 3; }\r\n"),
                                                *image, error, length, listing));
        }
    };
    RunShow(*image, host);
    EXPECT_EQ(R[52], 100);
    EXPECT_EQ(R[53], 1);
    EXPECT_EQ(R[54], 0);
}

TEST_F(TRunTest, MessagesAreProcessedBeforeEveryInstruction)
{
    auto image = Assembled({Op("R=B", {60, 1}), Op("R=B", {60, 2}), Op("R=B", {60, 3})});
    TCalcFakeHost host;
    RunShow(*image, host);
    EXPECT_EQ(host.Messages, 4); // three instructions and the RET
}
