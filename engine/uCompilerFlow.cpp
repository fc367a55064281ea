// Declarations, procedures and control flow of the device script.
#include <algorithm>

#include "engine/uCompiler.h"
#include "platform/SysUtils.h"

void TCompiler::ParseTopLevel()
{
    for (;;) {
        const std::string token = NextToken();
        if (token.empty() || token[0] == '[')
            return;
        if (token == "//")
            SkipRestOfLine();
        else if (token == "VAR")
            ParseVar();
        else if (token == "EREG")
            ParseERegister();
        else if (token == "AREG")
            ParseARegister();
        else if (token == "DEFINE")
            ParseDefine();
        else if (token == "PROC")
            ParseProc();
        else
            Error("Procedure or variable expected, but expression \"" + token + "\" was found.");
    }
}

void TCompiler::ParseVar()
{
    for (;;) {
        const std::string name = Expect();
        if (IsReservedSymbol(name[0]))
            Error("Name of variable expected, but  \"" + name + "\" found.");
        if (IsReservedWord(name))
            Error("Reserved word \"" + name + "\" can not be used as name of variable.");
        if (NameIndex(name) >= 0)
            Error("Duplicate variable or definition  \"" + name + "\" found.");
        // R28 stays free; R29 and R30 are the BDM statements' scratch registers.
        if (NextRegister >= 28)
            Error("Too many variables.");
        AddName(name, "R" + IntToStr(NextRegister));
        ++NextRegister;
        const std::string separator = Expect();
        if (separator == ";")
            return;
        if (separator != ",")
            Error("Comma or semicolon are expected, but expression \"" + separator + "\" was found.");
    }
}

void TCompiler::CheckPortName(const std::string& name)
{
    if (IsReservedSymbol(name[0]))
        Error("Name of port expected, but  \"" + name + "\" found.");
    if (IsReservedWord(name))
        Error("Reserved word \"" + name + "\" can not be used as name of port.");
    if (NameIndex(name) >= 0)
        Error("Duplicate port,variable or definition  \"" + name + "\" found.");
}

int32_t TCompiler::ExpectConstant(const std::string& token)
{
    const TOperand o = ClassifyOperand(token);
    if (o.Kind == TOperandKind::None)
        Error("Unknown expression \"" + token + "\".");
    if (o.Kind != TOperandKind::Constant)
        Error("Type of expression \"" + token + "\" is inadmissible.");
    return o.Value;
}

// Messages end in "was found." or, for some tokens, in "found." alone.
void TCompiler::ExpectToken(const char* token, const char* expected, bool wasFound)
{
    const std::string t = Expect();
    if (t != token)
        Error(std::string(expected) + ", but expression \"" + t + (wasFound ? "\" was found." : "\" found."));
}

void TCompiler::ExpectComma() { ExpectToken(",", "Comma expected", false); }

void TCompiler::ExpectSemicolon() { ExpectToken(";", "Semicolon is expected"); }

void TCompiler::ExpectBrace() { ExpectToken("{", "Brace is expected"); }

void TCompiler::ParseERegister()
{
    const std::string name = Expect();
    CheckPortName(name);
    ExpectComma();
    const uint32_t pin = static_cast<uint32_t>(ExpectConstant(Expect()));
    if (pin > 5)
        Error("Pin number too big.");
    ExpectComma();
    const uint32_t bit = static_cast<uint32_t>(ExpectConstant(Expect()));
    if (bit > 1)
        Error("Bit value should be \"0\" or \"1\" only.");
    AddName(name, "EREG" + IntToStr((1u << pin) | (bit << 7)));
}

void TCompiler::ParseARegister()
{
    const std::string name = Expect();
    CheckPortName(name);
    ExpectComma();
    const uint32_t number = static_cast<uint32_t>(ExpectConstant(Expect()));
    if (number >= 8)
        Error("AREG address too big (should be less than 8).");
    AddName(name, "AREG" + IntToStr(number));
}

void TCompiler::ParseDefine()
{
    const std::string name = Expect();
    if (IsReservedWord(name))
        Error("Reserved word \"" + name + "\" can not be used in directive DEFINE.");
    if (NameIndex(name) >= 0)
        Error("Redefine expression \"" + name + "\".");
    const std::string value = Expect();
    if (IsReservedWord(value))
        Error("Reserved word \"" + value + "\" can not be used in directive DEFINE.");
    AddName(name, value);
}

void TCompiler::ParseProc()
{
    const std::string name = Expect();
    if (IsReservedSymbol(name[0]))
        Error("Procedure name missing.");
    if (IsReservedWord(name))
        Error("Reserved word \"" + name + "\" cannot be by name of procedure");
    if (VariableRegister(name) >= 0)
        Error("The expression \"" + name + "\" already use as variable name.");
    // Two bodies of one name would be two labels of one name.
    if (compiled_.count(name))
        Error("Procedure \"" + name + "\" redeclared.");
    if (!IsProcedure(name)) {
        // "PROC" not first on its line escapes the prescan; still a procedure.
        AddProcedure(name);
    }
    compiled_.insert(name);
    Label("proc" + name);
    procName_ = name;
    labelCounter_ = 0;
    Blocks.Add("SUB");
    ExpectBrace();

    inBody_ = true;
    for (;;) {
        const std::string token = Expect();
        if (token == "//") {
            SkipRestOfLine();
        } else if (token == "ELSE") {
            ParseElse();
        } else if (token == "}") {
            bool ended = false;
            CloseBlock(ended);
            if (ended)
                break;
        } else {
            // Only the "}" of an IF block may be followed by ELSE.
            ElseAllowed = false;
            ParseStatement(token);
        }
    }
    inBody_ = false;
}

void TCompiler::CloseBlock(bool& procedureEnded)
{
    const std::string top = Blocks[Blocks.Count() - 1];
    ElseAllowed = false;
    if (top == "SUB") {
        // The entry stays: Blocks keeps one "SUB" per procedure compiled.
        Instr("RET");
        AddAsm("");
        procedureEnded = true;
        return;
    }
    if (top.compare(0, 5, "WHILE") == 0)
        Instr("JMP", top);
    Label(top + "END");
    if (top.compare(0, 2, "IF") == 0) {
        lastIfEnd_ = AsmText.Count() - 1;
        ElseAllowed = true;
    }
    Blocks.Delete(Blocks.Count() - 1);
}

void TCompiler::ParseElse()
{
    if (!ElseAllowed)
        Error("ELSE without IF.");
    ElseAllowed = false;
    const std::string top = "ELSE" + IntToStr(ElseCount++);
    // The IF block ends by jumping over the ELSE block.
    AsmText.Insert(lastIfEnd_, "\t\tJMP\t" + top + "END");
    asmOrigin_.insert(asmOrigin_.begin() + lastIfEnd_, LineIndex);
    ExpectBrace();
    Blocks.Add(top);
}

void TCompiler::ParseBreak()
{
    std::string loop;
    for (int i = Blocks.Count() - 1; i >= 0 && Blocks[i] != "SUB"; --i) {
        if (Blocks[i].compare(0, 5, "WHILE") == 0) {
            loop = Blocks[i];
            break;
        }
    }
    if (loop.empty())
        Error("BREAK without WHILE.");
    ExpectToken(";", "Semocolon is expected");
    Instr("JMP", loop + "END");
}

void TCompiler::ParseWhile()
{
    const std::string token = Expect();
    if (token != "{" && token != "(")
        Error("Opened round bracket or brace are expected, but expressiob \"" + token + "\" was found.");
    const std::string top = "WHILE" + IntToStr(WhileCount++);
    Blocks.Add(top);
    Label(top);
    if (token == "(")
        ParseCondition(true, top);
}

void TCompiler::ParseIf()
{
    const std::string token = Expect();
    if (token != "(")
        Error("Opened bracket expected, but expression \"" + token + "\" was found.");
    const std::string top = "IF" + IntToStr(IfCount++);
    Blocks.Add(top);
    ParseCondition(false, top);
}

void TCompiler::BitTest(const TBitReference& ref, const std::string& text)
{
    if (ref.Name == "PIN" || ref.Name == "POUT") {
        if (ref.Bit > 7)
            Error("Number of bit too big.");
        Instr("TSTIOBIT", ref.Name + "," + IntToStr(1 << ref.Bit));
    } else if (RegisterNumber(ref.Name) >= 0) {
        if (ref.Bit > 15)
            Error("Number of bit too big.");
        Instr("TSTBIT", ref.Name + "," + IntToStr(ref.Bit));
    } else {
        Error("Unknown expression \"" + text + "\".");
    }
}

void TCompiler::ParseCondition(bool isWhile, const std::string& top)
{
    const std::string end = top + "END";
    const std::string x = Expect();
    const int named = NameIndex(x);
    const std::string resolved = named >= 0 ? Names[named + 1] : x;

    if (resolved.find('.') != std::string::npos) {
        TBitReference ref;
        if (!ParseBitReference(x, ref))
            Error("Unknown expression \"" + x + "\".");
        BitTest(ref, x);
        const std::string op = Expect();
        if (isWhile && op != "=")
            Error("Condition operator expected, but expression \"" + op + "\" was found.");
        if (!isWhile && op != "=" && op != "<>")
            Error("Bin comparison must be \"=\" or \"!=\" only.");
        const std::string value = Expect();
        const TOperand v = ClassifyOperand(value);
        if (v.Kind != TOperandKind::Constant || (v.Value != 0 && v.Value != 1)) {
            if (isWhile)
                Error("Bit value (0 or 1) expected, but expression \"" + value + "\" was found.");
            Error("Type of expression \"" + value + "\" is inadmissible.");
        }
        // The body runs while the bit has the value: leave when it has not.
        Instr((v.Value == 1) == (op == "=") ? "JZ" : "JNZ", end);
    } else {
        const TOperand xo = ClassifyOperand(x);
        if (xo.Kind != TOperandKind::Register)
            Error(isWhile ? "Unknown expression \"" + x + "\"." : "Type of expression \"" + x + "\" is inadmissible.");
        const std::string op = Expect();
        if (op != ">" && op != "<" && op != "=" && op != "<>")
            Error("Condition operator expected, but expression \"" + op + "\" was found.");
        const std::string y = Expect();
        const TOperand yo = ClassifyOperand(y);
        if (!isWhile && yo.Kind == TOperandKind::None)
            Error("Unknown expression \"" + y + "\".");
        if (yo.Kind != TOperandKind::Register && yo.Kind != TOperandKind::Constant)
            Error("Type of expression \"" + y + "\" is inadmissible.");
        Instr(yo.Kind == TOperandKind::Constant ? "CMPI" : "CMP", xo.Text + "," + yo.Text);
        // Strict comparisons leave on equality too.
        if (op == ">") {
            Instr("JL", end);
            Instr("JZ", end);
        } else if (op == "<") {
            Instr("JG", end);
            Instr("JZ", end);
        } else {
            Instr(op == "=" ? "JNZ" : "JZ", end);
        }
    }

    ExpectToken(")", "Round bracket is expected");
    ExpectBrace();
}
