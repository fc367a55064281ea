// Expressions: infix to postfix, then register-machine code on temporaries
// counted down from register 255 within a statement.
#include "calc/uCalcCompilerAsm.h"
#include "calc/uCalcCompilerParser.h"

namespace {

// Priority of a two-operand operator, -1 for any other token.
int BinaryPriority(const TCalcToken& t)
{
    if (t.Kind != TCalcTokenKind::Delimiter)
        return -1;
    static const std::pair<const char*, int> table[] = {{"+", 0}, {"-", 0},  {"&", 1},  {"^", 1}, {"|", 2},
                                                        {"<<", 2}, {">>", 2}, {"*", 3}, {"/", 3}, {"%", 3}};
    for (const auto& [op, priority] : table)
        if (t.Text == op)
            return priority;
    return -1;
}

int StackPriority(const std::string& op)
{
    if (op == "?")
        return 4;
    if (op == "@")
        return 5;
    return BinaryPriority(TCalcToken{TCalcTokenKind::Delimiter, op});
}

// Operators with byte and word constant forms besides the 32-bit one.
bool HasShortForms(const std::string& base)
{
    return base != "R>>" && base != "R<<";
}

} // namespace

std::vector<TCalcPostfixItem> TCalcCompiler::CalcExpressionToPostfix(const std::vector<TCalcToken>& tokens) const
{
    std::vector<TCalcPostfixItem> out;
    std::vector<std::string> stack;
    bool expectOperand = true;
    auto popTo = [&](int priority) {
        while (!stack.empty() && stack.back() != "(" && StackPriority(stack.back()) >= priority) {
            const bool prefix = stack.back() == "@" || stack.back() == "?";
            out.push_back({{}, stack.back(), prefix});
            stack.pop_back();
        }
    };
    for (const TCalcToken& t : tokens) {
        if (t.Is("(")) {
            if (!expectOperand)
                FailExpression(TCalcMsg::ExprError);
            stack.push_back("(");
        } else if (t.Is(")")) {
            if (expectOperand)
                FailExpression(TCalcMsg::ExprError);
            popTo(-1);
            if (stack.empty())
                FailExpression(TCalcMsg::ExprParens);
            stack.pop_back();
        } else if (expectOperand && (t.Is("@") || t.Is("?"))) {
            stack.push_back(t.Text);
        } else if (const int priority = BinaryPriority(t); priority >= 0) {
            if (expectOperand)
                FailExpression(TCalcMsg::ExprError);
            popTo(priority);
            stack.push_back(t.Text);
            expectOperand = true;
        } else {
            if (!expectOperand)
                FailExpression(TCalcMsg::ExprError);
            const TCalcOperand operand = ClassifyCalcOperand(t);
            if (operand.Kind == TCalcOperandKind::None)
                FailExpression(TCalcMsg::ExprUnknown, t.Text);
            if (operand.Kind != TCalcOperandKind::Constant && operand.Kind != TCalcOperandKind::Register &&
                operand.Kind != TCalcOperandKind::Control)
                FailExpression(TCalcMsg::ExprBadType, t.Text);
            out.push_back({operand, {}, false});
            expectOperand = false;
        }
    }
    if (expectOperand)
        FailExpression(TCalcMsg::ExprError);
    popTo(-1);
    if (!stack.empty())
        FailExpression(TCalcMsg::ExprParens);
    return out;
}

int TCalcCompiler::NewTemp()
{
    // Temporaries must stay above the condition registers and the variables.
    if (nextTemp_ <= CalcCondLeft)
        Fail(TCalcMsg::ExprTooComplex);
    return nextTemp_--;
}

// base is the mnemonic without its operand letter ("R=", "R+", ...).
void TCalcCompiler::EmitConstantForm(const std::string& base, int reg, int64_t value)
{
    const uint32_t v = static_cast<uint32_t>(value);
    if (!HasShortForms(base))
        Emit(CalcListingLine(base + "D", {CalcHex(static_cast<uint32_t>(reg)), CalcHex(std::min<uint32_t>(v, 255))}));
    else if (v <= 0xFF)
        Emit(CalcListingLine(base + "B", {CalcHex(static_cast<uint32_t>(reg)), CalcHex(v)}));
    else if (v <= 0xFFFF)
        Emit(CalcListingLine(base + "W", {CalcHex(static_cast<uint32_t>(reg)), CalcHex(v)}));
    else
        Emit(CalcListingLine(base + "D", {CalcHex(static_cast<uint32_t>(reg)), CalcHex(v)}));
}

void TCalcCompiler::LoadInto(int reg, const TCalcOperand& operand, const std::string& token)
{
    const std::string r = CalcHex(static_cast<uint32_t>(reg));
    const std::string v = CalcHex(static_cast<uint32_t>(operand.Value));
    switch (operand.Kind) {
    case TCalcOperandKind::Register: Emit(CalcListingLine("R=R", {r, v})); break;
    case TCalcOperandKind::Constant: EmitConstantForm("R=", reg, operand.Value); break;
    case TCalcOperandKind::Control: Emit(CalcListingLine("R=C", {r, v})); break;
    case TCalcOperandKind::BufferAtConstant: Emit(CalcListingLine("R=@D", {r, v})); break;
    case TCalcOperandKind::BufferAtRegister: Emit(CalcListingLine("R=@R", {r, v})); break;
    case TCalcOperandKind::RandomOfConstant: Emit(CalcListingLine("R=?D", {r, v})); break;
    case TCalcOperandKind::RandomOfRegister: Emit(CalcListingLine("R=?R", {r, v})); break;
    default: FailQuoted(TCalcMsg::BadOperandType, token);
    }
}

// The operand's register; an operand that is neither a register nor a
// constant is loaded into a temporary first.
int TCalcCompiler::InRegister(const TCalcOperand& operand, const std::string& token)
{
    if (operand.Kind == TCalcOperandKind::Register)
        return static_cast<int>(operand.Value);
    const int temp = NewTemp();
    LoadInto(temp, operand, token);
    return temp;
}

TCalcOperand TCalcCompiler::CompileCalcExpression(const std::vector<TCalcToken>& tokens)
{
    std::vector<TCalcOperand> stack;
    for (const TCalcPostfixItem& item : CalcExpressionToPostfix(tokens)) {
        if (item.Operator.empty()) {
            stack.push_back(item.Operand);
            continue;
        }
        if (stack.size() < (item.Prefix ? 1u : 2u))
            FailExpression(TCalcMsg::ExprError);
        if (item.Prefix) {
            TCalcOperand& x = stack.back();
            const bool isConst = x.Kind == TCalcOperandKind::Constant;
            if (!isConst && x.Kind != TCalcOperandKind::Register)
                FailExpression(TCalcMsg::ExprBadType, item.Operator);
            if (item.Operator == "@")
                x.Kind = isConst ? TCalcOperandKind::BufferAtConstant : TCalcOperandKind::BufferAtRegister;
            else
                x.Kind = isConst ? TCalcOperandKind::RandomOfConstant : TCalcOperandKind::RandomOfRegister;
            continue;
        }
        const TCalcOperand right = stack.back();
        stack.pop_back();
        const TCalcOperand left = stack.back();
        stack.pop_back();
        const int temp = NewTemp();
        LoadInto(temp, left, item.Operator);
        const std::string base = "R" + item.Operator;
        if (right.Kind == TCalcOperandKind::Constant)
            EmitConstantForm(base, temp, right.Value);
        else
            Emit(CalcListingLine(base + "R", {CalcHex(static_cast<uint32_t>(temp)),
                                              CalcHex(static_cast<uint32_t>(InRegister(right, item.Operator)))}));
        stack.push_back({TCalcOperandKind::Register, temp});
    }
    if (stack.size() != 1)
        FailExpression(TCalcMsg::ExprError);
    return stack.back();
}
