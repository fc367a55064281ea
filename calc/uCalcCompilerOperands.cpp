// Names of a calculator script and what an operand token stands for.
#include "calc/uCalcCompilerParser.h"

namespace {

constexpr const char* ReservedWords[] = {"IF", "WHILE", "ELSE", "RETURN", "BREAK", "PROC", "FOR"};
constexpr const char* Keywords[] = {"SIZE",     "FORM",     "GROUP",  "DIGIT",  "HEXDIGIT", "LABEL",   "PICTURE",
                                    "TEXT",     "CHECKBOX", "COMBOBOX", "ONSHOW", "ONAPPLY", "ONCHANGE", "VAR"};

bool AllDigits(const std::string& s)
{
    if (s.empty())
        return false;
    for (char ch : s)
        if (ch < '0' || ch > '9')
            return false;
    return true;
}

// The digits after a prefix ("R", "VAR", "STR"), or empty when the word is
// not the prefix followed by digits.
std::string NumberedSuffix(const std::string& word, const char* prefix)
{
    const std::string p = prefix;
    if (word.compare(0, p.size(), p) != 0 || !AllDigits(word.substr(p.size())))
        return {};
    return word.substr(p.size());
}

} // namespace

bool TCalcCompiler::IsReservedName(const std::string& name) const
{
    for (const char* w : ReservedWords)
        if (name == w)
            return true;
    for (const char* w : Keywords)
        if (name == w)
            return true;
    // Names that would read as a number or a numbered register.
    return ParseCalcNumber(name).has_value() || !NumberedSuffix(name, "R").empty() ||
           !NumberedSuffix(name, "VAR").empty() || !NumberedSuffix(name, "STR").empty();
}

bool TCalcCompiler::IsNameInUse(const std::string& name) const
{
    return names_.count(name) != 0 || procedures_.count(name) != 0;
}

int TCalcCompiler::RegisterNumber(const std::string& digits, TCalcMsg tooLarge, int limit) const
{
    const auto n = digits.size() <= 6 ? ParseCalcNumber(digits) : std::nullopt;
    if (!n || *n >= limit)
        Fail(tooLarge, digits);
    return static_cast<int>(*n);
}

TCalcOperand TCalcCompiler::ClassifyCalcOperand(const TCalcToken& token) const
{
    if (token.Kind != TCalcTokenKind::Word)
        return {};
    const std::string& w = token.Text;
    if (procedures_.count(w))
        return {TCalcOperandKind::Procedure};
    if (const auto n = ParseCalcNumber(w))
        return {TCalcOperandKind::Constant, *n};
    if (const std::string d = NumberedSuffix(w, "VAR"); !d.empty())
        return {TCalcOperandKind::Register, RegisterNumber(d, TCalcMsg::RegisterRange, CalcRegisterCount)};
    if (const std::string d = NumberedSuffix(w, "STR"); !d.empty())
        return {TCalcOperandKind::StringRegister,
                RegisterNumber(d, TCalcMsg::StringRegisterRange, CalcStringRegisterCount)};
    if (const std::string d = NumberedSuffix(w, "R"); !d.empty())
        return {TCalcOperandKind::Register, RegisterNumber(d, TCalcMsg::RegisterRange, CalcRegisterCount)};
    if (const auto it = names_.find(w); it != names_.end()) {
        if (it->second < CalcRegisterCount)
            return {TCalcOperandKind::Register, it->second};
        return {TCalcOperandKind::Control, it->second & 0xFF, static_cast<char>(it->second >> 16)};
    }
    const size_t dot = w.rfind('.');
    if (dot != std::string::npos) {
        const auto it = names_.find(w.substr(0, dot));
        static const std::pair<const char*, int> properties[] = {
            {"COLOR", CalcPropColor}, {"BOLD", CalcPropBold}, {"ALIGNMENT", CalcPropAlignment}};
        if (it != names_.end() && it->second >= CalcRegisterCount)
            for (const auto& [property, number] : properties)
                if (w.substr(dot + 1) == property)
                    return {TCalcOperandKind::ControlProperty, it->second & 0xFF, static_cast<char>(it->second >> 16),
                            number};
    }
    return {};
}

// VAR name , name , ... ;
void TCalcCompiler::ParseVar()
{
    Advance();
    for (;;) {
        if (AtEnd() || cur_.Is(";") || cur_.Is(","))
            Fail(TCalcMsg::NoVarName);
        const std::string name = cur_.Text;
        if (cur_.Kind != TCalcTokenKind::Word || IsReservedName(name) || name.find('.') != std::string::npos)
            Fail(TCalcMsg::BadVarName, name);
        if (IsNameInUse(name))
            Fail(TCalcMsg::RepeatedVarName, name);
        // Registers 127 and 128 hold the two sides of a condition.
        if (nextVar_ >= CalcCondRight)
            Fail(TCalcMsg::TooManyVars, name);
        names_[name] = static_cast<uint32_t>(nextVar_++);
        Advance();
        if (cur_.Is(";")) {
            Advance();
            return;
        }
        if (!cur_.Is(","))
            Fail(TCalcMsg::NoVarSeparator);
        Advance();
    }
}
