// The calculator script compiler: statements to listing, forms to records,
// and every message.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "calc/uCalcCompiler.h"
#include "platform/Cp1251.h"
#include "platform/Files.h"
#include "platform/Paths.h"

namespace {

struct TCompiled {
    bool ok = false;
    std::string error; // UTF-8
    int length = 0;
    std::vector<std::string> listing;
    std::unique_ptr<TCalcImage> image = std::make_unique<TCalcImage>();

    // The instruction and label lines: comments and form data left out.
    std::vector<std::string> Code() const
    {
        std::vector<std::string> code;
        for (const std::string& l : listing)
            if (!l.empty() && l[0] != ';' && l.compare(0, 3, ".db") != 0 && l.compare(0, 3, "STR") != 0)
                code.push_back(l);
        return code;
    }
};

TCompiled Compile(const std::string& source)
{
    TCompiled c;
    std::string error;
    c.ok = CompileCalculatorSource(Utf8ToCp1251(source), *c.image, error, c.length, c.listing);
    c.error = Cp1251ToUtf8(error);
    return c;
}

const std::string Head = "[Tests\\Demo]\r\nSIZE(200,100);\r\nFORM{\r\n"
                         " LABEL(L1,\"x\",0,5);\r\n DIGIT(D1,\"d\",60,30,50);\r\n"
                         " COMBOBOX(C1,\"c\",60,60,50,\"a\",\"b\");\r\n}\r\nVAR X,Y;\r\n";

// The code of ONSHOW { body }, without the label and the closing RET.
std::vector<std::string> BodyCode(const std::string& body)
{
    const TCompiled c = Compile(Head + "ONSHOW{\r\n" + body + "\r\n}\r\n");
    EXPECT_TRUE(c.ok) << body << ": " << c.error;
    std::vector<std::string> code = c.Code();
    if (code.size() >= 2) {
        code.erase(code.begin());
        code.pop_back();
    }
    return code;
}

std::string Joined(const std::vector<std::string>& lines)
{
    std::string s;
    for (const auto& l : lines)
        s += l + "\n";
    return s;
}

} // namespace

TEST(CalcCompilerStatements, CompileToTheListing)
{
    // X is register 0x34, Y 0x35; L1 control 0, D1 1, C1 2.
    const struct {
        const char* source;
        const char* code;
    } cases[] = {
        {"X = X + 1;", "R+B     00000034 00000001\n"},
        {"X = 5;", "R=B     00000034 00000005\n"},
        {"X = 0x1234;", "R=W     00000034 00001234\n"},
        {"X = $12345;", "R=D     00000034 00012345\n"},
        {"X = Y;", "R=R     00000034 00000035\n"},
        {"X = Y * 3 + 2;",
         "R=R     000000FF 00000035\nR*B     000000FF 00000003\nR=R     000000FE 000000FF\n"
         "R+B     000000FE 00000002\nR=R     00000034 000000FE\n"},
        {"X = Y + 2 * 3;",
         "R=B     000000FF 00000002\nR*B     000000FF 00000003\nR=R     000000FE 00000035\n"
         "R+R     000000FE 000000FF\nR=R     00000034 000000FE\n"},
        {"X = (Y + 2) * 3;",
         "R=R     000000FF 00000035\nR+B     000000FF 00000002\nR=R     000000FE 000000FF\n"
         "R*B     000000FE 00000003\nR=R     00000034 000000FE\n"},
        {"X = X << 70000;", "R<<D    00000034 000000FF\n"},
        {"X = X >> Y;", "R>>R    00000034 00000035\n"},
        {"X = X / X;",
         "R=R     000000FF 00000034\nR/R     000000FF 00000034\nR=R     00000034 000000FF\n"},
        {"X = @5;", "R=@D    00000034 00000005\n"},
        {"X = @Y + ?10;",
         "R=@R    000000FF 00000035\nR=?D    000000FE 0000000A\nR+R     000000FF 000000FE\n"
         "R=R     00000034 000000FF\n"},
        {"X = D1;", "R=C     00000034 00000001\n"},
        {"X = R7 ^ VAR9 & 0xFFFFF;",
         "R=R     000000FF 00000007\nR^R     000000FF 00000009\nR=R     000000FE 000000FF\n"
         "R&D     000000FE 000FFFFF\nR=R     00000034 000000FE\n"},
        {"X = SELSTART | BUFSIZE;", "R=R     000000FF 00000030\nR|R     000000FF 00000032\nR=R     00000034 000000FF\n"},
        {"@5 = X;", "@D=R    00000005 00000034\n"},
        {"@X = 300;", "@R=D    00000034 0000002C\n"},
        {"@X = @Y;", "R=@R    000000FF 00000035\n@R=R    00000034 000000FF\n"},
        {"D1 = X + 1;", "R=R     000000FF 00000034\nR+B     000000FF 00000001\nC=R     00000001 000000FF\n"},
        {"C1 = 70000;", "C=D     00000002 00011170\n"},
        {"L1.COLOR = 0xFF;", "CP=D    00000000 010000FF\n"},
        // The property named in the source is the one the register changes.
        {"L1.COLOR = X;",
         "R=R     000000FF 00000034\nR&D     000000FF 00FFFFFF\nR|D     000000FF 01000000\nCP=R    00000000 000000FF\n"},
        {"L1.BOLD = Y;",
         "R=R     000000FF 00000035\nR&D     000000FF 00FFFFFF\nR|D     000000FF 02000000\nCP=R    00000000 000000FF\n"},
        {"L1.ALIGNMENT = X;",
         "R=R     000000FF 00000034\nR&D     000000FF 00FFFFFF\nR|D     000000FF 03000000\nCP=R    00000000 000000FF\n"},
        {"RETURN;", "RET     \n"},
        {"IF (X >= 3) { Y = 1; }",
         "R=R     00000080 00000034\nR=B     0000007F 00000003\nJR<R    00000080 0000007F IF0END\n"
         "R=B     00000035 00000001\nIF0END:\n"},
        {"IF (X = Y) { Y = 1; } ELSE { Y = 2; }",
         "R=R     00000080 00000034\nR=R     0000007F 00000035\nJR!=R   00000080 0000007F IF0END\n"
         "R=B     00000035 00000001\nJMP     ELSE0END\nIF0END:\nR=B     00000035 00000002\nELSE0END:\n"},
        {"WHILE (@X != 0) { X = X + 1; IF (X > 9) { BREAK; } }",
         "WHILE0:\nR=@R    00000080 00000034\nR=B     0000007F 00000000\nJR=R    00000080 0000007F WHILE0END\n"
         "R+B     00000034 00000001\nR=R     00000080 00000034\nR=B     0000007F 00000009\n"
         "JR<=R   00000080 0000007F IF0END\nJMP     WHILE0END\nIF0END:\nJMP     WHILE0\nWHILE0END:\n"},
        {"IF (C1 < (X + 1)) { }",
         "R=C     00000080 00000002\nR=R     000000FF 00000034\nR+B     000000FF 00000001\n"
         "R=R     0000007F 000000FF\nJR=>R   00000080 0000007F IF0END\nIF0END:\n"},
        {"IF (R5 <= 70000) { }",
         "R=R     00000080 00000005\nR=D     0000007F 00011170\nJR>R    00000080 0000007F IF0END\nIF0END:\n"},
        // After SIZE a line that begins with "!" is code, not a description.
        {"IF (X\r\n!= Y) { }",
         "R=R     00000080 00000034\nR=R     0000007F 00000035\nJR=R    00000080 0000007F IF0END\nIF0END:\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Joined(BodyCode(c.source)), c.code) << c.source;
}

TEST(CalcCompilerStatements, StringAssignments)
{
    const struct {
        const char* source;
        const char* code;
    } cases[] = {
        {"L1 = \"Sum: \" + #B X;", "S=0     00000020\nS+L     00000020 STR0\nS+RB    00000020 00000034\n"
                                   "L=S     00000000 00000020\n"},
        {"STR3 = #I:200 + #i:300 + #I:70000 + #W.X + #D.5 + #C.65 + #b:511;",
         "S=0     00000020\nS+BI    00000020 000000C8\nS+WI    00000020 0000012C\nS+DI    00000020 00011170\n"
         "S+RW    00000020 00000034\nS+D     00000020 00000005\nS+C     00000020 00000041\n"
         "S+B     00000020 000000FF\nS=S     00000003 00000020\n"},
        {"L1 = #I @7 + #C @X + STR3 + word + 12;",
         "S=0     00000020\nR=@D    000000FF 00000007\nS+RI    00000020 000000FF\nR=@R    000000FF 00000034\n"
         "S+RC    00000020 000000FF\nS+S     00000020 00000003\nS+L     00000020 STR0\nS+L     00000020 STR1\n"
         "L=S     00000000 00000020\n"},
        {"L1 = #D X;", "S=0     00000020\nS+RD    00000020 00000034\nL=S     00000000 00000020\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Joined(BodyCode(c.source)), c.code) << c.source;
}

TEST(CalcCompilerStatements, ProceduresAndEntries)
{
    const TCompiled c = Compile(Head + "SUB1{ X = 1; }\r\nONAPPLY{ SUB1; SUB1; }\r\n");
    ASSERT_TRUE(c.ok) << c.error;
    EXPECT_EQ(Joined(c.Code()), "PROC_SUB1:\nR=B     00000034 00000001\nRET     \nPROC_ONAPPLY:\n"
                                "CALL    PROC_SUB1\nCALL    PROC_SUB1\nRET     \n");
    const TCalcImage& im = *c.image;
    // No ONSHOW or ONCHANGE: their entries stay 0xFFFF.
    EXPECT_EQ(im[0] | im[1] << 8, 0xFFFF);
    EXPECT_EQ(im[4] | im[5] << 8, 0xFFFF);
    const int apply = im[2] | im[3] << 8;
    // PROC_ONAPPLY: two CALLs to SUB1, whose code is right after the records.
    EXPECT_EQ(im[apply], static_cast<uint8_t>(TCalcOp::Call));
    const int sub = im[apply + 1] | im[apply + 2] << 8;
    EXPECT_EQ(im[sub], static_cast<uint8_t>(TCalcOp::MovB));
    EXPECT_EQ(im[sub - 1], CalcEndOfRecords);
    EXPECT_EQ(c.length, apply + 7);
    EXPECT_EQ(im[apply + 6], static_cast<uint8_t>(TCalcOp::Ret));
}

TEST(CalcCompilerForm, RecordsAreWrittenAsTheImageLayoutGives)
{
    const TCompiled c = Compile("[A\\B]\r\nSIZE(300,0x100);FORM{ GROUP(\"G\",1,2,3,4){ { LABEL(L,\"ab\",0,9); } }"
                                " HEXDIGIT(H,\"h\",5,6,7,4); COMBOBOX(C,\"c\",1,2,3,\"x\",\"yz\"); }");
    ASSERT_TRUE(c.ok) << c.error;
    std::vector<uint8_t> expected = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x2C, 0x01, 0x00, 0x01};
    auto add = [&](std::initializer_list<int> bytes) {
        for (int b : bytes)
            expected.push_back(static_cast<uint8_t>(b));
    };
    add({'G', 'G' ^ 'G', 'G' + 1, 1, 0, 2, 0, 3, 0, 4, 0});
    add({'L', 'a' ^ 'L', 'b' ^ ('L' + 1), 'L' + 2, 0, 0, 9, 0});
    add({'g'});
    add({'H', 'h' ^ 'H', 'H' + 1, 5, 0, 6, 0, 7, 0, 4, 0});
    const int k = 'C' + 1; // key after the text "c"
    add({'C', 'c' ^ 'C', k, 1, 0, 2, 0, 3, 0, 'x' ^ k, '\r' ^ (k + 1), 'y' ^ (k + 1), 'z' ^ (k + 2), k + 3});
    add({0xFF, static_cast<int>(TCalcOp::Ret)});
    ASSERT_EQ(c.length, static_cast<int>(expected.size() - 1)) << "no code but the records";
    EXPECT_EQ(std::vector<uint8_t>(c.image->begin(), c.image->begin() + c.length),
              std::vector<uint8_t>(expected.begin(), expected.end() - 1));
}

TEST(CalcCompilerForm, ItemListsDecodeBack)
{
    const TCompiled c = Compile("[A]\r\nSIZE(100,100);FORM{ COMBOBOX(C,\"Mode\",1,2,3,\"one\",\"two\",\"three\"); }");
    ASSERT_TRUE(c.ok) << c.error;
    uint8_t key = 'C';
    size_t pos = CalcRecordsOffset + 1;
    std::string text;
    ASSERT_TRUE(DecodeCalcText(c.image->data(), c.image->size(), key, text, pos));
    EXPECT_EQ(text, "Mode");
    pos += 6;
    ASSERT_TRUE(DecodeCalcText(c.image->data(), c.image->size(), key, text, pos, true));
    EXPECT_EQ(text, "one\rtwo\rthree");
    EXPECT_EQ((*c.image)[pos], CalcEndOfRecords);
}

TEST(CalcCompilerForm, DescriptionLinesAreTextAndLineEndsOfEitherSystemCount)
{
    const TCompiled c = Compile("[A\\Size \"demo]\n! size ( \" of the window\n!SIZE\nSIZE(100,100);FORM{}\n"
                                "ONSHOW{ X = 1; }");
    EXPECT_EQ(c.error, "Строка 5: Недопустимое выражение: \"X\"");
    EXPECT_EQ(CalcTitleOf("[Memory\\Serial\\Checksum]\r\nSIZE", "f.cal"), "Checksum");
    EXPECT_EQ(CalcTitleOf("[]\r\n", "dir/f.cal"), "f.cal");
}

TEST(CalcCompilerMessages, EveryMessageWithItsLine)
{
    const std::string form = "[A]\r\nSIZE(100,100);\r\nFORM{ LABEL(L1,\"x\",0,5); DIGIT(D1,\"d\",60,30,50); }\r\n";
    std::string many = form + "VAR V0";
    for (int i = 1; i < 75; ++i)
        many += ",V" + std::to_string(i);
    std::string complex = form + "VAR X; ONSHOW{ X = 1";
    for (int i = 0; i < 127; ++i)
        complex += "+ (X";
    for (int i = 0; i < 127; ++i)
        complex += "+ 1)";
    std::string controls = "[A]\r\nSIZE(100,100);FORM{";
    for (int i = 0; i <= 256; ++i)
        controls += "CHECKBOX(B" + std::to_string(i) + ",\"b\",1,1);";
    const struct {
        std::string source;
        const char* error;
    } cases[] = {
        {"[A]\r\n! only a description\r\n", "Не задан размер окна !!!"},
        {"[A]\r\nSIZE(100;", "Строка 2: Неверно задан размер окна."},
        {"[A]\r\nSIZE(100,x);", "Строка 2: Неверно задан размер окна."},
        {"[A]\r\nSIZE(100,100)\r\nFORM", "Строка 3: Неверно задан размер окна."},
        {"[A]\r\nSIZE(100,100);\r\nLABEL", "Не найдено описание формы !!!"},
        {"[A]\r\nSIZE(100,100);\r\nFORM LABEL", "Строка 3: Пропущена фигурная скобка."},
        {"[A]\r\nSIZE(100,100);\r\nFORM{\r\nONSHOW{}", "Строка 4: Пропущена закрывающая фигурная скобка формы."},
        {"[A]\r\nSIZE(100,100);\r\nFORM{", "Строка 3: Пропущена закрывающая фигурная скобка формы."},
        {"[A]\r\nSIZE(100,100);\r\nFORM{ BUTTON(", "Строка 3: Неизвестный компонент формы: \"BUTTON\""},
        {"[A]\r\nSIZE(100,100);\r\nFORM{ TEXT(", "Строка 3: Компонент TEXT не поддерживается."},
        {"[A]\r\nSIZE(100,100);\r\nFORM{ LABEL L", "Строка 3: Пропущена круглая скобка."},
        {"[A]\r\nSIZE(100,100);\r\nFORM{ LABEL(L \"x\"", "Строка 3: Пропущена запятая."},
        {"[A]\r\nSIZE(100,100);\r\nFORM{ LABEL(L,\"x\",1;", "Строка 3: Пропущена запятая."},
        {"[A]\r\nSIZE(100,100);\r\nFORM{ LABEL(L,\"x\",1,y);", "Строка 3: Неизвестное выражение: \"Y\""},
        {"[A]\r\nSIZE(100,100);\r\nFORM{ LABEL(IF,\"x\",1,1);", "Строка 3: Неизвестное выражение: \"IF\""},
        {"[A]\r\nSIZE(100,100);\r\nFORM{ LABEL(L,\"x\",1,1) }", "Строка 3: Пропущена точка с запятой."},
        {"[A]\r\nSIZE(100,100);\r\nFORM{ LABEL(L,\"x\",1,1,2);", "Строка 3: Пропущена круглая скобка."},
        {"[A]\r\nSIZE(100,100);\r\nFORM{ LABEL(L,\"x\",1,1); CHECKBOX(l,\"y\",1,1);",
         "Строка 3: Повторная переменная: L"},
        {"[A]\r\nSIZE(100,100);\r\nFORM{ COMBOBOX(C,\"x\",1,1,1);", "Строка 3: В списке COMBOBOX нет ни одного элемента."},
        {"[A]\r\nSIZE(100,100);\r\nFORM{ COMBOBOX(C,\"x\",1,1,1,\"a\" \"b\");",
         "Строка 3: Пропущена запятая или круглая скобка"},
        {"[A]\r\nSIZE(100,100);\r\nFORM{ GROUP(\"g\",1,1,1,1) LABEL", "Строка 3: Пропущена фигурная скобка."},
        {controls + "}", "Строка 2: Больше 256 компонентов формы: B256"},
        {form + "ONSHOW{ ELSE { } }", "Строка 4: ELSE без IF"},
        {form + "ONSHOW{ IF (1=1) { } ELSE { } ELSE { } }", "Строка 4: ELSE без IF"},
        {form + "ONSHOW{ BREAK; }", "Строка 4: BREAK без WHILE"},
        {form + "ONSHOW{ 5 = 1; }", "Строка 4: Недопустимое выражение: \"5\""},
        {form + "ONSHOW{ FOR = 1; }", "Строка 4: Недопустимое выражение: \"FOR\""},
        {form + "ONSHOW{ @L1 = 1; }", "Строка 4: Недопустимое выражение: \"L1\""},
        {form + "ONSHOW{ R1 + 1; }", "Строка 4: Пропущен символ равенства"},
        {form + "ONSHOW{ R1 = 1 }", "Строка 4: Пропущена точка с запятой"},
        {form + "ONSHOW{ RETURN }", "Строка 4: Пропущена точка с запятой"},
        {form + "ONSHOW{ IF R1 = 1 { } }", "Строка 4: Пропущена круглая скобка в операторе IF/WHILE"},
        {form + "ONSHOW{ IF (R1 = 1 { } }", "Строка 4: Пропущена круглая скобка в операторе IF/WHILE"},
        {form + "ONSHOW{ IF (R1 = 1) Y }", "Строка 4: Пропущена фигурная скобка."},
        {form + "ONSHOW{ IF (R1 ~ 1) { } }", "Строка 4: Неизвестный знак условия: \"~\""},
        {form + "ONSHOW{ IF (R1 = R2) { } }", "Строка 4: Недопустимый тип выражения: \"R2\""},
        {form + "ONSHOW{ IF (L1.BOLD = 1) { } }", "Строка 4: Недопустимый тип выражения: \"L1.BOLD\""},
        {form + "ONSHOW{ IF (R1", "Строка 4: Неожиданный конец файла"},
        {form + "ONSHOW{ IF ((R1 + 2", "Строка 4: Неожиданный конец файла"},
        {form + "ONSHOW{ R1 = 1;", "Строка 4: Неожиданный конец файла"},
        {form + "IF{ }", "Строка 4: Неверное имя функции: IF"},
        {form + "VAR X; X{ }", "Строка 4: Неверное имя функции: X"},
        {form + "D1{ }", "Строка 4: Неверное имя функции: D1"},
        {form + "P{ }\r\nP{ }", "Строка 5: Повторное имя функции: P"},
        {form + "ONSHOW{ }\r\nONSHOW{ }", "Строка 5: Повторное имя функции: ONSHOW"},
        {form + "P ;", "Строка 4: Неизвестное выражение: P"},
        {form + "ONSHOW{ L1.COLOR = R1 + 1; }", "Строка 4: Недопустимый тип выражения: \"R1\""},
        {form + "ONSHOW{ L1 = #; }", "Строка 4: Пропущен символ форматирования."},
        {form + "ONSHOW{ L1 = #X R1; }", "Строка 4: Неверный символ форматирования: \"X\""},
        {form + "ONSHOW{ L1 = #B L1.BOLD; }", "Строка 4: Недопустимый тип выражения: \"L1.BOLD\""},
        {form + "VAR X; ONSHOW{ L1 = \"a\" + X; }", "Строка 4: Неверное выражение: \"X\""},
        {form + "ONSHOW{ L1 = \"a\" \"b\"; }", "Строка 4: Неверный символ: \"b\""},
        {form + "ONSHOW{ L1 = ; }", "Строка 4: Неверное выражение: \";\""},
        {form + "ONSHOW{ STR35 = \"a\"; }", "Строка 4: Номер строкового регистра больше 34: 35"},
        {form + "ONSHOW{ R256 = 1; }", "Строка 4: Номер регистра больше 255: 256"},
        {form + "VAR ;", "Строка 4: Пропущено имя переменной."},
        {form + "VAR A, A;", "Строка 4: Повторное имя переменной: A"},
        {form + "VAR L1;", "Строка 4: Повторное имя переменной: L1"},
        {form + "VAR WHILE;", "Строка 4: Недопустимое имя переменной: WHILE"},
        {form + "VAR R12;", "Строка 4: Недопустимое имя переменной: R12"},
        {form + "VAR A B;", "Строка 4: Пропущена запятая или точка с запятой в именах переменных"},
        {many + ",V75;", "Строка 4: Слишком много переменных: V75"},
        {form + "ONSHOW{ R1 = R2 + Q; }", "Строка 4: Неизвестное выражение: Q"},
        {form + "ONSHOW{ R1 = R2 + STR1; }", "Строка 4: Неверный тип выражения: STR1"},
        {form + "ONSHOW{ R1 = @D1; }", "Строка 4: Неверный тип выражения: @"},
        {form + "ONSHOW{ R1 = (R2 + 1; }", "Строка 4: Несогласованы скобки."},
        {form + "ONSHOW{ R1 = R2 + 1); }", "Строка 4: Несогласованы скобки."},
        {form + "ONSHOW{ R1 = -1; }", "Строка 4: Ошибка в выражении (возможно несогласованы скобки)"},
        {form + "ONSHOW{ R1 = R2 R3; }", "Строка 4: Ошибка в выражении (возможно несогласованы скобки)"},
        {complex + "; }", "Строка 4: Слишком сложное выражение."},
    };
    for (const auto& c : cases) {
        const TCompiled r = Compile(c.source);
        EXPECT_FALSE(r.ok) << c.source;
        EXPECT_EQ(r.error, c.error) << c.source;
    }
}

TEST(CalcCompilerMessages, LongestLegalExpressionStillCompiles)
{
    // Each operator takes a temporary: 127 of them (255 down to 129) fit.
    std::string src = Head + "ONSHOW{ X = X";
    for (int i = 0; i < 127; ++i)
        src += "+ X";
    EXPECT_TRUE(Compile(src + "; }").ok);
    EXPECT_EQ(Compile(src + "+ X; }").error, "Строка 9: Слишком сложное выражение.");
}

TEST(CalcCompilerFile, CompilesTheFixtureAndWritesTheListing)
{
    testsupport::TempDir dir;
    SetProgramFolder(dir.path());
    TCalcImage& image = CalcImage();
    std::string error;
    int length = 0;
    CompileCalculator(testsupport::FixturePath("calc/checksum.cal"), image, error, length);
    EXPECT_EQ(Cp1251ToUtf8(error), "");
    EXPECT_EQ(CalcTitle, "Checksum");
    EXPECT_GT(length, CalcRecordsOffset);
    const std::string listing = testsupport::ReadFileBytes(dir.file("asource.asm"));
    EXPECT_NE(listing.find("PROC_ONCHANGE:\r\n"), std::string::npos);
    EXPECT_NE(listing.find(";   [Memory\\Checksum]\r\n"), std::string::npos);
    // A failed compilation leaves the image as it was.
    const TCalcImage before = image;
    CompileCalculator(dir.file("missing.cal"), image, error, length);
    EXPECT_EQ(Cp1251ToUtf8(error).rfind("Не удалось прочитать файл калькулятора: ", 0), 0u);
    EXPECT_TRUE(before == image);
}

TEST(CalcCompilerFile, AFailedCompilationReplacesTheListingWithItsOwnUpToTheError)
{
    testsupport::TempDir dir;
    SetProgramFolder(dir.path());
    TCalcImage& image = CalcImage();
    std::string error;
    int length = 0;
    CompileCalculator(testsupport::FixturePath("calc/checksum.cal"), image, error, length);
    ASSERT_EQ(error, "");
    testsupport::WriteFileBytes(dir.file("broken.cal"), "[Tests\\Broken]\r\nSIZE(100,100);\r\nFORM{ }\r\n"
                                                        "VAR X;\r\nONSHOW{ X = 1;\r\n Q = 2;\r\n}\r\nONAPPLY{ }\r\n");
    CompileCalculator(dir.file("broken.cal"), image, error, length);
    EXPECT_EQ(Cp1251ToUtf8(error), "Строка 6: Недопустимое выражение: \"Q\"");
    EXPECT_EQ(testsupport::ReadFileBytes(dir.file("asource.asm")),
              ".db FF FF FF FF FF FF FF FF 64 00 64 00 FF\r\n"
              ";   [Tests\\Broken]\r\n;   SIZE(100,100);\r\n;   FORM{ }\r\n;   VAR X;\r\n"
              ";   ONSHOW{ X = 1;\r\nPROC_ONSHOW:\r\n;+E\r\nR=B     00000034 00000001\r\n;-E\r\n"
              ";    Q = 2;\r\n");
}
