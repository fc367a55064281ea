// Procedures and statements of a calculator script.
#include "calc/uCalcCompilerAsm.h"
#include "calc/uCalcCompilerParser.h"
#include "platform/SysUtils.h"

namespace {

// The jump taken when the condition does not hold.
const char* OppositeJump(const std::string& condition)
{
    static const std::pair<const char*, const char*> table[] = {{"=", "JR!=R"}, {"!=", "JR=R"}, {"<", "JR=>R"},
                                                                {">", "JR<=R"}, {"<=", "JR>R"}, {">=", "JR<R"}};
    for (const auto& [cond, jump] : table)
        if (condition == cond)
            return jump;
    return nullptr;
}

std::string BlockLabel(const char* kind, int number, const char* suffix = "")
{
    return std::string(kind) + IntToStr(number) + suffix;
}

bool IsEventName(const std::string& name)
{
    return name == "ONSHOW" || name == "ONAPPLY" || name == "ONCHANGE";
}

} // namespace

void TCalcCompiler::ParseTopLevel()
{
    while (!AtEnd()) {
        if (cur_.Is("VAR")) {
            ParseVar();
            continue;
        }
        const std::string name = cur_.Text;
        Advance();
        if (!cur_.Is("{"))
            Fail(TCalcMsg::UnknownExpression, name);
        ParseProcedure(name);
    }
}

void TCalcCompiler::ParseProcedure(const std::string& name)
{
    if (!IsEventName(name) && (IsReservedName(name) || names_.count(name) || name.find('.') != std::string::npos ||
                               name.find(':') != std::string::npos))
        Fail(TCalcMsg::BadProcName, name);
    if (procedures_.count(name))
        Fail(TCalcMsg::RepeatedProcName, name);
    procedures_.insert(name);
    Emit("PROC_" + name + ":");
    Advance();
    while (ParseStatement()) {
    }
}

// false after the procedure's closing brace.
bool TCalcCompiler::ParseStatement()
{
    nextTemp_ = 255;
    if (AtEnd())
        Fail(TCalcMsg::UnexpectedEnd);
    if (cur_.Is("}")) {
        if (blocks_.empty()) {
            Emit(CalcListingLine("RET"));
            Advance();
            return false;
        }
        CloseBlock();
    } else if (cur_.Is("IF")) {
        ParseCondition("IF", ifCount_++);
    } else if (cur_.Is("WHILE")) {
        const int number = whileCount_++;
        Emit(BlockLabel("WHILE", number, ":"));
        ParseCondition("WHILE", number);
    } else if (cur_.Is("ELSE")) {
        Fail(TCalcMsg::ElseWithoutIf);
    } else if (cur_.Is("RETURN") || cur_.Is("BREAK")) {
        std::string line = CalcListingLine("RET");
        if (cur_.Is("BREAK")) {
            auto it = blocks_.rbegin();
            while (it != blocks_.rend() && it->first != 'W')
                ++it;
            if (it == blocks_.rend())
                Fail(TCalcMsg::BreakWithoutWhile);
            line = CalcListingLine("JMP", {BlockLabel("WHILE", it->second, "END")});
        }
        Advance();
        if (!cur_.Is(";"))
            Fail(TCalcMsg::NoSemicolonShort);
        Emit(line);
        Advance();
    } else if (ClassifyCalcOperand(cur_).Kind == TCalcOperandKind::Procedure) {
        const std::string name = cur_.Text;
        Advance();
        if (!cur_.Is(";"))
            Fail(TCalcMsg::NoSemicolonShort);
        Emit(CalcListingLine("CALL", {"PROC_" + name}));
        Advance();
    } else {
        ParseAssignment();
    }
    return true;
}

void TCalcCompiler::CloseBlock()
{
    const auto [kind, number] = blocks_.back();
    blocks_.pop_back();
    if (kind == 'W') {
        Emit(CalcListingLine("JMP", {BlockLabel("WHILE", number)}));
        Emit(BlockLabel("WHILE", number, "END:"));
    } else if (kind == 'E') {
        Emit(BlockLabel("ELSE", number, "END:"));
    }
    if (kind != 'I') {
        Advance();
        return;
    }
    const size_t endLabel = code_.size();
    Emit(BlockLabel("IF", number, "END:"));
    Advance();
    if (!cur_.Is("ELSE"))
        return;
    // The IF block jumps over the ELSE block: the jump goes before its end
    // label, which comments of the lines just read may follow.
    const int elseNumber = elseCount_++;
    code_.insert(code_.begin() + static_cast<std::ptrdiff_t>(endLabel),
                 CalcListingLine("JMP", {BlockLabel("ELSE", elseNumber, "END")}));
    Advance();
    Expect("{", TCalcMsg::NoBrace);
    blocks_.push_back({'E', elseNumber});
}

void TCalcCompiler::ParseCondition(const char* kind, int number)
{
    Advance();
    Expect("(", TCalcMsg::NoCondParen);
    ParseConditionSide(true);
    if (AtEnd())
        Fail(TCalcMsg::UnexpectedEnd);
    const char* jump = cur_.Kind == TCalcTokenKind::Delimiter ? OppositeJump(cur_.Text) : nullptr;
    if (!jump)
        FailQuoted(TCalcMsg::UnknownCondition, cur_.Text);
    Advance();
    nextTemp_ = 255;
    ParseConditionSide(false);
    if (AtEnd())
        Fail(TCalcMsg::UnexpectedEnd);
    Expect(")", TCalcMsg::NoCondParen);
    Expect("{", TCalcMsg::NoBrace);
    Emit(CalcListingLine(jump, {CalcHex(CalcCondLeft), CalcHex(CalcCondRight), BlockLabel(kind, number, "END")}));
    blocks_.push_back({kind[0], number});
}

// One side of a condition, loaded into register 128 (left) or 127 (right).
void TCalcCompiler::ParseConditionSide(bool left)
{
    const int reg = left ? CalcCondLeft : CalcCondRight;
    if (AtEnd())
        Fail(TCalcMsg::UnexpectedEnd);
    TCalcOperand operand;
    const std::string token = cur_.Text;
    if (cur_.Is("(")) {
        std::vector<TCalcToken> tokens{cur_};
        for (int depth = 1; depth > 0;) {
            Advance();
            if (AtEnd())
                Fail(TCalcMsg::UnexpectedEnd);
            depth += cur_.Is("(") ? 1 : cur_.Is(")") ? -1 : 0;
            tokens.push_back(cur_);
        }
        operand = CompileCalcExpression(tokens);
    } else if (cur_.Is("@")) {
        Advance();
        operand = ClassifyCalcOperand(cur_);
        if (operand.Kind == TCalcOperandKind::Constant)
            operand.Kind = TCalcOperandKind::BufferAtConstant;
        else if (operand.Kind == TCalcOperandKind::Register)
            operand.Kind = TCalcOperandKind::BufferAtRegister;
        else
            FailQuoted(TCalcMsg::BadOperandType, cur_.Text);
    } else {
        operand = ClassifyCalcOperand(cur_);
        // A register written "R" and a number is taken on the left only.
        const bool numberedRight = !left && cur_.Text.size() > 1 && cur_.Text[0] == 'R' &&
                                   cur_.Text.find_first_not_of("0123456789", 1) == std::string::npos;
        if (numberedRight || (operand.Kind != TCalcOperandKind::Register &&
                              operand.Kind != TCalcOperandKind::Constant && operand.Kind != TCalcOperandKind::Control))
            FailQuoted(TCalcMsg::BadOperandType, cur_.Text);
    }
    LoadInto(reg, operand, token);
    Advance();
}

void TCalcCompiler::ParseAssignment()
{
    const std::string targetText = cur_.Text;
    TCalcOperand target = ClassifyCalcOperand(cur_);
    if (cur_.Is("@")) {
        Advance();
        target = ClassifyCalcOperand(cur_);
        if (target.Kind == TCalcOperandKind::Constant)
            target.Kind = TCalcOperandKind::BufferAtConstant;
        else if (target.Kind == TCalcOperandKind::Register)
            target.Kind = TCalcOperandKind::BufferAtRegister;
        else
            FailQuoted(TCalcMsg::BadTarget, cur_.Text);
    }
    Advance();
    if (!cur_.Is("="))
        Fail(TCalcMsg::NoEquals);
    Advance();
    switch (target.Kind) {
    case TCalcOperandKind::Control:
        if (target.Letter == 'L')
            AssignString("L=S", static_cast<int>(target.Value));
        else
            AssignNumeric(target, targetText);
        break;
    case TCalcOperandKind::StringRegister: AssignString("S=S", static_cast<int>(target.Value)); break;
    case TCalcOperandKind::ControlProperty: AssignProperty(target); break;
    case TCalcOperandKind::Register:
    case TCalcOperandKind::BufferAtConstant:
    case TCalcOperandKind::BufferAtRegister: AssignNumeric(target, targetText); break;
    default: FailQuoted(TCalcMsg::BadTarget, targetText);
    }
    Advance();
}

void TCalcCompiler::AssignNumeric(const TCalcOperand& target, const std::string& targetText)
{
    const bool toRegister = target.Kind == TCalcOperandKind::Register;
    if (toRegister)
        Emit(";+E");
    const TCalcOperand value = CompileCalcExpression(TokensUpToSemicolon());
    const int t = static_cast<int>(target.Value);
    if (toRegister) {
        LoadInto(t, value, targetText);
    } else {
        const std::string base = target.Kind == TCalcOperandKind::Control            ? "C="
                                 : target.Kind == TCalcOperandKind::BufferAtConstant ? "@D="
                                                                                     : "@R=";
        const bool isConst = value.Kind == TCalcOperandKind::Constant;
        // Buffer bytes take the byte constant, controls the 32-bit one.
        const uint32_t constant = static_cast<uint32_t>(value.Value) & (base == "C=" ? 0xFFFFFFFFu : 0xFFu);
        const uint32_t reg = isConst ? constant : static_cast<uint32_t>(InRegister(value, targetText));
        Emit(CalcListingLine(base + (isConst ? "D" : "R"), {CalcHex(static_cast<uint32_t>(t)), CalcHex(reg)}));
    }
    if (target.Kind != TCalcOperandKind::Control)
        Emit(";-E");
}

// NAME.PROPERTY = register or constant ;
void TCalcCompiler::AssignProperty(const TCalcOperand& target)
{
    const std::vector<TCalcToken> tokens = TokensUpToSemicolon();
    const TCalcOperand value = tokens.size() == 1 ? ClassifyCalcOperand(tokens[0]) : TCalcOperand{};
    if (value.Kind != TCalcOperandKind::Register && value.Kind != TCalcOperandKind::Constant)
        FailQuoted(TCalcMsg::BadOperandType, tokens.empty() ? ";" : tokens[0].Text);
    const uint32_t property = static_cast<uint32_t>(target.Property) << 24;
    const std::string control = CalcHex(static_cast<uint32_t>(target.Value));
    if (value.Kind == TCalcOperandKind::Constant) {
        Emit(CalcListingLine("CP=D", {control, CalcHex(property | (static_cast<uint32_t>(value.Value) & 0xFFFFFF))}));
        return;
    }
    // The machine takes the property from the register's top byte: put the
    // property named here there, so that it is the one that changes.
    const int temp = NewTemp();
    const std::string t = CalcHex(static_cast<uint32_t>(temp));
    Emit(CalcListingLine("R=R", {t, CalcHex(static_cast<uint32_t>(value.Value))}));
    Emit(CalcListingLine("R&D", {t, CalcHex(0x00FFFFFF)}));
    Emit(CalcListingLine("R|D", {t, CalcHex(property)}));
    Emit(CalcListingLine("CP=R", {control, t}));
}
