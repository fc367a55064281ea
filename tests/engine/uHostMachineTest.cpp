#include "engine/Engine.h"
#include "engine/Global.h"
#include "engine/uAsmMnemonics.h"
#include "engine/uHost.h"
#include "platform/Paths.h"

#include "ProgramStateGuard.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A machine loaded with hand-written code, waits recorded instead of slept.
struct Machine {
    THost host;
    std::vector<int> waits;

    Machine() { host.DelayWait = [this](int ms) { waits.push_back(ms); }; }

    void Load(const std::vector<std::pair<int, uint32_t>>& code)
    {
        int n = 0;
        for (const auto& [op, k] : code) {
            host.Code[static_cast<size_t>(n++)] = static_cast<uint32_t>(op);
            host.Code[static_cast<size_t>(n++)] = k;
        }
        host.CodeLength = n;
        host.PC = 0;
        host.SP = 0;
    }
};

TEST(HostMnemonics, TableIsInOpcodeOrderAndEndsWithTheEndRecord)
{
    for (int i = 0; i < MnemonicCount; ++i) {
        EXPECT_EQ(Mnemonics[i].Opcode, i);
        EXPECT_EQ(FindMnemonic(Mnemonics[i].Name), i);
    }
    EXPECT_EQ(Mnemonics[MnemonicCount].Opcode, -1);
    EXPECT_EQ(FindMnemonic("CLOS"), 64);
    EXPECT_EQ(FindMnemonic("clos"), -1); // case-sensitive
    EXPECT_EQ(FindMnemonic("NOPE"), -1);
    EXPECT_EQ(FindMnemonic(""), -1);
}

// One instruction from a known state: A = a, V[3] = v; each case runs with
// all flags clear and again with all flags set, so that a flag the
// instruction does not name must keep either value.
struct ArithCase {
    int op;
    uint32_t k;
    uint32_t a;
    uint32_t v;
    uint32_t expectA;
    int z, g, l; // -1: unchanged
};

TEST(HostMachine, ArithmeticLogicAndCompareInstructions)
{
    const uint32_t big = 0xFFFFFFFFu;
    const ArithCase cases[] = {
        {opLDIA, 7, 1, 0, 7, -1, -1, -1},
        {opMOVA, 3, 1, 42, 42, -1, -1, -1},
        {opSUBR, 3, 5, 7, 0xFFFFFFFEu, -1, -1, -1},
        {opSUBI, 1, 0, 0, big, -1, -1, -1},
        {opSUBI, 5, 5, 0, 0, -1, -1, -1},
        {opADDR, 3, big, 2, 1, -1, -1, -1},
        {opADDI, 2, 3, 0, 5, -1, -1, -1},
        {opANDR, 3, 0xF0, 0x0F, 0, 1, -1, -1},
        {opANDI, 0x10, 0x30, 0, 0x10, 0, -1, -1},
        {opXORR, 3, 5, 5, 0, 1, -1, -1},
        {opXORI, 1, 2, 0, 3, 0, -1, -1},
        {opORRR, 3, 0, 0, 0, 1, -1, -1},
        {opORRI, 4, 1, 0, 5, 0, -1, -1},
        {opCMPR, 3, 5, 5, 5, 1, 0, 0},
        {opCMPR, 3, 6, 5, 6, 0, 1, 0},
        {opCMPR, 3, 1, big, 1, 0, 0, 1},
        {opCMPI, 5, big, 0, big, 0, 1, 0}, // unsigned: 0xFFFFFFFF > 5
        {opCMPI, 9, 5, 0, 5, 0, 0, 1},
        {opCMPI, 9, 9, 0, 9, 1, 0, 0},
        {opTSTB, 4, 3, 0, 3, 1, -1, -1},
        {opTSTB, 2, 3, 0, 3, 0, -1, -1},
        {opROTR, 4, 0x80000010u, 0, 0x08000001u, -1, -1, -1}, // zeros shifted in
        {opROTL, 33, 0x80000001u, 0, 2, -1, -1, -1},         // count and 31
        {opROTL, 0, 0x80000001u, 0, 0x80000001u, -1, -1, -1},
        {opMULI, 3, 0x80000001u, 0, 0x80000003u, -1, -1, -1},
        {opMULR, 3, 6, 7, 42, -1, -1, -1},
        {opDIVI, 0, 9, 0, big, -1, -1, -1},
        {opDIVI, 4, 9, 0, 2, -1, -1, -1},
        {opDIVI, 2, big, 0, 0x7FFFFFFFu, -1, -1, -1}, // unsigned
        {opDIVR, 3, 9, 0, big, -1, -1, -1},
        {opDIVR, 3, big, 2, 0x7FFFFFFFu, -1, -1, -1},
        {opMESS, 1, 9, 0, 9, -1, -1, -1},
        {opSFPI, 1, 9, 0, 9, -1, -1, -1},
        {opINCC, 3, 9, 0, 9, -1, -1, -1},
        {opCLOS, 0, 9, 0, 9, -1, -1, -1},
    };
    for (const auto& c : cases) {
        for (const bool before : {false, true}) {
            SCOPED_TRACE(Mnemonics[c.op].Name + std::string(" ") + std::to_string(c.k) +
                         (before ? ", flags set" : ", flags clear"));
            Machine m;
            m.Load({{c.op, c.k}, {opRETT, 0}});
            m.host.A = c.a;
            m.host.Vars[3] = c.v;
            m.host.Z = m.host.G = m.host.L = before;
            EXPECT_EQ(m.host.Step(), THost::StepContinue);
            EXPECT_EQ(m.host.A, c.expectA);
            EXPECT_EQ(m.host.Z, c.z < 0 ? before : c.z == 1);
            EXPECT_EQ(m.host.G, c.g < 0 ? before : c.g == 1);
            EXPECT_EQ(m.host.L, c.l < 0 ? before : c.l == 1);
            EXPECT_EQ(m.host.PC, 2);
            EXPECT_EQ(m.host.SP, 0);
        }
    }
}

TEST(HostMachine, StoresAndCountersChangeNoFlag)
{
    Machine m;
    m.Load({{opMOVR, 5}, {opINCC, 5}, {opINCC, 6}, {opDECC, 7}, {opRETT, 0}});
    m.host.A = 41;
    m.host.Z = true;
    m.host.G = true;
    for (int i = 0; i < 4; ++i)
        ASSERT_EQ(m.host.Step(), THost::StepContinue);
    EXPECT_EQ(m.host.Vars[5], 42u);
    EXPECT_EQ(m.host.Vars[6], 1u);
    EXPECT_EQ(m.host.Vars[7], 0xFFFFFFFFu);
    EXPECT_TRUE(m.host.Z);
    EXPECT_TRUE(m.host.G);
    EXPECT_FALSE(m.host.L);
}

struct JumpCase {
    int op;
    bool z, g, l;
    bool taken;
};

TEST(HostMachine, ConditionalJumpsFollowTheFlags)
{
    const JumpCase cases[] = {
        {opJMPZ, true, false, false, true},  {opJMPZ, false, true, false, false},
        {opJPNZ, false, false, true, true},  {opJPNZ, true, false, false, false},
        {opJMPG, false, true, false, true},  {opJMPG, true, false, false, false},
        {opJMPL, false, false, true, true},  {opJMPL, false, true, false, false},
        {opJMPP, false, false, false, true}, {opJPZG, true, false, false, true},
        {opJPZG, false, true, false, true},  {opJPZG, false, false, true, false},
        {opJPZL, true, false, false, true},  {opJPZL, false, false, true, true},
        {opJPZL, false, true, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Mnemonics[c.op].Name);
        Machine m;
        m.Load({{c.op, 6}, {opRETT, 0}, {opRETT, 0}, {opRETT, 0}});
        m.host.Z = c.z;
        m.host.G = c.g;
        m.host.L = c.l;
        EXPECT_EQ(m.host.Step(), THost::StepContinue);
        EXPECT_EQ(m.host.PC, c.taken ? 6 : 2);
    }
}

TEST(HostMachine, JpzlAfterCmpiJumpsWhenAtMostTheConstantUnsigned)
{
    for (const uint32_t a : {4u, 5u, 6u, 0xFFFFFFFFu}) {
        Machine m;
        m.Load({{opCMPI, 5}, {opJPZL, 6}, {opRETT, 0}, {opRETT, 0}});
        m.host.A = a;
        m.host.Step();
        m.host.Step();
        EXPECT_EQ(m.host.PC, a <= 5 ? 6 : 4) << a;
    }
}

TEST(HostMachine, CallPushesTheNextAddressAndRettReturnsThere)
{
    Machine m;
    m.Load({{opCALL, 6}, {opLDIA, 9}, {opRETT, 0}, {opLDIA, 3}, {opRETT, 0}});
    EXPECT_EQ(m.host.Step(), THost::StepContinue);
    EXPECT_EQ(m.host.SP, 1);
    EXPECT_EQ(m.host.CallStack[1], 2u);
    EXPECT_EQ(m.host.PC, 6);
    m.host.Step();
    EXPECT_EQ(m.host.Step(), THost::StepContinue); // inner RETT
    EXPECT_EQ(m.host.PC, 2);
    EXPECT_EQ(m.host.SP, 0);
    m.host.Step();
    EXPECT_EQ(m.host.Step(), THost::StepEnded);
    EXPECT_EQ(m.host.ExitValue, 9u);
}

TEST(HostMachine, ClosSetsTheExitValueAndGoesOn)
{
    Machine m;
    m.Load({{opLDIA, 0x7FFFFFFF}, {opCLOS, 0}, {opLDIA, 1}, {opRETT, 0}});
    m.host.Step();
    EXPECT_EQ(m.host.Step(), THost::StepContinue);
    EXPECT_EQ(m.host.ExitValue, 0x7FFFFFFFu);
    EXPECT_EQ(m.host.PC, 4);
}

TEST(HostMachine, PointerInstructionsTakeConstantsOrVariables)
{
    Machine m;
    m.Load({{opSFPI, 1}, {opSFPR, 3}, {opSEPI, 2}, {opSEPR, 3}, {opSFSI, 3}, {opSFSR, 3}, {opSESI, 4},
            {opSESR, 3}, {opSRPI, 5}, {opSRPR, 3}, {opRETT, 0}});
    m.host.Vars[3] = 77;
    m.host.Step();
    EXPECT_EQ(m.host.FPtr, 1u);
    m.host.Step();
    EXPECT_EQ(m.host.FPtr, 77u);
    m.host.Step();
    EXPECT_EQ(m.host.EPtr, 2u);
    m.host.Step();
    EXPECT_EQ(m.host.EPtr, 77u);
    m.host.Step();
    EXPECT_EQ(m.host.FSel, 3u);
    m.host.Step();
    EXPECT_EQ(m.host.FSel, 77u);
    m.host.Step();
    EXPECT_EQ(m.host.ESel, 4u);
    m.host.Step();
    EXPECT_EQ(m.host.ESel, 77u);
    m.host.Step();
    EXPECT_EQ(m.host.APtr, 5u);
    m.host.Step();
    EXPECT_EQ(m.host.APtr, 77u);
}

TEST(HostMachine, ArrayCellsAreReadAndWrittenThroughAPtr)
{
    Machine m;
    m.Load({{opSRPI, 65535}, {opLDIA, 12}, {opMTRA, 0}, {opLDIA, 0}, {opMFRA, 0}, {opRETT, 0}});
    for (int i = 0; i < 5; ++i)
        ASSERT_EQ(m.host.Step(), THost::StepContinue);
    EXPECT_EQ(m.host.ArrayStore[65535], 12u);
    EXPECT_EQ(m.host.A, 12u);
}

TEST(HostMachine, CallbacksReceiveTheirArguments)
{
    Machine m;
    std::vector<std::string> log;
    auto& h = m.host;
    h.OnPrint = [&](uint32_t r) { log.push_back("print " + std::to_string(r)); };
    h.OnSetupUart = [&](uint32_t w) { log.push_back("uart " + std::to_string(w)); };
    h.OnInPort = [&](uint32_t p, uint32_t& v) {
        log.push_back("in " + std::to_string(p) + " " + std::to_string(v));
        v = 0x55;
    };
    h.OnOutPort = [&](uint32_t p, uint32_t& v) { log.push_back("out " + std::to_string(p) + " " + std::to_string(v)); };
    h.OnBufferWrite = [&](int b, uint32_t a, uint32_t v) {
        log.push_back("bw " + std::to_string(b) + " " + std::to_string(a) + " " + std::to_string(v));
    };
    h.OnBufferRead = [&](int b, uint32_t a, uint32_t& v) {
        log.push_back("br " + std::to_string(b) + " " + std::to_string(a));
        v = 100 + static_cast<uint32_t>(b);
    };
    h.OnSelectWrite = [&](int b, uint32_t a, uint32_t v) {
        log.push_back("sw " + std::to_string(b) + " " + std::to_string(a) + " " + std::to_string(v));
    };
    h.OnSelectRead = [&](int b, uint32_t a, uint32_t& v) {
        log.push_back("sr " + std::to_string(b) + " " + std::to_string(a));
        v = 1;
    };
    h.OnDeviceRun = [&](uint16_t a) { log.push_back("run " + std::to_string(a)); };
    m.Load({{opPRIN, 3},  {opSTUA, 0x4B0803}, {opLDIA, 9}, {opINPO, 3}, {opOUTP, 1},  {opSFPI, 10},
            {opMTFA, 0},  {opSEPI, 11},       {opMTEA, 0}, {opMFFA, 0}, {opMFEA, 0},  {opSFSI, 12},
            {opMTSF, 0},  {opSESI, 13},       {opMTSE, 0}, {opMFSF, 0}, {opMFSE, 0},  {opDRUN, 0x12345},
            {opRETT, 0}});
    while (h.Step() == THost::StepContinue) {
    }
    const std::vector<std::string> expected = {
        "print 3", "uart 4917251", "in 3 9",  "out 1 85", "bw 0 10 85", "bw 1 11 85", "br 0 10",
        "br 1 11",  "sw 0 12 101",  "sw 1 13 101", "sr 0 12", "sr 1 13", "run 9029",
    };
    EXPECT_EQ(log, expected);
    EXPECT_EQ(h.A, 1u);
}

TEST(HostMachine, EmptyCallbackSlotsDoNothing)
{
    Machine m;
    m.Load({{opLDIA, 4}, {opINPO, 0}, {opMFFA, 0}, {opPRIN, 0}, {opDRUN, 1}, {opRETT, 0}});
    while (m.host.Step() == THost::StepContinue) {
    }
    EXPECT_EQ(m.host.ExitValue, 4u);
}

TEST(HostMachine, DelaysWaitOnlyForPositiveCounts)
{
    Machine m;
    m.Load({{opDELI, 0}, {opDELI, 25}, {opDELR, 3}, {opDELR, 4}, {opDELI, 0x80000000u}, {opRETT, 0}});
    m.host.Vars[3] = 0xFFFFFFFFu; // -1
    m.host.Vars[4] = 2;
    while (m.host.Step() == THost::StepContinue) {
    }
    EXPECT_EQ(m.waits, (std::vector<int>{25, 2}));
}

// A run cancelled during a long wait does not sit it out.
TEST(HostMachine, StopWaitingEndsALongDelay)
{
    Machine m;
    m.Load({{opDELI, 0x7FFFFFFF}, {opDELI, 3}, {opRETT, 0}});
    int asked = 0;
    m.host.StopWaiting = [&] { return ++asked > 5; };
    EXPECT_EQ(m.host.Step(), THost::StepContinue);
    EXPECT_EQ(m.waits, (std::vector<int>{1, 1, 1, 1, 1}));
    asked = 0;
    m.waits.clear();
    EXPECT_EQ(m.host.Step(), THost::StepContinue);
    EXPECT_EQ(m.waits, (std::vector<int>{1, 1, 1}));
}

TEST(HostMachine, SelectProcedureIsCaseInsensitiveAndStartsAtDepthZero)
{
    Machine m;
    m.Load({{opLDIA, 1}, {opRETT, 0}});
    m.host.Procedures.Add("PROCREAD", 0);
    m.host.SP = 7; // left by a run cancelled inside a call
    m.host.PC = 99;
    EXPECT_FALSE(m.host.SelectProcedure("write"));
    EXPECT_EQ(m.host.PC, 99);
    EXPECT_TRUE(m.host.SelectProcedure("read"));
    EXPECT_EQ(m.host.PC, 0);
    EXPECT_EQ(m.host.SP, 0);
}

// The machine checks every address the program computes; a fault stops the
// run with a message and the machine stays stopped until the next selection.
TEST(HostMachine, FaultsStopTheRunInsteadOfReachingOutside)
{
    struct FaultCase {
        const char* what;
        std::vector<std::pair<int, uint32_t>> code;
        uint32_t var0;
        const char* message;
    };
    const FaultCase cases[] = {
        {"unknown opcode", {{65, 0}, {opRETT, 0}}, 0, "unknown instruction 65"},
        {"jump beyond the code", {{opJMPP, 100}, {opRETT, 0}}, 0, "address 100 is outside"},
        {"odd jump onto the last word", {{opJMPP, 3}, {opRETT, 0}}, 0, "address 3 is outside"},
        {"variable 4096", {{opMOVA, 4096}, {opRETT, 0}}, 0, "variable 4096"},
        {"store to variable 0xFFFFFFFF", {{opMOVR, 0xFFFFFFFFu}, {opRETT, 0}}, 0, "variable 4294967295"},
        {"counter beyond the variables", {{opINCC, 5000}, {opRETT, 0}}, 0, "variable 5000"},
        {"delay from a missing variable", {{opDELR, 4096}, {opRETT, 0}}, 0, "variable 4096"},
        {"array write beyond the store", {{opSRPI, 65536}, {opMTRA, 0}, {opRETT, 0}}, 0, "array index 65536"},
        {"array read through a variable", {{opSRPR, 0}, {opMFRA, 0}, {opRETT, 0}}, 0x10000, "array index 65536"},
        {"endless recursion", {{opCALL, 0}}, 0, "deeper than 100"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Machine m;
        m.Load(c.code);
        m.host.Vars[0] = c.var0;
        int r = THost::StepContinue;
        for (int i = 0; i < 1000 && r == THost::StepContinue; ++i)
            r = m.host.Step();
        EXPECT_EQ(r, THost::StepFault);
        EXPECT_NE(m.host.RunError.find(c.message), std::string::npos) << m.host.RunError;
        EXPECT_EQ(m.host.Step(), THost::StepFault); // stays stopped
    }
}

TEST(HostMachine, UnknownOpcodeAdvancesThePc)
{
    Machine m;
    m.Load({{65, 0}, {opRETT, 0}});
    EXPECT_EQ(m.host.Step(), THost::StepFault);
    EXPECT_EQ(m.host.PC, 2);
}

TEST(HostMachine, SelectionClearsAFault)
{
    Machine m;
    m.Load({{opLDIA, 5}, {opRETT, 0}, {65, 0}});
    m.host.Procedures.Add("PROCBAD", 4);
    m.host.Procedures.Add("PROCGOOD", 0);
    ASSERT_TRUE(m.host.SelectProcedure("bad"));
    EXPECT_EQ(m.host.Step(), THost::StepFault);
    ASSERT_TRUE(m.host.SelectProcedure("good"));
    EXPECT_TRUE(m.host.RunError.empty());
    EXPECT_EQ(m.host.Step(), THost::StepContinue);
    EXPECT_EQ(m.host.Step(), THost::StepEnded);
    EXPECT_EQ(m.host.ExitValue, 5u);
}

TEST(HostMachine, SignatureLookupAnswersOneForAKnownChip)
{
    testsupport::TProgramStateGuard state;
    testsupport::TempDir dir;
    testsupport::WriteFileBytes(dir.file("signatures.cfg"), "A0C1=Chip\r\n");
    const std::string oldFolder = ProgramFolder();
    SetProgramFolder(dir.path());
    ChipList = TStringList{"Test\\Chip"};
    Machine m;
    m.Load({{opLDIA, 0xA0C1}, {opFSIG, 0}, {opMOVR, 0}, {opLDIA, 0xA0C2}, {opFSIG, 0}, {opRETT, 0}});
    while (m.host.Step() == THost::StepContinue) {
    }
    EXPECT_EQ(m.host.Vars[0], 1u);
    EXPECT_EQ(m.host.ExitValue, 0u);
    SetProgramFolder(oldFolder);
}

TEST(HostMachine, BlockInstructionsSwitchTheUsbBlockMode)
{
    Machine m;
    m.Load({{opBBLK, 0}, {opEBLK, 0}, {opRETT, 0}});
    m.host.Step();
    EXPECT_TRUE(UsbBlockMode());
    m.host.Step();
    EXPECT_FALSE(UsbBlockMode());
}

TEST(HostMachine, EmptyProgramFaults)
{
    THost h;
    EXPECT_EQ(h.Step(), THost::StepFault);
}

} // namespace
