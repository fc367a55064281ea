#pragma once
// Compiler of a module's [DEVICE] script into device byte code: the script
// becomes assembly text (AsmText), which TAsmCompiler turns into Code.
#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "platform/StringList.h"

class TCompiler {
public:
    TCompiler();

    TStringList Blocks;         // open blocks: "SUB", "WHILE<n>", "IF<n>", "ELSE<n>"
    int LastCommentLine = -1;   // module line last copied into AsmText as a comment
    int LineIndex = 0;          // module line being read (from 0)
    int ProcScanLine = 0;       // first line after the [DEVICE] directive
    int WhileCount = 0;         // label numbers; kept across compiles
    int IfCount = 0;
    int ElseCount = 0;
    bool ElseAllowed = false;   // only right after the "}" of an IF block
    TStringList Names;          // flat pairs: declared name, value text
    int NextRegister = 1;
    TStringList Lines;          // every line of the module file; the caller fills it
    TStringList Errors;         // "Line <n>: ..." messages; empty = success
    TStringList AsmText;        // generated assembly; cleared once assembled
    TStringList ProcAddresses;  // after a compile: flat pairs, upper-case name, start address
    std::vector<uint8_t> Code;  // device byte code image (2048 bytes)
    int CodeLength = 0;         // number of code bytes

    // The assembly text of the last compile that reached the assembler, and
    // the assembler's listing of it (kept for inspection; AsmText is cleared).
    TStringList LastAsmText;
    TStringList Listing;

    static constexpr int CodeSize = 2048;

    // The 1-based line that a message names when the text runs out: the one
    // after the last line. The host script compiler keeps the same rule.
    static int EndOfTextLine(const TStringList& lines) { return lines.Count() + 1; }

    // Compiles the [DEVICE] section of Lines.
    void Compile();

private:
    struct ParseError {};  // unwinds the parse after an error line was added

    enum class TOperandKind { None, Register, Constant, Procedure, ERegister, ARegister };
    struct TOperand {
        TOperandKind Kind = TOperandKind::None;
        std::string Text;  // as it goes into the assembly
        int32_t Value = 0; // register number, constant, E register code or A register number
    };
    struct TBitReference {
        std::string Name;  // upper case: "R<n>", "POUT", "PIN", "EP" or anything else
        int32_t Bit = 0;
    };

    // Tokens and operands.
    static std::string NextWord(const std::string& line, int& position);
    std::string NextToken();
    std::string Expect();  // NextToken; the end of the text is an error
    void SkipRestOfLine();
    int FindDirective() const;
    void ScanProcedures();
    static bool IsReservedWord(const std::string& word);
    static bool IsReservedSymbol(char c);
    int NameIndex(const std::string& name) const;
    void AddName(const std::string& name, const std::string& value);
    bool IsProcedure(const std::string& name) const;
    void AddProcedure(const std::string& name);
    int VariableRegister(const std::string& name) const;
    bool ParseBitReference(const std::string& text, TBitReference& ref) const;
    TOperand ClassifyOperand(const std::string& text) const;
    static bool ParseBinary(const std::string& digits, int64_t& value);
    static int RegisterNumber(const std::string& text);

    // Output.
    [[noreturn]] void Error(const std::string& message);
    void AddAsm(const std::string& line);
    void Instr(const std::string& mnemonic, const std::string& operands = {});
    void Label(const std::string& name);
    void Assemble();

    // Declarations, procedures and control flow.
    void ParseTopLevel();
    void ParseVar();
    void ParseERegister();
    void ParseARegister();
    void ParseDefine();
    void ParseProc();
    void CheckPortName(const std::string& name);
    int32_t ExpectConstant(const std::string& token);
    void ExpectToken(const char* token, const char* expected, bool wasFound = true);
    void ExpectComma();
    void ExpectSemicolon();
    void ExpectBrace();
    void CloseBlock(bool& procedureEnded);
    void ParseStatement(const std::string& token);
    void ParseWhile();
    void ParseIf();
    void ParseElse();
    void ParseBreak();
    void BitTest(const TBitReference& ref, const std::string& text);
    void ParseCondition(bool isWhile, const std::string& top);

    // Statements that move values (uCompilerStatements.cpp).
    TOperand ValueOperand(const std::string& token, const std::string& wrongKind);
    TOperand RegisterOperand(const std::string& token);
    int32_t ConstantArgument(const std::string& token, const std::string& wrongKind);
    void ParseAssignment(int reg);
    void ParseOperator(int reg, const TOperand& y);
    TOperand BufferIndex(const std::string& token);
    void ParseBufferWrite(const std::string& token);
    void ParseBitStatement(const std::string& token);
    // Bit statements write to a register, the output port or the E port.
    enum class TBitTarget { Register, Pout, Ep };
    struct TBitDestination {
        TBitReference Ref;
        TBitTarget Target = TBitTarget::Register;
    };
    TBitDestination ParseBitDestination(const std::string& token);
    void EmitBitWrite(const TBitDestination& dst, bool set);
    void ParseBitCopy(const TBitDestination& dst, const std::string& value);
    TOperand ParseSentValue(const std::string& equationExpected, bool ofExpression);
    void ParsePortRegisterWrite(const TOperand& target);
    void ParseLoadAndSend(const std::string& mnemonic, const std::string& prefix, bool isExpected, bool byAddress);
    void ParseDelay();
    void ParseBdmOp();
    void ParseEPortBit(bool isIn);
    void ParsePulse(const std::string& keyword);
    void ParseBusInit();
    void ParseBdmTransfer(bool isRead);

    int pos_ = 1;                       // column in Lines[LineIndex], from 1
    std::vector<int> asmOrigin_;        // module line of each AsmText line
    std::unordered_set<std::string> compiled_;  // procedures whose bodies were compiled
    std::unordered_set<std::string> procedures_; // names in ProcAddresses during the compile
    std::unordered_map<std::string, int> nameIndex_; // name -> its index in Names (first wins)
    std::string procName_;              // procedure being compiled
    int labelCounter_ = 0;              // <procedure>_Label<k> counter
    int lastIfEnd_ = -1;                // AsmText index of the last IF block's end label
    bool inBody_ = false;
};
