#include "skin/sHelpers.h"

#include "platform/SysUtils.h"

TRect MakeRect(int left, int top, int right, int bottom)
{
    return {left, top, right, bottom};
}

int RectWidth(const TRect& r, bool nonNegative)
{
    int w = r.Right - r.Left;
    return nonNegative && w < 0 ? 0 : w;
}

int RectHeight(const TRect& r, bool nonNegative)
{
    int h = r.Bottom - r.Top;
    return nonNegative && h < 0 ? 0 : h;
}

bool RectsOverlap(const TRect& outer, const TRect& r)
{
    if (r.Right <= r.Left || r.Bottom <= r.Top)
        return false;
    return !(r.Bottom <= outer.Top || r.Right <= outer.Left || r.Left >= outer.Right || r.Top >= outer.Bottom);
}

int ClampByte(int value)
{
    return value < 0 ? 0 : value > 255 ? 255 : value;
}

TCacheInfo MakeCacheInfo(TBitmap* bmp, int x, int y)
{
    return {bmp, x, y, clFuchsia, true};
}

TCharSet MakeCharSet(const std::string& chars)
{
    TCharSet set;
    for (char c : chars)
        set.set(uint8_t(c));
    return set;
}

int WordStartPosInSet(int n, const std::string& s, const TCharSet& delims)
{
    int count = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        bool starts = !CharInSet(s[i], delims) && (i == 0 || CharInSet(s[i - 1], delims));
        if (starts && ++count == n)
            return int(i) + 1;
    }
    return 0;
}

int WordStartPos(int n, const std::string& s, const std::string& delims)
{
    return WordStartPosInSet(n, s, MakeCharSet(delims));
}

std::string ExtractWordAt(int n, const std::string& s, const std::string& delims)
{
    TCharSet set = MakeCharSet(delims);
    int start = WordStartPosInSet(n, s, set);
    if (start == 0)
        return {};
    size_t end = size_t(start) - 1;
    while (end < s.size() && !CharInSet(s[end], set))
        ++end;
    return s.substr(size_t(start) - 1, end - size_t(start) + 1);
}

int CountWordsInSet(const std::string& s, const TCharSet& delims)
{
    int count = 0;
    for (size_t i = 0; i < s.size(); ++i)
        if (!CharInSet(s[i], delims) && (i == 0 || CharInSet(s[i - 1], delims)))
            ++count;
    return count;
}

int CountWords(const std::string& s, const std::string& delims)
{
    return CountWordsInSet(s, MakeCharSet(delims));
}

std::string RemoveChars(const std::string& s, char ch)
{
    std::string out;
    for (char c : s)
        if (c != ch)
            out += c;
    return out;
}

std::string ReplaceAllText(const std::string& s, const std::string& oldPattern, const std::string& newPattern)
{
    if (oldPattern.empty())
        return s;
    std::string out;
    size_t from = 0;
    for (size_t at; (at = s.find(oldPattern, from)) != std::string::npos; from = at + oldPattern.size())
        out.append(s, from, at - from).append(newPattern);
    return out.append(s, from, std::string::npos);
}

void ParseIniSections(const TStringList& lines, TIniSections& sections)
{
    sections.clear();
    for (const std::string& line : lines) {
        if (line.empty() || line[0] == ';')
            continue;
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']')
            sections.push_back({line.substr(1, line.size() - 2), {}});
        else if (!sections.empty())
            sections.back().Lines.Add(line);
    }
}

std::string IniReadString(const TIniSections& sections, const std::string& section, const std::string& def,
                          const std::string& ident)
{
    TStringList names;
    for (const TIniSection& s : sections)
        names.Add(s.Name);
    int si = names.IndexOf(section);
    if (si < 0)
        return def;
    const TStringList& lines = sections[size_t(si)].Lines;
    int ki = lines.IndexOfName(ident);
    return ki < 0 ? def : lines.ValueFromIndex(ki);
}

int IniReadInteger(const TIniSections& sections, const std::string& section, int def, const std::string& ident)
{
    std::string value = IniReadString(sections, section, "", ident);
    if (value.size() > 2 && value[0] == '0' && (value[1] == 'x' || value[1] == 'X'))
        value = "$" + value.substr(2);
    return StrToIntDef(value, def);
}
