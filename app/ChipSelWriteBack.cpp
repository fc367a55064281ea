#include "app/ChipSelWriteBack.h"

#include "app/ChipSel.h"
#include "app/MainWriteBack.h"
#include "engine/Modules.h"
#include "engine/ModulesReader.h"
#include "platform/Cp1251.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "platform/RealPath.h"
#include "platform/SysUtils.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

struct TTextLine {
    std::string Text;
    std::string Eol; // the line's own line end; empty on a last line without one
};

// Lines cut where TStringList::SetText cuts them (CR LF, LF or CR), so that
// line numbers agree with the module reader's.
std::vector<TTextLine> splitLines(const std::string& bytes)
{
    std::vector<TTextLine> lines;
    size_t start = 0;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r' && bytes[i] != '\n')
            continue;
        const size_t eolLength = bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n' ? 2 : 1;
        lines.push_back({bytes.substr(start, i - start), bytes.substr(i, eolLength)});
        i += eolLength - 1;
        start = i + 1;
    }
    if (start < bytes.size())
        lines.push_back({bytes.substr(start), std::string()});
    return lines;
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

size_t skipBlanks(const std::string& s, size_t i)
{
    while (i < s.size() && isBlank(s[i]))
        ++i;
    return i;
}

// End of the token at i by the module tokenizer's rules; a sign ends at i.
size_t tokenEnd(const std::string& s, size_t i)
{
    if (i >= s.size() || modules::IsSignChar(s[i]))
        return i;
    if (s[i] == '"') {
        const size_t close = s.find('"', i + 1);
        return close == std::string::npos ? s.size() : close + 1;
    }
    while (i < s.size() && !isBlank(s[i]) && !modules::IsSignChar(s[i]))
        ++i;
    return i;
}

// The statement gets the new value and a ";" after it. The old value goes,
// with any stray text between it and its ";"; everything else of the line
// stays: what stands before the value, after the ";" (a comment), and after
// the value of a statement that has no ";", where a section header may be
// mentioned. Text holding "[" is never removed either, since the sections
// are found by such mentions anywhere in a line: with one gone, the next
// write-back would find the file's sections elsewhere or not at all.
std::string rewriteStatement(const std::string& line, const std::string& value)
{
    const size_t keyEnd = tokenEnd(line, skipBlanks(line, 0));
    const size_t equals = skipBlanks(line, keyEnd);
    if (equals >= line.size() || line[equals] != '=')
        return line.substr(0, keyEnd) + " = " + value + ";" + line.substr(keyEnd);
    const size_t valueStart = skipBlanks(line, equals + 1);
    const size_t valueEnd = tokenEnd(line, valueStart);
    const size_t semicolon = line.find(';', valueEnd);
    size_t end = semicolon == std::string::npos ? valueEnd : semicolon + 1;
    if (line.find('[', valueStart) < end)
        end = valueStart;
    return line.substr(0, valueStart) + value + ";" + line.substr(end);
}

// The statements of [DESCRIPTION] that name `key`, and the line after which
// a missing one goes: the section's last statement line, else its header.
struct TSectionScan {
    std::vector<int> Statements;
    int InsertAfter = -1;
};

TSectionScan scanDescription(const TStringList& lines, int header, const std::string& key)
{
    TSectionScan scan;
    scan.InsertAfter = header;
    for (int i = header + 1; i < lines.Count() && !modules::IsSectionHeader(lines[i]); ++i) {
        if (modules::IsCommentLine(lines[i]) || Trim(lines[i]).empty())
            continue;
        scan.InsertAfter = i;
        modules::TLineReader reader(lines, i);
        const std::string first = AnsiUpperCase(reader.NextToken());
        if (first == key) {
            scan.Statements.push_back(i);
        } else if (first == "INFO" && reader.NextToken() == "=") {
            // The reader takes an INFO list's continuation lines as part of
            // it, never as statements.
            TStringList items;
            modules::ReadValueList(reader, items);
            i = reader.Index();
            scan.InsertAfter = i;
        }
    }
    return scan;
}

void setStatement(std::vector<TTextLine>& file, int header, const std::string& key, const std::string& value)
{
    TStringList lines;
    for (const TTextLine& line : file)
        lines.Add(line.Text);
    const TSectionScan scan = scanDescription(lines, header, key);
    for (int i : scan.Statements)
        file[static_cast<size_t>(i)].Text = rewriteStatement(file[static_cast<size_t>(i)].Text, value);
    if (!scan.Statements.empty())
        return;
    TTextLine& before = file[static_cast<size_t>(scan.InsertAfter)];
    TTextLine added{key + " = " + value + ";", before.Eol};
    if (before.Eol.empty())
        before.Eol = file.size() > 1 ? file.front().Eol : std::string("\r\n");
    file.insert(file.begin() + scan.InsertAfter + 1, added);
}

bool refuse(const std::string& moduleFile, const std::string& why)
{
    ShowMessageBox("The defaults were not saved: " + why + "\n" + moduleFile, "Save", MB_OK | MB_ICONERROR);
    return false;
}

} // namespace

std::string PinTestText(uint8_t mask)
{
    std::string text;
    for (int line = 8; line >= 1; --line)
        text += (mask >> (line - 1)) & 1 ? '1' : '0';
    return text;
}

bool WriteModuleDefaults(const std::string& moduleFile, const std::string& voltage, uint8_t pinTestMask)
{
    return WriteModuleDefaults(moduleFile, TModuleDefaults{voltage, pinTestMask, std::nullopt});
}

bool WriteModuleDefaults(const std::string& moduleFile, const TModuleDefaults& defaults)
{
    if (!defaults.Voltage.empty() && TModuleInfo().Voltages.IndexOf(defaults.Voltage) < 0)
        return refuse(moduleFile, "\"" + defaults.Voltage + "\" is not a supply voltage of the modules.");
    std::string realFile;
    if (!ResolvesInside(NativePath(moduleFile), NativePath(ScriptsFolder()), &realFile))
        return refuse(moduleFile, "the file is missing or not in the scripts folder.");
    std::string bytes;
    if (!ReadWholeFile(realFile, bytes))
        return refuse(moduleFile, "the file cannot be read.");

    std::vector<TTextLine> file = splitLines(bytes);
    TStringList lines;
    for (const TTextLine& line : file)
        lines.Add(line.Text);
    if (defaults.Controls) {
        if (modules::FindSection(lines, "[INTERFACE]") < 0 && modules::FindSection(lines, "[INTERFACE WINDOW]") < 0)
            return refuse(moduleFile, "the file has no [INTERFACE] or [INTERFACE WINDOW] section.");
        TModuleInfo module;
        module.LoadFromText(bytes, moduleFile);
        WriteControlDefaults(lines, module, *defaults.Controls);
        for (size_t i = 0; i < file.size(); ++i)
            file[i].Text = lines[static_cast<int>(i)];
    }
    const bool description = !defaults.Voltage.empty() || defaults.PinTestMask;
    const int header = description ? modules::FindSection(lines, "[DESCRIPTION]") : -1;
    if (description && header < 0 && !defaults.Controls)
        return refuse(moduleFile, "the file has no [DESCRIPTION] section.");
    if (header >= 0 && !defaults.Voltage.empty())
        setStatement(file, header, "VOLTAGE", defaults.Voltage);
    if (header >= 0 && defaults.PinTestMask)
        setStatement(file, header, "PINTEST", PinTestText(*defaults.PinTestMask));
    std::string text;
    for (const TTextLine& line : file)
        text += line.Text + line.Eol;
    if (!WriteWholeFileSafely(realFile, text))
        return refuse(moduleFile, "the file cannot be written; it was left as it was.");
    return true;
}
