#include "engine/uHostParser.h"
#include "platform/SysUtils.h"

namespace {

bool IsOperator(const std::string& t)
{
    return t == "+" || t == "-" || t == "&" || t == "|" || t == "^" || t == "*" || t == "/" || t == "<<" ||
           t == ">>";
}

const char* OperatorName(const std::string& t)
{
    switch (t[0]) {
    case '+': return "ADD";
    case '-': return "SUB";
    case '&': return "AND";
    case '|': return "ORR";
    case '^': return "XOR";
    case '*': return "MUL";
    default: return "DIV";
    }
}

} // namespace

void THostParser::EmitIndex(const char* immediate, const char* fromVariable, const TOperand& cell)
{
    const TOperand index = Classify(cell.Index);
    if (index.Kind == TOperandKind::None)
        Fail("Unknown expression \"" + cell.Index + "\".");
    if (index.Kind != TOperandKind::Constant && index.Kind != TOperandKind::Variable)
        Fail("Expression \"" + cell.Index + "\" cannot be used here.");
    Emit(index.Kind == TOperandKind::Constant ? immediate : fromVariable, index.Value);
}

void THostParser::EmitArrayIndex(const TOperand& cell)
{
    Emit("LDIA", cell.Value);
    EmitIndex("ADDI", "ADDR", cell);
    Emit("MOVR", THost::IndexScratch);
    Emit("SRPR", THost::IndexScratch);
}

void THostParser::EmitLoad(const std::string& token, const TOperand& o)
{
    switch (o.Kind) {
    case TOperandKind::Constant: Emit("LDIA", o.Value); break;
    case TOperandKind::Variable: Emit("MOVA", o.Value); break;
    case TOperandKind::Port: Emit("INPO", o.Value); break;
    case TOperandKind::FBuf: EmitIndex("SFPI", "SFPR", o); Emit("MFFA"); break;
    case TOperandKind::EBuf: EmitIndex("SEPI", "SEPR", o); Emit("MFEA"); break;
    case TOperandKind::FSel: EmitIndex("SFSI", "SFSR", o); Emit("MFSF"); break;
    case TOperandKind::Array: EmitArrayIndex(o); Emit("MFRA"); break;
    case TOperandKind::Bit: Fail("Bit variable \"" + token + "\" cannot be used here.");
    case TOperandKind::None: Fail("Unknown expression \"" + token + "\".");
    default: Fail("Expression \"" + token + "\" cannot be used here.");
    }
}

// A is stored into the target; the address register of a buffer cell is set
// right before the store. Array cells are handled by the caller.
void THostParser::EmitStore(const TOperand& target)
{
    switch (target.Kind) {
    case TOperandKind::Variable: Emit("MOVR", target.Value); break;
    case TOperandKind::Port: Emit("OUTP", target.Value); break;
    case TOperandKind::FBuf: EmitIndex("SFPI", "SFPR", target); Emit("MTFA"); break;
    case TOperandKind::EBuf: EmitIndex("SEPI", "SEPR", target); Emit("MTEA"); break;
    case TOperandKind::FSel: EmitIndex("SFSI", "SFSR", target); Emit("MTSF"); break;
    case TOperandKind::ESel: EmitIndex("SESI", "SESR", target); Emit("MTSE"); break;
    default: break;
    }
}

void THostParser::ParseTarget(const std::string& token, const TOperand& target)
{
    if (target.Kind == TOperandKind::Bit) {
        ParseBitTarget(target);
        return;
    }
    if (target.Kind == TOperandKind::Constant)
        Fail("Expression \"" + token + "\" cannot be used here.");
    const std::string op = Next();
    if (op == "++" || op == "--") {
        const bool up = op == "++";
        switch (target.Kind) {
        case TOperandKind::Variable: Emit(up ? "INCC" : "DECC", target.Value); break;
        case TOperandKind::Port:
        case TOperandKind::FBuf:
        case TOperandKind::EBuf:
            EmitLoad(token, target);
            Emit(up ? "ADDI" : "SUBI", 1);
            EmitStore(target);
            break;
        case TOperandKind::Array:
            EmitArrayIndex(target);
            Emit("MFRA");
            Emit(up ? "ADDI" : "SUBI", 1);
            Emit("MTRA");
            break;
        default: Fail("\"" + op + "\" cannot be used here.");
        }
        ExpectSemicolon();
        return;
    }
    if (op != "=")
        Fail("Equation symbol is expected, but expression \"" + op + "\" was found.");

    if (target.Kind != TOperandKind::Array) {
        int loadLine = -1;
        TOperand value;
        ParseRightSide(value, loadLine);
        EmitStore(target);
        return;
    }
    // The index computation goes through A. A constant or a variable is
    // loaded after it; a computed value is parked in a variable of the
    // compiler's own while the index is computed.
    int loadLine = -1;
    TOperand value;
    if (ParseRightSide(value, loadLine)) {
        host_.AsmText.Delete(loadLine);
        --instructions_;
        EmitArrayIndex(target);
        Emit(value.Kind == TOperandKind::Constant ? "LDIA" : "MOVA", value.Value);
    } else {
        if (valueScratch_ < 0)
            valueScratch_ = NewVariable();
        Emit("MOVR", static_cast<uint32_t>(valueScratch_));
        EmitArrayIndex(target);
        Emit("MOVA", static_cast<uint32_t>(valueScratch_));
    }
    Emit("MTRA");
}

bool THostParser::ParseRightSide(TOperand& first, int& loadLine)
{
    const std::string t = Next();
    if (t == "FINDSIGNATURE") {
        LoadArgumentOf();
        Emit("FSIG");
        ExpectSemicolon();
        return false;
    }
    first = Classify(t);
    if (first.Kind == TOperandKind::Procedure) {
        ParseCall(first.Name);
        ExpectSemicolon();
        return false;
    }
    EmitLoad(t, first);
    loadLine = host_.AsmText.Count() - 1;
    const std::string op = Next();
    if (op == ";")
        return first.Kind == TOperandKind::Constant || first.Kind == TOperandKind::Variable;
    if (!IsOperator(op))
        Fail("Semicolon or operator are expected, but expression \"" + op + "\" was found.");
    const std::string y = Next();
    const TOperand second = Classify(y);
    if (op == "<<" || op == ">>") {
        if (second.Kind != TOperandKind::Constant || second.Value > 31)
            Fail("Bit index must be from 0 to 31.");
        Emit(op == "<<" ? "ROTL" : "ROTR", second.Value);
    } else if (second.Kind == TOperandKind::Constant || second.Kind == TOperandKind::Variable) {
        const std::string mnemonic =
            std::string(OperatorName(op)) + (second.Kind == TOperandKind::Constant ? "I" : "R");
        Emit(mnemonic.c_str(), second.Value);
    } else if (second.Kind == TOperandKind::None) {
        Fail("Unknown expression \"" + y + "\".");
    } else {
        Fail("Expression \"" + y + "\" cannot be used here.");
    }
    ExpectSemicolon();
    return false;
}

void THostParser::ParseBitTarget(const TOperand& target)
{
    const std::string op = Next();
    if (op == "++" || op == "--")
        Fail("\"" + op + "\" cannot be used here.");
    if (op != "=")
        Fail("Equation symbol is expected, but expression \"" + op + "\" was found.");
    const std::string v = Next();
    const TOperand value = Classify(v);
    const uint32_t mask = 1u << target.Bit;
    auto writeBit = [&](bool one) {
        Emit("MOVA", target.Value);
        if (one)
            Emit("ORRI", mask);
        else
            Emit("ANDI", ~mask);
        Emit("MOVR", target.Value);
    };
    if (value.Kind == TOperandKind::Constant && value.Value <= 1) {
        writeBit(value.Value == 1);
    } else if (value.Kind == TOperandKind::Bit) {
        const std::string clear = procName_ + "_Label" + IntToStr(bitLabel_);
        const std::string done = procName_ + "_Label" + IntToStr(bitLabel_ + 1);
        bitLabel_ += 2;
        Emit("MOVA", value.Value);
        Emit("ANDI", 1u << value.Bit);
        EmitJump("JMPZ", clear);
        writeBit(true);
        EmitJump("JMPP", done);
        EmitLabel(clear);
        writeBit(false);
        EmitLabel(done);
    } else {
        Fail("Type of operand \"" + v + "\" is inadmissible, or unknown expression.");
    }
    ExpectSemicolon();
}
