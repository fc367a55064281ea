// The [DEVICE] script compiler: driver, declarations, procedures, control
// flow, generated assembly text and its byte code.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DeviceCompilerSupport.h"
#include "engine/AsmTypes.h"
#include "engine/uCompiler.h"
#include "platform/StringList.h"
#include "TestSupport.h"

using devtest::AsmLines;
using devtest::Compile;
using devtest::FirstError;
using devtest::Items;
using devtest::Strings;

TEST(DeviceCompiler, MissingDirectiveGivesOneLine)
{
    TCompiler c;
    Compile(c, {"[HOST]", "PROC READ {", "}"}, false);
    EXPECT_EQ(c.Errors, (TStringList{"Compile error. Directive [DEVICE] not found"}));
}

TEST(DeviceCompiler, DirectiveOnLastLine)
{
    TCompiler c;
    Compile(c, {"[HOST]", "  [device]  "}, false);
    EXPECT_EQ(c.Errors, (TStringList{"Line 3: Unexpected end of file."}));
}

TEST(DeviceCompiler, WorkedModuleFromFixture)
{
    TCompiler c;
    ASSERT_TRUE(c.Lines.LoadFromFile(testsupport::FixturePath("engine/device/blink.chl")));
    c.Compile();
    ASSERT_TRUE(c.Errors.Empty()) << c.Errors[0];
    const TStringList golden = devtest::LoadGolden("engine/device/blink.asm");
    EXPECT_EQ(Items(c.LastAsmText), Items(golden));
    // Procedures once each, upper case, the first at address 0; a "PROC"
    // line of the [HOST] section that follows names nothing.
    ASSERT_EQ(c.ProcAddresses.Count(), 4);
    EXPECT_EQ(c.ProcAddresses[0], "BLINK");
    EXPECT_EQ(c.ProcAddresses[1], "0");
    EXPECT_EQ(c.ProcAddresses[2], "WAITLOW");
    EXPECT_EQ(devtest::HexOf(c.Code, c.CodeLength) + "\n",
              testsupport::ReadFileBytes(testsupport::FixturePath("engine/device/blink.hex")));
    EXPECT_EQ(c.ProcAddresses[3], "32");
}

TEST(DeviceCompiler, ProcedureCalledBeforeItsDefinition)
{
    TCompiler c;
    Compile(c, {"[DEVICE]", "PROC A {", "  B;", "}", "PROC B {", "}"});
    EXPECT_EQ(AsmLines(c), (Strings{"procA:", "CALL procB", "RET", "procB:", "RET"}));
    EXPECT_EQ(Items(c.ProcAddresses), (Strings{"A", "0", "B", "3"}));
    EXPECT_EQ(devtest::HexOf(c.Code, c.CodeLength), "58 03 60 60");
}

TEST(DeviceCompiler, RedeclaredProceduresAllReportedAndNothingCompiled)
{
    TCompiler c;
    c.CodeLength = 7;
    Compile(c, {"[DEVICE]", "PROC A {", "}", "PROC A {", "}", "PROC A {", "}", "proc"}, false);
    EXPECT_EQ(c.Errors, (TStringList{"Line 4: Procedure \"A\" redeclared.", "Line 6: Procedure \"A\" redeclared.",
                                     "Line 8: Procedure name missing."}));
    EXPECT_EQ(c.CodeLength, 7);
}

TEST(DeviceCompiler, FailedCompileKeepsEarlierCode)
{
    TCompiler c;
    Compile(c, {"[DEVICE]", "PROC A {", "}"});
    ASSERT_EQ(c.CodeLength, 1);
    Compile(c, {"[DEVICE]", "PROC A {", "  FOO;", "}"}, false);
    EXPECT_EQ(c.CodeLength, 1);
    EXPECT_EQ(c.Code[0], 0x60);
}

TEST(DeviceCompiler, TextOfAFailedCompileDoesNotReachTheNextOne)
{
    TCompiler c;
    Compile(c, {"[DEVICE]", "PROC A {", "  RETURN;", "  FOO;", "}"}, false);
    ASSERT_FALSE(c.Errors.Empty());
    Compile(c, {"[DEVICE]", "PROC B {", "}"});
    EXPECT_EQ(Items(c.ProcAddresses), (Strings{"B", "0"}));
    EXPECT_EQ(c.CodeLength, 1);
    EXPECT_EQ(AsmLines(c), (Strings{"procB:", "RET"}));
}

TEST(DeviceCompiler, SourceLinesBecomeComments)
{
    TCompiler c;
    Compile(c, {"[DEVICE]", "// first", "", "PROC A { RETURN;", "  }", "[HOST]", "PROC X {", "}"});
    EXPECT_EQ(Items(c.LastAsmText),
              (Strings{";// first", ";PROC A { RETURN;", "procA:", "\t\tRET", ";  }", "\t\tRET", "", ";[HOST]"}));
    EXPECT_EQ(Items(c.ProcAddresses), (Strings{"A", "0"}));
}

TEST(DeviceCompiler, PrescanStopsAtTheNextSection)
{
    TCompiler c;
    Compile(c, {"[DEVICE]", "PROC A {", "}", "[HOST]", "PROC A {", "}", "PROC PHANTOM {", "}"});
    EXPECT_EQ(Items(c.ProcAddresses), (Strings{"A", "0"}));
    // A later section's procedure name is no device procedure to call.
    Compile(c, {"[DEVICE]", "PROC A {", "  PHANTOM;", "}", "[HOST]", "PROC PHANTOM {", "}"}, false);
    EXPECT_EQ(FirstError(c), "Line 3: Unknown expression \"PHANTOM\".");
}

TEST(DeviceCompiler, ProcedureNamedProcKeepsItsLabelsOutOfAddresses)
{
    TCompiler c;
    Compile(c, {"[DEVICE]", "VAR A;", "PROC PROCESS {", "  A.1 = PIN.2;", "}", "PROC B {", "}"});
    EXPECT_EQ(Items(c.ProcAddresses), (Strings{"PROCESS", "0", "B", "15"}));
}

TEST(DeviceCompiler, ProcedureLabelsThatMeetAreRefused)
{
    TCompiler c;
    // "PROCA_Label0" of PROCA and the label of procedure A_LABEL0 are one name.
    Compile(c, {"[DEVICE]", "VAR X;", "PROC PROCA {", "  X.1 = PIN.2;", "}", "PROC A_LABEL0 {", "}"}, false);
    EXPECT_EQ(FirstError(c), "Line 6: Label \"PROCA_LABEL0\" is defined twice; rename a procedure.");
}

TEST(DeviceCompiler, LabelCountersGoOnAcrossCompiles)
{
    TCompiler c;
    const std::vector<std::string> src{"[DEVICE]", "VAR A;", "PROC P {", "  WHILE { BREAK; }",
                                       "  IF (A = 1) { } ELSE { }", "}"};
    Compile(c, src);
    EXPECT_EQ(AsmLines(c), (Strings{"procP:", "WHILE0:", "JMP WHILE0END", "JMP WHILE0", "WHILE0END:",
                                    "CMPI R1,1", "JNZ IF0END", "JMP ELSE0END", "IF0END:", "ELSE0END:", "RET"}));
    Compile(c, src);
    EXPECT_EQ(AsmLines(c), (Strings{"procP:", "WHILE1:", "JMP WHILE1END", "JMP WHILE1", "WHILE1END:",
                                    "CMPI R1,1", "JNZ IF1END", "JMP ELSE1END", "IF1END:", "ELSE1END:", "RET"}));
}

TEST(DeviceCompiler, TwentySevenVariables)
{
    std::string vars = "VAR V1";
    for (int i = 2; i <= 27; ++i)
        vars += ", V" + std::to_string(i);
    TCompiler c;
    Compile(c, {"[DEVICE]", vars + ";", "PROC P { V27 = 1; }"});
    EXPECT_EQ(AsmLines(c), (Strings{"procP:", "LDI R27,1", "RET"}));
    Compile(c, {"[DEVICE]", vars + ", V28;"}, false);
    EXPECT_EQ(FirstError(c), "Line 2: Too many variables.");
}

TEST(DeviceCompiler, OperandSpellings)
{
    TCompiler c;
    Compile(c, {"[DEVICE]", "VAR A;", "PROC P {", "A = 0B1010; A = 0X1F; A = $1F; A = 'A'; A = 31; A = 0x1f;", "}"});
    EXPECT_EQ(AsmLines(c),
              (Strings{"procP:", "LDI R1,10", "LDI R1,$1F", "LDI R1,$1F", "LDI R1,65", "LDI R1,31", "LDI R1,$1F",
                       "RET"}));
    // All ones is no operand; neither is a number too wide for 32 bits.
    Compile(c, {"[DEVICE]", "VAR A;", "PROC P { A = $FFFFFFFF; }"}, false);
    EXPECT_EQ(FirstError(c), "Line 3: Unknown expression \"$FFFFFFFF\".");
    Compile(c, {"[DEVICE]", "VAR A;", "PROC P { A = 99999999999; }"}, false);
    EXPECT_EQ(FirstError(c), "Line 3: Unknown expression \"99999999999\".");
}

TEST(DeviceCompiler, DefinitionsStandForRegistersNumbersAndBits)
{
    TCompiler c;
    Compile(c, {"[DEVICE]", "VAR A;", "DEFINE CNT A", "DEFINE LIMIT 100", "DEFINE LED POUT.3", "DEFINE X R5",
                "PROC P {", "  IF (X < LIMIT) { LED = 1; }", "  X = LIMIT;", "}"});
    EXPECT_EQ(AsmLines(c), (Strings{"procP:", "CMPI R5,100", "JG IF0END", "JZ IF0END", "SBI POUT,8", "IF0END:",
                                    "LDI R5,100", "RET"}));
}

TEST(DeviceCompiler, EAndARegisterDeclarations)
{
    TCompiler c;
    Compile(c, {"[DEVICE]", "VAR A;", "EREG CS, 3, 1", "AREG ADR, 7", "PROC P {", "  CS = A; A = CS; ADR = 5; A = ADR;",
                "}"});
    EXPECT_EQ(Items(c.Names), (Strings{"A", "R1", "CS", "EREG136", "ADR", "AREG7"}));
    EXPECT_EQ(AsmLines(c), (Strings{"procP:", "EOUT 136,197", "EIN 136,197", "LDI R0,5", "AOUT 7,195", "AIN 7,197",
                                    "RET"}));
}

TEST(DeviceCompiler, IfComparisonsAreStrict)
{
    const struct {
        const char* cond;
        Strings code;
    } cases[] = {
        {"A > 5", {"CMPI R1,5", "JL IF0END", "JZ IF0END"}},
        {"A < B", {"CMP R1,R2", "JG IF0END", "JZ IF0END"}},
        {"A = B", {"CMP R1,R2", "JNZ IF0END"}},
        {"A <> 7", {"CMPI R1,7", "JZ IF0END"}},
        {"A != 7", {"CMPI R1,7", "JZ IF0END"}},
        {"A.3 = 1", {"TSTBIT R1,3", "JZ IF0END"}},
        {"A.3 = 0", {"TSTBIT R1,3", "JNZ IF0END"}},
        {"PIN.4 <> 1", {"TSTIOBIT PIN,16", "JNZ IF0END"}},
        {"POUT.0 != 0", {"TSTIOBIT POUT,1", "JZ IF0END"}},
    };
    for (const auto& c : cases) {
        TCompiler comp;
        Compile(comp, {"[DEVICE]", "VAR A, B;", "PROC P {", std::string("IF (") + c.cond + ") {", "}", "}"});
        Strings expected{"procP:"};
        expected.insert(expected.end(), c.code.begin(), c.code.end());
        expected.insert(expected.end(), {"IF0END:", "RET"});
        EXPECT_EQ(AsmLines(comp), expected) << c.cond;
    }
}

TEST(DeviceCompiler, StrictIfRunsItsBodyOnlyWhenGreater)
{
    // The bytes of IF (R1 > 5): CMPI, JL over the body and JZ over it too.
    TCompiler c;
    Compile(c, {"[DEVICE]", "VAR A;", "PROC P {", "IF (A > 5) { A = 0; }", "}"});
    EXPECT_EQ(devtest::HexOf(c.Code, c.CodeLength), "34 01 00 05 54 0C 48 0C 30 01 00 00 60");
}

TEST(DeviceCompiler, WhileConditions)
{
    const struct {
        const char* head;
        Strings code;
    } cases[] = {
        {"WHILE (A > 5) {", {"WHILE0:", "CMPI R1,5", "JL WHILE0END", "JZ WHILE0END"}},
        {"WHILE (A < B) {", {"WHILE0:", "CMP R1,R2", "JG WHILE0END", "JZ WHILE0END"}},
        {"WHILE (A = 0) {", {"WHILE0:", "CMPI R1,0", "JNZ WHILE0END"}},
        {"WHILE (A <> B) {", {"WHILE0:", "CMP R1,R2", "JZ WHILE0END"}},
        {"WHILE (PIN.7 = 1) {", {"WHILE0:", "TSTIOBIT PIN,128", "JZ WHILE0END"}},
        {"WHILE (B.15 = 0) {", {"WHILE0:", "TSTBIT R2,15", "JNZ WHILE0END"}},
        {"WHILE {", {"WHILE0:"}},
    };
    for (const auto& c : cases) {
        TCompiler comp;
        Compile(comp, {"[DEVICE]", "VAR A, B;", "PROC P {", c.head, "}", "}"});
        Strings expected{"procP:"};
        expected.insert(expected.end(), c.code.begin(), c.code.end());
        expected.insert(expected.end(), {"JMP WHILE0", "WHILE0END:", "RET"});
        EXPECT_EQ(AsmLines(comp), expected) << c.head;
    }
}

TEST(DeviceCompiler, NestedBlocksBreakAndElse)
{
    TCompiler c;
    Compile(c, {"[DEVICE]", "VAR A;", "PROC P {", "  WHILE (A > 0) {", "    IF (A = 3) { BREAK; }", "    ELSE {",
                "      WHILE { BREAK; }", "    }", "    A--;", "  }", "  RETURN;", "}"});
    EXPECT_EQ(AsmLines(c),
              (Strings{"procP:", "WHILE0:", "CMPI R1,0", "JL WHILE0END", "JZ WHILE0END", "CMPI R1,3", "JNZ IF0END",
                       "JMP WHILE0END", "JMP ELSE0END", "IF0END:", "WHILE1:", "JMP WHILE1END", "JMP WHILE1",
                       "WHILE1END:", "ELSE0END:", "DEC 197", "JMP WHILE0", "WHILE0END:", "RET", "RET"}));
}

TEST(DeviceCompiler, ElseOnlyRightAfterAnIfBlock)
{
    const std::vector<std::vector<std::string>> bad{
        {"[DEVICE]", "VAR A;", "PROC P {", "ELSE { }", "}"},
        {"[DEVICE]", "VAR A;", "PROC P {", "IF (A = 1) { }", "A = 2;", "ELSE { }", "}"},
        {"[DEVICE]", "VAR A;", "PROC P {", "WHILE { IF (A = 1) { } }", "ELSE { }", "}"},
        {"[DEVICE]", "VAR A;", "PROC P {", "IF (A = 1) { } ELSE { } ELSE { }", "}"},
    };
    for (const auto& src : bad) {
        TCompiler c;
        Compile(c, src, false);
        EXPECT_NE(FirstError(c).find("ELSE without IF."), std::string::npos) << src[3];
    }
    // A comment between the brace and ELSE is no statement.
    TCompiler c;
    Compile(c, {"[DEVICE]", "VAR A;", "PROC P {", "IF (A = 1) { } // then", "ELSE { }", "}"});
}

TEST(DeviceCompiler, MalformedNumberIsAnErrorLine)
{
    // A register as shift count used to end the compile by an exception.
    TCompiler c;
    Compile(c, {"[DEVICE]", "VAR A, B;", "PROC P {", "A = A << B;", "}"}, false);
    EXPECT_EQ(FirstError(c), "Line 4: Type of operand \"B\" is inadmissible, or unknown expression.");
}

TEST(DeviceCompiler, CodeBeyondJumpReachFailsTheCompile)
{
    std::vector<std::string> src{"[DEVICE]", "VAR A, B;", "PROC P {"};
    // 6 bytes per line: 170 lines fit in 1020 bytes plus RET, 171 do not.
    for (int i = 0; i < 171; ++i)
        src.push_back("A = B + 1000;");
    src.push_back("}");
    TCompiler c;
    Compile(c, src, false);
    EXPECT_EQ(FirstError(c), "Line 174: Device code exceeds 1024 bytes.");
    EXPECT_EQ(c.CodeLength, 0);

    src.erase(src.begin() + 3);
    Compile(c, src);
    EXPECT_EQ(c.CodeLength, 1021);
}

TEST(DeviceCompiler, FailedAssemblyNamesTheSourceLine)
{
    std::vector<std::string> src{"[DEVICE]", "PROC P {"};
    for (int i = 0; i < 1100; ++i) {
        src.push_back("RETURN;");
        src.push_back(i % 2 ? "" : "// comment");
    }
    src.push_back("}");
    TCompiler c;
    Compile(c, src, false);
    // The 1025th RET, on the module's line 2 + 2 * 1024 + 1, is one too many.
    EXPECT_EQ(FirstError(c), "Line 2051: Device code exceeds 1024 bytes.");
}

TEST(DeviceCompiler, CallOfAProcedureNeverCompiledFailsTheCompile)
{
    // B is declared by the prescan, but the section ends (at "[END]") before
    // its body: the call has no label to reach and no code may be uploaded.
    TCompiler c;
    Compile(c, {"[DEVICE]", "PROC A {", "  B;", "}", "VAR X; [END]", "PROC B {", "}"}, false);
    EXPECT_EQ(c.Errors, (TStringList{"Line 3: Label \"procB\" not found."}));
    EXPECT_EQ(c.CodeLength, 0);
}
