// The device interpreter on code from the device assembler.
#include "vprog/DeviceCpu.h"

#include "engine/TCompil.h"

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<uint8_t>;

class DeviceCpuTest : public ::testing::Test {
protected:
    // Assembles the lines (each one instruction or label) and loads them.
    void Load(std::initializer_list<const char*> lines)
    {
        TAsmCompiler asmc;
        for (const char* line : lines)
            asmc.Source.Add(line);
        ASSERT_TRUE(asmc.Assemble()) << asmc.ErrorMessage << " in line " << asmc.ErrorLine;
        cpu.LoadCode(asmc.Code.data(), static_cast<size_t>(asmc.CodeLength));
    }
    // Runs from address 0 until the device stops; the bytes it sent.
    Bytes Run(TDeviceStop expected = TDeviceStop::Ended)
    {
        cpu.Start(0);
        EXPECT_EQ(cpu.Run(1 << 20), expected) << cpu.FaultText();
        Bytes out(output.Size());
        output.Pop(out.data(), out.size());
        return out;
    }

    TLineModel lines;
    TByteQueue input, output;
    TDeviceCpu cpu{lines, input, output};
};

TEST_F(DeviceCpuTest, ArithmeticLogicAndShifts)
{
    Load({"LDI R1,$1234", "LDI R2,$00FF", "MOV R3,R1", "ADD R3,R2", "USBOUT R3", // 0x1333 -> 33
          "MOV R3,R1", "AND R3,R2", "USBOUT R3",                                // 34
          "MOV R3,R1", "OR R3,R2", "USBOUT R3",                                 // FF
          "MOV R3,R1", "XOR R3,R2", "USBOUT R3",                                // CB
          "MOV R3,R2", "SUB R3,R1", "RR R3,8", "USBOUT R3",                     // 0x00FF-0x1234 = 0xEECB -> EE
          "ADDI R2,1", "USBOUT R2", "RR R2,8", "USBOUT R2",                     // 0x0100 -> 00, 01
          "LDI R4,$8001", "RL R4,1", "USBOUT R4",                               // 0x0002: no rotate
          "LDI R4,$8001", "RR R4,1", "RR R4,7", "USBOUT R4",                    // 0x0080
          "LDI R5,7", "SUBI R5,9", "USBOUT R5", "RR R5,8", "USBOUT R5",         // 0xFFFE
          "LDI R6,$F0F0", "ANDI R6,$0FF0", "ORI R6,$0001", "XORI R6,$0003", "USBOUT R6",
          "RL R6,16", "USBOUT R6", "RET"});
    EXPECT_EQ(Run(), (Bytes{0x33, 0x34, 0xFF, 0xCB, 0xEE, 0x00, 0x01, 0x02, 0x80, 0xFE, 0xFF, 0xF2, 0x00}));
    EXPECT_TRUE(cpu.FlagZ()) << "a shift to zero sets Z";
}

TEST_F(DeviceCpuTest, RegistersLiveAtTheirDataAddresses)
{
    // INC 205 is INC R5; RL1 and RR1 shift the word; DEC wraps.
    Load({"LDI R5,$00FF", "INC 205", "USBOUT R5", "RR R5,8", "USBOUT R5", "LDI R1,$4001", "RL1 197",
          "USBOUT R1", "RR1 197", "RR1 197", "USBOUT R1", "LDI R2,0", "DEC 199", "USBOUT R2", "RET"});
    EXPECT_EQ(Run(), (Bytes{0x00, 0x01, 0x02, 0x00, 0xFF}));
    EXPECT_EQ(cpu.Register(5), 0x0001);
    EXPECT_EQ(cpu.Register(1), 0x2000) << "RL1 shifts, RR1 shifts back: the bits out are gone";
}

TEST_F(DeviceCpuTest, RegistersPastDataAddress255ReadBack)
{
    Load({"LDI R30,$1234", "LDI R31,$BEEF", "RET"});
    Run();
    EXPECT_EQ(cpu.Register(30), 0x1234);
    EXPECT_EQ(cpu.Register(31), 0xBEEF);
}

TEST_F(DeviceCpuTest, CompareAndJumps)
{
    // For each pair (a, b): sends 'G', 'L' or 'Z'.
    Load({"LDI R1,5", "LDI R2,9", "CALL CMPS", "LDI R1,9", "LDI R2,5", "CALL CMPS", "LDI R1,$FFFF", "LDI R2,1",
          "CALL CMPS", "LDI R1,7", "LDI R2,7", "CALL CMPS", "CMPI R1,8", "JL LOW", "RET", "LOW:", "LDI R3,33",
          "USBOUT R3", "RET", "CMPS:", "CMP R1,R2", "JG GREATER", "JL LESS", "JZ EQUAL", "RET", "GREATER:",
          "LDI R3,71", "USBOUT R3", "RET", "LESS:", "LDI R3,76", "USBOUT R3", "RET", "EQUAL:", "LDI R3,90",
          "USBOUT R3", "RET"});
    EXPECT_EQ(Run(), (Bytes{'L', 'G', 'G', 'Z', 33})) << "comparisons are unsigned";
}

TEST_F(DeviceCpuTest, BitTests)
{
    Load({"LDI R1,$8004", "TSTBIT R1,2", "JZ NO1", "LDI R9,1", "USBOUT R9", "NO1:", "TSTBIT R1,3", "JNZ NO2",
          "LDI R9,2", "USBOUT R9", "NO2:", "TSTBIT R1,15", "JZ NO3", "LDI R9,3", "USBOUT R9", "NO3:",
          "TSTBIT R1,20", "JNZ NO4", "LDI R9,4", "USBOUT R9", "NO4:", "RET"});
    EXPECT_EQ(Run(), (Bytes{1, 2, 3, 4}));
}

TEST_F(DeviceCpuTest, UsbInWaitsForTheHost)
{
    Load({"LOOP:", "USBIN R1", "CMPI R1,0", "JZ DONE", "ADDI R1,1", "USBOUT R1", "JMP LOOP", "DONE:", "RET"});
    cpu.Start(0);
    EXPECT_EQ(cpu.Run(100), TDeviceStop::NeedInput);
    EXPECT_TRUE(cpu.Running());
    input.Push(10);
    input.Push(20);
    EXPECT_EQ(cpu.Run(100), TDeviceStop::NeedInput);
    EXPECT_EQ(output.Size(), 2u);
    input.Push(0);
    EXPECT_EQ(cpu.Run(100), TDeviceStop::Ended);
    EXPECT_FALSE(cpu.Running());
    EXPECT_EQ(output.Pop(), 11);
    EXPECT_EQ(output.Pop(), 21);
}

TEST_F(DeviceCpuTest, OutputStopsWhenEnoughIsQueued)
{
    Load({"LDI R1,0", "LOOP:", "USBOUT R1", "INC 197", "JMP LOOP"});
    cpu.Start(0);
    EXPECT_EQ(cpu.Run(3), TDeviceStop::OutputReady);
    EXPECT_EQ(output.Size(), 3u);
    EXPECT_EQ(cpu.Run(5), TDeviceStop::OutputReady);
    Bytes out(5);
    output.Pop(out.data(), 5);
    EXPECT_EQ(out, (Bytes{0, 1, 2, 3, 4})) << "the run resumes after the last byte";
}

TEST_F(DeviceCpuTest, DataBuffer)
{
    // buffer[R2] = R1, for R2 = 0xFFFF and 3; then read them back.
    Load({"LDI R1,$AB", "LDI R2,$FFFF", "WRB 197,199", "LDI R1,$CD", "LDI R2,3", "WRB 197,199", "LDI R4,$FFFF",
          "RDB 201,203", "USBOUT R3", "LDI R4,3", "RDB 201,203", "USBOUT R3", "RET"});
    EXPECT_EQ(Run(), (Bytes{0xAB, 0xCD}));
    EXPECT_EQ(cpu.BufferByte(0xFFFF), 0xAB);
}

TEST_F(DeviceCpuTest, PortsDriveAndReadTheLines)
{
    // Line 1 looped to line 2 by a powered chip.
    lines.Attach(std::make_unique<TLoopbackChip>(0, 1, 0x80, 0x40));
    lines.SetSupply(true);
    lines.SetVccLines(0x80);
    lines.SetGndLines(0x40);
    Load({"LDI R1,$FE", "OUT POUT,R1", "IN PIN,R2", "USBOUT R2", // line 1 low: line 2 follows
          "SBI POUT,1", "IN PIN,R2", "USBOUT R2", "CBI POUT,$EF", "IN POUT,R3", "USBOUT R3",
          "TSTIOBIT PIN,2", "JZ LOW", "RET", "LOW:", "USBOUT R3", "RET"});
    const Bytes out = Run();
    ASSERT_GE(out.size(), 3u);
    EXPECT_EQ(out[0], 0xBC);
    EXPECT_EQ(out[1], 0xBF);
    EXPECT_EQ(out[2], 0xEF);
    EXPECT_EQ(out.size(), 3u) << "line 2 is high again";
}

// Counts rising edges of line 1 and the time of the last one.
struct TEdgeCounter : TSimChip {
    int Rising = 0;
    uint64_t LastTime = 0;
    bool WasHigh = true;
    void Settle(uint8_t levels, uint64_t timeUs, bool) override
    {
        const bool high = levels & 1;
        if (high && !WasHigh) {
            ++Rising;
            LastTime = timeUs;
        }
        WasHigh = high;
    }
};

TEST_F(DeviceCpuTest, PulsesAndVirtualTime)
{
    auto* chip = lines.Attach(std::make_unique<TEdgeCounter>());
    Load({"LDI R1,$FE", "OUT POUT,R1", "HP 1", "DELAY 1000", "LDI R7,250", "DELAYR 209", "HP 1", "SBI POUT,1",
          "LP $FE", "RET"});
    Run();
    EXPECT_EQ(chip->Rising, 4);
    EXPECT_EQ(lines.Now(), 1u + 1000 + 250 + 1 + 1);
    EXPECT_EQ(chip->LastTime, 1u + 1000 + 250 + 1 + 1) << "a low pulse rises again after 1 us";
    EXPECT_EQ(lines.Latch(), 0xFF);
}

TEST_F(DeviceCpuTest, Faults)
{
    struct Case {
        std::initializer_list<const char*> Code;
        const char* Fault;
    };
    const Case cases[] = {
        {{"BUSINIT 4663", "RET"}, "Unsupported instruction BUSINIT at 0000"},
        {{"LDI R1,1", "EOUT 195,3"}, "Unsupported instruction EOUT at 0004"},
        {{"BDMOP 195"}, "Unsupported instruction BDMOP"},
        {{"SBIE 4"}, "Unsupported instruction SBIE"},
        {{"WEXP 195"}, "Unsupported instruction WEXP"},
        {{"OUT P2,R1"}, "Unsupported port"},
        {{"LOOP:", "CALL LOOP"}, "Call stack overflow"},
        {{"LOOP:", "JMP LOOP"}, "Run length exceeded"},
    };
    cpu.MaxRunLength = 10000;
    for (const Case& c : cases) {
        Load(c.Code);
        Run(TDeviceStop::Fault);
        EXPECT_NE(cpu.FaultText().find(c.Fault), std::string::npos) << cpu.FaultText();
        EXPECT_FALSE(cpu.Running());
    }
}

TEST_F(DeviceCpuTest, RawCodeFaults)
{
    const struct {
        Bytes Code;
        const char* Fault;
    } cases[] = {
        {{0xFC}, "Invalid instruction"},
        {{}, "Code address out of range at 07FE"}, // ADD R0,R0 all the way
    };
    cpu.MaxRunLength = 5000;
    for (const auto& c : cases) {
        cpu.LoadCode(c.Code.data(), c.Code.size());
        Run(TDeviceStop::Fault);
        EXPECT_NE(cpu.FaultText().find(c.Fault), std::string::npos) << cpu.FaultText();
    }
    // An instruction cut by the end of the image, and a start beyond it.
    Bytes code(TDeviceCpu::CodeSize, 0);
    code[TDeviceCpu::CodeSize - 2] = 0x30; // LDI takes 4 bytes
    cpu.LoadCode(code.data(), code.size());
    cpu.Start(TDeviceCpu::CodeSize - 2);
    EXPECT_EQ(cpu.Run(1), TDeviceStop::Fault);
    EXPECT_NE(cpu.FaultText().find("past the end"), std::string::npos) << cpu.FaultText();
    cpu.Start(0xFFFF);
    EXPECT_EQ(cpu.Run(1), TDeviceStop::Fault);
    EXPECT_EQ(cpu.Run(1), TDeviceStop::Idle);
}

TEST_F(DeviceCpuTest, RunLengthCountsFromTheLastExchange)
{
    // 3 instructions per byte sent: never a fault, however long it runs.
    Load({"LOOP:", "USBOUT R1", "INC 197", "JMP LOOP"});
    cpu.MaxRunLength = 4;
    cpu.Start(0);
    EXPECT_EQ(cpu.Run(1000), TDeviceStop::OutputReady);
    EXPECT_GE(cpu.InstructionCount(), 2998u);
}

} // namespace
