#include "calc/uCalcCompilerTokens.h"

#include <cstring>

#include "platform/Cp1251.h"
#include "platform/SysUtils.h"

namespace {

bool IsBlank(char ch)
{
    return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n';
}

bool IsDelimiter(char ch)
{
    return ch != '\0' && std::strchr("!#%&'()*+,-/;<=>?@^{|}~\"", ch) != nullptr;
}

bool IsPair(char a, char b)
{
    return (a == '<' && (b == '<' || b == '=')) || (a == '>' && (b == '>' || b == '=')) || (a == '!' && b == '=');
}

std::optional<int64_t> ParseHexDigits(const std::string& digits)
{
    if (digits.empty() || digits.size() > 16)
        return std::nullopt;
    uint64_t value = 0;
    for (char ch : digits) {
        const int d = HexDigitValue(ch);
        if (d < 0)
            return std::nullopt;
        value = (value << 4) | static_cast<uint64_t>(d);
    }
    return static_cast<int64_t>(value);
}

} // namespace

// A line break is CR, LF or CR LF: scripts written on either system number
// their lines alike.
void TCalcTokenizer::CountLineBreak()
{
    if (source_[pos_] == '\r' && pos_ + 1 < source_.size() && source_[pos_ + 1] == '\n')
        ++pos_;
    ++pos_;
    ++line_;
    atLineStart_ = true;
}

void TCalcTokenizer::SkipLine()
{
    while (pos_ < source_.size() && source_[pos_] != '\r' && source_[pos_] != '\n')
        ++pos_;
}

void TCalcTokenizer::SkipBlanksAndComments()
{
    while (pos_ < source_.size()) {
        const char ch = source_[pos_];
        if (atLineStart_ && (line_ == 0 || (!sizeSeen_ && ch == '!'))) {
            SkipLine();
            atLineStart_ = false;
        } else if (ch == '\r' || ch == '\n') {
            CountLineBreak();
        } else if (IsBlank(ch)) {
            ++pos_;
            atLineStart_ = false;
        } else if (ch == '/' && pos_ + 1 < source_.size() && source_[pos_ + 1] == '/') {
            SkipLine();
        } else {
            return;
        }
    }
}

TCalcToken TCalcTokenizer::ReadLiteral()
{
    TCalcToken token{TCalcTokenKind::Literal, {}};
    ++pos_;
    while (pos_ < source_.size() && source_[pos_] != '"') {
        if (source_[pos_] == '\r' || source_[pos_] == '\n') {
            token.Text += source_[pos_];
            if (source_[pos_] == '\r' && pos_ + 1 < source_.size() && source_[pos_ + 1] == '\n')
                token.Text += '\n';
            CountLineBreak();
            atLineStart_ = false;
            continue;
        }
        token.Text += source_[pos_++];
    }
    if (pos_ < source_.size())
        ++pos_;
    if (token.Text.empty())
        token.Text = " ";
    return token;
}

TCalcToken TCalcTokenizer::NextCalcToken()
{
    SkipBlanksAndComments();
    atLineStart_ = false;
    if (pos_ >= source_.size())
        return {};
    const char ch = source_[pos_];
    if (ch == '"')
        return ReadLiteral();
    if (IsDelimiter(ch)) {
        const size_t length = pos_ + 1 < source_.size() && IsPair(ch, source_[pos_ + 1]) ? 2 : 1;
        TCalcToken token{TCalcTokenKind::Delimiter, source_.substr(pos_, length)};
        pos_ += length;
        return token;
    }
    const size_t start = pos_;
    while (pos_ < source_.size() && !IsBlank(source_[pos_]) && !IsDelimiter(source_[pos_]))
        ++pos_;
    TCalcToken word{TCalcTokenKind::Word, AnsiUpperCase(source_.substr(start, pos_ - start))};
    if (word.Text == "SIZE")
        sizeSeen_ = true;
    return word;
}

std::optional<int64_t> ParseCalcNumber(const std::string& text)
{
    const std::string t = AnsiUpperCase(text);
    if (t.compare(0, 2, "0X") == 0)
        return ParseHexDigits(t.substr(2));
    if (!t.empty() && t[0] == '$')
        return ParseHexDigits(t.substr(1));
    if (t.empty() || t.size() > 19)
        return std::nullopt;
    for (char ch : t)
        if (ch < '0' || ch > '9')
            return std::nullopt;
    return TryStrToInt64(t);
}
