#include "skin/acOptionsFile.h"

#include "platform/Cp1251.h"
#include "platform/StringList.h"
#include "platform/SysUtils.h"

void TacOptionsFile::SetText(const std::string& text)
{
    sections_.clear();
    index_.clear();
    TStringList lines;
    lines.SetText(text);
    for (const std::string& raw : lines) {
        std::string line = Trim(raw);
        if (line.empty() || line[0] == ';')
            continue;
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            sections_.push_back({Trim(line.substr(1, line.size() - 2)), {}, {}});
            index_.try_emplace(AnsiUpperCase(sections_.back().name), sections_.size() - 1);
            continue;
        }
        if (sections_.empty())
            continue;
        Section& s = sections_.back();
        size_t eq = line.find('=');
        if (eq == std::string::npos)
            s.entries.push_back({line, ""});
        else
            s.entries.push_back({Trim(line.substr(0, eq)), Trim(line.substr(eq + 1))});
        s.index.try_emplace(AnsiUpperCase(s.entries.back().key), s.entries.size() - 1);
    }
}

const TacOptionsFile::Section* TacOptionsFile::find(const std::string& section) const
{
    auto it = index_.find(AnsiUpperCase(section));
    return it == index_.end() ? nullptr : &sections_[it->second];
}

const TacOptionsFile::Entry* TacOptionsFile::find(const std::string& section, const std::string& key) const
{
    const Section* s = find(section);
    if (!s)
        return nullptr;
    auto it = s->index.find(AnsiUpperCase(key));
    return it == s->index.end() ? nullptr : &s->entries[it->second];
}

std::vector<std::string> TacOptionsFile::Sections() const
{
    std::vector<std::string> names;
    for (const Section& s : sections_)
        if (find(s.name) == &s)
            names.push_back(s.name);
    return names;
}

std::vector<std::string> TacOptionsFile::Keys(const std::string& section) const
{
    std::vector<std::string> keys;
    if (const Section* s = find(section))
        for (const Entry& e : s->entries)
            keys.push_back(e.key);
    return keys;
}

bool TacOptionsFile::ValueExists(const std::string& section, const std::string& key) const
{
    return find(section, key) != nullptr;
}

std::string TacOptionsFile::ReadString(const std::string& section, const std::string& key,
                                       const std::string& def) const
{
    const Entry* e = find(section, key);
    return e ? e->value : def;
}

int TacOptionsFile::ReadInteger(const std::string& section, const std::string& key, int def) const
{
    std::string v = ReadString(section, key, "");
    if (v.size() > 2 && v[0] == '0' && (v[1] == 'x' || v[1] == 'X'))
        v = "$" + v.substr(2);
    return StrToIntDef(v, def);
}
