#include "engine/uCompiler.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>

#include "engine/AsmTypes.h"
#include "engine/TCompil.h"
#include "platform/Cp1251.h"
#include "platform/SysUtils.h"

namespace {

const char* const kReservedWords[] = {
    "IF",      "POUT",    "PIN",    "WHILE",  "ELSE",    "DEFINE",   "RETURN",
    "UART",    "BREAK",   "USB",    "VAR",    "DELAY",   "EP",       "BUSINIT",
    "BUSDATA", "HPULSE",  "LPULSE", "EHPULSE", "ELPULSE", "EOUT",    "EIN",
    "EREG",    "BUSDELAY", "AREG",  "BDMOP",  "BDMWR",   "BDMRD",
};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Decimal digits, or "$" and hexadecimal digits: what the assembler reads.
std::optional<int32_t> NumberValue(const std::string& t)
{
    if (t.empty() || !((t[0] >= '0' && t[0] <= '9') || (t[0] == '$' && t.size() > 1)))
        return std::nullopt;
    return TryStrToInt(t);
}

} // namespace

TCompiler::TCompiler() : Code(CodeSize, 0) {}

bool TCompiler::IsReservedSymbol(char c)
{
    return c != '\0' && std::strchr("!\"&'()*+,-/;<=>^{|}~", c) != nullptr;
}

bool TCompiler::IsReservedWord(const std::string& word)
{
    static const std::unordered_set<std::string> words(std::begin(kReservedWords), std::end(kReservedWords));
    return words.count(AnsiUpperCase(word)) != 0;
}

std::string TCompiler::NextWord(const std::string& line, int& position)
{
    const size_t length = line.size();
    size_t i = static_cast<size_t>(std::max(position, 1) - 1);
    while (i < length && IsBlank(line[i]))
        ++i;
    const size_t start = i;
    if (i < length && IsReservedSymbol(line[i])) {
        i += (line[i] == '/' && i + 1 < length && line[i + 1] == '/') ? 2 : 1;
    } else {
        while (i < length && !IsBlank(line[i]) && !IsReservedSymbol(line[i]))
            ++i;
    }
    position = static_cast<int>(i) + 1;
    return AnsiUpperCase(line.substr(start, i - start));
}

std::string TCompiler::NextToken()
{
    for (;;) {
        if (LineIndex >= Lines.Count())
            return {};
        const std::string& line = Lines[LineIndex];
        const size_t length = line.size();
        size_t i = static_cast<size_t>(pos_ - 1);
        while (i < length && IsBlank(line[i]))
            ++i;
        if (i >= length) {
            ++LineIndex;
            pos_ = 1;
            while (LineIndex < Lines.Count() && Lines[LineIndex].empty())
                ++LineIndex;
            continue;
        }
        if (LineIndex != LastCommentLine) {
            AddAsm(";" + line);
            LastCommentLine = LineIndex;
        }

        const size_t start = i;
        const char c = line[i];
        std::string token;
        if (c == '"' || c == '\'') {
            ++i;
            while (i < length && line[i] != c)
                ++i;
            if (i < length)
                ++i;
            token = line.substr(start, i - start);
        } else if (IsReservedSymbol(c)) {
            const char d = i + 1 < length ? line[i + 1] : '\0';
            const bool pair = (d == c && (c == '<' || c == '>' || c == '+' || c == '-' || c == '/')) ||
                              (c == '<' && d == '>') || (c == '!' && d == '=');
            token = pair ? (c == '!' ? std::string("<>") : std::string{c, d}) : std::string(1, c);
            i += pair ? 2 : 1;
        } else {
            while (i < length && !IsBlank(line[i]) && !IsReservedSymbol(line[i]))
                ++i;
            token = AnsiUpperCase(line.substr(start, i - start));
        }
        pos_ = static_cast<int>(i) + 1;
        return token;
    }
}

std::string TCompiler::Expect()
{
    std::string token = NextToken();
    if (token.empty())
        Error(inBody_ ? "Unexpected end of file. The closed brace is possible lost" : "Unexpected end of file.");
    return token;
}

void TCompiler::SkipRestOfLine()
{
    if (LineIndex < Lines.Count())
        pos_ = static_cast<int>(Lines[LineIndex].size()) + 1;
}

int TCompiler::FindDirective() const
{
    for (int i = 0; i < Lines.Count(); ++i) {
        int position = 1;
        if (NextWord(Lines[i], position) == "[DEVICE]")
            return i;
    }
    return -1;
}

void TCompiler::ScanProcedures()
{
    bool failed = false;
    // The section ends where the next one begins: a "PROC" line of a later
    // section names no device procedure.
    for (int i = ProcScanLine; i < Lines.Count(); ++i) {
        int position = 1;
        const std::string first = NextWord(Lines[i], position);
        if (!first.empty() && first[0] == '[')
            break;
        if (first != "PROC")
            continue;
        const std::string name = NextWord(Lines[i], position);
        const std::string prefix = "Line " + IntToStr(i + 1) + ": ";
        if (name.empty() || IsReservedSymbol(name[0])) {
            Errors.Add(prefix + "Procedure name missing.");
            failed = true;
        } else if (IsProcedure(name)) {
            Errors.Add(prefix + "Procedure \"" + name + "\" redeclared.");
            failed = true;
        } else {
            AddProcedure(name);
        }
    }
    if (failed)
        throw ParseError{};
}

// Scripts declare hundreds of names: both lists are looked up by hash.
int TCompiler::NameIndex(const std::string& name) const
{
    const auto found = nameIndex_.find(name);
    return found == nameIndex_.end() ? -1 : found->second;
}

void TCompiler::AddName(const std::string& name, const std::string& value)
{
    nameIndex_.emplace(name, Names.Count());
    Names.Add(name);
    Names.Add(value);
}

bool TCompiler::IsProcedure(const std::string& name) const { return procedures_.count(name) != 0; }

void TCompiler::AddProcedure(const std::string& name)
{
    procedures_.insert(name);
    ProcAddresses.Add(name);
    ProcAddresses.Add("");
}

int TCompiler::RegisterNumber(const std::string& text)
{
    if (text.size() < 2 || text.size() > 3 || (text[0] != 'R' && text[0] != 'r'))
        return -1;
    int n = 0;
    for (size_t i = 1; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            return -1;
        n = n * 10 + (text[i] - '0');
    }
    return n < 32 ? n : -1;
}

int TCompiler::VariableRegister(const std::string& name) const
{
    const int i = NameIndex(name);
    return i < 0 ? -1 : RegisterNumber(Names[i + 1]);
}

bool TCompiler::ParseBinary(const std::string& digits, int64_t& value)
{
    if (digits.empty())
        return false;
    value = 0;
    for (char c : digits) {
        if (c != '0' && c != '1')
            return false;
        value = value * 2 + (c - '0');
        if (value > 0xFFFFFFFFll)
            return false;
    }
    return true;
}

bool TCompiler::ParseBitReference(const std::string& text, TBitReference& ref) const
{
    std::string t = text;
    if (const int i = NameIndex(t); i >= 0)
        t = Names[i + 1];
    const size_t dot = t.find('.');
    if (dot == std::string::npos)
        return false;
    std::string name = t.substr(0, dot);
    if (const int i = NameIndex(name); i >= 0)
        name = Names[i + 1];
    std::string bit = t.substr(dot + 1);
    if (const int i = NameIndex(bit); i >= 0)
        bit = Names[i + 1];
    const auto value = NumberValue(bit);
    if (!value || *value < 0)
        return false;
    ref.Name = AnsiUpperCase(name);
    ref.Bit = *value;
    return true;
}

TCompiler::TOperand TCompiler::ClassifyOperand(const std::string& text) const
{
    TOperand o;
    std::string t = text;
    if (const int i = NameIndex(t); i >= 0)
        t = Names[i + 1];
    const std::string resolved = t;
    o.Text = t;
    if (t.empty())
        return o;
    if (IsProcedure(t)) {
        o.Kind = TOperandKind::Procedure;
        return o;
    }
    for (const auto& [prefix, kind] : {std::pair{"AREG", TOperandKind::ARegister},
                                       std::pair{"EREG", TOperandKind::ERegister}}) {
        if (t.size() > 4 && t.compare(0, 4, prefix) == 0) {
            const auto v = NumberValue(t.substr(4));
            if (v) {
                o.Kind = kind;
                o.Text = t.substr(4);
                o.Value = *v;
                return o;
            }
        }
    }
    if (const int r = RegisterNumber(t); r >= 0) {
        o.Kind = TOperandKind::Register;
        o.Value = r;
        return o;
    }
    if (t.size() > 2) {
        const std::string head = AnsiUpperCase(t.substr(0, 2));
        int64_t binary = 0;
        if (head == "0B" && ParseBinary(t.substr(2), binary)) {
            o.Text = IntToStr(binary);
            t = o.Text;
        } else if (head == "0X") {
            o.Text = "$" + t.substr(2);
            t = o.Text;
        } else if (t.size() == 3 && t[0] == '\'' && t[2] == '\'') {
            o.Text = IntToStr(static_cast<unsigned char>(t[1]));
            t = o.Text;
        }
    }
    const auto v = NumberValue(t);
    if (!v || *v == -1) {
        o.Text = resolved;
        return o;
    }
    o.Kind = TOperandKind::Constant;
    o.Value = *v;
    return o;
}

void TCompiler::Error(const std::string& message)
{
    const int line = LineIndex < Lines.Count() ? LineIndex + 1 : EndOfTextLine(Lines);
    Errors.Add("Line " + IntToStr(line) + ": " + message);
    throw ParseError{};
}

void TCompiler::AddAsm(const std::string& line)
{
    AsmText.Add(line);
    asmOrigin_.push_back(std::min(LineIndex, Lines.Count()));
}

void TCompiler::Instr(const std::string& mnemonic, const std::string& operands)
{
    AddAsm("\t\t" + mnemonic + (operands.empty() ? std::string() : "\t" + operands));
}

void TCompiler::Label(const std::string& name) { AddAsm(name + ":"); }

void TCompiler::Compile()
{
    Errors.Clear();
    Names.Clear();
    nameIndex_.clear();
    ProcAddresses.Clear();
    procedures_.clear();
    // Text left by a compile that failed must not be assembled with this one.
    AsmText.Clear();
    asmOrigin_.clear();
    compiled_.clear();
    LastAsmText.Clear();
    Listing.Clear();
    LastCommentLine = -1;
    inBody_ = false;
    ElseAllowed = false;
    lastIfEnd_ = -1;
    pos_ = 1;

    const int directive = FindDirective();
    if (directive < 0) {
        Errors.Add("Compile error. Directive [DEVICE] not found");
        return;
    }
    try {
        LineIndex = directive + 1;
        if (LineIndex >= Lines.Count())
            Error("Unexpected end of file.");
        NextRegister = 1;
        ProcScanLine = LineIndex;
        ScanProcedures();
        Blocks.Clear();
        AddAsm(";" + Lines[LineIndex]);
        LastCommentLine = LineIndex;
        ParseTopLevel();
        Assemble();
    } catch (const ParseError&) {
    }
    LastAsmText = std::move(AsmText);
    AsmText.Clear();
    asmOrigin_.clear();
}

void TCompiler::Assemble()
{
    // A procedure named "PROC..." makes labels such as "PROCX_Label0" that
    // can meet another procedure's "procX_Label0": both would be one label.
    std::unordered_set<std::string> labels;
    for (int i = 0; i < AsmText.Count(); ++i) {
        const std::string& line = AsmText[i];
        if (line.empty() || line[0] == ';' || line[0] == '\t' || line.back() != ':')
            continue;
        const std::string name = AnsiUpperCase(line.substr(0, line.size() - 1));
        if (!labels.insert(name).second) {
            LineIndex = asmOrigin_[static_cast<size_t>(i)];
            Error("Label \"" + name + "\" is defined twice; rename a procedure.");
        }
    }

    TAsmCompiler assembler;
    assembler.Source = std::move(AsmText);
    const bool ok = assembler.Assemble();
    AsmText = std::move(assembler.Source);
    Listing = std::move(assembler.Listing);
    if (!ok) {
        const int line = assembler.ErrorLine >= 0 && assembler.ErrorLine < static_cast<int>(asmOrigin_.size())
                             ? asmOrigin_[static_cast<size_t>(assembler.ErrorLine)]
                             : Lines.Count();
        LineIndex = line;
        Error(assembler.ErrorMessage);
    }

    ProcAddresses.Clear();
    std::unordered_set<std::string> listed;
    for (int i = 0; i + 1 < assembler.Labels.Count(); i += 2) {
        const std::string& label = assembler.Labels[i];
        if (label.size() <= 4 || label.compare(0, 4, "PROC") != 0)
            continue;
        const std::string name = label.substr(4);
        // Only procedures' own labels: a procedure named "PROC..." also
        // makes "<name>_Label<k>" labels that begin with "PROC".
        if (!compiled_.count(name) || !listed.insert(name).second)
            continue;
        ProcAddresses.Add(name);
        ProcAddresses.Add(assembler.Labels[i + 1]);
    }
    CodeLength = assembler.Address;
    std::fill(Code.begin(), Code.end(), 0);
    std::copy_n(assembler.Code.begin(), std::min<size_t>(static_cast<size_t>(CodeLength), Code.size()),
                Code.begin());
}
