#pragma once
// Language files (Languages\*.lng beside the program) and the tables they
// fill: the interface texts by tag (LanguageTexts) and the numbered messages
// (MessageTexts) of engine/Global.h. Windows read them only through
// engine/LanguageTexts.h.
#include "platform/StringList.h"

#include <optional>
#include <span>
#include <string>
#include <vector>

// The built-in language: its texts need no file.
extern const char* const EnglishLanguageName;

// Pairs of language name and bare file name, in folder listing order.
extern TStringList LanguageList;
// Captions of the buffer view's status line and of a buffer without a chip.
extern std::string AddressLabelText;
extern std::string DataLabelText;
extern std::string EditorLabelText;

// The captions above and their keys in the "Buffer" section of a language
// file; the default is the caption when the file lacks the key.
struct TBufferCaption {
    std::string* Text;
    const char* Key;
    std::string Default;
};
std::span<const TBufferCaption> BufferCaptionTable();
// Sets the captions to their defaults.
void ResetBufferCaptions();

// One text of a tag's group: its key in the tag's section and the text used
// when the file lacks the key.
struct TLanguageKey {
    const char* Key;
    const char* Default; // UTF-8 here; the table turns it into code page 1251
};
struct TLanguageTag {
    const char* Tag;     // the tag line, e.g. "[MAIN_MENU]"
    const char* Section; // section of the language file
    std::vector<TLanguageKey> Keys; // in offset order: Keys[k - 1] is offset k
};
// The interface text table in file order: one load appends, for every tag,
// the tag line and then its texts.
const std::vector<TLanguageTag>& InterfaceTextTable();
// Number of LanguageTexts entries one load appends (tag lines and texts).
int InterfaceTextEntryCount();

struct TMessageKey {
    const char* Section;
    const char* Key;
    const char* Default;
};
// Where message n is read from, and its default when the file lacks it.
const std::vector<TMessageKey>& MessageKeyTable();

// The language name that a file's first line declares: the line without
// surrounding blanks must be "[" name "]". Nothing for any other line.
std::optional<std::string> LanguageNameFromLine(const std::string& line);

// Rebuilds LanguageList from the "*.lng" files of the Languages folder.
void ScanLanguageFiles();

// Appends the file's interface texts and messages to the tables and sets the
// buffer captions. Does nothing and returns false when the name is not in
// LanguageList or its file has gone.
bool LoadLanguageFile(const std::string& name);

// The start-up sequence for the chosen language (an empty name counts as
// not English): list the files, load the language or the built-in English
// messages, reset the buffer captions, and load the file once more so that
// its captions win. A language that cannot be loaded falls back to the
// built-in English messages, so that messages never come up empty.
void SetUpLanguageTables(const std::string& languageName);
