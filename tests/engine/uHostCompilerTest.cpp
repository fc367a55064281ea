#include "engine/uAsmMnemonics.h"
#include "engine/uHost.h"
#include "platform/Cp1251.h"
#include "platform/Paths.h"

#include <gtest/gtest.h>

#include "TestSupport.h"

#include <string>

namespace {

void CompileText(THost& h, const std::string& text)
{
    h.Source.SetText(text);
    h.CompileSource();
}

std::string Errors(const THost& h)
{
    std::string out;
    for (const auto& e : h.Errors)
        out += (out.empty() ? "" : "\n") + e;
    return out;
}

// The instructions and labels between a procedure's label and its closing
// "LDIA 0", "RETT", joined with "|".
std::string BodyCode(const THost& h, const std::string& proc)
{
    std::vector<std::string> lines;
    bool inside = false;
    for (const auto& l : h.AsmText) {
        if (!inside) {
            inside = l == "proc" + proc + ":";
            continue;
        }
        if (l.empty())
            break;
        if (l[0] != ';')
            lines.push_back(l);
    }
    if (lines.size() >= 2)
        lines.resize(lines.size() - 2);
    std::string out;
    for (const auto& l : lines)
        out += (out.empty() ? "" : "|") + l;
    return out;
}

// X, Y and I are variables 0, 1, 2; ARR takes array words 0..3, INIT 4..6.
const char* const kPrelude = "[HOST]\nDIM ARR[4];\nDIM INIT[] = {1, 0x10, 3};\nPROC P {\nVAR X, Y, I;\n";
const char* const kPostlude = "\n}\nPROC Q(A, B) {\n}\n";

struct CodeCase {
    const char* statement;
    const char* code;
};

TEST(HostCompiler, EveryStatementGeneratesItsCode)
{
    const CodeCase cases[] = {
        {"X = 5;", "LDIA 00000005|MOVR 00000000"},
        {"X = Y;", "MOVA 00000001|MOVR 00000000"},
        {"X = 'A';", "LDIA 00000041|MOVR 00000000"},
        {"X = 0b101;", "LDIA 00000005|MOVR 00000000"},
        {"X = 0x1F;", "LDIA 0000001F|MOVR 00000000"},
        {"X = $FF;", "LDIA 000000FF|MOVR 00000000"},
        {"X = Y + 2;", "MOVA 00000001|ADDI 00000002|MOVR 00000000"},
        {"X = Y - I;", "MOVA 00000001|SUBR 00000002|MOVR 00000000"},
        {"X = Y & 3;", "MOVA 00000001|ANDI 00000003|MOVR 00000000"},
        {"X = Y | I;", "MOVA 00000001|ORRR 00000002|MOVR 00000000"},
        {"X = Y ^ 1;", "MOVA 00000001|XORI 00000001|MOVR 00000000"},
        {"X = Y * 3;", "MOVA 00000001|MULI 00000003|MOVR 00000000"},
        {"X = Y / I;", "MOVA 00000001|DIVR 00000002|MOVR 00000000"},
        {"X = Y << 31;", "MOVA 00000001|ROTL 0000001F|MOVR 00000000"},
        {"X = Y >> 4;", "MOVA 00000001|ROTR 00000004|MOVR 00000000"},
        {"X = USB;", "INPO 00000000|MOVR 00000000"},
        {"PBPOS = X;", "MOVA 00000000|OUTP 00000001"},
        {"X = FBUF[3];", "SFPI 00000003|MFFA|MOVR 00000000"},
        {"X = EBUF[I];", "SEPR 00000002|MFEA|MOVR 00000000"},
        {"X = FSEL[I];", "SFSR 00000002|MFSF|MOVR 00000000"},
        {"FBUF[I] = X;", "MOVA 00000000|SFPR 00000002|MTFA"},
        {"EBUF[3] = 7;", "LDIA 00000007|SEPI 00000003|MTEA"},
        {"FSEL[1] = 1;", "LDIA 00000001|SFSI 00000001|MTSF"},
        {"ESEL[I] = 0;", "LDIA 00000000|SESR 00000002|MTSE"},
        {"FBUF[I] = USB;", "INPO 00000000|SFPR 00000002|MTFA"},
        {"X = ARR[I];", "LDIA 00000000|ADDR 00000002|MOVR 00000FFF|SRPR 00000FFF|MFRA|MOVR 00000000"},
        {"X = INIT[1];", "LDIA 00000004|ADDI 00000001|MOVR 00000FFF|SRPR 00000FFF|MFRA|MOVR 00000000"},
        {"ARR[I] = 9;", "LDIA 00000000|ADDR 00000002|MOVR 00000FFF|SRPR 00000FFF|LDIA 00000009|MTRA"},
        {"ARR[1] = X;", "LDIA 00000000|ADDI 00000001|MOVR 00000FFF|SRPR 00000FFF|MOVA 00000000|MTRA"},
        // A computed value waits in a variable of the compiler's own while the index is computed.
        {"ARR[I] = X + 1;", "MOVA 00000000|ADDI 00000001|MOVR 00000003|LDIA 00000000|ADDR 00000002|"
                            "MOVR 00000FFF|SRPR 00000FFF|MOVA 00000003|MTRA"},
        {"X++;", "INCC 00000000"},
        {"X--;", "DECC 00000000"},
        {"FBUF[3]--;", "SFPI 00000003|MFFA|SUBI 00000001|SFPI 00000003|MTFA"},
        {"FBUF[I]--;", "SFPR 00000002|MFFA|SUBI 00000001|SFPR 00000002|MTFA"},
        {"EBUF[I]++;", "SEPR 00000002|MFEA|ADDI 00000001|SEPR 00000002|MTEA"},
        {"ARR[I]++;", "LDIA 00000000|ADDR 00000002|MOVR 00000FFF|SRPR 00000FFF|MFRA|ADDI 00000001|MTRA"},
        {"PD++;", "INPO 00000006|ADDI 00000001|OUTP 00000006"},
        {"X.3 = 1;", "MOVA 00000000|ORRI 00000008|MOVR 00000000"},
        {"X.0 = 0;", "MOVA 00000000|ANDI FFFFFFFE|MOVR 00000000"},
        {"X.1 = Y.2;", "MOVA 00000001|ANDI 00000004|JMPZ P_Label0|MOVA 00000000|ORRI 00000002|MOVR 00000000|"
                       "JMPP P_Label1|P_Label0:|MOVA 00000000|ANDI FFFFFFFD|MOVR 00000000|P_Label1:"},
        {"Q(1, X);", "LDIA 00000001|MOVR 00000FA0|MOVA 00000000|MOVR 00000FA1|CALL PROCQ"},
        {"Q();", "CALL PROCQ"},
        {"X = Q(2, 3);", "LDIA 00000002|MOVR 00000FA0|LDIA 00000003|MOVR 00000FA1|CALL PROCQ|MOVR 00000000"},
        {"ARR[1] = Q(2);", "LDIA 00000002|MOVR 00000FA0|CALL PROCQ|MOVR 00000003|LDIA 00000000|ADDI 00000001|"
                           "MOVR 00000FFF|SRPR 00000FFF|MOVA 00000003|MTRA"},
        {"RETURN;", "LDIA 00000000|RETT"},
        {"RETURN(X);", "MOVA 00000000|RETT"},
        {"RETURN(7);", "LDIA 00000007|RETT"},
        {"BEGINBLOCK;", "BBLK"},
        {"ENDBLOCK;", "EBLK"},
        {"DELAY(10);", "DELI 0000000A"},
        {"DELAY(X);", "DELR 00000000"},
        {"FINDSIGNATURE(X);", "MOVA 00000000|FSIG"},
        {"FINDSIGNATURE(, X);", "MOVA 00000000|FSIG"},
        {"X = FINDSIGNATURE(0x1234);", "LDIA 00001234|FSIG|MOVR 00000000"},
        {"CLOSE(X);", "MOVA 00000000|CLOS|RETT"},
        {"SETUPUART(9600, 8, 0, 1);", "STUA 02580801"},
        {"SETUPUART($10, 4, 4, 2);", "STUA 00010442"},
        {"PRINT(\"%D\", X, 0x10);", "PRIN 00000000"},
        {"WHILE (X < 10) { X++; }", "WHILE0:|MOVA 00000000|CMPI 0000000A|JPZG WHILE0END|INCC 00000000|"
                                    "JMPP WHILE0|WHILE0END:"},
        {"WHILE (X > Y) { }", "WHILE0:|MOVA 00000000|CMPR 00000001|JPZL WHILE0END|JMPP WHILE0|WHILE0END:"},
        {"WHILE { BREAK; }", "WHILE0:|JMPP WHILE0END|JMPP WHILE0|WHILE0END:"},
        {"WHILE (X.0 = 0) { }", "WHILE0:|MOVA 00000000|ANDI 00000001|JPNZ WHILE0END|JMPP WHILE0|WHILE0END:"},
        {"IF (X > Y) { X = 1; }", "MOVA 00000000|CMPR 00000001|JPZL IF0END|LDIA 00000001|MOVR 00000000|IF0END:"},
        {"IF (X = 2) { } ELSE { X = 1; }",
         "MOVA 00000000|CMPI 00000002|JPNZ IF0END|JMPP ELSE0END|IF0END:|LDIA 00000001|MOVR 00000000|ELSE0END:"},
        {"IF (X != 3) { }", "MOVA 00000000|CMPI 00000003|JMPZ IF0END|IF0END:"},
        {"IF (X <> 3) { }", "MOVA 00000000|CMPI 00000003|JMPZ IF0END|IF0END:"},
        {"IF (X.2 = 1) { }", "MOVA 00000000|ANDI 00000004|JMPZ IF0END|IF0END:"},
        {"IF (X.2 <> 1) { }", "MOVA 00000000|ANDI 00000004|JPNZ IF0END|IF0END:"},
        {"IF (X.2 = 0) { }", "MOVA 00000000|ANDI 00000004|JPNZ IF0END|IF0END:"},
        {"WHILE { IF (X = 1) { BREAK; } }",
         "WHILE0:|MOVA 00000000|CMPI 00000001|JPNZ IF0END|JMPP WHILE0END|IF0END:|JMPP WHILE0|WHILE0END:"},
        {"// X = 1;", ""},
        {"VAR Z; Z = 1;", "LDIA 00000001|MOVR 00000003"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.statement);
        THost h;
        CompileText(h, std::string(kPrelude) + c.statement + kPostlude);
        ASSERT_EQ(Errors(h), "");
        EXPECT_EQ(BodyCode(h, "P"), c.code);
    }
}

TEST(HostCompiler, PrintRecordsHoldTextAndArgumentsEndedByAnEmptyRecord)
{
    THost h;
    CompileText(h, std::string(kPrelude) + "PRINT(\"a %D\", X, 0x10);\nPRINT(\"b\");" + kPostlude);
    ASSERT_EQ(Errors(h), "");
    EXPECT_EQ(h.PrintRecords, (TStringList{"\"a %D\"", "R0", "16", "", "\"b\"", ""}));
    EXPECT_NE(BodyCode(h, "P").find("PRIN 00000004"), std::string::npos);
}

TEST(HostCompiler, ProceduresWithParametersCopyTheirArgumentsAndEndLikeOthers)
{
    THost h;
    CompileText(h, "[HOST]\nPROC WRITE(START, COUNT) {\n}\nPROC READ {\n}\n");
    ASSERT_EQ(Errors(h), "");
    std::vector<std::string> code;
    for (const auto& l : h.AsmText)
        if (!l.empty() && l[0] != ';')
            code.push_back(l);
    const std::vector<std::string> expected = {"procWRITE:",    "MOVA 00000FA0", "MOVR 00000000", "MOVA 00000FA1",
                                               "MOVR 00000001", "LDIA 00000000", "RETT",          "procREAD:",
                                               "LDIA 00000000", "RETT"};
    EXPECT_EQ(code, expected);
    ASSERT_EQ(h.Procedures.Count(), 2);
    EXPECT_EQ(h.Procedures[h.Procedures.IndexOf("PROCWRITE")].Number, 0);
    EXPECT_EQ(h.Procedures[h.Procedures.IndexOf("PROCREAD")].Number, 12);
    EXPECT_EQ(h.CodeLength, 16);
    EXPECT_EQ(h.Code[0], static_cast<uint32_t>(opMOVA));
    EXPECT_EQ(h.Code[1], 4000u);
}

TEST(HostCompiler, LocalNamesEndWithTheirProcedureButNumbersAreNotReused)
{
    THost h;
    CompileText(h, "[HOST]\nPROC A {\nVAR X;\nX = 1;\n}\nPROC B {\nVAR X;\nX = 2;\n}\n");
    ASSERT_EQ(Errors(h), "");
    EXPECT_EQ(BodyCode(h, "A"), "LDIA 00000001|MOVR 00000000");
    EXPECT_EQ(BodyCode(h, "B"), "LDIA 00000002|MOVR 00000001");
    EXPECT_EQ(h.VarNames.Count(), 0);
}

TEST(HostCompiler, DefinitionsStandForTheirValues)
{
    THost h;
    CompileText(h, "[HOST]\nDEFINE LIMIT 10\nDEFINE COUNTER X\nPROC P {\nVAR X;\nCOUNTER = LIMIT;\n"
                   "IF (COUNTER.1 = 1) { }\n}\n");
    ASSERT_EQ(Errors(h), "");
    EXPECT_EQ(BodyCode(h, "P"), "LDIA 0000000A|MOVR 00000000|MOVA 00000000|ANDI 00000002|JMPZ IF0END|IF0END:");
}

TEST(HostCompiler, SourceLinesBecomeCommentsOfTheAssemblyText)
{
    THost h;
    CompileText(h, "[HOST]\nPROC P {\n  VAR X;\n\n  X = 1;\n}\n");
    ASSERT_EQ(Errors(h), "");
    EXPECT_EQ(h.AsmText[0], ";PROC P {");
    EXPECT_EQ(h.AsmText[1], "procP:");
    EXPECT_EQ(h.AsmText[2], ";  VAR X;");
    EXPECT_EQ(h.AsmText[3], ";     R0 = X");
    EXPECT_EQ(h.AsmText[4], ";  X = 1;");
}

TEST(HostCompiler, ArraysAreLaidOutInDeclarationOrderWithTheirInitialisers)
{
    THost h;
    CompileText(h, "[HOST]\nDIM A[3];\nDIM B[] = {0x10, 20, 0X30};\nDIM C[2];\nPROC P {\n}\n");
    ASSERT_EQ(Errors(h), "");
    EXPECT_EQ(h.Arrays[h.Arrays.IndexOf("A")].Number, 0);
    EXPECT_EQ(h.Arrays[h.Arrays.IndexOf("B")].Number, 3);
    EXPECT_EQ(h.Arrays[h.Arrays.IndexOf("C")].Number, 6);
    EXPECT_EQ(h.ArrayStore[3], 0x10u);
    EXPECT_EQ(h.ArrayStore[4], 20u);
    EXPECT_EQ(h.ArrayStore[5], 0x30u);
    EXPECT_EQ(h.ArrayCursor, 8);
}

struct ErrorCase {
    const char* script; // after the "[HOST]" line
    const char* error;
};

TEST(HostCompiler, EveryErrorHasItsMessage)
{
    const std::string russian =
        Utf8ToCp1251("Строка 4: Ожидается запятая или закрывающая скобка, а найдено выражение \"X\".");
    const ErrorCase cases[] = {
        {"PROC A {\n}\nPROC A {\n}", "Line 4: Procedure \"A\" redeclared."},
        {"PROC\n", "Line 2: Procedure name missing."},
        {"DEFINE A 1\nDEFINE B 1", "Line 3: Redefenition of expression."},
        {"DEFINE A 1\nDEFINE A 2", "Line 3: Redefenition of expression."},
        {"DEFINE IF 1", "Line 2: Reserved word \"IF\" can not be redefined."},
        {"DEFINE A", "Line 3: Parameter missing in DEFINE."},
        {"X = 1;", "Line 2: Procedure expected, but expression \"X\" was found."},
        {"PROC IF {\n}", "Line 2: Reserved word \"IF\" cannot be by name of procedure"},
        {"PROC A (B C) {\n}", "String 2: Round bracket or comma are expected, but expression \"C\" was found."},
        {"PROC A (B) X", "String 2: Bracke is expected, but expression \"X\" was found."},
        {"PROC A (B, B) {", "Line 2: Duplicate variable \"B\"."},
        {"PROC A X", "Line 2: Brace is expected, but expression \"X\" was found."},
        {"DIM A;", "Line 2: Array size symbol \"[\" was lost."},
        {"DIM A[2];\nDIM A[3];", "Line 3: Duplicate array \"A\"."},
        {"DIM A[2 ];", "Line 2: Array size symbol \"]\" was lost."},
        {"DIM A[X];", "Line 2: \"X\" can not be used there."},
        {"DIM A[65536];\nDIM B[1];", "Line 3: Array size too big."},
        {"DIM A[] {1};", "Line 2: Equal sign is expected, but expression \"{\" found."},
        {"DIM A[] = 1;", "Line 2: Brace is expected, but expression \"1\" found."},
        {"DIM A[] = {Z};", "Line 2: Unknown expression \"Z\"."},
        {"DIM A[] = {1 2};", "Line 2: Brace or comma is expected, but expression \"2\" found."},
        {"DIM A[] = {1} X", "Line 2: Semicolon is expected, but expression \"X\" was found."},
        {"DIM A[2] X", "Line 2: Semicolon is expected, but expression \"X\" was found."},
        {"DEFINE K 5\nPROC P {\nVAR K;\n}", "Line 4: \"K\" already used in DEFINE"},
        {"PROC P {\nX = 1;", "Line 3: Unknown expression \"X\"."},
        {"PROC P {\nVAR X;\nX = 1;", "Line 5: Unexpected end of file. The closed brace is possible lost"},
        {"PROC P {\nVAR X;\nX =", "Line 5: Unexpected end of file."},
        {"PROC P {\nVAR A;\n}\nPROC A {\n}", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.script);
        THost h;
        CompileText(h, std::string("[HOST]\n") + c.script);
        EXPECT_EQ(Errors(h), c.error);
    }

    // Statements of a body: X and Y are variables, Q a procedure; the
    // statement stands on line 4.
    const ErrorCase statements[] = {
        {"X = 1\n}", "Line 5: Semicolon or operator are expected, but expression \"}\" was found."},
        {"X = Q()\n}", "Line 5: Semicolon is expected, but expression \"}\" was found."},
        {"X = Y + Y * 2;", "Line 4: Semicolon is expected, but expression \"*\" was found."},
        {"X = Y << 32;", "Line 4: Bit index must be from 0 to 31."},
        {"X = Y >> X;", "Line 4: Bit index must be from 0 to 31."},
        {"X = Y Y;", "Line 4: Semicolon or operator are expected, but expression \"Y\" was found."},
        {"X = Y + USB;", "Line 4: Expression \"USB\" cannot be used here."},
        {"X = Z;", "Line 4: Unknown expression \"Z\"."},
        {"X = X.1;", "Line 4: Bit variable \"X.1\" cannot be used here."},
        {"X = ESEL[1];", "Line 4: Expression \"ESEL[1]\" cannot be used here."},
        {"X = FBUF[USB];", "Line 4: Expression \"USB\" cannot be used here."},
        {"X = FBUF[Z];", "Line 4: Unknown expression \"Z\"."},
        {"X = 0xFFFFFFFF;", "Line 4: Unknown expression \"0XFFFFFFFF\"."},
        {"5 = X;", "Line 4: Expression \"5\" cannot be used here."},
        {"X : 1;", "Line 4: Equation symbol is expected, but expression \":\" was found."},
        {"FSEL[1]++;", "Line 4: \"++\" cannot be used here."},
        {"X.1--;", "Line 4: \"--\" cannot be used here."},
        {"X.1 = 5;", "Line 4: Type of operand \"5\" is inadmissible, or unknown expression."},
        {"X.1 : 1;", "Line 4: Equation symbol is expected, but expression \":\" was found."},
        {"IF (X >= 5) { }", "Line 4: Type of expression \"=\" is inadmissible."},
        {"IF (X <= 5) { }", "Line 4: Unknown expression \"<=\"."},
        {"WHILE (X <= 5) { }", "Line 4: Condition operator expected, but expression \"<=\" was found."},
        {"IF X", "Line 4: Opened bracket expected, but expression \"X\" was found."},
        {"WHILE X", "Line 4: Opened round bracket or brace are expected, but expressiob \"X\" was found."},
        {"IF (5 = X) { }", "Line 4: Type of expression \"5\" is inadmissible."},
        {"WHILE (5 = X) { }", "Line 4: Unknown expression \"5\"."},
        {"IF (X.1 > 1) { }", "Line 4: Bin comparison must be \"=\" or \"!=\" only."},
        {"WHILE (X.1 <> 1) { }", "Line 4: Condition operator expected, but expression \"<>\" was found."},
        {"IF (X.1 = 2) { }", "Line 4: Type of expression \"2\" is inadmissible."},
        {"WHILE (X.1 = 2) { }", "Line 4: Bit value (0 or 1) expected, but expression \"2\" was found."},
        {"IF (X = USB) { }", "Line 4: Type of expression \"USB\" is inadmissible."},
        {"IF (X = 1 {", "Line 4: Round bracket is expected, but expression \"{\" was found."},
        {"IF (X = 1) X", "Line 4: Brace is expected, but expression \"X\" was found."},
        {"X = 1;\nELSE { }", "Line 5: ELSE without IF."},
        {"IF (X = 1) { }\nX = 1;\nELSE { }", "Line 6: ELSE without IF."},
        {"IF (X = 1) { } ELSE X", "Line 4: Brace is expected, but expression \"X\" was found."},
        {"BREAK;", "Line 4: BREAK without WHILE."},
        {"WHILE { BREAK X", "Line 4: Semocolon is expected, but expression \"X\" was found."},
        {"VAR IF;", "Line 4: Cannot use \"IFas name of variable"},
        {"VAR +;", "Line 4: Error using reserved symbol \"+\"."},
        {"VAR X;", "Line 4: duplicate variable \"X\"."},
        {"VAR Z Y;", "Line 4: Semicolon or comma expected, but expression \"Y\" was found."},
        {"RETURN X;", "Line 4: Opened round bracket or semicolon is expected, but expression \"X\" was found."},
        {"RETURN(USB);", "Line 4: \"USB\" cannot be used here."},
        {"RETURN(X;", "Line 4: Closed round bracket is expected, but expression \";\" was found."},
        {"DELAY X;", "Line 4: Round bracket is expected, but expression \"X\" was found."},
        {"DELAY(Z);", "Line 4: Unknown expression \"Z\" was found."},
        {"DELAY(USB);", "Line 4: \"USB\" can not be used there."},
        {"DELAY(5;", "Line 4: Round bracket is expected, but expression \";\" was found."},
        {"CLOSE(USB);", "Line 4: \"USB\" can not be used there."},
        // One token that is no operand is passed over, not more.
        {"CLOSE(); RETURN(X);", "Line 4: \";\" can not be used there."},
        {"CLOSE(\n}", "Line 6: \"}\" can not be used there."},
        {"FINDSIGNATURE(FOO BAR BAZ 5);", "Line 4: \"BAR\" can not be used there."},
        {"X = FINDSIGNATURE(FOO BAR 5);", "Line 4: \"BAR\" can not be used there."},
        {"FINDSIGNATURE X", "Line 4: Round bracket is expected, but expression \"X\" was found."},
        {"RUN READ;", "Line 4: Brace is expected, but expression \"READ\" was found."},
        {"RUN(READ;", "Line 4: Brace is expected, but expression \";\" was found."},
        {"PRINT \"a\";", "Line 4: Round bracket is expected, but expression \"\"a\"\" found."},
        {"PRINT(X);", "Line 4: Text string is missing in \"PRINT\""},
        {"PRINT(\"a\",);", "Line 4: Unexpected closed round bracket \")\"."},
        {"PRINT(\"a\", Z);", "Line 4: Unknown expression \"Z\"."},
        {"SETUPUART 1;", "Line 4: Parameters missing in function SETUPUART."},
        {"SETUPUART(9600, 9, 0, 1);", "Line 4: Parameters error in function SETUPUART."},
        {"SETUPUART(9600, 8, 5, 1);", "Line 4: Parameters error in function SETUPUART."},
        {"SETUPUART(9600, 8, 0, 3);", "Line 4: Parameters error in function SETUPUART."},
        {"SETUPUART(X, 8, 0, 1);", "Line 4: Parameters error in function SETUPUART."},
        {"SETUPUART(9600; 8, 0, 1);", "Line 4: Comma expected, but expression ; found."},
        {"SETUPUART(9600, 8, 0, 1;", "Line 4: Round bracket is expected, but expression \";\" was found."},
        {"Q 1;", "Line 4: Opened round bracket is expected, but expression \"1\" was found."},
        {"Q(USB);", "Line 4: \"USB\" cannot be used here."},
        {"Q(1 2);", "Line 4: Comma or round bracket expected, but \"2\" is found."},
        {"Q(Z);", "Line 4: Unknown expression \"Z\"."},
        {"+ X;", "Line 4: Use of reserved symbol \"+\" is inadmissible."},
        {"Z = 1;", "Line 4: Unknown expression \"Z\"."},
    };
    for (const auto& c : statements) {
        SCOPED_TRACE(c.script);
        THost h;
        CompileText(h, std::string("[HOST]\nPROC P {\nVAR X, Y;\n") + c.script + "\n}\nPROC Q {\n}\n");
        EXPECT_EQ(Errors(h), c.error);
    }

    THost h;
    CompileText(h, "[HOST]\nPROC P {\nVAR X;\nPRINT(\"a\" X);\n}\n");
    EXPECT_EQ(Errors(h), russian);
}

// Procedure-local names end with their procedure, so only a variable of the
// parameter list can collide with a procedure name.
TEST(HostCompiler, ProcedureNamedLikeAParameterVariable)
{
    THost h;
    TStringList list;
    list.AddObject("Speed", 1);
    h.LoadExternalVariables(list);
    CompileText(h, "[HOST]\nPROC SPEED {\n}\n");
    EXPECT_EQ(Errors(h), "Line 2: The expression \"SPEED\" already use as variable name.");
}

// Running out of text names the line after the last one, in the host
// section as in the device section.
TEST(HostCompiler, EndOfTextNamesTheLineAfterTheLastAsTheDeviceCompilerDoes)
{
    const char* const bodies[] = {"PROC P {\n", "PROC P {\n\n\n", "PROC P {\nWHILE {\n}", "PROC P {\nRETURN"};
    for (const char* body : bodies) {
        SCOPED_TRACE(body);
        THost h;
        CompileText(h, std::string("[HOST]\n") + body);
        TCompiler device;
        device.Lines.SetText(std::string("[DEVICE]\n") + body);
        device.Compile();
        ASSERT_EQ(h.Errors.Count(), 1);
        ASSERT_EQ(device.Errors.Count(), 1);
        const std::string line = "Line " + std::to_string(h.Source.Count() + 1) + ": ";
        EXPECT_EQ(h.Errors[0].rfind(line, 0), 0u) << h.Errors[0];
        EXPECT_EQ(device.Errors[0].rfind(line, 0), 0u) << device.Errors[0];
    }
}

// "//" makes a comment line: it neither declares a procedure nor starts or
// ends the host section.
TEST(HostCompiler, CommentLinesAreNotSeenByTheSectionSearchOrThePreScan)
{
    struct Case {
        const char* module;
        const char* error;
    };
    const Case cases[] = {
        {"[HOST]\n// PROC READ is the menu entry\nPROC READ {\n}\n", ""},
        {"[HOST]\n  //PROC READ {\nPROC READ {\n}\n", ""},
        {"// the [HOST] section follows\n[MENU]\nREAD = Read;\n[HOST]\nPROC READ {\n}\n", ""},
        {"[HOST]\nPROC READ {\nQ();\n}\n// [DEVICE] is not next\nPROC Q {\n}\n", ""},
        {"// [HOST]\nPROC READ {\n}\n", "Section [HOST] not found."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.module);
        THost h;
        CompileText(h, c.module);
        EXPECT_EQ(Errors(h), c.error);
        if (std::string(c.error).empty()) {
            EXPECT_TRUE(h.SelectProcedure("READ"));
        }
    }
}

TEST(HostCompiler, MissingSectionOrFile)
{
    THost h;
    CompileText(h, "[DESCRIPTION]\nPROC A {\n}\n");
    EXPECT_EQ(Errors(h), "Section [HOST] not found.");

    h.LoadedModule = "/nonexistent/folder/module.chl";
    h.Compile();
    EXPECT_EQ(Errors(h), "Source file \"/nonexistent/folder/module.chl\" not found.");
}

TEST(HostCompiler, CompilesTheModuleFileNamedByLoadedModule)
{
    THost h;
    h.LoadedModule = testsupport::FixturePath("engine/host/counter.chl");
    h.Compile();
    ASSERT_EQ(Errors(h), "");
    EXPECT_TRUE(h.SelectProcedure("Count"));
    EXPECT_FALSE(h.UsesDevice);
}

// The compiler stops at the machine's limits with the line that reaches them.
TEST(HostCompiler, LimitsOfTheMachineAreCompileErrors)
{
    {
        std::string script = "[HOST]\nPROC P {\nVAR X;\n";
        for (int i = 0; i < 2100; ++i)
            script += "X = 1;\n";
        THost h;
        CompileText(h, script + "}\n");
        EXPECT_EQ(Errors(h), "Line 2052: Program is too big: more than 4096 instructions.");
    }
    {
        std::string script = "[HOST]\nPROC P {\n";
        for (int i = 0; i < 4001; ++i)
            script += "VAR V" + std::to_string(i) + ";\n";
        THost h;
        CompileText(h, script + "}\n");
        EXPECT_EQ(Errors(h), "Line 4003: Too many variables: variable numbers must stay below 4000.");
    }
    {
        std::string params;
        for (int i = 0; i < 96; ++i)
            params += (i ? ", " : "") + std::string("A") + std::to_string(i);
        THost h;
        CompileText(h, "[HOST]\nPROC P(" + params + ") {\n}\n");
        EXPECT_EQ(Errors(h), "Line 2: Too many parameters: at most 95 are possible.");
    }
    {
        std::string args;
        for (int i = 0; i < 96; ++i)
            args += (i ? ", " : "") + std::to_string(i);
        THost h;
        CompileText(h, "[HOST]\nPROC P {\nQ(" + args + ");\n}\nPROC Q {\n}\n");
        EXPECT_EQ(Errors(h), "Line 3: Too many arguments: at most 95 are possible.");
    }
    {
        std::string params;
        for (int i = 0; i < 95; ++i)
            params += (i ? ", " : "") + std::string("A") + std::to_string(i);
        THost h;
        CompileText(h, "[HOST]\nPROC P(" + params + ") {\n}\n");
        EXPECT_EQ(Errors(h), "");
    }
}

TEST(HostCompiler, RunIsPatchedWithDeviceProcedureAddresses)
{
    THost h;
    CompileText(h, "[HOST]\nPROC P {\nRUN(read);\nRUN(WRITE);\nRUN(READ);\n}\n"
                   "[DEVICE]\nPROC WRITE {\n}\nPROC READ {\n}\n");
    ASSERT_EQ(Errors(h), "");
    EXPECT_TRUE(h.UsesDevice);
    EXPECT_EQ(h.RunNames, (TStringList{"READ", "WRITE", "READ"}));
    auto address = [&](const std::string& name) {
        for (int i = 0; i + 1 < h.Compiler.ProcAddresses.Count(); i += 2)
            if (h.Compiler.ProcAddresses[i] == name)
                return static_cast<uint32_t>(std::stoi(h.Compiler.ProcAddresses[i + 1]));
        return 0xFFFFFFFFu;
    };
    EXPECT_EQ(h.Code[0], static_cast<uint32_t>(opDRUN));
    EXPECT_EQ(h.Code[1], address("READ"));
    EXPECT_EQ(h.Code[3], address("WRITE"));
    EXPECT_EQ(h.Code[5], address("READ"));
    EXPECT_NE(address("READ"), address("WRITE"));

    CompileText(h, "[HOST]\nPROC P {\nRUN(ERASE);\nRUN(READ);\nRUN(BLANK);\n}\n[DEVICE]\nPROC READ {\n}\n");
    EXPECT_EQ(Errors(h), "Device procedure \"ERASE\" not found.\nDevice procedure \"BLANK\" not found.");
}

TEST(HostCompiler, DeviceCompileErrorsAreAppended)
{
    THost h;
    CompileText(h, "[HOST]\nPROC P {\nRUN(READ);\n}\n");
    EXPECT_FALSE(h.Errors.Empty());
    EXPECT_TRUE(h.UsesDevice);
}

TEST(HostAssembler, TwoPassesWithLabelsProceduresAndOperands)
{
    THost h;
    h.AsmText = TStringList{"; comment", "procMAIN:", "ldia 0000002a", "", "jmpp later", "PROCMAIN:", "later:",
                            "rett", "later:", "mess"};
    h.Assemble();
    ASSERT_EQ(Errors(h), "");
    EXPECT_EQ(h.CodeLength, 8);
    EXPECT_EQ(h.Code[0], static_cast<uint32_t>(opLDIA));
    EXPECT_EQ(h.Code[1], 0x2Au);
    EXPECT_EQ(h.Code[3], 4u); // the first definition of a label counts
    EXPECT_EQ(h.Code[4], static_cast<uint32_t>(opRETT));
    EXPECT_EQ(h.Code[5], 0u);
    EXPECT_EQ(h.Procedures.Count(), 1);
    EXPECT_EQ(h.Procedures[0].Name, "PROCMAIN");

    const ErrorCase errors[] = {
        {"NOPE 00000001", "Asm: unknown mnemonic \"NOPE\""},
        {"JMPP NOWHERE", "Asm: unknown label \"NOWHERE\""},
        {"LDIA XYZ", "Asm: bad operand \"XYZ\""},
    };
    for (const auto& c : errors) {
        THost e;
        e.AsmText = TStringList{"RETT", c.script, "RETT"};
        e.Assemble();
        EXPECT_EQ(Errors(e), c.error);
        EXPECT_EQ(e.CodeLength, 2);
    }
}

// Every procedure label makes a procedure, also of a procedure the line
// pre-scan misses (not at the start of its line); the bit-copy labels of a
// procedure whose name begins with PROC do not.
TEST(HostAssembler, ProcedureTableHoldsProceduresOnly)
{
    THost h;
    CompileText(h, "[HOST]\nPROC PROCEED {\nVAR X;\nX.1 = X.2;\n} PROC B {\nRETURN(2);\n}\n");
    ASSERT_EQ(Errors(h), "");
    EXPECT_EQ(h.Procedures.Count(), 2);
    EXPECT_FALSE(h.SelectProcedure("EED_LABEL0"));
    EXPECT_TRUE(h.SelectProcedure("b"));
    EXPECT_EQ(h.PC, h.CodeLength - 8);
}

} // namespace
