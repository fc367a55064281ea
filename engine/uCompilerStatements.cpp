// Statements of the device script that move values between registers, the
// data buffer, the ports, the bus, the E port, E and A registers and BDM.
#include "engine/AsmTypes.h"
#include "engine/uCompiler.h"
#include "platform/SysUtils.h"

namespace {

std::string Addr(int reg) { return IntToStr(RegisterAddress(reg)); }

std::string Inadmissible(const std::string& token)
{
    return "Type of operand \"" + token + "\" is inadmissible, or unknown expression.";
}

std::string Mask(int bit) { return "$" + IntToHex(1u << bit, 4); }
std::string InvMask(int bit) { return "$" + IntToHex((1u << bit) ^ 0xFFFFu, 4); }

} // namespace

TCompiler::TOperand TCompiler::ValueOperand(const std::string& token, const std::string& wrongKind)
{
    const TOperand o = ClassifyOperand(token);
    if (o.Kind == TOperandKind::None)
        Error("Unknown expression \"" + token + "\".");
    if (o.Kind == TOperandKind::Procedure)
        Error("Incorrect use of a call of a procedure");
    if (o.Kind != TOperandKind::Register && o.Kind != TOperandKind::Constant)
        Error(wrongKind);
    return o;
}

TCompiler::TOperand TCompiler::RegisterOperand(const std::string& token)
{
    const TOperand o = ValueOperand(token, Inadmissible(token));
    if (o.Kind != TOperandKind::Register)
        Error(Inadmissible(token));
    return o;
}

int32_t TCompiler::ConstantArgument(const std::string& token, const std::string& wrongKind)
{
    const TOperand o = ClassifyOperand(token);
    if (o.Kind == TOperandKind::None)
        Error("Unknown expression \"" + token + "\".");
    if (o.Kind != TOperandKind::Constant)
        Error(wrongKind);
    return o.Value;
}

void TCompiler::ParseStatement(const std::string& token)
{
    if (token == "WHILE")
        return ParseWhile();
    if (token == "IF")
        return ParseIf();
    if (token == "BREAK")
        return ParseBreak();
    if (token == "RETURN") {
        ExpectSemicolon();
        return Instr("RET");
    }
    if (token == "DELAY")
        return ParseDelay();
    if (token == "BUSDELAY")
        return ParseLoadAndSend("BUSDELAY", "", false, true);
    if (token == "USB")
        return ParseLoadAndSend("USBOUT", "", true, false);
    if (token == "HPULSE" || token == "LPULSE" || token == "EHPULSE" || token == "ELPULSE")
        return ParsePulse(token);
    if (token == "EOUT" || token == "EIN")
        return ParseEPortBit(token == "EIN");
    if (token == "BDMOP")
        return ParseBdmOp();
    if (token == "BDMWR" || token == "BDMRD")
        return ParseBdmTransfer(token == "BDMRD");

    const TOperand o = ClassifyOperand(token);
    if (o.Kind == TOperandKind::Procedure) {
        ExpectSemicolon();
        return Instr("CALL", "proc" + o.Text);
    }
    if (token == "BUSINIT")
        return ParseBusInit();
    if (token == "BUSDATA")
        return ParseLoadAndSend("BUSOUT", "", true, false);
    if (IsReservedSymbol(token[0]))
        Error("Use of reserved symbol \"" + token + "\" is inadmissible.");
    if (o.Kind == TOperandKind::ERegister || o.Kind == TOperandKind::ARegister)
        return ParsePortRegisterWrite(o);
    if (const int reg = VariableRegister(token); reg >= 0)
        return ParseAssignment(reg);
    if (o.Text.find('.') != std::string::npos)
        return ParseBitStatement(token);
    if (token == "POUT")
        return ParseLoadAndSend("OUT", "POUT,", true, false);
    if (token == "EP")
        return ParseLoadAndSend("WEXP", "", true, true);
    if (token[0] == '@')
        return ParseBufferWrite(token);
    Error("Unknown expression \"" + token + "\".");
}

void TCompiler::ParseAssignment(int reg)
{
    const std::string x = "R" + IntToStr(reg);
    const std::string op = Expect();
    if (op == "++" || op == "--") {
        Instr(op == "++" ? "INC" : "DEC", Addr(reg));
        return ExpectSemicolon();
    }
    if (op != "=")
        Error("Unknown expresiion \"" + op + "\".");

    const std::string token = Expect();
    if (token[0] == '@') {
        const TOperand y = BufferIndex(token);
        Instr("RDB", Addr(reg) + "," + Addr(y.Value));
        return ExpectSemicolon();
    }
    if (token == "USB" || token == "BUSDATA") {
        Instr(token == "USB" ? "USBIN" : "BUSIN", x);
        return ExpectSemicolon();
    }
    if (token == "PIN") {
        Instr("IN", "PIN," + x);
        return ExpectSemicolon();
    }
    const TOperand y = ClassifyOperand(token);
    if (y.Kind == TOperandKind::ERegister || y.Kind == TOperandKind::ARegister) {
        Instr(y.Kind == TOperandKind::ERegister ? "EIN" : "AIN", y.Text + "," + Addr(reg));
        return ExpectSemicolon();
    }
    ValueOperand(token, Inadmissible(token));
    ParseOperator(reg, y);
}

// x = y, then at most one operator. The load of y into x waits until the
// operator is known: loading first would overwrite x where it is the
// operator's own operand (x = y - x).
void TCompiler::ParseOperator(int reg, const TOperand& y)
{
    const std::string x = "R" + IntToStr(reg);
    const bool yIsX = y.Kind == TOperandKind::Register && y.Value == reg;
    auto load = [&](const std::string& target) {
        if (y.Kind == TOperandKind::Constant)
            Instr("LDI", target + "," + y.Text);
        else if (!(y.Kind == TOperandKind::Register && target == "R" + IntToStr(y.Value)))
            Instr("MOV", target + "," + y.Text);
    };
    const std::string op = Expect();
    if (op == ";")
        return load(x);
    static const struct {
        const char* Symbol;
        const char* ByRegister;
        const char* ByConstant;
    } kOperators[] = {
        {"+", "ADD", "ADDI"}, {"-", "SUB", "SUBI"}, {"&", "AND", "ANDI"}, {"|", "OR", "ORI"}, {"^", "XOR", "XORI"},
    };
    for (const auto& entry : kOperators) {
        if (op == entry.Symbol) {
            const std::string token = Expect();
            const TOperand z = ValueOperand(token, Inadmissible(token));
            const bool zIsX = z.Kind == TOperandKind::Register && z.Value == reg;
            if (zIsX && !yIsX) {
                if (op != "-") {
                    // x = y op x is x op y for these operators.
                    Instr(y.Kind == TOperandKind::Register ? entry.ByRegister : entry.ByConstant, x + "," + y.Text);
                } else {
                    load("R0");
                    Instr("SUB", "R0," + x);
                    Instr("MOV", x + ",R0");
                }
                return ExpectSemicolon();
            }
            load(x);
            Instr(z.Kind == TOperandKind::Register ? entry.ByRegister : entry.ByConstant, x + "," + z.Text);
            return ExpectSemicolon();
        }
    }
    if (op != "<<" && op != ">>")
        Error("Semicolon or operator are expected, but expression \"" + op + "\" was found.");
    const std::string token = Expect();
    // A register as shift count has no instruction: only constants shift.
    const int32_t count = ConstantArgument(token, Inadmissible(token));
    if (count < 0 || count > 15)
        Error("Bit index must be from 0 to 15.");
    const bool left = op == "<<";
    load(x);
    if (count == 1)
        Instr(left ? "RL1" : "RR1", Addr(reg));
    else
        Instr(left ? "RL" : "RR", x + "," + ClassifyOperand(token).Text);
    ExpectSemicolon();
}

// The register after "@", written with or without a space.
TCompiler::TOperand TCompiler::BufferIndex(const std::string& token)
{
    const std::string index = token.size() > 1 ? token.substr(1) : NextToken();
    if (index.empty() || IsReservedSymbol(index[0]))
        Error("Buffer index missed.");
    return RegisterOperand(index);
}

void TCompiler::ParseBufferWrite(const std::string& token)
{
    const TOperand x = BufferIndex(token);
    if (Expect() != "=")
        Error("\"=\" missed.");
    const TOperand y = RegisterOperand(Expect());
    Instr("WRB", Addr(y.Value) + "," + Addr(x.Value));
    ExpectSemicolon();
}

TCompiler::TBitDestination TCompiler::ParseBitDestination(const std::string& token)
{
    TBitDestination dst;
    if (!ParseBitReference(token, dst.Ref))
        Error("Unknown expression \"" + token + "\".");
    if (dst.Ref.Name == "PIN")
        Error("\"PIN\" is read only.");
    int maxBit = 15;
    if (dst.Ref.Name == "POUT") {
        dst.Target = TBitTarget::Pout;
        maxBit = 7;
    } else if (dst.Ref.Name == "EP") {
        dst.Target = TBitTarget::Ep;
        maxBit = 5;
    } else if (RegisterNumber(dst.Ref.Name) < 0) {
        Error("Unknown expression \"" + token + "\".");
    }
    if (dst.Ref.Bit > maxBit)
        Error("Number of bit too big.");
    return dst;
}

void TCompiler::EmitBitWrite(const TBitDestination& dst, bool set)
{
    const int i = dst.Ref.Bit;
    switch (dst.Target) {
    case TBitTarget::Register: Instr(set ? "ORI" : "ANDI", dst.Ref.Name + "," + (set ? Mask(i) : InvMask(i))); break;
    case TBitTarget::Pout: Instr(set ? "SBI" : "CBI", "POUT," + IntToStr(set ? 1 << i : (1 << i) ^ 255)); break;
    case TBitTarget::Ep: Instr(set ? "SBIE" : "CBIE", IntToStr(set ? 1 << i : (1 << i) ^ 255)); break;
    }
}

void TCompiler::ParseBitCopy(const TBitDestination& dst, const std::string& value)
{
    TBitReference src;
    if (!ParseBitReference(value, src))
        Error("Unknown expression \"" + value + "\".");
    const bool fromRegister = RegisterNumber(src.Name) >= 0;
    if (fromRegister && src.Bit > 15)
        Error("Number of bit too big.");
    // Each source leaves Z clear when its bit is set.
    if (dst.Target == TBitTarget::Register && fromRegister) {
        Instr("MOV", "R0," + src.Name);
        Instr("ANDI", "R0," + Mask(src.Bit));
    } else if (dst.Target == TBitTarget::Register && src.Name == "PIN") {
        if (src.Bit > 7)
            Error("Number of bit too big.");
        Instr("TSTIOBIT", "PIN," + IntToStr(1 << src.Bit));
    } else if (dst.Target != TBitTarget::Register && fromRegister) {
        Instr("TSTBIT", src.Name + "," + IntToStr(src.Bit));
    } else {
        Error(Inadmissible(value));
    }
    const std::string zero = procName_ + "_Label" + IntToStr(labelCounter_);
    const std::string done = procName_ + "_Label" + IntToStr(labelCounter_ + 1);
    labelCounter_ += 2;
    Instr("JZ", zero);
    EmitBitWrite(dst, true);
    Instr("JMP", done);
    Label(zero);
    EmitBitWrite(dst, false);
    Label(done);
}

void TCompiler::ParseBitStatement(const std::string& token)
{
    const TBitDestination dst = ParseBitDestination(token);
    const std::string eq = Expect();
    if (eq != "=")
        Error("Equation symbol is expected, but expression \"" + eq + "\" was found.");
    const std::string value = Expect();
    const TOperand v = ClassifyOperand(value);
    if (v.Text.find('.') != std::string::npos) {
        ParseBitCopy(dst, value);
        return ExpectSemicolon();
    }
    if (v.Kind == TOperandKind::None)
        Error("Unknown expression \"" + value + "\".");
    if (v.Kind != TOperandKind::Constant)
        Error(Inadmissible(value));
    if (v.Value != 0 && v.Value != 1)
        Error("Bit value should be \"0\" or \"1\" only.");
    EmitBitWrite(dst, v.Value == 1);
    ExpectSemicolon();
}

// "= value" of the statements that send a value out: a constant goes
// through R0, whose data address is $C3 (195).
TCompiler::TOperand TCompiler::ParseSentValue(const std::string& equationExpected, bool ofExpression)
{
    const std::string eq = Expect();
    if (eq != "=")
        Error(equationExpected + ", but expression \"" + eq + "\" was found.");
    const std::string token = Expect();
    const TOperand v =
        ValueOperand(token, ofExpression ? "Type of expression \"" + token + "\" is inadmissible." : Inadmissible(token));
    if (v.Kind == TOperandKind::Constant)
        Instr("LDI", "R0," + v.Text);
    return v;
}

void TCompiler::ParseLoadAndSend(const std::string& mnemonic, const std::string& prefix, bool isExpected,
                                 bool byAddress)
{
    const TOperand v =
        ParseSentValue(isExpected ? "Equation symbol is expected" : "Equation symbol expected", false);
    const bool constant = v.Kind == TOperandKind::Constant;
    if (byAddress)
        Instr(mnemonic, prefix + (constant ? "$C3" : Addr(v.Value)));
    else
        Instr(mnemonic, prefix + (constant ? "R0" : v.Text));
    ExpectSemicolon();
}

// Writes to a declared E or A register.
void TCompiler::ParsePortRegisterWrite(const TOperand& target)
{
    const TOperand v = ParseSentValue("Equation symbol expected", true);
    const bool constant = v.Kind == TOperandKind::Constant;
    if (target.Kind == TOperandKind::ARegister)
        Instr("AOUT", target.Text + "," + (constant ? "195" : Addr(v.Value)));
    else if (constant)
        Instr("EOUT", "195," + target.Text);
    else
        Instr("EOUT", target.Text + "," + Addr(v.Value));
    ExpectSemicolon();
}

void TCompiler::ParseDelay()
{
    ExpectToken("(", "Round bracket expected", false);
    const std::string token = Expect();
    const TOperand v = ValueOperand(token, Inadmissible(token));
    ExpectToken(")", "Round bracket expected", false);
    if (v.Kind == TOperandKind::Constant)
        Instr("DELAY", v.Text);
    else
        Instr("DELAYR", Addr(v.Value));
    ExpectSemicolon();
}

void TCompiler::ParseBdmOp()
{
    ExpectToken("(", "Round bracket expected");
    const std::string token = Expect();
    const TOperand v = ValueOperand(token, Inadmissible(token));
    ExpectToken(")", "Round bracket expected");
    if (v.Kind == TOperandKind::Constant) {
        Instr("LDI", "R0," + v.Text);
        Instr("BDMOP", "$C3");
    } else {
        Instr("BDMOP", Addr(v.Value));
    }
    ExpectSemicolon();
}

void TCompiler::ParseEPortBit(bool isIn)
{
    ExpectToken("(", "Round bracket expected", false);
    const std::string token = Expect();
    TOperand v;
    if (isIn) {
        v = ClassifyOperand(token);
        if (v.Kind != TOperandKind::Register)
            Error("Type of operand \"" + token + "\" should be varable only.");
    } else {
        v = ValueOperand(token, Inadmissible(token));
    }
    ExpectComma();
    const std::string pinToken = Expect();
    const uint32_t pin = static_cast<uint32_t>(ConstantArgument(pinToken, Inadmissible(pinToken)));
    if (pin > 5)
        Error("Pin number too big.");
    ExpectComma();
    const std::string bitToken = Expect();
    const TOperand bit = ClassifyOperand(bitToken);
    if (bit.Kind != TOperandKind::Constant || (bit.Value != 0 && bit.Value != 1))
        Error("\"1\" or \"0\" expected, but " + bitToken + " found.");
    ExpectToken(")", "Round bracket expected", false);
    const std::string c = IntToStr((static_cast<uint32_t>(bit.Value) << 7) | pin);
    if (isIn) {
        Instr("EIN", Addr(v.Value) + "," + c);
    } else if (v.Kind == TOperandKind::Constant) {
        Instr("LDI", "R0," + v.Text);
        Instr("EOUT", "195," + c);
    } else {
        Instr("EOUT", Addr(v.Value) + "," + c);
    }
    ExpectSemicolon();
}

void TCompiler::ParsePulse(const std::string& keyword)
{
    ExpectToken("(", "Round bracket expected", false);
    const std::string token = Expect();
    const uint32_t i =
        static_cast<uint32_t>(ConstantArgument(token, "Type of operand \"" + token + "\" is inadmissible"));
    const bool onEPort = keyword[0] == 'E';
    if (i >= (onEPort ? 6u : 8u))
        Error("Pin number too big.");
    ExpectToken(")", "Round bracket expected", false);
    const int bit = 1 << i;
    if (keyword == "HPULSE")
        Instr("HP", IntToStr(bit));
    else if (keyword == "LPULSE")
        Instr("LP", IntToStr(bit ^ 255));
    else
        Instr(keyword == "EHPULSE" ? "EHP" : "ELP", IntToStr(bit));
    ExpectSemicolon();
}

void TCompiler::ParseBusInit()
{
    ExpectToken("(", "Round bracket expected", false);
    uint32_t args[5] = {};
    for (int i = 0; i < 5; ++i) {
        if (i > 0)
            ExpectComma();
        const std::string token = Expect();
        args[i] = static_cast<uint32_t>(ConstantArgument(
            token, "Type of operand \"" + token + "\" is inadmissible (must be constant only)"));
        if (i < 3 && args[i] > 7)
            Error("Pin number too big.");
        if (i >= 3 && args[i] > 1)
            Error("Byte order too big.");
    }
    uint32_t v = (args[0] << 12) | (args[1] << 8) | (args[2] << 4) | (args[3] << 1) | args[4] | (args[4] << 2);
    const std::string next = Expect();
    if (next == ",") {
        const std::string token = Expect();
        const TOperand f = ClassifyOperand(token);
        if (f.Kind != TOperandKind::Constant || (f.Value != 0 && f.Value != 1))
            Error("Parameter  \"" + token + "\" should be constant only.");
        v = f.Value == 1 ? (v | 4u) : (v & ~4u);
        ExpectToken(")", "Round bracket expected", false);
    } else if (next != ")") {
        Error("Round bracket or comma expected, but expression \"" + next + "\" was found");
    }
    Instr("BUSINIT", IntToStr(v));
    ExpectSemicolon();
}

void TCompiler::ParseBdmTransfer(bool isRead)
{
    ExpectToken("(", "Round bracket expected");
    // Constants go through the scratch registers R0, R30 and R29.
    static const char* const kScratch[3] = {"R0", "R30", "R29"};
    static const int kScratchRegister[3] = {0, 30, 29};
    std::string loads[3];
    std::string addresses[3];
    for (int i = 0; i < 3; ++i) {
        if (i > 0)
            ExpectComma();
        const std::string token = Expect();
        const TOperand v = ValueOperand(token, Inadmissible(token));
        if (v.Kind == TOperandKind::Constant) {
            if (isRead && i == 2)
                Error("Type of operand \"" + token + "\" should be variable.");
            loads[i] = std::string(kScratch[i]) + "," + v.Text;
            addresses[i] = Addr(kScratchRegister[i]);
        } else {
            addresses[i] = Addr(v.Value);
        }
    }
    ExpectToken(")", "Round bracket expected");
    for (const std::string& load : loads)
        if (!load.empty())
            Instr("LDI", load);
    Instr(isRead ? "BDMRD" : "BDMWR", addresses[0] + "," + addresses[1] + "," + addresses[2]);
    ExpectSemicolon();
}
