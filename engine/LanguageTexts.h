#pragma once
// The one road by which every window and message box gets its language text:
// interface texts by tag and offset from LanguageTexts, numbered messages
// from MessageTexts (both in engine/Global.h). Texts are code page 1251.
#include "platform/StringList.h"

#include <string>

// Number of messages in the message table (0 .. MessageCount - 1).
constexpr int MessageCount = 17;

// Message numbers as the callers use them.
enum MessageNumber : int {
    msgPowerPinsError = 0,
    msgProcedureNotFound = 1,
    msgErrorExecuteCommand = 2,
    msgPatternNotFound = 3,
    msgProgrammerNotPresent = 4,
    msgPowerVoltageNotDefined = 5,
    msgIncorrectAddress = 6,
    msgPowerOverload = 7,
    msgDeviceNotFound = 8,
    msgNoPicture = 9,
    msgReloadFile = 10,
    msgAckWrite = 11,
    msgAckWriteChanges = 12,
    msgSaveScriptParam = 13,
    msgSaveBeforeExit = 14,
    msgWrongSize = 15,
    msgSaveBeforeLoad = 16,
};

// Appends a tag line to a text table, marked as one: only tag lines are
// searched for tags, so a text that looks like a tag (a caption "[print]")
// is never taken for one.
void AddLanguageTag(TStringList& texts, const std::string& tag);

// Index of the first tag line in LanguageTexts equal to `tag` without regard
// to case ("[Language]" finds "[LANGUAGE]"), -1 when absent.
int LanguageTagIndex(const std::string& tag);

// Text `offset` of a tag's group: entry index + offset of LanguageTexts. When
// the tag is absent (English, or no file loaded) or the entry is missing,
// `def` (the window's own caption) is returned.
std::string LanguageText(const std::string& tag, int offset, const std::string& def);

// One tag's group, looked up once for a window that relabels many controls.
class TLanguageGroup {
public:
    explicit TLanguageGroup(const std::string& tag) : index_(LanguageTagIndex(tag)) {}
    bool Found() const { return index_ >= 0; }
    std::string Text(int offset, const std::string& def) const;

private:
    int index_;
};

// Message n of MessageTexts. A table without entry n (a language file that
// could not be loaded leaves it empty) yields the built-in English message,
// so that no message box ever comes up blank.
std::string MessageText(int n);

// Built-in English message n (empty outside 0 .. MessageCount - 1).
std::string BuiltInEnglishMessage(int n);
// Appends the built-in English messages in number order.
void AppendBuiltInEnglishMessages(TStringList& messages);
