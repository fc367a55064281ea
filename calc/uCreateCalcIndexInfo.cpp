// A calculator's description and picture, found through "index.txt". The
// description is the "!" lines of the script's header: the lines after the
// title and before the first line of code (the one holding "SIZE").
#include "calc/uCalcPicture.h"
#include "calc/uCreateCalcIndex.h"

#include "platform/Cp1251.h"
#include "platform/Files.h"
#include "platform/IniFiles.h"
#include "platform/Paths.h"
#include "platform/RealPath.h"

#include <filesystem>

namespace {

// One line of a script with the bytes that end it ("", "\n" or "\r\n").
struct TScriptLine {
    std::string Text;
    std::string End;
    size_t Start = 0; // its byte offset in the script
};

struct TScriptLines {
    std::vector<TScriptLine> Lines;
    std::string Eol = "\r\n"; // for lines the save adds
    size_t Title = 0;         // index of the title line
    bool HasTitle = false;    // whether that line is one ("[" first), as the index reads it
    size_t HeaderEnd = 0;     // index of the first line of code (or the count)
    size_t CodeStart = 0;     // its byte offset: the code is kept byte for byte
};

bool IsCodeLine(const std::string& line)
{
    const std::string upper = AnsiUpperCase(line);
    return upper.find("SIZE") != std::string::npos || upper.find("4574") != std::string::npos;
}

TScriptLines SplitScript(const std::string& text)
{
    TScriptLines s;
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t end = std::min(text.find('\n', pos), text.size());
        TScriptLine line{text.substr(pos, end - pos), end < text.size() ? "\n" : "", pos};
        if (!line.End.empty() && !line.Text.empty() && line.Text.back() == '\r') {
            line.Text.pop_back();
            line.End = "\r\n";
        }
        s.Lines.push_back(std::move(line));
        pos = end + 1;
    }
    s.Title = s.Lines.size() > 1 && s.Lines[0].Text.empty() ? 1 : 0;
    s.HasTitle = s.Title < s.Lines.size() && !s.Lines[s.Title].Text.empty() && s.Lines[s.Title].Text[0] == '[';
    s.HeaderEnd = s.Lines.size();
    s.CodeStart = text.size();
    // Without a title the header is empty when the script starts with code.
    for (size_t i = s.HasTitle ? s.Title + 1 : 0; i < s.Lines.size(); ++i)
        if (!s.Lines[i].Text.empty() && s.Lines[i].Text[0] != '!' && IsCodeLine(s.Lines[i].Text)) {
            s.HeaderEnd = i;
            s.CodeStart = s.Lines[i].Start;
            break;
        }
    for (const TScriptLine& line : s.Lines)
        if (!line.End.empty()) {
            s.Eol = line.End;
            break;
        }
    return s;
}

// The line end the save gives a line: the file's own, but never one that
// would join a CR at the line's end into a CR LF and so take it away.
std::string AddedEnd(const std::string& text, const std::string& eol)
{
    return !text.empty() && text.back() == '\r' ? "\r\n" : eol;
}

// A "File=" value names a script inside the calculators folder: a relative
// path of plain names, the last one a "*.cal" file. Anything else (a "..",
// a path from the root, another kind of file) is no calculator of the index.
bool ScriptInsideFolder(const std::string& file)
{
    if (file.empty() || file[0] == '\\' || file[0] == '/' || !AnsiSameText(ExtractFileExt(file), ".cal"))
        return false;
    size_t from = 0;
    while (from <= file.size()) {
        const size_t to = std::min(file.find_first_of("\\/", from), file.size());
        const std::string part = file.substr(from, to - from);
        if (part.empty() || part == "." || part == "..")
            return false;
        from = to + 1;
    }
    return true;
}

} // namespace

std::string CalculatorFile(const std::string& path)
{
    const std::string index = NativePath("Calculators\\index.txt");
    if (path.empty() || !FileExists(index))
        return {};
    const std::string file = TIniFile(index).ReadString(path, "File", "");
    if (!ScriptInsideFolder(file))
        return {};
    // The text stays inside; where it leads must too: neither a linked
    // script nor a linked folder on the way may reach past the folder.
    const std::string script = ProgramFolder() + "\\Calculators\\" + file;
    std::string real;
    if (!ResolvesInside(NativePath(script), NativePath("Calculators"), &real) ||
        !AnsiSameText(ExtractFileExt(real), ".cal") || !std::filesystem::is_regular_file(real))
        return {};
    return script;
}

void GetCalculatorInfo(std::string& picture, const std::string& path, std::string& description)
{
    description.clear();
    std::string text;
    const std::string file = CalculatorFile(path);
    if (!file.empty() && ReadWholeFile(NativePath(file), text)) {
        const TScriptLines s = SplitScript(text);
        for (size_t i = s.Title + 1; i < s.HeaderEnd; ++i)
            if (!s.Lines[i].Text.empty() && s.Lines[i].Text[0] == '!')
                description += s.Lines[i].Text.substr(1) + "\r\n";
    }
    picture = FindPictureFile(CalculatorPictureBase(path));
}

bool SaveCalculatorDescription(const std::string& path, const TStringList& memo, std::string* error)
{
    const auto refuse = [error](const std::string& reason) {
        if (error)
            *error = reason;
        return false;
    };
    const std::string file = CalculatorFile(path);
    if (file.empty())
        return refuse("The calculator " + path + " is not in the index: refresh the calculators");
    std::string text;
    if (!ReadWholeFile(NativePath(file), text))
        return refuse("Cannot read the calculator " + file);
    const TScriptLines s = SplitScript(text);
    // The description goes under the title: a script without one is no
    // calculator any more (emptied since the index was made).
    if (!s.HasTitle)
        return refuse("The calculator " + file + " has no title line to put the description under");
    // Header lines in their new order, each keeping its own line end.
    std::vector<TScriptLine> head(s.Lines.begin(), s.Lines.begin() + static_cast<long>(s.Title) + 1);
    std::vector<TScriptLine> others;
    for (size_t i = s.Title + 1; i < s.HeaderEnd; ++i) {
        const TScriptLine& line = s.Lines[i];
        if (!line.Text.empty() && (line.Text[0] == '#' || line.Text[0] == '@'))
            head.push_back(line);
        else if (line.Text.empty() || line.Text[0] != '!')
            others.push_back(line);
    }
    for (const std::string& line : memo)
        head.push_back({"!" + line, AddedEnd(line, s.Eol)});
    head.insert(head.end(), others.begin(), others.end());
    std::string out;
    for (size_t i = 0; i < head.size(); ++i) {
        // The file's last line went without a line end: it still may when
        // nothing follows it.
        const bool endless = i + 1 == head.size() && s.CodeStart == text.size();
        out += head[i].Text + (head[i].End.empty() && !endless ? AddedEnd(head[i].Text, s.Eol) : head[i].End);
    }
    out.append(text, s.CodeStart, std::string::npos);
    if (!WriteWholeFileSafely(NativePath(file), out))
        return refuse("Cannot write the description into " + file);
    return true;
}
