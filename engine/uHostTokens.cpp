#include "engine/uHostParser.h"
#include "platform/Cp1251.h"
#include "platform/SysUtils.h"

#include <cstring>

namespace {

struct TCompileStop {};

const char* const kReservedWords[] = {"IF",    "WHILE", "ELSE", "DEFINE", "RETURN", "UART", "BREAK",
                                      "SETUPUART", "FBUF", "FSEL", "EBUF", "ESEL", "FINDSIGNATURE"};
const char* const kPortNames[] = {"USB", "PBPOS", "PBMAX", "UART", "RTS", "DTR", "PD", "PS", "PC"};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

} // namespace

bool IsHostReservedWord(const std::string& word)
{
    for (const char* w : kReservedWords)
        if (word == w)
            return true;
    return false;
}

bool IsHostDelimiter(char c)
{
    return c != 0 && std::strchr("!&'()*+,-/;<=>^{|}~\"", c) != nullptr;
}

bool THostParser::Parse(int hostLine)
{
    line_ = hostLine + 1;
    column_ = 0;
    procNames_.insert(host_.ProcNames.begin(), host_.ProcNames.end());
    try {
        for (;;) {
            const std::string t = NextToken();
            if (t.empty() || t[0] == '[')
                break;
            if (t == "//")
                SkipLine();
            else if (t == "DEFINE")
                ParseDefine();
            else if (t == "DIM")
                ParseDim();
            else if (t == "PROC")
                ParseProc();
            else
                Fail("Procedure expected, but expression \"" + t + "\" was found.");
        }
    } catch (const TCompileStop&) {
        return false;
    }
    return true;
}

std::string THostParser::LinePrefix(const char* word) const
{
    return std::string(word) + " " + IntToStr(tokenLine_) + ": ";
}

void THostParser::Fail(const std::string& message)
{
    FailRaw(LinePrefix("Line") + message);
}

void THostParser::FailRaw(const std::string& message)
{
    host_.Errors.Add(message);
    throw TCompileStop();
}

// Reads across line ends; every line the tokenizer moves onto is copied into
// the assembly text as a comment, so that the listing follows the source.
std::string THostParser::NextToken()
{
    const TStringList& source = host_.Source;
    for (;;) {
        if (line_ >= source.Count()) {
            tokenLine_ = TCompiler::EndOfTextLine(source);
            return std::string();
        }
        const std::string& s = source[line_];
        if (commentedLine_ != line_) {
            commentedLine_ = line_;
            if (!s.empty())
                host_.AsmText.Add(";" + s);
        }
        while (column_ < s.size() && IsBlank(s[column_]))
            ++column_;
        if (column_ >= s.size()) {
            ++line_;
            column_ = 0;
            continue;
        }
        tokenLine_ = line_ + 1;
        const size_t start = column_;
        const char c = s[start];
        if (c == '"' || c == '\'') {
            const size_t close = s.find(c, start + 1);
            column_ = close == std::string::npos ? s.size() : close + 1;
            return s.substr(start, column_ - start);
        }
        if (IsHostDelimiter(c)) {
            const char n = start + 1 < s.size() ? s[start + 1] : 0;
            if (c == '!' && n == '=') {
                column_ += 2;
                return "<>";
            }
            if ((c == '<' && (n == '<' || n == '>' || n == '=')) || (c == '>' && n == '>') ||
                (c == '+' && n == '+') || (c == '-' && n == '-') || (c == '/' && n == '/')) {
                column_ += 2;
                return s.substr(start, 2);
            }
            ++column_;
            return std::string(1, c);
        }
        while (column_ < s.size() && !IsBlank(s[column_]) && !IsHostDelimiter(s[column_]))
            ++column_;
        return AnsiUpperCase(s.substr(start, column_ - start));
    }
}

std::string THostParser::Next()
{
    std::string t = NextToken();
    if (t.empty())
        Fail("Unexpected end of file.");
    return t;
}

void THostParser::SkipLine()
{
    if (line_ < host_.Source.Count())
        column_ = host_.Source[line_].size();
}

void THostParser::Expect(const std::string& token, const std::string& messageStart, const std::string& messageEnd)
{
    const std::string t = Next();
    if (t != token)
        Fail(messageStart + t + messageEnd);
}

void THostParser::ExpectSemicolon()
{
    Expect(";", "Semicolon is expected, but expression \"", "\" was found.");
}

void THostParser::ExpectRoundBracket(const char* bracket)
{
    Expect(bracket, "Round bracket is expected, but expression \"", "\" was found.");
}

namespace {

bool ParseBinary(const std::string& digits, uint32_t& value)
{
    if (digits.empty() || digits.size() > 32)
        return false;
    value = 0;
    for (char c : digits) {
        if (c != '0' && c != '1')
            return false;
        value = (value << 1) | static_cast<uint32_t>(c - '0');
    }
    return true;
}

// Constants of the script; 0xFFFFFFFF is the conversion's answer for text
// that is not a number, so it cannot be written.
bool ParseConstant(const std::string& t, uint32_t& value)
{
    if (t.size() == 3 && t[0] == '\'' && t[2] == '\'') {
        value = static_cast<unsigned char>(t[1]);
        return true;
    }
    bool ok = false;
    if (t.size() > 2 && t[0] == '0' && t[1] == 'B') {
        ok = ParseBinary(t.substr(2), value);
    } else if (t.size() > 2 && t[0] == '0' && t[1] == 'X') {
        const auto v = TryStrToInt("$" + t.substr(2));
        ok = v.has_value();
        value = static_cast<uint32_t>(v.value_or(-1));
    } else if (!t.empty() && (t[0] == '$' || (t[0] >= '0' && t[0] <= '9'))) {
        const auto v = TryStrToInt(t);
        ok = v.has_value();
        value = static_cast<uint32_t>(v.value_or(-1));
    }
    return ok && value != 0xFFFFFFFFu;
}

} // namespace

TOperand THostParser::Classify(const std::string& token) const
{
    TOperand o;
    std::string t = token;
    if (const auto d = definitionValue_.find(t); d != definitionValue_.end())
        t = d->second;

    if (const size_t open = t.find('['); open != std::string::npos) {
        if (t.back() != ']' || t.size() < open + 2)
            return o;
        const std::string name = t.substr(0, open);
        o.Index = t.substr(open + 1, t.size() - open - 2);
        if (name == "FBUF")
            o.Kind = TOperandKind::FBuf;
        else if (name == "EBUF")
            o.Kind = TOperandKind::EBuf;
        else if (name == "FSEL")
            o.Kind = TOperandKind::FSel;
        else if (name == "ESEL")
            o.Kind = TOperandKind::ESel;
        else if (const int a = host_.Arrays.IndexOf(name); a >= 0) {
            o.Kind = TOperandKind::Array;
            o.Value = static_cast<uint32_t>(host_.Arrays[a].Number);
        }
        return o;
    }
    if (const size_t dot = t.find('.'); dot != std::string::npos) {
        std::string name = t.substr(0, dot);
        std::string bit = t.substr(dot + 1);
        if (const auto d = definitionValue_.find(name); d != definitionValue_.end())
            name = d->second;
        if (const auto d = definitionValue_.find(bit); d != definitionValue_.end())
            bit = d->second;
        const int v = host_.VarNames.IndexOf(name);
        if (v < 0 || bit.empty() || bit.size() > 2 || bit.find_first_not_of("0123456789") != std::string::npos)
            return o;
        const int b = std::stoi(bit);
        if (b > 31)
            return o;
        o.Kind = TOperandKind::Bit;
        o.Value = static_cast<uint32_t>(host_.VarNames[v].Number);
        o.Bit = b;
        return o;
    }
    for (uint32_t p = 0; p < sizeof(kPortNames) / sizeof(kPortNames[0]); ++p)
        if (t == kPortNames[p]) {
            o.Kind = TOperandKind::Port;
            o.Value = p;
            return o;
        }
    if (procNames_.count(t)) {
        o.Kind = TOperandKind::Procedure;
        o.Name = t;
        return o;
    }
    if (const int v = host_.VarNames.IndexOf(t); v >= 0) {
        o.Kind = TOperandKind::Variable;
        o.Value = static_cast<uint32_t>(host_.VarNames[v].Number);
        return o;
    }
    if (ParseConstant(t, o.Value))
        o.Kind = TOperandKind::Constant;
    return o;
}

// The compiler counts instructions as it writes them, so that a script too
// large for the machine is reported at the line that overflows it.
void THostParser::CountInstruction()
{
    if (++instructions_ > THost::MaxInstructions)
        Fail("Program is too big: more than " + IntToStr(THost::MaxInstructions) + " instructions.");
}

void THostParser::Emit(const char* mnemonic, uint32_t operand)
{
    CountInstruction();
    host_.AsmText.Add(std::string(mnemonic) + " " + IntToHex(operand, 8));
}

void THostParser::Emit(const char* mnemonic)
{
    CountInstruction();
    host_.AsmText.Add(mnemonic);
}

void THostParser::EmitJump(const char* mnemonic, const std::string& label)
{
    CountInstruction();
    host_.AsmText.Add(std::string(mnemonic) + " " + label);
}

void THostParser::EmitLabel(const std::string& label)
{
    host_.AsmText.Add(label + ":");
}

int THostParser::NewVariable()
{
    if (host_.VarCount >= THost::ArgumentBase)
        Fail("Too many variables: variable numbers must stay below " + IntToStr(THost::ArgumentBase) + ".");
    return host_.VarCount++;
}
