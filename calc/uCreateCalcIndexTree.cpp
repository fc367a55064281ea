#include "calc/uCreateCalcIndexTree.h"

#include "calc/uCreateCalcIndex.h"
#include "platform/Cp1251.h"
#include "platform/SysUtils.h"

#include <algorithm>
#include <map>
#include <set>

namespace {

std::string LineAt(const std::string& text, size_t& pos)
{
    const size_t end = std::min(text.find('\n', pos), text.size());
    std::string line = text.substr(pos, end - pos);
    pos = end + 1;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line;
}

// A control character would not read back: a lone CR ends an INI line.
bool NameFitsIni(const std::string& name)
{
    return !name.empty() && name[0] != ';' && name.find_first_of("=[]") == std::string::npos &&
           std::none_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < ' '; });
}

// Upper-case paths of every folder the entries' paths pass through.
std::set<std::string> FolderPaths(const std::vector<TCalcIndexEntry>& entries)
{
    std::set<std::string> folders;
    for (const TCalcIndexEntry& e : entries)
        for (size_t slash = e.Path.find('\\'); slash != std::string::npos; slash = e.Path.find('\\', slash + 1))
            folders.insert(AnsiUpperCase(e.Path.substr(0, slash)));
    return folders;
}

template <typename Drop>
void DropEntries(std::vector<TCalcIndexEntry>& entries, TStringList* notes, Drop drop)
{
    std::vector<TCalcIndexEntry> kept;
    for (TCalcIndexEntry& e : entries) {
        const std::string reason = drop(e);
        if (reason.empty())
            kept.push_back(std::move(e));
        else if (notes)
            notes->Add(e.File + ": " + reason);
    }
    entries = std::move(kept);
}

struct TIndexChild {
    std::string Name;
    bool Folder;
};
struct TIndexSection {
    std::string Name;
    std::vector<TIndexChild> Children;
};

class TIndexSections {
public:
    // The top level always has its section, so an empty index still shows
    // an (empty) tree.
    TIndexSections() { sections_.push_back({"Root", {}}); }
    void Add(const std::string& path);
    std::vector<TIndexSection>& Sections() { return sections_; }

private:
    TIndexSection& Section(const std::string& name);
    std::vector<TIndexSection> sections_;
};

TIndexSection& TIndexSections::Section(const std::string& name)
{
    for (TIndexSection& s : sections_)
        if (AnsiSameText(s.Name, name))
            return s;
    sections_.push_back({name, {}});
    return sections_.back();
}

// Every folder on the way and the calculator itself become children of
// their parent's section; a name met before keeps its first spelling, so
// that the section of a folder is named as the folder's node.
void TIndexSections::Add(const std::string& path)
{
    std::string section = "Root";
    std::string rest = path;
    bool top = true;
    while (!rest.empty()) {
        const std::string part = SplitFirstPart(rest);
        auto& children = Section(section).Children;
        auto it = std::find_if(children.begin(), children.end(),
                               [&](const TIndexChild& c) { return AnsiSameText(c.Name, part); });
        if (it == children.end())
            it = children.insert(children.end(), {part, !rest.empty()});
        section = top ? it->Name : section + "\\" + it->Name;
        top = false;
    }
}

} // namespace

std::string ScriptTitleLine(const std::string& text)
{
    size_t pos = 0;
    std::string line = LineAt(text, pos);
    if (line.empty() && pos < text.size())
        line = LineAt(text, pos);
    return line;
}

std::string TitleTreePath(const std::string& title, std::string& reason)
{
    const size_t close = title.find(']');
    if (title.empty() || title[0] != '[' || close == std::string::npos) {
        reason = "the title \"" + title + "\" has no closing \"]\"";
        return {};
    }
    const std::string inner = title.substr(1, close - 1);
    std::string path;
    for (size_t start = 0;;) {
        const size_t slash = inner.find('\\', start);
        const std::string part = Trim(inner.substr(start, slash == std::string::npos ? slash : slash - start));
        if (!NameFitsIni(part)) {
            reason = part.empty() ? "the title " + title.substr(0, close + 1) + " has an empty level"
                                  : "the name \"" + part + "\" in the title cannot stand in the index";
            return {};
        }
        path += (path.empty() ? "" : "\\") + part;
        if (slash == std::string::npos)
            return path;
        start = slash + 1;
    }
}

void DropCollidingEntries(std::vector<TCalcIndexEntry>& entries, TStringList* notes)
{
    DropEntries(entries, notes, [](const TCalcIndexEntry& e) -> std::string {
        const bool nested = e.Path.find('\\') != std::string::npos;
        std::string rest = e.Path;
        return nested && AnsiSameText(SplitFirstPart(rest), "Root")
                   ? "a top-level folder cannot be named \"Root\" (" + e.Path + ")"
                   : std::string();
    });
    std::map<std::string, std::string> first; // upper-case path: its file
    DropEntries(entries, notes, [&](const TCalcIndexEntry& e) -> std::string {
        const auto [it, isNew] = first.emplace(AnsiUpperCase(e.Path), e.File);
        return isNew ? std::string()
                     : "the calculator " + e.Path + " has the title of " + it->second +
                           " (titles compare without regard to case)";
    });
    const std::set<std::string> folders = FolderPaths(entries);
    DropEntries(entries, notes, [&](const TCalcIndexEntry& e) -> std::string {
        return folders.count(AnsiUpperCase(e.Path)) ? "the calculator " + e.Path + " has the name of a folder"
                                                    : std::string();
    });
}

std::string IndexIniText(const std::vector<TCalcIndexEntry>& entries, bool foldersFirst,
                         const std::function<void(const std::string&)>& section)
{
    TIndexSections sections;
    for (const TCalcIndexEntry& e : entries)
        sections.Add(e.Path);
    std::string text;
    for (TIndexSection& s : sections.Sections()) {
        if (section)
            section(s.Name);
        auto& children = s.Children;
        std::stable_sort(children.begin(), children.end(), [](const TIndexChild& a, const TIndexChild& b) {
            return AnsiCompareText(a.Name, b.Name) < 0;
        });
        if (foldersFirst)
            std::stable_partition(children.begin(), children.end(), [](const TIndexChild& c) { return c.Folder; });
        text += "[" + s.Name + "]\r\n";
        for (const TIndexChild& c : children)
            text += c.Name + (c.Folder ? "=\\\r\n" : "=\r\n");
    }
    return text;
}
