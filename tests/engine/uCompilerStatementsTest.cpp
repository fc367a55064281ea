// Statements of the device script: the assembly each one generates, and
// every message of the compiler.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DeviceCompilerSupport.h"
#include "engine/uCompiler.h"

using devtest::AsmLines;
using devtest::Compile;
using devtest::FirstError;
using devtest::Strings;

namespace {

const char* const kDeclarations = "VAR A, B, C; EREG E1, 1, 1 AREG AR, 3";

// The code of one procedure body, without its label and final RET.
Strings Body(const std::string& statements)
{
    TCompiler c;
    Compile(c, {"[DEVICE]", kDeclarations, "PROC P {", statements, "}"});
    Strings lines = AsmLines(c);
    if (lines.size() < 2)
        return {"<no code>"};
    return Strings(lines.begin() + 1, lines.end() - 1);
}

} // namespace

TEST(DeviceStatements, GeneratedCode)
{
    const struct {
        const char* statement;
        Strings code;
    } cases[] = {
        // Registers.
        {"A++;", {"INC 197"}},
        {"B--;", {"DEC 199"}},
        {"A = B + 5;", {"MOV R1,R2", "ADDI R1,5"}},
        {"A = A;", {}},
        {"A = A + B;", {"ADD R1,R2"}},
        {"A = 7 - C;", {"LDI R1,7", "SUB R1,R3"}},
        {"A = B & $0F;", {"MOV R1,R2", "ANDI R1,$0F"}},
        {"A = B | C;", {"MOV R1,R2", "OR R1,R3"}},
        // The target as the operator's operand is read before it is written.
        {"A = B - A;", {"MOV R0,R2", "SUB R0,R1", "MOV R1,R0"}},
        {"A = 5 - A;", {"LDI R0,5", "SUB R0,R1", "MOV R1,R0"}},
        {"A = B + A;", {"ADD R1,R2"}},
        {"A = 3 | A;", {"ORI R1,3"}},
        {"A = B ^ R1;", {"XOR R1,R2"}},
        {"A = A - A;", {"SUB R1,R1"}},
        {"A = B ^ 1;", {"MOV R1,R2", "XORI R1,1"}},
        {"A = B << 1;", {"MOV R1,R2", "RL1 197"}},
        {"A = B << 3;", {"MOV R1,R2", "RL R1,3"}},
        {"A = B >> 1;", {"MOV R1,R2", "RR1 197"}},
        {"A = B >> 15;", {"MOV R1,R2", "RR R1,15"}},
        {"A = R5;", {"MOV R1,R5"}},
        {"A = @B;", {"RDB 197,199"}},
        {"A = @ B;", {"RDB 197,199"}},
        {"@A = B;", {"WRB 199,197"}},
        {"A = E1;", {"EIN 130,197"}},
        {"A = AR;", {"AIN 3,197"}},
        {"A = USB;", {"USBIN R1"}},
        {"A = BUSDATA;", {"BUSIN R1"}},
        {"A = PIN;", {"IN PIN,R1"}},
        // Bits.
        {"A.3 = 1;", {"ORI R1,$0008"}},
        {"A.15 = 0;", {"ANDI R1,$7FFF"}},
        {"POUT.7 = 0;", {"CBI POUT,127"}},
        {"POUT.2 = 1;", {"SBI POUT,4"}},
        {"EP.5 = 1;", {"SBIE 32"}},
        {"EP.0 = 0;", {"CBIE 254"}},
        {"A.2 = PIN.5;",
         {"TSTIOBIT PIN,32", "JZ P_Label0", "ORI R1,$0004", "JMP P_Label1", "P_Label0:", "ANDI R1,$FFFB",
          "P_Label1:"}},
        {"A.0 = B.9;",
         {"MOV R0,R2", "ANDI R0,$0200", "JZ P_Label0", "ORI R1,$0001", "JMP P_Label1", "P_Label0:",
          "ANDI R1,$FFFE", "P_Label1:"}},
        {"POUT.1 = B.4; EP.2 = C.0;",
         {"TSTBIT R2,4", "JZ P_Label0", "SBI POUT,2", "JMP P_Label1", "P_Label0:", "CBI POUT,253", "P_Label1:",
          "TSTBIT R3,0", "JZ P_Label2", "SBIE 4", "JMP P_Label3", "P_Label2:", "CBIE 251", "P_Label3:"}},
        // Ports, bus and interfaces.
        {"POUT = $55;", {"LDI R0,$55", "OUT POUT,R0"}},
        {"POUT = A;", {"OUT POUT,R1"}},
        {"EP = 9;", {"LDI R0,9", "WEXP $C3"}},
        {"EP = B;", {"WEXP 199"}},
        {"E1 = 1;", {"LDI R0,1", "EOUT 195,130"}},
        {"E1 = A;", {"EOUT 130,197"}},
        {"AR = 4;", {"LDI R0,4", "AOUT 3,195"}},
        {"AR = C;", {"AOUT 3,201"}},
        {"USB = 'Z';", {"LDI R0,90", "USBOUT R0"}},
        {"USB = A;", {"USBOUT R1"}},
        {"BUSDATA = 3;", {"LDI R0,3", "BUSOUT R0"}},
        {"BUSDATA = B;", {"BUSOUT R2"}},
        {"BUSDELAY = 10;", {"LDI R0,10", "BUSDELAY $C3"}},
        {"BUSDELAY = A;", {"BUSDELAY 197"}},
        {"DELAY(1000);", {"DELAY 1000"}},
        {"DELAY(A);", {"DELAYR 197"}},
        {"BDMOP($12);", {"LDI R0,$12", "BDMOP $C3"}},
        {"BDMOP(B);", {"BDMOP 199"}},
        {"EOUT(1, 5, 1);", {"LDI R0,1", "EOUT 195,133"}},
        {"EOUT(A, 2, 0);", {"EOUT 197,2"}},
        {"EIN(A, 3, 1);", {"EIN 197,131"}},
        {"HPULSE(3);", {"HP 8"}},
        {"LPULSE(0);", {"LP 254"}},
        {"EHPULSE(5);", {"EHP 32"}},
        {"ELPULSE(1);", {"ELP 2"}},
        {"BUSINIT(1,2,3,1,1);", {"BUSINIT 4663"}},
        {"BUSINIT(1,2,3,1,1,0);", {"BUSINIT 4659"}},
        {"BUSINIT(0,0,0,0,0,1);", {"BUSINIT 4"}},
        {"BDMWR(1, 2, 3);", {"LDI R0,1", "LDI R30,2", "LDI R29,3", "BDMWR 195,255,253"}},
        {"BDMWR(A, B, C);", {"BDMWR 197,199,201"}},
        {"BDMRD(A, 7, C);", {"LDI R30,7", "BDMRD 197,255,201"}},
        // Control statements.
        {"RETURN;", {"RET"}},
        {"// nothing here", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Body(c.statement), c.code) << c.statement;
}

TEST(DeviceStatements, EveryGeneratedLineAssembles)
{
    // The statements above put together compile into code without error:
    // WEXP among them, which the instruction table once lacked.
    TCompiler c;
    Compile(c, {"[DEVICE]", kDeclarations, "PROC P {", "EP = 9; EP = B; A.2 = PIN.5; BDMRD(A, 7, C);",
                "BUSINIT(1,2,3,1,1); EOUT(1, 5, 1); A = @B; @A = B; HPULSE(3);", "}"});
    EXPECT_GT(c.CodeLength, 30);
    EXPECT_EQ(c.Code[4], 0x94);
    EXPECT_EQ(c.Code[5], 0xC3);
}

TEST(DeviceStatements, Messages)
{
    const struct {
        const char* text;  // body statements, or a whole line after [DEVICE] when it starts with "!"
        const char* error; // without "Line <n>: "
    } cases[] = {
        // Top level and declarations.
        {"!PROC {", "Procedure name missing."},
        {"!PROC WHILE {", "Reserved word \"WHILE\" cannot be by name of procedure"},
        {"!PROC A {", "The expression \"A\" already use as variable name."},
        {"!FOO", "Procedure or variable expected, but expression \"FOO\" was found."},
        {"!PROC Q ;", "Brace is expected, but expression \";\" was found."},
        {"!VAR (", "Name of variable expected, but  \"(\" found."},
        {"!VAR IF;", "Reserved word \"IF\" can not be used as name of variable."},
        {"!VAR B;", "Duplicate variable or definition  \"B\" found."},
        {"!VAR X Y", "Comma or semicolon are expected, but expression \"Y\" was found."},
        {"!EREG +", "Name of port expected, but  \"+\" found."},
        {"!AREG EP, 1", "Reserved word \"EP\" can not be used as name of port."},
        {"!EREG E1, 1, 1", "Duplicate port,variable or definition  \"E1\" found."},
        {"!EREG X 1", "Comma expected, but expression \"1\" found."},
        {"!EREG X, 6, 1", "Pin number too big."},
        {"!EREG X, 5, 2", "Bit value should be \"0\" or \"1\" only."},
        {"!AREG X, 8", "AREG address too big (should be less than 8)."},
        {"!DEFINE VAR 1", "Reserved word \"VAR\" can not be used in directive DEFINE."},
        {"!DEFINE X POUT", "Reserved word \"POUT\" can not be used in directive DEFINE."},
        {"!DEFINE A 1", "Redefine expression \"A\"."},
        // Control flow.
        {"ELSE {", "ELSE without IF."},
        {"BREAK;", "BREAK without WHILE."},
        {"WHILE { BREAK }", "Semocolon is expected, but expression \"}\" was found."},
        {"RETURN }", "Semicolon is expected, but expression \"}\" was found."},
        {"P }", "Semicolon is expected, but expression \"}\" was found."},
        {"WHILE A", "Opened round bracket or brace are expected, but expressiob \"A\" was found."},
        {"IF A", "Opened bracket expected, but expression \"A\" was found."},
        {"WHILE (A >= 1) {", "Type of expression \"=\" is inadmissible."},
        {"WHILE (A ~ 1) {", "Condition operator expected, but expression \"~\" was found."},
        {"WHILE (A.1 <> 1) {", "Condition operator expected, but expression \"<>\" was found."},
        {"IF (A.1 > 1) {", "Bin comparison must be \"=\" or \"!=\" only."},
        {"WHILE (A.1 = 2) {", "Bit value (0 or 1) expected, but expression \"2\" was found."},
        {"IF (A.1 = 2) {", "Type of expression \"2\" is inadmissible."},
        {"IF (5 = A) {", "Type of expression \"5\" is inadmissible."},
        {"WHILE (A = E1) {", "Type of expression \"E1\" is inadmissible."},
        {"IF (A = 1 {", "Round bracket is expected, but expression \"{\" was found."},
        {"IF (A = 1) ;", "Brace is expected, but expression \";\" was found."},
        {"WHILE (X = 1) {", "Unknown expression \"X\"."},
        {"IF (A = X) {", "Unknown expression \"X\"."},
        {"IF (EP.1 = 1) {", "Unknown expression \"EP.1\"."},
        {"WHILE (PIN.8 = 1) {", "Number of bit too big."},
        {"+ = 1;", "Use of reserved symbol \"+\" is inadmissible."},
        {"FOO = 1;", "Unknown expression \"FOO\"."},
        // Statements.
        {"A : 1;", "Unknown expresiion \":\"."},
        {"A = P;", "Incorrect use of a call of a procedure"},
        {"A = @;", "Buffer index missed."},
        {"@A 1;", "\"=\" missed."},
        {"@A = 5;", "Type of operand \"5\" is inadmissible, or unknown expression."},
        {"A = @5;", "Type of operand \"5\" is inadmissible, or unknown expression."},
        {"A = B C;", "Semicolon or operator are expected, but expression \"C\" was found."},
        {"A = B + C + 1;", "Semicolon is expected, but expression \"+\" was found."},
        {"A = B << 16;", "Bit index must be from 0 to 15."},
        {"PIN.0 = 1;", "\"PIN\" is read only."},
        {"POUT.8 = 1;", "Number of bit too big."},
        {"EP.6 = 1;", "Number of bit too big."},
        {"A.16 = 1;", "Number of bit too big."},
        {"A.1 = 2;", "Bit value should be \"0\" or \"1\" only."},
        {"A.1 = E1;", "Type of operand \"E1\" is inadmissible, or unknown expression."},
        {"POUT.1 = PIN.2;", "Type of operand \"PIN.2\" is inadmissible, or unknown expression."},
        {"A.1 1;", "Equation symbol is expected, but expression \"1\" was found."},
        {"POUT 1;", "Equation symbol is expected, but expression \"1\" was found."},
        {"EP 1;", "Equation symbol is expected, but expression \"1\" was found."},
        {"USB 1;", "Equation symbol is expected, but expression \"1\" was found."},
        {"BUSDATA 1;", "Equation symbol is expected, but expression \"1\" was found."},
        {"E1 1;", "Equation symbol expected, but expression \"1\" was found."},
        {"AR 1;", "Equation symbol expected, but expression \"1\" was found."},
        {"BUSDELAY 1;", "Equation symbol expected, but expression \"1\" was found."},
        {"E1 = AR;", "Type of expression \"AR\" is inadmissible."},
        {"AR = E1;", "Type of expression \"E1\" is inadmissible."},
        {"USB = E1;", "Type of operand \"E1\" is inadmissible, or unknown expression."},
        {"DELAY 5;", "Round bracket expected, but expression \"5\" found."},
        {"DELAY(5;", "Round bracket expected, but expression \";\" found."},
        {"DELAY(AR);", "Type of operand \"AR\" is inadmissible, or unknown expression."},
        {"BUSINIT 1;", "Round bracket expected, but expression \"1\" found."},
        {"HPULSE 1;", "Round bracket expected, but expression \"1\" found."},
        {"EOUT 1;", "Round bracket expected, but expression \"1\" found."},
        {"BDMOP 1;", "Round bracket expected, but expression \"1\" was found."},
        {"BDMWR 1;", "Round bracket expected, but expression \"1\" was found."},
        {"BDMRD(A, B C);", "Comma expected, but expression \"C\" found."},
        {"EOUT(A 1);", "Comma expected, but expression \"1\" found."},
        {"EOUT(A, 6, 1);", "Pin number too big."},
        {"HPULSE(8);", "Pin number too big."},
        {"EHPULSE(6);", "Pin number too big."},
        {"BUSINIT(8,0,0,0,0);", "Pin number too big."},
        {"BUSINIT(0,0,0,2,0);", "Byte order too big."},
        {"BUSINIT(A,0,0,0,0);", "Type of operand \"A\" is inadmissible (must be constant only)"},
        {"BUSINIT(0,0,0,0,0;", "Round bracket or comma expected, but expression \";\" was found"},
        {"BUSINIT(0,0,0,0,0,2);", "Parameter  \"2\" should be constant only."},
        {"HPULSE(A);", "Type of operand \"A\" is inadmissible"},
        {"EOUT(A, 1, 2);", "\"1\" or \"0\" expected, but 2 found."},
        {"EIN(5, 1, 1);", "Type of operand \"5\" should be varable only."},
        {"BDMRD(A, B, 5);", "Type of operand \"5\" should be variable."},
        {"BDMWR(A, B, E1);", "Type of operand \"E1\" is inadmissible, or unknown expression."},
        {"DELAY(NOTHING);", "Unknown expression \"NOTHING\"."},
    };
    for (const auto& c : cases) {
        TCompiler comp;
        const std::string text = c.text;
        if (text[0] == '!')
            Compile(comp, {"[DEVICE]", kDeclarations, "PROC P { }", text.substr(1)}, false);
        else
            Compile(comp, {"[DEVICE]", kDeclarations, "PROC P {", text, "}"}, false);
        EXPECT_EQ(FirstError(comp), std::string("Line 4: ") + c.error) << text;
        EXPECT_EQ(comp.Errors.Count(), 1) << text;
    }
}

TEST(DeviceStatements, EndOfFileMessages)
{
    TCompiler c;
    Compile(c, {"[DEVICE]", "VAR A", ""}, false);
    EXPECT_EQ(FirstError(c), "Line 4: Unexpected end of file.");
    Compile(c, {"[DEVICE]", "PROC P {", "  A = 1;"}, false);
    EXPECT_EQ(FirstError(c), "Line 3: Unknown expression \"A\".");
    Compile(c, {"[DEVICE]", "PROC P {", "  RETURN;"}, false);
    EXPECT_EQ(FirstError(c), "Line 4: Unexpected end of file. The closed brace is possible lost");
    Compile(c, {"[DEVICE]", "VAR A;", "PROC P {", "  A ="}, false);
    EXPECT_EQ(FirstError(c), "Line 5: Unexpected end of file. The closed brace is possible lost");
}
