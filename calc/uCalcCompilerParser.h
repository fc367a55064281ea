#pragma once
// The calculator compiler's working state for one compilation. Internal to
// the unit: CompileCalculator (uCalcCompiler.h) is its interface.
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "calc/uCalcCompilerImage.h"
#include "calc/uCalcCompilerMessages.h"
#include "calc/uCalcCompilerTokens.h"

// Compilation stops at the first error; the parser throws this, and only
// CompileCalculatorSource catches it.
struct TCalcCompileError {
    std::string Text;
};

enum class TCalcOperandKind {
    None,
    Procedure,
    Constant,
    Register,
    StringRegister,
    Control,
    ControlProperty,
    BufferAtConstant,
    BufferAtRegister,
    RandomOfConstant,
    RandomOfRegister,
};

struct TCalcOperand {
    TCalcOperandKind Kind = TCalcOperandKind::None;
    int64_t Value = 0;  // constant, register, control index or address
    char Letter = 0;    // record letter of a control
    int Property = 0;   // control property number
};

// One element of an expression in postfix order: an operand, a prefix
// ("@", "?") or a two-operand operator.
struct TCalcPostfixItem {
    TCalcOperand Operand;
    std::string Operator; // empty for an operand
    bool Prefix = false;
};

class TCalcCompiler {
public:
    explicit TCalcCompiler(const std::string& source);

    // Header, form and procedures; throws TCalcCompileError. Afterwards the
    // form image and the code listing are complete.
    void Parse();
    // The whole listing: form image, optimized code, string literals.
    std::vector<std::string> Listing() const;

    TCalcOperand ClassifyCalcOperand(const TCalcToken& token) const;
    std::vector<TCalcPostfixItem> CalcExpressionToPostfix(const std::vector<TCalcToken>& tokens) const;
    // Code for an expression; the result is a register, a constant or an
    // operand still to be loaded (a control, a buffer byte, a random number).
    TCalcOperand CompileCalcExpression(const std::vector<TCalcToken>& tokens);

private:
    // Tokens (uCalcCompiler.cpp).
    void Advance();
    bool AtEnd() const { return cur_.Kind == TCalcTokenKind::End; }
    [[noreturn]] void Fail(TCalcMsg msg, const std::string& detail = "") const;
    [[noreturn]] void FailQuoted(TCalcMsg msg, const std::string& token) const;
    [[noreturn]] void FailExpression(TCalcMsg msg, const std::string& detail = "") const;
    void Expect(const char* delimiter, TCalcMsg msg);
    uint16_t Field(TCalcMsg missingComma);
    std::vector<TCalcToken> TokensUpToSemicolon();

    // Header and form (uCalcCompilerForm.cpp).
    void ParseHeader();
    void ParseForm();
    void ParseGroup();
    void ParseControl(char letter, int numbers);
    std::string ItemText();
    void PutByte(uint8_t b);
    void PutField(uint16_t v);
    void PutBytes(const std::vector<uint8_t>& bytes);

    // Names and operands (uCalcCompilerOperands.cpp).
    bool IsNameInUse(const std::string& name) const;
    bool IsReservedName(const std::string& name) const;
    int RegisterNumber(const std::string& digits, TCalcMsg tooLarge, int limit) const;
    void ParseVar();

    // Code (uCalcCompilerExpr.cpp).
    void Emit(const std::string& line) { code_.push_back(line); }
    int NewTemp();
    void EmitConstantForm(const std::string& base, int reg, int64_t value);
    void LoadInto(int reg, const TCalcOperand& operand, const std::string& token);
    int InRegister(const TCalcOperand& operand, const std::string& token);

    // Procedures and statements (uCalcCompilerStatements.cpp).
    void ParseTopLevel();
    void ParseProcedure(const std::string& name);
    bool ParseStatement();
    void CloseBlock();
    void ParseCondition(const char* kind, int number);
    void ParseConditionSide(bool left);
    void ParseAssignment();
    void AssignNumeric(const TCalcOperand& target, const std::string& targetText);
    void AssignProperty(const TCalcOperand& target);

    // String assignment (uCalcCompilerStrings.cpp).
    void AssignString(const std::string& store, int targetNumber);
    size_t AppendStringPart(const std::vector<TCalcToken>& tokens, size_t i);
    size_t AppendFormatted(const std::vector<TCalcToken>& tokens, size_t i);
    int LiteralIndex(const std::string& text);

    std::vector<std::string> sourceLines_;
    TCalcTokenizer tokenizer_;
    TCalcToken cur_;
    int curLine_ = 0;
    size_t copiedLines_ = 0;

    std::vector<uint8_t> form_;
    int controlCount_ = 0;
    int nextVar_ = CalcFirstVarRegister;
    int nextTemp_ = 255;
    std::map<std::string, uint32_t> names_; // upper-cased name -> tag
    std::set<std::string> procedures_;
    std::vector<std::string> literals_;
    std::vector<std::pair<char, int>> blocks_; // 'I' IF, 'W' WHILE, 'E' ELSE; number
    int ifCount_ = 0;
    int whileCount_ = 0;
    int elseCount_ = 0;
    std::vector<std::string> code_;
};
