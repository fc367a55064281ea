#pragma once
// The parse stage of the host script compiler: tokenizer, operand classes
// and code generation into THost::AsmText. Used by THost::CompileSource only.
#include "engine/uHost.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>

enum class TOperandKind { None, Constant, Variable, Port, Procedure, Bit, FBuf, EBuf, FSel, ESel, Array };

struct TOperand {
    TOperandKind Kind = TOperandKind::None;
    uint32_t Value = 0;   // constant, variable number, port, array base
    int Bit = 0;          // bit of a bit variable
    std::string Index;    // index text of a buffer, match bit or array cell
    std::string Name;     // procedure name
};

class THostParser {
public:
    explicit THostParser(THost& host) : host_(host) {}
    // Parses the [HOST] section that starts after line `hostLine`; false
    // after the first error (already in host.Errors).
    bool Parse(int hostLine);

private:
    // Stops the parse: the message goes to Errors with the "Line <n>: " prefix
    // (FailRaw: as it stands).
    [[noreturn]] void Fail(const std::string& message);
    [[noreturn]] void FailRaw(const std::string& message);
    std::string LinePrefix(const char* word) const;

    // ---- tokenizer (uHostTokens.cpp) ----
    std::string NextToken();
    // The next token inside a statement: running out of text is an error.
    std::string Next();
    void SkipLine();
    void Expect(const std::string& token, const std::string& messageStart, const std::string& messageEnd);
    void ExpectSemicolon();
    void ExpectRoundBracket(const char* bracket);
    TOperand Classify(const std::string& token) const;
    bool IsDefinitionName(const std::string& name) const { return definitionValue_.count(name) != 0; }

    // ---- code ----
    void CountInstruction();
    void Emit(const char* mnemonic, uint32_t operand);
    void Emit(const char* mnemonic);
    void EmitJump(const char* mnemonic, const std::string& label);
    void EmitLabel(const std::string& label);
    int NewVariable();

    // ---- top level (uHostCompile.cpp) ----
    void ParseDefine();
    void ParseDim();
    // An array of a given size; `external` is the row in Arrays of the
    // parameter list's array of that name, or -1.
    void DimensionBySize(const std::string& name, int external, const std::string& sizeText);
    // An array of the initial values in braces.
    void DimensionByValues(const std::string& name);
    void ParseProc();
    void ParseParameters();
    void CheckNewVariableName(const std::string& name, const char* duplicateMessage);

    // ---- statements (uHostStatements.cpp) ----
    void ParseBody();
    bool CloseBlock();
    void ParseVar();
    void ParseReturn();
    void ParseWhile();
    void ParseBreak();
    void ParseIf();
    void ParseElse();
    void ParseCondition(bool isIf, const std::string& endLabel);
    void ParseRun();
    void ParsePrint();
    void ParseSetupUart();
    void ParseDelay();
    void LoadArgumentOf();
    void ParseCall(const std::string& name);

    // ---- assignments (uHostAssign.cpp) ----
    void ParseTarget(const std::string& token, const TOperand& target);
    void ParseBitTarget(const TOperand& target);
    // Code that sets a buffer or match-bit address register from the index.
    void EmitIndex(const char* immediate, const char* fromVariable, const TOperand& cell);
    // Code that sets APtr to an array cell (through the index scratch).
    void EmitArrayIndex(const TOperand& cell);
    // Loads a readable operand into A.
    void EmitLoad(const std::string& token, const TOperand& operand);
    void EmitStore(const TOperand& target);
    // Right side of an assignment into A; true when it is a single constant
    // or variable (`first`), whose one load line (AsmText index loadLine)
    // can then follow an array index computation instead.
    bool ParseRightSide(TOperand& first, int& loadLine);

    THost& host_;
    int line_ = 0;            // tokenizer line (index into Source)
    size_t column_ = 0;       // tokenizer position in that line
    int commentedLine_ = -1;  // last line copied into AsmText
    int tokenLine_ = 0;       // 1-based line of the last token
    int instructions_ = 0;
    bool elseAllowed_ = false;
    int lastIfEnd_ = -1;      // AsmText index of the label line of the IF block just closed
    std::string procName_;
    int bitLabel_ = 0;
    int valueScratch_ = -1;   // variable that keeps a computed value across an array index
    std::unordered_map<std::string, std::string> definitionValue_;
    std::unordered_set<std::string> definitionTexts_;
    std::unordered_set<std::string> procNames_;
    std::unordered_set<std::string> declaredExternals_; // arrays of the parameter list declared by DIM
};

bool IsHostReservedWord(const std::string& word);
bool IsHostDelimiter(char c);
