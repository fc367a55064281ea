// A calculator's description and picture, found through "index.txt". The
// description is the "!" lines of the script's header: the lines after the
// title and before the first line of code (the one holding "SIZE").
#include "calc/uCalcPicture.h"
#include "calc/uCreateCalcIndex.h"

#include "platform/Cp1251.h"
#include "platform/Files.h"
#include "platform/IniFiles.h"
#include "platform/Paths.h"

namespace {

struct TScriptLines {
    std::vector<std::string> Lines;
    std::string Eol = "\r\n";
    bool EndsWithEol = false;
    size_t Title = 0;     // index of the title line
    size_t HeaderEnd = 0; // index of the first line of code (or the count)
};

bool IsCodeLine(const std::string& line)
{
    const std::string upper = AnsiUpperCase(line);
    return upper.find("SIZE") != std::string::npos || upper.find("4574") != std::string::npos;
}

TScriptLines SplitScript(const std::string& text)
{
    TScriptLines s;
    if (text.find("\r\n") == std::string::npos && text.find('\n') != std::string::npos)
        s.Eol = "\n";
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t end = std::min(text.find('\n', pos), text.size());
        std::string line = text.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        s.Lines.push_back(std::move(line));
        s.EndsWithEol = end < text.size();
        pos = end + 1;
    }
    s.Title = s.Lines.size() > 1 && s.Lines[0].empty() ? 1 : 0;
    s.HeaderEnd = s.Lines.size();
    for (size_t i = s.Title + 1; i < s.Lines.size(); ++i)
        if (!s.Lines[i].empty() && s.Lines[i][0] != '!' && IsCodeLine(s.Lines[i])) {
            s.HeaderEnd = i;
            break;
        }
    return s;
}

std::string JoinScript(const TScriptLines& s)
{
    std::string text;
    for (size_t i = 0; i < s.Lines.size(); ++i)
        text += s.Lines[i] + (i + 1 < s.Lines.size() || s.EndsWithEol ? s.Eol : "");
    return text;
}

} // namespace

std::string CalculatorFile(const std::string& path)
{
    const std::string index = NativePath("Calculators\\index.txt");
    if (path.empty() || !FileExists(index))
        return {};
    const std::string file = TIniFile(index).ReadString(path, "File", "");
    return file.empty() ? std::string() : ProgramFolder() + "\\Calculators\\" + file;
}

void GetCalculatorInfo(std::string& picture, const std::string& path, std::string& description)
{
    description.clear();
    std::string text;
    const std::string file = CalculatorFile(path);
    if (!file.empty() && ReadWholeFile(NativePath(file), text)) {
        const TScriptLines s = SplitScript(text);
        for (size_t i = s.Title + 1; i < s.HeaderEnd; ++i)
            if (!s.Lines[i].empty() && s.Lines[i][0] == '!')
                description += s.Lines[i].substr(1) + "\r\n";
    }
    picture = FindPictureFile(CalculatorPictureBase(path));
}

bool SaveCalculatorDescription(const std::string& path, const TStringList& memo)
{
    const std::string file = CalculatorFile(path);
    std::string text;
    if (file.empty() || !ReadWholeFile(NativePath(file), text))
        return false;
    TScriptLines s = SplitScript(text);
    std::vector<std::string> lines(s.Lines.begin(), s.Lines.begin() + static_cast<long>(s.Title) + 1);
    std::vector<std::string> others;
    for (size_t i = s.Title + 1; i < s.HeaderEnd; ++i) {
        const std::string& line = s.Lines[i];
        if (!line.empty() && (line[0] == '#' || line[0] == '@'))
            lines.push_back(line);
        else if (line.empty() || line[0] != '!')
            others.push_back(line);
    }
    for (const std::string& line : memo)
        lines.push_back("!" + line);
    lines.insert(lines.end(), others.begin(), others.end());
    lines.insert(lines.end(), s.Lines.begin() + static_cast<long>(s.HeaderEnd), s.Lines.end());
    if (s.Lines.empty())
        s.EndsWithEol = true;
    s.Lines = std::move(lines);
    return WriteWholeFileSafely(NativePath(file), JoinScript(s));
}
