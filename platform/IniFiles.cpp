#include "platform/IniFiles.h"

#include "platform/Cp1251.h"
#include "platform/Files.h"
#include "platform/SysUtils.h"

TIniFile::TIniFile(const std::string& nativePath) : fileName_(nativePath)
{
    std::string bytes;
    if (!ReadWholeFile(nativePath, bytes))
        return;
    const auto lf = bytes.find('\n');
    if (lf != std::string::npos && (lf == 0 || bytes[lf - 1] != '\r'))
        eol_ = "\n";
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string::npos) {
            lines_.push_back(parse(bytes.substr(start)));
            break;
        }
        const size_t eolLength = bytes.compare(end, 2, "\r\n") == 0 ? 2 : 1;
        Line line = parse(bytes.substr(start, end - start));
        line.eol = bytes.substr(end, eolLength);
        lines_.push_back(line);
        start = end + eolLength;
    }
}

TIniFile::Line TIniFile::newLine(const std::string& text)
{
    Line line = parse(text);
    line.eol = eol_;
    return line;
}

std::string TIniFile::valueOf(const Line& line)
{
    std::string value = Trim(line.text.substr(line.text.find('=') + 1));
    if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
        value = value.substr(1, value.size() - 2);
    return value;
}

TIniFile::~TIniFile()
{
    UpdateFile();
}

TIniFile::Line TIniFile::parse(const std::string& text)
{
    Line line;
    line.text = text;
    const std::string t = TrimLeft(text);
    if (t.empty() || t[0] == ';')
        return line;
    if (t[0] == '[') {
        const auto close = t.find(']');
        line.kind = Line::Section;
        line.name = Trim(t.substr(1, close == std::string::npos ? std::string::npos : close - 1));
        return line;
    }
    const auto eq = t.find('=');
    if (eq == std::string::npos)
        return line;
    line.kind = Line::Key;
    line.name = Trim(t.substr(0, eq));
    return line;
}

int TIniFile::findSection(const std::string& section) const
{
    const std::string name = Trim(section);
    for (int i = 0; i < static_cast<int>(lines_.size()); ++i) {
        const Line& l = lines_[static_cast<size_t>(i)];
        if (l.kind == Line::Section && AnsiSameText(l.name, name))
            return i;
    }
    return -1;
}

int TIniFile::sectionEnd(int h) const
{
    int i = h + 1;
    while (i < static_cast<int>(lines_.size()) && lines_[static_cast<size_t>(i)].kind != Line::Section)
        ++i;
    return i;
}

int TIniFile::findKey(const std::string& section, const std::string& key) const
{
    const int h = findSection(section);
    if (h < 0)
        return -1;
    const std::string name = Trim(key);
    const int end = sectionEnd(h);
    for (int i = h + 1; i < end; ++i) {
        const Line& l = lines_[static_cast<size_t>(i)];
        if (l.kind == Line::Key && AnsiSameText(l.name, name))
            return i;
    }
    return -1;
}

std::string TIniFile::ReadString(const std::string& section, const std::string& key, const std::string& def) const
{
    const int i = findKey(section, key);
    return i < 0 ? def : valueOf(lines_[static_cast<size_t>(i)]);
}

int32_t TIniFile::ReadInteger(const std::string& section, const std::string& key, int32_t def) const
{
    return StrToIntDef(ReadString(section, key, ""), def);
}

bool TIniFile::ReadBool(const std::string& section, const std::string& key, bool def) const
{
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

// Reading drops blanks at either end of a value and one pair of enclosing
// quotes; a value that would lose something that way is written in double
// quotes, so that it reads back exactly as written.
std::string TIniFile::storedForm(const std::string& value)
{
    if (value.empty())
        return value;
    const auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    const bool quoted = value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0];
    return quoted || blank(value.front()) || blank(value.back()) ? "\"" + value + "\"" : value;
}

void TIniFile::WriteString(const std::string& section, const std::string& key, const std::string& value)
{
    Line line = newLine(key + "=" + storedForm(value));
    const int existing = findKey(section, key);
    if (existing >= 0) {
        Line& old = lines_[static_cast<size_t>(existing)];
        if (old.text != line.text) {
            line.eol = old.eol;
            old = line;
            modified_ = true;
        }
        return;
    }
    modified_ = true;
    if (!lines_.empty() && lines_.back().eol.empty())
        lines_.back().eol = eol_;
    const int h = findSection(section);
    if (h < 0) {
        lines_.push_back(newLine("[" + section + "]"));
        lines_.push_back(line);
        return;
    }
    // After the last non-blank line of the section, so that blank lines
    // separating it from the next section stay where they are.
    int at = sectionEnd(h);
    while (at - 1 > h && Trim(lines_[static_cast<size_t>(at - 1)].text).empty())
        --at;
    lines_.insert(lines_.begin() + at, line);
}

void TIniFile::WriteInteger(const std::string& section, const std::string& key, int32_t value)
{
    WriteString(section, key, IntToStr(value));
}

void TIniFile::WriteBool(const std::string& section, const std::string& key, bool value)
{
    WriteString(section, key, value ? "1" : "0");
}

bool TIniFile::SectionExists(const std::string& section) const { return findSection(section) >= 0; }

bool TIniFile::ValueExists(const std::string& section, const std::string& key) const
{
    return findKey(section, key) >= 0;
}

TStringList TIniFile::ReadSection(const std::string& section) const
{
    TStringList keys;
    const int h = findSection(section);
    if (h < 0)
        return keys;
    const int end = sectionEnd(h);
    for (int i = h + 1; i < end; ++i)
        if (lines_[static_cast<size_t>(i)].kind == Line::Key)
            keys.Add(lines_[static_cast<size_t>(i)].name);
    return keys;
}

TStringList TIniFile::ReadSectionValues(const std::string& section) const
{
    TStringList values;
    const int h = findSection(section);
    if (h < 0)
        return values;
    const int end = sectionEnd(h);
    for (int i = h + 1; i < end; ++i) {
        const Line& l = lines_[static_cast<size_t>(i)];
        if (l.kind == Line::Key)
            values.Add(l.name + "=" + valueOf(l));
    }
    return values;
}

TStringList TIniFile::ReadSections() const
{
    TStringList names;
    for (const auto& l : lines_)
        if (l.kind == Line::Section && names.IndexOf(l.name) < 0)
            names.Add(l.name);
    return names;
}

void TIniFile::EraseSection(const std::string& section)
{
    for (int h = findSection(section); h >= 0; h = findSection(section)) {
        lines_.erase(lines_.begin() + h, lines_.begin() + sectionEnd(h));
        modified_ = true;
    }
}

void TIniFile::DeleteKey(const std::string& section, const std::string& key)
{
    const int i = findKey(section, key);
    if (i >= 0) {
        lines_.erase(lines_.begin() + i);
        modified_ = true;
    }
}

bool TIniFile::UpdateFile()
{
    if (!modified_)
        return true;
    std::string bytes;
    for (const auto& l : lines_)
        bytes += l.text + l.eol;
    if (!WriteWholeFileSafely(fileName_, bytes))
        return false;
    modified_ = false;
    return true;
}
