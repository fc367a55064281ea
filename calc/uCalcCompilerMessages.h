#pragma once
// The calculator compiler's messages: fixed Russian texts in code page 1251
// that no language file replaces.
#include <string>

enum class TCalcMsg {
    NoSize,            // alone
    BadSize,
    NoForm,            // alone
    NoBrace,
    NoFormCloseBrace,
    UnknownComponent,
    NoParen,
    NoComma,
    UnknownExpression,
    NoSemicolon,       // with a full stop
    NoSemicolonShort,  // without
    RepeatedControl,
    NoCommaOrParen,
    ElseWithoutIf,
    BreakWithoutWhile,
    BadTarget,
    NoEquals,
    NoCondParen,
    BadProcName,
    RepeatedProcName,
    BadOperandType,
    NoFormatLetter,
    BadFormatLetter,
    BadStringExpression,
    BadStringSymbol,
    UnexpectedEnd,
    UnknownCondition,
    NoVarName,
    RepeatedVarName,
    BadVarName,
    NoVarSeparator,
    // Expression errors.
    ExprUnknown,
    ExprBadType,
    ExprError,
    ExprParens,
    // Assembler.
    AsmLine,
    AsmRepeatedLabel,
    AsmUnknownMnemonic,
    // Limits the language leaves open.
    TooManyVars,
    ExprTooComplex,
    RegisterRange,
    StringRegisterRange,
    TooManyControls,
    NoComboItems,
    TextNotSupported,
    ImageTooLarge,
    AsmUnknownLabel,
    AsmBadOperand,
    AsmBadData,
    LinePrefix,
    FileNotFound,
};

// The message text in code page 1251.
const std::string& CalcMessage(TCalcMsg id);
