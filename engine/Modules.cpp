#include "engine/Modules.h"

#include "engine/ModulesReader.h"
#include "platform/Cp1251.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/SysUtils.h"

using modules::TLineReader;
using modules::TControlEnd;
using modules::TListEnd;

TModuleInfo::TModuleInfo()
    : Voltages{"2.8", "3.0", "3.3", "3.6", "4.0", "4.3", "4.6", "4.8", "5.0"}
{
}

int TModuleInfo::LoadFromFile(const std::string& fileName)
{
    std::string bytes;
    if (!ReadWholeFile(NativePath(fileName), bytes))
        return -1;
    LoadFromText(bytes, fileName);
    return 1;
}

void TModuleInfo::LoadFromText(const std::string& bytes, const std::string& fileName)
{
    fileName_ = fileName;
    for (auto& entry : Menu)
        entry.Clear();
    MenuCount = 0;
    Interface.Clear();
    ControlLines.clear();
    VccMask = 0;
    GndMask = 0;
    PinTestMask = 0xFF;
    UserWindow.Clear();
    Warnings.Clear();
    Lines.SetText(bytes);

    ReadDescription();
    ReadMenu();
    ReadInterface();
    ReadUserWindow();
}

int TModuleInfo::FindSection(const std::string& name) const { return modules::FindSection(Lines, name); }

std::string TModuleInfo::LineWarning(int lineIndex, const std::string& text) const
{
    return "Module " + fileName_ + ", line " + IntToStr(lineIndex + 1) + ": " + text;
}

void TModuleInfo::Warn(int lineIndex, const std::string& text) { Warnings.Add(LineWarning(lineIndex, text)); }

void TModuleInfo::ReadMenu()
{
    const int header = FindSection("[MENU]");
    if (header < 0)
        return;
    bool overflowReported = false;
    for (int i = header + 1; i < Lines.Count(); ++i) {
        if (modules::IsSectionHeader(Lines[i]))
            break;
        if (modules::IsCommentLine(Lines[i]))
            continue;
        TLineReader reader(Lines, i);
        const std::string key = AnsiUpperCase(reader.NextToken());
        if (reader.NextToken() != "=")
            continue;
        // The list is read even for an entry that does not fit, so that its
        // continuation lines are not taken for entries of their own.
        TStringList values;
        const TListEnd end = ReadValueList(reader, values);
        const int start = i;
        i = reader.Index();
        if (MenuCount >= MaxMenuEntries) {
            if (!overflowReported)
                Warn(start, "more than " + IntToStr(MaxMenuEntries) +
                                " menu entries; this entry and the ones after it are ignored.");
            overflowReported = true;
            continue;
        }
        if (end == TListEnd::Malformed || end == TListEnd::EndOfFile)
            Warn(start, "the values of menu entry " + key +
                            (end == TListEnd::EndOfFile ? " go on past the end of the file"
                                                        : " are not a list ending in \";\"") +
                            "; the entry has no caption.");
        TStringList& entry = Menu[static_cast<size_t>(++MenuCount)];
        entry.Clear();
        entry.Add(key);
        for (const auto& value : values)
            entry.Add(value);
    }
}

void TModuleInfo::ReadInterface()
{
    int header = FindSection("[INTERFACE]");
    bool ownWindow = false;
    if (header < 0) {
        header = FindSection("[INTERFACE WINDOW]");
        ownWindow = header >= 0;
    }
    Interface.Clear();
    Interface.Add(ownWindow ? "1" : "0");
    if (header < 0)
        return;
    int number = 0;
    for (int i = header + 1; i < Lines.Count(); ++i) {
        if (Lines[i].empty())
            continue;
        TLineReader reader(Lines, i);
        const std::string kind = reader.NextToken();
        if (kind.empty() || kind[0] == '[')
            break;
        if (reader.NextToken() != "(")
            continue;
        const int n = number++;
        ControlLines.push_back(i);
        TStringList params;
        const TControlEnd end = modules::ReadControlParameters(reader, params);
        const int start = i;
        i = reader.Index();
        if (end != TControlEnd::Complete) {
            Warn(start, "control " + kind +
                            (end == TControlEnd::EndOfFile ? " goes on past the end of the file"
                                                           : " is not written as KIND ( p1, p2, ... ) ;") +
                            "; it is left out.");
            continue;
        }
        Interface.Add("I" + IntToStr(n));
        Interface.Add(kind);
        for (const auto& p : params)
            Interface.Add(p);
        Interface.Add("-");
    }
}

void TModuleInfo::ReadUserWindow()
{
    const int header = FindSection("[USER WINDOW]");
    if (header < 0)
        return;
    for (int i = header + 1; i < Lines.Count(); ++i) {
        const std::string& line = Lines[i];
        if (line.find('[') != std::string::npos)
            break;
        if (!line.empty())
            UserWindow.Add(line);
    }
}
