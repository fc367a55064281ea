#pragma once
// Tokens of calculator scripts.
#include <cstdint>
#include <optional>
#include <string>

enum class TCalcTokenKind { End, Word, Delimiter, Literal };

struct TCalcToken {
    TCalcTokenKind Kind = TCalcTokenKind::End;
    std::string Text; // words upper-cased; literals without their quotes
    bool Is(const char* delimiterOrWord) const
    {
        return Kind != TCalcTokenKind::Literal && Kind != TCalcTokenKind::End && Text == delimiterOrWord;
    }
};

// Reads the script text token by token. Line 1 (the title) and every line
// before the first SIZE that begins with "!" (a description line) are text,
// never tokens. After SIZE a "!" at a line's start is code, such as the "!="
// of a condition broken over two lines.
class TCalcTokenizer {
public:
    explicit TCalcTokenizer(const std::string& source) : source_(source) {}

    TCalcToken NextCalcToken();
    // Source lines passed so far (0-based number of the current line).
    int Line() const { return line_; }

private:
    void SkipBlanksAndComments();
    void SkipLine();
    void CountLineBreak();
    TCalcToken ReadLiteral();

    const std::string& source_;
    size_t pos_ = 0;
    int line_ = 0;
    bool atLineStart_ = true;
    bool sizeSeen_ = false;
};

// A number token: "0X" and hexadecimal digits, "$" and hexadecimal digits,
// or decimal digits that fit a signed 64-bit value. Anything else is not a
// number. Every value, -1 included, is a number.
std::optional<int64_t> ParseCalcNumber(const std::string& text);
