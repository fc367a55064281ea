// String assignments: a label's caption or a string register built in the
// work string register from literals, string registers and formatted values.
#include "calc/uCalcCompilerAsm.h"
#include "calc/uCalcCompilerParser.h"
#include "platform/SysUtils.h"

namespace {

const std::string Work = CalcHex(CalcWorkString);

} // namespace

int TCalcCompiler::LiteralIndex(const std::string& text)
{
    for (size_t i = 0; i < literals_.size(); ++i)
        if (literals_[i] == text)
            return static_cast<int>(i);
    literals_.push_back(text);
    return static_cast<int>(literals_.size() - 1);
}

// store is "L=S" (a label) or "S=S" (a string register).
void TCalcCompiler::AssignString(const std::string& store, int targetNumber)
{
    const std::vector<TCalcToken> tokens = TokensUpToSemicolon();
    Emit(CalcListingLine("S=0", {Work}));
    size_t i = 0;
    for (;;) {
        if (i >= tokens.size())
            FailQuoted(TCalcMsg::BadStringExpression, ";");
        i = AppendStringPart(tokens, i);
        if (i >= tokens.size())
            break;
        if (!tokens[i].Is("+"))
            FailQuoted(TCalcMsg::BadStringSymbol, tokens[i].Text);
        ++i;
    }
    Emit(CalcListingLine(store, {CalcHex(static_cast<uint32_t>(targetNumber)), Work}));
}

// Appends the part at tokens[i]; the index after it.
size_t TCalcCompiler::AppendStringPart(const std::vector<TCalcToken>& tokens, size_t i)
{
    const TCalcToken& t = tokens[i];
    if (t.Is("#"))
        return AppendFormatted(tokens, i + 1);
    if (t.Is("+"))
        FailQuoted(TCalcMsg::BadStringExpression, t.Text);
    const TCalcOperand operand = ClassifyCalcOperand(t);
    if (operand.Kind == TCalcOperandKind::StringRegister) {
        Emit(CalcListingLine("S+S", {Work, CalcHex(static_cast<uint32_t>(operand.Value))}));
    } else if (operand.Kind == TCalcOperandKind::Register) {
        FailQuoted(TCalcMsg::BadStringExpression, t.Text);
    } else {
        Emit(CalcListingLine("S+L", {Work, "STR" + IntToStr(LiteralIndex(t.Text))}));
    }
    return i + 1;
}

// The word after "#" (at tokens[i]): format letter, one more character,
// then the value, or the value in the next token(s) when nothing is left.
size_t TCalcCompiler::AppendFormatted(const std::vector<TCalcToken>& tokens, size_t i)
{
    if (i >= tokens.size())
        Fail(TCalcMsg::NoFormatLetter);
    const std::string& word = tokens[i].Text;
    const char letter = word.empty() ? '\0' : word[0];
    if (tokens[i].Kind != TCalcTokenKind::Word || std::string("BWDIC").find(letter) == std::string::npos)
        FailQuoted(TCalcMsg::BadFormatLetter, word.substr(0, 1));
    TCalcOperand value;
    std::string valueText = word.size() > 2 ? word.substr(2) : std::string();
    ++i;
    if (!valueText.empty()) {
        value = ClassifyCalcOperand(TCalcToken{TCalcTokenKind::Word, valueText});
    } else if (i < tokens.size() && tokens[i].Is("@")) {
        if (++i >= tokens.size())
            FailQuoted(TCalcMsg::BadStringExpression, "@");
        valueText = tokens[i].Text;
        value = ClassifyCalcOperand(tokens[i++]);
        if (value.Kind != TCalcOperandKind::Constant && value.Kind != TCalcOperandKind::Register)
            FailQuoted(TCalcMsg::BadOperandType, valueText);
        Emit(CalcListingLine(value.Kind == TCalcOperandKind::Constant ? "R=@D" : "R=@R",
                             {CalcHex(255), CalcHex(static_cast<uint32_t>(value.Value))}));
        value = {TCalcOperandKind::Register, 255};
    } else if (i < tokens.size()) {
        valueText = tokens[i].Text;
        value = ClassifyCalcOperand(tokens[i++]);
    } else {
        Fail(TCalcMsg::NoFormatLetter);
    }
    const uint32_t v = static_cast<uint32_t>(value.Value);
    if (value.Kind == TCalcOperandKind::Register) {
        static const std::pair<char, const char*> forms[] = {
            {'B', "S+RB"}, {'W', "S+RW"}, {'D', "S+RD"}, {'I', "S+RI"}, {'C', "S+RC"}};
        for (const auto& [l, mnemonic] : forms)
            if (l == letter)
                Emit(CalcListingLine(mnemonic, {Work, CalcHex(v)}));
    } else if (value.Kind == TCalcOperandKind::Constant) {
        std::string mnemonic = letter == 'B' ? "S+B" : letter == 'W' ? "S+W" : letter == 'D' ? "S+D" : "S+C";
        uint32_t constant = letter == 'B' || letter == 'C' ? (v & 0xFF) : letter == 'W' ? (v & 0xFFFF) : v;
        if (letter == 'I') {
            mnemonic = v <= 254 ? "S+BI" : v <= 65534 ? "S+WI" : "S+DI";
            constant = v;
        }
        Emit(CalcListingLine(mnemonic, {Work, CalcHex(constant)}));
    } else {
        FailQuoted(TCalcMsg::BadOperandType, valueText);
    }
    return i;
}
