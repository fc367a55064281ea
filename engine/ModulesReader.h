#pragma once
// Token reading over the lines of a module file, shared by the section
// readers of TModuleInfo and by ReadModuleLocation.
#include "platform/StringList.h"

#include <string>
#include <vector>

namespace modules {

// A position in a list of lines: the line and how much of it is taken.
// Lists and control lines may continue on the next line, so the reader
// moves on through the lines but never past the last one.
class TLineReader {
public:
    TLineReader(const TStringList& lines, int index) : lines_(lines), index_(index) {}

    int Index() const { return index_; }

    // The next token of the current line, empty at its end:
    // - TAB and space are blanks and are skipped before a token;
    // - each of ( ) , ; = is a token of its own;
    // - a token starting with a double quote runs to the next double quote or
    //   the end of the line and loses its quotes;
    // - any other token runs to the next blank or one-character sign.
    std::string NextToken();

    // Moves to the start of the next line; false (and no move) when the
    // current line is the last.
    bool NextLine();

    // Where the token last returned stands in the current line: from its
    // first character (a quoted token's opening quote) up to, not
    // including, End. For whoever edits a module in place.
    size_t TokenStart() const { return tokenStart_; }
    size_t TokenEnd() const { return pos_; }

private:
    const TStringList& lines_;
    int index_;
    size_t pos_ = 0;
    size_t tokenStart_ = 0;
};

// True for the characters that are tokens of their own.
bool IsSignChar(char c);

// Lines skipped in [DESCRIPTION] and [MENU]: empty, or "/" as the first or
// second character.
bool IsCommentLine(const std::string& line);
// A line starting with "[" ends [DESCRIPTION] and [MENU].
bool IsSectionHeader(const std::string& line);

// Index of the first line whose upper-cased text contains `name` (an
// upper-case header such as "[MENU]"), -1 when there is none. The
// description sections stand before [HOST]: a header after the first line
// that mentions [HOST] belongs to the scripts and is not found. Whoever
// edits a module's description (the defaults write-back) finds the section
// by this same rule.
int FindSection(const TStringList& lines, const std::string& name);

enum class TListEnd {
    Complete,  // ended by ";" with nothing after it on the line
    Cut,       // an item position held a sign: the items so far are kept
    Malformed, // the list was emptied
    EndOfFile, // a continuation was asked for after the last line: emptied
};

// Reads "item, item, ... ;" after the "=" of INFO and [MENU] lines into
// `list` (emptied first). A "," at the end of a line continues the list on
// the next line, which is consumed.
TListEnd ReadValueList(TLineReader& reader, TStringList& list);

// A token's place in the lines: line index and the columns it spans.
struct TTokenPlace {
    int Line = 0;
    size_t Start = 0;
    size_t End = 0;
};

enum class TControlEnd { Complete, Dropped, EndOfFile };

// The parameters of an [INTERFACE] control line after its "(": single
// tokens separated by ","; a parameter or separator missing at the end of a
// line is taken from the next line. After ")" a ";" completes the control,
// and any other token is a separator before further parameters. `places`,
// when given, gets each parameter's place.
TControlEnd ReadControlParameters(TLineReader& reader, TStringList& params,
                                  std::vector<TTokenPlace>* places = nullptr);

} // namespace modules
