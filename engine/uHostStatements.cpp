#include "engine/uHostParser.h"
#include "platform/Cp1251.h"
#include "platform/SysUtils.h"

void THostParser::ParseBody()
{
    for (;;) {
        const std::string t = NextToken();
        if (t.empty())
            Fail("Unexpected end of file. The closed brace is possible lost");
        if (t == "//") {
            SkipLine();
            continue;
        }
        const bool elseAllowed = elseAllowed_;
        elseAllowed_ = false;
        if (t == "}") {
            if (CloseBlock())
                return;
        } else if (t == "ELSE") {
            if (!elseAllowed)
                Fail("ELSE without IF.");
            ParseElse();
        } else if (t == "VAR") {
            ParseVar();
        } else if (t == "BEGINBLOCK" || t == "ENDBLOCK") {
            ExpectSemicolon();
            Emit(t == "BEGINBLOCK" ? "BBLK" : "EBLK");
        } else if (t == "RETURN") {
            ParseReturn();
        } else if (t == "WHILE") {
            ParseWhile();
        } else if (t == "BREAK") {
            ParseBreak();
        } else if (t == "IF") {
            ParseIf();
        } else if (t == "RUN") {
            ParseRun();
        } else if (t == "PRINT") {
            ParsePrint();
        } else if (t == "SETUPUART") {
            ParseSetupUart();
        } else if (t == "DELAY") {
            ParseDelay();
        } else if (t == "FINDSIGNATURE") {
            LoadArgumentOf();
            ExpectSemicolon();
            Emit("FSIG");
        } else if (t == "CLOSE") {
            LoadArgumentOf();
            ExpectSemicolon();
            Emit("CLOS");
            Emit("RETT");
        } else if (IsHostDelimiter(t[0])) {
            Fail("Use of reserved symbol \"" + t + "\" is inadmissible.");
        } else {
            const TOperand o = Classify(t);
            if (o.Kind == TOperandKind::Procedure) {
                ParseCall(o.Name);
                ExpectSemicolon();
            } else if (o.Kind == TOperandKind::None) {
                Fail("Unknown expression \"" + t + "\".");
            } else {
                ParseTarget(t, o);
            }
        }
    }
}

// Closes the innermost block; true when it was the procedure body.
bool THostParser::CloseBlock()
{
    TStringList& blocks = host_.BlockStack;
    const std::string block = blocks[blocks.Count() - 1];
    blocks.Delete(blocks.Count() - 1);
    if (block.rfind("WHILE", 0) == 0) {
        EmitJump("JMPP", block);
        EmitLabel(block + "END");
    } else if (block.rfind("IF", 0) == 0) {
        lastIfEnd_ = host_.AsmText.Count();
        EmitLabel(block + "END");
        elseAllowed_ = true;
    } else if (block.rfind("ELSE", 0) == 0) {
        EmitLabel(block + "END");
    } else {
        Emit("LDIA", 0);
        Emit("RETT");
        host_.AsmText.Add("");
        host_.VarNames.Truncate(host_.GlobalVarCount);
        return true;
    }
    return false;
}

void THostParser::ParseVar()
{
    for (;;) {
        const std::string name = Next();
        CheckNewVariableName(name, "duplicate variable \"");
        const int number = NewVariable();
        host_.VarNames.Add(name, number);
        host_.AsmText.Add(";     R" + IntToStr(number) + " = " + name);
        const std::string t = Next();
        if (t == ";")
            return;
        if (t != ",")
            Fail("Semicolon or comma expected, but expression \"" + t + "\" was found.");
    }
}

void THostParser::ParseReturn()
{
    const std::string t = Next();
    if (t == ";") {
        Emit("LDIA", 0);
        Emit("RETT");
        return;
    }
    if (t != "(")
        Fail("Opened round bracket or semicolon is expected, but expression \"" + t + "\" was found.");
    const std::string x = Next();
    const TOperand o = Classify(x);
    if (o.Kind != TOperandKind::Constant && o.Kind != TOperandKind::Variable)
        Fail("\"" + x + "\" cannot be used here.");
    Expect(")", "Closed round bracket is expected, but expression \"", "\" was found.");
    ExpectSemicolon();
    EmitLoad(x, o);
    Emit("RETT");
}

void THostParser::ParseWhile()
{
    const std::string label = "WHILE" + IntToStr(host_.WhileCount++);
    const std::string t = Next();
    if (t != "(" && t != "{")
        Fail("Opened round bracket or brace are expected, but expressiob \"" + t + "\" was found.");
    EmitLabel(label);
    if (t == "(")
        ParseCondition(false, label + "END");
    host_.BlockStack.Add(label);
}

void THostParser::ParseBreak()
{
    Expect(";", "Semocolon is expected, but expression \"", "\" was found.");
    const TStringList& blocks = host_.BlockStack;
    for (int i = blocks.Count() - 1; i >= 0; --i)
        if (blocks[i].rfind("WHILE", 0) == 0) {
            EmitJump("JMPP", blocks[i] + "END");
            return;
        }
    Fail("BREAK without WHILE.");
}

void THostParser::ParseIf()
{
    const std::string label = "IF" + IntToStr(host_.IfCount++);
    Expect("(", "Opened bracket expected, but expression \"", "\" was found.");
    ParseCondition(true, label + "END");
    host_.BlockStack.Add(label);
}

void THostParser::ParseElse()
{
    Expect("{", "Brace is expected, but expression \"", "\" was found.");
    const std::string label = "ELSE" + IntToStr(host_.ElseCount++);
    CountInstruction();
    host_.AsmText.Insert(lastIfEnd_, "JMPP " + label + "END");
    host_.BlockStack.Add(label);
}

// "(" has been read; writes the test that jumps to endLabel when the
// condition is false, then reads ")" and "{".
void THostParser::ParseCondition(bool isIf, const std::string& endLabel)
{
    const std::string x = Next();
    const TOperand ox = Classify(x);
    if (ox.Kind == TOperandKind::Variable) {
        const std::string op = Next();
        if (op != ">" && op != "<" && op != "=" && op != "<>") {
            if (isIf)
                Fail("Unknown expression \"" + op + "\".");
            Fail("Condition operator expected, but expression \"" + op + "\" was found.");
        }
        const std::string y = Next();
        const TOperand oy = Classify(y);
        if (oy.Kind != TOperandKind::Variable && oy.Kind != TOperandKind::Constant)
            Fail("Type of expression \"" + y + "\" is inadmissible.");
        Emit("MOVA", ox.Value);
        Emit(oy.Kind == TOperandKind::Variable ? "CMPR" : "CMPI", oy.Value);
        const char* jump = op == ">" ? "JPZL" : op == "<" ? "JPZG" : op == "=" ? "JPNZ" : "JMPZ";
        EmitJump(jump, endLabel);
    } else if (ox.Kind == TOperandKind::Bit) {
        const std::string op = Next();
        if (op != "=" && !(isIf && op == "<>")) {
            if (isIf)
                Fail("Bin comparison must be \"=\" or \"!=\" only.");
            Fail("Condition operator expected, but expression \"" + op + "\" was found.");
        }
        const std::string v = Next();
        const TOperand ov = Classify(v);
        if (ov.Kind != TOperandKind::Constant || ov.Value > 1) {
            if (isIf)
                Fail("Type of expression \"" + v + "\" is inadmissible.");
            Fail("Bit value (0 or 1) expected, but expression \"" + v + "\" was found.");
        }
        const bool mustBeOne = (ov.Value == 1) != (op == "<>");
        Emit("MOVA", ox.Value);
        Emit("ANDI", 1u << ox.Bit);
        EmitJump(mustBeOne ? "JMPZ" : "JPNZ", endLabel);
    } else if (isIf) {
        Fail("Type of expression \"" + x + "\" is inadmissible.");
    } else {
        Fail("Unknown expression \"" + x + "\".");
    }
    ExpectRoundBracket(")");
    Expect("{", "Brace is expected, but expression \"", "\" was found.");
}

void THostParser::ParseRun()
{
    Expect("(", "Brace is expected, but expression \"", "\" was found.");
    const std::string name = Next();
    if (IsHostDelimiter(name[0]))
        Fail("Unknown expression \"" + name + "\".");
    const int k = host_.RunNames.Add(AnsiUpperCase(name));
    Expect(")", "Brace is expected, but expression \"", "\" was found.");
    ExpectSemicolon();
    Emit("DRUN", static_cast<uint32_t>(k));
    host_.UsesDevice = true;
}

void THostParser::ParsePrint()
{
    Expect("(", "Round bracket is expected, but expression \"", "\" found.");
    const std::string text = Next();
    if (text.size() < 2 || text.front() != '"' || text.back() != '"')
        Fail("Text string is missing in \"PRINT\"");
    TStringList& records = host_.PrintRecords;
    const int k = records.Add(text);
    for (;;) {
        const std::string t = Next();
        if (t == ")") {
            records.Add("");
            break;
        }
        if (t != ",") {
            static const std::string message = Utf8ToCp1251(
                ": Ожидается запятая или закрывающая скобка, а найдено выражение \"");
            static const std::string word = Utf8ToCp1251("Строка");
            FailRaw(word + " " + IntToStr(tokenLine_) + message + t + "\".");
        }
        const std::string a = Next();
        if (a == ")")
            Fail("Unexpected closed round bracket \")\".");
        const TOperand o = Classify(a);
        // Constants go in as decimal text, the form the print callback reads.
        if (o.Kind == TOperandKind::Variable)
            records.Add("R" + IntToStr(o.Value));
        else if (o.Kind == TOperandKind::Constant)
            records.Add(IntToStr(o.Value));
        else
            Fail("Unknown expression \"" + a + "\".");
    }
    ExpectSemicolon();
    Emit("PRIN", static_cast<uint32_t>(k));
}

void THostParser::ParseSetupUart()
{
    if (Next() != "(")
        Fail("Parameters missing in function SETUPUART.");
    static const int64_t kLow[4] = {0, 4, 0, 0};
    static const int64_t kHigh[4] = {0xFFFFF, 8, 4, 2};
    static const int kShift[4] = {12, 8, 4, 0};
    uint32_t word = 0;
    for (int i = 0; i < 4; ++i) {
        const auto v = TryStrToInt(Next());
        if (!v || *v < kLow[i] || *v > kHigh[i])
            Fail("Parameters error in function SETUPUART.");
        word |= static_cast<uint32_t>(*v) << kShift[i];
        if (i < 3) {
            const std::string c = Next();
            if (c != ",")
                Fail("Comma expected, but expression " + c + " found.");
        }
    }
    ExpectRoundBracket(")");
    ExpectSemicolon();
    Emit("STUA", word);
}

void THostParser::ParseDelay()
{
    ExpectRoundBracket("(");
    const std::string x = Next();
    const TOperand o = Classify(x);
    if (o.Kind == TOperandKind::None)
        Fail("Unknown expression \"" + x + "\" was found.");
    if (o.Kind != TOperandKind::Constant && o.Kind != TOperandKind::Variable)
        Fail("\"" + x + "\" can not be used there.");
    ExpectRoundBracket(")");
    ExpectSemicolon();
    Emit(o.Kind == TOperandKind::Constant ? "DELI" : "DELR", o.Value);
}

// "(x)" of FINDSIGNATURE and CLOSE, loaded into A. One token that is no
// operand at all is passed over; the token after it must be the argument.
void THostParser::LoadArgumentOf()
{
    ExpectRoundBracket("(");
    std::string x = Next();
    TOperand o = Classify(x);
    if (o.Kind == TOperandKind::None) {
        x = Next();
        o = Classify(x);
    }
    if (o.Kind != TOperandKind::Constant && o.Kind != TOperandKind::Variable)
        Fail("\"" + x + "\" can not be used there.");
    ExpectRoundBracket(")");
    EmitLoad(x, o);
}

void THostParser::ParseCall(const std::string& name)
{
    Expect("(", "Opened round bracket is expected, but expression \"", "\" was found.");
    std::string t = Next();
    if (t != ")") {
        for (int i = 0;; ++i) {
            const TOperand o = Classify(t);
            if (o.Kind == TOperandKind::None)
                Fail("Unknown expression \"" + t + "\".");
            if (o.Kind != TOperandKind::Constant && o.Kind != TOperandKind::Variable)
                Fail("\"" + t + "\" cannot be used here.");
            if (i >= THost::MaxArguments)
                Fail("Too many arguments: at most " + IntToStr(THost::MaxArguments) + " are possible.");
            EmitLoad(t, o);
            Emit("MOVR", static_cast<uint32_t>(THost::ArgumentBase + i));
            t = Next();
            if (t == ")")
                break;
            if (t != ",")
                Fail("Comma or round bracket expected, but \"" + t + "\" is found.");
            t = Next();
        }
    }
    EmitJump("CALL", "PROC" + name);
}
